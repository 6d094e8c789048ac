#include <cstdlib>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>
#include <unistd.h>
#include <string>

#include "platform/paths.h"
#include "platform/random.h"
#include "platform/version.h"

namespace {

TEST(Random, FirstValuesFromSeedOneAndPerThreadState) {
  lv::SeedRand(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int v : expected) {
    EXPECT_EQ(lv::Rand(), v);
  }
  // Another thread starts its own sequence at seed 1.
  int other = -1;
  std::thread([&] { other = lv::Rand(); }).join();
  EXPECT_EQ(other, 41);
  lv::SeedRand(1);
  for (int i = 0; i < 100000; ++i) {
    const int v = lv::Rand();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, lv::kRandMax);
  }
}

class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
      had_ = true;
    }
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvVar() {
    if (had_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(Paths, UserDirectoryFollowsXdgConfigHome) {
  const auto tmp = std::filesystem::temp_directory_path() / ("lv_paths_test-" + std::to_string(::getpid()));
  std::filesystem::remove_all(tmp);
  {
    EnvVar xdg("XDG_CONFIG_HOME", tmp.c_str());
    const auto dir = lv::UserDirectoryPath();
    ASSERT_TRUE(dir.has_value());
    EXPECT_EQ(*dir, tmp / "Lumvard Systems" / "Lumvard Sorvek");
    EXPECT_FALSE(std::filesystem::exists(*dir));  // nothing created by asking
    EXPECT_TRUE(lv::EnsureDirectory(*dir));
    EXPECT_TRUE(std::filesystem::is_directory(*dir));
  }
  {
    EnvVar xdg("XDG_CONFIG_HOME", nullptr);
    EnvVar home("HOME", "/home/someone");
    EXPECT_EQ(*lv::UserDirectoryPath(), std::filesystem::path("/home/someone/.config/Lumvard Systems/Lumvard Sorvek"));
  }
  {
    EnvVar xdg("XDG_CONFIG_HOME", "relative/path");  // not absolute: ignored
    EnvVar home("HOME", nullptr);
    EXPECT_FALSE(lv::UserDirectoryPath().has_value());
  }
  std::filesystem::remove_all(tmp);
}

TEST(Paths, BasebandDirectoryIsBelowTheCurrentDirectory) {
  EXPECT_EQ(lv::BasebandDirectory(), std::filesystem::current_path() / "Baseband");
}

TEST(Version, ComesFromTheBuild) {
  EXPECT_STREQ(lv::kVersionText, "3.0.0.0");
}

}  // namespace
