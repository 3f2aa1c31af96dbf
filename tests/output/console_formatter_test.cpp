// The basic formatter's lines, a handler's formatter, the console handler and a configured
// console in a child process.
#include <fcntl.h>

#include <ctime>
#include <utility>

#include "output_fixture.h"

namespace {

using test::take;

int processed = 0;  // events given to the counting handler class
void countProcess(Object *, Event *) { ++processed; }

class FormatterTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    ASSERT_TRUE(openToolkit());
    // A formatter class whose header and trailer are marked lines.
    LmxAddFormatterClass("test_framed", nullptr, nullptr, nullptr, LmxBasicFormatterFCfgChange,
                         nullptr, [](Object *) { return BasStringDup("<head>\n"); },
                         [](Object *) { return BasStringDup("<tail>\n"); }, nullptr);
    LmxAddHandlerClass("test_counting", nullptr, nullptr, nullptr, nullptr, countProcess, nullptr,
                       nullptr);
    ASSERT_NE(formatter_ = get("test.fmt", "lmx_basicformatter"), nullptr);
    ASSERT_NE(handler_ = get("test.handler", "lmx_consolehandler"), nullptr);
  }
  // Runs the steps ("o" open, "c" close, "p" process) on the console; returns what it printed.
  std::string run(const char *steps) {
    processed = 0;
    Event *event = test::newEvent("m", 0);
    testing::internal::CaptureStdout();
    for (const char *step = steps; *step != '\0'; ++step) {
      switch (*step) {
        case 'o': LmxConsoleHandlerFOpen(handler_); break;
        case 'c': LmxConsoleHandlerFClose(handler_); break;
        case 'p': LmxConsoleHandlerFProcess(handler_, event); break;
      }
    }
    LmxFreeEvent(event);
    return testing::internal::GetCapturedStdout();
  }
  void TearDown() override {
    hadZone_ ? setenv("TZ", zone_.c_str(), 1) : unsetenv("TZ");
    tzset();
    OutputTest::TearDown();
  }
  std::string line(Event *event) {
    std::string text = take(LmxBasicFormatterFFormat(formatter_, event));
    LmxFreeEvent(event);
    return text;
  }
  std::string formatterName() {
    Object *formatter = LmxHandlerGetFormatter(handler_);
    std::string name = formatter != nullptr ? formatter->name : "<none>";
    LmxReleaseObject(formatter);
    return name;
  }
  const bool hadZone_ = std::getenv("TZ") != nullptr;
  const std::string zone_ = str(std::getenv("TZ"));
  Object *formatter_ = nullptr;
  Object *handler_ = nullptr;
};

// The default stamp carries milliseconds and the true zone offset; a
// configured format replaces the whole default (null: none, or taken out).
TEST_F(FormatterTest, StampCarriesMillisecondsAndTheZoneOffsetUnlessAFormatIsConfigured) {
  constexpr int64_t kT = 1709647629045;
  struct Row { const char *zone, *format; int64_t millis; const char *stamp; } rows[] = {
      {"UTC", nullptr, -1, "1969-12-31 23:59:59.999+00:00"},
      {"America/New_York", nullptr, 1719835200000, "2024-07-01 08:00:00.000-04:00"},
      {"Asia/Kolkata", nullptr, 1709647629005, "2024-03-05 19:37:09.005+05:30"},
      {"America/St_Johns", nullptr, 1709647629999, "2024-03-05 10:37:09.999-03:30"},
      {"Australia/Lord_Howe", nullptr, 1704067200000, "2024-01-01 11:00:00.000+11:00"},  // DST
      {"Africa/Monrovia", nullptr, 0, "1969-12-31 23:15:30.000-00:44"},  // west, under an hour
      {"<-0030>0:30", nullptr, 0, "1969-12-31 23:30:00.000-00:30"},
      {"Europe/Berlin", "%H:%M", kT, "15:07"}, {"Europe/Berlin", "at %S s", kT, "at 09 s"},
      {"Europe/Berlin", "", kT, ""},
      {"Europe/Berlin", nullptr, kT, "2024-03-05 15:07:09.045+01:00"},  // taken out
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(std::string(row.zone) + " " + str(row.format) + " " + std::to_string(row.millis));
    setenv("TZ", row.zone, 1);
    tzset();
    test::setProp(formatter_, "dateTimeFormat", row.format);
    EXPECT_EQ(take(LmxBasicFormatterFormatDate(formatter_, row.millis)), row.stamp);
  }
  // On a handler the field shared with the format holds its formatter: not read as a format.
  EXPECT_EQ(take(LmxBasicFormatterFormatDate(handler_, kT)), "2024-03-05 15:07:09.045+01:00");
}

