#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cfg_fixture.h"
#include "lumex/config.h"

namespace {

using ObjCfgs = test::LogMgrTest;

}  // namespace

TEST_F(ObjCfgs, LookupsInheritUntilTheNearestValueEmptyOnesIncluded) {
  LmxSetObjCfgProp(cfg("a"), "p", "1");
  LmxSetObjCfgProp(cfg("a"), "e", "");
  LmxSetObjCfgProp(cfg("a.b"), "q", "2");
  LmxSetObjCfgProp(cfg("a.b"), "p", "");
  LmxSetObjCfgProp(cfg("a.b.c"), "q", "3");
  struct {
    const char *cfg, *key, *expected;
  } cases[] = {
      {"a", "p", "1"},     {"a.b", "p", ""},     {"a.b.c", "p", ""},  {"a.b.c", "e", ""},
      {"a.b.c", "q", "3"}, {"a.b", "q", "2"},    {"a", "q", "-"},     {"a.b.c", "P", "-"},
      {"other", "p", "-"},
  };
  for (const auto &c : cases) EXPECT_EQ(prop(c.cfg, c.key), c.expected) << c.cfg << " " << c.key;
  unsigned char found = 7;
  EXPECT_EQ(LmxGetObjCfgProp(nullptr, "p", &found), nullptr);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(LmxGetObjCfgProp(cfg("a"), nullptr, &found), nullptr);
  EXPECT_EQ(found, 0);
}

TEST_F(ObjCfgs, TypedLookupsAreFoundOnlyWhenTheTextConverts) {
  ObjCfg *c = cfg("t.x");
  LmxSetObjCfgProp(cfg("t"), "n", "42");
  LmxSetObjCfgProp(c, "bad", "abc");
  LmxSetObjCfgPropBool(c, "b", 1);
  LmxSetObjCfgPropLong(c, "l", 5000000000LL);
  LmxSetObjCfgPropDouble(c, "d", 2.5);
  LmxSetObjCfgPropFloat(c, "f", 0.25f);
  LmxSetObjCfgPropInt(c, "i", -7);
  struct {
    const char *key;
    double value;
    unsigned char found;
  } ints[] = {{"n", 42, 1}, {"bad", 0, 0}, {"i", -7, 1}, {"none", 0, 0}};
  for (const auto &r : ints) {
    unsigned char found = 7;
    EXPECT_EQ(LmxGetObjCfgPropInt(c, r.key, &found), r.value) << r.key;
    EXPECT_EQ(found, r.found) << r.key;
  }
  unsigned char fb = 7, fl = 7, fd = 7, ff = 7, fbad = 7;
  EXPECT_EQ(LmxGetObjCfgPropBool(c, "b", &fb), 1);
  EXPECT_EQ(LmxGetObjCfgPropLong(c, "l", &fl), 5000000000LL);
  EXPECT_DOUBLE_EQ(LmxGetObjCfgPropDouble(c, "d", &fd), 2.5);
  EXPECT_FLOAT_EQ(LmxGetObjCfgPropFloat(c, "f", &ff), 0.25f);
  EXPECT_EQ(LmxGetObjCfgPropBool(c, "bad", &fbad), 0);
  EXPECT_EQ(fb + fl + fd + ff, 4);
  EXPECT_EQ(fbad, 0);
  char *text = LmxGetObjCfgProp(c, "b", nullptr);
  EXPECT_STREQ(text, "true");
  BasMemoryFree(text);
}

