#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "lumex/cx.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

TEST(FileNames, NativeFormUsesForwardSlashes) {
  char buf[CX_MAX_PATH];
  ASSERT_TRUE(CxFileNameLocalize("logs\\app.log", buf, sizeof buf));
  EXPECT_STREQ(buf, "logs/app.log");
  ASSERT_TRUE(CxFileNameLocalize("/var\\log/a.log", buf, sizeof buf));
  EXPECT_STREQ(buf, "/var/log/a.log");
  ASSERT_TRUE(CxFileNameLocalize("", buf, sizeof buf));
  EXPECT_STREQ(buf, "");
  ASSERT_TRUE(CxFileNameGetNative("", buf, sizeof buf));
  EXPECT_STREQ(buf, "/");
  ASSERT_TRUE(CxFileNameGetNative("a\\b", buf, sizeof buf));
  EXPECT_STREQ(buf, "a/b");
}

TEST(FileNames, NamesThatDoNotFitAreRefusedNotCut) {
  char buf[6] = "xxxxx";
  EXPECT_TRUE(CxFileNameLocalize("abcde", buf, 6));
  EXPECT_STREQ(buf, "abcde");
  EXPECT_FALSE(CxFileNameLocalize("abcdef", buf, 6));
  EXPECT_STREQ(buf, "");
  EXPECT_FALSE(CxFileNameLocalize("a", buf, 0));
  EXPECT_FALSE(CxFileNameLocalize(nullptr, buf, 6));
  EXPECT_FALSE(CxFileNameGetNative("a", nullptr, 6));
}

using Files = TempDir;

