// Internal fast paths of the string buffer, shared by the printf engine:
// reserving room and writing bytes without going through the exported calls.
#pragma once

#include <cstdint>
#include <cstring>

#include "lumex/cx.h"

namespace cx {

// Makes room for n more bytes and the terminator (the growth rule of
// cxStringBuffHasCapacity). The common case, room already there, is inline.
bool sbGrow(CxStringBuff *b, uint64_t n);
inline bool sbReserve(CxStringBuff *b, uint64_t n) {
  if (b->data != nullptr && uint64_t{b->length} + n + 1 <= b->capacity) return true;
  return sbGrow(b, n);
}

// Appends n bytes; the text stays terminated.
inline bool sbPut(CxStringBuff *b, const char *p, size_t n) {
  if (n == 0 && b->data != nullptr) return true;
  if (!sbReserve(b, n)) return false;
  std::memcpy(b->data + b->length, p, n);
  b->length += static_cast<uint32_t>(n);
  b->data[b->length] = '\0';
  return true;
}

// Appends n copies of c.
inline bool sbFill(CxStringBuff *b, char c, size_t n) {
  if (n == 0 && b->data != nullptr) return true;
  if (!sbReserve(b, n)) return false;
  std::memset(b->data + b->length, c, n);
  b->length += static_cast<uint32_t>(n);
  b->data[b->length] = '\0';
  return true;
}

// Output target of the value formatters (printf_format.h) over a buffer;
// nothing is appended that would take the text beyond `end` bytes.
struct BuffSink {
  CxStringBuff *buff;
  uint64_t end = UINT64_MAX;
  bool fits(size_t n) const { return n <= end - buff->length; }
  bool put(const char *p, size_t n) { return fits(n) && sbPut(buff, p, n); }
  bool fill(char c, size_t n) { return fits(n) && sbFill(buff, c, n); }
};

}  // namespace cx
