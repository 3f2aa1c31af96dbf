// The C++ front builds exactly the parameter lists that hand-written tags
// give the C calls: each row logs once through C and once through C++, and
// the two events must carry the same level, parameters and properties.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "logging/event.h"
#include "lumex/lumex.hpp"

namespace {

// What the handler saw: a copy of the message, and the properties this test
// names as "name=value;...".
struct Seen { int32_t level; unsigned char isMessage; I18Msg *message; std::string props; };
std::vector<Seen> gSeen;

void capture(Object *, Event *event) {
  Seen s{event->level, event->isMessage, LmxCopyI18Msg(event->message), {}};
  for (const char *name : {"n", "t", LMX_PROP_SRCFILE, LMX_PROP_SRCFUNCTION, LMX_PROP_SRCLINE}) {
    unsigned char found = 0;
    char *v = LmxGetEventProp(event, name, &found);
    if (found) s.props += std::string(name) + "=" + (v ? v : "") + ";";
    BasMemoryFree(v);
  }
  gSeen.push_back(s);
}

void clearSeen() {
  for (Seen &s : gSeen) LmxFreeI18Msg(s.message);
  gSeen.clear();
}

class Front : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LmxOpenToolkit(nullptr));
    LmxAddHandlerClass("test_capture", nullptr, nullptr, nullptr, nullptr, capture, nullptr,
                       nullptr);
    ASSERT_NE(cap = LmxGetObject("front.capture", "test_capture"), nullptr);
    ASSERT_NE(raw = LmxGetObject("front", "lmx_basiclogger"), nullptr);
    LmxSetObjProp(raw, "level", "ALL");
    LmxAddListener(raw, cap);
  }
  void TearDown() override {
    clearSeen();
    LmxReleaseObject(raw);
    LmxReleaseObject(cap);
    LmxCloseToolkit();
  }
  Object *cap = nullptr, *raw = nullptr;
};

using L = const lumex::Logger &;
const std::string kStr = "string";
const char kView[] = "view-and-more";
constexpr int I = LMX_PARM_INT, S = LMX_PARM_STRING, P = LMX_NAMED_PROP;  // the C tags

// A row: the C call on `o` (also the row's name) and the C++ call on `l`.
#define ROW(c, cxx) {#c, [](Object *o) { c; }, [](L l) { cxx; }}
const struct Row {
  const char *what;
  std::function<void(Object *)> c;
  std::function<void(L)> cxx;
} kRows[] = {
    ROW(LmxLogText(o, "t", LMX_PARM_BOOL, 1, LMX_PARM_BOOL, 0, 0), l.text("t", true, false)),
    ROW(LmxLogText(o, "t", LMX_PARM_CHAR, 'x', LMX_PARM_CHAR, '\xC3', 0), l.text("t", 'x', '\xC3')),
    ROW(LmxLogText(o, "t", I, -7, I, INT_MIN, I, 65535, 0),  // narrow integers
        l.text("t", short{-7}, int32_t{INT_MIN}, static_cast<unsigned short>(65535))),
    ROW(LmxLogText(o, "t", S, "12345678901", S, "4294967295", S, "-3", S, "4", 0),  // as text
        l.text("t", 12345678901LL, 4294967295U, -3L, 4ULL)),
    ROW(LmxLogText(o, "t", LMX_PARM_FLOAT, 1.25, LMX_PARM_DOUBLE, -2.5e300, 0),
        l.text("t", 1.25f, -2.5e300)),
    ROW(LmxLogText(o, "t", S, "lit", S, "string", S, "view", 0),
        l.text("t", "lit", kStr, std::string_view(kView, 4))),
    ROW(LmxLogText(o, "t", P, "n", I, 42, I, 1, P, "t", S, "string", 0),
        l.text("t", lumex::prop("n", 42), 1, lumex::prop("t", kStr))),
    ROW(LmxLogInfo(o, "cat", 1, 2, "m", LMX_LEVEL_ERROR, I, 3, 0),
        l.info("cat", 1, 2, "m", lumex::Level::Error, 3)),
    ROW(LmxLogMsg(o, "c", 1, 2, "m", 0), l.msg("c", 1, 2, "m")),
    ROW(LmxLogWarn(o, "c", 1, 2, "m", 0), l.warn("c", 1, 2, "m")),
    ROW(LmxLogError(o, "c", 1, 2, "m", 0), l.error("c", 1, 2, "m")),
    ROW(LmxLogFatal(o, "c", 1, 2, "m", 0), l.fatal("c", 1, 2, "m")),
    ROW(LmxLogDebugMin(o, "f.cpp", "fn", 9, "d", 0), l.debugMin("f.cpp", "fn", 9, "d")),
    ROW(LmxLogDebugMid(o, "f.cpp", "fn", 9, "d", 0), l.debugMid("f.cpp", "fn", 9, "d")),
    ROW(LmxLogDebugMax(o, "f.cpp", "fn", 9, "d", I, 1, 0), l.debugMax("f.cpp", "fn", 9, "d", 1)),
};
#undef ROW

