#include <cerrno>
#include <thread>

#include "temp_dir.h"

TEST(Mutex, RecursiveTakeNeedsAsManyReleasesAndOnlyTheOwnerReleases) {
  CxMutexHandle m = nullptr;
  ASSERT_EQ(st(CxMutexCreate(&m)), "-0");
  std::string other;
  Steps freed;
  EXPECT_EQ((Steps{st(CxMutexLock(m)), st(CxMutexLock(m)), st(CxMutexUnlock(m))}),
            (Steps{"-0", "-0", "-0"}));
  std::thread([&] { other = st(CxMutexUnlock(m)); }).join();
  EXPECT_EQ(other, "w" + std::to_string(EPERM));
  ASSERT_EQ(st(CxMutexUnlock(m)), "-0");
  std::thread([&] { freed = {st(CxMutexLock(m)), st(CxMutexUnlock(m))}; }).join();
  EXPECT_EQ(freed, (Steps{"-0", "-0"}));  // now another thread takes and releases it
  ASSERT_EQ(st(CxMutexDestroy(&m)), "-0");
  EXPECT_EQ(m, nullptr);
  for (CxStatus s : {CxMutexDestroy(&m), CxMutexCreate(nullptr), CxMutexLock(nullptr),
                     CxMutexUnlock(nullptr), CxMutexDestroy(nullptr)})
    EXPECT_EQ(st(s), "p22");
}
