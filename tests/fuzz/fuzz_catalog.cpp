// Arbitrary bytes opened as a message catalog, then looked up with arbitrary
// set and key numbers in several code sets.
//
// Input: byte 0 = number of extra look-ups n (mod 16), then n pairs of
// big-endian 32-bit (set, key), then the catalog file itself. The numbers
// 0 to 3 of sets and keys are always tried as well.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "lumex/ilx.h"

namespace {

int32_t be32(const uint8_t *p) {
  return static_cast<int32_t>((uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3]);
}

void lookUp(MCCatalogT *cat, int32_t set, int32_t key) {
  static CodeSetT utf8 = ilx_cs_new("UTF8");
  static CodeSetT latin1 = ilx_cs_new("ISO-8859-1");
  const char *dflt = "dflt";
  for (CodeSetT cs : {CodeSetT{}, utf8, latin1}) {
    const char *t = ilx_catgets(cat, set, key, dflt, cs);
    if (t != dflt) (void)std::strlen(t);  // every text must be terminated in bounds
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const size_t n = data[0] % 16;
  if (size < 1 + 8 * n) return 0;
  const uint8_t *pairs = data + 1;
  const uint8_t *file = pairs + 8 * n;
  const size_t fileSize = size - 1 - 8 * n;

  // Each input gets a path of its own: an open of a path already cached
  // would return the earlier catalog without reading the file.
  static unsigned long counter;
  char path[64];
  std::snprintf(path, sizeof path, "/tmp/lmxfuzzcat.%d.%lu", static_cast<int>(getpid()), counter++);
  FILE *f = std::fopen(path, "wb");
  if (!f) return 0;
  std::fwrite(file, 1, fileSize, f);
  std::fclose(f);
  MCCatalogT *cat = ilx_catopen(path, 0, nullptr);
  unlink(path);
  if (!cat) return 0;
  for (int32_t s = -1; s < 4; ++s)
    for (int32_t k = -1; k < 4; ++k) lookUp(cat, s, k);
  for (size_t i = 0; i < n; ++i) lookUp(cat, be32(pairs + 8 * i), be32(pairs + 8 * i + 4));
  ilx_catclose(cat);
  return 0;
}
