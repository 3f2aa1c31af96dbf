// The printf engine's own rules, beyond what the comparison with snprintf
// reaches: argument numbers, parse failures, %n, the size bound, caller-filled
// slots, locale grouping and digit generation.
#include "cx/printf_engine.h"

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "cx/cx_intl.h"
#include "temp_dir.h"

namespace {

// Formats into a fresh buffer; "<fail>" when nothing was appended.
template <class... A>
std::string fmt(const char *format, A... args) {
  CxStringBuff b{};
  const int32_t n = CxStringBuffPrintf(nullptr, &b, format, args...);
  std::string out = b.data != nullptr ? text(b) : "<fail>";
  EXPECT_EQ(static_cast<uint32_t>(n), b.length) << format;
  CxStringBuffDiscard(&b);
  return out;
}

}  // namespace

TEST(PrintfEngine, RulesBeyondTheCLibrary) {
  const struct {
    std::string got;
    const char *want;
  } rows[] = {
      {fmt("%2$d-%d-%d", 7, 8), "8-7-8"},  // sequential indexes ignore positions
      {fmt("%1$*2$d|", 42, 5), "   42|"},
      {fmt("%3$.*1$f|%2$*1$s", 2, "x", 3.14159), "3.14| x"},
      // Unused argument numbers, too large numbers, bad conversions: nothing appended.
      {fmt("%3$d", 1, 2, 3), "<fail>"},
      {fmt("x%1$d%3$d", 1, 2, 3), "<fail>"},
      {fmt("%0$d", 1), "<fail>"},
      {fmt("%99999$d", 1), "<fail>"},
      {fmt("%99999999999d", 1), "<fail>"},  // width beyond 32 bits
      {fmt("%%|%5%"), "<fail>"},            // "%5%" is no conversion
      {fmt("abc%"), "<fail>"},
      {fmt("%y"), "<fail>"},
      {fmt(""), "<fail>"},
      {fmt("100%%"), "100%"},
      {fmt("%I64u %qd", 18446744073709551615ULL, -5LL), "18446744073709551615 -5"},
      {fmt("%hd %hhu", 70000, 300), "70000 300"},       // h and hh do not narrow
      {fmt("%.05d|%.0d|%.0f", 3, 0, 2.5), "00003||3"},  // written precisions may start with 0
      {fmt("%p", reinterpret_cast<void *>(0xdeadbeefcafeULL)), "deadbeefcafe"},
      {fmt("%#p", reinterpret_cast<void *>(0x80000000ULL)), "0x80000000"},
      {fmt("[%s][%05s]", static_cast<const char *>(nullptr), "ab"), "[][   ab]"},
      {fmt("%.2f", 2.675), "2.68"},  // its 16-digit form 2.675000000000000 rounds up
      {fmt("%.20f", 0.1), "0.10000000000000000000"},  // past 16 digits: zeros
      {fmt("%f", 1e22), "10000000000000000000000.000000"},
      {fmt("%.2Lf", 2.5L), "2.50"},
      // Each conversion prints a shared slot by its own rule, an int at 32 bits.
      {fmt("%1$d (0x%1$x)", -2), "-2 (0xfffffffe)"},
      {fmt("%1$u %1$o %1$X %1$i", -42), "4294967254 37777777726 FFFFFFD6 -42"},
  };
  for (const auto &r : rows) EXPECT_EQ(r.got, r.want);
}

TEST(PrintfEngine, FailuresDuringOutputKeepWhatWasWritten) {
  CxStringBuff b{};
  ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
  int n = 0;
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "ab%d%ncd", 12, &n), 4);
  EXPECT_EQ(text(b), ">ab12");
  EXPECT_EQ(n, 0);  // %n never writes
  // A parse error anywhere appends nothing, also after a failed conversion
  // and past the inline slot storage.
  ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "ab%d %s%y", 1, "x"), 0);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "ab%n %y", &n), 0);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%y", 1, 2, 3,
                               4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20),
            0);
  EXPECT_EQ(text(b), ">ab12>");
  // Argument numbers after sequential conversions: the same slots.
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "%s %d %1$s %2$x", "a", 255), 10);
  EXPECT_EQ(text(b), ">ab12>a 255 a ff");
  CxStringBuffDiscard(&b);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, nullptr, "x"), 0);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, nullptr), 0);
  // Forty positional arguments in reverse, beyond the inline storage.
  std::string format, expect;
  for (int i = 40; i > 0; --i)
    format += "<%" + std::to_string(i) + "$d>", expect += "<" + std::to_string(i) + ">";
  EXPECT_EQ(fmt(format.c_str(), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40),
            expect);
}

