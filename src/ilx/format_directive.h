// Printf directives: the text after a '%' read into flags, width, precision,
// length modifier and conversion, with argument slots for the value and for
// a width or precision given as '*'. One reader serves both printf dialects
// of the library, the string buffer's engine and the ilx print family, which
// differ in these points (engine | print family):
//   length modifiers     h hh l ll L j q t z Z I64 | h l ll L
//   conversions          d i o u x X c C s S p n a A e E f F g G |
//                        the same without a A F, plus '%' as a directive
//                        that takes flags and a width ("%5%")
//   unknown conversion   a parse error | the caller reports it and the
//                        directive prints nothing
//   highest "N$"         9999, a larger N before '$' failing (without '$'
//                        the digits are a width) | INT_MAX, any larger
//                        number where an "N$" may stand failing
//   bare '.' ("%.d")     no precision | precision 0
//   negative '*' width   no padding | left-justified by its magnitude
// Both mix numbered and sequential arguments (sequential ones count on by
// themselves), take the slots of '*' before the value's sequential slot, and
// accept %n, which never writes. Slot typing stays with each caller: the
// engine lets a later reference retype a slot, the print family fails a
// slot read as two types and more slots than three per '%'.
#pragma once

#include <climits>
#include <cstdint>

#include "ilx/format_value.h"

namespace ilx::fmt {

// Length modifiers: none l ll L h hh I64 j q t z (Z reads as z).
enum Length : unsigned char {
  kLenNone, kLenL, kLenLL, kLenLD, kLenH, kLenHH, kLenI64, kLenJ, kLenQ, kLenT, kLenZ, kLengths
};

// Conversion classes: d i | o u x X | c | C | s | S | p | n | floating | %.
enum ConvClass : unsigned char {
  kBad, kSigned, kUnsigned, kChar, kWideChar, kString, kWideStr, kPointer, kCount, kFloat, kPercent,
  kClasses
};

// The rules in which the dialects differ (the list at the top).
struct Dialect {
  const char *conversions;   // accepted conversion characters
  uint32_t lengths;          // accepted modifiers, bit 1 << Length
  int32_t maxArgNumber;      // highest N of "N$"
  bool hugeArgNumberFails;   // a number past maxArgNumber fails even without '$'
  bool unknownFails;         // an unknown conversion is a parse error
  int32_t bareDotPrecision;  // precision of a '.' without digits or '*'
  bool negativeWidthLeft;    // a negative '*' width left-justifies
};
inline constexpr Dialect kEngineDialect{"diouxXcCsSpnaAeEfFgG", (1u << kLengths) - 1, 9999, false, true, -1,
                                        false};
inline constexpr Dialect kPrintFamilyDialect{"diouxXcCsSpneEfgG%",
                                             1u << kLenH | 1u << kLenL | 1u << kLenLL | 1u << kLenLD,
                                             INT_MAX, true, false, 0, true};

struct Directive {
  uint32_t flags = 0;  // kLeft ...
  int32_t arg = -1;    // slot of the value; -1 for '%' and unknown conversions
  int32_t width = -1, widthArg = -1;          // -1: not given
  int32_t precision = -1, precisionArg = -1;  // -1: not given
  Length length = kLenNone;
  ConvClass cls = kBad;  // kBad: not a conversion of the dialect
  char conv = 0;         // the conversion character, 'i' read as 'd'
};

// Reads one directive after its '%' into out, p moving past it. Sequential
// slots come from nextArg; positional is set once an "N$" is read. False on a
// parse error.
bool readDirective(const char *&p, const Dialect &dialect, int32_t &nextArg, int32_t &positional,
                   Directive *out);

// The conversion s with a '*' width and precision taken from their argument
// values (null: not given) as 32-bit numbers; a negative precision is none.
Spec starSpec(const Dialect &dialect, Spec s, const int64_t *width, const int64_t *precision);

}  // namespace ilx::fmt
