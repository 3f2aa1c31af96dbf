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
StringList *LmxAllocStringList(void) {
  return lmx::locked([&] { return lmxIntlAllocStringList(); });
}
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

StringGroup *LmxAllocStringGroup(void) {
  return lmx::locked([&] { return lmxIntlAllocStringGroup(); });
}
ListenerGroup *LmxAllocListenerGroup(void) LMX_SAME_AS(LmxAllocStringGroup);
StringToObjMap *LmxAllocStringToObjMap(void) LMX_SAME_AS(LmxAllocStringGroup);
StringToObjCfgMap *LmxAllocStringToObjCfgMap(void) LMX_SAME_AS(LmxAllocStringGroup);
StringToObjClassMap *LmxAllocStringToObjClassMap(void) LMX_SAME_AS(LmxAllocStringGroup);
StringToStringMap *LmxAllocStringToStringMap(void) LMX_SAME_AS(LmxAllocStringGroup);

// --- Start and step: the first link field of a header or a node ------------

LmxLink *lmxIntlStringListIterNext(const LmxLink *at) {
  return at != nullptr ? *reinterpret_cast<LmxLink *const *>(at) : nullptr;
}
LmxLink *LmxStringListIterNext(const LmxLink *at) {
  return lmx::locked([&] { return lmxIntlStringListIterNext(at); });
}

LmxLink *lmxIntlStringListIterator(const StringList *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringListIterator(const StringList *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlParmListIterator(const ParmList *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxParmListIterator(const ParmList *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringGroupIterator(const StringGroup *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringGroupIterator(const StringGroup *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlListenerGroupIterator(const ListenerGroup *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxListenerGroupIterator(const ListenerGroup *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringToObjMapIterator(const StringToObjMap *)
    LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringToObjMapIterator(const StringToObjMap *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringToObjCfgMapIterator(const StringToObjCfgMap *)
    LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringToObjCfgMapIterator(const StringToObjCfgMap *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringToObjClassMapIterator(const StringToObjClassMap *)
    LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringToObjClassMapIterator(const StringToObjClassMap *)
    LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringToStringMapIterator(const StringToStringMap *)
    LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringToStringMapIterator(const StringToStringMap *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlParmListIterNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxParmListIterNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringGroupIterNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringGroupIterNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlListenerGroupIterNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxListenerGroupIterNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringToObjMapIterNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringToObjMapIterNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringToObjCfgMapIterNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringToObjCfgMapIterNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringToObjClassMapIterNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringToObjClassMapIterNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterNext);
LmxLink *lmxIntlStringToStringMapIterNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterNext);
LmxLink *LmxStringToStringMapIterNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterNext);

// --- Whether the walk still stands on a node --------------------------------

unsigned char lmxIntlStringListIterHasNext(const LmxLink *at) { return at != nullptr; }
unsigned char LmxStringListIterHasNext(const LmxLink *at) {
  return lmx::locked([&] { return lmxIntlStringListIterHasNext(at); });
}

unsigned char lmxIntlParmListIterHasNext(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterHasNext);
unsigned char LmxParmListIterHasNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterHasNext);
unsigned char lmxIntlStringGroupIterHasNext(const LmxLink *)
    LMX_SAME_AS(lmxIntlStringListIterHasNext);
unsigned char LmxStringGroupIterHasNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterHasNext);
unsigned char lmxIntlListenerGroupIterHasNext(const LmxLink *)
    LMX_SAME_AS(lmxIntlStringListIterHasNext);
unsigned char LmxListenerGroupIterHasNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterHasNext);
unsigned char lmxIntlStringToObjMapIterHasNext(const LmxLink *)
    LMX_SAME_AS(lmxIntlStringListIterHasNext);
unsigned char LmxStringToObjMapIterHasNext(const LmxLink *) LMX_SAME_AS(LmxStringListIterHasNext);
unsigned char lmxIntlStringToObjCfgMapIterHasNext(const LmxLink *)
    LMX_SAME_AS(lmxIntlStringListIterHasNext);
unsigned char LmxStringToObjCfgMapIterHasNext(const LmxLink *)
    LMX_SAME_AS(LmxStringListIterHasNext);
unsigned char lmxIntlStringToObjClassMapIterHasNext(const LmxLink *)
    LMX_SAME_AS(lmxIntlStringListIterHasNext);
unsigned char LmxStringToObjClassMapIterHasNext(const LmxLink *)
    LMX_SAME_AS(LmxStringListIterHasNext);
unsigned char lmxIntlStringToStringMapIterHasNext(const LmxLink *)
    LMX_SAME_AS(lmxIntlStringListIterHasNext);
unsigned char LmxStringToStringMapIterHasNext(const LmxLink *)
    LMX_SAME_AS(LmxStringListIterHasNext);

// --- A copy of the text in the third field: list and group items, map keys -

char *lmxIntlStringListIterGet(const LmxLink *at) {
  return at != nullptr ? BasStringDup(static_cast<const char *>(at->item)) : nullptr;
}
char *LmxStringListIterGet(const LmxLink *at) {
  return lmx::locked([&] { return lmxIntlStringListIterGet(at); });
}
char *lmxIntlStringGroupIterGet(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterGet);
char *LmxStringGroupIterGet(const LmxLink *) LMX_SAME_AS(LmxStringListIterGet);

char *lmxIntlStringToObjMapIterGetKey(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterGet);
char *LmxStringToObjMapIterGetKey(const LmxLink *) LMX_SAME_AS(LmxStringListIterGet);
char *lmxIntlStringToObjCfgMapIterGetKey(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterGet);
char *LmxStringToObjCfgMapIterGetKey(const LmxLink *) LMX_SAME_AS(LmxStringListIterGet);
char *lmxIntlStringToObjClassMapIterGetKey(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterGet);
char *LmxStringToObjClassMapIterGetKey(const LmxLink *) LMX_SAME_AS(LmxStringListIterGet);
char *lmxIntlStringToStringMapIterGetKey(const LmxLink *) LMX_SAME_AS(lmxIntlStringListIterGet);
char *LmxStringToStringMapIterGetKey(const LmxLink *) LMX_SAME_AS(LmxStringListIterGet);

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
  return lmx::locked([&] { return lmxIntlStringToStringMapHasKey(map, key); });
}

unsigned char lmxIntlStringToObjMapHasKey(const StringToObjMap *, const char *)
    LMX_SAME_AS(lmxIntlStringToStringMapHasKey);
unsigned char LmxStringToObjMapHasKey(const StringToObjMap *, const char *)
    LMX_SAME_AS(LmxStringToStringMapHasKey);
unsigned char lmxIntlStringToObjCfgMapHasKey(const StringToObjCfgMap *, const char *)
    LMX_SAME_AS(lmxIntlStringToStringMapHasKey);
unsigned char LmxStringToObjCfgMapHasKey(const StringToObjCfgMap *, const char *)
    LMX_SAME_AS(LmxStringToStringMapHasKey);
unsigned char lmxIntlStringToObjClassMapHasKey(const StringToObjClassMap *, const char *)
    LMX_SAME_AS(lmxIntlStringToStringMapHasKey);
unsigned char LmxStringToObjClassMapHasKey(const StringToObjClassMap *, const char *)
    LMX_SAME_AS(LmxStringToStringMapHasKey);

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
