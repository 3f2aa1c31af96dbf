// Non-template parts of the value formatters: locale data, digit grouping,
// decimal digit generation and the layout of floating-point texts.
#include "ilx/format_value.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace ilx::fmt {

Grouping localeGrouping() {
  Grouping g;
  const lconv *lc = std::localeconv();
  if (lc == nullptr || lc->thousands_sep == nullptr || lc->grouping == nullptr) return g;
  if (lc->thousands_sep[0] == '\0' || lc->grouping[0] == '\0') return g;
  g.sep = lc->thousands_sep;
  g.sepLen = std::strlen(lc->thousands_sep);
  g.sizes = lc->grouping;
  return g;
}

const char *localePoint(size_t *len) {
  const lconv *lc = std::localeconv();
  const char *point = lc != nullptr && lc->decimal_point != nullptr && lc->decimal_point[0] != '\0'
                          ? lc->decimal_point
                          : ".";
  *len = std::strlen(point);
  return point;
}

size_t groupDigits(size_t n, const Grouping &g, uint16_t *sizes) {
  // Walk from the right, collecting group sizes; then reverse them.
  size_t count = 0;
  size_t left = n;
  const unsigned char *rule = reinterpret_cast<const unsigned char *>(g.sizes);
  unsigned size = 0;
  while (left > 0) {
    if (*rule != '\0') size = *rule++;
    if (g.sepLen == 0 || size == 0 || size >= static_cast<unsigned>(CHAR_MAX)) {
      sizes[count++] = static_cast<uint16_t>(left);  // grouping ends: the rest is one group
      break;
    }
    const size_t take = left < size ? left : size;
    sizes[count++] = static_cast<uint16_t>(take);
    left -= take;
  }
  if (count == 0) sizes[count++] = 0;
  for (size_t i = 0, j = count - 1; i < j; ++i, --j) {
    const uint16_t t = sizes[i];
    sizes[i] = sizes[j];
    sizes[j] = t;
  }
  return count;
}

namespace {

// Powers of ten up to 10^23 as 128-bit integers.
constexpr auto kPow10 = [] {
  struct Table {
    unsigned __int128 p[24];
  } t{};
  t.p[0] = 1;
  for (int i = 1; i < 24; ++i) t.p[i] = t.p[i - 1] * 10;
  return t;
}();

// The same digits by exact integer arithmetic, for the common magnitudes:
// v = m * 2^e scaled by 10^k (0 <= k <= 22) and rounded to an integer, to
// nearest with ties to even. Returns false where the numbers would not fit.
bool decimalDigitsExact(double v, int n, char *out, int *decptOut) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  const int biased = static_cast<int>(bits >> 52);
  if (biased == 0) return false;  // subnormal
  const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
  const int e = biased - 1075;
  // v lies in [2^(b-1), 2^b): a first guess of its decimal exponent, off by
  // at most one, corrected below.
  const int b = e + 53;
  int guess = static_cast<int>((static_cast<int64_t>(b - 1) * 78913) >> 18) + 1;
  const unsigned __int128 low = kPow10.p[n - 1];
  const unsigned __int128 high = kPow10.p[n];
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int k = n - guess;
    if (k < 0 || k > 22 || e < -127 || e > 10) return false;
    const unsigned __int128 scaled = m * kPow10.p[k];
    unsigned __int128 q;
    if (e >= 0) {
      q = scaled << e;
    } else {
      const int shift = -e;
      q = scaled >> shift;
      const unsigned __int128 rest = scaled - (q << shift);
      const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
      if (rest > half || (rest == half && (q & 1))) ++q;
    }
    if (q < low) {
      --guess;  // fewer integer digits than guessed
      continue;
    }
    if (q > high) {
      ++guess;  // more integer digits than guessed
      continue;
    }
    int decpt = guess;
    if (q == high) {  // rounded up to the next power of ten
      q = low;
      ++decpt;
    }
    uint64_t digits = static_cast<uint64_t>(q);
    for (int i = n - 1; i >= 0; --i, digits /= 10) out[i] = static_cast<char>('0' + digits % 10);
    *decptOut = decpt;
    return true;
  }
  return false;
}

}  // namespace

