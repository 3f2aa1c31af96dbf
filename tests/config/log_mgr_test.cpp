#include <gtest/gtest.h>

#include <string>

#include "../common/test_objects.h"
#include "../cx/temp_dir.h"
#include "cfg_fixture.h"
#include "core/log_mgr_apply.h"
#include "lumex/config.h"

namespace {

using LogMgr = test::LogMgrTest;

// Registers each name in order (a configuration made by name, as a lookup
// makes it).
void registerAll(std::initializer_list<const char *> list) {
  for (const char *name : list) lmxIntlReleaseObjCfg(lmxIntlLogMgrGetCfg(name));
}

}  // namespace

TEST_F(LogMgr, ParentIsTheNearestRegisteredPrefixAndLaterPrefixesAdopt) {
  struct {
    std::initializer_list<const char *> registered;
    const char *name, *parent, *children;
  } cases[] = {
      {{"a", "a.b.c"}, "a.b.c", "a", ""},
      {{"a", "a.b.c", "a.b"}, "a.b.c", "a.b", ""},  // a.b adopts a.b.c
      {{"a", "a.b.c", "a.b"}, "a.b", "a", "a.b.c"},
      {{"a", "a.b.c", "a.b"}, "a", "null", "a.b"},
      {{"a.b.c", "a"}, "a.b.c", "a", ""},          // a top-level name adopts too
      {{"a", "a.b.c", "a.b.c.d", "a.b"}, "a.b.c.d", "a.b.c", ""},  // a nearer parent stays
      {{"x", "x.y"}, "x.y", "x", ""},
      {{"x", "xy"}, "xy", "null", ""},  // not a dotted prefix
  };
  for (const auto &c : cases) {
    registerAll(c.registered);
    EXPECT_EQ(parentOf(c.name), c.parent) << c.name;
    EXPECT_EQ(children(c.name), c.children) << c.name;
    lmxCloseLogMgr();
    lmxInitLogMgr();
  }
}

TEST_F(LogMgr, AdoptedChildSeesTheNewParentsProperties) {
  registerAll({"a", "a.b.c"});
  LmxSetObjCfgProp(cfg("a"), "level", "1");
  EXPECT_EQ(prop("a.b.c", "level"), "1");
  ObjCfg *mid = LmxAllocObjCfg("a.b");
  LmxSetObjCfgProp(mid, "level", "2");
  LmxLogMgrAddCfg(mid);
  LmxReleaseObjCfg(mid);
  EXPECT_EQ(prop("a.b.c", "level"), "2");
  EXPECT_EQ(children("a"), "a.b");
}

TEST_F(LogMgr, ExplicitParentThatIsNoPrefixStays) {
  registerAll({"a", "q"});
  ObjCfg *c = LmxAllocObjCfg("a.b.c");
  LmxObjCfgSetParent(c, cfg("q"));
  LmxLogMgrAddCfg(c);
  LmxReleaseObjCfg(c);
  EXPECT_EQ(children("q"), "a.b.c");
  registerAll({"a.b"});
  EXPECT_EQ(parentOf("a.b.c"), "q");
  EXPECT_EQ(children("a.b"), "");
  // An unregistered stored parent name is registered with the child.
  ObjCfg *d = LmxAllocObjCfg("d");
  ObjCfg *stray = LmxAllocObjCfg("s.t");
  LmxObjCfgSetParent(d, stray);  // "s.t" is not registered
  LmxReleaseObjCfg(stray);
  LmxLogMgrAddCfg(d);
  EXPECT_EQ(children("s.t"), "d");
  LmxReleaseObjCfg(d);
  EXPECT_EQ(names(), "a,q,a.b.c,a.b,s.t,d");
}

TEST_F(LogMgr, RegistryLookupsAndTheRoot) {
  EXPECT_FALSE(LmxLogMgrHasCfg("n"));
  EXPECT_FALSE(LmxLogMgrHasCfg("n"));  // asking never registers
  ObjCfg *n = LmxLogMgrGetCfg("n");
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->references, 2u);  // the registry's and the caller's
  EXPECT_TRUE(LmxLogMgrHasCfg("n"));
  ObjCfg *again = LmxLogMgrGetCfg("n");
  EXPECT_EQ(again, n);
  LmxReleaseObjCfg(again);
  LmxReleaseObjCfg(n);
  EXPECT_EQ(LmxLogMgrGetCfg("/"), nullptr);
  EXPECT_EQ(LmxLogMgrGetCfg(nullptr), nullptr);
  ObjCfg *root = LmxAllocObjCfg("/");
  LmxLogMgrAddCfg(root);
  EXPECT_FALSE(LmxLogMgrHasCfg("/"));
  LmxReleaseObjCfg(root);
  ObjCfg *dup = LmxAllocObjCfg("n");
  LmxLogMgrAddCfg(dup);  // the name is taken: ignored
  EXPECT_EQ(dup->references, 1u);
  LmxReleaseObjCfg(dup);
  EXPECT_EQ(names(), "n");
}

