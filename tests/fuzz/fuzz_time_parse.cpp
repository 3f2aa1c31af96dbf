// Arbitrary format and text (split at the first zero byte) for the date
// parser, directly and through a Latin-1 handle, and as locale names: nothing
// may crash or read outside the inputs, and results stay within range.
#include <ctime>

#include "fuzz_common.h"
#include "ilx/time_parse.h"
#include "lumex/ilx.h"

FUZZ_TARGET(in) {
  const std::string format = in.until(0).str();
  const std::string text = in.str();
  const auto inText = [&](const char *end) {
    return end >= text.c_str() && end <= text.c_str() + std::strlen(text.c_str());
  };

  struct tm tm {};
  const char *end = ilx::parseTime(text.c_str(), format.c_str(), &tm);
  fuzz::require(end == nullptr || (inText(end) && tm.tm_wday >= 0 && tm.tm_wday <= 6));

  // The same through a code set other than the system's: the end is mapped
  // back into the caller's text and must stay inside it.
  static CodeSetT latin1 = ilx_cs_new("ISO-8859-1");
  if (latin1 != nullptr) {
    std::memset(&tm, 0, sizeof tm);
    end = ilx_strptime(latin1, nullptr, text.c_str(), format.c_str(), &tm);
    fuzz::require(end == nullptr || inText(end));
  }

  char buf[32];
  ilx_canonical_loc(format.c_str(), buf, sizeof buf);
  fuzz::require(std::strlen(buf) < sizeof buf);
  ilx_canonical_lang(format.c_str(), buf, sizeof buf);
  ilx_canonical_loc(text.c_str(), buf, 3);
  fuzz::require(std::strlen(buf) <= 2);
}
