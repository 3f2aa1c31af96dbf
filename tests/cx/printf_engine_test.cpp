// The printf engine's own rules: what the differential test against
// snprintf does not reach (argument numbers, parse failures, the %n refusal,
// the size bound, caller-filled slots, locale grouping, digit generation).
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cx/cx_intl.h"
#include "cx/printf_engine.h"
#include "lumex/cx.h"

namespace {

// Formats into a fresh buffer; "<fail>" when nothing was appended and the
// buffer stayed untouched.
template <class... A>
std::string fmt(const char *format, A... args) {
  CxStringBuff b{};
  const int32_t n = CxStringBuffPrintf(nullptr, &b, format, args...);
  std::string out = b.data != nullptr ? std::string(b.data, b.length) : "<fail>";
  EXPECT_EQ(static_cast<uint32_t>(n), b.length) << format;
  CxStringBuffDiscard(&b);
  return out;
}

struct Row {
  std::string got;
  const char *want;
};

}  // namespace

TEST(PrintfEngine, RulesBeyondTheCLibrary) {
  const Row rows[] = {
      {fmt("%2$s %1$s", "a", "b"), "b a"},
      {fmt("%1$s %1$s", "a"), "a a"},
      {fmt("%2$d-%d-%d", 7, 8), "8-7-8"},  // sequential indexes ignore positions
      {fmt("%1$*2$d|", 42, 5), "   42|"},
      {fmt("%3$.*1$f|%2$*1$s", 2, "x", 3.14159), "3.14| x"},
      // Argument numbers that no conversion uses, too large numbers, bad
      // conversions: nothing at all is appended.
      {fmt("%3$d", 1, 2, 3), "<fail>"},
      {fmt("x%1$d%3$d", 1, 2, 3), "<fail>"},
      {fmt("%0$d", 1), "<fail>"},
      {fmt("%99999$d", 1), "<fail>"},
      {fmt("%99999999999d", 1), "<fail>"},  // width beyond 32 bits
      {fmt("%%|%5%"), "<fail>"},             // "%5%" is no conversion
      {fmt("abc%"), "<fail>"},
      {fmt("%y"), "<fail>"},
      {fmt(""), "<fail>"},
      {fmt("100%%"), "100%"},
      {fmt("%I64u %qd", 18446744073709551615ULL, -5LL), "18446744073709551615 -5"},
      {fmt("%hd %hhu", 70000, 300), "70000 300"},  // h and hh do not narrow
      {fmt("%.05d|%.0d|%.0f", 3, 0, 2.5), "00003||3"},  // written precisions may start with 0
      {fmt("%p", reinterpret_cast<void *>(0xdeadbeefcafeULL)), "deadbeefcafe"},
      {fmt("%#p", reinterpret_cast<void *>(0x80000000ULL)), "0x80000000"},
      {fmt("[%s][%05s]", static_cast<const char *>(nullptr), "ab"), "[][   ab]"},
      {fmt("%.2f", 2.675), "2.68"},  // its 16-digit form 2.675000000000000 rounds up
      {fmt("%.20f", 0.1), "0.10000000000000000000"},  // past 16 digits: zeros
      {fmt("%f", 1e22), "10000000000000000000000.000000"},
      {fmt("%.2Lf", 2.5L), "2.50"},
      // Each conversion prints the value of a shared slot by its own rule,
      // an int at 32 bits.
      {fmt("%1$d (0x%1$x)", -2), "-2 (0xfffffffe)"},
      {fmt("%1$u %1$o %1$X %1$i", -42), "4294967254 37777777726 FFFFFFD6 -42"},
  };
  for (const Row &r : rows) EXPECT_EQ(r.got, r.want);
}

TEST(PrintfEngine, FailuresDuringOutputKeepWhatWasWritten) {
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
  int n = 0;
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "ab%d%ncd", 12, &n), 4);
  EXPECT_STREQ(b.data, ">ab12");
  EXPECT_EQ(n, 0);  // %n never writes
  // A parse error anywhere in the format appends nothing, also after a
  // failed conversion and past the inline slot storage.
  ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "ab%d %s%y", 1, "x"), 0);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "ab%n %y", &n), 0);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%y", 1, 2, 3, 4,
                               5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20),
            0);
  EXPECT_STREQ(b.data, ">ab12>");
  // Argument numbers after sequential conversions: the same slots.
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "%s %d %1$s %2$x", "a", 255), 10);
  EXPECT_STREQ(b.data, ">ab12>a 255 a ff");
  CxStringBuffDiscard(&b);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, nullptr, "x"), 0);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, nullptr), 0);
}

