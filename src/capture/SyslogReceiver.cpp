#include "capture/SyslogReceiver.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sock_diag.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "capture/RouterClockFile.h"
#include "capture/SyslogMessage.h"

namespace {

// A router sends over one connection; a few more leave room for a reconnect that overlaps.
constexpr size_t kMaxConnections = 4;
// As much as the system allows of it: bursts wait here rather than being dropped.
constexpr int kReceiveBuffer = 1 << 20;

std::string SystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool SetNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

std::string AddressText(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

}  // namespace

std::optional<ListenEndpoint> ParseListenEndpoint(std::string_view text) {
    ListenEndpoint endpoint;
    const size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        endpoint.address = std::string(text.substr(0, colon));
        in_addr parsed{};
        if (::inet_pton(AF_INET, endpoint.address.c_str(), &parsed) != 1) return std::nullopt;
        text.remove_prefix(colon + 1);
    }
    int port = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535)
        return std::nullopt;
    endpoint.port = port;
    return endpoint;
}

SyslogReceiver::SyslogReceiver(ReceiverSetup setup)
    : setup_(std::move(setup)), appender_(setup_.folder), buffers_(kBatch * MaxSyslogMessage) {
    for (size_t i = 0; i < kBatch; ++i) {
        vectors_[i] = {buffers_.data() + i * MaxSyslogMessage, MaxSyslogMessage};
        headers_[i].msg_hdr.msg_iov = &vectors_[i];
        headers_[i].msg_hdr.msg_iovlen = 1;
        headers_[i].msg_hdr.msg_name = &senders_[i];
    }
    hostNames_ = {setup_.routerAddress, setup_.routerName};
}

SyslogReceiver::~SyslogReceiver() {
    CloseSockets();
}

bool SyslogReceiver::Open(std::string& error) {
    if (::inet_pton(AF_INET, setup_.routerAddress.c_str(), &router_) != 1) {
        error = "the router's address " + setup_.routerAddress + " is not an IPv4 address";
        return false;
    }
    if (setup_.udpSocket >= 0 || setup_.tcpSocket >= 0) return TakeHandedOver(error);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(setup_.listenAt.port));
    if (::inet_pton(AF_INET, setup_.listenAt.address.c_str(), &address.sin_addr) != 1) {
        error = "cannot receive on " + setup_.listenAt.address + ": not an IPv4 address";
        return false;
    }
    // Port 0 takes any free port for the datagrams; another program may hold the same one for
    // TCP, and then another port is taken.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (Bind(address, error)) return true;
        if (setup_.listenAt.port != 0) return false;
    }
    return false;
}

bool SyslogReceiver::TakeHandedOver(std::string& error) {
    udp_ = setup_.udpSocket;
    tcp_ = setup_.tcpSocket;
    if ((udp_ >= 0 && !SetNonBlocking(udp_)) || (tcp_ >= 0 && !SetNonBlocking(tcp_))) {
        error = SystemError("cannot use the sockets handed over");
        return false;
    }
    // Senders are told apart by their IPv4 address; an IPv6 socket would name them otherwise.
    for (const int fd : {udp_, tcp_}) {
        sockaddr_storage bound{};
        socklen_t length = sizeof bound;
        if (fd >= 0 && (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0 ||
                        bound.ss_family != AF_INET)) {
            error = "the sockets handed over must be IPv4 ones (ListenDatagram=0.0.0.0:514)";
            return false;
        }
    }
    return true;
}

