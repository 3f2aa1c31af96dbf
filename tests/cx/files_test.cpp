#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <set>

#include "temp_dir.h"

namespace fs = std::filesystem;

TEST(FilePath, RecordParentsAndNativeNames) {
  auto record = [](const CxFilePath &p) {  // "path length lastSep"
    return std::string(p.path) + " " + std::to_string(p.length) + " " + std::to_string(p.lastSep);
  };
  const struct {
    const char *text, *record, *parents;  // each parent taken in place, up to the one with none
  } rows[] = {{"a\\b/c", "a/b/c 5 3", "a/b 3 1|a 1 -1|"}, {"/top", "/top 4 0", "/ 1 0|"}};
  CxFilePath p, parent;
  for (const auto &r : rows) {
    ASSERT_TRUE(CxInitFilePath(&p, r.text));
    EXPECT_EQ(record(p), r.record);
    std::string parents;
    for (bool ok = CxFilePathParent(&p, &parent); ok; ok = CxFilePathParent(&parent, &parent))
      parents += record(parent) + "|";
    EXPECT_EQ(parents, r.parents);
  }
  const std::string longest(CX_MAX_PATH - 1, 'x');
  EXPECT_TRUE(CxInitFilePath(&p, longest.c_str()));
  EXPECT_FALSE(CxInitFilePath(&p, (longest + "x").c_str()));
  EXPECT_EQ(p.length, -1);
  EXPECT_FALSE(CxFilePathParent(&p, &parent));
  for (const char *text : {static_cast<const char *>(nullptr), ""}) {
    CxInitFilePath(&p, text);
    EXPECT_EQ(std::vector<int>({CxFilePathIsDir(&p), CxFilePathExists(&p),
                                CxFilePathMkdirs(&p, 0700)}),
              std::vector<int>({22, 22, 22}));
  }
  char buf[6];  // native names use slashes and are never cut
  EXPECT_EQ((Steps{std::to_string(CxFileNameLocalize("/a\\b/", buf, sizeof buf)), buf,
                   std::to_string(CxFileNameGetNative("", buf, sizeof buf)), buf,
                   std::to_string(CxFileNameLocalize("abcdef", buf, sizeof buf)), buf}),
            (Steps{"1", "/a/b/", "1", "/", "0", ""}));
}

using Paths = TempDir;

TEST_F(Paths, KindsAndMkdirsFailures) {
  writeFile(at("file"), "x");
  CxFilePath p;
  const std::pair<std::string, int> kinds[] = {{root, 0}, {at("file"), 20}, {at("none"), 2}};
  for (const auto &[name, kind] : kinds) {
    ASSERT_TRUE(CxInitFilePath(&p, name.c_str()));
    EXPECT_EQ(CxFilePathIsDir(&p), kind) << name;
    EXPECT_EQ(CxFilePathExists(&p), kind == 2 ? 2 : 0) << name;
  }
  for (const char *rel : {"file", "file/c", "file/c/d/e"}) {  // a file at the end or further up
    ASSERT_TRUE(CxInitFilePath(&p, at(rel).c_str()));
    EXPECT_EQ(CxFilePathMkdirs(&p, 0700), 20) << rel;
  }
  // A level the system refuses: its error, after the levels before it.
  ASSERT_TRUE(CxInitFilePath(&p, ("ok/" + std::string(NAME_MAX + 1, 'n')).c_str()));  // relative
  const fs::path cwd = fs::current_path();
  fs::current_path(root);
  const int32_t rc = CxFilePathMkdirs(&p, 0700);
  fs::current_path(cwd);
  EXPECT_EQ(rc, ENAMETOOLONG);
  EXPECT_TRUE(fs::is_directory(at("ok")));
}

using Directories = TempDir;

