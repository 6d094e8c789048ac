// File names: CQFileName keeps a name wide and as UTF-8 (files are opened
// through the UTF-8 copy); CQFileUtils cuts names and extensions.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>

class CQFileName {
 public:
  // Null fails with "Null pointer to file name."; an empty name leaves none.
  void Set(const wchar_t* name);
  const wchar_t* Wide() const { return wide_ ? wide_->c_str() : nullptr; }
  const char* Utf8() const { return utf8_ ? utf8_->c_str() : nullptr; }
  bool Empty() const { return !wide_; }

 private:
  std::optional<std::wstring> wide_;
  std::optional<std::string> utf8_;
};

class CQFileUtils {
 public:
  static constexpr int kPathCapacity = 260;
  // The file name without directory and extension, into a buffer of 260 characters.
  static bool GetName(const wchar_t* path, wchar_t* name);
  // The whole path without its extension, into a buffer of 260 characters.
  static bool GetPathWithName(const wchar_t* path, wchar_t* name);
};

// The file-name part of a path (after the last '/'), upper-cased: the format
// tests look at the file name only, never at the folders.
std::wstring UpperFileNamePart(const wchar_t* path);

// The format tests: true when the upper-cased file-name part of path holds
// any of the (upper-case) texts; a null path holds none.
bool FileNameContains(const wchar_t* path, std::initializer_list<const wchar_t*> texts);
