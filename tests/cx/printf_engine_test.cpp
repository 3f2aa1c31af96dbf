// The printf engine's own rules, beyond what the comparison with snprintf
// reaches: argument numbers, refusals, forms of other libraries, the size
// bound, caller-filled slots, wide forms through a code set and locale grouping.
#include "cx/printf_engine.h"

#include <climits>
#include <clocale>

#include "cx/cx_intl.h"
#include "ilx/format_value.h"
#include "temp_dir.h"

TEST(PrintfEngine, RulesBeyondTheCLibrary) {
  int n = 0;
  std::string forty, fortyText;  // reversed, beyond the inline slot storage
  for (int i = 40; i > 0; --i)
    forty += "<%" + std::to_string(i) + "$d>", fortyText += "<" + std::to_string(i) + ">";
  const struct { std::string got, want; } rows[] = {
      // Argument numbers; each conversion prints a shared slot by its own rule, an int at 32 bits.
      {fmt("%2$d-%d-%d", 7, 8), "8-7-8"},  // sequential indexes ignore positions
      {fmt("%s %d %1$s %2$x", "a", 255), "a 255 a ff"},  // numbers after sequential ones
      {fmt("%1$*2$d|", 42, 5), "   42|"}, {fmt("%3$.*1$f|%2$*1$s", 2, "x", 3.14159), "3.14| x"},
      {fmt("%1$u %1$o %1$X %1$i", -42), "4294967254 37777777726 FFFFFFD6 -42"},
      {fmt(forty.c_str(), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
           21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40),
       fortyText},
      {fmt("ab%d %s%y", 1, "x"), "<fail>"},  // nothing appended after conversions
      {fmt("ab%n %y", &n), "<fail>"},         // nor after a failing one
      {fmt("%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%d%y", 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
           14, 15, 16, 17, 18, 19, 20),
       "<fail>"},  // nor past the inline slot storage
      {fmt("ab%d%ncd", 12, &n), "ab12"},  // %n fails at output; what was written stays
      // Forms of other libraries, and where the engine's text is its own.
      {fmt("%I64u %qd", 18446744073709551615ULL, -5LL), "18446744073709551615 -5"},
      {fmt("100%%|%.05d", 3), "100%|00003"},  // precisions may start with 0
      {fmt("%p", reinterpret_cast<void *>(0xdeadbeefcafeULL)), "deadbeefcafe"},  // all 64 bits
      {fmt("%#p", reinterpret_cast<void *>(0x80000000ULL)), "0x80000000"},
      {fmt("[%s][%05s]", static_cast<const char *>(nullptr), "ab"), "[][   ab]"},
      {fmt("%.20f", 0.1), "0.10000000000000000000"},  // past 16 digits: zeros
      {fmt("%f", 1e22), "10000000000000000000000.000000"}, {fmt("%.2Lf", 2.5L), "2.50"},
  };
  for (const auto &r : rows) EXPECT_EQ(r.got, r.want);
  // Unused argument numbers, too large numbers, bad conversions: nothing appended.
  for (const char *f : {"%3$d", "x%1$d%3$d", "%0$d", "%99999$d", "%99999999999d", "%5%", ""})
    EXPECT_EQ(fmt(f, 1, 2, 3), "<fail>") << f;  // width beyond 32 bits; "%5%" is no conversion
  EXPECT_EQ(n, 0);  // %n never writes
  CxStringBuff b{};
  EXPECT_EQ(CxStringBuffPrintf(nullptr, nullptr, "x"), 0);
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, nullptr), 0);
}

TEST(PrintfEngine, CallerFilledSlotsAreReadAsFarAsHandedOverAndOnlyAsTheirType) {
  CxPrintfSegList segs{};
  CxPrintfArgList args{};
  ASSERT_EQ(CxPrintfProcessFmts("Object '%1$s' has %2$d items", &segs, &args), 0);
  ASSERT_EQ(args.count, 2);
  // Slots handed over, the first one's type (an int in it unless a string), what stays.
  const struct { int32_t count, type0; std::string text; } rows[] = {
      {1, CX_PRINTF_ARG_STRING, "Object 'log' has "},  // too few slots: fails there
      {2, CX_PRINTF_ARG_INT, "Object '"},  // a number read as a string is not followed
  };
  for (const auto &r : rows) {
    args.count = r.count;
    args.args[0].type = static_cast<decltype(args.args[0].type)>(r.type0);
    args.args[0].value.p = "log";
    if (r.type0 == CX_PRINTF_ARG_INT) args.args[0].value.i = 12345;
    CxStringBuff b{};
    int failed = -1;
    EXPECT_EQ(cxPrintfEmitAll(nullptr, &b, &segs, &args, &failed), int32_t(r.text.size()));
    EXPECT_EQ(std::to_string(failed) + " " + text(b), "1 " + r.text);
    CxStringBuffDiscard(&b);
  }
  args.count = 2;
  cx::printfDiscard(&segs, &args);
  EXPECT_EQ(CxPrintfProcessFmts("ok %Q", &segs, &args), 1);
  cx::printfDiscard(&segs, &args);
  EXPECT_EQ(CxPrintfProcessFmts(nullptr, &segs, &args), 1);
}

