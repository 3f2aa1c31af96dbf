// The collections whose values are objects or classes: listener groups,
// the object maps (such as the instances map) and the class map.
#include "collections/map_ops.h"
#include "collections/sequence.h"
#include "core/obj_class.h"
#include "core/object.h"

LMX_DEFINE_GROUP_FAMILY(ListenerGroup, lmx::ObjectRule)
LMX_DEFINE_MAP_FAMILY(StringToObjMap, lmx::ObjectRule)
LMX_DEFINE_MAP_FAMILY(StringToObjClassMap, lmx::ClassRule)

extern "C" {

// A new reference to the node's object, which the caller releases.
Object *lmxIntlListenerGroupIterGet(const LmxLink *node) {
  return lmx::Sequence<lmx::ObjectRule, false>::get(node);
}
Object *LmxListenerGroupIterGet(const LmxLink *node) {
  LMX_LOCKED(lmxIntlListenerGroupIterGet(node));
}

// The node of that object (by identity); no lock.
LmxLink *LmxListenerGroupGetLink(const ListenerGroup *group, const Object *object) {
  return lmx::Sequence<lmx::ObjectRule, false>::find(group, object);
}

}  // extern "C"
