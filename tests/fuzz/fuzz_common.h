// What the fuzz targets share: the entry point, a cursor over the input's
// bytes, scratch files, and the check that stops a run on a wrong result.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace fuzz {

inline void require(bool ok) { if (!ok) std::abort(); }

// Reads the input front to back; reads past the end give zeros or nothing.
struct Bytes {
  const uint8_t *p;
  size_t n;

  // The next k bytes (up to 8) as a big-endian number, fewer at the end.
  uint64_t next(int k = 8) {
    uint64_t v = 0;
    for (int i = 0; i < k && n > 0; ++i, ++p, --n) v = (v << 8) | *p;
    return v;
  }
  Bytes take(size_t k) {
    const Bytes head{p, k < n ? k : n};
    p += head.n;
    n -= head.n;
    return head;
  }
  // The bytes before the first `stop`, which is passed over; all that is
  // left when there is none.
  Bytes until(uint8_t stop, bool *found = nullptr) {
    const auto *at = static_cast<const uint8_t *>(n > 0 ? std::memchr(p, stop, n) : nullptr);
    const Bytes head = take(at != nullptr ? static_cast<size_t>(at - p) : n);
    if (found != nullptr) *found = at != nullptr;
    if (at != nullptr) take(1);
    return head;
  }
  std::string str() const { return std::string(reinterpret_cast<const char *>(p), n); }
};

// A new path for every call: an open of a path seen before may be answered
// from a cache without reading the file.
inline std::string scratchPath(const char *tag) {
  static unsigned long counter;
  return "/tmp/lmxfuzz" + std::string(tag) + "." + std::to_string(getpid()) + "." +
         std::to_string(counter++);
}

// The bytes in a new scratch file; "" when it cannot be written.
inline std::string scratchFile(const char *tag, Bytes b) {
  std::string path = scratchPath(tag);
  FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return "";
  if (b.n > 0) std::fwrite(b.p, 1, b.n, f);
  std::fclose(f);
  return path;
}

}  // namespace fuzz

// Defines the target's entry point; its body reads the input from `in`.
#define FUZZ_TARGET(in)                                                     \
  static void fuzzOne(fuzz::Bytes in);                                      \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { \
    fuzzOne(fuzz::Bytes{data, size});                                       \
    return 0;                                                               \
  }                                                                         \
  static void fuzzOne(fuzz::Bytes in)
