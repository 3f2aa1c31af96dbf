// Handlers and formatters configured by a properties file, end to end from
// the log calls to the console.
#include "output_fixture.h"

namespace {

constexpr int32_t kProperty = 201;  // a named event property in a parameter list

const char kProps[] =
    "app.className=lmx_basiclogger\n"
    "app.listenerNames=out\n"
    "out.className=lmx_consolehandler\n"
    "semi.className=lmx_basicformatter\n"
    "semi.separator=;\n"
    "semi.dateTimeFormat=T\n"
    "bar.className=lmx_basicformatter\n"
    "bar.separator=|\n"
    "bar.dateTimeFormat=%%\n"
    "lumex.defaultFormatter.dateTimeFormat=D\n"
    "lonely.className=lmx_basiclogger\n";

using HandlerConfigTest = OutputTest;

// The toolkit's own report (of a logger without listeners) goes to the
// default console, formatted by the default formatter.
TEST_F(HandlerConfigTest, LogCallsReachTheConsoleThroughTheNamedFormatter) {
  struct Row {
    const char *props;
    const char *printed;
  } rows[] = {
      {"out.formatterName=semi\n", "T;Lumex;started\nT;main.c;run;-1;x=4\nT;a and b\n"},
      {"out.formatterName=bar\n", "%|Lumex|started\n%|main.c|run|-1|x=4\n%|a and b\n"},
      {"", "D Lumex started\nD main.c run -1 x=4\nD a and b\n"},  // the default formatter
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.props);
    ASSERT_TRUE(openToolkit(std::string(kProps) + row.props));
    Object *app = LmxGetObject("app", nullptr);
    Object *lonely = LmxGetObject("lonely", nullptr);
    ASSERT_NE(app, nullptr);
    testing::internal::CaptureStdout();
    LmxLogInfo(app, nullptr, 0, 0, "started", kProperty, "product", LMX_PARM_STRING, "Lumex", 0);
    LmxLogDebugMin(app, "main.c", "run", -1, "x=%1$d", LMX_PARM_INT, 4, 0);
    LmxLogDebugMid(app, "main.c", "run", 2, "below the level", 0);
    LmxLogWarn(app, "no_such_catalog", 1, 2, "%1$s and %2$s", LMX_PARM_STRING, "a",
               LMX_PARM_STRING, "b", 0);
    LmxLogInfo(lonely, nullptr, 0, 0, "m", 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              row.printed + std::string("D LMXLG01E No listeners are registered with the logger "
                                        "lonely.\r\n"));
    LmxReleaseObject(lonely);
    LmxReleaseObject(app);
  }
}

}  // namespace
