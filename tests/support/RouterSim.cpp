#include "RouterSim.h"

#include <QElapsedTimer>
#include <cstdio>

RouterSim::RouterSim(const std::vector<std::string>& options, const std::string& records)
    : recordsPath_(dir_.file("records.txt")), process_(std::make_unique<QProcess>()) {
    WriteFileBytes(recordsPath_, records);
    QStringList args = {"--port", "0", "--records", QString::fromStdString(recordsPath_)};
    for (const auto& o : options) args << QString::fromStdString(o);
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->start(QStringLiteral(DROVIX_ROUTERSIM_PATH), args);
    if (!process_->waitForStarted(5000)) {
        error_ = "cannot start " DROVIX_ROUTERSIM_PATH;
        return;
    }
    QElapsedTimer timer;
    timer.start();
    while (!process_->canReadLine() && timer.elapsed() < 5000) {
        if (!process_->waitForReadyRead(200) && process_->state() != QProcess::Running) break;
    }
    const std::string line = process_->readLine().trimmed().toStdString();
    const std::string prefix = "listening 127.0.0.1:";
    if (line.rfind(prefix, 0) != 0) {
        error_ = "simulator did not start: " + line + process_->readAllStandardError().toStdString();
        return;
    }
    port_ = std::stoi(line.substr(prefix.size()));
}

RouterSim::~RouterSim() {
    if (process_->state() == QProcess::NotRunning) return;
    process_->terminate();
    if (!process_->waitForFinished(3000)) {
        process_->kill();
        process_->waitForFinished(1000);
    }
}

std::string RouterSim::Address() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::string RouterSim::Url(const std::string& path) const {
    return "http://" + Address() + path;
}

void RouterSim::SetRecords(const std::string& records) {
    // Renamed into place, so the simulator never reads a file half written.
    WriteFileBytes(recordsPath_ + ".new", records);
    std::rename((recordsPath_ + ".new").c_str(), recordsPath_.c_str());
}

std::string RouterSim::Output() {
    process_->waitForReadyRead(50);
    output_ += process_->readAllStandardOutput().toStdString();
    return output_;
}
