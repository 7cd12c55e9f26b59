/*
** Test fixture: a fresh, empty ZARNE_ROOT for each test, removed afterwards, with the
** current directory set to C:\ so that no test depends on another's state.
*/
#ifndef ZARNE_PLATFORM_KERNEL_TESTS_FRESH_ROOT_H
#define ZARNE_PLATFORM_KERNEL_TESTS_FRESH_ROOT_H

#include "platform/kernel/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class FreshRootTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zarne-kernel-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    setenv("ZARNE_ROOT", root_.c_str(), 1);
    ASSERT_TRUE(SetCurrentDirectory("C:\\"));
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  static void WriteHostFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  static std::string ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static bool HostExists(const std::string& path) { return std::filesystem::exists(path); }

  std::string root_;
};

#endif
