// The log manager: configurations registered by name, linked into a tree by
// their dotted names, and applied to objects with everything they inherit.
#include "config/log_mgr.h"

#include <cstring>

#include "collections/collections_intl.h"
#include "collections/links.h"
#include "config/cfg_walk.h"
#include "config/obj_cfg.h"
#include "config/property_values.h"
#include "core/api_frame.h"
#include "core/object.h"

namespace {

struct LogMgr {
  StringToObjCfgMap *configs = nullptr;  // name -> configuration, one reference each
  StringGroup *names = nullptr;          // registered names, in registration order
  unsigned char initialized = 0;         // 1 once both exist
};

LogMgr &logMgr() {
  static LogMgr mgr;  // plain static storage: nothing runs at load
  return mgr;
}

bool isRoot(const char *name) { return name == nullptr || std::strcmp(name, "/") == 0; }

// The registered configuration of a name, without a reference, or null.
ObjCfg *registered(const char *name) {
  LmxLink *entry = lmxIntlStringToObjCfgMapGetNode(logMgr().configs, name);
  return entry != nullptr ? static_cast<ObjCfg *>(lmx::mapEntry(entry)->value) : nullptr;
}

// True when name continues prefix with a dot ("a.b" for "a.b.c").
bool isDottedPrefix(const char *prefix, const char *name) {
  size_t n = std::strlen(prefix);
  return std::strncmp(prefix, name, n) == 0 && name[n] == '.';
}

// A configuration registered after its dotted descendants becomes their
// parent: each registered configuration below cfg's name whose parent is
// farther up than cfg (none, the root, or a dotted prefix of cfg's name)
// moves under cfg. A parent that is not a dotted prefix (set explicitly)
// stays.
void adoptDescendants(ObjCfg *cfg) {
  for (LmxLink *e = lmxIntlStringToObjCfgMapIterator(logMgr().configs); e != nullptr;
       e = lmxIntlStringToObjCfgMapIterNext(e)) {
    auto *child = static_cast<ObjCfg *>(lmx::mapEntry(e)->value);
    if (!isDottedPrefix(cfg->name, child->name)) continue;
    const char *old = child->parentName;
    if (!isRoot(old) && !isDottedPrefix(old, cfg->name)) continue;
    lmxIntlObjCfgRemChild(isRoot(old) ? nullptr : registered(old), child);
    lmxIntlObjCfgAddChild(cfg, child);
  }
}

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

void updateCfg(ObjCfg *cfg) {
  if (cfg == nullptr || !lmxIntlLogMgrHasCfg(cfg->name)) return;
  lmxIntlLogMgrRemCfg(cfg);
  lmxIntlLogMgrAddCfg(cfg);
}

}  // namespace

