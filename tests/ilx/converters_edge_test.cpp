// The converters: every table and UTF-8 against iconv, character by character both ways; then
// cut-off and malformed input, broken surrogates, full output, substitution counts, shift codes,
// flushes, EBCDIC new lines; UTF-8 decoding against iconv on generated texts; conversion resumed
// in small windows against one call.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "iconv_oracle.h"
#include "lumex/ilx.h"

namespace {

template <class Unit>
std::string hex(const std::vector<Unit> &units) {
  std::string s;
  char h[8];
  for (Unit u : units) {
    std::snprintf(h, sizeof h, " %02X", static_cast<unsigned>(std::make_unsigned_t<Unit>(u)));
    s += h;
  }
  return s;
}

// Each byte sequence iconv decodes to one character, and each character it
// encodes, converts the same way here, to and from UCS-2 and UTF-8, with no
// substitution; the only differences allowed are listed per family.
enum Family { kSingle, kEbcdic, kDouble, kEbcdicDouble, kEuc, kGb18030 };

struct TableCase {
  const char *name;               // as given to ilx_cs_new
  const char *iconvAs = nullptr;  // iconv's name for the same code set, when it differs
  Family family = kSingle;
  const char *iconv() const { return iconvAs != nullptr ? iconvAs : name; }
};
void PrintTo(const TableCase &tc, std::ostream *os) { *os << tc.name; }

// The differences ("to XX.." byte sequences, "from U+XXXX"). EBCDIC
// new lines: 0x15 reads as a line feed (iconv: U+0085) and a line feed is
// written as 0x15 (iconv: 0x25). Two-byte GB 18030 codes that iconv maps beyond
// the BMP: the table's 16-bit value lists cannot hold them, so they read as
// substitutions.
std::string exceptions(Family f) {
  if (f == kEbcdic || f == kEbcdicDouble) return "to 15 from U+000A ";
  return f == kGb18030 ? "to FE 51 to FE 52 to FE 53 to FE 6C to FE 76 to FE 91 " : "";
}

struct Checker {
  CodeSetT cs;
  IconvOracle &ic;
  std::string mismatches;  // as found, each followed by a space
  size_t checked = 0;

