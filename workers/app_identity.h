// The application's identity and its place on disk.
//
// CQAppType: the product's name, executable name, settings-file names and
// version text, by application-type code (this product is 123).
// CWAppDirectories: the user directory, $XDG_CONFIG_HOME/Lumvard Systems/
// Lumvard Sorvek/ (default ~/.config/...), created with both folder levels.
// CWAppSettings: the one settings store (CQAppSettings) and its default and
// startup file names in the user directory.
//
// Start-up runs CQAppType::Initialize, CWAppDirectories::Initialize and
// CWAppSettings::Initialize in that order. All three keep process-wide data
// that is safe to read from any thread. Errors are CQError* with the
// operation's name appended.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "workers/settings_file.h"

class CQAppType {
 public:
  static constexpr int32_t kLumvardSorvek = 123;

  // Product name, type code and version text of this product.
  static void Initialize();

  // The product name / executable file name of the code into the buffer, cut
  // to capacity - 1 characters and zero-terminated. Another code raises
  // "Unknown application type.".
  static void MakeAppNameString(int32_t code, wchar_t* buffer, int32_t capacity);
  static void MakeAppFileNameString(int32_t code, wchar_t* buffer, int32_t capacity);
  static std::wstring AppName(int32_t code);
  static std::wstring AppFileName(int32_t code);
  // "Lumvard Sorvek Settings.config" / "Lumvard Sorvek Startup Settings.config".
  static std::wstring DefaultSettingsFileName(int32_t code);
  static std::wstring StartupSettingsFileName(int32_t code);

  // Empty / 0 before Initialize.
  static std::wstring GetProductName();
  static std::wstring GetVersionText();
  static int32_t GetAppType();

  // A version cut after its third number: "3.0.0.0" -> "3.0.0"; a version
  // with fewer full stops stays whole.
  static std::wstring CutVersionText(std::wstring_view version);
};

class CWAppDirectories {
 public:
  // Creates the maker's and the product's folders and remembers the user
  // directory. A folder that cannot be determined or created raises "Cannot
  // determine the user settings folder.".
  static void Initialize();
  // The user directory. Before Initialize it raises "Programming error:
  // CWAppDirectories::Initialize() must be called during application start up.".
  static std::filesystem::path GetUserDirectory();
  // The same as text, ending in '/'.
  static std::wstring GetUserDirectoryText();

  // Tests only: forgets the user directory.
  static void ResetForTesting();
};

class CWAppSettings {
 public:
  // Type 123; the default settings file becomes the store's file name.
  static void Initialize();
  // The one settings store.
  static CQAppSettings& GetSettings();
  static void SetFileName(const wchar_t* path);
  // The startup settings file becomes the store's file name ("Invalid app
  // type." before Initialize).
  static void SetFileNameToStartupSettings();
  // Empties the store's current file and writes its header.
  static void ResetContents();
  static int32_t GetAppType();
  // The full paths of the two files in the user directory.
  static std::filesystem::path DefaultSettingsPath();
  static std::filesystem::path StartupSettingsPath();
};
