// Every supplied table against the C library's iconv: each byte sequence
// iconv decodes to one character, and each character iconv encodes, must
// convert the same way through Lumex, to and from UCS-2 and UTF-8. The only
// differences allowed are the ones the built-in EBCDIC set imposes, listed
// per table below.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "iconv_oracle.h"
#include "lumex/ilx.h"

namespace {

enum class Family { kSingle, kEbcdicSingle, kDouble, kEbcdicDouble, kEuc, kGb18030 };

struct TableCase {
  const char *name;   // as given to ilx_cs_new
  const char *iconv;  // iconv's name for the same code set
  Family family;
  std::set<std::string> exceptions;  // "to XX.." byte sequences, "from U+XXXX"
};

// Built-in EBCDIC rules that differ from iconv: 0x15 reads as a line feed
// (iconv: U+0085) and a line feed is written as 0x15 (iconv: 0x25).
const std::set<std::string> kEbcdicNewline = {"to 15", "from U+000A"};
// Two-byte GB 18030 codes that iconv maps beyond the BMP: the table's
// 16-bit value lists cannot hold them, so they read as substitutions.
const std::set<std::string> kGbBeyondBmp = {"to FE51", "to FE52", "to FE53",
                                            "to FE6C", "to FE76", "to FE91"};

void PrintTo(const TableCase &tc, std::ostream *os) { *os << tc.name; }

std::string hex(const std::string &bytes) {
  static const char *digits = "0123456789ABCDEF";
  std::string s;
  for (unsigned char c : bytes) {
    s += digits[c >> 4];
    s += digits[c & 15];
  }
  return s;
}

std::string uplus(uint32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", cp);
  return buf;
}

class IconvCrossCheck : public ::testing::TestWithParam<TableCase> {
 protected:
  void SetUp() override {
    cs_ = ilx_cs_new(GetParam().name);
    ASSERT_NE(cs_, nullptr) << GetParam().name;
  }
  void TearDown() override { ilx_cs_free(cs_); }

  // Our reading of bytes that iconv decodes to cp.
  void checkTo(const std::string &bytes, uint32_t cp) {
    uint16_t u[4];
    char o[8];
    int n = ilx_to_ucs2(cs_, bytes.data(), static_cast<int>(bytes.size()), u, 4);
    int m = ilx_to_utf8(cs_, bytes.data(), static_cast<int>(bytes.size()), o, 8);
    int subs = ilx_check_subs(cs_);
    bool same = std::vector<uint16_t>(u, u + n) == ucs2Of(cp) && std::string(o, m) == utf8Of(cp) &&
                subs == 0;
    if (!same) mismatches_.insert("to " + hex(bytes));
  }
  // Our writing of cp, which iconv encodes as bytes.
  void checkFrom(uint32_t cp, const std::string &bytes) {
    std::vector<uint16_t> u = ucs2Of(cp);
    std::string utf8 = utf8Of(cp);
    char a[32], b[32];
    int n = ilx_from_ucs2(cs_, u.data(), static_cast<int>(u.size()), a, sizeof a);
    int m = ilx_from_utf8(cs_, utf8.data(), static_cast<int>(utf8.size()), b, sizeof b);
    int subs = ilx_check_subs(cs_);
    if (std::string(a, n) != bytes || std::string(b, m) != bytes || subs != 0)
      mismatches_.insert("from " + uplus(cp));
  }
  void decodeAll(IconvOracle &ic, const std::string &prefix, int lo, int hi) {
    for (int c = lo; c <= hi; ++c) {
      std::string seq = prefix + static_cast<char>(c);
      long cp = ic.decode(seq);
      if (cp >= 0) {
        checkTo(seq, static_cast<uint32_t>(cp));
        ++checked_;
      }
    }
  }

