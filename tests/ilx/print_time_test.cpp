// The print family beside snprintf, with its own rules; time parsing beside
// strptime, and formatting; re-coding whole texts. The tests run under a UTF-8
// locale, so a Latin-1 handle makes every call re-code.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "ilx/time_parse.h"
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

std::array<int, 8> fields(const struct tm &t) {
  return {t.tm_sec, t.tm_min, t.tm_hour, t.tm_mday, t.tm_mon, t.tm_year, t.tm_wday, t.tm_yday};
}

TEST(TimeParse, AgreesWithTheCLibraryExceptCenturiesAndRejectsWhatItMust) {
  // The bytes consumed (-1: rejected) and the year.
  const struct { const char *text, *format; long len = -1; int year = 0; } rows[] = {
      {"19 2024", "%C %Y", 7, 124}, {"12", "%Ey", 2, 112}, {"0", "%Y", 1, -1900}, {"13", "%m"},
      {"00", "%m"}, {"00", "%d"}, {"24", "%H"}, {"0", "%I"}, {"367", "%j"}, {"7", "%w"},
      {"54", "%U"}, {"2024-01", "%Y/%m"}, {"x", "%m"}, {"", "%d"}, {"5", "%Q"}, {"5", "%"},
      {"5", "%E"}, {"Funday", "%a"}, {"XM", "%p"}, {"a", "%%"}, {"13", "%m%d"}, {nullptr, "%d"},
      {"1", nullptr},
      // Day 366 of a 365-day year, a week-0 day of the year before: out of range.
      {"2023 366", "%Y %j"}, {"2023 00 0", "%Y %U %w"},
  };
  for (const auto &r : rows) {
    struct tm t = {};
    const char *end = ilx::parseTime(r.text, r.format, &t);
    SCOPED_TRACE(std::string(r.text ? r.text : "null") + " / " + (r.format ? r.format : "null"));
    EXPECT_EQ(end ? end - r.text : -1, r.len);
    EXPECT_EQ(end ? t.tm_year : 0, r.year);
  }
  // Only a day is parsed; the caller's wild month and year cannot derail.
  struct tm t = {};
  t.tm_mon = 2000000000;
  t.tm_year = -2000000000;
  ASSERT_NE(nullptr, ilx::parseTime("15", "%d", &t));
  EXPECT_GE(t.tm_wday, 0);
  EXPECT_LE(t.tm_wday, 6);
  // Every field (derived ones too) and the end agree with strptime, and the
  // public call with no code set gives the same.
  const char *cases[][2] = {
      {"99", "%y"}, {"69", "%y"}, {"68", "%y"}, {"00", "%y"}, {"18 75", "%C %y"},
      {"03 21", "%y %C"}, {"19 03", "%C %y"}, {"20", "%C"}, {"01/02/03", "%m/%d/%y"},
      {"12:05:09 AM", "%r"}, {"12:05:09 pm", "%r"}, {"7:30 PM", "%I:%M %p"},
      {"07:30 PM", "%H:%M %p"},  // PM leaves a 24-hour clock alone
      {"23:59:60", "%T"}, {"12/31/99 x", "%D "},  // trailing text stays
      {"21", "%m%d"},  // "%m" stops after "2": no month starts with 21
      {"20240315", "%Y%m%d"}, {"  5\t\n 6", "%d%n%m"},
      {"2024-02-29 13:14:15", "%Y-%m-%d %H:%M:%S"}, {"Thursday March 7 2024", "%A %B %d %Y"},
      {"thu mar 7 2024", "%a %b %e %Y"}, {"Sep 9 1999 11:00 pm", "%h %d %Y %I:%M %p"},
      {"2024 060", "%Y %j"}, {"2024 366", "%Y %j"}, {"1999 001", "%Y %j"},
      {"2024 10 3", "%Y %U %w"}, {"2024 10 3", "%Y %W %w"}, {"2023 00 0", "%Y %W %w"},
      {"2023 52 0", "%Y %U %w"},
      {"2021 01 Mon", "%Y %W %a"}, {"06/15/70", "%D"}, {"15.06.2070 00:00", "%d.%m.%Y %R"},
      {"1 2 3", "%d %m %y"}, {"17 99", "%C %y"}, {"%5", "%%%d"}, {"12", "%Om"}, {"Monday", "%A"},
      {"Dec", "%b"}, {"2000 12 31", "%Y %m %d"}, {"1900 02 28", "%Y %m %d"},
      {"2100 03 01", "%Y %m %d"},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(std::string(c[0]) + " / " + c[1]);
    struct tm mine = {}, theirs = {};
    const char *a = ilx::parseTime(c[0], c[1], &mine), *b = strptime(c[0], c[1], &theirs);
    ASSERT_NE(nullptr, b);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(b - c[0], a - c[0]);
    EXPECT_EQ(fields(theirs), fields(mine));
    struct tm pub = {};
    EXPECT_EQ(ilx_strptime(nullptr, nullptr, c[0], c[1], &pub), a);
    EXPECT_EQ(fields(pub), fields(mine));
  }
}

