// Path records: validation, existence, parent and creating directories.
#include <sys/stat.h>

#include <cstring>

#include "cx/file_names.h"
#include "cx/status.h"

namespace {

// A record filled by CxInitFilePath (or built alike by the caller).
bool valid(const CxFilePath *p) {
  return p != nullptr && p->length >= 0 && p->length < CX_MAX_PATH && p->path[p->length] == '\0';
}
bool usable(const CxFilePath *p) { return valid(p) && p->length > 0; }

// Where the parent of the first `len` bytes of a path ends: before the last
// '/', or just after it for a name directly under the root. 0 when there is
// no parent (no separator, or the root itself).
int32_t parentLength(const char *path, int32_t len) {
  int32_t sep = len - 1;
  while (sep >= 0 && path[sep] != '/') --sep;
  if (sep < 0) return 0;
  if (sep == 0) return len > 1 ? 1 : 0;
  return sep;
}

// 0 directory, 20 something else, 2 nothing there (or not reachable).
int32_t kindOf(const char *path) {
  struct stat st;
  if (::stat(path, &st) != 0) return CX_PATH_NOENT;
  return S_ISDIR(st.st_mode) ? CX_PATH_OK : CX_PATH_NOTDIR;
}

// Fills a record from the first len bytes of an already native text.
void setPath(CxFilePath *p, const char *text, int32_t len) {
  std::memmove(p->path, text, static_cast<size_t>(len));
  p->path[len] = '\0';
  p->length = len;
  p->lastSep = -1;
  for (int32_t i = len - 1; i >= 0; --i) {
    if (p->path[i] == '/') {
      p->lastSep = i;
      break;
    }
  }
}

}  // namespace

extern "C" {

int CxInitFilePath(CxFilePath *path, const char *text) {
  if (path == nullptr) return 0;
  if (!cx::nativeName(text, path->path, sizeof path->path, false)) {
    path->length = -1;
    path->lastSep = -1;
    return 0;
  }
  setPath(path, path->path, static_cast<int32_t>(std::strlen(path->path)));
  return 1;
}

int32_t CxFilePathIsDir(const CxFilePath *path) {
  return usable(path) ? kindOf(path->path) : CX_PATH_INVAL;
}

int32_t CxFilePathExists(const CxFilePath *path) {
  if (!usable(path)) return CX_PATH_INVAL;
  return kindOf(path->path) == CX_PATH_NOENT ? CX_PATH_NOENT : CX_PATH_OK;
}

int CxFilePathParent(const CxFilePath *path, CxFilePath *parent) {
  if (!valid(path) || parent == nullptr) return 0;
  int32_t len = parentLength(path->path, path->length);
  if (len == 0) return 0;
  setPath(parent, path->path, len);
  return 1;
}

int32_t CxFilePathMkdirs(const CxFilePath *path, int32_t permission) {
  if (!usable(path)) return CX_PATH_INVAL;
  // Walk up to the nearest ancestor that exists, remembering the missing
  // ones, then create them top down. Each ancestor is a prefix of the path.
  char work[CX_MAX_PATH];
  std::memcpy(work, path->path, static_cast<size_t>(path->length) + 1);
  int32_t missing[CX_MAX_PATH];
  int n = 0;
  for (int32_t len = path->length; len > 0; len = parentLength(work, len)) {
    char saved = work[len];
    work[len] = '\0';
    int32_t kind = kindOf(work);
    work[len] = saved;
    if (kind == CX_PATH_NOTDIR) return kind;
    if (kind == CX_PATH_OK) break;
    missing[n++] = len;
  }
  while (n > 0) {
    int32_t len = missing[--n];
    char saved = work[len];
    work[len] = '\0';
    int rc = ::mkdir(work, static_cast<mode_t>(permission) & 07777);
    work[len] = saved;
    if (rc != 0 && errno != EEXIST) return errno;
  }
  return CX_PATH_OK;
}

}  // extern "C"
