// Records of many threads through one logger: each written whole, none
// lost. The handler writes every record in two pieces, so records that
// were not serialized by the toolkit would interleave in the file.
#include <fcntl.h>

#include <thread>

#include "log_fixture.h"

namespace {

int gFd = -1;

void writeInPieces(Object *, Event *ev) {
  const std::string text = test::take(lmxIntlBindI18Msg(ev->message));
  if (::write(gFd, text.data(), text.size()) < 0 || ::write(gFd, "\n", 1) < 0) std::abort();
}

using Threads = test::Toolkit;

TEST_F(Threads, EveryRecordOfEveryThreadIsWrittenWhole) {
  constexpr int kThreads = 8, kRecords = 20000;
  const std::string file = at("lines");
  ASSERT_GE(gFd = ::open(file.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_APPEND, 0600), 0);
  LmxAddHandlerClass("t_lines", nullptr, nullptr, nullptr, nullptr, writeInPieces, nullptr,
                     nullptr);
  open("app.className=lmx_basiclogger\napp.listenerNames=out\nout.className=t_lines\n");
  Object *app = get("app");
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([app, t] {
      for (int i = 0; i < kRecords; ++i) {
        LmxLogInfo(app, nullptr, 0, 0, "thread %1$d record %2$d", LMX_PARM_INT, t, LMX_PARM_INT,
                   i, 0);
        LmxLogDebugMax(app, "t.c", "f", i, "dropped", 0);  // below the level, no lock
      }
    });
  }
  for (std::thread &th : threads) th.join();
  ::close(gFd);
  std::ifstream in(file);
  int next[kThreads] = {};
  size_t lines = 0;
  for (std::string line; std::getline(in, line); ++lines) {
    int t = -1, i = -1;
    char tail = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "thread %d record %d%c", &t, &i, &tail), 2) << line;
    ASSERT_TRUE(t >= 0 && t < kThreads) << line;
    ASSERT_EQ(i, next[t]++) << "thread " << t << " lost or reordered a record";
  }
  EXPECT_EQ(lines, size_t(kThreads) * kRecords);
}

}  // namespace
