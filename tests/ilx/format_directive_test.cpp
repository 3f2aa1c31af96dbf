// The directive reader in both dialects: where they differ, and the slots both
// give numbered and sequential arguments.
#include "ilx/format_directive.h"

#include <gtest/gtest.h>
#include <climits>
#include <string>

namespace {

namespace fmt = ilx::fmt;

// The directive after '%' as "conversion+length w<width> p<precision> a<value
// slot>*<width slot>.<precision slot> $<positional> |rest", or "error".
std::string read(const fmt::Dialect &dialect, const char *text) {
  static const char *const kLength[] = {"", "l", "ll", "L", "h", "hh", "I64", "j", "q", "t", "z"};
  fmt::Directive d;
  int32_t next = 0, positional = 0;
  const char *p = text;
  if (!fmt::readDirective(p, dialect, next, positional, &d)) return "error";
  return std::string(1, d.cls == fmt::kBad ? '?' : d.conv) + kLength[d.length] + " w" + std::to_string(d.width) +
         " p" + std::to_string(d.precision) + " a" + std::to_string(d.arg) + "*" + std::to_string(d.widthArg) + "." +
         std::to_string(d.precisionArg) + " $" + std::to_string(positional) + " |" + p;
}

TEST(FormatDirective, DialectsDiffer) {
  struct Row {
    const char *text, *engine, *family;
  };
  const Row rows[] = {
      // length modifiers: the family reads only h l ll L
      {"hhd", "dhh w-1 p-1 a0*-1.-1 $0 |", "?h w-1 p-1 a-1*-1.-1 $0 |d"},
      {"I64x", "xI64 w-1 p-1 a0*-1.-1 $0 |", "? w-1 p-1 a-1*-1.-1 $0 |64x"},
      // conversions: no a A F in the family, '%' a directive there
      {"-8a", "a w8 p-1 a0*-1.-1 $0 |", "? w8 p-1 a-1*-1.-1 $0 |"},
      {"5%", "error", "% w5 p-1 a-1*-1.-1 $0 |"},
      {"y", "error", "? w-1 p-1 a-1*-1.-1 $0 |"},
      {"", "error", "? w-1 p-1 a-1*-1.-1 $0 |"},
      {"*y", "error", "? w-1 p-1 a-1*0.-1 $0 |"},  // its '*' still takes a slot
      // the highest argument number
      {"9999$i", "d w-1 p-1 a9998*-1.-1 $1 |", "d w-1 p-1 a9998*-1.-1 $1 |"},
      {"10000$d", "error", "d w-1 p-1 a9999*-1.-1 $1 |"},
      {"10000d", "d w10000 p-1 a0*-1.-1 $0 |", "d w10000 p-1 a0*-1.-1 $0 |"},
      {"*99999999999$d", "error", "error"},
      {"2147483648d", "error", "error"},
      // a bare '.'
      {".d", "d w-1 p-1 a0*-1.-1 $0 |", "d w-1 p0 a0*-1.-1 $0 |"},
      // the same in both: flags, '*' before the value, numbered and sequential
      {"-+ #'012.3ld|", "dl w12 p3 a0*-1.-1 $0 ||", "dl w12 p3 a0*-1.-1 $0 ||"},
      {"*.*u", "u w-1 p-1 a2*0.1 $0 |", "u w-1 p-1 a2*0.1 $0 |"},
      {"2$*1$.*3$c", "c w-1 p-1 a1*0.2 $1 |", "c w-1 p-1 a1*0.2 $1 |"},
      {"*3$s", "s w-1 p-1 a0*2.-1 $1 |", "s w-1 p-1 a0*2.-1 $1 |"},
  };
  for (const Row &r : rows) {
    EXPECT_EQ(r.engine, read(fmt::kEngineDialect, r.text)) << r.text;
    EXPECT_EQ(r.family, read(fmt::kPrintFamilyDialect, r.text)) << r.text;
  }
}

TEST(FormatDirective, StarValues) {
  struct Row {
    int64_t width, precision;
    const char *want;  // "width flags precision" in the engine | in the family
  };
  const Row rows[] = {{7, 2, "7 0 2|7 0 2"},
                      {-5, -3, "-5 0 -1|5 1 -1"},
                      {INT_MIN, INT_MIN, "-2147483648 0 -1|2147483647 1 -1"},
                      {int64_t{1} << 32 | 9, int64_t{1} << 32 | 4, "9 0 4|9 0 4"}};  // taken as 32-bit
  for (const Row &r : rows) {
    std::string got;
    for (const fmt::Dialect *d : {&fmt::kEngineDialect, &fmt::kPrintFamilyDialect}) {
      const fmt::Spec s = fmt::starSpec(*d, fmt::Spec{}, &r.width, &r.precision);
      got += (got.empty() ? "" : "|") + std::to_string(s.width) + " " + std::to_string(s.flags) + " " +
             std::to_string(s.precision);
    }
    EXPECT_EQ(r.want, got) << r.width;
  }
}

}  // namespace
