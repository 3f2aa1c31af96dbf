// Output tests: a scratch folder (the current directory) and lock key per test, child
// processes, and file handlers whose formatter's record is the text passed as the event.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../common/helpers.h"
#include "../common/texts.h"
#include "../cx/temp_dir.h"
#include "collections/collections_intl.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/lumex.h"
#include "output/file_handler_vars.h"
#include "output/mp_lock.h"

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // relative name: contents

inline std::string str(const char *text) { return text != nullptr ? text : "<null>"; }

namespace test {

inline std::string gHeader, gTrailer;

inline char *dup(const std::string &s) { return s.empty() ? nullptr : BasStringDup(s.c_str()); }
inline char *fmtRecord(Object *, Event *e) { return BasStringDup(reinterpret_cast<char *>(e)); }
inline char *fmtHeader(Object *) { return dup(gHeader); }
inline char *fmtTrailer(Object *) { return dup(gTrailer); }

// A (multi-process) file handler with its formatter, freed without a trailer (as the
// toolkit's close does) at the end of the scope.
class Handler {
 public:
  explicit Handler(bool mp = false) {
    cls_.kind = LMX_KIND_HANDLER;
    cls_.ops.handler = {mp ? LmxMultiProcFileHandlerFProcess : LmxFileHandlerFProcess,
                        mp ? LmxMultiProcFileHandlerFOpen : LmxFileHandlerFOpen,
                        mp ? LmxMultiProcFileHandlerFClose : LmxFileHandlerFClose};
    cls_.allocVars = LmxFileHandlerFAllocVars;
    cls_.freeVars = LmxFileHandlerFFreeVars;
    cls_.cfgChange = LmxFileHandlerFCfgChange;
    fmtCls_.kind = LMX_KIND_FORMATTER;
    fmtCls_.ops.formatter = {fmtRecord, fmtHeader, fmtTrailer, nullptr};
    formatter_.objClass = &fmtCls_;
    object_.objClass = &cls_;
    object_.name = BasStringDup("test.file");
    object_.enabled = 1;
    object_.b.formatter = &formatter_;
    object_.vars = cls_.allocVars();
  }
  ~Handler() {
    cls_.freeVars(object_.vars);
    lmxIntlFreeStringToStringMap(object_.properties);
    BasMemoryFree(object_.name);
  }
  Handler(const Handler &) = delete;

  // Sets (or, with null, removes) a property and tells the handler.
  void set(const char *key, const char *value) {
    if (object_.properties == nullptr) object_.properties = lmxIntlAllocStringToStringMap();
    if (value == nullptr) lmxIntlStringToStringMapRem(object_.properties, key);
    if (value != nullptr) lmxIntlStringToStringMapPut(object_.properties, key, value);
    cls_.cfgChange(&object_, key);
  }
  void set(const char *key, int32_t value) { set(key, std::to_string(value).c_str()); }
  void log(const char *text) {
    cls_.ops.handler.process(&object_, reinterpret_cast<Event *>(const_cast<char *>(text)));
  }
  void close() { cls_.ops.handler.close(&object_); }
  Object *object() { return &object_; }
  FileHandlerVars *vars() { return static_cast<FileHandlerVars *>(object_.vars); }

 private:
  ObjClass cls_{}, fmtCls_{};
  Object formatter_{}, object_{};
};

}  // namespace test

// Variables as a handler makes them, freed at the end of the scope.
struct Vars {
  Vars() : v(static_cast<FileHandlerVars *>(LmxFileHandlerFAllocVars())) {}
  ~Vars() { LmxFileHandlerFFreeVars(v); }
  FileHandlerVars *operator->() const { return v; }
  void name(const char *text) {
    lmxFHGetFileNameParts(text, v);
    lmx::logSetFullName(v);
  }
  FileHandlerVars *v;
};

class OutputTest : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    fs::current_path(root);
    test::gHeader.clear();
    test::gTrailer.clear();
    // Unique among the processes alive; key + 1 stays unused.
    static int serial = 0;
    key = static_cast<int32_t>(getpid() % (1 << 22)) * 128 + 2 * (serial++ % 64);
  }
  void TearDown() override {
    for (pid_t pid : children) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    for (Object *object : held) LmxReleaseObject(object);
    if (toolkitOpen) LmxCloseToolkit();
    shm_unlink(("/LMX_SEM_KEY_" + std::to_string(key)).c_str());
    fs::current_path(saved);
    TempDir::TearDown();
  }
  // Opens the toolkit (closed first when open), with the properties text if any.
  bool openToolkit(const std::string &props = "") {
    if (toolkitOpen) LmxCloseToolkit();
    if (!props.empty()) writeFile(at("toolkit.properties"), props);
    toolkitOpen = LmxOpenToolkit(props.empty() ? nullptr : at("toolkit.properties").c_str());
    return toolkitOpen;
  }
  // A toolkit object, released at the end of the test.
  Object *get(const char *name, const char *className) {
    Object *object = LmxGetObject(name, className);
    EXPECT_NE(object, nullptr) << name;
    held.push_back(object);  // releasing null does nothing
    return object;
  }
  // Every regular file under the scratch folder.
  Files files() const {
    Files found;
    for (const auto &e : fs::recursive_directory_iterator(root)) {
      if (e.is_regular_file()) found[fs::relative(e.path(), root).string()] = readFile(e.path());
    }
    return found;
  }
  // Runs body in a child process that exits with its result.
  template <typename Body>
  pid_t spawn(Body body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    children.push_back(pid);
    return pid;
  }
  // The exit code of a child (-signal when killed).
  int reap(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    children.erase(std::remove(children.begin(), children.end(), pid), children.end());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

  fs::path saved = fs::current_path();
  std::vector<pid_t> children;
  std::vector<Object *> held;
  int32_t key = 0;
  bool toolkitOpen = false;
};
