// EBCDIC table converters: single-byte (kind 8) and mixed single/double-byte
// with shift codes (kind 4). Invariant bytes, and the Unicode values they
// stand for, go through the built-in tables rather than the table file.
#include "ilx/converter_loop.h"
#include "ilx/ebcdic_builtin.h"
#include "ilx/table_rows.h"

namespace ilx {
namespace {

constexpr uint8_t kShiftOut = 0x0E;  // start of a double-byte run
constexpr uint8_t kShiftIn = 0x0F;   // back to single bytes
constexpr uint8_t kEbcdicQuestion = 0x6F;

struct EbcdicTable : FamilyBase {
  // Runs of invariant bytes that stand for ASCII characters (the bulk of
  // most EBCDIC text), through the built-in tables alone. `stop` is a
  // character that ends a run (the shift-out code for mixed text).
  template <class U>
  static void invariantRunTo(const uint8_t *&in, const uint8_t *end, U *&out, U *oend, int stop) {
    while (in < end && out < oend) {
      uint32_t b = *in;
      if (!kEbcdic.invariant[b] || kEbcdicToUnicode[b] >= 0x80 || static_cast<int>(b) == stop) break;
      *out++ = static_cast<U>(kEbcdicToUnicode[b]);
      ++in;
    }
  }
  template <class U>
  static void invariantRunFrom(const U *&in, const U *end, uint8_t *&out, uint8_t *oend, int stop) {
    while (in < end && out < oend) {
      uint32_t u = *in;
      if (u >= 0x80 || !kEbcdic.hasReverse[u] || static_cast<int>(u) == stop) break;
      *out++ = kEbcdic.reverse[u];
      ++in;
    }
  }
  const uint8_t *t;
  const uint8_t *d;
  explicit EbcdicTable(CodeSet *cs) : t(cs->table), d(dataArea(cs->table)) {}
  static Step mapped(uint32_t u, uint32_t len) {
    return u == 0xFFFF ? Step{kSub, 0, len} : Step{kGot, u, len};
  }
  static bool builtinReverse(uint32_t cp) { return cp < 256 && kEbcdic.hasReverse[cp]; }
};

struct EbcdicSbcsFamily : EbcdicTable {
  static constexpr uint16_t kKind = kEbcdicSbcs;
  using EbcdicTable::EbcdicTable;
  template <class U>
  void runTo(const uint8_t *&in, const uint8_t *end, U *&out, U *oend) {
    invariantRunTo(in, end, out, oend, -1);
  }
  template <class U>
  void runFrom(const U *&in, const U *end, uint8_t *&out, uint8_t *oend) {
    invariantRunFrom(in, end, out, oend, -1);
  }
  Step decode(const uint8_t *p, const uint8_t *) {
    uint32_t b = *p;
    if (kEbcdic.invariant[b]) return {kGot, kEbcdicToUnicode[b], 1};
    return mapped(toEntry(t, b), 1);
  }
  int encode(uint32_t cp, uint8_t *out, uint8_t *, bool &sub) {
    *out = builtinReverse(cp) ? kEbcdic.reverse[cp] : singleByteFor(t, d, cp, kEbcdicQuestion, sub);
    return 1;
  }
};

struct EbcdicDbcsFamily : EbcdicTable {
  static constexpr uint16_t kKind = kEbcdicDbcs;
  uint8_t toShift, fromShift;
  explicit EbcdicDbcsFamily(CodeSet *cs)
      : EbcdicTable(cs), toShift(cs->toShift), fromShift(cs->fromShift) {}
  void commit(CodeSet *cs) {
    EbcdicTable::commit(cs);
    cs->toShift = toShift;
    cs->fromShift = fromShift;
  }
  // Runs only outside double-byte runs; the shift-out code ends them.
  template <class U>
  void runTo(const uint8_t *&in, const uint8_t *end, U *&out, U *oend) {
    if (toShift == 0) invariantRunTo(in, end, out, oend, kShiftOut);
  }
  template <class U>
  void runFrom(const U *&in, const U *end, uint8_t *&out, uint8_t *oend) {
    if (fromShift == 0) invariantRunFrom(in, end, out, oend, kShiftOut);
  }

