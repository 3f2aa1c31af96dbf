// Hash index from set or message numbers to their records, built when a
// catalog or set is read: open addressing with linear probing over 2^bits
// slots (at least twice the records), each slot the record's position + 1
// (0: empty). The records keep their numbers; the index only finds them, so
// a look-up returns exactly the record with that number, or none.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ilx {

// Slot bits for `count` records: 2^bits >= 2 * count, at least 1.
inline uint32_t indexBits(size_t count) {
  uint32_t bits = 1;
  while (bits < 31 && (size_t{1} << bits) < 2 * count) ++bits;
  return bits;
}

inline uint32_t indexSlot(int32_t number, uint32_t bits) {
  return (static_cast<uint32_t>(number) * 2654435761u) >> (32 - bits);
}

// Adds the record at `pos` numbered `number` (numbers are distinct).
inline void indexAdd(int32_t *slots, uint32_t bits, int32_t number, int32_t pos) {
  const uint32_t mask = (1u << bits) - 1;
  uint32_t h = indexSlot(number, bits);
  while (slots[h] != 0) h = (h + 1) & mask;
  slots[h] = pos + 1;
}

// Position of the record numbered `number` among `recs` (which carry it in
// `.*field`), or -1.
template <class Rec>
inline int32_t indexFind(const int32_t *slots, uint32_t bits, const Rec *recs,
                         int32_t Rec::*field, int32_t number) {
  const uint32_t mask = (1u << bits) - 1;
  for (uint32_t h = indexSlot(number, bits);; h = (h + 1) & mask) {
    const int32_t at = slots[h];
    if (at == 0) return -1;
    if (recs[at - 1].*field == number) return at - 1;
  }
}

}  // namespace ilx
