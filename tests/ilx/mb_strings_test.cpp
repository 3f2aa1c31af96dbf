// Multibyte strings: random texts built with iconv, every character boundary known; double-byte
// traps, GB 18030 pairs and EBCDIC shift codes; on UTF-8 and the byte-for-byte code set what the
// walks cannot reach, in exact-size heap blocks so that the sanitizer sees a read past the end.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "iconv_oracle.h"
#include "lumex/ilx.h"

namespace {

using U16 = std::vector<uint16_t>;

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
      ASSERT_EQ(ilx_ismbs1st(h.cs, s, s + start), end - start == 1 ? 0 : 1);
      for (size_t k = start + 1; k < end; ++k) {
        ASSERT_EQ(ilx_mbsbtype(h.cs, s, k), 2);
        ASSERT_EQ(ilx_ismbs1st(h.cs, s, s + k), 0);
      }
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
  const std::string so = "\x83\x5C";  // katakana so: its trail byte is a backslash
  const std::string text = "a" + so + "b\\c" + so;
  const char *t = text.c_str();
  for (const char *p : {ilx_strchr(h.cs, t, '\\'), ilx_strrchr(h.cs, t, '\\'),
                        ilx_strstr(h.cs, t, "\\"), ilx_strpbrk(h.cs, t, "\\")})
    EXPECT_EQ(p, t + 4);
  EXPECT_EQ(ilx_strcspn(h.cs, t, "\\"), 4u);
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
  ASSERT_TRUE(latin1.cs && ebcdic.cs);
  std::string s = "\xE9t\xE9 \xFF";
  ilx_strupper(latin1.cs, nullptr, &s[0]);
  EXPECT_EQ(s, "\xC9T\xC9 \xFF");  // no Ÿ in Latin-1: ÿ stays
  EXPECT_EQ(ilx_check_subs(latin1.cs), 0);
  std::string e = "\x81\x82\x83";  // "abc" in EBCDIC
  ilx_strupper(ebcdic.cs, nullptr, &e[0]);
  EXPECT_EQ(e, "\xC1\xC2\xC3");
  EXPECT_EQ(ilx_stricmp(ebcdic.cs, nullptr, "\x81\x82", "\xC1\xC2"), 0);
}

TEST(Gb18030Text, FourByteCharactersBeyondTheBmp) {
  Handle h("GB18030");
  ASSERT_NE(h.cs, nullptr);
  uint16_t wc = 0;
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\x90\x30\x81\x30", 4), -1);  // U+10000 needs a pair
  EXPECT_EQ(ilx_mblen(h.cs, "\x90\x30\x81\x30", 4), 4);
  const char *s = "a\x90\x30\x81\x30" "b";
  for (const auto &[at, type] : {std::make_pair(1, 1), {4, 2}, {5, 0}})
    EXPECT_EQ(ilx_mbsbtype(h.cs, s, at), type) << at;
  EXPECT_EQ(ilx_strnlen(h.cs, s, 4), 1u);
}

// EBCDIC with shift codes: 0x0E opens a double-byte run, 0x0F closes it; the
// texts as iconv writes them.
class ShiftedText : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(h.cs, nullptr); }
  std::string run(const std::u32string &s) { return iconv.encode(s); }
  Handle h{"IBM939"};
  IconvOracle iconv{"IBM939"};
};

