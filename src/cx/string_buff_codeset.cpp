// The string buffer and code sets: appending wide strings converted into a
// code set, and changing the text in place to UTF-8 or from UTF-8.
#include "cx/string_buff.h"
#include "lumex/cx.h"
#include "lumex/ilx.h"

namespace {

using Convert = int (*)(CodeSetT, const char *, int, char *, int);

// Converts the text into a fresh buffer of factor x length bytes and swaps it
// in; the old text stays when the conversion fails.
int change(CodeSetT cs, CxStringBuff *buff, Convert convert, uint64_t factor) {
  if (buff == nullptr) return 0;
  CxStringBuff fresh{};
  if (!cx::sbGrow(&fresh, uint64_t{buff->length} * factor)) return 0;
  const int n = convert(cs, buff->data != nullptr ? buff->data : "",
                        static_cast<int>(buff->length), fresh.data,
                        static_cast<int>(fresh.capacity - 1));
  if (n < 0 || static_cast<uint32_t>(n) >= fresh.capacity) {
    CxStringBuffDiscard(&fresh);
    return 0;
  }
  fresh.data[n] = '\0';
  fresh.length = static_cast<uint32_t>(n);
  CxStringBuffDiscard(buff);
  *buff = fresh;
  return 1;
}

}  // namespace

extern "C" {

int CxStringBuffAppendWStrN(CxStringBuff *buff, CodeSetT cs, const uint16_t *ws, int32_t limit) {
  if (buff == nullptr || ws == nullptr || limit < -1) return 0;
  if (!cx::sbReserve(buff, 0)) return 0;
  uint64_t appended = 0;
  // No unit is read once the limit is used up: the array may end there.
  const uint64_t most = limit < 0 ? UINT64_MAX : static_cast<uint64_t>(limit);
  for (; appended < most && *ws != 0; ++ws) {
    char bytes[4];
    const int n = ilx_wctomb(cs, bytes, *ws);
    if (n < 0) return 0;  // what was appended before stays
    if (appended + static_cast<uint64_t>(n) > most) break;
    if (!cx::sbPut(buff, bytes, static_cast<size_t>(n))) return 0;
    appended += static_cast<uint64_t>(n);
  }
  return 1;
}

int CxStringBuffChangeFromUTF8(CodeSetT cs, CxStringBuff *buff) {
  return change(cs, buff, ilx_from_utf8, 2);
}

int CxStringBuffChangeToUTF8(CodeSetT cs, CxStringBuff *buff) {
  return change(cs, buff, ilx_to_utf8, 3);
}

}  // extern "C"
