// What the file handlers report, seen where the toolkit's own reports go:
// the toolkit is opened with its error logger writing into a log file.
#include <chrono>

#include "core/api_frame.h"
#include "lumex/config.h"
#include "output_fixture.h"

namespace {

class ReportTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    ASSERT_TRUE(openToolkit("lumex.errorLogger.listenerNames=test.reports\n"
                            "test.reports.className=lmx_filehandler\n"
                            "test.reports.fileName=" + at("reports.log") + "\n"));
  }
  std::string reports() { return readFile(at("reports.log")); }
  static size_t count(const std::string &text, const std::string &what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }
  // A child that takes the lock of the key and then waits (forever, or
  // until killed); returns once it holds the lock.
  pid_t holder() {
    Notice ready;
    pid_t pid = spawn([&] {
      CxStatus s;
      lmx::MpLock *lock = lmx::MpLock::open(key, &s);
      if (lock == nullptr || lock->acquire(1000, &s) != lmx::MpLock::Wait::Acquired) return 1;
      (void)ready.put();
      pause();
      return 0;
    });
    EXPECT_TRUE(ready.get());
    return pid;
  }
};

// Configuration problems are reported unless silenced, platform failures
// all the same.
TEST_F(ReportTest, ProblemsAreReportedOnceUnlessSilenced) {
  writeFile(at("plain"), "a file where a directory should be");
  fs::create_directory(at("dir.log"));
  const std::string tooLong = std::string(257, 'n') + ".log";
  struct Row { const char *key, *value, *expected; bool platform = false; } rows[] = {
      {"filePermission", "99", "LMXMP0074W The value 99 is not a valid file permission mask"},
      {"dirPermission", "x", "LMXMP0074W The value x"},
      {"fileName", "", "LMXBC0030E"},
      {"fileName", tooLong.c_str(), "LMXBC0031E Property 'fileName' must be 260 characters or less."},
      {"fileEncoding", "no-such-set", "LMXFH0036W Could not load codeset no-such-set."},
      {"fileName", "plain/sub/x.log", "LMXFH0032E"},  // reported when the record comes
      {"fileName", "dir.log", "Is a directory", true},
  };
  for (bool silenced : {false, true}) {
    for (const Row &r : rows) {
      SCOPED_TRACE(std::string(r.key) + "=" + r.value + (silenced ? " silenced" : ""));
      std::string before = reports();
      lmx::locked([&] {
        test::Handler h;
        if (silenced) h.set("logInternalErrs", "false");
        h.set(r.key, r.value);
        h.log("record\n");
      });
      std::string added = reports().substr(before.size());
      EXPECT_EQ(count(added, r.expected), silenced && !r.platform ? 0u : 1u) << added;
    }
  }
}

// A holder that dies holding the lock: the next record is written at once
// and the abandonment reported once. One that lives on: the record waits
// the full ten seconds, is dropped and the time-out reported. Either way
// the record after it lands.
TEST_F(ReportTest, AbandonedLockAndTimedOutWaitAreReportedOnce) {
  struct Row { int signal, leastMs, mostMs; const char *report, *file; } rows[] = {
      {SIGKILL, 0, 2000, "Owner died", "a\nb\nc\n"},
      {0, 9900, 12000, "Connection timed out", "a\nc\n"},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.report);
    fs::remove(at("default.log"));
    const size_t before = reports().size();
    lmx::locked([&] {
      test::Handler h(true);
      h.set("MPFileSemKey", key);
      h.log("a\n");
      pid_t pid = holder();
      auto stop = [&](int signal) {
        kill(pid, signal);
        reap(pid);
      };
      if (r.signal != 0) stop(r.signal);  // before the record
      auto start = std::chrono::steady_clock::now();
      h.log("b\n");
      auto waited = std::chrono::steady_clock::now() - start;
      EXPECT_GE(waited, std::chrono::milliseconds(r.leastMs));
      EXPECT_LT(waited, std::chrono::milliseconds(r.mostMs));
      EXPECT_EQ(count(reports().substr(before), r.report), 1u) << reports();
      if (r.signal == 0) stop(SIGTERM);
      h.log("c\n");
      EXPECT_EQ(readFile(at("default.log")), r.file);
    });
  }
}

}  // namespace