TEST(PrintfEngine, ParsingRecordsSegmentsAndSlotTypes) {
  CxPrintfSegList segs{};
  CxPrintfArgList args{};
  ASSERT_EQ(CxPrintfProcessFmts("id=%-*.*lld%%%2$hhu %c%ls%p%Lg%zd%tx%hn%S", &segs, &args), 0);
  ASSERT_EQ(segs.count, 13);
  EXPECT_EQ(segs.segs[0].kind, CX_PRINTF_LITERAL);
  EXPECT_EQ(std::string(segs.segs[0].first, segs.segs[0].last + 1), "id=");
  const CxPrintfSeg &c = segs.segs[1];
  EXPECT_EQ(c.kind, CX_PRINTF_CONVERSION);
  EXPECT_EQ(c.flags, static_cast<uint32_t>(CX_PRINTF_LEFT));
  EXPECT_EQ(c.widthArg, 0);
  EXPECT_EQ(c.precisionArg, 1);
  EXPECT_EQ(c.argIndex, 2);
  EXPECT_EQ(c.length, CX_PRINTF_LEN_LL);
  EXPECT_EQ(c.conversion, 'd');
  EXPECT_EQ(std::string(segs.segs[2].first, segs.segs[2].last + 1), "%");
  EXPECT_EQ(segs.segs[3].argIndex, 1);
  EXPECT_EQ(segs.positional, 1);
  const unsigned char expected[] = {10, 41, 13, 10, 71, 50, 31, 80, 90, 61, 71};
  ASSERT_EQ(args.count, static_cast<int32_t>(sizeof expected));
  for (int i = 0; i < args.count; ++i) EXPECT_EQ(args.args[i].type, expected[i]) << i;
  EXPECT_EQ(segs.nextIndex, 11);
  cx::printfDiscard(&segs, &args);
  EXPECT_EQ(segs.segs, nullptr);
  EXPECT_EQ(args.args, nullptr);

  EXPECT_EQ(CxPrintfProcessFmts("ok %Q", &segs, &args), 1);
  cx::printfDiscard(&segs, &args);
  EXPECT_EQ(CxPrintfProcessFmts(nullptr, &segs, &args), 1);
}

TEST(PrintfEngine, CallerFilledSlots) {
  // Slots filled by the caller, as from a typed parameter list: emission
  // reads only the values, whatever the slot types say.
  CxPrintfSegList segs{};
  CxPrintfArgList args{};
  ASSERT_EQ(CxPrintfProcessFmts("Object '%1$s' has %2$d items (%3$.1f%%) %2$x", &segs, &args), 0);
  ASSERT_EQ(args.count, 3);
  args.args[0].type = CX_PRINTF_ARG_STRING;
  args.args[0].value.p = "log";
  args.args[1].type = CX_PRINTF_ARG_INT;
  args.args[1].value.i = -1;
  args.args[2].type = CX_PRINTF_ARG_DOUBLE;
  args.args[2].value.d = 99.95;
  CxStringBuff b{};
  int failed = -1;
  const int32_t n = cxPrintfEmitAll(nullptr, &b, &segs, &args, &failed);
  EXPECT_EQ(failed, 0);
  EXPECT_STREQ(b.data, "Object 'log' has -1 items (100.0%) ffffffff");  // int: 32 bits
  EXPECT_EQ(static_cast<uint32_t>(n), b.length);
  // A slot list shorter than the format needs fails at that conversion.
  args.count = 1;
  CxStringBuffRestart(&b);
  EXPECT_EQ(cxPrintfEmitAll(nullptr, &b, &segs, &args, &failed), 17);
  EXPECT_EQ(failed, 1);
  EXPECT_STREQ(b.data, "Object 'log' has ");
  args.count = 3;
  // A number in a slot that the format reads as a string fails there
  // rather than being followed as a pointer.
  args.args[0].type = CX_PRINTF_ARG_INT;
  args.args[0].value.i = 12345;
  CxStringBuffRestart(&b);
  EXPECT_EQ(cxPrintfEmitAll(nullptr, &b, &segs, &args, &failed), 8);
  EXPECT_EQ(failed, 1);
  EXPECT_STREQ(b.data, "Object '");
  CxStringBuffDiscard(&b);
  cx::printfDiscard(&segs, &args);
}

TEST(PrintfEngine, LongFormatsLeaveTheInlineStorage) {
  std::string format, expect;
  for (int i = 0; i < 40; ++i) {
    format += "<%" + std::to_string(40 - i) + "$d>";
    expect += "<" + std::to_string(40 - i) + ">";
  }
  CxStringBuff b{};
  const int32_t n = CxStringBuffPrintf(
      nullptr, &b, format.c_str(), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
      19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40);
  EXPECT_EQ(static_cast<size_t>(n), expect.size());
  EXPECT_EQ(std::string(b.data, b.length), expect);
  CxStringBuffDiscard(&b);
}

namespace {

// Builds a locale from the system's locale sources into a scratch folder and
// switches LC_NUMERIC to it for one test.
class LocaleNumbers : public ::testing::Test {
 protected:
  void use(const char *source, const char *name) {
    const std::string dir = std::string(LUMEX_BINARY_DIR) + "/test-locales";
    const std::string cmd = "mkdir -p " + dir + " && localedef -i " + source +
                            " -f UTF-8 " + dir + "/" + name + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()) & 0xFF00, 0) << cmd;  // warnings exit with 1
    setenv("LOCPATH", dir.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_NUMERIC, name), nullptr) << name;
  }
  void TearDown() override {
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
  }
};

}  // namespace

