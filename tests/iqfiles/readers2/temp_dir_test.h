// A test fixture with its own temporary folder and helpers to write text or
// binary files there and to run the independent numpy check.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/text.h"

namespace lv_test {

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("lv_iq2_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::wstring W(const std::string& name) const { return lv::Utf8ToWide((dir_ / name).string()); }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(dir_ / name, std::ios::binary);
    out << bytes;
  }
  std::string Slurp(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  int Python(const char* mode) const {
    return std::system(
        ("/usr/bin/python3 " LV_READERS2_CHECK " " + std::string(mode) + " '" + dir_.string() + "'").c_str());
  }

  std::filesystem::path dir_;
};

}  // namespace lv_test
