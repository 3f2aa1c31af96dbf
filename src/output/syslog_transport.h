// The sockets behind the syslog handler: a datagram socket (local or UDP)
// and a TCP stream with octet-counted frames, a bounded queue of frames
// waiting for the stream, and a deadline for every send so that no log call
// waits longer than the handler's timeout. Runs under the API lock.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace lmx::syslog {

enum class Transport { Unix, Udp, Tcp };

struct Link {
  Transport transport = Transport::Unix;
  std::string socketPath = "/dev/log";
  std::string host;
  int port = 514;
  std::size_t queueLimit = 1000;
  int timeoutMillis = 100;

  int fd = -1;
  std::deque<std::string> queue;  // TCP frames not yet sent, oldest first
  std::uint64_t dropped = 0;      // frames lost since the last report
  std::int64_t lastAttempt = 0;   // steady milliseconds of the last connect
};

// The largest datagram the transport sends; 0 for the stream.
std::size_t datagramLimit(Transport transport);

// Sends one message. Datagrams go at once (a failed send counts as a drop);
// a TCP message joins the queue (or is dropped when the queue is full) and
// the queue is sent in order as far as the deadline allows. True when the
// stream has just come back after a loss.
bool linkSend(Link &link, const std::string &message);

// Sends what is queued within one timeout, then closes; what stays unsent
// counts as dropped.
void linkClose(Link &link);

}  // namespace lmx::syslog
