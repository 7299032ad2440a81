#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <chrono>

#include "ScriptedResolver.h"
#include "TestForm.h"
#include "form/FastLookUp.h"
#include "resolve/RunLookups.h"
#include "ui/qt/FastLookUpWindow.h"

using namespace std::chrono_literals;

namespace {

void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool HasLabel(const QWidget& window, const QString& text) {
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text() == text) return true;
    }
    return false;
}

int CountPixels(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour ? 1 : 0;
    }
    return n;
}

}  // namespace

TEST(FastLookUpWindow, DrawsCountersIndicatorsAndFollowsVisibility) {
    FastLookUp model;
    model.LStatus = {1000, 250, 118, 173, 41, 36};
    model.Indicators.assign(120, FastLookUp::Running);
    model.Indicators[0] = FastLookUp::Done;
    model.Indicators[1] = FastLookUp::GivenUp;
    model.LrecentIPs = "10.0.0.7  |  10.0.0.6  |  10.0.0.5";
    FastLookUpWindow window(model);
    EXPECT_FALSE(window.isVisible());

    model.Visible = true;
    RunEventsFor(250);  // the window follows the model on its own timer
    ASSERT_TRUE(window.isVisible());
    for (const char* value : {"1000", "250", "118", "173", "41", "36"})
        EXPECT_TRUE(HasLabel(window, value)) << value;
    const QImage image = window.grab().toImage();
    EXPECT_GT(CountPixels(image, QColor(255, 255, 0)), 100 * 49);
    EXPECT_GE(CountPixels(image, QColor(0, 255, 0)), 49);
    EXPECT_GE(CountPixels(image, QColor(255, 0, 0)), 49);

    model.Visible = false;
    RunEventsFor(250);
    EXPECT_FALSE(window.isVisible());
}

TEST(FastLookUpWindow, CancelButtonSetsTheFlagOnlyWhileEnabled) {
    FastLookUp model;
    model.Visible = true;
    FastLookUpWindow window(model);
    window.Refresh();
    auto* button = window.findChild<QPushButton*>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "&Cancel");

    model.BQuit.Enabled = false;
    model.BQuit.Caption = "Waiting";
    window.Refresh();
    EXPECT_EQ(button->text(), "Waiting");
    EXPECT_FALSE(button->isEnabled());
    button->click();
    EXPECT_FALSE(model.CancelRequested);

    model.BQuit.Enabled = true;
    model.BQuit.Caption = "&Cancel";
    window.Refresh();
    button->click();
    EXPECT_TRUE(model.CancelRequested);
}

TEST(FastLookUpWindow, ShowsADispatcherRunAsItHappens) {
    TestForm t;
    auto resolver = std::make_shared<ScriptedResolver>();
    t.F().resolve.resolver = resolver;
    resolver->DelayAll(120ms);
    LookupTable table;
    for (int i = 0; i < 90; ++i) {
        const std::string address = "10.4.0." + std::to_string(i % 60);  // 30 repeats
        resolver->Name(address, "host" + std::to_string(i % 60) + ".example");
        table.push_back({address, ""});
    }
    resolver->Delay("10.4.0.3", 2000ms);  // abandoned
    t.F().resolve.LookupTimeLimit = 400ms;
    FastLookUpWindow window(t.F().resolve.fastLookUp);
    // As the window's own frontend does: the dispatcher's waits let the window paint.
    t.frontend.onDoEvents = [] { QCoreApplication::processEvents(); };

    bool visibleDuringRun = false;
    QImage during;
    QTimer::singleShot(300, &window, [&] {
        visibleDuringRun = window.isVisible();
        during = window.grab().toImage();
    });
    EXPECT_EQ(RunLookups(t.F(), table, 24, true, false, true, 1500, 1500), 0);
    RunEventsFor(150);

    EXPECT_TRUE(visibleDuringRun);
    EXPECT_FALSE(window.isVisible());
    ASSERT_FALSE(during.isNull());
    EXPECT_GT(CountPixels(during, QColor(255, 255, 0)), 0);
    EXPECT_EQ(table[1].name, "host1.example");
    EXPECT_EQ(table[3].name, "");
    EXPECT_EQ(t.F().resolve.fastLookUp.LStatus[FastLookUp::Found], 88);
    EXPECT_EQ(t.F().resolve.fastLookUp.LStatus[FastLookUp::Skipped], 30);
}
