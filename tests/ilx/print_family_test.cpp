// The ilx print family: directives and arguments, positional arguments,
// wide texts through a code set, stream buffering and write failures. Where
// the rules are the C library's, its snprintf is the oracle.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lumex/cx.h"
#include "lumex/ilx.h"

namespace {

// ilx_vsprintf into a roomy buffer; the text, or "<n>" for a negative result.
std::string sp(CodeSetT cs, const char *format, ...) {
  char buf[4096];
  va_list ap;
  va_start(ap, format);
  const int n = ilx_vsprintf(cs, nullptr, buf, format, ap);
  va_end(ap);
  if (n < 0) return "<" + std::to_string(n) + ">";
  EXPECT_EQ(std::strlen(buf), static_cast<size_t>(n));
  return buf;
}

std::string ref(const char *format, ...) {
  char buf[4096];
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(buf, sizeof buf, format, ap);
  va_end(ap);
  return buf;
}

// Everything a stream received.
std::string contents(FILE *f) {
  std::fflush(f);
  std::rewind(f);
  std::string s;
  int c;
  while ((c = std::fgetc(f)) != EOF) s.push_back(static_cast<char>(c));
  return s;
}

TEST(PrintFamily, PositionalArgumentsReorder) {
  EXPECT_EQ("b a", sp(nullptr, "%2$s %1$s", "a", "b"));
  EXPECT_EQ("a a", sp(nullptr, "%1$s %1$s", "a"));
  EXPECT_EQ("x=7 y=2.50 x", sp(nullptr, "x=%2$d y=%1$.2f %3$s", 2.5, 7, "x"));
  // Width and precision from numbered arguments.
  EXPECT_EQ("  3.14", sp(nullptr, "%3$*1$.*2$f", 6, 2, 3.14159));
  // Sequential and positional references share one numbering.
  EXPECT_EQ("5 5", sp(nullptr, "%d %1$d", 5));
}

TEST(PrintFamily, ArgumentNumberingThatCannotBeFetchedFails) {
  EXPECT_EQ("<-1>", sp(nullptr, "%2$d", 1, 2));         // slot 1 never typed
  EXPECT_EQ("<-1>", sp(nullptr, "%1$d %1$s", 1));       // one slot, two types
  EXPECT_EQ("<-1>", sp(nullptr, "%99999999999d", 1));   // width too large
  char buf[8];
  EXPECT_EQ(-1, ilx_sprintf(nullptr, nullptr, buf, nullptr));
  EXPECT_EQ(-1, ilx_sprintf(nullptr, nullptr, nullptr, "x"));
  EXPECT_EQ(-1, ilx_fprintf(nullptr, nullptr, nullptr, "x"));
}

TEST(PrintFamily, IntegersMatchTheCLibrary) {
  const char *formats[] = {"%d", "%5d", "%-5d|", "%05d", "%+d", "% d", "%.3d", "%08.3d",
                           "%x", "%#x", "%X", "%#o", "%o", "%u", "%.0d", "%5.0d|", "%+.0d",
                           "%-3.0x|", "%#.0o", "%i"};
  for (const char *f : formats) {
    for (int v : {0, 7, -42, 255, INT_MIN, INT_MAX}) {
      SCOPED_TRACE(std::string(f) + " " + std::to_string(v));
      EXPECT_EQ(ref(f, v), sp(nullptr, f, v));
    }
  }
  EXPECT_EQ(ref("%ld", LONG_MIN), sp(nullptr, "%ld", LONG_MIN));
  EXPECT_EQ(ref("%lx", ULONG_MAX), sp(nullptr, "%lx", ULONG_MAX));
  EXPECT_EQ(ref("%lld", LLONG_MIN), sp(nullptr, "%lld", LLONG_MIN));
  EXPECT_EQ(ref("%llu", ULLONG_MAX), sp(nullptr, "%llu", ULLONG_MAX));
  EXPECT_EQ(ref("%Ld", LLONG_MAX), sp(nullptr, "%Ld", LLONG_MAX));
  // "h" narrows as in the C library.
  EXPECT_EQ(ref("%hd", 70000), sp(nullptr, "%hd", 70000));
  EXPECT_EQ(ref("%hu", -1), sp(nullptr, "%hu", -1));
  // Without a grouping locale the ' flag changes nothing.
  EXPECT_EQ("1234567", sp(nullptr, "%'d", 1234567));
}

TEST(PrintFamily, GroupingFollowsTheCLibrarysLocale) {
  const std::string dir = std::string(LUMEX_BINARY_DIR) + "/test-locales-ilx";
  const std::string cmd =
      "mkdir -p " + dir + " && localedef -i en_US -f UTF-8 " + dir + "/en_US.UTF-8 >/dev/null 2>&1";
  ASSERT_EQ(0, std::system(cmd.c_str()) & 0xFF00) << cmd;  // warnings exit with 1
  setenv("LOCPATH", dir.c_str(), 1);
  ASSERT_NE(nullptr, std::setlocale(LC_NUMERIC, "en_US.UTF-8"));
  EXPECT_EQ("1,234,567|1,000|-999|1234567|1,234.50",
            sp(nullptr, "%'d|%'u|%'i|%d|%'.2f", 1234567, 1000u, -999, 1234567, 1234.5));
  std::setlocale(LC_NUMERIC, "C");
  unsetenv("LOCPATH");
}

TEST(PrintFamily, FloatingPointMatchesTheCLibrary) {
  const char *formats[] = {"%f", "%.2f", "%10.3f|", "%-10.1e|", "%e", "%E", "%g", "%G",
                           "%#g", "%+.0f", "%010.2f", "% g", "%.10g"};
  for (const char *f : formats) {
    for (double v : {0.0, 1.5, -2.25, 12345.678, 0.0001, 0.00001, 1e21, -3.0e-7}) {
      SCOPED_TRACE(std::string(f) + " " + std::to_string(v));
      EXPECT_EQ(ref(f, v), sp(nullptr, f, v));
    }
  }
  EXPECT_EQ("2.50", sp(nullptr, "%.2Lf", 2.5L));  // long double argument
  EXPECT_EQ("2.68", sp(nullptr, "%.2f", 2.675));  // 16-digit form rounds half up
}

TEST(PrintFamily, CharactersStringsPointersAndPercent) {
  EXPECT_EQ(ref("[%c][%3c][%-3c]", 'x', 'y', 'z'), sp(nullptr, "[%c][%3c][%-3c]", 'x', 'y', 'z'));
  EXPECT_EQ("[ab][   ab][ab   ][   ab]",
            sp(nullptr, "[%.2s][%5s][%-5s][%05s]", "abcdef", "ab", "ab", "ab"));
  EXPECT_EQ("[][  ]", sp(nullptr, "[%s][%2s]", static_cast<char *>(nullptr),
                         static_cast<char *>(nullptr)));
  EXPECT_EQ("%|  %|%  |", sp(nullptr, "%%|%3%|%-3%|"));
  int x = 0;
  char hex[32];
  std::snprintf(hex, sizeof hex, "%llX", static_cast<unsigned long long>(
                                             reinterpret_cast<uintptr_t>(&x)));
  EXPECT_EQ(hex, sp(nullptr, "%p", static_cast<void *>(&x)));
}

TEST(PrintFamily, UnsafeDirectivesFailWithoutTouchingMemory) {
  // %n fails where it stands: the text before it stays, its target is
  // never written.
  char buf[64];
  int n = -1;
  EXPECT_EQ(ilx_sprintf(nullptr, nullptr, buf, "ab%ncd", &n), -1);
  EXPECT_STREQ(buf, "ab");
  EXPECT_EQ(n, -1);
  // Widths and precisions beyond one formatted text's bound fail before
  // anything that large is made.
  const char *huge[] = {"%.1569838682f|", "%999999999f", "%*f", "%.*e", "%-16777217f"};
  for (const char *f : huge) {
    if (std::strchr(f, '*') != nullptr) {
      EXPECT_EQ(ilx_sprintf(nullptr, nullptr, buf, f, INT_MAX, 1.0), -1) << f;
    } else {
      EXPECT_EQ(ilx_sprintf(nullptr, nullptr, buf, f, 1.0), -1) << f;
    }
  }
  FILE *sink = std::fopen("/dev/null", "w");
  ASSERT_NE(sink, nullptr);
  EXPECT_EQ(ilx_fprintf(nullptr, nullptr, sink, "%999999999d", 1), -1);
  EXPECT_EQ(ilx_fprintf(nullptr, nullptr, sink, "%16777215d", 1), 16777215);  // at the bound
  std::fclose(sink);
  // A precision lets a wide array go without its terminator: no unit past
  // the precision is read (the sanitizer build sees a read past the block).
  auto *one = static_cast<uint16_t *>(std::malloc(sizeof(uint16_t)));
  one[0] = 'w';
  EXPECT_EQ("w|", sp(nullptr, "%.1ls|", one));
  EXPECT_EQ("|", sp(nullptr, "%.0ls|", one + 1));
  EXPECT_EQ("[w]", sp(nullptr, "[%.1S]", one));
  std::free(one);
}

TEST(PrintFamily, UnsignedConversionsOfIntsUse32Bits) {
  EXPECT_EQ(ref("%x|%X|%o|%u|%d", -42, -42, -42, -42, -42),
            sp(nullptr, "%x|%X|%o|%u|%d", -42, -42, -42, -42, -42));
  EXPECT_EQ(ref("%1$d (0x%1$x)", -2), sp(nullptr, "%1$d (0x%1$x)", -2));
  EXPECT_EQ(ref("%lx|%llx|%hx", -42L, -42LL, -42), sp(nullptr, "%lx|%llx|%hx", -42L, -42LL, -42));
}

TEST(PrintFamily, UnknownConversionReportsAndProducesNothing) {
  testing::internal::CaptureStdout();
  const std::string out = sp(nullptr, "a%yb%d", 5);
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_EQ("ab5", out);
  EXPECT_EQ("Bad format specifier in print_all\n", said);
  testing::internal::CaptureStdout();
  EXPECT_EQ("end", sp(nullptr, "end%"));
  EXPECT_EQ("Bad format specifier in print_all\n", testing::internal::GetCapturedStdout());
}

TEST(PrintFamily, WideTextGoesThroughTheCodeSet) {
  CodeSetT utf8 = ilx_cs_new("UTF8");
  ASSERT_NE(nullptr, utf8);
  const uint16_t word[] = {'h', 0xE9, 'l', 'l', 'o', 0};
  EXPECT_EQ("h\xC3\xA9llo", sp(utf8, "%ls", word));
  EXPECT_EQ("h\xC3\xA9llo", sp(utf8, "%S", word));
  // The precision counts bytes and never cuts a character.
  EXPECT_EQ("h", sp(utf8, "%.2ls", word));
  EXPECT_EQ("h\xC3\xA9", sp(utf8, "%.3ls", word));
  EXPECT_EQ("  \xE2\x82\xAC|", sp(utf8, "%5lc|", 0x20AC));
  EXPECT_EQ("\xE2\x82\xAC", sp(utf8, "%C", 0x20AC));
  // A character the code set cannot take fails the call.
  EXPECT_EQ("<-1>", sp(utf8, "a%Cb", 0xD800));
}

TEST(PrintFamily, StreamsGetEverythingAcrossTheBuffer) {
  FILE *f = std::tmpfile();
  ASSERT_NE(nullptr, f);
  const std::string big(1200, 'q');
  const int n = ilx_fprintf(nullptr, nullptr, f, "<%s|%600d>", big.c_str(), 42);
  EXPECT_EQ(static_cast<int>(big.size() + 603), n);
  EXPECT_EQ(ref("<%s|%600d>", big.c_str(), 42), contents(f));
  std::fclose(f);

  testing::internal::CaptureStdout();
  EXPECT_EQ(4, ilx_printf(nullptr, nullptr, "%2$s-%1$s", "b", "a1"));
  std::fflush(stdout);
  EXPECT_EQ("a1-b", testing::internal::GetCapturedStdout());
}

TEST(PrintFamily, FailedWritesGiveNegativeResults) {
  FILE *full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::setvbuf(full, nullptr, _IONBF, 0);
  // A full buffer that cannot be written: the engine's -6.
  EXPECT_EQ(-6, ilx_fprintf(nullptr, nullptr, full, "%700d", 1));
  // Only the final write fails: -1.
  EXPECT_EQ(-1, ilx_fprintf(nullptr, nullptr, full, "short"));
  std::fclose(full);
}

}  // namespace
