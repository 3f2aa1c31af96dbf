// Lists (counted, duplicates allowed) and groups (uncounted, each item
// once), written once over a value rule (value_rules.h).
#pragma once

#include <type_traits>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "core/api_frame.h"

namespace lmx {

template <class Rule, bool Counted>
struct Sequence {
  using In = typename Rule::In;
  using Out = typename Rule::Out;
  using Header = std::conditional_t<Counted, ListHeader, Chain>;

  static Header *header(void *owner) { return static_cast<Header *>(owner); }
  static Chain *chain(void *owner) { return reinterpret_cast<Chain *>(owner); }

  static void *alloc() { return BasMemoryCalloc(1, sizeof(Header)); }

  // Appends a held copy of the item; null items are never stored.
  static bool append(void *owner, In item) {
    if (owner == nullptr || item == nullptr) return false;
    auto *node = static_cast<ItemNode *>(BasMemoryCalloc(1, sizeof(ItemNode)));
    if (node == nullptr) return false;
    if (!Rule::hold(item, &node->link.item)) {
      BasMemoryFree(node);
      return false;
    }
    node->owner = owner;
    linkAtTail(chain(owner), &node->link);
    if constexpr (Counted) ++header(owner)->count;
    return true;
  }

  // The first node whose item matches the probe, or null.
  static LmxLink *find(const void *owner, const void *probe) {
    if (owner == nullptr || probe == nullptr) return nullptr;
    for (LmxLink *l = static_cast<const Chain *>(owner)->head; l != nullptr; l = l->next) {
      if (Rule::same(l->item, probe)) return l;
    }
    return nullptr;
  }

  // Unlinks the node before its item is let go, so that whatever letting
  // go sets off (an object's destruction) sees a consistent collection.
  static void remove(LmxLink *link) {
    ItemNode *node = itemNode(link);
    unlinkFrom(chain(node->owner), link);
    if constexpr (Counted) --header(node->owner)->count;
    Rule::letGo(link->item);
    BasMemoryFree(node);
  }

  // Removes the node and returns the one that followed it.
  static LmxLink *removeAndNext(LmxLink *link) {
    if (link == nullptr) return nullptr;
    LmxLink *next = link->next;
    remove(link);
    return next;
  }

  // Removes the node only when it belongs to this owner.
  static void removeFrom(void *owner, LmxLink *link) {
    if (owner == nullptr || link == nullptr || itemNode(link)->owner != owner) return;
    remove(link);
  }

  static void destroy(void *owner) {
    if (owner == nullptr) return;
    while (chain(owner)->head != nullptr) remove(chain(owner)->head);
    BasMemoryFree(owner);
  }

  static Out get(const LmxLink *link) { return link ? Rule::handOut(link->item) : Out{}; }

  // A new list with the source's items in order; an item that cannot be
  // copied is left out.
  static void *copy(const void *src) {
    if (src == nullptr) return nullptr;
    void *dst = alloc();
    if (dst == nullptr) return nullptr;
    for (LmxLink *l = static_cast<const Chain *>(src)->head; l != nullptr; l = l->next) {
      append(dst, static_cast<In>(l->item));
    }
    return dst;
  }

  // Group add: false when a matching item is already held.
  static bool addOnce(void *owner, In item) {
    if (owner == nullptr || item == nullptr || find(owner, item) != nullptr) return false;
    return append(owner, item);
  }

  // Group remove: the first matching item.
  static bool removeFirst(void *owner, const void *probe) {
    LmxLink *link = find(owner, probe);
    if (link == nullptr) return false;
    remove(link);
    return true;
  }
};

}  // namespace lmx


