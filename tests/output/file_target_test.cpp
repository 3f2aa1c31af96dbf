// The log file target: the per-record check, writes, permissions, encoding;
// the named cross-process lock with real processes.
#include <fcntl.h>
#include <sys/mman.h>

#include <chrono>
#include <thread>

#include "file_fixture.h"
#include "output/log_file.h"
#include "output/mp_lock.h"

namespace {

using TargetTest = FileTest;
using lmx::LogFileCheck;

TEST_F(TargetTest, CheckNoticesFullDeletedAndReplacedFiles) {
  struct Row {
    const char *what;
    int32_t maxFiles;
    void (*act)(const std::string &active);
    LogFileCheck expected;
  } rows[] = {
      {"untouched", 3, [](const std::string &) {}, LogFileCheck::Current},
      {"grown by another writer", 3,
       [](const std::string &a) { std::ofstream(a, std::ios::app) << "0123456789"; },
       LogFileCheck::Full},
      {"full with one file", 1,
       [](const std::string &a) { std::ofstream(a, std::ios::app) << "0123456789"; },
       LogFileCheck::Current},
      {"deleted", 3, [](const std::string &a) { fs::remove(a); }, LogFileCheck::Gone},
      {"replaced by a file", 3,
       [](const std::string &a) {
         writeFile(a + ".new", "x");
         fs::rename(a + ".new", a);
       },
       LogFileCheck::Gone},
      {"replaced by a directory", 3,
       [](const std::string &a) {
         fs::remove(a);
         fs::create_directory(a);
       },
       LogFileCheck::Gone},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.what);
    Vars v;
    v.name("t.log");
    v->maxBytes = 10;
    v->maxFiles = r.maxFiles;
    ASSERT_TRUE(lmx::logFileOpen(v.v, O_CREAT | O_RDWR | O_APPEND));
    ASSERT_TRUE(lmx::logFileWrite(v.v, "12345", 5));
    EXPECT_EQ(v->size, 5u);
    r.act(at("t.log"));
    EXPECT_EQ(lmx::logFileCheck(v.v), r.expected);
    fs::remove_all(at("t.log"));
  }
}

TEST_F(TargetTest, LimitComparisonIsUnsignedWithTheLimitsSign) {
  EXPECT_TRUE(lmx::logIsFull(0, 0));
  EXPECT_FALSE(lmx::logIsFull(UINT64_C(1) << 40, -1));
  EXPECT_TRUE(lmx::logIsFull(1024, 1024));
  EXPECT_FALSE(lmx::logIsFull(1023, 1024));
}

TEST_F(TargetTest, FailedWriteIsReportedAndCountsOnlyWhatLanded) {
  Vars v;
  BasMemoryFree(v->fullName);
  v->fullName = BasStringDup("/dev/full");
  ASSERT_TRUE(lmx::logFileOpen(v.v, O_WRONLY | O_APPEND));
  v->size = 0;
  EXPECT_FALSE(lmx::logFileWrite(v.v, "abc\n", 4));
  EXPECT_EQ(v->size, 0u);
}

// A key of this test run, its shared object removed afterwards.
class LockTest : public FileTest {
 protected:
  void TearDown() override {
    char name[300] = "/";
    lmx::MpLock::name(key, name + 1, 256);
    shm_unlink(name);
    FileTest::TearDown();
  }
  lmx::MpLock *open() {
    CxStatus s;
    lmx::MpLock *lock = lmx::MpLock::open(key, &s);
    EXPECT_NE(lock, nullptr) << s.kind << s.code;
    return lock;
  }
  int32_t key = 700000 + static_cast<int32_t>(getpid() % 100000);
};

TEST_F(LockTest, NameFollowsTheKey) {
  char name[256];
  lmx::MpLock::name(31821, name, sizeof name);
  EXPECT_STREQ(name, "LMX_SEM_KEY_31821");
  lmx::MpLock::name(-5, name, sizeof name);
  EXPECT_STREQ(name, "LMX_SEM_KEY_-5");
}

// The child holds the lock until told to let it go, and lets it go a
// while later: a wait ends only when the holder has released.
TEST_F(LockTest, ProcessesOfOneKeyExcludeEachOther) {
  lmx::MpLock *lock = open();
  ASSERT_NE(lock, nullptr);
  int ready[2], go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  pid_t child = spawn([&] {
    lmx::MpLock *mine = open();
    CxStatus s;
    if (mine->acquire(1000, &s) != lmx::MpLock::Wait::Acquired) return 1;
    char c;
    if (write(ready[1], "x", 1) != 1 || read(go[0], &c, 1) != 1) return 2;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    mine->release();
    return 0;
  });
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  CxStatus s;
  EXPECT_EQ(lock->acquire(50, &s), lmx::MpLock::Wait::TimedOut);
  EXPECT_EQ(s.code, static_cast<uint32_t>(ETIMEDOUT));
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(write(go[1], "x", 1), 1);
  EXPECT_EQ(lock->acquire(5000, &s), lmx::MpLock::Wait::Acquired);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_EQ(lock->release().kind, CX_STATUS_OK);
  EXPECT_EQ(reap(child), 0);
  for (int fd : {ready[0], ready[1], go[0], go[1]}) close(fd);
  lmx::MpLock::close(lock);
}

TEST_F(LockTest, HoldReleasesAtTheEndOfItsScopeAndNests) {
  lmx::MpLock *lock = open();
  ASSERT_NE(lock, nullptr);
  {
    lmx::MpLockHold outer(lock, 1000);
    ASSERT_TRUE(outer.held());
    lmx::MpLockHold inner(lock, 1000);  // the same thread again
    EXPECT_TRUE(inner.held());
  }
  pid_t child = spawn([&] {
    lmx::MpLock *mine = open();
    lmx::MpLockHold hold(mine, 1000);
    return hold.held() && hold.wait() == lmx::MpLock::Wait::Acquired ? 0 : 1;
  });
  EXPECT_EQ(reap(child), 0);
  lmx::MpLock::close(lock);
}

}  // namespace
