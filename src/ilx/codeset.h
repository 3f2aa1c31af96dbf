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

// Converter kinds; any other value converts byte for byte.
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
// directories, following alias files. The image is malloc'ed.
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
