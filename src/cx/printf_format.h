// Formatting of one printf value: integers, floating point values and byte
// texts with their flags, width and precision. The formatters write through a
// sink, any type with
//   bool put(const char *p, size_t n);   // append n bytes
//   bool fill(char c, size_t n);         // append n copies of c
// so the printf engine (into a string buffer) and other print functions (into
// a stream or an array) share one set of formatting rules. The header uses
// only the C++ standard library and the C library's locale data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cx::fmt {

// Largest formatted text of one call, in bytes: a width or precision that
// would make a result larger fails the call instead of allocating it.
constexpr size_t kMaxFormatted = size_t{16} << 20;

// Flag bits (the same values as CX_PRINTF_LEFT ... in lumex/cx.h).
enum : uint32_t { kLeft = 1, kZero = 2, kPlus = 4, kSpace = 8, kAlt = 16, kGroup = 32 };

// One conversion: flags, width and precision (negative: not given) and the
// conversion character: d i o u x X p (integers), e E f F g G a A (floating).
struct Spec {
  uint32_t flags = 0;
  int32_t width = -1;
  int32_t precision = -1;
  char conv = 'd';
};

// Digit grouping of the current locale's numbers (localeconv): separator text
// and group sizes, rightmost group first, the last size repeating; a size of
// 0 or of CHAR_MAX and above ends grouping. An empty separator or size list
// means no grouping.
struct Grouping {
  const char *sep = "";
  size_t sepLen = 0;
  const char *sizes = "";
};
Grouping localeGrouping();
// Decimal point text of the current locale.
const char *localePoint(size_t *len);

// Splits a run of n digits into groups, leftmost first, into sizes[] (room
// for n entries); returns the number of groups (1 when nothing is grouped).
size_t groupDigits(size_t n, const Grouping &g, uint16_t *sizes);

// n (1..17) significant decimal digits of a finite value >= 0, correctly
// rounded, into out; returns the position of the decimal point relative to
// the first digit (value = 0.d1d2... x 10^result). Zero gives n zeros and 1.
int decimalDigits(double v, int n, char *out);

namespace detail {

// Integer digits (digits followed by zeros) with optional grouping.
struct IntPart {
  const char *digits = "";
  size_t n = 0;
  size_t zeros = 0;
  const Grouping *group = nullptr;  // null: no grouping
  size_t length() const;
  template <class Sink>
  bool emit(Sink &out) const;
};

// Text of a floating value after its sign and prefix.
struct FloatBody {
  IntPart ip;
  const char *point = nullptr;  // null: no decimal point
  size_t pointLen = 0;
  size_t fracLead = 0;  // zeros right after the point
  const char *frac = "";
  size_t fracN = 0;
  size_t fracTrail = 0;  // zeros after the fraction digits
  char exp[8] = {};      // exponent part: e+05, P-3 ...
  size_t expN = 0;
  const char *word = nullptr;  // inf / nan instead of digits
  size_t length() const {
    if (word != nullptr) return 3;
    return ip.length() + pointLen + fracLead + fracN + fracTrail + expN;
  }
  template <class Sink>
  bool emit(Sink &out) const {
    if (word != nullptr) return out.put(word, 3);
    return ip.emit(out) && (point == nullptr || out.put(point, pointLen)) &&
           out.fill('0', fracLead) && out.put(frac, fracN) && out.fill('0', fracTrail) &&
           out.put(exp, expN);
  }
};

template <class Sink>
bool IntPart::emit(Sink &out) const {
  if (group == nullptr || group->sepLen == 0) return out.put(digits, n) && out.fill('0', zeros);
  uint16_t sizes[400];
  const size_t total = n + zeros;
  if (total > sizeof sizes / sizeof sizes[0]) return false;
  const size_t groups = groupDigits(total, *group, sizes);
  size_t at = 0;
  for (size_t g = 0; g < groups; ++g) {
    if (g > 0 && !out.put(group->sep, group->sepLen)) return false;
    const size_t end = at + sizes[g];
    const size_t fromDigits = at < n ? (end < n ? end : n) - at : 0;
    if (!out.put(digits + at, fromDigits) || !out.fill('0', sizes[g] - fromDigits)) return false;
    at = end;
  }
  return true;
}

// Fills a FloatBody for e E f F g G a A; digits live in the caller's store.
void floatBody(const Spec &s, double magnitude, char *store, FloatBody *body,
               const Grouping *group);

// Sign and padding around a body of the given length, in printf's order.
template <class Sink, class Body>
bool padded(Sink &out, const Spec &s, const char *prefix, size_t prefixLen, size_t zeros,
            bool zeroPad, const Body &body) {
  const size_t used = prefixLen + zeros + body.length();
  const size_t pad = s.width > 0 && static_cast<size_t>(s.width) > used
                         ? static_cast<size_t>(s.width) - used
                         : 0;
  if (s.flags & kLeft) {
    return out.put(prefix, prefixLen) && out.fill('0', zeros) && body.emit(out) &&
           out.fill(' ', pad);
  }
  if (zeroPad) return out.put(prefix, prefixLen) && out.fill('0', zeros + pad) && body.emit(out);
  return out.fill(' ', pad) && out.put(prefix, prefixLen) && out.fill('0', zeros) &&
         body.emit(out);
}

// A byte text as a body.
struct Bytes {
  const char *p;
  size_t n;
  size_t length() const { return n; }
  template <class Sink>
  bool emit(Sink &out) const {
    return out.put(p, n);
  }
};

}  // namespace detail

