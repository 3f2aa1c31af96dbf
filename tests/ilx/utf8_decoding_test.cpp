// UTF-8 input that is not well-formed: each bad lead byte is one counted
// substitution and the next character is read whole, in every converter that
// decodes UTF-8; checked by hand on typical attacks and against the C
// library's iconv on generated texts.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "iconv_oracle.h"
#include "lumex/ilx.h"

namespace {

using U16 = std::vector<uint16_t>;

// The whole text through utf8_to_ucs2_r; the substitutions counted.
U16 decode(const std::string &in, int *subs = nullptr, int *result = nullptr) {
  CodeSetT u = ilx_cs_new("UTF8");
  ilx_check_subs(u);
  U16 buf(in.size() * 2 + 2);
  const char *ip = in.data();
  uint16_t *op = buf.data();
  const int r = utf8_to_ucs2_r(u, &ip, in.data() + in.size(), &op, buf.data() + buf.size());
  if (subs) *subs = ilx_check_subs(u);
  if (result) *result = r;
  return U16(buf.data(), op);
}

std::string through(CodeSetT cs, const std::string &in) {
  std::string out(in.size() * 4 + 4, '\0');
  const int n = ilx_from_utf8(cs, in.data(), static_cast<int>(in.size()), &out[0],
                              static_cast<int>(out.size()));
  out.resize(n < 0 ? 0 : static_cast<size_t>(n));
  return out;
}

TEST(Utf8Decoding, MalformedSequencesLoseNothingAndSmuggleNothing) {
  struct Row {
    const char *what;
    std::string in;
    U16 units;
    int subs;
  };
  const Row rows[] = {
      {"lead without continuation", "\xC3" "AB", {'?', 'A', 'B'}, 1},
      {"three-byte lead, then ASCII", "\xE2\x82" "A", {'?', '?', 'A'}, 2},
      {"overlong slash", "\xC0\xAF", {'?', '?'}, 2},
      {"overlong NUL", std::string("\xC0\x80x", 3), {'?', '?', 'x'}, 2},
      {"overlong three-byte", "\xE0\x80\xAF", {'?', '?', '?'}, 3},
      {"overlong euro", "\xF0\x82\x82\xAC", {'?', '?', '?', '?'}, 4},
      {"above U+10FFFF", "\xF4\x90\x80\x80", {'?', '?', '?', '?'}, 4},
      {"F5 lead", "\xF5\x80\x80\x80", {'?', '?', '?', '?'}, 4},
      {"stray continuation", "\x80" "a", {'?', 'a'}, 1},
      {"well-formed", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF",
       {'a', 0xE9, 0x20AC, 0xD83D, 0xDE00, 0xDBFF, 0xDFFF}, 0},
      {"shortest forms at the edges", "\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80",
       {0x80, 0x800, 0xD800, 0xDC00}, 0},
      {"encoded surrogate kept", "\xED\xA0\x80", {0xD800}, 0},
  };
  CodeSetT latin1 = ilx_cs_new("ISO8859-1");
  ASSERT_NE(latin1, nullptr);
  for (const Row &r : rows) {
    int subs = -1;
    EXPECT_EQ(decode(r.in, &subs), r.units) << r.what;
    EXPECT_EQ(subs, r.subs) << r.what;
    // The same decoding ahead of a table converter: one byte a unit here
    // (every unit of these rows that is not Latin-1 is a '?' there too).
    std::string expect;
    for (size_t i = 0; i < r.units.size(); ++i) {
      const uint16_t u = r.units[i];
      if (u >= 0xD800 && u < 0xDC00 && i + 1 < r.units.size()) ++i;  // one character
      expect += u < 0x100 ? static_cast<char>(u) : '?';
    }
    if (r.in != "\xED\xA0\x80") {
      EXPECT_EQ(through(latin1, r.in), expect) << r.what;
    }
  }
  ilx_cs_free(latin1);
  // Re-encoding UTF-8 keeps the well-formed characters and substitutes the rest.
  char out[16];
  EXPECT_EQ(ilx_to_utf8(ilx_cs_new("UTF8"), "\xC3" "A\xC0\xAF", 4, out, 16), 4);
  EXPECT_EQ(std::string(out, 4), "?A??");
}

TEST(Utf8Decoding, CutOffSequencesWaitOnlyWhileTheyCanStillBeValid) {
  struct Row {
    std::string in;
    int result;
    U16 units;
  };
  const Row rows[] = {
      {"\xE2\x82", ILX_CONV_CUT, {}},           // can become U+20AC
      {"\xF0\x9F\x98", ILX_CONV_CUT, {}},       // can become U+1F600
      {"\xE0\x80", ILX_CONV_DONE, {'?', '?'}},  // overlong already: no wait
      {"\xF4\x90", ILX_CONV_DONE, {'?', '?'}},  // above U+10FFFF already
      {"\xC3", ILX_CONV_CUT, {}},
  };
  for (const Row &r : rows) {
    int result = -1;
    EXPECT_EQ(decode(r.in, nullptr, &result), r.units);
    EXPECT_EQ(result, r.result);
  }
}

// The C library's decoding with the same rule for bad input: at each byte
// where iconv stops on an invalid sequence, one '?' and one byte skipped.
// Deliberate difference: encoded surrogates (ED A0..BF xx) decode to their
// value here, where iconv rejects them.
U16 iconvDecode(const std::string &in) {
  iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  U16 out;
  size_t at = 0;
  while (at < in.size()) {
    char *ip = const_cast<char *>(in.data()) + at;
    size_t il = in.size() - at;
    uint16_t buf[1024];
    char *op = reinterpret_cast<char *>(buf);
    size_t ol = sizeof buf;
    const size_t r = iconv(cd, &ip, &il, &op, &ol);
    out.insert(out.end(), buf, reinterpret_cast<uint16_t *>(op));
    at = in.size() - il;
    if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
    const auto b = [&](size_t i) { return static_cast<unsigned char>(in[at + i]); };
    if (at + 2 < in.size() && b(0) == 0xED && b(1) >= 0xA0 && b(1) <= 0xBF &&
        (b(2) & 0xC0) == 0x80) {
      out.push_back(static_cast<uint16_t>(0xD000 | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F)));
      at += 3;
      continue;
    }
    out.push_back('?');
    ++at;
  }
  iconv_close(cd);
  return out;
}

