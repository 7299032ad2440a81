#include "ui/qt/OptionsPanelView.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <utility>

#include "app/OpenLogFolder.h"
#include "app/OptionsCommands.h"
#include "app/ReplaceToday.h"
#include "app/ScheduleTimer.h"
#include "app/TestConnection.h"
#include "form/MainForm.h"
#include "router/WanMonitor.h"
#include "text/Latin1.h"
#include "ui/Help.h"
#include "ui/OptionsDependents.h"
#include "ui/OptionsFields.h"
#include "ui/qt/EngineHost.h"
#include "ui/qt/HelpPaneView.h"

OptionsPanelView::OptionsPanelView(EngineHost& host, QWidget* parent)
    : QFrame(parent), host_(host), help_(new HelpPaneView(host, parent)) {
    setObjectName("OptionsFrame");
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setMouseTracking(true);
    MainForm& F = host_.Form();

    AddLabel(F.LUserID, "LUserID", "userid");
    AddField(F.UserID, "UserID", "userid", UserID_Change);
    AddLabel(F.LIPAddr, "LIPAddr", "ipaddr");
    AddField(F.IPAddr, "IPAddr", "ipaddr", IPAddr_Change).keyUp = IPAddr_KeyUp;
    AddLabel(F.LPW, "LPW", "pw");
    AddField(F.PW, "PW", "pw", PW_Change).keyUp = PW_KeyUp;
    AddCheck(F.SavePW, "SavePW", "savepw", SavePW_Click);
    AddButton(F.BTestConnection, "BTestConnection", "btestconnection", BTestConnection_Click);
    AddButton(F.BOpenLogFolder, "BOpenLogFolder", "bopenlogfolder", BOpenLogFolder_Click);
    AddField(F.mnThreads, "mnThreads", "mnthreads", nullptr).lostFocus = mnThreads_LostFocus;
    AddLabel(F.LnThreads, "LnThreads", "mnthreads");
    AddCheck(F.CkConvertIP, "CkConvertIP", "ckconvertip", CkConvertIP_Click);
    AddCheck(F.CkConvertURL, "CkConvertURL", "ckconverturl", CkConvertURL_Click);
    AddCheck(F.CCacheFailures, "CCacheFailures", "ccachefailures", CCacheFailures_Click);
    AddLabel(F.LRouterWait, "LRouterWait", "routerwait");
    AddField(F.RouterWait, "RouterWait", "routerwait", RouterWait_Change).lostFocus = RouterWait_LostFocus;
    AddLabel(F.LRouterRetry, "LRouterRetry", "routerretry");
    AddField(F.RouterRetry, "RouterRetry", "routerretry", RouterRetry_Change).lostFocus =
        RouterRetry_LostFocus;
    AddLabel(F.LRouterDelay, "LRouterDelay", "routerdelay");
    AddField(F.RouterDelay, "RouterDelay", "routerdelay", RouterDelay_Change).lostFocus =
        RouterDelay_LostFocus;
    AddCheck(F.CSysLog, "CSysLog", "csyslog", CSysLog_Click);
    AddCheck(F.CkTimer, "CkTimer", "cktimer", CkTimer_Click);
    AddCheck(F.CSaveSysLog, "CSaveSysLog", "csavesyslog", CSaveSysLog_Click);
    AddButton(F.BReplaceToday, "BReplaceToday", "breplacetoday", BReplaceToday_Click);
    AddCheck(F.CmnW, "CmnW", "cmnw", CmnW_Click);
    AddCheck(F.CompAddr, "CompAddr", "compaddr", CompAddr_Click);
    AddCheck(F.CompSB, "CompSB", "compsb", CompSB_Click);
    AddCheck(F.CompDX, "CompDX", "compdx", CompDX_Click);
    AddLabel(F.LmaxTdiff, "LmaxTdiff", "maxtdiff");
    AddField(F.MaxTdiff, "MaxTdiff", "maxtdiff", MaxTdiff_Change).lostFocus = MaxTdiff_LostFocus;
    AddLabel(F.LTimeframe, "LTimeframe", "ltimeframe");
    const char* const timeframeKeys[] = {"includeall", "includenew", "includetoday", "includeweek"};
    for (int i = 0; i < static_cast<int>(F.Include.size()); ++i) {
        const std::string name = "Include" + std::to_string(i);
        AddOption(F.Include[i], name.c_str(), timeframeKeys[i],
                  [i](MainForm& form) { Include_Click(form, i); });
    }
    AddLabel(F.LDisplay, "LDisplay", "ldisplay");
    const char* const displayKeys[] = {"inbound",          "outbound",      "messages",   "warning",
                                       "includedxhistory", "shownotlogged", "showignored"};
    for (int i = 0; i < static_cast<int>(F.ShowMessages.size()); ++i) {
        const std::string name = "ShowMessages" + std::to_string(i);
        AddCheck(F.ShowMessages[i], name.c_str(), displayKeys[i],
                 [i](MainForm& form) { ShowMessages_Click(form, i); });
    }
    AddLabel(F.LAutorun, "LAutorun", "lautorun");
    for (Item& item : items_) {
        // The password shows as asterisks, whatever the style's default.
        if (item.name == "PW") item.widget->setStyleSheet("lineedit-password-character: 42;");
        // The logon labels end where their fields begin, like a dialog's.
        if (item.name == "LUserID" || item.name == "LIPAddr" || item.name == "LPW") {
            static_cast<QLabel*>(item.widget)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    hide();
}

void OptionsPanelView::Run(const std::function<void(MainForm&)>& handler) {
    host_.Dispatch([this, handler] { handler(host_.Form()); });
}

void OptionsPanelView::ShowHelp(const std::string& key) {
    // Pointer moves come in floods; only a new key is worth a trip through the engine.
    if (key == host_.Form().options.LastHelpKey) return;
    Run([key](MainForm& form) { HelpShow(form, key); });
}

OptionsPanelView::Item* OptionsPanelView::Find(QObject* widget) {
    for (Item& item : items_) {
        if (item.widget == widget) return &item;
    }
    return nullptr;
}

OptionsPanelView::Item& OptionsPanelView::AddField(TextBox& model, const char* name, const char* helpKey,
                                                   void (*change)(MainForm&)) {
    auto* edit = new QLineEdit(this);
    if (change != nullptr) {
        connect(edit, &QLineEdit::textEdited, this, [this, &model, change](const QString& text) {
            model.Text = Bytes(text);
            Run(change);
        });
    } else {
        connect(edit, &QLineEdit::textEdited, this,
                [&model](const QString& text) { model.Text = Bytes(text); });
    }
    Item item{edit, &model, name, helpKey, {}, {}, {}};
    item.sync = [edit, &model] {
        const QString text = Latin1(model.Text);
        if (edit->text() != text) edit->setText(text);
        edit->setMaxLength(model.MaxLength > 0 ? model.MaxLength : 32767);
        edit->setEchoMode(model.PasswordChar ? QLineEdit::Password : QLineEdit::Normal);
    };
    return Register(std::move(item));
}

OptionsPanelView::Item& OptionsPanelView::Register(Item item) {
    item.widget->setObjectName(QString::fromStdString(item.name));
    item.widget->installEventFilter(this);
    item.widget->setMouseTracking(true);
    items_.push_back(std::move(item));
    return items_.back();
}

void OptionsPanelView::AddCheck(CheckBox& model, const char* name, const char* helpKey,
                                std::function<void(MainForm&)> click) {
    auto* box = new QCheckBox(this);
    connect(box, &QCheckBox::clicked, this, [this, &model, click](bool checked) {
        model.Value = checked;
        Run(click);
    });
    Item item{box, &model, name, helpKey, {}, {}, {}};
    item.sync = [box, &model] {
        box->setText(Latin1(model.Caption));
        box->setChecked(model.Value);
    };
    Register(std::move(item));
}

void OptionsPanelView::AddOption(OptionButton& model, const char* name, const char* helpKey,
                                 std::function<void(MainForm&)> click) {
    auto* option = new QRadioButton(this);
    // The engine keeps exactly one timeframe chosen; the widget only shows it.
    option->setAutoExclusive(false);
    connect(option, &QRadioButton::clicked, this, [this, &model, click](bool) {
        model.Value = true;
        Run(click);
    });
    Item item{option, &model, name, helpKey, {}, {}, {}};
    item.sync = [option, &model] {
        option->setText(Latin1(model.Caption));
        option->setChecked(model.Value);
    };
    Register(std::move(item));
}

void OptionsPanelView::AddLabel(Label& model, const char* name, const char* helpKey) {
    auto* label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    Item item{label, &model, name, helpKey, {}, {}, {}};
    item.sync = [label, &model] { label->setText(Latin1(model.Caption)); };
    Register(std::move(item));
}

void OptionsPanelView::AddButton(Button& model, const char* name, const char* helpKey,
                                 std::function<void(MainForm&)> click) {
    auto* button = new QPushButton(this);
    connect(button, &QPushButton::clicked, this, [this, click] { Run(click); });
    Item item{button, &model, name, helpKey, {}, {}, {}};
    item.sync = [button, &model] { button->setText(Latin1(model.Caption)); };
    Register(std::move(item));
}

bool OptionsPanelView::eventFilter(QObject* watched, QEvent* event) {
    Item* item = Find(watched);
    if (item == nullptr) return QFrame::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove:
            ShowHelp(item->helpKey);
            break;
        case QEvent::FocusIn: {
            focusSeen_ = item->name;
            host_.Form().FocusedControl = item->name;
            if (auto* edit = qobject_cast<QLineEdit*>(item->widget)) {
                QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
            }
            if (item->name == "PW") Run(PW_GotFocus);
            break;
        }
        case QEvent::FocusOut:
            if (item->lostFocus) {
                focusSeen_.clear();
                host_.Form().FocusedControl.clear();
                Run(item->lostFocus);
            }
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape) {
                Run([](MainForm& form) { OptionsFrame_KeyDown(form, KeyEscape); });
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) enterPressedIn_ = watched;
            break;
        }
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            // Only an Enter pressed in this field counts: the one that moved the focus here does not.
            if (enter && !key->isAutoRepeat() && item->keyUp && enterPressedIn_ == watched) {
                enterPressedIn_ = nullptr;
                auto keyUp = item->keyUp;
                Run([keyUp](MainForm& form) { keyUp(form, KeyEnter); });
            }
            break;
        }
        default:
            break;
    }
    return QFrame::eventFilter(watched, event);
}