// Sign character of a value ('-', '+', ' ') or 0, by the flags.
inline char signOf(bool negative, uint32_t flags) {
  if (negative) return '-';
  if (flags & kPlus) return '+';
  if (flags & kSpace) return ' ';
  return 0;
}

// An integer conversion (d i o u x X p) of a value given as magnitude and
// sign. A given precision turns the '0' flag off; precision 0 with the value
// 0 writes nothing at all.
template <class Sink>
bool putInteger(Sink &out, const Spec &s, uint64_t magnitude, bool negative) {
  static const char kLower[] = "0123456789abcdef";
  static const char kUpper[] = "0123456789ABCDEF";
  char buf[24];
  char *const end = buf + sizeof buf;
  char *p = end;
  const char c = s.conv;
  if (c == 'o') {
    for (; magnitude != 0; magnitude >>= 3) *--p = static_cast<char>('0' + (magnitude & 7));
  } else if (c == 'x' || c == 'X' || c == 'p') {
    const char *table = c == 'X' ? kUpper : kLower;
    for (; magnitude != 0; magnitude >>= 4) *--p = table[magnitude & 15];
  } else {
    for (; magnitude != 0; magnitude /= 10) *--p = static_cast<char>('0' + magnitude % 10);
  }
  const size_t digits = static_cast<size_t>(end - p);
  if (s.precision == 0 && digits == 0) return true;
  const size_t precision = s.precision < 0 ? 1 : static_cast<size_t>(s.precision);
  const bool zeroPad = (s.flags & kZero) && s.precision < 0 && !(s.flags & kLeft);

  char prefix[2];
  size_t prefixLen = 0;
  if (c == 'd' || c == 'i') {
    if (char sign = signOf(negative, s.flags)) prefix[prefixLen++] = sign;
  }
  size_t zeros = precision > digits ? precision - digits : 0;
  if ((s.flags & kAlt) && digits > 0) {
    if (c == 'o' && zeros == 0) zeros = 1;
    if (c == 'x' || c == 'X' || c == 'p') {
      prefix[0] = '0';
      prefix[1] = c == 'X' ? 'X' : 'x';
      prefixLen = 2;
    }
  }
  detail::IntPart body;
  body.digits = p;
  body.n = digits;
  Grouping g;
  if ((s.flags & kGroup) && (c == 'd' || c == 'i' || c == 'u')) {
    g = localeGrouping();
    body.group = &g;
  }
  return detail::padded(out, s, prefix, prefixLen, zeros, zeroPad, body);
}

// A floating conversion (e E f F g G a A). Decimal forms use at most 16
// significant digits, correctly rounded; further positions print as zeros.
// Infinity and NaN print inf / nan (INF / NAN for upper-case conversions).
template <class Sink>
bool putFloat(Sink &out, const Spec &s, double value) {
  const bool negative = value < 0;
  char store[40];
  detail::FloatBody body;
  Grouping g;
  const char lc = static_cast<char>(s.conv | 0x20);
  if ((s.flags & kGroup) && (lc == 'f' || lc == 'g')) g = localeGrouping();
  detail::floatBody(s, negative ? -value : value, store, &body, g.sepLen != 0 ? &g : nullptr);
  char prefix[3];
  size_t prefixLen = 0;
  if (char sign = signOf(negative, s.flags)) prefix[prefixLen++] = sign;
  if (lc == 'a' && body.word == nullptr) {
    prefix[prefixLen++] = '0';
    prefix[prefixLen++] = s.conv == 'A' ? 'X' : 'x';
  }
  const bool zeroPad = (s.flags & kZero) && !(s.flags & kLeft) && body.word == nullptr;
  return detail::padded(out, s, prefix, prefixLen, 0, zeroPad, body);
}

// A byte text padded with spaces to the width ('-': on the right). The '0'
// flag has no effect.
template <class Sink>
bool putBytes(Sink &out, const Spec &s, const char *text, size_t n) {
  return detail::padded(out, s, "", 0, 0, false, detail::Bytes{text, n});
}

}  // namespace cx::fmt
