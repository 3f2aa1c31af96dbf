// The collections whose values are objects or classes: listener groups,
// the object maps (such as the instances map) and the class map.
#include "collections/map_ops.h"
#include "collections/sequence.h"
#include "core/obj_class.h"
#include "core/object.h"

extern "C" {

void lmxIntlFreeListenerGroup(ListenerGroup *group) {
  lmx::Sequence<lmx::ObjectRule, false>::destroy(group);
}
unsigned char lmxIntlListenerGroupAdd(ListenerGroup *group, lmx::ObjectRule::In item) {
  return lmx::Sequence<lmx::ObjectRule, false>::addOnce(group, item);
}
unsigned char lmxIntlListenerGroupRem(ListenerGroup *group, lmx::ObjectRule::In item) {
  return lmx::Sequence<lmx::ObjectRule, false>::removeFirst(group, item);
}
LmxLink *lmxIntlListenerGroupIterRem(LmxLink *node) {
  return lmx::Sequence<lmx::ObjectRule, false>::removeAndNext(node);
}

void LmxFreeListenerGroup(ListenerGroup *group) {
  lmx::locked([&] { lmxIntlFreeListenerGroup(group); });
}
unsigned char LmxListenerGroupAdd(ListenerGroup *group, lmx::ObjectRule::In item) {
  return lmx::locked([&] { return lmxIntlListenerGroupAdd(group, item); });
}
unsigned char LmxListenerGroupRem(ListenerGroup *group, lmx::ObjectRule::In item) {
  return lmx::locked([&] { return lmxIntlListenerGroupRem(group, item); });
}
LmxLink *LmxListenerGroupIterRem(LmxLink *node) {
  return lmx::locked([&] { return lmxIntlListenerGroupIterRem(node); });
}

StringToObjMap *lmxIntlCopyStringToObjMap(const StringToObjMap *map) {
  return reinterpret_cast<StringToObjMap *>(lmx::MapOps<lmx::ObjectRule>::copy(lmx::chainOf(map)));
}
void lmxIntlFreeStringToObjMap(StringToObjMap *map) {
  lmx::MapOps<lmx::ObjectRule>::destroy(lmx::chainOf(map));
}
unsigned char lmxIntlStringToObjMapPut(StringToObjMap *map, const char *key,
                                       lmx::ObjectRule::In value) {
  return lmx::MapOps<lmx::ObjectRule>::put(lmx::chainOf(map), key, value);
}
lmx::ObjectRule::Out lmxIntlStringToObjMapGet(const StringToObjMap *map, const char *key) {
  return lmx::MapOps<lmx::ObjectRule>::get(lmx::chainOf(map), key);
}
void lmxIntlStringToObjMapRem(StringToObjMap *map, const char *key) {
  lmx::MapOps<lmx::ObjectRule>::remove(lmx::chainOf(map), key);
}
lmx::ObjectRule::Out lmxIntlStringToObjMapIterGetVal(const LmxLink *entry) {
  return lmx::MapOps<lmx::ObjectRule>::value(entry);
}
void lmxIntlStringToObjMapRemNode(StringToObjMap *map, LmxLink *entry) {
  lmx::MapOps<lmx::ObjectRule>::removeEntry(lmx::chainOf(map), entry);
}

StringToObjMap *LmxCopyStringToObjMap(const StringToObjMap *map) {
  return lmx::locked([&] { return lmxIntlCopyStringToObjMap(map); });
}
void LmxFreeStringToObjMap(StringToObjMap *map) {
  lmx::locked([&] { lmxIntlFreeStringToObjMap(map); });
}
unsigned char LmxStringToObjMapPut(StringToObjMap *map, const char *key,
                                   lmx::ObjectRule::In value) {
  return lmx::locked([&] { return lmxIntlStringToObjMapPut(map, key, value); });
}
lmx::ObjectRule::Out LmxStringToObjMapGet(const StringToObjMap *map, const char *key) {
  return lmx::locked([&] { return lmxIntlStringToObjMapGet(map, key); });
}
void LmxStringToObjMapRem(StringToObjMap *map, const char *key) {
  lmx::locked([&] { lmxIntlStringToObjMapRem(map, key); });
}
lmx::ObjectRule::Out LmxStringToObjMapIterGetVal(const LmxLink *entry) {
  return lmx::locked([&] { return lmxIntlStringToObjMapIterGetVal(entry); });
}

StringToObjClassMap *lmxIntlCopyStringToObjClassMap(const StringToObjClassMap *map) {
  return reinterpret_cast<StringToObjClassMap *>(
      lmx::MapOps<lmx::ClassRule>::copy(lmx::chainOf(map)));
}
void lmxIntlFreeStringToObjClassMap(StringToObjClassMap *map) {
  lmx::MapOps<lmx::ClassRule>::destroy(lmx::chainOf(map));
}
unsigned char lmxIntlStringToObjClassMapPut(StringToObjClassMap *map, const char *key,
                                            lmx::ClassRule::In value) {
  return lmx::MapOps<lmx::ClassRule>::put(lmx::chainOf(map), key, value);
}
lmx::ClassRule::Out lmxIntlStringToObjClassMapGet(const StringToObjClassMap *map, const char *key) {
  return lmx::MapOps<lmx::ClassRule>::get(lmx::chainOf(map), key);
}
void lmxIntlStringToObjClassMapRem(StringToObjClassMap *map, const char *key) {
  lmx::MapOps<lmx::ClassRule>::remove(lmx::chainOf(map), key);
}
lmx::ClassRule::Out lmxIntlStringToObjClassMapIterGetVal(const LmxLink *entry) {
  return lmx::MapOps<lmx::ClassRule>::value(entry);
}
void lmxIntlStringToObjClassMapRemNode(StringToObjClassMap *map, LmxLink *entry) {
  lmx::MapOps<lmx::ClassRule>::removeEntry(lmx::chainOf(map), entry);
}

StringToObjClassMap *LmxCopyStringToObjClassMap(const StringToObjClassMap *map) {
  return lmx::locked([&] { return lmxIntlCopyStringToObjClassMap(map); });
}
void LmxFreeStringToObjClassMap(StringToObjClassMap *map) {
  lmx::locked([&] { lmxIntlFreeStringToObjClassMap(map); });
}
unsigned char LmxStringToObjClassMapPut(StringToObjClassMap *map, const char *key,
                                        lmx::ClassRule::In value) {
  return lmx::locked([&] { return lmxIntlStringToObjClassMapPut(map, key, value); });
}
lmx::ClassRule::Out LmxStringToObjClassMapGet(const StringToObjClassMap *map, const char *key) {
  return lmx::locked([&] { return lmxIntlStringToObjClassMapGet(map, key); });
}
void LmxStringToObjClassMapRem(StringToObjClassMap *map, const char *key) {
  lmx::locked([&] { lmxIntlStringToObjClassMapRem(map, key); });
}
lmx::ClassRule::Out LmxStringToObjClassMapIterGetVal(const LmxLink *entry) {
  return lmx::locked([&] { return lmxIntlStringToObjClassMapIterGetVal(entry); });
}

// A new reference to the node's object, which the caller releases.
Object *lmxIntlListenerGroupIterGet(const LmxLink *node) {
  return lmx::Sequence<lmx::ObjectRule, false>::get(node);
}
Object *LmxListenerGroupIterGet(const LmxLink *node) {
  return lmx::locked([&] { return lmxIntlListenerGroupIterGet(node); });
}

// The node of that object (by identity); no lock.
LmxLink *LmxListenerGroupGetLink(const ListenerGroup *group, const Object *object) {
  return lmx::Sequence<lmx::ObjectRule, false>::find(group, object);
}

}  // extern "C"
