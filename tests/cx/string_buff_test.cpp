#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cx/cx_intl.h"
#include "lumex/cx.h"

namespace {

std::string text(const CxStringBuff &b) { return std::string(b.data, b.length); }

// Appends n copies of 'x'.
bool appendN(CxStringBuff *b, uint32_t n) {
  std::string s(n, 'x');
  return CxStringBuffAppendStr(b, s.c_str()) == 1;
}

}  // namespace

TEST(StringBuff, GrowthDoublesPastWhatIsNeeded) {
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendChar(&b, 'a'));
  EXPECT_EQ(b.capacity, 1024u);
  EXPECT_EQ(b.length, 1u);
  CxStringBuffDiscard(&b);

  ASSERT_TRUE(appendN(&b, 1023));  // needs exactly 1024 with the terminator
  EXPECT_EQ(b.capacity, 1024u);
  ASSERT_TRUE(CxStringBuffAppendChar(&b, 'y'));
  EXPECT_EQ(b.capacity, 2048u);
  EXPECT_EQ(b.length, 1024u);
  EXPECT_EQ(b.data[1024], '\0');
  CxStringBuffDiscard(&b);

  ASSERT_TRUE(appendN(&b, 1000));
  ASSERT_TRUE(appendN(&b, 3000));  // needs 4001
  EXPECT_EQ(b.capacity, 4096u);
  CxStringBuffDiscard(&b);

  ASSERT_TRUE(appendN(&b, 1023));
  ASSERT_TRUE(appendN(&b, 1024));  // needs exactly 2048: must exceed it
  EXPECT_EQ(b.capacity, 4096u);
  EXPECT_EQ(b.length, 2047u);
  EXPECT_EQ(std::strlen(b.data), 2047u);
  CxStringBuffDiscard(&b);
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(b.capacity, 0u);
}

TEST(StringBuff, ImpossibleGrowthFailsAndKeepsTheText) {
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendStr(&b, "keep"));
  EXPECT_FALSE(cxStringBuffHasCapacity(&b, UINT32_MAX));
  EXPECT_FALSE(cxStringBuffHasCapacity(&b, UINT32_MAX - 4));
  EXPECT_EQ(text(b), "keep");
  EXPECT_EQ(b.capacity, 1024u);
  CxStringBuffDiscard(&b);
  // A zeroed buffer whose first growth fails stays as it was.
  EXPECT_FALSE(cxStringBuffHasCapacity(&b, UINT32_MAX));
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(CxStringBuffPeekStr(&b), nullptr);
}

TEST(StringBuff, UTF8FormsUpToSixBytes) {
  struct Case {
    int32_t code;
    const char *bytes;
  } cases[] = {
      {0x41, "\x41"},
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {0x20AC, "\xE2\x82\xAC"},
      {0xD800, "\xED\xA0\x80"},  // surrogates are not checked
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x1FFFFF, "\xF7\xBF\xBF\xBF"},
      {0x200000, "\xF8\x88\x80\x80\x80"},
      {0x3FFFFFF, "\xFB\xBF\xBF\xBF\xBF"},
      {0x4000000, "\xFC\x84\x80\x80\x80\x80"},
      {0x7FFFFFFF, "\xFD\xBF\xBF\xBF\xBF\xBF"},
  };
  for (const Case &c : cases) {
    CxStringBuff b{};
    ASSERT_TRUE(CxStringBuffAppendUTF32Char(&b, c.code)) << std::hex << c.code;
    EXPECT_EQ(text(b), c.bytes) << std::hex << c.code;
    CxStringBuffDiscard(&b);
  }
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendUTF32Char(&b, 0));  // the zero code is one zero byte
  EXPECT_EQ(b.length, 1u);
  EXPECT_FALSE(CxStringBuffAppendUTF32Char(&b, -1));
  EXPECT_FALSE(CxStringBuffAppendUTF32Char(&b, INT32_MIN));
  EXPECT_EQ(b.length, 1u);
  CxStringBuffDiscard(&b);
}

TEST(StringBuff, DecimalAndEbcdicNumbers) {
  struct Case {
    int64_t v;
    const char *ascii;
  } cases[] = {{0, "0"},
               {7, "7"},
               {-1, "-1"},
               {1234567890123LL, "1234567890123"},
               {INT64_MAX, "9223372036854775807"},
               {INT64_MIN, "-9223372036854775808"}};
  for (const Case &c : cases) {
    CxStringBuff b{};
    ASSERT_TRUE(CxStringBuffAppendInt64(&b, c.v));
    EXPECT_EQ(text(b), c.ascii);
    CxStringBuffRestart(&b);
    ASSERT_TRUE(CxStringBuffAppendEBCDICInt64(&b, c.v));
    std::string expect = c.ascii;
    for (char &ch : expect) ch = ch == '-' ? '\x60' : static_cast<char>(ch - '0' + 0xF0);
    EXPECT_EQ(text(b), expect);
    CxStringBuffDiscard(&b);
  }
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendInt32(&b, INT32_MIN));
  ASSERT_TRUE(CxStringBuffAppendChar(&b, ' '));
  ASSERT_TRUE(CxStringBuffAppendUInt64(&b, UINT64_MAX));
  ASSERT_TRUE(CxStringBuffAppendChar(&b, ' '));
  ASSERT_TRUE(CxStringBuffAppendUInt64(&b, 0));
  ASSERT_TRUE(CxStringBuffAppendChar(&b, ' '));
  ASSERT_TRUE(CxStringBuffAppendEBCDICInt64(&b, -12));
  EXPECT_EQ(text(b), "-2147483648 18446744073709551615 0 \x60\xF1\xF2");
  CxStringBuffDiscard(&b);
}

