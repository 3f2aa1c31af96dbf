// Multibyte and wide string functions on arbitrary bytes in every kind of code
// set, within the given strings. Input: byte 0 picks the code set, byte 1 a
// size; the rest splits at its first 0xFF into text and set/needle/delimiters.
#include <memory>

#include "fuzz_common.h"
#include "lumex/ilx.h"

static CodeSetT codeSet(uint8_t pick) {
  static const char *const names[] = {"UTF8",   "INTERNAL37", "CP932",    "IBM939",
                                      "EUCJP",  "GB18030",    "ISO88591", "IBM1047"};
  static CodeSetT handles[8];
  static bool made = false;
  for (size_t i = 0; i < 8 && !made; ++i) handles[i] = ilx_cs_new(names[i]);
  made = true;
  return handles[pick % 8] ? handles[pick % 8] : handles[0];
}

// An exact-size, NUL-terminated copy.
static std::unique_ptr<char[]> copyOf(fuzz::Bytes b) {
  std::unique_ptr<char[]> s(new char[b.n + 1]());
  if (b.n > 0) std::memcpy(s.get(), b.p, b.n);
  return s;
}

static void wideFunctions(const char *text, size_t len, const char *set) {
  std::vector<uint16_t> a(len / 2 + 1, 0), b(std::strlen(set) / 2 + 1, 0);
  std::memcpy(a.data(), text, len / 2 * 2);
  std::memcpy(b.data(), set, b.size() * 2 - 2);
  const size_t alen = ilx_wcslen(a.data());
  ilx_wcsnlen(a.data(), len);
  ilx_wcschr(a.data(), b[0]);
  ilx_wcsrchr(a.data(), b[0]);
  ilx_wcsspn(a.data(), b.data());
  ilx_wcscspn(a.data(), b.data());
  ilx_wcspbrk(a.data(), b.data());
  ilx_wcswcs(a.data(), b.data());
  ilx_wcsncmp(a.data(), b.data(), len);
  ilx_wcsicmp(nullptr, nullptr, a.data(), b.data());
  ilx_wcsnicmp(nullptr, a.data(), b.data(), len % 7);
  for (size_t i = 0; i < alen; ++i) {
    ilx_iswalpha(a[i]);
    ilx_iswpunct(a[i]);
    ilx_iswprint(a[i]);
  }
  ilx_wcsupper(nullptr, a.data());
  ilx_wcslower(nullptr, a.data());
  std::vector<uint16_t> d(alen + b.size() + 1, 0);
  ilx_wcsncat(ilx_wcscpy(d.data(), a.data()), b.data(), b.size());
  ilx_wcsncpy(d.data(), b.data(), d.size());
  uint16_t *pos = nullptr;
  for (uint16_t *s = a.data(); ilx_wcstok(s, b.data(), &pos) != nullptr; s = nullptr) {
  }
}

FUZZ_TARGET(in) {
  if (in.n < 2) return;
  CodeSetT cs = codeSet(static_cast<uint8_t>(in.next(1)));
  const size_t limit = in.next(1);
  const fuzz::Bytes textBytes = in.until(0xFF);
  const auto textBuf = copyOf(textBytes), setBuf = copyOf(in);
  const char *text = textBuf.get(), *set = setBuf.get();
  const size_t len = std::strlen(text);

  // Characters and byte types.
  uint16_t wc = 0;
  ilx_mbtowc(cs, &wc, text, len + 1);
  ilx_mblen(cs, text, len + 1);
  char bytes[4];
  ilx_wctomb(cs, bytes, static_cast<uint16_t>(len * 0x9E37u));
  for (size_t i = 0; i <= len + 1; ++i) ilx_mbsbtype(cs, text, i);
  ilx_ismbs1st(cs, text, text + len / 2);

  // Whole strings, both ways, with room of every size up to the limit.
  std::vector<uint16_t> wide(len + 1);
  const int units = ilx_mbstowcs(cs, wide.data(), text, wide.size());
  ilx_mbstowcs(cs, nullptr, text, 0);
  if (units >= 0) {
    ilx_wcstombs(cs, nullptr, wide.data(), 0);
    std::unique_ptr<char[]> out(new char[limit + 1]);
    ilx_wcstombs(cs, out.get(), wide.data(), limit);
  }

  // Character-stepping functions.
  ilx_strnlen(cs, text, limit < len ? limit : len);
  ilx_strchr(cs, text, set[0]);
  ilx_strrchr(cs, text, set[0]);
  ilx_strspn(cs, text, set);
  ilx_strcspn(cs, text, set);
  ilx_strpbrk(cs, text, set);
  ilx_strstr(cs, text, set);
  ilx_stricmp(cs, nullptr, text, set);
  ilx_strnicmp(cs, nullptr, text, set, limit);
  const auto tokens = copyOf(textBytes);
  char *pos = nullptr;
  for (char *s = tokens.get(); ilx_strtok(cs, s, set, &pos) != nullptr; s = nullptr) {
  }
  const auto cased = copyOf(textBytes);
  ilx_strupper(cs, nullptr, cased.get());
  ilx_strlower(cs, nullptr, cased.get());
  std::unique_ptr<char[]> dst(new char[limit + 1]);
  ilx_strncpy(cs, dst.get(), text, limit);
  const size_t setLen = std::strlen(set) < limit ? std::strlen(set) : limit;
  std::memcpy(dst.get(), set, setLen);
  dst[setLen] = 0;
  ilx_strncat(cs, dst.get(), text, limit - setLen);
  ilx_check_subs(cs);

  wideFunctions(text, len, set);
}
