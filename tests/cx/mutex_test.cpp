#include <cerrno>
#include <thread>

#include "temp_dir.h"

TEST(Mutex, RecursiveTakeNeedsAsManyReleases) {
  CxMutexHandle m = nullptr;
  ASSERT_EQ(st(CxMutexCreate(&m)), "-0");
  ASSERT_EQ(st(CxMutexLock(m)), "-0");
  ASSERT_EQ(st(CxMutexLock(m)), "-0");
  ASSERT_EQ(st(CxMutexUnlock(m)), "-0");
  std::string fromOther, freed;
  std::thread([&] { fromOther = st(CxMutexUnlock(m)); }).join();
  EXPECT_EQ(fromOther, "w" + std::to_string(EPERM));
  ASSERT_EQ(st(CxMutexUnlock(m)), "-0");
  std::thread([&] {
    freed = st(CxMutexLock(m));
    freed += st(CxMutexUnlock(m));
  }).join();
  EXPECT_EQ(freed, "-0-0");  // now another thread takes and releases it
  ASSERT_EQ(st(CxMutexDestroy(&m)), "-0");
  EXPECT_EQ(m, nullptr);
  EXPECT_EQ(st(CxMutexDestroy(&m)), "p22");
  for (CxStatus s : {CxMutexCreate(nullptr), CxMutexLock(nullptr), CxMutexUnlock(nullptr),
                     CxMutexDestroy(nullptr)})
    EXPECT_EQ(st(s), "p22");
}