TEST_F(Directories, ListingFindsEveryEntryAndDefersNamesTooLongForTheBuffer) {
  std::multiset<std::string> expected{".", "..", "sub"};
  fs::create_directory(at("sub"));
  for (int i = 0; i < 40; ++i)
    writeFile(at(*expected.insert("file_" + std::to_string(i) + ".log")), "x");
  // A whole listing per buffer size; an entry that does not fit is asked for again.
  for (const auto &[bufSize, retries] : {std::pair<uint32_t, int>{CX_MAX_PATH, 0}, {8, 40}}) {
    CxDirectory dir;
    ASSERT_EQ(st(CxDirectoryOpen(&dir, (root + "\\").c_str())), "-0");
    std::multiset<std::string> names;
    char buf[CX_MAX_PATH] = "junk";
    int retried = 0;
    for (int guard = 0; guard < 1000; ++guard) {
      CxStatus s = CxDirectoryGetNext(&dir, buf, bufSize);
      if (st(s) == "p" + std::to_string(ERANGE)) {
        ++retried;
        s = CxDirectoryGetNext(&dir, buf, sizeof buf);
      }
      ASSERT_EQ(st(s), "-0");
      if (buf[0] == '\0') break;
      names.insert(buf);
    }
    EXPECT_EQ(names, expected);
    EXPECT_EQ(retried, retries);
    std::strcpy(buf, "junk");
    EXPECT_EQ((Steps{st(CxDirectoryGetNext(&dir, buf, 16)), buf,  // past the end: empty
                     st(CxDirectoryClose(&dir)), st(CxDirectoryGetNext(&dir, buf, sizeof buf))}),
              (Steps{"-0", "", "-0", "p22"}));  // closed: refused
    EXPECT_EQ(dir.search, nullptr);
  }
}

TEST_F(Directories, OpenNeedsADirectoryAndCloseReportsTheSystem) {
  writeFile(at("file"), "x");
  CxDirectory dir{};
  const std::string file = at("file"), missing = at("missing");
  for (const char *name : {file.c_str(), missing.c_str(), "", static_cast<const char *>(nullptr)})
    EXPECT_EQ(st(CxDirectoryOpen(&dir, name)), "p22");
  EXPECT_EQ((Steps{st(CxDirectoryClose(&dir)), st(CxDirectoryOpen(&dir, root.c_str())),
                   st(CxDirectoryClose(&dir))}),  // zeroed, then opened and never read
            (Steps{"-0", "-0", "-0"}));
  // A listing whose descriptor was closed behind its back fails to close.
  char buf[CX_MAX_PATH];
  ASSERT_EQ(st(CxDirectoryOpen(&dir, root.c_str())), "-0");
  ASSERT_EQ(st(CxDirectoryGetNext(&dir, buf, sizeof buf)), "-0");
  ASSERT_EQ(close(dirfd(static_cast<DIR *>(dir.search))), 0);
  EXPECT_EQ(st(CxDirectoryClose(&dir)), "w" + std::to_string(EBADF));
  EXPECT_EQ(dir.search, nullptr);
}

using Files = TempDir;

TEST_F(Files, WriteThenReadBackExactBytes) {
  const std::string name = root + "\\data.bin";  // either separator is accepted
  const char bytes[] = "one\r\ntwo\n\0tail";
  const uint32_t len = sizeof bytes - 1;
  int32_t fd = 99;
  uint32_t n = 0;
  int64_t size = -1;
  ASSERT_EQ(st(CxFileOpen(&fd, name.c_str(), O_CREAT | O_RDWR | O_APPEND)), "-0");
  EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC);
  const std::string lenText = std::to_string(len);
  EXPECT_EQ((Steps{st(CxFileWrite(&fd, bytes, len, &n)), std::to_string(n),
                   st(CxFileGetSize(&fd, &size)), std::to_string(size), st(CxFileFlush(&fd)),
                   st(CxFileClose(&fd)), std::to_string(fd)}),
            (Steps{"-0", lenText, "-0", lenText, "-0", "-0", "-1"}));
  struct stat sb;
  ASSERT_EQ(stat(at("data.bin").c_str(), &sb), 0);
  EXPECT_EQ(sb.st_mode & 0177, 0u);  // created for the owner only
  CxFileInfo info{};
  const std::string asGiven = at("data.bin");  // these two take the name as given
  EXPECT_EQ((Steps{st(CxFileNameGetInfo(&info, asGiven.c_str())), std::to_string(info.size),
                   std::to_string(info.modifyTime), st(CxFileNameGetSize(asGiven.c_str(), &size)),
                   std::to_string(size)}),
            (Steps{"-0", lenText, std::to_string(sb.st_mtime), "-0", lenText}));
  ASSERT_EQ(st(CxFileOpen(&fd, name.c_str(), O_RDONLY)), "-0");
  char back[64];
  uint32_t total = 0;
  do {
    ASSERT_EQ(st(CxFileRead(&fd, back + total, 5, &n)), "-0");
    total += n;
  } while (n != 0);
  EXPECT_EQ(std::string(back, total), std::string(bytes, len));
  CxFileClose(&fd);
}

