// Printf directives: the text after a '%' read into flags, width, precision,
// length modifier and conversion, with argument slots for the value and for
// a width or precision given as '*'. One reader serves both printf dialects
// of the library, the string buffer's engine and the ilx print family, which
// differ in these points (engine | print family):
//   length modifiers     h hh l ll L j q t z Z I64 | h l ll L
//   conversions          d i o u x X c C s S p n a A e E f F g G |
//                        the same without a A F, plus '%' as a directive
//                        that takes flags and a width ("%5%")
//   unknown conversion   a parse error | the caller reports it and the
//                        directive prints nothing
//   highest "N$"         9999, a larger N before '$' failing (without '$'
//                        the digits are a width) | INT_MAX, any larger
//                        number where an "N$" may stand failing
//   bare '.' ("%.d")     no precision | precision 0
//   negative '*' width   no padding | left-justified by its magnitude
// Both mix numbered and sequential arguments (sequential ones count on by
// themselves), take the slots of '*' before the value's sequential slot, and
// accept %n, which never writes. Slot typing stays with each caller: the
// engine lets a later reference retype a slot, the print family fails a
// slot read as two types and more slots than three per '%'.
#pragma once

#include <climits>
#include <cstdint>
#include <cstring>

#include "ilx/format_value.h"

namespace ilx::fmt {

// Length modifiers: none l ll L h hh I64 j q t z (Z reads as z).
enum Length : unsigned char {
  kLenNone, kLenL, kLenLL, kLenLD, kLenH, kLenHH, kLenI64, kLenJ, kLenQ, kLenT, kLenZ, kLengths
};

// Conversion classes: d i | o u x X | c | C | s | S | p | n | floating | %.
enum ConvClass : unsigned char {
  kBad, kSigned, kUnsigned, kChar, kWideChar, kString, kWideStr, kPointer, kCount, kFloat, kPercent,
  kClasses
};

// The rules in which the dialects differ (the list at the top).
struct Dialect {
  const char *conversions;   // accepted conversion characters
  uint32_t lengths;          // accepted modifiers, bit 1 << Length
  int32_t maxArgNumber;      // highest N of "N$"
  bool hugeArgNumberFails;   // a number past maxArgNumber fails even without '$'
  bool unknownFails;         // an unknown conversion is a parse error
  int32_t bareDotPrecision;  // precision of a '.' without digits or '*'
  bool negativeWidthLeft;    // a negative '*' width left-justifies
};
inline constexpr Dialect kEngineDialect{"diouxXcCsSpnaAeEfFgG", (1u << kLengths) - 1, 9999,
                                        false, true, -1, false};
inline constexpr Dialect kPrintFamilyDialect{"diouxXcCsSpneEfgG%",
                                             1u << kLenH | 1u << kLenL | 1u << kLenLL | 1u << kLenLD,
                                             INT_MAX, true, false, 0, true};

struct Directive {
  uint32_t flags = 0;  // kLeft ...
  int32_t arg = -1;    // slot of the value; -1 for '%' and unknown conversions
  int32_t width = -1, widthArg = -1;          // -1: not given
  int32_t precision = -1, precisionArg = -1;  // -1: not given
  Length length = kLenNone;
  ConvClass cls = kBad;  // kBad: not a conversion of the dialect
  char conv = 0;         // the conversion character, 'i' read as 'd'
};

namespace detail {

// The class of a conversion character (kBad for none).
constexpr ConvClass classOf(char c) {
  switch (c) {
    case 'd': case 'i': return kSigned;
    case 'o': case 'u': case 'x': case 'X': return kUnsigned;
    case 'c': return kChar;
    case 'C': return kWideChar;
    case 's': return kString;
    case 'S': return kWideStr;
    case 'p': return kPointer;
    case 'n': return kCount;
    case 'a': case 'A': case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': return kFloat;
    case '%': return kPercent;
    default: return kBad;
  }
}

// The flag bit of c (kLeft ... kGroup), 0 for a character that is no flag.
constexpr uint32_t flagOf(char c) {
  switch (c) {
    case '-': return kLeft;
    case '0': return kZero;
    case '+': return kPlus;
    case ' ': return kSpace;
    case '#': return kAlt;
    case '\'': return kGroup;
    default: return 0;
  }
}

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal digits at p, p moved past all of them; false when the number
// passes limit.
inline bool number(const char *&p, int64_t limit, int32_t *out) {
  int64_t v = 0;
  bool fits = true;
  for (; isDigit(*p); ++p) fits = fits && (v = v * 10 + (*p - '0')) <= limit;
  if (fits) *out = static_cast<int32_t>(v);
  return fits;
}

// "N$" with N from 1: the slot N - 1, p moved past it; else -1, p unmoved.
// -2 for a number too large.
inline int32_t position(const char *&p, const Dialect &d, int32_t &positional) {
  if (*p < '1' || *p > '9') return -1;
  const char *q = p;
  int32_t n = 0;
  const bool fits = number(q, d.maxArgNumber, &n);
  if (*q != '$') return fits || !d.hugeArgNumberFails ? -1 : -2;
  if (!fits) return -2;
  p = q + 1;
  positional = 1;
  return n - 1;
}

// A width or precision after its introducer: "*N$", "*" or digits.
inline bool amount(const char *&p, const Dialect &d, int32_t &next, int32_t &positional,
                   int32_t *value, int32_t *slot) {
  if (*p != '*') return !isDigit(*p) || number(p, INT32_MAX, value);
  const int32_t ref = position(++p, d, positional);
  if (ref == -2) return false;
  *slot = ref >= 0 ? ref : next++;
  return true;
}

// The length modifier at p, p moved past it; the longest form the dialect
// accepts wins ("hh" reads as "h" where only "h" is accepted).
inline Length lengthOf(const char *&p, const Dialect &d) {
  Length longer = kLenNone, shorter = kLenNone;
  size_t longerSize = 2;
  switch (p[0]) {
    case 'h': longer = p[1] == 'h' ? kLenHH : kLenNone, shorter = kLenH; break;
    case 'l': longer = p[1] == 'l' ? kLenLL : kLenNone, shorter = kLenL; break;
    case 'L': shorter = kLenLD; break;
    case 'j': shorter = kLenJ; break;
    case 'q': shorter = kLenQ; break;
    case 't': shorter = kLenT; break;
    case 'z': case 'Z': shorter = kLenZ; break;
    case 'I': longer = p[1] == '6' && p[2] == '4' ? kLenI64 : kLenNone, longerSize = 3; break;
    default: return kLenNone;
  }
  const auto accepted = [&d](Length l) { return l != kLenNone && (d.lengths >> l & 1) != 0; };
  if (accepted(longer)) {
    p += longerSize;
    return longer;
  }
  if (!accepted(shorter)) return kLenNone;
  ++p;
  return shorter;
}

}  // namespace detail

// Reads one directive after its '%' into out, p moving past it. Sequential
// slots come from next; positional is set once an "N$" is read. False on a
// parse error. Inline, so that each caller's constant dialect folds away.
inline bool readDirective(const char *&p, const Dialect &d, int32_t &next, int32_t &positional,
                          Directive *out) {
  *out = Directive{};
  const int32_t pos = detail::position(p, d, positional);
  if (pos == -2) return false;
  for (uint32_t f; (f = detail::flagOf(*p)) != 0; ++p) out->flags |= f;
  if (!detail::amount(p, d, next, positional, &out->width, &out->widthArg)) return false;
  if (*p == '.') {
    ++p;
    if (*p != '*' && !detail::isDigit(*p)) {
      out->precision = d.bareDotPrecision;
    } else if (!detail::amount(p, d, next, positional, &out->precision, &out->precisionArg)) {
      return false;
    }
  }
  out->length = detail::lengthOf(p, d);
  const char c = *p;
  if (c != '\0' && std::strchr(d.conversions, c) != nullptr) out->cls = detail::classOf(c);
  if (out->cls == kBad && d.unknownFails) return false;
  if (c != '\0') ++p;
  out->conv = c == 'i' ? 'd' : c;
  if (out->cls != kBad && out->cls != kPercent) out->arg = pos >= 0 ? pos : next++;
  return true;
}

// The conversion s with a '*' width and precision taken from their argument
// values (null: not given) as 32-bit numbers; a negative precision is none.
inline Spec starSpec(const Dialect &d, Spec s, const int64_t *width, const int64_t *precision) {
  if (width != nullptr) {
    const int32_t w = static_cast<int32_t>(*width);
    s.width = w;
    if (w < 0 && d.negativeWidthLeft) {
      s.flags |= kLeft;
      s.width = w == INT32_MIN ? INT32_MAX : -w;
    }
  }
  if (precision != nullptr) s.precision = static_cast<int32_t>(*precision);
  if (s.precision < 0) s.precision = -1;
  return s;
}

}  // namespace ilx::fmt
