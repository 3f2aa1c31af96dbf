// Wide characters on byte streams: reading character by character, pushing
// back, writing, and what stays readable when the input ends mid-character.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "lumex/ilx.h"

namespace {

// A temporary stream holding bytes, positioned at the start.
FILE *streamOf(const std::string &bytes) {
  FILE *f = std::tmpfile();
  if (f == nullptr) return nullptr;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::rewind(f);
  return f;
}

std::string rest(FILE *f) {
  std::string s;
  int c;
  while ((c = std::fgetc(f)) != EOF) s.push_back(static_cast<char>(c));
  return s;
}

class WideStream : public ::testing::Test {
 protected:
  void SetUp() override { utf8_ = ilx_cs_new("UTF8"); ASSERT_NE(nullptr, utf8_); }
  CodeSetT utf8_ = nullptr;
};

TEST_F(WideStream, ReadsCharactersOfTheCodeSet) {
  FILE *f = streamOf("A\xC3\xA9\xE2\x82\xAC");
  ASSERT_NE(nullptr, f);
  EXPECT_EQ('A', ilx_fgetwc(utf8_, f));
  EXPECT_EQ(0xE9, ilx_fgetwc(utf8_, f));
  EXPECT_EQ(0x20AC, ilx_fgetwc(utf8_, f));
  EXPECT_EQ(ILX_WEOF, ilx_fgetwc(utf8_, f));
  std::fclose(f);
  EXPECT_EQ(ILX_WEOF, ilx_fgetwc(utf8_, nullptr));
}

TEST_F(WideStream, IncompleteCharacterAtTheEndStaysReadable) {
  FILE *f = streamOf("x\xE2\x82");
  ASSERT_NE(nullptr, f);
  EXPECT_EQ('x', ilx_fgetwc(utf8_, f));
  EXPECT_EQ(ILX_WEOF, ilx_fgetwc(utf8_, f));
  EXPECT_EQ("\xE2\x82", rest(f));
  std::fclose(f);
}

TEST_F(WideStream, LinesEndAtLineFeedsOrTheBuffer) {
  FILE *f = streamOf("ab\n\xC3\xA9z");
  ASSERT_NE(nullptr, f);
  uint16_t buf[8];
  ASSERT_EQ(buf, ilx_fgetws(utf8_, buf, 8, f));
  EXPECT_EQ(std::u16string(u"ab\n"), std::u16string(reinterpret_cast<char16_t *>(buf)));
  ASSERT_EQ(buf, ilx_fgetws(utf8_, buf, 2, f));  // room for one character
  EXPECT_EQ(std::u16string(u"\u00e9"), std::u16string(reinterpret_cast<char16_t *>(buf)));
  ASSERT_EQ(buf, ilx_fgetws(utf8_, buf, 8, f));
  EXPECT_EQ(std::u16string(u"z"), std::u16string(reinterpret_cast<char16_t *>(buf)));
  EXPECT_EQ(nullptr, ilx_fgetws(utf8_, buf, 8, f));
  EXPECT_EQ(nullptr, ilx_fgetws(utf8_, buf, 0, f));
  std::fclose(f);
}

TEST_F(WideStream, PushedBackCharacterIsReadAgain) {
  FILE *f = streamOf("z");
  ASSERT_NE(nullptr, f);
  EXPECT_EQ(0x20AC, ilx_ungetwc(utf8_, 0x20AC, f));
  EXPECT_EQ(0x20AC, ilx_fgetwc(utf8_, f));
  EXPECT_EQ('z', ilx_fgetwc(utf8_, f));
  EXPECT_EQ(ILX_WEOF, ilx_ungetwc(utf8_, ILX_WEOF, f));
  EXPECT_EQ(ILX_WEOF, ilx_ungetwc(utf8_, 0xD800, f));  // half a pair converts to nothing
  std::fclose(f);
}

TEST_F(WideStream, WritesConvertedBytes) {
  FILE *f = std::tmpfile();
  ASSERT_NE(nullptr, f);
  EXPECT_EQ(0xE9, ilx_fputwc(utf8_, 0xE9, f));
  const uint16_t word[] = {'a', 0x20AC, 'b', 0};
  EXPECT_EQ(3, ilx_fputws(utf8_, word, f));
  EXPECT_EQ(ILX_WEOF, ilx_fputwc(utf8_, 0xD800, f));
  const uint16_t broken[] = {'c', 0xD800, 'd', 0};
  EXPECT_EQ(ILX_WEOF, ilx_fputws(utf8_, broken, f));
  std::rewind(f);
  EXPECT_EQ("\xC3\xA9" "a\xE2\x82\xAC" "bc", rest(f));  // stops at the first failure
  std::fclose(f);
}

TEST_F(WideStream, WriteFailuresAreReported) {
  FILE *full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::setvbuf(full, nullptr, _IONBF, 0);
  EXPECT_EQ(ILX_WEOF, ilx_fputwc(utf8_, 'a', full));
  const uint16_t word[] = {'a', 0};
  EXPECT_EQ(ILX_WEOF, ilx_fputws(utf8_, word, full));
  std::fclose(full);
}

}  // namespace
