#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <memory>

#include "IsolatedUserConfig.h"
#include "PinnedClock.h"
#include "TestFiles.h"
#include "app/OptionsCommands.h"
#include "app/PasswordStore.h"
#include "app/Settings.h"
#include "form/DesignDefaults.h"
#include "form/MainForm.h"
#include "ui/Help.h"
#include "ui/OptionsLayout.h"
#include "ui/OptionsPanel.h"
#include "ui/qt/EngineHost.h"
#include "ui/qt/OptionsPanelView.h"

namespace {

// A window hosting only the options panel: the engine's form, measured with the real font, and a
// Dispatch that runs the handler and redraws.
class PanelHost : public QWidget, public EngineHost, public Frontend {
  public:
    explicit PanelHost(const std::string& programDir) : form_(*this, clock_) {
        form_.ProgramDir = programDir;
        form_.SbLogDir = programDir;
        ApplyDesignDefaults(form_);
        SetupOptionsControls(form_);
        IniRead(form_);
        HelpLoad(form_);
        // A closed loopback port and the shortest timings: the refresh after applying stays here.
        form_.IPAddr.Text = "127.0.0.1:1";
        form_.RouterRetry.Text = form_.RouterDelay.Text = form_.RouterWait.Text = "1";
        form_.OptionsFrame.Left = 120;
        form_.OptionsFrame.Top = 600;
        form_.BQuit.Left = 9000;
        form_.BQuit.Width = 1215;
        view_ = new OptionsPanelView(*this, this);
        resize(ToPixelsX(form_.BQuit.Left + form_.BQuit.Width + 120), ToPixelsY(7800));
        form_.Window.Height = 7800;
    }

    MainForm& Form() override { return form_; }
    void Dispatch(const std::function<void()>& handler) override {
        ++dispatches;
        handler();
        view_->Sync();
    }
    int ToPixelsX(int twips) const override { return twips / 15; }
    int ToPixelsY(int twips) const override { return twips / 15; }

    MsgAnswer MsgBox(std::string_view, MsgIcon, MsgButtons, std::string_view) override {
        ++messages;
        return MsgAnswer::OK;
    }
    void DoEvents() override { QCoreApplication::processEvents(); }
    void ShowWindow() override {}
    int TextWidth(std::string_view text) override {
        return QFontMetrics(font()).horizontalAdvance(QString::fromLatin1(text.data(), text.size())) * 15;
    }
    void SetClipboardText(std::string_view) override {}
    void SetMousePointer(MousePointer) override {}
    MousePointer GetMousePointer() const override { return MousePointer::Default; }

    OptionsPanelView& View() { return *view_; }
    template <typename W>
    W* Find(const char* name) {
        return view_->findChild<W*>(name);
    }

    int dispatches = 0;
    int messages = 0;

  private:
    PinnedClock clock_;
    MainForm form_;
    OptionsPanelView* view_ = nullptr;
};

void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

void Type(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

void PressEnter(QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(w, &release);
    Settle();
}

void Hover(QWidget* w) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w, &enter);
}

class OptionsPanelViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(PasswordStoreLocation().rfind(IsolatedConfigHome(), 0), 0u);
        DeleteStoredPassword();
        host = std::make_unique<PanelHost>(dir.path());
        host->show();
        host->activateWindow();
        host->Dispatch([this] { BOptions_Click(F()); });
        Settle();
    }
    void TearDown() override { DeleteStoredPassword(); }
    MainForm& F() { return host->Form(); }

    TempFolder dir;
    std::unique_ptr<PanelHost> host;
};