TEST(PrintfEngine, ResultsBeyondTheBoundFailInsteadOfAllocating) {
  for (const std::string &got :  // the first was once an out-of-memory under the fuzzer
       {fmt("c|%.1569838682A0:000001f|%g", 1.0, 2.0), fmt("%.16777217f", 1.0),
        fmt("%999999999f", 1.0), fmt("%*f", INT_MAX, 1.0), fmt("%.*e", 20000000, 1.0)})
    EXPECT_LT(got.size(), 64u) << got;
  CxStringBuff b{};
  EXPECT_EQ(CxStringBuffPrintf(nullptr, &b, "%16777215d", 7), 16777215);  // at the bound
  CxStringBuffDiscard(&b);
}

TEST(PrintfEngine, WideFormsConvertThroughTheCodeSet) {
  CodeSetHandle utf8("UTF8"), latin1("ISO-8859-1");
  ASSERT_TRUE(utf8.cs != nullptr && latin1.cs != nullptr);
  const uint16_t ws[] = {'c', 'a', 'f', 0xE9, 0x20AC, 0}, broken[] = {'k', 0xD800, 'x', 0};
  const uint16_t *none = nullptr;
  // A unit that does not convert fails the call at that conversion.
  const std::string rows[][2] = {
      {fmtIn(utf8.cs, "[%ls][%S][%-8.6S][%lc%C]", ws, ws, ws, 0xE9, 0x20AC),
       "[caf\xC3\xA9\xE2\x82\xAC][caf\xC3\xA9\xE2\x82\xAC][caf\xC3\xA9   ][\xC3\xA9\xE2\x82\xAC]"},
      {fmtIn(latin1.cs, "%6.4ls|%3lc|%ls", ws, 0xE9, none), "  caf\xE9|  \xE9|"},
      {fmtIn(utf8.cs, "ok %ls %d", broken, 5), "ok "},
  };
  for (const auto &r : rows) EXPECT_EQ(r[0], r[1]);
}

TEST(PrintfEngine, GroupingAndDecimalPointFollowTheLocale) {
  // Locales built from the system's sources into the build tree.
  const std::string dir = std::string(LUMEX_BINARY_DIR) + "/test-locales";
  setenv("LOCPATH", dir.c_str(), 1);
  auto use = [&](const std::string &source) {
    const std::string cmd = "mkdir -p " + dir + " && localedef -i " + source + " -f UTF-8 " + dir +
                            "/" + source + ".UTF-8 >/dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()) & 0xFF00, 0) << cmd;  // warnings exit with 1
    return std::setlocale(LC_NUMERIC, (source + ".UTF-8").c_str()) != nullptr;
  };
  ASSERT_TRUE(use("en_US"));
  EXPECT_EQ(fmt("%'x|%'lld|%'012d|%-'10d|", 0x123456, 1234567890123LL, 1234567, 12345),
            "123456|1,234,567,890,123|0001,234,567|12,345    |");
  EXPECT_EQ(fmt("%'.2f|%'g|%'e|%'.0f|%'10.1f|", 1234567.891, 1234567.0, 1234.5, 1e20, 1234.56),
            "1,234,567.89|1.23457e+06|1.234500e+03|100,000,000,000,000,000,000|   1,234.6|");
  ASSERT_TRUE(use("de_DE"));
  EXPECT_EQ(fmt("%.2f|%'.1f|%g|%#.0e", 3.25, 1234567.25, 0.5, 1.0), "3,25|1.234.567,3|0,5|1,e+00");
  std::setlocale(LC_NUMERIC, "C");
  unsetenv("LOCPATH");
}

TEST(PrintfEngine, GroupSizesRepeatAndStop) {
  // Rules no test locale has: \3\2 is Indian style; CHAR_MAX ends grouping.
  const struct { const char *rule; size_t digits; const char *sizes; } rows[] = {
      {"\3\2", 9, "2,2,2,3"}, {"\3\177", 9, "6,3"}, {"\4", 2, "2"}};
  for (const auto &r : rows) {
    const ilx::fmt::Grouping g{",", 1, r.rule};
    uint16_t sizes[32];
    std::string out;
    for (size_t i = 0, n = ilx::fmt::groupDigits(r.digits, g, sizes); i < n; ++i)
      out += (i ? "," : "") + std::to_string(sizes[i]);
    EXPECT_EQ(out, r.sizes) << r.digits;
  }
}
