// Class tests of wide characters through the generated property records.
#include "ilx/wchar_tables.h"
#include "lumex/ilx.h"

namespace ilx {
namespace {

inline const WideClassRecord &recordOf(uint16_t c) {
  if (c < 0x200) return kClassLowRecords[kClassLowIndex[c]];
  const uint16_t first = kClassBlockIndex[c >> 8];
  if (first < 256) return kClassRecords[first];
  return kClassRecords[kClassBlocks[(first - 256u) * 256u + (c & 0xFFu)]];
}

// True when every bit of mask is set in c's record.
inline int hasClass(uint16_t c, uint16_t mask) { return (recordOf(c).mask & mask) == mask ? 1 : 0; }

}  // namespace
}  // namespace ilx

// One exported test per class bit.
#define ILX_CLASS_TESTS(X)                                                                    \
  X(upper, kClassUpper) X(lower, kClassLower) X(digit, kClassDigit) X(space, kClassSpace)     \
  X(punct, kClassPunct) X(cntrl, kClassCntrl) X(blank, kClassBlank) X(xdigit, kClassXdigit) \
  X(alpha, kClassAlpha) X(alnum, kClassAlnum) X(graph, kClassGraph) X(print, kClassPrint)

#define ILX_DEFINE_CLASS_TEST(name, bit) \
  int ilx_isw##name(uint16_t c) { return ilx::hasClass(c, ilx::bit); }

extern "C" {
ILX_CLASS_TESTS(ILX_DEFINE_CLASS_TEST)
}  // extern "C"
