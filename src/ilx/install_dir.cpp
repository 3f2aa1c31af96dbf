// Finding the installation's data folder from the shared library's own
// location, so that an installation moved or made under any prefix finds
// its tables and catalogs without any variable set.
#include "ilx/install_dir.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#ifndef LUMEX_DATA_DIR
#define LUMEX_DATA_DIR "/usr/local/share/lumex"
#endif
#ifndef LUMEX_DATA_FROM_LIB
#define LUMEX_DATA_FROM_LIB "../share/lumex"
#endif

namespace ilx {
namespace {

constexpr size_t kDirMax = 240;

bool isDir(const char *path) {
  struct stat st;
  return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// The data folder beside the shared library, or false when this code is not
// running from the shared library (a static link) or the folder is missing.
bool besideLibrary(char *out, size_t cap) {
  Dl_info info;
  if (::dladdr(reinterpret_cast<void *>(&besideLibrary), &info) == 0 || !info.dli_fname)
    return false;
  const char *slash = std::strrchr(info.dli_fname, '/');
  const char *base = slash ? slash + 1 : info.dli_fname;
  if (std::strncmp(base, "liblumex.so", 11) != 0 || !slash) return false;
  const int n = std::snprintf(out, cap, "%.*s/%s", static_cast<int>(slash - info.dli_fname),
                              info.dli_fname, LUMEX_DATA_FROM_LIB);
  return n > 0 && static_cast<size_t>(n) < cap && isDir(out);
}

struct DataDir {
  char path[kDirMax];
  DataDir() {
    if (!besideLibrary(path, sizeof path)) std::snprintf(path, sizeof path, "%s", LUMEX_DATA_DIR);
  }
};

}  // namespace

const char *installedDataDir() {
  static const DataDir dir;  // made once, on first use
  return dir.path;
}

}  // namespace ilx
