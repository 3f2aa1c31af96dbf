// Lists, groups and maps: what a template's families share is tested once over
// all of them, then what single families add; then tokens and joins.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "../common/test_objects.h"
#include "../common/texts.h"
#include "collections/links.h"
#include "config/obj_cfg.h"
#include "lumex/collections.h"

namespace {

// Three values of a kind, x y z; index() names a value handed out by a
// collection (-1 for null) and gives it back; holds() counts the holds the
// collections took of a value, for the kinds that count them.
struct Uncounted {
  static constexpr bool counted = false;
  int holds(int) { return 0; }
  void release() {}
};
struct TextValues : Uncounted {
  const char *v[3] = {"x", "y", "z"};
  int index(char *out) {
    int i = out != nullptr ? *out - 'x' : -1;
    BasMemoryFree(out);
    return i;
  }
};
Parm text(const char *s) {
  Parm p{LMX_PARM_STRING, {}};
  p.value.s = const_cast<char *>(s);
  return p;
}
struct ParmValues : Uncounted {
  Parm p[3] = {text("x"), text("y"), text("z")};
  Parm *v[3] = {&p[0], &p[1], &p[2]};
  int index(Parm *out) {
    int i = out->value.s[0] - 'x';
    LmxFreeParm(out);
    return i;
  }
};
struct ObjectValues {
  static constexpr bool counted = true;
  ObjClass cls = test::makeClass(LMX_KIND_HANDLER);
  int gone = 0;
  Object *v[3] = {test::newObject(&cls, "x", &gone), test::newObject(&cls, "y", &gone),
                  test::newObject(&cls, "z", &gone)};
  int holds(int i) { return v[i]->references - 2; }  // beyond the instances map and ours
  int index(Object *out) {
    LmxReleaseObject(out);
    return out != nullptr ? out->name[0] - 'x' : -1;
  }
  void release() {
    for (Object *o : v) LmxReleaseObject(o);
    EXPECT_EQ(gone, 3);
  }
};
struct ConfigValues {
  static constexpr bool counted = true;
  ObjCfg *v[3] = {LmxAllocObjCfg("x"), LmxAllocObjCfg("y"), LmxAllocObjCfg("z")};
  int holds(int i) { return static_cast<int>(v[i]->references) - 1; }
  int index(ObjCfg *out) {
    LmxReleaseObjCfg(out);
    return out != nullptr ? out->name[0] - 'x' : -1;
  }
  void release() {  // the last references: freed (checked by the sanitizer)
    for (ObjCfg *c : v) LmxReleaseObjCfg(c);
  }
};
struct ClassValues : Uncounted {  // stored as they are: freeing one fails under the sanitizer
  ObjClass cls[3] = {test::makeClass(1), test::makeClass(2), test::makeClass(3)};
  ObjClass *v[3] = {&cls[0], &cls[1], &cls[2]};
  int index(ObjClass *out) { return out != nullptr ? static_cast<int>(out - cls) : -1; }
};

#define ITER_OPS(F)                                 \
  static constexpr auto first = Lmx##F##Iterator;   \
  static constexpr auto next = Lmx##F##IterNext;    \
  static constexpr auto more = Lmx##F##IterHasNext;
#define MAP_OPS(F)                                \
  ITER_OPS(F)                                     \
  using Map = F;                                  \
  static constexpr auto alloc = LmxAlloc##F;      \
  static constexpr auto copy = LmxCopy##F;        \
  static constexpr auto drop = LmxFree##F;        \
  static constexpr auto put = Lmx##F##Put;        \
  static constexpr auto get = Lmx##F##Get;        \
  static constexpr auto rem = Lmx##F##Rem;        \
  static constexpr auto hasKey = Lmx##F##HasKey;  \
  static constexpr auto key = Lmx##F##IterGetKey; \
  static constexpr auto val = Lmx##F##IterGetVal;
#define SEQ_OPS(F, Add)                            \
  ITER_OPS(F)                                      \
  static constexpr auto alloc = LmxAlloc##F;       \
  static constexpr auto drop = LmxFree##F;         \
  static constexpr auto add = Lmx##F##Add;         \
  static constexpr auto get = Lmx##F##IterGet;     \
  static constexpr auto iterRem = Lmx##F##IterRem; \
  static constexpr auto link = Lmx##F##GetLink;
#define GROUP_OPS(F)   \
  SEQ_OPS(F, Add)      \
  static constexpr auto rem = Lmx##F##Rem; \
  static constexpr bool unique = true;

struct TextMap : TextValues { MAP_OPS(StringToStringMap) };
struct ObjectMap : ObjectValues { MAP_OPS(StringToObjMap) };
struct ConfigMap : ConfigValues { MAP_OPS(StringToObjCfgMap) };
struct ClassMap : ClassValues { MAP_OPS(StringToObjClassMap) };
struct TextList : TextValues { SEQ_OPS(StringList, Append) static constexpr bool unique = false; };
struct ParmItems : ParmValues { SEQ_OPS(ParmList, Append) static constexpr bool unique = false; };
struct TextGroup : TextValues { GROUP_OPS(StringGroup) };
struct Listeners : ObjectValues { GROUP_OPS(ListenerGroup) };

template <class F>
class Family : public test::ObjectsTest {
 protected:
  void TearDown() override {
    f.release();
    test::ObjectsTest::TearDown();
  }
  void expectHolds(std::array<int, 3> expected) {
    if (F::counted) {
      EXPECT_EQ((std::array<int, 3>{f.holds(0), f.holds(1), f.holds(2)}), expected);
    }
  }
  F f;
};
template <class F> using Maps = Family<F>;
template <class F> using Sequences = Family<F>;
using MapFamilies = ::testing::Types<TextMap, ObjectMap, ConfigMap, ClassMap>;
using SequenceFamilies = ::testing::Types<TextList, ParmItems, TextGroup, Listeners>;
TYPED_TEST_SUITE(Maps, MapFamilies);
TYPED_TEST_SUITE(Sequences, SequenceFamilies);

TYPED_TEST(Maps, OrderReplacementCaseLookupsCopiesAndRemoval) {
  using F = TypeParam;
  auto &v = this->f.v;
  auto entries = [this](const typename F::Map *map) {  // "key=value" in order
    std::string out;
    for (LmxLink *e = F::first(map); F::more(e); e = F::next(e)) {
      out += test::take(F::key(e)) + "=" + std::to_string(this->f.index(F::val(e))) + " ";
    }
    return out;
  };
  typename F::Map *map = F::alloc();
  EXPECT_FALSE(F::more(F::first(map)));
  EXPECT_EQ(F::first(nullptr), nullptr);
  // Replacing keeps the entry's place; the same value again is held once.
  const std::pair<const char *, int> puts[] = {{"a", 0},     {"b", 1}, {"a", 2},   {"Level", 1},
                                               {"level", 1}, {"a", 2}, {"none", -1}};
  for (auto [key, i] : puts) EXPECT_TRUE(F::put(map, key, i < 0 ? nullptr : v[i]));
  EXPECT_FALSE(F::put(map, nullptr, v[0]));
  EXPECT_EQ(entries(map), "a=2 b=1 Level=1 level=1 none=-1 ");
  this->expectHolds({0, 3, 1});
  EXPECT_TRUE(F::hasKey(map, "none"));
  EXPECT_FALSE(F::hasKey(map, "LEVEL"));
  EXPECT_EQ(this->f.index(F::get(map, "a")), 2);
  EXPECT_EQ(this->f.index(F::get(map, "missing")), -1);
  this->expectHolds({0, 3, 1});  // what Get handed out was given back
  typename F::Map *copy = F::copy(map);
  this->expectHolds({0, 6, 2});
  F::rem(map, "missing");
  F::rem(map, "a");
  EXPECT_TRUE(F::put(map, "b", nullptr));
  EXPECT_EQ(entries(map), "b=-1 Level=1 level=1 none=-1 ");
  this->expectHolds({0, 5, 1});
  F::drop(map);
  EXPECT_EQ(entries(copy), "a=2 b=1 Level=1 level=1 none=-1 ");
  this->expectHolds({0, 3, 1});
  F::drop(copy);
  this->expectHolds({0, 0, 0});
}

TYPED_TEST(Sequences, OrderLookupRemovalAndRelease) {
  using F = TypeParam;
  auto &v = this->f.v;
  auto items = [this](LmxLink *l) {
    std::string out;
    for (; F::more(l); l = F::next(l)) out += std::to_string(this->f.index(F::get(l)));
    return out;
  };
  auto *seq = F::alloc();
  const int order[] = {0, 1, 0, 2};  // a group refuses the second 0
  for (int n = 0; n < 4; ++n) EXPECT_EQ(F::add(seq, v[order[n]]) != 0, !F::unique || n != 2) << n;
  EXPECT_FALSE(F::add(seq, nullptr));
  EXPECT_FALSE(F::add(nullptr, v[0]));
  EXPECT_EQ(items(F::first(seq)), F::unique ? "012" : "0102");
  this->expectHolds({1, 1, 1});
  LmxLink *second = F::link(seq, v[1]);
  EXPECT_EQ(second, F::next(F::first(seq)));
  // IterRem lets its item go and returns the successor; at the tail, null.
  EXPECT_EQ(F::iterRem(F::first(seq)), second);
  EXPECT_EQ(F::iterRem(F::link(seq, v[2])), nullptr);
  EXPECT_EQ(items(F::first(seq)), F::unique ? "1" : "10");
  this->expectHolds({0, 1, 0});
  EXPECT_TRUE(F::add(seq, v[2]));  // head and tail still right
  EXPECT_EQ(items(F::first(seq)), F::unique ? "12" : "102");
  if constexpr (F::unique) {  // a removed item comes back at the end
    EXPECT_TRUE(F::rem(seq, v[1]));
    EXPECT_FALSE(F::rem(seq, v[1]));
    this->expectHolds({0, 0, 1});
    EXPECT_TRUE(F::add(seq, v[1]));
    EXPECT_EQ(items(F::first(seq)), "21");
  }
  F::drop(seq);
  this->expectHolds({0, 0, 0});
}

TEST(StringGroup, AGroupHandleWorksAsAMap) {
  StringGroup *group = LmxAllocStringGroup();
  LmxStringGroupAdd(group, "name");
  EXPECT_TRUE(LmxStringToStringMapHasKey(reinterpret_cast<StringToStringMap *>(group), "name"));
  auto *map = reinterpret_cast<StringToObjMap *>(group);
  EXPECT_EQ(test::take(LmxStringToObjMapIterGetKey(LmxStringToObjMapIterator(map))), "name");
  LmxFreeStringGroup(group);
}

using ObjectMapTest = test::ObjectsTest;

TEST_F(ObjectMapTest, PuttingTheLastHoldAgainUnderItsKeyKeepsTheObjectAlive) {
  int destroyed = 0;
  Object *o = test::newObject(&logger_, "solo", &destroyed);
  StringToObjMap *map = LmxAllocStringToObjMap();
  LmxStringToObjMapPut(map, "k", o);
  LmxReleaseObject(o);  // only the instances map and this map hold it
  ASSERT_TRUE(LmxStringToObjMapPut(map, "k", o));
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(o->references, 2);
  LmxFreeStringToObjMap(map);
  EXPECT_EQ(destroyed, 1);
}

// The list's texts joined, each followed by '|'.
std::string texts(const StringList *list) {
  std::string out;
  for (int32_t i = 0; LmxStringListGetIndex(list, i) != nullptr; ++i) {
    out += std::string(LmxStringListGetIndex(list, i)) + "|";
  }
  return out;
}

TEST(StringList, IndexCopiesSortingAndForeignLinks) {
  StringList *list = LmxAllocStringList(), *other = LmxAllocStringList();
  for (const char *t : {"c", "a", "Two", "b"}) LmxStringListAppend(list, t);
  LmxStringListAppend(other, "x");
  EXPECT_EQ(LmxStringListGetIndex(list, 4), nullptr);
  EXPECT_EQ(LmxStringListGetIndex(list, -1), nullptr);
  EXPECT_EQ(LmxStringListGetLink(list, "two"), nullptr);  // with case
  LmxLink *two = LmxStringListGetLink(list, "Two");
  LmxStringListRemLink(other, two);  // not a node of that list: nothing happens
  EXPECT_EQ(texts(other), "x|");
  LmxStringListRemLink(list, two);
  StringList *copy = LmxCopyStringList(list);
  LmxFreeStringList(list);
  auto byText = [](const void *a, const void *b) {
    return std::strcmp(*static_cast<const char *const *>(a), *static_cast<const char *const *>(b));
  };
  LmxSortStringList(copy, byText);
  LmxSortStringList(other, byText);
  EXPECT_EQ(texts(copy), "a|b|c|");
  LmxFreeStringList(copy);
  LmxStringListIterRem(LmxStringListIterator(other));
  LmxSortStringList(other, byText);  // empty
  EXPECT_EQ(LmxStringListIterator(other), nullptr);
  LmxFreeStringList(other);
}

using Texts = std::vector<std::string>;

Texts tokens(const char *text, const char *seps) {
  Texts out;
  for (LmxStrTokIter it = LmxStrTokIterator(text, seps); LmxStrTokIterHasNext(it);
       it = LmxStrTokIterNext(it)) {
    char *token = LmxStrTokIterGet(it);
    if (token == nullptr) return ADD_FAILURE() << "no token", out;
    out.emplace_back(token);
    BasMemoryFree(token);
  }
  return out;
}

TEST(StrTok, RunsOfSeparatorsCountAsOneNoSeparatorsWalkCharactersTheEndStays) {
  const struct { const char *text, *seps; Texts expected; } rows[] = {
      {"  a \t bc ", " \t", {"a", "bc"}}, {"h1,,h2,", ",", {"h1", "h2"}}, {"one", " ", {"one"}},
      {" \t ", " \t", {}}, {"", " ", {}}, {nullptr, " ", {}}, {"ab", nullptr, {"a", "b"}},
      {"a b", "", {"a", " ", "b"}},
  };
  for (const auto &r : rows) EXPECT_EQ(tokens(r.text, r.seps), r.expected) << &r - rows;
  // An exhausted iterator stays put.
  LmxStrTokIter it = LmxStrTokIterNext(LmxStrTokIterator("x  ", " "));
  EXPECT_FALSE(LmxStrTokIterHasNext(it));  // only separators remain
  EXPECT_EQ(LmxStrTokIterGet(it), nullptr);
  it = LmxStrTokIterNext(LmxStrTokIterNext(it));
  EXPECT_STREQ(it.pos, "");
}

TEST(StrACat, JoinsNonNullTexts) {
  const char *three[] = {"x", nullptr, "y"}, *lead[] = {nullptr, "a", "", "b"};
  const struct { int32_t count; const char *const *texts; const char *sep, *expected; } rows[] = {
      {3, three, ",", "x,y"}, {3, three, nullptr, "xy"}, {0, three, ",", ""}, {-4, three, ",", ""},
      {1, three, "--", "x"}, {4, lead, "+", "a++b"}, {2, lead, "::", "a"}, {2, nullptr, ",", ""},
  };
  for (const auto &r : rows) {
    char *joined = LmxStrACat(r.count, r.texts, r.sep);
    ASSERT_NE(joined, nullptr);
    EXPECT_STREQ(joined, r.expected) << "count " << r.count;
    BasMemoryFree(joined);
  }
}

}  // namespace
