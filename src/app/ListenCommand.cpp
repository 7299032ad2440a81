#include "app/ListenCommand.h"

#include <fcntl.h>
#include <netdb.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/CommandLine.h"
#include "app/HeadlessFrontend.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "capture/SyslogReceiver.h"
#include "form/Clock.h"
#include "form/MainForm.h"
#include "form/OsServices.h"

namespace {

int stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
}

// SIGTERM and SIGINT only wake the receiver, which then stops between two messages.
bool StopOnSignals() {
    if (::pipe2(stopPipe, O_CLOEXEC) != 0) return false;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

void Tell(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

// The router's host from the address field ("192.168.1.1", "router.lan:8080"): its IPv4 address,
// and its name when it was given as one.
bool FindRouter(const std::string& field, ReceiverSetup& setup) {
    const std::string host = field.substr(0, field.find(':'));
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    char text[NI_MAXHOST] = {};
    const bool ok =
        ::getnameinfo(found->ai_addr, found->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) == 0;
    ::freeaddrinfo(found);
    setup.routerAddress = text;
    if (host != setup.routerAddress) setup.routerName = host;
    return ok;
}

// Sockets a service manager opened for this process (a systemd socket unit, for a port below
// 1024): LISTEN_PID names this process, LISTEN_FDS counts them from descriptor 3 on.
void TakeHandedOverSockets(ReceiverSetup& setup) {
    const char* pid = std::getenv("LISTEN_PID");
    const char* count = std::getenv("LISTEN_FDS");
    if (pid == nullptr || count == nullptr || std::atol(pid) != static_cast<long>(::getpid())) return;
    for (int fd = 3; fd < 3 + std::atoi(count); ++fd) {
        int type = 0;
        socklen_t length = sizeof type;
        if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0) continue;
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        if (type == SOCK_DGRAM && setup.udpSocket < 0) setup.udpSocket = fd;
        if (type == SOCK_STREAM && setup.tcpSocket < 0) setup.tcpSocket = fd;
    }
    ::unsetenv("LISTEN_PID");
    ::unsetenv("LISTEN_FDS");
    ::unsetenv("LISTEN_FDNAMES");
}

}  // namespace

int RunListen(const std::string& programDir, const std::string& listenAt) {
    HeadlessFrontend frontend;
    SystemClock clock;
    MainForm F(frontend, clock);
    PrepareMainForm(F, programDir);
    F.IPAddr.Text = LocalIPAddresses();
    if (!ReadDrovixIniOnly(F)) return kExitProblemReported;

    ReceiverSetup setup;
    setup.folder = programDir;
    const std::string where = listenAt.empty() ? F.ListenAt : listenAt;
    if (!where.empty()) {
        const auto endpoint = ParseListenEndpoint(where);
        if (!endpoint) {
            Tell("drovix --listen: LISTEN=" + where + " in Drovix.ini is not [ADDR:]PORT");
            return kExitCannotListen;
        }
        setup.listenAt = *endpoint;
    }
    if (!FindRouter(F.IPAddr.Text, setup)) {
        Tell("drovix --listen: the router's address \"" + F.IPAddr.Text + "\" names no IPv4 address");
        return kExitCannotListen;
    }
    TakeHandedOverSockets(setup);

    SyslogReceiver receiver(setup);
    std::string error;
    if (!StopOnSignals()) {
        Tell("drovix --listen: cannot install the signal handlers");
        return kExitCannotListen;
    }
    if (!receiver.Open(error)) {
        Tell("drovix --listen: " + error);
        return kExitCannotListen;
    }
    std::printf("drovix --listen: receiving on %s from %s into %sDXCapture yyyy-mm-dd.txt\n",
                receiver.LocalAddress().c_str(), setup.routerAddress.c_str(), programDir.c_str());
    std::fflush(stdout);
    receiver.Run(stopPipe[0], Tell);

    const ReceiverCounts c = receiver.Counts();
    std::printf(
        "drovix --listen: stopped; %llu lines written, %llu from other addresses dropped, %llu dropped "
        "under overload, %llu cut to %zu bytes, %llu lost to failed writes\n",
        static_cast<unsigned long long>(c.written), static_cast<unsigned long long>(c.foreign),
        static_cast<unsigned long long>(c.overload), static_cast<unsigned long long>(c.cut), MaxSyslogMessage,
        static_cast<unsigned long long>(c.failedWrites));
    std::fflush(stdout);
    return c.failedWrites > 0 ? kExitProblemReported : kExitCompleted;
}
