#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "temp_dir.h"

TEST(Threads, RoutineRunsWithItsArgumentOnAnotherThread) {
  EXPECT_EQ(CxThreadGetCurrentID(), static_cast<uint32_t>(getpid()));  // main thread
  static std::atomic<uint32_t> tid{0};  // written through the argument; outlives the thread
  auto routine = [](void *arg) -> uint32_t {
    *static_cast<std::atomic<uint32_t> *>(arg) = CxThreadGetCurrentID();
    return 0;
  };
  CxThreadHandle h = 0;
  ASSERT_EQ(st(CxThreadCreate(&h, 1, routine, &tid)), "-0");  // tiny stack: rounded up
  for (int i = 0; i < 5000 && tid == 0; ++i) CxThreadSleep(1);
  EXPECT_NE(tid.load(), 0u);
  EXPECT_NE(tid.load(), CxThreadGetCurrentID());
  EXPECT_EQ(st(CxThreadCreate(&h, 0, nullptr, nullptr)), "p22");
}

TEST(System, SleepTimestampAndHostName) {
  auto nowMs = [] {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  };
  const int64_t before = nowMs();
  CxThreadSleep(30);
  const int64_t ts = CxSystemGetTimestamp();
  EXPECT_GE(ts, before + 30);
  EXPECT_LE(ts, nowMs());
  char shortName[256] = {}, buf[256], tiny[2] = "z";
  ASSERT_EQ(gethostname(shortName, sizeof shortName - 1), 0);
  const std::string s = st(CxSystemGetFQHostname(buf, sizeof buf));
  if (s == "-0")  // the short name, or a qualified one in its place
    EXPECT_TRUE(std::strcmp(buf, shortName) == 0 || std::strchr(buf, '.') != nullptr) << buf;
  else  // the look-up failed: the short name stays
    EXPECT_EQ(s + buf, std::string("p40") + shortName);
  EXPECT_EQ((Steps{st(CxSystemGetFQHostname(tiny, 1)), tiny,  // not even the short name fits
                   st(CxSystemGetFQHostname(nullptr, 10))}),
            (Steps{"p40", "", "p22"}));
}

TEST(Mutex, OnlyTheOwnerReleasesAndNullArgumentsAreRefused) {
  CxMutexHandle m = nullptr;
  ASSERT_EQ(st(CxMutexCreate(&m)), "-0");
  ASSERT_EQ(st(CxMutexLock(m)), "-0");
  std::string other;
  std::thread([&] { other = st(CxMutexUnlock(m)); }).join();
  EXPECT_EQ(other, "w" + std::to_string(EPERM));
  ASSERT_EQ(st(CxMutexUnlock(m)), "-0");
  ASSERT_EQ(st(CxMutexDestroy(&m)), "-0");
  EXPECT_EQ(m, nullptr);
  for (CxStatus s : {CxMutexDestroy(&m), CxMutexCreate(nullptr), CxMutexLock(nullptr),
                     CxMutexUnlock(nullptr), CxMutexDestroy(nullptr)})
    EXPECT_EQ(st(s), "p22");
}
