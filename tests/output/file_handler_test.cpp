// The file handlers (configuration keys, open, rollover with header and trailer, the
// per-record check, permissions, encoding, failures), log file names and the file target.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include "output/log_file.h"
#include "output_fixture.h"

namespace {

class FileHandlerTest : public OutputTest {
 protected:
  // A step: a text ending in a line feed is logged; "close", "off", "rm <file>", "mkdir <dir>",
  // "mv <from> <to>" do what they say; "mode <path> <octal>" checks path's permissions;
  // "key=value" sets a property, a bare key takes it out.
  void apply(test::Handler &h, const std::string &step) {
    size_t eq = step.find('='), sp = step.find(' '), sp2 = step.rfind(' ');
    std::string verb = step.substr(0, sp), path = at(step.substr(sp + 1, sp2 - sp - 1));
    if (step.back() == '\n') {
      h.log(step.c_str());
    } else if (step == "close") {
      h.close();
    } else if (step == "off") {
      h.object()->enabled = 0;
    } else if (verb == "rm") {
      fs::remove(at(step.substr(3)));
    } else if (verb == "mkdir") {
      fs::create_directory(at(step.substr(6)));
    } else if (verb == "mv") {
      fs::rename(path, at(step.substr(sp2 + 1)));
    } else if (verb == "mode") {
      struct stat st {};
      EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
      EXPECT_EQ(st.st_mode & 0777, std::stoul(step.substr(sp2 + 1), nullptr, 8)) << path;
    } else if (eq != std::string::npos) {
      h.set(step.substr(0, eq).c_str(), step.substr(eq + 1).c_str());
    } else {
      h.set(step.c_str(), nullptr);
    }
  }
};

std::map<std::string, long> fields(const FileHandlerVars &v) {
  return {{"maxBytes", v.maxBytes},       {"maxFiles", v.maxFiles},
          {"filePerm", v.filePermission}, {"dirPerm", v.dirPermission},
          {"appending", v.appending},     {"lockKey", v.lockKey},
          {"errs", v.logInternalErrs},    {"open", v.open}};
}

TEST_F(FileHandlerTest, StartsWithTheDocumentedValuesInTheDirectoryCurrentAtCreation) {
  test::Handler h;
  EXPECT_EQ(fields(*h.vars()), (std::map<std::string, long>{
                                   {"maxBytes", 1048576}, {"maxFiles", 3}, {"filePerm", 0744},
                                   {"dirPerm", 0771}, {"appending", 1}, {"lockKey", 31821},
                                   {"errs", 1}, {"open", 0}}));
  EXPECT_EQ(str(h.vars()->fullName), at("default.log"));
  fs::create_directory(at("later"));
  fs::current_path(at("later"));
  h.log("one\n");
  EXPECT_EQ(files(), (Files{{"default.log", "one\n"}}));
}

TEST_F(FileHandlerTest, ConfigurationKeysSetTheirFields) {
  // A bare key: taken out of the configuration (maxFileBytes then reads 1024, not the default).
  struct Row { const char *property, *field; long expected; } rows[] = {
      {"maxFileBytes=200", "maxBytes", 200},   {"maxFileBytes", "maxBytes", 1024},
      {"maxFileSize=5", "maxBytes", 5},        {"maxFileSize=many", "maxBytes", 1024},
      {"maxFiles=7", "maxFiles", 7},           {"maxFiles", "maxFiles", 3},
      {"filePermission=0640", "filePerm", 0640}, {"filePermission=640", "filePerm", 0640},
      {"filePermission=0x1", "filePerm", 0},   {"filePermission=99", "filePerm", 0744},  // refused
      {"filePermission", "filePerm", 0744},    {"dirPermission=0700", "dirPerm", 0700},
      {"dirPermission=8", "dirPerm", 0771},    {"MPFileSemKey=12", "lockKey", 12},
      {"MPFileSemKey=key", "lockKey", 0},      {"appending=FALSE", "appending", 0},
      {"appending", "appending", 1},           {"appending=no", "appending", 1},
      {"logInternalErrs=false", "errs", 0},    {"logInternalErrs=True", "errs", 1},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.property);
    test::Handler h;
    h.vars()->appending = h.vars()->logInternalErrs = 7;  // neither value a key can give
    apply(h, r.property);
    EXPECT_EQ(fields(*h.vars()).at(r.field), r.expected);
  }
}

