// drovix-routersim: a router web administration on loopback for Drovix's tests and demos.
#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>

#include "SimOptions.h"
#include "SimServer.h"
#include "SimSyslog.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop from a safe place: the handler only writes to a pipe.
bool InstallQuitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return false;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] { app.quit(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    const SimOptionsResult parsed = ParseSimOptions(args);
    if (!parsed.ok) {
        std::fprintf(stderr, "drovix-routersim: %s\nTry 'drovix-routersim --help'.\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }
    if (!InstallQuitOnSignals(app)) {
        std::fprintf(stderr, "drovix-routersim: cannot install the signal handlers\n");
        return 1;
    }
    SimServer server(parsed.options);
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "drovix-routersim: %s\n", error.c_str());
        return 1;
    }
    SimSyslogSender* sender = nullptr;
    if (!parsed.options.syslogHost.empty()) {
        sender = new SimSyslogSender(parsed.options.recordsPath,
                                     QHostAddress(QString::fromStdString(parsed.options.syslogHost)),
                                     static_cast<quint16>(parsed.options.syslogPort),
                                     parsed.options.syslogFormat, parsed.options.verbose, &app);
        if (!sender->Start(error)) {
            std::fprintf(stderr, "drovix-routersim: %s\n", error.c_str());
            return 1;
        }
    }
    std::printf("listening 127.0.0.1:%u\n", static_cast<unsigned>(server.Port()));
    std::fflush(stdout);
    const int rc = app.exec();
    if (parsed.options.verbose) std::printf("stopped\n");
    return rc;
}