  CodeSetT cs_ = nullptr;
  std::set<std::string> mismatches_;
  size_t checked_ = 0;
};

TEST_P(IconvCrossCheck, MatchesIconvBothWays) {
  const TableCase &tc = GetParam();
  IconvOracle ic(tc.iconv);
  ASSERT_TRUE(ic.ok()) << tc.iconv;

  // Byte sequences to Unicode.
  decodeAll(ic, "", 0, 255);
  switch (tc.family) {
    case Family::kDouble:
      for (int lead = 0x80; lead <= 0xFF; ++lead) decodeAll(ic, std::string(1, char(lead)), 0x30, 0xFF);
      break;
    case Family::kEbcdicDouble:
      for (int lead = 0x40; lead <= 0xFE; ++lead)
        decodeAll(ic, std::string("\x0E") + char(lead), 0x40, 0xFE);
      break;
    case Family::kEuc:
      decodeAll(ic, "\x8E", 0xA1, 0xFE);
      for (int lead = 0xA1; lead <= 0xFE; ++lead) {
        decodeAll(ic, std::string(1, char(lead)), 0xA1, 0xFE);
        decodeAll(ic, std::string("\x8F") + char(lead), 0xA1, 0xFE);
      }
      break;
    case Family::kGb18030:
      for (int lead = 0x81; lead <= 0xFE; ++lead) decodeAll(ic, std::string(1, char(lead)), 0x40, 0xFE);
      for (int lead = 0x81; lead <= 0x84; ++lead)
        for (int b1 = 0x30; b1 <= 0x39; ++b1)
          for (int b2 = 0x81; b2 <= 0xFE; ++b2)
            decodeAll(ic, std::string{char(lead), char(b1), char(b2)}, 0x30, 0x39);
      for (int b2 = 0x81; b2 <= 0xFE; b2 += 7)  // a spread of characters beyond the BMP
        decodeAll(ic, std::string{'\x90', '\x30', char(b2)}, 0x30, 0x39);
      decodeAll(ic, "\xE3\x32\x9A", 0x30, 0x35);  // the last ones, up to U+10FFFF
      break;
    default:
      break;
  }

  // Unicode to bytes.
  for (uint32_t cp = 0; cp <= 0xFFFF; ++cp) {
    if (cp >= 0xD800 && cp < 0xE000) continue;
    std::string bytes = ic.encode(cp);
    if (!bytes.empty()) checkFrom(cp, bytes), ++checked_;
  }
  if (tc.family == Family::kGb18030)
    for (uint32_t cp = 0x10000; cp <= 0x10FFFF; cp += 0x1FF) checkFrom(cp, ic.encode(cp));

  EXPECT_GT(checked_, 200u);
  std::set<std::string> unexpected, missing;
  std::set_difference(mismatches_.begin(), mismatches_.end(), tc.exceptions.begin(),
                      tc.exceptions.end(), std::inserter(unexpected, unexpected.end()));
  std::set_difference(tc.exceptions.begin(), tc.exceptions.end(), mismatches_.begin(),
                      mismatches_.end(), std::inserter(missing, missing.end()));
  std::string u, m;
  for (const auto &s : unexpected) u += s + " ";
  for (const auto &s : missing) m += s + " ";
  EXPECT_TRUE(unexpected.empty()) << tc.name << " differs from iconv at: " << u;
  EXPECT_TRUE(missing.empty()) << tc.name << " listed exceptions that agree with iconv: " << m;
}

const TableCase kCases[] = {
    {"ANSI_X3.4-1968", "ANSI_X3.4-1968", Family::kSingle, {}},
    {"ISO-8859-1", "ISO-8859-1", Family::kSingle, {}},
    {"ISO-8859-2", "ISO-8859-2", Family::kSingle, {}},
    {"ISO-8859-5", "ISO-8859-5", Family::kSingle, {}},
    {"ISO-8859-7", "ISO-8859-7", Family::kSingle, {}},
    {"ISO-8859-9", "ISO-8859-9", Family::kSingle, {}},
    {"ISO-8859-15", "ISO-8859-15", Family::kSingle, {}},
    {"CP1250", "CP1250", Family::kSingle, {}},
    {"CP1251", "CP1251", Family::kSingle, {}},
    {"windows-1252", "CP1252", Family::kSingle, {}},
    {"CP437", "CP437", Family::kSingle, {}},
    {"CP850", "CP850", Family::kSingle, {}},
    {"KOI8-R", "KOI8-R", Family::kSingle, {}},
    {"IBM037", "IBM037", Family::kEbcdicSingle, kEbcdicNewline},
    {"IBM-1047", "IBM1047", Family::kEbcdicSingle, kEbcdicNewline},
    {"IBM500", "IBM500", Family::kEbcdicSingle, kEbcdicNewline},
    {"IBM273", "IBM273", Family::kEbcdicSingle, kEbcdicNewline},
    {"IBM1140", "IBM1140", Family::kEbcdicSingle, kEbcdicNewline},
    {"Shift_JIS", "CP932", Family::kDouble, {}},
    {"GBK", "GBK", Family::kDouble, {}},
    {"Big5", "BIG5", Family::kDouble, {}},
    {"CP949", "CP949", Family::kDouble, {}},
    {"EUC-JP", "EUC-JP", Family::kEuc, {}},
    {"EUC-KR", "EUC-KR", Family::kEuc, {}},
    {"IBM939", "IBM939", Family::kEbcdicDouble, kEbcdicNewline},
    {"IBM935", "IBM935", Family::kEbcdicDouble, kEbcdicNewline},
    {"IBM937", "IBM937", Family::kEbcdicDouble, kEbcdicNewline},
    {"IBM933", "IBM933", Family::kEbcdicDouble, kEbcdicNewline},
    {"GB18030", "GB18030", Family::kGb18030, kGbBeyondBmp},
};

INSTANTIATE_TEST_SUITE_P(Tables, IconvCrossCheck, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TableCase> &i) {
                           std::string n = i.param.iconv;
                           for (char &c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

// The built-in EBCDIC table is code page 1047 except for 0x15.
TEST(BuiltinEbcdic, IsCodePage1047ExceptNewline) {
  CodeSetT cs = ilx_cs_new("INTERNAL37");
  ASSERT_NE(cs, nullptr);
  ilx_cs_free(cs);
  IconvOracle ic("IBM1047");
  CodeSetT e = ilx_cs_new("IBM1047");
  ASSERT_NE(e, nullptr);
  for (int b = 0; b < 256; ++b) {
    uint16_t u = 0;
    char byte = static_cast<char>(b);
    ASSERT_EQ(ilx_to_ucs2(e, &byte, 1, &u, 1), 1);
    long want = b == 0x15 ? 0x0A : ic.decode(std::string(1, byte));
    EXPECT_EQ(u, want) << "byte " << b;
  }
  ilx_cs_free(e);
}

}  // namespace
