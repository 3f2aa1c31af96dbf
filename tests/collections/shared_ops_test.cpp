// Operations the interface exports under several names are one function:
// every name must lead to the same code.
#include <gtest/gtest.h>

#include "collections/collections_intl.h"

namespace {
template <typename... F>
void expectOneFunction(F... names) {
  const void *addresses[] = {reinterpret_cast<const void *>(names)...};
  for (const void *a : addresses) EXPECT_EQ(a, addresses[0]);
}
}  // namespace

TEST(SharedOperations, StartAndStepAreOneFunctionPerForm) {
  expectOneFunction(lmxIntlStringListIterator, lmxIntlStringListIterNext, lmxIntlParmListIterator,
                    lmxIntlParmListIterNext, lmxIntlStringGroupIterator, lmxIntlStringGroupIterNext,
                    lmxIntlListenerGroupIterator, lmxIntlListenerGroupIterNext,
                    lmxIntlStringToObjMapIterator, lmxIntlStringToObjMapIterNext,
                    lmxIntlStringToObjCfgMapIterator, lmxIntlStringToObjCfgMapIterNext,
                    lmxIntlStringToObjClassMapIterator, lmxIntlStringToObjClassMapIterNext,
                    lmxIntlStringToStringMapIterator, lmxIntlStringToStringMapIterNext);
  expectOneFunction(LmxStringListIterator, LmxStringListIterNext, LmxParmListIterator,
                    LmxParmListIterNext, LmxStringGroupIterator, LmxStringGroupIterNext,
                    LmxListenerGroupIterator, LmxListenerGroupIterNext, LmxStringToObjMapIterator,
                    LmxStringToObjMapIterNext, LmxStringToObjCfgMapIterator,
                    LmxStringToObjCfgMapIterNext, LmxStringToObjClassMapIterator,
                    LmxStringToObjClassMapIterNext, LmxStringToStringMapIterator,
                    LmxStringToStringMapIterNext);
}

TEST(SharedOperations, HasNextGetKeyGetNodeHasKeyAndAllocation) {
  expectOneFunction(lmxIntlStringListIterHasNext, lmxIntlParmListIterHasNext,
                    lmxIntlStringGroupIterHasNext, lmxIntlListenerGroupIterHasNext,
                    lmxIntlStringToObjMapIterHasNext, lmxIntlStringToObjCfgMapIterHasNext,
                    lmxIntlStringToObjClassMapIterHasNext, lmxIntlStringToStringMapIterHasNext);
  expectOneFunction(LmxStringListIterHasNext, LmxParmListIterHasNext, LmxStringGroupIterHasNext,
                    LmxListenerGroupIterHasNext, LmxStringToObjMapIterHasNext,
                    LmxStringToObjCfgMapIterHasNext, LmxStringToObjClassMapIterHasNext,
                    LmxStringToStringMapIterHasNext);
  expectOneFunction(lmxIntlStringListIterGet, lmxIntlStringGroupIterGet,
                    lmxIntlStringToObjMapIterGetKey, lmxIntlStringToObjCfgMapIterGetKey,
                    lmxIntlStringToObjClassMapIterGetKey, lmxIntlStringToStringMapIterGetKey);
  expectOneFunction(LmxStringListIterGet, LmxStringGroupIterGet, LmxStringToObjMapIterGetKey,
                    LmxStringToObjCfgMapIterGetKey, LmxStringToObjClassMapIterGetKey,
                    LmxStringToStringMapIterGetKey);
  expectOneFunction(LmxStringListGetLink, LmxStringGroupGetLink, lmxIntlStringToObjMapGetNode,
                    lmxIntlStringToObjCfgMapGetNode, lmxIntlStringToObjClassMapGetNode,
                    lmxIntlStringToStringMapGetNode);
  expectOneFunction(lmxIntlStringToObjMapHasKey, lmxIntlStringToObjCfgMapHasKey,
                    lmxIntlStringToObjClassMapHasKey, lmxIntlStringToStringMapHasKey);
  expectOneFunction(LmxStringToObjMapHasKey, LmxStringToObjCfgMapHasKey,
                    LmxStringToObjClassMapHasKey, LmxStringToStringMapHasKey);
  expectOneFunction(lmxIntlAllocStringGroup, lmxIntlAllocListenerGroup,
                    lmxIntlAllocStringToObjMap, lmxIntlAllocStringToObjCfgMap,
                    lmxIntlAllocStringToObjClassMap, lmxIntlAllocStringToStringMap);
  expectOneFunction(LmxAllocStringGroup, LmxAllocListenerGroup, LmxAllocStringToObjMap,
                    LmxAllocStringToObjCfgMap, LmxAllocStringToObjClassMap,
                    LmxAllocStringToStringMap);
  expectOneFunction(lmxIntlAllocStringList, lmxIntlAllocParmList);
  expectOneFunction(LmxAllocStringList, LmxAllocParmList);
  expectOneFunction(LmxStringListGetIndex, LmxParmListGetIndex);
  expectOneFunction(LmxSortStringList, LmxSortParmList);
}

TEST(SharedOperations, AGroupHandleWorksAsAMap) {
  // Groups and maps share their header: a handle from any allocation name
  // serves every one of these types.
  StringGroup *group = LmxAllocStringGroup();
  LmxStringGroupAdd(group, "name");
  EXPECT_TRUE(LmxStringToStringMapHasKey(reinterpret_cast<StringToStringMap *>(group), "name"));
  char *key = LmxStringToObjMapIterGetKey(LmxStringToObjMapIterator(
      reinterpret_cast<StringToObjMap *>(group)));
  EXPECT_STREQ(key, "name");
  BasMemoryFree(key);
  LmxFreeStringGroup(group);
}
