// Re-coding whole texts, and time formatting and parsing in a code set other
// than the operating system's (the tests run under a UTF-8 locale, so a
// Latin-1 handle makes every call re-code).
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "lumex/cx.h"
#include "lumex/ilx.h"

namespace {

class Recode : public ::testing::Test {
 protected:
  void SetUp() override {
    latin1_ = ilx_cs_new("ISO-8859-1");
    if (latin1_ == nullptr) GTEST_SKIP() << "no ISO-8859-1 table";
  }
  void TearDown() override { ilx_cs_free(latin1_); }
  CodeSetT latin1_ = nullptr;
};

TEST_F(Recode, TextsChangeCodeSetBothWays) {
  char *slot = nullptr;
  char *u = ilx_s2u(latin1_, "caf\xE9", &slot);
  ASSERT_NE(nullptr, u);
  EXPECT_EQ(u, slot);  // a new buffer lands in the slot
  EXPECT_STREQ("caf\xC3\xA9", u);
  char own[2 * 5 + 1], *into = own;  // a slot that holds a buffer is written into
  EXPECT_EQ(own, ilx_u2s(latin1_, u, &into));
  EXPECT_STREQ("caf\xE9", own);
  BasMemoryFree(u);
  CodeSetT utf8 = ilx_cs_new("UTF8");
  char *c = ilx_strconv(latin1_, utf8, "\xE0 la", nullptr);
  ASSERT_NE(nullptr, c);
  EXPECT_STREQ("\xC3\xA0 la", c);
  char *back = ilx_strconv(utf8, latin1_, c, nullptr);
  ASSERT_NE(nullptr, back);
  EXPECT_STREQ("\xE0 la", back);
  BasMemoryFree(back);
  BasMemoryFree(c);
  // A null text gives an empty string, in the slot when there is one.
  char *e = ilx_u2s(nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, e);
  EXPECT_STREQ("", e);
  BasMemoryFree(e);
  slot = nullptr;
  e = ilx_s2u(nullptr, nullptr, &slot);
  ASSERT_NE(nullptr, e);
  EXPECT_EQ(e, slot);
  EXPECT_STREQ("", e);
  BasMemoryFree(e);
}

TEST_F(Recode, FormattedTimeIsTheCLibrarysInTheHandlesCodeSet) {
  const struct tm t = {5, 4, 13, 15, 2, 124, 5, 74, 0, 0, nullptr};  // Friday 2024-03-15 13:04:05
  // The result must fit the caller's size in the handle's code set.
  const struct { CodeSetT cs; size_t size; const char *format, *want; } rows[] = {
      {nullptr, 64, "%Y-%m-%d %H:%M:%S", "2024-03-15 13:04:05"},
      {nullptr, 64, nullptr, ""},
      {nullptr, 4, "%Y-%m", ""},  // does not fit
      {latin1_, 32, "%d \xE9t\xE9 %Y", "15 \xE9t\xE9 2024"},
      {latin1_, 11, "%d \xE9t\xE9 %Y", ""},
      {latin1_, 11, "%d\xE9t\xE9 %Y", "15\xE9t\xE9 2024"},
  };
  for (const auto &r : rows) {
    char out[64];
    const size_t n = ilx_strftime(r.cs, nullptr, out, r.size, r.format, &t);
    EXPECT_EQ(std::strlen(r.want), n) << r.format;
    if (n == 0) continue;
    EXPECT_EQ(std::string(r.want), out);
    char theirs[64];
    if (r.cs != nullptr) continue;
    EXPECT_EQ(std::strftime(theirs, sizeof theirs, r.format, &t), n);
    EXPECT_STREQ(theirs, out);
  }
}

TEST_F(Recode, ParsedPositionIsInTheCallersText) {
  // "été" takes three bytes here and six in the UTF-8 copy that is parsed.
  const char *text = "\xE9t\xE9 2024-03-15 reste";
  struct tm t;
  std::memset(&t, 0, sizeof t);
  EXPECT_EQ(text + 14, ilx_strptime(latin1_, nullptr, text, "\xE9t\xE9 %Y-%m-%d", &t));
  EXPECT_EQ(124, t.tm_year);
  EXPECT_EQ(2, t.tm_mon);
  EXPECT_EQ(15, t.tm_mday);
  EXPECT_EQ(nullptr, ilx_strptime(latin1_, nullptr, "\xE8t\xE9 2024", "\xE9t\xE9 %Y", &t));
  EXPECT_EQ(nullptr, ilx_strptime(latin1_, nullptr, nullptr, "%Y", &t));
}

}  // namespace
