// Applying the log manager's configurations to an object: the chain of
// configurations from the farthest ancestor down, each one's own properties
// set on the object in map order.
#include "core/log_mgr_apply.h"

#include <cstring>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "config/cfg_walk.h"
#include "config/log_mgr.h"
#include "config/obj_cfg.h"
#include "core/api_frame.h"
#include "core/object.h"

namespace {

bool isRoot(const char *name) { return name == nullptr || std::strcmp(name, "/") == 0; }

// Applies the configuration's own properties in map order. The class's
// operation may change configurations while it runs, so it walks a copy.
void applyOwn(Object *object, const ObjCfg *cfg) {
  StringToStringMap *props = lmxIntlCopyStringToStringMap(cfg->properties);
  for (LmxLink *e = lmxIntlStringToStringMapIterator(props); e != nullptr;
       e = lmxIntlStringToStringMapIterNext(e)) {
    lmxIntlSetObjProp(object, static_cast<const char *>(e->item),
                      static_cast<const char *>(lmx::mapEntry(e)->value));
  }
  lmxIntlFreeStringToStringMap(props);
}

}  // namespace

extern "C" {

unsigned char lmxIntlLogMgrApplyCfg(Object *object, const char *name) {
  if (object == nullptr || isRoot(name)) return 0;
  ObjCfg *cfg = lmxIntlLogMgrGetCfg(name);
  if (cfg == nullptr) return 0;
  // The chain up to the root, or up to the first configuration met twice.
  lmx::CfgWalk chain;
  for (ObjCfg *at = cfg; chain.enter(at);) {
    char *parentName = lmxLogMgrGetParentConfigName(at);
    at = lmxIntlLogMgrGetCfg(parentName);
    BasMemoryFree(parentName);
  }
  // The farthest ancestor first, so that nearer values override.
  for (int32_t i = chain.size() - 1; i >= 0; --i) applyOwn(object, chain.at(i));
  return 1;
}

unsigned char LmxLogMgrApplyCfg(Object *object, const char *name) {
  return lmx::locked([&] { return lmxIntlLogMgrApplyCfg(object, name); });
}

}  // extern "C"
