#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "temp_dir.h"

TEST(FileNames, NativeFormUsesSlashesAndIsNeverCut) {
  char buf[6];
  EXPECT_TRUE(CxFileNameLocalize("/a\\b/", buf, sizeof buf));
  EXPECT_STREQ(buf, "/a/b/");
  EXPECT_TRUE(CxFileNameGetNative("", buf, sizeof buf));
  EXPECT_STREQ(buf, "/");
  EXPECT_FALSE(CxFileNameLocalize("abcdef", buf, sizeof buf));
  EXPECT_STREQ(buf, "");
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
  for (int flags : {O_CREAT | O_RDWR | O_TRUNC, O_CREAT | O_WRONLY | O_APPEND}) {
    ASSERT_EQ(st(CxFileOpen(&fd, name.c_str(), flags)), "-0");
    CxFileWrite(&fd, flags & O_TRUNC ? "ab" : "cd", 2, &n);
    CxFileClose(&fd);
  }
  EXPECT_EQ(readFile(at("data.bin")), "abcd");  // cut, then appended to
}

TEST_F(Files, FailuresCarryTheirErrorNumbers) {
  int32_t fd = 5;
  int64_t size;
  CxFileInfo info;
  EXPECT_EQ(st(CxFileOpen(&fd, at("missing").c_str(), O_RDONLY)), "p2");
  EXPECT_EQ(fd, -1);
  // A closed descriptor has no handle to flush; close still leaves -1.
  const Steps steps{st(CxFileNameGetSize(at("missing").c_str(), &size)),
                    st(CxFileNameGetInfo(&info, "")), st(CxFileFlush(&fd)), st(CxFileClose(&fd))};
  EXPECT_EQ(steps, (Steps{"p2", "p22", "p9", "p9"}));
  EXPECT_EQ(fd, -1);
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

TEST_F(Files, RenameReplacesAndRemoveOfAMissingFileIsW2) {
  writeFile(at("a.log"), "new");
  writeFile(at("b.log"), "old contents");
  ASSERT_EQ(st(CxFileNameRename(at("a.log").c_str(), (root + "\\b.log").c_str())), "-0");
  EXPECT_FALSE(std::filesystem::exists(at("a.log")));
  EXPECT_EQ(readFile(at("b.log")), "new");
  EXPECT_EQ((Steps{st(CxFileNameRename(at("a.log").c_str(), at("c.log").c_str())),
                   st(CxFileNameRemove(at("b.log").c_str())),
                   st(CxFileNameRemove(at("b.log").c_str()))}),
            (Steps{"w2", "-0", "w2"}));
}
