#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "config/property_values.h"
#include "lumex/config.h"

namespace {

// Converters must set the flag on every call: start it at neither 0 nor 1.
constexpr unsigned char kUnset = 77;

std::string show(const char *t) { return t ? t : "null"; }

class MapProps : public ::testing::Test {
 protected:
  void TearDown() override { LmxFreeStringToStringMap(map_); }
  std::string text(const char *key) {
    char *t = LmxGetMapProp(map_, key, nullptr);
    std::string out = show(t);
    BasMemoryFree(t);
    return out;
  }
  StringToStringMap *map_ = LmxAllocStringToStringMap();
  unsigned char found_ = kUnset;
};

}  // namespace

TEST(PropStr, BoolAcceptsOnlyTrueAndFalseInAnyCase) {
  struct {
    const char *text;
    unsigned char value, found;
  } cases[] = {{"TRUE", 1, 1}, {"tRuE", 1, 1}, {"False", 0, 1}, {"yes", 0, 0},  {"1", 0, 0},
               {" true", 0, 0}, {"", 0, 0},    {nullptr, 0, 0}};
  for (const auto &c : cases) {
    unsigned char found = kUnset;
    EXPECT_EQ(lmxPropStrToBool(c.text, &found), c.value) << show(c.text);
    EXPECT_EQ(found, c.found) << show(c.text);
  }
}

TEST(PropStr, IntegersReadLikeFormattedInput) {
  struct {
    const char *text;
    int64_t value;
    unsigned char found;
  } cases[] = {{" 42", 42, 1}, {"42abc", 42, 1}, {"0x1F", 0, 1}, {"abc", 0, 0}, {"-17", -17, 1},
               {"+8", 8, 1},   {"\t\n 9 9", 9, 1}, {"-", 0, 0},  {"  ", 0, 0},  {nullptr, 0, 0}};
  for (const auto &c : cases) {
    unsigned char f32 = kUnset, f64 = kUnset;
    EXPECT_EQ(lmxPropStrToInt32(c.text, &f32), c.value) << show(c.text);
    EXPECT_EQ(lmxPropStrToInt64(c.text, &f64), c.value) << show(c.text);
    EXPECT_EQ(f32, c.found) << show(c.text);
    EXPECT_EQ(f64, c.found) << show(c.text);
  }
  unsigned char f = kUnset;
  EXPECT_EQ(lmxPropStrToInt64("5000000000", &f), 5000000000LL);
  // Beyond the type's range: the nearest limit, still read.
  EXPECT_EQ(lmxPropStrToInt32("5000000000", &f), INT32_MAX);
  EXPECT_EQ(f, 1);
  EXPECT_EQ(lmxPropStrToInt32("-5000000000", &f), INT32_MIN);
  EXPECT_EQ(lmxPropStrToInt64("99999999999999999999", &f), INT64_MAX);
}

TEST(PropStr, FloatsAndCharacters) {
  unsigned char f = kUnset;
  EXPECT_DOUBLE_EQ(lmxPropStrToFloat64(" -2e3xyz", &f), -2000.0);
  EXPECT_EQ(f, 1);
  EXPECT_DOUBLE_EQ(lmxPropStrToFloat64("1e-9", &f), 1e-9);
  EXPECT_FLOAT_EQ(lmxPropStrToFloat32("0.25", &f), 0.25f);
  EXPECT_EQ(lmxPropStrToFloat32("e5", &f), 0.0f);
  EXPECT_EQ(f, 0);
  EXPECT_EQ(lmxPropStrToFloat32("1e39", &f), HUGE_VALF);
  EXPECT_EQ(f, 1);
  EXPECT_EQ(lmxPropStrToChar("xyz", &f), 'x');
  EXPECT_EQ(lmxPropStrToChar("", &f), '\0');
  EXPECT_EQ(f, 1);
  EXPECT_EQ(lmxPropStrToChar(nullptr, &f), '\0');
  EXPECT_EQ(f, 0);
}

TEST_F(MapProps, GettersConvertTheStoredText) {
  LmxSetMapProp(map_, "flag", "TRUE");
  LmxSetMapProp(map_, "count", " 42");
  LmxSetMapProp(map_, "bad", "abc");
  EXPECT_EQ(LmxGetMapPropBool(map_, "flag", &found_), 1);
  EXPECT_EQ(found_, 1);
  EXPECT_EQ(LmxGetMapPropLong(map_, "count", &found_), 42);
  EXPECT_EQ(LmxGetMapPropInt(map_, "bad", &found_), 0);
  EXPECT_EQ(found_, 0);  // present but not a number
  EXPECT_EQ(LmxGetMapPropBool(map_, "absent", &found_), 0);
  EXPECT_EQ(LmxGetMapProp(map_, "absent", &found_), nullptr);
  EXPECT_EQ(found_, 0);
  EXPECT_EQ(LmxGetMapPropInt(nullptr, "count", &found_), 0);
  char *t = LmxGetMapProp(map_, "count", &found_);
  EXPECT_STREQ(t, " 42");
  EXPECT_EQ(found_, 1);
  BasMemoryFree(t);
}

TEST_F(MapProps, SettersWriteTextFormsThatReadBack) {
  EXPECT_TRUE(LmxSetMapPropBool(map_, "yes", 1));
  EXPECT_TRUE(LmxSetMapPropBool(map_, "two", 2));
  LmxSetMapPropLong(map_, "big", 5000000000LL);
  LmxSetMapPropLong(map_, "min", INT64_MIN);
  LmxSetMapPropInt(map_, "int", -12);
  LmxSetMapPropChar(map_, "char", 'q');
  LmxSetMapPropFloat(map_, "float", 2.5f);
  LmxSetMapPropDouble(map_, "tenth", 0.1);
  LmxSetMapPropDouble(map_, "tiny", 1e-9);
  EXPECT_EQ(text("yes"), "true");
  EXPECT_EQ(text("two"), "false");
  EXPECT_EQ(text("big"), "5000000000");
  EXPECT_EQ(text("min"), "-9223372036854775808");
  EXPECT_EQ(text("int"), "-12");
  EXPECT_EQ(text("char"), "q");
  EXPECT_EQ(text("float"), "2.500000");
  EXPECT_EQ(text("tenth"), "0.100000");
  EXPECT_EQ(text("tiny"), "0.000000");
  EXPECT_EQ(LmxGetMapPropLong(map_, "big", &found_), 5000000000LL);
  EXPECT_EQ(LmxGetMapPropLong(map_, "min", &found_), INT64_MIN);
  EXPECT_DOUBLE_EQ(LmxGetMapPropDouble(map_, "tenth", &found_), 0.1);
  EXPECT_EQ(LmxGetMapPropDouble(map_, "tiny", &found_), 0.0);
  EXPECT_EQ(found_, 1);
  EXPECT_FALSE(LmxSetMapPropBool(nullptr, "a", 1));
  LmxSetMapPropInt(map_, nullptr, 1);
  // Setting a key again replaces its text in its first place.
  LmxSetMapPropInt(map_, "yes", 99);
  char *first = LmxStringToStringMapIterGetKey(LmxStringToStringMapIterator(map_));
  EXPECT_STREQ(first, "yes");
  BasMemoryFree(first);
  EXPECT_EQ(text("yes"), "99");
}
