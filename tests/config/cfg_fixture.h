// A fresh log manager for each test, and small readers of configurations.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "collections/links.h"
#include "config/log_mgr.h"
#include "config/obj_cfg.h"

namespace test {

class LogMgrTest : public ::testing::Test {
 protected:
  void SetUp() override { lmxInitLogMgr(); }
  void TearDown() override { lmxCloseLogMgr(); }

 public:
  // Registers (if needed) and returns the configuration without a
  // reference of the caller's: the registry keeps it alive.
  static ObjCfg *cfg(const char *name) {
    ObjCfg *c = lmxIntlLogMgrGetCfg(name);
    lmxIntlReleaseObjCfg(c);
    return c;
  }
  // "value" / "-" when not found.
  static std::string prop(const char *name, const char *key) {
    unsigned char found = 7;
    char *text = lmxIntlGetInheritedObjCfgProp(cfg(name), key, &found);
    std::string out = found == 1 ? std::string(text != nullptr ? text : "null") : "-";
    if (found > 1) out = "found flag not set";
    BasMemoryFree(text);
    return out;
  }
  static std::string parentOf(const char *name) {
    const char *p = cfg(name)->parentName;
    return p != nullptr ? p : "null";
  }
  // The texts of a group walk joined by commas.
  static std::string joined(LmxLink *walk) {
    std::string out;
    for (; walk != nullptr; walk = walk->next) {
      out += (out.empty() ? "" : ",") + std::string(static_cast<const char *>(walk->item));
    }
    return out;
  }
  static std::string children(const char *name) {
    return joined(lmxIntlObjCfgChildrenNames(cfg(name)));
  }
  static std::string names() { return joined(LmxLogMgrConfigNames()); }
};

}  // namespace test
