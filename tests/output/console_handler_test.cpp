// The console handler: header once, records, trailer at close, the enabled
// flag, passing events on, the console's code set, and records that reach
// standard output at once.
#include <fcntl.h>

#include "output_fixture.h"

namespace {

int processed = 0;  // events given to the counting handler class
void countProcess(Object *, Event *) { ++processed; }

class ConsoleHandlerTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    ASSERT_TRUE(openToolkit());
    test::addFramedFormatterClass();
    LmxAddHandlerClass("test_counting", nullptr, nullptr, nullptr, nullptr, countProcess, nullptr,
                       nullptr);
    ASSERT_NE(console_ = get("test.console", "lmx_consolehandler"), nullptr);
    ASSERT_NE(framed_ = get("test.framed", "test_framed"), nullptr);
    LmxSetObjProp(framed_, "dateTimeFormat", "T");
    LmxHandlerSetFormatter(console_, framed_);
    LmxAddListener(console_, get("test.counter", "test_counting"));
    event_ = test::newEvent(nullptr, "m", 0);
  }
  void TearDown() override {
    LmxFreeEvent(event_);
    OutputTest::TearDown();
  }
  // Runs the steps ("o" open, "c" close, "p" process) and returns what the
  // console printed.
  std::string run(const char *steps) {
    processed = 0;
    testing::internal::CaptureStdout();
    for (const char *step = steps; *step != '\0'; ++step) {
      switch (*step) {
        case 'o': LmxConsoleHandlerFOpen(console_); break;
        case 'c': LmxConsoleHandlerFClose(console_); break;
        case 'p': LmxConsoleHandlerFProcess(console_, event_); break;
      }
    }
    return testing::internal::GetCapturedStdout();
  }
  Object *console_ = nullptr;
  Object *framed_ = nullptr;
  Event *event_ = nullptr;
};

TEST_F(ConsoleHandlerTest, HeaderOnceBeforeRecordsTrailerOnceAtClose) {
  struct Row { bool enabled, formatter; const char *steps, *printed; int passedOn; } rows[] = {
      {true, true, "pp", "<head>\nT m\nT m\n", 2},
      {true, true, "oop", "<head>\nT m\n", 1},
      {true, true, "c", "", 0},
      {true, true, "pccp", "<head>\nT m\n<tail>\n<head>\nT m\n", 2},
      {false, true, "popcp", "<head>\n<tail>\n", 0},  // disabled: still framed
      {true, false, "opc", "", 1},  // no formatter: nothing printed, events go on
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.steps);
    LmxSetObjectEnabled(console_, 1);
    LmxHandlerSetFormatter(console_, framed_);
    run("c");  // back to the header not written
    LmxSetObjectEnabled(console_, row.enabled);
    if (!row.formatter) LmxHandlerSetFormatter(console_, nullptr);
    EXPECT_EQ(run(row.steps), row.printed);
    EXPECT_EQ(processed, row.passedOn);
  }
}

TEST_F(ConsoleHandlerTest, WithoutItsFlagByteTheConsoleDoesNothing) {
  // As after a failed allocation of the private variables.
  LmxConsoleHandlerFFreeVars(console_->vars);
  console_->vars = nullptr;
  EXPECT_EQ(run("opc"), "");
  EXPECT_EQ(processed, 0);
  LmxConsoleHandlerFFreeVars(nullptr);
  console_->vars = LmxConsoleHandlerFAllocVars();
  ASSERT_NE(console_->vars, nullptr);
  EXPECT_EQ(*static_cast<unsigned char *>(console_->vars), 0);
}

// A child with the locale variable logs a non-ASCII text to a console and
// ends at once (no exit handlers, no flush of the standard streams).
TEST_F(OutputTest, ConsoleRecordsReachStandardOutputAtOnceInTheLocalesCodeSet) {
  struct Row { const char *lcAll, *bytes; } rows[] = {
      {"de_DE.UTF-8", "T caf\xC3\xA9\n"},
      {"de_DE.ISO-8859-1", "T caf\xE9\n"},
      {"fr_FR.ISO-8859-15@euro", "T caf\xE9\n"},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.lcAll);
    int out = open(at("stdout").c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    ASSERT_GE(out, 0);
    pid_t pid = spawn([&] {
      dup2(out, STDOUT_FILENO);
      setenv("LC_ALL", row.lcAll, 1);
      if (!LmxOpenToolkit(nullptr)) return 3;
      Object *logger = LmxGetObject("child", "lmx_basiclogger");
      Object *formatter = LmxGetObject("child.fmt", "lmx_basicformatter");
      Object *console = LmxGetObject("child.console", "lmx_consolehandler");
      LmxSetObjProp(formatter, "dateTimeFormat", "T");
      LmxHandlerSetFormatter(console, formatter);
      LmxAddListener(logger, console);
      LmxLogText(logger, "caf\xC3\xA9", 0);
      return 0;
    });
    close(out);
    EXPECT_EQ(reap(pid), 0);
    EXPECT_EQ(readFile(at("stdout")), row.bytes);
  }
}

}  // namespace
