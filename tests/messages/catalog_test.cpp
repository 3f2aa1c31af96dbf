// The toolkit's message table against its published texts, the catalog
// lmxmsg.cat the build makes from it (found along NLSPATH), and a translated
// catalog that replaces its texts for another language.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "messages/i18msg.h"
#include "messages/msg_table.h"

namespace {

// The texts of the keys that carry a message, as published (without the
// carriage return that ends every text of the table).
const std::map<int, std::string> kPublished = {
    {1, "LMXLG01E No listeners are registered with the logger %s."},
    {2, "LMXBC02E The message catalog file %s could not be opened."},
    {3, "LMXBC03E The message with set index %1$d and key index %2$d was not found in the message catalog %3$s."},
    {10, "LMXBC0010E The following BAS error occurred: %s"},
    {20, "LMXBC0020E Out of memory."},
    {30, "LMXBC0030E A value must be specified for the property '%s' ."},
    {31, "LMXBC0031E Property '%1$s' must be %2$d characters or less."},
    {32, "LMXFH0032E Property '%1$s' must be a valid file path for this platform, but value '%2$s' was given."},
    {33, "LMXBC0033E ANULLvalue for parameter %1$s was passed to the function %2$s. The function call will be ignored."},
    {34, "LMX0034E A negative value for parameter %1$s was passed to the function %2$s. The function call will be ignored."},
    {35, "LMXLG0035E A logger of class %s could not get the host name. The host name will not be logged."},
    {36, "LMXFH0036W Could not load codeset %s. Logged text will be stored in UTF-8 encoding instead."},
    {40, "LMXFH0040E Unable to get directory list for the file: %s"},
    {50, "LMXTK0050W Failed to initialize the Lumex toolkit."},
    {51, "LMX0051E The log manager could not read the properties file %s."},
    {52, "LMX0052E The value of property '%s' in the properties file could not be parsed, because it contains a backslash character that is not part of a valid escape sequence."},
    {60, "LMXBC0060W The object named '%s' is corrupt."},
    {61, "LMXBC0061W Object '%1$s' exists but is of class '%2$s' instead of '%3$s' ."},
    {62, "LMXBC0062W Class '%1$s' must be defined before object '%2$s' can be created."},
    {63, "LMXBC0063W A class must be specified before object '%1$s' can be created."},
    {70, "LMXBC0070W The logging method parameter list did not end with a NULL."},
    {71, "LMXBC0071W The logging method's parameter list is missing type markers."},
    {72, "LMXMP0072W Could not read the active log file %1s during log file rollover."},
    {73, "LMXMP0073W Could not write to the backup log file %1s during log file rollover."},
    {74, "LMXMP0074W The value %1s is not a valid file permission mask for file handler %2s. Please specify a four-digit octal value (with a leading zero)."},
    {75, "LMXMP0075W Could not set file %1s to permission mode %2o. The system error code is %3d."},
    {100, "Logger for basic messages"},
    {101, "Logger for messages with detailed problem data"},
    {110, "Filters messages by level"},
    {120, "Handles output to the console"},
    {121, "Handles output to local log files"},
    {130, "Formats a basic message summary."},
    {131, "Formats all message data as an XML record."},
};

// The keys after the published ones are the toolkit's own; the built
// catalog holds every text of the table under its key.
TEST(MsgTable, EveryKeyHoldsItsPublishedTextOrNumberedPlaceholderAlsoInTheBuiltCatalog) {
  const std::string path = std::string(LUMEX_BUILD_DATA_DIR) + "/nls/C/lmxmsg.cat";
  MCCatalogT *cat = ilx_catopen(path.c_str(), 0, nullptr);
  ASSERT_NE(cat, nullptr) << path;
  CodeSetT utf8 = ilx_cs_new("UTF8");
  int placeholder = 0;
  for (int key = 1; key <= lmx::kMsgTableSize; ++key) {
    const char *text = lmx::msgText(key);
    ASSERT_NE(text, nullptr) << key;
    if (key <= 131) {
      auto it = kPublished.find(key);
      char unused[16];
      std::snprintf(unused, sizeof unused, "unused%03d", placeholder);
      std::string expected = it != kPublished.end() ? it->second : (++placeholder, unused);
      EXPECT_EQ(text, expected + "\r") << "key " << key;
    }
    EXPECT_STREQ(ilx_catgets(cat, lmx::kToolkitSet, key, "<missing>", utf8), text) << key;
  }
  EXPECT_EQ(placeholder, 98);
  for (int key : {0, -1, 134}) EXPECT_EQ(lmx::msgText(key), nullptr) << key;
  EXPECT_STREQ(ilx_catgets(cat, lmx::kToolkitSet, 134, "<missing>", nullptr), "<missing>");
  ilx_catclose(cat);
  ilx_cs_free(utf8);
}

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
      {"en_US", 4, nullptr, nullptr, "unused000\r"},
      {"de_DE.UTF-8", 62, "cls", "obj",
       "LMXBC0062W Die Klasse 'cls' muss definiert sein, bevor das Objekt 'obj' erstellt "
       "werden kann.\r"},
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

}  // namespace
