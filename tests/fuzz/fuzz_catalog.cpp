// Arbitrary bytes opened as a message catalog, then looked up in several code
// sets with the set and key numbers -1 to 3 and with n more pairs. Input: byte
// 0 = n (mod 16), n pairs of big-endian 32-bit (set, key), the catalog file.
#include "fuzz_common.h"
#include "lumex/ilx.h"

static void lookUp(MCCatalogT *cat, int32_t set, int32_t key) {
  static CodeSetT utf8 = ilx_cs_new("UTF8");
  static CodeSetT latin1 = ilx_cs_new("ISO-8859-1");
  const char *dflt = "dflt";
  for (CodeSetT cs : {CodeSetT{}, utf8, latin1}) {
    const char *t = ilx_catgets(cat, set, key, dflt, cs);
    if (t != dflt) (void)std::strlen(t);  // every text must be terminated in bounds
  }
}

FUZZ_TARGET(in) {
  if (in.n == 0) return;
  const size_t n = in.next(1) % 16;
  if (in.n < 8 * n) return;
  fuzz::Bytes pairs = in.take(8 * n);
  const std::string path = fuzz::scratchFile("cat", in);
  if (path.empty()) return;
  MCCatalogT *cat = ilx_catopen(path.c_str(), 0, nullptr);
  unlink(path.c_str());
  if (!cat) return;
  for (int32_t s = -1; s < 4; ++s)
    for (int32_t k = -1; k < 4; ++k) lookUp(cat, s, k);
  while (pairs.n > 0) {
    const auto set = static_cast<int32_t>(pairs.next(4));
    lookUp(cat, set, static_cast<int32_t>(pairs.next(4)));
  }
  ilx_catclose(cat);
}
