// Operations the interface exports under several names are one function:
// every name must lead to the same code, and a handle serves every type.
#include <gtest/gtest.h>

#include "collections/collections_intl.h"

namespace {

template <typename... F>
void expectOneFunction(F... names) {
  const void *addresses[] = {reinterpret_cast<const void *>(names)...};
  for (const void *a : addresses) EXPECT_EQ(a, addresses[0]);
}

// The public and the unlocked name of an operation for every family.
#define ALL_MAPS(op) \
  op(StringToObjMap), op(StringToObjCfgMap), op(StringToObjClassMap), op(StringToStringMap)
#define ALL(op) op(StringList), op(ParmList), op(StringGroup), op(ListenerGroup), ALL_MAPS(op)
#define ITERATOR(F) Lmx##F##Iterator, Lmx##F##IterNext
#define ITERATOR_I(F) lmxIntl##F##Iterator, lmxIntl##F##IterNext
#define HAS_NEXT(F) Lmx##F##IterHasNext
#define HAS_NEXT_I(F) lmxIntl##F##IterHasNext
#define HAS_KEY(F) Lmx##F##HasKey
#define HAS_KEY_I(F) lmxIntl##F##HasKey
#define GET_KEY(F) Lmx##F##IterGetKey
#define GET_KEY_I(F) lmxIntl##F##IterGetKey
#define GET_NODE_I(F) lmxIntl##F##GetNode
#define ALLOC(F) LmxAlloc##F
#define ALLOC_I(F) lmxIntlAlloc##F

TEST(SharedOperations, EveryNameOfAnOperationIsOneFunction) {
  expectOneFunction(ALL(ITERATOR));
  expectOneFunction(ALL(ITERATOR_I));
  expectOneFunction(ALL(HAS_NEXT));
  expectOneFunction(ALL(HAS_NEXT_I));
  expectOneFunction(ALL_MAPS(HAS_KEY));
  expectOneFunction(ALL_MAPS(HAS_KEY_I));
  expectOneFunction(LmxStringListIterGet, LmxStringGroupIterGet, ALL_MAPS(GET_KEY));
  expectOneFunction(lmxIntlStringListIterGet, lmxIntlStringGroupIterGet, ALL_MAPS(GET_KEY_I));
  expectOneFunction(LmxStringListGetLink, LmxStringGroupGetLink, ALL_MAPS(GET_NODE_I));
  expectOneFunction(ALLOC(StringGroup), ALLOC(ListenerGroup), ALL_MAPS(ALLOC));
  expectOneFunction(ALLOC_I(StringGroup), ALLOC_I(ListenerGroup), ALL_MAPS(ALLOC_I));
  expectOneFunction(LmxAllocStringList, LmxAllocParmList);
  expectOneFunction(lmxIntlAllocStringList, lmxIntlAllocParmList);
  expectOneFunction(LmxStringListGetIndex, LmxParmListGetIndex);
  expectOneFunction(LmxSortStringList, LmxSortParmList);
}

TEST(SharedOperations, AGroupHandleWorksAsAMap) {
  StringGroup *group = LmxAllocStringGroup();
  LmxStringGroupAdd(group, "name");
  EXPECT_TRUE(LmxStringToStringMapHasKey(reinterpret_cast<StringToStringMap *>(group), "name"));
  char *key = LmxStringToObjMapIterGetKey(
      LmxStringToObjMapIterator(reinterpret_cast<StringToObjMap *>(group)));
  EXPECT_STREQ(key, "name");
  BasMemoryFree(key);
  LmxFreeStringGroup(group);
}

}  // namespace
