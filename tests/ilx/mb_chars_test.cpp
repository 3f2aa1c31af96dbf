// Characters and whole strings between multibyte text and wide characters,
// and byte types, on the built-in UTF-8 and byte-for-byte code sets; ICU is
// the reference for UTF-8.
#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <random>
#include <string>
#include <vector>

#include "lumex/ilx.h"

namespace {

using U16 = std::vector<uint16_t>;

// A heap copy of exactly the bytes given (no spare room), so that reading
// past the end is caught by the address sanitizer.
struct Exact {
  explicit Exact(const std::string &s) : bytes(new char[s.size() + 1]) {
    std::copy(s.begin(), s.end(), bytes.get());
    bytes[s.size()] = 0;
  }
  const char *get() const { return bytes.get(); }
  std::unique_ptr<char[]> bytes;
};

class MbChars : public ::testing::Test {
 protected:
  void SetUp() override {
    utf8 = ilx_cs_new("utf-8");
    os = ilx_cs_new("INTERNAL37");  // bytes are code points 0 to 255
    ASSERT_NE(utf8, nullptr);
    ASSERT_NE(os, nullptr);
    ilx_check_subs(utf8);
  }
  void TearDown() override { ilx_cs_free(os); }
  CodeSetT utf8 = nullptr, os = nullptr;
};

TEST_F(MbChars, OneCharacterToWide) {
  uint16_t wc = 0x7777;
  EXPECT_EQ(ilx_mbtowc(utf8, &wc, "A", 1), 1);
  EXPECT_EQ(wc, 'A');
  EXPECT_EQ(ilx_mbtowc(utf8, &wc, "\xC3\xA9z", 3), 2);
  EXPECT_EQ(wc, 0xE9);
  EXPECT_EQ(ilx_mbtowc(utf8, &wc, "\xE2\x82\xAC", 3), 3);
  EXPECT_EQ(wc, 0x20AC);
  EXPECT_EQ(ilx_mbtowc(utf8, &wc, "", 1), 0);
  EXPECT_EQ(wc, 0);
  EXPECT_EQ(ilx_mbtowc(utf8, nullptr, "\xC3\xA9", 2), 2);  // no output wanted
  // Cut off by n, no byte to look at, beyond U+FFFF: no character.
  EXPECT_EQ(ilx_mbtowc(utf8, &wc, "\xE2\x82\xAC", 2), -1);
  EXPECT_EQ(ilx_mbtowc(utf8, &wc, "A", 0), -1);
  EXPECT_EQ(ilx_mbtowc(utf8, &wc, "\xF0\x9F\x98\x80", 4), -1);
  // No shift state in UTF-8 or byte-for-byte text.
  EXPECT_EQ(ilx_mbtowc(utf8, nullptr, nullptr, 0), 0);
  EXPECT_EQ(ilx_wctomb(utf8, nullptr, 0), 0);
  EXPECT_EQ(ilx_mblen(os, nullptr, 0), 0);
  // Byte for byte: every byte is its own code point.
  EXPECT_EQ(ilx_mbtowc(os, &wc, "\xE9", 1), 1);
  EXPECT_EQ(wc, 0xE9);
}

TEST_F(MbChars, CharacterLengthCountsPairsAsOne) {
  const Exact smile("\xF0\x9F\x98\x80");
  EXPECT_EQ(ilx_mblen(utf8, smile.get(), 4), 4);
  EXPECT_EQ(ilx_mblen(utf8, smile.get(), 3), -1);
  EXPECT_EQ(ilx_mblen(utf8, "\xC3\xA9", 2), 2);
  EXPECT_EQ(ilx_mblen(utf8, "", 4), 0);
  EXPECT_EQ(ilx_mblen(utf8, "A", 0), -1);
  EXPECT_EQ(ilx_mblen(os, "\xC3\xA9", 2), 1);
  EXPECT_EQ(ilx_check_subs(utf8), 0);
}

TEST_F(MbChars, OneWideCharacterToBytes) {
  char b[4] = {};
  EXPECT_EQ(ilx_wctomb(utf8, b, 0xE9), 2);
  EXPECT_EQ(std::string(b, 2), "\xC3\xA9");
  EXPECT_EQ(ilx_wctomb(utf8, b, 0xFFFD), 3);
  EXPECT_EQ(std::string(b, 3), "\xEF\xBF\xBD");
  EXPECT_EQ(ilx_wctomb(utf8, b, 'x'), 1);
  EXPECT_EQ(b[0], 'x');
  EXPECT_EQ(ilx_wctomb(utf8, b, 0xD83D), -1);  // a high surrogate alone cannot be completed
  EXPECT_EQ(ilx_check_subs(utf8), 0);
  EXPECT_EQ(ilx_wctomb(utf8, b, 0xDC00), 1);  // a stray low surrogate is substituted
  EXPECT_EQ(b[0], '?');
  EXPECT_EQ(ilx_check_subs(utf8), 1);
  EXPECT_EQ(ilx_wctomb(os, b, 0x100), 1);
  EXPECT_EQ(b[0], '?');
  EXPECT_EQ(ilx_check_subs(os), 1);
}

TEST_F(MbChars, StringsToWide) {
  const Exact text("a\xC3\xA9\xE2\x82\xAC");
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
  // it: each of its bytes is one substituted character, and the count stops
  // at the NUL.
  const Exact cut("ab\xE2\x82");
  EXPECT_EQ(ilx_mbstowcs(utf8, nullptr, cut.get(), 0), 4);
  // Nor does a lead byte take the NUL as its following byte.
  const Exact lead("x\xC3");
  EXPECT_EQ(ilx_mbstowcs(utf8, nullptr, lead.get(), 0), 2);
  EXPECT_EQ(ilx_strchr(utf8, lead.get(), 0), lead.get() + 2);
  EXPECT_EQ(ilx_mbsbtype(utf8, lead.get(), 2), -1);
}

TEST_F(MbChars, WideToStrings) {
  const U16 ws{'a', 0xE9, 0x20AC, 0};
  EXPECT_EQ(ilx_wcstombs(utf8, nullptr, ws.data(), 0), 6);
  char out[8];
  std::fill(out, out + 8, 'x');
  EXPECT_EQ(ilx_wcstombs(utf8, out, ws.data(), 8), 6);
  EXPECT_EQ(std::string(out, 8), std::string("a\xC3\xA9\xE2\x82\xAC\0x", 8));
  // Exactly full: no NUL. One byte short: the euro sign is left out whole.
  std::fill(out, out + 8, 'x');
  EXPECT_EQ(ilx_wcstombs(utf8, out, ws.data(), 6), 6);
  EXPECT_EQ(out[6], 'x');
  std::fill(out, out + 8, 'x');
  EXPECT_EQ(ilx_wcstombs(utf8, out, ws.data(), 5), 3);
  EXPECT_EQ(std::string(out, 5), std::string("a\xC3\xA9\0x", 5));
  EXPECT_EQ(ilx_wcstombs(utf8, out, ws.data(), 0), 0);
  // Surrogate pairs do not convert unit by unit.
  const U16 pair{'a', 0xD83D, 0xDE00, 0};
  EXPECT_EQ(ilx_wcstombs(utf8, out, pair.data(), 8), -1);
  EXPECT_EQ(ilx_wcstombs(utf8, nullptr, pair.data(), 0), -1);
  EXPECT_EQ(ilx_wcstombs(utf8, out, nullptr, 8), -1);
}

// Random BMP texts through both directions, against ICU's UTF-8.
TEST_F(MbChars, RoundTripAgreesWithIcu) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> unit(1, 0xFFFF), len(0, 20), kind(0, 3);
  for (int round = 0; round < 2000; ++round) {
    U16 ws;
    for (int n = len(rng); n > 0; --n) {
      uint16_t u = static_cast<uint16_t>(unit(rng));
      if (kind(rng) == 0) u &= 0x7F;
      if (u == 0 || (u >= 0xD800 && u <= 0xDFFF)) u = 'x';
      ws.push_back(u);
    }
    ws.push_back(0);
    char expected[80];
    int32_t expectedLen = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strToUTF8(expected, sizeof expected, &expectedLen, reinterpret_cast<const UChar *>(ws.data()), -1, &err);
    ASSERT_TRUE(U_SUCCESS(err));

    ASSERT_EQ(ilx_wcstombs(utf8, nullptr, ws.data(), 0), expectedLen);
    char out[80];
    ASSERT_EQ(ilx_wcstombs(utf8, out, ws.data(), sizeof out), expectedLen);
    ASSERT_EQ(std::string(out), std::string(expected, static_cast<size_t>(expectedLen)));

    U16 back(ws.size(), 0x7777);
    ASSERT_EQ(ilx_mbstowcs(utf8, back.data(), out, back.size()), static_cast<int>(ws.size() - 1));
    ASSERT_EQ(back, ws);
  }
  EXPECT_EQ(ilx_check_subs(utf8), 0);
}

