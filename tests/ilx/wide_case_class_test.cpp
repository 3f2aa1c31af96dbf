// Case mapping and class tests of wide characters, checked against ICU for
// every 16-bit value, and against the C library's "C" locale for ASCII.
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <cctype>
#include <clocale>

#include "ilx/wchar_tables.h"
#include "lumex/ilx.h"
#include "unicode_classes.h"

namespace {

struct Span {
  unsigned first, last;
};

// Where case mapping applies above U+01FF, per direction.
const Span kUpperCovered[] = {{0x3AC, 0x3CE}, {0x430, 0x45F}, {0x491, 0x4CC}, {0x1E00, 0x1FFC}, {0xFF41, 0xFF5A}};
const Span kLowerCovered[] = {{0x386, 0x3AB}, {0x401, 0x42F}, {0x490, 0x4CB}, {0x1E00, 0x1FFC}, {0xFF21, 0xFF3A}};

template <size_t N>
bool covered(unsigned c, const Span (&spans)[N]) {
  if (c < 0x200) return true;
  for (const Span &s : spans) {
    if (c >= s.first && c <= s.last) return true;
  }
  return false;
}

// ICU's simple mapping when it is covered and its delta fits a signed byte.
unsigned expectedMapping(unsigned c, bool upper) {
  const UChar32 m = upper ? u_toupper(static_cast<UChar32>(c)) : u_tolower(static_cast<UChar32>(c));
  const long d = static_cast<long>(m) - static_cast<long>(c);
  const bool cov = upper ? covered(c, kUpperCovered) : covered(c, kLowerCovered);
  return (cov && d >= -128 && d <= 127) ? static_cast<unsigned>(m) : c;
}

TEST(WideCase, EveryValueMatchesIcuWhereCovered) {
  unsigned mappedUp = 0, mappedDown = 0;
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    const uint16_t w = static_cast<uint16_t>(c);
    ASSERT_EQ(ilx_towupper(nullptr, w), expectedMapping(c, true)) << std::hex << "U+" << c;
    ASSERT_EQ(ilx_towlower("en_US", w), expectedMapping(c, false)) << std::hex << "U+" << c;
    mappedUp += ilx_towupper(nullptr, w) != w;
    mappedDown += ilx_towlower(nullptr, w) != w;
  }
  // Latin, Greek, Cyrillic, the extended blocks and full-width letters: the
  // tables must really hold the data, not just agree on "unchanged".
  EXPECT_GT(mappedUp, 500u);
  EXPECT_GT(mappedDown, 500u);
}

TEST(WideCase, KnownMappings) {
  EXPECT_EQ(ilx_towupper(nullptr, 0xFF), 0x178);  // ÿ -> Ÿ crosses into Latin Extended-A
  EXPECT_EQ(ilx_towlower(nullptr, 0x178), 0xFF);
  EXPECT_EQ(ilx_towupper(nullptr, 0x3B1), 0x391);
  EXPECT_EQ(ilx_towupper(nullptr, 0x4E00), 0x4E00);
  EXPECT_EQ(ilx_towupper(nullptr, 0xB5), 0xB5);    // micro sign: mapping too far away
  EXPECT_EQ(ilx_towupper(nullptr, 0x131), 0x131);  // dotless i
  EXPECT_EQ(ilx_towupper(nullptr, 0x1C5), 0x1C4);  // title case Dž goes both ways
  EXPECT_EQ(ilx_towlower(nullptr, 0x1C5), 0x1C6);
  EXPECT_EQ(ilx_towlower(nullptr, 0x1E00), 0x1E01);  // first and last capitals of the extended blocks
  EXPECT_EQ(ilx_towlower(nullptr, 0x1FFC), 0x1FF3);
  EXPECT_EQ(ilx_towupper(nullptr, 0xFF5B), 0xFF5B);  // just past full-width z
}

TEST(WideCase, LatinExtendedBBeyondTheFewPairs) {
  unsigned pairs = 0;
  for (uint16_t c = 0x180; c < 0x200; ++c) pairs += ilx_towlower(nullptr, c) != c;
  EXPECT_GE(pairs, 45u);
}

