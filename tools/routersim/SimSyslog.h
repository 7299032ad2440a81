#pragma once
#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>
#include <string>
#include <vector>

#include "SimOptions.h"

class QDateTime;

// The datagram the router sends for one of its System Log lines: the line's time stamp in the
// header (RFC 3164: "Mmm dd hh:mm:ss", no year, no host name; RFC 5424: with its zone, a host
// name, structured data and a byte order mark before the text), then the line's text. A line that
// does not start with a time stamp is sent whole, stamped now.
std::string SyslogDatagram(const std::string& line, SimSyslogFormat format, const QDateTime& now);

// Sends each System Log line added to the records file to a syslog receiver, as the router sends
// every line as it happens. The file is looked at every 50 ms; lines added at the end of its
// [syslog] section go out in order. The lines there at the start count as sent long ago, and so
// do all of them when the section no longer begins with the lines seen before.
class SimSyslogSender : public QObject {
  public:
    SimSyslogSender(std::string recordsPath, QHostAddress to, quint16 port, SimSyslogFormat format,
                    bool verbose, QObject* parent = nullptr);
    bool Start(std::string& error);

  private:
    void SendNewLines();

    std::string recordsPath_;
    QHostAddress to_;
    quint16 port_;
    SimSyslogFormat format_;
    bool verbose_;
    std::vector<std::string> seen_;
    QUdpSocket socket_;
    QTimer timer_;
};
