// Objects found and made by name through a properties file: sharing,
// destruction and remaking, classes from the configuration, the generic
// keys and typed properties.
#include <string>
#include <vector>

#include "toolkit_fixture.h"

namespace {

using Objects = test::Toolkit;
using test::seen;

const char *kFile =
    "app.className=t_logger\n"
    "app.note=parent\n"
    "app.web.note=child\n"
    "out.className=t_handler\n"
    "flt.className=lmx_levelfilter\n"
    "ghost.className=no_such_class\n"
    "off.className=t_logger\n"
    "off.logging=OFF\n";

TEST_F(Objects, SameNameSameObjectUntilReleasedThenMadeAfresh) {
  ASSERT_TRUE(open(kFile));
  Object *a = LmxGetObject("app", nullptr);
  Object *b = LmxGetObject("app", "t_logger");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a->references, 3);
  // Configured once, parents first: className, then note.
  EXPECT_EQ(seen.keys, (std::vector<std::string>{"app:className", "app:note"}));
  LmxReleaseObject(b);
  EXPECT_EQ(seen.freed, 0);
  LmxReleaseObject(a);
  EXPECT_EQ(seen.freed, 1);
  seen.keys.clear();
  Object *c = LmxGetObject("app", nullptr);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(seen.made, 2);
  EXPECT_EQ(seen.keys.size(), 2u);  // configured afresh
  LmxReleaseObject(c);
}

TEST_F(Objects, WhichClassAnObjectGets) {
  ASSERT_TRUE(open(kFile));
  Object *held = LmxGetObject("app", nullptr);
  const struct {
    const char *name, *className;
    const char *expectedClass;  // null: no object
  } rows[] = {
      {"app", nullptr, "t_logger"},         // existing, any class
      {"app", "t_handler", nullptr},        // existing, other class
      {"app.web", nullptr, "t_logger"},     // inherited className
      {"out", nullptr, "t_handler"},
      {"x", "t_filter", "t_filter"},        // class named, no configuration
      {"nothing", nullptr, nullptr},        // no configuration, no class
      {"ghost", nullptr, nullptr},          // configured class not registered
      {"y", "no_such_class", nullptr},      // named class not registered
      {nullptr, "t_logger", nullptr},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(std::string(row.name ? row.name : "(null)") + " / " +
                 (row.className ? row.className : "(null)"));
    Object *o = LmxGetObject(row.name, row.className);
    if (row.expectedClass == nullptr) {
      EXPECT_EQ(o, nullptr);
      // Nothing was made.
      if (row.name && std::string(row.name) != "app") {
        EXPECT_EQ(lmxToolkitGetObjInstance(row.name), nullptr);
      }
      continue;
    }
    ASSERT_NE(o, nullptr);
    EXPECT_STREQ(o->objClass->name, row.expectedClass);
    LmxReleaseObject(o);
  }
  EXPECT_EQ(held->references, 2);  // refused lookups gave their reference back
  LmxReleaseObject(held);
}

TEST_F(Objects, StartingValuesByKind) {
  ASSERT_TRUE(open(kFile));
  Object *logger = LmxGetObject("app", nullptr);
  Object *filter = LmxGetObject("flt", nullptr);
  Object *handler = LmxGetObject("out", nullptr);
  EXPECT_EQ(lmx::levelOf(logger), LMX_LEVEL_DEBUG_MIN);
  EXPECT_EQ(lmx::levelOf(filter), LMX_LEVEL_ALL);  // passes everything until configured
  ASSERT_NE(handler->b.formatter, nullptr);
  EXPECT_STREQ(handler->b.formatter->name, "lumex.defaultFormatter");
  EXPECT_STREQ(handler->b.formatter->objClass->name, "lmx_basicformatter");
  EXPECT_TRUE(LmxIsObjectEnabled(logger));
  char *name = LmxGetObjectName(filter);
  EXPECT_STREQ(name, "flt");
  BasMemoryFree(name);
  EXPECT_EQ(LmxGetObjectName(nullptr), nullptr);
  for (Object *o : {logger, filter, handler}) LmxReleaseObject(o);
}

TEST_F(Objects, HandlerGetsTheDefaultFormatterWhileClosed) {
  test::addTestClasses();
  Object *handler = LmxGetObject("h", "t_handler");
  ASSERT_NE(handler, nullptr);
  ASSERT_NE(handler->b.formatter, nullptr);
  EXPECT_STREQ(handler->b.formatter->name, "lumex.defaultFormatter");
  EXPECT_EQ(handler->b.formatter->references, 2);  // the map and the handler
  LmxReleaseObject(handler);
  // The formatter went with the handler.
  EXPECT_EQ(lmxToolkitGetObjInstance("lumex.defaultFormatter"), nullptr);
}