  Step decode(const uint8_t *p, const uint8_t *end) {
    uint32_t b = *p;
    if (toShift == 0) {
      if (b == kShiftOut) {
        toShift = 1;
        return {kSkip, 0, 1};
      }
      if (kEbcdic.invariant[b]) return {kGot, kEbcdicToUnicode[b], 1};
      return mapped(rowEntry16(d, toEntry(t, 0), b), 1);
    }
    if (b >= 0x40 && b <= 0xFE) {
      if (end - p < 2) return {kNeedMore, 0, 0};
      return mapped(rowEntry16(d, toEntry(t, b), p[1]), 2);
    }
    if (b == kShiftIn) {
      toShift = 0;
      return {kSkip, 0, 1};
    }
    return {kGot, kEbcdicToUnicode[b], 1};
  }

  int encode(uint32_t cp, uint8_t *out, uint8_t *oend, bool &sub) {
    ptrdiff_t room = oend - out;
    if (builtinReverse(cp)) {
      uint8_t b = kEbcdic.reverse[cp];
      if (fromShift == 0) {
        out[0] = b;
        if (cp == kShiftOut) fromShift = 1;
        return 1;
      }
      if (room < 2) return -1;
      out[0] = kShiftIn;
      out[1] = b;
      if (cp != kShiftOut) fromShift = 0;
      return 2;
    }
    uint32_t code = cp > 0xFFFF ? 0xFFFF : rowEntry16(d, fromRowOffset(t, cp >> 8), cp & 0xFF);
    if (code == 0xFFFF) {
      sub = true;
      code = kEbcdicQuestion;
    }
    if (fromShift == 0) {
      if (code < 0x100) {
        out[0] = static_cast<uint8_t>(code);
        return 1;
      }
      if (room < 3) return -1;
      out[0] = kShiftOut;
      out[1] = static_cast<uint8_t>(code >> 8);
      out[2] = static_cast<uint8_t>(code);
      fromShift = 1;
      return 3;
    }
    if (room < 2) return -1;
    if (code < 0x100) {
      out[0] = kShiftIn;
      out[1] = static_cast<uint8_t>(code);
      fromShift = 0;
    } else {
      out[0] = static_cast<uint8_t>(code >> 8);
      out[1] = static_cast<uint8_t>(code);
    }
    return 2;
  }

  // Ends a double-byte run of the output with the shift-in code.
  int flushFrom(uint8_t *&out, uint8_t *oend) {
    if (fromShift == 1) {
      if (out >= oend) return kFull;
      *out++ = kShiftIn;
    }
    fromShift = 0;
    return kDone;
  }
};

}  // namespace
}  // namespace ilx

using EbcdicSbcs = ilx::Exported<ilx::EbcdicSbcsFamily, ilx::Ucs2Units>;
using EbcdicDbcs = ilx::Exported<ilx::EbcdicDbcsFamily, ilx::Ucs2Units>;

extern "C" {
int ebcdic_sbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend) { return EbcdicSbcs::toUcs2(cs, in, inend, out, outend); }
int ebcdic_sbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend, char **out,
    char *outend) { return EbcdicSbcs::fromUcs2(cs, in, inend, out, outend); }
int ebcdic_sbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return EbcdicSbcs::toUtf8(cs, in, inend, out, outend); }
int ebcdic_sbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return EbcdicSbcs::fromUtf8(cs, in, inend, out, outend); }
int ebcdic_dbcs_to_ucs2_r(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
    uint16_t *outend) { return EbcdicDbcs::toUcs2(cs, in, inend, out, outend); }
int ebcdic_dbcs_from_ucs2_r(CodeSetT cs, const uint16_t **in, const uint16_t *inend, char **out,
    char *outend) { return EbcdicDbcs::fromUcs2(cs, in, inend, out, outend); }
int ebcdic_dbcs_to_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return EbcdicDbcs::toUtf8(cs, in, inend, out, outend); }
int ebcdic_dbcs_from_utf8_r(CodeSetT cs, const char **in, const char *inend, char **out,
    char *outend) { return EbcdicDbcs::fromUtf8(cs, in, inend, out, outend); }
}
