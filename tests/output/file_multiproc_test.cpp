// The multi-process file handler and its named lock with real processes, and what the file
// handlers report where the toolkit's own reports go (an error logger writing into a file).
#include <fcntl.h>

#include <chrono>
#include <random>
#include <sstream>
#include <thread>

#include "core/api_frame.h"
#include "lumex/config.h"
#include "output_fixture.h"

namespace {

constexpr int kVictim = 9;  // the id of writers killed holding the lock
constexpr int kLimit = 200000, kFiles = 40;  // bytes per file, files kept

class MultiProcTest : public OutputTest {
 protected:
  // A handler of the test's key that keeps all its backups.
  void configure(test::Handler &h) {
    h.set("MPFileSemKey", key);
    h.set("maxFileBytes", kLimit);
    h.set("maxFiles", kFiles);
  }
  // A writer's record: "w<id> <n> ...padding\n".
  static std::string record(int id, int n) {
    std::string r = "w" + std::to_string(id) + " " + std::to_string(n) + " ";
    r.append(60 - r.size() % 60, static_cast<char>('a' + id));
    return r + "\n";
  }
  // Checks that every line is whole and each writer's numbers (not the victims')
  // rise by one; returns the numbers seen per writer.
  static std::map<int, std::vector<int>> parse(const std::string &text) {
    std::map<int, std::vector<int>> seen;
    EXPECT_TRUE(text.empty() || text.back() == '\n') << "torn last line";
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      int id = -1, n = -1;
      std::sscanf(line.c_str(), "w%d %d", &id, &n);
      EXPECT_EQ(line + "\n", record(id, n));
      if (id == kVictim) continue;
      std::vector<int> &mine = seen[id];
      EXPECT_TRUE(mine.empty() || n == mine.back() + 1) << "writer " << id << ": " << n;
      mine.push_back(n);
    }
    return seen;
  }
  // A child that logs `records` records as a victim, then takes the lock and
  // waits (forever, or until killed); returns once the child holds it.
  pid_t holder(int records = 0) {
    int fd[2];
    EXPECT_EQ(pipe(fd), 0);
    pid_t pid = spawn([&] {
      if (records > 0) {
        test::Handler h(true);
        configure(h);
        for (int n = 0; n < records; ++n) h.log(record(kVictim, n).c_str());
      }
      CxStatus s;
      lmx::MpLock *lock = lmx::MpLock::open(key, &s);
      auto wait = lock != nullptr ? lock->acquire(10000, &s) : lmx::MpLock::Wait::Failed;
      if (wait != lmx::MpLock::Wait::Acquired && wait != lmx::MpLock::Wait::TakenOver) return 1;
      if (write(fd[1], "x", 1) != 1) return 2;
      pause();
      return 0;
    });
    close(fd[1]);
    char c;
    EXPECT_EQ(read(fd[0], &c, 1), 1);  // the end of file when the child gave up
    close(fd[0]);
    return pid;
  }
};

// Four writers through rollovers and, while they write, writers killed holding the lock
// after a random number of records and a random while. Records stay whole and each writer's
// in order; the others take the lock over at once and lose nothing (a time-out would drop
// records); a backup is the active file as it was when it reached the limit.
TEST_F(MultiProcTest, WritersThroughRolloversAndKillsLoseNothing) {
  constexpr int kRecords = 12000;
  auto start = std::chrono::steady_clock::now();
  std::vector<pid_t> pids;
  for (int id = 0; id < 4; ++id) {
    pids.push_back(spawn([=] {
      test::Handler h(true);
      configure(h);
      for (int n = 0; n < kRecords; ++n) h.log(record(id, n).c_str());
      return 0;
    }));
  }
  std::mt19937 random(static_cast<unsigned>(getpid()));
  for (int victims = 0; victims < 8; ++victims) {
    pid_t victim = holder(1 + static_cast<int>(random() % 40));
    std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % 10));
    kill(victim, SIGKILL);
    EXPECT_EQ(reap(victim), -SIGKILL);
  }
  for (pid_t pid : pids) EXPECT_EQ(reap(pid), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  std::string history;  // oldest first
  for (int n = kFiles - 1; n >= 0; --n) {
    std::string text = readFile(at(n ? "default" + std::to_string(n) + ".log" : "default.log"));
    if (n > 0 && !text.empty()) {
      EXPECT_GE(text.size(), static_cast<size_t>(kLimit)) << n;
      EXPECT_LT(text.size(), static_cast<size_t>(kLimit) + 60u) << n;
    }
    history += text;
  }
  EXPECT_FALSE(readFile(at("default10.log")).empty()) << "too few rollovers";
  auto seen = parse(history);
  for (int id = 0; id < 4; ++id) EXPECT_EQ(seen[id].size(), static_cast<size_t>(kRecords)) << id;
}

TEST_F(MultiProcTest, TheFirstKeyStaysAndNamesTheLockWhoseHoldsNest) {
  test::Handler h(true);
  h.set("MPFileSemKey", key);
  h.log("a\n");
  lmx::MpLock *lock = h.vars()->lock;
  ASSERT_NE(lock, nullptr);
  h.close();
  h.set("MPFileSemKey", key + 1);
  h.log("b\n");
  EXPECT_EQ(h.vars()->lock, lock);
  EXPECT_EQ(h.vars()->lockKey, key + 1);
  EXPECT_EQ(readFile(at("default.log")), "a\nb\n");
  // Every process of a key finds the lock by the key's name.
  int shared = shm_open(("/LMX_SEM_KEY_" + std::to_string(key)).c_str(), O_RDONLY, 0);
  EXPECT_GE(shared, 0);
  close(shared);
  EXPECT_NE(shm_unlink(("/LMX_SEM_KEY_" + std::to_string(key + 1)).c_str()), 0);  // never made
  // Holds nest in one thread (that a hold ends is shown by the writers and report cases).
  lmx::MpLockHold outer(lock, 1000);
  ASSERT_TRUE(outer.held());
  lmx::MpLockHold inner(lock, 1000);
  EXPECT_TRUE(inner.held());
}

class ReportTest : public MultiProcTest {
 protected:
  void SetUp() override {
    MultiProcTest::SetUp();
    ASSERT_TRUE(openToolkit("lumex.errorLogger.listenerNames=test.reports\n"
                            "test.reports.className=lmx_filehandler\n"
                            "test.reports.fileName=" + at("reports.log") + "\n"));
  }
  std::string reports() { return readFile(at("reports.log")); }
  static size_t count(const std::string &text, const std::string &what) {
    size_t n = 0, at = 0;
    for (; (at = text.find(what, at)) != std::string::npos; ++at) ++n;
    return n;
  }
};

// Configuration problems are reported unless silenced, platform failures all the same.
TEST_F(ReportTest, ProblemsAreReportedOnceUnlessSilenced) {
  writeFile(at("plain"), "a file where a directory should be");
  fs::create_directory(at("dir.log"));
  const std::string tooLong = std::string(257, 'n') + ".log";
  struct Row { const char *key, *value, *expected; bool platform = false; } rows[] = {
      {"filePermission", "99", "LMXMP0074W The value 99 is not a valid file permission mask"},
      {"dirPermission", "x", "LMXMP0074W The value x"},
      {"fileName", "", "LMXBC0030E"},
      {"fileName", tooLong.c_str(),
       "LMXBC0031E Property 'fileName' must be 260 characters or less."},
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

// A holder that dies holding the lock: the next record is written at once and the abandonment
// reported once. One that lives on: the record waits the full ten seconds, is dropped and the
// time-out reported. Either way the record after it lands.
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
