#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "lumex/cx.h"

TEST(Mutex, RecursiveTakeNeedsAsManyReleases) {
  CxMutexHandle m = nullptr;
  ASSERT_EQ(CxMutexCreate(&m).kind, '-');
  ASSERT_EQ(CxMutexLock(m).kind, '-');
  ASSERT_EQ(CxMutexLock(m).kind, '-');
  ASSERT_EQ(CxMutexUnlock(m).kind, '-');
  CxStatus fromOther{'-', 0};
  std::thread([&] { fromOther = CxMutexUnlock(m); }).join();
  EXPECT_EQ(fromOther.kind, 'w');
  EXPECT_EQ(fromOther.code, static_cast<uint32_t>(EPERM));
  ASSERT_EQ(CxMutexUnlock(m).kind, '-');
  // Now free: another thread takes and releases it.
  CxStatus lk{'x', 0}, ul{'x', 0};
  std::thread([&] {
    lk = CxMutexLock(m);
    ul = CxMutexUnlock(m);
  }).join();
  EXPECT_EQ(lk.kind, '-');
  EXPECT_EQ(ul.kind, '-');
  ASSERT_EQ(CxMutexDestroy(&m).kind, '-');
  EXPECT_EQ(m, nullptr);
}

TEST(Mutex, NullArguments) {
  CxMutexHandle m = nullptr;
  CxStatus s = CxMutexDestroy(&m);
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(s.code, 22u);
  EXPECT_EQ(m, nullptr);
  EXPECT_EQ(CxMutexCreate(nullptr).code, 22u);
  EXPECT_EQ(CxMutexLock(nullptr).kind, 'p');
  EXPECT_EQ(CxMutexUnlock(nullptr).kind, 'p');
  EXPECT_EQ(CxMutexDestroy(nullptr).code, 22u);
}
