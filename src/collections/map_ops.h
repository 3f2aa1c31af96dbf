// String-keyed maps, written once over a value rule (value_rules.h), and
// the macro that gives one map family its exported names.
#pragma once

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "core/api_frame.h"

namespace lmx {

// The entry of a key, or null: the search behind every map's GetNode and
// the lists' and groups' GetLink.
inline LmxLink *findText(const Chain *chain, const char *text) {
  if (chain == nullptr || text == nullptr) return nullptr;
  for (LmxLink *l = chain->head; l != nullptr; l = l->next) {
    if (BasStringCmp(static_cast<const char *>(l->item), text) == 0) return l;
  }
  return nullptr;
}

template <class Rule>
struct MapOps {
  using In = typename Rule::In;
  using Out = typename Rule::Out;

  // Appends a new entry; false when memory runs out (nothing changes).
  static bool append(Chain *map, const char *key, In value) {
    auto *entry = static_cast<MapEntry *>(BasMemoryCalloc(1, sizeof(MapEntry)));
    if (entry == nullptr) return false;
    entry->link.item = BasStringDup(key);
    if (entry->link.item == nullptr) {
      BasMemoryFree(entry);
      return false;
    }
    if (!Rule::hold(value, &entry->value)) {
      BasMemoryFree(entry->link.item);
      BasMemoryFree(entry);
      return false;
    }
    entry->owner = map;
    linkAtTail(map, &entry->link);
    return true;
  }

  // Replacing holds the new value before letting the old one go: the same
  // value put again is never dropped in between, and an allocation failure
  // leaves the old value in place.
  static bool put(Chain *map, const char *key, In value) {
    if (map == nullptr || key == nullptr) return false;
    LmxLink *link = findText(map, key);
    if (link == nullptr) return append(map, key, value);
    void *held = nullptr;
    if (!Rule::hold(value, &held)) return false;
    MapEntry *entry = mapEntry(link);
    void *old = entry->value;
    entry->value = held;
    Rule::letGo(old);
    return true;
  }

  static Out get(const Chain *map, const char *key) {
    LmxLink *link = findText(map, key);
    return link ? Rule::handOut(mapEntry(link)->value) : Out{};
  }

  static Out value(const LmxLink *link) {
    return link ? Rule::handOut(mapEntry(link)->value) : Out{};
  }

  // Unlinks the entry first, so that whatever letting go of the value sets
  // off sees a consistent map. An entry of another map is left alone.
  static void removeEntry(Chain *map, LmxLink *link) {
    if (map == nullptr || link == nullptr || mapEntry(link)->owner != map) return;
    unlinkFrom(map, link);
    BasMemoryFree(link->item);
    Rule::letGo(mapEntry(link)->value);
    BasMemoryFree(link);
  }

  static void remove(Chain *map, const char *key) { removeEntry(map, findText(map, key)); }

  static void destroy(Chain *map) {
    if (map == nullptr) return;
    while (map->head != nullptr) removeEntry(map, map->head);
    BasMemoryFree(map);
  }

  // A new map holding every value anew; an entry that cannot be made is
  // left out.
  static Chain *copy(const Chain *src) {
    if (src == nullptr) return nullptr;
    auto *dst = static_cast<Chain *>(BasMemoryCalloc(1, sizeof(Chain)));
    if (dst == nullptr) return nullptr;
    for (LmxLink *l = src->head; l != nullptr; l = l->next) {
      append(dst, static_cast<const char *>(l->item), static_cast<In>(mapEntry(l)->value));
    }
    return dst;
  }
};

}  // namespace lmx

