// StringToStringMap: property names to owned copies of their texts.
#include "collections/map_ops.h"
#include "collections/value_rules.h"

extern "C" {

StringToStringMap *lmxIntlCopyStringToStringMap(const StringToStringMap *map) {
  return reinterpret_cast<StringToStringMap *>(lmx::MapOps<lmx::TextRule>::copy(lmx::chainOf(map)));
}
void lmxIntlFreeStringToStringMap(StringToStringMap *map) {
  lmx::MapOps<lmx::TextRule>::destroy(lmx::chainOf(map));
}
unsigned char lmxIntlStringToStringMapPut(StringToStringMap *map, const char *key,
                                          lmx::TextRule::In value) {
  return lmx::MapOps<lmx::TextRule>::put(lmx::chainOf(map), key, value);
}
lmx::TextRule::Out lmxIntlStringToStringMapGet(const StringToStringMap *map, const char *key) {
  return lmx::MapOps<lmx::TextRule>::get(lmx::chainOf(map), key);
}
void lmxIntlStringToStringMapRem(StringToStringMap *map, const char *key) {
  lmx::MapOps<lmx::TextRule>::remove(lmx::chainOf(map), key);
}
lmx::TextRule::Out lmxIntlStringToStringMapIterGetVal(const LmxLink *entry) {
  return lmx::MapOps<lmx::TextRule>::value(entry);
}
void lmxIntlStringToStringMapRemNode(StringToStringMap *map, LmxLink *entry) {
  lmx::MapOps<lmx::TextRule>::removeEntry(lmx::chainOf(map), entry);
}

StringToStringMap *LmxCopyStringToStringMap(const StringToStringMap *map) {
  return lmx::locked([&] { return lmxIntlCopyStringToStringMap(map); });
}
void LmxFreeStringToStringMap(StringToStringMap *map) {
  lmx::locked([&] { lmxIntlFreeStringToStringMap(map); });
}
unsigned char LmxStringToStringMapPut(StringToStringMap *map, const char *key,
                                      lmx::TextRule::In value) {
  return lmx::locked([&] { return lmxIntlStringToStringMapPut(map, key, value); });
}
lmx::TextRule::Out LmxStringToStringMapGet(const StringToStringMap *map, const char *key) {
  return lmx::locked([&] { return lmxIntlStringToStringMapGet(map, key); });
}
void LmxStringToStringMapRem(StringToStringMap *map, const char *key) {
  lmx::locked([&] { lmxIntlStringToStringMapRem(map, key); });
}
lmx::TextRule::Out LmxStringToStringMapIterGetVal(const LmxLink *entry) {
  return lmx::locked([&] { return lmxIntlStringToStringMapIterGetVal(entry); });
}

}  // extern "C"
