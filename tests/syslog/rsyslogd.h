// A real rsyslogd for the tests and the benchmark: started in the
// foreground with its own configuration in a temporary folder, listening on
// a local socket there and on free loopback UDP and TCP ports, writing every
// message it receives, field by field, into one output file.
#pragma once

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace test {

// A free loopback port of the socket type (port 0), or whether a TCP
// connection to the port succeeds.
inline int loopback(int type, int port) {
  int fd = ::socket(AF_INET, type, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t len = sizeof a;
  auto *sa = reinterpret_cast<sockaddr *>(&a);
  int result = port != 0 ? ::connect(fd, sa, len) == 0
                         : (::bind(fd, sa, len), ::getsockname(fd, sa, &len), ntohs(a.sin_port));
  ::close(fd);
  return result;
}

class Rsyslogd {
 public:
  static constexpr const char *kBinary = "/usr/sbin/rsyslogd";

  explicit Rsyslogd(const std::string &dir)
      : dir_(dir), udp_(loopback(SOCK_DGRAM, 0)), tcp_(loopback(SOCK_STREAM, 0)) {
    ::mkdir(dir_.c_str(), 0700);
    std::ofstream(dir_ + "/rsyslog.conf")
        << "global(workDirectory=\"" << dir_ << "\")\n"
        << "module(load=\"imuxsock\" SysSock.Use=\"off\")\n"
        << "input(type=\"imuxsock\" Socket=\"" << socket() << "\" UseSpecialParser=\"off\""
        << " ParseHostname=\"on\" Annotate=\"off\" IgnoreTimestamp=\"off\""
        << " UseSysTimeStamp=\"off\" UsePIDFromSystem=\"off\")\n"
        << "module(load=\"imudp\")\nmodule(load=\"imtcp\")\n"
        << "input(type=\"imudp\" address=\"127.0.0.1\" port=\"" << udp_ << "\")\n"
        << "input(type=\"imtcp\" address=\"127.0.0.1\" port=\"" << tcp_ << "\")\n"
        << "template(name=\"all\" type=\"string\" string=\"<%PRI%>1 %TIMESTAMP:::date-rfc3339% "
           "%HOSTNAME% %APP-NAME% %PROCID% %MSGID% %STRUCTURED-DATA% %msg%\\n\")\n"
        << "*.* action(type=\"omfile\" file=\"" << output() << "\" template=\"all\")\n";
  }
  ~Rsyslogd() { kill(SIGTERM); }
  // Starts the daemon and waits until its three inputs listen; false when
  // it is missing or does not come up.
  bool start() {
    if (::access(kBinary, X_OK) != 0) return false;
    ::unlink(socket().c_str());
    pid_ = ::fork();
    if (pid_ == 0) {
      std::string conf = dir_ + "/rsyslog.conf", pidFile = dir_ + "/rsyslogd.pid";
      ::execl(kBinary, kBinary, "-n", "-f", conf.c_str(), "-i", pidFile.c_str(),
              static_cast<char *>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 200; ++i) {
      if (::access(socket().c_str(), F_OK) == 0 && loopback(SOCK_STREAM, tcp_)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
  }
  void kill(int signal) {
    if (pid_ <= 0) return;
    ::kill(pid_, signal);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  // The output once it holds at least `lines` lines (or after 5 s).
  std::string waitLines(size_t lines) const {
    std::string text;
    for (int i = 0; i < 200; ++i) {
      std::stringstream ss;
      ss << std::ifstream(output()).rdbuf();
      text = ss.str();
      if (size_t(std::count(text.begin(), text.end(), '\n')) >= lines) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return text;
  }
  std::string socket() const { return dir_ + "/log.sock"; }
  std::string output() const { return dir_ + "/out.log"; }
  int udpPort() const { return udp_; }
  int tcpPort() const { return tcp_; }

 private:
  std::string dir_;
  int udp_, tcp_;
  pid_t pid_ = -1;
};

}  // namespace test
