// StringList and ParmList: ordered, counted lists that allow duplicates.
// Allocation, iteration, GetIndex and the sort are shared (shared_ops.cpp).
#include "collections/sequence.h"
#include "collections/value_rules.h"

LMX_DEFINE_LIST_FAMILY(StringList, lmx::TextRule)
LMX_DEFINE_LIST_FAMILY(ParmList, lmx::ParmRule)

extern "C" {

Parm *lmxIntlParmListIterGet(const LmxLink *node) {
  return lmx::Sequence<lmx::ParmRule, true>::get(node);
}
Parm *LmxParmListIterGet(const LmxLink *node) { LMX_LOCKED(lmxIntlParmListIterGet(node)); }

// The first node whose parameter compares equal (LmxCmpParms); no lock.
LmxLink *LmxParmListGetLink(const ParmList *list, const Parm *parm) {
  return lmx::Sequence<lmx::ParmRule, true>::find(list, parm);
}

}  // extern "C"
