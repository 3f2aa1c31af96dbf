// The multi-process file handler and its named lock with real processes:
// whole records, none lost, each writer's order kept, through rollovers and
// writers killed while they hold the lock.
#include <chrono>
#include <random>
#include <sstream>
#include <thread>

#include "output_fixture.h"

namespace {

constexpr int kVictim = 9;  // the id of writers killed holding the lock

class MultiProcTest : public OutputTest {
 protected:
  // A writer process: `count` records "w<id> <n> ...padding\n".
  pid_t writer(int id, int count, const char *maxBytes = "1000000000") {
    return spawn([=] {
      test::Handler h(true);
      h.set("MPFileSemKey", key);
      h.set("maxFileBytes", maxBytes);
      for (int n = 0; n < count; ++n) h.log(record(id, n).c_str());
      return 0;
    });
  }
  static std::string record(int id, int n) {
    std::string r = "w" + std::to_string(id) + " " + std::to_string(n) + " ";
    r.append(60 - r.size() % 60, static_cast<char>('a' + id));
    return r + "\n";
  }
  // Checks every line of text: whole, and each writer's numbers (but the
  // victims', all numbered from 0) rising by one from its first line seen.
  // Returns the numbers seen per writer.
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
      if (!mine.empty()) {
        EXPECT_EQ(n, mine.back() + 1) << "writer " << id;
      }
      mine.push_back(n);
    }
    return seen;
  }
  lmx::MpLock *openLock() {
    CxStatus s;
    lmx::MpLock *lock = lmx::MpLock::open(key, &s);
    EXPECT_NE(lock, nullptr) << s.kind << s.code;
    return lock;
  }
};

TEST_F(MultiProcTest, FourWritersThroughRolloversKeepWholeRecordsInOrder) {
  constexpr int kRecords = 25000;
  std::vector<pid_t> pids;
  for (int id = 0; id < 4; ++id) pids.push_back(writer(id, kRecords, "200000"));
  for (pid_t pid : pids) EXPECT_EQ(reap(pid), 0);
  EXPECT_FALSE(fs::exists(at("default3.log")));
  // A backup is the active file as it was when it reached the limit.
  for (const char *backup : {"default1.log", "default2.log"}) {
    size_t size = readFile(at(backup)).size();
    EXPECT_GE(size, 200000u) << backup;
    EXPECT_LT(size, 200000u + 60u) << backup;
  }
  // Oldest first, what is left is the end of the history: a writer that
  // appears at all appears with all its records from its first one left.
  auto seen = parse(readFile(at("default2.log")) + readFile(at("default1.log")) +
                    readFile(at("default.log")));
  ASSERT_FALSE(seen.empty());
  for (auto &[id, numbers] : seen) EXPECT_EQ(numbers.back(), kRecords - 1) << id;
}

// Writers killed while they hold the lock, after a random number of
// records and a random while: the others take the lock over at once and
// lose nothing (a time-out would drop records).
TEST_F(MultiProcTest, KilledWriterNeverStopsTheOthers) {
  constexpr int kWritten = 4000;
  auto start = std::chrono::steady_clock::now();
  std::vector<pid_t> pids;
  for (int id = 0; id < 3; ++id) pids.push_back(writer(id, kWritten));
  std::mt19937 random(static_cast<unsigned>(getpid()));
  for (int victims = 0; victims < 8; ++victims) {
    Notice holding;
    const int records = 1 + static_cast<int>(random() % 40);
    pid_t victim = spawn([&] {
      test::Handler h(true);
      h.set("MPFileSemKey", key);
      lmx::MpLock *lock = openLock();
      for (int n = 0; n < records; ++n) h.log(record(kVictim, n).c_str());
      if (lock == nullptr) return 1;
      lmx::MpLockHold hold(lock, 10000);
      if (!holding.put()) return 2;
      pause();
      return 0;
    });
    EXPECT_TRUE(holding.get());
    std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % 10));
    kill(victim, SIGKILL);
    EXPECT_EQ(reap(victim), -SIGKILL);
  }
  for (pid_t pid : pids) EXPECT_EQ(reap(pid), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  auto seen = parse(readFile(at("default.log")));
  for (int id = 0; id < 3; ++id) EXPECT_EQ(seen[id].size(), static_cast<size_t>(kWritten)) << id;
}

TEST_F(MultiProcTest, CopyIntoAnOlderLongerBackupLeavesNoTail) {
  writeFile(at("default.log"), "0123456789");
  writeFile(at("default1.log"), "an older backup, longer than the copy");
  test::Handler h(true);
  h.vars()->filePermission = 0600;
  lmxMultiProcFileHandlerRollActiveLog(h.vars());
  EXPECT_EQ(files(), (Files{{"default.log", ""}, {"default1.log", "0123456789"}}));
  EXPECT_EQ(fs::status(at("default1.log")).permissions() & fs::perms::mask, fs::perms(0600));
}

TEST_F(MultiProcTest, TheFirstKeyStays) {
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
  char name[300] = "/";
  lmx::MpLock::name(key + 1, name + 1, 256);
  EXPECT_NE(shm_unlink(name), 0);  // never made
}

TEST_F(MultiProcTest, LockNameFollowsTheKey) {
  char name[256];
  lmx::MpLock::name(31821, name, sizeof name);
  EXPECT_STREQ(name, "LMX_SEM_KEY_31821");
  lmx::MpLock::name(-5, name, sizeof name);
  EXPECT_STREQ(name, "LMX_SEM_KEY_-5");
}

// Holds nest in one thread and end with their scope. The child holds the
// lock until told to let it go, and lets it go a while later: a wait ends
// only when the holder has released.
TEST_F(MultiProcTest, ProcessesOfOneKeyExcludeEachOther) {
  lmx::MpLock *lock = openLock();
  ASSERT_NE(lock, nullptr);
  {
    lmx::MpLockHold outer(lock, 1000);
    ASSERT_TRUE(outer.held());
    lmx::MpLockHold inner(lock, 1000);
    EXPECT_TRUE(inner.held());
  }
  Notice ready, go;
  pid_t child = spawn([&] {
    lmx::MpLockHold hold(openLock(), 1000);
    if (!hold.held() || hold.wait() != lmx::MpLock::Wait::Acquired) return 1;
    if (!ready.put() || !go.get()) return 2;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return 0;
  });
  ASSERT_TRUE(ready.get());
  CxStatus s;
  EXPECT_EQ(lock->acquire(50, &s), lmx::MpLock::Wait::TimedOut);
  EXPECT_EQ(s.code, static_cast<uint32_t>(ETIMEDOUT));
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(go.put());
  EXPECT_EQ(lock->acquire(5000, &s), lmx::MpLock::Wait::Acquired);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_EQ(lock->release().kind, CX_STATUS_OK);
  EXPECT_EQ(reap(child), 0);
  lmx::MpLock::close(lock);
}

}  // namespace
