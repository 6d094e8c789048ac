// CQAppSettings: the settings file.
//
// A settings file is 8-bit Latin-1 text with CR LF line ends: the line
// "Settings File v1", then one line per value: key, " = ", value. Keys are
// colon-separated parts composed by their owners ("MainWindow:Rect",
// "Xmtr:0:Gain"). Value forms:
//   bool, int   decimal                       "Key = 1", "Key = -42"
//   float       9 significant digits          "Key = 1.25000000e-01"
//   double      17 significant digits         "Key = 2.4123456780000000e+09"
//   string      between double quotes, nothing escaped   "Key = \"text\""
//   rectangle   top left bottom right         "MainWindow:Rect = 10 100 610 800"
// Floats and doubles are written so that they read back exactly; files with
// six decimals ("%e") read as before. Infinities and NaN are written "inf",
// "-inf", "nan" and read back as such (the owners range-check what they read). Each character of a key or string is
// one byte; a character above U+00FF cannot be written ("Error writing to
// settings file.").
//
// Look-ups: a key matches only a line that starts with the key followed by
// " = ", so neither a longer key nor a string value can shadow it; the first
// such line wins. A missing key or an unreadable value is no error: GetValue
// returns false and leaves the owner's value unchanged. A missing file is an
// error on every read ("Error opening settings file.").
//
// Sections: an owner with many keys extracts the lines containing its prefix
// once (ExtractSection), switches section mode on (SetUseSection(1)), looks
// its keys up in the cache, and switches it off again, also on its error path.
//
// Saving: SetValue appends one line per call, opening and closing the file
// each time. ResetContents empties the file and writes the header. A save
// chain instead uses BeginSave / CommitSave: the lines go to a temporary file
// in the same folder (kept open for the chain, each line flushed), which
// replaces the target only when the chain has completed, so a failed or
// interrupted save leaves the previous file intact.
//
// Errors are CQError* with the operation's "CQAppSettings::..." name appended.
// One instance is used by one thread at a time (the save and recall chains
// hand it on); Lock/Unlock serialise the transceiver settings' save and recall.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workers/cw_rect.h"
#include "platform/sync.h"

class CQAppSettings {
 public:
  // Length of the value text a look-up sees (the text after the key, " = "
  // included), in characters.
  static constexpr int32_t kMaxValueText = 1023;
  static constexpr const char* kHeader = "Settings File v1";

  CQAppSettings();
  ~CQAppSettings();
  CQAppSettings(const CQAppSettings&) = delete;
  CQAppSettings& operator=(const CQAppSettings&) = delete;

  // Sets the file (a copy is kept). Null: nothing happens.
  void SetFileName(const wchar_t* path);
  void SetFileName(const std::filesystem::path& path);
  // Empty when no name was set.
  std::filesystem::path GetFileName() const;

  // Empties (or creates) the file and writes the header line.
  void ResetContents();

  // Starts a save into "<file name>.saving" (header written); SetValue then
  // appends there. CommitSave renames it over the file; AbortSave removes it.
  void BeginSave();
  void CommitSave();
  void AbortSave();
  bool IsSaving() const;

  // Appends one line. A null key: "Null pointer to input string."; no file
  // name: "Null pointer to input file name.". A null string value writes
  // nothing and is no error.
  void SetValue(const wchar_t* key, bool value);
  void SetValue(const wchar_t* key, int32_t value);
  void SetValue(const wchar_t* key, float value);
  void SetValue(const wchar_t* key, double value);
  void SetValue(const wchar_t* key, const wchar_t* value);
  void SetValue(const wchar_t* key, const std::wstring& value) { SetValue(key, value.c_str()); }
  void SetValue(const wchar_t* key, const CWRect& value);

  // Look-ups: true and the value stored when the key is found and its value
  // reads; false (out untouched) otherwise. A bool is true when its integer is
  // non-zero; an int outside the 32-bit range does not read.
  bool GetValue(const wchar_t* key, bool* out);
  bool GetValue(const wchar_t* key, int32_t* out);
  bool GetValue(const wchar_t* key, float* out);
  bool GetValue(const wchar_t* key, double* out);
  bool GetValue(const wchar_t* key, CWRect* out);
  // Strings: the text between the first two double quotes of the value. The
  // buffer is zero-filled over its capacity first, and the copy is cut to
  // capacity - 1 characters. An empty string ("") reads as not found.
  bool GetValue(const wchar_t* key, wchar_t* buffer, int32_t capacity);
  bool GetValue(const wchar_t* key, std::wstring* out);

  // The value text after the key (it begins with " = "), at most
  // kMaxValueText characters. False for a null or empty key or no match.
  bool FindValueString(const wchar_t* key, std::wstring* valueText);

  // Fills the section cache with the lines containing prefix (a null or empty
  // prefix gives an empty section).
  void ExtractSection(const wchar_t* prefix);
  void SetUseSection(int32_t flag) { useSection_ = flag; }
  int32_t GetUseSection() const { return useSection_; }
  int32_t GetSectionLineCount() const { return static_cast<int32_t>(section_.size()); }

  // The store's mutex (waits without limit).
  void Lock() { mutex_.Lock(); }
  void Unlock() { mutex_.Unlock(); }

 private:
  std::filesystem::path FileNameOrThrow(const char* name) const;
  std::filesystem::path WritePath(const char* name) const;
  // The settings file opened for reading (bytes as stored; ForEachLine strips
  // the CR of each line end). The caller closes it. "Error opening settings
  // file." when it cannot be opened.
  FILE* OpenFileForReading() const;
  // writePath (the settings file, or the save's temporary file while a save
  // runs) opened for appending; the caller closes it. The same error.
  static FILE* OpenFileForAppending(const std::filesystem::path& writePath);
  void AppendLine(const wchar_t* key, const std::wstring& valueText);
  // The file's bytes as stored; "Error reading settings file." on a read error.
  std::string ReadBytes() const;
  // Calls f with each line of bytes (without its LF or CR LF end) until f
  // returns false.
  template <typename F>
  static void ForEachLine(const std::string& bytes, F&& f);
  std::optional<std::wstring> FindNumberText(const wchar_t* key, void* out, const char* name);
  // The float or double value of key, non-finite forms included.
  std::optional<double> FloatingOf(const wchar_t* key, void* out);

  mutable std::mutex nameMutex_;  // guards fileName_ and savePath_
  std::filesystem::path fileName_;
  std::filesystem::path savePath_;  // non-empty while a save runs
  FILE* saveFile_ = nullptr;        // savePath_ opened for writing while a save runs
  int32_t useSection_ = 0;
  std::vector<std::wstring> section_;
  lv::PlatformMutex mutex_;
};
