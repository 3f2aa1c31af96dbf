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
extern "C" {
int ilx_iswupper(uint16_t c) { return ilx::hasClass(c, ilx::kClassUpper); }
int ilx_iswlower(uint16_t c) { return ilx::hasClass(c, ilx::kClassLower); }
int ilx_iswdigit(uint16_t c) { return ilx::hasClass(c, ilx::kClassDigit); }
int ilx_iswspace(uint16_t c) { return ilx::hasClass(c, ilx::kClassSpace); }
int ilx_iswpunct(uint16_t c) { return ilx::hasClass(c, ilx::kClassPunct); }
int ilx_iswcntrl(uint16_t c) { return ilx::hasClass(c, ilx::kClassCntrl); }
int ilx_iswblank(uint16_t c) { return ilx::hasClass(c, ilx::kClassBlank); }
int ilx_iswxdigit(uint16_t c) { return ilx::hasClass(c, ilx::kClassXdigit); }
int ilx_iswalpha(uint16_t c) { return ilx::hasClass(c, ilx::kClassAlpha); }
int ilx_iswalnum(uint16_t c) { return ilx::hasClass(c, ilx::kClassAlnum); }
int ilx_iswgraph(uint16_t c) { return ilx::hasClass(c, ilx::kClassGraph); }
int ilx_iswprint(uint16_t c) { return ilx::hasClass(c, ilx::kClassPrint); }
}  // extern "C"
