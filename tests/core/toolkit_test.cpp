// Opening and closing the toolkit, its lock and platform reports, and objects
// made by name through a properties file, of test classes that record what
// happens to them (t_handler records the message key of every event).
#include <cerrno>
#include <cstring>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "../common/texts.h"
#include "../cx/temp_dir.h"
#include "collections/links.h"
#include "core/api_frame.h"
#include "core/log_mgr_apply.h"
#include "core/object.h"
#include "core/toolkit_state.h"
#include "logging/event.h"
#include "lumex/lumex.h"

namespace {

using Names = std::vector<std::string>;

struct Seen {
  int made = 0, freed = 0;        // private variables
  Names keys;                     // "object:key" of each CfgChange
  std::vector<int32_t> events;    // message keys the handlers processed
  int32_t lastLevel = 0;          // and the level of the last one
};
Seen seen;

void *allocVars() { return ++seen.made, BasMemoryMalloc(8); }
void freeVars(void *vars) { ++seen.freed, BasMemoryFree(vars); }
void cfgChange(Object *object, const char *key) {
  seen.keys.push_back(std::string(object->name) + ":" + key);
  LmxBasicObjectFCfgChange(object, key);
}
void record(Object *, Event *event) {
  seen.events.push_back(event->message->key);
  seen.lastLevel = event->level;
}

void addTestClasses() {
  LmxAddLoggerClass("t_logger", nullptr, allocVars, freeVars, cfgChange, nullptr);
  LmxAddFilterClass("t_filter", nullptr, nullptr, nullptr, cfgChange, nullptr, nullptr, nullptr);
  LmxAddHandlerClass("t_handler", nullptr, allocVars, freeVars, cfgChange, record, nullptr,
                     nullptr);
}

Names listenerNames(Object *object) {
  Names out;
  for (LmxLink *l = LmxGetListeners(object); l != nullptr; l = l->next) {
    out.emplace_back(static_cast<Object *>(l->item)->name);
  }
  return out;
}

class Toolkit : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    seen = Seen{};
  }
  void TearDown() override {
    LmxCloseToolkit();
    EXPECT_EQ(lmx::toolkitState().instances, nullptr);
    EXPECT_EQ(seen.made, seen.freed) << "private variables left alive";
    TempDir::TearDown();
  }
  std::string write(const std::string &name, const std::string &text) {
    writeFile(at(name), text);
    return at(name);
  }
  // Registers the test classes and opens the toolkit with the file; the
  // toolkit's own reports reach the handler `rec`.
  bool open(const std::string &properties) {
    addTestClasses();
    std::string recorder = "lumex.errorLogger.listenerNames=rec\nrec.className=t_handler\n";
    return LmxOpenToolkit(write("t.properties", recorder + properties).c_str());
  }
};

