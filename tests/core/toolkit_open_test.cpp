// The API lock, platform reports, and opening and closing the toolkit.
#include <cerrno>
#include <cstring>

#include <atomic>
#include <thread>

#include "core/api_frame.h"
#include "core/class_registry.h"
#include "toolkit_fixture.h"

namespace {

using Open = test::Toolkit;
using test::seen;
using Names = std::vector<std::string>;

TEST(ApiLock, RacingFirstCallsShareOneLock) {
  // Two locks made by a race would let two bodies overlap (and leak one).
  for (int round = 0; round < 50; ++round) {
    lmx::destroyApiMutex();
    std::atomic<int> ready{0};
    int inside = 0, overlaps = 0, calls = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
      threads.emplace_back([&] {
        for (++ready; ready.load() < 8;) {
        }
        lmx::locked([&] {
          overlaps += ++inside != 1;
          std::this_thread::yield();
          ++calls, --inside;
        });
      });
    }
    for (auto &t : threads) t.join();
    ASSERT_EQ(overlaps, 0) << "round " << round;
    ASSERT_EQ(calls, 8);
  }
}

TEST(PlatformReport, TextOfTheStatusCutToTheBuffer) {
  const struct {
    CxStatus status;
    size_t cap;
    bool ok;
    std::string text;
  } rows[] = {
      {{'w', EACCES}, 512, true, std::strerror(EACCES)},
      {{'p', ENOENT}, 6, true, std::string(std::strerror(ENOENT), 5)},  // still terminated
      {{'-', 0}, 512, false, ""},
      {{'x', 2}, 8, false, ""},
  };
  for (const auto &r : rows) {
    std::vector<char> buf(r.cap);  // exactly the given size: the sanitizer sees overruns
    EXPECT_EQ(lmx::platformErrText(r.status, buf.data(), r.cap), r.ok) << r.status.kind << r.cap;
    EXPECT_EQ(std::string(buf.data()), r.text) << r.status.kind << r.cap;
  }
  EXPECT_EQ(lmxToolkitLogger(), nullptr);
  LmxReportPlatformErr(CxStatus{'p', ENOENT});  // closed toolkit: dropped
}

TEST_F(Open, PlatformFailuresAreReportedAtWarn) {
  ASSERT_TRUE(open(""));
  LmxReportPlatformErr(CxStatus{CX_STATUS_OK, 0});
  EXPECT_TRUE(seen.events.empty());
  LmxReportPlatformErr(CxStatus{CX_STATUS_SYS, EACCES});
  EXPECT_EQ(seen.events, std::vector<int32_t>{0});
  EXPECT_EQ(seen.lastLevel, LMX_LEVEL_WARN);
}

TEST_F(Open, ErrorLoggerWithItsConsoleAndFormatter) {
  ASSERT_TRUE(LmxOpenToolkit(write("t.properties", "lumex.errorLogger.level=WARN\n").c_str()));
  Object *logger = lmxToolkitLogger();
  ASSERT_NE(logger, nullptr);
  EXPECT_STREQ(logger->name, "lumex.errorLogger");
  EXPECT_EQ(lmx::levelOf(logger), LMX_LEVEL_WARN);  // configured from the file
  EXPECT_EQ(logger->references, 2);                 // the map and the toolkit
  ASSERT_EQ(test::listenerNames(logger), Names{"lumex.defaultConsole"});
  auto *console = static_cast<Object *>(lmxIntlListenerGroupIterator(logger->b.listeners)->item);
  EXPECT_EQ(console->references, 2);  // the map and the logger
  EXPECT_STREQ(console->b.formatter->name, "lumex.defaultFormatter");
  EXPECT_EQ(console->b.formatter->references, 2);  // the map and the console
  EXPECT_TRUE(LmxOpenToolkit("/no/such/file"));    // open already: nothing changes
  EXPECT_EQ(lmxToolkitLogger(), logger);
  EXPECT_EQ(logger->references, 2);
}

TEST_F(Open, AnExistingErrorLoggerIsKeptAsItIs) {
  test::addTestClasses();
  Object *mine = LmxGetObject("lumex.errorLogger", "t_logger");
  ASSERT_TRUE(LmxOpenToolkit(nullptr));
  EXPECT_EQ(lmxToolkitLogger(), mine);
  EXPECT_EQ(mine->b.listeners, nullptr);
  LmxReleaseObject(mine);
}

TEST_F(Open, UnreadableFilePrintsMessage51AndLeavesTheToolkitClosed) {
  for (const std::string &path :
       {at("missing"), root, write("nodot.properties", "nodot=1\n")}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LmxOpenToolkit(path.c_str()));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("LMX0051E The log manager could not read the properties file " + path, 0),
              0u) << err;
    EXPECT_EQ(err.back(), '\n');
    EXPECT_EQ(lmxToolkitLogger(), nullptr);
    EXPECT_EQ(lmx::toolkitState().classes, nullptr);
  }
}

TEST_F(Open, CloseThenReopenMakesEverythingAnew) {
  LmxCloseToolkit();  // closing a closed toolkit completes
  ASSERT_TRUE(open("app.className=t_logger\n"));
  LmxReleaseObject(LmxGetObject("app", nullptr));
  LmxCloseToolkit();
  EXPECT_FALSE(lmx::toolkitState().mutexCreated);
  ASSERT_TRUE(LmxOpenToolkit(nullptr));  // no file, no test classes this time
  EXPECT_EQ(LmxGetObject("app", "t_logger"), nullptr);
  EXPECT_NE(lmxToolkitGetClassDef("lmx_xmlformatter"), nullptr);
  EXPECT_EQ(test::listenerNames(lmxToolkitLogger()), Names{"lumex.defaultConsole"});
}

// A handler whose private variables hold the logger "kept", and whose Close
// notes whether they are still there.
std::vector<std::string> closes;
void *holderAlloc() {
  auto **vars = static_cast<Object **>(BasMemoryCalloc(1, sizeof(Object *)));
  *vars = lmxIntlGetObject("kept", nullptr);
  return ++seen.made, vars;
}
void holderFree(void *vars) {
  ++seen.freed;
  lmxIntlReleaseObject(*static_cast<Object **>(vars));
  BasMemoryFree(vars);
}
void holderClose(Object *o) { closes.push_back(std::string(o->name) + (o->vars ? " +" : " -")); }

TEST_F(Open, CloseFreesPrivateVariablesFirstThenTheObjects) {
  closes.clear();
  ASSERT_TRUE(open("kept.className=t_logger\nkeeper.className=t_holder\n"
                   "keeper.listenerNames=out\nout.className=t_handler\n"));
  LmxAddHandlerClass("t_holder", nullptr, holderAlloc, holderFree, LmxBasicObjectFCfgChange,
                     nullptr, nullptr, holderClose);
  // Still held at close: freeing its variables gives back the kept logger
  // while the map is walked.
  ASSERT_NE(LmxGetObject("keeper", nullptr), nullptr);
  LmxCloseToolkit();
  EXPECT_EQ(closes, Names{"keeper -"});
}

}  // namespace
