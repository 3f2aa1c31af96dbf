#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>
#include <cstdlib>
#include <string>

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

}  // namespace

TEST(PrintfEngine, PositionalAndSequentialArguments) {
  EXPECT_EQ(fmt("%2$s %1$s", "a", "b"), "b a");
  EXPECT_EQ(fmt("%1$s %1$s", "a"), "a a");
  EXPECT_EQ(fmt("%2$d-%d-%d", 7, 8), "8-7-8");  // sequential indexes ignore positions
  EXPECT_EQ(fmt("%1$*2$d|", 42, 5), "   42|");
  EXPECT_EQ(fmt("%3$.*1$f|%2$*1$s", 2, "x", 3.14159), "3.14| x");
  EXPECT_EQ(fmt("%*.*d|", 6, 3, 7), "   007|");
  // Argument numbers that no conversion uses: nothing at all is appended.
  EXPECT_EQ(fmt("%3$d", 1, 2, 3), "<fail>");
  EXPECT_EQ(fmt("x%1$d%3$d", 1, 2, 3), "<fail>");
  EXPECT_EQ(fmt("%0$d", 1), "<fail>");
  EXPECT_EQ(fmt("%99999$d", 1), "<fail>");
  EXPECT_EQ(fmt("%99999999999d", 1), "<fail>");  // width beyond 32 bits
}

TEST(PrintfEngine, IntegerForms) {
  EXPECT_EQ(fmt("%*d", 5, 42), "   42");
  EXPECT_EQ(fmt("%-5d|", 42), "42   |");
  EXPECT_EQ(fmt("%05d", -42), "-0042");
  EXPECT_EQ(fmt("%.3d", 7), "007");
  EXPECT_EQ(fmt("%08.3d", 7), "     007");
  EXPECT_EQ(fmt("%#o %#o %#.3o", 8, 0, 8), "010 0 010");
  EXPECT_EQ(fmt("%#x %#X %#x", 255, 255, 0), "0xff 0XFF 0");
  EXPECT_EQ(fmt("%lld", static_cast<long long>(INT64_MIN)), "-9223372036854775808");
  EXPECT_EQ(fmt("%I64u %qd", 18446744073709551615ULL, -5LL), "18446744073709551615 -5");
  EXPECT_EQ(fmt("%hd %hhu", 70000, 300), "70000 300");  // h and hh do not narrow
  EXPECT_EQ(fmt("%+d % d %+u", 5, 5, 5), "+5  5 5");
  EXPECT_EQ(fmt("%i", -3), "-3");
  // Precision 0 with the value 0: nothing, not even the width.
  EXPECT_EQ(fmt("[%5.0d][%.*x]", 0, 0, 0), "[][]");
  // Written precisions may start with 0.
  EXPECT_EQ(fmt("%.05d|%.0d|%.0f", 3, 0, 2.5), "00003||3");
  // A negative width from an argument means no padding; a negative
  // precision means none.
  EXPECT_EQ(fmt("[%*d][%.*d]", -6, 42, -1, 42), "[42][42]");
  // Pointers print as unsigned hexadecimal without a prefix.
  EXPECT_EQ(fmt("%p", reinterpret_cast<void *>(0xdeadbeefcafeULL)), "deadbeefcafe");
  EXPECT_EQ(fmt("%#p", reinterpret_cast<void *>(0x80000000ULL)), "0x80000000");
  // 64-bit C types of the platform keep their full value.
  EXPECT_EQ(fmt("%ld %zu %td %lx", -5000000000L, static_cast<size_t>(5000000000ULL),
                static_cast<ptrdiff_t>(-5000000000LL), 0x123456789abUL),
            "-5000000000 5000000000 -5000000000 123456789ab");
}

TEST(PrintfEngine, ByteForms) {
  EXPECT_EQ(fmt("%.2s|%5s|%-5s|%05s|", "abcdef", "ab", "ab", "ab"), "ab|   ab|ab   |   ab|");
  EXPECT_EQ(fmt("[%s][%.3s][%4s]", static_cast<const char *>(nullptr), "ab", ""), "[][ab][    ]");
  EXPECT_EQ(fmt("%c%-3c|%3c", 'o', 'k', 0x141), "ok  |  A");  // low byte only
  EXPECT_EQ(fmt("%%|%5%"), "<fail>");                       // "%5%" is no conversion
  EXPECT_EQ(fmt("100%%"), "100%");
  EXPECT_EQ(fmt("abc%"), "<fail>");
  EXPECT_EQ(fmt("%y"), "<fail>");
  EXPECT_EQ(fmt(""), "<fail>");  // nothing appended, buffer untouched
}

TEST(PrintfEngine, FloatingForms) {
  EXPECT_EQ(fmt("%f", 1.5), "1.500000");
  EXPECT_EQ(fmt("%.2f", 2.675), "2.68");  // its 16-digit form 2.675000000000000 rounds up
  EXPECT_EQ(fmt("%e", 12345.678), "1.234568e+04");
  EXPECT_EQ(fmt("%g|%g", 0.0001, 0.00001), "0.0001|1e-05");
  EXPECT_EQ(fmt("%#g|%g|%G", 1.0, 100000.0, 1e6), "1.00000|100000|1E+06");
  EXPECT_EQ(fmt("%.3e|%e|%E", 0.0, 1e100, 1e-300), "0.000e+00|1.000000e+100|1.000000E-300");
  EXPECT_EQ(fmt("%.0f|%#.0f|%.0e", 0.5, 2.0, 15.0), "1|2.|2e+01");
  EXPECT_EQ(fmt("%.f", 1.25), "1.250000");  // a bare '.' keeps the default precision
  EXPECT_EQ(fmt("%010.2f|%-9.1f|%+.1f|% .1f", -3.14159, 2.25, 1.0, 1.0),
            "-000003.14|2.3      |+1.0| 1.0");
  EXPECT_EQ(fmt("%.20f", 0.1), "0.10000000000000000000");  // past 16 digits: zeros
  EXPECT_EQ(fmt("%.3f", 9.9996), "10.000");
  EXPECT_EQ(fmt("%.1f", -0.04), "-0.0");
  EXPECT_EQ(fmt("%f", -0.0), "0.000000");  // negative zero is not below zero
  EXPECT_EQ(fmt("%.2Lf", 2.5L), "2.50");
  EXPECT_EQ(fmt("%f", 1e22), "10000000000000000000000.000000");
}

