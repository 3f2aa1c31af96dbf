#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "collections/collections_intl.h"
#include "lumex/messages.h"
#include "messages/parm_format.h"

namespace {

Parm str(const char *s) {
  Parm p{LMX_PARM_STRING, {}};
  p.value.s = const_cast<char *>(s);
  return p;
}
Parm num(int32_t type, int32_t v) {
  Parm p{type, {}};
  p.value.i = v;
  return p;
}

// The result as a string, "<null>" for null; frees the text.
std::string take(char *text) {
  std::string out = text ? text : "<null>";
  BasMemoryFree(text);
  return out;
}

class Aprintf : public ::testing::Test {
 protected:
  void TearDown() override { LmxFreeParmList(list_); }
  void add(Parm p) { ASSERT_TRUE(LmxParmListAppend(list_, &p)); }
  std::string format(const char *f) { return take(LmxAprintf(f, list_)); }
  ParmList *list_ = LmxAllocParmList();
};

}  // namespace

TEST_F(Aprintf, FillsPositionsFromTheList) {
  add(str("a"));
  EXPECT_EQ(format("Object '%1$s' of class '%2$s'"), "<null>");  // second one missing
  add(str("b"));
  EXPECT_EQ(format("Object '%1$s' of class '%2$s'"), "Object 'a' of class 'b'");
  EXPECT_EQ(format("%2$s %1$s"), "b a");
  EXPECT_EQ(format("%2$s"), "b");  // the first parameter is passed over
  EXPECT_EQ(format("%s-%s"), "a-b");
  EXPECT_EQ(format("%1$s%1$s"), "aa");
  add(str("ignored"));
  EXPECT_EQ(format("[%1$s]"), "[a]");
}

TEST_F(Aprintf, TextsWithoutConversionsAndFailures) {
  EXPECT_EQ(format("plain text, 100%% sure"), "plain text, 100% sure");
  EXPECT_EQ(take(LmxAprintf("no list needed", nullptr)), "no list needed");
  EXPECT_EQ(take(LmxAprintf("%1$s", nullptr)), "<null>");
  EXPECT_EQ(take(LmxAprintf(nullptr, list_)), "<null>");
  EXPECT_EQ(format(""), "<null>");      // nothing written
  EXPECT_EQ(format("bad %y"), "<null>");  // parse error
  add(str(""));
  EXPECT_EQ(format("%s"), "<null>");  // an empty result
}

TEST_F(Aprintf, TheParameterTypeGivesTheValueTheFormatTheLook) {
  add(num(LMX_PARM_INT, -42));
  Parm d{LMX_PARM_DOUBLE, {}}, c{LMX_PARM_CHAR, {}}, f{LMX_PARM_FLOAT, {}}, b{LMX_PARM_BOOL, {}};
  d.value.d = 2.5;
  c.value.c = static_cast<char>(0xE9);
  f.value.f = 0.125f;
  b.value.b = 'Y';
  for (const Parm &p : {d, c, f, num(LMX_PARM_LONG, 7), b}) add(p);
  EXPECT_EQ(format("%1$d|%5$#x|%2$.1f|%4$g|%5$05d|%6$c"), "-42|0x7|2.5|0.125|00007|Y");
  EXPECT_EQ(format("%3$u"), "233");         // a char is widened without sign
  EXPECT_EQ(format("%1$*5$d"), "    -42");  // width from an integer parameter
}

TEST_F(Aprintf, RefusesToReadNumbersAsTexts) {
  add(num(LMX_PARM_INT, 5));
  add(str("text"));
  EXPECT_EQ(format("%1$s"), "<null>");
  EXPECT_EQ(format("%2$S"), "<null>");
  EXPECT_EQ(format("%2$ls"), "<null>");
  EXPECT_EQ(format("%2$*2$d"), "<null>");  // a text as width
  EXPECT_EQ(format("%2$.*2$s"), "<null>");
  EXPECT_EQ(format("%1$n"), "<null>");
  EXPECT_EQ(format("%2$s has %1$d"), "text has 5");
}

TEST(ParmToStr, DefaultAndGivenFormats) {
  Parm minus7 = num(LMX_PARM_INT, -7), i42 = num(LMX_PARM_INT, 42), bad = num(600, 1);
  Parm f{LMX_PARM_FLOAT, {}}, b{LMX_PARM_BOOL, {}}, s = str("x");
  f.value.f = 1.5f;
  b.value.b = 1;
  EXPECT_EQ(take(lmxParmToUTF8Str(nullptr, &minus7)), "-7");
  EXPECT_EQ(take(lmxParmToUTF8Str(nullptr, &f)), "1.500000");
  EXPECT_EQ(take(lmxParmToUTF8Str("%05d", &i42)), "00042");
  EXPECT_EQ(take(lmxParmToUTF8Str(nullptr, &b)), "\x01");  // the character of code 1
  EXPECT_EQ(take(lmxParmToLocalStr("<%s>", &s)), "<x>");
  EXPECT_EQ(take(lmxParmToUTF8Str("%d %d", &i42)), "<null>");  // only one parameter
  EXPECT_EQ(take(lmxParmToUTF8Str("%s", &i42)), "<null>");
  EXPECT_EQ(take(lmxParmToUTF8Str(nullptr, &bad)), "<null>");
}

TEST_F(Aprintf, IntAndLongParametersPrintAs32BitValues) {
  add(num(LMX_PARM_INT, -42));
  add(num(LMX_PARM_LONG, -2));
  char want[96];
  std::snprintf(want, sizeof want, "%x %X %o %u|%x %d", -42, -42, -42, -42, -2, -2);
  EXPECT_EQ(format("%1$x %1$X %1$o %1$u|%2$x %2$d"), want);
  EXPECT_EQ(format("%2$d (0x%2$x)"), "-2 (0xfffffffe)");
  EXPECT_EQ(format("%2$x (%2$d)"), "fffffffe (-2)");
}
