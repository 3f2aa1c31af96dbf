// Handles, name normalization, the table search and alias files, table images checked on load,
// set-up and tear-down; locale names: the user's language from the environment, canonical names,
// fallback locales and Windows language identifiers.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <utility>

#include "ilx_test_util.h"
#include "lumex/ilx.h"

namespace {

using ilxtest::EnvVar;

// A scratch table directory, and the bytes of supplied tables to put in it.
class TableDir : public ::testing::Test {
 protected:
  void TearDown() override { ilx_uninit(); }
  void write(const std::string &name, const std::string &bytes) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
  }
  static std::string tableBytes(const char *name) {
    const std::string b = ilxtest::slurp(std::string(LUMEX_BUILD_DATA_DIR "/codeset/") + name);
    EXPECT_FALSE(b.empty()) << name;
    return b;
  }
  void useDir() { ASSERT_EQ(ilx_set_dir(dir_.c_str()), 0); }

  // The variables as they were, put back after each test.
  EnvVar ilxdir_{"ILXDIR", std::getenv("ILXDIR")}, lcall_{"LC_ALL", std::getenv("LC_ALL")};
  EnvVar codeset_{"ILX_CODESET", std::getenv("ILX_CODESET")};
  EnvVar bindir_{"BINDIR", std::getenv("BINDIR")};
  ilxtest::TempDir tmp_;
  const std::string dir_ = tmp_.path();
};

