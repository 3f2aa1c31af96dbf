// Finding catalog files (NLSPATH handling, template expansion, the locale
// candidates with the flags that switch them off), the catalog cache, and
// binding arguments into message formats from catalogs.
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
  const std::string dir(1017, 'd'), n300(300, 'n');  // dir + "/m.cat": the 1023 bytes that fit
  const struct { std::string tmpl; const char *name, *locale; std::string want; } rows[] = {
      {"%L/%l/%t/%c", "m", "de_DE.ISO8859-1", "de_DE.ISO8859-1/de/DE/ISO8859-1"},
      {"%L/%l/%t/%c", "m", "C", "C/C//"}, {"%l|%t|%c", "m", "en.UTF-8", "en||UTF-8"},
      {"%l|%t|%c", "m", "pt_BR", "pt|BR|"}, {"/usr/%N/%N.cat", "lmx", "C", "/usr/lmx/lmx.cat"},
      {"%%N", "m", "C", "%m"},       // "%" copied, then "%N" read again
      {"a%xb%", "m", "C", "a%xb%"},  // unknown and trailing "%" stay
      {dir + "/%N.cat", "m", "C", dir + "/m.cat"}, {dir + "/%N.cats", "m", "C", "<too long>"},
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
  // Writes a catalog (by default: message 1/1 is its relative path); its path.
  std::string make(const std::string &rel, lmxgencat::Messages msgs = {}) {
    for (size_t pos = 0; (pos = rel.find('/', pos)) != std::string::npos; ++pos)
      mkdir((dir_ / rel.substr(0, pos)).c_str(), 0700);
    if (msgs.empty()) msgs[1][1] = rel;
    cattest::writeFile(dir_ / rel, cattest::image(msgs));
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
      {"app", no2 | noCan, "fr_CA", "C/app.cat"}, {"app", no2 | noCan | ILX_CAT_NO_C, "fr_CA", ""},
      // From here on fr_CA/app.cat exists.
      {"app", 0, "FR-ca", "fr_CA/app.cat"},  // canonical form first
      {"other", 0, "fr_CA", ""}, {"app", 0, longName, "C/app.cat"},
      {"app", ILX_CAT_NO_C, longName, ""},
      // No locale given: the user's language (LANG), or with the flag the
      // locale of the environment.
      {"app", 0, nullptr, "de/app.cat"}, {"app", ILX_CAT_ENV_LOCALE, nullptr, "ja_JP/app.cat"},
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
      {"Q:/none/%N.cat;X:/%N.cat", "m", "X:/m.cat"}, {"nothing/%N:b/%N.cat", "m", "b/m.cat"},
      {tooLong.c_str(), "m", "b/m.cat"},  // an element too long is skipped
      {nullptr, "here", "here.cat"}, {"", "here", "here.cat"},  // unset or empty: "%N.cat" here
      {"/nowhere/%N", d + "/p/q.cat", "p/q.cat"},  // paths are used as they stand
      {"/nowhere/%N", d + "/p/none.cat", ""}, {"/nowhere/%N", "", ""},
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
  // The states as text: the capacity before and after each of 20 catalogs
  // opens, and the count; whether reopening 3 after closing 3, 7 and 12 gives
  // it back; per new catalog whether 7, 12 and 3 are cached, the capacity.
  const auto states = [&] {
    auto open = [&](const std::string &n) { return ilx_catopen(make(n).c_str(), 0, nullptr); };
    std::string log = std::to_string(ilx::cacheCapacity()) + ":";
    std::vector<MCCatalogT *> cats;
    for (int i = 0; i < 20; ++i) {
      cats.push_back(open("c" + std::to_string(i)));
      log += cats.back() ? " " + std::to_string(ilx::cacheCapacity()) : " null";
    }
    log += " n" + std::to_string(ilx::cacheCount());
    for (int i : {3, 7, 12}) ilx_catclose(cats[i]);
    log += open("c3") == cats[3] ? " / same" : " / other";
    ilx_catclose(cats[3]);  // 7 now carries the oldest stamp
    for (const char *name : {"new1", "new2", "new3", "new4"}) {
      log += open(name) ? " /" : " / null";
      for (int i : {7, 12, 3}) log += ilx::cacheIsCached(cats[i]) ? " 1" : " 0";
      log += " " + std::to_string(ilx::cacheCapacity());
    }
    return log + " n" + std::to_string(ilx::cacheCount());
  };
  // Ten slots first, doubled when a new catalog finds every one open; the
  // oldest closed catalog goes first. A fresh process, with an empty cache,
  // runs only this test and writes the states to its standard error.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT((std::fputs(states().c_str(), stderr), std::exit(0)), testing::ExitedWithCode(0),
              "^0: 10 10 10 10 10 10 10 10 10 10 20 20 20 20 20 20 20 20 20 20 n20 / same"
              " / 0 1 1 20 / 0 0 1 20 / 0 0 0 20 / 0 0 0 40 n21$");
}

