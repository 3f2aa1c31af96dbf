// How a collection holds its values. A rule is a struct with
//   In, Out                   what callers hand in and what they get back
//   hold(in, &slot)           take a value into the collection (copy it or
//                             take a reference); false when memory runs out
//   handOut(slot)             give a value to a caller (a copy or a new
//                             reference)
//   letGo(slot)               drop the collection's hold (free or release)
//   same(slot, probe)         whether a held value matches a looked-up one
// Lists, groups and maps are written once over such a rule. There are two
// kinds: owned copies (texts, parameters) and handles whose owner counts
// references or keeps them itself (objects, configurations, classes).
#pragma once

#include "lumex/cx.h"
#include "lumex/messages.h"

namespace lmx {

// Values held as the collection's own copies: Copy makes one (null for
// null, and null when memory runs out), Free frees one, Same compares two.
template <typename T, T *(*Copy)(const T *), void (*Free)(T *),
          bool (*Same)(const T *, const T *)>
struct CopyRule {
  using In = const T *;
  using Out = T *;
  static bool hold(In in, void **slot) {
    T *copy = Copy(in);
    if (in != nullptr && copy == nullptr) return false;
    *slot = copy;
    return true;
  }
  static Out handOut(const void *held) { return Copy(static_cast<const T *>(held)); }
  static void letGo(void *held) { Free(static_cast<T *>(held)); }
  static bool same(const void *held, const void *probe) {
    return Same(static_cast<const T *>(held), static_cast<const T *>(probe));
  }
};

// Values held as handles: Acquire takes a hold (a reference, or nothing for
// values the collection does not count) and returns the handle, Release
// gives it back. Handles match by identity.
template <typename T, T *(*Acquire)(T *), void (*Release)(T *)>
struct HandleRule {
  using In = T *;
  using Out = T *;
  static bool hold(In in, void **slot) {
    *slot = Acquire(in);
    return true;
  }
  static Out handOut(void *held) { return Acquire(static_cast<T *>(held)); }
  static void letGo(void *held) { Release(static_cast<T *>(held)); }
  static bool same(const void *held, const void *probe) { return held == probe; }
};

inline void freeText(char *text) { BasMemoryFree(text); }
inline bool sameText(const char *a, const char *b) { return BasStringCmp(a, b) == 0; }
inline bool sameParm(const Parm *a, const Parm *b) { return LmxCmpParms(a, b) != 0; }

using TextRule = CopyRule<char, BasStringDup, freeText, sameText>;
using ParmRule = CopyRule<Parm, LmxCopyParm, LmxFreeParm, sameParm>;

}  // namespace lmx