TEST_F(ShiftedText, WholeStringsCarryTheirShiftCodesAndWalksKeepEachStringsState) {
  for (int stateful : {ilx_mbtowc(h.cs, nullptr, nullptr, 0), ilx_mblen(h.cs, nullptr, 0),
                       ilx_wctomb(h.cs, nullptr, 0)}) EXPECT_EQ(stateful, 1);
  char b[8];
  EXPECT_EQ(ilx_wctomb(h.cs, b, 0xFF41), 3);  // the shift code comes with the character
  EXPECT_EQ(std::string(b, 3), run(U"\uFF41").substr(0, 3));
  ilx_wctomb(h.cs, nullptr, 0);
  uint16_t wc = 0;
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\x0E", 1), -1);  // a shift code alone is no character
  const U16 ending{0xFF41, 0};
  EXPECT_EQ(ilx_wcstombs(h.cs, nullptr, ending.data(), 0), 4);  // the count includes the close
  // No room for the closing code: the character is left out rather than
  // leaving the output inside a double-byte run.
  std::memset(b, 'x', sizeof b);
  EXPECT_EQ(ilx_wcstombs(h.cs, b, ending.data(), 3), 0);
  EXPECT_EQ(b[0], '\0');
  // Mixed texts against iconv, with its final shift back, and read back.
  std::mt19937 rng(3);
  for (int round = 0; round < 200; ++round) {
    std::u32string cps;
    for (int n = 1 + round % 9; n > 0; --n)
      cps.push_back(rng() % 3 == 0 ? 0x41 + rng() % 26 : 0xFF21 + rng() % 26);
    const std::string expected = run(cps);
    ASSERT_FALSE(expected.empty());
    U16 ws(cps.begin(), cps.end()), back(cps.size() + 1, 0);
    ws.push_back(0);
    char mine[64];
    ASSERT_EQ(ilx_wcstombs(h.cs, mine, ws.data(), sizeof mine), static_cast<int>(expected.size()));
    ASSERT_EQ(std::string(mine), expected);
    ASSERT_EQ(ilx_mbstowcs(h.cs, back.data(), mine, back.size()), static_cast<int>(cps.size()));
    ASSERT_EQ(back, ws);
  }
  const std::string s = run(U"\uFF41\uFF42") + "\xC1";
  // The shift codes go with the character after them.
  const std::pair<size_t, int> types[] = {{0, 1}, {2, 2}, {3, 1}, {4, 2}, {5, 1}};
  for (const auto &t : types)
    EXPECT_EQ(ilx_mbsbtype(h.cs, s.c_str(), t.first), t.second) << t.first;
  // Two strings walked side by side with one handle.
  const std::string ab = run(U"\uFF41\uFF42");
  EXPECT_EQ(ilx_stricmp(h.cs, nullptr, ab.c_str(), run(U"\uFF21\uFF22").c_str()), 0);
  EXPECT_EQ(ilx_stricmp(h.cs, nullptr, ab.c_str(), run(U"\uFF21\uFF43").c_str()), -1);
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\xC1", 1), 1);  // the handle is back in single-byte state
  EXPECT_EQ(wc, 'A');
  std::string word = ab + "\x81";
  ilx_strupper(h.cs, nullptr, &word[0]);
  EXPECT_EQ(word, run(U"\uFF21\uFF22") + "\xC1");
  // A bounded copy closes the run it cuts.
  char dst[6];
  std::memset(dst, 'x', sizeof dst);
  ilx_strncpy(h.cs, dst, ab.c_str(), 5);
  EXPECT_EQ(std::string(dst, 6), run(U"\uFF41") + std::string(1, '\0') + "x");
}

// An exact-size heap copy of s and its NUL, zero-filled up to room bytes.
struct Buf {
  explicit Buf(const std::string &s, size_t room = 0)
      : p(new char[std::max(s.size() + 1, room)]()) {
    std::memcpy(p.get(), s.data(), s.size());
  }
  char *get() const { return p.get(); }
  std::string str() const { return p.get(); }
  std::unique_ptr<char[]> p;
};

class MbText : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(utf8, nullptr);
    ASSERT_NE(os, nullptr);  // bytes are code points 0 to 255
    ilx_check_subs(utf8);
  }
  void TearDown() override { ilx_cs_free(os); }
  CodeSetT utf8 = ilx_cs_new("utf-8"), os = ilx_cs_new("INTERNAL37");
};

