// The printf engine against snprintf over generated formats and values; each
// deliberate difference is checked against C's text for an equivalent case.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "temp_dir.h"

namespace {

template <class... A>
std::string ours(const char *format, A... args) {
  CxStringBuff b{};
  CxStringBuffPrintf(nullptr, &b, format, args...);
  std::string out = b.data != nullptr ? text(b) : "";
  CxStringBuffDiscard(&b);
  return out;
}

template <class... A>
std::string theirs(const char *format, A... args) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
  const int n = std::snprintf(nullptr, 0, format, args...);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  std::snprintf(out.data(), out.size() + 1, format, args...);
#pragma GCC diagnostic pop
  return out;
}

// Counts of compared cases and of cases checked under a named exception.
struct Tally {
  long compared = 0;
  long excepted = 0;
};

const char *const kFlagSets[] = {"", "-", "+", " ", "#", "0", "-+", "-#", "+0", " 0", "#0",
                                 "-0", "+ ", "-+#0", " #0", "'"};

struct Length {
  const char *text;
  int bits;  // width of the C type the modifier names
};
const Length kLengths[] = {{"", 32}, {"hh", 32}, {"h", 32}, {"l", 64},
                           {"ll", 64}, {"j", 64}, {"z", 64}, {"t", 64}};

const long long kValues[] = {0,          1,          -1,         7,          42,
                             -42,        255,        256,        65535,      70000,
                             INT_MAX,    INT_MIN,    UINT_MAX,   LLONG_MAX,  LLONG_MIN,
                             1234567890123LL, -98765432109LL};

// Calls f with as many star arguments (each sv) as the format has before value.
template <class F, class V>
std::string withStars(F f, const std::string &format, int stars, int sv, V value) {
  const char *fm = format.c_str();
  return stars == 0 ? f(fm, value) : stars == 1 ? f(fm, sv, value) : f(fm, sv, sv, value);
}

// Passes v as the C type that the length modifier and conversion name.
template <class F>
std::string callInt(F f, const std::string &format, const Length &len, bool isSigned,
                    long long v, int sv, int stars) {
  if (len.bits == 32) {
    return isSigned ? withStars(f, format, stars, sv, static_cast<int>(v))
                    : withStars(f, format, stars, sv, static_cast<unsigned>(v));
  }
  return isSigned ? withStars(f, format, stars, sv, v)
                  : withStars(f, format, stars, sv, static_cast<unsigned long long>(v));
}

// Adds count arbitrary bit patterns that are finite values.
void addFinite(std::mt19937_64 &rng, int count, std::vector<double> *values) {
  for (int i = 0; i < count; ++i) {
    uint64_t bits = rng();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values->push_back(v);
  }
}

}  // namespace

