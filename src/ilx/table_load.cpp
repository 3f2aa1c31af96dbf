// Finding and reading conversion table files: the table directories in
// order, alias files followed for up to five files per directory, and the
// check of every table image before it is used.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "ilx/codeset.h"
#include "ilx/install_dir.h"
#include "ilx/memory.h"

namespace ilx {
namespace {

constexpr size_t kPathMax = 256;
constexpr size_t kDirMax = 255;          // a directory text must stay below this
constexpr int kFilesPerDir = 5;          // a table and at most four aliases before it
constexpr size_t kAliasMax = 32;         // bytes of an alias name
constexpr size_t kTableMax = 64u << 20;  // larger files are not tables

// Reads a regular file whole into a block of the allocator family.
bool readWhole(const char *path, uint8_t **image, size_t *size) {
  int fd;
  do fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
            static_cast<uint64_t>(st.st_size) <= kTableMax;
  uint8_t *buf = nullptr;
  size_t len = ok ? static_cast<size_t>(st.st_size) : 0;
  if (ok) buf = allocate<uint8_t>(len > 0 ? len : 1);
  ok = ok && buf != nullptr;
  size_t got = 0;
  while (ok && got < len) {
    ssize_t n = ::read(fd, buf + got, len - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else got += static_cast<size_t>(n);
  }
  ::close(fd);
  if (!ok) {
    BasMemoryFree(buf);
    return false;
  }
  *image = buf;
  *size = len;
  return true;
}

bool isTableImage(const uint8_t *image, size_t size) {
  return size >= hdr::kMinSize && std::memcmp(image + hdr::kMagic, "ucv", 3) == 0;
}

// The name an alias file holds: its UTF-8 text in the default code set, with
// control characters and white space dropped.
void aliasTarget(const uint8_t *image, size_t size, char *name) {
  char conv[kAliasMax + 1];
  int inlen = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
  int n = ilx_from_utf8(nullptr, reinterpret_cast<const char *>(image), inlen, conv,
                        static_cast<int>(kAliasMax));
  size_t k = 0;
  for (int i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(conv[i]);
    if (c <= 0x20 || c == 0x7F) continue;
    name[k++] = static_cast<char>(c);
  }
  name[k] = '\0';
}

// Looks for `name` in `dir`, following aliases. A file that is neither a
// sound table nor an alias ends the search in this directory.
bool loadFromDir(const char *dir, const char *name, uint8_t **image, size_t *size) {
  size_t dirLen = std::strlen(dir);
  char current[kPathMax];
  if (dirLen + std::strlen(name) + 2 >= kPathMax) return false;
  std::strcpy(current, name);
  for (int file = 0; file < kFilesPerDir; ++file) {
    char path[kPathMax];
    std::snprintf(path, sizeof path, "%s%s", dir, current);
    uint8_t *img = nullptr;
    size_t len = 0;
    if (!readWhole(path, &img, &len)) return false;
    if (isTableImage(img, len)) {
      uint16_t kind;
      if (!checkTable(img, len, &kind)) {
        BasMemoryFree(img);
        return false;
      }
      *image = img;
      *size = len;
      return true;
    }
    aliasTarget(img, len, current);
    BasMemoryFree(img);
    if (current[0] == '\0' || dirLen + std::strlen(current) + 2 >= kPathMax) return false;
  }
  return false;
}

// dir + parts joined by '/' with a final '/', when the variable is usable.
bool envDir(const char *var, const char *suffix, char *out) {
  const char *v = std::getenv(var);
  if (v == nullptr || *v == '\0') return false;
  int n = std::snprintf(out, kPathMax, "%s/%s", v, suffix);
  return n > 0 && static_cast<size_t>(n) < kDirMax;
}

}  // namespace

bool loadTable(const char *name, uint8_t **image, size_t *size) {
  if (std::strchr(name, '/') != nullptr || std::strchr(name, '\\') != nullptr) {
    // A table file path: aliases resolve in the file's own directory.
    char native[kPathMax];
    size_t len = std::strlen(name);
    if (len + 2 >= kPathMax) return false;
    for (size_t i = 0; i <= len; ++i) native[i] = name[i] == '\\' ? '/' : name[i];
    char *slash = std::strrchr(native, '/');
    char file[kPathMax];
    std::strcpy(file, slash + 1);
    slash[1] = '\0';
    return loadFromDir(native, file, image, size);
  }
  char dirs[5][kPathMax];
  int count = 0;
  if (envDir("ILXDIR", "codeset/", dirs[count])) ++count;
  if (envDir("ILXDIR", "", dirs[count])) ++count;
  if (envDir("BINDIR", "../generic/codeset/", dirs[count])) ++count;
  dirs[count++][0] = '\0';  // the current directory
  std::snprintf(dirs[count++], kPathMax, "%s/codeset/", installedDataDir());
  for (int i = 0; i < count; ++i)
    if (loadFromDir(dirs[i], name, image, size)) return true;
  return false;
}

}  // namespace ilx
