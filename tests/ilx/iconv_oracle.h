// The C library's iconv as an independent oracle for the converter tests.
#pragma once

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

class IconvOracle {
 public:
  explicit IconvOracle(const char *name)
      : toU_(iconv_open("UCS-4LE", name)), fromU_(iconv_open(name, "UCS-4LE")) {}
  ~IconvOracle() {
    if (ok()) {
      iconv_close(toU_);
      iconv_close(fromU_);
    }
  }
  IconvOracle(const IconvOracle &) = delete;
  IconvOracle &operator=(const IconvOracle &) = delete;
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
  // The bytes of one code point, ending in the initial shift state; empty
  // when iconv cannot map it or only substitutes the SUB control for it.
  std::string encode(uint32_t cp) {
    std::string b = encodeRaw(cp);
    if (!b.empty() && cp != 0x1A && decode(b) == 0x1A) return {};
    return b;
  }
  std::string encodeRaw(uint32_t cp) {
    iconv(fromU_, nullptr, nullptr, nullptr, nullptr);
    char *ip = reinterpret_cast<char *>(&cp);
    size_t il = 4;
    char out[32];
    char *op = out;
    size_t ol = sizeof out;
    if (iconv(fromU_, &ip, &il, &op, &ol) == static_cast<size_t>(-1)) return {};
    if (iconv(fromU_, nullptr, nullptr, &op, &ol) == static_cast<size_t>(-1)) return {};
    return std::string(out, op);
  }
  // A whole text, for benchmarks and multi-character checks.
  std::string convertTo(const std::string &in, size_t cap) {
    std::string out(cap, '\0');
    iconv(fromU_, nullptr, nullptr, nullptr, nullptr);
    char *ip = const_cast<char *>(in.data());
    size_t il = in.size();
    char *op = &out[0];
    size_t ol = cap;
    iconv(fromU_, &ip, &il, &op, &ol);
    out.resize(cap - ol);
    return out;
  }

 private:
  iconv_t toU_, fromU_;
};

inline std::string utf8Of(uint32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (cp >> 18));
    s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

inline std::vector<uint16_t> ucs2Of(uint32_t cp) {
  if (cp < 0x10000) return {static_cast<uint16_t>(cp)};
  cp -= 0x10000;
  return {static_cast<uint16_t>(0xD800 + (cp >> 10)), static_cast<uint16_t>(0xDC00 + (cp & 0x3FF))};
}
