#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "core/api_frame.h"
#include "core/toolkit_state.h"

TEST(ApiFrame, NoLoggerWhileClosed) { EXPECT_EQ(lmxToolkitLogger(), nullptr); }

TEST(ApiFrame, LockIsReentrantAndExcludesOtherThreads) {
  ASSERT_TRUE(lmxAPIMutexLock());
  ASSERT_TRUE(lmxAPIMutexLock());
  lmxAPIMutexUnlock();
  bool other = true;
  std::thread([&] {
    // The lock is still held once by the main thread: a recursive take from
    // another thread must block, so probe with the underlying mutex.
    CxStatus s = CxMutexUnlock(lmx::toolkitState().apiMutex);
    other = s.kind == CX_STATUS_OK;
  }).join();
  EXPECT_FALSE(other);
  lmxAPIMutexUnlock();
}

TEST(ApiFrame, LockedShellReturnsBodyResultAndReleases) {
  int calls = 0;
  int r = lmx::locked([&] { return ++calls * 7; });
  EXPECT_EQ(r, 7);
  lmx::locked([&] { ++calls; });
  EXPECT_EQ(calls, 2);
  // Released: another thread can take and release the lock.
  bool took = false;
  std::thread([&] {
    took = lmxAPIMutexLock();
    if (took) lmxAPIMutexUnlock();
  }).join();
  EXPECT_TRUE(took);
}

TEST(ApiFrame, EmptyResultWhenTheLockIsGone) {
  // After the lock is destroyed it is made again on the next call.
  lmx::destroyApiMutex();
  EXPECT_FALSE(lmx::toolkitState().mutexCreated);
  EXPECT_EQ(lmx::locked([] { return 5; }), 5);
  EXPECT_TRUE(lmx::toolkitState().mutexCreated);
}

TEST(PlatformReport, TextOfErrno) {
  char buf[512];
  ASSERT_TRUE(lmx::platformErrText(CxStatus{'p', ENOENT}, buf, sizeof buf));
  EXPECT_STREQ(buf, std::strerror(ENOENT));
  ASSERT_TRUE(lmx::platformErrText(CxStatus{'w', EACCES}, buf, sizeof buf));
  EXPECT_STREQ(buf, std::strerror(EACCES));
  EXPECT_FALSE(lmx::platformErrText(CxStatus{'-', 0}, buf, sizeof buf));
  EXPECT_STREQ(buf, "");
  EXPECT_FALSE(lmx::platformErrText(CxStatus{'x', 2}, buf, sizeof buf));
  // Truncated to the buffer, still terminated.
  char small[6];
  ASSERT_TRUE(lmx::platformErrText(CxStatus{'p', ENOENT}, small, sizeof small));
  EXPECT_EQ(std::strlen(small), 5u);
  EXPECT_EQ(std::strncmp(small, std::strerror(ENOENT), 5), 0);
  LmxReportPlatformErr(CxStatus{'p', ENOENT});  // closed toolkit: dropped
}

TEST(PlatformReport, CutTextEndsOnACharacterBoundary) {
  char buf[5];
  lmx::copyUtf8Bounded(buf, sizeof buf, "ab\xc3\xa9\xc3\xa9");  // "abéé"
  EXPECT_STREQ(buf, "ab\xc3\xa9");
  lmx::copyUtf8Bounded(buf, 4, "ab\xe2\x82\xac");  // "ab€": the euro does not fit
  EXPECT_STREQ(buf, "ab");
  lmx::copyUtf8Bounded(buf, sizeof buf, "abcd");
  EXPECT_STREQ(buf, "abcd");
}
