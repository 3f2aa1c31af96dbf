// StringGroup: an insertion-ordered set of texts compared with case.
// Allocation, iteration, IterGet and GetLink are shared (shared_ops.cpp).
#include "collections/sequence.h"
#include "collections/value_rules.h"

extern "C" {

void lmxIntlFreeStringGroup(StringGroup *group) {
  lmx::Sequence<lmx::TextRule, false>::destroy(group);
}
unsigned char lmxIntlStringGroupAdd(StringGroup *group, lmx::TextRule::In item) {
  return lmx::Sequence<lmx::TextRule, false>::addOnce(group, item);
}
unsigned char lmxIntlStringGroupRem(StringGroup *group, lmx::TextRule::In item) {
  return lmx::Sequence<lmx::TextRule, false>::removeFirst(group, item);
}
LmxLink *lmxIntlStringGroupIterRem(LmxLink *node) {
  return lmx::Sequence<lmx::TextRule, false>::removeAndNext(node);
}

void LmxFreeStringGroup(StringGroup *group) {
  lmx::locked([&] { lmxIntlFreeStringGroup(group); });
}
unsigned char LmxStringGroupAdd(StringGroup *group, lmx::TextRule::In item) {
  return lmx::locked([&] { return lmxIntlStringGroupAdd(group, item); });
}
unsigned char LmxStringGroupRem(StringGroup *group, lmx::TextRule::In item) {
  return lmx::locked([&] { return lmxIntlStringGroupRem(group, item); });
}
LmxLink *LmxStringGroupIterRem(LmxLink *node) {
  return lmx::locked([&] { return lmxIntlStringGroupIterRem(node); });
}

}  // extern "C"
