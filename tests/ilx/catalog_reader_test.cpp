// Reading catalogs: look-ups over sparse set and message numbers, code sets,
// and damaged files that must only make sets or messages missing.
#include <string>

#include "catalog_fixture.h"
#include "ilx/catalog.h"

using cattest::TempDir;

namespace {

const char *const kDflt = "default";

// Opens an image written to a fresh file.
MCCatalogT *openImage(const TempDir &dir, const std::string &name, const std::string &img) {
  cattest::writeFile(dir / name, img);
  return ilx_catopen((dir / name).c_str(), 0, nullptr);
}

std::string get(MCCatalogT *cat, int set, int key, CodeSetT cs = nullptr) {
  const char *t = ilx_catgets(cat, set, key, kDflt, cs);
  return t == kDflt ? "<default>" : t;
}

TEST(CatalogLookup, EveryMessageOfSparseSetsIsFoundAndNothingElse) {
  // Numbers chosen to exercise both searches: gaps, a first number far above
  // its index, and numbers above the element count.
  lmxgencat::Messages msgs;
  const int sets[] = {1, 2, 5, 6, 40, 41, 1000, 70000};
  const int keys[] = {1, 3, 4, 9, 10, 11, 50, 51, 52, 999, 100000};
  for (int s : sets)
    for (int k : keys) msgs[s][k] = "s" + std::to_string(s) + "k" + std::to_string(k);
  msgs[3][7] = "lonely";  // a set with one message, not at index 0
  TempDir dir;
  MCCatalogT *cat = openImage(dir, "sparse.cat", cattest::image(msgs));
  ASSERT_NE(cat, nullptr);
  for (int s = -2; s <= 1001; ++s) {
    for (int k = -1; k <= 60; ++k) {
      auto it = msgs.find(s);
      const bool present = it != msgs.end() && it->second.count(k);
      ASSERT_EQ(get(cat, s, k), present ? msgs[s][k] : "<default>") << s << "/" << k;
    }
  }
  EXPECT_EQ(get(cat, 70000, 100000), "s70000k100000");
  EXPECT_EQ(get(cat, 70000, 999), "s70000k999");
  EXPECT_EQ(get(cat, 70001, 1), "<default>");
  EXPECT_EQ(get(cat, 1000, 100001), "<default>");
  EXPECT_EQ(get(cat, INT32_MAX, INT32_MAX), "<default>");
  EXPECT_EQ(ilx_catclose(cat), 0);
}

TEST(CatalogLookup, MissingThingsGiveTheDefaultPointerItself) {
  TempDir dir;
  MCCatalogT *cat = openImage(dir, "one.cat", cattest::image({{1, {{1, "one"}}}}));
  ASSERT_NE(cat, nullptr);
  EXPECT_EQ(ilx_catgets(cat, 1, 0, kDflt, nullptr), kDflt);
  EXPECT_EQ(ilx_catgets(cat, -1, 1, kDflt, nullptr), kDflt);
  EXPECT_EQ(ilx_catgets(cat, INT32_MIN, 1, kDflt, nullptr), kDflt);
  EXPECT_EQ(ilx_catgets(cat, 1, INT32_MIN, kDflt, nullptr), kDflt);
  EXPECT_EQ(ilx_catgets(nullptr, 1, 1, kDflt, nullptr), kDflt);
  EXPECT_EQ(ilx_catgets(cat, 1, 1, nullptr, nullptr), std::string("one"));
  EXPECT_EQ(ilx_catgets(cat, 1, 2, nullptr, nullptr), nullptr);
  ilx_catclose(cat);
}

TEST(CatalogLookup, TextsInUtf8TheDefaultCodeSetAndATableCodeSet) {
  lmxgencat::Messages msgs;
  msgs[1][1] = "caf\xc3\xa9";              // é
  msgs[1][2] = "plain";
  msgs[2][1] = "\xe2\x82\xac 5";           // € 5
  msgs[4][3] = "gr\xc3\xbc\xc3\x9f" "e";  // grüße
  msgs[4][4] = "\xe4\xb8\xad";             // 中, in neither single-byte code set
  TempDir dir;
  MCCatalogT *cat = openImage(dir, "cs.cat", cattest::image(msgs));
  ASSERT_NE(cat, nullptr);
  CodeSetT utf8 = ilx_cs_new("utf-8");
  CodeSetT cp1252 = ilx_cs_new("CP1252");
  CodeSetT latin9 = ilx_cs_new("ISO-8859-15");
  ASSERT_NE(cp1252, nullptr) << "CP1252 table not found along ILXDIR";
  ASSERT_NE(latin9, nullptr) << "ISO-8859-15 table not found along ILXDIR";
  CodeSetT before = ilx_get_def_cs();
  ilx_set_def_cs(cp1252);  // in force when the sets load
  for (const auto &[s, set] : msgs)
    for (const auto &[k, text] : set) EXPECT_EQ(get(cat, s, k, utf8), text);
  const struct {
    int set, key;
    const char *cp1252, *latin9;
  } want[] = {
      {1, 1, "caf\xe9", "caf\xe9"},
      {1, 2, "plain", "plain"},
      {2, 1, "\x80 5", "\xa4 5"},
      {4, 3, "gr\xfc\xdf" "e", "gr\xfc\xdf" "e"},
  };
  for (const auto &w : want) {
    EXPECT_EQ(get(cat, w.set, w.key), w.cp1252) << w.set << "/" << w.key;
    EXPECT_EQ(get(cat, w.set, w.key, latin9), w.latin9) << w.set << "/" << w.key;
  }
  // Unmappable: one substitution byte, never the UTF-8 bytes.
  EXPECT_EQ(get(cat, 4, 4).size(), 1u);
  EXPECT_EQ(get(cat, 4, 4, latin9).size(), 1u);
  // The UTF-8 text is the stored one, stable across look-ups.
  EXPECT_EQ(ilx_catgets(cat, 1, 1, kDflt, utf8), ilx_catgets(cat, 1, 1, kDflt, utf8));
  ilx_set_def_cs(before);
  ilx_catclose(cat);
  ilx_cs_free(latin9);
  ilx_cs_free(cp1252);
}

TEST(CatalogLookup, DefaultCodeSetTextsAreMadeWhenTheSetLoads) {
  lmxgencat::Messages msgs{{1, {{1, "\xc3\xa9t\xc3\xa9"}}}, {2, {{1, "\xc3\xa0"}}}};
  TempDir dir;
  MCCatalogT *cat = openImage(dir, "defcs.cat", cattest::image(msgs));
  ASSERT_NE(cat, nullptr);
  CodeSetT latin1 = ilx_cs_new("ISO-8859-1");
  ASSERT_NE(latin1, nullptr);
  CodeSetT before = ilx_get_def_cs();
  ilx_set_def_cs(latin1);
  EXPECT_EQ(get(cat, 1, 1), "\xe9t\xe9");  // set 1 loads under ISO-8859-1
  ilx_set_def_cs(ilx_cs_new("UTF8"));
  EXPECT_EQ(get(cat, 1, 1), "\xe9t\xe9");  // kept
  EXPECT_EQ(get(cat, 2, 1), "\xc3\xa0");   // set 2 loads under UTF-8
  ilx_set_def_cs(before);
  ilx_cs_free(latin1);
  ilx_catclose(cat);
}

// --- damaged files ---

class DamagedCatalog : public ::testing::Test {
 protected:
  // Set 1: messages 1 "a", 2 "bb", 3 "ccc"; set 2: message 1 "x".
  void SetUp() override {
    img_ = cattest::image({{1, {{1, "a"}, {2, "bb"}, {3, "ccc"}}}, {2, {{1, "x"}}}});
  }
  MCCatalogT *open() { return openImage(dir_, "c" + std::to_string(++n_) + ".cat", img_); }
  TempDir dir_;
  std::string img_;
  int n_ = 0;
};

TEST_F(DamagedCatalog, InvalidSetRecordIsSkippedAndNotCounted) {
  cattest::put32(img_, cattest::setRec(0) + cattest::kInvalid, 1);
  cattest::put32(img_, cattest::kHdrNumSets, 1);
  MCCatalogT *cat = open();
  ASSERT_NE(cat, nullptr);
  EXPECT_EQ(cat->numSets, 1);
  EXPECT_EQ(get(cat, 1, 1), "<default>");
  EXPECT_EQ(get(cat, 2, 1), "x");
  // Counting the skipped record would need a third record the chain lacks.
  cattest::put32(img_, cattest::kHdrNumSets, 2);
  EXPECT_EQ(open(), nullptr);
}

TEST_F(DamagedCatalog, SetRecordsBreakingTheRulesAreMissing) {
  struct Case {
    const char *what;
    size_t field;
    uint32_t value;
  } cases[] = {
      {"text block past the end", cattest::kTextLen, 1000},
      {"negative text length", cattest::kTextLen, 0xFFFFFFFF},
      {"text offset past the end", cattest::kTextOff, 0x7FFFFFF0},
      {"messages past the end", cattest::kNumMsgs, 100},
      {"negative message count", cattest::kNumMsgs, 0x80000000},
      {"negative message offset", cattest::kMsgOff, 0xFFFFFFF0},
      {"negative set number", cattest::kSetNo, 0xFFFFFFFF},
  };
  const std::string good = img_;
  for (const Case &c : cases) {
    img_ = good;
    cattest::put32(img_, cattest::setRec(0) + c.field, c.value);
    cattest::put32(img_, cattest::kHdrNumSets, 1);
    MCCatalogT *cat = open();
    ASSERT_NE(cat, nullptr) << c.what;
    EXPECT_EQ(get(cat, 1, 2), "<default>") << c.what;
    EXPECT_EQ(get(cat, 2, 1), "x") << c.what;
  }
  // Out of order: set 2 first, set 1 second -> the second is missing.
  img_ = good;
  cattest::put32(img_, cattest::setRec(0) + cattest::kSetNo, 3);
  MCCatalogT *cat = open();
  ASSERT_EQ(cat, nullptr);  // the header counts two usable sets, the chain has one
}

TEST_F(DamagedCatalog, MessagesBreakingTheRulesAreMissing) {
  // Each case patches one word of set 1 and lists what keys 1, 2, 3 and 5
  // then give.
  struct Case {
    const char *what;
    size_t offset;
    uint32_t value;
    const char *want[4];
  } cases[] = {
      {"text offset outside the block", cattest::msgRec(img_, 0, 1) + 4, 500,
       {"a", "<default>", "ccc", "<default>"}},
      {"last text without its NUL", cattest::setRec(0) + cattest::kTextLen, 8,  // "a\0bb\0ccc"
       {"a", "bb", "<default>", "<default>"}},
      {"numbers out of order (1, 5, 3)", cattest::msgRec(img_, 0, 1), 5,
       {"a", "<default>", "<default>", "bb"}},
      {"number below 1", cattest::msgRec(img_, 0, 0), 0, {"<default>", "bb", "ccc", "<default>"}},
  };
  const std::string good = img_;
  for (const Case &c : cases) {
    img_ = good;
    cattest::put32(img_, c.offset, c.value);
    MCCatalogT *cat = open();
    ASSERT_NE(cat, nullptr) << c.what;
    const int keys[] = {1, 2, 3, 5};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(get(cat, 1, keys[i]), c.want[i]) << c.what << ", key " << keys[i];
  }
}

TEST_F(DamagedCatalog, OverlappingTextsCannotOverflowTheConversionAreas) {
  // "a\0bb\0ccc\0": 9 bytes, areas of 18. Pointing every message at "ccc"
  // asks 7 bytes each: the first two fit, the third is missing.
  for (int i = 0; i < 3; ++i) cattest::put32(img_, cattest::msgRec(img_, 0, i) + 4, 5);
  MCCatalogT *cat = open();
  ASSERT_NE(cat, nullptr);
  EXPECT_EQ(get(cat, 1, 1), "ccc");
  EXPECT_EQ(get(cat, 1, 2), "ccc");
  EXPECT_EQ(get(cat, 1, 3), "<default>");
}

TEST_F(DamagedCatalog, BadHeadersAndChainsAreRefused) {
  const std::string good = img_;
  img_[0] = 'X';
  EXPECT_EQ(open(), nullptr);
  img_ = good;
  cattest::put32(img_, 8, 2);  // version
  EXPECT_EQ(open(), nullptr);
  img_ = good;
  cattest::put32(img_, cattest::kHdrNumSets, 0);
  EXPECT_EQ(open(), nullptr);
  img_ = good;
  cattest::put32(img_, cattest::kHdrNumSets, 0x7FFFFFFF);  // no room for so many
  EXPECT_EQ(open(), nullptr);
  img_ = good;
  cattest::put32(img_, 24, 0xFFFFFF00);  // first set before the file
  EXPECT_EQ(open(), nullptr);
  // An invalid record pointing at itself must not loop forever.
  img_ = good;
  cattest::put32(img_, cattest::setRec(0) + cattest::kInvalid, 1);
  cattest::put32(img_, cattest::setRec(0) + cattest::kNext, static_cast<uint32_t>(cattest::setRec(0)));
  EXPECT_EQ(open(), nullptr);
}

TEST_F(DamagedCatalog, EveryTruncationOpensSafelyOrNotAtAll) {
  const std::string good = img_;
  for (size_t len = 0; len < good.size(); ++len) {
    img_ = good.substr(0, len);
    MCCatalogT *cat = open();
    if (!cat) continue;
    // Whatever loads must be intact; the rest is the default.
    const std::string a = get(cat, 1, 2), b = get(cat, 2, 1);
    EXPECT_TRUE(a == "bb" || a == "<default>") << len;
    EXPECT_TRUE(b == "x" || b == "<default>") << len;
    ilx_catclose(cat);
  }
}

TEST(CatalogRecords, ByteOrderConversionsAreBigEndianAndInverse) {
  MCSetTDisk s{1, 2, 3, 4, 5, 6, -7};
  hton_MCSetTDisk(&s);
  const auto *b = reinterpret_cast<const unsigned char *>(&s);
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(b[3], 1);
  EXPECT_EQ(b[27], 0xF9);  // -7
  EXPECT_EQ(b[24], 0xFF);
  ntoh_MCSetTDisk(&s);
  EXPECT_EQ(s.setNo, 1);
  EXPECT_EQ(s.invalid, -7);
  MCHeaderT h{{'*', 'n', 'a', 'z', 'g', 'u', 'l', '*'}, 1, 0, 0, 3, 28};
  hton_MCHeaderT(&h);
  EXPECT_EQ(std::string(h.magic, 8), "*nazgul*");  // the magic is not touched
  EXPECT_EQ(reinterpret_cast<const unsigned char *>(&h)[11], 1);
  ntoh_MCHeaderT(&h);
  EXPECT_EQ(h.numSets, 3);
  EXPECT_EQ(h.firstSet, 28);
  MCMsgTDisk m{0x01020304, 0, 0};
  hton_MCMsgTDisk(&m);
  EXPECT_EQ(reinterpret_cast<const unsigned char *>(&m)[0], 1);
  ntoh_MCMsgTDisk(&m);
  EXPECT_EQ(m.msgNo, 0x01020304);
  hton_MCMsgTDisk(nullptr);  // ignored
}

}  // namespace
