// The directive reader in both dialects: where they differ, and the slots both
// give numbered and sequential arguments.
#include "ilx/format_directive.h"

#include <gtest/gtest.h>
#include <climits>
#include <string>

namespace {

namespace fmt = ilx::fmt;
std::string num(long v) { return std::to_string(v); }

// The directive after '%': conversion, length, the fields not -1 (w width, p precision, a value
// slot, * width slot, . precision slot), $1 once positional, '|' and the rest; or "error".
std::string read(const fmt::Dialect &dialect, const char *text) {
  static const char *const kLength[] = {"", "l", "ll", "L", "h", "hh", "I64", "j", "q", "t", "z"};
  fmt::Directive d;
  int32_t next = 0, positional = 0;
  const char *p = text;
  if (!fmt::readDirective(p, dialect, next, positional, &d)) return "error";
  std::string s = std::string(1, d.cls == fmt::kBad ? '?' : d.conv) + kLength[d.length];
  const int32_t fields[] = {d.width,    d.precision,    d.arg,
                            d.widthArg, d.precisionArg, positional == 0 ? -1 : positional};
  for (int i = 0; i < 6; ++i)
    if (fields[i] != -1) s += std::string(" ") + "wpa*.$"[i] + num(fields[i]);
  return s + " |" + p;
}

TEST(FormatDirective, DialectsDiffer) {
  struct Row { const char *text, *engine, *family; };  // family null: as the engine
  const Row rows[] = {
      {"hhd", "dhh a0 |", "?h |d"}, {"I64x", "xI64 a0 |", "? |64x"},  // family: h l ll L
      {"-8a", "a w8 a0 |", "? w8 |"}, {"5%", "error", "% w5 |"},  // family: no a A F; '%'
      {"y", "error", "? |"}, {"", "error", "? |"}, {"*y", "error", "? *0 |"},  // '*' takes a slot
      {"9999$i", "d a9998 $1 |", nullptr}, {"10000$d", "error", "d a9999 $1 |"},  // highest N$
      {"10000d", "d w10000 a0 |", nullptr}, {".d", "d a0 |", "d p0 a0 |"},  // a bare '.'
      {"*99999999999$d", "error", "error"}, {"2147483648d", "error", "error"},
      // the same in both: flags, '*' before the value, numbered and sequential
      {"-+ #'012.3ld|", "dl w12 p3 a0 ||", nullptr}, {"*.*u", "u a2 *0 .1 |", nullptr},
      {"2$*1$.*3$c", "c a1 *0 .2 $1 |", nullptr}, {"*3$s", "s a0 *2 $1 |", nullptr},
  };
  for (const Row &r : rows) {
    EXPECT_EQ(r.engine, read(fmt::kEngineDialect, r.text)) << r.text;
    EXPECT_EQ(r.family ? r.family : r.engine, read(fmt::kPrintFamilyDialect, r.text)) << r.text;
  }
}

TEST(FormatDirective, StarValues) {
  struct Row { int64_t width, precision; const char *want; };  // "width flags precision"
  const Row rows[] = {{7, 2, "7 0 2|7 0 2"}, {-5, -3, "-5 0 -1|5 1 -1"},  // engine|family
      {INT_MIN, INT_MIN, "-2147483648 0 -1|2147483647 1 -1"},
      {int64_t{1} << 32 | 9, int64_t{1} << 32 | 4, "9 0 4|9 0 4"}};  // taken as 32-bit
  for (const Row &r : rows) {
    std::string got;
    for (const fmt::Dialect *d : {&fmt::kEngineDialect, &fmt::kPrintFamilyDialect}) {
      const fmt::Spec s = fmt::starSpec(*d, fmt::Spec{}, &r.width, &r.precision);
      got += (got.empty() ? "" : "|") + num(s.width) + " " + num(s.flags) + " " + num(s.precision);
    }
    EXPECT_EQ(r.want, got) << r.width;
  }
}

}  // namespace
