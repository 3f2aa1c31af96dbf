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

std::wstring wide(const U16 &s) {
  std::wstring r;
  for (size_t i = 0; s[i]; ++i) r.push_back(static_cast<wchar_t>(s[i]));
  return r;
}

// A random string over a few units, with units above 0x7FFF among them.
U16 randomString(std::mt19937 &rng, size_t maxLen) {
  static const uint16_t alphabet[] = {'a', 'b', 'c', ',', ' ', 0xE9, 0x8000, 0xFFFF};
  std::uniform_int_distribution<size_t> len(0, maxLen), pick(0, 7);
  U16 s(len(rng));
  for (auto &u : s) u = alphabet[pick(rng)];
  s.push_back(0);
  return s;
}

int sign(long v) { return (v > 0) - (v < 0); }

TEST(WideStrings, AgreeWithTheCLibrary) {
  std::mt19937 rng(4711);
  for (int round = 0; round < 3000; ++round) {
    U16 a = randomString(rng, 12), b = randomString(rng, 3);
    const std::wstring wa = wide(a), wb = wide(b);
    const size_t n = rng() % 15;
    const uint16_t c = b[0];

    ASSERT_EQ(ilx_wcslen(a.data()), wa.size());
    ASSERT_EQ(ilx_wcsnlen(a.data(), n), std::min(n, wa.size()));
    ASSERT_EQ(ilx_wcsspn(a.data(), b.data()), wcsspn(wa.c_str(), wb.c_str()));
    ASSERT_EQ(ilx_wcscspn(a.data(), b.data()), wcscspn(wa.c_str(), wb.c_str()));

    auto offset = [&](const uint16_t *p) { return p ? p - a.data() : -1; };
    auto woffset = [&](const wchar_t *p) { return p ? p - wa.c_str() : -1; };
    ASSERT_EQ(offset(ilx_wcschr(a.data(), c)), woffset(wcschr(wa.c_str(), static_cast<wchar_t>(c))));
    ASSERT_EQ(offset(ilx_wcsrchr(a.data(), c)), woffset(wcsrchr(wa.c_str(), static_cast<wchar_t>(c))));
    ASSERT_EQ(offset(ilx_wcspbrk(a.data(), b.data())), woffset(wcspbrk(wa.c_str(), wb.c_str())));
    ASSERT_EQ(offset(ilx_wcswcs(a.data(), b.data())), woffset(wcsstr(wa.c_str(), wb.c_str())));
    // Units compare as unsigned 16-bit values, as wchar_t does here.
    ASSERT_EQ(sign(ilx_wcsncmp(a.data(), b.data(), n)), sign(wcsncmp(wa.c_str(), wb.c_str(), n)));

    // Tokens: same sequence as wcstok.
    U16 t = a;
    std::wstring wt = wa;
    uint16_t *pos = nullptr;
    wchar_t *wpos = nullptr;
    uint16_t *tok = ilx_wcstok(t.data(), b.data(), &pos);
    wchar_t *wtok = wcstok(wt.data(), wb.c_str(), &wpos);
    for (;;) {
      ASSERT_EQ(tok == nullptr, wtok == nullptr);
      if (!tok) break;
      ASSERT_EQ(tok - t.data(), wtok - wt.data());
      ASSERT_EQ(ilx_wcslen(tok), wcslen(wtok));
      tok = ilx_wcstok(nullptr, b.data(), &pos);
      wtok = wcstok(nullptr, wb.c_str(), &wpos);
    }
  }
}

TEST(WideStrings, CompareGivesTheDifferenceOfUnits) {
  const U16 a = w({'a', 'b', 'c'}), b = w({'a', 'b', 'e'}), hi = w({0xFFFF}), one = w({1});
  EXPECT_EQ(ilx_wcsncmp(a.data(), b.data(), 3), 'c' - 'e');
  EXPECT_EQ(ilx_wcsncmp(a.data(), b.data(), 2), 0);
  EXPECT_EQ(ilx_wcsncmp(a.data(), b.data(), 0), 0);
  EXPECT_EQ(ilx_wcsncmp(hi.data(), one.data(), 1), 0xFFFF - 1);  // unsigned units
  EXPECT_EQ(ilx_wcsncmp(a.data(), w({'a'}).data(), 5), 'b');     // shorter string: against its zero unit
}

TEST(WideStrings, CopiesAndAppends) {
  const U16 src = w({'x', 'y', 'z'});
  U16 d(8, 0x7777);
  EXPECT_EQ(ilx_wcsncpy(d.data(), src.data(), 6), d.data());
  EXPECT_EQ(d, (U16{'x', 'y', 'z', 0, 0, 0, 0x7777, 0x7777}));  // rest of the n units zeroed
  ilx_wcsncpy(d.data(), src.data(), 2);
  EXPECT_EQ(d[0], 'x');
  EXPECT_EQ(d[2], 'z');  // no zero unit when the source is longer

  U16 e(10, 0x7777);
  e[0] = 'a';
  e[1] = 0;
  EXPECT_EQ(ilx_wcsncat(e.data(), src.data(), 2), e.data());
  EXPECT_EQ(U16(e.begin(), e.begin() + 5), (U16{'a', 'x', 'y', 0, 0x7777}));  // zero unit always added
  ilx_wcscat(e.data(), src.data());
  EXPECT_EQ(U16(e.begin(), e.begin() + 7), (U16{'a', 'x', 'y', 'x', 'y', 'z', 0}));
  U16 f(5, 0x7777);
  ilx_wcscpy(f.data(), src.data());
  EXPECT_EQ(f, (U16{'x', 'y', 'z', 0, 0x7777}));
}

TEST(WideStrings, TokensKeepThePositionAfterTheDelimiter) {
  U16 s = w({',', 'a', 'b', ',', ',', 'c'});
  const U16 delim = w({','});
  uint16_t *pos = nullptr;
  uint16_t *t = ilx_wcstok(s.data(), delim.data(), &pos);
  ASSERT_EQ(t, s.data() + 1);
  EXPECT_EQ(ilx_wcslen(t), 2u);
  EXPECT_EQ(pos, s.data() + 4);
  t = ilx_wcstok(nullptr, delim.data(), &pos);
  ASSERT_EQ(t, s.data() + 5);
  EXPECT_EQ(ilx_wcstok(nullptr, delim.data(), &pos), nullptr);
  EXPECT_EQ(ilx_wcstok(nullptr, delim.data(), &pos), nullptr);  // stays exhausted
}

TEST(WideStrings, NullStringsAreEmpty) {
  U16 d = w({'a'});
  EXPECT_EQ(ilx_wcslen(nullptr), 0u);
  EXPECT_EQ(ilx_wcscat(d.data(), nullptr), d.data());
  EXPECT_EQ(d, w({'a'}));
  EXPECT_EQ(ilx_wcsncmp(nullptr, d.data(), 1), -'a');
  EXPECT_EQ(ilx_wcstok(d.data(), d.data(), nullptr), nullptr);
}

}  // namespace
