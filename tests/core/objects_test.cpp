#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/test_objects.h"

namespace {

std::vector<std::string> events;  // what the test classes saw, in order

using ObjectLifeTest = test::ObjectsTest;

}  // namespace

TEST_F(ObjectLifeTest, DestroyedWhenOnlyTheInstancesMapHoldsIt) {
  int destroyed = 0;
  Object *o = test::newObject(&logger_, "life", &destroyed);
  EXPECT_EQ(o->references, 2);
  EXPECT_EQ(LmxAcquireObject(o), o);
  LmxReleaseObject(o);
  EXPECT_EQ(destroyed, 0);
  Object *found = lmxToolkitGetObjInstance("life");
  EXPECT_EQ(found, o);
  LmxReleaseObject(found);
  LmxReleaseObject(o);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(lmxToolkitGetObjInstance("life"), nullptr);
  // Null objects and objects without a class are ignored.
  LmxReleaseObject(nullptr);
  Object classless{};
  classless.references = 2;
  lmxIntlReleaseObject(&classless);
  EXPECT_EQ(classless.references, 2);
  EXPECT_EQ(LmxAcquireObject(nullptr), nullptr);
  EXPECT_TRUE(LmxAreObjectsEqual(o, o));
  EXPECT_FALSE(LmxAreObjectsEqual(o, &classless));
}

TEST_F(ObjectLifeTest, HandlerTeardownClosesAndGivesBackWhatItHolds) {
  events.clear();
  handler_.ops.handler.close = [](Object *h) {
    events.push_back(std::string("close ") + h->name);
    // A Close that takes and gives back references must not start a
    // second destruction.
    lmxIntlAcquireObject(h);
    lmxIntlAcquireObject(h);
    lmxIntlReleaseObject(h);
    lmxIntlReleaseObject(h);
  };
  ObjClass formatterClass = test::makeClass(LMX_KIND_FORMATTER);
  int handlerGone = 0, formatterGone = 0, listenerGone = 0;
  Object *formatter = test::newObject(&formatterClass, "fmt", &formatterGone);
  formatter->a.separator = BasStringDup(" | ");
  formatter->b.dateTimeFormat = BasStringDup("%H:%M");
  Object *listener = test::newObject(&logger_, "listener", &listenerGone);
  Object *handler = test::newObject(&handler_, "handler", &handlerGone);
  handler->b.formatter = formatter;  // takes over the caller's reference
  handler->a.listeners = lmxIntlAllocListenerGroup();
  lmxIntlListenerGroupAdd(handler->a.listeners, listener);
  LmxReleaseObject(listener);
  handler->properties = lmxIntlAllocStringToStringMap();
  lmxIntlStringToStringMapPut(handler->properties, "fileName", "x.log");

  LmxReleaseObject(handler);
  EXPECT_EQ(events, (std::vector<std::string>{"close handler"}));
  EXPECT_EQ(handlerGone, 1);
  EXPECT_EQ(listenerGone, 1);
  EXPECT_EQ(formatterGone, 1);
  handler_.ops.handler.close = nullptr;
}

TEST_F(ObjectLifeTest, LoggersOwnTheirListenersInTheSecondField) {
  int loggerGone = 0, handlerGone = 0;
  Object *handler = test::newObject(&handler_, "h", &handlerGone);
  Object *logger = test::newObject(&logger_, "l", &loggerGone);
  logger->a.level = 3000;
  logger->b.listeners = lmxIntlAllocListenerGroup();
  lmxIntlListenerGroupAdd(logger->b.listeners, handler);
  LmxReleaseObject(handler);
  EXPECT_EQ(handlerGone, 0);
  LmxReleaseObject(logger);
  EXPECT_EQ(loggerGone, 1);
  EXPECT_EQ(handlerGone, 1);
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
