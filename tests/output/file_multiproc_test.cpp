// The multi-process file handler with real processes: whole records, none
// lost, each writer's order kept, through rollovers and writers killed
// while they hold the lock.
#include <sys/mman.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "file_fixture.h"
#include "output/mp_lock.h"

namespace {

class MultiProcTest : public FileTest {
 protected:
  void SetUp() override {
    FileTest::SetUp();
    test::gHeader.clear();
    test::gTrailer.clear();
    key_ = std::to_string(800000 + getpid() % 100000);
  }
  void TearDown() override {
    shm_unlink(("/LMX_SEM_KEY_" + key_).c_str());
    FileTest::TearDown();
  }
  // A handler on shared.log with this test's key.
  void configure(test::Handler &h, const char *maxBytes = "1000000000", const char *maxFiles = "3") {
    h.set("MPFileSemKey", key_.c_str());
    h.set("fileName", "shared.log");
    h.set("maxFileBytes", maxBytes);
    h.set("maxFiles", maxFiles);
  }
  // A writer process: `count` records "w<id> <n> ...padding\n".
  pid_t writer(int id, int count, const char *maxBytes = "1000000000") {
    return spawn([=] {
      test::Handler h(&cls_, &fmt_);
      configure(h, maxBytes);
      for (int n = 0; n < count; ++n) h.log(record(id, n).c_str());
      return 0;
    });
  }
  static std::string record(int id, int n) {
    std::string r = "w" + std::to_string(id) + " " + std::to_string(n) + " ";
    r.append(60 - r.size() % 60, static_cast<char>('a' + id));
    return r + "\n";
  }
  // Checks every line of text: whole, each writer's numbers rising by one
  // from its first line seen. Returns the numbers seen per writer.
  static std::map<int, std::vector<int>> parse(const std::string &text) {
    std::map<int, std::vector<int>> seen;
    for (const std::string &line : lines(text)) {
      int id = -1, n = -1;
      char sp[2];
      EXPECT_EQ(std::sscanf(line.c_str(), "w%d %d%1[ ]", &id, &n, sp), 3) << line;
      EXPECT_EQ(line + "\n", record(id, n));
      std::vector<int> &mine = seen[id];
      if (!mine.empty()) {
        EXPECT_EQ(n, mine.back() + 1) << "writer " << id;
      }
      mine.push_back(n);
    }
    return seen;
  }
  ObjClass cls_ = test::fileClass(true);
  ObjClass fmt_ = test::formatterClass();
  std::string key_;
};

TEST_F(MultiProcTest, FourWritersLoseNothingAndKeepTheirOrder) {
  constexpr int kRecords = 25000;
  std::vector<pid_t> pids;
  for (int id = 0; id < 4; ++id) pids.push_back(writer(id, kRecords));
  for (pid_t pid : pids) EXPECT_EQ(reap(pid), 0);
  auto seen = parse(readFile(at("shared.log")));
  ASSERT_EQ(seen.size(), 4u);
  for (auto &[id, numbers] : seen) {
    EXPECT_EQ(numbers.size(), static_cast<size_t>(kRecords)) << id;
    EXPECT_EQ(numbers.front(), 0);
  }
}

TEST_F(MultiProcTest, FourWritersThroughRolloversKeepWholeRecordsInOrder) {
  constexpr int kRecords = 25000;
  std::vector<pid_t> pids;
  for (int id = 0; id < 4; ++id) pids.push_back(writer(id, kRecords, "200000"));
  for (pid_t pid : pids) EXPECT_EQ(reap(pid), 0);
  // Oldest first: what is left of the history, in the order it was written.
  std::string all = readFile(at("shared2.log")) + readFile(at("shared1.log")) + readFile(at("shared.log"));
  EXPECT_FALSE(fs::exists(at("shared3.log")));
  // A backup is the active file as it was when it reached the limit.
  for (const char *backup : {"shared1.log", "shared2.log"}) {
    size_t size = readFile(at(backup)).size();
    EXPECT_GE(size, 200000u) << backup;
    EXPECT_LT(size, 200000u + 60u) << backup;
  }
  // What is left is the end of the history: a writer that appears at all
  // appears with all its records from its first one left up to its last.
  auto seen = parse(all);
  ASSERT_FALSE(seen.empty());
  for (auto &[id, numbers] : seen) EXPECT_EQ(numbers.back(), kRecords - 1) << id;
}

// Writers killed while they hold the lock, after a random number of
// records and a random while: the others take the lock over at once and
// lose nothing (a time-out would drop records).
TEST_F(MultiProcTest, KilledWriterNeverStopsTheOthers) {
  constexpr int kRecords = 4000;
  auto start = std::chrono::steady_clock::now();
  std::vector<pid_t> pids;
  for (int id = 0; id < 3; ++id) pids.push_back(writer(id, kRecords));
  std::mt19937 random(static_cast<unsigned>(getpid()));
  for (int victims = 0; victims < 8; ++victims) {
    int holding[2];
    ASSERT_EQ(pipe(holding), 0);
    const int records = 1 + static_cast<int>(random() % 40);
    pid_t victim = spawn([&] {
      test::Handler h(&cls_, &fmt_);
      configure(h);
      CxStatus s;
      lmx::MpLock *lock = lmx::MpLock::open(std::stoi(key_), &s);
      for (int n = 0; n < records; ++n) h.log(record(9, n).c_str());
      if (lock == nullptr) return 1;
      lmx::MpLockHold hold(lock, 10000);
      if (write(holding[1], "x", 1) != 1) return 2;
      pause();
      return 0;
    });
    char c;
    EXPECT_EQ(read(holding[0], &c, 1), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % 10));
    kill(victim, SIGKILL);
    EXPECT_EQ(reap(victim), -SIGKILL);
    close(holding[0]);
    close(holding[1]);
  }
  for (pid_t pid : pids) EXPECT_EQ(reap(pid), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  std::string text = readFile(at("shared.log"));
  // Each victim numbers its records from 0: only the survivors' are parsed.
  std::string survivors;
  for (const std::string &line : lines(text)) {
    if (line.rfind("w9 ", 0) != 0) survivors += line + "\n";
  }
  auto seen = parse(survivors);
  for (int id = 0; id < 3; ++id) EXPECT_EQ(seen[id].size(), static_cast<size_t>(kRecords)) << id;
}

TEST_F(MultiProcTest, RolloverCopiesIntoTheFirstBackupAndEmptiesTheActiveFile) {
  struct Row {
    const char *maxFiles;
    std::vector<std::pair<std::string, std::string>> after;
  } rows[] = {
      {"2", {{"shared.log", "new\n"}, {"shared1.log", "0123456789"}}},
      {"3", {{"shared.log", "new\n"}, {"shared1.log", "0123456789"}, {"shared2.log", "B1"}}},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.maxFiles);
    writeFile(at("shared.log"), "0123456789");
    writeFile(at("shared1.log"), "B1");
    writeFile(at("shared2.log"), "B2");
    test::Handler h(&cls_, &fmt_);
    configure(h, "10", r.maxFiles);
    h.log("new\n");
    for (const auto &[file, text] : r.after) EXPECT_EQ(readFile(at(file)), text) << file;
    h.close();
    for (const auto &e : fs::directory_iterator(root)) fs::remove(e.path());
  }
}

