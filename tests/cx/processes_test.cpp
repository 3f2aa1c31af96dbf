#include <signal.h>
#include <unistd.h>

#include "temp_dir.h"

// Writes its words to OUT one per line, notes whether descriptor 37 reached
// it, kills itself with SIGTERM when asked, waits for GATE, exits with CODE.
static const char *const kChild =
    "out=$1; gate=$2; code=$3; shift 3\n"
    "for w in \"$@\"; do echo \"$w\"; done > \"$out\"\n"
    "if [ -e /proc/$$/fd/37 ]; then echo inherited >> \"$out\"; fi\n"
    "if [ \"$code\" = term ]; then kill -TERM $$; fi\n"
    "while [ ! -e \"$gate\" ]; do sleep 0.01; done\n"
    "exit $code\n";

// "status exited/exitCode" of a wait; the reserved fields are always 0.
static std::string waited(CxProcessHandle h, unsigned char wait) {
  CxProcessResult r{9, 9, 9, 9};
  const std::string s = st(CxProcessWaitFor(h, &r, wait));
  EXPECT_EQ(r.reserved1 + r.reserved2, 0u);
  return s + " " + std::to_string(r.exited) + "/" + std::to_string(r.exitCode);
}

class Processes : public TempDir {
 protected:
  // Runs the child through `sh` found along PATH.
  CxProcessHandle start(const char *code, std::vector<const char *> words) {
    writeFile(at("child.sh"), kChild);
    std::string script = at("child.sh"), out = at("out"), gate = at("gate");
    std::vector<const char *> args{script.c_str(), out.c_str(), gate.c_str(), code};
    args.insert(args.end(), words.begin(), words.end());
    args.push_back(nullptr);
    CxProcessHandle h = nullptr;
    EXPECT_EQ(st(CxProcessCreate(&h, "sh", args.data())), "-0");
    return h;
  }
};

TEST_F(Processes, ArgumentsSplitAtBlanksAndExitCodeWithAndWithoutWaiting) {
  CxProcessHandle h = start("7", {"a", "b c", " d\te  "});
  ASSERT_NE(h, nullptr);
  const std::string running = waited(h, 0);  // still waiting for the gate
  writeFile(at("gate"), "");
  EXPECT_EQ((Steps{running, waited(h, 1), readFile(at("out")), waited(h, 0),  // asked again
                   st(CxProcessRelease(h))}),
            (Steps{"-0 0/0", "-0 1/7", "a\nb\nc\nd\ne\n", "-0 1/7", "-0"}));
}

TEST_F(Processes, ChildGetsOnlyStandardStreamsAndDefaultSignals) {
  // Descriptor 37 is inheritable and SIGTERM ignored and blocked here; the
  // child must see none of that, so its own SIGTERM ends it.
  writeFile(at("gate"), "");
  ASSERT_EQ(dup2(1, 37), 37);
  const sighandler_t old = signal(SIGTERM, SIG_IGN);
  sigset_t term, oldMask;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &term, &oldMask);
  CxProcessHandle h = start("term", {"x"});
  pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
  signal(SIGTERM, old);
  close(37);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(waited(h, 1), "-0 1/" + std::to_string(128 + SIGTERM));
  EXPECT_EQ(readFile(at("out")), "x\n");
  CxProcessRelease(h);
}

TEST(ProcessCreate, FailuresAndBadArguments) {
  CxProcessHandle h = reinterpret_cast<CxProcessHandle>(1);
  const char *args[] = {"a", nullptr};
  EXPECT_EQ(st(CxProcessCreate(&h, "lumex-no-such-program", args)), "w2");
  EXPECT_EQ(h, nullptr);
  CxProcessResult r;
  for (CxStatus s : {CxProcessCreate(&h, "", args), CxProcessCreate(&h, " \t ", nullptr),
                     CxProcessCreate(nullptr, "true", args), CxProcessWaitFor(nullptr, &r, 1),
                     CxProcessRelease(nullptr)})  // " \t ": no words at all
    EXPECT_EQ(st(s), "p22");
  ASSERT_EQ(st(CxProcessCreate(&h, "false", nullptr)), "-0");  // program alone
  EXPECT_EQ(st(CxProcessWaitFor(h, nullptr, 1)), "p22");
  EXPECT_EQ(waited(h, 1), "-0 1/1");
  CxProcessRelease(h);
}

TEST(ProcessInfo, IdentityEnvironmentAndDirectory) {
  EXPECT_EQ(CxProcessGetCurrentID(), static_cast<uint32_t>(getpid()));
  setenv("LUMEX_CX_TEST_VAR", "value 1", 1);
  EXPECT_STREQ(CxProcessGetEnv("LUMEX_CX_TEST_VAR"), "value 1");
  char tiny[2] = "z";  // too small for the directory: refused and emptied
  EXPECT_EQ(st(CxProcessGetCwd(tiny, sizeof tiny)), "w" + std::to_string(ERANGE));
  EXPECT_STREQ(tiny, "");
}
