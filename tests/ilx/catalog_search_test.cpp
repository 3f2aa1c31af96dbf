// Finding catalog files (NLSPATH handling, template expansion, the locale
// candidates with the flags that switch them off) and the catalog cache.
#include <gtest/gtest-spi.h>
#include <sys/stat.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "catalog_fixture.h"
#include "ilx/catalog.h"

using cattest::EnvVar;
using cattest::TempDir;

namespace {

TEST(CatalogTemplate, DirectivesLocalePartsAndLengthLimit) {
  const std::string dir(1017, 'd'), n300(300, 'n');
  const struct { std::string tmpl; const char *name, *locale; std::string want; } rows[] = {
      {"%L/%l/%t/%c", "m", "de_DE.ISO8859-1", "de_DE.ISO8859-1/de/DE/ISO8859-1"},
      {"%L/%l/%t/%c", "m", "C", "C/C//"}, {"%l|%t|%c", "m", "en.UTF-8", "en||UTF-8"},
      {"%l|%t|%c", "m", "pt_BR", "pt|BR|"},
      {"/usr/%N/%N.cat", "lmxmsg", "C", "/usr/lmxmsg/lmxmsg.cat"},
      {"%%N", "m", "C", "%m"},       // "%" copied, then "%N" read again
      {"a%xb%", "m", "C", "a%xb%"},  // unknown and trailing "%" stay
      {dir + "/%N.cat", "m", "C", dir + "/m.cat"},  // 1023 bytes fit
      {dir + "/%N.cats", "m", "C", "<too long>"},
      {std::string(500, 'x') + "%N%N", n300.c_str(), "C", "<too long>"},
  };
  for (const auto &r : rows) {
    char out[ilx::kCatPathMax];
    const bool ok = ilx::expandTemplate(r.tmpl.data(), r.tmpl.size(), r.name, r.locale, out);
    EXPECT_EQ(ok ? out : "<too long>", r.want) << r.tmpl;
  }
}

// A folder with catalog files at chosen relative places.
class CatalogSearch : public ::testing::Test {
 protected:
  // Writes a catalog whose message 1/1 is its relative path; its full path.
  std::string make(const std::string &rel) {
    for (size_t pos = 0; (pos = rel.find('/', pos)) != std::string::npos; ++pos)
      mkdir((dir_ / rel.substr(0, pos)).c_str(), 0700);
    cattest::writeFile(dir_ / rel, cattest::image({{1, {{1, rel}}}}));
    return dir_ / rel;
  }
  // Which file was found, relative to the folder; "" when none.
  std::string find(const char *name, int flags, const char *locale) {
    char path[ilx::kCatPathMax];
    if (!ilx::findCatalogFile(name, flags, locale, path)) return "";
    const std::string p = path;
    return p.rfind(dir_.path() + "/", 0) == 0 ? p.substr(dir_.path().size() + 1) : p;
  }
  TempDir dir_;
};

TEST_F(CatalogSearch, LocaleCandidatesInOrderAndTheirFlags) {
  for (const char *f : {"fr/app.cat", "fr_FR/app.cat", "C/app.cat", "de/app.cat", "ja_JP/app.cat"})
    make(f);
  EnvVar nls("NLSPATH", (dir_.path() + "/%L/%N.cat").c_str());
  EnvVar lang("LANG", "de_DE"), all("LC_ALL", "japanese"), msgs("LC_MESSAGES", nullptr);
  const int no2 = ILX_CAT_NO_LANG2, noCan = ILX_CAT_NO_CANLANG;
  const char *const longName = "fr_CA.a-very-long-code-set-name-indeed";  // no candidates
  const struct { const char *name; int flags; const char *locale, *want; } rows[] = {
      {"app", 0, "fr_CA.UTF-8", "fr/app.cat"},  // two-letter language
      {"app", no2, "fr_CA", "fr_FR/app.cat"},   // canonical language
      {"app", no2 | noCan, "fr_CA", "C/app.cat"},
      {"app", no2 | noCan | ILX_CAT_NO_C, "fr_CA", ""},
      // From here on fr_CA/app.cat exists.
      {"app", 0, "FR-ca", "fr_CA/app.cat"},  // canonical form first
      {"other", 0, "fr_CA", ""},
      {"app", 0, longName, "C/app.cat"},
      {"app", ILX_CAT_NO_C, longName, ""},
      // No locale given: the user's language (LANG), or with the flag the
      // locale of the environment.
      {"app", 0, nullptr, "de/app.cat"},
      {"app", ILX_CAT_ENV_LOCALE, nullptr, "ja_JP/app.cat"},
      {"app", ILX_CAT_ENV_LOCALE, "de_AT", "de/app.cat"},  // given wins
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    if (i == 4) make("fr_CA/app.cat");
    EXPECT_EQ(find(rows[i].name, rows[i].flags, rows[i].locale), rows[i].want) << i;
  }
  EnvVar none("LC_ALL", nullptr), m("LC_MESSAGES", "ja");
  EXPECT_EQ(find("app", ILX_CAT_ENV_LOCALE, nullptr), "ja_JP/app.cat");
}

TEST_F(CatalogSearch, ListElementsSeparatorsDriveLettersAndPaths) {
  for (const char *f : {"X:/m.cat", "b/m.cat", "here.cat", "p/q.cat"}) make(f);
  const std::string d = dir_.path(), tooLong = std::string(1100, 'z') + "/%N.cat;b/%N.cat";
  const struct { const char *nlspath; std::string name; const char *want; } rows[] = {
      // ':' second in an element belongs to a drive letter; ';' and other ':' split.
      {"Q:/none/%N.cat;X:/%N.cat", "m", "X:/m.cat"},
      {"nothing/%N:b/%N.cat", "m", "b/m.cat"},
      {tooLong.c_str(), "m", "b/m.cat"},  // an element too long is skipped
      {nullptr, "here", "here.cat"},      // unset or empty: "%N.cat" here
      {"", "here", "here.cat"},
      {"/nowhere/%N", d + "/p/q.cat", "p/q.cat"},  // paths are used as they stand
      {"/nowhere/%N", d + "/p/none.cat", ""},
      {"/nowhere/%N", "", ""},
  };
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(d.c_str()), 0);
  for (const auto &r : rows) {
    EnvVar nls("NLSPATH", r.nlspath);
    if (r.nlspath == nullptr) {
      EXPECT_STREQ(ilx_get_nlspath(), "");
    }
    EXPECT_EQ(find(r.name.c_str(), 0, "C"), r.want) << (r.nlspath ? r.nlspath : "unset") << r.name;
  }
  EXPECT_EQ(find(nullptr, 0, "C"), "");
  ASSERT_EQ(chdir(cwd), 0);
}

