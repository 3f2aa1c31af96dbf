// Internal operations of the portability layer that other layers and the
// tests call: exported, but not part of the public headers.
#pragma once

#include <cstdint>

#include "lumex/cx.h"

extern "C" {

// Makes room for n further bytes and a terminator: the first allocation is
// 1024 bytes, then the capacity doubles until it exceeds what is needed.
LMX_API int cxStringBuffHasCapacity(CxStringBuff *buff, uint32_t n);

// Emits the parsed segments with the filled slot values. Returns the number of
// bytes appended; *failed is set to 1 at the first failure (emission stops
// there), else 0.
LMX_API int32_t cxPrintfEmitAll(CodeSetT cs, CxStringBuff *buff, const CxPrintfSegList *segs,
                                const CxPrintfArgList *args, int *failed);

// Index of the key (linear search), or -1, also for a null list or key.
LMX_API int32_t cxPropListFindKey(const CxPropList *list, const char *key);
// True when the list is not null and 0 <= index < count.
LMX_API unsigned char cxPropListIndexValid(const CxPropList *list, int32_t index);
// True when n further entries fit, growing the array when needed (room for
// count + n + 1 entries); on failure the list is left as it was.
LMX_API unsigned char cxPropListHasCapacity(CxPropList *list, int32_t n);

}  // extern "C"
