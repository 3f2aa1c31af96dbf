// Case mapping of wide characters through the generated delta tables.
#include "ilx/wide_case.h"

#include <cstdint>

#include "ilx/wchar_tables.h"
#include "lumex/ilx.h"

namespace ilx {
namespace {

// Values up to 0x1FF use the low table; above, the first range whose last
// value is not below c decides, and c below that range's first value is
// unchanged.
inline uint16_t mapCase(uint16_t c, const int8_t *low, const CaseRange *ranges, size_t count) {
  if (c < 0x200) return static_cast<uint16_t>(c + low[c]);
  for (size_t i = 0; i < count; ++i) {
    const CaseRange &r = ranges[i];
    if (r.last < c) continue;
    return c < r.first ? c : static_cast<uint16_t>(c + r.delta[c - r.first]);
  }
  return c;
}

}  // namespace

uint16_t toUpper(uint16_t c) { return mapCase(c, kToUpperLow, kToUpperRanges, kToUpperRangeCount); }

uint16_t toLower(uint16_t c) { return mapCase(c, kToLowerLow, kToLowerRanges, kToLowerRangeCount); }

}  // namespace ilx

namespace {

uint16_t *mapString(uint16_t *s, uint16_t (*map)(uint16_t)) {
  if (s) {
    for (uint16_t *p = s; *p; ++p) *p = map(*p);
  }
  return s;
}

}  // namespace

extern "C" {

uint16_t ilx_towupper(const char *, uint16_t c) { return ilx::toUpper(c); }

uint16_t ilx_towlower(const char *, uint16_t c) { return ilx::toLower(c); }

uint16_t *ilx_wcsupper(const char *, uint16_t *s) { return mapString(s, ilx::toUpper); }

uint16_t *ilx_wcslower(const char *, uint16_t *s) { return mapString(s, ilx::toLower); }

int ilx_wcsicmp(CodeSetT, const char *locale, const uint16_t *a, const uint16_t *b) {
  return ilx_wcsnicmp(locale, a, b, SIZE_MAX);
}

int ilx_wcsnicmp(const char *, const uint16_t *a, const uint16_t *b, size_t n) {
  static const uint16_t empty[1] = {0};
  if (!a) a = empty;
  if (!b) b = empty;
  for (size_t i = 0; i < n; ++i) {
    if (!a[i] || !b[i]) return static_cast<int>(a[i]) - static_cast<int>(b[i]);
    const int d = static_cast<int>(ilx::toLower(a[i])) - static_cast<int>(ilx::toLower(b[i]));
    if (d != 0) return d;
  }
  return 0;
}

}  // extern "C"
