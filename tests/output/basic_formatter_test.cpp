// Lines of the basic formatter: timestamps (milliseconds, the zone offset
// of the local time, a configured strftime format), separators, the
// properties shown and their order, and its two settings.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "core/obj_class.h"
#include "core/object.h"
#include "handler_test_util.h"
#include "lumex/lumex.h"

namespace {

using test::ToolkitTest;
using test::takeText;

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

class BasicFormatterTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    formatter_ = LmxGetObject("test.fmt", "lmx_basicformatter");
    ASSERT_NE(formatter_, nullptr);
  }
  void TearDown() override {
    LmxReleaseObject(formatter_);
    ToolkitTest::TearDown();
  }
  std::string line(Event *event) {
    std::string text = takeText(LmxBasicFormatterFFormat(formatter_, event));
    LmxFreeEvent(event);
    return text;
  }
  Object *formatter_ = nullptr;
};

TEST_F(BasicFormatterTest, DateTimeFormatFollowsTheConfiguration) {
  ZoneScope zone("UTC");
  LmxSetObjProp(formatter_, "dateTimeFormat", "%H:%M");
  EXPECT_EQ(takeText(LmxBasicFormatterFormatDate(formatter_, 1709647629045)), "14:07");
  // Gone from the configuration: the default again.
  test::removeProp(formatter_, "dateTimeFormat");
  EXPECT_EQ(takeText(LmxBasicFormatterFormatDate(formatter_, 1709647629045)),
            "2024-03-05 14:07:09.045+00:00");
}

TEST_F(BasicFormatterTest, LineShowsPresentPropertiesInFixedOrderBetweenSeparators) {
  LmxSetObjProp(formatter_, "dateTimeFormat", "T");
  struct Row {
    const char *separator;  // null: not configured
    std::vector<std::pair<const char *, const char *>> properties;  // in the order set
    const char *text;
    const char *line;
  } rows[] = {
      {nullptr, {}, "hello", "T hello\n"},
      {nullptr, {{"lmx_prop_srcfile", "a.c"}, {"lmx_prop_srcline", "12"}, {"product", "P"}},
       "hello", "T a.c 12 P hello\n"},
      {" | ", {{"lmx_prop_srcline", "-1"}}, "m", "T | -1 | m\n"},
      {" | ", {}, "", "T | \n"},
      {"", {{"product", "P"}}, "m", "TPm\n"},
      // Set in reverse order, shown in the formatter's order; others left out.
      {";",
       {{"server", "s"}, {"client", "cl"}, {"component", "co"}, {"product", "p"},
        {"organization", "o"}, {"lmx_prop_srcline", "7"}, {"lmx_prop_srcfunction", "fn"},
        {"lmx_prop_srcfile", "f.c"}, {"other", "x"}},
       "m", "T;f.c;fn;7;o;p;co;cl;s;m\n"},
  };
  for (const Row &row : rows) {
    if (row.separator != nullptr) {
      LmxSetObjProp(formatter_, "separator", row.separator);
    } else {
      test::removeProp(formatter_, "separator");
    }
    Event *event = test::newEvent(nullptr, row.text, 0);
    for (const auto &property : row.properties) {
      LmxSetEventProp(event, property.first, property.second);
    }
    EXPECT_EQ(line(event), row.line);
  }
}

TEST_F(BasicFormatterTest, MessageIsBoundWithItsParameters) {
  LmxSetObjProp(formatter_, "dateTimeFormat", "T");
  EXPECT_EQ(line(test::newEvent(nullptr, "%2$s=%1$d", LMX_PARM_INT, 5, LMX_PARM_STRING, "x", 0)),
            "T x=5\n");
  // A catalog that cannot be found: the default text stands in.
  EXPECT_EQ(line(test::newEvent("no_such_catalog", "n=%1$d", LMX_PARM_INT, 3, 0)), "T n=3\n");
}

TEST_F(BasicFormatterTest, DefaultStampOfTheEventTimeStartsTheLine) {
  Event *event = test::newEvent(nullptr, "m", 0);
  std::string stamp = takeText(LmxBasicFormatterFormatDate(formatter_, LmxGetEventTime(event)));
  EXPECT_EQ(line(event), stamp + " m\n");
}

TEST_F(BasicFormatterTest, NoLineWithoutAFormatterOrABindOperation) {
  Event *event = test::newEvent(nullptr, "m", 0);
  EXPECT_EQ(LmxBasicFormatterFFormat(nullptr, event), nullptr);
  EXPECT_EQ(LmxBasicFormatterFFormat(formatter_, nullptr), nullptr);
  // A formatter class registered without BindMsg gets the toolkit's binding.
  LmxAddFormatterClass("test_nobind", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
  Object *other = LmxGetObject("test.nobind", "test_nobind");
  ASSERT_NE(other, nullptr);
  std::string formatted = takeText(LmxBasicFormatterFFormat(other, event));
  EXPECT_EQ(formatted.substr(formatted.size() - 3), " m\n");
  // With the slot emptied there is no line at all.
  other->objClass->ops.formatter.bindMsg = nullptr;
  EXPECT_EQ(LmxBasicFormatterFFormat(other, event), nullptr);
  LmxReleaseObject(other);
  // An object of another kind.
  Object *logger = LmxGetObject("test.logger", "lmx_basiclogger");
  EXPECT_EQ(LmxBasicFormatterFFormat(logger, event), nullptr);
  LmxReleaseObject(logger);
  EXPECT_EQ(LmxBasicFormatterFGetHeader(formatter_), nullptr);
  EXPECT_EQ(LmxBasicFormatterFGetTrailer(formatter_), nullptr);
  LmxFreeEvent(event);
}

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
    EXPECT_EQ(takeText(LmxBasicFormatterFormatDate(nullptr, row.millis)), row.stamp) << row.zone << " " << row.millis;
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
    EXPECT_EQ(takeText(LmxBasicFormatterFormatDate(&formatter, 1709647629045)), row.stamp) << (row.format ? row.format : "none");
  }
  // The field means a format only on a formatter.
  cls.kind = LMX_KIND_HANDLER;
  formatter.b.dateTimeFormat = nullptr;
  EXPECT_EQ(takeText(LmxBasicFormatterFormatDate(&formatter, 1709647629045)), "2024-03-05 15:07:09.045+01:00");
}

}  // namespace