TEST(Handles, NameNormalizationBuiltinsDuplicatesAndNames) {
  EnvVar lc("LC_ALL", "de_DE.iso-8859-15@euro");
  char buf[128];
  const std::pair<const char *, const char *> cases[] = {
      {"utf-8", "UTF8"}, {"KRZ-1047", "1047"}, {"iso_8859-15", "ISO885915"}, {"krzkrz", "KRZ"}};
  for (const auto &c : cases) {
    ASSERT_EQ(get_table_name(c.first, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, c.second) << c.first;
  }
  EXPECT_EQ(get_table_name("utf-8", buf, 0), 1);
  EXPECT_EQ(get_table_name("ISO-8859-1", buf, 5), 1);  // does not fit
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(ilx_os_cs_name(buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "ISO885915");
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(get_table_name("dos", buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "ANSIX341968");
  CodeSetT a = ilx_cs_new("utf-8");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, ilx_cs_new("Utf8"));
  EXPECT_EQ(ilx_cs_free(a), 0);  // ignored: still usable
  EXPECT_STREQ(ilx_get_cs_name(a), "UTF8");
  uint32_t size = 7;
  EXPECT_EQ(ilx_cs_table(a, &size), nullptr);
  EXPECT_EQ(size, 0u);
  CodeSetT l1 = ilx_cs_new("ISO_8859-1");
  ASSERT_NE(l1, nullptr);
  EXPECT_NE(ilx_cs_table(l1, &size), nullptr);
  EXPECT_GE(size, 1760u);
  CodeSetT dup = ilx_dup_handle(l1);
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(ilx_cs_table(dup, nullptr), ilx_cs_table(l1, nullptr));
  char out[4];
  EXPECT_EQ(ilx_from_utf8(dup, "\xE2\x82\xAC", 3, out, 4), 1);  // no euro in Latin-1
  EXPECT_EQ(ilx_check_subs(dup), 1);
  EXPECT_EQ(ilx_check_subs(dup), 0);  // reading the count resets it
  EXPECT_EQ(ilx_check_subs(l1), 0);  // each handle counts its own
  ilx_cs_free(dup);                  // leaves the table to l1
  EXPECT_EQ(ilx_to_utf8(l1, "\xE9", 1, out, 4), 2);
  ilx_cs_free(l1);
  for (const std::string &bad : {std::string("no-such-code-set"), std::string(200, 'A')})
    EXPECT_EQ(ilx_cs_new(bad.c_str()), nullptr) << bad;
  EXPECT_EQ(ilx_cs_new(nullptr), nullptr);
}

TEST_F(TableDir, AliasFilesPathsAndWhatIsNotATable) {
  const std::pair<const char *, std::string> files[] = {
      {"CP1252", tableBytes("CP1252")}, {"A1", "A2\n"}, {"A2", "A3"}, {"A3", " A4\r\n"},
      {"A4", "CP1252"}, {"B0", "A1"}, {"KRZ-1047", tableBytes("IBM1047")},
      {"MYEBCDIC", "KRZ-1047\n"},  // alias text is used without normalization
      {"OTHER", "krz1047\n"}, {"LATIN", tableBytes("ISO88591")}, {"L", "LATIN"},
      {"EMPTYALIAS", " \n\t"}};
  for (const auto &f : files) write(f.first, f.second);
  ASSERT_EQ(::mkdir((dir_ + "/FOLDER").c_str(), 0700), 0);
  useDir();
  const struct { std::string name; const char *table; char a; } found[] = {  // a: "A" written
      {"a1", "CP1252", 'A'}, {"my-ebcdic", "IBM1047", '\xC1'},  // a1: A1 A2 A3 A4 CP1252
      {dir_ + "/L", "ISO88591", 'A'}};  // a path, also through an alias
  for (const auto &f : found) {
    CodeSetT cs = ilx_cs_new(f.name.c_str());
    ASSERT_NE(cs, nullptr) << f.name;
    EXPECT_STREQ(ilx_get_cs_name(cs), f.table);
    char out[2];
    EXPECT_EQ(ilx_from_utf8(cs, "A", 1, out, 2), 1);
    EXPECT_EQ(out[0], f.a) << f.name;
    ilx_cs_free(cs);
  }
  // One alias file more than five (a loop stops there too), a normalized alias
  // text, a missing path, a directory, an empty alias, a name that is nothing.
  for (std::string name : {"B0", "OTHER", "/MISSING", "FOLDER", "EMPTYALIAS", "---"}) {
    if (name[0] == '/') name = dir_ + name;
    EXPECT_EQ(ilx_cs_new(name.c_str()), nullptr) << name;
  }
}

TEST_F(TableDir, DamagedTablesAreRefusedAndTooLongDirectoriesSkipped) {
  const auto get16 = [](const std::string &t, size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(t[at]) |
                                 static_cast<unsigned char>(t[at + 1]) << 8);
  };
  const auto damaged = [](std::string t, size_t at, unsigned v) {
    return t.replace(at, 2, {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)});
  };
  const std::string sbcs = tableBytes("ISO88591"), dbcs = tableBytes("CP932");
  const std::string mbcs = tableBytes("EUCJP"), gb = tableBytes("GB18030");
  // A from-Unicode row, a lead byte's row and the GB 18030 section past the end.
  write("BADSBCS", damaged(sbcs, 224 + 2 * 0x20, 0xFFFF));
  write("BADDBCS", damaged(dbcs, 736 + 2 * 0x82, 0xFFF0));
  write("BADGB", damaged(gb, 38, 0xFFF0));
  // A trie node with more children than the image holds.
  write("BADMBCS", damaged(mbcs, get16(mbcs, 0) + get16(mbcs, 736 + 2 * 0xB0) * 4, 0xFFFF));
  // A block index naming a record that does not exist.
  write("BADGBBLOCK", damaged(gb, 1760 + 32 + get16(gb, 1760 + 4) * 2, 0xFFFF));
  write("SHORT", sbcs.substr(0, 1759));
  useDir();
  for (const char *name : {"BADSBCS", "BADDBCS", "BADMBCS", "BADGB", "BADGBBLOCK", "SHORT"})
    EXPECT_EQ(ilx_cs_new(name), nullptr) << name;
  // An ILXDIR too long is skipped; BINDIR/../generic/codeset comes next.
  for (const char *sub : {"/bin", "/generic", "/generic/codeset"})
    ASSERT_EQ(::mkdir((dir_ + sub).c_str(), 0700), 0);
  write("generic/codeset/ONLYBIN", tableBytes("CP850"));
  ::setenv("ILXDIR", (dir_ + "/" + std::string(260, 'x')).c_str(), 1);
  ::setenv("BINDIR", (dir_ + "/bin").c_str(), 1);
  CodeSetT cs = ilx_cs_new("only-bin");
  ASSERT_NE(cs, nullptr);
  ilx_cs_free(cs);
}

