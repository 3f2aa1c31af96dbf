// lmxlog run as a program: records land in the configured log file with
// their level, properties and parameters; bad usage is explained and exits
// non-zero.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>

#include "../cx/temp_dir.h"
#include "lumex/lumex.h"

namespace {

class Lmxlog : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    props = at("log.properties");
    writeFile(props,
              "app.className=lmx_basiclogger\napp.level=INFO\napp.listenerNames=filter.warn\n"
              "filter.warn.className=lmx_levelfilter\nfilter.warn.level=WARN\n"
              "filter.warn.listenerNames=sink.file\n"
              "sink.file.className=lmx_multiproc_filehandler\n"
              "sink.file.fileName=" + at("app.log") + "\n"
              "sink.file.MPFileSemKey=" + std::to_string(20000 + getpid() % 10000) + "\n"
              "sink.file.maxFileBytes=100000000\n"
              "sink.console.className=lmx_consolehandler\n");
  }
  // Runs lmxlog with the arguments (shell words) and standard input.
  int run(const std::string &args, const std::string &input = "") {
    writeFile(at("in"), input);
    const std::string cmd = std::string(LMXLOG_PATH) + " " + args + " <" + at("in") + " >" +
                            at("out") + " 2>" + at("err");
    const int status = std::system(cmd.c_str());
    out = readFile(at("out"));
    err = readFile(at("err"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string log() const { return readFile(at("app.log")); }
  std::string props, out, err;
};

TEST_F(Lmxlog, RecordsLandWithLevelPropertiesAndParameters) {
  struct Row { std::string args, input, expect; } rows[] = {  // expect: the whole log
      {"-p WARN -P product=shell disk full", "", ".* shell disk full\n"},
      {"-p INFO dropped by the filter", "", ""},
      {"-p debug_min dropped by the logger", "", ""},
      {"-p ERROR -m nocat:1:7 'copied %1$s to %2$s' a.db b.db", "", ".* copied a.db to b.db\n"},
      {"-p FATAL", "one\r\ntwo\nthree", ".* one\n.* two\n.* three\n"},
      {"-p NONE passes every level", "", ".* passes every level\n"},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.args);
    std::remove(at("app.log").c_str());
    ASSERT_EQ(run("-c " + props + " -l app " + row.args, row.input), 0) << err;
    EXPECT_TRUE(std::regex_match(log(), std::regex(row.expect))) << log();
  }
}

TEST_F(Lmxlog, BadUsageIsExplainedWithStatus2) {
  struct Row { std::string args, message; } rows[] = {
      {"-c " + at("missing.properties") + " x", "cannot read the properties file"},
      {"-c " + props + " -l nobody x", "no logger 'nobody' is configured"},
      {"-c " + props + " -l sink.console x", "is not an enabled logger"},
      {"-c " + props + " -l app -p LOUD x", "bad level 'LOUD'"},
      {"-m nocolons x", "bad message"}, {"-P novalue x", "bad property"},
      {"-q x", "unknown option"},       {"-c", "missing value"},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.args);
    EXPECT_EQ(run(row.args), 2);
    EXPECT_NE(err.find(row.message), std::string::npos) << err;
  }
}

// Help, version, and records without a properties file, on standard output.
TEST_F(Lmxlog, HelpVersionAndTheConsoleWithoutProperties) {
  struct Row { const char *args, *out; } rows[] = {
      {"--help", "usage: lmxlog[\\s\\S]*"},
      {"--version", "lmxlog \\(Lumex\\) [\\s\\S]*"},
      {"hello console", ".* hello console\n"},
  };
  for (const Row &row : rows) {
    ASSERT_EQ(run(row.args), 0) << row.args << ": " << err;
    EXPECT_TRUE(std::regex_match(out, std::regex(row.out))) << out;
  }
}

}  // namespace
