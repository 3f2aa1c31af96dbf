// Event properties: texts in the event's map, typed through the map
// property converters. A null event passes a null map: nothing is found and
// nothing is stored.
#include "lumex/config.h"
#include "collections/collections_intl.h"
#include "logging/event.h"

namespace {
StringToStringMap *mapOf(const Event *event) {
  return event != nullptr ? event->properties : nullptr;
}
}  // namespace

extern "C" {

StringToStringMap *lmxFetchEventPropMap(Event *event) {
  if (event == nullptr) return nullptr;
  if (event->properties == nullptr) event->properties = lmxIntlAllocStringToStringMap();
  return event->properties;
}

char *LmxGetEventProp(const Event *event, const char *key, unsigned char *found) {
  return LmxGetMapProp(mapOf(event), key, found);
}
unsigned char LmxGetEventPropBool(const Event *event, const char *key, unsigned char *found) {
  return LmxGetMapPropBool(mapOf(event), key, found);
}
int32_t LmxGetEventPropInt(const Event *event, const char *key, unsigned char *found) {
  return LmxGetMapPropInt(mapOf(event), key, found);
}
int64_t LmxGetEventPropLong(const Event *event, const char *key, unsigned char *found) {
  return LmxGetMapPropLong(mapOf(event), key, found);
}
float LmxGetEventPropFloat(const Event *event, const char *key, unsigned char *found) {
  return LmxGetMapPropFloat(mapOf(event), key, found);
}
double LmxGetEventPropDouble(const Event *event, const char *key, unsigned char *found) {
  return LmxGetMapPropDouble(mapOf(event), key, found);
}

unsigned char LmxSetEventProp(Event *event, const char *key, const char *text) {
  return LmxSetMapProp(lmxFetchEventPropMap(event), key, text);
}
void LmxSetEventPropBool(Event *event, const char *key, unsigned char value) {
  LmxSetMapPropBool(lmxFetchEventPropMap(event), key, value);
}
void LmxSetEventPropInt(Event *event, const char *key, int32_t value) {
  LmxSetMapPropInt(lmxFetchEventPropMap(event), key, value);
}
void LmxSetEventPropLong(Event *event, const char *key, int32_t value) {
  LmxSetMapPropLong(lmxFetchEventPropMap(event), key, static_cast<int64_t>(value));
}
void LmxSetEventPropFloat(Event *event, const char *key, float value) {
  LmxSetMapPropFloat(lmxFetchEventPropMap(event), key, value);
}
void LmxSetEventPropDouble(Event *event, const char *key, double value) {
  LmxSetMapPropDouble(lmxFetchEventPropMap(event), key, value);
}

}  // extern "C"
