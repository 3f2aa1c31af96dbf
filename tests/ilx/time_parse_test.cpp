// Date and time parsing: century rules, directives, completion of derived
// fields, compared with the C library's strptime where both define a result.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "ilx/time_parse.h"

namespace {

struct tm blankTm() {
  struct tm t;
  std::memset(&t, 0, sizeof t);
  return t;
}

// Parses and returns the number of bytes consumed, -1 for a failure.
long parse(const char *text, const char *format, struct tm *t) {
  const char *end = ilx::parseTime(text, format, t);
  return end == nullptr ? -1 : end - text;
}

TEST(TimeParse, TwoDigitYearsFollowTheCenturyRules) {
  struct tm t = blankTm();
  ASSERT_EQ(8, parse("01/02/03", "%m/%d/%y", &t));
  EXPECT_EQ(0, t.tm_mon);
  EXPECT_EQ(2, t.tm_mday);
  EXPECT_EQ(103, t.tm_year);  // 2003

  t = blankTm();
  ASSERT_EQ(2, parse("99", "%y", &t));
  EXPECT_EQ(99, t.tm_year);
  t = blankTm();
  ASSERT_EQ(2, parse("69", "%y", &t));
  EXPECT_EQ(69, t.tm_year);
  t = blankTm();
  ASSERT_EQ(2, parse("68", "%y", &t));
  EXPECT_EQ(168, t.tm_year);
  t = blankTm();
  ASSERT_EQ(2, parse("00", "%y", &t));
  EXPECT_EQ(100, t.tm_year);

  // A century turns the two-digit year into (century - 19) * 100 + year,
  // whichever comes first.
  t = blankTm();
  ASSERT_EQ(5, parse("18 75", "%C %y", &t));
  EXPECT_EQ(-25, t.tm_year);  // 1875
  t = blankTm();
  ASSERT_EQ(5, parse("03 21", "%y %C", &t));
  EXPECT_EQ(203, t.tm_year);  // 2103
  t = blankTm();
  ASSERT_EQ(5, parse("19 03", "%C %y", &t));
  EXPECT_EQ(3, t.tm_year);  // 1903, not 2003
  // A century alone gives its first year; a full year is not overridden.
  t = blankTm();
  ASSERT_EQ(2, parse("20", "%C", &t));
  EXPECT_EQ(100, t.tm_year);
  t = blankTm();
  ASSERT_EQ(7, parse("19 2024", "%C %Y", &t));
  EXPECT_EQ(124, t.tm_year);
}

TEST(TimeParse, CompoundDirectivesAndTwelveHourClock) {
  struct tm t = blankTm();
  ASSERT_EQ(11, parse("12:05:09 AM", "%r", &t));
  EXPECT_EQ(0, t.tm_hour);
  EXPECT_EQ(5, t.tm_min);
  EXPECT_EQ(9, t.tm_sec);
  t = blankTm();
  ASSERT_EQ(11, parse("12:05:09 pm", "%r", &t));
  EXPECT_EQ(12, t.tm_hour);
  t = blankTm();
  ASSERT_EQ(7, parse("7:30 PM", "%I:%M %p", &t));
  EXPECT_EQ(19, t.tm_hour);
  // PM without a 12-hour clock leaves a 24-hour value alone.
  t = blankTm();
  ASSERT_EQ(8, parse("07:30 PM", "%H:%M %p", &t));
  EXPECT_EQ(7, t.tm_hour);
  t = blankTm();
  ASSERT_EQ(8, parse("23:59:60", "%T", &t));
  EXPECT_EQ(60, t.tm_sec);
  t = blankTm();
  ASSERT_EQ(2, parse("12", "%Ey", &t));  // E and O modifiers are skipped
  EXPECT_EQ(112, t.tm_year);
  t = blankTm();
  ASSERT_EQ(9, parse("12/31/99 x", "%D ", &t));  // trailing text stays
  EXPECT_EQ(11, t.tm_mon);
  EXPECT_EQ(99, t.tm_year);
}

TEST(TimeParse, RejectsMismatchesRangesAndUnknownDirectives) {
  struct tm t = blankTm();
  EXPECT_EQ(-1, parse("00", "%m", &t));
  EXPECT_EQ(-1, parse("00", "%d", &t));
  EXPECT_EQ(-1, parse("24", "%H", &t));
  EXPECT_EQ(-1, parse("0", "%I", &t));
  EXPECT_EQ(-1, parse("367", "%j", &t));
  EXPECT_EQ(-1, parse("7", "%w", &t));
  EXPECT_EQ(-1, parse("54", "%U", &t));
  EXPECT_EQ(-1, parse("2024-01", "%Y/%m", &t));
  EXPECT_EQ(-1, parse("x", "%m", &t));
  EXPECT_EQ(-1, parse("", "%d", &t));
  EXPECT_EQ(-1, parse("5", "%Q", &t));
  EXPECT_EQ(-1, parse("5", "%", &t));
  EXPECT_EQ(-1, parse("5", "%E", &t));
  EXPECT_EQ(-1, parse("Funday", "%a", &t));
  EXPECT_EQ(-1, parse("XM", "%p", &t));
  EXPECT_EQ(-1, parse("a", "%%", &t));
  EXPECT_EQ(nullptr, ilx::parseTime(nullptr, "%d", &t));
  EXPECT_EQ(nullptr, ilx::parseTime("1", nullptr, &t));
  // A day 366 in a year that has 365 is out of range rather than a date
  // in the thirteenth month.
  EXPECT_EQ(-1, parse("2023 366", "%Y %j", &t));
  // So is a week-0 weekday that falls in the year before.
  EXPECT_EQ(-1, parse("2023 00 0", "%Y %U %w", &t));
}

TEST(TimeParse, NumbersStopBeforePassingTheirMaximum) {
  struct tm t = blankTm();
  // "%m" takes "2" and leaves "1" because 21 could be no month.
  ASSERT_EQ(2, parse("21", "%m%d", &t));
  EXPECT_EQ(1, t.tm_mon);
  EXPECT_EQ(1, t.tm_mday);
  EXPECT_EQ(-1, parse("13", "%m%d", &t));
  t = blankTm();
  ASSERT_EQ(8, parse("20240315", "%Y%m%d", &t));
  EXPECT_EQ(124, t.tm_year);
  EXPECT_EQ(2, t.tm_mon);
  EXPECT_EQ(15, t.tm_mday);
  // White space before a number and around format blanks is skipped.
  t = blankTm();
  ASSERT_EQ(7, parse("  5\t\n 6", "%d%n%m", &t));
  EXPECT_EQ(5, t.tm_mday);
  EXPECT_EQ(5, t.tm_mon);
}

// Cases where the C library's strptime is defined: every field and the end
// position must agree.
TEST(TimeParse, AgreesWithTheCLibrary) {
  const char *cases[][2] = {
      {"2024-02-29 13:14:15", "%Y-%m-%d %H:%M:%S"},
      {"Thursday March 7 2024", "%A %B %d %Y"},
      {"thu mar 7 2024", "%a %b %e %Y"},
      {"Sep 9 1999 11:00 pm", "%h %d %Y %I:%M %p"},
      {"2024 060", "%Y %j"},
      {"2024 366", "%Y %j"},
      {"1999 001", "%Y %j"},
      {"2024 10 3", "%Y %U %w"},
      {"2024 10 3", "%Y %W %w"},
      {"2023 00 0", "%Y %W %w"},
      {"2023 52 0", "%Y %U %w"},
      {"2021 01 Mon", "%Y %W %a"},
      {"06/15/70", "%D"},
      {"15.06.2070 00:00", "%d.%m.%Y %R"},
      {"1 2 3", "%d %m %y"},
      {"17 99", "%C %y"},
      {"%5", "%%%d"},
      {"12", "%Om"},
      {"Monday", "%A"},
      {"Dec", "%b"},
      {"2000 12 31", "%Y %m %d"},
      {"1900 02 28", "%Y %m %d"},
      {"2100 03 01", "%Y %m %d"},
  };
  for (auto &c : cases) {
    struct tm mine = blankTm(), theirs = blankTm();
    const char *a = ilx::parseTime(c[0], c[1], &mine);
    const char *b = strptime(c[0], c[1], &theirs);
    SCOPED_TRACE(std::string(c[0]) + " / " + c[1]);
    ASSERT_EQ(b == nullptr, a == nullptr);
    if (b == nullptr) continue;
    EXPECT_EQ(b - c[0], a - c[0]);
    EXPECT_EQ(theirs.tm_sec, mine.tm_sec);
    EXPECT_EQ(theirs.tm_min, mine.tm_min);
    EXPECT_EQ(theirs.tm_hour, mine.tm_hour);
    EXPECT_EQ(theirs.tm_mday, mine.tm_mday);
    EXPECT_EQ(theirs.tm_mon, mine.tm_mon);
    EXPECT_EQ(theirs.tm_year, mine.tm_year);
    EXPECT_EQ(theirs.tm_wday, mine.tm_wday);
    EXPECT_EQ(theirs.tm_yday, mine.tm_yday);
  }
}

TEST(TimeParse, FillsWeekdayAndDayOfYear) {
  struct tm t = blankTm();
  ASSERT_NE(-1, parse("2024-03-15", "%Y-%m-%d", &t));
  EXPECT_EQ(5, t.tm_wday);  // a Friday
  EXPECT_EQ(74, t.tm_yday);
  t = blankTm();
  ASSERT_NE(-1, parse("2024 366", "%Y %j", &t));
  EXPECT_EQ(11, t.tm_mon);
  EXPECT_EQ(31, t.tm_mday);
  EXPECT_EQ(2, t.tm_wday);
  // Week 10 (Monday first) Wednesday of 2024 is 6 March.
  t = blankTm();
  ASSERT_NE(-1, parse("2024 10 3", "%Y %W %w", &t));
  EXPECT_EQ(2, t.tm_mon);
  EXPECT_EQ(6, t.tm_mday);
  EXPECT_EQ(65, t.tm_yday);
  EXPECT_EQ(3, t.tm_wday);
}

TEST(TimeParse, UnsetFieldsOfTheCallerCannotDerail) {
  // Only a day is parsed; the caller's month and year are wild.
  struct tm t = blankTm();
  t.tm_mon = 2000000000;
  t.tm_year = -2000000000;
  EXPECT_EQ(2, parse("15", "%d", &t));
  EXPECT_GE(t.tm_wday, 0);
  EXPECT_LE(t.tm_wday, 6);
}

}  // namespace
