// The printf engine against snprintf over generated formats and values; each
// deliberate difference is checked against C's text for an equivalent case.
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "ilx/format_value.h"
#include "temp_dir.h"

// The text of a format with the engine, or with snprintf when c is true.
template <class... A>
static std::string out(bool c, const std::string &format, A... args) {
  if (!c) return fmtIn(nullptr, format.c_str(), args...);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
  const int n = std::snprintf(nullptr, 0, format.c_str(), args...);
  std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
  std::snprintf(s.data(), s.size() + 1, format.c_str(), args...);
#pragma GCC diagnostic pop
  return s;
}

// Passes as many star arguments (each sv) as the format has before value.
template <class V>
static std::string withStars(bool c, const std::string &f, int stars, int sv, V value) {
  if (stars == 0) return out(c, f, value);
  return stars == 1 ? out(c, f, sv, value) : out(c, f, sv, sv, value);
}

template <class V>
static void sameStars(const std::string &f, int stars, int sv, V v) {
  EXPECT_EQ(withStars(false, f, stars, sv, v), withStars(true, f, stars, sv, v)) << f << " " << v;
}

template <class... A>
static void same(const std::string &format, A... args) {
  EXPECT_EQ(out(false, format, args...), out(true, format, args...)) << format;
}

// Passes v as the C type of that width in bits and signedness.
static std::string callInt(bool c, const std::string &f, int bits, bool isSigned, long long v,
                           int sv, int stars) {
  if (bits == 32 && isSigned) return withStars(c, f, stars, sv, static_cast<int>(v));
  if (bits == 32) return withStars(c, f, stars, sv, static_cast<unsigned>(v));
  if (isSigned) return withStars(c, f, stars, sv, v);
  return withStars(c, f, stars, sv, static_cast<unsigned long long>(v));
}

// Adds count arbitrary bit patterns that are finite values.
static void addFinite(std::mt19937_64 &rng, int count, std::vector<double> *values) {
  for (int i = 0; i < count; ++i) {
    const uint64_t bits = rng();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values->push_back(v);
  }
}

// Checks one floating conversion of v. The engine rounds %f on the value's
// 16-digit decimal form, half up; C rounds the exact binary value. Where that
// form has an exact tie at the cut, the engine's result must be C's result for
// a value nudged away from zero.
static void checkFloat(std::string format, char conv, int precision, double v) {
  const std::string got = out(false, format, v);
  const char lower = static_cast<char>(conv | 0x20);
  if (v != 0 && std::isfinite(v)) {
    const std::string e = out(true, "%.15e", std::fabs(v));  // correctly rounded
    const std::string d = e.substr(0, 1) + e.substr(2, 15);
    const int x = std::atoi(e.c_str() + 18), p = precision < 0 ? 6 : precision;
    const int shown = lower == 'e' ? p + 1 : lower == 'g' ? std::max(p, 1) : x + 1 + p;
    if (shown > 15) return;  // beyond 15 digits C shows binary noise; not compared
    if (lower == 'f' && shown >= 0 && d[static_cast<size_t>(shown)] == '5' &&
        d.find_first_not_of('0', static_cast<size_t>(shown) + 1) == std::string::npos) {
      double nudged = v;
      for (int i = 0; i < 8; ++i) nudged = std::nextafter(nudged, v < 0 ? -HUGE_VAL : HUGE_VAL);
      if (shown <= 14) {
        EXPECT_EQ(got, out(true, format, nudged)) << format << " " << d;
      }
      return;
    }
    // %#g in its exponent form is %#e with one digit less of precision.
    // glibc sometimes drops a digit there after a carry (%#.2g of 99.995
    // gives 1.e+02), so C's %e serves as the reference.
    const std::string ref = lower == 'g' ? out(true, "%.*e", shown - 1, v) : "e0";
    const int gx = std::atoi(ref.c_str() + ref.find('e') + 1);
    if (lower == 'g' && format.find('#') != std::string::npos && (gx < -4 || gx >= shown)) {
      const size_t at = format.find(conv), dot = format.find('.');
      format[at] = conv == 'g' ? 'e' : 'E';
      const size_t from = dot != std::string::npos ? dot : at;
      format.replace(from, at - from, "." + std::to_string(shown - 1));
    }
  }
  EXPECT_EQ(got, out(true, format, v)) << format << " of " << out(true, "%.17g", v);
}

