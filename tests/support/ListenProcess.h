#pragma once
#include <netinet/in.h>
#include <QProcess>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "DrovixProcess.h"
#include "TestFiles.h"

// Runs the real `drovix --listen [at]` (headless, its program folder in home) for one test, as a
// scheduler or a service manager would; an empty `at` leaves the address to Drovix.ini. childSetup runs in
// the child before drovix starts (to hand over a socket), and program replaces the executable (a shell that
// starts drovix).
class ListenProcess {
  public:
    explicit ListenProcess(const TempFolder& home, const std::string& at = "127.0.0.1:0",
                           const QString& program = DROVIX_EXE_PATH, const QStringList& args = {},
                           const std::function<void()>& childSetup = {});
    ~ListenProcess();
    ListenProcess(const ListenProcess&) = delete;
    ListenProcess& operator=(const ListenProcess&) = delete;

    bool Started() const { return port_ > 0; }
    // What went wrong when it did not start, with all it wrote.
    const std::string& Error() const { return error_; }
    int Port() const { return port_; }
    qint64 Pid() const { return process_->processId(); }
    // The most memory the receiver has held so far, in KiB (VmHWM).
    long PeakKiB() const;
    // Stops it with SIGTERM; its exit status and everything it wrote after its first line.
    DrovixRun Stop();
    // Ends it at once with SIGKILL, as a crash would.
    void Kill();

  private:
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
    std::string error_;
};

// Sends to a receiver at 127.0.0.1:port, from the loopback address `from`.
class LoopbackSender {
  public:
    explicit LoopbackSender(int port, const std::string& from = "127.0.0.1");
    ~LoopbackSender();
    LoopbackSender(const LoopbackSender&) = delete;
    LoopbackSender& operator=(const LoopbackSender&) = delete;
    void Datagram(std::string_view bytes);
    // One TCP connection that carries bytes and closes; false when it could not connect.
    bool Stream(std::string_view bytes);

  private:
    int fd_;
    sockaddr_in to_{}, from_{};
};

// A UDP socket on a free loopback port, as a service manager opens one; its port in port.
int OpenDatagramSocket(int& port);

// Waits up to timeoutMs for done() to hold; its last answer.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// The lines of every capture file in folder, in file name order.
std::vector<std::string> AllCaptureLines(const std::string& folder);
