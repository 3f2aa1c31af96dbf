// Converters of the built-in handles: UTF-8 (kind 6) and byte for byte
// (the OS handle and every kind without a table family: bytes are the code
// points 0 to 255).
#include "ilx/converter_loop.h"

namespace ilx {
namespace {

// UTF-8 as the "code set": decoded as it stands, so surrogate values encoded
// in UTF-8 reach UCS-2 unchanged.
struct Utf8Family : FamilyBase {
  explicit Utf8Family(CodeSet *) {}
  Step decode(const uint8_t *p, const uint8_t *end) { return decodeUtf8(p, end); }
  int encode(uint32_t cp, uint8_t *out, uint8_t *oend, bool &) { return putUtf8(cp, out, oend); }
};

// UTF-8 to UTF-8: re-encoding follows the UCS-2 rules, where a surrogate
// value standing alone is malformed.
struct Utf8Recode : Utf8Family {
  using Utf8Family::Utf8Family;
  Step decode(const uint8_t *p, const uint8_t *end) {
    Step s = decodeUtf8(p, end);
    if (s.what == kGot && s.cp >= 0xD800 && s.cp < 0xE000) s.what = kSub;
    return s;
  }
};

struct OsFamily : FamilyBase {
  explicit OsFamily(CodeSet *) {}
  Step decode(const uint8_t *p, const uint8_t *) { return {kGot, *p, 1}; }
  int encode(uint32_t cp, uint8_t *out, uint8_t *, bool &sub) {
    if (cp > 0xFF) {
      sub = true;
      cp = '?';
    }
    *out = static_cast<uint8_t>(cp);
    return 1;
  }
};

}  // namespace
}  // namespace ilx

using ilx::OsFamily;
using ilx::Utf8Family;
using ilx::Utf8Recode;

extern "C" {

int utf8_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
                   uint16_t *outend) {
  return ilx::Family<Utf8Family>::to<ilx::Ucs2Out>(cs, in, inend, out, outend);
}

int utf8_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend, char **out,
                     char *outend) {
  return ilx::Family<Utf8Family>::from<ilx::Ucs2Pairs>(cs, in, inend, out, outend);
}

int utf8_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out, char *outend) {
  if (in == nullptr || *in == nullptr) return ilx::kDone;  // no state to reset
  return ilx::Family<Utf8Recode>::to<ilx::Utf8Out>(cs, in, inend, out, outend);
}

int os_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
                 uint16_t *outend) {
  return ilx::Family<OsFamily>::to<ilx::Ucs2Out>(cs, in, inend, out, outend);
}

int os_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend, char **out,
                   char *outend) {
  return ilx::Family<OsFamily>::from<ilx::Ucs2Units>(cs, in, inend, out, outend);
}

// Bytes are code points 0 to 255 toward UTF-8 as toward UCS-2, so the
// two Unicode forms agree and the UTF-8 side stays well-formed.
int os_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out, char *outend) {
  return ilx::Family<OsFamily>::to<ilx::Utf8Out>(cs, in, inend, out, outend);
}

int os_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out, char *outend) {
  return ilx::Family<OsFamily>::from<ilx::Utf8Chars>(cs, in, inend, out, outend);
}

}  // extern "C"
