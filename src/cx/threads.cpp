// Threads on pthreads: start (detached), identity, sleep.
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <ctime>

#include "cx/status.h"

namespace {

struct ThreadStart {
  CxThreadRoutine routine;
  void *arg;
};

void *trampoline(void *p) {
  ThreadStart start = *static_cast<ThreadStart *>(p);
  BasMemoryFree(p);
  start.routine(start.arg);
  return nullptr;
}

static_assert(sizeof(pthread_t) <= sizeof(CxThreadHandle), "thread handle too small");

}  // namespace

extern "C" {

int CxHasThreadSupport(void) { return 1; }

CxStatus CxThreadCreate(CxThreadHandle *handle, uint32_t stackSize, CxThreadRoutine routine,
                        void *arg) {
  if (handle == nullptr || routine == nullptr) return cx::badArg();
  *handle = 0;
  auto *start = static_cast<ThreadStart *>(BasMemoryMalloc(sizeof(ThreadStart)));
  if (start == nullptr) return cx::crt(ENOMEM);
  *start = ThreadStart{routine, arg};
  pthread_attr_t attr;
  int rc = pthread_attr_init(&attr);
  if (rc == 0) {
    // Nothing ever joins these threads, so they release themselves.
    rc = pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    if (rc == 0 && stackSize != 0) {
      size_t least = static_cast<size_t>(PTHREAD_STACK_MIN);
      size_t size = stackSize < least ? least : stackSize;
      rc = pthread_attr_setstacksize(&attr, size);
    }
    pthread_t tid;
    if (rc == 0) rc = pthread_create(&tid, &attr, trampoline, start);
    if (rc == 0) *handle = static_cast<CxThreadHandle>(tid);
    pthread_attr_destroy(&attr);
  }
  if (rc != 0) {
    BasMemoryFree(start);
    return cx::crt(rc);
  }
  return cx::ok();
}

uint32_t CxThreadGetCurrentID(void) { return static_cast<uint32_t>(::syscall(SYS_gettid)); }

void CxThreadSleep(uint32_t milliseconds) {
  struct timespec left;
  left.tv_sec = static_cast<time_t>(milliseconds / 1000);
  left.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  // Sleep the whole time even when a signal interrupts.
  while (::nanosleep(&left, &left) == -1 && errno == EINTR) {
  }
}

void CxThreadYield(void) {}

}  // extern "C"
