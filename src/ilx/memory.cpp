// The library's allocator family, at the bottom so that every layer
// allocates through it.
#include <cstdlib>

#include "lumex/ilx.h"

extern "C" {

void *BasMemoryMalloc(uint32_t size) { return size == 0 ? nullptr : std::malloc(size); }

void *BasMemoryCalloc(uint32_t count, uint32_t size) {
  return (count == 0 || size == 0) ? nullptr : std::calloc(count, size);
}

void *BasMemoryRealloc(void *block, uint32_t size) {
  // A zero size leaves the block alone: the caller still owns it.
  return size == 0 ? nullptr : std::realloc(block, size);
}

void BasMemoryFree(void *block) { std::free(block); }

}  // extern "C"