TEST_F(Files, FailuresCarryTheirErrorNumbers) {
  int32_t fd = 5;
  int64_t size;
  CxFileInfo info;
  // A failed open leaves -1, which has no handle to flush or close.
  EXPECT_EQ((Steps{st(CxFileOpen(&fd, at("missing").c_str(), O_RDONLY)), std::to_string(fd),
                   st(CxFileNameGetSize(at("missing").c_str(), &size)),
                   st(CxFileNameGetInfo(&info, "")), st(CxFileFlush(&fd)), st(CxFileClose(&fd)),
                   std::to_string(fd)}),
            (Steps{"p2", "-1", "p2", "p22", "p9", "p9", "-1"}));
  for (CxStatus s : {CxFileOpen(nullptr, "x", O_RDONLY), CxFileRead(&fd, nullptr, 1, nullptr),
                     CxFileWrite(nullptr, "x", 1, nullptr), CxFileGetSize(&fd, nullptr),
                     CxFileClose(nullptr), CxFileNameRemove(nullptr),
                     CxFileNameRename("a", nullptr), CxFileNameGetInfo(nullptr, "a")})
    EXPECT_EQ(st(s), "p22");
  // Overlong names fail and never reach the file that their prefix names.
  std::string prefix = root + "/";
  prefix += std::string(CX_MAX_PATH - 1 - prefix.size(), 'f');  // the longest native name
  writeFile(prefix, "keep");
  writeFile(at("other"), "x");
  const std::string longer = prefix + "-and-more";
  EXPECT_EQ((Steps{st(CxFileNameRemove(longer.c_str())),
                   st(CxFileNameRename(at("other").c_str(), longer.c_str())),
                   st(CxFileOpen(&fd, longer.c_str(), O_RDONLY)), readFile(prefix)}),
            (Steps{"p22", "p22", "p22", "keep"}));
}

TEST(FilesPipe, WriteReportsWhatReachedTheFileWhenItStops) {
  int p[2];
  ASSERT_EQ(pipe2(p, O_NONBLOCK | O_CLOEXEC), 0);
  const int capacity = fcntl(p[1], F_GETPIPE_SZ);
  const std::string big(static_cast<size_t>(capacity) * 3, 'x');
  int32_t fd = p[1];
  uint32_t written = 0;
  EXPECT_EQ(st(CxFileWrite(&fd, big.data(), static_cast<uint32_t>(big.size()), &written)),
            "p" + std::to_string(EAGAIN));
  EXPECT_EQ(written, static_cast<uint32_t>(capacity));
  close(p[0]);
  close(p[1]);
}

TEST_F(Files, RenameTakesEitherSeparatorAndAMissingFileIsW2) {
  const std::string a = at("a.log"), b = at("b.log");
  writeFile(a, "new");
  EXPECT_EQ((Steps{st(CxFileNameRename(a.c_str(), (root + "\\b.log").c_str())), readFile(b),
                   st(CxFileNameRename(a.c_str(), b.c_str())), st(CxFileNameRemove(b.c_str())),
                   st(CxFileNameRemove(b.c_str()))}),
            (Steps{"-0", "new", "w2", "-0", "w2"}));
}
