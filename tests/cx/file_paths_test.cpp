#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "lumex/cx.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

TEST(FilePath, InitRecordsLengthAndLastSeparator) {
  CxFilePath p;
  ASSERT_TRUE(CxInitFilePath(&p, "a\\b/c.log"));
  EXPECT_STREQ(p.path, "a/b/c.log");
  EXPECT_EQ(p.length, 9);
  EXPECT_EQ(p.lastSep, 3);
  ASSERT_TRUE(CxInitFilePath(&p, "plain"));
  EXPECT_EQ(p.lastSep, -1);

  std::string t(CX_MAX_PATH - 1, 'x');
  ASSERT_TRUE(CxInitFilePath(&p, t.c_str()));
  EXPECT_EQ(p.length, CX_MAX_PATH - 1);
  t += 'x';
  EXPECT_FALSE(CxInitFilePath(&p, t.c_str()));
  EXPECT_EQ(p.length, -1);
  EXPECT_FALSE(CxInitFilePath(&p, nullptr));
  EXPECT_EQ(p.length, -1);
  EXPECT_FALSE(CxInitFilePath(nullptr, "a"));
}

TEST(FilePath, ParentIsTheTextBeforeTheLastSeparator) {
  CxFilePath p, parent;
  ASSERT_TRUE(CxInitFilePath(&p, "a/b/c"));
  ASSERT_TRUE(CxFilePathParent(&p, &parent));
  EXPECT_STREQ(parent.path, "a/b");
  EXPECT_EQ(parent.length, 3);
  EXPECT_EQ(parent.lastSep, 1);
  ASSERT_TRUE(CxFilePathParent(&parent, &parent));  // in place
  EXPECT_STREQ(parent.path, "a");
  EXPECT_FALSE(CxFilePathParent(&parent, &parent));

  ASSERT_TRUE(CxInitFilePath(&p, "/top"));
  ASSERT_TRUE(CxFilePathParent(&p, &parent));
  EXPECT_STREQ(parent.path, "/");
  EXPECT_FALSE(CxFilePathParent(&parent, &p));  // the root has none

  CxInitFilePath(&p, nullptr);  // invalid record
  EXPECT_FALSE(CxFilePathParent(&p, &parent));
  EXPECT_EQ(CxFilePathIsDir(&p), 22);
  EXPECT_EQ(CxFilePathExists(&p), 22);
  EXPECT_EQ(CxFilePathMkdirs(&p, 0700), 22);
  ASSERT_TRUE(CxInitFilePath(&p, ""));
  EXPECT_EQ(CxFilePathIsDir(&p), 22);
  EXPECT_EQ(CxFilePathExists(&p), 22);
  EXPECT_EQ(CxFilePathMkdirs(&p, 0700), 22);
  EXPECT_EQ(CxFilePathIsDir(nullptr), 22);
}

using Paths = TempDir;

TEST_F(Paths, KindsOfWhatIsThere) {
  writeFile(at("file"), "x");
  CxFilePath p;
  ASSERT_TRUE(CxInitFilePath(&p, root.c_str()));
  EXPECT_EQ(CxFilePathIsDir(&p), 0);
  EXPECT_EQ(CxFilePathExists(&p), 0);
  ASSERT_TRUE(CxInitFilePath(&p, at("file").c_str()));
  EXPECT_EQ(CxFilePathIsDir(&p), 20);
  EXPECT_EQ(CxFilePathExists(&p), 0);
  ASSERT_TRUE(CxInitFilePath(&p, at("none").c_str()));
  EXPECT_EQ(CxFilePathIsDir(&p), 2);
  EXPECT_EQ(CxFilePathExists(&p), 2);
}

TEST_F(Paths, MkdirsCreatesEveryMissingLevel) {
  fs::create_directory(at("a"));
  CxFilePath p;
  ASSERT_TRUE(CxInitFilePath(&p, (root + "\\a\\b\\c").c_str()));
  EXPECT_EQ(CxFilePathMkdirs(&p, 0750), 0);
  EXPECT_TRUE(fs::is_directory(at("a/b/c")));
  struct stat st;
  ASSERT_EQ(stat(at("a/b").c_str(), &st), 0);
  mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0750u & ~mask);
  EXPECT_EQ(CxFilePathMkdirs(&p, 0750), 0);  // already there

  // Trailing and doubled separators still name the same directories.
  ASSERT_TRUE(CxInitFilePath(&p, at("x//y/z/").c_str()));
  EXPECT_EQ(CxFilePathMkdirs(&p, 0700), 0);
  EXPECT_TRUE(fs::is_directory(at("x/y/z")));
}

TEST_F(Paths, MkdirsStopsAtAFile) {
  fs::create_directories(at("a"));
  writeFile(at("a/b"), "not a directory");
  CxFilePath p;
  ASSERT_TRUE(CxInitFilePath(&p, at("a/b/c").c_str()));
  EXPECT_EQ(CxFilePathMkdirs(&p, 0700), 20);
  ASSERT_TRUE(CxInitFilePath(&p, at("a/b/c/d/e").c_str()));
  EXPECT_EQ(CxFilePathMkdirs(&p, 0700), 20);
  ASSERT_TRUE(CxInitFilePath(&p, at("a/b").c_str()));
  EXPECT_EQ(CxFilePathMkdirs(&p, 0700), 20);
}

