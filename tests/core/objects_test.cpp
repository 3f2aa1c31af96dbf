// Class registration (built-in order, defaults, duplicates, unknown kinds)
// and the life of objects made by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/test_objects.h"
#include "../common/texts.h"
#include "core/class_registry.h"
#include "messages/i18msg.h"

namespace {

using ObjectLifeTest = test::ObjectsTest;

TEST(ObjectLife, NullAndClasslessObjectsAreIgnored) {
  LmxReleaseObject(nullptr);
  EXPECT_EQ(LmxAcquireObject(nullptr), nullptr);
  Object classless{};
  classless.references = 2;
  lmxIntlReleaseObject(&classless);
  EXPECT_EQ(classless.references, 2);
}

std::vector<std::string> closes;

// A logger lists a handler (in its second field), which lists a listener
// (in its first) and holds a formatter: each goes with the one holding it.
TEST_F(ObjectLifeTest, TeardownClosesHandlersAndGivesBackWhatEachHolds) {
  closes.clear();
  handler_.ops.handler.close = [](Object *h) {
    closes.push_back(h->name);
    // Taking and giving back references in Close must not start a second destruction.
    lmxIntlAcquireObject(h);
    lmxIntlAcquireObject(h);
    lmxIntlReleaseObject(h);
    lmxIntlReleaseObject(h);
  };
  ObjClass formatterClass = test::makeClass(LMX_KIND_FORMATTER);
  int gone[4] = {0, 0, 0, 0};
  Object *formatter = test::newObject(&formatterClass, "fmt", &gone[0]);
  formatter->a.separator = BasStringDup(" | ");
  formatter->b.dateTimeFormat = BasStringDup("%H:%M");
  Object *listener = test::newObject(&logger_, "listener", &gone[1]);
  Object *handler = test::newObject(&handler_, "handler", &gone[2]);
  Object *logger = test::newObject(&logger_, "logger", &gone[3]);
  handler->b.formatter = formatter;  // takes over the caller's reference
  handler->a.listeners = lmxIntlAllocListenerGroup();
  lmxIntlListenerGroupAdd(handler->a.listeners, listener);
  handler->properties = lmxIntlAllocStringToStringMap();
  lmxIntlStringToStringMapPut(handler->properties, "fileName", "x.log");
  logger->a.level = 3000;
  logger->b.listeners = lmxIntlAllocListenerGroup();
  lmxIntlListenerGroupAdd(logger->b.listeners, handler);
  LmxReleaseObject(listener);
  LmxReleaseObject(handler);
  EXPECT_EQ(gone[1] + gone[2], 0);
  LmxReleaseObject(logger);
  EXPECT_EQ(closes, std::vector<std::string>{"handler"});
  for (int g : gone) EXPECT_EQ(g, 1);
  handler_.ops.handler.close = nullptr;
}

TEST_F(ObjectLifeTest, ReplacingAnInstanceDoesNotLetTheOldOneRemoveTheNew) {
  int oldGone = 0, newGone = 0;
  Object *old = test::newObject(&logger_, "same", &oldGone);
  LmxAcquireObject(old);  // the caller holds two references
  Object *fresh = test::newObject(&logger_, "same", &newGone);  // replaces the map's entry
  EXPECT_EQ(old->references, 2);
  LmxReleaseObject(old);
  // Destroyed at 1, as always; its teardown must leave the new entry alone.
  EXPECT_EQ(oldGone, 1);
  Object *found = lmxToolkitGetObjInstance("same");
  EXPECT_EQ(found, fresh);
  LmxReleaseObject(found);
  EXPECT_EQ(newGone, 0);
  LmxReleaseObject(fresh);
  EXPECT_EQ(newGone, 1);
}

std::vector<std::string> names(LmxLink *node) {
  std::vector<std::string> out;
  for (; node != nullptr; node = lmxIntlStringGroupIterNext(node)) {
    out.push_back(test::take(lmxIntlStringGroupIterGet(node)));
  }
  return out;
}

void myProcess(Object *, Event *) {}

struct Registry : ::testing::Test {
  void TearDown() override { lmx::freeClassRegistry(); }
};

TEST_F(Registry, FirstAddRegistersBuiltinsInOrderThenTheNewClass) {
  LmxAddHandlerClass("app_handler", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  const struct { int32_t kind; std::vector<std::string> expected; } rows[] = {
      {LMX_KIND_LOGGER, {"lmx_basiclogger", "lmx_pdlogger"}},
      {LMX_KIND_FILTER, {"lmx_levelfilter"}},
      {LMX_KIND_HANDLER, {"lmx_consolehandler", "lmx_filehandler", "lmx_multiproc_filehandler",
                          "lmx_sysloghandler", "app_handler"}},
      {LMX_KIND_FORMATTER, {"lmx_basicformatter", "lmx_xmlformatter"}}, {105, {}}, {100, {}}};
  for (const auto &row : rows) {
    EXPECT_EQ(names(lmxToolkitFetchClassnames(row.kind)), row.expected) << row.kind;
  }
  EXPECT_EQ(names(LmxGetFilterClasses()), rows[1].expected);
}

TEST_F(Registry, NullSlotsTakeDefaultsAndSecondNameIsIgnored) {
  LmxAddHandlerClass("h", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  LmxAddHandlerClass("h", nullptr, nullptr, nullptr, nullptr, myProcess, nullptr, nullptr);
  LmxAddHandlerClass(nullptr, nullptr, nullptr, nullptr, nullptr, myProcess, nullptr, nullptr);
  ObjClass *cls = lmxToolkitGetClassDef("h");
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->ops.handler.process, &LmxBasicHandlerFProcess);
  EXPECT_EQ(cls->ops.handler.open, &LmxBasicHandlerFOpen);
  EXPECT_EQ(cls->ops.handler.close, &LmxBasicHandlerFClose);
  EXPECT_EQ(cls->allocVars, nullptr);
  EXPECT_EQ(cls->freeVars, nullptr);
  EXPECT_EQ(cls->cfgChange, nullptr);
  EXPECT_EQ(cls->description, nullptr);
  EXPECT_EQ(names(LmxGetHandlerClasses()).size(), 5u);
}

TEST_F(Registry, DescriptionsAreCopiesAndBuiltinsCarryTheirKeys) {
  I18Msg *desc = lmxIntlAllocI18Msg(nullptr, 1, 7, "mine");
  LmxAddFormatterClass("f", desc, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  lmxIntlFreeI18Msg(desc);
  ObjClass *f = lmxToolkitGetClassDef("f");
  ASSERT_NE(f, nullptr);
  ASSERT_NE(f->description, nullptr);
  EXPECT_STREQ(f->description->text, "mine");
  EXPECT_EQ(f->ops.formatter.bindMsg, &lmxIntlBindI18Msg);
  EXPECT_EQ(f->ops.formatter.getHeader, &LmxBasicFormatterFGetHeader);
  const struct { const char *name; int32_t key; } rows[] = {  // key -1: no description
      {"lmx_basiclogger", 100}, {"lmx_levelfilter", 110}, {"lmx_filehandler", 121},
      {"lmx_multiproc_filehandler", -1}, {"lmx_xmlformatter", 131}};
  for (const auto &row : rows) {
    ObjClass *cls = lmxToolkitGetClassDef(row.name);
    ASSERT_NE(cls, nullptr) << row.name;
    EXPECT_EQ(cls->description ? cls->description->key : -1, row.key) << row.name;
  }
  EXPECT_EQ(lmxToolkitGetClassDef("nope"), nullptr);
}

}  // namespace
