// Log file names: splitting, the active and backup names, rename rollover.
#include <cstring>

#include "file_fixture.h"

namespace {

using NameTest = FileTest;

TEST_F(NameTest, SplitsNamesAndBuildsActiveAndBackupNames) {
  const std::string cwd = fs::current_path().string();
  struct Row {
    const char *name;
    std::string dir;
    const char *base;
    int32_t number;
    const char *ext;
    std::string active, backup1, backup2;
  } rows[] = {
      {"default.log", cwd, "default", 0, "log", cwd + "/default.log", cwd + "/default1.log",
       cwd + "/default2.log"},
      {"C:\\logs\\server12.txt", "C:/logs", "server", 12, "txt", "C:/logs/server12.txt",
       "C:/logs/server12.1.txt", "C:/logs/server12.2.txt"},
      {"/var/log/app2024.log", "/var/log", "app", 2024, "log", "/var/log/app2024.log",
       "/var/log/app2024.1.log", "/var/log/app2024.2.log"},
      // Leading zeros of the number stay part of the active name.
      {"app007.log", cwd, "app", 7, "log", cwd + "/app007.log", cwd + "/app007.1.log",
       cwd + "/app007.2.log"},
      {"app0.log", cwd, "app", 0, "log", cwd + "/app0.log", cwd + "/app0.1.log",
       cwd + "/app0.2.log"},
      {"x99999999999.log", cwd, "x", 0, "log", cwd + "/x99999999999.log",
       cwd + "/x99999999999.1.log", cwd + "/x99999999999.2.log"},
      {"app", cwd, "app", 0, nullptr, cwd + "/app", cwd + "/app1", cwd + "/app2"},
      {"/app.log", "/", "app", 0, "log", "/app.log", "/app1.log", "/app2.log"},
      {"/logs/2024.log", "/logs", "", 2024, "log", "/logs/2024.log", "/logs/2024.1.log",
       "/logs/2024.2.log"},
      {"a\\b/c.d.e", "a/b", "c.d", 0, "e", "a/b/c.d.e", "a/b/c.d1.e", "a/b/c.d2.e"},
      // The only dot lies in a directory: it starts the extension.
      {"my.logs/app", cwd, "my", 0, "logs/app", cwd + "/my.logs/app", cwd + "/my1.logs/app",
       cwd + "/my2.logs/app"},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    Vars v;
    v.name(r.name);
    EXPECT_EQ(str(v->directory), r.dir);
    EXPECT_EQ(str(v->baseName), r.base);
    EXPECT_EQ(v->number, r.number);
    EXPECT_EQ(str(v->extension), str(r.ext));
    EXPECT_EQ(str(v->fullName), r.active);
    char *b1 = lmx::logGenerationName(v.v, 1);
    char *b2 = lmx::logGenerationName(v.v, 2);
    EXPECT_EQ(str(b1), r.backup1);
    EXPECT_EQ(str(b2), r.backup2);
    BasMemoryFree(b1);
    BasMemoryFree(b2);
  }
}

TEST_F(NameTest, RefusedNamesLeaveNoActiveFile) {
  std::string n260(256, 'a'), n261(257, 'a');
  n260 += ".log";
  n261 += ".log";
  for (const char *name : {static_cast<const char *>(nullptr), "", n260.c_str(), n261.c_str()}) {
    SCOPED_TRACE(str(name).size());
    Vars v;
    v.name(name);
    EXPECT_EQ(v->baseName, nullptr);
    EXPECT_EQ(v->directory, nullptr);
    EXPECT_EQ(v->fullName, nullptr);
  }
  Vars ok;
  ok.name(std::string(255, 'a').append(".log").c_str());  // 259 characters
  EXPECT_NE(ok->fullName, nullptr);
}

TEST_F(NameTest, BuildRuleOmitsMissingParts) {
  struct Row {
    const char *dir, *base;
    int32_t number;
    const char *ext, *expected;
  } rows[] = {
      {"/d", "b", 0, "x", "/d/b.x"}, {"/d", "b", 3, nullptr, "/d/b3"},
      {nullptr, "b", 0, nullptr, "b"}, {"/d/", "b", 1, "x", "/d/b1.x"},
      {"/d", nullptr, 1, "x", nullptr},
  };
  for (const Row &r : rows) {
    char *out = nullptr;
    lmxSetFileNameParts(&out, r.dir, r.base, r.number, r.ext);
    EXPECT_EQ(str(out), str(r.expected));
    BasMemoryFree(out);
  }
}

TEST_F(NameTest, NativePathTurnsBackslashesAndRefusesWhatDoesNotFit) {
  char buf[CX_MAX_PATH];
  EXPECT_TRUE(lmxGetNativePath("a\\b\\c.log", buf));
  EXPECT_STREQ(buf, "a/b/c.log");
  EXPECT_TRUE(lmxGetNativePath("/abs/c.log", buf));
  EXPECT_STREQ(buf, "/abs/c.log");
  EXPECT_FALSE(lmxGetNativePath(std::string(260, 'a').c_str(), buf));
  EXPECT_FALSE(lmxGetNativePath(nullptr, buf));
}

// Rollover moves each generation one on, drops the oldest and touches no
// file outside the configured name's own generations.
TEST_F(NameTest, RolloverShiftsGenerationsOfTheConfiguredNameOnly) {
  struct Row {
    const char *name;
    int32_t maxFiles;
    std::vector<std::pair<std::string, std::string>> before, after;
  } rows[] = {
      {"default.log", 3,
       {{"default.log", "A"}, {"default1.log", "B"}, {"default2.log", "C"}},
       {{"default1.log", "A"}, {"default2.log", "B"}}},
      {"default.log", 4, {{"default.log", "A"}, {"default2.log", "C"}},
       {{"default1.log", "A"}, {"default3.log", "C"}}},
      {"server12.txt", 3,
       {{"server12.txt", "A"}, {"server12.1.txt", "B"}, {"server12.2.txt", "C"},
        {"server.txt", "X"}, {"server1.txt", "Y"}, {"server2.txt", "Z"}},
       {{"server12.1.txt", "A"}, {"server12.2.txt", "B"}, {"server.txt", "X"},
        {"server1.txt", "Y"}, {"server2.txt", "Z"}}},
      {"sub/app", 2, {{"sub/app", "A"}, {"sub/app1", "B"}}, {{"sub/app1", "A"}}},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    fs::create_directory(at("sub"));
    for (const auto &[file, text] : r.before) writeFile(at(file), text);
    Vars v;
    v.name(r.name);
    v->maxFiles = r.maxFiles;
    lmxFileHandlerDoRollover(v.v);
    std::vector<std::pair<std::string, std::string>> found;
    for (const auto &e : fs::recursive_directory_iterator(root)) {
      if (e.is_regular_file()) {
        found.emplace_back(fs::relative(e.path(), root).string(), readFile(e.path()));
      }
    }
    std::sort(found.begin(), found.end());
    auto expected = r.after;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    fs::remove_all(at("sub"));
    for (const auto &e : found) fs::remove(at(e.first));
  }
}

}  // namespace