TEST(StringBuff, StringAppendsStopAtCountOrEnd) {
  CxStringBuff b{};
  EXPECT_TRUE(CxStringBuffAppendStrN(&b, "ab", 3));
  EXPECT_TRUE(CxStringBuffAppendStrN(&b, "cdef", 2));
  EXPECT_TRUE(CxStringBuffAppendStrN(&b, "gh", -1));
  EXPECT_TRUE(CxStringBuffAppendStrN(&b, "zz", 0));
  EXPECT_TRUE(CxStringBuffAppendStr(&b, ""));
  EXPECT_EQ(text(b), "abcdgh");
  EXPECT_FALSE(CxStringBuffAppendStr(&b, nullptr));
  EXPECT_FALSE(CxStringBuffAppendStrN(&b, nullptr, 2));
  EXPECT_FALSE(CxStringBuffAppendStrN(&b, "x", -2));
  EXPECT_EQ(text(b), "abcdgh");
  CxStringBuffDiscard(&b);
}

TEST(StringBuff, NullBufferIsRefusedEverywhere) {
  EXPECT_FALSE(CxStringBuffAppendChar(nullptr, 'a'));
  EXPECT_FALSE(CxStringBuffAppendUTF32Char(nullptr, 'a'));
  EXPECT_FALSE(CxStringBuffAppendStr(nullptr, "a"));
  EXPECT_FALSE(CxStringBuffAppendStrN(nullptr, "a", 1));
  EXPECT_FALSE(CxStringBuffAppendInt64(nullptr, 1));
  EXPECT_FALSE(CxStringBuffAppendUInt64(nullptr, 1));
  EXPECT_FALSE(CxStringBuffAppendEBCDICInt64(nullptr, 1));
  EXPECT_FALSE(CxStringBuffPack(nullptr));
  EXPECT_FALSE(cxStringBuffHasCapacity(nullptr, 1));
  EXPECT_EQ(CxStringBuffPeekStr(nullptr), nullptr);
  EXPECT_EQ(CxStringBuffCopyStr(nullptr), nullptr);
  EXPECT_EQ(CxStringBuffTakeStr(nullptr), nullptr);
  CxStringBuffRestart(nullptr);
  CxStringBuffDiscard(nullptr);
}

TEST(StringBuff, PeekCopyTakeRestart) {
  CxStringBuff b{};
  EXPECT_EQ(CxStringBuffPeekStr(&b), nullptr);
  EXPECT_EQ(CxStringBuffCopyStr(&b), nullptr);
  EXPECT_EQ(CxStringBuffTakeStr(&b), nullptr);
  CxStringBuffRestart(&b);  // nothing to restart
  EXPECT_EQ(b.data, nullptr);

  ASSERT_TRUE(CxStringBuffAppendStr(&b, "line one"));
  char *copy = CxStringBuffCopyStr(&b);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, b.data);
  EXPECT_STREQ(copy, "line one");
  BasMemoryFree(copy);

  char *const data = b.data;
  CxStringBuffRestart(&b);
  EXPECT_EQ(b.length, 0u);
  EXPECT_EQ(b.data, data);  // memory kept for reuse
  EXPECT_STREQ(CxStringBuffPeekStr(&b), "");
  ASSERT_TRUE(CxStringBuffAppendStr(&b, "two"));
  EXPECT_EQ(b.data, data);

  char *taken = CxStringBuffTakeStr(&b);
  EXPECT_STREQ(taken, "two");
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(b.length, 0u);
  EXPECT_EQ(b.capacity, 0u);
  BasMemoryFree(taken);
  ASSERT_TRUE(CxStringBuffAppendStr(&b, "again"));  // reusable after a take
  EXPECT_EQ(text(b), "again");
  CxStringBuffDiscard(&b);
}

TEST(StringBuff, PackShrinksOnceAndFreesEmptyBuffers) {
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendStr(&b, "abc"));
  EXPECT_TRUE(CxStringBuffPack(&b));
  EXPECT_EQ(b.capacity, 4u);
  EXPECT_STREQ(b.data, "abc");
  EXPECT_FALSE(CxStringBuffPack(&b));
  ASSERT_TRUE(CxStringBuffAppendChar(&b, 'd'));  // grows again from the packed size
  EXPECT_EQ(b.capacity, 8u);
  EXPECT_STREQ(b.data, "abcd");
  CxStringBuffRestart(&b);
  EXPECT_TRUE(CxStringBuffPack(&b));
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(b.capacity, 0u);
  EXPECT_TRUE(CxStringBuffPack(&b));  // a zeroed buffer is empty too
}
