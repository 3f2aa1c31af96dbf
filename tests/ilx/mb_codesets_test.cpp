// Multibyte functions on table code sets: texts built character by character
// with the C library's iconv, so that every character boundary is known, and
// the traps of double-byte text (trail bytes that look like ASCII) and of
// EBCDIC shift codes.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "iconv_oracle.h"
#include "lumex/ilx.h"

namespace {

using U16 = std::vector<uint16_t>;

struct Handle {
  explicit Handle(const char *name) : cs(ilx_cs_new(name)) {}
  ~Handle() { ilx_cs_free(cs); }
  CodeSetT cs;
};

// A text of random characters with the offset where each one starts.
struct Text {
  std::string bytes;
  U16 units;
  std::vector<size_t> starts;
};

Text randomText(CodeSetT cs, IconvOracle &iconv, std::mt19937 &rng, int chars) {
  std::uniform_int_distribution<uint32_t> any(1, 0xFFFF), low(1, 0x7F), kind(0, 2);
  Text t;
  while (static_cast<int>(t.units.size()) < chars) {
    const uint32_t cp = kind(rng) == 0 ? low(rng) : any(rng);
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const std::string enc = iconv.encode(cp);
    if (enc.empty() || enc.find('\0') != std::string::npos) continue;
    // Characters on which the table and iconv agree both ways.
    uint16_t wc = 0;
    char mine[4];
    if (ilx_mbtowc(cs, &wc, enc.data(), enc.size()) != static_cast<int>(enc.size()) || wc != cp) continue;
    if (ilx_wctomb(cs, mine, static_cast<uint16_t>(cp)) != static_cast<int>(enc.size()) ||
        std::string(mine, enc.size()) != enc)
      continue;
    t.starts.push_back(t.bytes.size());
    t.bytes += enc;
    t.units.push_back(static_cast<uint16_t>(cp));
  }
  return t;
}

// Largest character boundary not beyond n.
size_t boundaryWithin(const Text &t, size_t n) {
  size_t b = 0;
  for (size_t i = 0; i <= t.starts.size(); ++i) {
    const size_t end = i < t.starts.size() ? t.starts[i] : t.bytes.size();
    if (end <= n) b = end;
  }
  return b;
}

// A whole text through iconv, ended with its flush (closing shift code).
std::string iconvFlushed(const char *name, const U16 &units) {
  iconv_t cd = iconv_open(name, "UCS-2LE");
  if (cd == (iconv_t)-1) return {};
  char *in = reinterpret_cast<char *>(const_cast<uint16_t *>(units.data()));
  size_t inLeft = units.size() * 2;
  char out[128];
  char *o = out;
  size_t outLeft = sizeof out;
  const bool ok = iconv(cd, &in, &inLeft, &o, &outLeft) != static_cast<size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &o, &outLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  return ok ? std::string(out, o) : std::string();
}

class StatelessCodeSets : public ::testing::TestWithParam<const char *> {};

TEST_P(StatelessCodeSets, WalksAgreeWithTheCharacterBoundaries) {
  Handle h(GetParam());
  ASSERT_NE(h.cs, nullptr) << GetParam();
  IconvOracle iconv(GetParam());
  ASSERT_TRUE(iconv.ok());
  std::mt19937 rng(7);
  for (int round = 0; round < 60; ++round) {
    const Text t = randomText(h.cs, iconv, rng, 1 + round % 12);
    const char *s = t.bytes.c_str();
    // Whole strings, both ways.
    U16 wide(t.units.size() + 1, 0x7777);
    ASSERT_EQ(ilx_mbstowcs(h.cs, wide.data(), s, wide.size()), static_cast<int>(t.units.size()));
    ASSERT_EQ(U16(wide.begin(), wide.end() - 1), t.units);
    std::string back(t.bytes.size() + 1, 'x');
    ASSERT_EQ(ilx_wcstombs(h.cs, &back[0], wide.data(), back.size()), static_cast<int>(t.bytes.size()));
    ASSERT_EQ(back.c_str(), t.bytes);
    ASSERT_EQ(ilx_wcstombs(h.cs, nullptr, wide.data(), 0), static_cast<int>(t.bytes.size()));
    // Byte types and lengths at every offset.
    for (size_t i = 0; i < t.starts.size(); ++i) {
      const size_t end = i + 1 < t.starts.size() ? t.starts[i + 1] : t.bytes.size();
      const size_t len = end - t.starts[i];
      ASSERT_EQ(ilx_mblen(h.cs, s + t.starts[i], t.bytes.size() - t.starts[i]), static_cast<int>(len));
      ASSERT_EQ(ilx_mbsbtype(h.cs, s, t.starts[i]), len == 1 ? 0 : 1);
      for (size_t k = t.starts[i] + 1; k < end; ++k) ASSERT_EQ(ilx_mbsbtype(h.cs, s, k), 2);
    }
    ASSERT_EQ(ilx_mbsbtype(h.cs, s, t.bytes.size()), -1);
    // Limits fall on character boundaries.
    for (size_t n = 0; n <= t.bytes.size() + 1; ++n) {
      const size_t whole = boundaryWithin(t, n);
      ASSERT_EQ(ilx_strnlen(h.cs, s, n), whole) << n;
      std::string dst(n + 1, 'x');
      ilx_strncpy(h.cs, &dst[0], s, n);
      ASSERT_EQ(dst.substr(0, whole), t.bytes.substr(0, whole)) << n;
      ASSERT_EQ(dst.substr(whole, n - whole), std::string(n - whole, '\0')) << n;
      ASSERT_EQ(dst[n], 'x') << n;
    }
    // A byte search finds only character starts.
    for (unsigned char b : t.bytes) {
      const char *expected = nullptr;
      for (size_t start : t.starts) {
        if (static_cast<unsigned char>(s[start]) == b) {
          expected = s + start;
          break;
        }
      }
      ASSERT_EQ(ilx_strchr(h.cs, s, b), expected);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Tables, StatelessCodeSets,
                         ::testing::Values("ISO-8859-1", "IBM1047", "CP932", "EUC-JP", "BIG5", "GB18030"));

// Shift-JIS: trail bytes from 0x40 to 0x7E look like ASCII.
TEST(DoubleByteText, TrailBytesAreNotCharacters) {
  Handle h("SJIS");
  ASSERT_NE(h.cs, nullptr);
  const char *s = "A\x82\xA0";  // "A", then hiragana a
  EXPECT_EQ(ilx_mbsbtype(h.cs, s, 0), 0);
  EXPECT_EQ(ilx_mbsbtype(h.cs, s, 1), 1);
  EXPECT_EQ(ilx_mbsbtype(h.cs, s, 2), 2);
  EXPECT_EQ(ilx_ismbs1st(h.cs, s, s + 1), 1);

  const std::string so = "\x83\x5C";  // katakana so: its trail byte is a backslash
  const std::string text = "a" + so + "b\\c" + so;
  const char *t = text.c_str();
  EXPECT_EQ(ilx_strchr(h.cs, t, '\\'), t + 4);
  EXPECT_EQ(ilx_strrchr(h.cs, t, '\\'), t + 4);
  EXPECT_EQ(ilx_strstr(h.cs, t, "\\"), t + 4);
  EXPECT_EQ(ilx_strcspn(h.cs, t, "\\"), 4u);
  EXPECT_EQ(ilx_strpbrk(h.cs, t, "\\"), t + 4);
  EXPECT_EQ(ilx_strspn(h.cs, t, ("a" + so).c_str()), 3u);
  std::string tok = text;
  char *pos = nullptr;
  EXPECT_STREQ(ilx_strtok(h.cs, &tok[0], "\\", &pos), ("a" + so + "b").c_str());
  EXPECT_STREQ(ilx_strtok(h.cs, nullptr, "\\", &pos), ("c" + so).c_str());
  EXPECT_EQ(ilx_strtok(h.cs, nullptr, "\\", &pos), nullptr);

  // Full-width letters change case within the code set.
  std::string word = "a\x82\x81\x82\x60z";  // a, full-width a, full-width A, z
  ilx_strupper(h.cs, nullptr, &word[0]);
  EXPECT_EQ(word, "A\x82\x60\x82\x60Z");
  EXPECT_EQ(ilx_stricmp(h.cs, nullptr, "\x82\x81x", "\x82\x60X"), 0);
  EXPECT_EQ(ilx_strnicmp(h.cs, nullptr, "\x82\x81x", "\x82\x60y", 2), 0);
  EXPECT_NE(ilx_strnicmp(h.cs, nullptr, "\x82\x81x", "\x82\x60y", 3), 0);
}

TEST(SingleByteText, MappedCaseMustExistInTheCodeSet) {
  Handle latin1("ISO-8859-1"), ebcdic("IBM1047");
  ASSERT_NE(latin1.cs, nullptr);
  ASSERT_NE(ebcdic.cs, nullptr);
  std::string s = "\xE9t\xE9 \xFF";
  ilx_strupper(latin1.cs, nullptr, &s[0]);
  EXPECT_EQ(s, "\xC9T\xC9 \xFF");  // no Ÿ in Latin-1: ÿ stays
  EXPECT_EQ(ilx_check_subs(latin1.cs), 0);
  std::string e = "\x81\x82\x83";  // "abc" in EBCDIC
  ilx_strupper(ebcdic.cs, nullptr, &e[0]);
  EXPECT_EQ(e, "\xC1\xC2\xC3");
  EXPECT_EQ(ilx_stricmp(ebcdic.cs, nullptr, "\x81\x82", "\xC1\xC2"), 0);
  EXPECT_EQ(ilx_mblen(ebcdic.cs, "\x0E\x41", 2), 1);  // every character is one byte
}

TEST(Gb18030Text, FourByteCharacters) {
  Handle h("GB18030");
  ASSERT_NE(h.cs, nullptr);
  uint16_t wc = 0;
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\x81\x30\x81\x30", 4), 4);
  EXPECT_EQ(wc, 0x80);
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\x90\x30\x81\x30", 4), -1);  // U+10000 needs a pair
  EXPECT_EQ(ilx_mblen(h.cs, "\x90\x30\x81\x30", 4), 4);
  const char *s = "a\x90\x30\x81\x30" "b";
  EXPECT_EQ(ilx_mbsbtype(h.cs, s, 1), 1);
  EXPECT_EQ(ilx_mbsbtype(h.cs, s, 4), 2);
  EXPECT_EQ(ilx_mbsbtype(h.cs, s, 5), 0);
  EXPECT_EQ(ilx_strchr(h.cs, s, 0x30), nullptr);
  EXPECT_EQ(ilx_strnlen(h.cs, s, 4), 1u);
}

// EBCDIC with shift codes: 0x0E opens a double-byte run, 0x0F closes it.
class ShiftedText : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(h.cs, nullptr);
    char b[4];
    // Full-width a, b, A, B as they are written inside a run.
    for (uint16_t u : {0xFF41, 0xFF42, 0xFF21, 0xFF22, 0xFF43}) {
      ASSERT_EQ(ilx_wctomb(h.cs, nullptr, 0), 1);
      ASSERT_EQ(ilx_wctomb(h.cs, b, u), 3);
      ASSERT_EQ(b[0], '\x0E');
      dbcs[u] = std::string(b + 1, 2);
    }
    ilx_wctomb(h.cs, nullptr, 0);
  }
  std::string run(std::initializer_list<uint16_t> units) {
    std::string s = "\x0E";
    for (uint16_t u : units) s += dbcs[u];
    return s + "\x0F";
  }
  Handle h{"IBM939"};
  std::map<uint16_t, std::string> dbcs;
};

TEST_F(ShiftedText, StateResetsReportAStatefulCodeSet) {
  EXPECT_EQ(ilx_mbtowc(h.cs, nullptr, nullptr, 0), 1);
  EXPECT_EQ(ilx_wctomb(h.cs, nullptr, 0), 1);
  EXPECT_EQ(ilx_mblen(h.cs, nullptr, 0), 1);
  uint16_t wc = 0;
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\x0E", 1), -1);  // a shift code alone is no character
}

TEST_F(ShiftedText, WholeStringsCarryTheirShiftCodes) {
  const std::string s = run({0xFF41, 0xFF42}) + "\xC1";
  U16 out(4, 0x7777);
  EXPECT_EQ(ilx_mbstowcs(h.cs, out.data(), s.c_str(), 4), 3);
  EXPECT_EQ(out, (U16{0xFF41, 0xFF42, 'A', 0}));

  const U16 mixed{0xFF41, 'A', 0}, ending{0xFF41, 0};
  char b[8];
  std::memset(b, 'x', sizeof b);
  EXPECT_EQ(ilx_wcstombs(h.cs, b, mixed.data(), sizeof b), 5);
  EXPECT_EQ(std::string(b, 6), "\x0E" + dbcs[0xFF41] + "\x0F\xC1" + std::string(1, '\0'));
  EXPECT_EQ(ilx_wcstombs(h.cs, b, ending.data(), sizeof b), 4);  // closed by the flush
  EXPECT_EQ(std::string(b, 4), run({0xFF41}));
  EXPECT_EQ(ilx_wcstombs(h.cs, nullptr, ending.data(), 0), 4);  // the count includes the closing code
  // No room for the closing code: the character is left out rather than
  // leaving the output inside a double-byte run.
  std::memset(b, 'x', sizeof b);
  EXPECT_EQ(ilx_wcstombs(h.cs, b, ending.data(), 3), 0);
  EXPECT_EQ(b[0], '\0');
  EXPECT_EQ(ilx_wcstombs(h.cs, b, ending.data(), 4), 4);

  // Against iconv, with its final shift back.
  std::mt19937 rng(3);
  for (int round = 0; round < 200; ++round) {
    U16 ws;
    for (int n = 1 + round % 9; n > 0; --n) {
      const uint16_t u = rng() % 3 == 0 ? static_cast<uint16_t>(0x41 + rng() % 26)
                                        : static_cast<uint16_t>(0xFF21 + rng() % 26);
      ws.push_back(u);
    }
    const std::string expected = iconvFlushed("IBM939", ws);
    ASSERT_FALSE(expected.empty());
    ws.push_back(0);
    char out[64];
    ASSERT_EQ(ilx_wcstombs(h.cs, out, ws.data(), sizeof out), static_cast<int>(expected.size()));
    ASSERT_EQ(std::string(out), expected);
    U16 back(ws.size(), 0);
    ASSERT_EQ(ilx_mbstowcs(h.cs, back.data(), out, back.size()), static_cast<int>(ws.size() - 1));
    ASSERT_EQ(back, ws);
  }
}

TEST_F(ShiftedText, WalksKeepEachStringsShiftState) {
  const std::string s = run({0xFF41, 0xFF42}) + "\xC1";
  EXPECT_EQ(ilx_mbsbtype(h.cs, s.c_str(), 0), 1);  // shift code and first character
  EXPECT_EQ(ilx_mbsbtype(h.cs, s.c_str(), 2), 2);
  EXPECT_EQ(ilx_mbsbtype(h.cs, s.c_str(), 3), 1);  // second character of the run
  EXPECT_EQ(ilx_mbsbtype(h.cs, s.c_str(), 4), 2);
  EXPECT_EQ(ilx_mbsbtype(h.cs, s.c_str(), 5), 1);  // closing code with "A"

  // Two strings walked side by side with one handle.
  EXPECT_EQ(ilx_stricmp(h.cs, nullptr, run({0xFF41, 0xFF42}).c_str(), run({0xFF21, 0xFF22}).c_str()), 0);
  EXPECT_EQ(ilx_stricmp(h.cs, nullptr, run({0xFF41, 0xFF42}).c_str(), run({0xFF21, 0xFF43}).c_str()), -1);
  uint16_t wc = 0;
  EXPECT_EQ(ilx_mbtowc(h.cs, &wc, "\xC1", 1), 1);  // the handle is back in single-byte state
  EXPECT_EQ(wc, 'A');

  std::string word = run({0xFF41, 0xFF42}) + "\x81";
  ilx_strupper(h.cs, nullptr, &word[0]);
  EXPECT_EQ(word, run({0xFF21, 0xFF22}) + "\xC1");

  // A bounded copy closes the run it cuts.
  const std::string two = run({0xFF41, 0xFF42});
  char dst[6];
  std::memset(dst, 'x', sizeof dst);
  ilx_strncpy(h.cs, dst, two.c_str(), 5);
  EXPECT_EQ(std::string(dst, 6), run({0xFF41}) + std::string(1, '\0') + "x");
}

}  // namespace