// Every rollover ends the backup with the trailer and starts the new file with the header;
// the record that passes the limit still lands. The multi-process handler copies the active
// file into the first backup and writes neither header nor trailer.
TEST_F(FileHandlerTest, StepsLeaveTheExpectedFiles) {
  struct Row { bool mp; const char *header, *trailer; Files before; Steps steps; Files after; };
  const Row rows[] = {
      {false, "H\n", "T\n", {},
       {"maxFileBytes=10", "r1\n", "r2\n", "r3\n", "r4\n", "r5\n", "r6\n", "r7\n", "r8\n", "r9\n",
        "r10\n", "close"},
       {{"default.log", "H\nr10\nT\n"}, {"default1.log", "H\nr7\nr8\nr9\nT\n"},
        {"default2.log", "H\nr4\nr5\nr6\nT\n"}}},
      // Each generation moves one on, the oldest is dropped, no other file touched.
      {false, "", "", {{"default.log", "A"}, {"default2.log", "C"}},
       {"maxFiles=4", "maxFileBytes=1", "r\n"},
       {{"default.log", "r\n"}, {"default1.log", "A"}, {"default3.log", "C"}}},
      {false, "", "",
       {{"server12.txt", "A"}, {"server12.1.txt", "B"}, {"server12.2.txt", "C"},
        {"server.txt", "X"}, {"server1.txt", "Y"}},
       {"fileName=server12.txt", "maxFileBytes=1", "r\n"},
       {{"server12.txt", "r\n"}, {"server12.1.txt", "A"}, {"server12.2.txt", "B"},
        {"server.txt", "X"}, {"server1.txt", "Y"}}},
      {false, "", "", {{"sub/app", "A"}, {"sub/app1", "B"}},
       {"fileName=sub/app", "maxFiles=2", "maxFileBytes=1", "r\n"},
       {{"sub/app", "r\n"}, {"sub/app1", "A"}}},
      // One file never rolls.
      {false, "", "", {}, {"maxFiles=1", "maxFileBytes=2", "x\n", "y\n", "maxFiles=0", "z\n",
                           "maxFiles=-2", "w\n"}, {{"default.log", "x\ny\nz\nw\n"}}},
      // An existing full file rolls at open.
      {false, "", "T\n", {{"default.log", "0123456789"}}, {"maxFileBytes=10", "new\n"},
       {{"default.log", "new\n"}, {"default1.log", "0123456789T\n"}}},
      // Appending keeps what is there; without it every open truncates.
      {false, "", "", {{"default.log", "old\n"}}, {"a\n", "mode default.log 744"},
       {{"default.log", "old\na\n"}}},
      {false, "", "", {{"default.log", "old\n"}}, {"appending=false", "a\n", "b\n"},
       {{"default.log", "a\nb\n"}}},
      {false, "", "", {}, {"appending=false", "a\n", "close", "c\n"}, {{"default.log", "c\n"}}},
      {false, "", "", {}, {"appending=false", "a\n", "maxFiles=3", "d\n"},
       {{"default.log", "d\n"}}},
      // A deleted file, or one replaced by a directory or another file, is started again.
      {false, "H\n", "", {}, {"a\n", "rm default.log", "b\n"}, {{"default.log", "H\nb\n"}}},
      {false, "H\n", "", {{"new.log", "x\n"}}, {"a\n", "mv new.log default.log", "b\n"},
       {{"default.log", "x\nH\nb\n"}}},
      {false, "H\n", "", {},
       {"a\n", "rm default.log", "mkdir default.log", "lost\n", "rm default.log", "c\n"},
       {{"default.log", "H\nc\n"}}},
      {false, "", "", {}, {"dirPermission=0750", "fileName=a\\b/c/x.log", "r\n", "mode a/b 750"},
       {{"a/b/c/x.log", "r\n"}}},
      {false, "", "", {},
       {"filePermission=640", "fileEncoding=ISO-8859-1", "caf\xC3\xA9\n", "mode default.log 640",
        "fileEncoding=no-such-code-set", "caf\xC3\xA9\n"},
       {{"default.log", "caf\xE9\ncaf\xC3\xA9\n"}}},
      {false, "", "", {}, {"off", "a\n"}, {}},
      // The copy into an older, longer backup leaves no tail of it.
      {true, "", "",
       {{"default.log", "0123"}, {"default1.log", "B1, longer"}, {"default2.log", "B2"}},
       {"filePermission=0600", "maxFileBytes=4", "maxFiles=2", "new\n", "mode default1.log 600"},
       {{"default.log", "new\n"}, {"default1.log", "0123"}, {"default2.log", "B2"}}},
      {true, "", "", {{"default.log", "0123"}, {"default1.log", "B1"}, {"default2.log", "B2"}},
       {"maxFileBytes=4", "maxFiles=3", "new\n"},
       {{"default.log", "new\n"}, {"default1.log", "0123"}, {"default2.log", "B1"}}},
      {true, "H\n", "T\n", {}, {"a\n", "close", "b\n", "close"}, {{"default.log", "a\nb\n"}}},
      {true, "", "", {}, {"a\n", "rm default.log", "b\n"}, {{"default.log", "b\n"}}},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE("row " + std::to_string(&r - rows));
    for (const auto &e : fs::directory_iterator(root)) fs::remove_all(e.path());
    test::gHeader = r.header;
    test::gTrailer = r.trailer;
    fs::create_directory(at("sub"));
    for (const auto &[file, text] : r.before) writeFile(at(file), text);
    test::Handler h(r.mp);
    if (r.mp) h.set("MPFileSemKey", key);
    for (const std::string &step : r.steps) apply(h, step);
    EXPECT_EQ(files(), r.after);
  }
}