TEST(Utf8Decoding, AgreesWithIconvOnGeneratedTexts) {
  // Pieces that make texts close to UTF-8: characters of every length,
  // their prefixes, overlong and out-of-range forms, surrogates, any byte.
  std::mt19937 rng(2026);
  const auto piece = [&]() -> std::string {
    const uint32_t edges[] = {0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF};
    switch (rng() % 6) {
      case 0: return utf8Of(rng() % 0x80);
      case 1: {
        uint32_t cp = edges[rng() % 9];
        if (rng() % 2) cp = 0x80 + rng() % (0x110000 - 0x80);
        if (cp >= 0xD800 && cp < 0xE000) cp = 0x20AC;
        std::string s = utf8Of(cp);
        if (rng() % 4 == 0) s.resize(1 + rng() % (s.size() - 1 + (s.size() == 1)));
        return s;
      }
      case 2: {  // overlong or too large, by a wider encoding than needed
        const uint32_t cp = rng() % 2 ? rng() % 0x800 : 0x110000 + rng() % 0x100000;
        std::string s(1, static_cast<char>(cp < 0x800 ? 0xE0 : 0xF4 + rng() % 4));
        if (cp < 0x800) {
          s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        } else {
          s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
          s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        }
        s += static_cast<char>(0x80 | (cp & 0x3F));
        return s;
      }
      case 3: return std::string(1, static_cast<char>(0xC0 + rng() % 2)) + static_cast<char>(0x80 + rng() % 64);
      case 4: return "\xED" + std::string(1, static_cast<char>(0x80 + rng() % 64)) + "\x80";
      default: return std::string(1, static_cast<char>(0x80 + rng() % 128));
    }
  };
  for (int text = 0; text < 3000; ++text) {
    std::string in;
    for (int n = 1 + rng() % 8; n > 0; --n) in += piece();
    in += 'z';  // never cut off at the end
    ASSERT_EQ(decode(in), iconvDecode(in)) << "text #" << text;
  }
}

}  // namespace
