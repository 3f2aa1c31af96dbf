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

TEST(PropStr, BoolAcceptsOnlyTrueAndFalseInAnyCase) {
  const struct { const char *text; unsigned char value, found; } rows[] = {
      {"TRUE", 1, 1}, {"tRuE", 1, 1}, {"False", 0, 1}, {"yes", 0, 0}, {"1", 0, 0}, {" true", 0, 0},
      {"", 0, 0},     {nullptr, 0, 0}};
  for (const auto &r : rows) {
    unsigned char found = kUnset;
    EXPECT_EQ(lmxPropStrToBool(r.text, &found), r.value) << show(r.text);
    EXPECT_EQ(found, r.found) << show(r.text);
  }
}

TEST(PropStr, IntegersReadLikeFormattedInputAndStopAtTheTypesLimits) {
  const struct { const char *text; int32_t v32; int64_t v64; unsigned char found; } rows[] = {
      {" 42", 42, 42, 1},   {"42abc", 42, 42, 1},   {"0x1F", 0, 0, 1}, {"abc", 0, 0, 0},
      {"-17", -17, -17, 1}, {"+8", 8, 8, 1},        {"\t\n 9 9", 9, 9, 1}, {"-", 0, 0, 0},
      {"  ", 0, 0, 0},      {nullptr, 0, 0, 0},     {"5000000000", INT32_MAX, 5000000000LL, 1},
      {"-5000000000", INT32_MIN, -5000000000LL, 1},
      {"99999999999999999999", INT32_MAX, INT64_MAX, 1},
  };
  for (const auto &r : rows) {
    unsigned char f32 = kUnset, f64 = kUnset;
    EXPECT_EQ(lmxPropStrToInt32(r.text, &f32), r.v32) << show(r.text);
    EXPECT_EQ(lmxPropStrToInt64(r.text, &f64), r.v64) << show(r.text);
    EXPECT_EQ(f32, r.found) << show(r.text);
    EXPECT_EQ(f64, r.found) << show(r.text);
  }
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

// The map's entries as "key=value" words in their order.
std::string entries(StringToStringMap *map) {
  std::string out;
  for (LmxLink *e = LmxStringToStringMapIterator(map); e != nullptr;
       e = LmxStringToStringMapIterNext(e)) {
    char *key = LmxStringToStringMapIterGetKey(e), *value = LmxStringToStringMapIterGetVal(e);
    out += (out.empty() ? "" : " ") + std::string(key) + "=" + show(value);
    BasMemoryFree(key);
    BasMemoryFree(value);
  }
  return out;
}

TEST(MapProps, SettersWriteTextFormsThatTheGettersConvert) {
  StringToStringMap *map = LmxAllocStringToStringMap();
  EXPECT_TRUE(LmxSetMapPropBool(map, "yes", 1));
  EXPECT_TRUE(LmxSetMapPropBool(map, "two", 2));
  LmxSetMapPropLong(map, "big", 5000000000LL);
  LmxSetMapPropLong(map, "min", INT64_MIN);
  LmxSetMapPropInt(map, "int", -12);
  LmxSetMapPropChar(map, "char", 'q');
  LmxSetMapPropFloat(map, "float", 2.5f);
  LmxSetMapPropDouble(map, "tenth", 0.1);
  LmxSetMapPropDouble(map, "tiny", 1e-9);
  LmxSetMapProp(map, "count", " 42");
  LmxSetMapProp(map, "bad", "abc");
  EXPECT_EQ(entries(map).substr(0, 18), "yes=true two=false");
  LmxSetMapProp(map, "yes", "TRUE");  // replaced in its first place
  LmxSetMapPropInt(map, nullptr, 1);
  EXPECT_FALSE(LmxSetMapPropBool(nullptr, "a", 1));
  EXPECT_EQ(entries(map), "yes=TRUE two=false big=5000000000 min=-9223372036854775808 int=-12 "
                          "char=q float=2.500000 tenth=0.100000 tiny=0.000000 count= 42 bad=abc");
  unsigned char found = kUnset;
  EXPECT_EQ(LmxGetMapPropLong(map, "min", &found), INT64_MIN);
  EXPECT_EQ(LmxGetMapPropBool(map, "yes", &found), 1);
  EXPECT_EQ(LmxGetMapPropInt(map, "count", &found), 42);
  EXPECT_DOUBLE_EQ(LmxGetMapPropDouble(map, "tenth", &found), 0.1);
  EXPECT_EQ(LmxGetMapPropDouble(map, "tiny", &found), 0.0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(LmxGetMapPropInt(map, "bad", &found), 0);
  EXPECT_EQ(found, 0);  // present but not a number
  found = kUnset;
  EXPECT_EQ(LmxGetMapProp(map, "absent", &found), nullptr);
  EXPECT_EQ(found, 0);
  found = kUnset;
  EXPECT_EQ(LmxGetMapPropInt(nullptr, "count", &found), 0);
  EXPECT_EQ(found, 0);
  LmxFreeStringToStringMap(map);
}

}  // namespace
