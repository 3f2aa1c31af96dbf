// The printf directive reader shared by the two dialects.
#include "ilx/format_directive.h"

#include <cstring>

namespace ilx::fmt {

namespace {

// Conversion characters and their classes.
constexpr char kConvChars[] = "diouxXcCsSpnaAeEfFgG%";
constexpr ConvClass kConvClass[] = {kSigned, kSigned,  kUnsigned, kUnsigned, kUnsigned, kUnsigned, kChar,
                                    kWideChar, kString, kWideStr, kPointer, kCount,   kFloat,    kFloat,
                                    kFloat,  kFloat,   kFloat,    kFloat,    kFloat,    kFloat,    kPercent};
static_assert(sizeof kConvClass == sizeof kConvChars - 1, "a class for every conversion character");

// Length modifiers, each before its own prefix.
struct Modifier {
  const char *text;
  Length len;
};
constexpr Modifier kModifiers[] = {{"hh", kLenHH}, {"h", kLenH}, {"ll", kLenLL}, {"l", kLenL},
                                   {"L", kLenLD},  {"j", kLenJ}, {"q", kLenQ},   {"t", kLenT},
                                   {"z", kLenZ},   {"Z", kLenZ}, {"I64", kLenI64}};

// Flag characters; the bit of each is 1 << its index (kLeft ... kGroup).
constexpr char kFlagChars[] = "-0+ #'";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal digits at p, p moved past all of them; false when the number
// passes limit.
bool number(const char *&p, int64_t limit, int32_t *out) {
  int64_t v = 0;
  bool fits = true;
  for (; isDigit(*p); ++p) fits = fits && (v = v * 10 + (*p - '0')) <= limit;
  if (fits) *out = static_cast<int32_t>(v);
  return fits;
}

// "N$" with N from 1: the slot N - 1, p moved past it; else -1, p unmoved.
// -2 for a number too large.
int32_t position(const char *&p, const Dialect &d, int32_t &positional) {
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
bool amount(const char *&p, const Dialect &d, int32_t &next, int32_t &positional, int32_t *value,
            int32_t *slot) {
  if (*p != '*') return !isDigit(*p) || number(p, INT32_MAX, value);
  const int32_t ref = position(++p, d, positional);
  if (ref == -2) return false;
  *slot = ref >= 0 ? ref : next++;
  return true;
}

Length lengthOf(const char *&p, const Dialect &d) {
  for (const Modifier &m : kModifiers) {
    const size_t n = std::strlen(m.text);
    if ((d.lengths >> m.len & 1) != 0 && std::strncmp(p, m.text, n) == 0) {
      p += n;
      return m.len;
    }
  }
  return kLenNone;
}

}  // namespace

bool readDirective(const char *&p, const Dialect &d, int32_t &next, int32_t &positional, Directive *out) {
  *out = Directive{};
  const int32_t pos = position(p, d, positional);
  if (pos == -2) return false;
  for (const char *f; *p != '\0' && (f = std::strchr(kFlagChars, *p)) != nullptr; ++p) {
    out->flags |= 1u << (f - kFlagChars);
  }
  if (!amount(p, d, next, positional, &out->width, &out->widthArg)) return false;
  if (*p == '.') {
    ++p;
    if (*p != '*' && !isDigit(*p)) {
      out->precision = d.bareDotPrecision;
    } else if (!amount(p, d, next, positional, &out->precision, &out->precisionArg)) {
      return false;
    }
  }
  out->length = lengthOf(p, d);
  const char c = *p;
  if (c != '\0' && std::strchr(d.conversions, c) != nullptr) {
    out->cls = kConvClass[std::strchr(kConvChars, c) - kConvChars];
  }
  if (out->cls == kBad && d.unknownFails) return false;
  if (c != '\0') ++p;
  out->conv = c == 'i' ? 'd' : c;
  if (out->cls != kBad && out->cls != kPercent) out->arg = pos >= 0 ? pos : next++;
  return true;
}

Spec starSpec(const Dialect &d, Spec s, const int64_t *width, const int64_t *precision) {
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
