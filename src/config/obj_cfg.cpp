// Making configurations and counting their references.
#include "config/obj_cfg.h"

#include "collections/collections_intl.h"
#include "core/api_frame.h"

extern "C" {

ObjCfg *lmxIntlAllocObjCfg(const char *name) {
  if (name == nullptr) return nullptr;
  auto *cfg = static_cast<ObjCfg *>(BasMemoryCalloc(1, sizeof(ObjCfg)));
  if (cfg == nullptr) return nullptr;
  cfg->name = BasStringDup(name);
  if (cfg->name == nullptr) {
    BasMemoryFree(cfg);
    return nullptr;
  }
  cfg->references = 1;
  return cfg;
}

ObjCfg *lmxIntlAcquireObjCfg(ObjCfg *cfg) {
  if (cfg != nullptr) ++cfg->references;
  return cfg;
}

void lmxIntlReleaseObjCfg(ObjCfg *cfg) {
  if (cfg == nullptr || cfg->references == 0) return;
  if (--cfg->references != 0) return;
  BasMemoryFree(cfg->name);
  BasMemoryFree(cfg->parentName);
  lmxIntlFreeStringGroup(cfg->children);
  lmxIntlFreeStringToStringMap(cfg->properties);
  BasMemoryFree(cfg);
}

ObjCfg *LmxAllocObjCfg(const char *name) { LMX_LOCKED(lmxIntlAllocObjCfg(name)); }
ObjCfg *LmxAcquireObjCfg(ObjCfg *cfg) { LMX_LOCKED(lmxIntlAcquireObjCfg(cfg)); }
void LmxReleaseObjCfg(ObjCfg *cfg) { LMX_LOCKED(lmxIntlReleaseObjCfg(cfg)); }

}  // extern "C"
