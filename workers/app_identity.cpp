#include "workers/app_identity.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>

#include "core/error.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/version.h"

namespace {

constexpr const wchar_t* kProductName = L"Lumvard Sorvek";
// The program file on this platform.
constexpr const wchar_t* kExecutableName = L"lumvard-sorvek";
constexpr const wchar_t* kDefaultSettingsFile = L"Lumvard Sorvek Settings.config";
constexpr const wchar_t* kStartupSettingsFile = L"Lumvard Sorvek Startup Settings.config";

struct Identity {
  std::mutex mutex;
  std::wstring productName;
  std::wstring versionText;
  int32_t appType = 0;
  std::optional<std::filesystem::path> userDirectory;
  int32_t settingsAppType = 0;
};

Identity& Data() {
  static Identity data;
  return data;
}

// Created by static initialisation, like the store it stands for.
[[maybe_unused]] CQAppSettings& g_storeAtStart = CWAppSettings::GetSettings();

void CopyInto(const std::wstring& text, wchar_t* buffer, int32_t capacity) {
  if (buffer == nullptr || capacity < 1) {
    throw new CQError("Null pointer to input string.");
  }
  const size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::memcpy(buffer, text.data(), n * sizeof(wchar_t));
  buffer[n] = L'\0';
}

const wchar_t* ForCode(int32_t code, const wchar_t* text) {
  if (code != CQAppType::kLumvardSorvek) {
    throw new CQError("Unknown application type.");
  }
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------
// CQAppType

std::wstring CQAppType::CutVersionText(std::wstring_view version) {
  size_t dots = 0;
  for (size_t i = 0; i < version.size(); ++i) {
    if (version[i] == L'.' && ++dots == 3) {
      return std::wstring(version.substr(0, i));
    }
  }
  return std::wstring(version);
}

void CQAppType::Initialize() {
  try {
    const std::wstring name = AppName(kLumvardSorvek);
    std::lock_guard<std::mutex> lock(Data().mutex);
    Data().productName = name;
    Data().appType = kLumvardSorvek;
    Data().versionText = CutVersionText(lv::kVersionTextW);
  } catch (CQError* e) {
    e->AddToCallStack("CQAppType::Initialize");
    throw;
  }
}

std::wstring CQAppType::AppName(int32_t code) {
  try {
    return ForCode(code, kProductName);
  } catch (CQError* e) {
    e->AddToCallStack("CQAppType::MakeAppNameString");
    throw;
  }
}

std::wstring CQAppType::AppFileName(int32_t code) {
  try {
    return ForCode(code, kExecutableName);
  } catch (CQError* e) {
    e->AddToCallStack("CQAppType::MakeAppFileNameString");
    throw;
  }
}

void CQAppType::MakeAppNameString(int32_t code, wchar_t* buffer, int32_t capacity) {
  const std::wstring text = AppName(code);
  try {
    CopyInto(text, buffer, capacity);
  } catch (CQError* e) {
    e->AddToCallStack("CQAppType::MakeAppNameString");
    throw;
  }
}

void CQAppType::MakeAppFileNameString(int32_t code, wchar_t* buffer, int32_t capacity) {
  const std::wstring text = AppFileName(code);
  try {
    CopyInto(text, buffer, capacity);
  } catch (CQError* e) {
    e->AddToCallStack("CQAppType::MakeAppFileNameString");
    throw;
  }
}

std::wstring CQAppType::DefaultSettingsFileName(int32_t code) {
  try {
    return ForCode(code, kDefaultSettingsFile);
  } catch (CQError* e) {
    e->AddToCallStack("CQAppType::DefaultSettingsFileName");
    throw;
  }
}

std::wstring CQAppType::StartupSettingsFileName(int32_t code) {
  try {
    return ForCode(code, kStartupSettingsFile);
  } catch (CQError* e) {
    e->AddToCallStack("CQAppType::StartupSettingsFileName");
    throw;
  }
}

std::wstring CQAppType::GetProductName() {
  std::lock_guard<std::mutex> lock(Data().mutex);
  return Data().productName;
}

std::wstring CQAppType::GetVersionText() {
  std::lock_guard<std::mutex> lock(Data().mutex);
  return Data().versionText;
}

int32_t CQAppType::GetAppType() {
  std::lock_guard<std::mutex> lock(Data().mutex);
  return Data().appType;
}

// ---------------------------------------------------------------------------
// CWAppDirectories

void CWAppDirectories::Initialize() {
  try {
    {
      std::lock_guard<std::mutex> lock(Data().mutex);
      Data().userDirectory.reset();
    }
    const std::optional<std::filesystem::path> dir = lv::UserDirectoryPath();
    // Both folder levels are created; an existing folder is fine.
    if (!dir || !lv::EnsureDirectory(*dir)) {
      throw new CQError("Cannot determine the user settings folder.");
    }
    std::lock_guard<std::mutex> lock(Data().mutex);
    Data().userDirectory = *dir;
  } catch (CQError* e) {
    e->AddToCallStack("CWAppDirectories::Initialize");
    throw;
  }
}

std::filesystem::path CWAppDirectories::GetUserDirectory() {
  std::lock_guard<std::mutex> lock(Data().mutex);
  if (!Data().userDirectory) {
    throw new CQError(
        "Programming error: CWAppDirectories::Initialize() must be called during application start up.",
        "CWAppDirectories::GetUserDirectory");
  }
  return *Data().userDirectory;
}

std::wstring CWAppDirectories::GetUserDirectoryText() {
  std::wstring text = lv::NarrowToWide(GetUserDirectory().string());
  if (text.empty() || text.back() != L'/') {
    text += L'/';
  }
  return text;
}

void CWAppDirectories::ResetForTesting() {
  std::lock_guard<std::mutex> lock(Data().mutex);
  Data().userDirectory.reset();
}

// ---------------------------------------------------------------------------
// CWAppSettings

CQAppSettings& CWAppSettings::GetSettings() {
  static CQAppSettings store;
  return store;
}

int32_t CWAppSettings::GetAppType() {
  std::lock_guard<std::mutex> lock(Data().mutex);
  return Data().settingsAppType;
}

std::filesystem::path CWAppSettings::DefaultSettingsPath() {
  return CWAppDirectories::GetUserDirectory() / lv::WideToUtf8(kDefaultSettingsFile);
}

std::filesystem::path CWAppSettings::StartupSettingsPath() {
  return CWAppDirectories::GetUserDirectory() / lv::WideToUtf8(kStartupSettingsFile);
}

void CWAppSettings::Initialize() {
  try {
    {
      std::lock_guard<std::mutex> lock(Data().mutex);
      Data().settingsAppType = CQAppType::kLumvardSorvek;
    }
    GetSettings().SetFileName(DefaultSettingsPath());
  } catch (CQError* e) {
    e->AddToCallStack("CWAppSettings::Initialize");
    throw;
  }
}

void CWAppSettings::SetFileName(const wchar_t* path) {
  try {
    GetSettings().SetFileName(path);
  } catch (CQError* e) {
    e->AddToCallStack("CWAppSettings::SetFileName");
    throw;
  }
}

void CWAppSettings::SetFileNameToStartupSettings() {
  try {
    if (GetAppType() != CQAppType::kLumvardSorvek) {
      throw new CQError("Invalid app type.");
    }
    GetSettings().SetFileName(StartupSettingsPath());
  } catch (CQError* e) {
    e->AddToCallStack("CWAppSettings::SetFileNameToStartupSettings");
    throw;
  }
}

void CWAppSettings::ResetContents() {
  try {
    GetSettings().ResetContents();
  } catch (CQError* e) {
    e->AddToCallStack("CWAppSettings::ResetContents");
    throw;
  }
}
