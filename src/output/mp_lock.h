// The named cross-process lock of the multi-process file handler: a robust,
// process-shared, recursive mutex in POSIX shared memory named
// "/LMX_SEM_KEY_<key>", shared by every process and handler of one key. The
// death of a holder releases it; the next waiter takes it over.
#pragma once

#include <pthread.h>

#include <cstddef>
#include <cstdint>

#include "lumex/cx.h"

namespace lmx {

class MpLock {
 public:
  enum class Wait {
    Acquired,   // held now
    TakenOver,  // held now; the previous holder died holding it
    TimedOut,   // not held: the time-out passed
    Failed,     // not held: the system refused (status says why)
  };

  // "LMX_SEM_KEY_<key>" into buf (at most cap bytes, cap <= 256 as the
  // name's limit); the shared memory object carries a leading "/".
  static void name(int32_t key, char *buf, size_t cap);
  // Creates or opens the lock of key; null with *status set on failure.
  static MpLock *open(int32_t key, CxStatus *status);
  // Unmaps the lock; the named object stays for the other users.
  static void close(MpLock *lock);

  Wait acquire(int32_t timeoutMs, CxStatus *status);
  CxStatus release();

 private:
  struct Shared;
  explicit MpLock(Shared *shared) : shared_(shared) {}
  Shared *shared_;
};

// Holds an MpLock for one scope. A wait that ends with the previous holder
// dead counts as held; every failure and the take-over are reported once,
// the release's failure too.
class MpLockHold {
 public:
  MpLockHold(MpLock *lock, int32_t timeoutMs);
  ~MpLockHold();
  MpLockHold(const MpLockHold &) = delete;
  MpLockHold &operator=(const MpLockHold &) = delete;
  bool held() const { return held_; }
  MpLock::Wait wait() const { return wait_; }

 private:
  MpLock *lock_;
  MpLock::Wait wait_ = MpLock::Wait::Failed;
  bool held_ = false;
};

// The wait bound of a record's write.
constexpr int32_t kMpLockTimeoutMs = 10000;

}  // namespace lmx
