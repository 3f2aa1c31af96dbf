// The object record and its reference counting.
#pragma once

#include <cstdint>

#include "collections/value_rules.h"
#include "lumex/collections.h"
#include "core/obj_class.h"
#include "lumex/core.h"

struct Object {
  ObjClass *objClass;  // not counted; set at creation
  int32_t references;  // including the one held by the instances map
  char *name;          // owned; also the key in the instances map
  unsigned char enabled;
  union {
    int32_t level;              // logger, filter
    ListenerGroup *listeners;   // handler (owned, may be null)
    char *separator;            // formatter (owned, may be null)
  } a;
  union {
    ListenerGroup *listeners;   // logger, filter (owned, may be null)
    Object *formatter;          // handler (counted reference, may be null)
    char *dateTimeFormat;       // formatter (owned, may be null)
  } b;
  StringToStringMap *properties;  // owned, may be null
  void *vars;                     // made by the class's AllocVars
};

extern "C" {
// One more reference; null for null.
LMX_API Object *lmxIntlAcquireObject(Object *object);
// One reference back. When only the instances map's reference remains the
// object is destroyed: taken out of the map, a handler closed, properties,
// listeners and name freed, private variables freed by the class, a
// handler's formatter released or a formatter's texts freed.
LMX_API void lmxIntlReleaseObject(Object *object);

// The object of that name with one reference for the caller, made and
// configured when there is none; null (reported) when it exists with
// another class, or no registered class can be found for it.
LMX_API Object *lmxIntlGetObject(const char *name, const char *className);
LMX_API unsigned char lmxIntlIsObjectEnabled(const Object *object);
LMX_API void lmxIntlSetObjectEnabled(Object *object, unsigned char enabled);

// Properties of an object, as LmxGetMapProp... read them from its map.
LMX_API char *lmxIntlGetObjProp(const Object *object, const char *key, unsigned char *found);
LMX_API unsigned char lmxIntlGetObjPropBool(const Object *object, const char *key,
                                            unsigned char *found);
LMX_API int32_t lmxIntlGetObjPropInt(const Object *object, const char *key,
                                     unsigned char *found);
LMX_API int64_t lmxIntlGetObjPropLong(const Object *object, const char *key,
                                      unsigned char *found);
LMX_API float lmxIntlGetObjPropFloat(const Object *object, const char *key,
                                     unsigned char *found);
LMX_API double lmxIntlGetObjPropDouble(const Object *object, const char *key,
                                       unsigned char *found);
// Stores the text (making the map on first use), then calls the class's
// CfgChange with the key. A null object stores nothing.
LMX_API void lmxIntlSetObjProp(Object *object, const char *key, const char *text);
// Calls the class's CfgChange with the object and key, if it has one.
LMX_API void lmxNotifyObjCfgChange(Object *object, const char *key);

// Tears the instances map down at close: private variables freed first
// (walking again from the head after each), handlers' formatters given
// back, then the map and the objects nobody else holds.
LMX_API void lmxFreeInstancesMap(void);

// The instances map: live objects by name. Add takes a reference (and
// makes the map on first use); Get hands out one more reference; Rem gives
// the map's reference back.
LMX_API void lmxToolkitAddObjInstance(const char *name, Object *object);
LMX_API Object *lmxToolkitGetObjInstance(const char *name);
LMX_API void lmxToolkitRemObjInstance(const char *name);
}

namespace lmx {

// Listener groups and object maps hold counted references.
using ObjectRule = HandleRule<Object, lmxIntlAcquireObject, lmxIntlReleaseObject>;

}  // namespace lmx

namespace lmx {

// The enabled flag and the level are read without the API lock by the
// early level test of the log calls (a dropped call never takes the lock);
// every read and write of them goes through these relaxed atomic accesses.
// The full test is repeated under the lock.
inline unsigned char enabledOf(const Object *object) {
  return __atomic_load_n(&object->enabled, __ATOMIC_RELAXED);
}
inline void setEnabled(Object *object, unsigned char enabled) {
  __atomic_store_n(&object->enabled, enabled, __ATOMIC_RELAXED);
}
// Loggers and filters only.
inline int32_t levelOf(const Object *object) {
  return __atomic_load_n(&object->a.level, __ATOMIC_RELAXED);
}
inline void setLevel(Object *object, int32_t level) {
  __atomic_store_n(&object->a.level, level, __ATOMIC_RELAXED);
}

}  // namespace lmx

namespace lmx {

// Where an object keeps its listener group, by kind; null for formatters.
inline ListenerGroup **listenersOf(Object *object) {
  switch (object->objClass->kind) {
    case LMX_KIND_LOGGER:
    case LMX_KIND_FILTER:
      return &object->b.listeners;
    case LMX_KIND_HANDLER:
      return &object->a.listeners;
    default:
      return nullptr;
  }
}

}  // namespace lmx
