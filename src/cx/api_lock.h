// The API lock and the frame of every public toolkit operation: take the
// lock or return the empty result, run the unlocked body, release the lock.
//
//   Object *LmxGetObject(const char *name) {
//     return lmx::locked([&] { return lmxIntlGetObject(name); });
//   }
//
// The body does its own silent argument checks and returns the empty result
// (value-initialized: null, 0, false) for arguments it cannot use.
#pragma once

#include <type_traits>
#include <utility>

#include "lumex/lmx_export.h"

extern "C" {
// 1 when the calling thread now holds the API lock (created on first use), 0
// when it could not be created or taken (reported).
LMX_API unsigned char lmxAPIMutexLock(void);
// Releases one hold of the API lock, if the lock exists.
LMX_API void lmxAPIMutexUnlock(void);
}

namespace lmx {

// Holds the API lock for one scope.
class ApiLock {
 public:
  ApiLock() : held_(lmxAPIMutexLock() != 0) {}
  ~ApiLock() {
    if (held_) lmxAPIMutexUnlock();
  }
  ApiLock(const ApiLock &) = delete;
  ApiLock &operator=(const ApiLock &) = delete;
  explicit operator bool() const { return held_; }

 private:
  bool held_;
};

template <typename Body>
auto locked(Body &&body) -> decltype(body()) {
  using R = decltype(body());
  ApiLock lock;
  if (!lock) {
    if constexpr (std::is_void_v<R>) {
      return;
    } else {
      return R{};
    }
  }
  return std::forward<Body>(body)();
}

}  // namespace lmx
