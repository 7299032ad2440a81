#pragma once
#include <QProcess>
#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"

// Runs drovix-routersim on a free loopback port for one test. The records file lives in a
// temporary folder of its own; the simulator reads it again at every request, so SetRecords
// changes what the next page shows (and, with --syslog-to, sends the System Log lines it adds). Options are
// the simulator's own (see drovix-routersim --help).
class RouterSim {
  public:
    explicit RouterSim(const std::vector<std::string>& options = {}, const std::string& records = {});
    ~RouterSim();
    RouterSim(const RouterSim&) = delete;
    RouterSim& operator=(const RouterSim&) = delete;

    bool Started() const { return port_ > 0; }
    const std::string& Error() const { return error_; }
    int Port() const { return port_; }
    // "127.0.0.1:PORT", what the router address field holds.
    std::string Address() const;
    // "http://127.0.0.1:PORT" + path.
    std::string Url(const std::string& path = "/") const;

    void SetRecords(const std::string& records);
    // What the simulator wrote after its first line (with --verbose: one line per request).
    std::string Output();

  private:
    TempFolder dir_;
    std::string recordsPath_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
    std::string error_;
    std::string output_;
};
