#pragma once
#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <string>

#include "SimOptions.h"
#include "SimRecords.h"

class QTcpSocket;

// A small HTTP/1.0 and 1.1 server that answers like the router's web administration. Every
// connection carries one request and is closed after the answer.
class SimServer : public QObject {
    Q_OBJECT
  public:
    explicit SimServer(SimOptions options, QObject* parent = nullptr);

    // Binds 127.0.0.1 and the configured port; on failure returns false with a message.
    bool Start(std::string& error);
    quint16 Port() const { return server_.serverPort(); }

    struct Answer {
        int status = 200;
        std::string body;
    };
    // The answer to one GET of target (path and query) with the given Authorization header value.
    Answer Respond(const std::string& target, const std::string& authorization);

  private:
    void OnNewConnection();
    void OnReadyRead(QTcpSocket* socket);
    void Send(QTcpSocket* socket, const Answer& answer);
    void ReloadRecords();
    void TakeRecords(SimRecords records);
    bool PageFails(int page) const;
    bool Authorized(const std::string& authorization) const;
    std::string ClockText() const;
    std::vector<std::string> PageLines(int page) const;

    SimOptions options_;
    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
    SimRecords records_;
    int requests_ = 0;
    int selectedPage_ = 0;  // the System Log page a select request chose
};
