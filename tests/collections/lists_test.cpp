#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "collections/collections_intl.h"
#include "lumex/collections.h"
#include "lumex/messages.h"

namespace {

std::vector<std::string> items(const StringList *list) {
  std::vector<std::string> out;
  for (LmxLink *l = LmxStringListIterator(list); LmxStringListIterHasNext(l);
       l = LmxStringListIterNext(l)) {
    char *text = LmxStringListIterGet(l);
    out.emplace_back(text);
    BasMemoryFree(text);
  }
  return out;
}

int32_t countOf(const void *list) {
  // The count follows head and tail in a list header.
  return *reinterpret_cast<const int32_t *>(static_cast<const char *>(list) + 2 * sizeof(void *));
}

StringList *listOf(std::initializer_list<const char *> texts) {
  StringList *list = LmxAllocStringList();
  for (const char *t : texts) EXPECT_TRUE(LmxStringListAppend(list, t));
  return list;
}

int compareTexts(const void *a, const void *b) {
  return std::strcmp(*static_cast<const char *const *>(a), *static_cast<const char *const *>(b));
}

Parm intParm(int32_t v) {
  Parm p{};
  p.type = LMX_PARM_INT;
  p.value.i = v;
  return p;
}

Parm stringParm(const char *s) {
  Parm p{};
  p.type = LMX_PARM_STRING;
  p.value.s = const_cast<char *>(s);
  return p;
}

}  // namespace

TEST(StringList, AppendKeepsDuplicatesInOrderAndIndexes) {
  StringList *list = listOf({"b", "a", "b"});
  EXPECT_EQ(items(list), (std::vector<std::string>{"b", "a", "b"}));
  EXPECT_EQ(countOf(list), 3);
  EXPECT_STREQ(LmxStringListGetIndex(list, 0), "b");
  EXPECT_STREQ(LmxStringListGetIndex(list, 2), "b");
  EXPECT_EQ(LmxStringListGetIndex(list, 3), nullptr);
  EXPECT_EQ(LmxStringListGetIndex(list, -1), nullptr);
  EXPECT_FALSE(LmxStringListAppend(list, nullptr));
  EXPECT_FALSE(LmxStringListAppend(nullptr, "x"));
  EXPECT_EQ(countOf(list), 3);
  LmxFreeStringList(list);
}

TEST(StringList, StoresCopiesOfTheCallersText) {
  char text[] = "abc";
  StringList *list = LmxAllocStringList();
  ASSERT_TRUE(LmxStringListAppend(list, text));
  text[0] = 'X';
  EXPECT_STREQ(LmxStringListGetIndex(list, 0), "abc");
  StringList *copy = LmxCopyStringList(list);
  LmxFreeStringList(list);
  EXPECT_EQ(items(copy), (std::vector<std::string>{"abc"}));
  EXPECT_EQ(countOf(copy), 1);
  LmxFreeStringList(copy);
  EXPECT_EQ(LmxCopyStringList(nullptr), nullptr);
}

