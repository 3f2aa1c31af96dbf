// The C library's iconv as an independent oracle for the converter tests,
// and the helpers those tests share.
#pragma once

#include <iconv.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "lumex/ilx.h"

// A handle for one test, its substitution count read.
struct Handle {
  explicit Handle(const char *name) : cs(ilx_cs_new(name)) { ilx_check_subs(cs); }
  ~Handle() { ilx_cs_free(cs); }
  CodeSetT cs;
};

inline std::string paramName(std::string n) {
  for (char &c : n)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return n;
}

class IconvOracle {
 public:
  explicit IconvOracle(const char *name)
      : toU_(iconv_open("UCS-4LE", name)), fromU_(iconv_open(name, "UCS-4LE")) {}
  ~IconvOracle() {
    if (toU_ != (iconv_t)-1) iconv_close(toU_);
    if (fromU_ != (iconv_t)-1) iconv_close(fromU_);
  }
  bool ok() const { return toU_ != (iconv_t)-1 && fromU_ != (iconv_t)-1; }

  // The one code point the bytes decode to from the initial state, or -1.
  long decode(const std::string &bytes) {
    iconv(toU_, nullptr, nullptr, nullptr, nullptr);
    char *ip = const_cast<char *>(bytes.data());
    size_t il = bytes.size();
    uint32_t out[4];
    char *op = reinterpret_cast<char *>(out);
    size_t ol = sizeof out;
    if (iconv(toU_, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0) return -1;
    return (sizeof out - ol) == 4 ? static_cast<long>(out[0]) : -1;
  }
  // The bytes of the code points, ending in the initial shift state; empty
  // when iconv cannot map them.
  std::string encode(const std::u32string &cps) {
    iconv(fromU_, nullptr, nullptr, nullptr, nullptr);
    char *ip = reinterpret_cast<char *>(const_cast<char32_t *>(cps.data()));
    size_t il = 4 * cps.size();
    char out[128];
    char *op = out;
    size_t ol = sizeof out;
    if (iconv(fromU_, &ip, &il, &op, &ol) == static_cast<size_t>(-1) ||
        iconv(fromU_, nullptr, nullptr, &op, &ol) == static_cast<size_t>(-1))
      return {};
    return std::string(out, op);
  }
  // One code point; also empty when iconv only substitutes the SUB control.
  std::string encode(uint32_t cp) {
    const std::string b = encode(std::u32string(1, static_cast<char32_t>(cp)));
    return cp != 0x1A && decode(b) == 0x1A ? std::string() : b;
  }

 private:
  iconv_t toU_, fromU_;
};

inline std::string utf8Of(uint32_t cp) {
  if (cp < 0x80) return std::string(1, static_cast<char>(cp));
  const int n = cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
  std::string s(n, '\0');
  for (int i = n - 1; i > 0; --i, cp >>= 6) s[i] = static_cast<char>(0x80 | (cp & 0x3F));
  s[0] = static_cast<char>(((0xFF00 >> n) & 0xFF) | cp);
  return s;
}

inline std::vector<uint16_t> ucs2Of(uint32_t cp) {
  if (cp < 0x10000) return {static_cast<uint16_t>(cp)};
  cp -= 0x10000;
  return {static_cast<uint16_t>(0xD800 + (cp >> 10)), static_cast<uint16_t>(0xDC00 + (cp & 0x3FF))};
}
