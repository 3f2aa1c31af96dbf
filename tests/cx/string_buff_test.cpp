#include <cstring>

#include "cx/cx_intl.h"
#include "temp_dir.h"

TEST(StringBuff, UTF8FormsUpToSixBytes) {
  const struct { int32_t code; const char *bytes; } rows[] = {
      {0x41, "\x41"}, {0x7F, "\x7F"}, {0x80, "\xC2\x80"}, {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"}, {0xD800, "\xED\xA0\x80"}, {0xFFFF, "\xEF\xBF\xBF"},  // surrogate
      {0x10000, "\xF0\x90\x80\x80"}, {0x1FFFFF, "\xF7\xBF\xBF\xBF"},
      {0x200000, "\xF8\x88\x80\x80\x80"}, {0x3FFFFFF, "\xFB\xBF\xBF\xBF\xBF"},
      {0x4000000, "\xFC\x84\x80\x80\x80\x80"}, {0x7FFFFFFF, "\xFD\xBF\xBF\xBF\xBF\xBF"},
      {0, ""},  // the zero code: one zero byte
  };
  CxStringBuff b{};
  for (const auto &r : rows) {
    CxStringBuffRestart(&b);
    ASSERT_TRUE(CxStringBuffAppendUTF32Char(&b, r.code)) << std::hex << r.code;
    EXPECT_EQ(text(b), std::string(r.bytes, r.code ? std::strlen(r.bytes) : 1)) << r.bytes;
  }
  EXPECT_FALSE(CxStringBuffAppendUTF32Char(&b, -1) || CxStringBuffAppendUTF32Char(&b, INT32_MIN));
  EXPECT_EQ(b.length, 1u);
  CxStringBuffDiscard(&b);
}

TEST(StringBuff, DecimalAndEbcdicNumbers) {
  const struct { int64_t v; const char *ascii; } rows[] = {
      {0, "0"}, {-1, "-1"}, {1234567890123LL, "1234567890123"},
      {INT64_MAX, "9223372036854775807"}, {INT64_MIN, "-9223372036854775808"}};
  CxStringBuff b{};
  for (const auto &r : rows) {
    std::string ebcdic = r.ascii;
    for (char &ch : ebcdic) ch = ch == '-' ? '\x60' : static_cast<char>(ch - '0' + 0xF0);
    CxStringBuffRestart(&b);
    ASSERT_TRUE(CxStringBuffAppendInt64(&b, r.v));
    ASSERT_TRUE(CxStringBuffAppendEBCDICInt64(&b, r.v));
    EXPECT_EQ(text(b), r.ascii + ebcdic);
  }
  CxStringBuffRestart(&b);
  for (int ok : {CxStringBuffAppendInt32(&b, INT32_MIN), CxStringBuffAppendChar(&b, ' '),
                 CxStringBuffAppendUInt64(&b, UINT64_MAX), CxStringBuffAppendUInt64(&b, 0)})
    EXPECT_TRUE(ok);
  EXPECT_EQ(text(b), "-2147483648 184467440737095516150");
  CxStringBuffDiscard(&b);
}

TEST(StringBuff, StringAppendsStopAtCountOrEndAndRefuseNulls) {
  CxStringBuff b{};
  const std::pair<const char *, int> counted[] = {{"ab", 3}, {"cdef", 2}, {"gh", -1}, {"zz", 0}};
  for (const auto &[s, n] : counted) EXPECT_TRUE(CxStringBuffAppendStrN(&b, s, n)) << s;
  EXPECT_TRUE(CxStringBuffAppendStr(&b, ""));
  for (int ok : {CxStringBuffAppendStr(&b, nullptr), CxStringBuffAppendStrN(&b, nullptr, 2),
                 CxStringBuffAppendStrN(&b, "x", -2), CxStringBuffAppendChar(nullptr, 'a'),
                 CxStringBuffAppendUTF32Char(nullptr, 'a'), CxStringBuffAppendStr(nullptr, "a"),
                 CxStringBuffAppendStrN(nullptr, "a", 1), CxStringBuffAppendInt64(nullptr, 1),
                 CxStringBuffAppendUInt64(nullptr, 1), CxStringBuffAppendEBCDICInt64(nullptr, 1),
                 CxStringBuffPack(nullptr), cxStringBuffHasCapacity(nullptr, 1)})
    EXPECT_FALSE(ok);
  EXPECT_FALSE(cxStringBuffHasCapacity(&b, UINT32_MAX - 4));  // a size that would wrap
  EXPECT_EQ(text(b), "abcdgh");
  CxStringBuffDiscard(&b);
  CxStringBuffDiscard(nullptr);
}

TEST(StringBuff, PeekCopyTakeRestartAndPack) {
  CxStringBuff b{};
  for (CxStringBuff *p : {&b, static_cast<CxStringBuff *>(nullptr)}) {  // nothing there
    EXPECT_EQ(CxStringBuffPeekStr(p), nullptr);
    EXPECT_EQ(CxStringBuffCopyStr(p), nullptr);
    EXPECT_EQ(CxStringBuffTakeStr(p), nullptr);
    CxStringBuffRestart(p);
  }
  EXPECT_EQ(b.data, nullptr);
  ASSERT_TRUE(CxStringBuffAppendStr(&b, "line one"));
  char *copy = CxStringBuffCopyStr(&b);
  EXPECT_NE(copy, b.data);
  EXPECT_STREQ(copy, "line one");
  BasMemoryFree(copy);
  char *const data = b.data;
  CxStringBuffRestart(&b);
  EXPECT_STREQ(CxStringBuffPeekStr(&b), "");
  ASSERT_TRUE(CxStringBuffAppendStr(&b, "two"));
  EXPECT_EQ(b.data, data);  // memory kept for reuse
  char *taken = CxStringBuffTakeStr(&b);
  EXPECT_STREQ(taken, "two");
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(b.length + b.capacity, 0u);
  BasMemoryFree(taken);
  ASSERT_TRUE(CxStringBuffAppendStr(&b, "again"));  // reusable after a take
  EXPECT_EQ(text(b), "again");
  EXPECT_TRUE(CxStringBuffPack(&b));  // shrinks once
  EXPECT_EQ(b.capacity, 6u);
  EXPECT_FALSE(CxStringBuffPack(&b));
  ASSERT_TRUE(CxStringBuffAppendChar(&b, 'd'));  // grows again from the packed size
  EXPECT_EQ(text(b), "againd");
  CxStringBuffRestart(&b);
  EXPECT_TRUE(CxStringBuffPack(&b));  // an empty buffer is freed
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(b.capacity, 0u);
  EXPECT_TRUE(CxStringBuffPack(&b));  // a zeroed buffer is empty too
}

TEST(StringBuffCodeSets, WideStringsAreConvertedWithinTheByteLimit) {
  CodeSetHandle utf8("UTF8"), latin1("ISO-8859-1");
  const uint16_t cafeEuro[] = {'c', 'a', 'f', 0xE9, 0x20AC, 0}, empty[] = {0},
                 broken[] = {'o', 'k', 0xD800, 'x', 0};  // a lone surrogate
  // The limit counts bytes of this call; a character that would cross it is
  // left out whole. A unit that does not convert fails; what came before stays.
  const struct { CodeSetT cs; const uint16_t *wide; int32_t limit; bool ok; const char *text; }
      rows[] = {{utf8.cs, cafeEuro, -1, true, ">caf\xC3\xA9\xE2\x82\xAC"},
                {utf8.cs, cafeEuro, 7, true, ">caf\xC3\xA9"}, {utf8.cs, cafeEuro, 4, true, ">caf"},
                {latin1.cs, cafeEuro, 4, true, ">caf\xE9"},    {utf8.cs, broken, -1, false, ">ok"},
                {utf8.cs, empty, -1, true, ">"},               {utf8.cs, nullptr, -1, false, ">"}};
  CxStringBuff b{};
  for (const auto &r : rows) {
    CxStringBuffRestart(&b);
    ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
    EXPECT_EQ(CxStringBuffAppendWStrN(&b, r.cs, r.wide, r.limit), r.ok) << r.text;
    EXPECT_EQ(text(b), r.text);
  }
  EXPECT_FALSE(CxStringBuffAppendWStrN(nullptr, utf8.cs, cafeEuro, -1));
  CxStringBuffDiscard(&b);
}

TEST(StringBuffCodeSets, TextChangesCodeSetInPlace) {
  CodeSetHandle latin1("ISO-8859-1");
  std::string utf8;
  for (int i = 0; i < 3000; ++i) utf8 += "\xC3\xA9";
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendStr(&b, utf8.c_str()));
  ASSERT_TRUE(CxStringBuffChangeFromUTF8(latin1.cs, &b));
  EXPECT_EQ(text(b), std::string(3000, '\xE9'));
  EXPECT_EQ(b.data[b.length], '\0');
  ASSERT_TRUE(CxStringBuffChangeToUTF8(latin1.cs, &b));  // grows with its text
  EXPECT_EQ(text(b), utf8);
  CxStringBuffDiscard(&b);
  EXPECT_FALSE(CxStringBuffChangeToUTF8(latin1.cs, nullptr));
}