TEST(PrintfVersusC, IntegerConversions) {
  Tally t;
  const char *const widths[] = {"", "1", "5", "12", "*"};
  const char *const precisions[] = {"", ".0", ".1", ".3", ".10", ".*"};
  const int starValues[] = {7, -7, 0};
  auto O = [](const char *f, auto... a) { return ours(f, a...); };
  auto C = [](const char *f, auto... a) { return theirs(f, a...); };
  for (char conv : std::string("diouxX")) {
    const bool isSigned = conv == 'd' || conv == 'i';
    for (const char *flags : kFlagSets) {
      for (const char *width : widths) {
        for (const char *prec : precisions) {
          for (const Length &len : kLengths) {
            for (long long v : kValues) {
              const int stars = (width[0] == '*') + ((prec[0] != '\0' && prec[1] == '*'));
              for (int sv : starValues) {
                if (stars == 0 && sv != starValues[0]) break;
                const std::string spec = std::string("%") + flags + width + prec;
                const std::string format = "<" + spec + len.text + conv + ">";
                const std::string got = callInt(O, format, len, isSigned, v, sv, stars);
                // What C prints for the same value of the engine's (full) width.
                std::string cFormat = format;
                const bool narrowed = len.text[0] == 'h';
                if (narrowed) cFormat = "<" + spec + conv + ">";  // h, hh do not narrow here
                const long long shown =
                    len.bits == 32 ? (isSigned ? static_cast<int>(v) : static_cast<long long>(static_cast<unsigned>(v))) : v;
                const int precision = (prec[0] != '\0' && prec[1] == '*') ? sv : (prec[0] ? std::atoi(prec + 1) : -1);
                const int widthValue = width[0] == '*' ? sv : -1;
                if (precision == 0 && shown == 0) {
                  // Precision 0 with the value 0 prints nothing, width included.
                  EXPECT_EQ(got, "<>") << format;
                  ++t.excepted;
                  continue;
                }
                if (width[0] == '*' && widthValue < 0) {
                  // A negative width from an argument means no padding (C
                  // left-justifies): C's text for the format without width.
                  std::string noWidth = "<%" + std::string(flags) + prec + (narrowed ? "" : len.text) + conv + ">";
                  EXPECT_EQ(got, callInt(C, noWidth, len, isSigned, v, sv, stars - 1)) << format;
                  ++t.excepted;
                  continue;
                }
                EXPECT_EQ(got, callInt(C, cFormat, len, isSigned, v, sv, stars)) << format << " " << v;
                ++t.compared;
              }
            }
          }
        }
      }
    }
  }
  std::printf("integers: %ld compared with snprintf, %ld under named exceptions\n", t.compared,
              t.excepted);
}

namespace {

// Significant decimal digits that the engine prints for a conversion of a
// nonzero value with decimal exponent x (value = d.ddd x 10^x).
int shownDigits(char conv, int precision, int x) {
  switch (conv | 0x20) {
    case 'e': return precision + 1;
    case 'g': return precision == 0 ? 1 : precision;
    default: return x + 1 + precision;  // f
  }
}

// The 16 significant digits and exponent of v, correctly rounded (C's %.15e).
void digits16(double v, std::string *digits, int *exponent) {
  const std::string e = theirs("%.15e", std::fabs(v));
  *digits = e.substr(0, 1) + e.substr(2, 15);
  *exponent = std::atoi(e.c_str() + 18);
}

// Checks one floating conversion of v. The engine rounds %f on the value's
// 16-digit decimal form, half up; C rounds the exact binary value. Where the
// 16-digit form has an exact tie at the cut, the engine's result must be C's
// result for a value nudged away from zero.
void checkFloat(Tally *t, const std::string &format, char conv, int precision, double v) {
  const std::string got = ours(format.c_str(), v);
  if (v != 0 && std::isfinite(v)) {
    std::string d;
    int x;
    digits16(v, &d, &x);
    const int shown = shownDigits(conv, precision < 0 ? 6 : precision, x);
    if (shown > 15) return;  // beyond 15 digits C shows binary noise; not compared
    if ((conv | 0x20) == 'f' && shown >= 0 && d[static_cast<size_t>(shown)] == '5' &&
        d.find_first_not_of('0', static_cast<size_t>(shown) + 1) == std::string::npos) {
      double nudged = v;
      for (int i = 0; i < 8; ++i) nudged = std::nextafter(nudged, v < 0 ? -HUGE_VAL : HUGE_VAL);
      if (shown <= 14) {
        EXPECT_EQ(got, theirs(format.c_str(), nudged)) << format << " " << d;
      }
      ++t->excepted;
      return;
    }
  }
  std::string cFormat = format;
  if ((conv | 0x20) == 'g' && format.find('#') != std::string::npos && std::isfinite(v)) {
    // %#g in its exponent form is %#e with one digit less of precision.
    // glibc sometimes drops a digit there after a carry (%#.2g of 99.995
    // gives 1.e+02), so C's %e serves as the reference.
    const int p = precision < 0 ? 6 : (precision == 0 ? 1 : precision);
    const int x = std::atoi(theirs("%.*e", p - 1, v).c_str() + theirs("%.*e", p - 1, v).find('e') + 1);
    if (v != 0 && (x < -4 || x >= p)) {
      const size_t at = cFormat.find(conv);
      cFormat.replace(at, 1, 1, conv == 'g' ? 'e' : 'E');
      const size_t dot = cFormat.find('.');
      if (dot != std::string::npos) {
        cFormat.replace(dot, at - dot, "." + std::to_string(p - 1));
      } else {
        cFormat.insert(at, "." + std::to_string(p - 1));
      }
    }
  }
  EXPECT_EQ(got, theirs(cFormat.c_str(), v)) << format << " of " << theirs("%.17g", v);
  ++t->compared;
}

}  // namespace