TEST_F(MbChars, ByteTypes) {
  const Exact text("a\xC3\xA9\xE2\x82\xAC");
  const int expected[] = {0, 1, 2, 1, 2, 2, -1, -1};
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(ilx_mbsbtype(utf8, text.get(), i), expected[i]) << i;
  EXPECT_EQ(ilx_mbsbtype(utf8, text.get(), 1000), -1);  // beyond the string: the walk stops at the NUL
  const Exact smile("\xF0\x9F\x98\x80!");
  EXPECT_EQ(ilx_mbsbtype(utf8, smile.get(), 0), 1);
  EXPECT_EQ(ilx_mbsbtype(utf8, smile.get(), 3), 2);
  EXPECT_EQ(ilx_mbsbtype(utf8, smile.get(), 4), 0);
  EXPECT_EQ(ilx_mbsbtype(os, text.get(), 1), 0);
  EXPECT_EQ(ilx_ismbs1st(utf8, text.get(), text.get() + 3), 1);
  EXPECT_EQ(ilx_ismbs1st(utf8, text.get(), text.get() + 4), 0);
  EXPECT_EQ(ilx_ismbs1st(utf8, text.get(), text.get()), 0);
  EXPECT_EQ(ilx_ismbs1st(utf8, text.get() + 1, text.get()), 0);
  EXPECT_EQ(ilx_mbsbtype(utf8, nullptr, 0), -1);
}

TEST_F(MbChars, NullHandleIsTheDefaultCodeSet) {
  ASSERT_EQ(ilx_set_def_cs(utf8), 0);
  uint16_t wc = 0;
  EXPECT_EQ(ilx_mbtowc(nullptr, &wc, "\xC3\xA9", 2), 2);
  EXPECT_EQ(wc, 0xE9);
  ASSERT_EQ(ilx_set_def_cs(os), 0);
  EXPECT_EQ(ilx_mbtowc(nullptr, &wc, "\xC3\xA9", 2), 1);
  EXPECT_EQ(wc, 0xC3);
  ASSERT_EQ(ilx_set_def_cs(nullptr), 0);
}

}  // namespace
