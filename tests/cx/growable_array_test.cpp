#include "temp_dir.h"

TEST(GrowableArray, FirstExactThenSixteenThenDoublingAndRefusalsKeepTheArray) {
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
  int64_t *kept = items;
  EXPECT_FALSE(CxListEnsureCapacity(array, &capacity, nullptr, 1, 8));
  EXPECT_FALSE(CxListEnsureCapacity(array, &capacity, &count, 1 << 20, 1 << 20));  // > 4 GiB
  EXPECT_FALSE(CxListEnsureCapacity(array, &capacity, &count, INT32_MAX, 1 << 10));
  EXPECT_EQ(items, kept);
  EXPECT_EQ(capacity, 64);
  CxListDiscard(array, &capacity, &count);
  EXPECT_EQ(items, nullptr);
  EXPECT_EQ(capacity + count, 0);
}
