// The growable string buffer: growth by doubling, appends of bytes, strings,
// UTF-8 characters and decimal numbers, and handing the text out.
#include <cstring>

#include "cx/cx_intl.h"
#include "cx/string_buff.h"
#include "lumex/cx.h"

namespace {

constexpr uint32_t kFirstCapacity = 1024;

// Decimal digits of a magnitude, most significant first, using the given
// zero digit and minus sign (ASCII or EBCDIC). All room is reserved at once,
// so a failure appends nothing.
bool appendDecimal(CxStringBuff *b, uint64_t magnitude, bool negative, char zero, char minus) {
  char digits[32];
  int n = 0;
  do {
    digits[n++] = static_cast<char>(zero + static_cast<char>(magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (!cx::sbReserve(b, static_cast<uint64_t>(n) + (negative ? 1 : 0))) return false;
  char *out = b->data + b->length;
  if (negative) *out++ = minus;
  while (n > 0) *out++ = digits[--n];
  *out = '\0';
  b->length = static_cast<uint32_t>(out - b->data);
  return true;
}

// Magnitude of a signed value as unsigned; the most negative value too.
uint64_t magnitudeOf(int64_t v) {
  return v < 0 ? ~static_cast<uint64_t>(v) + 1 : static_cast<uint64_t>(v);
}

}  // namespace

namespace cx {

bool sbGrow(CxStringBuff *b, uint64_t n) {
  bool fresh = false;
  if (b->data == nullptr) {
    b->data = static_cast<char *>(BasMemoryMalloc(kFirstCapacity));
    if (b->data == nullptr) return false;
    b->capacity = kFirstCapacity;
    b->length = 0;
    b->data[0] = '\0';
    fresh = true;
  }
  const uint64_t needed = uint64_t{b->length} + n + 1;
  if (needed <= b->capacity) return true;
  uint64_t capacity = b->capacity;
  while (capacity <= needed) capacity *= 2;
  void *grown = capacity > UINT32_MAX
                    ? nullptr
                    : BasMemoryRealloc(b->data, static_cast<uint32_t>(capacity));
  if (grown == nullptr) {
    if (fresh) CxStringBuffDiscard(b);  // leave it as it was: never appended to
    return false;
  }
  b->data = static_cast<char *>(grown);
  b->capacity = static_cast<uint32_t>(capacity);
  return true;
}

}  // namespace cx

extern "C" {

int cxStringBuffHasCapacity(CxStringBuff *buff, uint32_t n) {
  return buff != nullptr && cx::sbGrow(buff, n);
}

int CxStringBuffAppendChar(CxStringBuff *buff, char c) {
  return buff != nullptr && cx::sbPut(buff, &c, 1);
}

int CxStringBuffAppendUTF32Char(CxStringBuff *buff, int32_t code) {
  if (buff == nullptr || code < 0) return 0;
  const uint32_t c = static_cast<uint32_t>(code);
  if (c < 0x80) {
    const char byte = static_cast<char>(c);
    return cx::sbPut(buff, &byte, 1);
  }
  // Count of bytes and the lead byte's prefix for each longer form.
  int n;
  unsigned char lead;
  if (c < 0x800) {
    n = 2, lead = 0xC0;
  } else if (c < 0x10000) {
    n = 3, lead = 0xE0;
  } else if (c < 0x200000) {
    n = 4, lead = 0xF0;
  } else if (c < 0x4000000) {
    n = 5, lead = 0xF8;
  } else {
    n = 6, lead = 0xFC;
  }
  char bytes[6];
  uint32_t rest = c;
  for (int i = n - 1; i > 0; --i) {
    bytes[i] = static_cast<char>(0x80 | (rest & 0x3F));
    rest >>= 6;
  }
  bytes[0] = static_cast<char>(lead | rest);
  return cx::sbPut(buff, bytes, static_cast<size_t>(n));
}

int CxStringBuffAppendStr(CxStringBuff *buff, const char *s) {
  return buff != nullptr && s != nullptr && cx::sbPut(buff, s, std::strlen(s));
}

int CxStringBuffAppendStrN(CxStringBuff *buff, const char *s, int32_t count) {
  if (buff == nullptr || s == nullptr || count < -1) return 0;
  const size_t n = count == -1 ? std::strlen(s) : strnlen(s, static_cast<size_t>(count));
  return cx::sbPut(buff, s, n);
}

int CxStringBuffAppendInt32(CxStringBuff *buff, int32_t value) {
  return CxStringBuffAppendInt64(buff, value);
}

int CxStringBuffAppendInt64(CxStringBuff *buff, int64_t value) {
  return buff != nullptr && appendDecimal(buff, magnitudeOf(value), value < 0, '0', '-');
}

int CxStringBuffAppendUInt64(CxStringBuff *buff, uint64_t value) {
  return buff != nullptr && appendDecimal(buff, value, false, '0', '-');
}

int CxStringBuffAppendEBCDICInt64(CxStringBuff *buff, int64_t value) {
  return buff != nullptr && appendDecimal(buff, magnitudeOf(value), value < 0,
                                          static_cast<char>(0xF0), static_cast<char>(0x60));
}

char *CxStringBuffPeekStr(CxStringBuff *buff) { return buff != nullptr ? buff->data : nullptr; }

char *CxStringBuffCopyStr(CxStringBuff *buff) {
  if (buff == nullptr || buff->data == nullptr) return nullptr;
  char *copy = static_cast<char *>(BasMemoryMalloc(buff->length + 1));
  if (copy != nullptr) std::memcpy(copy, buff->data, buff->length + 1);
  return copy;
}

char *CxStringBuffTakeStr(CxStringBuff *buff) {
  if (buff == nullptr) return nullptr;
  char *text = buff->data;
  *buff = CxStringBuff{};
  return text;
}

void CxStringBuffRestart(CxStringBuff *buff) {
  if (buff == nullptr || buff->data == nullptr) return;
  buff->length = 0;
  buff->data[0] = '\0';
}

void CxStringBuffDiscard(CxStringBuff *buff) {
  if (buff == nullptr) return;
  BasMemoryFree(buff->data);
  *buff = CxStringBuff{};
}

int CxStringBuffPack(CxStringBuff *buff) {
  if (buff == nullptr) return 0;
  if (buff->length == 0) {
    CxStringBuffDiscard(buff);
    return 1;
  }
  if (buff->capacity == buff->length + 1) return 0;
  void *packed = BasMemoryRealloc(buff->data, buff->length + 1);
  if (packed == nullptr) return 0;
  buff->data = static_cast<char *>(packed);
  buff->capacity = buff->length + 1;
  return 1;
}

}  // extern "C"
