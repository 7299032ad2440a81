// drovix-grab: starts Drovix's real window in the folder named by DROVIX_HOME, as `drovix` would,
// carries out a few steps a person would take, and saves a picture of the window. Run it with
// QT_QPA_PLATFORM=offscreen; scripts/screenshots.sh uses it to remake the user guide's pictures.
//
//   drovix-grab [--click NAME | --hover NAME | --wait MS]... OUTPUT.png
//
// NAME is a widget's object name (the engine's control name: BRun, BOptions, PW, ...). The steps
// run in the order given, each followed by a pause that lets the window redraw and the engine's
// timers run. The settings are not written back: the folder stays as the script laid it out.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <cstdio>

#include "app/Clock.h"
#include "app/ProgramDir.h"
#include "app/RunCycle.h"
#include "app/Startup.h"
#include "ui/qt/MainWindow.h"

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
    std::fputs("Usage: drovix-grab [--click NAME | --hover NAME | --wait MS]... OUTPUT.png\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Drovix");
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty() || !args.last().endsWith(".png")) return Usage();
    const QString output = args.takeLast();
    if (args.size() % 2 != 0) return Usage();

    const std::string programDir = ResolveProgramDir(QCoreApplication::applicationDirPath().toStdString());
    SystemClock clock;
    MainWindow window(clock, programDir);
    PrepareMainForm(window.Form(), programDir);
    window.Dispatch([&] { Form_Load(window.Form(), ""); });
    Settle(500);

    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        const QString& step = args[i];
        const QString& value = args[i + 1];
        if (step == "--wait") {
            Settle(value.toInt());
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

    if (!window.grab().save(output)) {
        std::fprintf(stderr, "drovix-grab: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
