// The check of a table image before any converter may use it: everything a
// converter of the image's kind can reach must lie inside the image.
#include "ilx/gb18030_section.h"
#include "ilx/memory.h"
#include "ilx/table_rows.h"

namespace ilx {
namespace {

// Whether [offset, offset + len) lies inside an image of `size` bytes.
bool inside(uint64_t offset, uint64_t len, size_t size) {
  return offset <= size && len <= size - offset;
}

struct Image {
  const uint8_t *t;
  size_t size;
  uint64_t d;  // offset of the mapping data area

  bool rowInside(uint32_t row, size_t rowBytes) const {
    return inside(d + static_cast<uint64_t>(row) * 4, rowBytes, size);
  }
  bool allFromRowsInside(size_t rowBytes) const {
    for (uint32_t hi = 0; hi < 256; ++hi)
      if (!rowInside(fromRowOffset(t, hi), rowBytes)) return false;
    return true;
  }
};

bool checkDbcs(const Image &im) {
  if (!im.rowInside(toEntry(im.t, 0), kDbcsRowBytes)) return false;
  for (uint32_t b = 0x80; b < 256; ++b)
    if (byteClass(im.t, b) == 2 && !im.rowInside(toEntry(im.t, b), kDbcsRowBytes)) return false;
  return im.allFromRowsInside(kDbcsRowBytes);
}

bool checkEbcdicDbcs(const Image &im) {
  if (!im.rowInside(toEntry(im.t, 0), kDbcsRowBytes)) return false;
  for (uint32_t b = 0x40; b <= 0xFE; ++b)
    if (!im.rowInside(toEntry(im.t, b), kDbcsRowBytes)) return false;
  return im.allFromRowsInside(kDbcsRowBytes);
}

// Multi-byte: the from-Unicode pairs and their prefix records, and every
// trie node a character of its lead byte's length can reach.
bool checkMbcs(const Image &im) {
  if (!im.allFromRowsInside(kMbcsRowBytes)) return false;
  const uint8_t *d = im.t + im.d;
  for (uint32_t hi = 0; hi < 256; ++hi) {
    const uint8_t *row = d + static_cast<size_t>(fromRowOffset(im.t, hi)) * 4;
    for (uint32_t lo = 0; lo < 256; ++lo) {
      uint32_t prefix = rd16(row + 4 * lo), code = rd16(row + 4 * lo + 2);
      if (code < 0x100 || prefix == 0xFFFF) continue;
      uint64_t rec = im.d + static_cast<uint64_t>(prefix) * kPrefixRecordBytes;
      if (!inside(rec, kPrefixRecordBytes, im.size)) return false;
      if (rd16(im.t + rec + kPrefixRecordBytes - 2) > kMaxPrefixBytes) return false;
    }
  }
  // deepest[node]: the most further bytes with which the node has been
  // checked; a node is only revisited when reached with more to go.
  uint8_t *deepest = allocateZeroed<uint8_t>(65536);
  uint32_t *stack = allocate<uint32_t>(65536 * 2);
  bool ok = deepest != nullptr && stack != nullptr;
  for (uint32_t b = 0x80; ok && b < 256; ++b) {
    uint32_t n = byteClass(im.t, b);
    if (n < 2 || n == 255) continue;
    size_t top = 0;
    stack[top++] = (static_cast<uint32_t>(toEntry(im.t, b)) << 8) | (n - 1);
    while (ok && top > 0) {
      uint32_t item = stack[--top], node = item >> 8, more = item & 0xFF;
      if (node == 0xFFFF || more == 0 || deepest[node] >= more) continue;
      deepest[node] = static_cast<uint8_t>(more);
      uint64_t rec = im.d + static_cast<uint64_t>(node) * 4;
      if (!inside(rec, 4, im.size)) {
        ok = false;
        break;
      }
      uint32_t count = rd16(im.t + rec);
      if (!inside(rec + 4, static_cast<uint64_t>(count) * 2, im.size)) {
        ok = false;
        break;
      }
      if (more == 1) continue;  // its children are values
      for (uint32_t c = 0; c < count; ++c) {
        uint32_t child = rd16(im.t + rec + 4 + 2 * c);
        if (child == 0xFFFF || deepest[child] >= more - 1) continue;
        if (top == 65536 * 2) {  // never with distinct nodes; be safe
          ok = false;
          break;
        }
        stack[top++] = (child << 8) | (more - 1);
      }
    }
  }
  BasMemoryFree(deepest);
  BasMemoryFree(stack);
  return ok;
}

bool checkGbList(const Image &im, uint64_t base, const uint8_t *g, size_t words) {
  uint64_t ranges = rd32(g + words), blocks = rd32(g + words + 4), values = rd32(g + words + 8);
  if (blocks < ranges) return false;
  uint64_t recBytes = (blocks - ranges) * 2;
  uint64_t count = recBytes / gb::kRecordBytes;
  if (count > 0xFFFF || !inside(base + ranges * 2, recBytes, im.size)) return false;
  if (!inside(base + blocks * 2, gb::kBlocks * 2, im.size)) return false;
  for (uint32_t i = 0; i < gb::kBlocks; ++i)
    if (rd16(im.t + base + blocks * 2 + 2 * i) > count) return false;
  for (uint64_t i = 0; i < count; ++i) {
    const uint8_t *r = im.t + base + ranges * 2 + i * gb::kRecordBytes;
    uint32_t start = rd16(r), end = rd16(r + 2), type = rd16(r + 4), first = rd16(r + 6);
    if (end < start) return false;
    if (type == gb::kValueList && !inside(base + (values + first + (end - start)) * 2, 2, im.size)) return false;
  }
  return true;
}

bool checkGb18030(const Image &im) {
  uint64_t g = rd16(im.t + hdr::kGbSection);
  if (!inside(g, gb::kWordsBytes, im.size)) return false;
  uint64_t base = g + gb::kWordsBytes;
  return checkGbList(im, base, im.t + g, gb::kUniRanges) &&
         checkGbList(im, base, im.t + g, gb::kIdxRanges);
}

}  // namespace

bool checkTable(const uint8_t *t, size_t size, uint16_t *kind) {
  if (t == nullptr || size < hdr::kMinSize || std::memcmp(t + hdr::kMagic, "ucv", 3) != 0)
    return false;
  uint16_t k = tableKind(t);
  if (kind != nullptr) *kind = k;
  Image im{t, size, rd32(t + hdr::kDataOffset)};
  if (im.d > size) return false;
  switch (kindInfo(k).layout) {
    case TableLayout::kSbcsRows:
      return im.allFromRowsInside(kSbcsRowBytes);
    case TableLayout::kDbcsRows:
      return checkDbcs(im);
    case TableLayout::kMbcsTrie:
      return checkMbcs(im);
    case TableLayout::kEbcdicDbcsRows:
      return checkEbcdicDbcs(im);
    case TableLayout::kGbSection:
      return checkGb18030(im);
    case TableLayout::kNone:
      break;
  }
  return true;  // byte for byte or UTF-8: nothing in the image is read
}

}  // namespace ilx
