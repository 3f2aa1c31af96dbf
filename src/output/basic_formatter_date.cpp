// The basic formatter's timestamp: the default "YYYY-MM-DD HH:MM:SS.mmm+hh:mm"
// in local time, or the formatter's own strftime format.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/ilx.h"
#include "lumex/output.h"

namespace {

constexpr size_t kStampBytes = 128;

// Writes value (0 or more) as exactly width decimal digits.
char *putDigits(char *out, int value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return out + width;
}

}  // namespace

extern "C" {

char *LmxBasicFormatterFormatDate(Object *formatter, int64_t millis) {
  // Whole seconds rounded down, so that a time before 1970 still has its
  // milliseconds in 0 to 999.
  int64_t seconds = millis / 1000;
  int64_t fraction = millis % 1000;
  if (fraction < 0) {
    fraction += 1000;
    --seconds;
  }
  time_t clock = static_cast<time_t>(seconds);
  struct tm local {};
  // The zone is read once, at the first stamp, not for every record: the
  // runtime's zone look-up asks the file system about the zone file each
  // time. A program that changes TZ later calls tzset itself.
  static const bool zoneRead = (tzset(), true);
  (void)zoneRead;
  if (localtime_r(&clock, &local) == nullptr) return BasStringDup("");

  const char *format = formatter != nullptr && formatter->objClass != nullptr &&
                                   formatter->objClass->kind == LMX_KIND_FORMATTER
                           ? formatter->b.dateTimeFormat
                           : nullptr;
  if (format != nullptr) {
    char stamp[kStampBytes];
    char utf8[kStampBytes];
    utf8[0] = '\0';
    if (ilx_strftime(nullptr, nullptr, stamp, sizeof stamp, format, &local) > 0) {
      ilx_to_utf8(nullptr, stamp, -1, utf8, sizeof utf8);
    }
    return BasStringDup(utf8);
  }

  // The default stamp is written digit by digit: it is made for every
  // record, and the runtime's formatted printing costs more than the rest
  // of the line. Years outside 0 to 9999 take the runtime's way.
  long offset = local.tm_gmtoff;
  char sign = offset < 0 ? '-' : '+';
  long east = std::labs(offset);
  int year = local.tm_year + 1900;
  char stamp[kStampBytes];
  if (year < 0 || year > 9999 || east / 3600 > 99) {
    size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(stamp + length, sizeof stamp - length, ".%03d%c%02ld:%02ld",
                  static_cast<int>(fraction), sign, east / 3600, east % 3600 / 60);
    return BasStringDup(stamp);
  }
  char *p = stamp;
  p = putDigits(p, year, 4);
  *p++ = '-';
  p = putDigits(p, local.tm_mon + 1, 2);
  *p++ = '-';
  p = putDigits(p, local.tm_mday, 2);
  *p++ = ' ';
  p = putDigits(p, local.tm_hour, 2);
  *p++ = ':';
  p = putDigits(p, local.tm_min, 2);
  *p++ = ':';
  p = putDigits(p, local.tm_sec, 2);
  *p++ = '.';
  p = putDigits(p, static_cast<int>(fraction), 3);
  *p++ = sign;
  p = putDigits(p, static_cast<int>(east / 3600), 2);
  *p++ = ':';
  p = putDigits(p, static_cast<int>(east % 3600 / 60), 2);
  *p = '\0';
  return BasStringDup(stamp);
}

}  // extern "C"
