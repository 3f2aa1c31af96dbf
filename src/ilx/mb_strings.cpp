// Multibyte string functions that step over whole characters of a code set:
// case mapping and case-insensitive compares, searches, tokens and bounded
// copies.
#include <cstdint>
#include <cstring>

#include "ilx/mb_chars.h"
#include "ilx/memory.h"
#include "ilx/wide_case.h"
#include "lumex/ilx.h"

using ilx::Cursor;

namespace {

inline unsigned char ub(char c) { return static_cast<unsigned char>(c); }

// Maps the case of every character of s in place.
char *mapCase(CodeSetT cs, char *s, uint16_t (*map)(uint16_t)) {
  if (!s) return s;
  CodeSet *h = ilx::resolve(cs);
  const bool ascii = ilx::asciiCompatible(h);
  const uint8_t fromShift = h->fromShift;
  for (Cursor c(h, s); !c.atEnd(); c.next()) {
    char *p = const_cast<char *>(c.pos());
    if (ascii && c.byte() < 0x80) {
      *p = static_cast<char>(map(c.byte()));
      continue;
    }
    uint16_t wc = 0;
    uint8_t state = 0;
    const int len = c.decode(&wc, 4, &state);
    if (len <= 0) break;
    const uint16_t mapped = map(wc);
    if (mapped == wc) continue;
    // Encode in the shift state the character was read in, so that its shift
    // code (if any) comes out the same. A mapped character that the code set
    // cannot hold (substituted) leaves the original in place.
    char bytes[4];
    const uint16_t subs = h->subs;
    h->fromShift = state;
    const int k = ilx::encodeChar(h, bytes, mapped);
    if (h->subs != subs) {
      h->subs = subs;
    } else if (k == len) {
      std::memcpy(p, bytes, static_cast<size_t>(len));
    }
  }
  h->fromShift = fromShift;
  return s;
}

// Characters that do not decode to one unit (beyond U+FFFF, or invalid)
// compare byte for byte as whole characters; stops at the first difference
// or at a NUL both share, so neither string is read past its end.
// At most limit bytes are compared.
int compareBytes(Cursor &a, Cursor &b, size_t limit) {
  const char *p = a.pos(), *q = b.pos();
  size_t n = a.step() > b.step() ? a.step() : b.step();
  if (limit < n) n = limit;
  for (size_t i = 0; i < n; ++i) {
    if (p[i] != q[i]) return ub(p[i]) - ub(q[i]);
    if (!p[i]) break;
  }
  return 0;
}

// Case-insensitive compare; counted when limit is non-null (bytes of s1).
int compareNoCase(CodeSetT cs, const char *s1, const char *s2, const size_t *limit) {
  if (!s1) s1 = "";
  if (!s2) s2 = "";
  CodeSet *h = ilx::resolve(cs);
  const bool ascii = ilx::asciiCompatible(h);
  size_t left = limit ? *limit : 0;
  Cursor a(h, s1), b(h, s2);
  for (;;) {
    if (limit && left == 0) return 0;
    if (a.atEnd() || b.atEnd()) return a.byte() - b.byte();
    int d;
    if (ascii && a.byte() < 0x80 && b.byte() < 0x80) {
      d = ilx::toLower(a.byte()) - ilx::toLower(b.byte());
    } else {
      const size_t window = limit ? left : 4;
      uint16_t wa = 0, wb = 0;
      const int la = a.decode(&wa, window), lb = b.decode(&wb, window);
      d = la > 0 && lb > 0 ? ilx::toLower(wa) - ilx::toLower(wb) : compareBytes(a, b, limit ? left : SIZE_MAX);
    }
    if (d != 0) return d;
    const size_t step = a.step();
    left = step < left ? left - step : 0;
    // Each string moves over its own character, so that neither steps past
    // its NUL when equal characters have different lengths.
    a.next();
    b.next();
  }
}

// True when the character at c (len bytes) is one of the characters of set.
bool inSet(CodeSet *h, const char *set, const char *p, size_t len) {
  for (Cursor s(h, set); !s.atEnd(); s.next()) {
    if (s.step() == len && std::memcmp(s.pos(), p, len) == 0) return true;
  }
  return false;
}

// Moves c to the first character that is (or, with inside false, is not) in
// set, or to the NUL.
Cursor skipWhile(Cursor c, const char *set, bool inside, CodeSet *h) {
  if (!set) set = "";
  while (!c.atEnd() && inSet(h, set, c.pos(), c.step()) == inside) c.next();
  return c;
}

inline const char *skipWhile(CodeSet *h, const char *s, const char *set, bool inside) {
  return skipWhile(Cursor(h, s), set, inside, h).pos();
}

// Byte copy of at most n bytes of src that ends on a character boundary of
// a multi-byte code set; the rest of the n bytes is filled with NULs.
// Returns the bytes copied.
size_t copyWhole(CodeSet *h, char *dst, const char *src, size_t n) {
  size_t len = 0;
  if (ilx::singleByte(h)) {
    while (len < n && src[len]) ++len;
  } else {
    for (Cursor c(h, src); !c.atEnd() && len + c.step() <= n; c.next()) len += c.step();
  }
  std::memmove(dst, src, len);
  std::memset(dst + len, 0, n - len);
  return len;
}

// Bounded copy of src into n bytes at dst: whole characters only; through
// wide characters so that a stateful code set gets its closing shift code.
// Returns the bytes copied (without NUL padding).
size_t boundedCopy(CodeSetT cs, char *dst, const char *src, size_t n) {
  CodeSet *h = ilx::resolve(cs);
  const size_t srcLen = std::strlen(src);
  if (ilx::singleByte(h) || srcLen < n) return copyWhole(h, dst, src, n);
  uint16_t *wide = ilx::allocate<uint16_t>(srcLen + 1);
  int written = -1;
  if (wide && ilx_mbstowcs(h, wide, src, srcLen + 1) >= 0) written = ilx_wcstombs(h, dst, wide, n);
  BasMemoryFree(wide);
  if (written < 0) return copyWhole(h, dst, src, n);
  const size_t len = static_cast<size_t>(written);
  std::memset(dst + len, 0, n - len);
  return len;
}

}  // namespace

