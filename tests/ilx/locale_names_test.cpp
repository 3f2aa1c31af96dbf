// Locale names: user's language from the environment, canonical names,
// fallback locales and Windows language identifiers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "lumex/cx.h"
#include "lumex/ilx.h"

namespace {

std::string canonLoc(const char *name, size_t size = 32) {
  char buf[64];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(0, ilx_canonical_loc(name, buf, size));
  return buf;
}

std::string canonLang(const char *name) {
  char buf[32];
  EXPECT_EQ(0, ilx_canonical_lang(name, buf, sizeof buf));
  return buf;
}

std::string osLang(size_t size = 64) {
  char buf[64];
  std::memset(buf, 'x', sizeof buf);
  buf[63] = '\0';
  EXPECT_EQ(0, ilx_os_lang_name(buf, size));
  return buf;
}

// Sets or clears the locale variables for one test and restores them after.
class LocaleEnv : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char *v : kVars) {
      const char *old = std::getenv(v);
      saved_.emplace_back(v, old ? std::make_unique<std::string>(old) : nullptr);
      unsetenv(v);
    }
  }
  void TearDown() override {
    for (auto &s : saved_) {
      if (s.second)
        setenv(s.first, s.second->c_str(), 1);
      else
        unsetenv(s.first);
    }
  }
  static constexpr const char *kVars[] = {"LANG", "LC_ALL", "LC_MESSAGES"};
  std::vector<std::pair<const char *, std::unique_ptr<std::string>>> saved_;
};

TEST(CanonicalLocale, AliasesWinBeforeTheShapeRules) {
  EXPECT_EQ("ar", canonLoc("ar_AA"));
  EXPECT_EQ("ar", canonLoc("Ar_AA"));
  EXPECT_EQ("cs", canonLoc("cz"));
  EXPECT_EQ("ja_JP", canonLoc("japanese"));
  EXPECT_EQ("ja_JP", canonLoc("Jp_JP"));
  EXPECT_EQ("C", canonLoc("american"));
  EXPECT_EQ("C", canonLoc("C"));
  // Aliases are exact: a different case goes through the shape rules.
  EXPECT_EQ("cz", canonLoc("CZ"));
  EXPECT_EQ("ar_AA", canonLoc("AR_AA.x"));
}

TEST(CanonicalLocale, ShortFormsAreNormalized) {
  EXPECT_EQ("de_DE", canonLoc("de_DE.ISO8859-1"));
  EXPECT_EQ("de_DE", canonLoc("DE-de"));
  EXPECT_EQ("en", canonLoc("En"));
  EXPECT_EQ("en", canonLoc("EN.UTF-8"));
  EXPECT_EQ("fr_CA", canonLoc("fr_ca@euro"));
  EXPECT_EQ("en_US", canonLoc("enUS1"));
  EXPECT_EQ("en_US", canonLoc("ENus12"));
  EXPECT_EQ("pt_BR", canonLoc("pt_BR"));
}

TEST(CanonicalLocale, OtherNamesPassUnchanged) {
  EXPECT_EQ("german", canonLoc("german"));
  EXPECT_EQ("en_USA", canonLoc("en_USA"));  // sixth character a letter
  EXPECT_EQ("en_US1", canonLoc("en_US1"));  // sixth character a digit
  EXPECT_EQ("e", canonLoc("e"));
  EXPECT_EQ("", canonLoc(""));
  EXPECT_EQ("", canonLoc(nullptr));
  EXPECT_EQ("x1-de", canonLoc("x1-de"));
  EXPECT_EQ("C.UTF-8", canonLoc("C.UTF-8"));
  // Bytes outside ASCII are not letters, whatever the process locale.
  EXPECT_EQ("\xe9t", canonLoc("\xe9t"));
}

TEST(CanonicalLocale, ResultIsCutToTheBuffer) {
  EXPECT_EQ("de_D", canonLoc("de_DE.UTF-8", 5));
  EXPECT_EQ("germ", canonLoc("german", 5));
  EXPECT_EQ("", canonLoc("german", 1));
  char buf[4] = {'a', 'b', 'c', '\0'};
  EXPECT_EQ(0, ilx_canonical_loc("german", buf, 0));
  EXPECT_STREQ("abc", buf);  // size 0 writes nothing
  EXPECT_EQ(0, ilx_canonical_loc("german", nullptr, 10));
}

