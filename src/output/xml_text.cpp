// Texts inside XML records: copied as they are, except for the characters
// that would end an attribute, an element or a section early, and those
// that XML 1.0 cannot carry at all.
#include "output/xml_text.h"

#include <cstddef>
#include <cstring>

#include "cx/string_buff.h"

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

bool continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at p (whose first byte is
// 0x80 or above) when it encodes a character XML allows, else 0. The text
// is zero-terminated and every test stops at the first byte that fails, so
// nothing past the terminator is read.
size_t carriedSequence(const unsigned char *p) {
  unsigned char lead = p[0];
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(p[1]) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
    unsigned char high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    if (p[1] < low || p[1] > high || !continuation(p[2])) return 0;
    if (lead == 0xEF && p[1] == 0xBF && p[2] >= 0xBE) return 0;  // U+FFFE, U+FFFF
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    unsigned char low = lead == 0xF0 ? 0x90 : 0x80;   // no overlong forms
    unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
    if (p[1] < low || p[1] > high || !continuation(p[2]) || !continuation(p[3])) return 0;
    return 4;
  }
  return 0;
}

// What an ASCII byte becomes, or null when it stays as it is.
const char *asciiReplacement(unsigned char c, lmx::XmlText form) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r' ? nullptr : kReplacement;
  if (form == lmx::XmlText::Section) return nullptr;
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
  }
}

}  // namespace

namespace lmx {

bool xmlAppend(CxStringBuff *buff, const char *text, XmlText form) {
  if (text == nullptr) return true;
  const auto *p = reinterpret_cast<const unsigned char *>(text);
  const unsigned char *run = p;  // first byte not yet appended
  bool ok = true;
  auto put = [&](const void *bytes, size_t n) {
    ok = cx::sbPut(buff, static_cast<const char *>(bytes), n) && ok;
  };
  while (*p != 0) {
    const char *with = nullptr;
    size_t replaced = 1;
    if (*p < 0x80) {
      with = asciiReplacement(*p, form);
      if (with == nullptr && form == XmlText::Section && p[0] == ']' && p[1] == ']' &&
          p[2] == '>') {
        with = "]]]]><![CDATA[>";
        replaced = 3;
      }
      if (with == nullptr) {
        ++p;
        continue;
      }
    } else {
      size_t n = carriedSequence(p);
      if (n != 0) {
        p += n;
        continue;
      }
      with = kReplacement;
    }
    put(run, static_cast<size_t>(p - run));
    put(with, std::strlen(with));
    p += replaced;
    run = p;
  }
  put(run, static_cast<size_t>(p - run));
  return ok;
}

}  // namespace lmx
