// Wide characters on byte streams: reading character by character, pushing
// back, writing, and what stays readable when the input ends mid-character.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "lumex/ilx.h"

namespace {

class WideStream : public ::testing::Test {
 protected:
  // A temporary stream holding bytes, positioned at the start.
  FILE *open(const std::string &bytes) {
    f_ = std::tmpfile();
    if (f_ != nullptr) std::fwrite(bytes.data(), 1, bytes.size(), f_);
    if (f_ != nullptr) std::rewind(f_);
    return f_;
  }
  std::string rest() {
    std::string s;
    for (int c; (c = std::fgetc(f_)) != EOF;) s.push_back(static_cast<char>(c));
    return s;
  }
  std::u16string line(int size) {
    uint16_t buf[8];
    if (ilx_fgetws(utf8, buf, size, f_) != buf) return u"(none)";
    return std::u16string(reinterpret_cast<const char16_t *>(buf));
  }
  void TearDown() override { if (f_ != nullptr) std::fclose(f_); }
  CodeSetT utf8 = ilx_cs_new("UTF8");
  FILE *f_ = nullptr;
};

TEST_F(WideStream, ReadsCharactersAndLeavesAnIncompleteOneReadable) {
  ASSERT_NE(nullptr, open("A\xC3\xA9\xE2\x82\xAC" "x\xE2\x82"));
  for (uint16_t wc : {0x41, 0xE9, 0x20AC, 0x78}) EXPECT_EQ(wc, ilx_fgetwc(utf8, f_));
  EXPECT_EQ(ILX_WEOF, ilx_fgetwc(utf8, f_));
  EXPECT_EQ("\xE2\x82", rest());
  EXPECT_EQ(ILX_WEOF, ilx_fgetwc(utf8, f_));
  EXPECT_EQ(ILX_WEOF, ilx_fgetwc(utf8, nullptr));
}

TEST_F(WideStream, LinesEndAtLineFeedsOrTheBuffer) {
  ASSERT_NE(nullptr, open("ab\n\xC3\xA9z"));
  EXPECT_EQ(u"ab\n", line(8));
  EXPECT_EQ(u"\u00e9", line(2));  // room for one character
  EXPECT_EQ(u"z", line(8));
  EXPECT_EQ(u"(none)", line(8));
  EXPECT_EQ(u"(none)", line(0));
}

TEST_F(WideStream, PushedBackCharacterIsReadAgain) {
  ASSERT_NE(nullptr, open("z"));
  EXPECT_EQ(0x20AC, ilx_ungetwc(utf8, 0x20AC, f_));
  EXPECT_EQ(0x20AC, ilx_fgetwc(utf8, f_));
  EXPECT_EQ('z', ilx_fgetwc(utf8, f_));
  EXPECT_EQ(ILX_WEOF, ilx_ungetwc(utf8, ILX_WEOF, f_));
  EXPECT_EQ(ILX_WEOF, ilx_ungetwc(utf8, 0xD800, f_));  // half a pair converts to nothing
}

TEST_F(WideStream, WritesConvertedBytesAndReportsFailures) {
  ASSERT_NE(nullptr, open(""));
  EXPECT_EQ(0xE9, ilx_fputwc(utf8, 0xE9, f_));
  const uint16_t word[] = {'a', 0x20AC, 'b', 0}, broken[] = {'c', 0xD800, 'd', 0};
  EXPECT_EQ(3, ilx_fputws(utf8, word, f_));
  EXPECT_EQ(ILX_WEOF, ilx_fputwc(utf8, 0xD800, f_));
  EXPECT_EQ(ILX_WEOF, ilx_fputws(utf8, broken, f_));
  std::rewind(f_);
  EXPECT_EQ("\xC3\xA9" "a\xE2\x82\xAC" "bc", rest());  // stops at the first failure
  FILE *full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::setvbuf(full, nullptr, _IONBF, 0);
  EXPECT_EQ(ILX_WEOF, ilx_fputwc(utf8, 'a', full));
  EXPECT_EQ(ILX_WEOF, ilx_fputws(utf8, word, full));
  std::fclose(full);
}

}  // namespace
