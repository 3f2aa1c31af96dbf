// The file handler: configuration keys, open, rollover with header and
// trailer, the per-record check, permissions, encoding and failures.
#include <sys/mount.h>
#include <sys/stat.h>

#include "file_fixture.h"

namespace {

class FileHandlerTest : public FileTest {
 protected:
  void SetUp() override {
    FileTest::SetUp();
    test::gHeader.clear();
    test::gTrailer.clear();
  }
  ObjClass cls_ = test::fileClass(false);
  ObjClass fmt_ = test::formatterClass();
};

mode_t modeOf(const std::string &name) {
  struct stat st;
  return stat(name.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST_F(FileHandlerTest, StartsWithTheDocumentedValues) {
  test::Handler h(&cls_, &fmt_);
  FileHandlerVars *v = h.vars();
  EXPECT_EQ(str(v->fullName), at("default.log"));
  EXPECT_EQ(v->maxBytes, 1048576);
  EXPECT_EQ(v->maxFiles, 3);
  EXPECT_EQ(v->filePermission, 0744);
  EXPECT_EQ(v->dirPermission, 0771);
  EXPECT_EQ(v->appending, 1);
  EXPECT_EQ(v->lockKey, 31821);
  EXPECT_EQ(v->logInternalErrs, 1);
  EXPECT_EQ(v->open, 0);
  // The directory is the one current at creation.
  fs::create_directory(at("later"));
  fs::current_path(at("later"));
  h.log("one\n");
  EXPECT_EQ(readFile(at("default.log")), "one\n");
  EXPECT_EQ(modeOf(at("default.log")), 0744u);
}

TEST_F(FileHandlerTest, ConfigurationKeysSetTheirFields) {
  struct Row {
    const char *key, *value;
    int32_t FileHandlerVars::*field;
    int32_t expected;
  } rows[] = {
      {"maxFileBytes", "200", &FileHandlerVars::maxBytes, 200},
      {"maxFileBytes", nullptr, &FileHandlerVars::maxBytes, 1024},  // removed: not the default
      {"maxFileSize", "5", &FileHandlerVars::maxBytes, 5},
      {"maxFileSize", "many", &FileHandlerVars::maxBytes, 1024},
      {"maxFiles", "7", &FileHandlerVars::maxFiles, 7},
      {"maxFiles", nullptr, &FileHandlerVars::maxFiles, 3},
      {"filePermission", "0640", &FileHandlerVars::filePermission, 0640},
      {"filePermission", "640", &FileHandlerVars::filePermission, 0640},
      {"filePermission", "0x1", &FileHandlerVars::filePermission, 0},
      {"filePermission", "99", &FileHandlerVars::filePermission, 0744},  // refused: unchanged
      {"filePermission", nullptr, &FileHandlerVars::filePermission, 0744},
      {"dirPermission", "0700", &FileHandlerVars::dirPermission, 0700},
      {"dirPermission", "8", &FileHandlerVars::dirPermission, 0771},
      {"MPFileSemKey", "12", &FileHandlerVars::lockKey, 12},
      {"MPFileSemKey", "key", &FileHandlerVars::lockKey, 0},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(std::string(r.key) + "=" + str(r.value));
    test::Handler h(&cls_, &fmt_);
    h.set(r.key, r.value);
    EXPECT_EQ(h.vars()->*r.field, r.expected);
  }
  struct Flag {
    const char *key, *value;
    unsigned char FileHandlerVars::*field;
    unsigned char expected;
  } flags[] = {
      {"appending", "FALSE", &FileHandlerVars::appending, 0},
      {"appending", nullptr, &FileHandlerVars::appending, 1},
      {"appending", "no", &FileHandlerVars::appending, 1},
      {"logInternalErrs", "false", &FileHandlerVars::logInternalErrs, 0},
      {"logInternalErrs", "True", &FileHandlerVars::logInternalErrs, 1},
  };
  for (const Flag &f : flags) {
    SCOPED_TRACE(std::string(f.key) + "=" + str(f.value));
    test::Handler h(&cls_, &fmt_);
    h.vars()->appending = h.vars()->logInternalErrs = 7;
    h.set(f.key, f.value);
    EXPECT_EQ(h.vars()->*f.field, f.expected);
  }
}

TEST_F(FileHandlerTest, MissingDirectoriesAreCreated) {
  test::Handler h(&cls_, &fmt_);
  h.set("dirPermission", "0750");
  h.set("fileName", "a\\b/c/x.log");
  h.log("r\n");
  EXPECT_EQ(readFile(at("a/b/c/x.log")), "r\n");
  EXPECT_EQ(modeOf(at("a/b")) & 0777, 0750u & ~0022u & 0777);
}

// Every rollover ends the backup with the trailer and starts the new file
// with the header; the record that passes the limit still lands.
TEST_F(FileHandlerTest, RolloverOrderAndContents) {
  test::gHeader = "H\n";
  test::gTrailer = "T\n";
  test::Handler h(&cls_, &fmt_);
  h.set("maxFileBytes", "10");
  for (const char *r : {"r1\n", "r2\n", "r3\n", "r4\n", "r5\n", "r6\n", "r7\n"}) h.log(r);
  EXPECT_EQ(readFile(at("default.log")), "H\nr7\n");
  EXPECT_EQ(readFile(at("default1.log")), "H\nr4\nr5\nr6\nT\n");
  EXPECT_EQ(readFile(at("default2.log")), "H\nr1\nr2\nr3\nT\n");
  EXPECT_FALSE(fs::exists(at("default3.log")));
  h.close();
  EXPECT_EQ(readFile(at("default.log")), "H\nr7\nT\n");
}

TEST_F(FileHandlerTest, NameWithDigitsRollsItsOwnFilesOnly) {
  writeFile(at("server.txt"), "other\n");
  writeFile(at("server1.txt"), "other1\n");
  test::Handler h(&cls_, &fmt_);
  h.set("fileName", "server12.txt");
  h.set("maxFileBytes", "4");
  for (const char *r : {"a\n", "b\n", "c\n", "d\n", "e\n"}) h.log(r);
  EXPECT_EQ(readFile(at("server12.txt")), "e\n");
  EXPECT_EQ(readFile(at("server12.1.txt")), "c\nd\n");
  EXPECT_EQ(readFile(at("server12.2.txt")), "a\nb\n");
  EXPECT_EQ(readFile(at("server.txt")), "other\n");
  EXPECT_EQ(readFile(at("server1.txt")), "other1\n");
}

TEST_F(FileHandlerTest, OneFileNeverRolls) {
  for (const char *maxFiles : {"1", "0", "-2"}) {
    test::Handler h(&cls_, &fmt_);
    h.set("maxFiles", maxFiles);
    h.set("maxFileBytes", "2");
    for (int i = 0; i < 5; ++i) h.log("xx\n");
    EXPECT_EQ(readFile(at("default.log")).size(), 15u) << maxFiles;
    EXPECT_FALSE(fs::exists(at("default1.log")));
    fs::remove(at("default.log"));
  }
}

TEST_F(FileHandlerTest, ExistingFullFileRollsAtOpen) {
  writeFile(at("default.log"), "0123456789");
  test::gTrailer = "T\n";
  test::Handler h(&cls_, &fmt_);
  h.set("maxFileBytes", "10");
  h.log("new\n");
  EXPECT_EQ(readFile(at("default1.log")), "0123456789T\n");
  EXPECT_EQ(readFile(at("default.log")), "new\n");
}

TEST_F(FileHandlerTest, AppendingFalseTruncatesAtEveryReopen) {
  writeFile(at("default.log"), "old\n");
  test::Handler h(&cls_, &fmt_);
  h.set("appending", "false");
  h.log("a\n");
  h.log("b\n");
  EXPECT_EQ(readFile(at("default.log")), "a\nb\n");
  h.close();
  h.log("c\n");
  EXPECT_EQ(readFile(at("default.log")), "c\n");
  h.set("maxFiles", "3");
  h.log("d\n");
  EXPECT_EQ(readFile(at("default.log")), "d\n");
}

TEST_F(FileHandlerTest, DeletedOrReplacedFileIsStartedAgain) {
  test::gHeader = "H\n";
  test::Handler h(&cls_, &fmt_);
  h.log("a\n");
  fs::remove(at("default.log"));
  h.log("b\n");
  EXPECT_EQ(readFile(at("default.log")), "H\nb\n");
  // Replaced by a directory: nothing can be written until it is gone.
  fs::remove(at("default.log"));
  fs::create_directory(at("default.log"));
  h.log("lost\n");
  EXPECT_FALSE(h.vars()->open);
  fs::remove(at("default.log"));
  h.log("c\n");
  EXPECT_EQ(readFile(at("default.log")), "H\nc\n");
}

TEST_F(FileHandlerTest, PermissionAndEncodingApplyToTheFile) {
  test::Handler h(&cls_, &fmt_);
  h.set("filePermission", "640");
  h.set("fileEncoding", "ISO-8859-1");
  h.log("caf\xC3\xA9\n");
  EXPECT_EQ(readFile(at("default.log")), "caf\xE9\n");
  EXPECT_EQ(modeOf(at("default.log")), 0640u);
  h.set("fileEncoding", "no-such-code-set");
  EXPECT_EQ(h.vars()->encoding, nullptr);
  h.log("caf\xC3\xA9\n");
  EXPECT_EQ(readFile(at("default.log")), "caf\xE9\ncaf\xC3\xA9\n");
}

TEST_F(FileHandlerTest, DisabledHandlerWritesNothing) {
  test::Handler h(&cls_, &fmt_);
  h.object()->enabled = 0;
  h.log("a\n");
  EXPECT_FALSE(fs::exists(at("default.log")));
}

// A small file system mounted for one test, when the test may mount.
struct Mount {
  Mount(const std::string &dir, unsigned long flags) : dir(dir) {
    fs::create_directory(dir);
    ok = mount("tmpfs", dir.c_str(), "tmpfs", flags, "size=8k") == 0;
  }
  ~Mount() {
    if (ok) umount2(dir.c_str(), MNT_DETACH);
  }
  std::string dir;
  bool ok;
};

TEST_F(FileHandlerTest, FullDiskIsSurvivedAndTheNextRecordLands) {
  Mount small(at("small"), 0);
  if (!small.ok) GTEST_SKIP() << "cannot mount a small file system here";
  test::Handler h(&cls_, &fmt_);
  h.set("fileName", "small/x.log");
  h.set("maxFiles", "1");
  std::string big(4096, 'x');
  big += '\n';
  for (int i = 0; i < 4; ++i) h.log(big.c_str());  // the later ones find the disk full
  EXPECT_LT(readFile(at("small/x.log")).size(), 4u * big.size());
  fs::remove(at("small/x.log"));
  h.log("after\n");
  EXPECT_EQ(readFile(at("small/x.log")), "after\n");
}

TEST_F(FileHandlerTest, UnwritableDirectoryIsSurvived) {
  // The superuser passes every permission check: a read-only mount stands in.
  bool root = geteuid() == 0;
  Mount ro(at("ro"), root ? MS_RDONLY : 0);
  if (root && !ro.ok) GTEST_SKIP() << "cannot mount a read-only file system here";
  if (!root) fs::permissions(at("ro"), fs::perms::owner_read | fs::perms::owner_exec);
  test::Handler h(&cls_, &fmt_);
  h.set("fileName", "ro/x.log");
  h.log("lost\n");
  EXPECT_FALSE(h.vars()->open);
  if (root) {
    ASSERT_EQ(mount("tmpfs", at("ro").c_str(), "tmpfs", MS_REMOUNT, "size=8k"), 0);
  } else {
    fs::permissions(at("ro"), fs::perms::owner_all);
  }
  h.log("lands\n");
  EXPECT_EQ(readFile(at("ro/x.log")), "lands\n");
}

}  // namespace
