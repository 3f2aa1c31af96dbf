// The configuration record and its reference counting.
#pragma once

#include <cstdint>

#include "collections/value_rules.h"
#include "lumex/collections.h"
#include "lumex/config.h"

struct ObjCfg {
  uint32_t references;           // 1 at creation
  char *name;                    // owned, never changes
  char *parentName;              // owned, null until a parent is set
  StringGroup *children;         // names of the children, made with the first
  StringToStringMap *properties;  // made with the first property
  unsigned char fromFile;        // 1 when first made from a properties file
};

extern "C" {
// A new configuration with one reference, or null for a null name or when
// memory runs out. Not registered anywhere.
LMX_API ObjCfg *lmxIntlAllocObjCfg(const char *name);
// One more reference; null for null.
LMX_API ObjCfg *lmxIntlAcquireObjCfg(ObjCfg *cfg);
// One reference back; the last one frees the configuration.
LMX_API void lmxIntlReleaseObjCfg(ObjCfg *cfg);

// The unlocked forms of the operations in lumex/config.h; the same
// behaviour, for code that holds the API lock.
LMX_API char *lmxIntlObjCfgGetName(const ObjCfg *cfg);
LMX_API void lmxIntlObjCfgSetFromFile(ObjCfg *cfg, unsigned char fromFile);
LMX_API ObjCfg *lmxIntlObjCfgGetParent(const ObjCfg *cfg);
LMX_API void lmxIntlObjCfgSetParent(ObjCfg *cfg, const ObjCfg *parent);
LMX_API void lmxIntlObjCfgAddChild(ObjCfg *parent, ObjCfg *child);
LMX_API void lmxIntlObjCfgRemChild(ObjCfg *parent, const ObjCfg *child);
LMX_API LmxLink *lmxIntlObjCfgChildrenNames(const ObjCfg *cfg);
// The inherited value of a property: a new copy, or null. *found (when not
// null) tells whether one was found.
LMX_API char *lmxIntlGetInheritedObjCfgProp(const ObjCfg *cfg, const char *name,
                                            unsigned char *found);
// True when the value was stored.
LMX_API unsigned char lmxIntlSetObjCfgProp(ObjCfg *cfg, const char *name, const char *text);
// The configuration's own property map, made empty when it has none (null
// only when memory runs out); it stays owned by the configuration.
LMX_API StringToStringMap *lmxFetchObjCfgPropMap(ObjCfg *cfg);
LMX_API LmxLink *lmxIntlObjCfgProperties(const ObjCfg *cfg);
}

namespace lmx {

// Configuration maps hold counted references.
using CfgRule = HandleRule<ObjCfg, lmxIntlAcquireObjCfg, lmxIntlReleaseObjCfg>;

}  // namespace lmx
