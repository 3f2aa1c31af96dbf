#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/test_objects.h"
#include "lumex/collections.h"

namespace {
using Texts = std::vector<std::string>;

Texts texts(const StringGroup *group) {
  Texts out;
  for (LmxLink *l = LmxStringGroupIterator(group); LmxStringGroupIterHasNext(l);
       l = LmxStringGroupIterNext(l)) {
    char *text = LmxStringGroupIterGet(l);
    out.emplace_back(text);
    BasMemoryFree(text);
  }
  return out;
}
}  // namespace

TEST(StringGroup, KeepsEachTextOnceInOrderOfAddition) {
  StringGroup *group = LmxAllocStringGroup();
  for (const char *t : {"b", "a", "B"}) EXPECT_TRUE(LmxStringGroupAdd(group, t));
  EXPECT_FALSE(LmxStringGroupAdd(group, "b"));
  EXPECT_FALSE(LmxStringGroupAdd(group, nullptr));
  EXPECT_EQ(texts(group), (Texts{"b", "a", "B"}));
  EXPECT_TRUE(LmxStringGroupRem(group, "a"));
  EXPECT_FALSE(LmxStringGroupRem(group, "a"));
  EXPECT_TRUE(LmxStringGroupAdd(group, "a"));  // back, at the end
  LmxLink *next = LmxStringGroupIterRem(LmxStringGroupIterator(group));
  EXPECT_EQ(next, LmxStringGroupGetLink(group, "B"));
  EXPECT_EQ(texts(group), (Texts{"B", "a"}));
  LmxFreeStringGroup(group);
}

using ListenerGroupTest = test::ObjectsTest;

TEST_F(ListenerGroupTest, HoldsOneReferencePerObject) {
  int goneA = 0, goneB = 0;
  Object *a = test::newObject(&handler_, "a", &goneA);
  Object *b = test::newObject(&handler_, "b", &goneB);
  ListenerGroup *group = LmxAllocListenerGroup();
  EXPECT_TRUE(LmxListenerGroupAdd(group, a));
  EXPECT_FALSE(LmxListenerGroupAdd(group, a));  // the same object once only
  EXPECT_TRUE(LmxListenerGroupAdd(group, b));
  EXPECT_EQ(a->references, 3);
  Object *got = LmxListenerGroupIterGet(LmxListenerGroupIterator(group));
  EXPECT_EQ(got, a);
  EXPECT_EQ(a->references, 4);
  LmxReleaseObject(got);
  EXPECT_EQ(LmxListenerGroupGetLink(group, b),
            LmxListenerGroupIterNext(LmxListenerGroupIterator(group)));
  LmxReleaseObject(a);
  LmxReleaseObject(b);
  EXPECT_EQ(goneA + goneB, 0);  // the group keeps both alive
  EXPECT_TRUE(LmxListenerGroupRem(group, a));
  EXPECT_EQ(goneA, 1);
  LmxFreeListenerGroup(group);
  EXPECT_EQ(goneB, 1);
}

TEST_F(ListenerGroupTest, IterRemReleasesAndContinues) {
  int gone[3] = {0, 0, 0};
  const char *names[3] = {"x", "y", "z"};
  ListenerGroup *group = LmxAllocListenerGroup();
  for (int i = 0; i < 3; ++i) {
    Object *o = test::newObject(&logger_, names[i], &gone[i]);
    LmxListenerGroupAdd(group, o);
    LmxReleaseObject(o);
  }
  LmxLink *z = LmxListenerGroupIterRem(LmxListenerGroupIterNext(LmxListenerGroupIterator(group)));
  EXPECT_EQ(gone[1], 1);
  EXPECT_EQ(z, LmxListenerGroupIterNext(LmxListenerGroupIterator(group)));
  EXPECT_EQ(LmxListenerGroupIterRem(z), nullptr);
  EXPECT_EQ(gone[2], 1);
  LmxFreeListenerGroup(group);
  EXPECT_EQ(gone[0], 1);
}
