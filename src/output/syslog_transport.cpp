// Datagram and stream sending for the syslog handler.
#include "output/syslog_transport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "output/syslog_message.h"

namespace lmx::syslog {
namespace {

// A reconnect is tried at most this often while the collector is away.
constexpr std::int64_t kReconnectMillis = 200;

std::int64_t nowMillis() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void closeFd(Link &link) {
  if (link.fd >= 0) ::close(link.fd);
  link.fd = -1;
}

// Waits for `events` on the socket until the deadline; false on timeout.
bool waitFor(int fd, short events, std::int64_t deadline) {
  for (;;) {
    std::int64_t left = deadline - nowMillis();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    int n = ::poll(&p, 1, static_cast<int>(left));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

// Connects a non-blocking socket to the configured peer within the deadline.
int openSocket(const Link &link, std::int64_t deadline) {
  int type = link.transport == Transport::Tcp ? SOCK_STREAM : SOCK_DGRAM;
  sockaddr_storage addr{};
  socklen_t len = 0;
  int family = AF_UNIX;
  if (link.transport == Transport::Unix) {
    auto *un = reinterpret_cast<sockaddr_un *>(&addr);
    if (link.socketPath.size() >= sizeof un->sun_path) return -1;
    un->sun_family = AF_UNIX;
    std::memcpy(un->sun_path, link.socketPath.c_str(), link.socketPath.size() + 1);
    len = sizeof(sockaddr_un);
  } else {
    addrinfo hints{};
    hints.ai_socktype = type;
    hints.ai_family = AF_UNSPEC;
    addrinfo *found = nullptr;
    std::string port = std::to_string(link.port);
    const char *host = link.host.empty() ? "localhost" : link.host.c_str();
    if (::getaddrinfo(host, port.c_str(), &hints, &found) != 0 || found == nullptr) return -1;
    std::memcpy(&addr, found->ai_addr, found->ai_addrlen);
    len = found->ai_addrlen;
    family = found->ai_family;
    ::freeaddrinfo(found);
  }
  int fd = ::socket(family, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), len) == 0) return fd;
  if (errno == EINPROGRESS && waitFor(fd, POLLOUT, deadline)) {
    int err = 0;
    socklen_t errLen = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &errLen) == 0 && err == 0) return fd;
  }
  ::close(fd);
  return -1;
}

// A collector that went away leaves the stream readable at its end.
bool peerClosed(int fd) {
  pollfd p{fd, POLLIN | POLLRDHUP, 0};
  if (::poll(&p, 1, 0) <= 0) return false;
  if ((p.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0) return true;
  char byte;
  return ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

// Sends the whole frame or nothing that matters: a frame cut by the
// deadline or an error closes the stream, and the frame stays queued.
bool sendFrame(int fd, const std::string &frame, std::int64_t deadline) {
  std::size_t sent = 0;
  while (sent < frame.size()) {
    ssize_t n = ::send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!waitFor(fd, POLLOUT, deadline)) return false;
    } else {
      return false;
    }
  }
  return true;
}

// Sends queued frames in order until the queue is empty or the deadline
// passes. True when a lost stream was connected again.
bool flushQueue(Link &link, std::int64_t deadline) {
  bool reconnected = false;
  if (link.fd >= 0 && peerClosed(link.fd)) closeFd(link);
  if (link.fd < 0) {
    std::int64_t now = nowMillis();
    if (link.lastAttempt != 0 && now - link.lastAttempt < kReconnectMillis) return false;
    link.lastAttempt = now;
    link.fd = openSocket(link, deadline);
    if (link.fd < 0) return false;
    reconnected = true;
  }
  while (!link.queue.empty()) {
    if (!sendFrame(link.fd, link.queue.front(), deadline)) {
      closeFd(link);
      break;
    }
    link.queue.pop_front();
  }
  return reconnected;
}

}  // namespace

std::size_t datagramLimit(Transport transport) {
  switch (transport) {
    case Transport::Unix:
      return 8192;
    case Transport::Udp:
      return 2048;
    default:
      return 0;
  }
}

bool linkSend(Link &link, const std::string &message) {
  std::int64_t deadline = nowMillis() + link.timeoutMillis;
  if (link.transport != Transport::Tcp) {
    if (link.fd < 0) link.fd = openSocket(link, deadline);
    if (link.fd >= 0 &&
        ::send(link.fd, message.data(), message.size(), MSG_NOSIGNAL | MSG_DONTWAIT) >= 0) {
      return false;
    }
    closeFd(link);  // a collector that restarts binds a new socket
    ++link.dropped;
    return false;
  }
  // A full queue may empty first when the collector is back, so that the
  // new record is not the one dropped.
  bool reconnected = link.queue.size() >= link.queueLimit && flushQueue(link, deadline);
  if (link.queue.size() < link.queueLimit) {
    link.queue.push_back(frameOctetCounted(message));
  } else {
    ++link.dropped;
  }
  return flushQueue(link, deadline) || reconnected;
}

void linkClose(Link &link) {
  if (link.transport == Transport::Tcp && !link.queue.empty()) {
    link.lastAttempt = 0;
    flushQueue(link, nowMillis() + link.timeoutMillis);
  }
  link.dropped += link.queue.size();
  link.queue.clear();
  closeFd(link);
  link.lastAttempt = 0;
}

}  // namespace lmx::syslog
