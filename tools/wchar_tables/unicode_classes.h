// Class bits of one code point, derived from ICU's Unicode properties.
// Shared by the table generator and the tests that check the tables.
//
//   upper   Uppercase                      lower   Lowercase
//   alpha   Alphabetic, and decimal digits other than 0-9 (so that every
//           decimal digit is alphanumeric while digit keeps C's meaning)
//   digit   0-9                            xdigit  0-9 A-F a-f
//   alnum   alpha or digit                 space   White_Space
//   blank   White_Space without the line and paragraph ends (tab, space, ...)
//   cntrl   general category Cc
//   graph   not space, not Cc, not a surrogate, not unassigned
//   print   graph or blank, not cntrl
//   punct   graph and not alnum (as C's ASCII punctuation)
#pragma once

#include <unicode/uchar.h>

#include <cstdint>

namespace wchar_tables {

inline uint16_t unicodeClassMask(UChar32 c) {
  const bool asciiDigit = c >= '0' && c <= '9';
  const bool digit = asciiDigit;
  const bool xdigit = asciiDigit || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
  const bool alpha = u_isUAlphabetic(c) || (u_charType(c) == U_DECIMAL_DIGIT_NUMBER && !asciiDigit);
  const bool alnum = alpha || digit;
  const bool space = u_isUWhiteSpace(c);
  const bool blank = u_hasBinaryProperty(c, UCHAR_POSIX_BLANK);
  const bool cntrl = u_charType(c) == U_CONTROL_CHAR;
  const bool graph = u_hasBinaryProperty(c, UCHAR_POSIX_GRAPH);
  const bool print = u_hasBinaryProperty(c, UCHAR_POSIX_PRINT);
  const bool punct = graph && !alnum;
  uint16_t m = 0;
  if (u_isUUppercase(c)) m |= 0x0001;
  if (u_isULowercase(c)) m |= 0x0002;
  if (digit) m |= 0x0004;
  if (space) m |= 0x0008;
  if (punct) m |= 0x0010;
  if (cntrl) m |= 0x0020;
  if (blank) m |= 0x0040;
  if (xdigit) m |= 0x0080;
  if (alpha) m |= 0x0100;
  if (alnum) m |= 0x0200;
  if (graph) m |= 0x0400;
  if (print) m |= 0x0800;
  return m;
}

// The covered case ranges above 0x1FF (first, last), per direction. Values up
// to 0x1FF are always covered.
struct Range {
  uint16_t first, last;
};
constexpr Range kUpperRanges[] = {
    {0x03AC, 0x03CE},  // Greek
    {0x0430, 0x045F},  // Cyrillic
    {0x0491, 0x04CC},  // Cyrillic extended
    {0x1E00, 0x1FFC},  // Latin Extended Additional, Greek Extended
    {0xFF41, 0xFF5A},  // full-width Latin
};
constexpr Range kLowerRanges[] = {
    {0x0386, 0x03AB},
    {0x0401, 0x042F},
    {0x0490, 0x04CB},
    {0x1E00, 0x1FFC},  // every capital of both blocks, from Ḁ to ῼ
    {0xFF21, 0xFF3A},
};

}  // namespace wchar_tables
