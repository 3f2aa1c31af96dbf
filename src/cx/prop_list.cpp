// Property lists: a small array of owned key/value texts, searched linearly
// and grown by doubling.
#include <climits>
#include <cstdint>
#include <cstring>

#include "cx/cx_intl.h"
#include "lumex/cx.h"

namespace {

constexpr int32_t kFirstCapacity = 32;


// The entry an iterator stands on, or null.
const CxPropEntry *current(const CxPropListIter *it) {
  if (it == nullptr || !cxPropListIndexValid(it->list, it->index)) return nullptr;
  return &it->list->entries[it->index];
}

}  // namespace

extern "C" {

int32_t cxPropListFindKey(const CxPropList *list, const char *key) {
  if (list == nullptr || key == nullptr) return -1;
  for (int32_t i = 0; i < list->count; ++i) {
    if (std::strcmp(list->entries[i].key, key) == 0) return i;
  }
  return -1;
}

unsigned char cxPropListIndexValid(const CxPropList *list, int32_t index) {
  return list != nullptr && index >= 0 && index < list->count;
}

unsigned char cxPropListHasCapacity(CxPropList *list, int32_t n) {
  if (list == nullptr || n < 0) return 0;
  if (list->entries == nullptr) {
    void *block = BasMemoryMalloc(kFirstCapacity * sizeof(CxPropEntry));
    if (block == nullptr) return 0;
    list->entries = static_cast<CxPropEntry *>(block);
    list->capacity = kFirstCapacity;
    list->count = 0;
  }
  // One slot always stays free.
  int64_t needed = int64_t{list->count} + n + 1;
  if (list->capacity >= needed) return 1;
  int64_t capacity = list->capacity > 0 ? list->capacity : kFirstCapacity;
  while (capacity <= needed) capacity *= 2;
  if (capacity * int64_t{sizeof(CxPropEntry)} > INT32_MAX) return 0;
  void *grown = BasMemoryRealloc(list->entries, static_cast<uint32_t>(capacity * sizeof(CxPropEntry)));
  if (grown == nullptr) return 0;
  list->entries = static_cast<CxPropEntry *>(grown);
  list->capacity = static_cast<int32_t>(capacity);
  return 1;
}

unsigned char CxPropListPutStr(CxPropList *list, const char *key, const char *value) {
  if (list == nullptr || key == nullptr || value == nullptr) return 0;
  char *copy = BasStringDup(value);
  if (copy == nullptr) return 0;
  int32_t at = cxPropListFindKey(list, key);
  if (at >= 0) {
    BasMemoryFree(list->entries[at].value);
    list->entries[at].value = copy;
    return 1;
  }
  char *keyCopy = BasStringDup(key);
  if (keyCopy == nullptr || !cxPropListHasCapacity(list, 1)) {
    BasMemoryFree(keyCopy);
    BasMemoryFree(copy);
    return 0;
  }
  list->entries[list->count++] = CxPropEntry{keyCopy, copy};
  return 1;
}

char *CxPropListCopyStr(const CxPropList *list, const char *key, unsigned char *found) {
  const char *value = CxPropListPeekStr(list, key, found);
  return value != nullptr ? BasStringDup(value) : nullptr;
}

const char *CxPropListPeekStr(const CxPropList *list, const char *key, unsigned char *found) {
  int32_t at = cxPropListFindKey(list, key);
  if (found != nullptr) *found = at >= 0;
  return at >= 0 ? list->entries[at].value : nullptr;
}

unsigned char CxPropListHasKey(const CxPropList *list, const char *key) {
  return cxPropListFindKey(list, key) >= 0;
}

unsigned char CxPropListRemove(CxPropList *list, const char *key) {
  int32_t at = cxPropListFindKey(list, key);
  if (at < 0) return 0;
  BasMemoryFree(list->entries[at].key);
  BasMemoryFree(list->entries[at].value);
  int32_t last = --list->count;
  if (at != last) list->entries[at] = list->entries[last];
  list->entries[last] = CxPropEntry{nullptr, nullptr};
  return 1;
}

void CxPropListDiscard(CxPropList *list) {
  if (list == nullptr) return;
  for (int32_t i = 0; i < list->count; ++i) {
    BasMemoryFree(list->entries[i].key);
    BasMemoryFree(list->entries[i].value);
  }
  BasMemoryFree(list->entries);
  *list = CxPropList{0, 0, nullptr};
}

CxPropListIter CxPropListIterator(const CxPropList *list) { return CxPropListIter{list, 0}; }

unsigned char CxPropListIterHasNext(const CxPropListIter *it) {
  if (it == nullptr || it->list == nullptr || it->index < 0) return 0;
  return it->index + 1 < it->list->count;
}

CxPropListIter *CxPropListIterNext(CxPropListIter *it) {
  if (it == nullptr || it->index < 0) return it;
  if (it->list == nullptr || !cxPropListIndexValid(it->list, it->index + 1)) {
    *it = CxPropListIter{nullptr, 0};
  } else {
    ++it->index;
  }
  return it;
}

char *CxPropListIterCopyKey(const CxPropListIter *it) {
  const CxPropEntry *e = current(it);
  return e != nullptr ? BasStringDup(e->key) : nullptr;
}
char *CxPropListIterCopyVal(const CxPropListIter *it) {
  const CxPropEntry *e = current(it);
  return e != nullptr ? BasStringDup(e->value) : nullptr;
}
const char *CxPropListIterPeekKey(const CxPropListIter *it) {
  const CxPropEntry *e = current(it);
  return e != nullptr ? e->key : nullptr;
}
const char *CxPropListIterPeekVal(const CxPropListIter *it) {
  const CxPropEntry *e = current(it);
  return e != nullptr ? e->value : nullptr;
}

}  // extern "C"
