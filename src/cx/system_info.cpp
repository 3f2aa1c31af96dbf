// System information: the millisecond clock and the host name.
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <ctime>

#include "cx/status.h"

namespace {

// Failure code of a host name query.
constexpr int kHostNameFailed = 40;

// Copies text into buffer when it fits with its terminator.
bool copyIfFits(const char *text, char *buffer, uint32_t size) {
  size_t len = std::strlen(text);
  if (len >= size) return false;
  std::memcpy(buffer, text, len + 1);
  return true;
}

}  // namespace

extern "C" {

int64_t CxSystemGetTimestamp(void) {
  struct timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

CxStatus CxSystemGetFQHostname(char *buffer, uint32_t size) {
  if (buffer == nullptr || size == 0) return cx::badArg();
  buffer[0] = '\0';
  char shortName[HOST_NAME_MAX + 1];
  if (::gethostname(shortName, sizeof shortName) != 0) return cx::crt(kHostNameFailed);
  shortName[HOST_NAME_MAX] = '\0';
  if (!copyIfFits(shortName, buffer, size)) return cx::crt(kHostNameFailed);
  if (std::strchr(shortName, '.') != nullptr) return cx::ok();
  struct addrinfo hints;
  std::memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_UNSPEC;
  hints.ai_flags = AI_CANONNAME;
  struct addrinfo *found = nullptr;
  if (::getaddrinfo(shortName, nullptr, &hints, &found) != 0 || found == nullptr)
    return cx::crt(kHostNameFailed);
  const char *canon = found->ai_canonname;
  // A qualified name replaces the short one when it fits; a cut name would
  // be wrong, so the short name stays otherwise.
  if (canon != nullptr && std::strchr(canon, '.') != nullptr) copyIfFits(canon, buffer, size);
  ::freeaddrinfo(found);
  return cx::ok();
}

}  // extern "C"
