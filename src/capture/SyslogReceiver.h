#pragma once
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/CaptureFiles.h"
#include "capture/StreamFraming.h"

// The syslog receiver: takes the messages the router sends as they happen (UDP datagrams, and
// TCP streams on the same port) and appends each as a router line to the capture file of its
// day. Only the router's messages are kept. Memory is fixed: a message is read into one of a few
// buffers of MaxSyslogMessage bytes (a longer one is cut), and nothing is queued in the program;
// when messages come faster than they can be written, the system's receive buffer fills and the
// system drops the datagrams that find it full, which the receiver counts.

inline constexpr int DefaultListenPort = 5514;
inline constexpr size_t MaxSyslogMessage = 8192;

// Where to receive: "[ADDR:]PORT", ADDR a dotted IPv4 address of this computer (default: all
// of them, 0.0.0.0), PORT 0 to 65535 (0: any free one).
struct ListenEndpoint {
    std::string address = "0.0.0.0";
    int port = DefaultListenPort;
};
std::optional<ListenEndpoint> ParseListenEndpoint(std::string_view text);

struct ReceiverCounts {
    uint64_t written = 0;       // lines appended to the capture files
    uint64_t foreign = 0;       // datagrams and connections from other addresses, dropped
    uint64_t overload = 0;      // datagrams the system dropped while the receiver fell behind,
                                // and connections refused beyond the few it serves at once
    uint64_t cut = 0;           // messages longer than MaxSyslogMessage, cut to it
    uint64_t failedWrites = 0;  // lines that could not be written, lost
};

struct ReceiverSetup {
    std::string folder;  // the program folder: capture files, and the router clock file
    ListenEndpoint listenAt;
    std::string routerAddress;  // dotted IPv4: the only sender whose messages are kept
    std::string routerName;     // the router's host name, when its address was given as one
    // Sockets the service manager opened and handed over (then listenAt is not used); -1: none.
    int udpSocket = -1;
    int tcpSocket = -1;
};

class SyslogReceiver {
  public:
    explicit SyslogReceiver(ReceiverSetup setup);
    ~SyslogReceiver();
    SyslogReceiver(const SyslogReceiver&) = delete;
    SyslogReceiver& operator=(const SyslogReceiver&) = delete;

    // Opens the sockets: UDP and TCP on listenAt, or the ones handed over. False, with error,
    // when the address or the port cannot be used.
    bool Open(std::string& error);
    // "ADDR:PORT" the datagrams arrive at.
    std::string LocalAddress() const;
    // Receives until stopFd becomes readable. tell gets one line about each streak of failed
    // writes (the first failure; the rest are only counted).
    void Run(int stopFd, const std::function<void(const std::string&)>& tell);
    ReceiverCounts Counts() const;

  private:
    struct Connection {
        int fd;
        std::unique_ptr<SyslogStreamFramer> framer;
    };
    static constexpr size_t kBatch = 32;

    bool TakeHandedOver(std::string& error);
    bool Bind(sockaddr_in address, std::string& error);
    void CloseSockets();
    void ReceiveDatagrams();
    void AcceptConnection();
    bool ReadConnection(Connection& connection);
    void Keep(std::string_view bytes, bool cut);
    void FollowRouterClock(std::time_t now);

    ReceiverSetup setup_;
    in_addr_t router_ = 0;
    std::vector<std::string> hostNames_;
    int udp_ = -1, tcp_ = -1;
    std::vector<Connection> connections_;
    CaptureAppender appender_;
    ReceiverCounts counts_;
    std::function<void(const std::string&)> tell_;
    bool failing_ = false;

    std::optional<long long> clockOffset_;
    std::time_t clockCheckedAt_ = 0;
    struct timespec clockFileTime_ {};

    std::vector<char> buffers_;  // kBatch messages of MaxSyslogMessage bytes
    std::array<struct mmsghdr, kBatch> headers_{};
    std::array<struct iovec, kBatch> vectors_{};
    std::array<struct sockaddr_in, kBatch> senders_{};
};
