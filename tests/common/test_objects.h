// Objects made by hand (as object creation makes them) in the instances map,
// of a class whose FreeVars counts how often each object is destroyed.
#pragma once

#include <gtest/gtest.h>

#include "collections/collections_intl.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "core/toolkit_state.h"

namespace test {

inline void countDestruction(void *vars) { ++*static_cast<int *>(vars); }

inline ObjClass makeClass(int32_t kind) {
  ObjClass cls{};
  cls.kind = kind;
  cls.name = const_cast<char *>("test_class");
  cls.freeVars = countDestruction;
  return cls;
}

// A live object with one reference for the caller (two in all, with the
// instances map's). *destroyed counts its destruction.
inline Object *newObject(ObjClass *cls, const char *name, int *destroyed) {
  auto *object = static_cast<Object *>(BasMemoryCalloc(1, sizeof(Object)));
  object->objClass = cls;
  object->name = BasStringDup(name);
  object->enabled = 1;
  object->vars = destroyed;
  lmxToolkitAddObjInstance(name, object);
  return lmxIntlAcquireObject(object);
}

// Drops the instances map after a test; every object must be gone by then.
class ObjectsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    StringToObjMap *&instances = lmx::toolkitState().instances;
    EXPECT_EQ(lmxIntlStringToObjMapIterator(instances), nullptr) << "an object was left alive";
    lmxIntlFreeStringToObjMap(instances);
    instances = nullptr;
  }
  ObjClass logger_ = makeClass(LMX_KIND_LOGGER);
  ObjClass handler_ = makeClass(LMX_KIND_HANDLER);
};

}  // namespace test
