// The syslog handler end to end against a real rsyslogd: every field of
// what the collector wrote, through each transport, and a TCP collector
// that is killed and started again while records keep coming.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>

#include "lumex/lumex.h"
#include "rsyslogd.h"

namespace {

class CollectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::access(test::Rsyslogd::kBinary, X_OK), 0)
        << test::Rsyslogd::kBinary << " is missing: install the Debian package rsyslog (make deps)";
    ASSERT_TRUE(syslogd_.start()) << "rsyslogd did not start; see " << dir_;
  }
  void TearDown() override {
    LmxReleaseObject(app_);
    LmxCloseToolkit();
  }
  void open(const std::string &handlerKeys) {
    std::string path = dir_ + "/lumex.properties";
    std::ofstream(path) << "app.className=lmx_basiclogger\napp.listenerNames=sl\n"
                           "sl.className=lmx_sysloghandler\nsl.formatterName=plain\n"
                           "sl.appName=lmxtest\nsl.host=127.0.0.1\nsl.facility=local3\n"
                           "plain.className=lmx_basicformatter\nplain.separator=;\n"
                           "plain.dateTimeFormat=T\n"
                           "lumex.errorLogger.listenerNames=reports\n"
                           "reports.className=lmx_filehandler\n"
                           "reports.fileName=" + dir_ + "/reports.log\n"
                        << handlerKeys;
    ASSERT_TRUE(LmxOpenToolkit(path.c_str()));
    ASSERT_NE(app_ = LmxGetObject("app", nullptr), nullptr);
  }
  std::string dir_ = ::testing::TempDir() + "lmx-syslog-" + std::to_string(::getpid()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name();
  // Removed after the daemon below has stopped (members end in reverse order).
  std::unique_ptr<const std::string, void (*)(const std::string *)> removeDir_{
      &dir_, [](const std::string *d) { std::error_code e; std::filesystem::remove_all(*d, e); }};
  test::Rsyslogd syslogd_{dir_};
  Object *app_ = nullptr;
};

TEST_F(CollectorTest, EveryFieldArrivesThroughEachTransport) {
  struct Row { const char *transport; std::string keys; } rows[] = {
      {"unix", "sl.socketPath=" + syslogd_.socket()},
      {"udp", "sl.port=" + std::to_string(syslogd_.udpPort())},
      {"tcp", "sl.port=" + std::to_string(syslogd_.tcpPort())},
  };
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  const std::string head = "1 \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d " +
                           std::string(host) + " lmxtest " + std::to_string(::getpid()) + " ";
  size_t lines = 0;
  for (const Row &r : rows) {
    SCOPED_TRACE(r.transport);
    open(std::string("sl.transport=") + r.transport + "\n" + r.keys + "\n");
    constexpr int S = LMX_PARM_STRING, P = LMX_NAMED_PROP;
    LmxLogError(app_, "no_such_catalog", 1, 1, "LMXTS0001E Grüße, %1$s %2$s", S, "日本", S,
                r.transport, P, "quote", S, "a\"b", P, "slash", S, "c\\d", P, "bracket", S, "e]f", 0);
    LmxLogDebugMin(app_, r.transport, "run", 7, "x=%1$d", LMX_PARM_INT, 4, 0);
    LmxReleaseObject(app_);
    app_ = nullptr;
    LmxCloseToolkit();
    lines += 2;
    std::string out = syslogd_.waitLines(lines);
    std::smatch m;
    std::regex error("<155>" + head + "LMXTS0001E (\\[lumex@32473 [^\\n]*\\]) T;(LMXTS[^\\n]*" +
                     r.transport + ")\\n");
    ASSERT_TRUE(std::regex_search(out, m, error)) << out;
    EXPECT_EQ(m[1], "[lumex@32473 quote=\"a\\\"b\" slash=\"c\\\\d\" bracket=\"e\\]f\"]");
    EXPECT_EQ(m[2].str(), std::string("LMXTS0001E Grüße, 日本 ") + r.transport);
    std::regex debug("<159>" + head + "- (\\[lumex@32473 [^\\n]*\\]) T;" + r.transport +
                     ";run;7;x=4\\n");
    ASSERT_TRUE(std::regex_search(out, m, debug)) << out;
    EXPECT_EQ(m[1], "[lumex@32473 lmx_prop_srcfile=\"" + std::string(r.transport) +
                        "\" lmx_prop_srcline=\"7\" lmx_prop_srcfunction=\"run\"]");
  }
}

TEST_F(CollectorTest, TcpQueuesWhileTheCollectorIsAwayAndReportsDrops) {
  open("sl.transport=tcp\nsl.port=" + std::to_string(syslogd_.tcpPort()) +
       "\nsl.queueLimit=5\nsl.sendTimeoutMillis=100\n");
  auto timedLog = [this](int n) {
    auto start = std::chrono::steady_clock::now();
    LmxLogText(app_, "record %1$d", LMX_PARM_INT, n, 0);
    return std::chrono::steady_clock::now() - start;
  };
  const auto bound = std::chrono::milliseconds(100 + 200);
  EXPECT_LT(timedLog(1), bound);
  ASSERT_NE(syslogd_.waitLines(1).find("record 1"), std::string::npos);
  syslogd_.kill(SIGKILL);
  for (int n = 2; n <= 9; ++n) EXPECT_LT(timedLog(n), bound) << n;  // 2..6 queued, 7..9 dropped
  ASSERT_TRUE(syslogd_.start());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // past the reconnect pause
  EXPECT_LT(timedLog(10), bound);
  std::string out = syslogd_.waitLines(7);
  std::string order;
  const std::regex record("record (\\d+)");
  for (std::sregex_iterator it(out.begin(), out.end(), record), end; it != end; ++it) {
    order += (*it)[1].str() + " ";
  }
  EXPECT_EQ(order, "1 2 3 4 5 6 10 ");
  std::stringstream reports;
  reports << std::ifstream(dir_ + "/reports.log").rdbuf();
  EXPECT_NE(reports.str().find("LMXSL0133W The syslog handler dropped 3 records"),
            std::string::npos)
      << reports.str();
}

}  // namespace
