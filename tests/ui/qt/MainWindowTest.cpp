#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "IsolatedUserConfig.h"
#include "PinnedClock.h"
#include "TestFiles.h"
#include "app/RunCycle.h"
#include "app/Startup.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/RecordGridModel.h"
#include "ui/qt/RecordGridView.h"

namespace {

struct MainWindowTest : ::testing::Test {
    void SetUp() override { IsolatedConfigHome(); }
    TempFolder dir;
    PinnedClock clock;
};

// A first start says beside the open panel what Drovix needs, and the status line how the last
// unattended run ended; Escape cancels the panel, and the notice goes with it.
TEST_F(MainWindowTest, StartWithoutPasswordShowsTheWindowWithTheOptionsOpen) {
    WriteFileBytes(dir.file("DrovixLastRun.txt"),
                   "TIME=2026-12-06 14:00:00\r\nSTATUS=1\r\nSUMMARY=Can't contact the Router at 10.0.0.1: "
                   "connection refused\r\n");
    MainWindow window(clock, dir.path());
    PrepareMainForm(window.Form(), dir.path());
    window.Dispatch([&] { Form_Load(window.Form(), ""); });
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowTitle().contains("  ver. "));
    auto* ok = window.findChild<QPushButton*>("BOptions");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_FALSE(window.findChild<QPushButton*>("BRun")->isVisible());
    EXPECT_EQ(window.findChild<QPushButton*>("BQuit")->text(), "E&xit");

    auto* notice = window.findChild<QLabel*>("LSetUp");
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().startsWith("Drovix is not set up yet. It needs the Router's LAN address"))
        << notice->text().toStdString();
    EXPECT_TRUE(notice->text().contains(
        "Drovix does not know Stillbeacon's log folder: it reads it from LOGDIR in \"" +
        QString::fromStdString(dir.path()) + "Stillbeacon.ini\", and there is no such file"));
    EXPECT_FALSE(notice->geometry().intersects(window.findChild<QWidget*>("OptionsFrame")->geometry()));
    EXPECT_TRUE(window.findChild<QPushButton*>("BTestConnection")->isVisible());
    EXPECT_TRUE(window.findChild<QPushButton*>("BOpenLogFolder")->isVisible());
    auto* status = window.findChild<QLabel*>("LStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->text(),
              "Last unattended run 2026-12-06 14:00:00: exit status 1, Can't contact the Router at "
              "10.0.0.1: connection refused");

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window.findChild<QWidget*>("PW"), &escape);
    EXPECT_FALSE(window.findChild<QWidget*>("OptionsFrame")->isVisible());
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(ok->text(), "&Options");
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndSavesChangedGeometry) {
    MainWindow window(clock, dir.path());
    PrepareMainForm(window.Form(), dir.path());
    window.Dispatch([&] { Form_Load(window.Form(), ""); });
    window.Form().Window.Left += 600;  // the person moved the window
    window.findChild<QPushButton*>("BQuit")->click();
    EXPECT_TRUE(window.Form().Unloaded);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(FileExists(dir.file("Drovix.ini")));
}

TEST_F(MainWindowTest, ListsShowCellsColoursHeaderAndHiddenColumns) {
    MainWindow window(clock, dir.path());
    MainForm& F = window.Form();
    PrepareMainForm(F, dir.path());
    F.InLog.SetCols(4);
    F.InLog.SetRows(3);
    F.InLog.SetTextMatrix(0, 2, "Remote Addr ");
    F.InLog.SetTextMatrix(1, 2, std::string("h\xE9te"));  // Latin-1 bytes, not UTF-8
    F.InLog.PaintRow(2, FlagColour);
    F.InLog.SetColWidth(1, 0);
    F.InLog.SetColWidth(2, 1440);
    window.Sync();

    auto* view = window.findChild<RecordGridView*>();
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* model = view->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Remote Addr ");
    EXPECT_EQ(model->data(model->index(0, 2), Qt::DisplayRole).toString(), QString::fromUtf8("h\u00E9te"));
    EXPECT_EQ(model->data(model->index(1, 0), Qt::BackgroundRole).value<QColor>(), QColor(192, 254, 254));
    EXPECT_EQ(model->data(model->index(0, 0), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_TRUE(view->isColumnHidden(1));
    // One inch of column is the screen's real resolution in pixels, plus the cell's margin.
    EXPECT_GE(view->columnWidth(2), view->logicalDpiX());
    EXPECT_LE(view->columnWidth(2), view->logicalDpiX() + 12);

    // A column the person widens is kept in twips for the settings.
    view->horizontalHeader()->resizeSection(2, view->columnWidth(2) + view->logicalDpiX());
    EXPECT_NEAR(F.InLog.ColWidth(2), 2880, 30);

    // Growing the list while it is shown reaches the view.
    F.InLog.SetRows(6);
    window.Sync();
    EXPECT_EQ(model->rowCount(), 5);
}

}  // namespace
