// XPG message source: the text form of a message catalog.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace lmxgencat {

// Set number -> message number -> UTF-8 text.
using Messages = std::map<int32_t, std::map<int32_t, std::string>>;

struct SourceError {
  std::string file;
  long line = 0;
  std::string message;
  std::string str() const { return file + ":" + std::to_string(line) + ": " + message; }
};

// Adds the messages of one source file to `msgs` (later definitions replace
// earlier ones; $delset and number-only lines delete). False with `err` set
// at the first fault; `msgs` may then hold part of the file.
bool parseSource(std::string_view text, const std::string &file, Messages &msgs, SourceError &err);

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF).
bool validUtf8(std::string_view text);

// A message text written as source text: escapes for the backslash and for
// control characters, so that parseSource reads it back unchanged.
std::string escapeText(std::string_view text);

}  // namespace lmxgencat
