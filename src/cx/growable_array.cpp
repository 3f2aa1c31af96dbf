// Growable arrays kept by the caller as array, capacity and count.
#include <cstdint>

#include "lumex/cx.h"

extern "C" {

int CxListEnsureCapacity(void **array, int32_t *capacity, int32_t *count, int32_t needed,
                         uint32_t elemSize) {
  if (array == nullptr || capacity == nullptr || count == nullptr || needed < 0) return 0;
  if (*array == nullptr) {
    // First allocation: exactly what is asked for.
    if (needed == 0) return 1;
    uint64_t bytes = static_cast<uint64_t>(needed) * elemSize;
    if (bytes == 0 || bytes > UINT32_MAX) return 0;
    void *block = BasMemoryMalloc(static_cast<uint32_t>(bytes));
    if (block == nullptr) return 0;
    *array = block;
    *capacity = needed;
    *count = 0;
    return 1;
  }
  if (*capacity >= needed) return 1;
  int64_t grown = 16;
  if (needed >= 16) {
    while (grown <= needed) grown *= 2;
  }
  uint64_t bytes = static_cast<uint64_t>(grown) * elemSize;
  if (grown > INT32_MAX || bytes == 0 || bytes > UINT32_MAX) return 0;
  void *block = BasMemoryRealloc(*array, static_cast<uint32_t>(bytes));
  if (block == nullptr) return 0;  // the old array stays as it was
  *array = block;
  *capacity = static_cast<int32_t>(grown);
  return 1;
}

void CxListDiscard(void **array, int32_t *capacity, int32_t *count) {
  if (array != nullptr) {
    BasMemoryFree(*array);
    *array = nullptr;
  }
  if (capacity != nullptr) *capacity = 0;
  if (count != nullptr) *count = 0;
}

}  // extern "C"
