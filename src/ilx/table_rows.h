// Reading the parts of a conversion table image that the converters and
// the table check share. Row offsets count 4-byte units from the mapping
// data area D.
#pragma once

#include "ilx/codeset.h"

namespace ilx {

inline const uint8_t *dataArea(const uint8_t *t) { return t + rd32(t + hdr::kDataOffset); }
inline uint16_t fromRowOffset(const uint8_t *t, uint32_t high) {
  return rd16(t + hdr::kFromRows + 2 * high);
}
inline uint16_t toEntry(const uint8_t *t, uint32_t byte) {
  return rd16(t + hdr::kToEntries + 2 * byte);
}
inline uint8_t byteClass(const uint8_t *t, uint32_t byte) { return t[hdr::kClasses + byte]; }

// The 16-bit entry for `index` in the row at `row` (double-byte rows).
inline uint16_t rowEntry16(const uint8_t *d, uint32_t row, uint32_t index) {
  return rd16(d + static_cast<size_t>(row) * 4 + 2 * index);
}

// Single-byte mapping from Unicode through the table rows: a value whose
// byte is the substitution byte without really mapping to it (and U+FFFF,
// and anything beyond the BMP) gives `written` and sets sub.
inline uint8_t singleByteFor(const uint8_t *t, const uint8_t *d, uint32_t cp, uint8_t written,
                             bool &sub) {
  if (cp > 0xFFFF) {
    sub = true;
    return written;
  }
  uint8_t b = d[static_cast<size_t>(fromRowOffset(t, cp >> 8)) * 4 + (cp & 0xFF)];
  if (b == t[hdr::kSubsByte] && (cp != rd16(t + hdr::kSubsUnicode) || cp == 0xFFFF)) {
    sub = true;
    return written;
  }
  return b;
}

// Size of one from-Unicode row by family, in bytes.
constexpr size_t kSbcsRowBytes = 256;
constexpr size_t kDbcsRowBytes = 512;
constexpr size_t kMbcsRowBytes = 1024;
constexpr size_t kPrefixRecordBytes = 16;
constexpr uint32_t kMaxPrefixBytes = 14;

}  // namespace ilx
