#include "SimSyslog.h"

#include <QDateTime>
#include <cstdio>

#include "SimRecords.h"

namespace {

bool StartsWithStamp(const std::string& line, QDateTime& when) {
    if (line.size() < 20 || line[19] != ' ') return false;
    when = QDateTime::fromString(QString::fromLatin1(line.substr(0, 19).c_str()), "yyyy-MM-dd hh:mm:ss");
    return when.isValid();
}

std::string Rfc3164Stamp(const QDateTime& when) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[64];
    std::snprintf(text, sizeof text, "%s %2d %s", kMonths[when.date().month() - 1], when.date().day(),
                  when.toString("hh:mm:ss").toStdString().c_str());
    return text;
}

std::string Rfc5424Stamp(const QDateTime& when) {
    const int offset = when.offsetFromUtc();
    char zone[32];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', std::abs(offset) / 3600,
                  std::abs(offset) / 60 % 60);
    return when.toString("yyyy-MM-ddThh:mm:ss").toStdString() + zone;
}

}  // namespace

std::string SyslogDatagram(const std::string& line, SimSyslogFormat format, const QDateTime& now) {
    QDateTime when;
    const bool stamped = StartsWithStamp(line, when);
    if (!stamped) when = now;
    const std::string text = stamped ? line.substr(20) : line;
    // Facility local0, severity informational.
    if (format == SimSyslogFormat::Rfc3164) return "<134>" + Rfc3164Stamp(when) + " " + text;
    return "<134>1 " + Rfc5424Stamp(when) +
           " router syslog - - [origin software=\"drovix-routersim\"] \xEF\xBB\xBF" + text;
}

SimSyslogSender::SimSyslogSender(std::string recordsPath, QHostAddress to, quint16 port,
                                 SimSyslogFormat format, bool verbose, QObject* parent)
    : QObject(parent),
      recordsPath_(std::move(recordsPath)),
      to_(std::move(to)),
      port_(port),
      format_(format),
      verbose_(verbose) {
    connect(&timer_, &QTimer::timeout, this, &SimSyslogSender::SendNewLines);
}

bool SimSyslogSender::Start(std::string& error) {
    // From the loopback address, as the router sends from its own.
    if (!socket_.bind(QHostAddress::LocalHost, 0)) {
        error = "cannot open a syslog socket: " + socket_.errorString().toStdString();
        return false;
    }
    SimRecords records;
    if (LoadSimRecords(recordsPath_, records, error)) seen_ = records.syslog;
    error.clear();
    timer_.start(50);
    return true;
}

void SimSyslogSender::SendNewLines() {
    SimRecords records;
    std::string error;
    if (!LoadSimRecords(recordsPath_, records, error)) return;  // the next look may find it whole
    const std::vector<std::string>& lines = records.syslog;
    const bool extends =
        lines.size() >= seen_.size() && std::equal(seen_.begin(), seen_.end(), lines.begin());
    if (extends) {
        for (size_t i = seen_.size(); i < lines.size(); ++i) {
            const std::string datagram = SyslogDatagram(lines[i], format_, QDateTime::currentDateTime());
            socket_.writeDatagram(datagram.data(), static_cast<qint64>(datagram.size()), to_, port_);
            if (verbose_) std::printf("SYSLOG %s\n", lines[i].c_str());
        }
        if (verbose_) std::fflush(stdout);
    }
    seen_ = lines;
}
