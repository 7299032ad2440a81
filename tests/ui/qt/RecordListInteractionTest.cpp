#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "IsolatedUserConfig.h"
#include "PinnedClock.h"
#include "SysLogRows.h"
#include "TestFiles.h"
#include "app/Startup.h"
#include "form/SysLogRecord.h"
#include "syslog/SysLogLists.h"
#include "ui/Layout.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/RecordGridView.h"

namespace {

using R = SysLogRecord;

void Click(QWidget* target, QPoint at, Qt::MouseButton button) {
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// Chooses an item of the popup menu as soon as it is open, by its object name, and keeps the
// names of the items that were shown.
void ChooseInNextMenu(const QString& item, QStringList& shown) {
    QTimer::singleShot(50, [item, &shown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (QAction* action : menu->actions()) {
            shown << action->objectName();
            if (action->objectName() == item) menu->setActiveAction(action);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
}

struct RecordListInteraction : ::testing::Test {
    void SetUp() override {
        IsolatedConfigHome();
        PrepareMainForm(F, dir.path());
        F.router.Pages = [](const std::string&) { return std::string(); };  // no router here
        SysLogSetup(F);
        FillSysLogRows(
            F.SysLog,
            {
                {"2024-03-01", "10:00:00", "I", "tcp", "10.0.0.10", "", "80", "", "", "", "", "1"},
                {"2024-03-01", "11:00:00", "I", "tcp", "10.0.0.9", "b.example(x)", "22", "", "", "", "", "2"},
                {"2024-03-01", "12:00:00", "O", "tcp", "10.0.0.9", "", "443", "", "", "", "", "3"},
            });
        F.SysStats.SetTextMatrix(1, 3, "0");
        F.SysLog.Visible = F.SysStats.Visible = true;
        F.InLog.Visible = F.OutLog.Visible = false;
        F.BSaveHilited.Enabled = false;
        F.BSaveHilited.Caption = "Update SB logs";
        Form_Resize(F);
        window.ShowWindow();
        window.Sync();
        QApplication::processEvents();
    }
    QPoint CellCentre(int row, int col) {
        return view()->visualRect(view()->model()->index(row - 1, col)).center();
    }
    RecordGridView* view() { return window.findChild<RecordGridView*>("SysLog"); }

    TempFolder dir;
    PinnedClock clock;
    MainWindow window{clock, dir.path()};
    MainForm& F = window.Form();
};

TEST_F(RecordListInteraction, HeaderClickSortsAndACellOpensItsMenuForCopy) {
    QHeaderView* header = view()->horizontalHeader();
    Click(header->viewport(), QPoint(header->sectionViewportPosition(R::RemAddr) + 5, header->height() / 2),
          Qt::LeftButton);
    EXPECT_EQ(ColumnOf(F.SysLog, R::SortKey), (std::vector<std::string>{"2", "3", "1"}));
    EXPECT_EQ(view()->model()->data(view()->model()->index(2, R::RemAddr)).toString(), "10.0.0.10");
    window.Sync();
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), R::RemAddr);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);

    QStringList shown;
    ChooseInNextMenu("mpopSysCopy", shown);
    Click(view()->viewport(), CellCentre(1, R::RemURL), Qt::RightButton);
    EXPECT_TRUE(shown.contains("mpopSysLookup"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "b.example");
}

TEST_F(RecordListInteraction, MarkingAllSimilarRecordsThroughTheMenuEnablesTheUpdate) {
    QStringList shown;
    ChooseInNextMenu("mpopSysMarkAll", shown);
    Click(view()->viewport(), CellCentre(2, R::RemAddr), Qt::LeftButton);
    ASSERT_FALSE(shown.isEmpty()) << "the menu opened";
    window.Sync();
    EXPECT_EQ(F.SysStats.TextMatrix(1, 3), "2");
    EXPECT_EQ(view()->model()->data(view()->model()->index(2, R::Date), Qt::BackgroundRole).value<QColor>(),
              QColor(192, 254, 254));
    EXPECT_TRUE(window.findChild<QPushButton*>("BSaveHilited")->isEnabled());
    EXPECT_TRUE(window.findChild<QLabel*>("SysCaption")->text().endsWith(" 2 not in SB logs)"));

    ChooseInNextMenu("mpopSysUnmarkAll", shown);
    Click(view()->viewport(), CellCentre(2, R::RemAddr), Qt::LeftButton);
    window.Sync();
    EXPECT_EQ(F.SysStats.TextMatrix(1, 3), "0");
    EXPECT_TRUE(window.findChild<QLabel*>("SysCaption")->text().endsWith(" 0 not in SB logs)"));
}

// Typed text keeps the records that hold it; Escape lists them all again; "Copy rows" copies what
// is listed. A lookup answer goes with the next click.
TEST_F(RecordListInteraction, TheFilterBoxNarrowsTheListAndCopyRowsTakesWhatIsListed) {
    auto* box = window.findChild<QLineEdit*>("SysFilter");
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    box->setFocus();
    for (const QChar c : QString("B.EXAMPLE")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &key);
    }
    window.Sync();
    EXPECT_EQ(F.SysFilter.Text, "B.EXAMPLE");
    EXPECT_TRUE(view()->isRowHidden(0));
    EXPECT_FALSE(view()->isRowHidden(1));
    EXPECT_TRUE(view()->isRowHidden(2));

    QStringList shown;
    ChooseInNextMenu("mpopSysCopyRows", shown);
    Click(view()->viewport(), CellCentre(2, R::RemURL), Qt::RightButton);
    const QStringList lines = QGuiApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << QGuiApplication::clipboard()->text().toStdString();
    EXPECT_TRUE(lines[0].startsWith("Date\tTime\tDir\t"));
    EXPECT_TRUE(lines[1].startsWith("2024-03-01\t11:00:00\tI\ttcp\t10.0.0.9\tb.example(x)\t22"));

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box, &escape);
    window.Sync();
    EXPECT_EQ(box->text(), "");
    for (int row = 0; row < 3; ++row) EXPECT_FALSE(view()->isRowHidden(row));

    F.LLookup.Visible = true;
    window.Sync();
    Click(window.findChild<QPushButton*>("BRun"), QPoint(2, 2), Qt::RightButton);
    window.Sync();
    EXPECT_FALSE(F.LLookup.Visible);
}

// A column border dragged to a new place stays there when a refresh sets the list up again.
TEST_F(RecordListInteraction, AColumnWidthSetByHandOutlivesARefresh) {
    QHeaderView* header = view()->horizontalHeader();
    header->resizeSection(R::Message, 300);
    const int twips = F.SysLog.ColWidth(R::Message);
    EXPECT_EQ(F.display.SysLogWidths.at(R::Message), twips);
    SysLogSetup(F);  // as every System Log refresh starts
    window.Sync();
    EXPECT_EQ(F.SysLog.ColWidth(R::Message), twips);
    EXPECT_EQ(header->sectionSize(R::Message), 300);
}

}  // namespace
