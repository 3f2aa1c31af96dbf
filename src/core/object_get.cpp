// Finding objects by name and making them from their configuration.
#include <cstring>

#include "collections/collections_intl.h"
#include "config/log_mgr.h"
#include "config/obj_cfg.h"
#include "core/api_frame.h"
#include "core/class_registry.h"
#include "core/object.h"
#include "logging/toolkit_report.h"

namespace {

using lmx::MsgKey;

constexpr const char *kDefaultFormatter = "lumex.defaultFormatter";
constexpr const char *kBasicFormatterClass = "lmx_basicformatter";

void report(MsgKey key, const char *a) {
  lmx::reportMsg(LMX_LEVEL_ERROR, key, LMX_PARM_STRING, a);
}
void report(MsgKey key, const char *a, const char *b) {
  lmx::reportMsg(LMX_LEVEL_ERROR, key, LMX_PARM_STRING, a, LMX_PARM_STRING, b);
}
void report(MsgKey key, const char *a, const char *b, const char *c) {
  lmx::reportMsg(LMX_LEVEL_ERROR, key, LMX_PARM_STRING, a, LMX_PARM_STRING, b,
                 LMX_PARM_STRING, c);
}

// The existing object of the name checked against the requested class; the
// map's lookup reference is handed on to the caller or given back.
Object *checkExisting(Object *found, const char *name, const char *className) {
  if (found->objClass == nullptr) {
    report(MsgKey::CorruptObject, name);
    --found->references;  // a classless record is never destroyed here
    return nullptr;
  }
  if (className != nullptr && std::strcmp(className, found->objClass->name) != 0) {
    report(MsgKey::WrongObjectClass, name, found->objClass->name, className);
    lmxIntlReleaseObject(found);
    return nullptr;
  }
  return found;
}

// The class to make `name` of: the one named, else the one its
// configuration names (inherited). Null, reported, when there is none.
ObjClass *classFor(const char *name, const char *className) {
  if (className != nullptr) {
    ObjClass *cls = lmxToolkitGetClassDef(className);
    if (cls == nullptr) report(MsgKey::ClassUndefined, className, name);
    return cls;
  }
  ObjCfg *cfg = lmxIntlLogMgrGetCfg(name);
  unsigned char found = 0;
  char *configured = lmxIntlGetInheritedObjCfgProp(cfg, "className", &found);
  ObjClass *cls = nullptr;
  if (found && configured != nullptr) {
    cls = lmxToolkitGetClassDef(configured);
    if (cls == nullptr) report(MsgKey::ClassUndefined, configured, name);
  } else {
    report(MsgKey::ClassMissing, name);
  }
  lmxIntlReleaseObjCfg(cfg);
  BasMemoryFree(configured);
  return cls;
}

// A new record of the class with the starting values of its kind, not yet
// in the instances map; null (reported) when memory runs out.
Object *makeRecord(ObjClass *cls, const char *name) {
  auto *object = static_cast<Object *>(BasMemoryCalloc(1, sizeof(Object)));
  char *copy = BasStringDup(name);
  if (object == nullptr || copy == nullptr) {
    BasMemoryFree(object);
    BasMemoryFree(copy);
    lmx::reportMsg(LMX_LEVEL_ERROR, MsgKey::OutOfMemory);
    return nullptr;
  }
  object->objClass = cls;
  object->name = copy;
  lmx::setEnabled(object, 1);
  switch (cls->kind) {
    case LMX_KIND_LOGGER:
      lmx::setLevel(object, LMX_LEVEL_DEBUG_MIN);
      break;
    case LMX_KIND_FILTER:
      // A filter passes everything until its configuration sets a level.
      lmx::setLevel(object, LMX_LEVEL_ALL);
      break;
    case LMX_KIND_HANDLER:
      object->b.formatter = lmxIntlGetObject(kDefaultFormatter, kBasicFormatterClass);
      break;
    default:
      break;
  }
  object->vars = cls->allocVars != nullptr ? cls->allocVars() : nullptr;
  return object;
}

}  // namespace

extern "C" {

Object *lmxIntlGetObject(const char *name, const char *className) {
  if (name == nullptr) return nullptr;
  if (Object *found = lmxToolkitGetObjInstance(name)) {
    return checkExisting(found, name, className);
  }
  ObjClass *cls = classFor(name, className);
  if (cls == nullptr) return nullptr;
  Object *object = makeRecord(cls, name);
  if (object == nullptr) return nullptr;
  lmxToolkitAddObjInstance(name, object);
  if (object->references == 0) {
    // The instances map could not take it: taken apart as a release would.
    lmx::reportMsg(LMX_LEVEL_ERROR, MsgKey::OutOfMemory);
    object->references = 2;
    lmxIntlReleaseObject(object);
    return nullptr;
  }
  // The caller's reference is taken before the configuration is applied:
  // a listener or class operation that acquires and gives back the new
  // object while it is being configured must not bring its count to 1.
  lmxIntlAcquireObject(object);
  lmxIntlLogMgrApplyCfg(object, name);
  return object;
}

Object *LmxGetObject(const char *name, const char *className) {
  return lmx::locked([&] { return lmxIntlGetObject(name, className); });
}

}  // extern "C"