int decimalDigits(double v, int n, char *out) {
  if (v == 0) {
    std::memset(out, '0', static_cast<size_t>(n));
    return 1;
  }
  int decpt;
  if (decimalDigitsExact(v, n, out, &decpt)) return decpt;
  char buf[48];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, n - 1);
  // buf holds d[.ddd]e+XX
  const char *p = buf;
  out[0] = *p++;
  if (*p == '.') ++p;
  std::memcpy(out + 1, p, static_cast<size_t>(n - 1));
  p += n - 1;
  int exponent = 0;
  std::from_chars(p + 1 + (p[1] == '+'), r.ptr, exponent);  // skip 'e' and a '+'
  return exponent + 1;
}

namespace detail {

size_t IntPart::length() const {
  const size_t total = n + zeros;
  if (group == nullptr || group->sepLen == 0) return total;
  uint16_t sizes[400];
  if (total > sizeof sizes / sizeof sizes[0]) return total;
  return total + (groupDigits(total, *group, sizes) - 1) * group->sepLen;
}

namespace {

// Writes the exponent part: letter, sign, at least minDigits digits.
void exponentText(FloatBody *b, char letter, int exponent, int minDigits) {
  char *e = b->exp;
  *e++ = letter;
  *e++ = exponent < 0 ? '-' : '+';
  unsigned mag = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
  char rev[8];
  int n = 0;
  do {
    rev[n++] = static_cast<char>('0' + mag % 10);
    mag /= 10;
  } while (mag != 0 || n < minDigits);
  while (n > 0) *e++ = rev[--n];
  b->expN = static_cast<size_t>(e - b->exp);
}

// The d.ddd form: one integer digit, fracDigits fraction digits from
// digits[1..n-1] and zeros after them, and the exponent.
void scientific(FloatBody *b, const char *digits, int n, size_t fracDigits, int exponent,
                char letter) {
  b->ip.digits = digits;
  b->ip.n = 1;
  b->frac = digits + 1;
  b->fracN = static_cast<size_t>(n - 1) < fracDigits ? static_cast<size_t>(n - 1) : fracDigits;
  b->fracTrail = fracDigits - b->fracN;
  exponentText(b, letter, exponent, 2);
}

// The ddd.ddd form of the n digits with the point after position decpt,
// with fracDigits fraction digits (digits past n print as zeros).
void fixed(FloatBody *b, const char *digits, int n, int decpt, size_t fracDigits) {
  if (decpt <= 0) {
    b->ip.digits = "0";
    b->ip.n = 1;
  } else {
    b->ip.digits = digits;
    b->ip.n = static_cast<size_t>(decpt < n ? decpt : n);
    b->ip.zeros = static_cast<size_t>(decpt) - b->ip.n;
  }
  const size_t lead = decpt < 0 ? static_cast<size_t>(-static_cast<int64_t>(decpt)) : 0;
  b->fracLead = lead < fracDigits ? lead : fracDigits;
  const int start = decpt > 0 ? decpt : 0;
  const size_t avail = n > start ? static_cast<size_t>(n - start) : 0;
  const size_t room = fracDigits - b->fracLead;
  b->frac = digits + start;
  b->fracN = avail < room ? avail : room;
  b->fracTrail = room - b->fracN;
}

// Rounds the 16-digit string half up so that cut digits remain; returns the
// number of digits kept and may move the decimal point (a carry out of the
// first digit makes it 1000...).
int roundHalfUp(char *digits, int cut, int *decpt) {
  if (cut >= 16) return 16;
  if (cut < 0) return 0;
  if (digits[cut] < '5') return cut;
  int i = cut - 1;
  while (i >= 0 && digits[i] == '9') digits[i--] = '0';
  if (i >= 0) {
    ++digits[i];
    return cut;
  }
  digits[0] = '1';  // all nines (or nothing kept): carry into a new digit
  if (cut > 0) digits[cut] = '0';
  ++*decpt;
  return cut + 1;
}

// C99 hexadecimal form: 1.hhhp+d (0.hhh for subnormals), precision in hex
// digits (none: as many as needed), rounding to nearest, ties to even.
void hexBody(const Spec &s, double v, char *store, FloatBody *b) {
  const bool upper = s.conv == 'A';
  const char *table = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t mant = bits & ((uint64_t{1} << 52) - 1);
  int lead = biased == 0 ? 0 : 1;
  int exponent = biased == 0 ? (mant == 0 ? 0 : -1022) : biased - 1023;
  int digits = 13;
  if (s.precision >= 0 && s.precision < 13) {
    const int shift = (13 - s.precision) * 4;
    const uint64_t rest = mant & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    mant >>= shift;
    digits = s.precision;
    const uint64_t lastKept = digits > 0 ? mant : static_cast<uint64_t>(lead);
    if (rest > half || (rest == half && (lastKept & 1))) ++mant;
    if (mant >> (digits * 4)) {  // carry into the leading digit
      ++lead;
      mant &= (uint64_t{1} << (digits * 4)) - 1;
    }
  }
  store[0] = table[lead];
  for (int i = digits; i > 0; --i, mant >>= 4) store[i] = table[mant & 15];
  b->ip.digits = store;
  b->ip.n = 1;
  b->frac = store + 1;
  b->fracN = static_cast<size_t>(digits);
  if (s.precision < 0) {
    while (b->fracN > 0 && b->frac[b->fracN - 1] == '0') --b->fracN;
  } else if (s.precision > 13) {
    b->fracTrail = static_cast<size_t>(s.precision - 13);
  }
  exponentText(b, upper ? 'P' : 'p', exponent, 1);
}

}  // namespace

void floatBody(const Spec &s, double v, char *store, FloatBody *b, const Grouping *group) {
  const bool upper = s.conv >= 'A' && s.conv <= 'Z';
  if (std::isinf(v) || std::isnan(v)) {
    b->word = std::isnan(v) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
    return;
  }
  const char lc = static_cast<char>(s.conv | 0x20);
  if (lc == 'a') {
    hexBody(s, v, store, b);
  } else if (lc == 'e') {
    const int p = s.precision < 0 ? 6 : s.precision;
    const int n = p + 1 < 16 ? p + 1 : 16;
    const int decpt = decimalDigits(v, n, store);
    scientific(b, store, n, static_cast<size_t>(p), v == 0 ? 0 : decpt - 1, upper ? 'E' : 'e');
  } else if (lc == 'f') {
    const int p = s.precision < 0 ? 6 : s.precision;
    int decpt = decimalDigits(v, 16, store);
    const int64_t cut = int64_t{decpt} + p;
    const int kept = roundHalfUp(store, cut > 16 ? 16 : static_cast<int>(cut), &decpt);
    fixed(b, store, kept, decpt, static_cast<size_t>(p));
    b->ip.group = group;
  } else {  // g, G
    int p = s.precision < 0 ? 6 : s.precision;
    if (p == 0) p = 1;
    const int n = p < 16 ? p : 16;
    const int decpt = decimalDigits(v, n, store);
    const int x = v == 0 ? 0 : decpt - 1;
    if (x < -4 || x >= p) {
      scientific(b, store, n, static_cast<size_t>(p - 1), x, upper ? 'E' : 'e');
    } else {
      fixed(b, store, n, decpt, static_cast<size_t>(p - 1 - x));
      b->ip.group = group;
    }
    if (!(s.flags & kAlt)) {
      b->fracTrail = 0;
      while (b->fracN > 0 && b->frac[b->fracN - 1] == '0') --b->fracN;
      if (b->fracN == 0) b->fracLead = 0;
    }
  }
  if (b->fracLead + b->fracN + b->fracTrail > 0 || (s.flags & kAlt)) {
    b->point = localePoint(&b->pointLen);
  }
}

}  // namespace detail
}  // namespace ilx::fmt
