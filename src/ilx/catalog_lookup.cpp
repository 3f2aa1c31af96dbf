// Looking messages up: sets and messages by number, and ilx_catgets.
#include "ilx/catalog.h"

namespace {

// Sets and messages are found through the index built when they were read;
// the reader keeps their numbers distinct (and sets not negative, messages
// at least 1), so the index gives exactly what a search by number gives.
inline MCSetT *findSet(MCCatalogT *cat, int32_t s) {
  if (!cat || s < 0 || cat->numSets < 1) return nullptr;
  // Most catalogs have one set: then its number alone decides.
  const int32_t at = cat->numSets == 1 ? (cat->sets[0].setNo == s ? 0 : -1)
                                       : ilx::indexFind(cat->setIndex, s);
  if (at < 0) return nullptr;
  MCSetT *set = &cat->sets[at];
  if (__builtin_expect(set->loadState != 0, 0) && !ilx::catalogLoadSet(cat, set)) return nullptr;
  return set;
}

// A message of a loaded set (numbers below 1 are in no index).
inline const MCMsgT *findMsg(const MCSetT *set, int32_t k) {
  if (!set) return nullptr;
  const int32_t at = ilx::indexFind(set->index, k);
  return at < 0 ? nullptr : &set->msgs[at];
}

// The shared UTF-8 handle, which is never freed.
CodeSetT utf8Handle() {
  static const CodeSetT h = ilx_cs_new("UTF8");
  return h;
}

}  // namespace

namespace ilx {

MCSetT *catalogFindSet(MCCatalogT *cat, int32_t setNo) { return findSet(cat, setNo); }
const MCMsgT *catalogFindMsg(const MCSetT *set, int32_t key) {
  return set && set->loadState == 0 ? findMsg(set, key) : nullptr;
}

}  // namespace ilx

extern "C" const char *ilx_catgets(MCCatalogT *cat, int32_t set, int32_t key, const char *dflt, CodeSetT cs) {
  const MCSetT *s = findSet(cat, set);
  const MCMsgT *m = findMsg(s, key);
  if (!m) return dflt;
  if (!cs) return msgLocal(s, m);
  if (cs == utf8Handle()) return msgUtf8(s, m);
  // Converted again on every call, into the message's own scratch area of
  // 2n + 1 bytes.
  char *scratch = msgScratch(s, m);
  const char *converted = ilx_u2s(cs, msgUtf8(s, m), &scratch);
  return converted ? converted : dflt;
}