TEST(PrintfVersusC, FloatingConversions) {
  Tally t;
  std::vector<double> values = {0.0,    1.0,     -1.0,   0.5,    1.5,     2.5,     0.125,
                                2.675,  1.005,   0.1,    0.3,    123.456, 1e-5,    0.0001,
                                99.995, 9.9996,  1e15,   123456789012345.0, 1e-300, 4.9e-324,
                                DBL_MAX, -1234.5678, 1e21, 5e-7, 0.000123456};
  std::mt19937_64 rng(20261206);
  for (int i = 0; i < 150; ++i) {  // short decimals: up to 15 digits times a power of ten
    const int digits = 1 + static_cast<int>(rng() % 15);
    long long m = 0;
    for (int k = 0; k < digits; ++k) m = m * 10 + static_cast<long long>(rng() % 10);
    const int e = static_cast<int>(rng() % 30) - 15;
    values.push_back(std::strtod((std::to_string(m) + "e" + std::to_string(e)).c_str(), nullptr));
  }
  addFinite(rng, 100, &values);
  const char *const widths[] = {"", "1", "12"};
  const char *const precisions[] = {"", ".0", ".1", ".2", ".3", ".6", ".9", ".14"};
  for (char conv : std::string("eEfFgG")) {
    for (const char *flags : kFlagSets) {
      if (std::strchr(flags, '\'')) continue;
      for (const char *width : widths) {
        for (const char *prec : precisions) {
          const std::string format = std::string("<%") + flags + width + prec + conv + ">";
          const int precision = prec[0] ? std::atoi(prec + 1) : -1;
          for (double v : values) checkFloat(&t, format, conv, precision, v);
        }
      }
    }
  }
  // Infinities and NaN, with widths, signs and the '0' flag (padded with spaces).
  for (const char *f : {"%f", "%E", "%+g", "% e", "%08.2f", "%-8F|", "%+010G", "%#a", "%A"}) {
    for (double v : {HUGE_VAL, -HUGE_VAL, std::nan("")}) {
      EXPECT_EQ(ours(f, v), theirs(f, v)) << f;
      ++t.compared;
    }
  }
  // Negative zero is not below zero: it prints like zero.
  for (const char *f : {"%f", "%+e", "%g", "%.0f"}) {
    EXPECT_EQ(ours(f, -0.0), theirs(f, 0.0)) << f;
    ++t.excepted;
  }
  // %.f keeps the default precision (C: precision 0).
  EXPECT_EQ(ours("%.f|%.e", 2.5, 2.5), theirs("%f|%e", 2.5, 2.5));
  std::printf("floating: %ld compared with snprintf, %ld under named exceptions\n", t.compared,
              t.excepted);
}