TEST(FallbackLocale, LanguagesMapToTheirFallback) {
  EXPECT_EQ("C", canonLang("C"));
  EXPECT_EQ("C", canonLang("en"));
  EXPECT_EQ("C", canonLang("en_US"));
  EXPECT_EQ("C", canonLang("american"));
  EXPECT_EQ("fr_FR", canonLang("fr_CA"));
  EXPECT_EQ("fr_FR", canonLang("FR"));
  EXPECT_EQ("pt_BR", canonLang("pt_PT"));
  EXPECT_EQ("pt_BR", canonLang("pt_BR.UTF-8"));
  EXPECT_EQ("zh_CN", canonLang("zh_HK"));
  EXPECT_EQ("zh_TW", canonLang("zh_TW"));
  EXPECT_EQ("ja_JP", canonLang("japanese"));
  EXPECT_EQ("cs", canonLang("cz"));
}

TEST(FallbackLocale, UnknownLanguagesKeepTheCutCanonicalText) {
  EXPECT_EQ("de", canonLang("de_DE"));
  EXPECT_EQ("de", canonLang("de_DE.ISO8859-1"));
  EXPECT_EQ("germa", canonLang("german"));
  EXPECT_EQ("", canonLang(""));
  char small[3];
  ilx_canonical_lang("fr_CA", small, sizeof small);
  EXPECT_STREQ("fr", small);
}

TEST(LanguageTable, IdentifiersGiveLocaleNames) {
  EXPECT_STREQ("en", CheckLangTable(0x0409));
  EXPECT_STREQ("en", CheckLangTable(0x0809));
  EXPECT_STREQ("zh_TW", CheckLangTable(0x0404));
  EXPECT_STREQ("zh_CN", CheckLangTable(0x0804));
  EXPECT_STREQ("zh", CheckLangTable(0x0C04));
  EXPECT_STREQ("pt_BR", CheckLangTable(0x0416));
  EXPECT_STREQ("pt", CheckLangTable(0x0816));
  // Croatian and Serbian share the primary id; the earlier row wins.
  EXPECT_STREQ("hr", CheckLangTable(0x041A));
  EXPECT_STREQ("hr", CheckLangTable(0x081A));
  EXPECT_STREQ("uk", CheckLangTable(0x0422));
  EXPECT_STREQ("af", CheckLangTable(0x0436));
  EXPECT_STREQ("C", CheckLangTable(0x0000));
  EXPECT_STREQ("C", CheckLangTable(0x0417));  // no row for 0x17
  // Only the low 10 bits select the language.
  EXPECT_STREQ("de", CheckLangTable(0xFC07));
}

TEST_F(LocaleEnv, UserLanguageComesFromTheEnvironment) {
  EXPECT_EQ("C", osLang());
  setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
  EXPECT_EQ("de_DE.UTF-8", osLang());
  setenv("LC_ALL", "fr_FR", 1);
  EXPECT_EQ("fr_FR", osLang());
  setenv("LANG", "fr_CA.UTF-8", 1);
  EXPECT_EQ("fr_CA.UTF-8", osLang());  // returned as it stands
  // An empty LANG falls through to the user's default language.
  setenv("LANG", "", 1);
  EXPECT_EQ("fr_FR", osLang());
  setenv("LC_ALL", "", 1);
  EXPECT_EQ("de_DE.UTF-8", osLang());
}

TEST_F(LocaleEnv, UserLanguageIsCutToTheBuffer) {
  setenv("LANG", "fr_CA.UTF-8", 1);
  EXPECT_EQ("fr_", osLang(4));
  char buf[2] = {'q', '\0'};
  EXPECT_EQ(0, ilx_os_lang_name(buf, 0));
  EXPECT_STREQ("q", buf);
}

TEST(LocaleObjects, HoldTheCanonicalName) {
  char *loc = ilx_loc_new("de_DE.UTF-8");
  ASSERT_NE(nullptr, loc);
  EXPECT_STREQ("de_DE", loc);
  EXPECT_EQ(0, ilx_loc_free(loc));
  // A long unchanged name is cut to the object's 32 bytes.
  std::string longName(40, 'q');
  loc = ilx_loc_new(longName.c_str());
  ASSERT_NE(nullptr, loc);
  EXPECT_EQ(std::string(31, 'q'), loc);
  EXPECT_EQ(0, ilx_loc_free(loc));
  EXPECT_EQ(0, ilx_loc_free(nullptr));
}

TEST(LocaleObjects, SetLocaleChangesNothing) {
  EXPECT_STREQ("C", ilx_setlocale(0, nullptr));
  const char *name = "de_DE";
  EXPECT_EQ(name, ilx_setlocale(6, name));
}

}  // namespace