TEST_F(Paths, MkdirsReturnsTheErrorOfAFailedCreate) {
  // A last level longer than the system allows (relative, to stay within
  // the length of a path record).
  CxFilePath p;
  std::string tooLong = "ok/" + std::string(NAME_MAX + 1, 'n');
  ASSERT_TRUE(CxInitFilePath(&p, tooLong.c_str()));
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(root.c_str()), 0);
  int32_t rc = CxFilePathMkdirs(&p, 0700);
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_EQ(rc, ENAMETOOLONG);
  EXPECT_TRUE(fs::is_directory(at("ok")));  // the level before it was made

  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  fs::create_directory(at("locked"));
  ASSERT_EQ(chmod(at("locked").c_str(), 0500), 0);
  ASSERT_TRUE(CxInitFilePath(&p, at("locked/inner/deeper").c_str()));
  EXPECT_EQ(CxFilePathMkdirs(&p, 0700), EACCES);
  EXPECT_FALSE(fs::exists(at("locked/inner")));
}

using Directories = TempDir;

// Reads the whole listing, retrying an entry that did not fit.
static std::multiset<std::string> listAll(CxDirectory *dir, uint32_t bufSize, int *retries) {
  std::multiset<std::string> names;
  char buf[CX_MAX_PATH];
  for (int guard = 0; guard < 1000; ++guard) {
    CxStatus s = CxDirectoryGetNext(dir, buf, bufSize);
    if (s.kind == 'p' && s.code == ERANGE) {
      ++*retries;
      EXPECT_STREQ(buf, "");
      s = CxDirectoryGetNext(dir, buf, sizeof buf);
    }
    EXPECT_EQ(s.kind, '-');
    if (s.kind != '-' || buf[0] == '\0') break;
    names.insert(buf);
  }
  return names;
}

TEST_F(Directories, ListingFindsEveryFileCreated) {
  std::multiset<std::string> expected{".", ".."};
  for (int i = 0; i < 40; ++i) {
    std::string n = "file_" + std::to_string(i) + ".log";
    writeFile(at(n), "x");
    expected.insert(n);
  }
  fs::create_directory(at("sub"));
  expected.insert("sub");

  CxDirectory dir;
  ASSERT_EQ(CxDirectoryOpen(&dir, (root + "\\").c_str()).kind, '-');
  EXPECT_EQ(dir.search, nullptr);
  int retries = 0;
  EXPECT_EQ(listAll(&dir, CX_MAX_PATH, &retries), expected);
  EXPECT_EQ(retries, 0);
  // Past the end: still success with an empty name.
  char buf[16] = "junk";
  CxStatus s = CxDirectoryGetNext(&dir, buf, sizeof buf);
  EXPECT_EQ(s.kind, '-');
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(CxDirectoryClose(&dir).kind, '-');
  EXPECT_EQ(dir.search, nullptr);
  EXPECT_STREQ(dir.name, "");
  // A closed record lists nothing.
  EXPECT_EQ(CxDirectoryGetNext(&dir, buf, sizeof buf).code, 22u);

  // With a small buffer the long names are not lost, only deferred.
  ASSERT_EQ(CxDirectoryOpen(&dir, root.c_str()).kind, '-');
  EXPECT_EQ(listAll(&dir, 8, &retries), expected);
  EXPECT_EQ(retries, 40);
  EXPECT_EQ(CxDirectoryClose(&dir).kind, '-');
}

TEST_F(Directories, OpenNeedsAnExistingDirectory) {
  writeFile(at("file"), "x");
  CxDirectory dir;
  const std::string file = at("file"), missing = at("missing");
  for (const char *name : {file.c_str(), missing.c_str(), "", (const char *)nullptr}) {
    CxStatus s = CxDirectoryOpen(&dir, name);
    EXPECT_EQ(s.kind, 'p');
    EXPECT_EQ(s.code, 22u);
  }
  EXPECT_EQ(CxDirectoryOpen(nullptr, root.c_str()).code, 22u);
  char buf[8];
  ASSERT_EQ(CxDirectoryOpen(&dir, root.c_str()).kind, '-');
  EXPECT_EQ(CxDirectoryGetNext(&dir, nullptr, 8).code, 22u);
  EXPECT_EQ(CxDirectoryGetNext(&dir, buf, 0).code, 22u);
  EXPECT_EQ(CxDirectoryGetNext(nullptr, buf, 8).code, 22u);
  EXPECT_EQ(CxDirectoryClose(nullptr).code, 22u);
}

TEST_F(Directories, CloseReportsAFailureOfTheSystem) {
  CxDirectory dir;
  // Never read: nothing to close, success.
  ASSERT_EQ(CxDirectoryOpen(&dir, root.c_str()).kind, '-');
  EXPECT_EQ(CxDirectoryClose(&dir).kind, '-');
  CxDirectory zeroed{};
  EXPECT_EQ(CxDirectoryClose(&zeroed).kind, '-');

  // A listing whose descriptor was closed behind its back fails to close.
  ASSERT_EQ(CxDirectoryOpen(&dir, root.c_str()).kind, '-');
  char buf[CX_MAX_PATH];
  ASSERT_EQ(CxDirectoryGetNext(&dir, buf, sizeof buf).kind, '-');
  ASSERT_NE(dir.search, nullptr);
  ASSERT_EQ(close(dirfd(static_cast<DIR *>(dir.search))), 0);
  CxStatus s = CxDirectoryClose(&dir);
  EXPECT_EQ(s.kind, 'w');
  EXPECT_EQ(s.code, static_cast<uint32_t>(EBADF));
  EXPECT_EQ(dir.search, nullptr);
}
