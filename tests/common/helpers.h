// Events and object properties for the tests.
#pragma once

#include <cstdarg>

#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/lumex.h"

namespace test {

// An INFO event with the text and the tagged parameter list ended by 0.
inline Event *newEvent(const char *text, ...) {
  va_list args;
  va_start(args, text);
  Event *event = LmxVaAllocEvent(LMX_LEVEL_INFO, nullptr, 1, 1, text, args);
  va_end(args);
  return event;
}

// Sets a property of a toolkit object, or (with null) takes it out of the
// configuration and tells the class, as a configuration without it does.
inline void setProp(Object *object, const char *key, const char *value) {
  if (value != nullptr) {
    LmxSetObjProp(object, key, value);
  } else {
    LmxStringToStringMapRem(object->properties, key);
    if (object->objClass->cfgChange != nullptr) object->objClass->cfgChange(object, key);
  }
}

}  // namespace test