TEST(WideCase, StringsInPlace) {
  uint16_t s[] = {'a', 0xE9, 0x3B1, 0x4E00, 'Z', 0xFF41, 0};
  EXPECT_EQ(ilx_wcsupper(nullptr, s), s);
  const uint16_t up[] = {'A', 0xC9, 0x391, 0x4E00, 'Z', 0xFF21, 0};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(s[i], up[i]) << i;
  EXPECT_EQ(ilx_wcslower(nullptr, s), s);
  const uint16_t down[] = {'a', 0xE9, 0x3B1, 0x4E00, 'z', 0xFF41, 0};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(s[i], down[i]) << i;
  EXPECT_EQ(ilx_wcsupper(nullptr, nullptr), nullptr);
}

using ClassTest = int (*)(uint16_t);
struct ClassCase {
  const char *name;
  ClassTest test;
  uint16_t bit;
  int (*cTest)(int);
};
const ClassCase kClasses[] = {
    {"upper", ilx_iswupper, 0x0001, isupper},   {"lower", ilx_iswlower, 0x0002, islower},
    {"digit", ilx_iswdigit, 0x0004, isdigit},   {"space", ilx_iswspace, 0x0008, isspace},
    {"punct", ilx_iswpunct, 0x0010, ispunct},   {"cntrl", ilx_iswcntrl, 0x0020, iscntrl},
    {"blank", ilx_iswblank, 0x0040, isblank},   {"xdigit", ilx_iswxdigit, 0x0080, isxdigit},
    {"alpha", ilx_iswalpha, 0x0100, isalpha},   {"alnum", ilx_iswalnum, 0x0200, isalnum},
    {"graph", ilx_iswgraph, 0x0400, isgraph},   {"print", ilx_iswprint, 0x0800, isprint},
};

TEST(WideClass, EveryValueMatchesIcu) {
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    const uint16_t mask = wchar_tables::unicodeClassMask(static_cast<UChar32>(c));
    for (const ClassCase &k : kClasses) {
      ASSERT_EQ(k.test(static_cast<uint16_t>(c)), (mask & k.bit) ? 1 : 0) << k.name << " U+" << std::hex << c;
    }
  }
}

TEST(WideClass, AsciiAgreesWithTheCLocale) {
  ASSERT_STREQ(setlocale(LC_CTYPE, nullptr), "C");
  for (int c = 0; c < 0x80; ++c) {
    for (const ClassCase &k : kClasses) {
      EXPECT_EQ(k.test(static_cast<uint16_t>(c)), k.cTest(c) ? 1 : 0) << k.name << " " << c;
    }
  }
}

TEST(WideClass, KnownCharacters) {
  EXPECT_EQ(ilx_iswalpha(0x4E00), 1);  // CJK ideograph: a letter without case
  EXPECT_EQ(ilx_iswupper(0x4E00), 0);
  EXPECT_EQ(ilx_iswspace(0x3000), 1);  // ideographic space
  EXPECT_EQ(ilx_iswdigit(0x0663), 0);  // Arabic-Indic three: alphanumeric, not a C digit
  EXPECT_EQ(ilx_iswalnum(0x0663), 1);
  EXPECT_EQ(ilx_iswprint(0xD800), 0);  // surrogates print nothing
}

// Both layouts (the byte index below 0x200 and the two-level index) give the
// same records, and every record carries the Unicode general category.
TEST(WideClass, RecordsOfBothIndexesAgreeWithIcu) {
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    const uint16_t first = ilx::kClassBlockIndex[c >> 8];
    ASSERT_TRUE(first < 256 || first - 256u < ilx::kClassBlockCount);
    const unsigned n = first < 256 ? first : ilx::kClassBlocks[(first - 256u) * 256u + (c & 0xFF)];
    ASSERT_LT(n, ilx::kClassRecordCount);
    const ilx::WideClassRecord &r = ilx::kClassRecords[n];
    ASSERT_EQ(r.category, u_charType(static_cast<UChar32>(c))) << std::hex << c;
    ASSERT_EQ(r.mask, wchar_tables::unicodeClassMask(static_cast<UChar32>(c)));
    if (c < 0x200) {
      ASSERT_LT(ilx::kClassLowIndex[c], ilx::kClassLowRecordCount);
      const ilx::WideClassRecord &low = ilx::kClassLowRecords[ilx::kClassLowIndex[c]];
      ASSERT_EQ(low.mask, r.mask);
      ASSERT_EQ(low.category, r.category);
    }
  }
}

}  // namespace
