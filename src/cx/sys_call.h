// Small helpers for calling the system: retry on EINTR.
#pragma once

#include <cerrno>

namespace cx {

// Calls f() again while it fails with -1 and errno EINTR.
template <typename F>
auto retryEintr(F f) -> decltype(f()) {
  decltype(f()) rc;
  do {
    rc = f();
  } while (rc == -1 && errno == EINTR);
  return rc;
}

}  // namespace cx
