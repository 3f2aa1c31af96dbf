#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lumex/cx.h"
#include "temp_dir.h"

namespace {

// A child that writes each of its words to OUT on a line of its own, notes
// whether descriptor FD reached it, waits for GATE to exist, and exits with
// CODE.
const char *kChild =
    "out=$1; gate=$2; code=$3; fd=$4; shift 4\n"
    "for w in \"$@\"; do echo \"$w\"; done > \"$out\"\n"
    "if [ -e /proc/$$/fd/$fd ]; then echo inherited >> \"$out\"; fi\n"
    "while [ ! -e \"$gate\" ]; do sleep 0.01; done\n"
    "exit $code\n";

class Processes : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    script = at("child.sh");
    writeFile(script, kChild);
    out = at("out.txt");
    gate = at("gate");
  }
  // Starts the child through `sh` found along PATH.
  CxStatus start(CxProcessHandle *h, const char *code, std::vector<const char *> words) {
    std::vector<const char *> args{script.c_str(), out.c_str(), gate.c_str(), code, "37"};
    args.insert(args.end(), words.begin(), words.end());
    args.push_back(nullptr);
    return CxProcessCreate(h, "sh", args.data());
  }
  // Polls without waiting until the child has ended (at most 10 s).
  CxProcessResult pollUntilEnded(CxProcessHandle h) {
    CxProcessResult r{};
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
      EXPECT_EQ(CxProcessWaitFor(h, &r, 0).kind, '-');
      if (r.exited) break;
      CxThreadSleep(5);
    }
    return r;
  }
  std::string script, out, gate;
};

}  // namespace

TEST_F(Processes, ArgumentsAreSplitAtBlanksAndTheExitCodeIsRead) {
  writeFile(gate, "");
  CxProcessHandle h = nullptr;
  ASSERT_EQ(start(&h, "7", {"a", "b c", " d\te  "}).kind, '-');
  ASSERT_NE(h, nullptr);
  CxProcessResult r{9, 9, 9, 9};
  ASSERT_EQ(CxProcessWaitFor(h, &r, 1).kind, '-');
  EXPECT_EQ(r.exited, 1u);
  EXPECT_EQ(r.exitCode, 7u);
  EXPECT_EQ(r.reserved1, 0u);
  EXPECT_EQ(r.reserved2, 0u);
  EXPECT_EQ(readFile(out), "a\nb\nc\nd\ne\n");
  // Asking again after the end gives the same answer, waiting or not.
  CxProcessResult again{};
  ASSERT_EQ(CxProcessWaitFor(h, &again, 0).kind, '-');
  EXPECT_EQ(again.exited, 1u);
  EXPECT_EQ(again.exitCode, 7u);
  EXPECT_EQ(CxProcessRelease(h).kind, '-');
}

TEST_F(Processes, LookingWithoutWaitingSeesARunningChild) {
  CxProcessHandle h = nullptr;
  ASSERT_EQ(start(&h, "3", {}).kind, '-');
  CxProcessResult r{9, 9, 9, 9};
  ASSERT_EQ(CxProcessWaitFor(h, &r, 0).kind, '-');
  EXPECT_EQ(r.exited, 0u);
  EXPECT_EQ(r.exitCode, 0u);
  writeFile(gate, "");
  r = pollUntilEnded(h);
  EXPECT_EQ(r.exited, 1u);
  EXPECT_EQ(r.exitCode, 3u);
  EXPECT_EQ(CxProcessRelease(h).kind, '-');
}

TEST_F(Processes, OnlyTheStandardStreamsAreInherited) {
  writeFile(gate, "");
  int p[2];
  ASSERT_EQ(pipe(p), 0);  // no close-on-exec
  ASSERT_EQ(dup2(p[0], 37), 37);
  CxProcessHandle h = nullptr;
  CxStatus s = start(&h, "0", {"x"});
  close(37);
  close(p[0]);
  close(p[1]);
  ASSERT_EQ(s.kind, '-');
  CxProcessResult r{};
  ASSERT_EQ(CxProcessWaitFor(h, &r, 1).kind, '-');
  EXPECT_EQ(r.exitCode, 0u);
  EXPECT_EQ(readFile(out), "x\n");
  CxProcessRelease(h);
}

