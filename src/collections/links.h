// The shared shape of every list, group and map: a header that begins with
// head and tail, and nodes (entries) that begin with next, prev and a text
// or item. Because the first field of a header and of a node are both the
// link toward the tail, one step operation starts and continues every walk.
#pragma once

#include <cstdint>

#include "lumex/collections.h"

// A node of a list or group: {next, prev, item, owner};
// an entry of a map:         {next, prev, key, value, owner}.
struct LmxLink {
  LmxLink *next;
  LmxLink *prev;
  void *item;  // list/group: the item; map: the key (an owned text)
};

namespace lmx {

// Header of groups and maps.
struct Chain {
  LmxLink *head;
  LmxLink *tail;
};

// Header of lists.
struct ListHeader {
  Chain chain;
  int32_t count;
};

struct ItemNode {
  LmxLink link;
  void *owner;  // the ListHeader or Chain that holds the node
};

struct MapEntry {
  LmxLink link;
  void *value;
  Chain *owner;
};

// Handles are opaque to callers; inside they are these headers.
template <typename H>
inline Chain *chainOf(H *handle) {
  return reinterpret_cast<Chain *>(handle);
}
template <typename H>
inline const Chain *chainOf(const H *handle) {
  return reinterpret_cast<const Chain *>(handle);
}
inline ItemNode *itemNode(LmxLink *link) { return reinterpret_cast<ItemNode *>(link); }
inline MapEntry *mapEntry(LmxLink *link) { return reinterpret_cast<MapEntry *>(link); }
inline const MapEntry *mapEntry(const LmxLink *link) {
  return reinterpret_cast<const MapEntry *>(link);
}

inline void linkAtTail(Chain *chain, LmxLink *link) {
  link->next = nullptr;
  link->prev = chain->tail;
  if (chain->tail != nullptr) {
    chain->tail->next = link;
  } else {
    chain->head = link;
  }
  chain->tail = link;
}

inline void unlinkFrom(Chain *chain, LmxLink *link) {
  if (link->prev != nullptr) {
    link->prev->next = link->next;
  } else {
    chain->head = link->next;
  }
  if (link->next != nullptr) {
    link->next->prev = link->prev;
  } else {
    chain->tail = link->prev;
  }
  link->next = link->prev = nullptr;
}

}  // namespace lmx