TEST_F(ObjCfgs, ChainEndsAtTheRootAndAtTheFirstConfigurationMetTwice) {
  ObjCfg *root = lmxIntlAllocObjCfg("/");
  ObjCfg *x = cfg("x"), *y = cfg("y"), *z = cfg("z");
  LmxSetObjCfgProp(y, "held", "by y");
  LmxObjCfgSetParent(z, root);  // parent "/" is no parent
  LmxObjCfgSetParent(x, y);     // x -> y -> x
  LmxObjCfgSetParent(y, x);
  EXPECT_EQ(LmxObjCfgGetParent(z), nullptr);
  EXPECT_EQ(prop("z", "held"), "-");
  EXPECT_EQ(prop("x", "held"), "by y");
  EXPECT_EQ(prop("x", "absent"), "-");
  EXPECT_EQ(prop("y", "absent"), "-");
  LmxObjCfgSetParent(z, z);  // its own parent
  EXPECT_EQ(prop("z", "absent"), "-");
  EXPECT_FALSE(LmxLogMgrHasCfg("/"));
  lmxIntlReleaseObjCfg(root);
}

TEST_F(ObjCfgs, TreeLinksByName) {
  ObjCfg *p = LmxAllocObjCfg("p"), *q = LmxAllocObjCfg("q"), *kid = LmxAllocObjCfg("kid");
  EXPECT_EQ(LmxObjCfgChildrenNames(p), nullptr);
  LmxObjCfgAddChild(p, kid);
  LmxObjCfgAddChild(p, kid);  // a name is kept once
  EXPECT_EQ(joined(LmxObjCfgChildrenNames(p)), "kid");
  EXPECT_STREQ(kid->parentName, "p");
  const char *stored = kid->parentName;
  LmxObjCfgSetParent(kid, p);  // same name: nothing changes
  EXPECT_EQ(kid->parentName, stored);
  LmxObjCfgSetParent(kid, q);  // no children group changes
  EXPECT_STREQ(kid->parentName, "q");
  EXPECT_EQ(LmxObjCfgChildrenNames(q), nullptr);
  LmxObjCfgRemChild(p, kid);
  EXPECT_EQ(LmxObjCfgChildrenNames(p), nullptr);
  EXPECT_STREQ(kid->parentName, "q");
  ObjCfg *resolved = LmxObjCfgGetParent(kid);  // registers "q" by name, not this record
  ASSERT_NE(resolved, nullptr);
  EXPECT_NE(resolved, q);
  EXPECT_TRUE(LmxLogMgrHasCfg("q"));
  LmxReleaseObjCfg(resolved);
  for (ObjCfg *c : {p, q, kid}) LmxReleaseObjCfg(c);
}

TEST_F(ObjCfgs, NameFlagsPropertiesAndCounting) {
  ObjCfg *c = LmxAllocObjCfg("n.m");
  char *name = LmxObjCfgGetName(c);
  EXPECT_STREQ(name, "n.m");
  BasMemoryFree(name);
  EXPECT_EQ(LmxObjCfgIsFromFile(c), 0);
  LmxObjCfgSetFromFile(c, 1);
  EXPECT_EQ(LmxObjCfgIsFromFile(c), 1);
  EXPECT_EQ(LmxObjCfgProperties(c), nullptr);
  EXPECT_EQ(c->properties, nullptr);
  StringToStringMap *own = lmxFetchObjCfgPropMap(c);
  EXPECT_EQ(lmxFetchObjCfgPropMap(c), own);
  EXPECT_TRUE(lmxIntlSetObjCfgProp(c, "k", "v"));
  LmxLink *walk = LmxObjCfgProperties(c);
  ASSERT_NE(walk, nullptr);
  EXPECT_STREQ(static_cast<const char *>(walk->item), "k");
  EXPECT_EQ(LmxAcquireObjCfg(c), c);
  EXPECT_EQ(c->references, 2u);
  LmxReleaseObjCfg(c);
  EXPECT_EQ(c->references, 1u);
  LmxReleaseObjCfg(c);  // freed: the sanitizer run reports any leak or late use
  EXPECT_EQ(LmxAllocObjCfg(nullptr), nullptr);
  EXPECT_EQ(LmxObjCfgGetName(nullptr), nullptr);
  EXPECT_EQ(LmxObjCfgIsFromFile(nullptr), 0);
}
