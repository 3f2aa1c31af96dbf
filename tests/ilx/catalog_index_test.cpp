// The catalog look-up by index against plain binary searches over the same
// records, on generated catalogs: one set or several, consecutive and gapped
// numbers, thousands of messages, damaged numbers, and every kind of key.
#include <random>
#include <string>
#include <vector>

#include "catalog_fixture.h"
#include "ilx/catalog.h"

namespace {

// Reference binary search over ascending records numbered by `no`.
template <class T, class No>
T *search(T *rec, int64_t count, int32_t key, No no) {
  for (int64_t lo = 0, hi = count - 1; lo <= hi;) {
    const int64_t m = lo + (hi - lo) / 2;
    if (no(rec[m]) == key) return &rec[m];
    if (no(rec[m]) < key) lo = m + 1; else hi = m - 1;
  }
  return nullptr;
}

TEST(CatalogIndex, FindsExactlyWhatASearchByNumberFinds) {
  using namespace cattest;
  std::mt19937 rng(10);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  TempDir dir;
  const char *const dflt = "default";
  for (int round = 0; round < 48; ++round) {
    // Shapes: one set; several with gaps; messages numbered consecutively,
    // by component (1001, 1002, 2001, ...) or with random gaps.
    lmxgencat::Messages msgs;
    const int sets = round % 3 == 0 ? 1 : 1 + pick(8);
    int setNo = pick(3);
    for (int s = 0; s < sets; ++s, setNo += 1 + (round % 2 ? pick(50) : 0)) {
      const int count = round % 8 == 0 ? 2000 + pick(2000) : 1 + pick(300);
      int k = 1;
      for (int i = 0; i < count; ++i) {
        msgs[setNo][k] = "s" + std::to_string(setNo) + "k" + std::to_string(k);
        k += round % 3 == 0 ? 1 : round % 3 == 1 ? (i % 20 == 19 ? 1000 - 19 : 1) : 1 + pick(9);
      }
    }
    std::string img = image(msgs);
    // Damage: message numbers out of order, zero, negative or repeated, and
    // set numbers out of order; the reader drops those records.
    if (round % 4 == 3) {
      const int32_t bad[] = {0, -1, -100000, INT32_MIN, 1, 5, INT32_MAX};
      const int setCount = static_cast<int>(msgs.size());
      for (int d = 0; d < 12; ++d) {
        const int s = pick(setCount);
        const int n = static_cast<int>(get32(img, setRec(s) + kNumMsgs));
        if (n > 0) put32(img, msgRec(img, s, pick(n)), static_cast<uint32_t>(bad[pick(7)]));
      }
      if (setCount > 1) put32(img, setRec(pick(setCount)) + kSetNo, 0);
    }
    MCCatalogT *cat = openImage(dir / ("c" + std::to_string(round) + ".cat"), img);
    if (cat == nullptr) {  // damaged set records may leave no readable catalog
      ASSERT_EQ(round % 4, 3);
      continue;
    }
    // Every number present, its neighbours, keys beyond the last, and the
    // extremes, in every set and in sets that do not exist.
    std::vector<int32_t> setKeys = {-1, 0, INT32_MIN, INT32_MAX, setNo, setNo + 1000};
    std::vector<int32_t> msgKeys = {-1, 0, INT32_MIN, INT32_MAX, 1, 2};
    for (const auto &[s, texts] : msgs) {
      setKeys.insert(setKeys.end(), {s - 1, s, s + 1});
      for (const auto &entry : texts) msgKeys.insert(msgKeys.end(), {entry.first, entry.first + 1});
      msgKeys.push_back(texts.rbegin()->first + 1000000);
    }
    size_t found = 0;
    for (int32_t s : setKeys) {
      for (int32_t k : msgKeys) {
        MCSetT *set = search(cat->sets, cat->numSets, s, [](const MCSetT &r) { return r.setNo; });
        if (set && set->loadState != 0 && !ilx::catalogLoadSet(cat, set)) set = nullptr;
        const MCMsgT *msg = set == nullptr || set->loadState != 0 ? nullptr
            : search(set->msgs, set->msgCount, k, [](const MCMsgT &r) { return r.msgNo; });
        ASSERT_EQ(ilx_catgets(cat, s, k, dflt, nullptr), msg ? msgLocal(set, msg) : dflt)
            << "round " << round << " set " << s << " key " << k;
        found += msg != nullptr;
      }
    }
    EXPECT_GT(found, 0u) << round;
    ilx_catclose(cat);
  }
}

}  // namespace
