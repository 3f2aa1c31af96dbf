#include <gtest/gtest.h>

#include <string>

#include "lumex/cx.h"
#include "lumex/ilx.h"

namespace {

// A code set handle for one test.
struct Handle {
  explicit Handle(const char *name) : cs(ilx_cs_new(name)) {}
  ~Handle() { ilx_cs_free(cs); }
  CodeSetT cs;
};

std::string text(const CxStringBuff &b) { return b.data ? std::string(b.data, b.length) : "<null>"; }

const uint16_t kCafeEuro[] = {'c', 'a', 'f', 0xE9, 0x20AC, 0};  // "café€"

}  // namespace

TEST(StringBuffCodeSets, WideStringsAreConvertedWithinTheByteLimit) {
  Handle utf8("UTF8"), latin1("ISO-8859-1");
  ASSERT_NE(utf8.cs, nullptr);
  ASSERT_NE(latin1.cs, nullptr);
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendWStrN(&b, utf8.cs, kCafeEuro, -1));
  EXPECT_EQ(text(b), "caf\xC3\xA9\xE2\x82\xAC");
  CxStringBuffRestart(&b);
  // The limit counts bytes of this call; a character that would cross it is
  // left out whole.
  ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
  ASSERT_TRUE(CxStringBuffAppendWStrN(&b, utf8.cs, kCafeEuro, 7));
  EXPECT_EQ(text(b), ">caf\xC3\xA9");
  CxStringBuffRestart(&b);
  ASSERT_TRUE(CxStringBuffAppendWStrN(&b, utf8.cs, kCafeEuro, 4));
  EXPECT_EQ(text(b), "caf");
  CxStringBuffRestart(&b);
  ASSERT_TRUE(CxStringBuffAppendWStrN(&b, latin1.cs, kCafeEuro, 4));
  EXPECT_EQ(text(b), "caf\xE9");
  CxStringBuffRestart(&b);
  // A unit that does not convert fails; what came before it stays.
  const uint16_t broken[] = {'o', 'k', 0xD800, 'x', 0};
  EXPECT_FALSE(CxStringBuffAppendWStrN(&b, utf8.cs, broken, -1));
  EXPECT_EQ(text(b), "ok");
  const uint16_t empty[] = {0};
  EXPECT_TRUE(CxStringBuffAppendWStrN(&b, utf8.cs, empty, -1));
  EXPECT_FALSE(CxStringBuffAppendWStrN(&b, utf8.cs, nullptr, -1));
  EXPECT_FALSE(CxStringBuffAppendWStrN(nullptr, utf8.cs, kCafeEuro, -1));
  EXPECT_EQ(text(b), "ok");
  CxStringBuffDiscard(&b);
}

TEST(StringBuffCodeSets, TextChangesCodeSetInPlace) {
  Handle latin1("ISO-8859-1"), ebcdic("IBM1047");
  ASSERT_NE(latin1.cs, nullptr);
  ASSERT_NE(ebcdic.cs, nullptr);
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendStr(&b, "caf\xC3\xA9 cr\xC3\xA8me"));
  ASSERT_TRUE(CxStringBuffChangeFromUTF8(latin1.cs, &b));
  EXPECT_EQ(text(b), "caf\xE9 cr\xE8me");
  EXPECT_EQ(b.data[b.length], '\0');
  ASSERT_TRUE(CxStringBuffChangeToUTF8(latin1.cs, &b));
  EXPECT_EQ(text(b), "caf\xC3\xA9 cr\xC3\xA8me");
  ASSERT_TRUE(CxStringBuffChangeFromUTF8(ebcdic.cs, &b));
  EXPECT_EQ(text(b).substr(0, 3), "\x83\x81\x86");  // "caf" in EBCDIC
  ASSERT_TRUE(CxStringBuffChangeToUTF8(ebcdic.cs, &b));
  EXPECT_EQ(text(b), "caf\xC3\xA9 cr\xC3\xA8me");
  // A long text grows the converted buffer by the same rule as appends.
  std::string longText;
  for (int i = 0; i < 3000; ++i) longText += "\xC3\xA9";
  CxStringBuffRestart(&b);
  ASSERT_TRUE(CxStringBuffAppendStr(&b, longText.c_str()));
  ASSERT_TRUE(CxStringBuffChangeFromUTF8(latin1.cs, &b));
  EXPECT_EQ(b.length, 3000u);
  EXPECT_EQ(b.capacity, 16384u);  // room for 2 x 6000 bytes
  ASSERT_TRUE(CxStringBuffChangeToUTF8(latin1.cs, &b));
  EXPECT_EQ(text(b), longText);
  CxStringBuffDiscard(&b);
  EXPECT_FALSE(CxStringBuffChangeToUTF8(latin1.cs, nullptr));
}

TEST(PrintfWideForms, ConvertedThroughTheHandle) {
  Handle utf8("UTF8"), latin1("ISO-8859-1");
  ASSERT_NE(utf8.cs, nullptr);
  CxStringBuff b{};
  const uint16_t *ws = kCafeEuro;
  EXPECT_EQ(CxStringBuffPrintf(utf8.cs, &b, "[%ls][%S][%.5ls][%-8.6S][%lc%C]", ws, ws, ws, ws,
                               0xE9, 0x20AC),
            44);
  EXPECT_EQ(text(b),
            "[caf\xC3\xA9\xE2\x82\xAC][caf\xC3\xA9\xE2\x82\xAC][caf\xC3\xA9][caf\xC3\xA9   ]"
            "[\xC3\xA9\xE2\x82\xAC]");
  CxStringBuffRestart(&b);
  EXPECT_EQ(CxStringBuffPrintf(latin1.cs, &b, "%6.4ls|%3lc|%ls", ws, 0xE9,
                               static_cast<const uint16_t *>(nullptr)),
            11);
  EXPECT_EQ(text(b), "  caf\xE9|  \xE9|");
  // A unit that does not convert fails the call at that conversion.
  const uint16_t broken[] = {'x', 0xD800, 0};
  CxStringBuffRestart(&b);
  EXPECT_EQ(CxStringBuffPrintf(utf8.cs, &b, "ok %ls %d", broken, 5), 3);
  EXPECT_EQ(text(b), "ok ");
  CxStringBuffDiscard(&b);
}
