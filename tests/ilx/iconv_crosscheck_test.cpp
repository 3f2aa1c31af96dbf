// Every supplied table, and UTF-8, against the C library's iconv: each byte
// sequence iconv decodes to one character, and each character iconv encodes,
// must convert the same way through Lumex, to and from UCS-2 and UTF-8, with
// no substitution. The only differences allowed are listed per family below.
#include <gtest/gtest.h>

#include "iconv_oracle.h"
#include "lumex/ilx.h"

namespace {

enum Family { kSingle, kEbcdic, kDouble, kEbcdicDouble, kEuc, kGb18030 };

struct TableCase {
  const char *name;               // as given to ilx_cs_new
  const char *iconvAs = nullptr;  // iconv's name for the same code set, when it differs
  Family family = kSingle;
  const char *iconv() const { return iconvAs != nullptr ? iconvAs : name; }
};
void PrintTo(const TableCase &tc, std::ostream *os) { *os << tc.name; }

// The differences from iconv ("to XX.." byte sequences, "from U+XXXX"). EBCDIC
// new lines: 0x15 reads as a line feed (iconv: U+0085) and a line feed is
// written as 0x15 (iconv: 0x25). Two-byte GB 18030 codes that iconv maps beyond
// the BMP: the table's 16-bit value lists cannot hold them, so they read as
// substitutions.
std::string exceptions(Family f) {
  if (f == kEbcdic || f == kEbcdicDouble) return "to 15 from U+000A ";
  return f == kGb18030 ? "to FE51 to FE52 to FE53 to FE6C to FE76 to FE91 " : "";
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
    char o[8], h[4];
    const int n = ilx_to_ucs2(cs, bytes.data(), static_cast<int>(bytes.size()), u, 4);
    const int m = ilx_to_utf8(cs, bytes.data(), static_cast<int>(bytes.size()), o, 8);
    const int subs = ilx_check_subs(cs);  // read each time: reading resets it
    if (std::vector<uint16_t>(u, u + n) == ucs2Of(cp) && std::string(o, m) == utf8Of(cp) && !subs)
      return;
    mismatches += "to ";
    for (unsigned char c : bytes) {
      std::snprintf(h, sizeof h, "%02X", c);
      mismatches += h;
    }
    mismatches += ' ';
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
    char a[32], b[32];
    const int n = ilx_from_ucs2(cs, u.data(), static_cast<int>(u.size()), a, sizeof a);
    const int m = ilx_from_utf8(cs, utf8.data(), static_cast<int>(utf8.size()), b, sizeof b);
    const int subs = ilx_check_subs(cs);
    char h[16];
    std::snprintf(h, sizeof h, "from U+%04X ", cp);
    if (std::string(a, n) != bytes || std::string(b, m) != bytes || subs != 0) mismatches += h;
  }
};

class IconvCrossCheck : public ::testing::TestWithParam<TableCase> {};

TEST_P(IconvCrossCheck, MatchesIconvBothWays) {
  const TableCase &tc = GetParam();
  IconvOracle ic(tc.iconv());
  ASSERT_TRUE(ic.ok()) << tc.iconv();
  CodeSetT cs = ilx_cs_new(tc.name);
  ASSERT_NE(cs, nullptr) << tc.name;
  Checker k{cs, ic, {}, 0};

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
  ilx_cs_free(cs);

  EXPECT_GT(k.checked, 200u);
  EXPECT_EQ(k.mismatches, exceptions(tc.family)) << tc.name << " against iconv";
}

const TableCase kCases[] = {
    {"UTF-8"},  // its decoding: Utf8Decoding in converters_edge
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

}  // namespace
