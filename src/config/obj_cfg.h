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
}

namespace lmx {

// Configuration maps hold counted references.
using CfgRule = HandleRule<ObjCfg, lmxIntlAcquireObjCfg, lmxIntlReleaseObjCfg>;

}  // namespace lmx
