// The process-wide cache of opened catalogs. Entries stay after their
// catalog is closed, so a later open of the same path reads nothing; when the
// cache is full, the closed catalog used longest ago makes room, and only
// when every catalog is open does the cache grow (10 slots, then doubling).
#include <cstring>

#include "ilx/catalog.h"
#include "ilx/memory.h"

namespace ilx {
namespace {

struct MCCacheEntryT {
  char *path;
  MCCatalogT *cat;
  uint32_t stamp;  // use counter at the last open
  int open;
};

struct MCCacheT {
  MCCacheEntryT **slots;
  size_t capacity;
  uint32_t useCounter;
};

MCCacheT cache;  // lives for the whole process

MCCacheEntryT *findPath(const char *path) {
  for (size_t i = 0; i < cache.capacity; ++i) {
    MCCacheEntryT *e = cache.slots[i];
    if (e && std::strcmp(e->path, path) == 0) return e;
  }
  return nullptr;
}

void markOpen(MCCacheEntryT *e) {
  e->stamp = cache.useCounter++;
  e->open = 1;
}

void freeEntry(MCCacheEntryT *e) {
  catalogFree(e->cat);
  BasMemoryFree(e->path);
  BasMemoryFree(e);
}

// A free slot: an empty one, else the closed entry with the oldest stamp
// (freed), else a new one from growing the array; -1 when none can be made.
long freeSlot() {
  for (size_t i = 0; i < cache.capacity; ++i)
    if (!cache.slots[i]) return static_cast<long>(i);
  long oldest = -1;
  for (size_t i = 0; i < cache.capacity; ++i) {
    const MCCacheEntryT *e = cache.slots[i];
    if (!e->open && (oldest < 0 || e->stamp < cache.slots[oldest]->stamp)) oldest = static_cast<long>(i);
  }
  if (oldest >= 0) {
    freeEntry(cache.slots[oldest]);
    cache.slots[oldest] = nullptr;
    return oldest;
  }
  const size_t grown = cache.capacity == 0 ? 10 : cache.capacity * 2;
  if (grown < cache.capacity || grown > SIZE_MAX / sizeof(MCCacheEntryT *)) return -1;
  auto *slots = reallocate(cache.slots, grown);
  if (!slots) return -1;
  std::memset(slots + cache.capacity, 0, (grown - cache.capacity) * sizeof(MCCacheEntryT *));
  const long first = static_cast<long>(cache.capacity);
  cache.slots = slots;
  cache.capacity = grown;
  return first;
}

}  // namespace

MCCatalogT *cacheReopen(const char *path) {
  MCCacheEntryT *e = findPath(path);
  if (!e) return nullptr;
  markOpen(e);
  return e->cat;
}

bool cacheHasPath(const char *path) { return findPath(path) != nullptr; }

bool cacheAdd(const char *path, MCCatalogT *cat) {
  const size_t len = std::strlen(path) + 1;
  auto *e = allocateZeroed<MCCacheEntryT>(1);
  char *copy = allocate<char>(len);
  const long slot = e && copy ? freeSlot() : -1;
  if (slot < 0) {
    BasMemoryFree(e);
    BasMemoryFree(copy);
    return false;
  }
  std::memcpy(copy, path, len);
  e->path = copy;
  e->cat = cat;
  markOpen(e);
  cache.slots[slot] = e;
  return true;
}

bool cacheClose(const MCCatalogT *cat) {
  for (size_t i = 0; i < cache.capacity; ++i) {
    MCCacheEntryT *e = cache.slots[i];
    if (e && e->open && e->cat == cat) {
      e->open = 0;
      return true;
    }
  }
  return false;
}

size_t cacheCapacity() { return cache.capacity; }

size_t cacheCount() {
  size_t n = 0;
  for (size_t i = 0; i < cache.capacity; ++i) n += cache.slots[i] != nullptr;
  return n;
}

bool cacheIsCached(const MCCatalogT *cat) {
  for (size_t i = 0; i < cache.capacity; ++i)
    if (cache.slots[i] && cache.slots[i]->cat == cat) return true;
  return false;
}

}  // namespace ilx