  // Our reading of bytes that iconv decodes to one code point.
  void to(const std::string &bytes) {
    const long cp = ic.decode(bytes);
    if (cp < 0) return;
    ++checked;
    uint16_t u[4];
    char o[8];
    const int n = ilx_to_ucs2(cs, bytes.data(), static_cast<int>(bytes.size()), u, 4);
    const int m = ilx_to_utf8(cs, bytes.data(), static_cast<int>(bytes.size()), o, 8);
    const int subs = ilx_check_subs(cs);  // read each time: reading resets it
    if (std::vector<uint16_t>(u, u + n) != ucs2Of(cp) || std::string(o, m) != utf8Of(cp) || subs)
      mismatches += "to" + hex(std::vector<char>(bytes.begin(), bytes.end())) + " ";
  }
  void to(const std::string &prefix, int lo, int hi) {
    for (int c = lo; c <= hi; ++c) to(prefix + static_cast<char>(c));
  }
  // Our writing of cp, compared with iconv's bytes (none: not mappable).
  void from(uint32_t cp, bool evenIfUnmapped = false) {
    const std::string bytes = ic.encode(cp);
    if (bytes.empty() && !evenIfUnmapped) return;
    ++checked;
    const std::vector<uint16_t> u = ucs2Of(cp);
    const std::string utf8 = utf8Of(cp);
    char a[32], b[32], h[16];
    const int n = ilx_from_ucs2(cs, u.data(), static_cast<int>(u.size()), a, sizeof a);
    const int m = ilx_from_utf8(cs, utf8.data(), static_cast<int>(utf8.size()), b, sizeof b);
    const int subs = ilx_check_subs(cs);
    std::snprintf(h, sizeof h, "from U+%04X ", cp);
    if (std::string(a, n) != bytes || std::string(b, m) != bytes || subs != 0) mismatches += h;
  }
};

class IconvCrossCheck : public ::testing::TestWithParam<TableCase> {};

TEST_P(IconvCrossCheck, MatchesIconvBothWays) {
  const TableCase &tc = GetParam();
  IconvOracle ic(tc.iconv());
  ASSERT_TRUE(ic.ok()) << tc.iconv();
  Handle h(tc.name);
  ASSERT_NE(h.cs, nullptr) << tc.name;
  Checker k{h.cs, ic, {}, 0};
  k.to("", 0, 255);
  switch (tc.family) {
    case kDouble:
      for (int lead = 0x80; lead <= 0xFF; ++lead) k.to(std::string(1, char(lead)), 0x30, 0xFF);
      break;
    case kEbcdicDouble:
      for (int lead = 0x40; lead <= 0xFE; ++lead) k.to({'\x0E', char(lead)}, 0x40, 0xFE);
      break;
    case kEuc:
      k.to("\x8E", 0xA1, 0xFE);
      for (int lead = 0xA1; lead <= 0xFE; ++lead) {
        k.to(std::string(1, char(lead)), 0xA1, 0xFE);
        k.to(std::string("\x8F") + char(lead), 0xA1, 0xFE);
      }
      break;
    case kGb18030:
      for (int lead = 0x81; lead <= 0xFE; ++lead) k.to(std::string(1, char(lead)), 0x40, 0xFE);
      for (int lead = 0x81; lead <= 0x84; ++lead)
        for (int b1 = 0x30; b1 <= 0x39; ++b1)
          for (int b2 = 0x81; b2 <= 0xFE; ++b2) k.to({char(lead), char(b1), char(b2)}, 0x30, 0x39);
      for (int b2 = 0x81; b2 <= 0xFE; b2 += 7)  // a spread of characters beyond the BMP
        k.to({'\x90', '\x30', char(b2)}, 0x30, 0x39);
      k.to("\xE3\x32\x9A", 0x30, 0x35);  // the last ones, up to U+10FFFF
      for (uint32_t cp = 0x10000; cp <= 0x10FFFF; cp += 0x1FF) k.from(cp, true);
      break;
    default:
      break;
  }
  for (uint32_t cp = 0; cp <= 0xFFFF; ++cp)
    if (cp < 0xD800 || cp >= 0xE000) k.from(cp);
  EXPECT_GT(k.checked, 200u);
  EXPECT_EQ(k.mismatches, exceptions(tc.family)) << tc.name << " against iconv";
}

const TableCase kCases[] = {
    {"UTF-8"},  // its decoding: Utf8Decoding below
    {"ANSI_X3.4-1968"}, {"ISO-8859-1"}, {"ISO-8859-2"}, {"ISO-8859-5"}, {"ISO-8859-7"},
    {"ISO-8859-9"}, {"ISO-8859-15"}, {"CP1250"}, {"CP1251"}, {"windows-1252", "CP1252"},
    {"CP437"}, {"CP850"}, {"KOI8-R"}, {"IBM037", nullptr, kEbcdic},
    {"IBM-1047", "IBM1047", kEbcdic}, {"IBM500", nullptr, kEbcdic}, {"IBM273", nullptr, kEbcdic},
    {"IBM1140", nullptr, kEbcdic}, {"Shift_JIS", "CP932", kDouble}, {"GBK", nullptr, kDouble},
    {"Big5", "BIG5", kDouble}, {"CP949", nullptr, kDouble}, {"EUC-JP", nullptr, kEuc},
    {"EUC-KR", nullptr, kEuc}, {"IBM939", nullptr, kEbcdicDouble},
    {"IBM935", nullptr, kEbcdicDouble}, {"IBM937", nullptr, kEbcdicDouble},
    {"IBM933", nullptr, kEbcdicDouble}, {"GB18030", nullptr, kGb18030},
};

INSTANTIATE_TEST_SUITE_P(Tables, IconvCrossCheck, ::testing::ValuesIn(kCases),
                         [](const auto &i) { return paramName(i.param.iconv()); });

using U16 = std::vector<uint16_t>;
using ToConv = int (*)(CodeSetT, const char **, const char *, uint16_t **, uint16_t *);
using FromConv = int (*)(CodeSetT, const uint16_t **, const uint16_t *, char **, char *);

template <class Out>
std::string outcome(int result, long consumed, const std::vector<Out> &out, int subs) {
  return "result " + std::to_string(result) + ", used " + std::to_string(consumed) + ":" +
         hex(out) + ", subs " + std::to_string(subs);
}

// One call from the initial state.
template <class In, class Out, class Conv>
std::string call(Conv conv, CodeSetT cs, const std::vector<In> &in, size_t room) {
  conv(cs, nullptr, nullptr, nullptr, nullptr);
  ilx_check_subs(cs);
  std::vector<Out> buf(room + 1);
  const In *ip = in.data();
  Out *op = buf.data();
  const int r = conv(cs, &ip, in.data() + in.size(), &op, buf.data() + room);
  buf.resize(static_cast<size_t>(op - buf.data()));
  return outcome(r, ip - in.data(), buf, ilx_check_subs(cs));
}
std::vector<char> bytes(const std::string &s) { return {s.begin(), s.end()}; }
U16 units(const std::u16string &s) { return {s.begin(), s.end()}; }

TEST(Converters, ToUcs2CutOffRoomAndSubstitutions) {
  struct Row { const char *cs; ToConv conv; std::string in; size_t room; int result; long consumed;
               std::u16string out; int subs; };
  const Row rows[] = {
      {"UTF8", utf8_to_ucs2_r, "\xE2\x82", 4, ILX_CONV_CUT, 0, u"", 0},  // can become U+20AC
      {"UTF8", utf8_to_ucs2_r, "\xE0\x80", 4, ILX_CONV_DONE, 2, u"??", 2},  // overlong already
      {"UTF8", utf8_to_ucs2_r, "\xF4\x90", 4, ILX_CONV_DONE, 2, u"??", 2},  // above U+10FFFF
      {"UTF8", utf8_to_ucs2_r, "\xF0\x9F\x98\x80", 2, ILX_CONV_DONE, 4, u"\xD83D\xDE00", 0},
      {"UTF8", utf8_to_ucs2_r, "\xF0\x9F\x98\x80", 1, ILX_CONV_FULL, 0, u"", 0},  // both halves
      {"GB18030", ascii_gb18030_to_ucs2_r, "A\x81\x30\x81", 4, ILX_CONV_CUT, 1, u"A", 0},
      // Bytes that cannot continue a sequence are one substitution each and
      // do not swallow the ASCII that follows.
      {"GB18030", ascii_gb18030_to_ucs2_r, "\x81\x20x\x81\x3A\x81\x30yz", 9, ILX_CONV_DONE, 9,
       u"? x?:?0yz", 3},
      {"IBM939", ebcdic_dbcs_to_ucs2_r, "\xC1\x0E\x40\x40\x0F\xC2", 8, ILX_CONV_DONE, 6,
       u"A\x3000" u"B", 0},  // shift codes write nothing
      {"IBM939", ebcdic_dbcs_to_ucs2_r, "\x0E\x40", 8, ILX_CONV_CUT, 1, u"", 0},  // shift taken
      {"IBM037", ebcdic_sbcs_to_ucs2_r, "\x15\x25", 2, ILX_CONV_DONE, 2, u"\n\n", 0},  // new lines
      {"SJIS", ascii_dbcs_to_ucs2_r, "a\x82", 4, ILX_CONV_CUT, 1, u"a", 0},
      {"EUCJP", ascii_mbcs_to_ucs2_r, "\x8F\xB0", 4, ILX_CONV_CUT, 0, u"", 0},
      {"INTERNAL37", os_to_ucs2_r, "\xFF\x01", 4, ILX_CONV_DONE, 2, u"\xFF\x01", 0},
      // A converter called with a handle of another kind converts for that kind.
      {"latin1", ascii_mbcs_to_ucs2_r, "\xE9", 1, ILX_CONV_DONE, 1, u"\xE9", 0},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(std::string(r.cs) + " row " + std::to_string(&r - rows));
    Handle h(r.cs);
    ASSERT_NE(h.cs, nullptr);
    EXPECT_EQ((call<char, uint16_t>(r.conv, h.cs, bytes(r.in), r.room)),
              outcome(r.result, r.consumed, units(r.out), r.subs));
  }
}

TEST(Converters, FromUcs2SurrogatesRoomAndSubstitutions) {
  struct Row { const char *cs; FromConv conv; std::u16string in; size_t room; int result;
               long consumed; std::string out; int subs; };
  const Row rows[] = {
      {"UTF8", utf8_from_ucs2_r, u"\xD800" u"A", 8, ILX_CONV_DONE, 2, "?", 1},  // broken pair
      {"UTF8", utf8_from_ucs2_r, u"\xDC00", 8, ILX_CONV_DONE, 1, "?", 1},
      {"UTF8", utf8_from_ucs2_r, u"x\xD83D", 8, ILX_CONV_CUT, 1, "x", 0},
      {"UTF8", utf8_from_ucs2_r, u"\xD83D\xDE00", 3, ILX_CONV_FULL, 0, "", 0},
      {"UTF8", utf8_from_ucs2_r, u"\xD83D\xDE00", 4, ILX_CONV_DONE, 2, "\xF0\x9F\x98\x80", 0},
      {"INTERNAL37", os_from_ucs2_r, u"\x0100\xE9", 4, ILX_CONV_DONE, 2, "?\xE9", 1},
      {"GB18030", ascii_gb18030_from_ucs2_r, u"\xD800\xDC00", 3, ILX_CONV_FULL, 0, "", 0},
      // EBCDIC: a line feed is 0x15; what the code page lacks is its '?', not SUB.
      {"IBM037", ebcdic_sbcs_from_ucs2_r, u"\n", 2, ILX_CONV_DONE, 1, "\x15", 0},
      {"IBM037", ebcdic_sbcs_from_ucs2_r, u"\x20AC", 2, ILX_CONV_DONE, 1, "\x6F", 1},
      {"IBM939", ebcdic_dbcs_from_ucs2_r, u"\xE9", 2, ILX_CONV_DONE, 1, "\x6F", 1},
      {"SJIS", ascii_dbcs_from_ucs2_r, u"x\x3042", 2, ILX_CONV_FULL, 1, "x", 0},
      {"SJIS", ascii_dbcs_from_ucs2_r, u"\x0E01", 4, ILX_CONV_DONE, 1, "?", 1},  // Thai
      {"EUCJP", ascii_mbcs_from_ucs2_r, u"\x4E02", 2, ILX_CONV_FULL, 0, "", 0},  // three bytes
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(std::string(r.cs) + " row " + std::to_string(&r - rows));
    Handle h(r.cs);
    ASSERT_NE(h.cs, nullptr);
    EXPECT_EQ((call<uint16_t, char>(r.conv, h.cs, units(r.in), r.room)),
              outcome(r.result, r.consumed, bytes(r.out), r.subs));
  }
}

TEST(Converters, WholeStringFormsAndTheShiftInFlush) {
  Handle e("IBM939");
  ASSERT_NE(e.cs, nullptr);
  EXPECT_EQ((call<uint16_t, char>(ebcdic_dbcs_from_ucs2_r, e.cs, {0x3000}, 8)),
            outcome(ILX_CONV_DONE, 1, bytes("\x0E\x40\x40"), 0));
  char fb[4], *op = fb;
  EXPECT_EQ(ebcdic_dbcs_from_ucs2_r(e.cs, nullptr, nullptr, &op, fb), ILX_CONV_FULL);
  EXPECT_EQ(ebcdic_dbcs_from_ucs2_r(e.cs, nullptr, nullptr, &op, fb + 1), ILX_CONV_DONE);
  EXPECT_EQ(std::string(fb, op), "\x0F");
  // The whole-string form resets the to-shift state after each call.
  uint16_t u[2];
  EXPECT_EQ(ilx_to_ucs2(e.cs, "\x0E\x40\x40", 3, u, 2), 1);
  EXPECT_EQ(ilx_to_ucs2(e.cs, "\xC1", 1, u, 2), 1);
  EXPECT_EQ(u[0], 'A');
  Handle l1("ISO-8859-1");
  char out[16];
  // A length of -1: up to the NUL, which is written and counted.
  EXPECT_EQ(ilx_to_utf8(l1.cs, "abc", -1, out, 1), 1);
  EXPECT_EQ(out[0], '\0');
  EXPECT_EQ(ilx_to_utf8(l1.cs, "abc", -1, out, 0), 0);
  EXPECT_EQ(ilx_to_utf8(l1.cs, "\xE9t\xE9", -1, out, 16), 6);
  EXPECT_STREQ(out, "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(ilx_to_utf8(l1.cs, "a\xE9", 2, out, 2), 1);  // stops before the character
  int n = -1;
  char *a = ilx_tou_alloc(l1.cs, "\xE9\xE8", 2, &n);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(n, 4);
  EXPECT_STREQ(a, "\xC3\xA9\xC3\xA8");
  ilx_free(a);
  EXPECT_EQ(ilx_fromu_alloc(l1.cs, "x", -1, &n), nullptr);
  // Re-encoding UTF-8, and UTF-8 into a table code set, keep the well-formed
  // characters and substitute the rest.
  Handle utf8("UTF8");
  EXPECT_EQ(ilx_to_utf8(utf8.cs, "\xC3" "A\xC0\xAF", 4, out, 16), 4);
  EXPECT_EQ(std::string(out, 4), "?A??");
  EXPECT_EQ(ilx_from_utf8(l1.cs, "\xC3" "A\xC0\xAF", 4, out, 16), 4);
  EXPECT_EQ(std::string(out, 4), "?A??");
  EXPECT_EQ(ilx_check_subs(l1.cs), 3);
}

// UTF-8 decoding (one decoder, also ahead of every table converter) makes each
// bad byte one counted substitution and reads the next character whole: iconv
// with one '?' and one byte skipped wherever it stops on an invalid sequence.
// Deliberate difference: encoded surrogates (ED A0..BF xx) decode to their
// value here, where iconv rejects them.
U16 iconvDecode(const std::string &in, int *subs) {
  iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  U16 out(in.size() + 1);
  char *ip = const_cast<char *>(in.data()), *op = reinterpret_cast<char *>(out.data());
  size_t il = in.size(), ol = 2 * out.size();
  for (*subs = 0; iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1); ++ip, --il) {
    const auto b = [&](size_t i) { return static_cast<unsigned char>(ip[i]); };
    uint16_t &u = *reinterpret_cast<uint16_t *>(op);
    op += 2;
    ol -= 2;
    if (il > 2 && b(0) == 0xED && b(1) >= 0xA0 && b(1) <= 0xBF && (b(2) & 0xC0) == 0x80) {
      u = static_cast<uint16_t>(0xD000 | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F));
      ip += 2;
      il -= 2;
    } else {
      u = '?';
      ++*subs;
    }
  }
  iconv_close(cd);
  out.resize(static_cast<size_t>(reinterpret_cast<uint16_t *>(op) - out.data()));
  return out;
}

