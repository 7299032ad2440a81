#include "ui/qt/MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "app/OptionsCommands.h"
#include "app/RunCycle.h"
#include "app/SaveCommands.h"
#include "form/EventDispatch.h"
#include "text/Latin1.h"
#include "ui/Help.h"
#include "ui/Layout.h"
#include "ui/ListMouse.h"
#include "ui/PopupMenus.h"
#include "ui/SysLogFilter.h"
#include "ui/qt/FastLookUpWindow.h"
#include "ui/qt/OptionsPanelView.h"
#include "ui/qt/RecordGridView.h"

namespace {

// Sees every mouse press of the application before the widget that gets it.
class PressWatcher : public QObject {
  public:
    explicit PressWatcher(std::function<void(QWidget*)> onPress) : onPress_(std::move(onPress)) {
        qApp->installEventFilter(this);
    }
    ~PressWatcher() override { qApp->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType())
            onPress_(static_cast<QWidget*>(watched));
        return false;
    }

  private:
    std::function<void(QWidget*)> onPress_;
};

}  // namespace

MainWindow::MainWindow(const Clock& clock, const std::string& programDir)
    : form_(std::make_unique<MainForm>(*this, clock)) {
    MainForm& F = *form_;
    F.ProgramDir = programDir;
    setObjectName("Drovix");
    setAttribute(Qt::WA_QuitOnClose, true);

    setMouseTracking(true);
    AddButton(
        F.BRun, "BRun", [this] { BRun_Click(*form_); }, [this] { BRun_MouseMove(*form_); });
    AddButton(F.BSaveAll, "BSaveAll", [this] { BSaveAll_Click(*form_); });
    AddButton(F.BSaveHilited, "BSaveHilited", [this] { BSaveHilited_Click(*form_); });
    AddButton(
        F.BOptions, "BOptions", [this] { BOptions_Click(*form_); }, [this] { BOptions_MouseMove(*form_); });
    AddButton(
        F.BCancelOptions, "BCancelOptions", [this] { BCancelOptions_Click(*form_); },
        [this] { BCancelOptions_MouseMove(*form_); });
    AddButton(
        F.BQuit, "BQuit", [this] { BQuit_Click(*form_); }, [this] { BQuit_MouseMove(*form_); });
    AddLabel(F.LIPA, "LIPA");
    AddLabel(F.CurrWanAddr, "CurrWanAddr")->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    AddLabel(F.InCaption, "InCaption");
    AddLabel(F.OutCaption, "OutCaption");
    AddLabel(F.SysCaption, "SysCaption");
    QLabel* setUp = AddLabel(F.LSetUp, "LSetUp");
    setUp->setWordWrap(true);
    setUp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setUp->setFrameStyle(QFrame::Box | QFrame::Plain);
    setUp->setMargin(8);
    QLabel* status = AddLabel(F.LStatus, "LStatus");
    status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status->setStyleSheet("color: palette(placeholder-text);");
    QLabel* noLogs = AddLabel(F.LNoLogs, "LNoLogs");
    noLogs->setStyleSheet("font-weight: bold;");

    for (RecordGrid* grid : {&F.InLog, &F.OutLog, &F.SysStats, &F.SysLog}) {
        grids_.push_back(new RecordGridView(*this, *grid, this));
    }
    focusable_.emplace_back("InLog", grids_[0]);
    focusable_.emplace_back("OutLog", grids_[1]);
    focusable_.emplace_back("SysLog", grids_[3]);

    ConnectListMice();
    lookupAnswer_ = new QLineEdit(this);
    lookupAnswer_->setObjectName("LLookup");
    lookupAnswer_->setReadOnly(true);
    lookupAnswer_->setFocusPolicy(Qt::NoFocus);
    lookupAnswer_->hide();

    filterBox_ = new QLineEdit(this);
    filterBox_->setObjectName("SysFilter");
    filterBox_->setPlaceholderText("Filter");
    filterBox_->setClearButtonEnabled(true);
    filterBox_->installEventFilter(this);
    connect(filterBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (Latin1(form_->SysFilter.Text) == text) return;  // drawn from the model, not typed
        Dispatch([this, bytes = Bytes(text)] {
            form_->SysFilter.Text = bytes;
            SysFilter_Change(*form_);
        });
    });
    focusable_.emplace_back("SysFilter", filterBox_);

    progressText_ = new QLineEdit(this);
    progressText_->setReadOnly(true);
    progressText_->setFocusPolicy(Qt::NoFocus);
    progressText_->hide();

    options_ = new OptionsPanelView(*this, this);
    noLogs->raise();
    // The lookup dispatcher's progress window is a window of its own that follows its model.
    fastLookUp_ = std::make_unique<FastLookUpWindow>(F.resolve.fastLookUp);

    // A click anywhere in the window (not in a popup menu or a message box, windows of their own).
    pressWatcher_ = std::make_unique<PressWatcher>([this](QWidget* widget) {
        if (widget->window() == this) Dispatch([this] { Form_MouseDown(*form_); });
    });

    syncTimer_ = new QTimer(this);
    connect(syncTimer_, &QTimer::timeout, this, [this] { Sync(); });
    syncTimer_->start(50);
}

