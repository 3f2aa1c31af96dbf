#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/test_objects.h"
#include "lumex/collections.h"

namespace {

std::vector<std::string> texts(const StringGroup *group) {
  std::vector<std::string> out;
  for (LmxLink *l = LmxStringGroupIterator(group); LmxStringGroupIterHasNext(l);
       l = LmxStringGroupIterNext(l)) {
    char *text = LmxStringGroupIterGet(l);
    out.emplace_back(text);
    BasMemoryFree(text);
  }
  return out;
}

std::vector<Object *> members(const ListenerGroup *group) {
  std::vector<Object *> out;
  for (LmxLink *l = LmxListenerGroupIterator(group); LmxListenerGroupIterHasNext(l);
       l = LmxListenerGroupIterNext(l)) {
    Object *o = LmxListenerGroupIterGet(l);
    out.push_back(o);
    LmxReleaseObject(o);
  }
  return out;
}

}  // namespace

TEST(StringGroup, KeepsEachTextOnceInOrderOfAddition) {
  StringGroup *group = LmxAllocStringGroup();
  EXPECT_TRUE(LmxStringGroupAdd(group, "b"));
  EXPECT_TRUE(LmxStringGroupAdd(group, "a"));
  EXPECT_FALSE(LmxStringGroupAdd(group, "b"));
  EXPECT_TRUE(LmxStringGroupAdd(group, "B"));  // with case
  EXPECT_FALSE(LmxStringGroupAdd(group, nullptr));
  EXPECT_FALSE(LmxStringGroupAdd(nullptr, "x"));
  EXPECT_EQ(texts(group), (std::vector<std::string>{"b", "a", "B"}));

  EXPECT_TRUE(LmxStringGroupRem(group, "a"));
  EXPECT_FALSE(LmxStringGroupRem(group, "a"));
  EXPECT_EQ(texts(group), (std::vector<std::string>{"b", "B"}));
  // A removed text may be added again, at the end.
  EXPECT_TRUE(LmxStringGroupAdd(group, "a"));
  EXPECT_EQ(texts(group), (std::vector<std::string>{"b", "B", "a"}));

  LmxLink *next = LmxStringGroupIterRem(LmxStringGroupIterator(group));
  char *text = LmxStringGroupIterGet(next);
  EXPECT_STREQ(text, "B");
  BasMemoryFree(text);
  EXPECT_EQ(LmxStringGroupGetLink(group, "a"), LmxStringGroupIterNext(next));
  EXPECT_EQ(texts(group), (std::vector<std::string>{"B", "a"}));
  LmxFreeStringGroup(group);
}

using ListenerGroupTest = test::ObjectsTest;

TEST_F(ListenerGroupTest, HoldsOneReferencePerObject) {
  int destroyedA = 0, destroyedB = 0;
  Object *a = test::newObject(&handler_, "a", &destroyedA);
  Object *b = test::newObject(&handler_, "b", &destroyedB);
  ListenerGroup *group = LmxAllocListenerGroup();
  EXPECT_TRUE(LmxListenerGroupAdd(group, a));
  EXPECT_FALSE(LmxListenerGroupAdd(group, a));  // identity: once only
  EXPECT_TRUE(LmxListenerGroupAdd(group, b));
  EXPECT_FALSE(LmxListenerGroupAdd(group, nullptr));
  EXPECT_EQ(a->references, 3);
  EXPECT_EQ(members(group), (std::vector<Object *>{a, b}));
  EXPECT_EQ(a->references, 3);  // IterGet's reference was given back

  EXPECT_EQ(LmxListenerGroupGetLink(group, b), LmxListenerGroupIterNext(LmxListenerGroupIterator(group)));
  // The caller lets go of its own references: the group keeps both alive.
  LmxReleaseObject(a);
  LmxReleaseObject(b);
  EXPECT_EQ(destroyedA + destroyedB, 0);
  // Removing from the group gives back the last outside reference.
  EXPECT_TRUE(LmxListenerGroupRem(group, a));
  EXPECT_EQ(destroyedA, 1);
  EXPECT_EQ(LmxListenerGroupGetLink(group, a), nullptr);
  LmxFreeListenerGroup(group);
  EXPECT_EQ(destroyedB, 1);
}

TEST_F(ListenerGroupTest, IterRemReleasesAndContinues) {
  int destroyed[3] = {0, 0, 0};
  const char *names[3] = {"x", "y", "z"};
  ListenerGroup *group = LmxAllocListenerGroup();
  for (int i = 0; i < 3; ++i) {
    Object *o = test::newObject(&logger_, names[i], &destroyed[i]);
    LmxListenerGroupAdd(group, o);
    LmxReleaseObject(o);
  }
  LmxLink *l = LmxListenerGroupIterator(group);
  l = LmxListenerGroupIterNext(l);
  l = LmxListenerGroupIterRem(l);  // y
  EXPECT_EQ(destroyed[1], 1);
  ASSERT_NE(l, nullptr);
  Object *z = LmxListenerGroupIterGet(l);
  EXPECT_STREQ(z->name, "z");
  LmxReleaseObject(z);
  EXPECT_EQ(LmxListenerGroupIterRem(l), nullptr);
  EXPECT_EQ(destroyed[2], 1);
  EXPECT_EQ(destroyed[0], 0);
  LmxFreeListenerGroup(group);
  EXPECT_EQ(destroyed[0], 1);
}
