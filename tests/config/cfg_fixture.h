// A fresh log manager for each test, and small readers of configurations.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "collections/links.h"
#include "config/log_mgr.h"
#include "config/obj_cfg.h"
#include "lumex/config.h"

namespace test {

class LogMgrTest : public ::testing::Test {
 protected:
  void SetUp() override { lmxInitLogMgr(); }
  void TearDown() override { lmxCloseLogMgr(); }

 public:
  static void reset() {
    lmxCloseLogMgr();
    lmxInitLogMgr();
  }
  // Registers (if needed) and returns the configuration without a
  // reference of the caller's: the registry keeps it alive.
  static ObjCfg *cfg(const char *name) {
    ObjCfg *c = lmxIntlLogMgrGetCfg(name);
    lmxIntlReleaseObjCfg(c);
    return c;
  }
  // The inherited value, "-" when not found.
  static std::string prop(const char *name, const char *key) {
    unsigned char found = 7;
    char *text = lmxIntlGetInheritedObjCfgProp(cfg(name), key, &found);
    std::string out = found == 1 ? std::string(text != nullptr ? text : "null") : "-";
    if (found > 1) out = "found flag not set";
    BasMemoryFree(text);
    return out;
  }
  // The texts of a group walk joined by commas.
  static std::string joined(LmxLink *walk) {
    std::string out;
    for (; walk != nullptr; walk = walk->next) {
      out += (out.empty() ? "" : ",") + std::string(static_cast<const char *>(walk->item));
    }
    return out;
  }
  static std::string names() { return joined(LmxLogMgrConfigNames()); }
  // The registry in order, each configuration as name, "*" when made from a
  // file, ">parent", "[children]" and "{own properties}" (parts when present).
  static std::string tree() {
    std::string out;
    for (LmxLink *n = LmxLogMgrConfigNames(); n != nullptr; n = n->next) {
      ObjCfg *c = cfg(static_cast<const char *>(n->item));
      out += (out.empty() ? "" : " ") + std::string(c->name) + (c->fromFile ? "*" : "");
      if (c->parentName != nullptr) out += std::string(">") + c->parentName;
      const std::string kids = joined(lmxIntlObjCfgChildrenNames(c));
      if (!kids.empty()) out += "[" + kids + "]";
      std::string props;
      for (LmxLink *e = LmxObjCfgProperties(c); e != nullptr; e = e->next) {
        const char *key = static_cast<const char *>(e->item);
        props += (props.empty() ? "" : ",") + std::string(key) + "=" + prop(c->name, key);
      }
      if (!props.empty()) out += "{" + props + "}";
    }
    return out;
  }
};

}  // namespace test
