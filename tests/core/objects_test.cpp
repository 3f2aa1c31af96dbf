#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/test_objects.h"

namespace {

using ObjectLifeTest = test::ObjectsTest;

// Destruction after the last release is driven through the public calls by
// the object configuration tests; null objects and objects without a class
// are ignored.
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
    // A Close that takes and gives back references must not start a
    // second destruction.
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
  auto *fresh = static_cast<Object *>(BasMemoryCalloc(1, sizeof(Object)));
  fresh->objClass = &logger_;
  fresh->name = BasStringDup("same");
  fresh->vars = &newGone;
  lmxToolkitAddObjInstance("same", fresh);  // replaces the map's entry
  lmxIntlAcquireObject(fresh);              // the creator's reference
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

}  // namespace