// UDP and TCP on the same address and port.
bool SyslogReceiver::Bind(sockaddr_in address, std::string& error) {
    CloseSockets();
    const std::string where = AddressText(address);
    udp_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (udp_ < 0 || ::bind(udp_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error = SystemError("cannot receive on " + where);
        return false;
    }
    ::setsockopt(udp_, SOL_SOCKET, SO_RCVBUF, &kReceiveBuffer, sizeof kReceiveBuffer);
    socklen_t length = sizeof address;
    ::getsockname(udp_, reinterpret_cast<sockaddr*>(&address), &length);
    const int on = 1;
    tcp_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (tcp_ < 0 || ::setsockopt(tcp_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(tcp_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(tcp_, 8) != 0) {
        error = SystemError("cannot receive on " + AddressText(address) + " (TCP)");
        return false;
    }
    return true;
}

void SyslogReceiver::CloseSockets() {
    for (const Connection& c : connections_) ::close(c.fd);
    connections_.clear();
    if (udp_ >= 0) ::close(udp_);
    if (tcp_ >= 0) ::close(tcp_);
    udp_ = tcp_ = -1;
}

std::string SyslogReceiver::LocalAddress() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(udp_ >= 0 ? udp_ : tcp_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return {};
    return AddressText(address);
}

void SyslogReceiver::Run(int stopFd, const std::function<void(const std::string&)>& tell) {
    tell_ = tell;
    std::vector<pollfd> polled;
    for (;;) {
        polled.clear();
        polled.push_back({stopFd, POLLIN, 0});
        polled.push_back({udp_, POLLIN, 0});  // a negative descriptor is passed over
        polled.push_back({tcp_, POLLIN, 0});
        for (const Connection& c : connections_) polled.push_back({c.fd, POLLIN, 0});
        if (::poll(polled.data(), polled.size(), -1) < 0) {
            if (errno == EINTR) continue;
            tell_(SystemError("drovix --listen: stopped receiving"));
            return;
        }
        if (polled[0].revents != 0) return;
        if (polled[1].revents != 0) ReceiveDatagrams();
        if (polled[2].revents != 0) AcceptConnection();
        // Connections accepted just now are polled from the next round on.
        for (size_t i = 3, c = 0; i < polled.size(); ++i) {
            if (polled[i].revents != 0 && !ReadConnection(connections_[c])) {
                ::close(connections_[c].fd);
                connections_.erase(connections_.begin() + static_cast<std::ptrdiff_t>(c));
            } else {
                ++c;
            }
        }
    }
}

void SyslogReceiver::ReceiveDatagrams() {
    for (size_t i = 0; i < kBatch; ++i) {
        headers_[i].msg_hdr.msg_namelen = sizeof senders_[i];
        headers_[i].msg_hdr.msg_flags = 0;
    }
    const int got = ::recvmmsg(udp_, headers_.data(), kBatch, MSG_DONTWAIT, nullptr);
    for (int i = 0; i < got; ++i) {
        const msghdr& header = headers_[static_cast<size_t>(i)].msg_hdr;
        if (senders_[static_cast<size_t>(i)].sin_addr.s_addr != router_) {
            ++counts_.foreign;
            continue;
        }
        const std::string_view bytes(static_cast<const char*>(header.msg_iov->iov_base),
                                     headers_[static_cast<size_t>(i)].msg_len);
        Keep(bytes, (header.msg_flags & MSG_TRUNC) != 0);
    }
}

void SyslogReceiver::AcceptConnection() {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const int fd = ::accept4(tcp_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    if (peer.sin_addr.s_addr != router_) {
        ++counts_.foreign;
        ::close(fd);
    } else if (connections_.size() >= kMaxConnections) {
        ++counts_.overload;
        ::close(fd);
    } else {
        connections_.push_back({fd, std::make_unique<SyslogStreamFramer>(MaxSyslogMessage)});
    }
}

// False when the connection ended or failed.
bool SyslogReceiver::ReadConnection(Connection& connection) {
    const SyslogStreamFramer::Emit keep = [this](std::string_view message, bool cut) { Keep(message, cut); };
    // The first datagram buffer is free between two batches of datagrams.
    const ssize_t got = ::recv(connection.fd, buffers_.data(), MaxSyslogMessage, 0);
    if (got > 0) {
        connection.framer->Feed(std::string_view(buffers_.data(), static_cast<size_t>(got)), keep);
        return true;
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return true;
    connection.framer->Finish(keep);
    return false;
}

// Without a dated header the line takes the time it arrived, put back into the router's time by
// the offset the last refresh measured. The offset file is looked at once a second at most.
void SyslogReceiver::FollowRouterClock(std::time_t now) {
    if (now == clockCheckedAt_) return;
    clockCheckedAt_ = now;
    struct stat st {};
    const std::string path = setup_.folder + RouterClockFileName;
    const struct timespec changed = ::stat(path.c_str(), &st) == 0 ? st.st_mtim : timespec{};
    if (changed.tv_sec == clockFileTime_.tv_sec && changed.tv_nsec == clockFileTime_.tv_nsec) return;
    clockFileTime_ = changed;
    clockOffset_ = ReadRouterClockOffset(setup_.folder);
}

void SyslogReceiver::Keep(std::string_view bytes, bool cut) {
    if (cut) ++counts_.cut;
    const std::time_t now = std::time(nullptr);
    FollowRouterClock(now);
    const SyslogMessage message = ParseSyslogMessage(bytes, hostNames_);
    std::string stamp = message.routerStamp;
    if (stamp.empty()) stamp = LocalStamp(message.when ? *message.when : now - clockOffset_.value_or(0));
    std::string error;
    if (appender_.Append(CaptureLine(stamp, message.text), error)) {
        ++counts_.written;
        failing_ = false;
        return;
    }
    ++counts_.failedWrites;
    if (!failing_) tell_("drovix --listen: " + error + "; lines are lost until writing works again");
    failing_ = true;
}

ReceiverCounts SyslogReceiver::Counts() const {
    ReceiverCounts counts = counts_;
    // The system's count of datagrams that found the receive buffer full.
    uint32_t memory[SK_MEMINFO_VARS] = {};
    socklen_t length = sizeof memory;
    if (udp_ >= 0 && ::getsockopt(udp_, SOL_SOCKET, SO_MEMINFO, memory, &length) == 0 &&
        length > SK_MEMINFO_DROPS * sizeof(uint32_t))
        counts.overload += memory[SK_MEMINFO_DROPS];
    return counts;
}
