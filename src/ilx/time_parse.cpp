// Date and time parsing: a walk over the format that fills the broken-down
// time, then completion of the fields the text did not give (year from
// century and two-digit year, weekday, day of year, date from week number).
// Names of days, months and AM/PM come from the C library's current locale.
#include "ilx/time_parse.h"

#include <langinfo.h>
#include <strings.h>

#include <cstdint>
#include <initializer_list>
#include <cstring>

namespace ilx {
namespace {

// What the walk has seen, for the completion afterwards.
struct Seen {
  bool hour12 = false;  // %I
  bool pm = false;      // %p said PM
  bool wday = false;
  bool yday = false;
  bool mon = false;
  bool mday = false;
  bool sundayWeek = false;  // %U
  bool mondayWeek = false;  // %W
  bool twoDigitYear = false;
  bool fullYear = false;
  bool date = false;  // a day, month or year was parsed: weekday and day of year follow
  int century = -1;
  int week = 0;
};

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

const char *skipSpace(const char *p) {
  while (isSpace(*p)) ++p;
  return p;
}

// Reads an unsigned number of at most maxDigits digits after optional white
// space; stops early when one more digit would pass the maximum. Null when
// no digit is there or the value is outside [lo, hi].
const char *number(const char *p, int lo, int hi, int maxDigits, int *out) {
  p = skipSpace(p);
  if (*p < '0' || *p > '9') return nullptr;
  int v = 0;
  do {
    v = v * 10 + (*p++ - '0');
  } while (--maxDigits > 0 && v * 10 <= hi && *p >= '0' && *p <= '9');
  if (v < lo || v > hi) return nullptr;
  *out = v;
  return p;
}

// Matches the longest of count names (full names first, then abbreviations)
// at p, case-insensitively; returns the position after it and its index.
const char *name(const char *p, nl_item full, nl_item abbr, int count, int *index) {
  for (nl_item first : {full, abbr}) {
    for (int i = 0; i < count; ++i) {
      const char *n = nl_langinfo(static_cast<nl_item>(first + i));
      size_t len = std::strlen(n);
      if (len != 0 && strncasecmp(p, n, len) == 0) {
        *index = i;
        return p + len;
      }
    }
  }
  return nullptr;
}

const char *meridian(const char *p, bool *pm) {
  for (nl_item item : {AM_STR, PM_STR}) {
    const char *n = nl_langinfo(item);
    size_t len = std::strlen(n);
    if (len != 0 && strncasecmp(p, n, len) == 0) {
      *pm = item == PM_STR;
      return p + len;
    }
  }
  return nullptr;
}

const char *walk(const char *p, const char *f, struct tm *tm, Seen &seen);

// One directive (the character after "%" and any E or O modifier).
const char *directive(char d, const char *p, struct tm *tm, Seen &seen) {
  int v = 0;
  switch (d) {
    case '%':
      return *p == '%' ? p + 1 : nullptr;
    case 'a':
    case 'A':
      if ((p = name(p, DAY_1, ABDAY_1, 7, &v)) == nullptr) return nullptr;
      tm->tm_wday = v;
      seen.wday = true;
      return p;
    case 'b':
    case 'B':
    case 'h':
      if ((p = name(p, MON_1, ABMON_1, 12, &v)) == nullptr) return nullptr;
      tm->tm_mon = v;
      seen.mon = seen.date = true;
      return p;
    case 'C':
      if ((p = number(p, 0, 99, 2, &v)) == nullptr) return nullptr;
      seen.century = v;
      seen.date = true;
      return p;
    case 'D':
      return walk(p, "%m/%d/%y", tm, seen);
    case 'd':
    case 'e':
      if ((p = number(p, 1, 31, 2, &v)) == nullptr) return nullptr;
      tm->tm_mday = v;
      seen.mday = seen.date = true;
      return p;
    case 'H':
      if ((p = number(p, 0, 23, 2, &v)) == nullptr) return nullptr;
      tm->tm_hour = v;
      seen.hour12 = false;
      return p;
    case 'I':
      if ((p = number(p, 1, 12, 2, &v)) == nullptr) return nullptr;
      tm->tm_hour = v % 12;
      seen.hour12 = true;
      return p;
    case 'j':
      if ((p = number(p, 1, 366, 3, &v)) == nullptr) return nullptr;
      tm->tm_yday = v - 1;
      seen.yday = true;
      return p;
    case 'm':
      if ((p = number(p, 1, 12, 2, &v)) == nullptr) return nullptr;
      tm->tm_mon = v - 1;
      seen.mon = seen.date = true;
      return p;
    case 'M':
      if ((p = number(p, 0, 59, 2, &v)) == nullptr) return nullptr;
      tm->tm_min = v;
      return p;
    case 'n':
    case 't':
      return skipSpace(p);
    case 'p':
      return meridian(p, &seen.pm);
    case 'r':
      return walk(p, "%I:%M:%S %p", tm, seen);
    case 'R':
      return walk(p, "%H:%M", tm, seen);
    case 'S':
      if ((p = number(p, 0, 61, 2, &v)) == nullptr) return nullptr;
      tm->tm_sec = v;
      return p;
    case 'T':
      return walk(p, "%H:%M:%S", tm, seen);
    case 'U':
    case 'W':
      if ((p = number(p, 0, 53, 2, &v)) == nullptr) return nullptr;
      seen.week = v;
      seen.sundayWeek = d == 'U';
      seen.mondayWeek = d == 'W';
      return p;
    case 'w':
      if ((p = number(p, 0, 6, 1, &v)) == nullptr) return nullptr;
      tm->tm_wday = v;
      seen.wday = true;
      return p;
    case 'y':
      if ((p = number(p, 0, 99, 2, &v)) == nullptr) return nullptr;
      tm->tm_year = v >= 69 ? v : v + 100;  // 1969-1999, 2000-2068
      seen.twoDigitYear = seen.date = true;
      seen.fullYear = false;
      return p;
    case 'Y':
      if ((p = number(p, 0, 9999, 4, &v)) == nullptr) return nullptr;
      tm->tm_year = v - 1900;
      seen.fullYear = seen.date = true;
      seen.twoDigitYear = false;
      return p;
    default:
      return nullptr;
  }
}

const char *walk(const char *p, const char *f, struct tm *tm, Seen &seen) {
  while (*f != '\0') {
    if (isSpace(*f)) {
      p = skipSpace(p);
      ++f;
      continue;
    }
    if (*f != '%') {
      if (*p != *f) return nullptr;
      ++p;
      ++f;
      continue;
    }
    ++f;
    if (*f == 'E' || *f == 'O') ++f;
    if (*f == '\0') return nullptr;
    if ((p = directive(*f++, p, tm, seen)) == nullptr) return nullptr;
  }
  return p;
}

// Calendar arithmetic on 64-bit values, valid for any field values (so
// fields the caller left unset cannot make it misbehave).
bool leapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days since 1970-01-01 of a proleptic Gregorian date; the month is 0-based
// and may lie outside 0..11, the day outside the month.
int64_t daysFromCivil(int64_t y, int64_t m0, int64_t d) {
  y += floorDiv(m0, 12);
  int64_t m = m0 - floorDiv(m0, 12) * 12 + 1;  // 1..12
  y -= m <= 2;
  const int64_t era = floorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int64_t yearOf(const struct tm *tm) { return 1900 + static_cast<int64_t>(tm->tm_year); }

void setWeekday(struct tm *tm) {
  const int64_t days = daysFromCivil(yearOf(tm), tm->tm_mon, tm->tm_mday);
  tm->tm_wday = static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
}

void setYearDay(struct tm *tm) {
  const int64_t y = yearOf(tm);
  tm->tm_yday = static_cast<int>(daysFromCivil(y, tm->tm_mon, tm->tm_mday) - daysFromCivil(y, 0, 1));
}

// Month and day of the month from the day of the year; false when the day
// of the year lies outside the year.
bool dateFromYearDay(struct tm *tm, bool setMon, bool setMday) {
  const int64_t y = yearOf(tm);
  if (tm->tm_yday < 0 || tm->tm_yday >= (leapYear(y) ? 366 : 365)) return false;
  int mon = 0;
  while (mon < 11 && daysFromCivil(y, mon + 1, 1) - daysFromCivil(y, 0, 1) <= tm->tm_yday) ++mon;
  if (setMon) tm->tm_mon = mon;
  if (setMday)
    tm->tm_mday =
        static_cast<int>(tm->tm_yday - (daysFromCivil(y, mon, 1) - daysFromCivil(y, 0, 1)) + 1);
  return true;
}

// Fills what the parsed fields imply, as the C library's strptime does.
bool complete(struct tm *tm, Seen &seen) {
  if (seen.hour12 && seen.pm) tm->tm_hour += 12;
  if (seen.century >= 0 && !seen.fullYear)
    tm->tm_year = (seen.twoDigitYear ? tm->tm_year % 100 : 0) + (seen.century - 19) * 100;

  if (seen.date && !seen.wday) {
    if (!(seen.mon && seen.mday) && seen.yday) {
      if (!dateFromYearDay(tm, !seen.mon, !seen.mday)) return false;
      seen.mon = seen.mday = true;
    }
    setWeekday(tm);
  }
  if (seen.date && !seen.yday) setYearDay(tm);

  if ((seen.sundayWeek || seen.mondayWeek) && seen.wday) {
    // The day named by week number and weekday: weeks start on the first
    // Sunday (%U) or Monday (%W) of the year; days before it are week 0.
    const int wday = tm->tm_wday;
    const int offset = seen.sundayWeek ? 0 : 1;
    struct tm jan1 = *tm;
    jan1.tm_mon = 0;
    jan1.tm_mday = 1;
    setWeekday(&jan1);
    if (!seen.yday) {
      tm->tm_yday = (7 - (jan1.tm_wday - offset)) % 7 + (seen.week - 1) * 7 +
                    (wday - offset + 7) % 7;
    }
    if (!seen.mday || !seen.mon) {
      if (!dateFromYearDay(tm, !seen.mon, !seen.mday)) return false;
    }
    tm->tm_wday = wday;
  }
  return true;
}

}  // namespace

const char *parseTime(const char *text, const char *format, struct tm *tm) {
  if (text == nullptr || format == nullptr || tm == nullptr) return nullptr;
  Seen seen;
  const char *end = walk(text, format, tm, seen);
  if (end == nullptr || !complete(tm, seen)) return nullptr;
  return end;
}

}  // namespace ilx