MainWindow::~MainWindow() {
    // The widgets draw the form model, so they go before it does.
    syncTimer_->stop();
    pressWatcher_.reset();
    fastLookUp_.reset();
    qDeleteAll(findChildren<QObject*>(Qt::FindDirectChildrenOnly));
}

void MainWindow::ConnectListMice() {
    RecordGridView* in = grids_[0];
    RecordGridView* out = grids_[1];
    RecordGridView* stats = grids_[2];
    RecordGridView* sys = grids_[3];
    in->setObjectName("InLog");
    out->setObjectName("OutLog");
    stats->setObjectName("SysStats");
    sys->setObjectName("SysLog");
    in->OnMouseUp([this](const GridPoint& at) { InLog_MouseUp(*form_, at); });
    out->OnMouseUp([this](const GridPoint& at) { OutLog_MouseUp(*form_, at); });
    sys->OnMouseUp([this](const GridPoint& at) { SysLog_MouseUp(*form_, at); });
    in->OnMouseMove([this](const GridPoint& at) { InLog_MouseMove(*form_, at); });
    out->OnMouseMove([this](const GridPoint& at) { OutLog_MouseMove(*form_, at); });
    sys->OnMouseMove([this](const GridPoint& at) { SysLog_MouseMove(*form_, at); });
    stats->OnMouseMove([this](const GridPoint& at) { SysStats_MouseMove(*form_, at); });
    sys->OnWheel([this](int rotation) { MouseWheel(*form_, rotation); });
    for (RecordGridView* view : grids_) {
        RecordGrid& grid = view->Grid();
        view->OnColumnResize(
            [this, &grid](int col, int twips) { ListColumn_Resize(*form_, grid, col, twips); });
    }
}

QPushButton* MainWindow::AddButton(Button& model, const char* name, std::function<void()> onClick,
                                   std::function<void()> onMouseMove) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    if (onMouseMove) {
        button->setMouseTracking(true);
        button->installEventFilter(this);
        mouseMoves_.emplace_back(button, std::move(onMouseMove));
    }
    connect(button, &QPushButton::clicked, this, [this, onClick = std::move(onClick)] { Dispatch(onClick); });
    syncers_.push_back([this, button, &model] {
        button->setText(Latin1(model.Caption));
        button->setToolTip(Latin1(model.ToolTipText));
        button->setEnabled(model.Enabled);
        Place(button, model);
    });
    focusable_.emplace_back(name, button);
    return button;
}

QLabel* MainWindow::AddLabel(Label& model, const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    syncers_.push_back([this, label, &model] {
        label->setText(Latin1(model.Caption));
        label->setToolTip(Latin1(model.ToolTipText));
        Place(label, model);
    });
    return label;
}

void MainWindow::Place(QWidget* widget, const Control& model) {
    widget->setGeometry(ToPixelsX(model.Left), ToPixelsY(model.Top), ToPixelsX(model.Width),
                        ToPixelsY(model.Height));
    widget->setVisible(model.Visible);
}

void MainWindow::Sync() {
    if (syncing_ || form_->Unloaded) return;
    syncing_ = true;
    MainForm& F = *form_;
    setWindowTitle(Latin1(F.Title));
    if (!(F.Window == applied_)) {
        applied_ = F.Window;
        move(ToPixelsX(F.Window.Left), ToPixelsY(F.Window.Top));
        resize(ToPixelsX(F.Window.Width), ToPixelsY(F.Window.Height));
    }
    for (auto& sync : syncers_) sync();
    for (RecordGridView* view : grids_) view->Sync();
    grids_[3]->ShowSortArrow(F.display.SortColumn, IsAscendingOrder(F.display.SortOrder));

    if (filterBox_->text() != Latin1(F.SysFilter.Text)) filterBox_->setText(Latin1(F.SysFilter.Text));
    filterBox_->setGeometry(ToPixelsX(F.SysFilter.Left), ToPixelsY(F.SysFilter.Top),
                            ToPixelsX(F.SysFilter.Width), ToPixelsY(F.SysFilter.Height));
    filterBox_->setVisible(F.SysCaption.Visible);  // it filters the list that caption belongs to

    lookupAnswer_->setText(Latin1(F.LLookup.Text));
    Place(lookupAnswer_, F.LLookup);
    lookupAnswer_->raise();

    progressText_->setText(Latin1(F.TProgress.Text));
    Place(progressText_, F.TProgress);
    progressText_->raise();
    while (segments_.size() < F.SProgress.size()) {
        auto* segment = new QFrame(this);
        segment->setStyleSheet("background-color: #2a6fdb;");
        segments_.push_back(segment);
    }
    for (size_t i = 0; i < segments_.size(); ++i) {
        if (i < F.SProgress.size()) {
            Place(segments_[i], F.SProgress[i]);
            segments_[i]->raise();
        } else {
            segments_[i]->hide();
        }
    }
    options_->Sync();
    if (F.FocusedControl != focusSeen_) {
        focusSeen_ = F.FocusedControl;
        for (auto& [name, widget] : focusable_) {
            if (name == F.FocusedControl && widget->isVisible()) widget->setFocus();
        }
    }
    syncing_ = false;
}

