#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
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

TEST_F(MainWindowTest, StartWithoutPasswordShowsTheWindowWithTheOptionsOpen) {
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