TEST_F(LogMgr, UninitializedManagerRegistersNothing) {
  lmxCloseLogMgr();
  ObjCfg *c = lmxIntlLogMgrGetCfg("loose");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->references, 1u);
  EXPECT_FALSE(lmxIntlLogMgrHasCfg("loose"));
  EXPECT_FALSE(lmxLogMgrAddCfgFromFile("loose", "p", "v"));  // would be lost
  lmxIntlReleaseObjCfg(c);
  lmxInitLogMgr();
}

TEST_F(LogMgr, RemovalHandsChildrenToTheParent) {
  registerAll({"a", "a.b", "a.b.c", "a.b.d"});
  ObjCfg *mid = cfg("a.b");
  lmxIntlAcquireObjCfg(mid);
  LmxLogMgrRemCfg(mid);
  EXPECT_FALSE(LmxLogMgrHasCfg("a.b"));
  EXPECT_EQ(names(), "a,a.b.c,a.b.d");
  EXPECT_EQ(children("a"), "a.b.c,a.b.d");
  EXPECT_EQ(parentOf("a.b.c"), "a");
  EXPECT_EQ(joined(lmxIntlObjCfgChildrenNames(mid)), "");
  EXPECT_EQ(mid->references, 1u);  // only ours is left
  LmxReleaseObjCfg(mid);

  // A top-level configuration's children keep its name as their parent: a
  // lookup through them registers an empty one of that name again.
  LmxLogMgrRemCfg(cfg("a"));
  EXPECT_FALSE(LmxLogMgrHasCfg("a"));
  EXPECT_EQ(parentOf("a.b.c"), "a");
  EXPECT_EQ(prop("a.b.c", "x"), "-");
  EXPECT_TRUE(LmxLogMgrHasCfg("a"));
}

TEST_F(LogMgr, UpdateReplacesOnlyARegisteredName) {
  registerAll({"u", "u.v"});
  LmxSetObjCfgProp(cfg("u"), "p", "old");
  ObjCfg *fresh = LmxAllocObjCfg("u");
  LmxSetObjCfgProp(fresh, "p", "new");
  LmxLogMgrUpdateCfg(fresh);
  EXPECT_EQ(cfg("u"), fresh);
  EXPECT_EQ(prop("u.v", "p"), "new");  // the child finds the new record by name
  LmxReleaseObjCfg(fresh);
  ObjCfg *stranger = LmxAllocObjCfg("w");
  LmxLogMgrUpdateCfg(stranger);
  EXPECT_FALSE(LmxLogMgrHasCfg("w"));
  LmxReleaseObjCfg(stranger);
}

namespace {

// Every CfgChange call as "object:key=value" (the value read back from the
// object's own properties, as class operations do).
std::string gCalls;
void recordChange(Object *object, const char *key) {
  char *value = lmxIntlStringToStringMapGet(object->properties, key);
  gCalls += std::string(object->name) + ":" + key + "=" + (value ? value : "null") + ";";
  BasMemoryFree(value);
}

class Apply : public test::ObjectsTest {
 protected:
  void SetUp() override {
    lmxInitLogMgr();
    gCalls.clear();
    handler_.cfgChange = recordChange;
  }
  void TearDown() override {
    lmxCloseLogMgr();
    test::ObjectsTest::TearDown();
  }
};

ObjCfg *registered(const char *name) {
  ObjCfg *c = lmxIntlLogMgrGetCfg(name);
  lmxIntlReleaseObjCfg(c);
  return c;
}

}  // namespace

