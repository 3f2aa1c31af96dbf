// The toolkit's catalog lmxmsg.cat from the build, found along NLSPATH, and
// a translated catalog that replaces its texts for another language.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "messages/i18msg.h"
#include "messages/msg_table.h"

namespace {

std::string take(char *text) {
  std::string s = text != nullptr ? text : "<null>";
  BasMemoryFree(text);
  return s;
}

TEST(ToolkitCatalog, BindingFindsTheLanguagesCatalogAlongNlspath) {
  const std::string nlspath = std::string(LUMEX_TEST_NLS_DIR) + "/%L/%N.cat:" +
                              LUMEX_BUILD_DATA_DIR + "/nls/%L/%N.cat";
  setenv("NLSPATH", nlspath.c_str(), 1);
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  lmxI18InitIlx();
  const struct {
    const char *lang;
    int32_t key;
    const char *p1, *p2;
    std::string expected;
  } rows[] = {
      // The build's catalog: its text, not the default given here.
      {"C", 62, "cls", "obj",
       "LMXBC0062W Class 'cls' must be defined before object 'obj' can be created.\r"},
      {"fr_FR.UTF-8", 20, nullptr, nullptr, "LMXBC0020E Out of memory.\r"},
      {"en_US", 4, nullptr, nullptr, "unused000\r"},
      {"de_DE.UTF-8", 62, "cls", "obj",
       "LMXBC0062W Die Klasse 'cls' muss definiert sein, bevor das Objekt 'obj' erstellt "
       "werden kann.\r"},
      {"de", 20, nullptr, nullptr, "LMXBC0020E Kein Speicher mehr.\r"},
      // The German catalog is found first and lacks the key: the default.
      {"de_AT", 61, "a", "b", "default a b"},
  };
  for (const auto &r : rows) {
    setenv("LANG", r.lang, 1);
    I18Msg *msg = lmxIntlAllocI18Msg(lmx::kToolkitCatalog, lmx::kToolkitSet, r.key,
                                     "default %1$s %2$s");
    if (r.p1 != nullptr) lmxIntlAddI18MsgParmString(msg, r.p1);
    if (r.p2 != nullptr) lmxIntlAddI18MsgParmString(msg, r.p2);
    EXPECT_EQ(take(lmxIntlBindI18Msg(msg)), r.expected) << r.lang << " key " << r.key;
    lmxIntlFreeI18Msg(msg);
  }
  lmxI18UninitIlx();
  setenv("LANG", "C.UTF-8", 1);
  unsetenv("NLSPATH");
}

TEST(ToolkitCatalog, EveryKeyOfTheBuiltCatalogMatchesTheTable) {
  const std::string path = std::string(LUMEX_BUILD_DATA_DIR) + "/nls/C/lmxmsg.cat";
  MCCatalogT *cat = ilx_catopen(path.c_str(), 0, nullptr);
  ASSERT_NE(cat, nullptr) << path;
  CodeSetT utf8 = ilx_cs_new("UTF8");
  for (int32_t key = 1; key <= lmx::kMsgTableSize; ++key) {
    const char *text = ilx_catgets(cat, lmx::kToolkitSet, key, "<missing>", utf8);
    EXPECT_STREQ(text, lmx::msgText(key)) << key;
  }
  EXPECT_STREQ(ilx_catgets(cat, lmx::kToolkitSet, 134, "<missing>", nullptr), "<missing>");
  ilx_catclose(cat);
  ilx_cs_free(utf8);
}

}  // namespace