extern "C" {

void lmxInitLogMgr(void) {
  LogMgr &m = logMgr();
  if (m.initialized) return;
  if (m.configs == nullptr) m.configs = lmxIntlAllocStringToObjCfgMap();
  if (m.names == nullptr) m.names = lmxIntlAllocStringGroup();
  m.initialized = m.configs != nullptr && m.names != nullptr;
}

void lmxCloseLogMgr(void) {
  LogMgr &m = logMgr();
  StringGroup *names = m.names;
  StringToObjCfgMap *configs = m.configs;
  m.names = nullptr;
  m.configs = nullptr;
  m.initialized = 0;
  lmxIntlFreeStringGroup(names);
  lmxIntlFreeStringToObjCfgMap(configs);
}

char *lmxLogMgrGetParentConfigName(ObjCfg *cfg) {
  if (cfg == nullptr) return nullptr;
  if (cfg->parentName != nullptr) return BasStringDup(cfg->parentName);
  char *name = BasStringDup(cfg->name);
  if (name == nullptr) return nullptr;
  do {
    char *dot = std::strrchr(name, '.');
    if (dot == nullptr) {
      BasMemoryFree(name);
      return BasStringDup("/");
    }
    *dot = '\0';
  } while (!lmxIntlLogMgrHasCfg(name));
  ObjCfg *parent = lmxIntlLogMgrGetCfg(name);
  lmxIntlObjCfgSetParent(cfg, parent);
  lmxIntlReleaseObjCfg(parent);
  return name;
}

void lmxIntlLogMgrAddCfg(ObjCfg *cfg) {
  LogMgr &m = logMgr();
  if (!m.initialized || cfg == nullptr || isRoot(cfg->name)) return;
  if (lmxIntlStringToObjCfgMapHasKey(m.configs, cfg->name)) return;
  if (!lmxIntlStringToObjCfgMapPut(m.configs, cfg->name, cfg)) return;
  char *parentName = lmxLogMgrGetParentConfigName(cfg);
  if (!isRoot(parentName)) {
    // A stored parent name that is not registered yet is registered here.
    ObjCfg *parent = lmxIntlLogMgrGetCfg(parentName);
    if (parent != nullptr) {
      lmxIntlObjCfgSetParent(cfg, parent);
      lmxIntlObjCfgAddChild(parent, cfg);
      lmxIntlReleaseObjCfg(parent);
    }
  }
  BasMemoryFree(parentName);
  adoptDescendants(cfg);
  lmxIntlStringGroupAdd(m.names, cfg->name);
}

void lmxIntlLogMgrRemCfg(ObjCfg *cfg) {
  LogMgr &m = logMgr();
  if (cfg == nullptr || cfg->name == nullptr) return;
  if (!lmxIntlStringToObjCfgMapHasKey(m.configs, cfg->name)) return;
  // cfg may be the registry's own record: keep it alive to the end.
  lmxIntlAcquireObjCfg(cfg);
  lmxIntlStringToObjCfgMapRem(m.configs, cfg->name);
  // A parent or child of cfg's own name (a loop made by hand) would bring
  // the name straight back into the registry: it is passed over.
  bool selfParent = cfg->parentName != nullptr && std::strcmp(cfg->parentName, cfg->name) == 0;
  ObjCfg *parent = selfParent ? nullptr : lmxIntlObjCfgGetParent(cfg);
  lmxIntlObjCfgRemChild(parent, cfg);
  while (LmxLink *first = lmxIntlStringGroupIterator(cfg->children)) {
    char *childName = lmxIntlStringGroupIterGet(first);
    lmxIntlStringGroupIterRem(first);
    bool self = childName != nullptr && std::strcmp(childName, cfg->name) == 0;
    ObjCfg *child = self ? nullptr : lmxIntlLogMgrGetCfg(childName);
    lmxIntlObjCfgAddChild(parent, child);
    lmxIntlReleaseObjCfg(child);
    BasMemoryFree(childName);
  }
  lmxIntlReleaseObjCfg(parent);
  lmxIntlStringGroupRem(m.names, cfg->name);
  lmxIntlReleaseObjCfg(cfg);
}

ObjCfg *lmxIntlLogMgrGetCfg(const char *name) {
  if (isRoot(name)) return nullptr;
  if (ObjCfg *cfg = lmxIntlStringToObjCfgMapGet(logMgr().configs, name)) return cfg;
  ObjCfg *cfg = lmxIntlAllocObjCfg(name);
  lmxIntlLogMgrAddCfg(cfg);
  return cfg;
}

unsigned char lmxIntlLogMgrHasCfg(const char *name) {
  return lmxIntlStringToObjCfgMapHasKey(logMgr().configs, name);
}

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

unsigned char lmxLogMgrAddCfgFromFile(const char *config, const char *property,
                                      const char *value) {
  if (config == nullptr || property == nullptr || value == nullptr) return 0;
  if (config[0] == '\0' || property[0] == '\0' || isRoot(config)) return 0;
  bool known = lmxIntlLogMgrHasCfg(config);
  ObjCfg *cfg = lmxIntlLogMgrGetCfg(config);
  if (cfg == nullptr) return 0;
  // A configuration that could not be registered would lose the value.
  unsigned char stored = lmxIntlLogMgrHasCfg(config) && lmxIntlSetObjCfgProp(cfg, property, value);
  if (stored && !known) lmxIntlObjCfgSetFromFile(cfg, 1);
  lmxIntlReleaseObjCfg(cfg);
  return stored;
}

// Locked shells.
void LmxLogMgrAddCfg(ObjCfg *cfg) { lmx::locked([&] { lmxIntlLogMgrAddCfg(cfg); }); }
void LmxLogMgrRemCfg(ObjCfg *cfg) { lmx::locked([&] { lmxIntlLogMgrRemCfg(cfg); }); }
void LmxLogMgrUpdateCfg(ObjCfg *cfg) { lmx::locked([&] { updateCfg(cfg); }); }
LmxLink *LmxLogMgrConfigNames(void) {
  return lmx::locked([&] { return lmxIntlStringGroupIterator(logMgr().names); });
}
ObjCfg *LmxLogMgrGetCfg(const char *name) {
  return lmx::locked([&] { return lmxIntlLogMgrGetCfg(name); });
}
unsigned char LmxLogMgrHasCfg(const char *name) {
  return lmx::locked([&] { return lmxIntlLogMgrHasCfg(name); });
}
unsigned char LmxLogMgrApplyCfg(Object *object, const char *name) {
  return lmx::locked([&] { return lmxIntlLogMgrApplyCfg(object, name); });
}

}  // extern "C"
