// Multibyte functions on UTF-8 and table code sets: random texts built
// character by character with the C library's iconv, so that every character
// boundary is known, and the traps of double-byte text (trail bytes that
// look like ASCII), of GB 18030 pairs and of EBCDIC shift codes.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "iconv_oracle.h"
#include "lumex/ilx.h"

namespace {

using U16 = std::vector<uint16_t>;

struct Handle {
  explicit Handle(const char *name) : cs(ilx_cs_new(name)) {}
  ~Handle() { ilx_cs_free(cs); }
  CodeSetT cs;
};

// A text of random characters with the offset where each one starts.
struct Text {
  std::string bytes;
  U16 units;
  std::vector<size_t> starts;
};

Text randomText(CodeSetT cs, IconvOracle &iconv, std::mt19937 &rng, int chars) {
  Text t;
  while (static_cast<int>(t.units.size()) < chars) {
    const uint32_t cp = rng() % 3 == 0 ? 1 + rng() % 0x7F : 1 + rng() % 0xFFFF;
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const std::string enc = iconv.encode(cp);
    if (enc.empty() || enc.find('\0') != std::string::npos) continue;
    // Characters on which the table and iconv agree both ways (the rest is
    // the cross-check's business).
    uint16_t wc = 0;
    char mine[4];
    if (ilx_mbtowc(cs, &wc, enc.data(), enc.size()) != static_cast<int>(enc.size()) || wc != cp ||
        ilx_wctomb(cs, mine, static_cast<uint16_t>(cp)) != static_cast<int>(enc.size()) ||
        std::string(mine, enc.size()) != enc)
      continue;
    t.starts.push_back(t.bytes.size());
    t.bytes += enc;
    t.units.push_back(static_cast<uint16_t>(cp));
  }
  return t;
}

class StatelessCodeSets : public ::testing::TestWithParam<const char *> {};

TEST_P(StatelessCodeSets, WalksAgreeWithTheCharacterBoundaries) {
  Handle h(GetParam());
  ASSERT_NE(h.cs, nullptr) << GetParam();
  IconvOracle iconv(GetParam());
  ASSERT_TRUE(iconv.ok());
  std::mt19937 rng(7);
  for (int round = 0; round < 60; ++round) {
    const Text t = randomText(h.cs, iconv, rng, 1 + round % 12);
    const char *s = t.bytes.c_str();
    const size_t size = t.bytes.size();
    // Whole strings, both ways.
    U16 wide(t.units.size() + 1, 0x7777);
    ASSERT_EQ(ilx_mbstowcs(h.cs, wide.data(), s, wide.size()), static_cast<int>(t.units.size()));
    ASSERT_EQ(U16(wide.begin(), wide.end() - 1), t.units);
    std::string back(size + 1, 'x');
    ASSERT_EQ(ilx_wcstombs(h.cs, &back[0], wide.data(), back.size()), static_cast<int>(size));
    ASSERT_EQ(back.c_str(), t.bytes);
    ASSERT_EQ(ilx_wcstombs(h.cs, nullptr, wide.data(), 0), static_cast<int>(size));
    // Byte types and lengths at every offset; byte searches find only starts.
    for (size_t i = 0; i < t.starts.size(); ++i) {
      const size_t start = t.starts[i], end = i + 1 < t.starts.size() ? t.starts[i + 1] : size;
      ASSERT_EQ(ilx_mblen(h.cs, s + start, size - start), static_cast<int>(end - start));
      ASSERT_EQ(ilx_mbsbtype(h.cs, s, start), end - start == 1 ? 0 : 1);
      for (size_t k = start + 1; k < end; ++k) ASSERT_EQ(ilx_mbsbtype(h.cs, s, k), 2);
      for (size_t k = start; k < end; ++k) {
        const char *first = nullptr;
        for (size_t j = 0; j < t.starts.size() && first == nullptr; ++j)
          if (s[t.starts[j]] == s[k]) first = s + t.starts[j];
        ASSERT_EQ(ilx_strchr(h.cs, s, static_cast<unsigned char>(s[k])), first);
      }
    }
    ASSERT_EQ(ilx_mbsbtype(h.cs, s, size), -1);
    // Limits fall on character boundaries.
    for (size_t n = 0; n <= size + 1; ++n) {
      size_t whole = 0;
      for (size_t start : t.starts)
        if (start <= n) whole = start;
      if (size <= n) whole = size;
      ASSERT_EQ(ilx_strnlen(h.cs, s, n), whole) << n;
      std::string dst(n + 1, 'x');
      ilx_strncpy(h.cs, &dst[0], s, n);
      ASSERT_EQ(dst.substr(0, whole), t.bytes.substr(0, whole)) << n;
      ASSERT_EQ(dst.substr(whole, n - whole), std::string(n - whole, '\0')) << n;
      ASSERT_EQ(dst[n], 'x') << n;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Tables, StatelessCodeSets,
                         ::testing::Values("UTF-8", "ISO-8859-1", "IBM1047", "CP932", "EUC-JP",
                                           "BIG5", "GB18030"));

// Shift-JIS: trail bytes from 0x40 to 0x7E look like ASCII.
TEST(DoubleByteText, TrailBytesAreNotCharacters) {
  Handle h("SJIS");
  ASSERT_NE(h.cs, nullptr);
  const char *s = "A\x82\xA0";  // "A", then hiragana a
  EXPECT_EQ(ilx_ismbs1st(h.cs, s, s + 1), 1);
  const std::string so = "\x83\x5C";  // katakana so: its trail byte is a backslash
  const std::string text = "a" + so + "b\\c" + so;
  const char *t = text.c_str();
  EXPECT_EQ(ilx_strchr(h.cs, t, '\\'), t + 4);
  EXPECT_EQ(ilx_strrchr(h.cs, t, '\\'), t + 4);
  EXPECT_EQ(ilx_strstr(h.cs, t, "\\"), t + 4);
  EXPECT_EQ(ilx_strcspn(h.cs, t, "\\"), 4u);
  EXPECT_EQ(ilx_strpbrk(h.cs, t, "\\"), t + 4);
  EXPECT_EQ(ilx_strspn(h.cs, t, ("a" + so).c_str()), 3u);
  std::string tok = text;
  char *pos = nullptr;
  EXPECT_STREQ(ilx_strtok(h.cs, &tok[0], "\\", &pos), ("a" + so + "b").c_str());
  EXPECT_STREQ(ilx_strtok(h.cs, nullptr, "\\", &pos), ("c" + so).c_str());
  EXPECT_EQ(ilx_strtok(h.cs, nullptr, "\\", &pos), nullptr);
  // Full-width letters change case within the code set.
  std::string word = "a\x82\x81\x82\x60z";  // a, full-width a, full-width A, z
  ilx_strupper(h.cs, nullptr, &word[0]);
  EXPECT_EQ(word, "A\x82\x60\x82\x60Z");
  EXPECT_EQ(ilx_stricmp(h.cs, nullptr, "\x82\x81x", "\x82\x60X"), 0);
  EXPECT_EQ(ilx_strnicmp(h.cs, nullptr, "\x82\x81x", "\x82\x60y", 2), 0);
  EXPECT_NE(ilx_strnicmp(h.cs, nullptr, "\x82\x81x", "\x82\x60y", 3), 0);
}

TEST(SingleByteText, MappedCaseMustExistInTheCodeSet) {
  Handle latin1("ISO-8859-1"), ebcdic("IBM1047");
  ASSERT_NE(latin1.cs, nullptr);
  ASSERT_NE(ebcdic.cs, nullptr);
  std::string s = "\xE9t\xE9 \xFF";
  ilx_strupper(latin1.cs, nullptr, &s[0]);
  EXPECT_EQ(s, "\xC9T\xC9 \xFF");  // no Ÿ in Latin-1: ÿ stays
  EXPECT_EQ(ilx_check_subs(latin1.cs), 0);
  std::string e = "\x81\x82\x83";  // "abc" in EBCDIC
  ilx_strupper(ebcdic.cs, nullptr, &e[0]);
  EXPECT_EQ(e, "\xC1\xC2\xC3");
  EXPECT_EQ(ilx_stricmp(ebcdic.cs, nullptr, "\x81\x82", "\xC1\xC2"), 0);
  EXPECT_EQ(ilx_mblen(ebcdic.cs, "\x0E\x41", 2), 1);  // every character is one byte
}

TEST(Gb18030Text, FourByteCharactersBeyondTheBmp) {
  Handle h("GB18030");
  ASSERT_NE(h.cs, nullptr);
  uint16_t wc = 0;
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\x90\x30\x81\x30", 4), -1);  // U+10000 needs a pair
  EXPECT_EQ(ilx_mblen(h.cs, "\x90\x30\x81\x30", 4), 4);
  const char *s = "a\x90\x30\x81\x30" "b";
  EXPECT_EQ(ilx_mbsbtype(h.cs, s, 1), 1);
  EXPECT_EQ(ilx_mbsbtype(h.cs, s, 4), 2);
  EXPECT_EQ(ilx_mbsbtype(h.cs, s, 5), 0);
  EXPECT_EQ(ilx_strnlen(h.cs, s, 4), 1u);
}

// EBCDIC with shift codes: 0x0E opens a double-byte run, 0x0F closes it.
class ShiftedText : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(h.cs, nullptr);
    char b[4];
    // Full-width a, b, A, B, c as they are written inside a run.
    for (uint16_t u : {0xFF41, 0xFF42, 0xFF21, 0xFF22, 0xFF43}) {
      ASSERT_EQ(ilx_wctomb(h.cs, nullptr, 0), 1);  // a stateful code set
      ASSERT_EQ(ilx_wctomb(h.cs, b, u), 3);
      ASSERT_EQ(b[0], '\x0E');
      dbcs[u] = std::string(b + 1, 2);
    }
    ilx_wctomb(h.cs, nullptr, 0);
  }
  std::string run(std::initializer_list<uint16_t> units) {
    std::string s = "\x0E";
    for (uint16_t u : units) s += dbcs[u];
    return s + "\x0F";
  }
  Handle h{"IBM939"};
  std::map<uint16_t, std::string> dbcs;
};

TEST_F(ShiftedText, WholeStringsCarryTheirShiftCodes) {
  EXPECT_EQ(ilx_mbtowc(h.cs, nullptr, nullptr, 0), 1);
  EXPECT_EQ(ilx_mblen(h.cs, nullptr, 0), 1);
  uint16_t wc = 0;
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\x0E", 1), -1);  // a shift code alone is no character
  U16 out(4, 0x7777);
  EXPECT_EQ(ilx_mbstowcs(h.cs, out.data(), (run({0xFF41, 0xFF42}) + "\xC1").c_str(), 4), 3);
  EXPECT_EQ(out, (U16{0xFF41, 0xFF42, 'A', 0}));

  const U16 ending{0xFF41, 0};
  char b[8];
  EXPECT_EQ(ilx_wcstombs(h.cs, b, ending.data(), sizeof b), 4);  // closed by the flush
  EXPECT_EQ(std::string(b, 4), run({0xFF41}));
  EXPECT_EQ(ilx_wcstombs(h.cs, nullptr, ending.data(), 0), 4);  // the count includes the close
  // No room for the closing code: the character is left out rather than
  // leaving the output inside a double-byte run.
  std::memset(b, 'x', sizeof b);
  EXPECT_EQ(ilx_wcstombs(h.cs, b, ending.data(), 3), 0);
  EXPECT_EQ(b[0], '\0');

  // Mixed texts against iconv, with its final shift back.
  iconv_t cd = iconv_open("IBM939", "UCS-2LE");
  ASSERT_NE(cd, (iconv_t)-1);
  std::mt19937 rng(3);
  for (int round = 0; round < 200; ++round) {
    U16 ws;
    for (int n = 1 + round % 9; n > 0; --n)
      ws.push_back(static_cast<uint16_t>(rng() % 3 == 0 ? 0x41 + rng() % 26 : 0xFF21 + rng() % 26));
    char expected[128], *ip = reinterpret_cast<char *>(ws.data()), *op = expected;
    size_t il = ws.size() * 2, ol = sizeof expected;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(iconv(cd, &ip, &il, &op, &ol), static_cast<size_t>(-1));
    ASSERT_NE(iconv(cd, nullptr, nullptr, &op, &ol), static_cast<size_t>(-1));
    ws.push_back(0);
    char mine[64];
    ASSERT_EQ(ilx_wcstombs(h.cs, mine, ws.data(), sizeof mine), op - expected);
    ASSERT_EQ(std::string(mine), std::string(expected, op));
    U16 back(ws.size(), 0);
    ASSERT_EQ(ilx_mbstowcs(h.cs, back.data(), mine, back.size()), static_cast<int>(ws.size() - 1));
    ASSERT_EQ(back, ws);
  }
  iconv_close(cd);
}

TEST_F(ShiftedText, WalksKeepEachStringsShiftState) {
  const std::string s = run({0xFF41, 0xFF42}) + "\xC1";
  // The shift codes go with the character after them.
  const std::pair<size_t, int> types[] = {{0, 1}, {2, 2}, {3, 1}, {4, 2}, {5, 1}};
  for (const auto &t : types) EXPECT_EQ(ilx_mbsbtype(h.cs, s.c_str(), t.first), t.second) << t.first;
  // Two strings walked side by side with one handle.
  const std::string ab = run({0xFF41, 0xFF42});
  EXPECT_EQ(ilx_stricmp(h.cs, nullptr, ab.c_str(), run({0xFF21, 0xFF22}).c_str()), 0);
  EXPECT_EQ(ilx_stricmp(h.cs, nullptr, ab.c_str(), run({0xFF21, 0xFF43}).c_str()), -1);
  uint16_t wc = 0;
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\xC1", 1), 1);  // the handle is back in single-byte state
  EXPECT_EQ(wc, 'A');
  std::string word = ab + "\x81";
  ilx_strupper(h.cs, nullptr, &word[0]);
  EXPECT_EQ(word, run({0xFF21, 0xFF22}) + "\xC1");
  // A bounded copy closes the run it cuts.
  char dst[6];
  std::memset(dst, 'x', sizeof dst);
  ilx_strncpy(h.cs, dst, ab.c_str(), 5);
  EXPECT_EQ(std::string(dst, 6), run({0xFF41}) + std::string(1, '\0') + "x");
}

}  // namespace