TEST(Nlspath, SetAndPrependKeepTheEnvironmentConsistent) {
  EnvVar saved("NLSPATH", nullptr);
  EXPECT_EQ(ilx_prepend_nlspath("/a/%N"), 0);  // separator even before an empty value
  EXPECT_STREQ(ilx_get_nlspath(), "/a/%N;");
  EXPECT_EQ(ilx_set_nlspath("/b/%N.cat"), 0);
  EXPECT_STREQ(ilx_get_nlspath(), "/b/%N.cat");
  EXPECT_EQ(ilx_prepend_nlspath("/c/%L/%N"), 0);
  EXPECT_EQ(ilx_set_nlspath(nullptr), -1);
  EXPECT_STREQ(ilx_get_nlspath(), "/c/%L/%N;/b/%N.cat");
  EXPECT_STREQ(getenv("NLSPATH"), "/c/%L/%N;/b/%N.cat");
  // Tearing the services down forgets the text but keeps the value.
  ilx_uninit();
  EXPECT_STREQ(ilx_get_nlspath(), "/c/%L/%N;/b/%N.cat");
  ilx_init();
}

// --- the cache: shared handles, closing, growth and eviction ---

TEST_F(CatalogSearch, CachedHandlesAreSharedCloseOnceAndStayValid) {
  const std::string p = make("shared.cat");
  MCCatalogT *a = ilx_catopen(p.c_str(), 0, nullptr);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(ilx_catopen(p.c_str(), 0, nullptr), a);
  EXPECT_EQ(ilx_catclose(a), 0);
  EXPECT_EQ(ilx_catclose(a), -1);
  EXPECT_EQ(ilx_catclose(nullptr), -1);
  EXPECT_STREQ(ilx_catgets(a, 1, 1, "d", nullptr), "shared.cat");  // closed, still cached
  EXPECT_EQ(ilx_catopen(p.c_str(), 0, nullptr), a);
  EXPECT_EQ(ilx_catclose(a), 0);
  // Files that are not catalogs are not cached.
  cattest::writeFile(dir_ / "junk.cat", "not a catalog at all, but long enough");
  const size_t before = ilx::cacheCount();
  EXPECT_EQ(ilx_catopen((dir_ / "junk.cat").c_str(), 0, nullptr), nullptr);
  EXPECT_EQ(ilx::cacheCount(), before);
  // The XPG wrappers use the all-ones handle for failures.
  EXPECT_EQ(rmc_catopen((dir_ / "absent.cat").c_str(), 0), RMC_CATD_ERR);
  EXPECT_STREQ(rmc_catgets(RMC_CATD_ERR, 1, 1, "dflt"), "dflt");
  EXPECT_EQ(rmc_catclose(RMC_CATD_ERR), -1);
  MCCatalogT *cat = rmc_catopen(make("rmc.cat").c_str(), 0);
  ASSERT_NE(cat, RMC_CATD_ERR);
  EXPECT_STREQ(rmc_catgets(cat, 1, 1, "dflt"), "rmc.cat");
  EXPECT_EQ(rmc_catclose(cat), 0);
  EXPECT_EQ(rmc_catclose(cat), -1);
}

