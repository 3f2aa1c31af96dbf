#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "temp_dir.h"

namespace fs = std::filesystem;

TEST(FilePath, RecordAndParent) {
  CxFilePath p, parent;
  ASSERT_TRUE(CxInitFilePath(&p, "a\\b/c"));
  EXPECT_STREQ(p.path, "a/b/c");
  EXPECT_EQ(p.length, 5);
  EXPECT_EQ(p.lastSep, 3);
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

  std::string t(CX_MAX_PATH - 1, 'x');
  EXPECT_TRUE(CxInitFilePath(&p, t.c_str()));
  EXPECT_FALSE(CxInitFilePath(&p, (t + "x").c_str()));
  EXPECT_EQ(p.length, -1);
  EXPECT_FALSE(CxFilePathParent(&p, &parent));
  for (const char *text : {(const char *)nullptr, ""}) {
    CxInitFilePath(&p, text);
    EXPECT_EQ(CxFilePathIsDir(&p), 22);
    EXPECT_EQ(CxFilePathExists(&p), 22);
    EXPECT_EQ(CxFilePathMkdirs(&p, 0700), 22);
  }
}

using Paths = TempDir;

TEST_F(Paths, KindsAndMkdirs) {
  fs::create_directory(at("a"));
  writeFile(at("file"), "x");
  CxFilePath p;
  const std::pair<std::string, int> kinds[] = {{root, 0}, {at("file"), 20}, {at("none"), 2}};
  for (const auto &[name, kind] : kinds) {
    ASSERT_TRUE(CxInitFilePath(&p, name.c_str()));
    EXPECT_EQ(CxFilePathIsDir(&p), kind) << name;
    EXPECT_EQ(CxFilePathExists(&p), kind == 2 ? 2 : 0) << name;
  }

  // Only a exists: b and c are made, with the permission given.
  ASSERT_TRUE(CxInitFilePath(&p, (root + "\\a\\b\\c").c_str()));
  EXPECT_EQ(CxFilePathMkdirs(&p, 0750), 0);
  EXPECT_TRUE(fs::is_directory(at("a/b/c")));
  struct stat sb;
  ASSERT_EQ(stat(at("a/b").c_str(), &sb), 0);
  mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(sb.st_mode & 0777, 0750u & ~mask);
  EXPECT_EQ(CxFilePathMkdirs(&p, 0750), 0);  // already there

  // A file in the way, at the end or further up.
  for (const char *rel : {"file", "file/c", "file/c/d/e"}) {
    ASSERT_TRUE(CxInitFilePath(&p, at(rel).c_str()));
    EXPECT_EQ(CxFilePathMkdirs(&p, 0700), 20) << rel;
  }

  // A level the system refuses: its error, after the levels before it.
  std::string tooLong = "ok/" + std::string(NAME_MAX + 1, 'n');  // relative, to fit
  ASSERT_TRUE(CxInitFilePath(&p, tooLong.c_str()));
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(root.c_str()), 0);
  int32_t rc = CxFilePathMkdirs(&p, 0700);
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_EQ(rc, ENAMETOOLONG);
  EXPECT_TRUE(fs::is_directory(at("ok")));
}

using Directories = TempDir;

// The whole listing; an entry that does not fit is asked for again with a
// buffer that does.
static std::multiset<std::string> listAll(CxDirectory *dir, uint32_t bufSize, int *retries) {
  std::multiset<std::string> names;
  char buf[CX_MAX_PATH];
  for (int guard = 0; guard < 1000; ++guard) {
    CxStatus s = CxDirectoryGetNext(dir, buf, bufSize);
    if (st(s) == "p" + std::to_string(ERANGE)) {
      ++*retries;
      s = CxDirectoryGetNext(dir, buf, sizeof buf);
    }
    EXPECT_EQ(st(s), "-0");
    if (s.kind != '-' || buf[0] == '\0') break;
    names.insert(buf);
  }
  return names;
}

TEST_F(Directories, ListingFindsEveryFileCreated) {
  std::multiset<std::string> expected{".", "..", "sub"};
  fs::create_directory(at("sub"));
  for (int i = 0; i < 40; ++i) {
    expected.insert("file_" + std::to_string(i) + ".log");
    writeFile(at("file_" + std::to_string(i) + ".log"), "x");
  }
  CxDirectory dir;
  ASSERT_EQ(st(CxDirectoryOpen(&dir, (root + "\\").c_str())), "-0");
  int retries = 0;
  EXPECT_EQ(listAll(&dir, CX_MAX_PATH, &retries), expected);
  EXPECT_EQ(retries, 0);
  char buf[16] = "junk";
  EXPECT_EQ(st(CxDirectoryGetNext(&dir, buf, sizeof buf)), "-0");  // past the end
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(st(CxDirectoryClose(&dir)), "-0");
  EXPECT_EQ(dir.search, nullptr);
  EXPECT_EQ(st(CxDirectoryGetNext(&dir, buf, sizeof buf)), "p22");  // closed

  // A small buffer defers the long names instead of losing or cutting them.
  ASSERT_EQ(st(CxDirectoryOpen(&dir, root.c_str())), "-0");
  EXPECT_EQ(listAll(&dir, 8, &retries), expected);
  EXPECT_EQ(retries, 40);
  CxDirectoryClose(&dir);
}

TEST_F(Directories, OpenNeedsADirectoryAndCloseReportsTheSystem) {
  writeFile(at("file"), "x");
  CxDirectory dir{};
  const std::string file = at("file"), missing = at("missing");
  for (const char *name : {file.c_str(), missing.c_str(), "", (const char *)nullptr})
    EXPECT_EQ(st(CxDirectoryOpen(&dir, name)), "p22");
  EXPECT_EQ(st(CxDirectoryClose(&dir)), "-0");  // zeroed
  ASSERT_EQ(st(CxDirectoryOpen(&dir, root.c_str())), "-0");
  EXPECT_EQ(st(CxDirectoryClose(&dir)), "-0");  // never read

  // A listing whose descriptor was closed behind its back fails to close.
  char buf[CX_MAX_PATH];
  ASSERT_EQ(st(CxDirectoryOpen(&dir, root.c_str())), "-0");
  ASSERT_EQ(st(CxDirectoryGetNext(&dir, buf, sizeof buf)), "-0");
  ASSERT_EQ(close(dirfd(static_cast<DIR *>(dir.search))), 0);
  EXPECT_EQ(st(CxDirectoryClose(&dir)), "w" + std::to_string(EBADF));
  EXPECT_EQ(dir.search, nullptr);
}
