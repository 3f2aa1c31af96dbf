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

// Parses into a blank time; the bytes consumed, -1 for a failure.
long parse(const char *text, const char *format, struct tm *t) {
  *t = blankTm();
  const char *end = ilx::parseTime(text, format, t);
  return end == nullptr ? -1 : end - text;
}

TEST(TimeParse, YearsFollowTheCenturyRules) {
  struct Row {
    const char *text, *format;
    int year;  // tm_year
  };
  const Row rows[] = {
      {"99", "%y", 99},       {"69", "%y", 69},          {"68", "%y", 168},
      {"00", "%y", 100},      {"18 75", "%C %y", -25},   {"03 21", "%y %C", 203},
      {"19 03", "%C %y", 3},  {"20", "%C", 100},         {"19 2024", "%C %Y", 124},
      {"12", "%Ey", 112},     {"0", "%Y", -1900},
  };
  for (const Row &r : rows) {
    struct tm t;
    SCOPED_TRACE(std::string(r.text) + " / " + r.format);
    ASSERT_EQ(static_cast<long>(std::strlen(r.text)), parse(r.text, r.format, &t));
    EXPECT_EQ(r.year, t.tm_year);
  }
  struct tm t;
  ASSERT_EQ(8, parse("01/02/03", "%m/%d/%y", &t));
  EXPECT_EQ(0, t.tm_mon);
  EXPECT_EQ(2, t.tm_mday);
  EXPECT_EQ(103, t.tm_year);
}

TEST(TimeParse, ClockDirectives) {
  struct tm t;
  ASSERT_EQ(11, parse("12:05:09 AM", "%r", &t));
  EXPECT_EQ(0, t.tm_hour);
  EXPECT_EQ(5, t.tm_min);
  EXPECT_EQ(9, t.tm_sec);
  ASSERT_EQ(11, parse("12:05:09 pm", "%r", &t));
  EXPECT_EQ(12, t.tm_hour);
  ASSERT_EQ(7, parse("7:30 PM", "%I:%M %p", &t));
  EXPECT_EQ(19, t.tm_hour);
  ASSERT_EQ(8, parse("07:30 PM", "%H:%M %p", &t));  // PM leaves a 24-hour clock alone
  EXPECT_EQ(7, t.tm_hour);
  ASSERT_EQ(8, parse("23:59:60", "%T", &t));
  EXPECT_EQ(60, t.tm_sec);
  ASSERT_EQ(9, parse("12/31/99 x", "%D ", &t));  // trailing text stays
  EXPECT_EQ(11, t.tm_mon);
}

TEST(TimeParse, RejectsMismatchesRangesAndUnknownDirectives) {
  const char *rows[][2] = {
      {"13", "%m"},   {"00", "%m"},       {"00", "%d"},    {"24", "%H"},     {"0", "%I"},
      {"367", "%j"},  {"7", "%w"},        {"54", "%U"},    {"2024-01", "%Y/%m"},
      {"x", "%m"},    {"", "%d"},         {"5", "%Q"},     {"5", "%"},       {"5", "%E"},
      {"Funday", "%a"}, {"XM", "%p"},     {"a", "%%"},     {"13", "%m%d"},
      // Day 366 of a 365-day year, and a week-0 day that falls in the year
      // before, are out of range rather than dates outside the year.
      {"2023 366", "%Y %j"}, {"2023 00 0", "%Y %U %w"},
  };
  for (auto &r : rows) {
    struct tm t;
    EXPECT_EQ(-1, parse(r[0], r[1], &t)) << r[0] << " / " << r[1];
  }
  struct tm t = blankTm();
  EXPECT_EQ(nullptr, ilx::parseTime(nullptr, "%d", &t));
  EXPECT_EQ(nullptr, ilx::parseTime("1", nullptr, &t));
}

TEST(TimeParse, NumbersAndWhiteSpace) {
  struct tm t;
  // "%m" stops after "2" since no month starts with 21.
  ASSERT_EQ(2, parse("21", "%m%d", &t));
  EXPECT_EQ(1, t.tm_mon);
  EXPECT_EQ(1, t.tm_mday);
  ASSERT_EQ(8, parse("20240315", "%Y%m%d", &t));
  EXPECT_EQ(2, t.tm_mon);
  EXPECT_EQ(15, t.tm_mday);
  ASSERT_EQ(7, parse("  5\t\n 6", "%d%n%m", &t));
  EXPECT_EQ(5, t.tm_mday);
  EXPECT_EQ(5, t.tm_mon);
}

// Cases where the C library's strptime is defined: every field and the end
// position must agree, derived weekday, day of year and dates from week
// numbers included.
TEST(TimeParse, AgreesWithTheCLibrary) {
  const char *cases[][2] = {
      {"2024-02-29 13:14:15", "%Y-%m-%d %H:%M:%S"}, {"Thursday March 7 2024", "%A %B %d %Y"},
      {"thu mar 7 2024", "%a %b %e %Y"},            {"Sep 9 1999 11:00 pm", "%h %d %Y %I:%M %p"},
      {"2024 060", "%Y %j"},                        {"2024 366", "%Y %j"},
      {"1999 001", "%Y %j"},                        {"2024 10 3", "%Y %U %w"},
      {"2024 10 3", "%Y %W %w"},                    {"2023 00 0", "%Y %W %w"},
      {"2023 52 0", "%Y %U %w"},                    {"2021 01 Mon", "%Y %W %a"},
      {"06/15/70", "%D"},                           {"15.06.2070 00:00", "%d.%m.%Y %R"},
      {"1 2 3", "%d %m %y"},                        {"17 99", "%C %y"},
      {"%5", "%%%d"},                               {"12", "%Om"},
      {"Monday", "%A"},                             {"Dec", "%b"},
      {"2000 12 31", "%Y %m %d"},                   {"1900 02 28", "%Y %m %d"},
      {"2100 03 01", "%Y %m %d"},
  };
  for (auto &c : cases) {
    struct tm mine = blankTm(), theirs = blankTm();
    const char *a = ilx::parseTime(c[0], c[1], &mine);
    const char *b = strptime(c[0], c[1], &theirs);
    SCOPED_TRACE(std::string(c[0]) + " / " + c[1]);
    ASSERT_NE(nullptr, b);
    ASSERT_NE(nullptr, a);
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

TEST(TimeParse, UnsetFieldsOfTheCallerCannotDerail) {
  // Only a day is parsed; the caller's month and year are wild.
  struct tm t = blankTm();
  t.tm_mon = 2000000000;
  t.tm_year = -2000000000;
  ASSERT_NE(nullptr, ilx::parseTime("15", "%d", &t));
  EXPECT_GE(t.tm_wday, 0);
  EXPECT_LE(t.tm_wday, 6);
}

}  // namespace
