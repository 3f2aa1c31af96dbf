// Reference counting and destruction of objects.
#include <climits>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "core/api_frame.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "core/toolkit_state.h"

namespace {

// While an object is being torn down its count stays far from 1, so that
// class operations run during the teardown (a handler's Close) may take and
// give back references without starting a second destruction.
constexpr int32_t kBeingDestroyed = INT32_MIN / 2;

void destroy(Object *object) {
  ObjClass *cls = object->objClass;
  // Out of the instances map, which gives back its reference. Only the
  // entry that really is this object is removed.
  StringToObjMap *instances = lmx::toolkitState().instances;
  LmxLink *entry = lmxIntlStringToObjMapGetNode(instances, object->name);
  if (entry != nullptr && lmx::mapEntry(entry)->value == object) {
    lmxIntlStringToObjMapRemNode(instances, entry);
  }
  object->references = kBeingDestroyed;

  if (cls->kind == LMX_KIND_HANDLER && cls->ops.handler.close != nullptr) {
    cls->ops.handler.close(object);
  }
  StringToStringMap *properties = object->properties;
  object->properties = nullptr;
  lmxIntlFreeStringToStringMap(properties);
  if (ListenerGroup **listeners = lmx::listenersOf(object)) {
    ListenerGroup *group = *listeners;
    *listeners = nullptr;
    lmxIntlFreeListenerGroup(group);
  }
  BasMemoryFree(object->name);
  object->name = nullptr;
  // Variables already freed when the toolkit closed are not freed again.
  if (cls->freeVars != nullptr && object->vars != nullptr) cls->freeVars(object->vars);
  object->vars = nullptr;
  if (cls->kind == LMX_KIND_HANDLER) {
    Object *formatter = object->b.formatter;
    object->b.formatter = nullptr;
    lmxIntlReleaseObject(formatter);
  } else if (cls->kind == LMX_KIND_FORMATTER) {
    BasMemoryFree(object->a.separator);
    BasMemoryFree(object->b.dateTimeFormat);
  }
  BasMemoryFree(object);
}

}  // namespace

extern "C" {

Object *lmxIntlAcquireObject(Object *object) {
  if (object != nullptr) ++object->references;
  return object;
}

void lmxIntlReleaseObject(Object *object) {
  if (object == nullptr || object->objClass == nullptr) return;
  if (--object->references == 1) destroy(object);
}

Object *LmxAcquireObject(Object *object) { LMX_LOCKED(lmxIntlAcquireObject(object)); }
void LmxReleaseObject(Object *object) { LMX_LOCKED(lmxIntlReleaseObject(object)); }

unsigned char LmxAreObjectsEqual(const Object *a, const Object *b) { return a == b; }

void lmxToolkitAddObjInstance(const char *name, Object *object) {
  lmx::ToolkitState &state = lmx::toolkitState();
  if (state.instances == nullptr) state.instances = lmxIntlAllocStringToObjMap();
  lmxIntlStringToObjMapPut(state.instances, name, object);
}

Object *lmxToolkitGetObjInstance(const char *name) {
  return lmxIntlStringToObjMapGet(lmx::toolkitState().instances, name);
}

void lmxToolkitRemObjInstance(const char *name) {
  lmxIntlStringToObjMapRem(lmx::toolkitState().instances, name);
}

}  // extern "C"
