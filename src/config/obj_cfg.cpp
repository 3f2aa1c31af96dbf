// Configurations: counting, the tree by parent name, and properties with
// the inheritance rule.
#include "config/obj_cfg.h"

#include <cstring>

#include "collections/collections_intl.h"
#include "config/cfg_walk.h"
#include "config/log_mgr.h"
#include "config/property_values.h"
#include "cx/api_lock.h"


namespace {

bool isRoot(const char *name) { return name == nullptr || std::strcmp(name, "/") == 0; }

// The inherited text and its found flag, converted by one of the property
// value converters; found only when the conversion accepts the text.
template <typename T>
T inheritedAs(const ObjCfg *cfg, const char *name, unsigned char *found,
              T (*convert)(const char *, unsigned char *)) {
  unsigned char present = 0, accepted = 0;
  char *text = lmxIntlGetInheritedObjCfgProp(cfg, name, &present);
  T value = present ? convert(text, &accepted) : T{};
  BasMemoryFree(text);
  if (!accepted) value = T{};
  if (found != nullptr) *found = present && accepted;
  return value;
}

// Runs one of the typed map setters on the configuration's own map.
template <typename Set>
void setTyped(ObjCfg *cfg, const char *name, Set set) {
  if (cfg == nullptr) return;
  set(lmxFetchObjCfgPropMap(cfg), name);
}

}  // namespace

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

char *lmxIntlObjCfgGetName(const ObjCfg *cfg) {
  return cfg != nullptr ? BasStringDup(cfg->name) : nullptr;
}

void lmxIntlObjCfgSetFromFile(ObjCfg *cfg, unsigned char fromFile) {
  if (cfg != nullptr) cfg->fromFile = fromFile;
}

ObjCfg *lmxIntlObjCfgGetParent(const ObjCfg *cfg) {
  if (cfg == nullptr || isRoot(cfg->parentName)) return nullptr;
  return lmxIntlLogMgrGetCfg(cfg->parentName);
}

void lmxIntlObjCfgSetParent(ObjCfg *cfg, const ObjCfg *parent) {
  if (cfg == nullptr || parent == nullptr || parent->name == nullptr) return;
  if (cfg->parentName != nullptr && std::strcmp(cfg->parentName, parent->name) == 0) return;
  char *copy = BasStringDup(parent->name);
  if (copy == nullptr) return;
  BasMemoryFree(cfg->parentName);
  cfg->parentName = copy;
}

void lmxIntlObjCfgAddChild(ObjCfg *parent, ObjCfg *child) {
  if (parent == nullptr || child == nullptr) return;
  if (parent->children == nullptr) parent->children = lmxIntlAllocStringGroup();
  lmxIntlStringGroupAdd(parent->children, child->name);
  lmxIntlObjCfgSetParent(child, parent);
}

void lmxIntlObjCfgRemChild(ObjCfg *parent, const ObjCfg *child) {
  if (parent == nullptr || child == nullptr || parent->children == nullptr) return;
  lmxIntlStringGroupRem(parent->children, child->name);
}

LmxLink *lmxIntlObjCfgChildrenNames(const ObjCfg *cfg) {
  return cfg != nullptr ? lmxIntlStringGroupIterator(cfg->children) : nullptr;
}

char *lmxIntlGetInheritedObjCfgProp(const ObjCfg *cfg, const char *name, unsigned char *found) {
  if (found != nullptr) *found = 0;
  if (cfg == nullptr || name == nullptr) return nullptr;
  // The walk holds a reference to each configuration it has met; the first
  // is the caller's, taken once more so that every entry is released alike.
  lmx::CfgWalk walk;
  for (ObjCfg *at = lmxIntlAcquireObjCfg(const_cast<ObjCfg *>(cfg)); walk.enter(at);
       at = lmxIntlObjCfgGetParent(at)) {
    if (lmxIntlStringToStringMapHasKey(at->properties, name)) {
      if (found != nullptr) *found = 1;
      return lmxIntlStringToStringMapGet(at->properties, name);
    }
  }
  return nullptr;
}

unsigned char lmxIntlSetObjCfgProp(ObjCfg *cfg, const char *name, const char *text) {
  if (cfg == nullptr) return 0;
  return LmxSetMapProp(lmxFetchObjCfgPropMap(cfg), name, text);
}

StringToStringMap *lmxFetchObjCfgPropMap(ObjCfg *cfg) {
  if (cfg == nullptr) return nullptr;
  if (cfg->properties == nullptr) cfg->properties = lmxIntlAllocStringToStringMap();
  return cfg->properties;
}

LmxLink *lmxIntlObjCfgProperties(const ObjCfg *cfg) {
  return cfg != nullptr ? lmxIntlStringToStringMapIterator(cfg->properties) : nullptr;
}

