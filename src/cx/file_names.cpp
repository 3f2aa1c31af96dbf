// File names: native form, removal, renaming, size and status.
#include "cx/file_names.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "cx/status.h"

namespace cx {

bool nativeName(const char *name, char *buf, size_t cap, bool emptyIsRoot) {
  if (buf == nullptr || cap == 0) return false;
  buf[0] = '\0';
  if (name == nullptr) return false;
  if (emptyIsRoot && name[0] == '\0') name = "/";
  size_t len = std::strlen(name);
  // A cut name would name a different file: refuse it instead.
  if (len >= cap) return false;
  for (size_t i = 0; i < len; ++i) buf[i] = name[i] == '\\' ? '/' : name[i];
  buf[len] = '\0';
  return true;
}

}  // namespace cx

namespace {

CxStatus statusOfName(const char *name, struct stat *st) {
  if (name == nullptr) return cx::badArg();
  return ::stat(name, st) == 0 ? cx::ok() : cx::crtErrno();
}

}  // namespace

extern "C" {

int CxFileNameLocalize(const char *name, char *buffer, uint32_t size) {
  return cx::nativeName(name, buffer, size, false) ? 1 : 0;
}

int CxFileNameGetNative(const char *name, char *buffer, uint32_t size) {
  return cx::nativeName(name, buffer, size, true) ? 1 : 0;
}

CxStatus CxFileNameRemove(const char *name) {
  cx::NativeName native(name);
  if (!native.ok) return cx::badArg();
  return ::unlink(native.text) == 0 ? cx::ok() : cx::sysErrno();
}

CxStatus CxFileNameRename(const char *oldName, const char *newName) {
  cx::NativeName from(oldName), to(newName);
  if (!from.ok || !to.ok) return cx::badArg();
  // rename() replaces an existing target atomically.
  return std::rename(from.text, to.text) == 0 ? cx::ok() : cx::sysErrno();
}

CxStatus CxFileNameGetSize(const char *name, int64_t *size) {
  if (size == nullptr) return cx::badArg();
  struct stat st;
  CxStatus s = statusOfName(name, &st);
  if (cx::isOk(s)) *size = static_cast<int64_t>(st.st_size);
  return s;
}

CxStatus CxFileNameGetInfo(CxFileInfo *info, const char *name) {
  if (info == nullptr || name == nullptr || name[0] == '\0') return cx::badArg();
  struct stat st;
  CxStatus s = statusOfName(name, &st);
  if (!cx::isOk(s)) return s;
  info->size = static_cast<int64_t>(st.st_size);
  info->changeTime = static_cast<int64_t>(st.st_ctime);
  info->modifyTime = static_cast<int64_t>(st.st_mtime);
  info->accessTime = static_cast<int64_t>(st.st_atime);
  return s;
}

}  // extern "C"
