// The GB 18030 section of a kind 10 table: two range lists (keyed by
// Unicode value and by combined byte index), each with a block index of one
// record number per 512 keys and a value list.
#pragma once

#include "ilx/codeset.h"

namespace ilx {

namespace gb {
constexpr size_t kWordsBytes = 32;  // the six position words, then the lists
constexpr size_t kRecordBytes = 8;  // start, end, type, base
constexpr uint32_t kBlockKeys = 512;
constexpr uint32_t kBlocks = 65536 / kBlockKeys;
// Position words (16-bit units from the section start + 32 bytes).
constexpr size_t kUniRanges = 0, kUniBlocks = 4, kUniValues = 8;
constexpr size_t kIdxRanges = 16, kIdxBlocks = 20, kIdxValues = 24;
// Record types (the third field of a record).
constexpr uint16_t kValueList = 1;  // values from the value list, from the record's base on
constexpr uint16_t kLinear = 2;     // the record's base, counting on with the key
}  // namespace gb

struct GbRangeList {
  const uint8_t *records;
  uint32_t count;
  const uint8_t *blocks;
  const uint8_t *values;
};

// The list whose position words sit at `words` (kUniRanges or kIdxRanges) of
// the section at `g`. The table check guarantees what it points at lies
// inside the image.
inline GbRangeList gbList(const uint8_t *g, size_t words) {
  const uint8_t *base = g + gb::kWordsBytes;
  uint32_t ranges = rd32(g + words), blocks = rd32(g + words + 4), values = rd32(g + words + 8);
  return {base + static_cast<size_t>(ranges) * 2, (blocks - ranges) * 2 / static_cast<uint32_t>(gb::kRecordBytes),
          base + static_cast<size_t>(blocks) * 2, base + static_cast<size_t>(values) * 2};
}

inline const uint8_t *gbSection(const uint8_t *t) { return t + rd16(t + hdr::kGbSection); }

// Finds the record holding key: from the record its block names, forward
// while the key is not below the record's start. Null: no mapping.
inline const uint8_t *gbFind(const GbRangeList &l, uint32_t key) {
  for (uint32_t i = rd16(l.blocks + 2 * (key / gb::kBlockKeys)); i < l.count; ++i) {
    const uint8_t *r = l.records + static_cast<size_t>(i) * gb::kRecordBytes;
    if (key < rd16(r)) break;
    if (key <= rd16(r + 2)) return r;
  }
  return nullptr;
}

constexpr uint32_t kGbNoMapping = 0xFFFFFFFF;

// The mapped value of key in its record: type 1 reads the value list (an
// entry of 0xFFFF: kGbNoMapping), type 2 counts on from the base, type 0
// (and any other) gives 0.
inline uint32_t gbValue(const GbRangeList &l, const uint8_t *r, uint32_t key) {
  uint32_t off = key - rd16(r), base = rd16(r + 6);
  switch (rd16(r + 4)) {
    case gb::kValueList: {
      uint32_t v = rd16(l.values + 2 * (static_cast<size_t>(base) + off));
      return v == 0xFFFF ? kGbNoMapping : v;
    }
    case gb::kLinear:
      return base + off;
    default:
      return 0;
  }
}

}  // namespace ilx
