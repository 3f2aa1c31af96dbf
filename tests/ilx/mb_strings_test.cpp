// Multibyte string functions that step over whole characters, on UTF-8 and
// byte-for-byte text. Inputs live in exact-size heap blocks so that a read
// past a NUL shows under the address sanitizer.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "lumex/ilx.h"

namespace {

struct Buf {
  explicit Buf(const std::string &s, size_t room = 0) : size(std::max(s.size() + 1, room)), bytes(new char[size]) {
    std::memset(bytes.get(), 0, size);
    std::memcpy(bytes.get(), s.data(), s.size());
  }
  char *get() { return bytes.get(); }
  std::string str() const { return std::string(bytes.get()); }
  std::string raw(size_t n) const { return std::string(bytes.get(), n); }
  size_t size;
  std::unique_ptr<char[]> bytes;
};

class MbStrings : public ::testing::Test {
 protected:
  void SetUp() override {
    utf8 = ilx_cs_new("UTF8");
    os = ilx_cs_new("INTERNAL37");
    ASSERT_NE(utf8, nullptr);
    ASSERT_NE(os, nullptr);
  }
  void TearDown() override { ilx_cs_free(os); }
  CodeSetT utf8 = nullptr, os = nullptr;
};

TEST_F(MbStrings, CaseMappingInPlace) {
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

TEST_F(MbStrings, CaseInsensitiveCompare) {
  Buf a("École ΑΒΓ"), b("école αβγ"), c("école αβδ");
  EXPECT_EQ(ilx_stricmp(utf8, nullptr, a.get(), b.get()), 0);
  EXPECT_EQ(ilx_stricmp(utf8, nullptr, a.get(), c.get()), 0x3B3 - 0x3B4);
  Buf abar("Ā"), empty("");
  EXPECT_GT(ilx_stricmp(utf8, nullptr, abar.get(), empty.get()), 0);
  EXPECT_LT(ilx_stricmp(utf8, nullptr, empty.get(), abar.get()), 0);
  EXPECT_EQ(ilx_stricmp(utf8, nullptr, "abc", "ABD"), 'c' - 'd');
  // Counted form: bytes of the first string.
  Buf x("ÉCOLEx"), y("écoley");
  EXPECT_EQ(ilx_strnicmp(utf8, nullptr, x.get(), y.get(), 6), 0);
  EXPECT_EQ(ilx_strnicmp(utf8, nullptr, x.get(), y.get(), 7), 'x' - 'y');
  EXPECT_EQ(ilx_strnicmp(utf8, nullptr, x.get(), y.get(), 0), 0);
  EXPECT_EQ(ilx_strnicmp(utf8, nullptr, "a", "b", 0), 0);
  // A count that ends inside a character compares only the bytes it covers.
  Buf e1("\xC3\xA9"), e2("\xC3\xA8");
  EXPECT_EQ(ilx_strnicmp(utf8, nullptr, e1.get(), e2.get(), 1), 0);
  EXPECT_EQ(ilx_strnicmp(utf8, nullptr, e1.get(), e2.get(), 2), 1);
  // Characters beyond U+FFFF compare as whole byte sequences.
  Buf s1("\xF0\x9F\x98\x80"), s2("\xF0\x9F\x98\x81"), s3("\xF0\x9F\x98\x80");
  EXPECT_EQ(ilx_stricmp(utf8, nullptr, s1.get(), s2.get()), 0x80 - 0x81);
  EXPECT_EQ(ilx_stricmp(utf8, nullptr, s1.get(), s3.get()), 0);
  // An overlong form never equals the short one (it reads as two invalid
  // bytes), and the shorter string is not read past its end.
  Buf overlong("\xC1\x81"), plain("a");
  EXPECT_NE(ilx_stricmp(utf8, nullptr, overlong.get(), plain.get()), 0);
  EXPECT_NE(ilx_stricmp(utf8, nullptr, plain.get(), overlong.get()), 0);
  EXPECT_EQ(ilx_stricmp(utf8, nullptr, nullptr, ""), 0);
}

TEST_F(MbStrings, SearchesStepOverWholeCharacters) {
  Buf s("é©x©");  // C3 A9 C2 A9 'x' C2 A9
  EXPECT_EQ(ilx_strchr(utf8, s.get(), 0xA9), nullptr);  // only inside characters
  EXPECT_EQ(ilx_strchr(utf8, s.get(), 0xC2), s.get() + 2);
  EXPECT_EQ(ilx_strrchr(utf8, s.get(), 0xC2), s.get() + 5);
  EXPECT_EQ(ilx_strchr(utf8, s.get(), 0), s.get() + 7);
  EXPECT_EQ(ilx_strrchr(utf8, s.get(), 0), s.get() + 7);
  EXPECT_EQ(ilx_strchr(os, s.get(), 0xA9), s.get() + 1);  // byte for byte: every byte starts a character
  EXPECT_EQ(ilx_strstr(utf8, s.get(), "\xA9"), nullptr);
  EXPECT_EQ(ilx_strstr(utf8, s.get(), "x©"), s.get() + 4);
  EXPECT_EQ(ilx_strstr(utf8, s.get(), ""), s.get());
  EXPECT_EQ(ilx_strstr(utf8, s.get(), "x©x"), nullptr);

  Buf t("éèa€b");
  EXPECT_EQ(ilx_strspn(utf8, t.get(), "èé"), 4u);
  EXPECT_EQ(ilx_strspn(utf8, t.get(), "\xC3"), 0u);  // a lead byte alone is not é
  EXPECT_EQ(ilx_strcspn(utf8, t.get(), "€"), 5u);
  EXPECT_EQ(ilx_strcspn(utf8, t.get(), "\xAC"), 9u);  // nor is a trail byte €
  EXPECT_EQ(ilx_strpbrk(utf8, t.get(), "b€"), t.get() + 5);
  EXPECT_EQ(ilx_strpbrk(utf8, t.get(), "z"), nullptr);
  EXPECT_EQ(ilx_strspn(utf8, t.get(), nullptr), 0u);
}

TEST_F(MbStrings, TokensAtMultibyteDelimiters) {
  Buf s("、ab、、cd、");  // ideographic comma E3 80 81
  char *pos = nullptr;
  char *t = ilx_strtok(utf8, s.get(), "、", &pos);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t, "ab");
  EXPECT_EQ(pos, s.get() + 8);  // after the whole delimiter character
  t = ilx_strtok(utf8, nullptr, "、", &pos);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t, "cd");
  EXPECT_EQ(ilx_strtok(utf8, nullptr, "、", &pos), nullptr);
  EXPECT_EQ(ilx_strtok(utf8, nullptr, "、", &pos), nullptr);
  EXPECT_EQ(ilx_strtok(utf8, s.get(), "、", nullptr), nullptr);
}