const char *const kFlagSets[] = {"",   "-",  "+",  " ",  "#",  "0",    "-+",  "-#",
                                 "+0", " 0", "#0", "-0", "+ ", "-+#0", " #0", "'"};

TEST(PrintfVersusC, IntegerConversions) {
  const std::pair<std::string, int> lengths[] = {{"", 32}, {"hh", 32}, {"h", 32}, {"l", 64},
                                                 {"ll", 64}, {"j", 64}, {"z", 64}, {"t", 64}};
  const long long values[] = {0, 1, -1, 7, 42, -42, 255, 256, 65535, 70000, INT_MAX, INT_MIN,
                              UINT_MAX, LLONG_MAX, LLONG_MIN, 1234567890123LL, -98765432109LL};
  for (char conv : std::string("diouxX")) {
    const bool isSigned = conv == 'd' || conv == 'i';
    for (const std::string flags : kFlagSets)
      for (const std::string width : {"", "1", "5", "12", "*"})
        for (const std::string prec : {"", ".0", ".1", ".3", ".10", ".*"})
          for (const auto &[len, bits] : lengths)
            for (long long v : values)
              for (int sv : {7, -7, 0}) {
                const int stars = (width == "*") + (prec == ".*");
                if (stars == 0 && sv != 7) break;
                const std::string format = "<%" + flags + width + prec + len + conv + ">";
                const std::string got = callInt(false, format, bits, isSigned, v, sv, stars);
                const bool zero = bits == 64 ? v == 0 : static_cast<uint32_t>(v) == 0;
                if (zero && (prec == ".0" || (prec == ".*" && sv == 0))) {
                  EXPECT_EQ(got, "<>") << format;  // nothing printed, width included
                  continue;
                }
                // C's text for the same value: h and hh do not narrow here, and a
                // negative width from an argument means no padding (C left-justifies).
                const bool noWidth = width == "*" && sv < 0;
                const std::string cFormat = "<%" + flags + (noWidth ? "" : width) + prec +
                                            (len[0] == 'h' ? "" : len) + conv + ">";
                EXPECT_EQ(got, callInt(true, cFormat, bits, isSigned, v, sv, stars - noWidth))
                    << format << " " << v;
              }
  }
}

TEST(PrintfVersusC, FloatingAndHexFloatConversions) {
  std::vector<double> values = {0.0, 1.0, -1.0, 0.5, 1.5, 2.5, 0.125, 2.675, 1.005, 0.1, 0.3,
      123.456, 1e-5, 1e-4, 99.995, 9.9996, 1e15, 1e21, 5e-7, 1e-300, 4.9e-324, DBL_MAX, -1234.5678,
      0.000123456, 123456789012345.0, 0.75, 1e-310, DBL_MIN, 1.0 + DBL_EPSILON, 0x1.fffffffffffffp0,
      0x1.08p0};
  std::mt19937_64 rng(20261206);
  for (int i = 0; i < 150; ++i) {  // short decimals: up to 15 digits times a power of ten
    std::string m = "0";
    for (int k = 0, digits = 1 + static_cast<int>(rng() % 15); k < digits; ++k)
      m += static_cast<char>('0' + rng() % 10);
    m += "e" + std::to_string(static_cast<int>(rng() % 30) - 15);
    values.push_back(std::strtod(m.c_str(), nullptr));
  }
  addFinite(rng, 100, &values);
  for (char conv : std::string("eEfFgG"))
    for (const std::string flags : kFlagSets)
      for (const std::string width : {"", "1", "12"})
        for (const std::string prec : {"", ".0", ".1", ".2", ".3", ".6", ".9", ".14"})
          for (double v : values)
            if (flags != "'")
              checkFloat("<%" + flags + width + prec + conv + ">", conv,
                         prec.empty() ? -1 : std::stoi(prec.substr(1)), v);
  // Infinities and NaN, with widths, signs and the '0' flag (padded with spaces).
  for (const char *f : {"%f", "%E", "%+g", "% e", "%08.2f", "%-8F|", "%+010G", "%#a", "%A"})
    for (double v : {HUGE_VAL, -HUGE_VAL, std::nan("")}) same(f, v);
  // Negative zero is not below zero: it prints like zero.
  for (const char *f : {"%f", "%+e", "%g", "%.0f"})
    EXPECT_EQ(out(false, f, -0.0), out(true, f, 0.0)) << f;
  // %.f keeps the default precision (C: precision 0).
  EXPECT_EQ(out(false, "%.f|%.e", 2.5, 2.5), out(true, "%f|%e", 2.5, 2.5));
  // Hexadecimal forms, with no exceptions.
  for (char conv : {'a', 'A'})
    for (const std::string flags : {"", "-", "+", " ", "#", "0", "+0", "-#"})
      for (const std::string width : {"", "8", "30"})
        for (const std::string prec : {"", ".0", ".1", ".2", ".4", ".12", ".13", ".16"})
          for (double v : values) same("<%" + flags + width + prec + conv + ">", v);
}