TEST(PrintfEngine, ParsingRecordsSegmentsAndSlotTypes) {
  // Slot types of the argument-number route, which the comparison with C
  // reaches only for a few conversions.
  CxPrintfSegList segs{};
  CxPrintfArgList args{};
  ASSERT_EQ(CxPrintfProcessFmts("id=%-*.*lld%%%2$hhu %c%ls%p%Lg%zd%tx%hn%S", &segs, &args), 0);
  ASSERT_EQ(segs.count, 13);
  EXPECT_EQ(std::string(segs.segs[0].first, segs.segs[0].last + 1), "id=");
  const CxPrintfSeg &c = segs.segs[1];
  EXPECT_EQ(
      std::vector<int>({c.kind, static_cast<int>(c.flags), c.widthArg, c.precisionArg, c.argIndex,
                        c.length, c.conversion}),
      std::vector<int>({CX_PRINTF_CONVERSION, CX_PRINTF_LEFT, 0, 1, 2, CX_PRINTF_LEN_LL, 'd'}));
  EXPECT_EQ(std::string(segs.segs[2].first, segs.segs[2].last + 1), "%");
  EXPECT_EQ(segs.segs[3].argIndex, 1);
  EXPECT_EQ(segs.positional, 1);
  EXPECT_EQ(segs.nextIndex, 11);
  std::vector<int> types;
  for (int i = 0; i < args.count; ++i) types.push_back(args.args[i].type);
  EXPECT_EQ(types, std::vector<int>({10, 41, 13, 10, 71, 50, 31, 80, 90, 61, 71}));
  cx::printfDiscard(&segs, &args);
  EXPECT_EQ(segs.segs, nullptr);
  EXPECT_EQ(args.args, nullptr);
  EXPECT_EQ(CxPrintfProcessFmts("ok %Q", &segs, &args), 1);
  cx::printfDiscard(&segs, &args);
  EXPECT_EQ(CxPrintfProcessFmts(nullptr, &segs, &args), 1);
}

TEST(PrintfEngine, CallerFilledSlots) {
  // Emission reads only the values, whatever the slot types say.
  CxPrintfSegList segs{};
  CxPrintfArgList args{};
  ASSERT_EQ(CxPrintfProcessFmts("Object '%1$s' has %2$d items (%3$.1f%%) %2$x", &segs, &args), 0);
  ASSERT_EQ(args.count, 3);
  args.args[0] = {CX_PRINTF_ARG_STRING, {}};
  args.args[0].value.p = "log";
  args.args[1] = {CX_PRINTF_ARG_INT, {}};
  args.args[1].value.i = -1;
  args.args[2] = {CX_PRINTF_ARG_DOUBLE, {}};
  args.args[2].value.d = 99.95;
  const struct {
    int32_t count;  // slots handed over
    int32_t type0;  // the first slot's type, with an int in it when not a string
    int failed;
    std::string text;
  } rows[] = {
      {3, CX_PRINTF_ARG_STRING, 0, "Object 'log' has -1 items (100.0%) ffffffff"},  // int: 32 bits
      {1, CX_PRINTF_ARG_STRING, 1, "Object 'log' has "},  // too few slots: fails there
      {3, CX_PRINTF_ARG_INT, 1, "Object '"},  // a number read as a string is not followed
  };
  for (const auto &r : rows) {
    args.count = r.count;
    args.args[0].type = static_cast<decltype(args.args[0].type)>(r.type0);
    if (r.type0 == CX_PRINTF_ARG_INT) args.args[0].value.i = 12345;
    CxStringBuff b{};
    int failed = -1;
    EXPECT_EQ(cxPrintfEmitAll(nullptr, &b, &segs, &args, &failed), int32_t(r.text.size()));
    EXPECT_EQ(failed, r.failed);
    EXPECT_EQ(text(b), r.text);
    CxStringBuffDiscard(&b);
  }
  args.count = 3;
  cx::printfDiscard(&segs, &args);
}