TEST_F(MbText, OneCharacterBothWays) {
  // toWide from ilx_mbtowc (a surrogate pair is no character), len from ilx_mblen.
  struct Row { CodeSetT cs; std::string in; size_t n; int toWide; uint16_t wc; int len; };
  const Row rows[] = {
      {utf8, "\xC3\xA9z", 3, 2, 0xE9, 2},     {utf8, std::string(1, '\0'), 1, 0, 0, 0},
      {utf8, "\xE2\x82\xAC", 2, -1, 0, -1},    {utf8, "A", 0, -1, 0, -1},
      {utf8, "\xF0\x9F\x98\x80", 4, -1, 0, 4}, {utf8, "\xF0\x9F\x98\x80", 3, -1, 0, -1},
      {os, "\xE9", 1, 1, 0xE9, 1},             {os, "\xC3\xA9", 2, 1, 0xC3, 1},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE("row " + std::to_string(&r - rows));
    const Buf in(r.in);
    uint16_t wc = 0x7777;
    EXPECT_EQ(ilx_mbtowc(r.cs, &wc, in.get(), r.n), r.toWide);
    if (r.toWide >= 0) {
      EXPECT_EQ(wc, r.wc);
    }
    EXPECT_EQ(ilx_mblen(r.cs, in.get(), r.n), r.len);
  }
  EXPECT_EQ(ilx_mbtowc(utf8, nullptr, "\xC3\xA9", 2), 2);  // no output wanted
  EXPECT_EQ(ilx_mbtowc(utf8, nullptr, nullptr, 0), 0);     // no shift state
  EXPECT_EQ(ilx_wctomb(utf8, nullptr, 0), 0);
  EXPECT_EQ(ilx_mblen(os, nullptr, 0), 0);
  struct Back { CodeSetT cs; uint16_t wc; int n; std::string bytes; int subs; };
  const Back backs[] = {
      {utf8, 0xE9, 2, "\xC3\xA9", 0}, {utf8, 0xDC00, 1, "?", 1},
      {utf8, 0xD83D, -1, "", 0},  // a high surrogate alone cannot be completed
  };
  for (const Back &r : backs) {
    char b[4] = {};
    EXPECT_EQ(ilx_wctomb(r.cs, b, r.wc), r.n) << r.wc;
    EXPECT_EQ(std::string(b, r.n < 0 ? 0 : r.n), r.bytes) << r.wc;
    EXPECT_EQ(ilx_check_subs(r.cs), r.subs) << r.wc;
  }
}

