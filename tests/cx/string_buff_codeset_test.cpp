#include "lumex/ilx.h"
#include "temp_dir.h"

namespace {

struct Handle {
  explicit Handle(const char *name) : cs(ilx_cs_new(name)) { EXPECT_NE(cs, nullptr) << name; }
  ~Handle() { ilx_cs_free(cs); }
  CodeSetT cs;
};

const uint16_t kCafeEuro[] = {'c', 'a', 'f', 0xE9, 0x20AC, 0};  // "café€"
const uint16_t kBroken[] = {'o', 'k', 0xD800, 'x', 0};          // a lone surrogate

}  // namespace

TEST(StringBuffCodeSets, WideStringsAreConvertedWithinTheByteLimit) {
  Handle utf8("UTF8"), latin1("ISO-8859-1");
  const uint16_t empty[] = {0};
  // The limit counts bytes of this call; a character that would cross it is
  // left out whole. A unit that does not convert fails; what came before stays.
  const struct {
    CodeSetT cs;
    const uint16_t *wide;
    int32_t limit;
    bool ok;
    const char *text;
  } rows[] = {
      {utf8.cs, kCafeEuro, -1, true, ">caf\xC3\xA9\xE2\x82\xAC"},
      {utf8.cs, kCafeEuro, 7, true, ">caf\xC3\xA9"},
      {utf8.cs, kCafeEuro, 4, true, ">caf"},
      {latin1.cs, kCafeEuro, 4, true, ">caf\xE9"},
      {utf8.cs, kBroken, -1, false, ">ok"},
      {utf8.cs, empty, -1, true, ">"},
      {utf8.cs, nullptr, -1, false, ">"},
  };
  CxStringBuff b{};
  for (const auto &r : rows) {
    CxStringBuffRestart(&b);
    ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
    EXPECT_EQ(CxStringBuffAppendWStrN(&b, r.cs, r.wide, r.limit), r.ok) << r.text;
    EXPECT_EQ(text(b), r.text);
  }
  EXPECT_FALSE(CxStringBuffAppendWStrN(nullptr, utf8.cs, kCafeEuro, -1));
  CxStringBuffDiscard(&b);
}

TEST(StringBuffCodeSets, TextChangesCodeSetInPlace) {
  Handle latin1("ISO-8859-1"), ebcdic("IBM1047");
  std::string longText;
  for (int i = 0; i < 3000; ++i) longText += "\xC3\xA9";
  const struct {
    CodeSetT cs;
    std::string utf8, changed;
    uint32_t capacity;  // 0: not checked
  } rows[] = {
      {latin1.cs, "caf\xC3\xA9 cr\xC3\xA8me", "caf\xE9 cr\xE8me", 0},
      {ebcdic.cs, "caf\xC3\xA9", "\x83\x81\x86\x51", 0},
      {latin1.cs, longText, std::string(3000, '\xE9'), 16384},  // room for 2 x 6000 bytes
  };
  CxStringBuff b{};
  for (const auto &r : rows) {
    CxStringBuffRestart(&b);
    ASSERT_TRUE(CxStringBuffAppendStr(&b, r.utf8.c_str()));
    ASSERT_TRUE(CxStringBuffChangeFromUTF8(r.cs, &b));
    EXPECT_EQ(text(b), r.changed);
    EXPECT_EQ(b.data[b.length], '\0');
    EXPECT_TRUE(r.capacity == 0 || b.capacity == r.capacity) << b.capacity;
    ASSERT_TRUE(CxStringBuffChangeToUTF8(r.cs, &b));
    EXPECT_EQ(text(b), r.utf8);
  }
  CxStringBuffDiscard(&b);
  EXPECT_FALSE(CxStringBuffChangeToUTF8(latin1.cs, nullptr));
}

TEST(PrintfWideForms, ConvertedThroughTheHandle) {
  Handle utf8("UTF8"), latin1("ISO-8859-1");
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
  CxStringBuffRestart(&b);
  EXPECT_EQ(CxStringBuffPrintf(utf8.cs, &b, "ok %ls %d", kBroken + 1, 5), 3);
  EXPECT_EQ(text(b), "ok ");
  CxStringBuffDiscard(&b);
}
