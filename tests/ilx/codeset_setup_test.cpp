// Handles, name normalization, the table search with its alias files, the
// check of table images on load, and the services' set-up and tear-down.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "lumex/ilx.h"

namespace {

std::string saved(const char *var) {
  const char *v = std::getenv(var);
  return v != nullptr ? v : "";
}
void restore(const char *var, const std::string &value) {
  if (value.empty()) ::unsetenv(var);
  else ::setenv(var, value.c_str(), 1);
}

// A scratch table directory that ILXDIR points at while the test runs.
class TableDir : public ::testing::Test {
 protected:
  void SetUp() override {
    ilxdir_ = saved("ILXDIR");
    codeset_ = saved("ILX_CODESET");
    lcall_ = saved("LC_ALL");
    char tmpl[] = "/tmp/lmx_tables_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    ilx_uninit();
    restore("ILXDIR", ilxdir_);
    restore("ILX_CODESET", codeset_);
    restore("LC_ALL", lcall_);
    std::string cmd = "rm -rf " + dir_;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
  }
  void write(const std::string &name, const std::string &bytes) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
  }
  // The bytes of a supplied table, read through a handle.
  static std::string tableBytes(const char *name) {
    ::setenv("ILXDIR", LUMEX_BUILD_DATA_DIR "/codeset/", 1);
    CodeSetT cs = ilx_cs_new(name);
    EXPECT_NE(cs, nullptr) << name;
    if (cs == nullptr) return {};
    uint32_t size = 0;
    const ConvTableT *t = ilx_cs_table(cs, &size);
    std::string bytes(reinterpret_cast<const char *>(t), size);
    ilx_cs_free(cs);
    return bytes;
  }
  void useDir() { ASSERT_EQ(ilx_set_dir(dir_.c_str()), 0); }

  std::string dir_, ilxdir_, codeset_, lcall_;
};

