// Directory listings on opendir/readdir/closedir.
#include <dirent.h>

#include <cstring>

#include "cx/status.h"

extern "C" {

CxStatus CxDirectoryOpen(CxDirectory *dir, const char *name) {
  if (dir == nullptr) return cx::badArg();
  dir->name[0] = '\0';
  dir->search = nullptr;
  CxFilePath path;
  if (!CxInitFilePath(&path, name) || CxFilePathIsDir(&path) != CX_PATH_OK) return cx::badArg();
  std::memcpy(dir->name, path.path, static_cast<size_t>(path.length) + 1);
  return cx::ok();
}

CxStatus CxDirectoryGetNext(CxDirectory *dir, char *buffer, uint32_t size) {
  if (dir == nullptr || buffer == nullptr || size == 0) return cx::badArg();
  buffer[0] = '\0';
  if (dir->search == nullptr) {
    if (dir->name[0] == '\0') return cx::badArg();  // never opened, or closed
    dir->search = ::opendir(dir->name);
    if (dir->search == nullptr) return cx::sysErrno();
  }
  DIR *d = static_cast<DIR *>(dir->search);
  long at = ::telldir(d);
  errno = 0;
  struct dirent *e = ::readdir(d);
  if (e == nullptr) return errno == 0 ? cx::ok() : cx::sysErrno();  // end: empty name
  size_t len = std::strlen(e->d_name);
  if (len >= size) {
    // Too long for the caller's buffer: keep the entry for a retry.
    ::seekdir(d, at);
    return cx::crt(ERANGE);
  }
  std::memcpy(buffer, e->d_name, len + 1);
  return cx::ok();
}

CxStatus CxDirectoryClose(CxDirectory *dir) {
  if (dir == nullptr) return cx::badArg();
  DIR *d = static_cast<DIR *>(dir->search);
  std::memset(dir, 0, sizeof *dir);
  if (d != nullptr && ::closedir(d) != 0) return cx::sysErrno();
  return cx::ok();
}

}  // extern "C"