TEST(Recode, TimesAndTextsInTheHandlesCodeSet) {
  CodeSetT latin1 = ilx_cs_new("ISO-8859-1");
  ASSERT_NE(latin1, nullptr);
  const struct tm t = {5, 4, 13, 15, 2, 124, 5, 74, 0, 0, nullptr};  // Friday 2024-03-15 13:04:05
  // The result must fit the caller's size in the handle's code set.
  const struct { CodeSetT cs; size_t size; const char *format, *want; } rows[] = {
      {nullptr, 64, "%Y-%m-%d %H:%M:%S", "2024-03-15 13:04:05"}, {nullptr, 64, nullptr, ""},
      {nullptr, 4, "%Y-%m", ""}, {latin1, 32, "%d \xE9t\xE9 %Y", "15 \xE9t\xE9 2024"},
      {latin1, 11, "%d \xE9t\xE9 %Y", ""}, {latin1, 11, "%d\xE9t\xE9 %Y", "15\xE9t\xE9 2024"},
  };
  for (const auto &r : rows) {
    char out[64] = "", theirs[64] = "";
    const size_t n = ilx_strftime(r.cs, nullptr, out, r.size, r.format, &t);
    EXPECT_EQ(std::strlen(r.want), n) << r.format;
    EXPECT_EQ(std::string(n ? out : ""), r.want);
    if (r.cs != nullptr || n == 0) continue;  // the C library's result beside
    EXPECT_EQ(std::strftime(theirs, sizeof theirs, r.format, &t), n);
    EXPECT_STREQ(theirs, out);
  }
  // The end is in the caller's text: "été" takes 3 bytes here, 6 in UTF-8.
  const char *text = "\xE9t\xE9 2024-03-15 reste";
  struct tm p = {};
  EXPECT_EQ(text + 14, ilx_strptime(latin1, nullptr, text, "\xE9t\xE9 %Y-%m-%d", &p));
  EXPECT_EQ(fields(p), (std::array<int, 8>{0, 0, 0, 15, 2, 124, 5, 74}));
  EXPECT_EQ(nullptr, ilx_strptime(latin1, nullptr, "\xE8t\xE9 2024", "\xE9t\xE9 %Y", &p));
  EXPECT_EQ(nullptr, ilx_strptime(latin1, nullptr, nullptr, "%Y", &p));
  // Whole texts change code set both ways.
  CodeSetT utf8 = ilx_cs_new("UTF8");
  char *slot = nullptr, own[2 * 5 + 1], *into = own;
  char *u = ilx_s2u(latin1, "caf\xE9", &slot);
  EXPECT_EQ(u, slot);  // a new buffer lands in the slot
  EXPECT_STREQ("caf\xC3\xA9", u);
  EXPECT_EQ(own, ilx_u2s(latin1, u, &into));  // a slot that holds a buffer is written into
  EXPECT_STREQ("caf\xE9", own);
  char *c = ilx_strconv(latin1, utf8, "\xE0 la", nullptr);
  char *back = ilx_strconv(utf8, latin1, c, nullptr);
  EXPECT_STREQ("\xC3\xA0 la", c);
  EXPECT_STREQ("\xE0 la", back);
  // A null text gives an empty string, in the slot when there is one.
  slot = nullptr;
  char *e1 = ilx_u2s(nullptr, nullptr, nullptr), *e2 = ilx_s2u(nullptr, nullptr, &slot);
  EXPECT_STREQ("", e1);
  EXPECT_STREQ("", e2);
  EXPECT_EQ(e2, slot);
  for (char *p : {u, c, back, e1, e2}) BasMemoryFree(p);
  ilx_cs_free(latin1);
}

}  // namespace
