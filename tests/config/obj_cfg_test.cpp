#include <gtest/gtest.h>

#include <string>

#include "cfg_fixture.h"

namespace {

using ObjCfgs = test::LogMgrTest;

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
  LmxSetObjCfgProp(cfg("t"), "n", "42");  // inherited
  LmxSetObjCfgProp(c, "bad", "abc");
  LmxSetObjCfgPropBool(c, "b", 1);
  LmxSetObjCfgPropInt(c, "i", -7);
  LmxSetObjCfgPropLong(c, "l", 5000000000LL);
  LmxSetObjCfgPropFloat(c, "f", 0.25f);
  LmxSetObjCfgPropDouble(c, "d", 2.5);
  struct {
    const char *key;
    double value;
    unsigned char found;
    char type;  // i int, l long, b bool, f float, d double
  } cases[] = {{"n", 42, 1, 'i'},  {"bad", 0, 0, 'i'}, {"i", -7, 1, 'i'},  {"none", 0, 0, 'i'},
               {"l", 5e9, 1, 'l'}, {"b", 1, 1, 'b'},   {"bad", 0, 0, 'b'}, {"f", 0.25, 1, 'f'},
               {"d", 2.5, 1, 'd'}, {"bad", 0, 0, 'd'}};
  for (const auto &r : cases) {
    unsigned char found = 7;
    double got = r.type == 'i'   ? LmxGetObjCfgPropInt(c, r.key, &found)
                 : r.type == 'l' ? static_cast<double>(LmxGetObjCfgPropLong(c, r.key, &found))
                 : r.type == 'b' ? LmxGetObjCfgPropBool(c, r.key, &found)
                 : r.type == 'f' ? LmxGetObjCfgPropFloat(c, r.key, &found)
                                 : LmxGetObjCfgPropDouble(c, r.key, &found);
    EXPECT_EQ(got, r.value) << r.key << " as " << r.type;
    EXPECT_EQ(found, r.found) << r.key << " as " << r.type;
  }
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

TEST_F(ObjCfgs, NameFlagsOwnPropertiesAndCounting) {
  ObjCfg *c = LmxAllocObjCfg("n.m");
  char *name = LmxObjCfgGetName(c);
  EXPECT_STREQ(name, "n.m");
  BasMemoryFree(name);
  EXPECT_EQ(LmxObjCfgIsFromFile(c), 0);
  LmxObjCfgSetFromFile(c, 1);
  EXPECT_EQ(LmxObjCfgIsFromFile(c), 1);
  EXPECT_EQ(LmxObjCfgProperties(c), nullptr);
  EXPECT_EQ(lmxFetchObjCfgPropMap(c), c->properties);
  EXPECT_TRUE(lmxIntlSetObjCfgProp(c, "k", "v"));
  EXPECT_EQ(joined(LmxObjCfgProperties(c)), "k");
  EXPECT_EQ(LmxAcquireObjCfg(c), c);
  LmxReleaseObjCfg(c);
  EXPECT_EQ(c->references, 1u);
  LmxReleaseObjCfg(c);  // freed: the sanitizer run reports a leak or a late use
  EXPECT_EQ(LmxAllocObjCfg(nullptr), nullptr);
  EXPECT_EQ(LmxObjCfgGetName(nullptr), nullptr);
}

}  // namespace