TEST(StringList, IterRemReturnsTheSuccessorAndKeepsTheCount) {
  StringList *list = listOf({"a", "b", "c"});
  LmxLink *next = LmxStringListIterRem(LmxStringListIterator(list));
  ASSERT_NE(next, nullptr);
  char *text = LmxStringListIterGet(next);
  EXPECT_STREQ(text, "b");
  BasMemoryFree(text);
  EXPECT_EQ(countOf(list), 2);
  // Removing the tail returns null and leaves a consistent list.
  LmxLink *tail = LmxStringListIterNext(next);
  EXPECT_EQ(LmxStringListIterRem(tail), nullptr);
  EXPECT_EQ(items(list), (std::vector<std::string>{"b"}));
  EXPECT_TRUE(LmxStringListAppend(list, "d"));
  EXPECT_EQ(items(list), (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(countOf(list), 2);
  EXPECT_EQ(LmxStringListIterRem(nullptr), nullptr);
  LmxFreeStringList(list);
}

TEST(StringList, GetLinkAndRemLinkWorkOnTheOwnListOnly) {
  StringList *list = listOf({"one", "Two", "three"});
  StringList *other = listOf({"x"});
  EXPECT_EQ(LmxStringListGetLink(list, "two"), nullptr);  // with case
  LmxLink *two = LmxStringListGetLink(list, "Two");
  ASSERT_NE(two, nullptr);
  LmxStringListRemLink(other, two);  // not other's node: nothing happens
  EXPECT_EQ(countOf(other), 1);
  EXPECT_EQ(countOf(list), 3);
  LmxStringListRemLink(list, two);
  EXPECT_EQ(items(list), (std::vector<std::string>{"one", "three"}));
  EXPECT_EQ(countOf(list), 2);
  LmxFreeStringList(list);
  LmxFreeStringList(other);
}

TEST(StringList, SortsItemsWithTheCallersComparison) {
  StringList *list = listOf({"c", "a", "b", "a"});
  LmxLink *first = LmxStringListIterator(list);
  LmxSortStringList(list, compareTexts);
  EXPECT_EQ(items(list), (std::vector<std::string>{"a", "a", "b", "c"}));
  EXPECT_EQ(LmxStringListIterator(list), first);  // nodes stay, items move
  EXPECT_EQ(countOf(list), 4);
  LmxSortStringList(list, nullptr);
  LmxFreeStringList(list);

  StringList *empty = LmxAllocStringList();
  LmxSortStringList(empty, compareTexts);
  EXPECT_EQ(LmxStringListIterator(empty), nullptr);
  LmxFreeStringList(empty);
}

TEST(ParmList, HoldsDeepCopiesAndComparesByValue) {
  ParmList *list = LmxAllocParmList();
  char text[] = "hello";
  Parm s = stringParm(text);
  Parm i = intParm(7);
  ASSERT_TRUE(LmxParmListAppend(list, &s));
  ASSERT_TRUE(LmxParmListAppend(list, &i));
  text[0] = 'J';
  const Parm *stored = LmxParmListGetIndex(list, 0);
  ASSERT_NE(stored, nullptr);
  EXPECT_STREQ(stored->value.s, "hello");
  EXPECT_NE(stored->value.s, text);

  // GetLink compares values, not storage; int 7 and long 7 differ.
  Parm probe = stringParm("hello");
  EXPECT_EQ(LmxParmListGetLink(list, &probe), LmxParmListIterator(list));
  Parm long7{};
  long7.type = LMX_PARM_LONG;
  long7.value.l = 7;
  EXPECT_EQ(LmxParmListGetLink(list, &long7), nullptr);

  // IterGet hands out a copy the caller frees; the list keeps its own.
  Parm *got = LmxParmListIterGet(LmxParmListIterator(list));
  ASSERT_NE(got, nullptr);
  EXPECT_NE(got->value.s, stored->value.s);
  LmxFreeParm(got);

  ParmList *copy = LmxCopyParmList(list);
  LmxParmListRemLink(list, LmxParmListIterator(list));
  EXPECT_EQ(countOf(list), 1);
  EXPECT_EQ(LmxParmListGetIndex(list, 0)->value.i, 7);
  LmxFreeParmList(list);
  ASSERT_EQ(countOf(copy), 2);
  EXPECT_STREQ(LmxParmListGetIndex(copy, 0)->value.s, "hello");
  EXPECT_EQ(LmxParmListIterRem(LmxParmListIterNext(LmxParmListIterator(copy))), nullptr);
  EXPECT_EQ(countOf(copy), 1);
  LmxFreeParmList(copy);
}

TEST(ParmList, SortSeesParmReferences) {
  ParmList *list = LmxAllocParmList();
  for (int v : {3, -1, 2}) {
    Parm p = intParm(v);
    LmxParmListAppend(list, &p);
  }
  LmxSortParmList(list, [](const void *a, const void *b) {
    int x = (*static_cast<const Parm *const *>(a))->value.i;
    int y = (*static_cast<const Parm *const *>(b))->value.i;
    return (x > y) - (x < y);
  });
  EXPECT_EQ(LmxParmListGetIndex(list, 0)->value.i, -1);
  EXPECT_EQ(LmxParmListGetIndex(list, 1)->value.i, 2);
  EXPECT_EQ(LmxParmListGetIndex(list, 2)->value.i, 3);
  LmxFreeParmList(list);
}
