#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <string>

#include "collections/collections_intl.h"
#include "config/property_values.h"
#include "lumex/config.h"

namespace {

struct Found {
  unsigned char flag = 77;  // anything but 0 and 1: the converter must set it
};

class MapProps : public ::testing::Test {
 protected:
  void SetUp() override { map_ = LmxAllocStringToStringMap(); }
  void TearDown() override { LmxFreeStringToStringMap(map_); }
  void set(const char *key, const char *text) { ASSERT_TRUE(LmxSetMapProp(map_, key, text)); }
  std::string text(const char *key) {
    char *t = LmxGetMapProp(map_, key, nullptr);
    std::string out = t ? t : "<none>";
    BasMemoryFree(t);
    return out;
  }
  StringToStringMap *map_ = nullptr;
};

}  // namespace

TEST(PropStr, BoolAcceptsOnlyTrueAndFalseInAnyCase) {
  struct {
    const char *text;
    unsigned char value, found;
  } cases[] = {{"TRUE", 1, 1},  {"true", 1, 1}, {"tRuE", 1, 1},  {"False", 0, 1},
               {"yes", 0, 0},   {"1", 0, 0},    {" true", 0, 0}, {"true ", 0, 0},
               {"", 0, 0},      {nullptr, 0, 0}};
  for (const auto &c : cases) {
    Found f;
    EXPECT_EQ(lmxPropStrToBool(c.text, &f.flag), c.value) << (c.text ? c.text : "null");
    EXPECT_EQ(f.flag, c.found) << (c.text ? c.text : "null");
  }
  EXPECT_EQ(lmxPropStrToBool("true", nullptr), 1);
}

TEST(PropStr, IntegersReadLikeFormattedInput) {
  struct {
    const char *text;
    int64_t value;
    unsigned char found;
  } cases[] = {{" 42", 42, 1},   {"42abc", 42, 1}, {"0x1F", 0, 1},      {"abc", 0, 0},
               {"-17", -17, 1},  {"+8", 8, 1},     {"\t\n 9 9", 9, 1},  {"-", 0, 0},
               {"", 0, 0},       {"  ", 0, 0},     {nullptr, 0, 0},     {"- 5", 0, 0}};
  for (const auto &c : cases) {
    Found f32, f64;
    EXPECT_EQ(lmxPropStrToInt32(c.text, &f32.flag), c.value) << (c.text ? c.text : "null");
    EXPECT_EQ(f32.flag, c.found) << (c.text ? c.text : "null");
    EXPECT_EQ(lmxPropStrToInt64(c.text, &f64.flag), c.value);
    EXPECT_EQ(f64.flag, c.found);
  }
  Found f;
  EXPECT_EQ(lmxPropStrToInt64("5000000000", &f.flag), 5000000000LL);
  EXPECT_EQ(f.flag, 1);
  // Beyond the range: the nearest limit, still read.
  EXPECT_EQ(lmxPropStrToInt32("5000000000", &f.flag), INT32_MAX);
  EXPECT_EQ(f.flag, 1);
  EXPECT_EQ(lmxPropStrToInt32("-5000000000", &f.flag), INT32_MIN);
  EXPECT_EQ(lmxPropStrToInt64("99999999999999999999", &f.flag), INT64_MAX);
  EXPECT_EQ(lmxPropStrToInt32("-2147483648", &f.flag), INT32_MIN);
}

TEST(PropStr, FloatsAndCharacters) {
  Found f;
  EXPECT_DOUBLE_EQ(lmxPropStrToFloat64("1.5", &f.flag), 1.5);
  EXPECT_EQ(f.flag, 1);
  EXPECT_DOUBLE_EQ(lmxPropStrToFloat64(" -2e3xyz", &f.flag), -2000.0);
  EXPECT_DOUBLE_EQ(lmxPropStrToFloat64("1e-9", &f.flag), 1e-9);
  EXPECT_FLOAT_EQ(lmxPropStrToFloat32("0.25", &f.flag), 0.25f);
  EXPECT_EQ(f.flag, 1);
  EXPECT_EQ(lmxPropStrToFloat32("e5", &f.flag), 0.0f);
  EXPECT_EQ(f.flag, 0);
  EXPECT_EQ(lmxPropStrToFloat64(nullptr, &f.flag), 0.0);
  EXPECT_EQ(f.flag, 0);
  EXPECT_EQ(lmxPropStrToFloat32("1e39", &f.flag), HUGE_VALF);  // beyond float: infinity
  EXPECT_EQ(f.flag, 1);

  EXPECT_EQ(lmxPropStrToChar("xyz", &f.flag), 'x');
  EXPECT_EQ(f.flag, 1);
  EXPECT_EQ(lmxPropStrToChar("", &f.flag), '\0');
  EXPECT_EQ(f.flag, 1);
  EXPECT_EQ(lmxPropStrToChar(nullptr, &f.flag), '\0');
  EXPECT_EQ(f.flag, 0);
}

