// Case mapping and classes of wide characters, checked against ICU for every
// 16-bit value, and against the C library's "C" locale for ASCII.
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <cctype>
#include <clocale>

#include "lumex/ilx.h"
#include "unicode_classes.h"

namespace {

// Where case mapping applies above U+01FF, per direction.
struct Span { unsigned first, last; };
const Span kUpperCovered[] = {
    {0x3AC, 0x3CE}, {0x430, 0x45F}, {0x491, 0x4CC}, {0x1E00, 0x1FFC}, {0xFF41, 0xFF5A}};
const Span kLowerCovered[] = {
    {0x386, 0x3AB}, {0x401, 0x42F}, {0x490, 0x4CB}, {0x1E00, 0x1FFC}, {0xFF21, 0xFF3A}};

// ICU's simple mapping where it is covered and its delta fits a signed byte.
template <size_t N>
unsigned expectedMapping(unsigned c, UChar32 (*icu)(UChar32), const Span (&spans)[N]) {
  bool covered = c < 0x200;
  for (const Span &s : spans) covered = covered || (c >= s.first && c <= s.last);
  const long d = static_cast<long>(icu(static_cast<UChar32>(c))) - static_cast<long>(c);
  return covered && d >= -128 && d <= 127 ? static_cast<unsigned>(c + d) : c;
}

TEST(WideCase, EveryValueMatchesIcuWhereCovered) {
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    ASSERT_EQ(ilx_towupper(nullptr, static_cast<uint16_t>(c)),
              expectedMapping(c, u_toupper, kUpperCovered)) << c;
    ASSERT_EQ(ilx_towlower("en_US", static_cast<uint16_t>(c)),
              expectedMapping(c, u_tolower, kLowerCovered)) << c;
  }
}

TEST(WideCase, StringsInPlace) {
  uint16_t s[] = {'a', 0xE9, 0x3B1, 0x4E00, 'Z', 0xFF41, 0};
  EXPECT_EQ(ilx_wcsupper(nullptr, s), s);
  EXPECT_EQ(std::u16string(s, s + 6), u"A\xC9\x391\x4E00Z\xFF21");
  EXPECT_EQ(ilx_wcslower(nullptr, s), s);
  EXPECT_EQ(std::u16string(s, s + 6), u"a\xE9\x3B1\x4E00z\xFF41");
  EXPECT_EQ(s[6], 0);
  EXPECT_EQ(ilx_wcsupper(nullptr, nullptr), nullptr);
}

struct ClassCase { const char *name; int (*test)(uint16_t); uint16_t bit; int (*cTest)(int); };
const ClassCase kClasses[] = {
    {"upper", ilx_iswupper, 0x0001, isupper}, {"lower", ilx_iswlower, 0x0002, islower},
    {"digit", ilx_iswdigit, 0x0004, isdigit}, {"space", ilx_iswspace, 0x0008, isspace},
    {"punct", ilx_iswpunct, 0x0010, ispunct}, {"cntrl", ilx_iswcntrl, 0x0020, iscntrl},
    {"blank", ilx_iswblank, 0x0040, isblank}, {"xdigit", ilx_iswxdigit, 0x0080, isxdigit},
    {"alpha", ilx_iswalpha, 0x0100, isalpha}, {"alnum", ilx_iswalnum, 0x0200, isalnum},
    {"graph", ilx_iswgraph, 0x0400, isgraph}, {"print", ilx_iswprint, 0x0800, isprint},
};

// Every value through the class functions (the byte index below 0x200, the
// two-level index above it) against ICU's properties, and ASCII against the
// C library's "C" locale.
TEST(WideClass, EveryValueMatchesIcuAndAsciiTheCLocale) {
  ASSERT_STREQ(setlocale(LC_CTYPE, nullptr), "C");
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    const uint16_t mask = wchar_tables::unicodeClassMask(static_cast<UChar32>(c));
    for (const ClassCase &k : kClasses) {
      const int got = k.test(static_cast<uint16_t>(c));
      ASSERT_EQ(got, (mask & k.bit) ? 1 : 0) << k.name << " " << c;
      if (c < 0x80) {
        ASSERT_EQ(got, k.cTest(static_cast<int>(c)) ? 1 : 0) << k.name << " in C " << c;
      }
    }
  }
}

// The class rules themselves, on characters where C and Unicode differ.
TEST(WideClass, KnownCharacters) {
  EXPECT_EQ(ilx_iswalpha(0x4E00), 1);  // CJK ideograph: a letter without case
  EXPECT_EQ(ilx_iswupper(0x4E00), 0);
  EXPECT_EQ(ilx_iswspace(0x3000), 1);  // ideographic space
  EXPECT_EQ(ilx_iswdigit(0x0663), 0);  // Arabic-Indic three: alphanumeric, not a C digit
  EXPECT_EQ(ilx_iswalnum(0x0663), 1);
  EXPECT_EQ(ilx_iswprint(0xD800), 0);  // surrogates print nothing
}

}  // namespace
