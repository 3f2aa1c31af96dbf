// Code set name normalization and the operating system's code set name
// (the locale's code set: LC_ALL, else LC_CTYPE, else LANG).
#include <cstdlib>
#include <initializer_list>

#include "ilx/codeset.h"

namespace ilx {
namespace {

constexpr const char kPortableCodeSet[] = "ANSI_X3.4-1968";

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool isAlnum(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// The code set part of the user's locale, into buf (at least 128 bytes):
// the text after the first '.' and before any '@'.
void localeCodeSet(char *buf, size_t size) {
  const char *loc = nullptr;
  for (const char *var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char *v = std::getenv(var);
    if (v != nullptr && *v != '\0') {
      loc = v;
      break;
    }
  }
  const char *dot = loc != nullptr ? std::strchr(loc, '.') : nullptr;
  size_t n = 0;
  if (dot != nullptr) {
    const char *s = dot + 1;
    while (s[n] != '\0' && s[n] != '@') ++n;
  }
  if (n == 0 || n >= size) {
    std::strcpy(buf, kPortableCodeSet);
    return;
  }
  std::memcpy(buf, dot + 1, n);
  buf[n] = '\0';
}

bool isOsAlias(const char *up) {
  return std::strcmp(up, "OS") == 0 || std::strcmp(up, "WIN") == 0 || std::strcmp(up, "DOS") == 0;
}

}  // namespace

bool normalizeName(const char *name, char *buf, size_t size) {
  if (size == 0) return false;
  buf[0] = '\0';
  if (name == nullptr) return true;
  char work[128];
  size_t len = std::strlen(name);
  if (len >= sizeof work) return false;
  for (size_t i = 0; i <= len; ++i) work[i] = upper(name[i]);
  if (isOsAlias(work)) {
    localeCodeSet(work, sizeof work);
    for (char *p = work; *p != '\0'; ++p) *p = upper(*p);
  }
  const char *src = std::strncmp(work, "KRZ", 3) == 0 ? work + 3 : work;
  size_t n = 0;
  for (; *src != '\0'; ++src) {
    if (!isAlnum(*src)) continue;
    if (n + 1 >= size) {
      buf[0] = '\0';
      return false;
    }
    buf[n++] = *src;
  }
  buf[n] = '\0';
  return true;
}

}  // namespace ilx

extern "C" {

int get_table_name(const char *name, char *buf, size_t size) {
  if (buf == nullptr || size == 0) return 1;
  return ilx::normalizeName(name, buf, size) ? 0 : 1;
}

int ilx_os_cs_name(char *buf, size_t size) { return get_table_name("OS", buf, size); }

}  // extern "C"
