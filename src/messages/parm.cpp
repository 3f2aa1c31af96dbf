// Typed parameter values: copying, freeing and comparing.
#include <cstring>

#include "lumex/messages.h"

namespace {
bool validTag(int32_t type) { return type >= LMX_PARM_BOOL && type <= LMX_PARM_STRING; }
}  // namespace

extern "C" {

// A string value is duplicated; any other value is copied as it stands
// (for an invalid tag it has no meaning).
Parm *LmxCopyParm(const Parm *parm) {
  if (parm == nullptr) return nullptr;
  auto *copy = static_cast<Parm *>(BasMemoryMalloc(sizeof(Parm)));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, parm, sizeof(Parm));
  if (parm->type == LMX_PARM_STRING && parm->value.s != nullptr) {
    copy->value.s = BasStringDup(parm->value.s);
    if (copy->value.s == nullptr) {
      BasMemoryFree(copy);
      return nullptr;
    }
  }
  return copy;
}

void LmxFreeParm(Parm *parm) {
  if (parm == nullptr) return;
  if (parm->type == LMX_PARM_STRING) BasMemoryFree(parm->value.s);
  BasMemoryFree(parm);
}

unsigned char LmxCmpParms(const Parm *a, const Parm *b) {
  if (a == nullptr || b == nullptr) return a == b;
  if (a->type != b->type || !validTag(a->type)) return 0;
  switch (a->type) {
    case LMX_PARM_BOOL:
      return a->value.b == b->value.b;
    case LMX_PARM_CHAR:
      return a->value.c == b->value.c;
    case LMX_PARM_INT:
      return a->value.i == b->value.i;
    case LMX_PARM_LONG:
      return a->value.l == b->value.l;
    case LMX_PARM_FLOAT:
      return a->value.f == b->value.f;
    case LMX_PARM_DOUBLE:
      return a->value.d == b->value.d;
    default:
      // Two absent strings are equal here, though BasStringCmp orders a
      // null after everything, another null included.
      if (a->value.s == nullptr || b->value.s == nullptr) return a->value.s == b->value.s;
      return BasStringCmp(a->value.s, b->value.s) == 0;
  }
}

}  // extern "C"
