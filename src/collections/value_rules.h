// How a collection holds its values. A rule is a struct with
//   In, Out                   what callers hand in and what they get back
//   hold(in, &slot)           take a value into the collection (copy it or
//                             take a reference); false when memory runs out
//   handOut(slot)             give a value to a caller (a copy or a new
//                             reference)
//   letGo(slot)               drop the collection's hold (free or release)
//   same(slot, probe)         whether a held value matches a looked-up one
// Lists, groups and maps are written once over such a rule; the rules for
// objects, configurations and classes live with those records.
#pragma once

#include "lumex/cx.h"
#include "lumex/messages.h"

namespace lmx {

// Owned copies of texts.
struct TextRule {
  using In = const char *;
  using Out = char *;
  static bool hold(In in, void **slot) {
    char *copy = BasStringDup(in);
    if (in != nullptr && copy == nullptr) return false;
    *slot = copy;
    return true;
  }
  static Out handOut(const void *held) { return BasStringDup(static_cast<const char *>(held)); }
  static void letGo(void *held) { BasMemoryFree(held); }
  static bool same(const void *held, const void *probe) {
    return BasStringCmp(static_cast<const char *>(held), static_cast<const char *>(probe)) == 0;
  }
};

// Owned copies of parameters (LmxCopyParm / LmxFreeParm).
struct ParmRule {
  using In = const Parm *;
  using Out = Parm *;
  static bool hold(In in, void **slot) {
    Parm *copy = LmxCopyParm(in);
    if (in != nullptr && copy == nullptr) return false;
    *slot = copy;
    return true;
  }
  static Out handOut(const void *held) { return LmxCopyParm(static_cast<const Parm *>(held)); }
  static void letGo(void *held) { LmxFreeParm(static_cast<Parm *>(held)); }
  static bool same(const void *held, const void *probe) {
    return LmxCmpParms(static_cast<const Parm *>(held), static_cast<const Parm *>(probe));
  }
};

}  // namespace lmx