TEST(PrintfVersusC, HexFloatConversions) {
  Tally t;
  std::vector<double> values = {0.0, 1.0, -1.0, 0.1, 1.5, 2.5, 0.75, 1e-310, 4.9e-324, DBL_MAX,
                                DBL_MIN, 1.0 + DBL_EPSILON, 0x1.fffffffffffffp0, 0x1.08p0};
  std::mt19937_64 rng(7);
  addFinite(rng, 100, &values);
  for (char conv : {'a', 'A'}) {
    for (const char *flags : {"", "-", "+", " ", "#", "0", "+0", "-#"}) {
      for (const char *width : {"", "8", "30"}) {
        for (const char *prec : {"", ".0", ".1", ".2", ".4", ".12", ".13", ".16"}) {
          const std::string format = std::string("<%") + flags + width + prec + conv + ">";
          for (double v : values) {
            EXPECT_EQ(ours(format.c_str(), v), theirs(format.c_str(), v)) << format << " " << v;
            ++t.compared;
          }
        }
      }
    }
  }
  std::printf("hex floating: %ld compared with snprintf\n", t.compared);
}

TEST(PrintfVersusC, StringsAndCharacters) {
  Tally t;
  auto O = [](const char *f, auto... a) { return ours(f, a...); };
  auto C = [](const char *f, auto... a) { return theirs(f, a...); };
  const char *const texts[] = {"", "a", "abc", "hello world", "\xC3\xA9t\xC3\xA9"};
  for (const char *flags : {"", "-"}) {
    for (const char *width : {"", "1", "3", "8", "*"}) {
      for (const char *prec : {"", ".0", ".1", ".2", ".5", ".*"}) {
        const std::string format = std::string("<%") + flags + width + prec + "s>";
        const int stars = (width[0] == '*') + ((prec[0] != '\0' && prec[1] == '*'));
        for (const char *s : texts) {
          for (int sv : {4, 0, 2}) {
            EXPECT_EQ(withStars(O, format, stars, sv, s), withStars(C, format, stars, sv, s))
                << format << " " << s;
            ++t.compared;
          }
        }
      }
      const std::string cformat = std::string("<%") + flags + width + "c>";
      for (int c : {int{'x'}, int{' '}, 0xE9, 0x1FF}) {
        const int stars = width[0] == '*';
        EXPECT_EQ(withStars(O, cformat, stars, 5, c), withStars(C, cformat, stars, 5, c)) << cformat;
        ++t.compared;
      }
    }
  }
  std::printf("strings and characters: %ld compared with snprintf\n", t.compared);
}

TEST(PrintfVersusC, PositionalArgumentsInAnyOrder) {
  // Five arguments of different types, referred to in random orders with
  // random flags and widths, some more than once.
  const char *const convs[] = {"d", "s", "f", "llx", "u"};
  const char *const flags[] = {"", "-", "+", "0", "#", " "};
  std::mt19937 rng(99);
  long compared = 0;
  for (int round = 0; round < 3000; ++round) {
    int order[5] = {0, 1, 2, 3, 4};
    std::shuffle(order, order + 5, rng);
    std::string format;
    const int extra = static_cast<int>(rng() % 3);
    for (int k = 0; k < 5 + extra; ++k) {
      const int a = k < 5 ? order[k] : static_cast<int>(rng() % 5);
      format += "[%" + std::to_string(a + 1) + "$" + (a == 1 ? "" : flags[rng() % 6]);
      if (rng() % 2) format += std::to_string(rng() % 12);
      if (a != 1 && rng() % 3 == 0) format += "." + std::to_string(rng() % 5);
      format += convs[a];
      format += "]";
    }
    const int i = static_cast<int>(static_cast<int64_t>(rng()) - INT32_MAX / 2 - 1);
    const char *s = round % 2 ? "text" : "";
    const double d = static_cast<double>(rng() % 1000000);  // no decimal ties to round
    const unsigned long long x = (static_cast<unsigned long long>(rng()) << 32) | rng();
    const unsigned u = rng();
    EXPECT_EQ(ours(format.c_str(), i, s, d, x, u), theirs(format.c_str(), i, s, d, x, u))
        << format;
    ++compared;
  }
  std::printf("positional: %ld formats compared with snprintf\n", compared);
}
