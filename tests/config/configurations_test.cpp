// Property texts and their typed values, object configurations and the log
// manager's registry of them: inherited lookups, the tree of parents and
// children, and reading properties files.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../common/texts.h"
#include "../cx/temp_dir.h"
#include "collections/links.h"
#include "config/log_mgr.h"
#include "config/obj_cfg.h"
#include "config/property_values.h"
#include "lumex/config.h"

namespace {

// Converters must set the flag on every call: start it at neither 0 nor 1.
constexpr unsigned char kUnset = 77;

std::string show(const char *t) { return t ? t : "null"; }

// Bools are only true and false in any case; floats and characters as read.
TEST(PropStr, BoolsFloatsAndCharacters) {
  const struct { char type; const char *text; double value; unsigned char found; } rows[] = {
      {'b', "TRUE", 1, 1}, {'b', "tRuE", 1, 1},  {'b', "False", 0, 1},  {'b', "yes", 0, 0},
      {'b', "1", 0, 0},    {'b', " true", 0, 0}, {'b', "", 0, 0},       {'b', nullptr, 0, 0},
      {'d', " -2e3xyz", -2000, 1}, {'d', "1e-9", 1e-9, 1}, {'f', "0.25", .25, 1}, {'f', "e5", 0, 0},
      {'f', "1e39", HUGE_VALF, 1}, {'c', "xyz", 'x', 1}, {'c', "", 0, 1}, {'c', nullptr, 0, 0}};
  for (const auto &r : rows) {
    unsigned char found = kUnset;
    double got = r.type == 'b'   ? lmxPropStrToBool(r.text, &found)
                 : r.type == 'd' ? lmxPropStrToFloat64(r.text, &found)
                 : r.type == 'f' ? lmxPropStrToFloat32(r.text, &found)
                                 : lmxPropStrToChar(r.text, &found);
    EXPECT_EQ(got, r.value) << r.type << " " << show(r.text);
    EXPECT_EQ(found, r.found) << r.type << " " << show(r.text);
  }
}

TEST(PropStr, IntegersReadLikeFormattedInputAndStopAtTheTypesLimits) {
  const struct { const char *text; int32_t v32; int64_t v64; unsigned char found; } rows[] = {
      {" 42", 42, 42, 1}, {"42abc", 42, 42, 1}, {"0x1F", 0, 0, 1}, {"abc", 0, 0, 0}, {"-", 0, 0, 0},
      {"-17", -17, -17, 1}, {"+8", 8, 8, 1}, {"\t\n 9 9", 9, 9, 1}, {"  ", 0, 0, 0},
      {nullptr, 0, 0, 0}, {"5000000000", INT32_MAX, 5000000000LL, 1},
      {"-5000000000", INT32_MIN, -5000000000LL, 1},
      {"99999999999999999999", INT32_MAX, INT64_MAX, 1}};
  for (const auto &r : rows) {
    unsigned char f32 = kUnset, f64 = kUnset;
    EXPECT_EQ(lmxPropStrToInt32(r.text, &f32), r.v32) << show(r.text);
    EXPECT_EQ(lmxPropStrToInt64(r.text, &f64), r.v64) << show(r.text);
    EXPECT_EQ(f32, r.found) << show(r.text);
    EXPECT_EQ(f64, r.found) << show(r.text);
  }
}

TEST(MapProps, SettersWriteTextFormsThatTheGettersConvert) {
  StringToStringMap *map = LmxAllocStringToStringMap();
  EXPECT_TRUE(LmxSetMapPropBool(map, "yes", 1));
  EXPECT_TRUE(LmxSetMapPropBool(map, "two", 2));
  LmxSetMapPropLong(map, "big", 5000000000LL);
  LmxSetMapPropLong(map, "min", INT64_MIN);
  LmxSetMapPropInt(map, "int", -12);
  LmxSetMapPropChar(map, "char", 'q');
  LmxSetMapPropFloat(map, "float", 2.5f);
  LmxSetMapPropDouble(map, "tenth", 0.1);
  LmxSetMapPropDouble(map, "tiny", 1e-9);
  LmxSetMapProp(map, "count", " 42");
  LmxSetMapProp(map, "bad", "abc");
  LmxSetMapPropInt(map, nullptr, 1);
  EXPECT_FALSE(LmxSetMapPropBool(nullptr, "a", 1));
  EXPECT_EQ(test::entries(map),
            "yes=true two=false big=5000000000 min=-9223372036854775808 int=-12 char=q "
            "float=2.500000 tenth=0.100000 tiny=0.000000 count= 42 bad=abc");
  unsigned char found = kUnset;
  EXPECT_EQ(LmxGetMapPropLong(map, "min", &found), INT64_MIN);
  EXPECT_EQ(LmxGetMapPropBool(map, "yes", &found), 1);
  EXPECT_EQ(LmxGetMapPropInt(map, "count", &found), 42);
  EXPECT_DOUBLE_EQ(LmxGetMapPropDouble(map, "tenth", &found), 0.1);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(LmxGetMapPropInt(map, "bad", &found), 0);
  EXPECT_EQ(found, 0);  // present but not a number
  found = kUnset;
  EXPECT_EQ(LmxGetMapProp(map, "absent", &found), nullptr);
  EXPECT_EQ(found, 0);
  found = kUnset;
  EXPECT_EQ(LmxGetMapPropInt(nullptr, "count", &found), 0);
  EXPECT_EQ(found, 0);
  LmxFreeStringToStringMap(map);
}

// A fresh log manager for each test, and small readers of configurations.
class LogMgr : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    lmxInitLogMgr();
  }
  void TearDown() override {
    lmxCloseLogMgr();
    TempDir::TearDown();
  }
  static void reset() {
    lmxCloseLogMgr();
    lmxInitLogMgr();
  }
  // Registers (if needed) and returns the configuration, held by the registry alone.
  static ObjCfg *cfg(const char *name) {
    ObjCfg *c = lmxIntlLogMgrGetCfg(name);
    lmxIntlReleaseObjCfg(c);
    return c;
  }
  // The inherited value, "-" when not found.
  static std::string prop(const char *name, const char *key) {
    unsigned char found = 7;
    const std::string text = test::take(lmxIntlGetInheritedObjCfgProp(cfg(name), key, &found));
    return found > 1 ? "found flag not set" : found == 1 ? text : "-";
  }
  // The texts of a group walk joined by commas.
  static std::string joined(LmxLink *walk) {
    std::string out;
    for (; walk != nullptr; walk = walk->next) {
      out += (out.empty() ? "" : ",") + std::string(static_cast<const char *>(walk->item));
    }
    return out;
  }
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