TEST_F(Apply, AncestorsFirstNearerValuesWin) {
  lmxIntlSetObjCfgProp(registered("a"), "p", "1");
  lmxIntlSetObjCfgProp(registered("a"), "q", "1");
  lmxIntlSetObjCfgProp(registered("a.b"), "q", "2");
  lmxIntlSetObjCfgProp(registered("a.b"), "r", "3");
  int destroyed = 0;
  Object *o = test::newObject(&handler_, "a.b", &destroyed);
  EXPECT_TRUE(LmxLogMgrApplyCfg(o, "a.b"));
  EXPECT_EQ(gCalls, "a.b:p=1;a.b:q=1;a.b:q=2;a.b:r=3;");
  char *q = lmxIntlStringToStringMapGet(o->properties, "q");
  EXPECT_STREQ(q, "2");
  BasMemoryFree(q);
  gCalls.clear();
  EXPECT_TRUE(LmxLogMgrApplyCfg(o, "fresh.name"));  // made and registered, nothing to apply
  EXPECT_EQ(gCalls, "");
  EXPECT_TRUE(LmxLogMgrHasCfg("fresh.name"));
  EXPECT_FALSE(LmxLogMgrApplyCfg(o, "/"));
  EXPECT_FALSE(LmxLogMgrApplyCfg(o, nullptr));
  EXPECT_FALSE(LmxLogMgrApplyCfg(nullptr, "a.b"));
  lmxIntlReleaseObject(o);
  EXPECT_EQ(destroyed, 1);
}

TEST_F(Apply, ParentLoopEndsAtTheFirstConfigurationMetTwice) {
  ObjCfg *x = registered("x"), *y = registered("y");
  lmxIntlSetObjCfgProp(x, "k", "x");
  lmxIntlSetObjCfgProp(y, "k", "y");
  lmxIntlObjCfgSetParent(x, y);
  lmxIntlObjCfgSetParent(y, x);
  int destroyed = 0;
  Object *o = test::newObject(&handler_, "x", &destroyed);
  EXPECT_TRUE(lmxIntlLogMgrApplyCfg(o, "x"));
  EXPECT_EQ(gCalls, "x:k=y;x:k=x;");
  lmxIntlObjCfgSetParent(x, x);
  gCalls.clear();
  EXPECT_TRUE(lmxIntlLogMgrApplyCfg(o, "x"));
  EXPECT_EQ(gCalls, "x:k=x;");
  lmxIntlReleaseObject(o);
}

class ReadFile : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    lmxInitLogMgr();
  }
  void TearDown() override {
    lmxCloseLogMgr();
    TempDir::TearDown();
  }
  bool read(const std::string &text) {
    writeFile(at("lumex.properties"), text);
    return lmxDoReadProps(at("lumex.properties").c_str(), nullptr);
  }
};

TEST_F(ReadFile, RegistersInFileOrderAndMarksNewConfigurations) {
  lmxIntlReleaseObjCfg(lmxIntlLogMgrGetCfg("pre"));
  ASSERT_TRUE(read("a.level=1\na.b.name=x\npre.k=v\n a.b.name = y \n"));
  EXPECT_EQ(test::LogMgrTest::names(), "pre,a,a.b");
  EXPECT_EQ(test::LogMgrTest::parentOf("a.b"), "a");
  EXPECT_EQ(test::LogMgrTest::prop("a.b", "level"), "1");
  EXPECT_EQ(test::LogMgrTest::prop("a.b", "name"), "y ");
  EXPECT_EQ(test::LogMgrTest::prop("pre", "k"), "v");
  struct {
    const char *name;
    unsigned char fromFile;
  } flags[] = {{"a", 1}, {"a.b", 1}, {"pre", 0}};
  for (const auto &f : flags) {
    EXPECT_EQ(LmxObjCfgIsFromFile(test::LogMgrTest::cfg(f.name)), f.fromFile) << f.name;
  }
}

TEST_F(ReadFile, KeysWithoutBothNamesFailTheRead) {
  struct {
    const char *text;
    bool ok;
    const char *names;
  } cases[] = {
      {"level=1\n", false, ""},
      {".x=1\n", false, ""},
      {"a.=1\n", false, ""},
      {"/.x=1\n", false, ""},
      {"ok.k=1\nbad=2\nlater.k=3\n", false, "ok"},
      {"a.b.c.d=1", true, "a.b.c"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(read(c.text), c.ok) << c.text;
    EXPECT_EQ(test::LogMgrTest::names(), c.names) << c.text;
    lmxCloseLogMgr();
    lmxInitLogMgr();
  }
}

TEST_F(ReadFile, PropertyListInsteadOfTheLogManager) {
  writeFile(at("p"), "a.b=1\nnodot=2\n");
  CxPropList list{};
  EXPECT_TRUE(lmxDoReadProps(at("p").c_str(), &list));
  EXPECT_EQ(list.count, 2);
  EXPECT_EQ(test::LogMgrTest::names(), "");
  CxPropListDiscard(&list);
}
