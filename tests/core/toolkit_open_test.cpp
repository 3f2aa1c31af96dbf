// Opening and closing the toolkit: the error logger and its console, an
// unreadable properties file, reopening, the teardown of live objects and
// the API lock made by racing first calls.
#include <fcntl.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/api_frame.h"
#include "core/class_registry.h"
#include "toolkit_fixture.h"

// Until the logging path is linked in, listeners cannot be added.
extern "C" unsigned char lmxIntlAddListener(Object *object, Object *listener);
#pragma weak lmxIntlAddListener
#define NEEDS_LISTENERS() \
  if (&lmxIntlAddListener == nullptr) GTEST_SKIP() << "listener add not linked yet"

namespace {

using Open = test::Toolkit;
using test::seen;

// What the call wrote to the standard error stream.
template <typename F>
std::string stderrOf(F call, const std::string &file) {
  std::fflush(stderr);
  int saved = dup(2);
  int fd = ::open(file.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
  dup2(fd, 2);
  close(fd);
  call();
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(Open, ErrorLoggerWithItsConsoleAndFormatter) {
  NEEDS_LISTENERS();
  ASSERT_TRUE(LmxOpenToolkit(nullptr));
  Object *logger = lmxToolkitLogger();
  ASSERT_NE(logger, nullptr);
  EXPECT_STREQ(logger->name, "lumex.errorLogger");
  EXPECT_STREQ(logger->objClass->name, "lmx_basiclogger");
  EXPECT_EQ(logger->references, 2);  // the map and the toolkit
  EXPECT_EQ(test::listenerNames(logger), std::vector<std::string>{"lumex.defaultConsole"});
  Object *console = lmxToolkitGetObjInstance("lumex.defaultConsole");
  ASSERT_NE(console, nullptr);
  EXPECT_STREQ(console->objClass->name, "lmx_consolehandler");
  EXPECT_EQ(console->references, 3);  // the map, the logger and this lookup
  ASSERT_NE(console->b.formatter, nullptr);
  EXPECT_STREQ(console->b.formatter->name, "lumex.defaultFormatter");
  EXPECT_EQ(console->b.formatter->references, 2);  // the map and the console
  LmxReleaseObject(console);
  // Opening again changes nothing.
  EXPECT_TRUE(LmxOpenToolkit("/no/such/file"));
  EXPECT_EQ(lmxToolkitLogger(), logger);
  EXPECT_EQ(logger->references, 2);
}

TEST_F(Open, TheFileConfiguresTheBuiltInObjects) {
  NEEDS_LISTENERS();
  ASSERT_TRUE(open(
      "lumex.errorLogger.logging=off\n"
      "lumex.errorLogger.className=t_handler\n"  // the class stays the built-in one
      "lumex.defaultConsole.logging=false\n"));
  Object *logger = lmxToolkitLogger();
  ASSERT_NE(logger, nullptr);
  EXPECT_STREQ(logger->objClass->name, "lmx_basiclogger");
  EXPECT_FALSE(lmx::enabledOf(logger));
  Object *console = lmxToolkitGetObjInstance("lumex.defaultConsole");
  ASSERT_NE(console, nullptr);
  EXPECT_FALSE(lmx::enabledOf(console));
  LmxReleaseObject(console);
}

TEST_F(Open, AnExistingErrorLoggerIsKeptAsItIs) {
  test::addTestClasses();
  Object *mine = LmxGetObject("lumex.errorLogger", "t_logger");
  ASSERT_TRUE(LmxOpenToolkit(nullptr));
  EXPECT_EQ(lmxToolkitLogger(), mine);
  EXPECT_TRUE(test::listenerNames(mine).empty());
  EXPECT_EQ(lmxToolkitGetObjInstance("lumex.defaultConsole"), nullptr);
  LmxReleaseObject(mine);
}

TEST_F(Open, UnreadableFilePrintsMessage51AndLeavesTheToolkitClosed) {
  const std::string rows[] = {dir_ + "/missing.properties", dir_,
                              write("nodot.properties", "nodot=1\n")};
  for (const std::string &path : rows) {
    SCOPED_TRACE(path);
    unsigned char opened = 1;
    std::string err = stderrOf([&] { opened = LmxOpenToolkit(path.c_str()); }, dir_ + "/err");
    EXPECT_FALSE(opened);
    EXPECT_EQ(err.rfind("LMX0051E The log manager could not read the properties file " + path +
                            ".",
                        0),
              0u)
        << err;
    EXPECT_EQ(err.back(), '\n');
    EXPECT_EQ(lmxToolkitLogger(), nullptr);
    EXPECT_EQ(lmx::toolkitState().classes, nullptr);
    EXPECT_EQ(lmx::toolkitState().instances, nullptr);
  }
}

TEST_F(Open, CloseThenReopenMakesEverythingAnew) {
  NEEDS_LISTENERS();
  LmxCloseToolkit();  // closing a closed toolkit completes
  ASSERT_TRUE(open("app.className=t_logger\napp.note=1\n"));
  Object *app = LmxGetObject("app", nullptr);
  ASSERT_NE(app, nullptr);
  LmxReleaseObject(app);
  LmxCloseToolkit();
  EXPECT_EQ(lmxToolkitLogger(), nullptr);
  EXPECT_FALSE(lmx::toolkitState().mutexCreated);
  // Reopened without the file: the configuration and the test classes are
  // gone, the built-in classes and the error logger are back.
  ASSERT_TRUE(LmxOpenToolkit(nullptr));
  EXPECT_EQ(LmxGetObject("app", nullptr), nullptr);
  EXPECT_EQ(lmxToolkitGetClassDef("t_logger"), nullptr);
  EXPECT_NE(lmxToolkitGetClassDef("lmx_xmlformatter"), nullptr);
  ASSERT_NE(lmxToolkitLogger(), nullptr);
  EXPECT_EQ(test::listenerNames(lmxToolkitLogger()),
            std::vector<std::string>{"lumex.defaultConsole"});
}

// A handler whose private variables hold another object (named by its
// property `hold`), and whose Close notes whether they are still there.
struct Holder {
  Object *held;
};
std::vector<std::string> closes;
void *holderAlloc() {
  ++seen.made;
  return BasMemoryCalloc(1, sizeof(Holder));
}
void holderFree(void *vars) {
  ++seen.freed;
  lmxIntlReleaseObject(static_cast<Holder *>(vars)->held);
  BasMemoryFree(vars);
}
void holderCfg(Object *object, const char *key) {
  if (std::string(key) != "hold") return LmxBasicObjectFCfgChange(object, key);
  char *name = lmxIntlGetObjProp(object, key, nullptr);
  static_cast<Holder *>(object->vars)->held = lmxIntlGetObject(name, nullptr);
  BasMemoryFree(name);
}
void holderClose(Object *object) {
  closes.push_back(std::string(object->name) + (object->vars ? " with vars" : " without vars"));
}

TEST_F(Open, CloseFreesPrivateVariablesFirstThenTheObjects) {
  closes.clear();
  ASSERT_TRUE(open(
      "kept.className=t_logger\n"
      "keeper.className=t_holder\n"
      "keeper.hold=kept\n"
      "keeper.listenerNames=out\n"
      "out.className=t_handler\n"));
  LmxAddHandlerClass("t_holder", nullptr, holderAlloc, holderFree, holderCfg, nullptr, nullptr,
                     holderClose);
  Object *keeper = LmxGetObject("keeper", nullptr);
  ASSERT_NE(keeper, nullptr);
  Object *kept = lmxToolkitGetObjInstance("kept");
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->references, 3);  // the map, the keeper's variables, this lookup
  LmxReleaseObject(kept);
  // Still held by the application at close: freeing the keeper's variables
  // gives the kept logger back while the map is walked.
  LmxCloseToolkit();
  EXPECT_EQ(closes, std::vector<std::string>{"keeper without vars"});
  EXPECT_EQ(seen.made, seen.freed);
}

TEST_F(Open, RacingFirstCallsShareOneLock) {
  // Each round starts without a lock; eight threads make their first call
  // at once. Two locks made by a race would let two bodies overlap (and
  // the loser's lock would leak).
  for (int round = 0; round < 50; ++round) {
    lmx::destroyApiMutex();
    std::atomic<int> ready{0};
    int inside = 0, overlaps = 0, calls = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
      threads.emplace_back([&] {
        ++ready;
        while (ready.load() < 8) {
        }
        lmx::locked([&] {
          if (++inside != 1) ++overlaps;
          std::this_thread::yield();
          ++calls;
          --inside;
        });
      });
    }
    for (auto &t : threads) t.join();
    ASSERT_EQ(overlaps, 0) << "round " << round;
    ASSERT_EQ(calls, 8);
  }
}

}  // namespace
