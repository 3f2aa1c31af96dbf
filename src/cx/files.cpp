// Files by descriptor: open, read, write, size, flush and close.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cx/file_names.h"
#include "cx/status.h"
#include "cx/sys_call.h"

extern "C" {

CxStatus CxFileOpen(int32_t *fd, const char *name, int32_t flags) {
  if (fd == nullptr) return cx::badArg();
  *fd = -1;
  cx::NativeName native(name);
  if (!native.ok) return cx::badArg();
  int rc = cx::retryEintr([&] { return ::open(native.text, flags | O_CLOEXEC, 0600); });
  if (rc < 0) return cx::crtErrno();
  *fd = rc;
  return cx::ok();
}

CxStatus CxFileRead(const int32_t *fd, void *buffer, uint32_t count, uint32_t *bytesRead) {
  if (fd == nullptr || buffer == nullptr || bytesRead == nullptr) return cx::badArg();
  *bytesRead = 0;
  ssize_t n = cx::retryEintr([&] { return ::read(*fd, buffer, count); });
  if (n < 0) return cx::crtErrno();
  *bytesRead = static_cast<uint32_t>(n);
  return cx::ok();
}

CxStatus CxFileWrite(const int32_t *fd, const void *buffer, uint32_t count,
                     uint32_t *bytesWritten) {
  if (fd == nullptr || buffer == nullptr || bytesWritten == nullptr) return cx::badArg();
  *bytesWritten = 0;
  const char *p = static_cast<const char *>(buffer);
  uint32_t done = 0;
  // A short write is continued until every byte is written or one fails.
  while (done < count) {
    ssize_t n = cx::retryEintr([&] { return ::write(*fd, p + done, count - done); });
    if (n <= 0) {
      *bytesWritten = done;
      // A device that accepts nothing would otherwise be retried forever.
      return n == 0 ? cx::crt(EIO) : cx::crtErrno();
    }
    done += static_cast<uint32_t>(n);
  }
  *bytesWritten = done;
  return cx::ok();
}

CxStatus CxFileGetSize(const int32_t *fd, int64_t *size) {
  if (fd == nullptr || size == nullptr) return cx::badArg();
  struct stat st;
  if (::fstat(*fd, &st) != 0) return cx::crtErrno();
  *size = static_cast<int64_t>(st.st_size);
  return cx::ok();
}

CxStatus CxFileFlush(const int32_t *fd) {
  if (fd == nullptr) return cx::badArg();
  if (*fd < 0 || ::fcntl(*fd, F_GETFD) == -1) return cx::crt(EBADF);
  return cx::retryEintr([&] { return ::fsync(*fd); }) == 0 ? cx::ok() : cx::sysErrno();
}

CxStatus CxFileClose(int32_t *fd) {
  if (fd == nullptr) return cx::badArg();
  int d = *fd;
  *fd = -1;
  // Linux releases the descriptor even when close() is interrupted, so EINTR
  // is not a failure (and retrying could close someone else's descriptor).
  if (::close(d) != 0 && errno != EINTR) return cx::crtErrno();
  return cx::ok();
}

}  // extern "C"
