#include "ui/StatusLine.h"

#include <QDateTime>
#include <algorithm>

#include "form/MainForm.h"
#include "form/RunSummary.h"

namespace {

constexpr int kMargin = 48;

std::string TimeOfDay(const MainForm& F) {
    return F.clock.Now().toString(QStringLiteral("hh:mm:ss")).toStdString();
}

}  // namespace

void PlaceStatusLine(MainForm& F, int width, int height) {
    Label& line = F.LStatus;
    line.Left = kMargin;
    line.Width = std::max(width - 2 * kMargin, 0);
    line.Height = StatusLineHeight - kMargin;
    line.Top = std::max(height - StatusLineHeight, 0);
}

void ShowStatusLine(MainForm& F) {
    const StatusLineState& s = F.status;
    std::string caption;
    for (const std::string* part : {&s.LastRefresh, &s.LastSave, &s.LastUnattendedRun}) {
        if (!part->empty()) caption += (caption.empty() ? "" : "\n") + *part;
    }
    F.LStatus.Caption = caption;
    F.LStatus.ToolTipText = caption;
}

void NoteRefreshInStatusLine(MainForm& F) {
    std::string summary = FormatRunSummary(F.Summary);
    const std::string prefix = "Drovix: ";
    if (summary.rfind(prefix, 0) == 0) summary.erase(0, prefix.size());
    F.status.LastRefresh = "Last refresh " + TimeOfDay(F) + ": " + summary;
    ShowStatusLine(F);
}

void NoteSaveInStatusLine(MainForm& F, const std::string& text) {
    F.status.LastSave = TimeOfDay(F) + " " + text;
    ShowStatusLine(F);
}
