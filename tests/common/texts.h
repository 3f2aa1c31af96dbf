// Texts handed out by the library, read into strings and freed.
#pragma once

#include <string>

#include "lumex/collections.h"

namespace test {

// The text as a string ("<null>" for null), freed.
inline std::string take(char *text) {
  std::string s = text != nullptr ? text : "<null>";
  BasMemoryFree(text);
  return s;
}

// A text map's entries as "key=value" words in their order.
inline std::string entries(StringToStringMap *map) {
  std::string out;
  for (LmxLink *e = LmxStringToStringMapIterator(map); e != nullptr;
       e = LmxStringToStringMapIterNext(e)) {
    out += (out.empty() ? "" : " ") + take(LmxStringToStringMapIterGetKey(e)) + "=" +
           take(LmxStringToStringMapIterGetVal(e));
  }
  return out;
}

}  // namespace test
