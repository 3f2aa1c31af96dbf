// A scratch directory for one test, removed with everything in it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "lmxcx.XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    root = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    // Give back write permission first so nothing stays behind.
    for (auto &e : std::filesystem::recursive_directory_iterator(root, ec))
      if (e.is_directory(ec)) std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                                           std::filesystem::perm_options::add, ec);
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
