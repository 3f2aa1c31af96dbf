// The basic formatter's timestamps: milliseconds, the zone offset of the
// local time, and a configured strftime format.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/lumex.h"

namespace {

std::string stamp(Object *formatter, int64_t millis) {
  char *text = LmxBasicFormatterFormatDate(formatter, millis);
  std::string copy = text != nullptr ? text : "<null>";
  BasMemoryFree(text);
  return copy;
}

// Sets TZ for one scope.
class ZoneScope {
 public:
  explicit ZoneScope(const char *zone) {
    const char *old = std::getenv("TZ");
    hadOld_ = old != nullptr;
    if (hadOld_) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    if (hadOld_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  bool hadOld_ = false;
  std::string old_;
};

TEST(BasicFormatterDate, DefaultCarriesMillisecondsAndTheTrueZoneOffset) {
  struct Row {
    const char *zone;
    int64_t millis;
    const char *stamp;
  } rows[] = {
      {"UTC", 0, "1970-01-01 00:00:00.000+00:00"},
      {"UTC", -1, "1969-12-31 23:59:59.999+00:00"},
      {"Europe/Berlin", 1709647629045, "2024-03-05 15:07:09.045+01:00"},
      {"America/New_York", 1719835200000, "2024-07-01 08:00:00.000-04:00"},
      {"Asia/Kolkata", 1709647629005, "2024-03-05 19:37:09.005+05:30"},
      {"America/St_Johns", 1709647629999, "2024-03-05 10:37:09.999-03:30"},
      {"America/St_Johns", 1719835200000, "2024-07-01 09:30:00.000-02:30"},
      // Daylight saving of half an hour: +10:30 in winter, +11:00 in summer.
      {"Australia/Lord_Howe", 1704067200000, "2024-01-01 11:00:00.000+11:00"},
      {"Australia/Lord_Howe", 1719835200000, "2024-07-01 22:30:00.000+10:30"},
      // West of Greenwich by less than an hour.
      {"Africa/Monrovia", 0, "1969-12-31 23:15:30.000-00:44"},
      {"<-0030>0:30", 0, "1969-12-31 23:30:00.000-00:30"},
  };
  for (const Row &row : rows) {
    ZoneScope zone(row.zone);
    EXPECT_EQ(stamp(nullptr, row.millis), row.stamp) << row.zone << " " << row.millis;
  }
}

TEST(BasicFormatterDate, ConfiguredFormatReplacesTheWholeDefault) {
  ZoneScope zone("Europe/Berlin");
  ObjClass cls{};
  cls.kind = LMX_KIND_FORMATTER;
  Object formatter{};
  formatter.objClass = &cls;
  struct Row {
    const char *format;  // null: none configured
    const char *stamp;
  } rows[] = {
      {"%H:%M", "15:07"},
      {"%Y/%m/%d", "2024/03/05"},
      {"at %S s", "at 09 s"},
      {"", ""},
      {nullptr, "2024-03-05 15:07:09.045+01:00"},
  };
  for (const Row &row : rows) {
    formatter.b.dateTimeFormat = const_cast<char *>(row.format);
    EXPECT_EQ(stamp(&formatter, 1709647629045), row.stamp) << (row.format ? row.format : "none");
  }
  // The field means a format only on a formatter.
  cls.kind = LMX_KIND_HANDLER;
  formatter.b.dateTimeFormat = nullptr;
  EXPECT_EQ(stamp(&formatter, 1709647629045), "2024-03-05 15:07:09.045+01:00");
}

}  // namespace
