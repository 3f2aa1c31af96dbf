// The console handler: header once, records, trailer at close, the enabled
// flag, passing events on, and the console's code set.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "core/object.h"
#include "handler_test_util.h"
#include "lumex/lumex.h"

namespace {

class ConsoleHandlerTest : public test::ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    test::addFramedFormatterClass();
    test::addCountingHandlerClass();
    console_ = LmxGetObject("test.console", "lmx_consolehandler");
    framed_ = LmxGetObject("test.framed", "test_framed");
    counter_ = LmxGetObject("test.counter", "test_counting");
    ASSERT_NE(console_, nullptr);
    ASSERT_NE(framed_, nullptr);
    ASSERT_NE(counter_, nullptr);
    LmxSetObjProp(framed_, "dateTimeFormat", "T");
    LmxHandlerSetFormatter(console_, framed_);
    LmxAddListener(console_, counter_);
    event_ = test::newEvent(nullptr, "m", 0);
  }
  void TearDown() override {
    LmxFreeEvent(event_);
    LmxReleaseObject(counter_);
    LmxReleaseObject(framed_);
    LmxReleaseObject(console_);
    ToolkitTest::TearDown();
  }
  // Runs the steps ("o" open, "c" close, "p" process) and returns what the
  // console printed.
  std::string run(const char *steps) {
    test::StdoutCapture capture;
    for (const char *step = steps; *step != '\0'; ++step) {
      switch (*step) {
        case 'o': LmxConsoleHandlerFOpen(console_); break;
        case 'c': LmxConsoleHandlerFClose(console_); break;
        case 'p': LmxConsoleHandlerFProcess(console_, event_); break;
      }
    }
    return capture.text();
  }
  Object *console_ = nullptr;
  Object *framed_ = nullptr;
  Object *counter_ = nullptr;
  Event *event_ = nullptr;
};

TEST_F(ConsoleHandlerTest, HeaderOnceBeforeRecordsTrailerOnceAtClose) {
  struct Row {
    const char *steps;
    const char *printed;
    int passedOn;
  } rows[] = {
      {"pp", "<head>\nT m\nT m\n", 2},
      {"oop", "<head>\nT m\n", 1},
      {"c", "", 0},
      {"pccp", "<head>\nT m\n<tail>\n<head>\nT m\n", 2},
      {"ococ", "<head>\n<tail>\n<head>\n<tail>\n", 0},
  };
  for (const Row &row : rows) {
    run("c");  // back to the header not written
    test::processedCount() = 0;
    EXPECT_EQ(run(row.steps), row.printed) << row.steps;
    EXPECT_EQ(test::processedCount(), row.passedOn) << row.steps;
  }
}

TEST_F(ConsoleHandlerTest, DisabledConsolePrintsNoRecordsButStillFramesItsOutput) {
  LmxSetObjectEnabled(console_, 0);
  EXPECT_EQ(run("pop"), "<head>\n");
  EXPECT_EQ(run("cp"), "<tail>\n");
  EXPECT_EQ(test::processedCount(), 0);
}

TEST_F(ConsoleHandlerTest, WithoutFormatterNothingIsPrintedButEventsGoOn) {
  LmxHandlerSetFormatter(console_, nullptr);
  EXPECT_EQ(run("opc"), "");
  EXPECT_EQ(test::processedCount(), 1);
}

TEST_F(ConsoleHandlerTest, WithoutItsFlagByteTheConsoleDoesNothing) {
  // As after a failed allocation of the private variables.
  LmxConsoleHandlerFFreeVars(console_->vars);
  console_->vars = nullptr;
  EXPECT_EQ(run("opc"), "");
  EXPECT_EQ(test::processedCount(), 0);
  LmxConsoleHandlerFFreeVars(nullptr);
  void *vars = LmxConsoleHandlerFAllocVars();
  ASSERT_NE(vars, nullptr);
  EXPECT_EQ(*static_cast<unsigned char *>(vars), 0);
  console_->vars = vars;
}

// A child process with the given locale variables opens the toolkit and
// logs one record with a non-ASCII text; returns the bytes it printed.
std::string childConsoleBytes(const char *lcAll) {
  int fds[2];
  if (pipe(fds) != 0) return "<pipe>";
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    setenv("LC_ALL", lcAll, 1);
    LmxOpenToolkit(nullptr);
    Object *console = LmxGetObject("child.console", "lmx_consolehandler");
    Object *formatter = LmxGetObject("child.fmt", "lmx_basicformatter");
    LmxHandlerSetFormatter(console, formatter);
    LmxSetObjProp(formatter, "dateTimeFormat", "T");
    Event *event = test::newEvent(nullptr, "caf\xC3\xA9", 0);
    LmxConsoleHandlerFProcess(console, event);
    LmxFreeEvent(event);
    LmxReleaseObject(formatter);
    LmxReleaseObject(console);
    LmxCloseToolkit();
    std::fflush(stdout);
    _exit(0);
  }
  close(fds[1]);
  std::string bytes;
  char chunk[256];
  ssize_t n;
  while ((n = read(fds[0], chunk, sizeof chunk)) > 0) bytes.append(chunk, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  return bytes;
}

TEST(ConsoleCodeSet, RecordsArePrintedInTheCodeSetOfTheUsersLocale) {
  struct Row {
    const char *lcAll;
    const char *bytes;
  } rows[] = {
      {"de_DE.UTF-8", "T caf\xC3\xA9\n"},
      {"de_DE.ISO-8859-1", "T caf\xE9\n"},
      {"fr_FR.ISO-8859-15@euro", "T caf\xE9\n"},
  };
  for (const Row &row : rows) {
    EXPECT_EQ(childConsoleBytes(row.lcAll), row.bytes) << row.lcAll;
  }
}

}  // namespace
