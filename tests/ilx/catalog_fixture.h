// Shared helpers for the message catalog tests: temporary folders, catalogs
// built from message maps, raw byte patches of catalog images, look-ups.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "catalog_writer.h"
#include "lumex/ilx.h"

namespace cattest {

// A fresh folder under /tmp, removed with its contents at the end.
struct TempDir {
  TempDir() : path_(mkdtemp(std::string("/tmp/lmxcat.XXXXXX").data())) {}
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  const std::string &path() const { return path_; }
  std::string operator/(const std::string &name) const { return path_ + "/" + name; }
  const std::string path_;
};

inline std::string image(const lmxgencat::Messages &msgs) {
  std::string img, err;
  EXPECT_TRUE(lmxgencat::buildCatalog(msgs, img, err)) << err;
  return img;
}
inline void writeFile(const std::string &path, const std::string &bytes) {
  std::string err;
  ASSERT_TRUE(lmxgencat::writeFileAtomically(path, bytes, err)) << err;
}
inline std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline MCCatalogT *openImage(const std::string &path, const std::string &img) {
  writeFile(path, img);
  return ilx_catopen(path.c_str(), 0, nullptr);
}
// A look-up; "-" where the default pointer comes back.
inline std::string get(MCCatalogT *cat, int set, int key, CodeSetT cs = nullptr) {
  static const char *const kDflt = "-";
  const char *t = ilx_catgets(cat, set, key, kDflt, cs);
  return t == kDflt ? "-" : t;
}

// Big-endian 32-bit words at byte offset off, and the offsets inside an image
// made by lmxgencat's writer.
inline void put32(std::string &img, size_t off, uint32_t v) {
  ASSERT_LE(off + 4, img.size());
  for (int i = 0; i < 4; ++i) img[off + i] = static_cast<char>(v >> (24 - 8 * i));
}
inline uint32_t get32(const std::string &img, size_t off) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(img[off + i]);
  return v;
}
constexpr size_t kHdrNumSets = 20;
inline size_t setRec(int i) { return 28 + 28 * static_cast<size_t>(i); }
enum SetField { kSetNo = 0, kNext = 4, kMsgOff = 8, kTextOff = 12, kTextLen = 16, kNumMsgs = 20, kInvalid = 24 };
inline size_t msgRec(const std::string &img, int set, int i) {
  return get32(img, setRec(set) + kMsgOff) + 12 * static_cast<size_t>(i);
}

// Sets an environment variable (or unsets it for null) for one scope.
class EnvVar {
 public:
  EnvVar(const char *name, const char *value) : name_(name), had_(std::getenv(name) != nullptr) {
    if (had_) old_ = std::getenv(name);
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~EnvVar() { had_ ? setenv(name_.c_str(), old_.c_str(), 1) : unsetenv(name_.c_str()); }

 private:
  std::string name_;
  bool had_;
  std::string old_;
};

}  // namespace cattest
