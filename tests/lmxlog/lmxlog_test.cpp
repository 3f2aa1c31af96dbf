// lmxlog run as a program: records land in the configured log file with
// their level, properties and parameters; bad usage is explained and exits
// non-zero; a script and a running application share one file whole.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>

#include "../cx/temp_dir.h"
#include "lumex/lumex.h"

namespace {

class Lmxlog : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    props = at("log.properties");
    writeFile(props,
              "app.className=lmx_basiclogger\n"
              "app.level=INFO\n"
              "app.listenerNames=filter.warn\n"
              "filter.warn.className=lmx_levelfilter\n"
              "filter.warn.level=WARN\n"
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
  struct Row {
    std::string args, input, expect;  // expect: a regular expression the whole log matches
  } rows[] = {
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
  struct Row {
    std::string args, message;
  } rows[] = {
      {"-c " + at("missing.properties") + " x", "cannot read the properties file"},
      {"-c " + props + " -l nobody x", "no logger 'nobody' is configured"},
      {"-c " + props + " -l sink.console x", "is not an enabled logger"},
      {"-c " + props + " -l app -p LOUD x", "bad level 'LOUD'"},
      {"-m nocolons x", "bad message"},
      {"-P novalue x", "bad property"},
      {"-q x", "unknown option"},
      {"-c", "missing value"},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.args);
    EXPECT_EQ(run(row.args), 2);
    EXPECT_NE(err.find(row.message), std::string::npos) << err;
  }
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(out.rfind("usage: lmxlog", 0), 0u);
  EXPECT_EQ(run("--version"), 0);
  EXPECT_EQ(out.rfind("lmxlog (Lumex) ", 0), 0u);
}

TEST_F(Lmxlog, WithoutPropertiesItWritesToTheConsole) {
  ASSERT_EQ(run("hello console"), 0) << err;
  EXPECT_TRUE(std::regex_match(out, std::regex(".* hello console\n"))) << out;
}

// A script (lmxlog reading lines) and an application process append to the
// same shared file at once: every record arrives whole, none lost.
TEST_F(Lmxlog, ScriptAndApplicationInterleaveWholeRecords) {
  constexpr int kEach = 1500;
  std::string lines;
  for (int i = 0; i < kEach; ++i) lines += "script record " + std::to_string(i) + "\n";
  const pid_t app = fork();
  ASSERT_GE(app, 0);
  if (app == 0) {
    if (!LmxOpenToolkit(props.c_str())) _exit(3);
    Object *logger = LmxGetObject("app", nullptr);
    for (int i = 0; i < kEach; ++i)
      LmxLogWarn(logger, nullptr, 0, 0, "application record %1$d", LMX_PARM_INT, i, 0);
    LmxReleaseObject(logger);
    LmxCloseToolkit();
    _exit(0);
  }
  EXPECT_EQ(run("-c " + props + " -l app -p WARN", lines), 0) << err;
  int status = 0;
  ASSERT_EQ(waitpid(app, &status, 0), app);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::istringstream in(log());
  const std::regex whole(".* (script|application) record ([0-9]+)");
  int script = 0, application = 0;
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, whole)) << "broken record: " << line;
    (m[1] == "script" ? script : application)++;
  }
  EXPECT_EQ(script, kEach);
  EXPECT_EQ(application, kEach);
}

}  // namespace