// Locked shells.
ObjCfg *LmxAllocObjCfg(const char *name) {
  return lmx::locked([&] { return lmxIntlAllocObjCfg(name); });
}
ObjCfg *LmxAcquireObjCfg(ObjCfg *cfg) {
  return lmx::locked([&] { return lmxIntlAcquireObjCfg(cfg); });
}
void LmxReleaseObjCfg(ObjCfg *cfg) { lmx::locked([&] { lmxIntlReleaseObjCfg(cfg); }); }
char *LmxObjCfgGetName(const ObjCfg *cfg) {
  return lmx::locked([&] { return lmxIntlObjCfgGetName(cfg); });
}
unsigned char LmxObjCfgIsFromFile(const ObjCfg *cfg) {
  return lmx::locked([&] { return static_cast<unsigned char>(cfg != nullptr && cfg->fromFile); });
}
void LmxObjCfgSetFromFile(ObjCfg *cfg, unsigned char fromFile) {
  lmx::locked([&] { lmxIntlObjCfgSetFromFile(cfg, fromFile); });
}
ObjCfg *LmxObjCfgGetParent(const ObjCfg *cfg) {
  return lmx::locked([&] { return lmxIntlObjCfgGetParent(cfg); });
}
void LmxObjCfgSetParent(ObjCfg *cfg, const ObjCfg *parent) {
  lmx::locked([&] { lmxIntlObjCfgSetParent(cfg, parent); });
}
void LmxObjCfgAddChild(ObjCfg *parent, ObjCfg *child) {
  lmx::locked([&] { lmxIntlObjCfgAddChild(parent, child); });
}
void LmxObjCfgRemChild(ObjCfg *parent, const ObjCfg *child) {
  lmx::locked([&] { lmxIntlObjCfgRemChild(parent, child); });
}
LmxLink *LmxObjCfgChildrenNames(const ObjCfg *cfg) {
  return lmx::locked([&] { return lmxIntlObjCfgChildrenNames(cfg); });
}
LmxLink *LmxObjCfgProperties(const ObjCfg *cfg) {
  return lmx::locked([&] { return lmxIntlObjCfgProperties(cfg); });
}

char *LmxGetObjCfgProp(const ObjCfg *cfg, const char *name, unsigned char *found) {
  if (found != nullptr) *found = 0;
  return lmx::locked([&] { return lmxIntlGetInheritedObjCfgProp(cfg, name, found); });
}
unsigned char LmxGetObjCfgPropBool(const ObjCfg *cfg, const char *name, unsigned char *found) {
  if (found != nullptr) *found = 0;
  return lmx::locked([&] { return inheritedAs(cfg, name, found, lmxPropStrToBool); });
}
int32_t LmxGetObjCfgPropInt(const ObjCfg *cfg, const char *name, unsigned char *found) {
  if (found != nullptr) *found = 0;
  return lmx::locked([&] { return inheritedAs(cfg, name, found, lmxPropStrToInt32); });
}
int64_t LmxGetObjCfgPropLong(const ObjCfg *cfg, const char *name, unsigned char *found) {
  if (found != nullptr) *found = 0;
  return lmx::locked([&] { return inheritedAs(cfg, name, found, lmxPropStrToInt64); });
}
float LmxGetObjCfgPropFloat(const ObjCfg *cfg, const char *name, unsigned char *found) {
  if (found != nullptr) *found = 0;
  return lmx::locked([&] { return inheritedAs(cfg, name, found, lmxPropStrToFloat32); });
}
double LmxGetObjCfgPropDouble(const ObjCfg *cfg, const char *name, unsigned char *found) {
  if (found != nullptr) *found = 0;
  return lmx::locked([&] { return inheritedAs(cfg, name, found, lmxPropStrToFloat64); });
}

void LmxSetObjCfgProp(ObjCfg *cfg, const char *name, const char *text) {
  lmx::locked([&] { lmxIntlSetObjCfgProp(cfg, name, text); });
}
void LmxSetObjCfgPropBool(ObjCfg *cfg, const char *name, unsigned char value) {
  lmx::locked([&] {
    setTyped(cfg, name, [&](StringToStringMap *m, const char *k) { LmxSetMapPropBool(m, k, value); });
  });
}
void LmxSetObjCfgPropInt(ObjCfg *cfg, const char *name, int32_t value) {
  lmx::locked([&] {
    setTyped(cfg, name, [&](StringToStringMap *m, const char *k) { LmxSetMapPropInt(m, k, value); });
  });
}
void LmxSetObjCfgPropLong(ObjCfg *cfg, const char *name, int64_t value) {
  lmx::locked([&] {
    setTyped(cfg, name, [&](StringToStringMap *m, const char *k) { LmxSetMapPropLong(m, k, value); });
  });
}
void LmxSetObjCfgPropFloat(ObjCfg *cfg, const char *name, float value) {
  lmx::locked([&] {
    setTyped(cfg, name, [&](StringToStringMap *m, const char *k) { LmxSetMapPropFloat(m, k, value); });
  });
}
void LmxSetObjCfgPropDouble(ObjCfg *cfg, const char *name, double value) {
  lmx::locked([&] {
    setTyped(cfg, name,
             [&](StringToStringMap *m, const char *k) { LmxSetMapPropDouble(m, k, value); });
  });
}

}  // extern "C"
