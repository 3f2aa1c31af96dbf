// Level names, the level tests of loggers and level filters, loggability.
#include <cstdarg>

#include "log_fixture.h"

namespace {

using Levels = test::Toolkit;
using test::of;
using test::recs;

TEST(LevelNames, PrefixOfANameIgnoringCase) {
  struct Row { const char *text; int32_t level; } rows[] = {
      {"warn", 5000},     {"Warning", 5000},    {"debug", -9999}, {"DEBUG_MAXIMUM", 1000},
      {"debug_mid", 2000}, {"5000", -9999},     {nullptr, -9999}, {"off", 9999},
      {"fatalistic", 7000}, {"All", 0},          {" INFO", -9999}, {"Error", 6000},
  };
  for (const Row &r : rows) {
    EXPECT_EQ(LmxGetLevelFromString(r.text), r.level) << (r.text ? r.text : "(null)");
  }
}

// The texts (or keys) of the handler's records, blank-separated.
std::string words(const char *handler, bool keys = false) {
  std::string out;
  for (const test::Rec &r : of(handler)) test::join(out, keys ? std::to_string(r.key) : r.text);
  return out;
}

// The logger tests the call's level; a level tag in the list moves the
// event's level only afterwards.
TEST_F(Levels, LoggersDropCallsBelowTheirLevel) {
  open("l.className=lmx_basiclogger\nl.listenerNames=h\nh.className=t_rec\n"
       "l.min.level=debug_min\nl.warn.level=Warning\nl.off.level=OFF\n"
       "l.bad.level=verbose\nl.dis.logging=off\n");
  struct Row { const char *logger, *taken; } rows[] = {
      {"l", "m i w e f dmin t"},  // a new logger is at DEBUG_MIN
      {"l.min", "m i w e f dmin t"},  {"l.warn", "m w e f t"}, {"l.off", "m t"},
      {"l.dis", ""},
      {"l.bad", "m i w e f dmin dmid dmax t"},  // no level: everything passes
  };
  for (const Row &r : rows) {
    recs.clear();
    Object *logger = get(r.logger);
    LmxLogMsg(logger, "app", 1, 1, "m", 0);
    LmxLogInfo(logger, "app", 1, 2, "i", LMX_NAMED_PROP, "ignored", LMX_LEVEL_ERROR, 0);
    LmxLogWarn(logger, "app", 1, 3, "w", 0);
    LmxLogError(logger, "app", 1, 4, "e", 0);
    LmxLogFatal(logger, "app", 1, 5, "f", 0);
    LmxLogDebugMin(logger, "s.c", "fn", 1, "dmin", 0);
    LmxLogDebugMid(logger, "s.c", "fn", 2, "dmid", 0);
    LmxLogDebugMax(logger, "s.c", "fn", 3, "dmax", LMX_LEVEL_OFF, 0);
    LmxLogText(logger, "t", 0);
    EXPECT_EQ(words("h"), r.taken) << r.logger;
  }
  EXPECT_TRUE(of("t.reports").empty()) << of("t.reports")[0].text;
  EXPECT_EQ(test::shown("h"), "1 -9999 m m\n2 6000 m i\n3 5000 m w\n4 6000 m e\n5 7000 m f\n"
                             "0 3000 t dmin\n0 2000 t dmid\n0 9999 t dmax\n0 -9999 t t\n");  // l.bad
}

TEST_F(Levels, FiltersPassEventsAtOrAboveTheirLevel) {
  open("app.className=lmx_basiclogger\napp.level=ALL\n"
       "app.listenerNames=f.warn f.all f.unset f.dis a\n"
       "f.className=lmx_levelfilter\n"
       "f.warn.level=WARN\nf.warn.listenerNames=h.warn\n"
       "f.all.level=ALL\nf.all.listenerNames=h.all\n"
       "f.unset.listenerNames=h.unset\n"
       "f.dis.logging=false\nf.dis.listenerNames=h.dis\n"
       "h.className=t_rec\na.className=t_rec\n");
  Object *app = get("app");
  for (int32_t l : {6000, 5000, 4000, 0, 1000, 9999}) LmxLogMsg(app, "c", 1, l, "x", l, 0);
  struct Row { const char *handler, *passed; } rows[] = {  // passed: the levels (0: no tag)
      {"h.warn", "6000 5000 0 9999"}, {"h.all", "6000 5000 4000 0 1000 9999"},
      {"h.unset", "6000 5000 4000 0 1000 9999"},  // a filter without level passes everything
      {"h.dis", ""},  {"a", "6000 5000 4000 0 1000 9999"},
  };
  for (const Row &r : rows) EXPECT_EQ(words(r.handler, true), r.passed) << r.handler;
  EXPECT_TRUE(of("t.reports").empty());  // filters without listeners are silent
}

// An event of the level; the list is the caller's (ended by 0).
Event *eventAt(int32_t level, ...) {
  va_list args;
  va_start(args, level);
  Event *ev = LmxVaAllocEvent(level, nullptr, 0, 0, "e", args);
  va_end(args);
  return ev;
}

TEST_F(Levels, LoggabilityTests) {
  open("lg.className=lmx_basiclogger\nlg.level=DEBUG_MIN\n"
       "open.className=lmx_basiclogger\nopen.level=none\n"
       "off.className=lmx_basiclogger\noff.logging=off\n"
       "fw.className=lmx_levelfilter\nfw.level=WARN\n");
  Object *lg = get("lg"), *open = get("open"), *off = get("off"), *fw = get("fw");
  struct Row { Object *logger; int32_t level; bool loggable; } rows[] = {
      {nullptr, 4000, false}, {lg, 2000, false}, {lg, 3000, true}, {lg, -9999, true},
      {open, 1000, true},     {off, 9999, true},  // the enabled flag is not consulted
  };
  for (const Row &r : rows) EXPECT_EQ(LmxIsLoggable(r.logger, r.level) != 0, r.loggable);
  Event *info = eventAt(4000, 0), *error = eventAt(6000, 0);
  EXPECT_FALSE(LmxIsLoggableByFilter(fw, info));
  EXPECT_TRUE(LmxIsLoggableByFilter(fw, error));
  EXPECT_FALSE(LmxIsLoggableByFilter(lg, error));  // not a filter
  LmxFreeEvent(info);
  LmxFreeEvent(error);
  EXPECT_EQ(LmxLoggerGetFLog(lg), &LmxBasicObjectFLog);
  EXPECT_EQ(LmxLoggerGetFLog(off), nullptr);  // disabled
  EXPECT_EQ(LmxLoggerGetFLog(fw), nullptr);   // not a logger
}

}  // namespace
