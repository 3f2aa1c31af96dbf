// GB 18030 (kind 10): one- and two-byte characters and the four-byte
// sequences, through the table's GB 18030 section; characters beyond the
// BMP are computed.
#include "ilx/converter_loop.h"
#include "ilx/gb18030_section.h"

namespace ilx {
namespace {

// Combined index = four-byte linear index + kFourByteBase; below it are the
// two-byte characters.
constexpr uint32_t kFourByteBase = 24067;
constexpr uint32_t kIndexLimit = 65535;           // indexes looked up in the table
constexpr uint32_t kSupplementaryFirst = 213067;  // 0x90 0x30 0x81 0x30 = U+10000
constexpr uint32_t kSupplementaryLast = 1261642;
constexpr uint32_t kSupplementaryShift = 147531;  // index - shift = code point
constexpr uint32_t kLinearFromCodePoint = 123464;  // code point + this = linear index

inline bool inRange(uint32_t b, uint32_t lo, uint32_t hi) { return b >= lo && b <= hi; }

struct Gb18030Family : FamilyBase {
  static constexpr uint16_t kKind = kGb18030;
  GbRangeList byUnicode, byIndex;
  explicit Gb18030Family(CodeSet *cs)
      : byUnicode(gbList(gbSection(cs->table), gb::kUniRanges)),
        byIndex(gbList(gbSection(cs->table), gb::kIdxRanges)) {}

  Step decode(const uint8_t *p, const uint8_t *end) {
    uint32_t b = *p;
    if (b < 0x80) return {kGot, b, 1};
    if (b == 0x80 || b == 0xFF) return {kSub, 0, 1};
    if (end - p < 2) return {kNeedMore, 0, 0};
    uint32_t b1 = p[1], index, len;
    if (inRange(b1, 0x30, 0x3F)) {
      if (end - p < 4) return {kNeedMore, 0, 0};
      // Only digits, a lead byte and a digit form a sequence; anything else
      // would alias another character.
      if (b1 > 0x39 || !inRange(p[2], 0x81, 0xFE) || !inRange(p[3], 0x30, 0x39)) return {kSub, 0, 1};
      index = (((b & 0x7F) * 10 + b1) * 126 + p[2]) * 10 + p[3] - 50351;
      len = 4;
    } else {
      if (!inRange(b1, 0x40, 0xFE)) return {kSub, 0, 1};
      index = (b - 0x81) * 191 + (b1 - 0x3F);
      len = 2;
    }
    if (index < kIndexLimit) {
      const uint8_t *r = gbFind(byIndex, index);
      uint32_t u = r != nullptr ? gbValue(byIndex, r, index) : kGbNoMapping;
      if (u == 0 || u == kGbNoMapping) return {kSub, 0, len};
      return {kGot, u, len};
    }
    if (index >= kSupplementaryFirst && index <= kSupplementaryLast)
      return {kGot, index - kSupplementaryShift, len};
    return {kSub, 0, len};
  }

  static int putFourByte(uint32_t linear, uint8_t *out, uint8_t *oend) {
    if (oend - out < 4) return -1;
    out[3] = static_cast<uint8_t>(linear % 10 + 0x30);
    linear /= 10;
    out[2] = static_cast<uint8_t>(linear % 126 + 0x81);
    linear /= 126;
    out[1] = static_cast<uint8_t>(linear % 10 + 0x30);
    linear /= 10;
    out[0] = static_cast<uint8_t>(linear + 0x81);
    return 4;
  }

  int encode(uint32_t cp, uint8_t *out, uint8_t *oend, bool &sub) {
    if (cp < 0x80) {
      *out = static_cast<uint8_t>(cp);
      return 1;
    }
    if (cp > 0xFFFF) return putFourByte(cp + kLinearFromCodePoint, out, oend);
    const uint8_t *r = gbFind(byUnicode, cp);
    uint32_t index = r != nullptr ? gbValue(byUnicode, r, cp) : kGbNoMapping;
    if (index == kGbNoMapping) {
      sub = true;
      *out = '?';
      return 1;
    }
    if (index == 0) {  // a single byte
      *out = static_cast<uint8_t>(rd16(r + 6) + (cp - rd16(r)));
      return 1;
    }
    if (index < kFourByteBase) {
      if (oend - out < 2) return -1;
      out[0] = static_cast<uint8_t>((index - 1) / 191 + 0x81);
      out[1] = static_cast<uint8_t>((index - 1) % 191 + 0x40);
      return 2;
    }
    return putFourByte(index - kFourByteBase, out, oend);
  }
};

}  // namespace
}  // namespace ilx

using Gb18030 = ilx::Exported<ilx::Gb18030Family, ilx::Ucs2Pairs>;

extern "C" {
int ascii_gb18030_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend) { return Gb18030::toUcs2(cs, in, inend, out, outend); }
int ascii_gb18030_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend, char **out,
    char *outend) { return Gb18030::fromUcs2(cs, in, inend, out, outend); }
int ascii_gb18030_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return Gb18030::toUtf8(cs, in, inend, out, outend); }
int ascii_gb18030_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return Gb18030::fromUtf8(cs, in, inend, out, outend); }
}
