#include <gtest/gtest.h>

#include <string>

#include "../cx/temp_dir.h"
#include "cfg_fixture.h"

namespace {

using LogMgr = test::LogMgrTest;

// Registers each name in order (a configuration made by name, as a lookup
// makes it).
void registerAll(std::initializer_list<const char *> list) {
  for (const char *name : list) lmxIntlReleaseObjCfg(lmxIntlLogMgrGetCfg(name));
}
ObjCfg *added(const char *name, ObjCfg *parent = nullptr) {  // registered by the caller
  ObjCfg *c = LmxAllocObjCfg(name);
  if (parent != nullptr) LmxObjCfgSetParent(c, parent);
  LmxLogMgrAddCfg(c);
  LmxReleaseObjCfg(c);
  return c;
}

TEST_F(LogMgr, ParentIsTheNearestRegisteredPrefixAndLaterPrefixesAdopt) {
  const struct {
    std::initializer_list<const char *> registered;
    const char *tree;
  } rows[] = {
      {{"a", "a.b.c"}, "a[a.b.c] a.b.c>a"},
      {{"a", "a.b.c", "a.b"}, "a[a.b] a.b.c>a.b a.b>a[a.b.c]"},  // a.b adopts a.b.c
      {{"a.b.c", "a"}, "a.b.c>a a[a.b.c]"},                      // a top-level name adopts too
      {{"a", "a.b.c", "a.b.c.d", "a.b"},  // a nearer parent stays
       "a[a.b] a.b.c>a.b[a.b.c.d] a.b.c.d>a.b.c a.b>a[a.b.c]"},
      {{"x", "xy"}, "x xy"},  // not a dotted prefix
  };
  for (const auto &r : rows) {
    registerAll(r.registered);
    EXPECT_EQ(tree(), r.tree);
    reset();
  }
}

TEST_F(LogMgr, ExplicitParentThatIsNoPrefixStaysAndIsRegistered) {
  registerAll({"a", "q"});
  added("a.b.c", cfg("q"));
  registerAll({"a.b"});
  ObjCfg *stray = LmxAllocObjCfg("s.t");  // not registered
  added("d", stray);
  LmxReleaseObjCfg(stray);
  EXPECT_EQ(tree(), "a[a.b] q[a.b.c] a.b.c>q a.b>a s.t[d] d>s.t");
}

TEST_F(LogMgr, RegistryLookupsAndTheRoot) {
  EXPECT_FALSE(LmxLogMgrHasCfg("n"));
  EXPECT_FALSE(LmxLogMgrHasCfg("n"));  // asking never registers
  ObjCfg *n = LmxLogMgrGetCfg("n");
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->references, 2u);  // the registry's and the caller's
  EXPECT_TRUE(LmxLogMgrHasCfg("n"));
  EXPECT_EQ(LmxLogMgrGetCfg("n"), n);
  LmxReleaseObjCfg(n);
  LmxReleaseObjCfg(n);
  EXPECT_EQ(LmxLogMgrGetCfg("/"), nullptr);
  EXPECT_EQ(LmxLogMgrGetCfg(nullptr), nullptr);
  added("/");
  ObjCfg *dup = LmxAllocObjCfg("n");
  LmxLogMgrAddCfg(dup);  // the name is taken: ignored
  EXPECT_EQ(dup->references, 1u);
  LmxReleaseObjCfg(dup);
  EXPECT_EQ(tree(), "n");
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
  EXPECT_EQ(tree(), "a[a.b.c,a.b.d] a.b.c>a a.b.d>a");
  EXPECT_EQ(joined(lmxIntlObjCfgChildrenNames(mid)), "");
  EXPECT_EQ(mid->references, 1u);  // only ours is left
  LmxReleaseObjCfg(mid);
  // A top-level configuration's children keep its name as their parent: a
  // lookup through them registers an empty one of that name again.
  LmxLogMgrRemCfg(cfg("a"));
  EXPECT_EQ(tree(), "a.b.c>a a.b.d>a");
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
};

TEST_F(ReadFile, KeysNameAConfigurationAndAPropertyInFileOrder) {
  const struct {
    const char *text;
    bool ok;
    const char *tree;
  } rows[] = {
      // "pre" is registered before each read: not marked as made from a file.
      {"a.level=1\na.b.name=x\npre.k=v\n a.b.name = y \n", true,
       "pre{k=v} a*[a.b]{level=1} a.b*>a{name=y }"},
      {"a.b.c.d=1", true, "pre a.b.c*{d=1}"},
      // A key without both names fails the read, and what follows is lost.
      {"level=1\n", false, "pre"},
      {".x=1\n", false, "pre"},
      {"a.=1\n", false, "pre"},
      {"/.x=1\n", false, "pre"},
      {"ok.k=1\nbad=2\nlater.k=3\n", false, "pre ok*{k=1}"},
  };
  for (const auto &r : rows) {
    registerAll({"pre"});
    writeFile(at("lumex.properties"), r.text);
    EXPECT_EQ(lmxDoReadProps(at("lumex.properties").c_str(), nullptr), r.ok) << r.text;
    EXPECT_EQ(test::LogMgrTest::tree(), r.tree) << r.text;
    test::LogMgrTest::reset();
  }
  // Read into a property list instead of the log manager.
  writeFile(at("p"), "a.b=1\nnodot=2\n");
  CxPropList list{};
  EXPECT_TRUE(lmxDoReadProps(at("p").c_str(), &list));
  EXPECT_EQ(list.count, 2);
  EXPECT_EQ(test::LogMgrTest::names(), "");
  CxPropListDiscard(&list);
}

}  // namespace