TEST_F(MultiProcTest, CopyIntoAnOlderLongerBackupLeavesNoTail) {
  writeFile(at("shared.log"), "0123456789");
  writeFile(at("shared1.log"), "an older backup, longer than the copy");
  test::Handler h(&cls_, &fmt_);
  configure(h);
  h.vars()->filePermission = 0600;
  lmxMultiProcFileHandlerRollActiveLog(h.vars());
  EXPECT_EQ(readFile(at("shared1.log")), "0123456789");
  EXPECT_EQ(readFile(at("shared.log")), "");
  EXPECT_EQ(fs::status(at("shared1.log")).permissions() & fs::perms::mask, fs::perms(0600));
}

TEST_F(MultiProcTest, NoHeaderNoTrailerAndTheFirstKeyStays) {
  test::gHeader = "H\n";
  test::gTrailer = "T\n";
  test::Handler h(&cls_, &fmt_);
  configure(h);
  h.log("a\n");
  lmx::MpLock *lock = h.vars()->lock;
  ASSERT_NE(lock, nullptr);
  h.close();
  h.set("MPFileSemKey", "4242");
  h.log("b\n");
  EXPECT_EQ(h.vars()->lock, lock);
  EXPECT_EQ(h.vars()->lockKey, 4242);
  h.close();
  EXPECT_EQ(readFile(at("shared.log")), "a\nb\n");
  EXPECT_NE(shm_unlink("/LMX_SEM_KEY_4242"), 0);  // never made
}

TEST_F(MultiProcTest, DeletedSharedFileIsOpenedAgain) {
  test::Handler h(&cls_, &fmt_);
  configure(h);
  h.log("a\n");
  fs::remove(at("shared.log"));
  h.log("b\n");
  EXPECT_EQ(readFile(at("shared.log")), "b\n");
}

}  // namespace
