#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../common/test_objects.h"
#include "config/obj_cfg.h"
#include "lumex/collections.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs entries(const StringToStringMap *map) {
  Pairs out;
  for (LmxLink *e = LmxStringToStringMapIterator(map); LmxStringToStringMapIterHasNext(e);
       e = LmxStringToStringMapIterNext(e)) {
    char *key = LmxStringToStringMapIterGetKey(e);
    char *value = LmxStringToStringMapIterGetVal(e);
    out.emplace_back(key, value ? value : "<null>");
    BasMemoryFree(key);
    BasMemoryFree(value);
  }
  return out;
}

}  // namespace

TEST(StringMap, ReplaceKeepsThePlaceAndKeysKeepTheirCase) {
  StringToStringMap *map = LmxAllocStringToStringMap();
  for (auto kv : {Pairs::value_type{"a", "1"}, {"b", "2"}, {"a", "3"}, {"Level", "x"}, {"level", "y"}}) {
    EXPECT_TRUE(LmxStringToStringMapPut(map, kv.first.c_str(), kv.second.c_str()));
  }
  EXPECT_TRUE(LmxStringToStringMapPut(map, "none", nullptr));
  EXPECT_FALSE(LmxStringToStringMapPut(map, nullptr, "v"));
  Pairs all{{"a", "3"}, {"b", "2"}, {"Level", "x"}, {"level", "y"}, {"none", "<null>"}};
  EXPECT_EQ(entries(map), all);
  EXPECT_TRUE(LmxStringToStringMapHasKey(map, "none"));
  EXPECT_FALSE(LmxStringToStringMapHasKey(map, "LEVEL"));
  char *got = LmxStringToStringMapGet(map, "b");  // a copy: freeing it leaves the map intact
  EXPECT_STREQ(got, "2");
  BasMemoryFree(got);
  LmxStringToStringMapRem(map, "missing");
  EXPECT_EQ(entries(map), all);
  LmxStringToStringMapRem(map, "a");
  all.erase(all.begin());
  StringToStringMap *copy = LmxCopyStringToStringMap(map);
  LmxFreeStringToStringMap(map);
  EXPECT_EQ(entries(copy), all);
  LmxFreeStringToStringMap(copy);
}

TEST(StringMap, EmptyMapsAndForeignEntries) {
  StringToStringMap *map = LmxAllocStringToStringMap();
  EXPECT_FALSE(LmxStringToStringMapIterHasNext(LmxStringToStringMapIterator(map)));
  EXPECT_EQ(LmxStringToStringMapIterator(nullptr), nullptr);
  StringToStringMap *other = LmxAllocStringToStringMap();
  LmxStringToStringMapPut(other, "k", "v");
  LmxStringToStringMapPut(map, "k", "w");
  lmxIntlStringToStringMapRemNode(map, lmxIntlStringToStringMapGetNode(other, "k"));
  EXPECT_EQ(entries(other), (Pairs{{"k", "v"}}));  // not this map's entry: untouched
  EXPECT_EQ(entries(map), (Pairs{{"k", "w"}}));
  LmxFreeStringToStringMap(map);
  LmxFreeStringToStringMap(other);
}

using ObjectMapTest = test::ObjectsTest;

TEST_F(ObjectMapTest, CountsReferencesAcrossPutReplaceCopyRemoveAndFree) {
  int destroyed1 = 0, destroyed2 = 0;
  Object *o1 = test::newObject(&logger_, "one", &destroyed1);
  Object *o2 = test::newObject(&logger_, "two", &destroyed2);
  StringToObjMap *map = LmxAllocStringToObjMap();
  ASSERT_TRUE(LmxStringToObjMapPut(map, "a", o1));
  ASSERT_TRUE(LmxStringToObjMapPut(map, "b", o2));
  EXPECT_EQ(o1->references, 3);
  ASSERT_TRUE(LmxStringToObjMapPut(map, "a", o2));  // replace: o1 loses, o2 gains
  EXPECT_EQ(o1->references, 2);
  EXPECT_EQ(o2->references, 4);
  ASSERT_TRUE(LmxStringToObjMapPut(map, "a", o2));  // the same value again
  EXPECT_EQ(o2->references, 4);

  Object *got = LmxStringToObjMapGet(map, "a");
  EXPECT_EQ(got, o2);
  EXPECT_EQ(o2->references, 5);
  LmxReleaseObject(got);

  StringToObjMap *copy = LmxCopyStringToObjMap(map);
  EXPECT_EQ(o2->references, 6);
  LmxStringToObjMapRem(map, "b");
  EXPECT_EQ(o2->references, 5);
  LmxFreeStringToObjMap(map);
  EXPECT_EQ(o2->references, 4);

  LmxReleaseObject(o1);
  EXPECT_EQ(destroyed1, 1);
  LmxReleaseObject(o2);
  EXPECT_EQ(destroyed2, 0);  // the copy still holds it twice
  LmxFreeStringToObjMap(copy);
  EXPECT_EQ(destroyed2, 1);
}

TEST_F(ObjectMapTest, ReplacingTheLastHoldOfTheSameObjectKeepsItAlive) {
  int destroyed = 0;
  Object *o = test::newObject(&logger_, "solo", &destroyed);
  StringToObjMap *map = LmxAllocStringToObjMap();
  LmxStringToObjMapPut(map, "k", o);
  LmxReleaseObject(o);  // only the instances map and this map hold it
  // Putting it again under the same key, without an outside reference, must
  // not let it go before it is held anew.
  ASSERT_TRUE(LmxStringToObjMapPut(map, "k", o));
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(o->references, 2);
  LmxFreeStringToObjMap(map);
  EXPECT_EQ(destroyed, 1);
}

TEST(ObjCfgMap, CountsConfigurationReferences) {
  ObjCfg *cfg = LmxAllocObjCfg("a.b");
  StringToObjCfgMap *map = LmxAllocStringToObjCfgMap();
  LmxStringToObjCfgMapPut(map, "x", cfg);
  LmxStringToObjCfgMapPut(map, "y", cfg);
  EXPECT_EQ(cfg->references, 3u);
  ObjCfg *got = LmxStringToObjCfgMapIterGetVal(LmxStringToObjCfgMapIterator(map));
  EXPECT_EQ(got, cfg);
  EXPECT_EQ(cfg->references, 4u);
  LmxReleaseObjCfg(got);
  StringToObjCfgMap *copy = LmxCopyStringToObjCfgMap(map);
  EXPECT_EQ(cfg->references, 5u);
  LmxStringToObjCfgMapPut(map, "x", nullptr);
  EXPECT_EQ(cfg->references, 4u);
  LmxFreeStringToObjCfgMap(map);
  LmxFreeStringToObjCfgMap(copy);
  EXPECT_EQ(cfg->references, 1u);
  LmxReleaseObjCfg(cfg);  // the last reference frees it (checked by the sanitizer)
}

TEST(ObjClassMap, StoresClassesAsTheyAre) {
  ObjClass cls = test::makeClass(LMX_KIND_FORMATTER);
  StringToObjClassMap *map = LmxAllocStringToObjClassMap();
  LmxStringToObjClassMapPut(map, "fmt", &cls);
  EXPECT_EQ(LmxStringToObjClassMapGet(map, "fmt"), &cls);
  StringToObjClassMap *copy = LmxCopyStringToObjClassMap(map);
  LmxFreeStringToObjClassMap(map);
  LmxFreeStringToObjClassMap(copy);
  EXPECT_EQ(cls.kind, LMX_KIND_FORMATTER);  // untouched (and never freed)
  EXPECT_STREQ(cls.name, "test_class");
}
