#include <gtest/gtest.h>

#include <cstring>

#include "lumex/cx.h"

TEST(Memory, ZeroSizesAllocateNothing) {
  EXPECT_EQ(BasMemoryMalloc(0), nullptr);
  EXPECT_EQ(BasMemoryCalloc(0, 8), nullptr);
  EXPECT_EQ(BasMemoryCalloc(8, 0), nullptr);
  BasMemoryFree(nullptr);
}

TEST(Memory, ReallocToZeroKeepsTheBlock) {
  auto *p = static_cast<char *>(BasMemoryMalloc(4));
  ASSERT_NE(p, nullptr);
  std::memcpy(p, "abc", 4);
  EXPECT_EQ(BasMemoryRealloc(p, 0), nullptr);
  EXPECT_STREQ(p, "abc");  // still valid; the sanitizer run would catch a free
  p = static_cast<char *>(BasMemoryRealloc(p, 64));
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p, "abc");
  BasMemoryFree(p);
}

TEST(Memory, CallocZeroes) {
  auto *p = static_cast<unsigned char *>(BasMemoryCalloc(16, 4));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(p[i], 0);
  BasMemoryFree(p);
}

TEST(StringCompare, NullRulesAndUnsignedBytes) {
  const struct {
    int got, want;
  } rows[] = {
      {BasStringCmp(nullptr, nullptr), 1},     {BasStringICmp(nullptr, nullptr), 1},
      {BasStringCmp(nullptr, "a"), 1},         {BasStringICmp(nullptr, "a"), 1},
      {BasStringCmp("a", nullptr), -1},        {BasStringICmp("a", nullptr), -1},
      {BasStringNCmp(nullptr, nullptr, 3), 1}, {BasStringNCmp("x", nullptr, 3), -1},
      {BasStringNICmp(nullptr, "x", 3), 1},    {BasStringNICmp("x", nullptr, 3), -1},
      {BasStringCmp("a", "\xe9"), -1},         {BasStringCmp("\xe9", "a"), 1},
      {BasStringCmp("abc", "abc"), 0},         {BasStringCmp("ab", "abc"), -1},
      {BasStringNCmp("abcX", "abcY", 3), 0},   {BasStringNCmp("abcX", "abcY", 4), -1},
      {BasStringICmp("HeLLo", "hello"), 0},    {BasStringICmp("apple", "BANANA"), -1},
      {BasStringNICmp("ABCx", "abcy", 3), 0},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) EXPECT_EQ(rows[i].got, rows[i].want) << i;
}

TEST(StringCopy, NullRules) {
  char buf[16] = "full";
  EXPECT_EQ(BasStringCpy(nullptr, "x"), nullptr);
  EXPECT_EQ(BasStringCpy(buf, nullptr), buf);
  EXPECT_STREQ(buf, "");
  std::strcpy(buf, "full");
  EXPECT_EQ(BasStringNCpy(buf, nullptr, 0), buf);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(BasStringNCpy(nullptr, "x", 1), nullptr);
  std::memset(buf, 'z', sizeof buf);
  BasStringNCpy(buf, "ab", 5);  // pads with zeros like strncpy
  EXPECT_EQ(std::memcmp(buf, "ab\0\0\0z", 6), 0);

  std::strcpy(buf, "ab");
  EXPECT_EQ(BasStringCat(buf, nullptr), buf);
  EXPECT_STREQ(buf, "ab");
  EXPECT_EQ(BasStringCat(nullptr, "x"), nullptr);
  BasStringCat(buf, "cd");
  EXPECT_STREQ(buf, "abcd");
  BasStringNCat(buf, "efgh", 2);
  EXPECT_STREQ(buf, "abcdef");
  EXPECT_EQ(BasStringNCat(buf, nullptr, 3), buf);
  EXPECT_STREQ(buf, "abcdef");
}

TEST(StringSearch, NullRulesAndResults) {
  EXPECT_EQ(BasStringDup(nullptr), nullptr);
  char *d = BasStringDup("copy");
  ASSERT_NE(d, nullptr);
  EXPECT_STREQ(d, "copy");
  BasMemoryFree(d);

  EXPECT_EQ(BasStringLen(nullptr), 0u);
  EXPECT_EQ(BasStringLen("four"), 4u);
  const char *s = "a/b/c";
  EXPECT_EQ(BasStringChr(nullptr, 'a'), nullptr);
  EXPECT_EQ(BasStringChr(s, '/'), s + 1);
  EXPECT_EQ(BasStringRChr(nullptr, 'a'), nullptr);
  EXPECT_EQ(BasStringRChr(s, '/'), s + 3);
  EXPECT_EQ(BasStringStr(s, nullptr), nullptr);
  EXPECT_EQ(BasStringStr(nullptr, "b"), nullptr);
  EXPECT_EQ(BasStringStr(s, "b/"), s + 2);
  EXPECT_EQ(BasStringStrpbrk(nullptr, "/"), nullptr);
  EXPECT_EQ(BasStringStrpbrk(s, nullptr), nullptr);
  EXPECT_EQ(BasStringStrpbrk(s, "cb"), s + 2);

  EXPECT_EQ(BasStringStrcspn("abc", nullptr), 3);
  EXPECT_EQ(BasStringStrspn("abc", nullptr), 0);
  EXPECT_EQ(BasStringStrcspn(nullptr, "a"), -1);
  EXPECT_EQ(BasStringStrspn(nullptr, "a"), -1);
  EXPECT_EQ(BasStringStrcspn("abc", "c"), 2);
  EXPECT_EQ(BasStringStrspn("aabc", "a"), 2);
}

TEST(StringSprintf, FormatsAndRefusesNulls) {
  char buf[32];
  EXPECT_EQ(BasStringSprintf(buf, "%s-%d", "x", 42), 4);
  EXPECT_STREQ(buf, "x-42");
  EXPECT_EQ(BasStringSprintf(nullptr, "%d", 1), -1);
  EXPECT_EQ(BasStringSprintf(buf, nullptr), -1);
  EXPECT_EQ(_dummy(), 255);
}
