#include <cstring>

#include "temp_dir.h"

TEST(Memory, ZeroSizesAllocateNothingReallocToZeroKeepsTheBlockAndHugeListsAreRefused) {
  for (void *none : {BasMemoryMalloc(0), BasMemoryCalloc(0, 8), BasMemoryCalloc(8, 0)})
    EXPECT_EQ(none, nullptr);
  BasMemoryFree(nullptr);
  auto *p = static_cast<char *>(BasMemoryCalloc(16, 4));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(p[i], 0);
  std::memcpy(p, "abc", 4);
  EXPECT_EQ(BasMemoryRealloc(p, 0), nullptr);
  EXPECT_STREQ(p, "abc");  // still valid; the sanitizer run would catch a free
  p = static_cast<char *>(BasMemoryRealloc(p, 64));
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p, "abc");
  BasMemoryFree(p);
  void *none = nullptr;  // lists: refused without a count or beyond 4 GiB
  int32_t capacity = 0, count = 0;
  EXPECT_FALSE(CxListEnsureCapacity(&none, &capacity, nullptr, 1, 8));
  EXPECT_FALSE(CxListEnsureCapacity(&none, &capacity, &count, 1 << 20, 1 << 20));
  EXPECT_EQ(none, nullptr);
}

TEST(StringValues, CompareLengthSpanAndSprintfWithNullRules) {
  const struct { int got, want; } rows[] = {
      {BasStringCmp(nullptr, nullptr), 1},     {BasStringICmp(nullptr, nullptr), 1},
      {BasStringCmp("a", nullptr), -1},        {BasStringICmp("a", nullptr), -1},
      {BasStringNCmp(nullptr, nullptr, 3), 1}, {BasStringNCmp("x", nullptr, 3), -1},
      {BasStringNICmp(nullptr, "x", 3), 1},    {BasStringNICmp("x", nullptr, 3), -1},
      {BasStringCmp("a", "\xe9"), -1},         {BasStringCmp("\xe9", "a"), 1},
      {BasStringCmp("abc", "abc"), 0},         {BasStringCmp("ab", "abc"), -1},
      {BasStringNCmp("abcX", "abcY", 3), 0},   {BasStringNCmp("abcX", "abcY", 4), -1},
      {BasStringICmp("HeLLo", "hello"), 0},    {BasStringICmp("apple", "BANANA"), -1},
      {BasStringNICmp("ABCx", "abcy", 3), 0},  {BasStringSprintf(nullptr, "%d", 1), -1},
      {static_cast<int>(BasStringLen(nullptr)), 0}, {static_cast<int>(BasStringLen("four")), 4},
      {BasStringStrcspn("abc", nullptr), 3},   {BasStringStrspn("abc", nullptr), 0},
      {BasStringStrcspn(nullptr, "a"), -1},    {BasStringStrspn(nullptr, "a"), -1},
      {BasStringStrcspn("abc", "c"), 2},       {BasStringStrspn("aabc", "a"), 2},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i)
    EXPECT_EQ(rows[i].got, rows[i].want) << i;
}

TEST(StringPointers, SearchCopyAndCatNullRulesAndResults) {
  const char *s = "a/b/c";
  const struct { const char *got, *want; } rows[] = {
      {BasStringChr(nullptr, 'a'), nullptr},   {BasStringChr(s, '/'), s + 1},
      {BasStringRChr(nullptr, 'a'), nullptr},  {BasStringRChr(s, '/'), s + 3},
      {BasStringStr(s, nullptr), nullptr},     {BasStringStr(nullptr, "b"), nullptr},
      {BasStringStr(s, "b/"), s + 2},          {BasStringStrpbrk(nullptr, "/"), nullptr},
      {BasStringStrpbrk(s, nullptr), nullptr}, {BasStringStrpbrk(s, "cb"), s + 2},
      {BasStringDup(nullptr), nullptr},        {BasStringCpy(nullptr, "x"), nullptr},
      {BasStringNCpy(nullptr, "x", 1), nullptr}, {BasStringCat(nullptr, "x"), nullptr},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i)
    EXPECT_EQ(rows[i].got, rows[i].want) << i;
  char *d = BasStringDup("copy");
  EXPECT_STREQ(d, "copy");
  BasMemoryFree(d);
}

TEST(StringCopy, CopyCatAndSprintfIntoABufferWithNullSourcesAndPadding) {
  char buf[16] = "full";
  EXPECT_EQ(BasStringCpy(buf, nullptr), buf);
  EXPECT_STREQ(buf, "");
  std::strcpy(buf, "full");
  EXPECT_EQ(BasStringNCpy(buf, nullptr, 0), buf);
  EXPECT_STREQ(buf, "");
  std::memset(buf, 'z', sizeof buf);
  BasStringNCpy(buf, "ab", 5);  // pads with zeros like strncpy
  EXPECT_EQ(std::memcmp(buf, "ab\0\0\0z", 6), 0);
  EXPECT_EQ(BasStringCat(buf, nullptr), buf);
  BasStringCat(buf, "cd");
  BasStringNCat(buf, "efgh", 2);
  EXPECT_EQ(BasStringNCat(buf, nullptr, 3), buf);
  EXPECT_EQ(BasStringSprintf(buf + 6, "%s-%d", "x", 42), 4);
  EXPECT_EQ(BasStringSprintf(buf, nullptr), -1);
  EXPECT_STREQ(buf, "abcdefx-42");
}
