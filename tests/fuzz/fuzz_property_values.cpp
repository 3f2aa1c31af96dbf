// Property texts come from files that users write: every converter, the
// typed getters and the token iterator that splits listener names must
// take any bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "collections/collections_intl.h"
#include "config/property_values.h"
#include "lumex/collections.h"
#include "lumex/config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The first byte picks how many of the following bytes are separators.
  size_t sepLen = size > 0 ? data[0] % 4 : 0;
  if (sepLen + 1 > size) sepLen = 0;
  std::string seps(reinterpret_cast<const char *>(data) + (size > 0 ? 1 : 0), sepLen);
  std::string text(reinterpret_cast<const char *>(data) + (size > 0 ? 1 + sepLen : 0),
                   size > 0 ? size - 1 - sepLen : 0);
  const char *t = text.c_str();

  unsigned char found;
  lmxPropStrToBool(t, &found);
  lmxPropStrToChar(t, &found);
  lmxPropStrToInt32(t, &found);
  lmxPropStrToInt64(t, &found);
  lmxPropStrToFloat32(t, &found);
  lmxPropStrToFloat64(t, &found);

  StringToStringMap *map = lmxIntlAllocStringToStringMap();
  lmxIntlStringToStringMapPut(map, "k", t);
  LmxGetMapPropInt(map, "k", &found);
  LmxGetMapPropDouble(map, "k", &found);
  LmxGetMapPropBool(map, "k", &found);
  lmxIntlFreeStringToStringMap(map);

  // Tokens must be non-empty, free of separators, and cover no more text
  // than there is.
  size_t covered = 0;
  for (LmxStrTokIter it = LmxStrTokIterator(t, seps.c_str()); LmxStrTokIterHasNext(it);
       it = LmxStrTokIterNext(it)) {
    char *token = LmxStrTokIterGet(it);
    if (token == nullptr) __builtin_trap();
    size_t len = std::strlen(token);
    if (len == 0 || (!seps.empty() && std::strpbrk(token, seps.c_str()) != nullptr)) {
      __builtin_trap();
    }
    covered += len;
    if (covered > text.size()) __builtin_trap();
    BasMemoryFree(token);
  }
  return 0;
}