void OptionsPanelView::enterEvent(QEnterEvent* event) {
    ShowHelp("");
    QFrame::enterEvent(event);
}

void OptionsPanelView::FollowModelFocus() {
    const std::string& wanted = host_.Form().FocusedControl;
    if (wanted == focusSeen_) return;
    focusSeen_ = wanted;
    for (Item& item : items_) {
        if (item.name != wanted || !item.widget->isVisible()) continue;
        // Later, not now: the model may ask for the focus back while Qt is still moving it.
        QWidget* widget = item.widget;
        QTimer::singleShot(0, widget, [widget] { widget->setFocus(Qt::OtherFocusReason); });
    }
}

void OptionsPanelView::Sync() {
    MainForm& F = host_.Form();
    const Frame& frame = F.OptionsFrame;
    setGeometry(host_.ToPixelsX(frame.Left), host_.ToPixelsY(frame.Top), host_.ToPixelsX(frame.Width),
                host_.ToPixelsY(frame.Height));
    for (Item& item : items_) {
        const Control& m = *item.model;
        item.sync();
        item.widget->setEnabled(m.Enabled);
        item.widget->setToolTip(Latin1(m.ToolTipText));
        item.widget->setGeometry(host_.ToPixelsX(m.Left), host_.ToPixelsY(m.Top), host_.ToPixelsX(m.Width),
                                 host_.ToPixelsY(m.Height));
        item.widget->setVisible(m.Visible);
    }
    setVisible(frame.Visible);
    if (frame.Visible) raise();
    help_->Sync();
    FollowModelFocus();
}