TEST_F(LocaleNumbers, GroupingAndDecimalPointFollowTheLocale) {
  EXPECT_EQ(fmt("%'d", 1234567), "1234567");  // the C locale has no separator
  use("en_US", "en_US.UTF-8");
  EXPECT_EQ(fmt("%'d|%'u|%'d|%'x", 1234567, 1000u, -999, 0x123456), "1,234,567|1,000|-999|123456");
  EXPECT_EQ(fmt("%'lld|%'012d|%-'10d|", 1234567890123LL, 1234567, 12345),
            "1,234,567,890,123|0001,234,567|12,345    |");
  EXPECT_EQ(fmt("%'.2f|%'g|%'e|%'.0f", 1234567.891, 1234567.0, 1234.5, 1e20),
            "1,234,567.89|1.23457e+06|1.234500e+03|100,000,000,000,000,000,000");
  EXPECT_EQ(fmt("%'10.1f|", 1234.56), "   1,234.6|");
  use("de_DE", "de_DE.UTF-8");
  EXPECT_EQ(fmt("%.2f|%'.1f|%g|%#.0e", 3.25, 1234567.25, 0.5, 1.0), "3,25|1.234.567,3|0,5|1,e+00");
}

TEST(PrintfGrouping, SizesRepeatAndStop) {
  ilx::fmt::Grouping g;
  g.sep = ",";
  g.sepLen = 1;
  uint16_t sizes[32];
  auto split = [&](const char *rule, size_t n) {
    g.sizes = rule;
    const size_t count = ilx::fmt::groupDigits(n, g, sizes);
    std::string out;
    for (size_t i = 0; i < count; ++i) out += (i ? "," : "") + std::to_string(sizes[i]);
    return out;
  };
  EXPECT_EQ(split("\3", 7), "1,3,3");
  EXPECT_EQ(split("\3\2", 9), "2,2,2,3");  // Indian style: 3 then 2s
  EXPECT_EQ(split("\3\177", 9), "6,3");    // CHAR_MAX ends grouping
  EXPECT_EQ(split("\3", 3), "3");
  EXPECT_EQ(split("\4", 2), "2");
}

TEST(PrintfDigits, ExactIntegerRouteMatchesCorrectRounding) {
  // Decimal digits are computed with integer arithmetic for common
  // magnitudes; they must equal the correctly rounded digits of the C
  // library (%.*e) for every count of digits.
  std::mt19937_64 rng(4242);
  std::vector<double> values = {1.0,  9.5,   0.5,  2.675, 1e15, 9999999999999999.0, 0.1,
                                1e-6, 5e-324, 1e300, 123456789012345678.0, 0.95, 9.95,
                                999999.5, 1234567890123456.5, 4503599627370497.5};
  for (int i = 0; i < 20000; ++i) {
    const double mant = static_cast<double>(rng() >> 11) / 9007199254740992.0;  // [0, 1)
    const int exp10 = static_cast<int>(rng() % 60) - 30;
    values.push_back(mant * std::pow(10.0, exp10));
    uint64_t bits = rng();
    double any;
    std::memcpy(&any, &bits, sizeof any);
    if (std::isfinite(any)) values.push_back(std::fabs(any));
  }
  for (double v : values) {
    if (v == 0) continue;
    for (int n = 1; n <= 16; ++n) {
      char digits[17] = {};
      const int decpt = ilx::fmt::decimalDigits(v, n, digits);
      char expect[64];
      std::snprintf(expect, sizeof expect, "%.*e", n - 1, v);
      std::string d = std::string(1, expect[0]) + (n > 1 ? std::string(expect + 2, n - 1) : "");
      ASSERT_EQ(std::string(digits, n), d) << expect << " n=" << n;
      ASSERT_EQ(decpt, std::atoi(std::strchr(expect, 'e') + 1) + 1) << expect;
    }
  }
}

TEST(PrintfEngine, ResultsBeyondTheBoundFailInsteadOfAllocating) {
  // The first format was once an out-of-memory under the fuzzer.
  for (const char *f : {"c|%.1569838682A0:000001f|%g", "%.16777217f", "%999999999f", "%*f",
                        "%.*e", "%-*f"}) {
    CxStringBuff b{};
    ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
    const int star = f[1] == '*' ? INT_MAX : f[1] == '.' ? 20000000 : -20000000;
    if (std::strchr(f, '*') != nullptr) {
      CxStringBuffPrintf(nullptr, &b, f, star, 1.0);
    } else {
      CxStringBuffPrintf(nullptr, &b, f, 1.0, 2.0);
    }
    EXPECT_LT(b.length, 64u) << f;
    CxStringBuffDiscard(&b);
  }
  CxStringBuff b{};
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "%16777215d", 7), 16777215);  // at the bound
  CxStringBuffDiscard(&b);
  // A precision lets a wide array go without its terminator.
  auto *one = static_cast<uint16_t *>(std::malloc(sizeof(uint16_t)));
  one[0] = 'w';
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "%.1ls|%.0ls|", one, one + 1), 3);
  EXPECT_STREQ(b.data, "w||");
  std::free(one);
  CxStringBuffDiscard(&b);
}
