// ASCII-based table converters: single-byte (kind 1), double-byte (kind 2)
// and multi-byte (kind 3). Bytes and values below 0x80 bypass the tables.
#include "ilx/converter_loop.h"
#include "ilx/table_rows.h"

namespace ilx {
namespace {

struct TableFamily : FamilyBase {
  const uint8_t *t;
  const uint8_t *d;
  explicit TableFamily(CodeSet *cs) : t(cs->table), d(dataArea(cs->table)) {}
  static Step mapped(uint32_t u, uint32_t len) {
    return u == 0xFFFF ? Step{kSub, 0, len} : Step{kGot, u, len};
  }
};

struct SbcsFamily : TableFamily {
  static constexpr uint16_t kKind = kAsciiSbcs;
  using TableFamily::TableFamily;
  Step decode(const uint8_t *p, const uint8_t *) {
    uint32_t b = *p;
    if (b < 0x80) return {kGot, b, 1};
    return mapped(toEntry(t, b), 1);
  }
  int encode(uint32_t cp, uint8_t *out, uint8_t *, bool &sub) {
    *out = cp < 0x80 ? static_cast<uint8_t>(cp) : singleByteFor(t, d, cp, '?', sub);
    return 1;
  }
};

struct DbcsFamily : TableFamily {
  static constexpr uint16_t kKind = kAsciiDbcs;
  using TableFamily::TableFamily;
  Step decode(const uint8_t *p, const uint8_t *end) {
    uint32_t b = *p;
    if (b < 0x80) return {kGot, b, 1};
    switch (byteClass(t, b)) {
      case 1:
        return mapped(rowEntry16(d, toEntry(t, 0), b), 1);
      case 2:
        if (end - p < 2) return {kNeedMore, 0, 0};
        return mapped(rowEntry16(d, toEntry(t, b), p[1]), 2);
      default:
        return {kSub, 0, 1};
    }
  }
  int encode(uint32_t cp, uint8_t *out, uint8_t *oend, bool &sub) {
    uint32_t code = cp;
    if (cp >= 0x80) code = cp > 0xFFFF ? 0xFFFF : rowEntry16(d, fromRowOffset(t, cp >> 8), cp & 0xFF);
    if (code == 0xFFFF) {
      sub = true;
      code = '?';
    }
    if (code < 0x100) {
      *out = static_cast<uint8_t>(code);
      return 1;
    }
    if (oend - out < 2) return -1;
    out[0] = static_cast<uint8_t>(code >> 8);
    out[1] = static_cast<uint8_t>(code);
    return 2;
  }
};

struct MbcsFamily : TableFamily {
  static constexpr uint16_t kKind = kAsciiMbcs;
  using TableFamily::TableFamily;
  Step decode(const uint8_t *p, const uint8_t *end) {
    uint32_t b = *p;
    if (b < 0x80) return {kGot, b, 1};
    uint32_t n = byteClass(t, b);
    if (n == 0 || n == 255) return {kSub, 0, 1};
    if (n == 1) return mapped(toEntry(t, b), 1);
    if (static_cast<size_t>(end - p) < n) return {kNeedMore, 0, 0};
    // Walk the trie: each node holds a count, the first byte value and the
    // children for the bytes first .. first + count - 1.
    uint32_t node = toEntry(t, b);
    for (uint32_t i = 1; i < n && node != 0xFFFF; ++i) {
      const uint8_t *rec = d + static_cast<size_t>(node) * 4;
      uint32_t count = rd16(rec), first = rd16(rec + 2), c = p[i];
      node = (c < first || c >= first + count) ? 0xFFFF : rd16(rec + 4 + 2 * (c - first));
    }
    return mapped(node, n);
  }
  int encode(uint32_t cp, uint8_t *out, uint8_t *oend, bool &sub) {
    if (cp < 0x80) {
      *out = static_cast<uint8_t>(cp);
      return 1;
    }
    uint32_t prefix = 0xFFFF, code = 0xFFFF;
    if (cp <= 0xFFFF) {
      const uint8_t *pair = d + static_cast<size_t>(fromRowOffset(t, cp >> 8)) * 4 + (cp & 0xFF) * 4;
      prefix = rd16(pair);
      code = rd16(pair + 2);
    }
    if (code < 0x100) {
      *out = static_cast<uint8_t>(code);
      return 1;
    }
    if (prefix == 0xFFFF) {
      sub = true;
      *out = '?';
      return 1;
    }
    const uint8_t *rec = d + static_cast<size_t>(prefix) * kPrefixRecordBytes;
    uint32_t k = rd16(rec + kPrefixRecordBytes - 2);
    if (static_cast<size_t>(oend - out) < k + 2) return -1;
    std::memcpy(out, rec, k);
    out[k] = static_cast<uint8_t>(code >> 8);
    out[k + 1] = static_cast<uint8_t>(code);
    return static_cast<int>(k + 2);
  }
};

}  // namespace
}  // namespace ilx

using Sbcs = ilx::Exported<ilx::SbcsFamily, ilx::Ucs2Units>;
using Dbcs = ilx::Exported<ilx::DbcsFamily, ilx::Ucs2Units>;
using Mbcs = ilx::Exported<ilx::MbcsFamily, ilx::Ucs2Units>;

extern "C" {
int ascii_sbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend) { return Sbcs::toUcs2(cs, in, inend, out, outend); }
int ascii_sbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend, char **out,
    char *outend) { return Sbcs::fromUcs2(cs, in, inend, out, outend); }
int ascii_sbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return Sbcs::toUtf8(cs, in, inend, out, outend); }
int ascii_sbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return Sbcs::fromUtf8(cs, in, inend, out, outend); }
int ascii_dbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend) { return Dbcs::toUcs2(cs, in, inend, out, outend); }
int ascii_dbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend, char **out,
    char *outend) { return Dbcs::fromUcs2(cs, in, inend, out, outend); }
int ascii_dbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return Dbcs::toUtf8(cs, in, inend, out, outend); }
int ascii_dbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return Dbcs::fromUtf8(cs, in, inend, out, outend); }
int ascii_mbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend) { return Mbcs::toUcs2(cs, in, inend, out, outend); }
int ascii_mbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend, char **out,
    char *outend) { return Mbcs::fromUcs2(cs, in, inend, out, outend); }
int ascii_mbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return Mbcs::toUtf8(cs, in, inend, out, outend); }
int ascii_mbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return Mbcs::fromUtf8(cs, in, inend, out, outend); }
}
