// Shared by the tests of this folder: a status written as kind and code, a
// buffer's text, the engine's printf text, a code set handle, results of steps
// in order, and a scratch directory per test, removed with its contents.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lumex/cx.h"
#include "lumex/ilx.h"

// "-0", "p22", "w2", ...
inline std::string st(CxStatus s) { return s.kind + std::to_string(s.code); }

inline std::string text(const CxStringBuff &b) {
  return b.data ? std::string(b.data, b.length) : "<null>";
}

// Formats into a fresh buffer, through the code set for wide forms; "<fail>"
// when nothing was appended.
template <class... A>
std::string fmtIn(CodeSetT cs, const char *format, A... args) {
  CxStringBuff b{};
  const int32_t n = CxStringBuffPrintf(cs, &b, format, args...);
  std::string out = b.data != nullptr ? text(b) : "<fail>";
  EXPECT_EQ(static_cast<uint32_t>(n), b.length) << format;
  CxStringBuffDiscard(&b);
  return out;
}

template <class... A>
std::string fmt(const char *format, A... args) {
  return fmtIn(nullptr, format, args...);
}

struct CodeSetHandle {
  explicit CodeSetHandle(const char *name) : cs(ilx_cs_new(name)) { EXPECT_NE(cs, nullptr); }
  ~CodeSetHandle() { ilx_cs_free(cs); }
  CodeSetT cs;
};

// Results of calls in the order they are made (a braced list evaluates in order).
using Steps = std::vector<std::string>;

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "lmxcx.XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    root = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  std::string at(const std::string &rel) const { return root + "/" + rel; }
  static void writeFile(const std::string &name, const std::string &text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  static std::string readFile(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string root;
};
