// The date and time parser behind ilx_strptime, working on text in the
// operating system's code set.
#pragma once

#include <ctime>

namespace ilx {

// Parses text by format into tm (only the fields the text gives, then the
// derived ones); returns the position after the parsed text, or null on a
// mismatch, an unknown directive or a value out of range.
const char *parseTime(const char *text, const char *format, struct tm *tm);

}  // namespace ilx
