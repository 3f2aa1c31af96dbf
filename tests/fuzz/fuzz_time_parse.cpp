// Arbitrary format and text for the date parser (split at the first zero
// byte), directly and through a Latin-1 handle, and arbitrary names for the
// locale name rules: nothing may crash or read outside the inputs, and
// results stay within their fields' ranges.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "ilx/time_parse.h"
#include "lumex/ilx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  const size_t cut = input.find('\0');
  const std::string format = input.substr(0, cut);
  const std::string text = cut == std::string::npos ? std::string() : input.substr(cut + 1);

  struct tm tm;
  std::memset(&tm, 0, sizeof tm);
  const char *end = ilx::parseTime(text.c_str(), format.c_str(), &tm);
  if (end != nullptr) {
    if (end < text.c_str() || end > text.c_str() + std::strlen(text.c_str())) std::abort();
    if (tm.tm_wday < 0 || tm.tm_wday > 6) std::abort();
  }

  // The same through a code set other than the system's: the end is mapped
  // back into the caller's text and must stay inside it.
  static CodeSetT latin1 = ilx_cs_new("ISO-8859-1");
  if (latin1 != nullptr) {
    std::memset(&tm, 0, sizeof tm);
    end = ilx_strptime(latin1, nullptr, text.c_str(), format.c_str(), &tm);
    if (end != nullptr && (end < text.c_str() || end > text.c_str() + std::strlen(text.c_str())))
      std::abort();
  }

  char buf[32];
  ilx_canonical_loc(format.c_str(), buf, sizeof buf);
  if (std::strlen(buf) >= sizeof buf) std::abort();
  ilx_canonical_lang(format.c_str(), buf, sizeof buf);
  ilx_canonical_loc(text.c_str(), buf, 3);
  if (std::strlen(buf) > 2) std::abort();
  return 0;
}
