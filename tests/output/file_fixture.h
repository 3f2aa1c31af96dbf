// Shared by the file handler tests: a scratch directory that is also the
// current directory, file helpers, a handler's variables, and child
// processes made with fork.
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
