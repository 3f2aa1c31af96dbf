// Looking messages up: the set and message searches and ilx_catgets.
#include "ilx/catalog.h"

namespace {

// Binary search over the ascending set numbers with inclusive bounds. The
// first probe goes straight to index s (set numbers are distinct and not
// negative, so set s cannot stand further on), and each probe below the
// target narrows the upper bound by the same argument.
inline MCSetT *findSet(MCCatalogT *cat, int32_t s) {
  if (!cat || s < 0 || cat->numSets < 1) return nullptr;
  const int64_t count = cat->numSets;
  int64_t lo = 0, hi, m;
  if (s < count) {
    m = s;
    hi = s;
  } else {
    m = (count - 1) / 2;
    hi = count - 1;
  }
  int dir = 0;
  for (;;) {
    if (lo > hi || m < lo || m > hi) return nullptr;
    MCSetT *set = &cat->sets[m];
    const int64_t x = set->setNo;
    if (x == s) {
      if (set->loadState != 0 && !ilx::catalogLoadSet(cat, set)) return nullptr;
      return set;
    }
    if (x < s) {
      lo = m + 1;
      if (m + (s - x) < hi) hi = m + (s - x);
      dir = 1;
    } else {
      hi = m;
      dir = -1;
    }
    int64_t next = lo + (hi - lo) / 2;
    m = next == m ? m + dir : next;
  }
}

// Binary search over the ascending message numbers with an exclusive upper
// bound, starting at index key - 1 (numbers start at 1 and are distinct).
inline const MCMsgT *findMsg(const MCSetT *set, int32_t k) {
  if (!set || set->loadState != 0 || set->msgCount < 1 || k < 1) return nullptr;
  const int64_t count = set->msgCount;
  int64_t lo = 0, hi, m;
  if (k - 1 < count) {
    m = k - 1;
    hi = k;
  } else {
    m = count / 2;
    hi = count;
  }
  for (;;) {
    if (m < lo || m >= hi) return nullptr;
    const MCMsgT *msg = &set->msgs[m];
    const int64_t x = msg->msgNo;
    if (x == k) return msg;
    int dir;
    if (x < k) {
      lo = m + 1;
      if (m + (k - x) + 1 < hi) hi = m + (k - x) + 1;
      dir = 1;
    } else {
      hi = m;
      dir = -1;
    }
    if (lo >= hi) return nullptr;
    m += hi - lo == 1 ? dir : dir * ((hi - lo) / 2);
  }
}

// The shared UTF-8 handle, which is never freed.
CodeSetT utf8Handle() {
  static const CodeSetT h = ilx_cs_new("UTF8");
  return h;
}

}  // namespace

namespace ilx {

MCSetT *catalogFindSet(MCCatalogT *cat, int32_t setNo) { return findSet(cat, setNo); }
const MCMsgT *catalogFindMsg(const MCSetT *set, int32_t key) { return findMsg(set, key); }

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