TEST_F(FormatterTest, LineShowsPropertiesInFixedOrderBetweenSeparatorsAndNeedsABind) {
  LmxSetObjProp(formatter_, "dateTimeFormat", "T");
  // A null separator: none configured; the properties in the order set.
  using Props = std::vector<std::pair<const char *, const char *>>;
  struct Row { const char *separator; Props properties; const char *text, *line; } rows[] = {
      {nullptr, {}, "hello", "T hello\n"},
      {" | ", {{"lmx_prop_srcline", "-1"}}, "m", "T | -1 | m\n"}, {" | ", {}, "", "T | \n"},
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
    test::setProp(formatter_, "separator", row.separator);
    Event *event = test::newEvent(row.text, 0);
    for (const auto &[key, value] : row.properties) LmxSetEventProp(event, key, value);
    EXPECT_EQ(line(event), row.line);
  }
  test::setProp(formatter_, "separator", nullptr);
  EXPECT_EQ(line(test::newEvent("%2$s=%1$d", LMX_PARM_INT, 5, LMX_PARM_STRING, "x", 0)),
            "T x=5\n");
  // No line without a formatter, an event or a bind operation.
  Event *event = test::newEvent("m", 0);
  EXPECT_EQ(LmxBasicFormatterFFormat(nullptr, event), nullptr);
  EXPECT_EQ(LmxBasicFormatterFFormat(formatter_, nullptr), nullptr);
  EXPECT_EQ(LmxBasicFormatterFFormat(get("test.logger", "lmx_basiclogger"), event), nullptr);
  EXPECT_EQ(LmxBasicFormatterFGetHeader(formatter_), nullptr);
  EXPECT_EQ(LmxBasicFormatterFGetTrailer(formatter_), nullptr);
  // A formatter class registered without BindMsg gets the toolkit's binding.
  LmxAddFormatterClass("test_nobind", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
  Object *other = get("test.nobind", "test_nobind");
  ASSERT_NE(other, nullptr);
  std::string formatted = take(LmxBasicFormatterFFormat(other, event));
  EXPECT_EQ(formatted.substr(formatted.size() - 3), " m\n");
  // With the slot emptied there is no line at all.
  other->objClass->ops.formatter.bindMsg = nullptr;
  EXPECT_EQ(LmxBasicFormatterFFormat(other, event), nullptr);
  LmxFreeEvent(event);
}

// A handler's texts come from its formatter (the default one's lines: the console child case).
TEST_F(FormatterTest, HandlerTextsComeFromItsFormatterTheDefaultOneAtFirst) {
  EXPECT_EQ(formatterName(), "lumex.defaultFormatter");
  Event *event = test::newEvent("m", 0);
  // Other keys reach the generic configuration; calls without an object or
  // a key change nothing.
  LmxSetObjProp(handler_, "logging", "OFF");
  EXPECT_FALSE(LmxIsObjectEnabled(handler_));
  LmxSetObjProp(handler_, "logging", "true");
  EXPECT_TRUE(LmxIsObjectEnabled(handler_));
  LmxBasicHandlerFCfgChange(nullptr, "formatterName");
  LmxBasicHandlerFCfgChange(handler_, nullptr);
  EXPECT_EQ(formatterName(), "lumex.defaultFormatter");
  Object *framed = get("test.framed", "test_framed");
  LmxHandlerSetFormatter(handler_, framed);
  LmxSetObjProp(framed, "dateTimeFormat", "T");
  EXPECT_EQ(take(LmxHandlerGetFmtHeader(handler_)), "<head>\n");
  EXPECT_EQ(take(LmxHandlerGetFmtTrailer(handler_)), "<tail>\n");
  EXPECT_EQ(take(LmxHandlerDoFmt(handler_, event)), "T m\n");
  // No texts from a handler without a formatter or with an object of another kind in its
  // place, nor from objects that are not handlers (which are left alone).
  Object *logger = get("test.logger", "lmx_basiclogger");
  std::pair<Object *, Object *> pairs[] = {
      {handler_, nullptr}, {handler_, logger}, {logger, framed}, {nullptr, framed}};
  for (const auto &[object, formatter] : pairs) {
    LmxHandlerSetFormatter(object, formatter);
    EXPECT_EQ(LmxHandlerGetFmtHeader(object), nullptr);
    EXPECT_EQ(LmxHandlerGetFmtTrailer(object), nullptr);
    EXPECT_EQ(LmxHandlerDoFmt(object, event), nullptr);
  }
  EXPECT_EQ(formatterName(), "test.logger");
  EXPECT_EQ(LmxHandlerGetFormatter(logger), nullptr);
  EXPECT_EQ(LmxHandlerGetFormatter(nullptr), nullptr);
  LmxFreeEvent(event);
}

TEST_F(FormatterTest, SettingTheFormatterKeepsCountsAndNamingItReplacesIt) {
  // Set twice, then the test's reference given up: another formatter in its place destroys it
  // (a reference taken twice would keep it).
  Object *formatter = LmxGetObject("test.other", "lmx_basicformatter");
  LmxHandlerSetFormatter(handler_, formatter);
  LmxHandlerSetFormatter(handler_, formatter);
  LmxReleaseObject(formatter);
  LmxHandlerSetFormatter(handler_, formatter);
  EXPECT_EQ(formatterName(), "test.other");
  LmxHandlerSetFormatter(handler_, nullptr);
  EXPECT_EQ(LmxGetObject("test.other", nullptr), nullptr) << "the replaced one should be gone";
  // By name in the configuration; a null value: the key taken out.
  Object *framed = get("test.framed", "test_framed");
  struct Row { const char *value, *formatter; } rows[] = {
      {"test.framed", "test.framed"}, {"lumex.defaultFormatter", "lumex.defaultFormatter"},
      {"test.framed", "test.framed"}, {nullptr, "test.framed"},  // gone: the handler keeps it
      {"test.unconfigured", "<none>"},  // no object of that name can be made
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(str(row.value));
    test::setProp(handler_, "formatterName", row.value);
    EXPECT_EQ(formatterName(), row.formatter);
  }
  EXPECT_EQ(framed->references, 2);  // held by nobody now but the test
}

TEST_F(FormatterTest, ConsoleWritesTheHeaderOnceBeforeRecordsAndTheTrailerAtClose) {
  Object *framed = get("test.framed", "test_framed");
  LmxSetObjProp(framed, "dateTimeFormat", "T");
  LmxAddListener(handler_, get("test.counter", "test_counting"));
  struct Row { bool enabled, formatter; const char *steps, *printed; int passedOn; } rows[] = {
      {true, true, "pp", "<head>\nT m\nT m\n", 2}, {true, true, "oop", "<head>\nT m\n", 1},
      {true, true, "c", "", 0}, {true, true, "pccp", "<head>\nT m\n<tail>\n<head>\nT m\n", 2},
      {false, true, "popcp", "<head>\n<tail>\n", 0},  // disabled: still framed
      {true, false, "opc", "", 1},  // no formatter: nothing printed, events go on
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.steps);
    LmxSetObjectEnabled(handler_, 1);
    LmxHandlerSetFormatter(handler_, framed);
    run("c");  // back to the header not written
    LmxSetObjectEnabled(handler_, row.enabled);
    if (!row.formatter) LmxHandlerSetFormatter(handler_, nullptr);
    EXPECT_EQ(run(row.steps), row.printed);
    EXPECT_EQ(processed, row.passedOn);
  }
  // Without its flag byte (as after a failed allocation of the private
  // variables) the console does nothing.
  LmxHandlerSetFormatter(handler_, framed);
  LmxConsoleHandlerFFreeVars(handler_->vars);
  handler_->vars = nullptr;
  EXPECT_EQ(run("opc"), "");
  EXPECT_EQ(processed, 0);
  LmxConsoleHandlerFFreeVars(nullptr);
  handler_->vars = LmxConsoleHandlerFAllocVars();
}

