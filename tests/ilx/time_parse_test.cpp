// Date and time parsing: century rules, directives, completion of derived
// fields, compared with the C library's strptime where both define a result.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <ctime>
#include <string>

#include "ilx/time_parse.h"
#include "lumex/ilx.h"

namespace {

struct tm blankTm() {
  struct tm t;
  std::memset(&t, 0, sizeof t);
  return t;
}

// sec, min, hour, mday, mon, year, wday, yday.
std::array<int, 8> fields(const struct tm &t) {
  return {t.tm_sec, t.tm_min, t.tm_hour, t.tm_mday, t.tm_mon, t.tm_year, t.tm_wday, t.tm_yday};
}

TEST(TimeParse, FieldsAndEndPosition) {
  // The bytes consumed and sec, min, hour, mday, mon, year; the public call
  // with no code set gives the same.
  const struct { const char *text, *format; long len; std::array<int, 6> want; } rows[] = {
      {"99", "%y", 2, {0, 0, 0, 0, 0, 99}},
      {"69", "%y", 2, {0, 0, 0, 0, 0, 69}},
      {"68", "%y", 2, {0, 0, 0, 0, 0, 168}},
      {"00", "%y", 2, {0, 0, 0, 0, 0, 100}},
      {"18 75", "%C %y", 5, {0, 0, 0, 0, 0, -25}},
      {"03 21", "%y %C", 5, {0, 0, 0, 0, 0, 203}},
      {"19 03", "%C %y", 5, {0, 0, 0, 0, 0, 3}},
      {"20", "%C", 2, {0, 0, 0, 0, 0, 100}},
      {"19 2024", "%C %Y", 7, {0, 0, 0, 0, 0, 124}},
      {"12", "%Ey", 2, {0, 0, 0, 0, 0, 112}},
      {"0", "%Y", 1, {0, 0, 0, 0, 0, -1900}},
      {"01/02/03", "%m/%d/%y", 8, {0, 0, 0, 2, 0, 103}},
      {"12:05:09 AM", "%r", 11, {9, 5, 0, 0, 0, 0}},
      {"12:05:09 pm", "%r", 11, {9, 5, 12, 0, 0, 0}},
      {"7:30 PM", "%I:%M %p", 7, {0, 30, 19, 0, 0, 0}},
      {"07:30 PM", "%H:%M %p", 8, {0, 30, 7, 0, 0, 0}},  // PM leaves a 24-hour clock alone
      {"23:59:60", "%T", 8, {60, 59, 23, 0, 0, 0}},
      {"12/31/99 x", "%D ", 9, {0, 0, 0, 31, 11, 99}},  // trailing text stays
      {"21", "%m%d", 2, {0, 0, 0, 1, 1, 0}},  // "%m" stops after "2": no month starts with 21
      {"20240315", "%Y%m%d", 8, {0, 0, 0, 15, 2, 124}},
      {"  5\t\n 6", "%d%n%m", 7, {0, 0, 0, 5, 5, 0}},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(std::string(r.text) + " / " + r.format);
    struct tm t = blankTm(), pub = blankTm();
    const char *end = ilx::parseTime(r.text, r.format, &t);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end - r.text, r.len);
    const std::array<int, 8> got = fields(t);
    EXPECT_EQ((std::array<int, 6>{got[0], got[1], got[2], got[3], got[4], got[5]}), r.want);
    EXPECT_EQ(ilx_strptime(nullptr, nullptr, r.text, r.format, &pub), end);
    EXPECT_EQ(fields(pub), got);
  }
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
    struct tm t = blankTm();
    EXPECT_EQ(nullptr, ilx::parseTime(r[0], r[1], &t)) << r[0] << " / " << r[1];
  }
  struct tm t = blankTm();
  EXPECT_EQ(nullptr, ilx::parseTime(nullptr, "%d", &t));
  EXPECT_EQ(nullptr, ilx::parseTime("1", nullptr, &t));
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
    EXPECT_EQ(fields(theirs), fields(mine));
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
