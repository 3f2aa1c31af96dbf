// Case and classification tables of the wide character functions.
//
// The data is generated in the build (tools/wchar_tables) from the Unicode
// character database that ICU carries; this header fixes the layout that the
// generated source fills and that wide_case.cpp and wide_class.cpp read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ilx {

// --- Case mapping --------------------------------------------------------
// Mapped value = value + delta; delta 0 = unchanged. Only simple (one to one)
// mappings whose delta fits a signed byte are kept; others stay unchanged.

// Values 0x000-0x1FF, one table per direction.
extern const int8_t kToUpperLow[0x200];
extern const int8_t kToLowerLow[0x200];

// Values above 0x1FF: ascending, disjoint ranges, each with a delta for every
// value from first to last inclusive. A value outside every range is unchanged.
struct CaseRange {
  uint16_t first;
  uint16_t last;
  const int8_t *delta;  // last - first + 1 entries
};
extern const CaseRange kToUpperRanges[];
extern const size_t kToUpperRangeCount;
extern const CaseRange kToLowerRanges[];
extern const size_t kToLowerRangeCount;

// --- Classification ------------------------------------------------------
// Class bits of a record's mask.
enum : uint16_t {
  kClassUpper = 0x0001,
  kClassLower = 0x0002,
  kClassDigit = 0x0004,
  kClassSpace = 0x0008,
  kClassPunct = 0x0010,
  kClassCntrl = 0x0020,
  kClassBlank = 0x0040,
  kClassXdigit = 0x0080,
  kClassAlpha = 0x0100,
  kClassAlnum = 0x0200,
  kClassGraph = 0x0400,
  kClassPrint = 0x0800,
};

// The property record of a wide character: its class mask and its Unicode
// general category, numbered as ICU's UCharCategory (0 unassigned, 1 Lu,
// 2 Ll, 3 Lt, 4 Lm, 5 Lo, 6 Mn, 7 Me, 8 Mc, 9 Nd, 10 Nl, 11 No, 12 Zs,
// 13 Zl, 14 Zp, 15 Cc, 16 Cf, 17 Co, 18 Cs, 19 Pd, 20 Ps, 21 Pe, 22 Pc,
// 23 Po, 24 Sm, 25 Sc, 26 Sk, 27 So, 28 Pi, 29 Pf).
struct WideClassRecord {
  uint16_t mask;
  uint8_t category;
};

// Values below 0x200: kClassLowIndex[c] is the number of c's record in
// kClassLowRecords.
extern const uint8_t kClassLowIndex[0x200];
extern const WideClassRecord kClassLowRecords[];
extern const size_t kClassLowRecordCount;

// All values (used above 0x1FF): kClassBlockIndex[c >> 8] is either a record
// number below 256 that holds for the whole block of 256 values, or 256 + k
// for the second-level block k, whose 256 record numbers start at
// kClassBlocks[k * 256] and are indexed by c & 0xFF. Records: kClassRecords.
extern const uint16_t kClassBlockIndex[256];
extern const uint8_t kClassBlocks[];
extern const size_t kClassBlockCount;
extern const WideClassRecord kClassRecords[];
extern const size_t kClassRecordCount;

// Unicode version of the data the tables were generated from.
extern const char kWideTablesUnicodeVersion[];

}  // namespace ilx
