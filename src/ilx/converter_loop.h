// The one conversion loop every converter family runs, with the Unicode
// sides (UCS-2 and UTF-8, as sources and as destinations) it is combined
// with. A family supplies a decoder (code set bytes -> code point) and an
// encoder (code point -> code set bytes); the loop does the window checks,
// leaves a character that does not fit or is cut off unconsumed, and counts
// substitutions.
#pragma once

#include "ilx/codeset.h"

namespace ilx {

// One decoded character.
enum StepKind : uint8_t {
  kGot,       // cp is the character
  kSub,       // malformed or unmapped: write a substitution, count it
  kSkip,      // consumed, nothing to write (shift codes)
  kNeedMore,  // the input ends inside the character
};
struct Step {
  StepKind what;
  uint32_t cp;
  uint32_t len;  // units consumed
};

// UTF-8 decoding. A lead byte gives the length; every following byte must be
// a continuation byte, and the second one must also lie in the lead byte's
// range so that overlong forms and values above U+10FFFF never decode (C0,
// C1 and F5 to FF are never lead bytes). A sequence that breaks these rules
// is one substitution for its lead byte alone, so the next character is read
// whole. Surrogate values (ED A0 to ED BF) decode as they stand. A sequence
// cut off by the input end is reported as such only while the bytes present
// can still start a valid one.
struct Utf8Lead {
  uint8_t length;  // 0: not a lead byte
  uint8_t lo, hi;  // range of the second byte
};
constexpr Utf8Lead utf8Lead(uint32_t b) {
  if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
  if (b == 0xE0) return {3, 0xA0, 0xBF};
  if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
  if (b == 0xF0) return {4, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
  if (b == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}
inline Step decodeUtf8(const uint8_t *p, const uint8_t *end) {
  const uint32_t b = *p;
  if (b < 0x80) return {kGot, b, 1};
  const Utf8Lead lead = utf8Lead(b);
  if (lead.length == 0) return {kSub, 0, 1};
  const size_t have = static_cast<size_t>(end - p);
  const size_t n = lead.length;
  if (have >= 2 && (p[1] < lead.lo || p[1] > lead.hi)) return {kSub, 0, 1};
  for (size_t i = 2; i < n && i < have; ++i) {
    if ((p[i] & 0xC0u) != 0x80u) return {kSub, 0, 1};
  }
  if (have < n) return {kNeedMore, 0, 0};
  uint32_t cp = b & (0x7Fu >> n);
  for (size_t i = 1; i < n; ++i) cp = (cp << 6) | (p[i] & 0x3Fu);
  return {kGot, cp, static_cast<uint32_t>(n)};
}

inline bool isHighSurrogate(uint32_t u) { return u >= 0xD800 && u < 0xDC00; }
inline bool isLowSurrogate(uint32_t u) { return u >= 0xDC00 && u < 0xE000; }

// Unicode sources for the from-Unicode direction.
// UCS-2, unit by unit (families that map 16-bit values).
struct Ucs2Units {
  using Unit = uint16_t;
  static Step read(const uint16_t *p, const uint16_t *) { return {kGot, *p, 1}; }
};
// UCS-2 with surrogate pairs combined; lone or broken surrogates are
// substitutions (a high surrogate followed by a non-low unit takes both).
struct Ucs2Pairs {
  using Unit = uint16_t;
  static Step read(const uint16_t *p, const uint16_t *end) {
    uint32_t u = *p;
    if (u < 0xD800 || u >= 0xE000) return {kGot, u, 1};
    if (isLowSurrogate(u)) return {kSub, 0, 1};
    if (end - p < 2) return {kNeedMore, 0, 0};
    uint32_t l = p[1];
    if (!isLowSurrogate(l)) return {kSub, 0, 2};
    return {kGot, 0x10000 + ((u & 0x3FF) << 10) + (l & 0x3FF), 2};
  }
};
struct Utf8Chars {
  using Unit = uint8_t;
  static Step read(const uint8_t *p, const uint8_t *end) { return decodeUtf8(p, end); }
};

// Unicode destinations for the to-Unicode direction: put returns the units
// written, or -1 when the character does not fit.
struct Ucs2Out {
  using Unit = uint16_t;
  static int put(uint32_t cp, uint16_t *out, uint16_t *oend) {
    if (cp < 0x10000) {
      *out = static_cast<uint16_t>(cp);
      return 1;
    }
    if (oend - out < 2) return -1;
    cp -= 0x10000;
    out[0] = static_cast<uint16_t>(0xD800 + (cp >> 10));
    out[1] = static_cast<uint16_t>(0xDC00 + (cp & 0x3FF));
    return 2;
  }
};
inline int putUtf8(uint32_t cp, uint8_t *out, uint8_t *oend) {
  if (cp < 0x80) {
    *out = static_cast<uint8_t>(cp);
    return 1;
  }
  ptrdiff_t room = oend - out;
  if (cp < 0x800) {
    if (room < 2) return -1;
    out[0] = static_cast<uint8_t>(0xC0 | (cp >> 6));
    out[1] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    if (room < 3) return -1;
    out[0] = static_cast<uint8_t>(0xE0 | (cp >> 12));
    out[1] = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    return 3;
  }
  if (room < 4) return -1;
  out[0] = static_cast<uint8_t>(0xF0 | (cp >> 18));
  out[1] = static_cast<uint8_t>(0x80 | ((cp >> 12) & 0x3F));
  out[2] = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
  out[3] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
  return 4;
}
struct Utf8Out {
  using Unit = uint8_t;
  static int put(uint32_t cp, uint8_t *out, uint8_t *oend) { return putUtf8(cp, out, oend); }
};

// Code set bytes -> Unicode. The family object f decodes (and keeps its
// shift state and substitution count locally).
template <class F, class Dst>
int decodeLoop(F &f, const uint8_t *&in, const uint8_t *end, typename Dst::Unit *&out,
               typename Dst::Unit *oend) {
  for (;;) {
    f.runTo(in, end, out, oend);
    if (in >= end) return kDone;
    if (out >= oend) return kFull;
    Step s = f.decode(in, end);
    if (s.what == kNeedMore) return kCut;
    if (s.what == kSkip) {
      in += s.len;
      continue;
    }
    uint32_t cp = s.what == kSub ? uint32_t('?') : s.cp;
    int n = Dst::put(cp, out, oend);
    if (n < 0) return kFull;
    out += n;
    in += s.len;
    if (s.what == kSub) ++f.subs;
  }
}

// Unicode -> code set bytes. Malformed Unicode input becomes '?' mapped into
// the code set; encode returns the bytes written (-1: no room, nothing
// changed) and sets sub when it wrote its substitution character.
template <class F, class Src>
int encodeLoop(F &f, const typename Src::Unit *&in, const typename Src::Unit *end, uint8_t *&out,
               uint8_t *oend) {
  for (;;) {
    f.runFrom(in, end, out, oend);
    if (in >= end) return kDone;
    if (out >= oend) return kFull;
    Step s = Src::read(in, end);
    if (s.what == kNeedMore) return kCut;
    bool sub = s.what == kSub;
    int n = f.encode(sub ? uint32_t('?') : s.cp, out, oend, sub);
    if (n < 0) return kFull;
    out += n;
    in += s.len;
    if (sub) ++f.subs;
  }
}

// The converters for a handle: by its kind; a table kind without a table
// converts byte for byte.
const Converters &convertersFor(const CodeSet *cs);

// Whether a table family may convert through cs; a converter called
// directly with a handle of another kind hands over to the right one.
inline bool tableFamilyFits(const CodeSet *cs, uint16_t kind) {
  return cs->kind == kind && cs->table != nullptr;
}

inline const uint8_t *asBytes(const char *p) { return reinterpret_cast<const uint8_t *>(p); }
inline uint8_t *asBytes(char *p) { return reinterpret_cast<uint8_t *>(p); }

// Runs one family's converter over the caller's positions. F is constructed
// from the handle, converts, and gives back its state through commit().
// Flushes (null input) reset the direction's shift state; the from-Unicode
// flush of a family with shift codes writes what returns it to its initial
// state (F::flushFrom).
template <class F>
struct Family {
  static bool handOver(CodeSet *cs) { return F::kKind != 0 && !tableFamilyFits(cs, F::kKind); }

  template <class Dst, class InUnit, class OutUnit>
  static int to(CodeSetT h, const InUnit **in, const InUnit *inend, OutUnit **out,
                OutUnit *outend) {
    CodeSet *cs = resolve(h);
    if (in == nullptr || *in == nullptr) {
      cs->toShift = 0;
      return kDone;
    }
    if (out == nullptr || *out == nullptr) return *in >= inend ? kDone : kFull;
    F f(cs);
    const uint8_t *ip = asBytes(*in);
    auto *op = reinterpret_cast<typename Dst::Unit *>(*out);
    int r = decodeLoop<F, Dst>(f, ip, asBytes(inend), op,
                               reinterpret_cast<typename Dst::Unit *>(outend));
    f.commit(cs);
    *in = reinterpret_cast<const InUnit *>(ip);
    *out = reinterpret_cast<OutUnit *>(op);
    return r;
  }

  template <class Src, class InUnit>
  static int from(CodeSetT h, const InUnit **in, const InUnit *inend, char **out, char *outend) {
    CodeSet *cs = resolve(h);
    bool flush = in == nullptr || *in == nullptr;
    if (out == nullptr || *out == nullptr) {
      if (flush) cs->fromShift = 0;
      return flush || *in >= inend ? kDone : kFull;
    }
    F f(cs);
    uint8_t *op = asBytes(*out);
    int r;
    if (flush) {
      r = f.flushFrom(op, asBytes(outend));
    } else {
      auto *ip = reinterpret_cast<const typename Src::Unit *>(*in);
      r = encodeLoop<F, Src>(f, ip, reinterpret_cast<const typename Src::Unit *>(inend), op,
                             asBytes(outend));
      *in = reinterpret_cast<const InUnit *>(ip);
    }
    f.commit(cs);
    *out = reinterpret_cast<char *>(op);
    return r;
  }
};

// Base of the family objects: the substitution count, the stateless commit
// and flush, and the runs of plain ASCII that the loops convert before each
// character: ASCII-based families copy bytes and values below 0x80 as they
// stand (a family whose bytes mean something else overrides these).
struct FamilyBase {
  uint16_t subs = 0;
  template <class U>
  void runTo(const uint8_t *&in, const uint8_t *end, U *&out, U *oend) {
    while (in < end && out < oend && *in < 0x80) *out++ = *in++;
  }
  template <class U>
  void runFrom(const U *&in, const U *end, uint8_t *&out, uint8_t *oend) {
    while (in < end && out < oend && *in < 0x80) *out++ = static_cast<uint8_t>(*in++);
  }
  void commit(CodeSet *cs) { cs->subs = static_cast<uint16_t>(cs->subs + subs); }
  int flushFrom(uint8_t *&, uint8_t *) { return kDone; }
};

}  // namespace ilx

namespace ilx {

// The four exported converters of a family, from its family type; each
// exported name is a one-line shell over these.
template <class F, class Src16>
struct Exported {
  static int toUcs2(CodeSetT cs, const char **in, const char *inend, uint16_t **out,
                    uint16_t *outend) {
    CodeSet *c = resolve(cs);
    if (Family<F>::handOver(c)) return convertersFor(c).toUcs2(c, in, inend, out, outend);
    return Family<F>::template to<Ucs2Out>(c, in, inend, out, outend);
  }
  static int fromUcs2(CodeSetT cs, const uint16_t **in, const uint16_t *inend, char **out,
                      char *outend) {
    CodeSet *c = resolve(cs);
    if (Family<F>::handOver(c)) return convertersFor(c).fromUcs2(c, in, inend, out, outend);
    return Family<F>::template from<Src16>(c, in, inend, out, outend);
  }
  static int toUtf8(CodeSetT cs, const char **in, const char *inend, char **out, char *outend) {
    CodeSet *c = resolve(cs);
    if (Family<F>::handOver(c)) return convertersFor(c).toUtf8(c, in, inend, out, outend);
    return Family<F>::template to<Utf8Out>(c, in, inend, out, outend);
  }
  static int fromUtf8(CodeSetT cs, const char **in, const char *inend, char **out,
                      char *outend) {
    CodeSet *c = resolve(cs);
    if (Family<F>::handOver(c)) return convertersFor(c).fromUtf8(c, in, inend, out, outend);
    return Family<F>::template from<Utf8Chars>(c, in, inend, out, outend);
  }
};

}  // namespace ilx