TEST(Utf8Decoding, AgreesWithIconvOnGeneratedTexts) {
  // Pieces that make texts close to UTF-8: characters of every length,
  // their prefixes, overlong and out-of-range forms, surrogates, any byte.
  std::mt19937 rng(2026);
  const uint32_t edges[] = {0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF};
  const auto any = [&](unsigned lo, unsigned n) { return static_cast<char>(lo + rng() % n); };
  const auto piece = [&]() -> std::string {
    const char c1 = any(0x80, 64), c2 = any(0x80, 64);
    switch (rng() % 8) {
      case 0: return utf8Of(rng() % 0x80);
      case 1: {
        const uint32_t cp = rng() % 2 ? 0x80 + rng() % (0x110000 - 0x80) : edges[rng() % 9];
        std::string s = utf8Of(cp >= 0xD800 && cp < 0xE000 ? 0x20AC : cp);
        if (rng() % 4 == 0) s.resize(1 + rng() % (s.size() - 1 + (s.size() == 1)));
        return s;
      }
      case 2: return {any(0xC0, 2), c1};  // overlong in two bytes
      case 3: return {'\xE0', any(0x80, 32), c1};  // in three
      case 4: return {'\xF0', any(0x80, 16), c1, c2};  // in four
      case 5: return {any(0xF4, 4), any(0x90, 48), c1, c2};  // beyond U+10FFFF
      case 6: return {'\xED', c1, '\x80'};
      default: return std::string(1, any(0x80, 128));
    }
  };
  Handle utf8("UTF8");
  for (int text = 0; text < 3000; ++text) {
    std::string in;
    for (int n = 1 + rng() % 8; n > 0; --n) in += piece();
    in += 'z';  // never cut off at the end
    int subs = -1;
    const U16 units = iconvDecode(in, &subs);
    ASSERT_EQ((call<char, uint16_t>(utf8_to_ucs2_r, utf8.cs, bytes(in), in.size() * 2 + 2)),
              outcome(ILX_CONV_DONE, static_cast<long>(in.size()), units, subs))
        << "text #" << text;
  }
}

