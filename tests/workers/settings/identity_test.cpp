#include <stdlib.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "workers/app_identity.h"
#include "core/error.h"
#include "platform/version.h"
#include "temp_dir.h"
#include "support/errors.h"

namespace {

// Sets an environment variable for one test and restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) {
      old_ = old;
    }
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

TEST(CQAppType, VersionIsCutAtTheThirdFullStop) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } table[] = {{L"3.0.0.0", L"3.0.0"}, {L"2.1.0.17", L"2.1.0"}, {L"7", L"7"},
               {L"1.2", L"1.2"},       {L"1.2.3", L"1.2.3"},    {L"", L""}};
  for (const auto& row : table) {
    EXPECT_EQ(CQAppType::CutVersionText(row.in), row.out) << row.in;
  }
}

TEST(CQAppType, InitializeGivesThisProduct) {
  CQAppType::Initialize();
  EXPECT_EQ(CQAppType::GetProductName(), L"Lumvard Sorvek");
  EXPECT_EQ(CQAppType::GetAppType(), 123);
  EXPECT_EQ(CQAppType::GetVersionText(), CQAppType::CutVersionText(lv::kVersionTextW));
  EXPECT_FALSE(CQAppType::GetVersionText().empty());

  wchar_t buffer[8];
  CQAppType::MakeAppNameString(123, buffer, 8);
  EXPECT_STREQ(buffer, L"Lumvard") << "cut to the capacity";
  EXPECT_EQ(CQAppType::DefaultSettingsFileName(123), L"Lumvard Sorvek Settings.config");
  EXPECT_EQ(CQAppType::StartupSettingsFileName(123), L"Lumvard Sorvek Startup Settings.config");
  EXPECT_TRUE(lv_test::ThrowsError([&] { CQAppType::MakeAppNameString(122, buffer, 8); }, "Unknown application type.",
                                   "CQAppType::MakeAppNameString\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { CQAppType::MakeAppFileNameString(0, buffer, 8); }, "Unknown application type.",
                                   "CQAppType::MakeAppFileNameString\n"));
}

TEST(CWAppDirectories, UserDirectoryIsCreatedWithBothLevels) {
  lv_test::TempDir dir;
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.Path().c_str());
  CWAppDirectories::ResetForTesting();
  CWAppDirectories::Initialize();
  const auto expected = dir.Path() / "Lumvard Systems" / "Lumvard Sorvek";
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Lumvard Systems"));
  EXPECT_TRUE(std::filesystem::is_directory(expected));
  EXPECT_EQ(CWAppDirectories::GetUserDirectory(), expected);
  const std::wstring text = CWAppDirectories::GetUserDirectoryText();
  EXPECT_EQ(text, expected.wstring() + L"/");

  // Existing folders are fine and give the same directory.
  CWAppDirectories::Initialize();
  EXPECT_EQ(CWAppDirectories::GetUserDirectory(), expected);

  CWAppSettings::Initialize();
  EXPECT_EQ(CWAppSettings::GetAppType(), 123);
  EXPECT_EQ(CWAppSettings::GetSettings().GetFileName(), expected / "Lumvard Sorvek Settings.config");
  CWAppSettings::ResetContents();
  EXPECT_EQ(lv_test::ReadBytes(expected / "Lumvard Sorvek Settings.config"), "Settings File v1\r\n");
  CWAppSettings::SetFileNameToStartupSettings();
  EXPECT_EQ(CWAppSettings::GetSettings().GetFileName(), expected / "Lumvard Sorvek Startup Settings.config");
  CWAppSettings::SetFileName(L"/tmp/chosen.config");
  EXPECT_EQ(CWAppSettings::GetSettings().GetFileName(), std::filesystem::path("/tmp/chosen.config"));
  CWAppDirectories::ResetForTesting();
}

TEST(CWAppDirectories, AFolderThatCannotBeDeterminedOrCreatedIsAnError) {
  lv_test::TempDir dir;
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/folder");
    ScopedEnv home("HOME", nullptr);
    EXPECT_TRUE(lv_test::ThrowsError([] { CWAppDirectories::Initialize(); },
                                     "Cannot determine the user settings folder.",
                                     "CWAppDirectories::Initialize\n"));
  }
  const auto blocker = dir.Path() / "file";
  lv_test::WriteBytes(blocker, "x");
  ScopedEnv xdg("XDG_CONFIG_HOME", blocker.c_str());
  EXPECT_TRUE(lv_test::ThrowsError([] { CWAppDirectories::Initialize(); }, "Cannot determine the user settings folder.",
                                   "CWAppDirectories::Initialize\n"));
  // A failed Initialize leaves no directory behind.
  EXPECT_TRUE(lv_test::ThrowsError(
      [] { CWAppDirectories::GetUserDirectory(); },
      "Programming error: CWAppDirectories::Initialize() must be called during application start up.",
      "CWAppDirectories::GetUserDirectory\n"));
}

TEST(CWAppSettings, StartupFileBeforeTheDirectoriesIsAProgrammingError) {
  CWAppDirectories::ResetForTesting();
  const std::string message =
      "Programming error: CWAppDirectories::Initialize() must be called during application start up.";
  EXPECT_TRUE(lv_test::ThrowsError([] { CWAppSettings::Initialize(); }, message,
                                   "CWAppDirectories::GetUserDirectory\nCWAppSettings::Initialize\n"));
  EXPECT_TRUE(lv_test::ThrowsError([] { CWAppSettings::SetFileNameToStartupSettings(); }, message,
                                   "CWAppDirectories::GetUserDirectory\n"
                                   "CWAppSettings::SetFileNameToStartupSettings\n"));
}

}  // namespace