TEST_F(CatalogSearch, CacheGrowsOnlyWhenEveryCatalogIsOpen) {
  const auto scenario = [&] {
    ASSERT_EQ(ilx::cacheCapacity(), 0u);
    auto open = [&](const std::string &name) { return ilx_catopen(make(name).c_str(), 0, nullptr); };
    std::vector<MCCatalogT *> cats;
    for (int i = 0; i < 20; ++i) {
      cats.push_back(open("c" + std::to_string(i)));
      ASSERT_NE(cats.back(), nullptr);
      // Ten slots first; the eleventh catalog finds all open and doubles them.
      EXPECT_EQ(ilx::cacheCapacity(), i < 10 ? 10u : 20u) << i;
    }
    // Close 3, 7 and 12; reopen and close 3 so that 7 carries the oldest stamp.
    for (int i : {3, 7, 12}) ilx_catclose(cats[i]);
    EXPECT_EQ(open("c3"), cats[3]);
    ilx_catclose(cats[3]);
    // Each new catalog evicts the oldest closed one, 7, then 12, then 3, and
    // the cache keeps its size: whether 7, 12 and 3 are cached, and the size.
    std::string cached;
    for (const char *name : {"new1", "new2", "new3"}) {
      ASSERT_NE(open(name), nullptr);
      for (int i : {7, 12, 3}) cached += ilx::cacheIsCached(cats[i]) ? "1" : "0";
      cached += " " + std::to_string(ilx::cacheCapacity()) + ", ";
    }
    EXPECT_EQ(cached, "011 20, 001 20, 000 20, ");
    // Nothing closed any more: the next catalog doubles the cache again.
    ASSERT_NE(open("new4"), nullptr);
    EXPECT_EQ(ilx::cacheCapacity(), 40u);
    EXPECT_EQ(ilx::cacheCount(), 21u);
  };
  // It needs an empty cache: a fresh process runs only this test, and shows
  // its failures on its standard error.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        testing::TestPartResultArray failures;
        {
          testing::ScopedFakeTestPartResultReporter reporter(&failures);
          scenario();
        }
        for (int i = 0; i < failures.size(); ++i)
          std::fprintf(stderr, "%s\n", failures.GetTestPartResult(i).message());
        std::exit(failures.size() == 0 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
