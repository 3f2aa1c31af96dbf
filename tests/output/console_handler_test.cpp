// The console handler: header once, records, trailer at close, the enabled
// flag, passing events on, the console's code set, and records that reach
// standard output at once.
#include <fcntl.h>

#include "output_fixture.h"

namespace {

// A handler class that counts the events it is given.
int processed = 0;
void countProcess(Object *, Event *) { ++processed; }

class ConsoleHandlerTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    ASSERT_TRUE(openToolkit());
    test::addFramedFormatterClass();
    LmxAddHandlerClass("test_counting", nullptr, nullptr, nullptr, nullptr, countProcess, nullptr,
                       nullptr);
    console_ = LmxGetObject("test.console", "lmx_consolehandler");
    framed_ = LmxGetObject("test.framed", "test_framed");
    counter_ = LmxGetObject("test.counter", "test_counting");
    ASSERT_NE(console_, nullptr);
    ASSERT_NE(framed_, nullptr);
    ASSERT_NE(counter_, nullptr);
    LmxSetObjProp(framed_, "dateTimeFormat", "T");
    LmxAddListener(console_, counter_);
    event_ = test::newEvent(nullptr, "m", 0);
  }
  void TearDown() override {
    LmxFreeEvent(event_);
    LmxReleaseObject(counter_);
    LmxReleaseObject(framed_);
    LmxReleaseObject(console_);
    OutputTest::TearDown();
  }
  // Runs the steps ("o" open, "c" close, "p" process) and returns what the
  // console printed.
  std::string run(const char *steps) {
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
  Object *counter_ = nullptr;
  Event *event_ = nullptr;
};

TEST_F(ConsoleHandlerTest, HeaderOnceBeforeRecordsTrailerOnceAtClose) {
  struct Row {
    bool enabled, formatter;
    const char *steps;
    const char *printed;
    int passedOn;
  } rows[] = {
      {true, true, "pp", "<head>\nT m\nT m\n", 2},
      {true, true, "oop", "<head>\nT m\n", 1},
      {true, true, "c", "", 0},
      {true, true, "pccp", "<head>\nT m\n<tail>\n<head>\nT m\n", 2},
      {true, true, "ococ", "<head>\n<tail>\n<head>\n<tail>\n", 0},
      // Disabled: no records, but the output is still framed.
      {false, true, "popcp", "<head>\n<tail>\n", 0},
      // Without a formatter nothing is printed but events go on.
      {true, false, "opc", "", 1},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.steps);
    LmxSetObjectEnabled(console_, 1);
    LmxHandlerSetFormatter(console_, framed_);
    run("c");  // back to the header not written
    processed = 0;
    LmxSetObjectEnabled(console_, row.enabled);
    if (!row.formatter) LmxHandlerSetFormatter(console_, nullptr);
    EXPECT_EQ(run(row.steps), row.printed);
    EXPECT_EQ(processed, row.passedOn);
  }
}

TEST_F(ConsoleHandlerTest, WithoutItsFlagByteTheConsoleDoesNothing) {
  // As after a failed allocation of the private variables.
  LmxHandlerSetFormatter(console_, framed_);
  LmxConsoleHandlerFFreeVars(console_->vars);
  console_->vars = nullptr;
  processed = 0;
  EXPECT_EQ(run("opc"), "");
  EXPECT_EQ(processed, 0);
  LmxConsoleHandlerFFreeVars(nullptr);
  void *vars = LmxConsoleHandlerFAllocVars();
  ASSERT_NE(vars, nullptr);
  EXPECT_EQ(*static_cast<unsigned char *>(vars), 0);
  console_->vars = vars;
}

using ConsoleChildTest = OutputTest;

// In a child with the locale variables, a console record of a non-ASCII
// text; the child ends at once (no exit handlers, no flush of the standard
// streams). Returns what reached standard output.
TEST_F(ConsoleChildTest, RecordsArePrintedAtOnceInTheCodeSetOfTheUsersLocale) {
  struct Row {
    const char *lcAll;
    const char *bytes;
  } rows[] = {
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
