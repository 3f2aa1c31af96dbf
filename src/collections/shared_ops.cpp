// Operations that every list, group and map shares. Each is one function,
// exported under the name of every type it serves: the first name below
// is the definition, the others are aliases of the same code.
#include <cstdlib>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "collections/map_ops.h"
#include "core/api_frame.h"

// Declares `decl` as another name of the function `target`, defined in
// this file. (GCC wants the alias to carry the nothrow it infers for the
// target; clang treats nothrow as an exception specification instead.)
#if defined(__clang__)
#define LMX_SAME_AS(target) __attribute__((alias(#target)))
#else
#define LMX_SAME_AS(target) __attribute__((alias(#target), nothrow))
#endif

extern "C" {

// --- Allocation: lists, and groups and maps --------------------------------

StringList *lmxIntlAllocStringList(void) {
  return static_cast<StringList *>(BasMemoryCalloc(1, sizeof(lmx::ListHeader)));
}
ParmList *lmxIntlAllocParmList(void) LMX_SAME_AS(lmxIntlAllocStringList);
StringList *LmxAllocStringList(void) { LMX_LOCKED(lmxIntlAllocStringList()); }
ParmList *LmxAllocParmList(void) LMX_SAME_AS(LmxAllocStringList);

// An empty group and an empty map are the same header.
StringGroup *lmxIntlAllocStringGroup(void) {
  return static_cast<StringGroup *>(BasMemoryCalloc(1, sizeof(lmx::Chain)));
}
ListenerGroup *lmxIntlAllocListenerGroup(void) LMX_SAME_AS(lmxIntlAllocStringGroup);
StringToObjMap *lmxIntlAllocStringToObjMap(void) LMX_SAME_AS(lmxIntlAllocStringGroup);
StringToObjCfgMap *lmxIntlAllocStringToObjCfgMap(void) LMX_SAME_AS(lmxIntlAllocStringGroup);
StringToObjClassMap *lmxIntlAllocStringToObjClassMap(void) LMX_SAME_AS(lmxIntlAllocStringGroup);
StringToStringMap *lmxIntlAllocStringToStringMap(void) LMX_SAME_AS(lmxIntlAllocStringGroup);

StringGroup *LmxAllocStringGroup(void) { LMX_LOCKED(lmxIntlAllocStringGroup()); }
ListenerGroup *LmxAllocListenerGroup(void) LMX_SAME_AS(LmxAllocStringGroup);
StringToObjMap *LmxAllocStringToObjMap(void) LMX_SAME_AS(LmxAllocStringGroup);
StringToObjCfgMap *LmxAllocStringToObjCfgMap(void) LMX_SAME_AS(LmxAllocStringGroup);
StringToObjClassMap *LmxAllocStringToObjClassMap(void) LMX_SAME_AS(LmxAllocStringGroup);
StringToStringMap *LmxAllocStringToStringMap(void) LMX_SAME_AS(LmxAllocStringGroup);

// --- Start and step: the first link field of a header or a node ------------

LmxLink *lmxIntlStringListIterNext(const LmxLink *at) {
  return at != nullptr ? *reinterpret_cast<LmxLink *const *>(at) : nullptr;
}
LmxLink *LmxStringListIterNext(const LmxLink *at) { LMX_LOCKED(lmxIntlStringListIterNext(at)); }

#define LMX_START_AND_STEP(Type)                                               \
  LmxLink *lmxIntl##Type##Iterator(const Type *) LMX_SAME_AS(lmxIntlStringListIterNext); \
  LmxLink *Lmx##Type##Iterator(const Type *) LMX_SAME_AS(LmxStringListIterNext);
#define LMX_STEP(Type)                                                         \
  LmxLink *lmxIntl##Type##IterNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterNext); \
  LmxLink *Lmx##Type##IterNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterNext);

LMX_START_AND_STEP(StringList)
LMX_START_AND_STEP(ParmList)
LMX_START_AND_STEP(StringGroup)
LMX_START_AND_STEP(ListenerGroup)
LMX_START_AND_STEP(StringToObjMap)
LMX_START_AND_STEP(StringToObjCfgMap)
LMX_START_AND_STEP(StringToObjClassMap)
LMX_START_AND_STEP(StringToStringMap)
LMX_STEP(ParmList)
LMX_STEP(StringGroup)
LMX_STEP(ListenerGroup)
LMX_STEP(StringToObjMap)
LMX_STEP(StringToObjCfgMap)
LMX_STEP(StringToObjClassMap)
LMX_STEP(StringToStringMap)

// --- Whether the walk still stands on a node --------------------------------

unsigned char lmxIntlStringListIterHasNext(const LmxLink *at) { return at != nullptr; }
unsigned char LmxStringListIterHasNext(const LmxLink *at) {
  LMX_LOCKED(lmxIntlStringListIterHasNext(at));
}

#define LMX_HAS_NEXT(Type)                                                            \
  unsigned char lmxIntl##Type##IterHasNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterHasNext); \
  unsigned char Lmx##Type##IterHasNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterHasNext);

LMX_HAS_NEXT(ParmList)
LMX_HAS_NEXT(StringGroup)
LMX_HAS_NEXT(ListenerGroup)
LMX_HAS_NEXT(StringToObjMap)
LMX_HAS_NEXT(StringToObjCfgMap)
LMX_HAS_NEXT(StringToObjClassMap)
LMX_HAS_NEXT(StringToStringMap)

// --- A copy of the text in the third field: list and group items, map keys -

char *lmxIntlStringListIterGet(const LmxLink *at) {
  return at != nullptr ? BasStringDup(static_cast<const char *>(at->item)) : nullptr;
}
char *LmxStringListIterGet(const LmxLink *at) { LMX_LOCKED(lmxIntlStringListIterGet(at)); }
char *lmxIntlStringGroupIterGet(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterGet);
char *LmxStringGroupIterGet(const LmxLink *) LMX_SAME_AS(LmxStringListIterGet);

#define LMX_GET_KEY(Map)                                                              \
  char *lmxIntl##Map##IterGetKey(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterGet); \
  char *Lmx##Map##IterGetKey(const LmxLink *) LMX_SAME_AS(LmxStringListIterGet);

LMX_GET_KEY(StringToObjMap)
LMX_GET_KEY(StringToObjCfgMap)
LMX_GET_KEY(StringToObjClassMap)
LMX_GET_KEY(StringToStringMap)

// --- The node of a text (no lock): list and group GetLink, map GetNode -----

LmxLink *LmxStringListGetLink(const StringList *list, const char *text) {
  return lmx::findText(lmx::chainOf(list), text);
}
LmxLink *LmxStringGroupGetLink(const StringGroup *, const char *) LMX_SAME_AS(LmxStringListGetLink);
LmxLink *lmxIntlStringToObjMapGetNode(const StringToObjMap *, const char *)
    LMX_SAME_AS(LmxStringListGetLink);
LmxLink *lmxIntlStringToObjCfgMapGetNode(const StringToObjCfgMap *, const char *)
    LMX_SAME_AS(LmxStringListGetLink);
LmxLink *lmxIntlStringToObjClassMapGetNode(const StringToObjClassMap *, const char *)
    LMX_SAME_AS(LmxStringListGetLink);
LmxLink *lmxIntlStringToStringMapGetNode(const StringToStringMap *, const char *)
    LMX_SAME_AS(LmxStringListGetLink);

// --- Whether a map holds a key ---------------------------------------------

unsigned char lmxIntlStringToStringMapHasKey(const StringToStringMap *map, const char *key) {
  return lmx::findText(lmx::chainOf(map), key) != nullptr;
}
unsigned char LmxStringToStringMapHasKey(const StringToStringMap *map, const char *key) {
  LMX_LOCKED(lmxIntlStringToStringMapHasKey(map, key));
}

#define LMX_HAS_KEY(Map)                                                               \
  unsigned char lmxIntl##Map##HasKey(const Map *, const char *) LMX_SAME_AS(lmxIntlStringToStringMapHasKey); \
  unsigned char Lmx##Map##HasKey(const Map *, const char *) LMX_SAME_AS(LmxStringToStringMapHasKey);

LMX_HAS_KEY(StringToObjMap)
LMX_HAS_KEY(StringToObjCfgMap)
LMX_HAS_KEY(StringToObjClassMap)

// --- Lists by index, and sorting (items move, nodes stay) -------------------

const char *LmxStringListGetIndex(const StringList *list, int32_t index) {
  if (list == nullptr || index < 0) return nullptr;
  for (LmxLink *l = lmx::chainOf(list)->head; l != nullptr; l = l->next, --index) {
    if (index == 0) return static_cast<const char *>(l->item);
  }
  return nullptr;
}
const Parm *LmxParmListGetIndex(const ParmList *, int32_t) LMX_SAME_AS(LmxStringListGetIndex);

// The comparison receives references to two item references and runs with
// the API lock held. Not stable.
void LmxSortStringList(StringList *list, LmxItemCompare compare) {
  lmx::locked([&] {
    if (list == nullptr || compare == nullptr) return;
    auto *header = reinterpret_cast<lmx::ListHeader *>(list);
    if (header->count <= 0 || static_cast<uint64_t>(header->count) > UINT32_MAX / sizeof(void *)) {
      return;
    }
    auto **items = static_cast<void **>(
        BasMemoryMalloc(static_cast<uint32_t>(header->count) * sizeof(void *)));
    if (items == nullptr) return;
    int32_t n = 0;
    for (LmxLink *l = header->chain.head; l != nullptr && n < header->count; l = l->next) {
      items[n++] = l->item;
    }
    std::qsort(items, static_cast<size_t>(n), sizeof(void *), compare);
    n = 0;
    for (LmxLink *l = header->chain.head; l != nullptr && n < header->count; l = l->next) {
      l->item = items[n++];
    }
    BasMemoryFree(items);
  });
}
void LmxSortParmList(ParmList *, LmxItemCompare) LMX_SAME_AS(LmxSortStringList);

}  // extern "C"