TEST_F(MbText, StringsBothWaysAndByteTypes) {
  const Buf text("a\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(ilx_mbstowcs(utf8, nullptr, text.get(), 0), 3);
  U16 out(5, 0x7777);
  EXPECT_EQ(ilx_mbstowcs(utf8, out.data(), text.get(), 2), 2);
  EXPECT_EQ(out, (U16{'a', 0xE9, 0x7777, 0x7777, 0x7777}));
  EXPECT_EQ(ilx_mbstowcs(utf8, out.data(), text.get(), 0), 0);
  EXPECT_EQ(ilx_mbstowcs(utf8, out.data(), nullptr, 5), -1);
  // Beyond U+FFFF: no character. A character cut off by the NUL is not
  // completed from the bytes after it (each byte one substitution), nor does
  // a lead byte take the NUL as its following byte.
  const Buf lead("x\xC3");
  for (const auto &c : {std::make_pair("x\xF0\x9F\x98\x80", -1), {"ab\xE2\x82", 4}, {"x\xC3", 2}})
    EXPECT_EQ(ilx_mbstowcs(utf8, nullptr, Buf(c.first).get(), 0), c.second) << c.first;
  EXPECT_EQ(ilx_strchr(utf8, lead.get(), 0), lead.get() + 2);
  EXPECT_EQ(ilx_mbsbtype(utf8, lead.get(), 2), -1);
  // Byte types beyond U+FFFF, past the NUL, of no string and before the string.
  const Buf smile("\xF0\x9F\x98\x80!");
  for (const auto &t : {std::make_pair(0, 1), {3, 2}, {4, 0}})
    EXPECT_EQ(ilx_mbsbtype(utf8, smile.get(), t.first), t.second) << t.first;
  EXPECT_EQ(ilx_mbsbtype(utf8, text.get(), 1000), -1);
  EXPECT_EQ(ilx_mbsbtype(utf8, nullptr, 0), -1);
  EXPECT_EQ(ilx_ismbs1st(utf8, text.get() + 1, text.get()), 0);
  const U16 ws{'a', 0xE9, 0x20AC, 0};
  EXPECT_EQ(ilx_wcstombs(utf8, nullptr, ws.data(), 0), 6);
  struct Row { size_t room; int n; std::string out; };
  const Row rows[] = {
      {6, 6, "a\xC3\xA9\xE2\x82\xAC" "xx"},       // exactly full: no NUL
      {5, 3, std::string("a\xC3\xA9\0xxxx", 8)},  // the euro sign is left out whole
      {0, 0, "xxxxxxxx"},
  };
  for (const Row &r : rows) {
    char out[8];
    std::fill(out, out + 8, 'x');
    EXPECT_EQ(ilx_wcstombs(utf8, out, ws.data(), r.room), r.n);
    EXPECT_EQ(std::string(out, 8), r.out) << r.room;
  }
  // Surrogate pairs do not convert unit by unit.
  const U16 pair{'a', 0xD83D, 0xDE00, 0};
  char mb[8];
  EXPECT_EQ(ilx_wcstombs(utf8, mb, pair.data(), 8), -1);
  EXPECT_EQ(ilx_wcstombs(utf8, nullptr, pair.data(), 0), -1);
  EXPECT_EQ(ilx_wcstombs(utf8, mb, nullptr, 8), -1);
}

TEST_F(MbText, CaseMappingInPlaceAndCaseInsensitiveCompare) {
  Buf s("Straße ÀÉÎ ΑΒΓ ǅ Жук ÿ");
  EXPECT_EQ(ilx_strlower(utf8, nullptr, s.get()), s.get());
  EXPECT_EQ(s.str(), "straße àéî αβγ ǆ жук ÿ");
  ilx_strupper(utf8, "de_DE", s.get());
  EXPECT_EQ(s.str(), "STRAßE ÀÉÎ ΑΒΓ Ǆ ЖУК Ÿ");  // ß has no single upper-case letter
  EXPECT_EQ(ilx_check_subs(utf8), 0);
  // Text that stops decoding is mapped as far as it got.
  Buf cut("ab\xE2\x82");
  ilx_strupper(utf8, nullptr, cut.get());
  EXPECT_EQ(cut.str(), "AB\xE2\x82");
  EXPECT_EQ(ilx_strupper(utf8, nullptr, nullptr), nullptr);
  struct Row { std::string a, b; size_t n; int result; };  // n = 0: the whole-string form
  const Row rows[] = {
      {"École ΑΒΓ", "école αβγ", 0, 0}, {"École ΑΒΓ", "école αβδ", 0, 0x3B3 - 0x3B4},
      {"abc", "ABD", 0, 'c' - 'd'}, {"ÉCOLEx", "écoley", 6, 0}, {"ÉCOLEx", "écoley", 7, 'x' - 'y'},
      {"\xC3\xA9", "\xC3\xA8", 1, 0}, {"\xC3\xA9", "\xC3\xA8", 2, 1},  // a count inside a character
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x81", 0, 0x80 - 0x81},  // beyond U+FFFF: bytes
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", 0, 0},
  };
  for (const Row &r : rows) {
    const Buf a(r.a), b(r.b);
    EXPECT_EQ(r.n ? ilx_strnicmp(utf8, nullptr, a.get(), b.get(), r.n)
                  : ilx_stricmp(utf8, nullptr, a.get(), b.get()),
              r.result)
        << r.a << " / " << r.b << " / " << r.n;
  }
  const Buf abar("Ā"), empty(""), overlong("\xC1\x81"), plain("a");
  EXPECT_LT(ilx_stricmp(utf8, nullptr, empty.get(), abar.get()), 0);
  EXPECT_EQ(ilx_strnicmp(utf8, nullptr, "a", "b", 0), 0);
  // An overlong form never equals the short one (it reads as two invalid
  // bytes), and the shorter string is not read past its end.
  EXPECT_NE(ilx_stricmp(utf8, nullptr, plain.get(), overlong.get()), 0);
  EXPECT_EQ(ilx_stricmp(utf8, nullptr, nullptr, ""), 0);
}

// Searches and tokens as such; how they step over characters: the walks and
// DoubleByteText.
TEST_F(MbText, SearchesTokensLimitsAndBoundedCopies) {
  const Buf s("é©x©");  // C3 A9 C2 A9 'x' C2 A9
  EXPECT_EQ(ilx_strchr(utf8, s.get(), 0), s.get() + 7);
  EXPECT_EQ(ilx_strrchr(utf8, s.get(), 0), s.get() + 7);
  EXPECT_EQ(ilx_strstr(utf8, s.get(), "x©"), s.get() + 4);
  EXPECT_EQ(ilx_strstr(utf8, s.get(), ""), s.get());
  EXPECT_EQ(ilx_strstr(utf8, s.get(), "x©x"), nullptr);
  EXPECT_EQ(ilx_strspn(utf8, s.get(), "\xC3"), 0u);  // a lead byte alone is not é
  EXPECT_EQ(ilx_strpbrk(utf8, s.get(), "z"), nullptr);
  EXPECT_EQ(ilx_strspn(utf8, s.get(), nullptr), 0u);
  const Buf t("、ab、、cd、");  // ideographic comma E3 80 81
  char *pos = nullptr;
  EXPECT_STREQ(ilx_strtok(utf8, t.get(), "、", &pos), "ab");
  EXPECT_EQ(pos, t.get() + 8);  // after the whole delimiter character
  EXPECT_STREQ(ilx_strtok(utf8, nullptr, "、", &pos), "cd");
  EXPECT_EQ(ilx_strtok(utf8, nullptr, "、", &pos), nullptr);
  EXPECT_EQ(ilx_strtok(utf8, t.get(), "、", nullptr), nullptr);
  // A buffer without a NUL: nothing beyond the n bytes is read.
  const std::unique_ptr<char[]> raw(new char[3]{'a', '\xC3', '\xA9'});
  EXPECT_EQ(ilx_strnlen(utf8, raw.get(), 3), 3u);
  EXPECT_EQ(ilx_strnlen(utf8, raw.get(), 2), 1u);
  EXPECT_EQ(ilx_strnlen(utf8, nullptr, 5), 0u);
  const Buf d("", 8);
  std::memset(d.get(), 'x', 8);
  EXPECT_EQ(ilx_strncpy(utf8, d.get(), "a\xF0\x9F\x98\x80z", 4), d.get());  // not cut either
  EXPECT_EQ(std::string(d.get(), 8), std::string("a\0\0\0xxxx", 8));
  EXPECT_EQ(ilx_strncpy(utf8, nullptr, "a", 1), nullptr);
  const Buf e("ab", 12);
  EXPECT_EQ(ilx_strncat(utf8, e.get(), "€€", 5), e.get());
  EXPECT_EQ(e.str(), "ab€");  // always terminated, characters whole
  ilx_strncat(utf8, e.get(), "cd", 1);
  EXPECT_EQ(e.str(), "ab€c");
  EXPECT_EQ(ilx_strncat(utf8, e.get(), nullptr, 1), e.get());
  EXPECT_EQ(e.str(), "ab€c");
}

}  // namespace
