// Code set handles, conversion table layout and the services' process-wide
// state, shared by the set-up, the table loader and the converters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ilx/os_codeset.h"
#include "lumex/ilx.h"

// The handle record behind CodeSetT.
struct CodeSet {
  ConvTableT *table;      // whole table image, null for the built-in handles
  uint16_t kind;          // converter kind (ilx::Kind)
  char name[32];          // from the table's name field
  uint16_t subs;          // substitutions made since the last ilx_check_subs
  uint8_t borrowed;       // set in a duplicate: the table belongs to another handle
  uint16_t hdr56, hdr62;  // header values kept with the handle
  uint8_t hdr64[16];
  uint8_t toShift;        // 1 inside a double-byte run of the input (toward Unicode)
  uint8_t fromShift;      // 1 inside a double-byte run of the output (from Unicode)
  uint32_t tableSize;
};

namespace ilx {

// Converter kinds, as table headers store them. Their properties are the
// rows of kKinds below.
enum Kind : uint16_t {
  kAsciiSbcs = 1,
  kAsciiDbcs = 2,
  kAsciiMbcs = 3,
  kEbcdicDbcs = 4,
  kUtf8 = 6,
  kEbcdicSbcs = 8,
  kOs = 9,
  kGb18030 = 10,
};

// What the bytes below 0x80 are: one-byte characters equal to their Unicode
// value (kAscii), EBCDIC, or whatever the locale makes them.
enum class KindBase : uint8_t { kAscii, kEbcdic, kLocale };
// How many bytes a character takes: always one, one or two, one to four,
// or as the locale has it.
enum class KindWidth : uint8_t { kSingle, kDouble, kMulti, kLocale };
// The parts of a table image the kind's converters follow, and so what the
// table check looks at. kNone: the kind converts without a table.
enum class TableLayout : uint8_t {
  kNone,
  kSbcsRows,        // single-byte from-Unicode rows
  kDbcsRows,        // double-byte rows, lead bytes by byte class
  kEbcdicDbcsRows,  // double-byte rows for every lead 0x40-0xFE
  kMbcsTrie,        // multi-byte rows, prefix records and to-Unicode tries
  kGbSection,       // the GB 18030 section
};

// The four converters of a kind, as the dispatchers choose them.
struct Converters {
  int (*toUcs2)(CodeSetT, const char **, const char *, uint16_t **, uint16_t *);
  int (*fromUcs2)(CodeSetT, const uint16_t **, const uint16_t *, char **, char *);
  int (*toUtf8)(CodeSetT, const char **, const char *, char **, char *);
  int (*fromUtf8)(CodeSetT, const char **, const char *, char **, char *);
};

// One converter kind: its properties and its four converters.
struct KindInfo {
  uint16_t kind;
  KindBase base;
  KindWidth width;
  bool shiftStates;  // shift codes switch between one- and two-byte runs
  TableLayout layout;
  Converters converters;
};

#define ILX_KIND_CONVERTERS(family) \
  {family##_to_ucs2_r, family##_from_ucs2_r, family##_to_utf8_r, family##_from_utf8_r}

// Every converter kind, one row each. A table kind whose handle has no table
// converts byte for byte; a kind not listed here behaves as kOs.
inline constexpr KindInfo kKinds[] = {
    {kAsciiSbcs, KindBase::kAscii, KindWidth::kSingle, false, TableLayout::kSbcsRows,
     ILX_KIND_CONVERTERS(ascii_sbcs)},
    {kAsciiDbcs, KindBase::kAscii, KindWidth::kDouble, false, TableLayout::kDbcsRows,
     ILX_KIND_CONVERTERS(ascii_dbcs)},
    {kAsciiMbcs, KindBase::kAscii, KindWidth::kMulti, false, TableLayout::kMbcsTrie,
     ILX_KIND_CONVERTERS(ascii_mbcs)},
    {kEbcdicDbcs, KindBase::kEbcdic, KindWidth::kDouble, true, TableLayout::kEbcdicDbcsRows,
     ILX_KIND_CONVERTERS(ebcdic_dbcs)},
    {kUtf8, KindBase::kAscii, KindWidth::kMulti, false, TableLayout::kNone,
     {utf8_to_ucs2_r, utf8_from_ucs2_r, utf8_to_utf8_r, utf8_to_utf8_r}},
    {kEbcdicSbcs, KindBase::kEbcdic, KindWidth::kSingle, false, TableLayout::kSbcsRows,
     ILX_KIND_CONVERTERS(ebcdic_sbcs)},
    {kOs, KindBase::kLocale, KindWidth::kLocale, false, TableLayout::kNone,
     ILX_KIND_CONVERTERS(os)},
    {kGb18030, KindBase::kAscii, KindWidth::kMulti, false, TableLayout::kGbSection,
     ILX_KIND_CONVERTERS(ascii_gb18030)},
};

#undef ILX_KIND_CONVERTERS

constexpr size_t kKindCount = sizeof kKinds / sizeof kKinds[0];

namespace kinds {
// Kind values below kSlots find their row through kRowOf; the rest, and
// values without a row, get the kOs row.
constexpr size_t kSlots = 16;
constexpr size_t rowOf(uint16_t kind) {
  for (size_t i = 0; i < kKindCount; ++i)
    if (kKinds[i].kind == kind) return i;
  return kKindCount;
}
constexpr size_t kOsRow = rowOf(kOs);
struct RowIndex {
  uint8_t row[kSlots];
};
constexpr RowIndex makeRowIndex() {
  RowIndex ix{};
  for (size_t k = 0; k < kSlots; ++k) {
    size_t r = rowOf(static_cast<uint16_t>(k));
    ix.row[k] = static_cast<uint8_t>(r < kKindCount ? r : kOsRow);
  }
  return ix;
}
inline constexpr RowIndex kRowOf = makeRowIndex();
constexpr bool rowsValid() {
  for (size_t i = 0; i < kKindCount; ++i)
    if (kKinds[i].kind >= kSlots || rowOf(kKinds[i].kind) != i) return false;
  return kOsRow < kKindCount;
}
static_assert(rowsValid(), "one row per kind, each below kSlots, and a kOs row");
}  // namespace kinds

// The row of a converter kind; the kOs row for a kind that has none.
inline const KindInfo &kindInfo(uint16_t kind) {
  return kKinds[kind < kinds::kSlots ? kinds::kRowOf.row[kind] : kinds::kOsRow];
}

// Table header layout. All multi-byte fields are little-endian.
namespace hdr {
constexpr size_t kDataOffset = 0;    // u32: offset of the mapping data area D
constexpr size_t kMagic = 8;         // "ucv"
constexpr size_t kName = 16;         // NUL-terminated, at most 31 characters
constexpr size_t kGbSection = 38;    // u16: offset of the GB 18030 section
constexpr size_t kKind = 48;         // u16
constexpr size_t kMarker = 50;       // u16: kEbcdicSbcsMarker for EBCDIC single-byte
constexpr size_t kKeep56 = 56;       // u16 kept in the handle
constexpr size_t kSubsUnicode = 58;  // u16: the Unicode value that really maps to the sub byte
constexpr size_t kSubsByte = 60;     // u8: what unmapped Unicode values map to
constexpr size_t kKeep62 = 62;       // u16 kept in the handle
constexpr size_t kKeep64 = 64;       // 16 bytes kept in the handle
constexpr size_t kFromRows = 224;    // 256 x u16 row offsets (4-byte units from D), by high byte
constexpr size_t kToEntries = 736;   // 256 x u16 to-Unicode entries, by (lead) byte
constexpr size_t kClasses = 1248;    // 256 x u8 byte classes
constexpr size_t kMinSize = 1760;    // smallest table image
constexpr uint16_t kEbcdicSbcsMarker = 0x1100;
}  // namespace hdr

// Result of the converters.
enum Result : int { kDone = ILX_CONV_DONE, kFull = ILX_CONV_FULL, kCut = ILX_CONV_CUT };

inline uint16_t rd16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t rd32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The converter kind of a table image: kEbcdicSbcs when the marker says so,
// else the kind field.
inline uint16_t tableKind(const uint8_t *image) {
  return rd16(image + hdr::kMarker) == hdr::kEbcdicSbcsMarker ? uint16_t(kEbcdicSbcs)
                                                                : rd16(image + hdr::kKind);
}

// The built-in handles.
CodeSet *utf8Handle();
CodeSet *osHandle();
bool isBuiltin(const CodeSet *cs);

// The default code set, setting the services up first when needed.
CodeSet *defaultCs();
// cs, or the default code set for null.
inline CodeSet *resolve(CodeSetT cs) { return cs != nullptr ? cs : defaultCs(); }

// Checks a table image: header fields consistent and every row, trie node,
// prefix record and GB 18030 record a converter of the image's kind could
// follow inside the image. kind receives the converter kind.
bool checkTable(const uint8_t *image, size_t size, uint16_t *kind);

// Reads the table for a normalized name (or a path) along the table
// directories, following alias files. The image comes from the allocator
// family (BasMemoryFree).
bool loadTable(const char *name, uint8_t **image, size_t *size);

// Normalizes a code set name into buf; false when it does not fit.
bool normalizeName(const char *name, char *buf, size_t size);

// Process-wide state of the services.
struct Services {
  bool initialized;
  CodeSet *defaultCs;
  CodeSet *osCs;
  CodeSet *initDefault;  // handles ilx_init made, until freed
  CodeSet *initOs;
  char *ilxdirEnv;       // "ILXDIR=..." handed to the environment
  char *nlspathEnv;      // "NLSPATH=..." handed to the environment
};
Services &services();

// Puts "NAME=value" into the environment, keeping the text in slot and
// freeing the previous one. False when memory runs out.
bool putEnvText(char *&slot, const char *var, const char *value);
// Releases a text of putEnvText, leaving a copy of the value in the
// environment so that nothing points at freed memory.
void releaseEnvText(char *&slot);

}  // namespace ilx
