// A fresh program folder and alias folder per test, removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace kestrova::testing {

class TempHome : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kestrova-db-test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    setenv("KESTROVA_HOME", (root_ / "home").c_str(), 1);
    alias_ = (root_ / "alias").string();
    std::filesystem::create_directories(alias_);
  }
  void TearDown() override {
    unsetenv("KESTROVA_HOME");
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  std::filesystem::path root_;
  std::string alias_;
};

}  // namespace kestrova::testing
