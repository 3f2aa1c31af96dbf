// Time formatting and parsing in any code set: the C library's strftime and
// the parser of time_parse.cpp work in the operating system's code set, so
// texts in another code set are re-coded into it and results back.
#include <cstring>
#include <ctime>

#include "ilx/codeset.h"
#include "ilx/time_parse.h"
#include "lumex/ilx.h"

namespace {

// The handle to work in and the operating system's code set.
struct CodeSets {
  CodeSet *user;
  CodeSet *os;
  bool same() const { return user == os; }
};

CodeSets codeSets(CodeSetT cs) {
  CodeSet *user = ilx::resolve(cs);
  return CodeSets{user, ilx::osCodeSet()};
}

// Number of characters of the code set in [p, end).
size_t countChars(CodeSet *cs, const char *p, const char *end) {
  size_t n = 0;
  while (p < end) {
    const int len = ilx_mblen(cs, p, static_cast<size_t>(end - p));
    p += len > 0 ? len : 1;
    ++n;
  }
  return n;
}

// The position after count characters of text in the code set (never past
// its NUL).
const char *stepChars(CodeSet *cs, const char *text, size_t count) {
  while (count-- > 0 && *text != '\0') {
    const int len = ilx_mblen(cs, text, std::strlen(text));
    text += len > 0 ? len : 1;
  }
  return text;
}

}  // namespace

extern "C" {

size_t ilx_strftime(CodeSetT cs, const char *locale, char *out, size_t size, const char *format,
                    const struct tm *tm) {
  (void)locale;
  if (out == nullptr || size == 0 || format == nullptr || tm == nullptr) return 0;
  const CodeSets sets = codeSets(cs);
  if (sets.same()) return std::strftime(out, size, format, tm);

  if (size > UINT32_MAX / 4) return 0;
  char *osFormat = ilx_strconv(sets.user, sets.os, format, nullptr);
  char *osText = static_cast<char *>(BasMemoryMalloc(static_cast<uint32_t>(4 * size)));
  char *text = nullptr;
  size_t written = 0;
  if (osFormat != nullptr && osText != nullptr &&
      std::strftime(osText, 4 * size, osFormat, tm) != 0) {
    text = ilx_strconv(sets.os, sets.user, osText, nullptr);
    // A result that does not fit is no result, as with strftime itself.
    if (text != nullptr && std::strlen(text) < size) {
      written = std::strlen(text);
      std::memcpy(out, text, written + 1);
    }
  }
  BasMemoryFree(text);
  BasMemoryFree(osText);
  BasMemoryFree(osFormat);
  return written;
}

char *ilx_strptime(CodeSetT cs, const char *locale, const char *text, const char *format,
                   struct tm *tm) {
  (void)locale;
  if (text == nullptr || format == nullptr || tm == nullptr) return nullptr;
  const CodeSets sets = codeSets(cs);
  if (sets.same()) return const_cast<char *>(ilx::parseTime(text, format, tm));

  char *osText = ilx_strconv(sets.user, sets.os, text, nullptr);
  char *osFormat = ilx_strconv(sets.user, sets.os, format, nullptr);
  const char *result = nullptr;
  if (osText != nullptr && osFormat != nullptr) {
    // The end of the parsed part of the copy, as a position in the caller's
    // text: as many characters on from its start as the copy's part holds.
    if (const char *end = ilx::parseTime(osText, osFormat, tm))
      result = stepChars(sets.user, text, countChars(sets.os, osText, end));
  }
  BasMemoryFree(osFormat);
  BasMemoryFree(osText);
  return const_cast<char *>(result);
}

}  // extern "C"
