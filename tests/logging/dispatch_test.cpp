// Dispatch to listeners, the records' properties, missing listeners, the
// toolkit's reports and listener loops.
#include <utility>

#include "log_fixture.h"
#include "logging/toolkit_report.h"

namespace {

using Dispatch = test::Toolkit;
using test::of;
using test::recs;

TEST_F(Dispatch, RecordsCarryParametersPropertiesAndSourcePosition) {
  open("app.className=lmx_basiclogger\napp.level=ALL\napp.listenerNames=other a\n"
       "other.className=lmx_basiclogger\nother.listenerNames=b\n"
       "a.className=t_rec\nb.className=t_rec\n");
  Object *app = get("app");
  LmxLogInfo(app, "app", 1, 7, "%1$s has %2$d", LMX_PARM_STRING, "bob", LMX_NAMED_PROP, "user",
             LMX_PARM_STRING, "u1", LMX_PARM_INT, 3, 0);
  LmxLogDebugMin(app, "f.c", "fn", 12, "min", LMX_NAMED_PROP, "k", LMX_PARM_INT, 9, 0);
  LmxLogDebugMid(app, nullptr, "fn", 12, "mid", 0);
  LmxLogDebugMax(app, "f.c", nullptr, -3, "max", 0);
  LmxLogText(app, "plain %1$d", LMX_PARM_INT, 5, 0);
  std::string got;  // text, level, message or trace, properties
  for (const test::Rec &r : of("a")) {
    got += r.text + "|" + std::to_string(r.level) + (r.isMessage ? "|m|" : "|t|") + r.props + "\n";
  }
  EXPECT_EQ(got, "bob has 3|4000|m|user=u1\n"
                 "min|3000|t|k=9 lmx_prop_srcfile=f.c lmx_prop_srcline=12 lmx_prop_srcfunction=fn\n"
                 "mid|2000|t|lmx_prop_srcfunction=fn\n"  // no file, no line
                 "max|1000|t|lmx_prop_srcfile=f.c lmx_prop_srcline=-3\n"
                 "plain 5|-9999|t|-\n");
  EXPECT_TRUE(of("b").empty()) << "a logger among the listeners is skipped";
}

// Each event of a logger without listeners is reported to the toolkit
// logger; without listeners there too, the report goes to standard error.
TEST_F(Dispatch, ALoggerWithoutListenersReportsEachEvent) {
  open("lonely.className=lmx_basiclogger\n"
       "quiet.className=lmx_basiclogger\nquiet.listenerNames=fq\n"
       "fq.className=lmx_levelfilter\n");
  LmxLogInfo(get("lonely"), "c", 1, 1, "one", 0);
  LmxLogInfo(get("quiet"), "c", 1, 1, "to a filter without listeners", 0);
  EXPECT_EQ(test::shown("t.reports"),
            "1 6000 m LMXLG01E No listeners are registered with the logger lonely.\n");
  recs.clear();
  LmxRemListener(lmxToolkitLogger(), get("t.reports"));
  ASSERT_EQ(LmxGetListeners(lmxToolkitLogger()), nullptr);
  std::fflush(stderr);
  testing::internal::CaptureStderr();
  LmxLogInfo(get("lonely"), "c", 1, 1, "one", 0);
  LmxLogText(get("lonely"), "two", 0);
  const std::string line =
      "LMXLG01E No listeners are registered with the logger lumex.errorLogger.\r\n";
  EXPECT_EQ(testing::internal::GetCapturedStderr(), line + line);
  EXPECT_TRUE(recs.empty());
}

TEST_F(Dispatch, ListenersAreAddedOnceInOrderAndRemoved) {
  open("app.className=lmx_basiclogger\nh.className=t_rec\n");
  Object *app = get("app"), *h1 = LmxGetObject("h1", "t_rec"), *h2 = LmxGetObject("h2", "t_rec");
  held_.insert(held_.end(), {h1, h2});
  EXPECT_EQ(LmxGetListeners(app), nullptr);
  LmxAddListener(app, h2);
  LmxAddListener(app, h1);
  LmxAddListener(app, h2);
  EXPECT_EQ(test::listeners(app), "h2 h1");
  EXPECT_EQ(h2->references, 3);  // the map, the test and the logger
  LmxRemListener(app, h2);
  LmxRemListener(app, h2);
  EXPECT_EQ(test::listeners(app), "h1");
  EXPECT_EQ(h2->references, 2);
  EXPECT_FALSE(lmxIntlAddListener(get("lumex.defaultFormatter"), h1));  // formatters have none
  EXPECT_TRUE(of("t.reports").empty());
}

// Listeners that change the logger's listeners while an event is handed
// out, and a toolkit report made while a report is being written.
Object *gApp = nullptr;
void leaveAndRecord(Object *handler, Event *ev) {
  LmxRemListener(gApp, handler);
  test::recordEvent(handler, ev);
}
void reportAndRecord(Object *handler, Event *ev) {
  lmx::reportMsg(LMX_LEVEL_ERROR, lmx::MsgKey::OutOfMemory);  // feeds back into this handler
  test::recordEvent(handler, ev);
}

TEST_F(Dispatch, ListenersMayChangeTheListenersAndReportDuringDispatch) {
  for (auto [name, log] : {std::pair("t_leave", leaveAndRecord), {"t_loud", reportAndRecord}}) {
    LmxAddHandlerClass(name, nullptr, nullptr, nullptr, nullptr, log, nullptr, nullptr);
  }
  open("app.className=lmx_basiclogger\napp.listenerNames=gone a\n"
       "gone.className=t_leave\na.className=t_rec\nlonely.className=lmx_basiclogger\n");
  gApp = get("app");
  LmxLogInfo(gApp, "c", 1, 1, "first", 0);
  LmxLogInfo(gApp, "c", 1, 1, "second", 0);
  EXPECT_EQ(of("gone").size(), 1u);
  EXPECT_EQ(of("a").size(), 2u);
  EXPECT_EQ(test::listeners(gApp), "a");
  held_.push_back(LmxGetObject("loud", "t_loud"));
  LmxAddListener(lmxToolkitLogger(), held_.back());
  recs.clear();
  LmxLogText(get("lonely"), "no listeners", 0);
  ASSERT_EQ(of("loud").size(), 1u);
  EXPECT_EQ(of("loud")[0].key, 1);
  EXPECT_EQ(of("t.reports").size(), 1u);
}

// Configurations whose listeners would form loops: the listener that
// closes the loop is refused with one warning, the rest applies and every
// handler on the way writes the record once.
TEST_F(Dispatch, ListenersThatWouldCloseALoopAreRefused) {
  struct Row {
    const char *name, *properties;
    const char *written;                            // handlers that wrote the record, in order
    std::pair<const char *, const char *> refused;  // listener, object
    std::vector<std::pair<const char *, const char *>> listeners;  // object, its listeners
  } rows[] = {
      {"two handlers listing each other",
       "app.listenerNames=h1\nh1.className=t_rec\nh1.listenerNames=h2\n"
       "h2.className=t_rec\nh2.listenerNames=h1\n",
       "h1", {"h2", "h1"}, {{"h1", ""}, {"h2", "h1"}}},
      {"a loop through a level filter",
       "app.listenerNames=h\nh.className=t_rec\nh.listenerNames=f\n"
       "f.className=lmx_levelfilter\nf.level=INFO\nf.listenerNames=h\n",
       "h", {"f", "h"}, {{"h", ""}, {"f", "h"}}},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    recs.clear();
    open(std::string("app.className=lmx_basiclogger\n") + r.properties);
    Object *app = get("app");
    for (auto &[object, names] : r.listeners) EXPECT_EQ(test::listeners(get(object)), names);
    EXPECT_EQ(test::shown("t.reports"), std::string("0 5000 m The listener '") + r.refused.first +
                                            "' was not added to '" + r.refused.second +
                                            "' because it would close a loop of listeners.\n");
    recs.clear();
    LmxLogInfo(app, "c", 1, 1, "once", 0);
    std::string written;
    for (const test::Rec &rec : recs) test::join(written, rec.handler);
    EXPECT_EQ(written, r.written);
    recs.clear();
    LmxAddListener(app, app);  // an object never listens to itself
    EXPECT_EQ(of("t.reports").size(), 1u);
    EXPECT_EQ(test::listeners(app), r.written);  // the loggers' own listeners stay
    close();  // a loop must not keep objects alive
  }
}

// Lists of 63 items are taken whole; a 64th item is reported and not read.
template <size_t... Is>
void logIntItems(Object *logger, std::index_sequence<Is...>) {
  LmxLogInfo(logger, "c", 1, 1, "%63$d", (Is % 2 == 0 ? LMX_PARM_INT : int(Is / 2))..., 0);
}

TEST_F(Dispatch, ParameterListsHoldAtMost63Items) {
  open("app.className=lmx_basiclogger\napp.listenerNames=a\na.className=t_rec\n");
  logIntItems(get("app"), std::make_index_sequence<2 * 63>());
  EXPECT_TRUE(of("t.reports").empty());
  logIntItems(get("app"), std::make_index_sequence<2 * 64>());
  ASSERT_EQ(of("t.reports").size(), 1u);
  EXPECT_EQ(of("t.reports")[0].key, 70);
  EXPECT_EQ(test::shown("a"), "1 4000 m 62\n1 4000 m 62\n");
}

}  // namespace