TEST(PrintfEngine, ResultsBeyondTheBoundFailInsteadOfAllocating) {
  // The first format was once an out-of-memory under the fuzzer.
  for (const char *f :
       {"c|%.1569838682A0:000001f|%g", "%.16777217f", "%999999999f", "%*f", "%.*e", "%-*f"}) {
    CxStringBuff b{};
    ASSERT_TRUE(CxStringBuffAppendStr(&b, ">"));
    const int star = f[1] == '*' ? INT_MAX : f[1] == '.' ? 20000000 : -20000000;
    if (std::strchr(f, '*') != nullptr)
      CxStringBuffPrintf(nullptr, &b, f, star, 1.0);
    else
      CxStringBuffPrintf(nullptr, &b, f, 1.0, 2.0);
    EXPECT_LT(b.length, 64u) << f;
    CxStringBuffDiscard(&b);
  }
  CxStringBuff b{};
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "%16777215d", 7), 16777215);  // at the bound
  CxStringBuffDiscard(&b);
  // A precision lets a wide array go without its terminator.
  auto *one = static_cast<uint16_t *>(std::malloc(sizeof(uint16_t)));
  one[0] = 'w';
  EXPECT_EQ(fmt("%.1ls|%.0ls|", one, one + 1), "w||");
  std::free(one);
}

namespace {

// Builds a locale from the system's sources into the build tree and switches
// LC_NUMERIC to it for one test.
class LocaleNumbers : public ::testing::Test {
 protected:
  void use(const char *source, const char *name) {
    const std::string dir = std::string(LUMEX_BINARY_DIR) + "/test-locales";
    const std::string cmd = "mkdir -p " + dir + " && localedef -i " + source + " -f UTF-8 " + dir +
                            "/" + name + " >/dev/null 2>&1";
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
  EXPECT_EQ(fmt("%'.2f|%'g|%'e|%'.0f|%'10.1f|", 1234567.891, 1234567.0, 1234.5, 1e20, 1234.56),
            "1,234,567.89|1.23457e+06|1.234500e+03|100,000,000,000,000,000,000|   1,234.6|");
  use("de_DE", "de_DE.UTF-8");
  EXPECT_EQ(fmt("%.2f|%'.1f|%g|%#.0e", 3.25, 1234567.25, 0.5, 1.0), "3,25|1.234.567,3|0,5|1,e+00");
}

TEST(PrintfGrouping, SizesRepeatAndStop) {
  const struct {
    const char *rule;
    size_t digits;
    const char *sizes;
  } rows[] = {{"\3", 7, "1,3,3"}, {"\3\2", 9, "2,2,2,3"}, {"\3\177", 9, "6,3"}, {"\3", 3, "3"},
              {"\4", 2, "2"}};
  for (const auto &r : rows) {  // \3\2: Indian style; CHAR_MAX ends grouping
    ilx::fmt::Grouping g;
    g.sep = ",";
    g.sepLen = 1;
    g.sizes = r.rule;
    uint16_t sizes[32];
    std::string out;
    for (size_t i = 0, n = ilx::fmt::groupDigits(r.digits, g, sizes); i < n; ++i)
      out += (i ? "," : "") + std::to_string(sizes[i]);
    EXPECT_EQ(out, r.sizes) << r.digits;
  }
}

TEST(PrintfDigits, ExactIntegerRouteMatchesCorrectRounding) {
  // Digits computed with integer arithmetic for common magnitudes must equal
  // the C library's correctly rounded %.*e digits for every count of digits.
  std::mt19937_64 rng(4242);
  std::vector<double> values = {1.0,   9.5,   0.5,   2.675, 1e15, 9999999999999999.0, 0.1, 1e-6,
                                5e-324, 1e300, 0.95,  9.95,  999999.5, 123456789012345678.0,
                                1234567890123456.5, 4503599627370497.5};
  for (int i = 0; i < 20000; ++i) {
    values.push_back(static_cast<double>(rng() >> 11) / 9007199254740992.0 *
                     std::pow(10.0, static_cast<int>(rng() % 60) - 30));
    uint64_t bits = rng();
    double any;
    std::memcpy(&any, &bits, sizeof any);
    if (std::isfinite(any) && any != 0) values.push_back(std::fabs(any));
  }
  for (double v : values) {
    for (int n = 1; n <= 16 && v != 0; ++n) {
      char digits[17] = {}, expect[64];
      const int decpt = ilx::fmt::decimalDigits(v, n, digits);
      std::snprintf(expect, sizeof expect, "%.*e", n - 1, v);
      ASSERT_EQ(std::string(digits, n), std::string(1, expect[0]) + std::string(expect + 2, n - 1))
          << expect;
      ASSERT_EQ(decpt, std::atoi(std::strchr(expect, 'e') + 1) + 1) << expect;
    }
  }
}
