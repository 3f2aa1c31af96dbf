// Recursive process-local mutexes on pthreads. The handle is the heap record.
#include <pthread.h>

#include <new>

#include "cx/status.h"

struct CxMutex {
  pthread_mutex_t m;
};

extern "C" {

CxStatus CxMutexCreate(CxMutexHandle *handle) {
  if (handle == nullptr) return cx::badArg();
  *handle = nullptr;
  auto *mx = static_cast<CxMutex *>(BasMemoryMalloc(sizeof(CxMutex)));
  if (mx == nullptr) return cx::sys(ENOMEM);
  pthread_mutexattr_t attr;
  int rc = pthread_mutexattr_init(&attr);
  if (rc == 0) rc = pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
  if (rc == 0) rc = pthread_mutex_init(&mx->m, &attr);
  pthread_mutexattr_destroy(&attr);
  if (rc != 0) {
    BasMemoryFree(mx);
    return cx::sys(rc);
  }
  *handle = mx;
  return cx::ok();
}

CxStatus CxMutexLock(CxMutexHandle handle) {
  if (handle == nullptr) return cx::badArg();
  int rc = pthread_mutex_lock(&handle->m);
  return rc == 0 ? cx::ok() : cx::sys(rc);
}

CxStatus CxMutexUnlock(CxMutexHandle handle) {
  if (handle == nullptr) return cx::badArg();
  // A recursive mutex refuses an unlock by a thread that does not hold it
  // with EPERM.
  int rc = pthread_mutex_unlock(&handle->m);
  return rc == 0 ? cx::ok() : cx::sys(rc);
}

CxStatus CxMutexDestroy(CxMutexHandle *handle) {
  if (handle == nullptr) return cx::badArg();
  CxMutexHandle mx = *handle;
  *handle = nullptr;
  if (mx == nullptr) return cx::badArg();
  int rc = pthread_mutex_destroy(&mx->m);
  if (rc != 0) {
    // Still in use: keep the record alive rather than free a locked mutex.
    return cx::sys(rc);
  }
  BasMemoryFree(mx);
  return cx::ok();
}

}  // extern "C"