// The outcome of running a dispatcher over `in` with input and output windows
// of `w` units (0: one call over everything); a window grows only when a
// character cannot be finished in it. From-Unicode conversions end with flushes.
template <class In, class Out>
std::string windowed(int (*conv)(CodeSetT, const In **, size_t *, Out **, size_t *), CodeSetT cs,
                     const std::vector<In> &in, size_t w, bool flush) {
  conv(cs, nullptr, nullptr, nullptr, nullptr);  // initial shift state
  ilx_check_subs(cs);
  const size_t inStep = w ? w : in.size(), outStep = w ? w : 8 * in.size() + 8;
  std::vector<Out> out;
  size_t done = 0, inWin = inStep, outWin = outStep;
  for (int guard = 0; guard < 100000 && done < in.size(); ++guard) {
    const size_t avail = std::min(in.size() - done, inWin);
    std::vector<Out> buf(outWin);
    const In *start = in.data() + done, *ip = start;
    Out *op = buf.data();
    size_t il = avail, ol = outWin;
    const int r = conv(cs, &ip, &il, &op, &ol);
    const size_t used = static_cast<size_t>(ip - start);
    EXPECT_EQ(avail - il, used);  // the counts left move with the pointers
    EXPECT_EQ(outWin - ol, static_cast<size_t>(op - buf.data()));
    out.insert(out.end(), buf.data(), op);
    done += used;
    if (r == ILX_CONV_CUT) {
      if (done + (avail - used) >= in.size()) break;  // the text itself ends there
      inWin = avail - used + inStep;
    } else if (r == ILX_CONV_FULL && op == buf.data()) {
      outWin += w ? w : 8;
    } else {
      inWin = inStep;
      outWin = outStep;
    }
  }
  for (size_t room = w ? w : 8; flush; ++room) {
    std::vector<Out> buf(room);
    Out *op = buf.data();
    size_t ol = room;
    const int r = conv(cs, nullptr, nullptr, &op, &ol);
    EXPECT_EQ(room - ol, static_cast<size_t>(op - buf.data()));
    out.insert(out.end(), buf.data(), op);
    if (r == ILX_CONV_DONE) break;
  }
  return outcome(0, static_cast<long>(done), out, ilx_check_subs(cs));
}

