// Wide string functions: a differential run against the C library's wchar_t
// functions over random strings of a small alphabet, plus the rules where the
// 16-bit functions say more than C does.
#include <gtest/gtest.h>

#include <cwchar>
#include <random>
#include <vector>

#include "lumex/ilx.h"

namespace {

using U16 = std::vector<uint16_t>;

U16 w(std::initializer_list<uint16_t> units) {
  U16 v(units);
  v.push_back(0);
  return v;
}

int sign(long v) { return (v > 0) - (v < 0); }

TEST(WideStrings, AgreeWithTheCLibrary) {
  // Random strings over a few units, with units above 0x7FFF among them.
  static const uint16_t alphabet[] = {'a', 'b', 'c', ',', ' ', 0xE9, 0x8000, 0xFFFF};
  std::mt19937 rng(4711);
  auto randomString = [&](size_t maxLen) {
    U16 s(rng() % (maxLen + 1));
    for (auto &u : s) u = alphabet[rng() % 8];
    s.push_back(0);
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    U16 a = randomString(12), b = randomString(3);
    const std::wstring wa(a.begin(), a.end() - 1), wb(b.begin(), b.end() - 1);
    const size_t n = rng() % 15;
    const uint16_t c = b[0];
    ASSERT_EQ(ilx_wcslen(a.data()), wa.size());
    ASSERT_EQ(ilx_wcsnlen(a.data(), n), std::min(n, wa.size()));
    ASSERT_EQ(ilx_wcsspn(a.data(), b.data()), wcsspn(wa.c_str(), wb.c_str()));
    ASSERT_EQ(ilx_wcscspn(a.data(), b.data()), wcscspn(wa.c_str(), wb.c_str()));
    auto at = [&](const uint16_t *p) { return p ? p - a.data() : -1; };
    auto wat = [&](const wchar_t *p) { return p ? p - wa.c_str() : -1; };
    ASSERT_EQ(at(ilx_wcschr(a.data(), c)), wat(wcschr(wa.c_str(), c)));
    ASSERT_EQ(at(ilx_wcsrchr(a.data(), c)), wat(wcsrchr(wa.c_str(), c)));
    ASSERT_EQ(at(ilx_wcspbrk(a.data(), b.data())), wat(wcspbrk(wa.c_str(), wb.c_str())));
    ASSERT_EQ(at(ilx_wcswcs(a.data(), b.data())), wat(wcsstr(wa.c_str(), wb.c_str())));
    // Units compare as unsigned 16-bit values, as wchar_t does here.
    ASSERT_EQ(sign(ilx_wcsncmp(a.data(), b.data(), n)), sign(wcsncmp(wa.c_str(), wb.c_str(), n)));
    // Copies and appends: the same units as the C functions.
    U16 d(32, 0x7777);
    std::wstring wd(32, L'\x7777');
    ilx_wcscat(ilx_wcsncat(ilx_wcscpy(d.data(), b.data()), a.data(), n), b.data());
    wcscat(wcsncat(wcscpy(&wd[0], wb.c_str()), wa.c_str(), n), wb.c_str());
    ASSERT_EQ(d, U16(wd.begin(), wd.end()));
    ASSERT_EQ(ilx_wcsncpy(d.data(), a.data(), n), d.data());
    wcsncpy(&wd[0], wa.c_str(), n);
    ASSERT_EQ(d, U16(wd.begin(), wd.end()));
    // Tokens: same sequence and saved position as wcstok, and exhausted after.
    U16 t = a;
    std::wstring wt = wa;
    uint16_t *pos = nullptr, *tok = ilx_wcstok(t.data(), b.data(), &pos);
    wchar_t *wpos = nullptr, *wtok = wcstok(wt.data(), wb.c_str(), &wpos);
    for (; tok != nullptr || wtok != nullptr; tok = ilx_wcstok(nullptr, b.data(), &pos),
                                              wtok = wcstok(nullptr, wb.c_str(), &wpos)) {
      ASSERT_TRUE(tok != nullptr && wtok != nullptr);
      ASSERT_EQ(tok - t.data(), wtok - wt.data());
      // Where wcstok drops a string that ends in a token, pos stays on its zero unit.
      ASSERT_EQ(pos - t.data(), wpos ? wpos - wt.data() : static_cast<ptrdiff_t>(wa.size()));
      ASSERT_EQ(ilx_wcslen(tok), wcslen(wtok));
    }
    ASSERT_EQ(ilx_wcstok(nullptr, b.data(), &pos), nullptr);
  }
}

// Compares give the difference of the units; a null string is an empty one.
TEST(WideStrings, CompareDifferencesAndNullArguments) {
  const U16 abc = w({'a', 'b', 'c'});
  EXPECT_EQ(ilx_wcsncmp(w({0xFFFF}).data(), w({1}).data(), 1), 0xFFFF - 1);  // unsigned units
  EXPECT_EQ(ilx_wcsncmp(abc.data(), w({'a'}).data(), 5), 'b');  // against the zero unit
  EXPECT_EQ(ilx_wcsncmp(nullptr, abc.data(), 1), -'a');
  U16 e = w({'a'});
  EXPECT_EQ(ilx_wcscat(e.data(), nullptr), e.data());
  EXPECT_EQ(e, w({'a'}));
  EXPECT_EQ(ilx_wcslen(nullptr), 0u);
  uint16_t *pos = nullptr;
  EXPECT_EQ(ilx_wcstok(e.data(), w({','}).data(), nullptr), nullptr);
  EXPECT_EQ(ilx_wcstok(nullptr, w({','}).data(), &pos), nullptr);
}

}  // namespace