TEST_F(MbStrings, LengthWithinALimit) {
  Buf s("aé€");  // 1 + 2 + 3 bytes
  EXPECT_EQ(ilx_strnlen(utf8, s.get(), 2), 1u);
  EXPECT_EQ(ilx_strnlen(utf8, s.get(), 3), 3u);
  EXPECT_EQ(ilx_strnlen(utf8, s.get(), 5), 3u);
  EXPECT_EQ(ilx_strnlen(utf8, s.get(), 6), 6u);
  EXPECT_EQ(ilx_strnlen(utf8, s.get(), 100), 6u);
  EXPECT_EQ(ilx_strnlen(os, s.get(), 5), 5u);
  // A buffer without a NUL: nothing beyond the n bytes is read.
  std::unique_ptr<char[]> raw(new char[3]);
  std::memcpy(raw.get(), "a\xC3\xA9", 3);
  EXPECT_EQ(ilx_strnlen(utf8, raw.get(), 3), 3u);
  EXPECT_EQ(ilx_strnlen(utf8, raw.get(), 2), 1u);
  EXPECT_EQ(ilx_strnlen(utf8, nullptr, 5), 0u);
}

TEST_F(MbStrings, BoundedCopiesKeepCharactersWhole) {
  Buf d("", 8);
  std::memset(d.get(), 'x', 8);
  EXPECT_EQ(ilx_strncpy(utf8, d.get(), "aé€", 5), d.get());
  EXPECT_EQ(d.raw(8), std::string("a\xC3\xA9\0\0xxx", 8));  // € would be cut: left out, rest NUL
  std::memset(d.get(), 'x', 8);
  ilx_strncpy(utf8, d.get(), "aé", 6);  // shorter source: whole, then NULs
  EXPECT_EQ(d.raw(8), std::string("a\xC3\xA9\0\0\0xx", 8));
  std::memset(d.get(), 'x', 8);
  ilx_strncpy(utf8, d.get(), "a\xF0\x9F\x98\x80z", 4);  // beyond U+FFFF: still not cut
  EXPECT_EQ(d.raw(8), std::string("a\0\0\0xxxx", 8));
  std::memset(d.get(), 'x', 8);
  ilx_strncpy(os, d.get(), "aé€", 4);  // one byte per character
  EXPECT_EQ(d.raw(8), std::string("a\xC3\xA9\xE2xxxx", 8));

  Buf e("ab", 12);
  EXPECT_EQ(ilx_strncat(utf8, e.get(), "€€", 5), e.get());
  EXPECT_EQ(e.str(), "ab€");  // always terminated
  ilx_strncat(utf8, e.get(), "cd", 1);
  EXPECT_EQ(e.str(), "ab€c");
  EXPECT_EQ(ilx_strncpy(utf8, nullptr, "a", 1), nullptr);
  EXPECT_EQ(ilx_strncat(utf8, e.get(), nullptr, 1), e.get());
  EXPECT_EQ(e.str(), "ab€c");
}

}  // namespace
