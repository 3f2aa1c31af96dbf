// An object's name, description, enabled flag and properties.
#include "collections/collections_intl.h"
#include "core/api_frame.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/config.h"
#include "messages/i18msg.h"

namespace {

const StringToStringMap *mapOf(const Object *object) {
  return object != nullptr ? object->properties : nullptr;
}

// The object's property map, made on first use; null for a null object or
// when memory runs out.
StringToStringMap *fetchMap(Object *object) {
  if (object == nullptr) return nullptr;
  if (object->properties == nullptr) object->properties = lmxIntlAllocStringToStringMap();
  return object->properties;
}

// Stores one typed value with the map's setter, then tells the class.
template <typename T, typename Setter>
void setTyped(Object *object, const char *key, T value, Setter set) {
  if (object == nullptr || key == nullptr) return;
  StringToStringMap *map = fetchMap(object);
  if (map == nullptr) return;
  set(map, key, value);
  lmxNotifyObjCfgChange(object, key);
}

}  // namespace

extern "C" {

unsigned char lmxIntlIsObjectEnabled(const Object *object) {
  return object != nullptr ? lmx::enabledOf(object) : 0;
}
void lmxIntlSetObjectEnabled(Object *object, unsigned char enabled) {
  if (object != nullptr) lmx::setEnabled(object, enabled ? 1 : 0);
}

char *lmxIntlGetObjProp(const Object *object, const char *key, unsigned char *found) {
  return LmxGetMapProp(mapOf(object), key, found);
}
unsigned char lmxIntlGetObjPropBool(const Object *object, const char *key, unsigned char *found) {
  return LmxGetMapPropBool(mapOf(object), key, found);
}
int32_t lmxIntlGetObjPropInt(const Object *object, const char *key, unsigned char *found) {
  return LmxGetMapPropInt(mapOf(object), key, found);
}
int64_t lmxIntlGetObjPropLong(const Object *object, const char *key, unsigned char *found) {
  return LmxGetMapPropLong(mapOf(object), key, found);
}
float lmxIntlGetObjPropFloat(const Object *object, const char *key, unsigned char *found) {
  return LmxGetMapPropFloat(mapOf(object), key, found);
}
double lmxIntlGetObjPropDouble(const Object *object, const char *key, unsigned char *found) {
  return LmxGetMapPropDouble(mapOf(object), key, found);
}

void lmxNotifyObjCfgChange(Object *object, const char *key) {
  if (object == nullptr || object->objClass == nullptr) return;
  if (object->objClass->cfgChange != nullptr) object->objClass->cfgChange(object, key);
}

void lmxIntlSetObjProp(Object *object, const char *key, const char *text) {
  setTyped(object, key, text, LmxSetMapProp);
}

char *LmxGetObjectName(const Object *object) {
  if (object == nullptr) return nullptr;
  return lmx::locked([&] { return BasStringDup(object->name); });
}

char *LmxGetObjectDesc(const Object *object) {
  if (object == nullptr) return nullptr;
  return lmx::locked([&]() -> char * {
    if (object->objClass == nullptr || object->objClass->description == nullptr) return nullptr;
    return lmxIntlBindI18Msg(object->objClass->description);
  });
}

unsigned char LmxIsObjectEnabled(const Object *object) {
  return lmx::locked([&] { return lmxIntlIsObjectEnabled(object); });
}
void LmxSetObjectEnabled(Object *object, unsigned char enabled) {
  lmx::locked([&] { lmxIntlSetObjectEnabled(object, enabled); });
}

char *LmxGetObjProp(const Object *object, const char *key, unsigned char *found) {
  return lmx::locked([&] { return lmxIntlGetObjProp(object, key, found); });
}
unsigned char LmxGetObjPropBool(const Object *object, const char *key, unsigned char *found) {
  return lmx::locked([&] { return lmxIntlGetObjPropBool(object, key, found); });
}
int32_t LmxGetObjPropInt(const Object *object, const char *key, unsigned char *found) {
  return lmx::locked([&] { return lmxIntlGetObjPropInt(object, key, found); });
}
int64_t LmxGetObjPropLong(const Object *object, const char *key, unsigned char *found) {
  return lmx::locked([&] { return lmxIntlGetObjPropLong(object, key, found); });
}
float LmxGetObjPropFloat(const Object *object, const char *key, unsigned char *found) {
  return lmx::locked([&] { return lmxIntlGetObjPropFloat(object, key, found); });
}
double LmxGetObjPropDouble(const Object *object, const char *key, unsigned char *found) {
  return lmx::locked([&] { return lmxIntlGetObjPropDouble(object, key, found); });
}

void LmxSetObjProp(Object *object, const char *key, const char *text) {
  lmx::locked([&] { lmxIntlSetObjProp(object, key, text); });
}
void LmxSetObjPropBool(Object *object, const char *key, unsigned char value) {
  lmx::locked([&] { setTyped(object, key, value, LmxSetMapPropBool); });
}
void LmxSetObjPropInt(Object *object, const char *key, int32_t value) {
  lmx::locked([&] { setTyped(object, key, value, LmxSetMapPropInt); });
}
void LmxSetObjPropLong(Object *object, const char *key, int64_t value) {
  lmx::locked([&] { setTyped(object, key, value, LmxSetMapPropLong); });
}
void LmxSetObjPropFloat(Object *object, const char *key, float value) {
  lmx::locked([&] { setTyped(object, key, value, LmxSetMapPropFloat); });
}
void LmxSetObjPropDouble(Object *object, const char *key, double value) {
  lmx::locked([&] { setTyped(object, key, value, LmxSetMapPropDouble); });
}

}  // extern "C"