using Open = Toolkit;
using Objects = Toolkit;

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
  const struct { CxStatus status; size_t cap; bool ok; std::string text; } rows[] = {
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

TEST_F(Open, OpeningAnOpenToolkitChangesNothing) {
  ASSERT_TRUE(LmxOpenToolkit(write("t.properties", "lumex.errorLogger.level=WARN\n").c_str()));
  Object *logger = lmxToolkitLogger();
  ASSERT_NE(logger, nullptr);
  EXPECT_EQ(lmx::levelOf(logger), LMX_LEVEL_WARN);
  EXPECT_TRUE(LmxOpenToolkit("/no/such/file"));
  EXPECT_EQ(lmxToolkitLogger(), logger);
  EXPECT_EQ(logger->references, 2);  // the map and the toolkit: not taken again
}

TEST_F(Open, MadeWhileClosedAHandlerHasTheDefaultFormatterAnErrorLoggerIsKeptAsItIs) {
  addTestClasses();
  Object *handler = LmxGetObject("h", "t_handler");
  ASSERT_NE(handler->b.formatter, nullptr);
  EXPECT_STREQ(handler->b.formatter->name, "lumex.defaultFormatter");
  EXPECT_STREQ(handler->b.formatter->objClass->name, "lmx_basicformatter");
  LmxReleaseObject(handler);
  EXPECT_EQ(lmxToolkitGetObjInstance("lumex.defaultFormatter"), nullptr);
  Object *mine = LmxGetObject("lumex.errorLogger", "t_logger");
  ASSERT_TRUE(LmxOpenToolkit(nullptr));
  EXPECT_EQ(lmxToolkitLogger(), mine);
  EXPECT_EQ(mine->b.listeners, nullptr);
  LmxReleaseObject(mine);
}

TEST_F(Open, UnreadableFilePrintsMessage51AndLeavesTheToolkitClosed) {
  for (const std::string &path : {at("missing"), root, write("nodot.properties", "nodot=1\n")}) {
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

// A handler whose variables hold the logger "kept"; its Close notes if they are still there.
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

const char *kFile =
    "app.className=t_logger\n"
    "app.note=parent\n"
    "app.web.note=child\n"
    "out.className=t_handler\n"
    "out2.className=t_handler\n"
    "ghost.className=no_such_class\n"
    "off.className=t_logger\n"
    "off.logging=OFF\n";

TEST_F(Objects, WhichClassAnObjectGetsAndWhatIsReportedAtWhichLevel) {
  ASSERT_TRUE(open(kFile));
  Object *held = LmxGetObject("app", nullptr);
  // The class the object gets (null: no object) and the message key reported (0: none).
  const struct { const char *name, *className, *expected; int32_t report; } rows[] = {
      {"app", nullptr, "t_logger", 0},      {"app", "t_handler", nullptr, 61},
      {"app.web", nullptr, "t_logger", 0},  // className inherited
      {"x", "t_filter", "t_filter", 0},     {"nothing", nullptr, nullptr, 63},
      {"ghost", nullptr, nullptr, 62},      {"y", "no_such_class", nullptr, 62},
      {nullptr, "t_logger", nullptr, 0},
  };
  for (const auto &row : rows) {
    seen.events.clear();
    Object *o = LmxGetObject(row.name, row.className);
    EXPECT_STREQ(o ? o->objClass->name : nullptr, row.expected) << &row - rows;
    EXPECT_EQ(seen.events, row.report ? std::vector<int32_t>{row.report} : std::vector<int32_t>{})
        << &row - rows;
    LmxReleaseObject(o);
  }
  EXPECT_EQ(seen.lastLevel, LMX_LEVEL_ERROR);
  EXPECT_EQ(lmxToolkitGetObjInstance("ghost"), nullptr);
  LmxReleaseObject(held);
  seen.events.clear();
  LmxReportPlatformErr(CxStatus{CX_STATUS_SYS, EACCES});  // platform failures at WARN
  EXPECT_EQ(seen.events, std::vector<int32_t>{0});
  EXPECT_EQ(seen.lastLevel, LMX_LEVEL_WARN);
}

TEST_F(Objects, ListenerNamesReplaceTheListenersAndTheLoggingKeySwitches) {
  ASSERT_TRUE(open(std::string(kFile) + "app.listenerNames=out\tout2 nothing\n"));
  Object *app = LmxGetObject("app", nullptr);
  EXPECT_EQ(listenerNames(app), (Names{"out", "out2"}));
  EXPECT_EQ(seen.events, std::vector<int32_t>{63});  // "nothing" has no class
  const struct { const char *value; Names listeners; } rows[] = {
      {" out2 \n", {"out2"}}, {"out out2", {"out", "out2"}}, {"", {}}};
  for (const auto &row : rows) {
    seen.events.clear();
    LmxSetObjProp(app, "listenerNames", row.value);
    if (row.listeners.empty()) EXPECT_EQ(app->b.listeners, nullptr);
    else EXPECT_EQ(listenerNames(app), row.listeners) << row.value;
  }
  EXPECT_EQ(seen.made - seen.freed, 2);  // app and rec: the handlers went with the listeners
  LmxReleaseObject(app);
  // The logging key is applied in order, in any case; other words than true,
  // false, on, off change nothing.
  Object *o = LmxGetObject("off", nullptr);
  EXPECT_FALSE(LmxIsObjectEnabled(o));
  const struct { const char *value; bool enabled; } keys[] = {
      {"On", true}, {"maybe", true}, {"0", true}, {"FALSE", false}, {"", false}, {"yes", false}};
  for (const auto &row : keys) {
    LmxSetObjProp(o, "logging", row.value);
    EXPECT_EQ(LmxIsObjectEnabled(o), row.enabled) << row.value;
  }
  LmxReleaseObject(o);
}

TEST_F(Objects, SharedByNameTypedPropertiesAndDescriptionReachTheClassThenMadeAfresh) {
  ASSERT_TRUE(open(kFile));
  seen.keys.clear();  // rec's, made at open
  Object *o = LmxGetObject("app", nullptr);
  EXPECT_EQ(LmxGetObject("app", "t_logger"), o);
  LmxReleaseObject(o);
  EXPECT_EQ(seen.keys, (Names{"app:className", "app:note"}));
  seen.keys.clear();
  LmxSetObjPropBool(o, "b", 1);
  LmxSetObjPropInt(o, "i", -42);
  LmxSetObjPropLong(o, "l", INT64_C(1) << 40);
  LmxSetObjProp(nullptr, "t", "x");  // stores nothing, notifies nobody
  EXPECT_EQ(seen.keys, (Names{"app:b", "app:i", "app:l"}));
  unsigned char found = 0;
  EXPECT_TRUE(LmxGetObjPropBool(o, "b", &found) && found);
  EXPECT_EQ(LmxGetObjPropInt(o, "i", &found), -42);
  EXPECT_EQ(LmxGetObjPropLong(o, "l", &found), INT64_C(1) << 40);
  EXPECT_EQ(test::take(LmxGetObjProp(o, "note", &found)), "parent");  // from the configuration
  EXPECT_EQ(LmxGetObjProp(o, "absent", &found), nullptr);
  EXPECT_FALSE(found);
  // A configuration is applied ancestors first: the nearer value wins.
  seen.keys.clear();
  Object *web = LmxGetObject("app.web", nullptr);
  EXPECT_EQ(seen.keys, (Names{"app.web:className", "app.web:note", "app.web:note"}));
  EXPECT_EQ(test::take(LmxGetObjProp(web, "note", &found)), "child");
  EXPECT_FALSE(LmxLogMgrApplyCfg(web, nullptr));
  EXPECT_FALSE(LmxLogMgrApplyCfg(web, "/"));
  EXPECT_FALSE(LmxLogMgrApplyCfg(nullptr, "app"));
  LmxReleaseObject(web);
  LmxReleaseObject(o);
  EXPECT_EQ(seen.made, seen.freed + 1);  // only rec is left
  o = LmxGetObject("app", nullptr);      // made and configured afresh
  EXPECT_EQ(seen.keys.size(), 5u);
  EXPECT_EQ(LmxGetObjProp(o, "b", &found), nullptr);
  // The description keys reach the class: another object of it shows them.
  Object *b = LmxGetObject("other", "t_logger");
  EXPECT_EQ(LmxGetObjectDesc(b), nullptr);   // the class has none yet
  LmxSetObjPropInt(o, "descriptionSet", 7);  // a new message with only the set
  const I18Msg *desc = b->objClass->description;
  ASSERT_NE(desc, nullptr);
  EXPECT_EQ(desc->set, 7);
  EXPECT_EQ(desc->catalog, nullptr);
  LmxSetObjProp(o, "description", "Writes app records");
  LmxSetObjPropInt(o, "descriptionKey", 12);
  LmxSetObjProp(o, "descriptionFile", "nosuchcat");
  EXPECT_EQ(test::take(LmxGetObjectDesc(b)), "Writes app records");  // no such catalog: default
  EXPECT_EQ(desc->key, 12);
  EXPECT_STREQ(desc->catalog, "nosuchcat");
  LmxReleaseObject(o);
  LmxReleaseObject(b);
}

}  // namespace
