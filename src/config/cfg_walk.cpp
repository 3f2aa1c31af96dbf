// The walk up the configuration tree that stops at a configuration met twice.
#include "config/cfg_walk.h"

#include <cstring>

namespace lmx {

CfgWalk::~CfgWalk() {
  for (int32_t i = 0; i < count_; ++i) lmxIntlReleaseObjCfg(items_[i]);
  if (items_ != inline_) BasMemoryFree(items_);
}

bool CfgWalk::enter(ObjCfg *cfg) {
  if (cfg == nullptr) return false;
  bool met = false;
  for (int32_t i = 0; i < count_; ++i) met = met || items_[i] == cfg;
  if (!met && count_ == capacity_) {
    uint32_t bytes = static_cast<uint32_t>(capacity_) * 2 * sizeof(ObjCfg *);
    void *grown = items_ == inline_ ? BasMemoryMalloc(bytes) : BasMemoryRealloc(items_, bytes);
    if (grown != nullptr) {
      if (items_ == inline_) std::memcpy(grown, inline_, sizeof inline_);
      items_ = static_cast<ObjCfg **>(grown);
      capacity_ *= 2;
    }
  }
  if (met || count_ == capacity_) {
    lmxIntlReleaseObjCfg(cfg);
    return false;
  }
  items_[count_++] = cfg;
  return true;
}

}  // namespace lmx
