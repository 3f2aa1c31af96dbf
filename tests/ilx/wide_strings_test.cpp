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
    // Tokens: same sequence as wcstok.
    U16 t = a;
    std::wstring wt = wa;
    uint16_t *pos = nullptr, *tok = ilx_wcstok(t.data(), b.data(), &pos);
    wchar_t *wpos = nullptr, *wtok = wcstok(wt.data(), wb.c_str(), &wpos);
    for (; tok != nullptr || wtok != nullptr; tok = ilx_wcstok(nullptr, b.data(), &pos),
                                              wtok = wcstok(nullptr, wb.c_str(), &wpos)) {
      ASSERT_TRUE(tok != nullptr && wtok != nullptr);
      ASSERT_EQ(tok - t.data(), wtok - wt.data());
      ASSERT_EQ(ilx_wcslen(tok), wcslen(wtok));
    }
  }
}

TEST(WideStrings, CompareGivesTheDifferenceOfUnits) {
  const U16 abc = w({'a', 'b', 'c'}), abe = w({'a', 'b', 'e'});
  EXPECT_EQ(ilx_wcsncmp(abc.data(), abe.data(), 3), 'c' - 'e');
  EXPECT_EQ(ilx_wcsncmp(w({0xFFFF}).data(), w({1}).data(), 1), 0xFFFF - 1);  // unsigned units
  EXPECT_EQ(ilx_wcsncmp(abc.data(), w({'a'}).data(), 5), 'b');  // against the zero unit
  EXPECT_EQ(ilx_wcsncmp(nullptr, abc.data(), 1), -'a');         // a null string is empty
}

TEST(WideStrings, CopiesAndAppends) {
  const U16 src = w({'x', 'y', 'z'});
  U16 d(8, 0x7777);
  EXPECT_EQ(ilx_wcsncpy(d.data(), src.data(), 6), d.data());
  EXPECT_EQ(d, (U16{'x', 'y', 'z', 0, 0, 0, 0x7777, 0x7777}));  // rest of the n units zeroed
  ilx_wcsncpy(d.data(), w({'a', 'b', 'c'}).data(), 2);
  EXPECT_EQ(d, (U16{'a', 'b', 'z', 0, 0, 0, 0x7777, 0x7777}));  // no zero unit when longer
  U16 e(10, 0x7777);
  e[0] = 'a';
  e[1] = 0;
  EXPECT_EQ(ilx_wcsncat(e.data(), src.data(), 2), e.data());
  EXPECT_EQ(U16(e.begin(), e.begin() + 5), (U16{'a', 'x', 'y', 0, 0x7777}));  // zero unit added
  EXPECT_EQ(ilx_wcscat(e.data(), src.data()), e.data());
  EXPECT_EQ(ilx_wcscat(e.data(), nullptr), e.data());  // a null string is empty
  EXPECT_EQ(U16(e.begin(), e.begin() + 8), (U16{'a', 'x', 'y', 'x', 'y', 'z', 0, 0x7777}));
  U16 f(5, 0x7777);
  ilx_wcscpy(f.data(), src.data());
  EXPECT_EQ(f, (U16{'x', 'y', 'z', 0, 0x7777}));
  EXPECT_EQ(ilx_wcslen(nullptr), 0u);
}

TEST(WideStrings, TokensKeepThePositionAfterTheDelimiter) {
  U16 s = w({',', 'a', 'b', ',', ',', 'c'});
  const U16 delim = w({','});
  uint16_t *pos = nullptr;
  EXPECT_EQ(ilx_wcstok(s.data(), delim.data(), &pos), s.data() + 1);
  EXPECT_EQ(pos, s.data() + 4);
  EXPECT_EQ(ilx_wcstok(nullptr, delim.data(), &pos), s.data() + 5);
  EXPECT_EQ(ilx_wcstok(nullptr, delim.data(), &pos), nullptr);
  EXPECT_EQ(ilx_wcstok(nullptr, delim.data(), &pos), nullptr);  // stays exhausted
  EXPECT_EQ(ilx_wcstok(s.data(), delim.data(), nullptr), nullptr);
}

}  // namespace
