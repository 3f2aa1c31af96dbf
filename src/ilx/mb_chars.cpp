// Single characters and whole strings between the multibyte text of a code
// set and wide characters, and byte types.
#include "ilx/mb_chars.h"

#include <climits>
#include <cstring>

#include "lumex/ilx.h"

namespace ilx {
namespace {

inline bool isHigh(uint16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool isLow(uint16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Runs the to-UCS-2 converter on at most n bytes of s with room for `room`
// units; returns the units produced and the bytes consumed.
size_t toUnits(CodeSet *h, const char *s, size_t n, uint16_t *units, size_t room, size_t *consumed) {
  const char *in = s;
  size_t inLeft = n;
  uint16_t *out = units;
  size_t outLeft = room;
  ilx_to_ucs2_r(h, &in, &inLeft, &out, &outLeft);
  *consumed = static_cast<size_t>(in - s);
  return room - outLeft;
}

}  // namespace

int decodeChar(CodeSet *h, uint16_t *wc, const char *s, size_t n) {
  if (asciiCompatible(h) && static_cast<unsigned char>(s[0]) < 0x80) {
    if (wc) *wc = static_cast<unsigned char>(s[0]);
    return s[0] ? 1 : 0;
  }
  uint16_t unit = 0;
  size_t consumed = 0;
  if (toUnits(h, s, n, &unit, 1, &consumed) == 0) return -1;
  if (wc) *wc = unit;
  return unit ? static_cast<int>(consumed) : 0;
}

int charLength(CodeSet *h, const char *s, size_t n) {
  if (!s[0]) return 0;
  if (singleByte(h)) return 1;
  const uint8_t shift = h->toShift;
  const int r = decodeChar(h, nullptr, s, n);
  if (r >= 0) return r;
  // One unit was not enough: a character beyond U+FFFF needs a pair.
  h->toShift = shift;
  uint16_t units[2];
  size_t consumed = 0;
  if (toUnits(h, s, n, units, 2, &consumed) < 2) return -1;
  if (!isHigh(units[0]) || !isLow(units[1])) ++h->subs;  // a broken pair is one substituted character
  return static_cast<int>(consumed);
}

namespace {

// Bytes before the NUL, up to 4, and the window that includes the NUL.
inline size_t bytesBeforeNul(const char *s, size_t *window) {
  size_t n = 0;
  while (n < 4 && s[n]) ++n;
  *window = n < 4 ? n + 1 : 4;
  return n;
}

}  // namespace

int decodeInString(CodeSet *h, uint16_t *wc, const char *s, size_t limit) {
  size_t window = 0;
  const size_t before = bytesBeforeNul(s, &window);
  if (limit < window) window = limit;
  if (window == 0) return -1;
  const int r = decodeChar(h, wc, s, window);
  return r > static_cast<int>(before) ? -1 : r;
}

int lengthInString(CodeSet *h, const char *s) {
  size_t window = 0;
  const size_t before = bytesBeforeNul(s, &window);
  const int r = charLength(h, s, window);
  return r > static_cast<int>(before) ? -1 : r;
}

int encodeChar(CodeSet *h, char *out, uint16_t wc) {
  const uint16_t *in = &wc;
  size_t inLeft = 1;
  char *o = out;
  size_t outLeft = 4;
  const int r = ilx_from_ucs2_r(h, &in, &inLeft, &o, &outLeft);
  if (r != ILX_CONV_DONE || inLeft != 0) return -1;
  return static_cast<int>(4 - outLeft);
}

}  // namespace ilx


namespace {

// Converts ws unit by unit into out (n bytes), never leaving a stateful code
// set inside a double-byte run for want of room for its closing shift code.
int wideToBytes(CodeSet *h, char *out, const uint16_t *ws, size_t n) {
  h->fromShift = 0;
  char *p = out;
  size_t left = n;
  for (; *ws; ++ws) {
    const uint8_t shift = h->fromShift;
    const uint16_t subs = h->subs;
    char bytes[4];
    const int k = ilx::encodeChar(h, bytes, *ws);
    if (k < 0) {
      h->fromShift = 0;
      return -1;
    }
    const size_t need = static_cast<size_t>(k) + (h->fromShift ? 1 : 0);
    if (need > left || static_cast<size_t>(p - out) + k > INT_MAX - 1) {
      h->fromShift = shift;  // this character is not written
      h->subs = subs;
      break;
    }
    std::memcpy(p, bytes, static_cast<size_t>(k));
    p += k;
    left -= static_cast<size_t>(k);
  }
  const uint16_t *none = nullptr;
  size_t noneLeft = 0;
  ilx_from_ucs2_r(h, &none, &noneLeft, &p, &left);  // closing shift code, when needed
  if (left > 0) *p = 0;
  return static_cast<int>(p - out);
}

// Bytes that ws takes in the code set, a closing shift code included.
int countBytes(CodeSet *h, const uint16_t *ws) {
  h->fromShift = 0;
  long total = 0;
  for (; *ws; ++ws) {
    char bytes[4];
    const int k = ilx::encodeChar(h, bytes, *ws);
    if (k < 0 || total + k > INT_MAX - 1) {
      h->fromShift = 0;
      return -1;
    }
    total += k;
  }
  if (h->fromShift) ++total;
  h->fromShift = 0;
  return static_cast<int>(total);
}

}  // namespace

extern "C" {

int ilx_mbtowc(CodeSetT cs, uint16_t *wc, const char *s, size_t n) {
  CodeSet *h = ilx::resolve(cs);
  if (!s) {
    h->toShift = 0;
    return ilx::stateful(h) ? 1 : 0;
  }
  if (n == 0) return -1;
  return ilx::decodeChar(h, wc, s, n);
}

int ilx_wctomb(CodeSetT cs, char *s, uint16_t wc) {
  CodeSet *h = ilx::resolve(cs);
  if (!s) {
    h->fromShift = 0;
    return ilx::stateful(h) ? 1 : 0;
  }
  char bytes[4];
  const int k = ilx::encodeChar(h, bytes, wc);
  if (k > 0) std::memcpy(s, bytes, static_cast<size_t>(k));
  return k;
}

int ilx_mblen(CodeSetT cs, const char *s, size_t n) {
  if (!s) return ilx_mbtowc(cs, nullptr, nullptr, n);
  CodeSet *h = ilx::resolve(cs);
  if (n == 0) return -1;
  return ilx::charLength(h, s, n);
}

int ilx_mbstowcs(CodeSetT cs, uint16_t *out, const char *s, size_t n) {
  CodeSet *h = ilx::resolve(cs);
  if (!s) return -1;
  h->toShift = 0;
  int count = 0;
  uint16_t scratch = 0;
  for (;;) {
    if (out && static_cast<size_t>(count) >= n) break;
    uint16_t *wc = out ? out + count : &scratch;
    const int len = ilx::decodeInString(h, wc, s);
    if (len < 0 || count == INT_MAX) {
      count = -1;
      break;
    }
    if (len == 0) break;
    ++count;
    s += len;
  }
  h->toShift = 0;
  return count;
}

int ilx_wcstombs(CodeSetT cs, char *out, const uint16_t *ws, size_t n) {
  CodeSet *h = ilx::resolve(cs);
  if (!ws) return -1;
  return out ? wideToBytes(h, out, ws, n) : countBytes(h, ws);
}

int ilx_mbsbtype(CodeSetT cs, const char *s, size_t offset) {
  CodeSet *h = ilx::resolve(cs);
  if (!s) return -1;
  ilx::Cursor c(h, s);
  size_t at = 0;
  for (;;) {
    if (c.atEnd()) return -1;  // the NUL, or an offset beyond the string
    const int len = c.rawLength();
    if (at == offset) return len == 1 ? 0 : len >= 2 ? 1 : -1;
    const size_t step = c.step();
    if (offset < at + step) return 2;
    at += step;
    c.next();
  }
}

int ilx_ismbs1st(CodeSetT cs, const char *s, const char *pos) {
  if (!s || !pos || pos < s) return 0;
  return ilx_mbsbtype(cs, s, static_cast<size_t>(pos - s)) == 1 ? 1 : 0;
}

}  // extern "C"
