// A string buffer that remembers whether every append succeeded, so that a
// record is either whole or not made at all.
#pragma once

#include <cstdint>
#include <cstring>

#include "cx/string_buff.h"
#include "output/xml_text.h"

namespace lmx {

struct XmlWriter {
  CxStringBuff *buff;
  bool ok = true;

  XmlWriter &raw(const char *s) {
    ok = cx::sbPut(buff, s, std::strlen(s)) && ok;
    return *this;
  }
  // Attribute values and element content.
  XmlWriter &escaped(const char *s) {
    ok = xmlAppend(buff, s, XmlText::Escaped) && ok;
    return *this;
  }
  // The inside of a CDATA section.
  XmlWriter &section(const char *s) {
    ok = xmlAppend(buff, s, XmlText::Section) && ok;
    return *this;
  }
  XmlWriter &number(int64_t n) {
    ok = CxStringBuffAppendInt64(buff, n) != 0 && ok;
    return *this;
  }
  XmlWriter &unsignedNumber(uint64_t n) {
    ok = CxStringBuffAppendUInt64(buff, n) != 0 && ok;
    return *this;
  }
};

}  // namespace lmx
