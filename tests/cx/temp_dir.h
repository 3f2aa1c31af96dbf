// Shared by the tests of this folder: a status written as kind and code, a
// buffer's text, results of steps in order, and a scratch directory per test,
// removed with its contents.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lumex/cx.h"

// "-0", "p22", "w2", ...
inline std::string st(CxStatus s) { return s.kind + std::to_string(s.code); }

inline std::string text(const CxStringBuff &b) {
  return b.data ? std::string(b.data, b.length) : "<null>";
}

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
