// A console record reaches a redirected standard output at once: a process
// that dies right after logging (no exit handlers run) loses nothing.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "lumex/lumex.h"

TEST(ConsoleFlush, RecordSurvivesAnAbruptExit) {
  char path[] = "/tmp/lmxconsoleXXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(fd, STDOUT_FILENO);
    if (!LmxOpenToolkit(nullptr)) _exit(3);
    Object *logger = LmxGetObject("flush", "lmx_basiclogger");
    Object *console = LmxGetObject("lumex.defaultConsole", nullptr);
    LmxAddListener(logger, console);
    LmxLogText(logger, "written before the crash", 0);
    _exit(0);  // no flush of the standard streams
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  close(fd);
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::remove(path);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_NE(text.str().find(" written before the crash\n"), std::string::npos) << text.str();
}