TEST_F(OptionsPanelViewTest, TypingAnAddressAndPasswordAndPressingEnterSavesThem) {
    auto* address = host->Find<QLineEdit>("IPAddr");
    auto* password = host->Find<QLineEdit>("PW");
    ASSERT_TRUE(address && password);
    EXPECT_TRUE(host->View().isVisible());
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);

    address->setFocus();
    Settle();
    EXPECT_EQ(F().FocusedControl, "IPAddr");
    address->selectAll();
    Type(address, "127.0.0.1:2");
    EXPECT_EQ(F().IPAddr.Text, "127.0.0.1:2");
    PressEnter(address);
    EXPECT_TRUE(password->hasFocus()) << "Enter in the address moves to the password";
    EXPECT_EQ(F().FocusedControl, "PW");
    EXPECT_EQ(F().options.LastHelpKey, "pw");

    Type(password, "s3cret");
    EXPECT_EQ(F().PW.Text, "s3cret");
    auto* save = host->Find<QCheckBox>("SavePW");
    ASSERT_TRUE(save);
    EXPECT_TRUE(save->isEnabled());
    save->click();
    EXPECT_TRUE(F().SavePW.Value);

    PressEnter(password);
    EXPECT_FALSE(F().OptionsFrame.Visible);
    EXPECT_FALSE(host->View().isVisible());
    const std::string ini = ReadFileBytes(dir.file("Drovix.ini"));
    EXPECT_NE(ini.find("ADDRESS=127.0.0.1:2\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("SAVEPW=1\r\n"), std::string::npos) << ini;
    const std::string stored = ReadStoredPassword();
    EXPECT_FALSE(stored.empty());
    EXPECT_EQ(Enc(stored, F().ScrambleKey, true), "s3cret");
}

TEST_F(OptionsPanelViewTest, SyncDrawsTheModelWithoutRunningHandlers) {
    F().CkConvertIP.Value = true;
    F().MaxTdiff.Text = "77";
    F().Include[0].Value = true;
    F().Include[2].Value = false;
    const bool changedBefore = F().SettingsChanged;
    const int dispatches = host->dispatches;
    host->View().Sync();
    host->View().Sync();
    EXPECT_TRUE(host->Find<QCheckBox>("CkConvertIP")->isChecked());
    EXPECT_EQ(host->Find<QLineEdit>("MaxTdiff")->text(), "77");
    EXPECT_TRUE(host->Find<QRadioButton>("Include0")->isChecked());
    EXPECT_FALSE(host->Find<QRadioButton>("Include2")->isChecked());
    EXPECT_EQ(F().SettingsChanged, changedBefore);
    EXPECT_EQ(host->dispatches, dispatches);
}

TEST_F(OptionsPanelViewTest, ClicksAndLostFocusGoThroughTheEngine) {
    auto* week = host->Find<QRadioButton>("Include3");
    week->click();
    EXPECT_TRUE(F().Include[3].Value);
    EXPECT_FALSE(F().Include[2].Value);
    EXPECT_FALSE(host->Find<QRadioButton>("Include2")->isChecked());
    week->click();  // a second click leaves the choice as it is
    EXPECT_TRUE(week->isChecked());

    auto* wait = host->Find<QLineEdit>("RouterWait");
    wait->setFocus();
    Settle();
    wait->selectAll();
    Type(wait, "0");
    host->Find<QLineEdit>("UserID")->setFocus();
    Settle();
    EXPECT_EQ(F().RouterWait.Text, "4");
    EXPECT_EQ(wait->text(), "4");
}

TEST_F(OptionsPanelViewTest, ThePointerOverAControlExplainsItInThePane) {
    Hover(host->Find<QCheckBox>("CompSB"));
    EXPECT_EQ(F().options.LastHelpKey, "compsb");
    auto* pane = host->findChild<QLabel*>("LHelp");
    ASSERT_TRUE(pane);
    EXPECT_TRUE(pane->isVisible());
    EXPECT_TRUE(pane->text().startsWith("Compare the Router's records"));
    EXPECT_TRUE(pane->text().endsWith(QString(" ") + QChar(0xB6)));
    Hover(host->Find<QLabel>("LDisplay"));
    EXPECT_EQ(F().options.LastHelpKey, "ldisplay");
    Hover(host->Find<QCheckBox>("CompDX"));
    EXPECT_TRUE(pane->text().startsWith("Also compare the Router's records with the files Drovix saved"))
        << "every option explains itself, not the one before";
    Hover(&host->View());
    EXPECT_EQ(F().options.LastHelpKey, "");
    EXPECT_TRUE(pane->text().startsWith("Move the mouse pointer to any option")) << "never blank while open";

    // A dark desktop theme gives light text; the pane keeps its light ground, so it keeps dark text.
    QPalette dark = host->palette();
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    host->setPalette(dark);
    const QPalette shown = pane->palette();
    EXPECT_LT(shown.color(QPalette::WindowText).lightness() + 100, shown.color(QPalette::Window).lightness());
}

}  // namespace
