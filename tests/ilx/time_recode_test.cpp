// Date and time parsing (century rules, directives, derived fields, beside
// the C library's strptime), time formatting, and re-coding whole texts. The
// tests run under a UTF-8 locale, so a Latin-1 handle makes every call re-code.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <ctime>
#include <string>

#include "ilx/time_parse.h"
#include "lumex/cx.h"
#include "lumex/ilx.h"

namespace {

// sec, min, hour, mday, mon, year, wday, yday.
std::array<int, 8> fields(const struct tm &t) {
  return {t.tm_sec, t.tm_min, t.tm_hour, t.tm_mday, t.tm_mon, t.tm_year, t.tm_wday, t.tm_yday};
}

TEST(TimeParse, CenturiesWhereTheCLibraryDiffersAndRejections) {
  // The bytes consumed (-1: rejected) and the year.
  const struct { const char *text, *format; long len; int year; } rows[] = {
      {"19 2024", "%C %Y", 7, 124}, {"12", "%Ey", 2, 112}, {"0", "%Y", 1, -1900},
      {"13", "%m", -1, 0}, {"00", "%m", -1, 0}, {"00", "%d", -1, 0}, {"24", "%H", -1, 0},
      {"0", "%I", -1, 0}, {"367", "%j", -1, 0}, {"7", "%w", -1, 0}, {"54", "%U", -1, 0},
      {"2024-01", "%Y/%m", -1, 0}, {"x", "%m", -1, 0}, {"", "%d", -1, 0}, {"5", "%Q", -1, 0},
      {"5", "%", -1, 0}, {"5", "%E", -1, 0}, {"Funday", "%a", -1, 0}, {"XM", "%p", -1, 0},
      {"a", "%%", -1, 0}, {"13", "%m%d", -1, 0}, {nullptr, "%d", -1, 0}, {"1", nullptr, -1, 0},
      // Day 366 of a 365-day year, and a week-0 day that falls in the year
      // before, are out of range rather than dates outside the year.
      {"2023 366", "%Y %j", -1, 0}, {"2023 00 0", "%Y %U %w", -1, 0},
  };
  for (const auto &r : rows) {
    struct tm t = {};
    const char *end = ilx::parseTime(r.text, r.format, &t);
    SCOPED_TRACE(std::string(r.text ? r.text : "null") + " / " + (r.format ? r.format : "null"));
    EXPECT_EQ(end ? end - r.text : -1, r.len);
    EXPECT_EQ(end ? t.tm_year : 0, r.year);
  }
  // Only a day is parsed; the caller's wild month and year cannot derail.
  struct tm t = {};
  t.tm_mon = 2000000000;
  t.tm_year = -2000000000;
  ASSERT_NE(nullptr, ilx::parseTime("15", "%d", &t));
  EXPECT_GE(t.tm_wday, 0);
  EXPECT_LE(t.tm_wday, 6);
}

// Where the C library's strptime is defined, every field and the end position
// agree, derived weekday, day of year and dates from week numbers included,
// and the public call with no code set gives the same.
TEST(TimeParse, AgreesWithTheCLibrary) {
  const char *cases[][2] = {
      {"99", "%y"}, {"69", "%y"}, {"68", "%y"}, {"00", "%y"}, {"18 75", "%C %y"},
      {"03 21", "%y %C"}, {"19 03", "%C %y"}, {"20", "%C"}, {"01/02/03", "%m/%d/%y"},
      {"12:05:09 AM", "%r"}, {"12:05:09 pm", "%r"}, {"7:30 PM", "%I:%M %p"},
      {"07:30 PM", "%H:%M %p"},  // PM leaves a 24-hour clock alone
      {"23:59:60", "%T"}, {"12/31/99 x", "%D "},  // trailing text stays
      {"21", "%m%d"},  // "%m" stops after "2": no month starts with 21
      {"20240315", "%Y%m%d"}, {"  5\t\n 6", "%d%n%m"},
      {"2024-02-29 13:14:15", "%Y-%m-%d %H:%M:%S"}, {"Thursday March 7 2024", "%A %B %d %Y"},
      {"thu mar 7 2024", "%a %b %e %Y"}, {"Sep 9 1999 11:00 pm", "%h %d %Y %I:%M %p"},
      {"2024 060", "%Y %j"}, {"2024 366", "%Y %j"}, {"1999 001", "%Y %j"},
      {"2024 10 3", "%Y %U %w"}, {"2024 10 3", "%Y %W %w"}, {"2023 00 0", "%Y %W %w"},
      {"2023 52 0", "%Y %U %w"},
      {"2021 01 Mon", "%Y %W %a"}, {"06/15/70", "%D"}, {"15.06.2070 00:00", "%d.%m.%Y %R"},
      {"1 2 3", "%d %m %y"}, {"17 99", "%C %y"}, {"%5", "%%%d"}, {"12", "%Om"}, {"Monday", "%A"},
      {"Dec", "%b"}, {"2000 12 31", "%Y %m %d"}, {"1900 02 28", "%Y %m %d"},
      {"2100 03 01", "%Y %m %d"},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(std::string(c[0]) + " / " + c[1]);
    struct tm mine = {}, theirs = {};
    const char *a = ilx::parseTime(c[0], c[1], &mine), *b = strptime(c[0], c[1], &theirs);
    ASSERT_NE(nullptr, b);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(b - c[0], a - c[0]);
    EXPECT_EQ(fields(theirs), fields(mine));
    struct tm pub = {};
    EXPECT_EQ(ilx_strptime(nullptr, nullptr, c[0], c[1], &pub), a);
    EXPECT_EQ(fields(pub), fields(mine));
  }
}

TEST(TimeInACodeSet, FormattedAndParsedInTheHandlesCodeSet) {
  CodeSetT latin1 = ilx_cs_new("ISO-8859-1");
  ASSERT_NE(latin1, nullptr);
  const struct tm t = {5, 4, 13, 15, 2, 124, 5, 74, 0, 0, nullptr};  // Friday 2024-03-15 13:04:05
  // The result must fit the caller's size in the handle's code set.
  const struct { CodeSetT cs; size_t size; const char *format, *want; } rows[] = {
      {nullptr, 64, "%Y-%m-%d %H:%M:%S", "2024-03-15 13:04:05"}, {nullptr, 64, nullptr, ""},
      {nullptr, 4, "%Y-%m", ""}, {latin1, 32, "%d \xE9t\xE9 %Y", "15 \xE9t\xE9 2024"},
      {latin1, 11, "%d \xE9t\xE9 %Y", ""}, {latin1, 11, "%d\xE9t\xE9 %Y", "15\xE9t\xE9 2024"},
  };
  for (const auto &r : rows) {
    char out[64], theirs[64];
    const size_t n = ilx_strftime(r.cs, nullptr, out, r.size, r.format, &t);
    EXPECT_EQ(std::strlen(r.want), n) << r.format;
    if (n == 0) continue;
    EXPECT_EQ(std::string(r.want), out);
    if (r.cs != nullptr) continue;
    EXPECT_EQ(std::strftime(theirs, sizeof theirs, r.format, &t), n);
    EXPECT_STREQ(theirs, out);
  }
  // The parsed position is in the caller's text: "été" takes three bytes
  // here and six in the UTF-8 copy that is parsed.
  const char *text = "\xE9t\xE9 2024-03-15 reste";
  struct tm p = {};
  EXPECT_EQ(text + 14, ilx_strptime(latin1, nullptr, text, "\xE9t\xE9 %Y-%m-%d", &p));
  EXPECT_EQ(fields(p), (std::array<int, 8>{0, 0, 0, 15, 2, 124, 5, 74}));
  EXPECT_EQ(nullptr, ilx_strptime(latin1, nullptr, "\xE8t\xE9 2024", "\xE9t\xE9 %Y", &p));
  EXPECT_EQ(nullptr, ilx_strptime(latin1, nullptr, nullptr, "%Y", &p));
  ilx_cs_free(latin1);
}

TEST(Recode, TextsChangeCodeSetBothWays) {
  CodeSetT latin1 = ilx_cs_new("ISO-8859-1"), utf8 = ilx_cs_new("UTF8");
  ASSERT_NE(latin1, nullptr);
  char *slot = nullptr, own[2 * 5 + 1], *into = own;
  char *u = ilx_s2u(latin1, "caf\xE9", &slot);
  ASSERT_NE(nullptr, u);
  EXPECT_EQ(u, slot);  // a new buffer lands in the slot
  EXPECT_STREQ("caf\xC3\xA9", u);
  EXPECT_EQ(own, ilx_u2s(latin1, u, &into));  // a slot that holds a buffer is written into
  EXPECT_STREQ("caf\xE9", own);
  char *c = ilx_strconv(latin1, utf8, "\xE0 la", nullptr);
  char *back = ilx_strconv(utf8, latin1, c, nullptr);
  EXPECT_STREQ("\xC3\xA0 la", c);
  EXPECT_STREQ("\xE0 la", back);
  // A null text gives an empty string, in the slot when there is one.
  slot = nullptr;
  char *e1 = ilx_u2s(nullptr, nullptr, nullptr), *e2 = ilx_s2u(nullptr, nullptr, &slot);
  EXPECT_STREQ("", e1);
  EXPECT_STREQ("", e2);
  EXPECT_EQ(e2, slot);
  for (char *p : {u, c, back, e1, e2}) BasMemoryFree(p);
  ilx_cs_free(latin1);
}

}  // namespace