TEST(PrintfEngine, InfinityNanAndHexForms) {
  const double inf = HUGE_VAL;
  const double nan = std::nan("");
  EXPECT_EQ(fmt("%f|%E|%g|%A", inf, inf, -inf, nan), "inf|INF|-inf|NAN");
  EXPECT_EQ(fmt("%+f|% e|%06f|%-6f|", inf, nan, -inf, inf), "+inf| nan|  -inf|inf   |");
  EXPECT_EQ(fmt("%a|%a|%a|%A", 1.0, 0.5, -3.25, 255.0), "0x1p+0|0x1p-1|-0x1.ap+1|0X1.FEP+7");
  EXPECT_EQ(fmt("%.0a|%.1a|%.3a|%#a", 1.5, 1.96875, 1.0, 2.0), "0x2p+0|0x2.0p+0|0x1.000p+0|0x1.p+1");
  EXPECT_EQ(fmt("%a|%012a", 0.0, 1.0), "0x0p+0|0x0000001p+0");
  EXPECT_EQ(fmt("%a", 4.9406564584124654e-324), "0x0.0000000000001p-1022");
}

TEST(PrintfEngine, FailuresDuringOutputKeepWhatWasWritten) {
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
  int n = 0;
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "ab%d%ncd", 12, &n), 4);
  EXPECT_STREQ(b.data, ">ab12");
  EXPECT_EQ(n, 0);  // %n never writes
  // A parse error anywhere in the format appends nothing, also after a
  // failed conversion, and leaves earlier text alone.
  ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "ab%d %s%y", 1, "x"), 0);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "ab%n %y", &n), 0);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%y", 1, 2, 3, 4,
                               5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20),
            0);
  EXPECT_STREQ(b.data, ">ab12>");
  EXPECT_EQ(b.length, 6u);
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
  cx::fmt::Grouping g;
  g.sep = ",";
  g.sepLen = 1;
  uint16_t sizes[32];
  auto split = [&](const char *rule, size_t n) {
    g.sizes = rule;
    const size_t count = cx::fmt::groupDigits(n, g, sizes);
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
      const int decpt = cx::fmt::decimalDigits(v, n, digits);
      char expect[64];
      std::snprintf(expect, sizeof expect, "%.*e", n - 1, v);
      std::string d = std::string(1, expect[0]) + (n > 1 ? std::string(expect + 2, n - 1) : "");
      ASSERT_EQ(std::string(digits, n), d) << expect << " n=" << n;
      ASSERT_EQ(decpt, std::atoi(std::strchr(expect, 'e') + 1) + 1) << expect;
    }
  }
}

TEST(PrintfEngine, EachConversionPrintsTheValueByItsOwnRule) {
  struct Row {
    const char *format;
    int value;
    const char *expect;
  };
  const Row rows[] = {
      {"%1$d (0x%1$x)", -2, "-2 (0xfffffffe)"},
      {"%1$x (%1$d)", -2, "fffffffe (-2)"},
      {"%1$u %1$o %1$X %1$i", -42, "4294967254 37777777726 FFFFFFD6 -42"},
      {"%x|%X|%o|%u", -42, nullptr},  // as snprintf
  };
  for (const Row &r : rows) {
    CxStringBuff b{};
    char want[128];
    std::snprintf(want, sizeof want, "%x|%X|%o|%u", r.value, r.value, r.value, r.value);
    const int32_t n = r.expect != nullptr ? CxStringBuffPrintf(nullptr, &b, r.format, r.value)
                                          : CxStringBuffPrintf(nullptr, &b, r.format, r.value,
                                                               r.value, r.value, r.value);
    EXPECT_GT(n, 0) << r.format;
    EXPECT_STREQ(b.data, r.expect != nullptr ? r.expect : want) << r.format;
    CxStringBuffDiscard(&b);
  }
}

TEST(PrintfEngine, ResultsBeyondTheBoundFailInsteadOfAllocating) {
  struct Row {
    const char *format;
    int star;
  };
  const Row rows[] = {
      {"c|%.1569838682A0:000001f|%g", 0},  // once an out-of-memory under the fuzzer
      {"%.16777217f", 0}, {"%999999999f", 0}, {"%*f", INT_MAX}, {"%.*e", 20000000},
      {"%-*f", -20000000},
  };
  for (const Row &r : rows) {
    CxStringBuff b{};
    ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
    if (r.star != 0) {
      CxStringBuffPrintf(nullptr, &b, r.format, r.star, 1.0);
    } else {
      CxStringBuffPrintf(nullptr, &b, r.format, 1.0, 2.0);
    }
    EXPECT_LT(b.length, 64u) << r.format;
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
