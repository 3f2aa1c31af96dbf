#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include "lumex/cx.h"

namespace {

struct Probe {
  std::atomic<int> done{0};
  std::atomic<uint32_t> tid{0};
  int payload = 0;
};

uint32_t probeRoutine(void *arg) {
  auto *p = static_cast<Probe *>(arg);
  p->payload = 42;
  p->tid = CxThreadGetCurrentID();
  p->done = 1;
  return 0;
}

bool waitDone(const Probe &p) {
  for (int i = 0; i < 5000 && !p.done; ++i) CxThreadSleep(1);
  return p.done != 0;
}

}  // namespace

TEST(Threads, RoutineRunsWithItsArgumentOnAnotherThread) {
  EXPECT_EQ(CxHasThreadSupport(), 1);
  EXPECT_EQ(CxThreadGetCurrentID(), static_cast<uint32_t>(getpid()));  // main thread
  for (uint32_t stack : {0u, 1u, 1u << 20}) {
    Probe p;
    CxThreadHandle h = 0;
    ASSERT_EQ(CxThreadCreate(&h, stack, probeRoutine, &p).kind, '-') << stack;
    EXPECT_NE(h, 0u);
    ASSERT_TRUE(waitDone(p));
    EXPECT_EQ(p.payload, 42);
    EXPECT_NE(p.tid.load(), CxThreadGetCurrentID());
    EXPECT_NE(p.tid.load(), 0u);
  }
  Probe p;
  EXPECT_EQ(CxThreadCreate(nullptr, 0, probeRoutine, &p).code, 22u);
  CxThreadHandle h;
  EXPECT_EQ(CxThreadCreate(&h, 0, nullptr, &p).code, 22u);
  // Let the last detached threads finish before the probes go away.
  CxThreadSleep(20);
}

TEST(Threads, SleepLastsAtLeastItsTime) {
  auto t0 = std::chrono::steady_clock::now();
  CxThreadSleep(30);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - t0)
                .count();
  EXPECT_GE(ms, 30);
  CxThreadYield();
}

TEST(System, TimestampIsMillisecondsSince1970) {
  int64_t before = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  int64_t ts = CxSystemGetTimestamp();
  int64_t after = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch())
                      .count();
  EXPECT_GE(ts, before);
  EXPECT_LE(ts, after);
}

TEST(System, HostNameIsTheShortOrTheQualifiedName) {
  char shortName[256] = {};
  ASSERT_EQ(gethostname(shortName, sizeof shortName - 1), 0);
  char buf[256];
  CxStatus s = CxSystemGetFQHostname(buf, sizeof buf);
  if (s.kind == '-') {
    // Either the short name stayed or a qualified one replaced it.
    EXPECT_TRUE(std::strcmp(buf, shortName) == 0 || std::strchr(buf, '.') != nullptr) << buf;
  } else {
    EXPECT_EQ(s.kind, 'p');  // the look-up failed: the short name stays
    EXPECT_EQ(s.code, 40u);
    EXPECT_STREQ(buf, shortName);
  }
  // Too small for even the short name: failure and an empty buffer.
  char tiny[2] = "z";
  s = CxSystemGetFQHostname(tiny, 1);
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(s.code, 40u);
  EXPECT_STREQ(tiny, "");
  EXPECT_EQ(CxSystemGetFQHostname(nullptr, 10).code, 22u);
  EXPECT_EQ(CxSystemGetFQHostname(buf, 0).code, 22u);
}
