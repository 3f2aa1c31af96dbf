#include <gtest/gtest.h>

#include <cstdint>

#include "lumex/cx.h"

TEST(GrowableArray, FirstExactThenSixteenThenDoubling) {
  int64_t *items = nullptr;
  int32_t capacity = 0, count = 0;
  void **array = reinterpret_cast<void **>(&items);
  const int32_t steps[][2] = {{3, 3}, {3, 3}, {4, 16}, {16, 16}, {17, 32}, {33, 64}};
  for (const auto &[needed, expect] : steps) {
    ASSERT_TRUE(CxListEnsureCapacity(array, &capacity, &count, needed, sizeof *items));
    EXPECT_EQ(capacity, expect) << needed;
    while (count < needed) items[count] = count * 11, ++count;  // every slot is usable
  }
  for (int i = 0; i < count; ++i) EXPECT_EQ(items[i], i * 11);  // moved intact
  CxListDiscard(array, &capacity, &count);
  EXPECT_EQ(items, nullptr);
  EXPECT_EQ(capacity + count, 0);
}

TEST(GrowableArray, RefusalsLeaveTheArrayAsItWas) {
  void *arr = nullptr;
  int32_t capacity = 0, count = 0;
  EXPECT_FALSE(CxListEnsureCapacity(&arr, &capacity, nullptr, 1, 4));
  EXPECT_FALSE(CxListEnsureCapacity(&arr, &capacity, &count, 1 << 20, 1 << 20));  // > 4 GiB
  ASSERT_TRUE(CxListEnsureCapacity(&arr, &capacity, &count, 2, 1 << 10));
  void *kept = arr;
  EXPECT_FALSE(CxListEnsureCapacity(&arr, &capacity, &count, INT32_MAX, 1 << 10));
  EXPECT_EQ(arr, kept);
  EXPECT_EQ(capacity, 2);
  CxListDiscard(&arr, &capacity, &count);
}
