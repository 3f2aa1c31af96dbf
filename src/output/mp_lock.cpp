// The named cross-process lock in POSIX shared memory.
#include "output/mp_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <new>

#include "cx/sys_call.h"
#include "lumex/core.h"

namespace lmx {

// The layout of the shared object. The magic word is written last, under
// the object's file lock, once the mutex is ready; an object found without
// it (its creator died while setting it up) is set up again.
struct MpLock::Shared {
  uint32_t magic;
  uint32_t layout;
  pthread_mutex_t mutex;
};

namespace {

constexpr uint32_t kMagic = 0x4C4D584Bu;  // "LMXK"

CxStatus sysStatus(int err) { return CxStatus{CX_STATUS_SYS, static_cast<uint32_t>(err)}; }

int setUp(pthread_mutex_t *mutex) {
  pthread_mutexattr_t attr;
  int rc = pthread_mutexattr_init(&attr);
  if (rc != 0) return rc;
  // Recursive: a report made while the lock is held may reach a handler of
  // the same key in this thread.
  rc = pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
  if (rc == 0) rc = pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
  if (rc == 0) rc = pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
  if (rc == 0) rc = pthread_mutex_init(mutex, &attr);
  pthread_mutexattr_destroy(&attr);
  return rc;
}

}  // namespace

void MpLock::name(int32_t key, char *buf, size_t cap) {
  std::snprintf(buf, cap, "LMX_SEM_KEY_%d", static_cast<int>(key));
}

MpLock *MpLock::open(int32_t key, CxStatus *status) {
  char shmName[258] = "/";
  name(key, shmName + 1, 256);
  int fd = cx::retryEintr([&] { return ::shm_open(shmName, O_RDWR | O_CREAT | O_CLOEXEC, 0666); });
  if (fd < 0) {
    *status = sysStatus(errno);
    return nullptr;
  }
  // The object's file lock orders the set-up between processes and is
  // dropped by the system if its holder dies.
  Shared *shared = nullptr;
  int err = cx::retryEintr([&] { return ::flock(fd, LOCK_EX); }) == 0 ? 0 : errno;
  struct stat st;
  if (err == 0 && ::fstat(fd, &st) != 0) err = errno;
  if (err == 0 && static_cast<size_t>(st.st_size) < sizeof(Shared) &&
      ::ftruncate(fd, sizeof(Shared)) != 0) {
    err = errno;
  }
  if (err == 0) {
    void *map = ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
      err = errno;
    } else {
      shared = static_cast<Shared *>(map);
    }
  }
  if (shared != nullptr && (__atomic_load_n(&shared->magic, __ATOMIC_ACQUIRE) != kMagic ||
                            shared->layout != sizeof(Shared))) {
    err = setUp(&shared->mutex);
    if (err == 0) {
      shared->layout = sizeof(Shared);
      __atomic_store_n(&shared->magic, kMagic, __ATOMIC_RELEASE);
    }
  }
  ::flock(fd, LOCK_UN);
  ::close(fd);
  MpLock *lock = nullptr;
  if (err == 0) lock = new (std::nothrow) MpLock(shared);
  if (lock == nullptr) {
    if (shared != nullptr) ::munmap(shared, sizeof(Shared));
    *status = sysStatus(err != 0 ? err : ENOMEM);
    return nullptr;
  }
  *status = CxStatus{CX_STATUS_OK, 0};
  return lock;
}

void MpLock::close(MpLock *lock) {
  if (lock == nullptr) return;
  ::munmap(lock->shared_, sizeof(Shared));
  delete lock;
}

MpLock::Wait MpLock::acquire(int32_t timeoutMs, CxStatus *status) {
  struct timespec until;
  clock_gettime(CLOCK_REALTIME, &until);
  until.tv_sec += timeoutMs / 1000;
  until.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
  if (until.tv_nsec >= 1000000000L) {
    until.tv_sec += 1;
    until.tv_nsec -= 1000000000L;
  }
  int rc = pthread_mutex_timedlock(&shared_->mutex, &until);
  *status = sysStatus(rc);
  switch (rc) {
    case 0:
      *status = CxStatus{CX_STATUS_OK, 0};
      return Wait::Acquired;
    case EOWNERDEAD:
      // The holder died: its protected state is ours to carry on.
      if (int c = pthread_mutex_consistent(&shared_->mutex); c != 0) {
        pthread_mutex_unlock(&shared_->mutex);
        *status = sysStatus(c);
        return Wait::Failed;
      }
      return Wait::TakenOver;
    case ETIMEDOUT:
      return Wait::TimedOut;
    default:
      return Wait::Failed;
  }
}

CxStatus MpLock::release() {
  int rc = pthread_mutex_unlock(&shared_->mutex);
  return rc == 0 ? CxStatus{CX_STATUS_OK, 0} : sysStatus(rc);
}

}  // namespace lmx

namespace lmx {

MpLockHold::MpLockHold(MpLock *lock, int32_t timeoutMs) : lock_(lock) {
  if (lock_ == nullptr) return;
  CxStatus status;
  wait_ = lock_->acquire(timeoutMs, &status);
  held_ = wait_ == MpLock::Wait::Acquired || wait_ == MpLock::Wait::TakenOver;
  // The take-over is reported once, by the waiter that made the lock
  // consistent again; a time-out or a refusal is reported as it happens.
  if (wait_ != MpLock::Wait::Acquired) LmxReportPlatformErr(status);
}

MpLockHold::~MpLockHold() {
  if (!held_) return;
  CxStatus status = lock_->release();
  if (status.kind != CX_STATUS_OK) LmxReportPlatformErr(status);
}

}  // namespace lmx
