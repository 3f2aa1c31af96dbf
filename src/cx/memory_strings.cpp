// Memory and string wrappers: each gives a defined result for a null pointer
// or a zero size and otherwise does what the C library does.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "ilx/memory.h"
#include "lumex/cx.h"

namespace {

// Sign of a byte comparison as -1, 0 or 1.
int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// The common null rule of the comparisons: a null first argument sorts after
// everything (also after another null); a null second argument before.
// Returns true when the rule decided, with the result in *out.
bool nullOrder(const char *a, const char *b, int *out) {
  if (a == nullptr) {
    *out = 1;
    return true;
  }
  if (b == nullptr) {
    *out = -1;
    return true;
  }
  return false;
}

}  // namespace

extern "C" {

int BasStringCmp(const char *a, const char *b) {
  int r;
  if (nullOrder(a, b, &r)) return r;
  return sign(std::strcmp(a, b));  // strcmp compares as unsigned char
}

int BasStringNCmp(const char *a, const char *b, size_t n) {
  int r;
  if (nullOrder(a, b, &r)) return r;
  return sign(std::strncmp(a, b, n));
}

int BasStringICmp(const char *a, const char *b) {
  int r;
  if (nullOrder(a, b, &r)) return r;
  return sign(strcasecmp(a, b));
}

int BasStringNICmp(const char *a, const char *b, size_t n) {
  int r;
  if (nullOrder(a, b, &r)) return r;
  return sign(strncasecmp(a, b, n));
}

char *BasStringCpy(char *dst, const char *src) {
  if (dst == nullptr) return nullptr;
  if (src == nullptr) {
    dst[0] = '\0';
    return dst;
  }
  return std::strcpy(dst, src);
}

char *BasStringNCpy(char *dst, const char *src, size_t n) {
  if (dst == nullptr) return nullptr;
  if (src == nullptr) {
    dst[0] = '\0';
    return dst;
  }
  return std::strncpy(dst, src, n);
}

char *BasStringCat(char *dst, const char *src) {
  if (dst == nullptr) return nullptr;
  return src == nullptr ? dst : std::strcat(dst, src);
}

char *BasStringNCat(char *dst, const char *src, size_t n) {
  if (dst == nullptr) return nullptr;
  return src == nullptr ? dst : std::strncat(dst, src, n);
}

char *BasStringDup(const char *s) { return s == nullptr ? nullptr : ilx::copyText(s); }

size_t BasStringLen(const char *s) { return s == nullptr ? 0 : std::strlen(s); }

char *BasStringChr(const char *s, int c) {
  return s == nullptr ? nullptr : const_cast<char *>(std::strchr(s, c));
}

char *BasStringRChr(const char *s, int c) {
  return s == nullptr ? nullptr : const_cast<char *>(std::strrchr(s, c));
}

char *BasStringStr(const char *s, const char *sub) {
  return (s == nullptr || sub == nullptr) ? nullptr : const_cast<char *>(std::strstr(s, sub));
}

char *BasStringStrpbrk(const char *s, const char *set) {
  return (s == nullptr || set == nullptr) ? nullptr : const_cast<char *>(std::strpbrk(s, set));
}

int BasStringStrcspn(const char *s, const char *reject) {
  if (s == nullptr) return -1;
  return static_cast<int>(reject == nullptr ? std::strlen(s) : std::strcspn(s, reject));
}

int BasStringStrspn(const char *s, const char *accept) {
  if (s == nullptr) return -1;
  return accept == nullptr ? 0 : static_cast<int>(std::strspn(s, accept));
}

int BasStringSprintf(char *dst, const char *format, ...) {
  // A null destination or format would crash the C library: refuse it.
  if (dst == nullptr || format == nullptr) return -1;
  va_list ap;
  va_start(ap, format);
  int n = std::vsprintf(dst, format, ap);
  va_end(ap);
  return n;
}

int _dummy(void) { return 255; }

}  // extern "C"
