// The catalog cache: shared handles, closing, growth and eviction. The
// growth and eviction scenario needs an empty cache, so it runs in a child
// process of its own.
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "catalog_fixture.h"
#include "ilx/catalog.h"

extern char **environ;

using cattest::TempDir;

namespace {

std::string makeCatalog(const TempDir &dir, const std::string &name) {
  cattest::writeFile(dir / name, cattest::image({{1, {{1, name}}}}));
  return dir / name;
}

TEST(CatalogCache, SamePathSharesOneHandleAndOneCloseClosesIt) {
  TempDir dir;
  const std::string p = makeCatalog(dir, "shared.cat");
  MCCatalogT *a = ilx_catopen(p.c_str(), 0, nullptr);
  MCCatalogT *b = ilx_catopen(p.c_str(), 0, nullptr);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(ilx_catclose(a), 0);
  EXPECT_EQ(ilx_catclose(b), -1);
  EXPECT_EQ(ilx_catclose(nullptr), -1);
  // A closed catalog stays cached and its texts stay valid.
  EXPECT_STREQ(ilx_catgets(a, 1, 1, "d", nullptr), "shared.cat");
  EXPECT_EQ(ilx_catopen(p.c_str(), 0, nullptr), a);
  EXPECT_EQ(ilx_catclose(a), 0);
}

TEST(CatalogCache, XpgWrappersUseTheAllOnesHandle) {
  TempDir dir;
  const std::string p = makeCatalog(dir, "rmc.cat");
  EXPECT_EQ(rmc_catopen((dir / "absent.cat").c_str(), 0), RMC_CATD_ERR);
  EXPECT_STREQ(rmc_catgets(RMC_CATD_ERR, 1, 1, "dflt"), "dflt");
  EXPECT_EQ(rmc_catclose(RMC_CATD_ERR), -1);
  MCCatalogT *cat = rmc_catopen(p.c_str(), 0);
  ASSERT_NE(cat, RMC_CATD_ERR);
  EXPECT_STREQ(rmc_catgets(cat, 1, 1, "dflt"), "rmc.cat");
  EXPECT_EQ(rmc_catclose(cat), 0);
  EXPECT_EQ(rmc_catclose(cat), -1);
}

TEST(CatalogCache, FilesThatAreNotCatalogsAreNotCached) {
  TempDir dir;
  cattest::writeFile(dir / "junk.cat", "not a catalog at all, but long enough");
  const size_t before = ilx::cacheCount();
  EXPECT_EQ(ilx_catopen((dir / "junk.cat").c_str(), 0, nullptr), nullptr);
  EXPECT_EQ(ilx::cacheCount(), before);
}

// Runs only in the child started by GrowsOnlyWhenEveryCatalogIsOpen.
TEST(CatalogCacheFresh, GrowthAndEviction) {
  if (!std::getenv("LMX_CACHE_CHILD")) GTEST_SKIP() << "runs in a child process";
  ASSERT_EQ(ilx::cacheCapacity(), 0u);
  TempDir dir;
  std::vector<MCCatalogT *> cats;
  for (int i = 0; i < 10; ++i) {
    cats.push_back(ilx_catopen(makeCatalog(dir, "c" + std::to_string(i)).c_str(), 0, nullptr));
    ASSERT_NE(cats.back(), nullptr);
  }
  EXPECT_EQ(ilx::cacheCapacity(), 10u);
  cats.push_back(ilx_catopen(makeCatalog(dir, "c10").c_str(), 0, nullptr));  // all open: grow
  ASSERT_NE(cats.back(), nullptr);
  EXPECT_EQ(ilx::cacheCapacity(), 20u);
  for (int i = 11; i < 20; ++i) cats.push_back(ilx_catopen(makeCatalog(dir, "c" + std::to_string(i)).c_str(), 0, nullptr));
  EXPECT_EQ(ilx::cacheCount(), 20u);
  // Close 3, 7 and 12; reopen 3 so that 7 carries the oldest stamp.
  ilx_catclose(cats[3]);
  ilx_catclose(cats[7]);
  ilx_catclose(cats[12]);
  EXPECT_EQ(ilx_catopen((dir / "c3").c_str(), 0, nullptr), cats[3]);
  ilx_catclose(cats[3]);
  MCCatalogT *n = ilx_catopen(makeCatalog(dir, "new1").c_str(), 0, nullptr);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(ilx::cacheCapacity(), 20u);
  EXPECT_FALSE(ilx::cacheIsCached(cats[7]));
  EXPECT_TRUE(ilx::cacheIsCached(cats[12]));
  EXPECT_TRUE(ilx::cacheIsCached(cats[3]));
  // Next the oldest closed is 12, then 3.
  ASSERT_NE(ilx_catopen(makeCatalog(dir, "new2").c_str(), 0, nullptr), nullptr);
  EXPECT_FALSE(ilx::cacheIsCached(cats[12]));
  EXPECT_TRUE(ilx::cacheIsCached(cats[3]));
  ASSERT_NE(ilx_catopen(makeCatalog(dir, "new3").c_str(), 0, nullptr), nullptr);
  EXPECT_FALSE(ilx::cacheIsCached(cats[3]));
  EXPECT_EQ(ilx::cacheCapacity(), 20u);
  // Nothing closed any more: the next catalog doubles the cache again.
  ASSERT_NE(ilx_catopen(makeCatalog(dir, "new4").c_str(), 0, nullptr), nullptr);
  EXPECT_EQ(ilx::cacheCapacity(), 40u);
  EXPECT_EQ(ilx::cacheCount(), 21u);
}

TEST(CatalogCache, GrowsOnlyWhenEveryCatalogIsOpen) {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  self[n] = '\0';
  std::string filter = "--gtest_filter=CatalogCacheFresh.GrowthAndEviction";
  char *argv[] = {self, filter.data(), nullptr};
  std::vector<char *> env;
  for (char **e = environ; *e; ++e) env.push_back(*e);
  std::string flag = "LMX_CACHE_CHILD=1";
  env.push_back(flag.data());
  env.push_back(nullptr);
  pid_t pid;
  ASSERT_EQ(posix_spawn(&pid, self, nullptr, nullptr, argv, env.data()), 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the child's test failed";
}

}  // namespace
