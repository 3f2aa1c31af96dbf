// Locale names: user's language from the environment, canonical names,
// fallback locales and Windows language identifiers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "catalog_fixture.h"
#include "lumex/ilx.h"

namespace {

// One of the name functions into a buffer of `size` bytes, the rest 'x'.
std::string canon(int (*f)(const char *, char *, size_t), const char *name, size_t size = 32) {
  char buf[64];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(0, f(name, buf, size));
  return buf;
}

TEST(LocaleNames, CanonicalAndFallbackForms) {
  struct Row { const char *name, *canonical, *fallback; };
  const Row rows[] = {
      // Aliases are exact and win before the shape rules.
      {"cz", "cs", "cs"}, {"CZ", "cz", "cz"}, {"AR_AA.x", "ar_AA", "ar"},
      {"japanese", "ja_JP", "ja_JP"}, {"C", "C", "C"},
      // Short forms: case fixed, code set and modifier dropped.
      {"de_DE.ISO8859-1", "de_DE", "de"}, {"DE-de", "de_DE", "de"}, {"EN.UTF-8", "en", "C"},
      {"fr_ca@euro", "fr_CA", "fr_FR"}, {"enUS1", "en_US", "C"}, {"en_US", "en_US", "C"},
      {"pt_PT", "pt_PT", "pt_BR"}, {"pt_BR.UTF-8", "pt_BR", "pt_BR"},
      // Anything else passes unchanged (the fallback then cut to five).
      {"german", "german", "germa"}, {"en_USA", "en_USA", "C"}, {"C.UTF-8", "C.UTF-8", "C.UTF"},
      {"e", "e", "e"}, {"", "", ""}, {"\xE9t", "\xE9t", "\xE9t"},  // bytes above ASCII: no letters
  };
  for (const Row &r : rows) {
    EXPECT_EQ(r.canonical, canon(ilx_canonical_loc, r.name)) << r.name;
    EXPECT_EQ(r.fallback, canon(ilx_canonical_lang, r.name)) << r.name;
  }
  EXPECT_EQ("", canon(ilx_canonical_loc, nullptr));
  EXPECT_EQ("", canon(ilx_canonical_lang, nullptr));
}

TEST(LocaleNames, ResultsAreCutToTheBuffer) {
  EXPECT_EQ("de_D", canon(ilx_canonical_loc, "de_DE.UTF-8", 5));
  EXPECT_EQ("", canon(ilx_canonical_loc, "german", 1));
  char buf[4] = {'a', 'b', 'c', '\0'};
  EXPECT_EQ(0, ilx_canonical_loc("german", buf, 0));
  EXPECT_EQ(0, ilx_os_lang_name(buf, 0));
  EXPECT_STREQ("abc", buf);  // size 0 writes nothing
  EXPECT_EQ(0, ilx_canonical_loc("german", nullptr, 10));
  const std::pair<std::string, std::string> made[] = {
      {"de_DE.UTF-8", "de_DE"}, {std::string(40, 'q'), std::string(31, 'q')}};
  for (const auto &m : made) {
    char *loc = ilx_loc_new(m.first.c_str());
    ASSERT_NE(nullptr, loc);
    EXPECT_EQ(m.second, loc);
    EXPECT_EQ(0, ilx_loc_free(loc));
  }
  EXPECT_EQ(0, ilx_loc_free(nullptr));
}

TEST(LocaleNames, WindowsLanguageIdentifiers) {
  const std::pair<uint16_t, const char *> rows[] = {
      {0x0409, "en"}, {0x0404, "zh_TW"}, {0x0804, "zh_CN"}, {0x0C04, "zh"}, {0x0416, "pt_BR"},
      {0x0816, "pt"}, {0x041A, "hr"}, {0x081A, "hr"},  // Croatian, Serbian: the first row wins
      {0x0000, "C"}, {0x0417, "C"},    // no row for 0x17
      {0xFC07, "de"},                  // only the low 10 bits select the language
  };
  for (const auto &r : rows) EXPECT_STREQ(r.second, CheckLangTable(r.first)) << r.first;
  EXPECT_STREQ("C", ilx_setlocale(0, nullptr));
  const char *name = "de_DE";
  EXPECT_EQ(name, ilx_setlocale(6, name));
}

TEST(LocaleNames, UserLanguageComesFromTheEnvironment) {
  cattest::EnvVar lang("LANG", nullptr), all("LC_ALL", nullptr), messages("LC_MESSAGES", nullptr);
  // Each step sets one variable (empty counts as unset) and reads the result.
  const struct { const char *var, *value; size_t size; const char *lang; } steps[] = {
      {nullptr, nullptr, 32, "C"}, {"LC_MESSAGES", "de_DE.UTF-8", 32, "de_DE.UTF-8"},
      {"LC_ALL", "fr_FR", 32, "fr_FR"},
      {"LANG", "fr_CA.UTF-8", 32, "fr_CA.UTF-8"},  // returned as it stands
      {nullptr, nullptr, 4, "fr_"}, {"LANG", "", 32, "fr_FR"}, {"LC_ALL", "", 32, "de_DE.UTF-8"},
  };
  for (const auto &s : steps) {
    if (s.var != nullptr) setenv(s.var, s.value, 1);
    char buf[32];
    EXPECT_EQ(0, ilx_os_lang_name(buf, s.size));
    EXPECT_STREQ(s.lang, buf) << (s.var ? s.var : "") << "=" << (s.value ? s.value : "");
  }
}

}  // namespace
