// The catalog cache: shared handles, closing, growth and eviction.
#include <gtest/gtest-spi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalog_fixture.h"
#include "ilx/catalog.h"

using cattest::TempDir;

namespace {

std::string makeCatalog(const TempDir &dir, const std::string &name) {
  cattest::writeFile(dir / name, cattest::image({{1, {{1, name}}}}));
  return dir / name;
}

TEST(CatalogCache, SharedHandlesCloseOnceAndStayValid) {
  TempDir dir;
  const std::string p = makeCatalog(dir, "shared.cat");
  MCCatalogT *a = ilx_catopen(p.c_str(), 0, nullptr);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(ilx_catopen(p.c_str(), 0, nullptr), a);
  EXPECT_EQ(ilx_catclose(a), 0);
  EXPECT_EQ(ilx_catclose(a), -1);
  EXPECT_EQ(ilx_catclose(nullptr), -1);
  // A closed catalog stays cached and its texts stay valid.
  EXPECT_STREQ(ilx_catgets(a, 1, 1, "d", nullptr), "shared.cat");
  EXPECT_EQ(ilx_catopen(p.c_str(), 0, nullptr), a);
  EXPECT_EQ(ilx_catclose(a), 0);
  // Files that are not catalogs are not cached.
  cattest::writeFile(dir / "junk.cat", "not a catalog at all, but long enough");
  const size_t before = ilx::cacheCount();
  EXPECT_EQ(ilx_catopen((dir / "junk.cat").c_str(), 0, nullptr), nullptr);
  EXPECT_EQ(ilx::cacheCount(), before);
  // The XPG wrappers use the all-ones handle for failures.
  EXPECT_EQ(rmc_catopen((dir / "absent.cat").c_str(), 0), RMC_CATD_ERR);
  EXPECT_STREQ(rmc_catgets(RMC_CATD_ERR, 1, 1, "dflt"), "dflt");
  EXPECT_EQ(rmc_catclose(RMC_CATD_ERR), -1);
  MCCatalogT *cat = rmc_catopen(makeCatalog(dir, "rmc.cat").c_str(), 0);
  ASSERT_NE(cat, RMC_CATD_ERR);
  EXPECT_STREQ(rmc_catgets(cat, 1, 1, "dflt"), "rmc.cat");
  EXPECT_EQ(rmc_catclose(cat), 0);
  EXPECT_EQ(rmc_catclose(cat), -1);
}

// Needs an empty cache: runs in a fresh process.
void growthAndEviction() {
  ASSERT_EQ(ilx::cacheCapacity(), 0u);
  TempDir dir;
  auto open = [&](const std::string &name) {
    return ilx_catopen(makeCatalog(dir, name).c_str(), 0, nullptr);
  };
  std::vector<MCCatalogT *> cats;
  for (int i = 0; i < 20; ++i) {
    cats.push_back(open("c" + std::to_string(i)));
    ASSERT_NE(cats.back(), nullptr);
    // Ten slots first; the eleventh catalog finds all open and doubles them.
    EXPECT_EQ(ilx::cacheCapacity(), i < 10 ? 10u : 20u) << i;
  }
  EXPECT_EQ(ilx::cacheCount(), 20u);
  // Close 3, 7 and 12; reopen and close 3 so that 7 carries the oldest stamp.
  for (int i : {3, 7, 12}) ilx_catclose(cats[i]);
  EXPECT_EQ(ilx_catopen((dir / "c3").c_str(), 0, nullptr), cats[3]);
  ilx_catclose(cats[3]);
  // Each new catalog evicts the oldest closed one: 7, then 12, then 3.
  const struct { const char *name; bool cached7, cached12, cached3; } rows[] = {
      {"new1", false, true, true}, {"new2", false, false, true}, {"new3", false, false, false}};
  for (const auto &r : rows) {
    ASSERT_NE(open(r.name), nullptr);
    EXPECT_EQ(ilx::cacheCapacity(), 20u) << r.name;
    EXPECT_EQ(ilx::cacheIsCached(cats[7]), r.cached7) << r.name;
    EXPECT_EQ(ilx::cacheIsCached(cats[12]), r.cached12) << r.name;
    EXPECT_EQ(ilx::cacheIsCached(cats[3]), r.cached3) << r.name;
  }
  // Nothing closed any more: the next catalog doubles the cache again.
  ASSERT_NE(open("new4"), nullptr);
  EXPECT_EQ(ilx::cacheCapacity(), 40u);
  EXPECT_EQ(ilx::cacheCount(), 21u);
}

TEST(CatalogCache, GrowsOnlyWhenEveryCatalogIsOpen) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process runs only this test
  EXPECT_EXIT(
      {
        testing::TestPartResultArray failures;  // the child's failures, shown on its stderr
        {
          testing::ScopedFakeTestPartResultReporter reporter(&failures);
          growthAndEviction();
        }
        for (int i = 0; i < failures.size(); ++i)
          std::fprintf(stderr, "%s\n", failures.GetTestPartResult(i).message());
        std::exit(failures.size() == 0 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
