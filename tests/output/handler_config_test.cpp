// Handlers and formatters configured by a properties file, end to end from
// the log calls to the console.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "handler_test_util.h"
#include "lumex/lumex.h"

namespace {

constexpr int32_t kProperty = 201;  // a named event property in a parameter list

const char kProps[] =
    "app.className=lmx_basiclogger\n"
    "app.listenerNames=out\n"
    "out.className=lmx_consolehandler\n"
    "out.formatterName=semi\n"
    "semi.className=lmx_basicformatter\n"
    "semi.separator=;\n"
    "semi.dateTimeFormat=T\n"
    "bar.className=lmx_basicformatter\n"
    "bar.separator=|\n"
    "bar.dateTimeFormat=%%\n"
    "lumex.defaultFormatter.dateTimeFormat=D\n"
    "lonely.className=lmx_basiclogger\n";

class HandlerConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LmxOpenToolkit(test::writeProps("handler_config.properties", kProps).c_str()));
    app_ = LmxGetObject("app", nullptr);
    out_ = LmxGetObject("out", nullptr);
    ASSERT_NE(app_, nullptr);
    ASSERT_NE(out_, nullptr);
  }
  void TearDown() override {
    LmxReleaseObject(out_);
    LmxReleaseObject(app_);
    LmxCloseToolkit();
  }
  Object *app_ = nullptr;
  Object *out_ = nullptr;
};

TEST_F(HandlerConfigTest, LogCallsReachTheConsoleThroughTheNamedFormatter) {
  test::StdoutCapture capture;
  LmxLogInfo(app_, nullptr, 0, 0, "started", kProperty, "product", LMX_PARM_STRING, "Lumex", 0);
  LmxLogDebugMin(app_, "main.c", "run", -1, "x=%1$d", LMX_PARM_INT, 4, 0);
  LmxLogDebugMid(app_, "main.c", "run", 2, "below the level", 0);
  LmxLogWarn(app_, "no_such_catalog", 1, 2, "%1$s and %2$s", LMX_PARM_STRING, "a",
             LMX_PARM_STRING, "b", 0);
  // Another formatter by name, at run time.
  LmxSetObjProp(out_, "formatterName", "bar");
  LmxLogText(app_, "plain", 0);
  EXPECT_EQ(capture.text(),
            "T;Lumex;started\n"
            "T;main.c;run;-1;x=4\n"
            "T;a and b\n"
            "%|plain\n");
}

TEST_F(HandlerConfigTest, UnconfiguredHandlerUsesTheDefaultFormatter) {
  Object *plain = LmxGetObject("plain", "lmx_consolehandler");
  LmxSetObjProp(app_, "listenerNames", "plain");
  test::StdoutCapture capture;
  LmxLogInfo(app_, nullptr, 0, 0, "m", 0);
  // The toolkit's own report goes to the default console, formatted alike.
  Object *lonely = LmxGetObject("lonely", nullptr);
  LmxLogInfo(lonely, nullptr, 0, 0, "m", 0);
  EXPECT_EQ(capture.text(),
            "D m\n"
            "D LMXLG01E No listeners are registered with the logger lonely.\r\n");
  LmxReleaseObject(lonely);
  LmxReleaseObject(plain);
}

TEST(HandlerDefaultStamp, DefaultFormatterWritesTheFullTimestamp) {
  ASSERT_TRUE(LmxOpenToolkit(nullptr));
  Object *logger = LmxGetObject("stamp.logger", "lmx_basiclogger");
  Object *console = LmxGetObject("stamp.console", "lmx_consolehandler");
  LmxAddListener(logger, console);
  test::StdoutCapture capture;
  LmxLogError(logger, nullptr, 0, 0, "m", 0);
  std::string printed = capture.text();
  EXPECT_TRUE(std::regex_match(
      printed, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d m\n)")))
      << printed;
  LmxReleaseObject(console);
  LmxReleaseObject(logger);
  LmxCloseToolkit();
}

}  // namespace