TEST_F(LogMgr, LookupsInheritUntilTheNearestValueEmptyOnesIncluded) {
  LmxSetObjCfgProp(cfg("a"), "p", "1");
  LmxSetObjCfgProp(cfg("a"), "e", "");
  LmxSetObjCfgProp(cfg("a.b"), "q", "2");
  LmxSetObjCfgProp(cfg("a.b"), "p", "");
  LmxSetObjCfgProp(cfg("a.b.c"), "q", "3");
  struct { const char *cfg, *key, *expected; } cases[] = {
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

TEST_F(LogMgr, TypedLookupsAreFoundOnlyWhenTheTextConverts) {
  ObjCfg *c = cfg("t.x");
  LmxSetObjCfgProp(cfg("t"), "n", "42");  // inherited
  LmxSetObjCfgProp(c, "bad", "abc");
  LmxSetObjCfgPropBool(c, "b", 1);
  LmxSetObjCfgPropInt(c, "i", -7);
  LmxSetObjCfgPropLong(c, "l", 5000000000LL);
  LmxSetObjCfgPropFloat(c, "f", 0.25f);
  LmxSetObjCfgPropDouble(c, "d", 2.5);
  struct { const char *key; double value; unsigned char found; char type; } cases[] = {
      {"n", 42, 1, 'i'}, {"bad", 0, 0, 'i'}, {"i", -7, 1, 'i'},  {"none", 0, 0, 'i'},
      {"l", 5e9, 1, 'l'}, {"b", 1, 1, 'b'},  {"f", 0.25, 1, 'f'}, {"d", 2.5, 1, 'd'}};
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

TEST_F(LogMgr, ChainEndsAtTheRootAndAtTheFirstConfigurationMetTwice) {
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
  LmxObjCfgSetParent(z, z);  // its own parent
  EXPECT_EQ(prop("z", "absent"), "-");
  EXPECT_FALSE(LmxLogMgrHasCfg("/"));
  lmxIntlReleaseObjCfg(root);
}

TEST_F(LogMgr, HandMadeRecordsNameFlagsPropertiesAndTreeLinksByName) {
  ObjCfg *p = LmxAllocObjCfg("p"), *q = LmxAllocObjCfg("q"), *kid = LmxAllocObjCfg("kid");
  EXPECT_EQ(test::take(LmxObjCfgGetName(kid)), "kid");
  EXPECT_EQ(LmxObjCfgIsFromFile(p), 0);
  LmxObjCfgSetFromFile(p, 1);
  EXPECT_EQ(LmxObjCfgIsFromFile(p), 1);
  EXPECT_EQ(LmxObjCfgProperties(p), nullptr);
  EXPECT_TRUE(lmxIntlSetObjCfgProp(p, "k", "v"));
  EXPECT_EQ(joined(LmxObjCfgProperties(p)), "k");
  EXPECT_EQ(LmxAcquireObjCfg(p), p);
  LmxReleaseObjCfg(p);
  EXPECT_EQ(LmxObjCfgChildrenNames(p), nullptr);
  LmxObjCfgAddChild(p, kid);
  LmxObjCfgAddChild(p, kid);  // a name is kept once
  EXPECT_EQ(joined(LmxObjCfgChildrenNames(p)), "kid");
  EXPECT_STREQ(kid->parentName, "p");
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
  for (ObjCfg *c : {p, q, kid}) LmxReleaseObjCfg(c);  // freed: else a leak or a late use
  EXPECT_EQ(LmxAllocObjCfg(nullptr), nullptr);
  EXPECT_EQ(LmxObjCfgGetName(nullptr), nullptr);
}

// Registers each name in order (made by name, as a lookup makes it).
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
  const struct { std::initializer_list<const char *> registered; const char *tree; } rows[] = {
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

TEST_F(LogMgr, RegistryLookupsAddsTheRootAndUpdates) {
  EXPECT_FALSE(LmxLogMgrHasCfg("n"));
  EXPECT_FALSE(LmxLogMgrHasCfg("n"));  // asking never registers
  ObjCfg *n = LmxLogMgrGetCfg("n");
  ASSERT_NE(n, nullptr);
  EXPECT_TRUE(LmxLogMgrHasCfg("n"));
  EXPECT_EQ(LmxLogMgrGetCfg("n"), n);
  LmxReleaseObjCfg(n);
  LmxReleaseObjCfg(n);
  EXPECT_EQ(LmxLogMgrGetCfg("/"), nullptr);
  EXPECT_EQ(LmxLogMgrGetCfg(nullptr), nullptr);
  added("/");
  ObjCfg *dup = LmxAllocObjCfg("n");
  LmxLogMgrAddCfg(dup);  // the name is taken: ignored
  LmxReleaseObjCfg(dup);
  EXPECT_EQ(tree(), "n");
  // An update replaces only a registered name.
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

TEST_F(LogMgr, UninitializedManagerRegistersNothing) {
  lmxCloseLogMgr();
  ObjCfg *c = lmxIntlLogMgrGetCfg("loose");
  ASSERT_NE(c, nullptr);
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
  LmxReleaseObjCfg(mid);
  // A top-level configuration's children keep its name as their parent: a
  // lookup through them registers an empty one of that name again.
  LmxLogMgrRemCfg(cfg("a"));
  EXPECT_EQ(tree(), "a.b.c>a a.b.d>a");
  EXPECT_EQ(prop("a.b.c", "x"), "-");
  EXPECT_TRUE(LmxLogMgrHasCfg("a"));
}

TEST_F(LogMgr, KeysNameAConfigurationAndAPropertyInFileOrder) {
  const struct { const char *text; bool ok; const char *tree; } rows[] = {
      // "pre" is registered before each read: not marked as made from a file.
      {"a.level=1\na.b.name=x\npre.k=v\n a.b.name = y \n", true,
       "pre{k=v} a*[a.b]{level=1} a.b*>a{name=y }"},
      {"a.b.c.d=1", true, "pre a.b.c*{d=1}"},
      // A key without both names fails the read, and what follows is lost.
      {"level=1\n", false, "pre"}, {".x=1\n", false, "pre"},
      {"a.=1\n", false, "pre"},    {"/.x=1\n", false, "pre"},
      {"ok.k=1\nbad=2\nlater.k=3\n", false, "pre ok*{k=1}"},
  };
  for (const auto &r : rows) {
    registerAll({"pre"});
    writeFile(at("lumex.properties"), r.text);
    EXPECT_EQ(lmxDoReadProps(at("lumex.properties").c_str(), nullptr), r.ok) << r.text;
    EXPECT_EQ(tree(), r.tree) << r.text;
    reset();
  }
  // Read into a property list instead of the log manager.
  writeFile(at("p"), "a.b=1\nnodot=2\n");
  CxPropList list{};
  EXPECT_TRUE(lmxDoReadProps(at("p").c_str(), &list));
  EXPECT_EQ(list.count, 2);
  EXPECT_EQ(LmxLogMgrConfigNames(), nullptr);
  CxPropListDiscard(&list);
}

}  // namespace