TEST(ProcessCreate, FailuresAndBadArguments) {
  CxProcessHandle h = reinterpret_cast<CxProcessHandle>(1);
  const char *args[] = {"a", nullptr};
  CxStatus s = CxProcessCreate(&h, "lumex-no-such-program-here", args);
  EXPECT_EQ(s.kind, 'w');
  EXPECT_EQ(s.code, static_cast<uint32_t>(ENOENT));
  EXPECT_EQ(h, nullptr);
  for (const char *program : {"", (const char *)nullptr}) {
    s = CxProcessCreate(&h, program, args);
    EXPECT_EQ(s.kind, 'p');
    EXPECT_EQ(s.code, 22u);
  }
  s = CxProcessCreate(&h, " \t ", nullptr);  // blanks only: no words at all
  EXPECT_EQ(s.code, 22u);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(CxProcessCreate(nullptr, "true", args).code, 22u);
  CxProcessResult r;
  EXPECT_EQ(CxProcessWaitFor(nullptr, &r, 1).code, 22u);
  EXPECT_EQ(CxProcessRelease(nullptr).code, 22u);

  // A null argument list runs the program alone.
  ASSERT_EQ(CxProcessCreate(&h, "false", nullptr).kind, '-');
  EXPECT_EQ(CxProcessWaitFor(h, nullptr, 1).code, 22u);
  ASSERT_EQ(CxProcessWaitFor(h, &r, 1).kind, '-');
  EXPECT_EQ(r.exited, 1u);
  EXPECT_EQ(r.exitCode, 1u);
  CxProcessRelease(h);
}

TEST_F(Processes, EndBySignalReadsAs128PlusTheSignal) {
  writeFile(at("kill.sh"), "kill -9 $$\n");
  std::string killer = at("kill.sh");
  const char *args[] = {killer.c_str(), nullptr};
  CxProcessHandle h = nullptr;
  ASSERT_EQ(CxProcessCreate(&h, "sh", args).kind, '-');
  CxProcessResult r{};
  ASSERT_EQ(CxProcessWaitFor(h, &r, 1).kind, '-');
  EXPECT_EQ(r.exited, 1u);
  EXPECT_EQ(r.exitCode, 128u + 9u);
  CxProcessRelease(h);
}

TEST(ProcessInfo, IdentityEnvironmentAndDirectory) {
  EXPECT_EQ(CxProcessGetCurrentID(), static_cast<uint32_t>(getpid()));
  setenv("LUMEX_CX_TEST_VAR", "value 1", 1);
  ASSERT_NE(CxProcessGetEnv("LUMEX_CX_TEST_VAR"), nullptr);
  EXPECT_STREQ(CxProcessGetEnv("LUMEX_CX_TEST_VAR"), "value 1");
  unsetenv("LUMEX_CX_TEST_VAR");
  EXPECT_EQ(CxProcessGetEnv("LUMEX_CX_TEST_VAR"), nullptr);
  EXPECT_EQ(CxProcessGetEnv(nullptr), nullptr);

  char cwd[4096], expect[4096];
  ASSERT_NE(getcwd(expect, sizeof expect), nullptr);
  ASSERT_EQ(CxProcessGetCwd(cwd, sizeof cwd).kind, '-');
  EXPECT_STREQ(cwd, expect);
  char tiny[2] = "z";
  CxStatus s = CxProcessGetCwd(tiny, sizeof tiny);
  EXPECT_EQ(s.kind, 'w');
  EXPECT_EQ(s.code, static_cast<uint32_t>(ERANGE));
  EXPECT_STREQ(tiny, "");
  EXPECT_EQ(CxProcessGetCwd(nullptr, 10).code, 22u);
  EXPECT_EQ(CxProcessGetCwd(cwd, 0).code, 22u);
}