extern "C" {

char *ilx_strlower(CodeSetT cs, const char *, char *s) { return mapCase(cs, s, ilx::toLower); }

char *ilx_strupper(CodeSetT cs, const char *, char *s) { return mapCase(cs, s, ilx::toUpper); }

int ilx_stricmp(CodeSetT cs, const char *, const char *s1, const char *s2) {
  return compareNoCase(cs, s1, s2, nullptr);
}

int ilx_strnicmp(CodeSetT cs, const char *, const char *s1, const char *s2, size_t n) {
  return compareNoCase(cs, s1, s2, &n);
}

char *ilx_strncpy(CodeSetT cs, char *dst, const char *src, size_t n) {
  if (!dst || !src) return dst;
  boundedCopy(cs, dst, src, n);
  return dst;
}

char *ilx_strncat(CodeSetT cs, char *dst, const char *src, size_t n) {
  if (!dst || !src) return dst;
  char *end = dst + std::strlen(dst);
  end[boundedCopy(cs, end, src, n)] = 0;
  return dst;
}

size_t ilx_strnlen(CodeSetT cs, const char *s, size_t n) {
  if (!s) return 0;
  CodeSet *h = ilx::resolve(cs);
  size_t total = 0;
  uint8_t shift = 0;
  while (total < n && s[total]) {
    // Never look beyond the n bytes: the string need not be terminated there.
    size_t window = 0;
    while (window < 4 && total + window < n && s[total + window]) ++window;
    const uint8_t saved = h->toShift;
    h->toShift = shift;
    const int len = ilx::charLength(h, s + total, window);
    shift = h->toShift;
    h->toShift = saved;
    if (len < 0 && total + window == n) break;  // the character does not fit
    const size_t step = len > 0 ? static_cast<size_t>(len) : 1;
    if (total + step > n) break;
    total += step;
  }
  return total;
}

char *ilx_strchr(CodeSetT cs, const char *s, int c) {
  if (!s) return nullptr;
  for (Cursor p(ilx::resolve(cs), s);; p.next()) {
    if (p.byte() == ub(static_cast<char>(c))) return const_cast<char *>(p.pos());
    if (p.atEnd()) return nullptr;
  }
}

char *ilx_strrchr(CodeSetT cs, const char *s, int c) {
  if (!s) return nullptr;
  const char *found = nullptr;
  for (Cursor p(ilx::resolve(cs), s);; p.next()) {
    if (p.byte() == ub(static_cast<char>(c))) found = p.pos();
    if (p.atEnd()) return const_cast<char *>(found);
  }
}

size_t ilx_strspn(CodeSetT cs, const char *s, const char *set) {
  if (!s) return 0;
  return static_cast<size_t>(skipWhile(ilx::resolve(cs), s, set, true) - s);
}

size_t ilx_strcspn(CodeSetT cs, const char *s, const char *set) {
  if (!s) return 0;
  return static_cast<size_t>(skipWhile(ilx::resolve(cs), s, set, false) - s);
}

char *ilx_strpbrk(CodeSetT cs, const char *s, const char *set) {
  if (!s) return nullptr;
  const char *p = skipWhile(ilx::resolve(cs), s, set, false);
  return *p ? const_cast<char *>(p) : nullptr;
}

char *ilx_strtok(CodeSetT cs, char *s, const char *delimiters, char **pos) {
  if (!pos) return nullptr;
  if (!s) s = *pos;
  if (!s) return nullptr;
  CodeSet *h = ilx::resolve(cs);
  const Cursor start = skipWhile(Cursor(h, s), delimiters, true, h);
  s = const_cast<char *>(start.pos());
  if (!*s) {
    *pos = s;
    return nullptr;
  }
  Cursor end = skipWhile(start, delimiters, false, h);
  char *e = const_cast<char *>(end.pos());
  if (*e) {
    // Continue after the whole delimiter character, not inside it.
    const size_t step = end.step();
    *e = 0;
    e += step;
  }
  *pos = e;
  return s;
}

char *ilx_strstr(CodeSetT cs, const char *haystack, const char *needle) {
  if (!haystack) return nullptr;
  if (!needle || !*needle) return const_cast<char *>(haystack);
  for (Cursor c(ilx::resolve(cs), haystack); !c.atEnd(); c.next()) {
    const char *p = c.pos();
    size_t i = 0;
    while (needle[i] && p[i] == needle[i]) ++i;
    if (!needle[i]) return const_cast<char *>(p);
  }
  return nullptr;
}

}  // extern "C"