// Log calls in a child with the locale variable reach the console at once (the child ends
// without flushing) through the configured formatter or the default one, in the locale's code
// set; the toolkit's own report (of a logger without listeners) goes to the default console.
TEST_F(OutputTest, LogCallsReachTheConsoleAtOnceThroughTheConfiguredFormatter) {
  const std::string props =
      "app.className=lmx_basiclogger\napp.listenerNames=out\nout.className=lmx_consolehandler\n"
      "semi.className=lmx_basicformatter\nsemi.separator=;\nsemi.dateTimeFormat=T\n"
      "lumex.defaultFormatter.dateTimeFormat=D\nlonely.className=lmx_basiclogger\n";
  struct Row { const char *lcAll, *props, *printed; } rows[] = {
      {"de_DE.UTF-8", "out.formatterName=semi\n", "T;Lumex;started\nT;caf\xC3\xA9\n"},
      {"fr_FR.ISO-8859-15@euro", "", "D Lumex started\nD caf\xE9\n"},
  };
  constexpr int32_t kProperty = 201;  // a named event property in a parameter list
  for (const Row &row : rows) {
    SCOPED_TRACE(std::string(row.lcAll) + " " + row.props);
    writeFile(at("toolkit.properties"), props + row.props);
    int out = open(at("stdout").c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    ASSERT_GE(out, 0);
    pid_t pid = spawn([&] {
      dup2(out, STDOUT_FILENO);
      setenv("LC_ALL", row.lcAll, 1);
      if (!LmxOpenToolkit(at("toolkit.properties").c_str())) return 3;
      Object *app = LmxGetObject("app", nullptr);
      LmxLogInfo(app, nullptr, 0, 0, "started", kProperty, "product", LMX_PARM_STRING, "Lumex", 0);
      LmxLogText(app, "caf\xC3\xA9", 0);
      LmxLogInfo(LmxGetObject("lonely", nullptr), nullptr, 0, 0, "m", 0);
      return 0;
    });
    close(out);
    EXPECT_EQ(reap(pid), 0);
    EXPECT_EQ(readFile(at("stdout")), std::string(row.printed) +
                  "D LMXLG01E No listeners are registered with the logger lonely.\r\n");
  }
}

}  // namespace
