// Log file names (splitting, the active and backup names, rename rollover)
// and the log file target (the limit, writes).
#include <fcntl.h>

#include "output/log_file.h"
#include "output_fixture.h"

namespace {

using NameTest = OutputTest;

TEST_F(NameTest, SplitsNamesAndBuildsActiveAndBackupNames) {
  const std::string cwd = fs::current_path().string();
  // A leading "." stands for the current directory.
  struct Row { const char *name, *dir, *base; int32_t number; const char *ext, *active, *backup; };
  const Row rows[] = {
      {"default.log", ".", "default", 0, "log", "./default.log", "./default1.log"},
      {"C:\\logs\\server12.txt", "C:/logs", "server", 12, "txt", "C:/logs/server12.txt",
       "C:/logs/server12.1.txt"},
      // Leading zeros of the number stay part of the active name.
      {"app007.log", ".", "app", 7, "log", "./app007.log", "./app007.1.log"},
      {"app0.log", ".", "app", 0, "log", "./app0.log", "./app0.1.log"},
      {"x99999999999.log", ".", "x", 0, "log", "./x99999999999.log", "./x99999999999.1.log"},
      {"app", ".", "app", 0, nullptr, "./app", "./app1"},
      {"/app.log", "/", "app", 0, "log", "/app.log", "/app1.log"},
      {"/logs/2024.log", "/logs", "", 2024, "log", "/logs/2024.log", "/logs/2024.1.log"},
      {"a\\b/c.d.e", "a/b", "c.d", 0, "e", "a/b/c.d.e", "a/b/c.d1.e"},
      // The only dot lies in a directory: it starts the extension.
      {"my.logs/app", ".", "my", 0, "logs/app", "./my.logs/app", "./my1.logs/app"},
  };
  auto full = [&](std::string s) { return s[0] == '.' ? cwd + s.substr(1) : s; };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    Vars v;
    v.name(r.name);
    EXPECT_EQ(str(v->directory), full(r.dir));
    EXPECT_EQ(str(v->baseName), r.base);
    EXPECT_EQ(v->number, r.number);
    EXPECT_EQ(str(v->extension), str(r.ext));
    EXPECT_EQ(str(v->fullName), full(r.active));
    EXPECT_EQ(test::takeText(lmx::logGenerationName(v.v, 1)), full(r.backup));
  }
}

TEST_F(NameTest, RefusedNamesLeaveNoActiveFile) {
  const std::string n260 = std::string(256, 'a') + ".log", n261 = std::string(257, 'a') + ".log";
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
  struct Row { const char *dir, *base; int32_t number; const char *ext, *expected; } rows[] = {
      {"/d", "b", 0, "x", "/d/b.x"},   {"/d", "b", 3, nullptr, "/d/b3"},
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

// Rollover moves each generation one on, drops the oldest and touches no
// file outside the configured name's own generations.
TEST_F(NameTest, RolloverShiftsGenerationsOfTheConfiguredNameOnly) {
  struct Row { const char *name; int32_t maxFiles; Files before, after; } rows[] = {
      {"default.log", 3, {{"default.log", "A"}, {"default1.log", "B"}, {"default2.log", "C"}},
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
    clear();
    fs::create_directory(at("sub"));
    for (const auto &[file, text] : r.before) writeFile(at(file), text);
    Vars v;
    v.name(r.name);
    v->maxFiles = r.maxFiles;
    lmxFileHandlerDoRollover(v.v);
    EXPECT_EQ(files(), r.after);
  }
}

TEST_F(NameTest, LimitComparisonIsUnsignedWithTheLimitsSign) {
  EXPECT_TRUE(lmx::logIsFull(0, 0));
  EXPECT_FALSE(lmx::logIsFull(UINT64_C(1) << 40, -1));
  EXPECT_TRUE(lmx::logIsFull(1024, 1024));
  EXPECT_FALSE(lmx::logIsFull(1023, 1024));
}

TEST_F(NameTest, FailedWriteCountsOnlyWhatLanded) {
  Vars v;
  BasMemoryFree(v->fullName);
  v->fullName = BasStringDup("/dev/full");
  ASSERT_TRUE(lmx::logFileOpen(v.v, O_WRONLY | O_APPEND));
  v->size = 0;
  EXPECT_FALSE(lmx::logFileWrite(v.v, "abc\n", 4));
  EXPECT_EQ(v->size, 0u);
}

}  // namespace
