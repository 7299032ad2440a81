#include "ListenProcess.h"

#include <arpa/inet.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QThread>
#include <fstream>

#include "capture/CaptureFiles.h"

ListenProcess::ListenProcess(const TempFolder& home, const std::string& at, const QString& program,
                             const QStringList& args, const std::function<void()>& childSetup)
    : process_(std::make_unique<QProcess>()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    env.insert("DROVIX_HOME", QString::fromStdString(home.path()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path() + "config"));
    // A sanitizer's build holds freed memory back for a while; the receiver's own use is what the
    // memory bounds of the tests are about.
    env.insert("ASAN_OPTIONS", "quarantine_size_mb=0");
    process_->setProcessEnvironment(env);
    if (childSetup) process_->setChildProcessModifier(childSetup);
    QStringList arguments = args;
    if (arguments.isEmpty()) arguments = {"--listen"};
    if (args.isEmpty() && !at.empty()) arguments << QString::fromStdString(at);
    process_->start(program, arguments);
    QElapsedTimer timer;
    timer.start();
    while (!process_->canReadLine() && timer.elapsed() < 10000) {
        if (!process_->waitForReadyRead(100) && process_->state() != QProcess::Running) break;
    }
    const std::string line = process_->readLine().toStdString();
    const std::string prefix = "drovix --listen: receiving on ";
    const auto colon = line.find(':', prefix.size());
    if (line.rfind(prefix, 0) != 0 || colon == std::string::npos) {
        process_->waitForFinished(1000);
        error_ = "drovix --listen did not start: " + line + process_->readAllStandardError().toStdString();
        return;
    }
    port_ = std::atoi(line.c_str() + colon + 1);
}

ListenProcess::~ListenProcess() {
    if (process_->state() != QProcess::NotRunning) Stop();
}

long ListenProcess::PeakKiB() const {
    std::ifstream status("/proc/" + std::to_string(process_->processId()) + "/status");
    std::string key;
    long kib = 0;
    while (status >> key) {
        if (key == "VmHWM:" && status >> kib) return kib;
        status.ignore(4096, '\n');
    }
    return -1;
}

DrovixRun ListenProcess::Stop() {
    if (process_->state() != QProcess::NotRunning) ::kill(static_cast<pid_t>(process_->processId()), SIGTERM);
    const bool ended = process_->waitForFinished(20000);
    if (!ended) process_->kill();
    return {ended && process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1,
            process_->readAllStandardOutput().toStdString(), process_->readAllStandardError().toStdString()};
}

void ListenProcess::Kill() {
    process_->kill();
    process_->waitForFinished(5000);
}

namespace {

sockaddr_in Loopback(const std::string& address, int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &a.sin_addr);
    return a;
}

}  // namespace

LoopbackSender::LoopbackSender(int port, const std::string& from)
    : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)),
      to_(Loopback("127.0.0.1", port)),
      from_(Loopback(from, 0)) {
    ::bind(fd_, reinterpret_cast<const sockaddr*>(&from_), sizeof from_);
}

LoopbackSender::~LoopbackSender() {
    ::close(fd_);
}

void LoopbackSender::Datagram(std::string_view bytes) {
    ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to_), sizeof to_);
}

bool LoopbackSender::Stream(std::string_view bytes) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool sent = ::bind(fd, reinterpret_cast<const sockaddr*>(&from_), sizeof from_) == 0 &&
                      ::connect(fd, reinterpret_cast<const sockaddr*>(&to_), sizeof to_) == 0 &&
                      ::send(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    return sent;
}

int OpenDatagramSocket(int& port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = Loopback("127.0.0.1", 0);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) return false;
        QThread::msleep(20);
    }
    return true;
}

std::vector<std::string> AllCaptureLines(const std::string& folder) {
    std::vector<std::string> lines;
    for (const QString& name :
         QDir(QString::fromStdString(folder)).entryList({"DXCapture *.txt"}, QDir::Files, QDir::Name)) {
        for (std::string& line : CaptureLines(ReadFileBytes(folder + name.toStdString())))
            lines.push_back(std::move(line));
    }
    return lines;
}