void MainWindow::Dispatch(const std::function<void()>& handler) {
    DispatchEvent(*form_, handler, [this] { Unload(); });
    if (!form_->Unloaded) Sync();
}

void MainWindow::Unload() {
    syncTimer_->stop();
    fastLookUp_->hide();
    // Closing the last window ends the application's event loop; nothing else is quit, so a
    // wait that happens to run elsewhere is never cut short.
    close();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filterBox_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Dispatch([this] { SysFilter_Escape(*form_); });
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        for (auto& [object, handler] : mouseMoves_) {
            if (object == watched) Dispatch(handler);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    // Moves over a child that ignores them arrive here too; only the bare window clears the help.
    if (childAt(event->position().toPoint()) != nullptr) return;
    Dispatch([this] { Form_MouseMove(*form_); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (form_->Unloaded) {
        event->accept();
        return;
    }
    event->ignore();
    Dispatch([this] { BQuit_Click(*form_); });
}

void MainWindow::ReportGeometry() {
    if (syncing_ || !isVisible()) return;
    MainForm& F = *form_;
    F.Window.Left = pos().x() * TwipsPerPixelX();
    F.Window.Top = pos().y() * TwipsPerPixelY();
    F.Window.Width = width() * TwipsPerPixelX();
    F.Window.Height = height() * TwipsPerPixelY();
    F.WindowState = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    applied_ = F.Window;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (syncing_ || !isVisible()) return;
    ReportGeometry();
    Dispatch([this] { Form_Resize(*form_); });
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    ReportGeometry();
}

int MainWindow::TwipsPerPixelX() const {
    const int dpi = logicalDpiX();
    return dpi > 0 ? std::max(1440 / dpi, 1) : 15;
}

int MainWindow::TwipsPerPixelY() const {
    const int dpi = logicalDpiY();
    return dpi > 0 ? std::max(1440 / dpi, 1) : 15;
}

int MainWindow::ToPixelsX(int twips) const {
    return twips * logicalDpiX() / 1440;
}
int MainWindow::ToPixelsY(int twips) const {
    return twips * logicalDpiY() / 1440;
}

MsgAnswer MainWindow::MsgBox(std::string_view text, MsgIcon icon, MsgButtons buttons,
                             std::string_view title) {
    Sync();
    QMessageBox box(this);
    box.setWindowTitle(Latin1(title));
    box.setText(Latin1(text));
    switch (icon) {
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::None:
            break;
    }
    switch (buttons) {
        case MsgButtons::OK:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OKCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    const bool overridden = QApplication::overrideCursor() != nullptr;
    if (overridden) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (overridden) QApplication::restoreOverrideCursor();
    switch (answer) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        case QMessageBox::Cancel:
            return MsgAnswer::Cancel;
        default:
            return MsgAnswer::OK;
    }
}

void MainWindow::DoEvents() {
    Sync();
    QCoreApplication::processEvents();
}

void MainWindow::ShowWindow() {
    form_->WindowVisible = true;
    Sync();
    if (form_->WindowState == 2) {
        showMaximized();
    } else if (form_->WindowState == 1) {
        showMinimized();
    } else {
        show();
    }
}

int MainWindow::TextWidth(std::string_view text) {
    return fontMetrics().horizontalAdvance(Latin1(text)) * TwipsPerPixelX();
}

void MainWindow::SetClipboardText(std::string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(Latin1(text));
}

std::string MainWindow::ShowPopupMenu(const PopupMenu& menu, int x, int y) {
    Sync();
    QMenu popup(this);
    popup.setObjectName(Latin1(menu.Name));
    popup.setTitle(Latin1(menu.Caption));
    for (const MenuItem& item : menu.Items) {
        if (!item.Visible) continue;
        QAction* action = popup.addAction(Latin1(item.Caption));
        action->setObjectName(Latin1(item.Name));
        action->setEnabled(item.Enabled);
    }
    QAction* chosen = popup.exec(mapToGlobal(QPoint(ToPixelsX(x), ToPixelsY(y))));
    return chosen != nullptr ? Bytes(chosen->objectName()) : std::string();
}

bool MainWindow::OpenFolder(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(Latin1(path)));
}

void MainWindow::SetMousePointer(MousePointer pointer) {
    if (pointer == pointer_) return;
    pointer_ = pointer;
    if (pointer == MousePointer::Hourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    }
}
