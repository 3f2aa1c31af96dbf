#include "lumex/cx.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(GrowableArray, FirstExactThenSixteenThenDoubling) {
  int64_t *items = nullptr;
  int32_t capacity = 0, count = 0;
  void **array = reinterpret_cast<void **>(&items);
  ASSERT_TRUE(CxListEnsureCapacity(array, &capacity, &count, 3, sizeof *items));
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(capacity, 3);
  EXPECT_EQ(count, 0);
  for (int i = 0; i < 3; ++i) items[count++] = i * 11;  // exactly three fit

  ASSERT_TRUE(CxListEnsureCapacity(array, &capacity, &count, 3, sizeof *items));
  EXPECT_EQ(capacity, 3);
  ASSERT_TRUE(CxListEnsureCapacity(array, &capacity, &count, 4, sizeof *items));
  EXPECT_EQ(capacity, 16);
  EXPECT_EQ(count, 3);
  while (count < 16) items[count] = count * 11, ++count;
  ASSERT_TRUE(CxListEnsureCapacity(array, &capacity, &count, 16, sizeof *items));
  EXPECT_EQ(capacity, 16);  // enough already
  ASSERT_TRUE(CxListEnsureCapacity(array, &capacity, &count, 17, sizeof *items));
  EXPECT_EQ(capacity, 32);
  ASSERT_TRUE(CxListEnsureCapacity(array, &capacity, &count, 33, sizeof *items));
  EXPECT_EQ(capacity, 64);
  for (int i = 0; i < count; ++i) EXPECT_EQ(items[i], i * 11);  // moved intact

  CxListDiscard(array, &capacity, &count);
  EXPECT_EQ(items, nullptr);
  EXPECT_EQ(capacity, 0);
  EXPECT_EQ(count, 0);
}

TEST(GrowableArray, RefusalsLeaveTheArrayAsItWas) {
  void *arr = nullptr;
  int32_t capacity = 0, count = 0;
  EXPECT_FALSE(CxListEnsureCapacity(nullptr, &capacity, &count, 1, 4));
  EXPECT_FALSE(CxListEnsureCapacity(&arr, nullptr, &count, 1, 4));
  EXPECT_FALSE(CxListEnsureCapacity(&arr, &capacity, nullptr, 1, 4));
  EXPECT_FALSE(CxListEnsureCapacity(&arr, &capacity, &count, -1, 4));
  // More bytes than a block can have.
  EXPECT_FALSE(CxListEnsureCapacity(&arr, &capacity, &count, 1 << 20, 1 << 20));
  EXPECT_EQ(arr, nullptr);
  EXPECT_EQ(capacity, 0);

  ASSERT_TRUE(CxListEnsureCapacity(&arr, &capacity, &count, 2, 1 << 10));
  void *kept = arr;
  count = 2;
  EXPECT_FALSE(CxListEnsureCapacity(&arr, &capacity, &count, INT32_MAX, 1 << 10));
  EXPECT_EQ(arr, kept);
  EXPECT_EQ(capacity, 2);
  EXPECT_EQ(count, 2);
  CxListDiscard(&arr, &capacity, &count);
  CxListDiscard(nullptr, nullptr, nullptr);  // nothing to do
}
