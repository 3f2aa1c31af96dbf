// StringList and ParmList: ordered, counted lists that allow duplicates.
// Allocation, iteration, GetIndex and the sort are shared (shared_ops.cpp).
#include "collections/sequence.h"
#include "collections/value_rules.h"

extern "C" {

StringList *lmxIntlCopyStringList(const StringList *list) {
  return static_cast<StringList *>(lmx::Sequence<lmx::TextRule, true>::copy(list));
}
void lmxIntlFreeStringList(StringList *list) { lmx::Sequence<lmx::TextRule, true>::destroy(list); }
unsigned char lmxIntlStringListAppend(StringList *list, lmx::TextRule::In item) {
  return lmx::Sequence<lmx::TextRule, true>::append(list, item);
}
LmxLink *lmxIntlStringListIterRem(LmxLink *node) {
  return lmx::Sequence<lmx::TextRule, true>::removeAndNext(node);
}
void LmxStringListRemLink(StringList *list, LmxLink *node) {
  lmx::Sequence<lmx::TextRule, true>::removeFrom(list, node);
}

StringList *LmxCopyStringList(const StringList *list) {
  return lmx::locked([&] { return lmxIntlCopyStringList(list); });
}
void LmxFreeStringList(StringList *list) {
  lmx::locked([&] { lmxIntlFreeStringList(list); });
}
unsigned char LmxStringListAppend(StringList *list, lmx::TextRule::In item) {
  return lmx::locked([&] { return lmxIntlStringListAppend(list, item); });
}
LmxLink *LmxStringListIterRem(LmxLink *node) {
  return lmx::locked([&] { return lmxIntlStringListIterRem(node); });
}

ParmList *lmxIntlCopyParmList(const ParmList *list) {
  return static_cast<ParmList *>(lmx::Sequence<lmx::ParmRule, true>::copy(list));
}
void lmxIntlFreeParmList(ParmList *list) { lmx::Sequence<lmx::ParmRule, true>::destroy(list); }
unsigned char lmxIntlParmListAppend(ParmList *list, lmx::ParmRule::In item) {
  return lmx::Sequence<lmx::ParmRule, true>::append(list, item);
}
LmxLink *lmxIntlParmListIterRem(LmxLink *node) {
  return lmx::Sequence<lmx::ParmRule, true>::removeAndNext(node);
}
void LmxParmListRemLink(ParmList *list, LmxLink *node) {
  lmx::Sequence<lmx::ParmRule, true>::removeFrom(list, node);
}

ParmList *LmxCopyParmList(const ParmList *list) {
  return lmx::locked([&] { return lmxIntlCopyParmList(list); });
}
void LmxFreeParmList(ParmList *list) {
  lmx::locked([&] { lmxIntlFreeParmList(list); });
}
unsigned char LmxParmListAppend(ParmList *list, lmx::ParmRule::In item) {
  return lmx::locked([&] { return lmxIntlParmListAppend(list, item); });
}
LmxLink *LmxParmListIterRem(LmxLink *node) {
  return lmx::locked([&] { return lmxIntlParmListIterRem(node); });
}

Parm *lmxIntlParmListIterGet(const LmxLink *node) {
  return lmx::Sequence<lmx::ParmRule, true>::get(node);
}
Parm *LmxParmListIterGet(const LmxLink *node) {
  return lmx::locked([&] { return lmxIntlParmListIterGet(node); });
}

// The first node whose parameter compares equal (LmxCmpParms); no lock.
LmxLink *LmxParmListGetLink(const ParmList *list, const Parm *parm) {
  return lmx::Sequence<lmx::ParmRule, true>::find(list, parm);
}

}  // extern "C"
