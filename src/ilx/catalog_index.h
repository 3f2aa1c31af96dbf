// Index from set or message numbers to their records, built when a catalog
// or set is read. Numbers that lie close together (at most about two slots a
// record) get a direct table over their range; others a hash table with
// open addressing and linear probing over 2^bits slots (at least twice the
// records). A direct slot holds the record's position + 1 (0: empty); a hash
// slot is two words, the number and then the position + 1, so that a probe
// compares without reaching the record. A look-up gives exactly the record
// with that number, or none.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ilx/memory.h"

namespace ilx {

struct NumberIndex {
  int32_t *slots = nullptr;
  int32_t first = 0;  // direct table: number of slots[0]
  uint32_t span = 0;  // direct table: slots; 0 for a hash table
  uint32_t bits = 0;  // hash table: 2^bits slots
};

inline uint32_t indexSlot(int32_t number, uint32_t bits) {
  return (static_cast<uint32_t>(number) * 2654435761u) >> (32 - bits);
}

// Builds the index of `count` records with ascending, distinct numbers in
// `.*field`; false when out of memory.
template <class Rec>
bool indexBuild(NumberIndex *ix, const Rec *recs, int32_t count, int32_t Rec::*field) {
  *ix = NumberIndex{};
  const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  const int64_t range = n > 0 ? int64_t{recs[n - 1].*field} - recs[0].*field + 1 : 0;
  if (n > 0 && range <= static_cast<int64_t>(2 * n + 64)) {
    ix->first = recs[0].*field;
    ix->span = static_cast<uint32_t>(range);
    ix->slots = allocateZeroed<int32_t>(ix->span);
    if (!ix->slots) return false;
    for (size_t i = 0; i < n; ++i) ix->slots[recs[i].*field - ix->first] = static_cast<int32_t>(i) + 1;
    return true;
  }
  ix->bits = 1;
  while (ix->bits < 31 && (size_t{1} << ix->bits) < 2 * n) ++ix->bits;
  ix->slots = allocateZeroed<int32_t>(size_t{2} << ix->bits);
  if (!ix->slots) return false;
  const uint32_t mask = (1u << ix->bits) - 1;
  for (size_t i = 0; i < n; ++i) {
    uint32_t h = indexSlot(recs[i].*field, ix->bits);
    while (ix->slots[2 * h + 1] != 0) h = (h + 1) & mask;
    ix->slots[2 * h] = recs[i].*field;
    ix->slots[2 * h + 1] = static_cast<int32_t>(i) + 1;
  }
  return true;
}

// Position of the record numbered `number`, or -1.
inline int32_t indexFind(const NumberIndex &ix, int32_t number) {
  if (ix.span != 0) {
    const uint64_t at = static_cast<uint64_t>(int64_t{number} - ix.first);
    return at < ix.span ? ix.slots[at] - 1 : -1;
  }
  const uint32_t mask = (1u << ix.bits) - 1;
  for (uint32_t h = indexSlot(number, ix.bits);; h = (h + 1) & mask) {
    const int32_t *slot = ix.slots + 2 * h;
    if (slot[1] == 0) return -1;
    if (slot[0] == number) return slot[1] - 1;
  }
}

}  // namespace ilx