TEST(Names, Normalization) {
  char buf[128];
  const std::pair<const char *, const char *> cases[] = {
      {"utf-8", "UTF8"},      {"KRZ-1047", "1047"},       {"ISO8859-1", "ISO88591"},
      {"iso_8859-15", "ISO885915"}, {"Shift_JIS", "SHIFTJIS"}, {"krzkrz", "KRZ"},
  };
  for (const auto &c : cases) {
    ASSERT_EQ(get_table_name(c.first, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, c.second) << c.first;
  }
  EXPECT_EQ(get_table_name("utf-8", buf, 0), 1);
  EXPECT_EQ(get_table_name("ISO-8859-1", buf, 5), 1);  // does not fit
  EXPECT_STREQ(buf, "");
  std::string lc = saved("LC_ALL");
  ::setenv("LC_ALL", "de_DE.iso-8859-15@euro", 1);
  EXPECT_EQ(get_table_name("os", buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "ISO885915");
  EXPECT_EQ(ilx_os_cs_name(buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "ISO885915");
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(get_table_name("DOS", buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "ANSIX341968");
  restore("LC_ALL", lc);
}

TEST(Handles, BuiltinsDuplicatesAndNames) {
  CodeSetT a = ilx_cs_new("utf-8"), b = ilx_cs_new("UTF8"), c = ilx_cs_new("Utf8");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(b, c);
  EXPECT_EQ(ilx_cs_free(a), 0);  // ignored: still usable
  EXPECT_STREQ(ilx_get_cs_name(a), "UTF8");
  uint32_t size = 7;
  EXPECT_EQ(ilx_cs_table(a, &size), nullptr);
  EXPECT_EQ(size, 0u);

  CodeSetT l1 = ilx_cs_new("ISO_8859-1");
  ASSERT_NE(l1, nullptr);
  EXPECT_STREQ(ilx_get_cs_name(l1), "ISO88591");
  EXPECT_NE(ilx_cs_table(l1, &size), nullptr);
  EXPECT_GE(size, 1760u);
  CodeSetT dup = ilx_dup_handle(l1);
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(ilx_cs_table(dup, nullptr), ilx_cs_table(l1, nullptr));
  char out[4];
  EXPECT_EQ(ilx_from_utf8(dup, "\xE2\x82\xAC", 3, out, 4), 1);  // no euro in Latin-1
  EXPECT_EQ(ilx_check_subs(dup), 1);
  EXPECT_EQ(ilx_check_subs(l1), 0);  // each handle counts its own
  ilx_cs_free(dup);                  // leaves the table to l1
  EXPECT_EQ(ilx_to_utf8(l1, "\xE9", 1, out, 4), 2);
  ilx_cs_free(l1);

  EXPECT_EQ(ilx_cs_new("no-such-code-set"), nullptr);
  EXPECT_EQ(ilx_cs_new(std::string(200, 'A').c_str()), nullptr);
  EXPECT_EQ(ilx_cs_new(nullptr), nullptr);
}

TEST_F(TableDir, AliasChainsOfFiveFilesResolveAndSixDoNot) {
  write("CP1252", tableBytes("CP1252"));
  write("A1", "A2\n");
  write("A2", "A3");
  write("A3", " A4\r\n");
  write("A4", "CP1252");
  write("B0", "A1");
  useDir();
  CodeSetT five = ilx_cs_new("a1");  // A1 A2 A3 A4 CP1252
  ASSERT_NE(five, nullptr);
  EXPECT_STREQ(ilx_get_cs_name(five), "CP1252");
  ilx_cs_free(five);
  EXPECT_EQ(ilx_cs_new("B0"), nullptr);  // one file more
}

TEST_F(TableDir, AliasTextIsUsedWithoutNormalization) {
  write("KRZ-1047", tableBytes("IBM1047"));
  write("MYEBCDIC", "KRZ-1047\n");
  write("OTHER", "krz1047\n");
  useDir();
  CodeSetT e = ilx_cs_new("my-ebcdic");
  ASSERT_NE(e, nullptr);
  char out[2];
  EXPECT_EQ(ilx_from_utf8(e, "A", 1, out, 2), 1);
  EXPECT_EQ(out[0], '\xC1');
  ilx_cs_free(e);
  EXPECT_EQ(ilx_cs_new("OTHER"), nullptr);
}

TEST_F(TableDir, TableFilePathsAndTheirAliases) {
  write("LATIN", tableBytes("ISO88591"));
  write("L", "LATIN");
  CodeSetT byPath = ilx_cs_new((dir_ + "/L").c_str());
  ASSERT_NE(byPath, nullptr);
  EXPECT_STREQ(ilx_get_cs_name(byPath), "ISO88591");
  ilx_cs_free(byPath);
  EXPECT_EQ(ilx_cs_new((dir_ + "/MISSING").c_str()), nullptr);
}

// Tables whose offsets lead outside the image are refused.
TEST_F(TableDir, DamagedTablesAreNotTables) {
  auto put16 = [](std::string &t, size_t at, unsigned v) {
    t[at] = static_cast<char>(v & 0xFF);
    t[at + 1] = static_cast<char>(v >> 8);
  };
  std::string sbcs = tableBytes("ISO88591");
  put16(sbcs, 224 + 2 * 0x20, 0xFFFF);  // a from-Unicode row past the end
  write("BADSBCS", sbcs);
  std::string dbcs = tableBytes("CP932");
  put16(dbcs, 736 + 2 * 0x82, 0xFFF0);  // a lead byte's row past the end
  write("BADDBCS", dbcs);
  std::string mbcs = tableBytes("EUCJP");
  size_t d = static_cast<unsigned char>(mbcs[0]) | static_cast<unsigned char>(mbcs[1]) << 8;
  unsigned node = static_cast<unsigned char>(mbcs[736 + 2 * 0xB0]) |
                  static_cast<unsigned char>(mbcs[737 + 2 * 0xB0]) << 8;
  put16(mbcs, d + node * 4, 0xFFFF);  // a trie node with more children than the image holds
  write("BADMBCS", mbcs);
  std::string gb = tableBytes("GB18030");
  put16(gb, 38, 0xFFF0);  // the GB 18030 section past the end
  write("BADGB", gb);
  std::string gb2 = tableBytes("GB18030");
  size_t g = 1760;
  unsigned blocks = static_cast<unsigned char>(gb2[g + 4]) | static_cast<unsigned char>(gb2[g + 5]) << 8;
  put16(gb2, g + 32 + blocks * 2, 0xFFFF);  // a block index naming a record that does not exist
  write("BADGBBLOCK", gb2);
  std::string shortTable = tableBytes("ISO88591").substr(0, 1759);
  write("SHORT", shortTable);
  useDir();
  for (const char *name : {"BADSBCS", "BADDBCS", "BADMBCS", "BADGB", "BADGBBLOCK", "SHORT"})
    EXPECT_EQ(ilx_cs_new(name), nullptr) << name;
}

TEST_F(TableDir, OnlyRegularFilesAndUsableDirectoriesAreSearched) {
  ASSERT_EQ(::mkdir((dir_ + "/FOLDER").c_str(), 0700), 0);
  write("EMPTYALIAS", " \n\t");
  write("LOOP", "LOOP");
  useDir();
  EXPECT_EQ(ilx_cs_new("FOLDER"), nullptr);
  EXPECT_EQ(ilx_cs_new("EMPTYALIAS"), nullptr);
  EXPECT_EQ(ilx_cs_new("LOOP"), nullptr);  // five reads, then the directory gives up
  EXPECT_EQ(ilx_cs_new("---"), nullptr);   // normalizes to nothing
  // An ILXDIR of 255 characters or more is skipped; the next places are tried.
  write("ONLYBIN", tableBytes("CP850"));
  std::string longDir = dir_ + "/" + std::string(260, 'x');
  ::setenv("ILXDIR", longDir.c_str(), 1);
  std::string bindir = dir_ + "/bin";
  ASSERT_EQ(::mkdir(bindir.c_str(), 0700), 0);
  ASSERT_EQ(::mkdir((dir_ + "/generic").c_str(), 0700), 0);
  ASSERT_EQ(::mkdir((dir_ + "/generic/codeset").c_str(), 0700), 0);
  ASSERT_EQ(::rename((dir_ + "/ONLYBIN").c_str(), (dir_ + "/generic/codeset/ONLYBIN").c_str()), 0);
  std::string oldBindir = saved("BINDIR");
  ::setenv("BINDIR", bindir.c_str(), 1);
  CodeSetT cs = ilx_cs_new("only-bin");
  restore("BINDIR", oldBindir);
  ASSERT_NE(cs, nullptr);  // found through BINDIR/../generic/codeset
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
  EXPECT_EQ(ilx_to_utf8(nullptr, "\xE9", 1, out, 4), 2);  // bytes are code points
  EXPECT_EQ(std::string(out, 2), "\xC3\xA9");
}

TEST_F(TableDir, SetDirKeepsTheEnvironmentSound) {
  ASSERT_EQ(ilx_set_dir("/first"), 0);
  EXPECT_STREQ(ilx_get_dir(), "/first");
  ASSERT_EQ(ilx_set_dir(dir_.c_str()), 0);
  EXPECT_EQ(std::string(ilx_get_dir()), dir_);
  ilx_init();
  ilx_uninit();  // releases its text but leaves the value in the environment
  EXPECT_EQ(saved("ILXDIR"), dir_);
  EXPECT_EQ(ilx_set_dir(nullptr), -1);
}

TEST_F(TableDir, DefaultHandleGivenToSetDefIsReleasedByUninit) {
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
}

}  // namespace
