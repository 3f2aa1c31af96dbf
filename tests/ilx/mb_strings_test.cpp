// Multibyte characters and strings on the built-in UTF-8 and byte-for-byte
// code sets, where the random walks of mb_codesets_test cannot reach:
// characters beyond U+FFFF, cut-off text, NUL and null handling, case
// mapping and compare results. Inputs live in exact-size heap blocks so that
// a read past the end shows under the address sanitizer.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "lumex/ilx.h"

namespace {

using U16 = std::vector<uint16_t>;

struct Buf {
  explicit Buf(const std::string &s, size_t room = 0)
      : size(std::max(s.size() + 1, room)), bytes(new char[size]) {
    std::memset(bytes.get(), 0, size);
    std::memcpy(bytes.get(), s.data(), s.size());
  }
  char *get() const { return bytes.get(); }
  std::string str() const { return std::string(bytes.get()); }
  std::string raw(size_t n) const { return std::string(bytes.get(), n); }
  size_t size;
  std::unique_ptr<char[]> bytes;
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
      {utf8, "A", 1, 1, 'A', 1},          {utf8, "\xC3\xA9z", 3, 2, 0xE9, 2},
      {utf8, "\xE2\x82\xAC", 3, 3, 0x20AC, 3}, {utf8, std::string(1, '\0'), 1, 0, 0, 0},
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
      {utf8, 0xE9, 2, "\xC3\xA9", 0}, {utf8, 0xFFFD, 3, "\xEF\xBF\xBD", 0}, {utf8, 'x', 1, "x", 0},
      {utf8, 0xD83D, -1, "", 0},  // a high surrogate alone cannot be completed
      {utf8, 0xDC00, 1, "?", 1},  // a stray low one is substituted
      {os, 0x100, 1, "?", 1},
  };
  for (const Back &r : backs) {
    char b[4] = {};
    EXPECT_EQ(ilx_wctomb(r.cs, b, r.wc), r.n) << r.wc;
    EXPECT_EQ(std::string(b, r.n < 0 ? 0 : r.n), r.bytes) << r.wc;
    EXPECT_EQ(ilx_check_subs(r.cs), r.subs) << r.wc;
  }
}

