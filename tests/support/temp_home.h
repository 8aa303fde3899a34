// Fresh temporary folders per test, removed afterwards: an empty one, and one with the program
// folder (KESTROVA_HOME) and an alias folder inside it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace kestrova::testing {

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kestrova-test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

class TempHome : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kestrova-test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    home_ = root_ / "home";
    setenv("KESTROVA_HOME", home_.c_str(), 1);
    alias_ = (root_ / "alias").string();
    std::filesystem::create_directories(alias_);
  }
  void TearDown() override {
    unsetenv("KESTROVA_HOME");
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  std::filesystem::path root_;
  std::filesystem::path home_;  // the program folder
  std::string alias_;
};

}  // namespace kestrova::testing