TEST_F(Objects, LoggingKey) {
  ASSERT_TRUE(open(kFile));
  Object *off = LmxGetObject("off", nullptr);
  EXPECT_FALSE(LmxIsObjectEnabled(off));
  // Applied in order; a value that is none of the four words changes nothing.
  const struct {
    const char *value;
    bool enabled;
  } rows[] = {{"On", true},     {"maybe", true}, {"FALSE", false}, {"", false},
              {"true", true},   {"0", true},     {"off", false},   {"yes", false}};
  for (const auto &row : rows) {
    LmxSetObjProp(off, "logging", row.value);
    EXPECT_EQ(LmxIsObjectEnabled(off), row.enabled) << row.value;
  }
  LmxSetObjectEnabled(off, 1);
  EXPECT_TRUE(LmxIsObjectEnabled(off));
  EXPECT_FALSE(LmxIsObjectEnabled(nullptr));
  LmxReleaseObject(off);
}

TEST_F(Objects, TypedPropertiesReachTheClassAndReadBack) {
  ASSERT_TRUE(open(kFile));
  Object *o = LmxGetObject("app", nullptr);
  seen.keys.clear();
  LmxSetObjPropBool(o, "b", 1);
  LmxSetObjPropInt(o, "i", -42);
  LmxSetObjPropLong(o, "l", INT64_C(1) << 40);
  LmxSetObjPropDouble(o, "d", 2.5);
  LmxSetObjPropFloat(o, "f", 0.25f);
  LmxSetObjProp(o, "t", "text");
  EXPECT_EQ(seen.keys,
            (std::vector<std::string>{"app:b", "app:i", "app:l", "app:d", "app:f", "app:t"}));
  unsigned char found = 0;
  EXPECT_TRUE(LmxGetObjPropBool(o, "b", &found));
  EXPECT_TRUE(found);
  EXPECT_EQ(LmxGetObjPropInt(o, "i", &found), -42);
  EXPECT_EQ(LmxGetObjPropLong(o, "l", &found), INT64_C(1) << 40);
  EXPECT_EQ(LmxGetObjPropDouble(o, "d", &found), 2.5);
  EXPECT_EQ(LmxGetObjPropFloat(o, "f", &found), 0.25f);
  char *t = LmxGetObjProp(o, "t", &found);
  EXPECT_STREQ(t, "text");
  BasMemoryFree(t);
  char *note = LmxGetObjProp(o, "note", &found);  // stored from the configuration
  EXPECT_STREQ(note, "parent");
  BasMemoryFree(note);
  EXPECT_EQ(LmxGetObjProp(o, "absent", &found), nullptr);
  EXPECT_FALSE(found);
  EXPECT_EQ(LmxGetObjPropInt(nullptr, "i", &found), 0);
  EXPECT_FALSE(found);
  // A null object stores nothing and notifies nobody.
  seen.keys.clear();
  LmxSetObjProp(nullptr, "t", "x");
  LmxSetObjPropInt(nullptr, "i", 1);
  EXPECT_TRUE(seen.keys.empty());
  LmxReleaseObject(o);
}

TEST_F(Objects, DescriptionBelongsToTheClass) {
  ASSERT_TRUE(open(kFile));
  Object *a = LmxGetObject("app", nullptr);
  Object *b = LmxGetObject("other", "t_logger");
  EXPECT_EQ(LmxGetObjectDesc(b), nullptr);  // the class has none yet
  LmxSetObjPropInt(a, "descriptionSet", 7);  // a new message with only the set
  ASSERT_NE(b->objClass->description, nullptr);
  EXPECT_EQ(b->objClass->description->set, 7);
  EXPECT_EQ(b->objClass->description->key, 0);
  EXPECT_EQ(b->objClass->description->catalog, nullptr);
  LmxSetObjProp(a, "description", "Writes app records");
  LmxSetObjPropInt(a, "descriptionKey", 12);
  LmxSetObjProp(a, "descriptionFile", "nosuchcat");
  char *text = LmxGetObjectDesc(b);
  EXPECT_STREQ(text, "Writes app records");  // the catalog is missing: its default text
  BasMemoryFree(text);
  EXPECT_EQ(b->objClass->description->key, 12);
  EXPECT_STREQ(b->objClass->description->catalog, "nosuchcat");
  // A built-in class's own description text is replaced.
  Object *f = LmxGetObject("flt", nullptr);
  LmxSetObjProp(f, "description", "mine");
  LmxBasicObjectFCfgChange(f, "description");  // as the filter's own operation does
  Object *g = LmxGetObject("flt2", "lmx_levelfilter");
  EXPECT_STREQ(g->objClass->description->text, "mine");
  for (Object *o : {a, b, f, g}) LmxReleaseObject(o);
}

// A class operation that takes and gives back a reference to the object it
// is configuring must not destroy it half made.
void holdAndLetGo(Object *object, const char *key) {
  test::cfgChange(object, key);
  lmxIntlReleaseObject(lmxIntlAcquireObject(object));
}

TEST_F(Objects, ConfiguringDoesNotDestroyTheNewObject) {
  ASSERT_TRUE(open("busy.note=x\n"));
  LmxAddLoggerClass("t_busy", nullptr, test::allocVars, test::freeVars, holdAndLetGo, nullptr);
  Object *o = LmxGetObject("busy", "t_busy");
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->references, 2);
  EXPECT_EQ(seen.freed, 0);
  LmxReleaseObject(o);
  EXPECT_EQ(seen.freed, 1);
}

}  // namespace