class Resumable : public ::testing::TestWithParam<const char *> {};

TEST_P(Resumable, WindowsGiveTheSameResultAsOneCall) {
  // Characters of one to four UTF-8 bytes, shift-worthy runs of CJK
  // characters and a few characters most code sets lack.
  const std::string sample =
      "Gr\xC3\xBC\xC3\x9F" "e, \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E A\xE3\x81\x82\xEF\xBD\xB1"
      " \xE2\x82\xAC \xE4\xB8\x82\xF0\x9F\x98\x80 \xD0\x96\xCE\xA9\n\xE3\x80\x80z";
  Handle h(GetParam());
  const CodeSetT cs = h.cs;
  ASSERT_NE(cs, nullptr) << GetParam();
  // The sample in the code set with malformed bytes in it; in UTF-8 with a
  // stray byte and a cut-off end; in UCS-2 with a lone low surrogate and a
  // high one at the end.
  std::vector<char> text(4 * sample.size() + 8);
  text.resize(static_cast<size_t>(ilx_from_utf8(cs, sample.data(), static_cast<int>(sample.size()),
                                                text.data(), static_cast<int>(text.size()))));
  text.insert(text.begin() + static_cast<long>(text.size() / 2), {'\x80', '\xFF'});
  text.push_back('\xFF');
  const std::vector<char> utf8 = bytes(sample + "\x80 \xE2\x82");
  U16 ucs2(64);
  ucs2.resize(static_cast<size_t>(ilx_to_ucs2(ilx_cs_new("UTF8"), sample.data(),
                                              static_cast<int>(sample.size()), ucs2.data(), 64)));
  ucs2.insert(ucs2.begin() + 3, 0xDC00);
  ucs2.push_back(0xD800);
  const auto all = [&](size_t w) {
    return std::vector<std::string>{
        windowed(ilx_to_ucs2_r, cs, text, w, false), windowed(ilx_to_utf8_r, cs, text, w, false),
        windowed(ilx_from_ucs2_r, cs, ucs2, w, true), windowed(ilx_from_utf8_r, cs, utf8, w, true)};
  };
  const std::vector<std::string> whole = all(0);
  for (const std::string &o : whole) EXPECT_GT(o.size(), 60u) << o;  // over 10 units made
  for (size_t w = 1; w <= 8; ++w) EXPECT_EQ(all(w), whole) << "window " << w;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Resumable,
                         ::testing::Values("UTF-8", "INTERNAL37", "ISO-8859-1", "IBM1047", "CP932",
                                           "EUC-JP", "IBM939", "GB18030"),
                         [](const auto &i) { return paramName(i.param); });

}  // namespace
