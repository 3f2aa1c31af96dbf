// A walk up the configuration tree that remembers every configuration it
// has met, so that a chain of parent names that comes back on itself ends
// at the first configuration met twice.
#pragma once

#include <cstdint>

#include "config/obj_cfg.h"

namespace lmx {

class CfgWalk {
 public:
  CfgWalk() = default;
  ~CfgWalk();
  CfgWalk(const CfgWalk &) = delete;
  CfgWalk &operator=(const CfgWalk &) = delete;

  // Takes over one reference to cfg and remembers it. False, with the
  // reference given back, for null, for a configuration met before on this
  // walk, or when memory runs out: the walk ends there.
  bool enter(ObjCfg *cfg);
  int32_t size() const { return count_; }
  ObjCfg *at(int32_t i) const { return items_[i]; }

 private:
  static constexpr int32_t kInline = 16;
  ObjCfg *inline_[kInline] = {};
  ObjCfg **items_ = inline_;
  int32_t count_ = 0;
  int32_t capacity_ = kInline;
};

}  // namespace lmx
