// StringToObjCfgMap: configuration names to counted configurations.
#include "collections/map_ops.h"
#include "config/obj_cfg.h"

extern "C" {

StringToObjCfgMap *lmxIntlCopyStringToObjCfgMap(const StringToObjCfgMap *map) {
  return reinterpret_cast<StringToObjCfgMap *>(lmx::MapOps<lmx::CfgRule>::copy(lmx::chainOf(map)));
}
void lmxIntlFreeStringToObjCfgMap(StringToObjCfgMap *map) {
  lmx::MapOps<lmx::CfgRule>::destroy(lmx::chainOf(map));
}
unsigned char lmxIntlStringToObjCfgMapPut(StringToObjCfgMap *map, const char *key,
                                          lmx::CfgRule::In value) {
  return lmx::MapOps<lmx::CfgRule>::put(lmx::chainOf(map), key, value);
}
lmx::CfgRule::Out lmxIntlStringToObjCfgMapGet(const StringToObjCfgMap *map, const char *key) {
  return lmx::MapOps<lmx::CfgRule>::get(lmx::chainOf(map), key);
}
void lmxIntlStringToObjCfgMapRem(StringToObjCfgMap *map, const char *key) {
  lmx::MapOps<lmx::CfgRule>::remove(lmx::chainOf(map), key);
}
lmx::CfgRule::Out lmxIntlStringToObjCfgMapIterGetVal(const LmxLink *entry) {
  return lmx::MapOps<lmx::CfgRule>::value(entry);
}
void lmxIntlStringToObjCfgMapRemNode(StringToObjCfgMap *map, LmxLink *entry) {
  lmx::MapOps<lmx::CfgRule>::removeEntry(lmx::chainOf(map), entry);
}

StringToObjCfgMap *LmxCopyStringToObjCfgMap(const StringToObjCfgMap *map) {
  return lmx::locked([&] { return lmxIntlCopyStringToObjCfgMap(map); });
}
void LmxFreeStringToObjCfgMap(StringToObjCfgMap *map) {
  lmx::locked([&] { lmxIntlFreeStringToObjCfgMap(map); });
}
unsigned char LmxStringToObjCfgMapPut(StringToObjCfgMap *map, const char *key,
                                      lmx::CfgRule::In value) {
  return lmx::locked([&] { return lmxIntlStringToObjCfgMapPut(map, key, value); });
}
lmx::CfgRule::Out LmxStringToObjCfgMapGet(const StringToObjCfgMap *map, const char *key) {
  return lmx::locked([&] { return lmxIntlStringToObjCfgMapGet(map, key); });
}
void LmxStringToObjCfgMapRem(StringToObjCfgMap *map, const char *key) {
  lmx::locked([&] { lmxIntlStringToObjCfgMapRem(map, key); });
}
lmx::CfgRule::Out LmxStringToObjCfgMapIterGetVal(const LmxLink *entry) {
  return lmx::locked([&] { return lmxIntlStringToObjCfgMapIterGetVal(entry); });
}

}  // extern "C"
