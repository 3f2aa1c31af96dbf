// Shared by the file handler tests: a scratch directory that is also the
// current directory, file helpers, a handler's variables, child processes
// made with fork, and handler objects made by hand with the handler
// classes' operations and a formatter whose record text is the event
// itself (tests pass the record's text in place of an event) and whose
// header and trailer are chosen by the test.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "collections/collections_intl.h"
#include "core/obj_class.h"
#include "core/object.h"
#include "lumex/output.h"
#include "output/file_handler_vars.h"

namespace fs = std::filesystem;

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "lmxfile.XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    root = tmpl;
    saved = fs::current_path();
    fs::current_path(root);
  }
  void TearDown() override {
    for (pid_t pid : children) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    fs::current_path(saved);
    std::error_code ec;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root, ec);
  }
  std::string at(const std::string &rel) const { return root + "/" + rel; }
  static void writeFile(const std::string &name, const std::string &text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  static std::string readFile(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static std::vector<std::string> lines(const std::string &text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1) {
      out.push_back(text.substr(start, nl - start));
    }
    if (start < text.size()) out.push_back(text.substr(start) + "<no line feed>");
    return out;
  }
  // Runs body in a child process, which ends with its result as exit code.
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
    for (auto it = children.begin(); it != children.end(); ++it) {
      if (*it == pid) {
        children.erase(it);
        break;
      }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

  std::string root;
  fs::path saved;
  std::vector<pid_t> children;
};

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

inline std::string str(const char *text) { return text != nullptr ? text : "(null)"; }

namespace test {

inline std::string gHeader, gTrailer;

inline char *textOrNull(const std::string &s) { return s.empty() ? nullptr : BasStringDup(s.c_str()); }
inline char *fmtRecord(Object *, struct Event *event) {
  return BasStringDup(reinterpret_cast<const char *>(event));
}
inline char *fmtHeader(Object *) { return textOrNull(gHeader); }
inline char *fmtTrailer(Object *) { return textOrNull(gTrailer); }

inline ObjClass fileClass(bool multiProcess) {
  ObjClass cls{};
  cls.kind = LMX_KIND_HANDLER;
  cls.name = const_cast<char *>(multiProcess ? "lmx_multiproc_filehandler" : "lmx_filehandler");
  cls.ops.handler.process = multiProcess ? LmxMultiProcFileHandlerFProcess : LmxFileHandlerFProcess;
  cls.ops.handler.open = multiProcess ? LmxMultiProcFileHandlerFOpen : LmxFileHandlerFOpen;
  cls.ops.handler.close = multiProcess ? LmxMultiProcFileHandlerFClose : LmxFileHandlerFClose;
  cls.allocVars = LmxFileHandlerFAllocVars;
  cls.freeVars = LmxFileHandlerFFreeVars;
  cls.cfgChange = LmxFileHandlerFCfgChange;
  return cls;
}

inline ObjClass formatterClass() {
  ObjClass cls{};
  cls.kind = LMX_KIND_FORMATTER;
  cls.name = const_cast<char *>("test_formatter");
  cls.ops.formatter.format = fmtRecord;
  cls.ops.formatter.getHeader = fmtHeader;
  cls.ops.formatter.getTrailer = fmtTrailer;
  return cls;
}

// One handler object with its formatter; freed (without a trailer, as the
// toolkit's close does) at the end of the scope unless closed first.
class Handler {
 public:
  Handler(ObjClass *cls, ObjClass *fmtCls, const char *name = "test.file") {
    formatter_.objClass = fmtCls;
    object_.objClass = cls;
    object_.name = BasStringDup(name);
    object_.enabled = 1;
    object_.b.formatter = &formatter_;
    object_.vars = cls->allocVars();
  }
  ~Handler() {
    object_.objClass->freeVars(object_.vars);
    lmxIntlFreeStringToStringMap(object_.properties);
    BasMemoryFree(object_.name);
  }
  Handler(const Handler &) = delete;
  Handler &operator=(const Handler &) = delete;

  // Sets (or, with null, removes) a property and tells the handler.
  void set(const char *key, const char *value) {
    if (object_.properties == nullptr) object_.properties = lmxIntlAllocStringToStringMap();
    if (value != nullptr) {
      lmxIntlStringToStringMapPut(object_.properties, key, value);
    } else {
      lmxIntlStringToStringMapRem(object_.properties, key);
    }
    object_.objClass->cfgChange(&object_, key);
  }
  void log(const char *text) {
    object_.objClass->ops.handler.process(&object_, reinterpret_cast<struct Event *>(const_cast<char *>(text)));
  }
  void open() { object_.objClass->ops.handler.open(&object_); }
  void close() { object_.objClass->ops.handler.close(&object_); }
  Object *object() { return &object_; }
  FileHandlerVars *vars() { return static_cast<FileHandlerVars *>(object_.vars); }

 private:
  Object formatter_{};
  Object object_{};
};

}  // namespace test