TEST_F(MapProps, TypedGettersReadTheStoredText) {
  set("flag", "TRUE");
  set("count", " 42");
  set("ratio", "0.1");
  set("letter", "xyz");
  set("bad", "abc");
  Found f;
  EXPECT_EQ(LmxGetMapPropBool(map_, "flag", &f.flag), 1);
  EXPECT_EQ(f.flag, 1);
  EXPECT_EQ(LmxGetMapPropInt(map_, "count", &f.flag), 42);
  EXPECT_EQ(LmxGetMapPropLong(map_, "count", &f.flag), 42);
  EXPECT_DOUBLE_EQ(LmxGetMapPropDouble(map_, "ratio", &f.flag), 0.1);
  EXPECT_FLOAT_EQ(LmxGetMapPropFloat(map_, "ratio", &f.flag), 0.1f);
  EXPECT_EQ(LmxGetMapPropChar(map_, "letter", &f.flag), 'x');
  EXPECT_EQ(f.flag, 1);
  EXPECT_EQ(LmxGetMapPropInt(map_, "bad", &f.flag), 0);
  EXPECT_EQ(f.flag, 0);  // present but not a number
  EXPECT_EQ(LmxGetMapPropBool(map_, "absent", &f.flag), 0);
  EXPECT_EQ(f.flag, 0);
  EXPECT_EQ(LmxGetMapProp(map_, "absent", &f.flag), nullptr);
  EXPECT_EQ(f.flag, 0);
  EXPECT_EQ(LmxGetMapPropInt(nullptr, "count", &f.flag), 0);
  EXPECT_EQ(f.flag, 0);
  char *t = LmxGetMapProp(map_, "count", &f.flag);
  EXPECT_STREQ(t, " 42");
  EXPECT_EQ(f.flag, 1);
  BasMemoryFree(t);
}

TEST_F(MapProps, BoolAndLongSettersWriteTheirTextForms) {
  EXPECT_TRUE(LmxSetMapPropBool(map_, "a", 1));
  EXPECT_TRUE(LmxSetMapPropBool(map_, "b", 2));
  EXPECT_TRUE(LmxSetMapPropBool(map_, "c", 0));
  EXPECT_EQ(text("a"), "true");
  EXPECT_EQ(text("b"), "false");
  EXPECT_EQ(text("c"), "false");
  LmxSetMapPropLong(map_, "big", 5000000000LL);
  EXPECT_EQ(text("big"), "5000000000");
  Found f;
  EXPECT_EQ(LmxGetMapPropLong(map_, "big", &f.flag), 5000000000LL);
  LmxSetMapPropLong(map_, "min", INT64_MIN);
  EXPECT_EQ(text("min"), "-9223372036854775808");
  EXPECT_EQ(LmxGetMapPropLong(map_, "min", &f.flag), INT64_MIN);
  EXPECT_FALSE(LmxSetMapPropBool(nullptr, "a", 1));
  EXPECT_FALSE(LmxSetMapProp(map_, nullptr, "x"));

  // Setting again replaces the text in place.
  LmxSetMapPropBool(map_, "a", 0);
  char *first = LmxStringToStringMapIterGetKey(LmxStringToStringMapIterator(map_));
  EXPECT_STREQ(first, "a");
  BasMemoryFree(first);
  EXPECT_EQ(text("a"), "false");
}

TEST_F(MapProps, NumberAndCharacterSettersUseTheParameterForms) {
  LmxSetMapPropInt(map_, "int", -12);
  LmxSetMapPropChar(map_, "char", 'q');
  LmxSetMapPropFloat(map_, "float", 2.5f);
  LmxSetMapPropDouble(map_, "tenth", 0.1);
  LmxSetMapPropDouble(map_, "tiny", 1e-9);
  EXPECT_EQ(text("int"), "-12");
  EXPECT_EQ(text("char"), "q");
  EXPECT_EQ(text("float"), "2.500000");
  EXPECT_EQ(text("tenth"), "0.100000");
  EXPECT_EQ(text("tiny"), "0.000000");
  Found f;
  EXPECT_DOUBLE_EQ(LmxGetMapPropDouble(map_, "tenth", &f.flag), 0.1);
  EXPECT_EQ(LmxGetMapPropDouble(map_, "tiny", &f.flag), 0.0);
  EXPECT_EQ(f.flag, 1);
  EXPECT_EQ(LmxGetMapPropInt(map_, "int", &f.flag), -12);
  EXPECT_EQ(LmxGetMapPropChar(map_, "char", &f.flag), 'q');
  LmxSetMapPropInt(nullptr, "int", 1);  // nothing to store into
  LmxSetMapPropInt(map_, nullptr, 1);
  // Replacing keeps the first position.
  LmxSetMapPropInt(map_, "int", 99);
  char *first = LmxStringToStringMapIterGetKey(LmxStringToStringMapIterator(map_));
  EXPECT_STREQ(first, "int");
  BasMemoryFree(first);
  EXPECT_EQ(text("int"), "99");
}
