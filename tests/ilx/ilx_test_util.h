// Scratch folders, whole files and scoped environment variables for the ilx tests.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace ilxtest {

// A fresh folder under /tmp, removed with its contents at the end.
struct TempDir {
  TempDir() : path_(mkdtemp(std::string("/tmp/lmxcat.XXXXXX").data())) {}
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  const std::string &path() const { return path_; }
  std::string operator/(const std::string &name) const { return path_ + "/" + name; }
  const std::string path_;
};

inline std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sets an environment variable (or unsets it for null) for one scope.
struct EnvVar {
  EnvVar(const char *n, const char *v) : name(n), had(getenv(n)), old(had ? getenv(n) : "") {
    v ? setenv(n, v, 1) : unsetenv(n);
  }
  ~EnvVar() { had ? setenv(name.c_str(), old.c_str(), 1) : unsetenv(name.c_str()); }
  const std::string name;
  const bool had;
  const std::string old;
};

}  // namespace ilxtest