TEST_F(Front, EveryArgumentArrivesAsTheCCallPutsIt) {
  lumex::Logger front("front");
  for (const Row &row : kRows) {
    SCOPED_TRACE(row.what);
    clearSeen();
    row.c(raw);
    row.cxx(front);
    ASSERT_EQ(gSeen.size(), 2u);
    const Seen &c = gSeen[0], &cxx = gSeen[1];
    EXPECT_EQ(c.level, cxx.level);
    EXPECT_EQ(c.isMessage, cxx.isMessage);
    EXPECT_EQ(c.props, cxx.props);
    ParmList *a = lmxGetI18MsgParmList(c.message), *b = lmxGetI18MsgParmList(cxx.message);
    LmxLink *x = a ? LmxParmListIterator(a) : nullptr, *y = b ? LmxParmListIterator(b) : nullptr;
    for (; x != nullptr && y != nullptr; x = LmxParmListIterNext(x), y = LmxParmListIterNext(y)) {
      Parm *px = LmxParmListIterGet(x), *py = LmxParmListIterGet(y);
      EXPECT_TRUE(LmxCmpParms(px, py)) << "parameter types " << px->type << " and " << py->type;
      LmxFreeParm(px);
      LmxFreeParm(py);
    }
    EXPECT_EQ(x == nullptr, y == nullptr) << "parameter counts differ";
  }
}

TEST_F(Front, DebugMacrosPassTheSourcePosition) {
  lumex::Logger front("front");
  const int line = __LINE__ + 1;
  LUMEX_DEBUG_MIN(front, "here"), LUMEX_DEBUG_MID(front, "mid"), LUMEX_DEBUG_MAX(front, "max");
  ASSERT_EQ(gSeen.size(), 3u);
  for (const Seen &s : gSeen) {
    EXPECT_EQ(s.props, std::string(LMX_PROP_SRCFILE "=") + __FILE__ + ";" LMX_PROP_SRCFUNCTION
                           "=TestBody;" LMX_PROP_SRCLINE "=" + std::to_string(line) + ";");
  }
}

TEST_F(Front, LoggerCopiesShareOneCountedReference) {
  {
    lumex::Logger a("front.owned", "lmx_basiclogger");
    lumex::Logger b = a;
    lumex::Logger c(std::move(b));
    EXPECT_FALSE(b);
    EXPECT_TRUE(LmxAreObjectsEqual(a.get(), c.get()));
  }
  // Every reference was given back: the object was destroyed and a new
  // one of another class can take the name.
  Object *again = LmxGetObject("front.owned", "lmx_levelfilter");
  EXPECT_NE(again, nullptr);
  LmxReleaseObject(again);
}

}  // namespace
