#include "form/Progress.h"

#include <algorithm>
#include <cmath>

#include "form/MainForm.h"

void LayoutProgress(MainForm& F) {
    if (F.SProgress.empty()) {
        F.SProgress.resize(ProgressSegments);
        for (auto& s : F.SProgress) s.Visible = false;
        F.TProgress.Visible = false;
    }
    const int width = std::max(F.ProgressWidth, 20 * ProgressSegments);
    const int segment = width / ProgressSegments;
    for (int i = 0; i < ProgressSegments; ++i) {
        Control& s = F.SProgress[i];
        s.Left = F.LIPA.Left + i * segment;
        s.Top = F.CurrWanAddr.Top + F.CurrWanAddr.Height + 30;
        s.Width = segment - 15;
        s.Height = 60;
    }
    F.TProgress.Left = F.LIPA.Left;
    F.TProgress.Top = F.CurrWanAddr.Top;
    F.TProgress.Width = width;
    F.TProgress.Height = F.CurrWanAddr.Height > 0 ? F.CurrWanAddr.Height : 285;
}

void ShowProgress(MainForm& F, double fraction, const std::string& text) {
    if (F.SProgress.empty()) LayoutProgress(F);
    if (fraction < 0) {
        F.TProgress.Visible = false;
        for (auto& s : F.SProgress) s.Visible = false;
        F.ui.DoEvents();
        return;
    }
    if (!text.empty() && !F.TProgress.Visible) {
        F.TProgress.Left = F.LIPA.Left;
        F.TProgress.Top = F.CurrWanAddr.Top;
        F.TProgress.Visible = true;
    }
    F.TProgress.Text = text;
    const int last = static_cast<int>(F.SProgress.size()) - 1;
    // Clamp before converting: a fraction far above 1 (or not a number, from 0/0) would overflow the cast.
    const double filled = std::isnan(fraction) ? 0.0 : std::min(fraction, 1.0);
    const int k = static_cast<int>(filled * last);
    for (int i = 0; i <= k; ++i) F.SProgress[i].Visible = true;
    F.ui.DoEvents();
}
