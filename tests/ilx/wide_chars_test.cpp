// Wide characters: string functions against wchar_t ones on random strings, and where they say
// more than C; case and classes against ICU for every 16-bit value and the "C" locale for ASCII;
// byte streams, and what stays readable when the input ends mid-character.
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <cctype>
#include <clocale>
#include <cstdio>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "lumex/ilx.h"
#include "unicode_classes.h"

namespace {

using U16 = std::vector<uint16_t>;

U16 w(std::initializer_list<uint16_t> units) {
  U16 v(units);
  v.push_back(0);
  return v;
}

int sign(long v) { return (v > 0) - (v < 0); }

TEST(WideStrings, AgreeWithTheCLibraryAndCompareByUnitDifferences) {
  static const uint16_t alphabet[] = {'a', 'b', 'c', ',', ' ', 0xE9, 0x8000, 0xFFFF};
  std::mt19937 rng(4711);
  auto randomString = [&](size_t maxLen) {
    U16 s(rng() % (maxLen + 1));
    for (auto &u : s) u = alphabet[rng() % 8];
    s.push_back(0);
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    U16 a = randomString(12), b = randomString(3);
    const std::wstring wa(a.begin(), a.end() - 1), wb(b.begin(), b.end() - 1);
    const size_t n = rng() % 15;
    const uint16_t c = b[0];
    ASSERT_EQ(ilx_wcslen(a.data()), wa.size());
    ASSERT_EQ(ilx_wcsnlen(a.data(), n), std::min(n, wa.size()));
    ASSERT_EQ(ilx_wcsspn(a.data(), b.data()), wcsspn(wa.c_str(), wb.c_str()));
    ASSERT_EQ(ilx_wcscspn(a.data(), b.data()), wcscspn(wa.c_str(), wb.c_str()));
    auto at = [&](const uint16_t *p) { return p ? p - a.data() : -1; };
    auto wat = [&](const wchar_t *p) { return p ? p - wa.c_str() : -1; };
    ASSERT_EQ(at(ilx_wcschr(a.data(), c)), wat(wcschr(wa.c_str(), c)));
    ASSERT_EQ(at(ilx_wcsrchr(a.data(), c)), wat(wcsrchr(wa.c_str(), c)));
    ASSERT_EQ(at(ilx_wcspbrk(a.data(), b.data())), wat(wcspbrk(wa.c_str(), wb.c_str())));
    ASSERT_EQ(at(ilx_wcswcs(a.data(), b.data())), wat(wcsstr(wa.c_str(), wb.c_str())));
    // Units compare as unsigned 16-bit values, as wchar_t does here.
    ASSERT_EQ(sign(ilx_wcsncmp(a.data(), b.data(), n)), sign(wcsncmp(wa.c_str(), wb.c_str(), n)));
    // Copies and appends: the same units as the C functions.
    U16 d(32, 0x7777);
    std::wstring wd(32, L'\x7777');
    ilx_wcscat(ilx_wcsncat(ilx_wcscpy(d.data(), b.data()), a.data(), n), b.data());
    wcscat(wcsncat(wcscpy(&wd[0], wb.c_str()), wa.c_str(), n), wb.c_str());
    ASSERT_EQ(d, U16(wd.begin(), wd.end()));
    ASSERT_EQ(ilx_wcsncpy(d.data(), a.data(), n), d.data());
    wcsncpy(&wd[0], wa.c_str(), n);
    ASSERT_EQ(d, U16(wd.begin(), wd.end()));
    // Tokens: same sequence and saved position as wcstok, and exhausted after.
    U16 t = a;
    std::wstring wt = wa;
    uint16_t *pos = nullptr, *tok = ilx_wcstok(t.data(), b.data(), &pos);
    wchar_t *wpos = nullptr, *wtok = wcstok(wt.data(), wb.c_str(), &wpos);
    for (; tok != nullptr || wtok != nullptr; tok = ilx_wcstok(nullptr, b.data(), &pos),
                                              wtok = wcstok(nullptr, wb.c_str(), &wpos)) {
      ASSERT_TRUE(tok != nullptr && wtok != nullptr);
      ASSERT_EQ(tok - t.data(), wtok - wt.data());
      // Where wcstok drops a string that ends in a token, pos stays on its zero unit.
      ASSERT_EQ(pos - t.data(), wpos ? wpos - wt.data() : static_cast<ptrdiff_t>(wa.size()));
      ASSERT_EQ(ilx_wcslen(tok), wcslen(wtok));
    }
    ASSERT_EQ(ilx_wcstok(nullptr, b.data(), &pos), nullptr);
  }
  // Compares give the difference of the units; a null string is an empty one.
  const U16 abc = w({'a', 'b', 'c'});
  EXPECT_EQ(ilx_wcsncmp(w({0xFFFF}).data(), w({1}).data(), 1), 0xFFFF - 1);  // unsigned units
  EXPECT_EQ(ilx_wcsncmp(abc.data(), w({'a'}).data(), 5), 'b');  // against the zero unit
  EXPECT_EQ(ilx_wcsncmp(nullptr, abc.data(), 1), -'a');
  U16 e = w({'a'});
  EXPECT_EQ(ilx_wcscat(e.data(), nullptr), e.data());
  EXPECT_EQ(e, w({'a'}));
  EXPECT_EQ(ilx_wcslen(nullptr), 0u);
  uint16_t *pos = nullptr;
  EXPECT_EQ(ilx_wcstok(e.data(), w({','}).data(), nullptr), nullptr);
  EXPECT_EQ(ilx_wcstok(nullptr, w({','}).data(), &pos), nullptr);
}

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

TEST(WideCase, EveryValueMatchesIcuWhereCoveredAndStringsMapInPlace) {
  for (unsigned c = 0; c <= 0xFFFF; ++c) {
    ASSERT_EQ(ilx_towupper(nullptr, static_cast<uint16_t>(c)),
              expectedMapping(c, u_toupper, kUpperCovered)) << c;
    ASSERT_EQ(ilx_towlower("en_US", static_cast<uint16_t>(c)),
              expectedMapping(c, u_tolower, kLowerCovered)) << c;
  }
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

// Every value through the class functions: the byte index below 0x200, the
// two-level index above it.
TEST(WideClass, EveryValueMatchesIcuAndAsciiTheCLocaleAndKnownCharacters) {
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
  // The class rules themselves, on characters where C and Unicode differ.
  EXPECT_EQ(ilx_iswalpha(0x4E00), 1);  // CJK ideograph: a letter without case
  EXPECT_EQ(ilx_iswupper(0x4E00), 0);
  EXPECT_EQ(ilx_iswspace(0x3000), 1);  // ideographic space
  EXPECT_EQ(ilx_iswdigit(0x0663), 0);  // Arabic-Indic three: alphanumeric, not a C digit
  EXPECT_EQ(ilx_iswalnum(0x0663), 1);
  EXPECT_EQ(ilx_iswprint(0xD800), 0);  // surrogates print nothing
}

class WideStream : public ::testing::Test {
 protected:
  FILE *open(const std::string &bytes) {
    if (f_ != nullptr) std::fclose(f_);
    f_ = std::tmpfile();
    if (f_ != nullptr) std::fwrite(bytes.data(), 1, bytes.size(), f_);
    if (f_ != nullptr) std::rewind(f_);
    return f_;
  }
  std::string rest() {
    std::string s;
    for (int c; (c = std::fgetc(f_)) != EOF;) s.push_back(static_cast<char>(c));
    return s;
  }
  std::u16string line(int size) {
    uint16_t buf[8];
    if (ilx_fgetws(utf8, buf, size, f_) != buf) return u"(none)";
    return std::u16string(reinterpret_cast<const char16_t *>(buf));
  }
  void TearDown() override { if (f_ != nullptr) std::fclose(f_); }
  CodeSetT utf8 = ilx_cs_new("UTF8");
  FILE *f_ = nullptr;
};

TEST_F(WideStream, ReadsCharactersLinesAndPushedBackOnes) {
  // An incomplete character at the end stays readable.
  ASSERT_NE(nullptr, open("A\xC3\xA9\xE2\x82\xAC" "x\xE2\x82"));
  for (uint16_t wc : {0x41, 0xE9, 0x20AC, 0x78}) EXPECT_EQ(wc, ilx_fgetwc(utf8, f_));
  EXPECT_EQ(ILX_WEOF, ilx_fgetwc(utf8, f_));
  EXPECT_EQ("\xE2\x82", rest());
  EXPECT_EQ(ILX_WEOF, ilx_fgetwc(utf8, f_));
  EXPECT_EQ(ILX_WEOF, ilx_fgetwc(utf8, nullptr));
  // Lines end at line feeds or the buffer.
  ASSERT_NE(nullptr, open("ab\n\xC3\xA9z"));
  EXPECT_EQ(u"ab\n", line(8));
  EXPECT_EQ(u"\u00e9", line(2));  // room for one character
  EXPECT_EQ(u"z", line(8));
  EXPECT_EQ(u"(none)", line(8));
  EXPECT_EQ(u"(none)", line(0));
  ASSERT_NE(nullptr, open("z"));
  EXPECT_EQ(0x20AC, ilx_ungetwc(utf8, 0x20AC, f_));
  EXPECT_EQ(0x20AC, ilx_fgetwc(utf8, f_));
  EXPECT_EQ('z', ilx_fgetwc(utf8, f_));
  EXPECT_EQ(ILX_WEOF, ilx_ungetwc(utf8, ILX_WEOF, f_));
  EXPECT_EQ(ILX_WEOF, ilx_ungetwc(utf8, 0xD800, f_));  // half a pair converts to nothing
}

TEST_F(WideStream, WritesConvertedBytesAndReportsFailures) {
  ASSERT_NE(nullptr, open(""));
  EXPECT_EQ(0xE9, ilx_fputwc(utf8, 0xE9, f_));
  const uint16_t word[] = {'a', 0x20AC, 'b', 0}, broken[] = {'c', 0xD800, 'd', 0};
  EXPECT_EQ(3, ilx_fputws(utf8, word, f_));
  EXPECT_EQ(ILX_WEOF, ilx_fputwc(utf8, 0xD800, f_));
  EXPECT_EQ(ILX_WEOF, ilx_fputws(utf8, broken, f_));
  std::rewind(f_);
  EXPECT_EQ("\xC3\xA9" "a\xE2\x82\xAC" "bc", rest());  // stops at the first failure
  FILE *full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::setvbuf(full, nullptr, _IONBF, 0);
  EXPECT_EQ(ILX_WEOF, ilx_fputwc(utf8, 'a', full));
  EXPECT_EQ(ILX_WEOF, ilx_fputws(utf8, word, full));
  std::fclose(full);
}

}  // namespace