TEST_F(MbText, StringsToWide) {
  const Buf text("a\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(ilx_mbstowcs(utf8, nullptr, text.get(), 0), 3);
  U16 out(5, 0x7777);
  EXPECT_EQ(ilx_mbstowcs(utf8, out.data(), text.get(), 5), 3);
  EXPECT_EQ(out, (U16{'a', 0xE9, 0x20AC, 0, 0x7777}));  // zero unit written, not counted
  out.assign(5, 0x7777);
  EXPECT_EQ(ilx_mbstowcs(utf8, out.data(), text.get(), 2), 2);
  EXPECT_EQ(out, (U16{'a', 0xE9, 0x7777, 0x7777, 0x7777}));
  EXPECT_EQ(ilx_mbstowcs(utf8, out.data(), text.get(), 0), 0);
  EXPECT_EQ(ilx_mbstowcs(utf8, nullptr, "x\xF0\x9F\x98\x80", 0), -1);
  EXPECT_EQ(ilx_mbstowcs(utf8, out.data(), nullptr, 5), -1);
  // A character cut off by the NUL is not completed from the bytes after
  // it: each of its bytes is one substituted character.
  EXPECT_EQ(ilx_mbstowcs(utf8, nullptr, Buf("ab\xE2\x82").get(), 0), 4);
  // Nor does a lead byte take the NUL as its following byte.
  const Buf lead("x\xC3");
  EXPECT_EQ(ilx_mbstowcs(utf8, nullptr, lead.get(), 0), 2);
  EXPECT_EQ(ilx_strchr(utf8, lead.get(), 0), lead.get() + 2);
  EXPECT_EQ(ilx_mbsbtype(utf8, lead.get(), 2), -1);
}

TEST_F(MbText, WideToStrings) {
  const U16 ws{'a', 0xE9, 0x20AC, 0};
  EXPECT_EQ(ilx_wcstombs(utf8, nullptr, ws.data(), 0), 6);
  struct Row { size_t room; int n; std::string out; };
  const Row rows[] = {
      {8, 6, std::string("a\xC3\xA9\xE2\x82\xAC\0x", 8)},
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
  char out[8];
  EXPECT_EQ(ilx_wcstombs(utf8, out, pair.data(), 8), -1);
  EXPECT_EQ(ilx_wcstombs(utf8, nullptr, pair.data(), 0), -1);
  EXPECT_EQ(ilx_wcstombs(utf8, out, nullptr, 8), -1);
}

TEST_F(MbText, ByteTypesAndCharacterStarts) {
  const Buf text("a\xC3\xA9\xE2\x82\xAC"), smile("\xF0\x9F\x98\x80!");
  EXPECT_EQ(ilx_mbsbtype(utf8, text.get(), 1000), -1);  // the walk stops at the NUL
  EXPECT_EQ(ilx_mbsbtype(utf8, smile.get(), 0), 1);
  EXPECT_EQ(ilx_mbsbtype(utf8, smile.get(), 3), 2);
  EXPECT_EQ(ilx_mbsbtype(utf8, smile.get(), 4), 0);
  EXPECT_EQ(ilx_mbsbtype(os, text.get(), 1), 0);
  EXPECT_EQ(ilx_mbsbtype(utf8, nullptr, 0), -1);
  EXPECT_EQ(ilx_ismbs1st(utf8, text.get(), text.get() + 3), 1);
  EXPECT_EQ(ilx_ismbs1st(utf8, text.get(), text.get() + 4), 0);
  EXPECT_EQ(ilx_ismbs1st(utf8, text.get(), text.get()), 0);
  EXPECT_EQ(ilx_ismbs1st(utf8, text.get() + 1, text.get()), 0);
}

TEST_F(MbText, NullHandleIsTheDefaultCodeSet) {
  uint16_t wc = 0;
  ASSERT_EQ(ilx_set_def_cs(utf8), 0);
  EXPECT_EQ(ilx_mbtowc(nullptr, &wc, "\xC3\xA9", 2), 2);
  EXPECT_EQ(wc, 0xE9);
  ASSERT_EQ(ilx_set_def_cs(os), 0);
  EXPECT_EQ(ilx_mbtowc(nullptr, &wc, "\xC3\xA9", 2), 1);
  EXPECT_EQ(wc, 0xC3);
  ASSERT_EQ(ilx_set_def_cs(nullptr), 0);
}

TEST_F(MbText, CaseMappingInPlace) {
  Buf s("Straße ÀÉÎ ΑΒΓ ǅ Жук ÿ");
  EXPECT_EQ(ilx_strlower(utf8, nullptr, s.get()), s.get());
  EXPECT_EQ(s.str(), "straße àéî αβγ ǆ жук ÿ");
  ilx_strupper(utf8, "de_DE", s.get());
  EXPECT_EQ(s.str(), "STRAßE ÀÉÎ ΑΒΓ Ǆ ЖУК Ÿ");  // ß has no single upper-case letter
  EXPECT_EQ(ilx_check_subs(utf8), 0);
  // A byte-for-byte code set cannot hold Ÿ (U+0178): ÿ stays, no '?' appears.
  Buf b("\xFF\xE9x");
  ilx_strupper(os, nullptr, b.get());
  EXPECT_EQ(b.str(), "\xFF\xC9X");
  EXPECT_EQ(ilx_check_subs(os), 0);
  // Text that stops decoding is mapped as far as it got.
  Buf cut("ab\xE2\x82");
  ilx_strupper(utf8, nullptr, cut.get());
  EXPECT_EQ(cut.str(), "AB\xE2\x82");
  EXPECT_EQ(ilx_strupper(utf8, nullptr, nullptr), nullptr);
}

TEST_F(MbText, CaseInsensitiveCompare) {
  struct Row { std::string a, b; size_t n; int result; };  // n = 0: the whole-string form
  const Row rows[] = {
      {"École ΑΒΓ", "école αβγ", 0, 0}, {"École ΑΒΓ", "école αβδ", 0, 0x3B3 - 0x3B4},
      {"abc", "ABD", 0, 'c' - 'd'},     {"ÉCOLEx", "écoley", 6, 0},
      {"ÉCOLEx", "écoley", 7, 'x' - 'y'},
      {"\xC3\xA9", "\xC3\xA8", 1, 0},  // a count inside a character covers only its bytes
      {"\xC3\xA9", "\xC3\xA8", 2, 1},
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
  EXPECT_GT(ilx_stricmp(utf8, nullptr, abar.get(), empty.get()), 0);
  EXPECT_LT(ilx_stricmp(utf8, nullptr, empty.get(), abar.get()), 0);
  EXPECT_EQ(ilx_strnicmp(utf8, nullptr, "a", "b", 0), 0);
  // An overlong form never equals the short one (it reads as two invalid
  // bytes), and the shorter string is not read past its end.
  EXPECT_NE(ilx_stricmp(utf8, nullptr, overlong.get(), plain.get()), 0);
  EXPECT_NE(ilx_stricmp(utf8, nullptr, plain.get(), overlong.get()), 0);
  EXPECT_EQ(ilx_stricmp(utf8, nullptr, nullptr, ""), 0);
}

TEST_F(MbText, SearchesStepOverWholeCharacters) {
  const Buf s("é©x©");  // C3 A9 C2 A9 'x' C2 A9
  EXPECT_EQ(ilx_strrchr(utf8, s.get(), 0xC2), s.get() + 5);
  EXPECT_EQ(ilx_strrchr(utf8, s.get(), 0xA9), nullptr);
  EXPECT_EQ(ilx_strchr(utf8, s.get(), 0), s.get() + 7);
  EXPECT_EQ(ilx_strrchr(utf8, s.get(), 0), s.get() + 7);
  EXPECT_EQ(ilx_strchr(os, s.get(), 0xA9), s.get() + 1);  // every byte starts a character
  EXPECT_EQ(ilx_strstr(utf8, s.get(), "\xA9"), nullptr);
  EXPECT_EQ(ilx_strstr(utf8, s.get(), "x©"), s.get() + 4);
  EXPECT_EQ(ilx_strstr(utf8, s.get(), ""), s.get());
  EXPECT_EQ(ilx_strstr(utf8, s.get(), "x©x"), nullptr);
  const Buf t("éèa€b");
  EXPECT_EQ(ilx_strspn(utf8, t.get(), "èé"), 4u);
  EXPECT_EQ(ilx_strspn(utf8, t.get(), "\xC3"), 0u);  // a lead byte alone is not é
  EXPECT_EQ(ilx_strcspn(utf8, t.get(), "€"), 5u);
  EXPECT_EQ(ilx_strcspn(utf8, t.get(), "\xAC"), 9u);  // nor is a trail byte €
  EXPECT_EQ(ilx_strpbrk(utf8, t.get(), "b€"), t.get() + 5);
  EXPECT_EQ(ilx_strpbrk(utf8, t.get(), "z"), nullptr);
  EXPECT_EQ(ilx_strspn(utf8, t.get(), nullptr), 0u);
}

TEST_F(MbText, TokensAtMultibyteDelimiters) {
  const Buf s("、ab、、cd、");  // ideographic comma E3 80 81
  char *pos = nullptr;
  EXPECT_STREQ(ilx_strtok(utf8, s.get(), "、", &pos), "ab");
  EXPECT_EQ(pos, s.get() + 8);  // after the whole delimiter character
  EXPECT_STREQ(ilx_strtok(utf8, nullptr, "、", &pos), "cd");
  EXPECT_EQ(ilx_strtok(utf8, nullptr, "、", &pos), nullptr);
  EXPECT_EQ(ilx_strtok(utf8, nullptr, "、", &pos), nullptr);
  EXPECT_EQ(ilx_strtok(utf8, s.get(), "、", nullptr), nullptr);
}

TEST_F(MbText, LimitsAndBoundedCopies) {
  // A buffer without a NUL: nothing beyond the n bytes is read.
  std::unique_ptr<char[]> raw(new char[3]);
  std::memcpy(raw.get(), "a\xC3\xA9", 3);
  EXPECT_EQ(ilx_strnlen(utf8, raw.get(), 3), 3u);
  EXPECT_EQ(ilx_strnlen(utf8, raw.get(), 2), 1u);
  EXPECT_EQ(ilx_strnlen(os, "a\xC3\xA9", 2), 2u);
  EXPECT_EQ(ilx_strnlen(utf8, nullptr, 5), 0u);

  const Buf d("", 8);
  std::memset(d.get(), 'x', 8);
  EXPECT_EQ(ilx_strncpy(utf8, d.get(), "a\xF0\x9F\x98\x80z", 4), d.get());  // not cut either
  EXPECT_EQ(d.raw(8), std::string("a\0\0\0xxxx", 8));
  std::memset(d.get(), 'x', 8);
  ilx_strncpy(os, d.get(), "aé€", 4);  // one byte per character
  EXPECT_EQ(d.raw(8), std::string("a\xC3\xA9\xE2xxxx", 8));
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
