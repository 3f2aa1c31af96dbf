// String functions on 16-bit wide characters (UCS-2 units ending in a zero
// unit). Null strings are treated as empty; see ilx.h.
#include "lumex/ilx.h"

namespace {

const uint16_t kEmpty[1] = {0};

inline bool inSet(const uint16_t *set, uint16_t c) {
  for (; *set; ++set) {
    if (*set == c) return true;
  }
  return false;
}

// Length of the leading run of s whose units are (or, with inside false, are
// not) found in set.
size_t runLength(const uint16_t *s, const uint16_t *set, bool inside) {
  if (!s) return 0;
  if (!set) set = kEmpty;
  size_t n = 0;
  while (s[n] && inSet(set, s[n]) == inside) ++n;
  return n;
}

}  // namespace

extern "C" {

size_t ilx_wcslen(const uint16_t *s) {
  size_t n = 0;
  if (s) {
    while (s[n]) ++n;
  }
  return n;
}

size_t ilx_wcsnlen(const uint16_t *s, size_t n) {
  size_t i = 0;
  if (s) {
    while (i < n && s[i]) ++i;
  }
  return i;
}

uint16_t *ilx_wcscpy(uint16_t *dst, const uint16_t *src) {
  if (!dst || !src) return dst;
  uint16_t *d = dst;
  while ((*d++ = *src++) != 0) {
  }
  return dst;
}

uint16_t *ilx_wcsncpy(uint16_t *dst, const uint16_t *src, size_t n) {
  if (!dst || !src) return dst;
  size_t i = 0;
  for (; i < n && src[i]; ++i) dst[i] = src[i];
  for (; i < n; ++i) dst[i] = 0;
  return dst;
}

uint16_t *ilx_wcscat(uint16_t *dst, const uint16_t *src) {
  if (!dst || !src) return dst;
  ilx_wcscpy(dst + ilx_wcslen(dst), src);
  return dst;
}

uint16_t *ilx_wcsncat(uint16_t *dst, const uint16_t *src, size_t n) {
  if (!dst || !src) return dst;
  uint16_t *d = dst + ilx_wcslen(dst);
  size_t i = 0;
  for (; i < n && src[i]; ++i) d[i] = src[i];
  d[i] = 0;
  return dst;
}

uint16_t *ilx_wcschr(const uint16_t *s, uint16_t c) {
  if (!s) return nullptr;
  for (;; ++s) {
    if (*s == c) return const_cast<uint16_t *>(s);
    if (!*s) return nullptr;
  }
}

uint16_t *ilx_wcsrchr(const uint16_t *s, uint16_t c) {
  if (!s) return nullptr;
  const uint16_t *found = nullptr;
  for (;; ++s) {
    if (*s == c) found = s;
    if (!*s) return const_cast<uint16_t *>(found);
  }
}

int ilx_wcsncmp(const uint16_t *a, const uint16_t *b, size_t n) {
  if (!a) a = kEmpty;
  if (!b) b = kEmpty;
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return static_cast<int>(a[i]) - static_cast<int>(b[i]);
    if (!a[i]) break;
  }
  return 0;
}

size_t ilx_wcsspn(const uint16_t *s, const uint16_t *set) { return runLength(s, set, true); }

size_t ilx_wcscspn(const uint16_t *s, const uint16_t *set) { return runLength(s, set, false); }

uint16_t *ilx_wcspbrk(const uint16_t *s, const uint16_t *set) {
  if (!s) return nullptr;
  s += runLength(s, set, false);
  return *s ? const_cast<uint16_t *>(s) : nullptr;
}

uint16_t *ilx_wcstok(uint16_t *s, const uint16_t *delimiters, uint16_t **pos) {
  if (!pos) return nullptr;
  if (!s) s = *pos;
  if (!s) return nullptr;
  s += runLength(s, delimiters, true);
  if (!*s) {
    *pos = s;
    return nullptr;
  }
  uint16_t *end = s + runLength(s, delimiters, false);
  if (*end) *end++ = 0;
  *pos = end;
  return s;
}

uint16_t *ilx_wcswcs(const uint16_t *s, const uint16_t *pattern) {
  if (!s) return nullptr;
  if (!pattern || !*pattern) return const_cast<uint16_t *>(s);
  for (; *s; ++s) {
    size_t i = 0;
    while (pattern[i] && s[i] == pattern[i]) ++i;
    if (!pattern[i]) return const_cast<uint16_t *>(s);
  }
  return nullptr;
}

}  // extern "C"
