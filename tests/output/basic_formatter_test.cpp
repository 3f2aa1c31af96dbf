// Lines of the basic formatter: timestamps (milliseconds, the zone offset
// of the local time, a configured strftime format), separators, the
// properties shown and their order, and its two settings.
#include <ctime>
#include <utility>

#include "output_fixture.h"

namespace {

using test::takeText;

// Sets TZ for one scope.
class ZoneScope {
 public:
  explicit ZoneScope(const char *zone) : had_(std::getenv("TZ") != nullptr) {
    if (had_) old_ = std::getenv("TZ");
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    had_ ? setenv("TZ", old_.c_str(), 1) : unsetenv("TZ");
    tzset();
  }

 private:
  bool had_;
  std::string old_;
};

class BasicFormatterTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    ASSERT_TRUE(openToolkit());
    formatter_ = LmxGetObject("test.fmt", "lmx_basicformatter");
    ASSERT_NE(formatter_, nullptr);
  }
  void TearDown() override {
    LmxReleaseObject(formatter_);
    OutputTest::TearDown();
  }
  std::string line(Event *event) {
    std::string text = takeText(LmxBasicFormatterFFormat(formatter_, event));
    LmxFreeEvent(event);
    return text;
  }
  // Sets (or, with null, takes out) a property of the formatter.
  void set(const char *key, const char *value) {
    value != nullptr ? LmxSetObjProp(formatter_, key, value) : test::removeProp(formatter_, key);
  }
  Object *formatter_ = nullptr;
};

TEST_F(BasicFormatterTest, DefaultStampCarriesMillisecondsAndTheTrueZoneOffset) {
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
    SCOPED_TRACE(std::string(row.zone) + " " + std::to_string(row.millis));
    ZoneScope zone(row.zone);
    EXPECT_EQ(takeText(LmxBasicFormatterFormatDate(nullptr, row.millis)), row.stamp);
  }
  // The event's own time starts the line.
  Event *event = test::newEvent(nullptr, "m", 0);
  std::string stamp = takeText(LmxBasicFormatterFormatDate(formatter_, LmxGetEventTime(event)));
  EXPECT_EQ(line(event), stamp + " m\n");
}

TEST_F(BasicFormatterTest, ConfiguredFormatReplacesTheWholeDefault) {
  ZoneScope zone("Europe/Berlin");
  struct Row {
    const char *format;  // null: taken out of the configuration
    const char *stamp;
  } rows[] = {
      {"%H:%M", "15:07"}, {"%Y/%m/%d", "2024/03/05"}, {"at %S s", "at 09 s"}, {"", ""},
      {nullptr, "2024-03-05 15:07:09.045+01:00"},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(str(row.format));
    set("dateTimeFormat", row.format);
    EXPECT_EQ(takeText(LmxBasicFormatterFormatDate(formatter_, 1709647629045)), row.stamp);
  }
  // The field means a format only on a formatter.
  ObjClass cls{};
  cls.kind = LMX_KIND_HANDLER;
  Object handler{};
  handler.objClass = &cls;
  handler.b.dateTimeFormat = const_cast<char *>("%H:%M");
  EXPECT_EQ(takeText(LmxBasicFormatterFormatDate(&handler, 1709647629045)),
            "2024-03-05 15:07:09.045+01:00");
}

TEST_F(BasicFormatterTest, LineShowsPresentPropertiesInFixedOrderBetweenSeparators) {
  set("dateTimeFormat", "T");
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
    SCOPED_TRACE(row.line);
    set("separator", row.separator);
    Event *event = test::newEvent(nullptr, row.text, 0);
    for (const auto &[key, value] : row.properties) LmxSetEventProp(event, key, value);
    EXPECT_EQ(line(event), row.line);
  }
  set("separator", nullptr);
  EXPECT_EQ(line(test::newEvent(nullptr, "%2$s=%1$d", LMX_PARM_INT, 5, LMX_PARM_STRING, "x", 0)),
            "T x=5\n");
  // A catalog that cannot be found: the default text stands in.
  EXPECT_EQ(line(test::newEvent("no_such_catalog", "n=%1$d", LMX_PARM_INT, 3, 0)), "T n=3\n");
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

}  // namespace
