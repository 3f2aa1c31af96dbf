// The ilx print family: its own rules (positional arguments, failures, wide
// texts, streams), with the C library's snprintf as the oracle elsewhere.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lumex/ilx.h"

namespace {

// ilx_vsprintf into a roomy buffer; the text, or "<n>" for a negative result.
std::string sp(CodeSetT cs, const char *format, ...) {
  char buf[4096];
  va_list ap;
  va_start(ap, format);
  const int n = ilx_vsprintf(cs, nullptr, buf, format, ap);
  va_end(ap);
  return n < 0 ? "<" + std::to_string(n) + ">" : std::string(buf, static_cast<size_t>(n));
}

template <class... A>
std::string ref(const char *format, A... args) {
  char buf[4096];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

TEST(PrintFamily, ValuesMatchTheCLibrary) {
  for (const char *f : {"%d", "%-5d|", "%05d", "%+d", "% d", "%08.3d", "%#x", "%X", "%#o", "%u",
                        "%5.0d|", "%-3.0x|", "%#.0o", "%i", "%hd", "%hu"})
    for (int v : {0, 7, -42, 255, 70000, INT_MIN, INT_MAX}) EXPECT_EQ(ref(f, v), sp(nullptr, f, v)) << f << v;
  for (const char *f : {"%f", "%10.3f|", "%-10.1e|", "%E", "%g", "%#g", "%+.0f", "%010.2f", "% g"})
    for (double v : {0.0, -2.25, 12345.678, 0.00001, 1e21}) EXPECT_EQ(ref(f, v), sp(nullptr, f, v)) << f << v;
  EXPECT_EQ(ref("%ld|%lx|%lld|%llu|%lx|%llx", LONG_MIN, ULONG_MAX, LLONG_MIN, ULLONG_MAX, -42L, -42LL),
            sp(nullptr, "%ld|%lx|%lld|%llu|%lx|%llx", LONG_MIN, ULONG_MAX, LLONG_MIN, ULLONG_MAX, -42L, -42LL));
  int x = 0;
  EXPECT_EQ(ref("%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(&x))), sp(nullptr, "%p", &x));
}

TEST(PrintFamily, OwnRules) {
  CodeSetT utf8 = ilx_cs_new("UTF8");
  ASSERT_NE(nullptr, utf8);
  const uint16_t word[] = {'h', 0xE9, 'l', 'l', 'o', 0};
  auto *one = static_cast<uint16_t *>(std::malloc(sizeof(uint16_t)));  // 'w', no terminator
  *one = 'w';
  const struct { std::string got; const char *want; } rows[] = {
      {sp(nullptr, "%2$s %1$s", "a", "b"), "b a"},
      {sp(nullptr, "x=%2$d y=%1$.2f %3$s", 2.5, 7, "x"), "x=7 y=2.50 x"},
      {sp(nullptr, "%3$*1$.*2$f", 6, 2, 3.14159), "  3.14"},
      {sp(nullptr, "%d %1$d", 5), "5 5"},  // one numbering for both kinds
      {sp(nullptr, "%2$d", 1, 2), "<-1>"},          // slot 1 never typed
      {sp(nullptr, "%1$d %1$s", 1), "<-1>"},        // one slot, two types
      {sp(nullptr, "%99999999999d", 1), "<-1>"},    // width beyond 32 bits
      {sp(nullptr, "%Ld|%.2Lf|%.2f", LLONG_MAX, 2.5L, 2.675), "9223372036854775807|2.50|2.68"},
      {sp(nullptr, "[%.2s][%05s][%s]", "abcdef", "ab", static_cast<char *>(nullptr)), "[ab][   ab][]"},
      {sp(nullptr, "%%|%3%|%-3%|[%c][%3c][%-3c]", 'x', 'y', 'z'), "%|  %|%  |[x][  y][z  ]"},
      {sp(nullptr, "%'d", 1234567), "1234567"},  // no grouping in the C locale
      {sp(utf8, "%ls|%S|%.2ls|%.3ls", word, word, word, word), "h\xC3\xA9llo|h\xC3\xA9llo|h|h\xC3\xA9"},
      {sp(utf8, "%5lc|%C", 0x20AC, 0x20AC), "  \xE2\x82\xAC|\xE2\x82\xAC"},
      {sp(utf8, "a%Cb", 0xD800), "<-1>"},  // not in the code set
      {sp(nullptr, "%.1ls|%.0ls|[%.1S]", one, one + 1, one), "w||[w]"},  // nothing read past
  };
  for (const auto &r : rows) EXPECT_EQ(r.want, r.got);
  std::free(one);
  char buf[64];
  for (int r : {ilx_sprintf(nullptr, nullptr, buf, nullptr), ilx_sprintf(nullptr, nullptr, nullptr, "x"),
                ilx_fprintf(nullptr, nullptr, nullptr, "x")}) EXPECT_EQ(-1, r);
  int n = -1;  // %n fails where it stands, its target never written
  EXPECT_EQ(ilx_sprintf(nullptr, nullptr, buf, "ab%ncd", &n), -1);
  EXPECT_STREQ(buf, "ab");
  EXPECT_EQ(n, -1);
  for (const char *f : {"%.1569838682f|", "%999999999f", "%-16777217f"}) EXPECT_EQ(ilx_sprintf(nullptr, nullptr, buf, f, 1.0), -1) << f;
  for (const char *f : {"%*f", "%.*e"}) EXPECT_EQ(ilx_sprintf(nullptr, nullptr, buf, f, INT_MAX, 1.0), -1) << f;
  testing::internal::CaptureStdout();  // unknown conversions: reported, nothing printed
  EXPECT_EQ("ab5|end", sp(nullptr, "a%yb%d", 5) + "|" + sp(nullptr, "end%"));
  EXPECT_EQ(4, ilx_printf(nullptr, nullptr, "%2$s-%1$s", "b", "a1"));
  std::fflush(stdout);
  EXPECT_EQ("Bad format specifier in print_all\nBad format specifier in print_all\na1-b",
            testing::internal::GetCapturedStdout());
}

TEST(PrintFamily, GroupingFollowsTheCLibrarysLocale) {
  const std::string dir = std::string(LUMEX_BINARY_DIR) + "/test-locales-ilx", cmd =
      "mkdir -p " + dir + " && localedef -i en_US -f UTF-8 " + dir + "/en_US.UTF-8 >/dev/null 2>&1";
  ASSERT_EQ(0, std::system(cmd.c_str()) & 0xFF00) << cmd;  // warnings exit with 1
  setenv("LOCPATH", dir.c_str(), 1);
  ASSERT_NE(nullptr, std::setlocale(LC_NUMERIC, "en_US.UTF-8"));
  EXPECT_EQ("1,234,567|1,000|-999|1234567|1,234.50",
            sp(nullptr, "%'d|%'u|%'i|%d|%'.2f", 1234567, 1000u, -999, 1234567, 1234.5));
  std::setlocale(LC_NUMERIC, "C"), unsetenv("LOCPATH");
}

TEST(PrintFamily, StreamsAndFailedWrites) {
  FILE *f = std::tmpfile();
  ASSERT_NE(nullptr, f);
  const std::string big(1200, 'q');
  EXPECT_EQ(static_cast<int>(big.size() + 603), ilx_fprintf(nullptr, nullptr, f, "<%s|%600d>", big.c_str(), 42));
  std::rewind(f);
  std::string got(2000, '\0');  // everything across the stream buffer
  got.resize(std::fread(&got[0], 1, got.size(), f));
  EXPECT_EQ(ref("<%s|%600d>", big.c_str(), 42), got);
  EXPECT_EQ(-1, ilx_fprintf(nullptr, nullptr, f, "%999999999d", 1));
  EXPECT_EQ(16777215, ilx_fprintf(nullptr, nullptr, f, "%16777215d", 1));  // at the bound
  std::fclose(f);
  FILE *full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::setvbuf(full, nullptr, _IONBF, 0);
  EXPECT_EQ(-6, ilx_fprintf(nullptr, nullptr, full, "%700d", 1));  // a full buffer unwritten
  EXPECT_EQ(-1, ilx_fprintf(nullptr, nullptr, full, "short"));     // only the final write
  std::fclose(full);
}

}  // namespace