// A full disk: a small file system mounted for the test, when it may mount.
TEST_F(FileHandlerTest, FullDiskIsSurvivedAndTheNextRecordLands) {
  fs::create_directory(at("small"));
  if (mount("tmpfs", at("small").c_str(), "tmpfs", 0, "size=8k") != 0) GTEST_SKIP() << "no mount";
  test::Handler h;
  h.set("fileName", "small/x.log");
  h.set("maxFiles", "1");
  std::string big = std::string(4096, 'x') + "\n";
  for (int i = 0; i < 4; ++i) h.log(big.c_str());  // the later ones find the disk full
  EXPECT_LT(readFile(at("small/x.log")).size(), 4u * big.size());
  fs::remove(at("small/x.log"));
  h.log("after\n");
  EXPECT_EQ(readFile(at("small/x.log")), "after\n");
  h.close();
  umount2(at("small").c_str(), MNT_DETACH);
}

using NameTest = OutputTest;

// Names split into parts, the active and backup names built from them; too long: nothing.
TEST_F(NameTest, SplitsNamesAndBuildsActiveAndBackupNames) {
  const std::string cwd = fs::current_path().string();
  const std::string n259 = std::string(255, 'a') + ".log", n260 = "a" + n259;
  const char *none = "<null>";
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
      {nullptr, none, none, 0, none, none, none}, {"", none, none, 0, none, none, none},
      {n260.c_str(), none, none, 0, none, none, none},
  };
  auto full = [&](std::string s) { return s[0] == '.' ? cwd + s.substr(1) : s; };
  for (const Row &r : rows) {
    SCOPED_TRACE(str(r.name));
    Vars v;
    v.name(r.name);
    EXPECT_EQ(str(v->directory), full(r.dir));
    EXPECT_EQ(str(v->baseName), r.base);
    EXPECT_EQ(v->number, r.number);
    EXPECT_EQ(str(v->extension), str(r.ext));
    EXPECT_EQ(str(v->fullName), full(r.active));
    EXPECT_EQ(test::take(lmx::logGenerationName(v.v, 1)), full(r.backup));
  }
  Vars ok;
  ok.name(n259.c_str());
  EXPECT_EQ(str(ok->fullName), cwd + "/" + n259);
}

// The build rule omits missing parts, the limit compares unsigned with the limit's sign (the
// file table reaches a limit exactly and stays below it), a failed write counts only what landed.
TEST_F(NameTest, BuildRuleLimitAndFailedWrite) {
  char *out = nullptr;
  lmxSetFileNameParts(&out, nullptr, "b", 0, nullptr);
  EXPECT_EQ(test::take(out), "b");
  out = nullptr;
  lmxSetFileNameParts(&out, "/d", nullptr, 1, "x");
  EXPECT_EQ(out, nullptr);
  EXPECT_TRUE(lmx::logIsFull(0, 0));
  EXPECT_FALSE(lmx::logIsFull(UINT64_C(1) << 40, -1));
  Vars v;
  v.name("/dev/full");
  ASSERT_TRUE(lmx::logFileOpen(v.v, O_WRONLY | O_APPEND));
  v->size = 0;
  EXPECT_FALSE(lmx::logFileWrite(v.v, "abc\n", 4));
  EXPECT_EQ(v->size, 0u);
}

}  // namespace