TEST(PrintfVersusC, StringsAndCharacters) {
  for (const std::string flags : {"", "-"})
    for (const std::string width : {"", "1", "3", "8", "*"}) {
      for (const std::string prec : {"", ".0", ".1", ".2", ".5", ".*"})
        for (const char *s : {"", "a", "abc", "hello world", "\xC3\xA9t\xC3\xA9"})
          for (int sv : {4, 0, 2})
            sameStars("<%" + flags + width + prec + "s>", (width == "*") + (prec == ".*"), sv, s);
      for (int c : {int{'x'}, int{' '}, 0xE9, 0x1FF})
        sameStars("<%" + flags + width + "c>", width == "*", 5, c);
    }
}

TEST(PrintfVersusC, PositionalArgumentsInAnyOrder) {
  // Five arguments of different types, referred to in random orders with
  // random flags and widths, some more than once.
  const char *const convs[] = {"d", "s", "f", "llx", "u"};
  const char *const flags[] = {"", "-", "+", "0", "#", " "};
  std::mt19937 rng(99);
  for (int round = 0; round < 3000; ++round) {
    int order[5] = {0, 1, 2, 3, 4};
    std::shuffle(order, order + 5, rng);
    std::string format;
    for (int k = 0, n = 5 + static_cast<int>(rng() % 3); k < n; ++k) {
      const int a = k < 5 ? order[k] : static_cast<int>(rng() % 5);
      format += "[%" + std::to_string(a + 1) + "$" + (a == 1 ? "" : flags[rng() % 6]);
      if (rng() % 2) format += std::to_string(rng() % 12);
      if (a != 1 && rng() % 3 == 0) format += "." + std::to_string(rng() % 5);
      format += std::string(convs[a]) + "]";
    }
    const int i = static_cast<int>(static_cast<int64_t>(rng()) - INT32_MAX / 2 - 1);
    const char *s = round % 2 ? "text" : "";
    const double d = static_cast<double>(rng() % 1000000);  // no decimal ties to round
    const unsigned long long x = (static_cast<unsigned long long>(rng()) << 32) | rng();
    const unsigned u = rng();
    same(format, i, s, d, x, u);
  }
}

TEST(PrintfVersusC, DigitsOfTheExactIntegerRouteAreCorrectlyRounded) {
  // Digits computed with integer arithmetic for common magnitudes must equal
  // C's correctly rounded %.*e digits for every count of digits.
  std::mt19937_64 rng(4242);
  std::vector<double> values = {1.0, 9.5, 0.5, 2.675, 1e15, 9999999999999999.0, 0.1, 1e-6, 5e-324,
      1e300, 0.95, 9.95, 999999.5, 123456789012345678.0, 1234567890123456.5, 4503599627370497.5};
  for (int i = 0; i < 20000; ++i)
    values.push_back(static_cast<double>(rng() >> 11) / 9007199254740992.0 *
                     std::pow(10.0, static_cast<int>(rng() % 60) - 30));
  addFinite(rng, 20000, &values);
  for (double v : values) {
    for (int n = 1; n <= 16 && v != 0; ++n) {
      char digits[17] = {};
      const int decpt = ilx::fmt::decimalDigits(std::fabs(v), n, digits);
      const std::string e = out(true, "%.*e", n - 1, std::fabs(v));
      ASSERT_EQ(std::string(digits, n), e.substr(0, 1) + e.substr(2, n - 1)) << e;
      ASSERT_EQ(decpt, std::atoi(e.c_str() + e.find('e') + 1) + 1) << e;
    }
  }
}