// --- positional binding of string arguments into message formats ---

std::string bind(const char *fmt, std::vector<const char *> args, const char *catalog = nullptr,
                 int set = 1, int key = 1) {
  BindBufT out{nullptr, 0, 0, 1};
  const int32_t n = static_cast<int32_t>(args.size());
  EXPECT_EQ(real_msg_bind(catalog, fmt, key, set, n, args.data(), &out), 0);
  std::string s = out.text ? out.text : "<no text>";
  EXPECT_EQ(s.size(), out.used);
  std::free(out.text);
  return s;
}

TEST(MsgBind, ArgumentListsAndFaultyDirectives) {
  // Faulty directives leave markers and binding goes on.
  const std::string ones(400, '1'), longNo = "%" + ones + "$s";
  const struct { std::string fmt; std::vector<const char *> args; std::string want; } rows[] = {
      {"%2$s-%1$s", {"a", "b"}, "b-a"}, {"<%s>", {"a", "b"}, "<a>"}, {"%1.2$s", {"a", "b"}, "ab"},
      {"%0$s", {"a", "b"}, "ab"}, {"%2.$s", {"a", "b"}, "bab"},  // an empty number means all
      {"%5$s", {"a", "b"}, "(null)"}, {"%99999999999999999999$s|", {"a"}, "(null)|"},
      {"%1$ls %%", {"x"}, "x %"}, {"%1$s", {nullptr}, "(null)"}, {"%s", {}, "(null)"},
      {"no directives", {}, "no directives"}, {"end %", {"a"}, "end *bogus format %*"},
      {"%2s!", {"a", "b"}, "*expecting $*s!"}, {"%1$", {"a"}, "*don't know what to do with fmt*"},
      {"%d and %1$s", {"a"}, "*don't know what to do with fmt* and a"},
      {longNo, {"a"}, "*expecting positional #*" + ones + "$s"},
  };
  for (const auto &r : rows) EXPECT_EQ(bind(r.fmt.c_str(), r.args), r.want) << r.fmt;
  EXPECT_EQ(bind(nullptr, {}), "*no format string*");
  EXPECT_EQ(real_msg_bind(nullptr, "x", 1, 1, 0, nullptr, nullptr), -1);
}

TEST(MsgBind, GrowableAndFixedBuffers) {
  // Growth in steps of 500, or by the text's length + 1 for long texts.
  BindBufT out{nullptr, 0, 0, 1};
  const std::string big(700, 'b');
  const char *x[] = {"x"}, *args[] = {big.c_str()};
  ASSERT_EQ(real_msg_bind(nullptr, "%s", 1, 1, 1, x, &out), 0);
  EXPECT_EQ(out.capacity, 500u);
  ASSERT_EQ(real_msg_bind(nullptr, "%s", 1, 1, 1, args, &out), 0);
  EXPECT_EQ(out.capacity, 500u + 701u);
  EXPECT_EQ(std::string(out.text), "x" + big);
  std::free(out.text);
  // A fixed buffer takes what fits, stays terminated, and says it was cut.
  char fixed[8] = "XXXXXXX";
  BindBufT f{fixed, sizeof fixed, 0, 0};
  const char *ab[] = {"abcdef", "ghij"};
  EXPECT_EQ(real_msg_bind(nullptr, "%1.2$s", 1, 1, 2, ab, &f), -1);
  EXPECT_STREQ(fixed, "abcdefg");
  EXPECT_EQ(f.used, 7u);
  BindBufT none{nullptr, 0, 0, 0};
  EXPECT_EQ(real_msg_bind(nullptr, "x", 1, 1, 0, nullptr, &none), -1);
}

TEST_F(CatalogSearch, BoundFormatComesFromTheCatalogOfTheEnvironmentLocale) {
  make("de/app.cat", {{2, {{7, "%2$s vor %1$s"}}}});
  EnvVar nls("NLSPATH", (dir_.path() + "/%l/%N.cat").c_str()), all("LC_ALL", "de_DE.UTF-8");
  const char *const fmt = "%1$s before %2$s";
  EXPECT_EQ(bind(fmt, {"a", "b"}, "app", 2, 7), "b vor a");
  EXPECT_EQ(bind(fmt, {"a", "b"}, "app", 2, 8), "a before b");
  EXPECT_EQ(bind(fmt, {"a", "b"}, "nothere", 2, 7), "a before b");
}

}  // namespace
