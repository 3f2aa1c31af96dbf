// Finding catalog files: NLSPATH handling, template expansion and the
// locale candidates with the flags that switch them off.
#include <sys/stat.h>

#include <string>

#include "catalog_fixture.h"
#include "ilx/catalog.h"

using cattest::EnvVar;
using cattest::TempDir;

namespace {

std::string expand(const std::string &tmpl, const char *name, const char *locale) {
  char out[ilx::kCatPathMax];
  if (!ilx::expandTemplate(tmpl.data(), tmpl.size(), name, locale, out)) return "<too long>";
  return out;
}

TEST(CatalogTemplate, DirectivesSplitTheLocaleName) {
  EXPECT_EQ(expand("%L/%l/%t/%c", "m", "de_DE.ISO8859-1"), "de_DE.ISO8859-1/de/DE/ISO8859-1");
  EXPECT_EQ(expand("%L/%l/%t/%c", "m", "C"), "C/C//");
  EXPECT_EQ(expand("%l|%t|%c", "m", "en.UTF-8"), "en||UTF-8");
  EXPECT_EQ(expand("%l|%t|%c", "m", "pt_BR"), "pt|BR|");
  EXPECT_EQ(expand("/usr/%N/%N.cat", "lmxmsg", "C"), "/usr/lmxmsg/lmxmsg.cat");
}

TEST(CatalogTemplate, UnknownDirectivesAndLengthLimit) {
  EXPECT_EQ(expand("%%N", "m", "C"), "%m");        // "%" copied, then "%N" read again
  EXPECT_EQ(expand("a%xb%", "m", "C"), "a%xb%");    // unknown and trailing "%" stay
  EXPECT_EQ(expand("%N.cat", "m", "C").size(), 5u);
  const std::string dir(1017, 'd');
  EXPECT_EQ(expand(dir + "/%N.cat", "m", "C"), dir + "/m.cat");  // 1023 bytes fit
  EXPECT_EQ(expand(dir + "/%N.cats", "m", "C"), "<too long>");
  EXPECT_EQ(expand(std::string(500, 'x') + "%N%N", std::string(300, 'n').c_str(), "C"), "<too long>");
}

// A folder with catalog files at chosen relative places.
class CatalogSearch : public ::testing::Test {
 protected:
  void make(const std::string &rel) {
    std::string path = dir_.path();
    size_t pos = 0;
    while ((pos = rel.find('/', pos)) != std::string::npos) {
      mkdir((dir_ / rel.substr(0, pos)).c_str(), 0700);
      ++pos;
    }
    cattest::writeFile(dir_ / rel, cattest::image({{1, {{1, rel}}}}));
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
  make("fr/app.cat");
  make("fr_FR/app.cat");
  make("C/app.cat");
  EnvVar nls("NLSPATH", (dir_.path() + "/%L/%N.cat").c_str());
  EXPECT_EQ(find("app", 0, "fr_CA.UTF-8"), "fr/app.cat");        // two-letter language
  EXPECT_EQ(find("app", ILX_CAT_NO_LANG2, "fr_CA"), "fr_FR/app.cat");  // canonical language
  EXPECT_EQ(find("app", ILX_CAT_NO_LANG2 | ILX_CAT_NO_CANLANG, "fr_CA"), "C/app.cat");
  EXPECT_EQ(find("app", ILX_CAT_NO_LANG2 | ILX_CAT_NO_CANLANG | ILX_CAT_NO_C, "fr_CA"), "");
  make("fr_CA/app.cat");
  EXPECT_EQ(find("app", 0, "FR-ca"), "fr_CA/app.cat");  // canonical form first
  EXPECT_EQ(find("other", 0, "fr_CA"), "");
  // A locale name too long for its buffer contributes no candidates.
  EXPECT_EQ(find("app", 0, "fr_CA.a-very-long-code-set-name-indeed"), "C/app.cat");
  EXPECT_EQ(find("app", ILX_CAT_NO_C, "fr_CA.a-very-long-code-set-name-indeed"), "");
}

TEST_F(CatalogSearch, LocaleFromTheEnvironmentOnlyWithFlag1) {
  make("de/app.cat");
  make("ja_JP/app.cat");
  EnvVar nls("NLSPATH", (dir_.path() + "/%L/%N.cat").c_str());
  EnvVar lang("LANG", "de_DE");
  EnvVar all("LC_ALL", "japanese");
  EnvVar msgs("LC_MESSAGES", nullptr);
  EXPECT_EQ(find("app", 0, nullptr), "de/app.cat");  // the user's language: LANG
  EXPECT_EQ(find("app", ILX_CAT_ENV_LOCALE, nullptr), "ja_JP/app.cat");
  EXPECT_EQ(find("app", ILX_CAT_ENV_LOCALE, "de_AT"), "de/app.cat");  // given wins
  {
    EnvVar none("LC_ALL", nullptr);
    EnvVar m("LC_MESSAGES", "ja");
    EXPECT_EQ(find("app", ILX_CAT_ENV_LOCALE, nullptr), "ja_JP/app.cat");
  }
}

TEST_F(CatalogSearch, ListElementsSeparatorsAndDriveLetters) {
  make("X:/m.cat");
  make("b/m.cat");
  // ':' second in an element belongs to a drive letter; ';' and other ':' split.
  const std::string d = dir_.path();
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(d.c_str()), 0);
  {
    EnvVar nls("NLSPATH", "Q:/none/%N.cat;X:/%N.cat");
    EXPECT_EQ(find("m", 0, "C"), "X:/m.cat");
  }
  {
    EnvVar nls("NLSPATH", "nothing/%N:b/%N.cat");
    EXPECT_EQ(find("m", 0, "C"), "b/m.cat");
  }
  {
    // An element too long to expand is skipped, the next one still tried.
    const std::string list = std::string(1100, 'z') + "/%N.cat;b/%N.cat";
    EnvVar nls("NLSPATH", list.c_str());
    EXPECT_EQ(find("m", 0, "C"), "b/m.cat");
  }
  {
    // Unset or empty: "%N.cat" in the current folder.
    make("here.cat");
    EnvVar nls("NLSPATH", nullptr);
    EXPECT_EQ(std::string(ilx_get_nlspath()), "");
    EXPECT_EQ(find("here", 0, "C"), "here.cat");
    EnvVar empty("NLSPATH", "");
    EXPECT_EQ(find("here", 0, "C"), "here.cat");
  }
  ASSERT_EQ(chdir(cwd), 0);
}

TEST_F(CatalogSearch, PathsAreUsedAsTheyStand) {
  make("p/q.cat");
  EnvVar nls("NLSPATH", "/nowhere/%N");
  EXPECT_EQ(find((dir_.path() + "/p/q.cat").c_str(), 0, "C"), "p/q.cat");
  EXPECT_EQ(find((dir_.path() + "/p/none.cat").c_str(), 0, "C"), "");
  EXPECT_EQ(find("", 0, "C"), "");
  EXPECT_EQ(find(nullptr, 0, "C"), "");
}

TEST(Nlspath, SetAndPrependKeepTheEnvironmentConsistent) {
  EnvVar saved("NLSPATH", nullptr);
  EXPECT_EQ(ilx_prepend_nlspath("/a/%N"), 0);  // separator even before an empty value
  EXPECT_STREQ(ilx_get_nlspath(), "/a/%N;");
  EXPECT_EQ(ilx_set_nlspath("/b/%N.cat"), 0);
  EXPECT_STREQ(ilx_get_nlspath(), "/b/%N.cat");
  EXPECT_EQ(ilx_prepend_nlspath("/c/%L/%N"), 0);
  EXPECT_STREQ(ilx_get_nlspath(), "/c/%L/%N;/b/%N.cat");
  EXPECT_STREQ(getenv("NLSPATH"), "/c/%L/%N;/b/%N.cat");
  EXPECT_EQ(ilx_set_nlspath(nullptr), -1);
  EXPECT_STREQ(ilx_get_nlspath(), "/c/%L/%N;/b/%N.cat");
  // Tearing the services down forgets the text but keeps the value.
  ilx_uninit();
  EXPECT_STREQ(ilx_get_nlspath(), "/c/%L/%N;/b/%N.cat");
  ilx_init();
}

}  // namespace
