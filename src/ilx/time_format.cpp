// Time formatting and parsing in any code set: the C library's strftime and
// the parser of time_parse.cpp work in the operating system's code set, so
// texts in another code set are re-coded into it and results back.
#include <cstring>
#include <ctime>

#include "ilx/codeset.h"
#include "lumex/cx.h"
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

}  // extern "C"