TEST_F(TableDir, SetUpFromTheEnvironment) {
  ilx_uninit();
  ::setenv("ILX_CODESET", "ISO-8859-15", 1);
  ::setenv("LC_ALL", "en_US.CP1252", 1);
  ilx_init();
  EXPECT_STREQ(ilx_get_cs_name(nullptr), "ISO885915");
  char out[4];
  EXPECT_EQ(ilx_to_utf8(nullptr, "\xA4", 1, out, 4), 3);  // the euro sign of Latin-9
  EXPECT_EQ(std::string(out, 3), "\xE2\x82\xAC");
  // Freeing the default code set falls back to the OS handle.
  ilx_cs_free(ilx_get_def_cs());
  EXPECT_STREQ(ilx_get_cs_name(nullptr), "OS");
  ilx_uninit();
  // An unknown ILX_CODESET falls back to a DEFAULT file, then to "OS".
  write("DEFAULT", "KOI8R\n");
  write("KOI8R", tableBytes("KOI8R"));
  useDir();
  ::setenv("ILX_CODESET", "nothing-like-it", 1);
  ilx_init();
  EXPECT_STREQ(ilx_get_cs_name(nullptr), "KOI8R");
  ilx_uninit();
  ::unlink((dir_ + "/DEFAULT").c_str());
  ::setenv("LC_ALL", "C", 1);
  ::setenv("ILXDIR", dir_.c_str(), 1);
  ilx_init();
  EXPECT_STREQ(ilx_get_cs_name(nullptr), "OS");
  EXPECT_EQ(ilx_from_utf8(nullptr, "\xC5\x81\xC3\xA9", 4, out, 4), 2);  // above 255: "?"
  EXPECT_EQ(std::string(out, 2), "?\xE9");
}

TEST_F(TableDir, TheDefaultHandleAndSetDir) {
  ilx_init();
  CodeSetT mine = ilx_cs_new("CP437");
  ASSERT_NE(mine, nullptr);
  ilx_set_def_cs(mine);
  EXPECT_EQ(ilx_get_def_cs(), mine);
  ilx_set_def_cs(nullptr);
  EXPECT_STREQ(ilx_get_cs_name(nullptr), "OS");
  ilx_set_def_cs(mine);
  ilx_uninit();  // frees mine (the sanitizer run would report a double free or a leak)
  EXPECT_NE(ilx_get_def_cs(), nullptr);
  ASSERT_EQ(ilx_set_dir("/first"), 0);
  EXPECT_STREQ(ilx_get_dir(), "/first");
  ASSERT_EQ(ilx_set_dir(dir_.c_str()), 0);
  EXPECT_EQ(std::string(ilx_get_dir()), dir_);
  ilx_init();
  ilx_uninit();  // releases its text but leaves the value in the environment
  EXPECT_EQ(std::string(std::getenv("ILXDIR")), dir_);
  EXPECT_EQ(ilx_set_dir(nullptr), -1);
}

// One of the name functions into a buffer of `size` bytes, the rest 'x'.
std::string canon(int (*f)(const char *, char *, size_t), const char *name, size_t size = 32) {
  char buf[64];
  std::memset(buf, 'x', sizeof buf);
  EXPECT_EQ(0, f(name, buf, size));
  return buf;
}

TEST(LocaleNames, CanonicalAndFallbackFormsCutToTheBuffer) {
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

TEST(LocaleNames, WindowsIdentifiersAndTheUserLanguageFromTheEnvironment) {
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
  EnvVar lang("LANG", nullptr), all("LC_ALL", nullptr), messages("LC_MESSAGES", nullptr);
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
