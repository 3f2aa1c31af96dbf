#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lumex/collections.h"
#include "lumex/messages.h"

namespace {

using Texts = std::vector<std::string>;

// The texts of a list or group (they share the iterator operations).
Texts texts(LmxLink *first) {
  Texts out;
  for (LmxLink *l = first; LmxStringListIterHasNext(l); l = LmxStringListIterNext(l)) {
    char *text = LmxStringListIterGet(l);
    out.emplace_back(text);
    BasMemoryFree(text);
  }
  return out;
}

// The count field, which follows head and tail in a list header.
int32_t countOf(const void *list) {
  return *reinterpret_cast<const int32_t *>(static_cast<const char *>(list) + 2 * sizeof(void *));
}

StringList *listOf(std::initializer_list<const char *> items) {
  StringList *list = LmxAllocStringList();
  for (const char *t : items) EXPECT_TRUE(LmxStringListAppend(list, t));
  return list;
}

Parm intParm(int32_t v) {
  Parm p{LMX_PARM_INT, {}};
  p.value.i = v;
  return p;
}

}  // namespace

TEST(StringList, AppendCopiesIndexAndCount) {
  char b[] = "b";
  StringList *list = listOf({b, "a", "b"});
  b[0] = 'X';  // the list holds its own copies
  EXPECT_EQ(texts(LmxStringListIterator(list)), (Texts{"b", "a", "b"}));
  EXPECT_EQ(countOf(list), 3);
  EXPECT_STREQ(LmxStringListGetIndex(list, 2), "b");
  EXPECT_EQ(LmxStringListGetIndex(list, 3), nullptr);
  EXPECT_EQ(LmxStringListGetIndex(list, -1), nullptr);
  EXPECT_FALSE(LmxStringListAppend(list, nullptr));
  EXPECT_FALSE(LmxStringListAppend(nullptr, "x"));
  StringList *copy = LmxCopyStringList(list);
  LmxFreeStringList(list);
  EXPECT_EQ(texts(LmxStringListIterator(copy)), (Texts{"b", "a", "b"}));
  EXPECT_EQ(countOf(copy), 3);
  LmxFreeStringList(copy);
}

TEST(StringList, IterRemReturnsTheSuccessorAndKeepsTheCount) {
  StringList *list = listOf({"a", "b", "c"});
  LmxLink *next = LmxStringListIterRem(LmxStringListIterator(list));
  EXPECT_EQ(texts(next), (Texts{"b", "c"}));
  EXPECT_EQ(countOf(list), 2);
  EXPECT_EQ(LmxStringListIterRem(LmxStringListIterNext(next)), nullptr);  // the tail
  EXPECT_TRUE(LmxStringListAppend(list, "d"));  // head and tail still right
  EXPECT_EQ(texts(LmxStringListIterator(list)), (Texts{"b", "d"}));
  EXPECT_EQ(countOf(list), 2);
  LmxFreeStringList(list);
}

TEST(StringList, RemLinkRemovesOnlyNodesOfTheGivenList) {
  StringList *list = listOf({"one", "Two", "three"});
  StringList *other = listOf({"x"});
  EXPECT_EQ(LmxStringListGetLink(list, "two"), nullptr);  // with case
  LmxLink *two = LmxStringListGetLink(list, "Two");
  LmxStringListRemLink(other, two);
  EXPECT_EQ(countOf(other), 1);
  LmxStringListRemLink(list, two);
  EXPECT_EQ(texts(LmxStringListIterator(list)), (Texts{"one", "three"}));
  EXPECT_EQ(countOf(list), 2);
  LmxFreeStringList(list);
  LmxFreeStringList(other);
}

TEST(StringList, SortsItemsWithTheCallersComparison) {
  StringList *list = listOf({"c", "a", "b", "a"});
  LmxLink *first = LmxStringListIterator(list);
  LmxSortStringList(list, [](const void *a, const void *b) {
    return std::strcmp(*static_cast<const char *const *>(a), *static_cast<const char *const *>(b));
  });
  EXPECT_EQ(texts(LmxStringListIterator(list)), (Texts{"a", "a", "b", "c"}));
  EXPECT_EQ(LmxStringListIterator(list), first);  // nodes stay, items move
  LmxFreeStringList(list);
  StringList *empty = LmxAllocStringList();
  LmxSortStringList(empty, [](const void *, const void *) { return 0; });
  EXPECT_EQ(LmxStringListIterator(empty), nullptr);
  LmxFreeStringList(empty);
}

TEST(ParmList, HoldsDeepCopiesComparesByValueAndSorts) {
  ParmList *list = LmxAllocParmList();
  char text[] = "hello";
  Parm s{LMX_PARM_STRING, {}};
  s.value.s = text;
  ASSERT_TRUE(LmxParmListAppend(list, &s));
  for (int v : {3, -1}) {
    Parm p = intParm(v);
    LmxParmListAppend(list, &p);
  }
  text[0] = 'J';
  EXPECT_STREQ(LmxParmListGetIndex(list, 0)->value.s, "hello");
  Parm probe{LMX_PARM_STRING, {}};
  probe.value.s = const_cast<char *>("hello");
  EXPECT_EQ(LmxParmListGetLink(list, &probe), LmxParmListIterator(list));
  Parm long3{LMX_PARM_LONG, {}};
  long3.value.l = 3;
  EXPECT_EQ(LmxParmListGetLink(list, &long3), nullptr);  // int 3 is another value

  Parm *got = LmxParmListIterGet(LmxParmListIterator(list));  // a copy to free
  EXPECT_NE(got->value.s, LmxParmListGetIndex(list, 0)->value.s);
  LmxFreeParm(got);

  ParmList *copy = LmxCopyParmList(list);
  LmxParmListRemLink(list, LmxParmListIterator(list));
  EXPECT_EQ(countOf(list), 2);
  LmxSortParmList(list, [](const void *a, const void *b) {
    int x = (*static_cast<const Parm *const *>(a))->value.i;
    int y = (*static_cast<const Parm *const *>(b))->value.i;
    return (x > y) - (x < y);
  });
  EXPECT_EQ(LmxParmListGetIndex(list, 0)->value.i, -1);
  EXPECT_EQ(LmxParmListGetIndex(list, 1)->value.i, 3);
  LmxFreeParmList(list);
  EXPECT_EQ(countOf(copy), 3);
  EXPECT_STREQ(LmxParmListGetIndex(copy, 0)->value.s, "hello");
  LmxFreeParmList(copy);
}
