// Property texts come from files that users write: every converter, the
// typed getters and the token iterator that splits listener names must
// take any bytes.
#include "collections/collections_intl.h"
#include "config/property_values.h"
#include "fuzz_common.h"
#include "lumex/collections.h"
#include "lumex/config.h"

FUZZ_TARGET(in) {
  // The first byte picks how many of the following bytes are separators.
  size_t sepLen = in.next(1) % 4;
  if (sepLen > in.n) sepLen = 0;
  const std::string seps = in.take(sepLen).str();
  const std::string text = in.str();
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
    fuzz::require(token != nullptr);
    const size_t len = std::strlen(token);
    fuzz::require(len > 0 && (seps.empty() || std::strpbrk(token, seps.c_str()) == nullptr));
    covered += len;
    fuzz::require(covered <= text.size());
    BasMemoryFree(token);
  }
}
