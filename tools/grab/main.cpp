// drovix-grab: starts Drovix's real window in the folder named by DROVIX_HOME, as `drovix` would,
// carries out a few steps a person would take, and saves a picture of the window. Run it with
// QT_QPA_PLATFORM=offscreen; scripts/screenshots.sh uses it to remake the user guide's pictures.
//
//   drovix-grab [--dark] [--message] [--click NAME | --hover NAME | --wait MS | --header LIST:COL |
//                --size WxH | --maximize | --menu LIST:ROW:COL | --type NAME:TEXT]... OUTPUT.png
//
// --dark (first, before the window opens) draws with the Fusion style and a dark palette, as a
// desktop with a dark theme would.
// NAME is a widget's object name (the engine's control name: BRun, BOptions, PW, ...). --header
// clicks a list's column header, --size sets the window's size in pixels, --maximize maximizes
// it, and --menu right-clicks a record's cell and takes the picture while its popup menu is open
// (it is the last step). --message takes the picture when the first message box opens (at the
// start or after a step), with the box drawn over the middle of the window, and then closes the
// box with its default button; no later picture replaces it. The steps run in the order given, each followed
// by a pause that lets the window redraw and the engine's timers run. The settings are not written back: the
// folder stays as the script laid it out.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/ProgramDir.h"
#include "app/RunCycle.h"
#include "app/Startup.h"
#include "form/Clock.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/RecordGridView.h"

namespace {

void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

QWidget* Find(MainWindow& window, const QString& name) {
    auto* widget = window.findChild<QWidget*>(name);
    if (widget == nullptr) std::fprintf(stderr, "drovix-grab: no widget named %s\n", qPrintable(name));
    return widget;
}

// A pointer move over the widget, the way the help pane learns what the person points at.
void Hover(QWidget* widget) {
    const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, centre, widget->mapToGlobal(centre), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

int Usage() {
    std::fputs(
        "Usage: drovix-grab [--dark] [--message] [--click NAME | --hover NAME | --wait MS | --header LIST:COL |\n"
        "                   --size WxH | --maximize | --menu LIST:ROW:COL | --type NAME:TEXT]... OUTPUT.png\n",
        stderr);
    return 2;
}

void Press(QWidget* target, QPoint at, Qt::MouseButton button) {
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void ClickHeader(RecordGridView* list, int col) {
    QHeaderView* header = list->horizontalHeader();
    Press(header->viewport(), QPoint(header->sectionViewportPosition(col) + 4, header->height() / 2),
          Qt::LeftButton);
}

// The window with the open popup menu painted where it stands: a grab of the window alone
// leaves out the menu, which is a window of its own.
bool SaveWithMenu(MainWindow& window, QMenu* menu, const QString& output) {
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(window.mapFromGlobal(menu->pos()), menu->grab());
    painter.end();
    return picture.save(output);
}

// Right-clicks a record's cell; the picture is taken while the menu it opens is up, then the
// menu is closed without a choice.
bool GrabWithMenu(MainWindow& window, RecordGridView* list, int row, int col, const QString& output) {
    bool saved = false, seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || seen) return;
        seen = true;
        Settle(200);
        saved = SaveWithMenu(window, menu, output);
        menu->close();
    });
    poll.start(50);
    list->scrollToTop();
    const QRect cell = list->visualRect(list->model()->index(row - 1, col));
    Press(list->viewport(), cell.center(), Qt::RightButton);
    if (!seen) std::fprintf(stderr, "drovix-grab: no menu opened on row %d, column %d\n", row, col);
    return saved;
}

// A dark desktop theme: light text on dark ground, as the dark palettes of the desktops have it.
void UseDarkPalette() {
    QApplication::setStyle("Fusion");
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 30), text(230, 230, 230), disabled(127, 127, 127);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::PlaceholderText, disabled);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    QApplication::setPalette(p);
}

// Watches for the first message box: the window with the box over its middle is saved, and the
// box is closed as if its default button had been pressed.
class MessageGrabber {
  public:
    MessageGrabber(MainWindow& window, QString output) : window_(window), output_(std::move(output)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] { Look(); });
        poll_.start(50);
    }
    bool Saved() const { return saved_; }

  private:
    void Look() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || saved_) return;
        poll_.stop();
        Settle(300);
        QPixmap picture = window_.grab();
        const QPixmap boxPicture = box->grab();
        QPainter painter(&picture);
        painter.drawPixmap((picture.width() - boxPicture.width()) / 2,
                           (picture.height() - boxPicture.height()) / 2, boxPicture);
        painter.end();
        saved_ = picture.save(output_);
        box->done(box->defaultButton() != nullptr ? box->standardButton(box->defaultButton()) : 0);
    }

    MainWindow& window_;
    QString output_;
    QTimer poll_;
    bool saved_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Drovix");
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty() || !args.last().endsWith(".png")) return Usage();
    const QString output = args.takeLast();
    if (!args.isEmpty() && args.first() == "--dark") {
        args.removeFirst();
        UseDarkPalette();
    }

    const std::string programDir = ResolveProgramDir(QCoreApplication::applicationDirPath().toStdString());
    SystemClock clock;
    MainWindow window(clock, programDir);
    PrepareMainForm(window.Form(), programDir);
    std::unique_ptr<MessageGrabber> messages;
    if (args.removeAll("--message") > 0) messages = std::make_unique<MessageGrabber>(window, output);
    window.Dispatch([&] { Form_Load(window.Form(), ""); });
    Settle(500);

    for (qsizetype i = 0; i < args.size(); i += 2) {
        const QString& step = args[i];
        const QString value = args.value(i + 1);
        if (step == "--wait") {
            Settle(value.toInt());
            continue;
        }
        if (step == "--size") {
            const QStringList wh = value.split('x');
            if (wh.size() != 2) return Usage();
            window.showNormal();
            window.resize(wh[0].toInt(), wh[1].toInt());
            Settle(300);
            continue;
        }
        if (step == "--maximize") {
            window.showMaximized();
            Settle(300);
            --i;  // takes no value
            continue;
        }
        const QStringList parts = value.split(':');
        if (step == "--type") {
            // Key by key into a text field, as a person types.
            auto* edit = qobject_cast<QLineEdit*>(Find(window, parts.value(0)));
            if (edit == nullptr || parts.size() < 2) return Usage();
            edit->setFocus();
            for (const QChar c : value.section(':', 1)) {
                QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                QApplication::sendEvent(edit, &key);
            }
            Settle(300);
            continue;
        }
        if (step == "--header" || step == "--menu") {
            auto* list = window.findChild<RecordGridView*>(parts.value(0));
            if (list == nullptr || parts.size() != (step == "--header" ? 2 : 3)) return Usage();
            if (step == "--menu") {
                return GrabWithMenu(window, list, parts[1].toInt(), parts[2].toInt(), output) ? 0 : 1;
            }
            ClickHeader(list, parts[1].toInt());
            Settle(300);
            continue;
        }
        QWidget* widget = Find(window, value);
        if (widget == nullptr) return 1;
        if (step == "--click") {
            auto* button = qobject_cast<QAbstractButton*>(widget);
            if (button == nullptr) return Usage();
            button->click();
        } else if (step == "--hover") {
            Hover(widget);
        } else {
            return Usage();
        }
        Settle(300);
    }

    if (messages && messages->Saved()) return 0;
    if (messages) {
        std::fputs("drovix-grab: no message box opened\n", stderr);
        return 1;
    }
    if (!window.grab().save(output)) {
        std::fprintf(stderr, "drovix-grab: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