TEST_F(Files, WriteThenReadBackExactBytes) {
  std::string name = root + "\\data.bin";  // either separator is accepted
  const char bytes[] = "line one\r\nline two\n\0tail";
  const uint32_t len = sizeof bytes - 1;
  int32_t fd = 99;
  ASSERT_EQ(CxFileOpen(&fd, name.c_str(), O_CREAT | O_RDWR | O_APPEND).kind, '-');
  ASSERT_GE(fd, 0);
  EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC);
  uint32_t written = 0;
  ASSERT_EQ(CxFileWrite(&fd, bytes, len, &written).kind, '-');
  EXPECT_EQ(written, len);
  int64_t size = -1;
  ASSERT_EQ(CxFileGetSize(&fd, &size).kind, '-');
  EXPECT_EQ(size, len);
  EXPECT_EQ(CxFileFlush(&fd).kind, '-');
  ASSERT_EQ(CxFileClose(&fd).kind, '-');
  EXPECT_EQ(fd, -1);

  struct stat st;
  ASSERT_EQ(stat(at("data.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0177, 0u);  // created for the owner only

  size = -1;
  ASSERT_EQ(CxFileNameGetSize(at("data.bin").c_str(), &size).kind, '-');
  EXPECT_EQ(size, len);
  CxFileInfo info{};
  ASSERT_EQ(CxFileNameGetInfo(&info, at("data.bin").c_str()).kind, '-');
  EXPECT_EQ(info.size, len);
  EXPECT_EQ(info.modifyTime, static_cast<int64_t>(st.st_mtime));
  EXPECT_EQ(info.changeTime, static_cast<int64_t>(st.st_ctime));

  ASSERT_EQ(CxFileOpen(&fd, name.c_str(), O_RDONLY).kind, '-');
  char back[64];
  uint32_t got = 0, total = 0;
  do {
    ASSERT_EQ(CxFileRead(&fd, back + total, 5, &got).kind, '-');
    total += got;
  } while (got != 0);
  EXPECT_EQ(total, len);
  EXPECT_EQ(std::memcmp(back, bytes, len), 0);
  CxFileClose(&fd);

  // Truncating open empties the file; appending open adds at the end.
  ASSERT_EQ(CxFileOpen(&fd, name.c_str(), O_CREAT | O_RDWR | O_TRUNC).kind, '-');
  ASSERT_EQ(CxFileWrite(&fd, "ab", 2, &written).kind, '-');
  CxFileClose(&fd);
  ASSERT_EQ(CxFileOpen(&fd, name.c_str(), O_CREAT | O_WRONLY | O_APPEND).kind, '-');
  ASSERT_EQ(CxFileWrite(&fd, "cd", 2, &written).kind, '-');
  CxFileClose(&fd);
  EXPECT_EQ(readFile(at("data.bin")), "abcd");
}

TEST_F(Files, FailuresCarryTheirErrorNumbers) {
  int32_t fd = 5;
  CxStatus s = CxFileOpen(&fd, at("missing").c_str(), O_RDONLY);
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(s.code, static_cast<uint32_t>(ENOENT));
  EXPECT_EQ(fd, -1);
  int64_t size = 0;
  s = CxFileNameGetSize(at("missing").c_str(), &size);
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(s.code, 2u);
  CxFileInfo info;
  s = CxFileNameGetInfo(&info, "");
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(s.code, 22u);

  // A closed descriptor: flush has no handle (9), close still leaves -1.
  fd = -1;
  s = CxFileFlush(&fd);
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(s.code, static_cast<uint32_t>(EBADF));
  s = CxFileClose(&fd);
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(s.code, static_cast<uint32_t>(EBADF));
  EXPECT_EQ(fd, -1);
  uint32_t n = 7;
  char c;
  s = CxFileRead(&fd, &c, 1, &n);
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(n, 0u);
}

TEST(FilesArgs, NullArgumentsAreRejected) {
  int32_t fd = 3;
  char buf[4];
  uint32_t n;
  int64_t size;
  for (CxStatus s : {CxFileOpen(nullptr, "x", O_RDONLY), CxFileOpen(&fd, nullptr, O_RDONLY),
                     CxFileRead(nullptr, buf, 1, &n), CxFileRead(&fd, nullptr, 1, &n),
                     CxFileRead(&fd, buf, 1, nullptr), CxFileWrite(&fd, nullptr, 1, &n),
                     CxFileWrite(&fd, buf, 1, nullptr), CxFileGetSize(&fd, nullptr),
                     CxFileGetSize(nullptr, &size), CxFileFlush(nullptr), CxFileClose(nullptr),
                     CxFileNameRemove(nullptr), CxFileNameRename("a", nullptr),
                     CxFileNameRename(nullptr, "a"), CxFileNameGetSize(nullptr, &size),
                     CxFileNameGetSize("a", nullptr), CxFileNameGetInfo(nullptr, "a")}) {
    EXPECT_EQ(s.kind, 'p');
    EXPECT_EQ(s.code, 22u);
  }
  EXPECT_EQ(fd, -1);  // the open with a null name still reset it
}

TEST(FilesPipe, WriteReportsWhatReachedTheFileWhenItStops) {
  int p[2];
  ASSERT_EQ(pipe2(p, O_NONBLOCK | O_CLOEXEC), 0);
  int capacity = fcntl(p[1], F_GETPIPE_SZ);
  ASSERT_GT(capacity, 0);
  std::string big(static_cast<size_t>(capacity) * 4, 'x');
  int32_t fd = p[1];
  uint32_t written = 0;
  CxStatus s = CxFileWrite(&fd, big.data(), static_cast<uint32_t>(big.size()), &written);
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(s.code, static_cast<uint32_t>(EAGAIN));
  EXPECT_EQ(written, static_cast<uint32_t>(capacity));
  close(p[0]);
  close(p[1]);
}

TEST_F(Files, RemoveAndRename) {
  writeFile(at("a.log"), "new");
  writeFile(at("b.log"), "old contents");
  ASSERT_EQ(CxFileNameRename(at("a.log").c_str(), (root + "\\b.log").c_str()).kind, '-');
  EXPECT_FALSE(fs::exists(at("a.log")));
  EXPECT_EQ(readFile(at("b.log")), "new");

  CxStatus s = CxFileNameRename(at("a.log").c_str(), at("c.log").c_str());
  EXPECT_EQ(s.kind, 'w');
  EXPECT_EQ(s.code, 2u);

  ASSERT_EQ(CxFileNameRemove(at("b.log").c_str()).kind, '-');
  EXPECT_FALSE(fs::exists(at("b.log")));
  s = CxFileNameRemove(at("b.log").c_str());
  EXPECT_EQ(s.kind, 'w');
  EXPECT_EQ(s.code, 2u);
}

TEST_F(Files, OverlongNameNeverReachesTheFileItsPrefixNames) {
  // A file whose name is exactly as long as a native name may be; a longer
  // name that starts with it must not remove or replace it.
  std::string prefix = root + "/";
  prefix += std::string(CX_MAX_PATH - 1 - prefix.size(), 'f');
  ASSERT_EQ(prefix.size(), static_cast<size_t>(CX_MAX_PATH - 1));
  writeFile(prefix, "keep");
  std::string longer = prefix + "-and-more";
  CxStatus s = CxFileNameRemove(longer.c_str());
  EXPECT_EQ(s.kind, 'p');
  EXPECT_EQ(s.code, 22u);
  writeFile(at("other"), "x");
  s = CxFileNameRename(at("other").c_str(), longer.c_str());
  EXPECT_EQ(s.code, 22u);
  EXPECT_EQ(readFile(prefix), "keep");
  int32_t fd;
  EXPECT_EQ(CxFileOpen(&fd, longer.c_str(), O_RDONLY).code, 22u);
  // The name of the maximal length itself works.
  EXPECT_EQ(CxFileNameRemove(prefix.c_str()).kind, '-');
}
