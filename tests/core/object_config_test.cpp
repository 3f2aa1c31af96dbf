// Objects found and made by name through a properties file.
#include "core/log_mgr_apply.h"
#include "toolkit_fixture.h"

namespace {

using Objects = test::Toolkit;
using test::seen;
using Names = std::vector<std::string>;

const char *kFile =
    "app.className=t_logger\n"
    "app.note=parent\n"
    "app.web.note=child\n"
    "out.className=t_handler\n"
    "out2.className=t_handler\n"
    "ghost.className=no_such_class\n"
    "off.className=t_logger\n"
    "off.logging=OFF\n";

TEST_F(Objects, SharedByNameDestroyedAfterReleasesThenMadeAfresh) {
  ASSERT_TRUE(open(kFile));
  seen.keys.clear();  // rec's, made at open
  Object *a = LmxGetObject("app", nullptr);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(LmxGetObject("app", "t_logger"), a);
  EXPECT_EQ(seen.keys, (Names{"app:className", "app:note"}));
  LmxReleaseObject(a);
  LmxReleaseObject(a);
  EXPECT_EQ(seen.freed, 1);
  Object *again = LmxGetObject("app", nullptr);
  EXPECT_EQ(seen.made, 3);
  EXPECT_EQ(seen.keys.size(), 4u);  // configured afresh
  LmxReleaseObject(again);
}

TEST_F(Objects, WhichClassAnObjectGetsAndWhatIsReported) {
  ASSERT_TRUE(open(kFile));
  Object *held = LmxGetObject("app", nullptr);
  const struct {
    const char *name, *className, *expected;  // expected class, null: no object
    int32_t report;                           // message key, 0: none
  } rows[] = {
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
  EXPECT_EQ(held->references, 2);  // refused lookups gave their reference back
  EXPECT_EQ(lmxToolkitGetObjInstance("ghost"), nullptr);
  LmxReleaseObject(held);
}

TEST_F(Objects, ListenerNamesReplaceTheListeners) {
  ASSERT_TRUE(open(std::string(kFile) + "app.listenerNames=out\tout2 nothing\n"));
  Object *app = LmxGetObject("app", nullptr);
  EXPECT_EQ(test::listenerNames(app), (Names{"out", "out2"}));
  EXPECT_EQ(seen.events, std::vector<int32_t>{63});  // "nothing" has no class
  const struct {
    const char *value;
    Names listeners;
  } rows[] = {{" out2 \n", {"out2"}}, {"out out2", {"out", "out2"}}, {"", {}}};
  for (const auto &row : rows) {
    seen.events.clear();
    LmxSetObjProp(app, "listenerNames", row.value);
    if (row.listeners.empty()) EXPECT_EQ(app->b.listeners, nullptr);
    else EXPECT_EQ(test::listenerNames(app), row.listeners) << row.value;
  }
  EXPECT_EQ(seen.made - seen.freed, 2);  // app and rec: the handlers went with the listeners
  LmxReleaseObject(app);
}

TEST_F(Objects, StartingValuesByKindAlsoWhileClosed) {
  test::addTestClasses();
  Object *logger = LmxGetObject("l", "t_logger"), *filter = LmxGetObject("f", "lmx_levelfilter");
  Object *handler = LmxGetObject("h", "t_handler");
  EXPECT_EQ(lmx::levelOf(logger), LMX_LEVEL_DEBUG_MIN);
  EXPECT_EQ(lmx::levelOf(filter), LMX_LEVEL_ALL);  // passes everything until configured
  ASSERT_NE(handler->b.formatter, nullptr);
  EXPECT_STREQ(handler->b.formatter->name, "lumex.defaultFormatter");
  EXPECT_STREQ(handler->b.formatter->objClass->name, "lmx_basicformatter");
  for (Object *o : {logger, filter, handler}) LmxReleaseObject(o);
  EXPECT_EQ(lmxToolkitGetObjInstance("lumex.defaultFormatter"), nullptr);  // went with h
}

TEST_F(Objects, LoggingKey) {
  ASSERT_TRUE(open(kFile));
  Object *o = LmxGetObject("off", nullptr);
  EXPECT_FALSE(LmxIsObjectEnabled(o));
  // Applied in order; none of the four words changes nothing.
  const struct {
    const char *value;
    bool enabled;
  } rows[] = {{"On", true},   {"maybe", true}, {"FALSE", false}, {"", false},
              {"true", true}, {"0", true},     {"off", false},   {"yes", false}};
  for (const auto &row : rows) {
    LmxSetObjProp(o, "logging", row.value);
    EXPECT_EQ(LmxIsObjectEnabled(o), row.enabled) << row.value;
  }
  LmxReleaseObject(o);
}

TEST_F(Objects, TypedPropertiesReachTheClassAndReadBack) {
  ASSERT_TRUE(open(kFile));
  Object *o = LmxGetObject("app", nullptr);
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
  char *note = LmxGetObjProp(o, "note", &found);  // stored from the configuration
  EXPECT_STREQ(note, "parent");
  BasMemoryFree(note);
  EXPECT_EQ(LmxGetObjProp(o, "absent", &found), nullptr);
  EXPECT_FALSE(found);
  // A configuration is applied ancestors first: the nearer value wins.
  seen.keys.clear();
  Object *web = LmxGetObject("app.web", nullptr);
  EXPECT_EQ(seen.keys, (Names{"app.web:className", "app.web:note", "app.web:note"}));
  note = LmxGetObjProp(web, "note", &found);
  EXPECT_STREQ(note, "child");
  BasMemoryFree(note);
  EXPECT_FALSE(LmxLogMgrApplyCfg(web, nullptr));
  EXPECT_FALSE(LmxLogMgrApplyCfg(web, "/"));
  EXPECT_FALSE(LmxLogMgrApplyCfg(nullptr, "app"));
  LmxReleaseObject(web);
  LmxReleaseObject(o);
}

TEST_F(Objects, DescriptionBelongsToTheClass) {
  ASSERT_TRUE(open(kFile));
  Object *a = LmxGetObject("app", nullptr), *b = LmxGetObject("other", "t_logger");
  EXPECT_EQ(LmxGetObjectDesc(b), nullptr);   // the class has none yet
  LmxSetObjPropInt(a, "descriptionSet", 7);  // a new message with only the set
  const I18Msg *desc = b->objClass->description;
  ASSERT_NE(desc, nullptr);
  EXPECT_EQ(desc->set, 7);
  EXPECT_EQ(desc->catalog, nullptr);
  LmxSetObjProp(a, "description", "Writes app records");
  LmxSetObjPropInt(a, "descriptionKey", 12);
  LmxSetObjProp(a, "descriptionFile", "nosuchcat");
  char *text = LmxGetObjectDesc(b);
  EXPECT_STREQ(text, "Writes app records");  // no such catalog: the default text
  BasMemoryFree(text);
  EXPECT_EQ(desc->key, 12);
  EXPECT_STREQ(desc->catalog, "nosuchcat");
  LmxReleaseObject(a);
  LmxReleaseObject(b);
}

}  // namespace
