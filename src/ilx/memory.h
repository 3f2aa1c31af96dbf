// Typed forms of the allocator family (BasMemory...) for the library's own
// call sites. Sizes are counted in objects and checked against the family's
// 32-bit sizes; a count of 0, a size that does not fit, or memory running
// out gives null. Blocks are released with BasMemoryFree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "lumex/ilx.h"

namespace ilx {

// n objects of T, not initialized.
template <class T>
T *allocate(size_t n) {
  if (n == 0 || n > UINT32_MAX / sizeof(T)) return nullptr;
  return static_cast<T *>(BasMemoryMalloc(static_cast<uint32_t>(n * sizeof(T))));
}

// n objects of T, zeroed.
template <class T>
T *allocateZeroed(size_t n) {
  if (n == 0 || n > UINT32_MAX) return nullptr;
  return static_cast<T *>(
      BasMemoryCalloc(static_cast<uint32_t>(n), static_cast<uint32_t>(sizeof(T))));
}

// block (null: none yet) moved or resized to n objects of T; on null the
// block is left as it was and still belongs to the caller.
template <class T>
T *reallocate(T *block, size_t n) {
  if (n == 0 || n > UINT32_MAX / sizeof(T)) return nullptr;
  return static_cast<T *>(BasMemoryRealloc(block, static_cast<uint32_t>(n * sizeof(T))));
}

// A copy of the NUL-terminated text s.
inline char *copyText(const char *s) {
  const size_t len = std::strlen(s) + 1;
  char *copy = allocate<char>(len);
  if (copy != nullptr) std::memcpy(copy, s, len);
  return copy;
}

}  // namespace ilx
