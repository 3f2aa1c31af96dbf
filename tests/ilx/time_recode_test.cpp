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

struct tm sample() {
  struct tm t;
  std::memset(&t, 0, sizeof t);
  t.tm_year = 124;
  t.tm_mon = 2;
  t.tm_mday = 15;
  t.tm_hour = 13;
  t.tm_min = 4;
  t.tm_sec = 5;
  t.tm_wday = 5;
  t.tm_yday = 74;
  return t;
}

TEST(RecodeNull, NullTextGivesAnEmptyString) {
  char *s = ilx_u2s(nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, s);
  EXPECT_STREQ("", s);
  BasMemoryFree(s);
  char *slot = nullptr;
  s = ilx_s2u(nullptr, nullptr, &slot);
  ASSERT_NE(nullptr, s);
  EXPECT_EQ(s, slot);
  EXPECT_STREQ("", s);
  BasMemoryFree(s);
}

TEST_F(Recode, TextsChangeCodeSetBothWays) {
  char *slot = nullptr;
  char *u = ilx_s2u(latin1_, "caf\xE9", &slot);
  ASSERT_NE(nullptr, u);
  EXPECT_EQ(u, slot);  // a new buffer lands in the slot
  EXPECT_STREQ("caf\xC3\xA9", u);
  // A slot that holds a buffer is written into.
  char own[2 * 5 + 1];
  char *into = own;
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
}

TEST(TimeFormat, SameCodeSetIsTheCLibrarysResult) {
  const struct tm t = sample();
  char mine[64], theirs[64];
  const size_t n = ilx_strftime(nullptr, nullptr, mine, sizeof mine, "%Y-%m-%d %H:%M:%S", &t);
  ASSERT_EQ(std::strftime(theirs, sizeof theirs, "%Y-%m-%d %H:%M:%S", &t), n);
  EXPECT_STREQ(theirs, mine);
  EXPECT_STREQ("2024-03-15 13:04:05", mine);
  EXPECT_EQ(0u, ilx_strftime(nullptr, nullptr, mine, sizeof mine, nullptr, &t));
  EXPECT_EQ(0u, ilx_strftime(nullptr, nullptr, mine, 4, "%Y-%m", &t));  // does not fit
}

TEST_F(Recode, FormattedTimeComesBackInTheHandlesCodeSet) {
  const struct tm t = sample();
  char out[32];
  const size_t n = ilx_strftime(latin1_, nullptr, out, sizeof out, "%d \xE9t\xE9 %Y", &t);
  EXPECT_EQ(11u, n);
  EXPECT_STREQ("15 \xE9t\xE9 2024", out);
  // The result must fit the caller's size in the handle's code set.
  EXPECT_EQ(0u, ilx_strftime(latin1_, nullptr, out, 11, "%d \xE9t\xE9 %Y", &t));
  EXPECT_EQ(10u, ilx_strftime(latin1_, nullptr, out, 11, "%d\xE9t\xE9 %Y", &t));
}

TEST_F(Recode, ParsedPositionIsInTheCallersText) {
  // "été" takes three bytes here and six in the UTF-8 copy that is parsed.
  const char *text = "\xE9t\xE9 2024-03-15 reste";
  struct tm t;
  std::memset(&t, 0, sizeof t);
  const char *end = ilx_strptime(latin1_, nullptr, text, "\xE9t\xE9 %Y-%m-%d", &t);
  ASSERT_NE(nullptr, end);
  EXPECT_EQ(text + 14, end);
  EXPECT_STREQ(" reste", end);
  EXPECT_EQ(124, t.tm_year);
  EXPECT_EQ(2, t.tm_mon);
  EXPECT_EQ(15, t.tm_mday);
  EXPECT_EQ(nullptr, ilx_strptime(latin1_, nullptr, "\xE8t\xE9 2024", "\xE9t\xE9 %Y", &t));
  EXPECT_EQ(nullptr, ilx_strptime(latin1_, nullptr, nullptr, "%Y", &t));
}

TEST(TimeParseDefault, CenturyRulesThroughThePublicCall) {
  struct tm t;
  std::memset(&t, 0, sizeof t);
  const char *text = "01/02/03";
  EXPECT_EQ(text + 8, ilx_strptime(nullptr, nullptr, text, "%m/%d/%y", &t));
  EXPECT_EQ(0, t.tm_mon);
  EXPECT_EQ(2, t.tm_mday);
  EXPECT_EQ(103, t.tm_year);
  ASSERT_NE(nullptr, ilx_strptime(nullptr, nullptr, "99", "%y", &t));
  EXPECT_EQ(99, t.tm_year);
}

}  // namespace
