#include "workers/settings_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <system_error>
#include <utility>

#include "core/call_stack.h"
#include "core/error.h"
#include "platform/text.h"

namespace {

constexpr const char* kNullString = "Null pointer to input string.";
constexpr const char* kNullFileName = "Null pointer to input file name.";
constexpr const char* kWriteError = "Error writing to settings file.";
constexpr const char* kOpenError = "Error opening settings file.";

using lv::Named;

// True when the line holds the key at its start followed by " = "; valueText
// then receives the text after the key, at most kMaxValueText characters.
bool MatchLine(const std::wstring& line, std::wstring_view key, std::wstring* valueText) {
  if (line.size() < key.size() + 3 || line.compare(0, key.size(), key) != 0 ||
      line.compare(key.size(), 3, L" = ") != 0) {
    return false;
  }
  valueText->assign(line, key.size(), static_cast<size_t>(CQAppSettings::kMaxValueText));
  return true;
}

// Opens path with mode; "Error opening settings file." (with openName in
// the call stack, when given) when it cannot.
FILE* OpenOrThrow(const std::filesystem::path& path, const char* mode, const char* openName) {
  FILE* f = std::fopen(path.c_str(), mode);
  if (f == nullptr) {
    throw new CQError(kOpenError, openName);
  }
  return f;
}

// Writes bytes to the open file f and closes it; checks the write and the close.
void WriteAndClose(FILE* f, const std::string& bytes) {
  const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
  const int closed = std::fclose(f);
  if (written != bytes.size() || closed != 0) {
    throw new CQError(kWriteError);
  }
}

// The part of the value text where a number starts: the first digit, sign or
// full stop.
std::optional<std::wstring> NumberStart(const std::wstring& valueText) {
  const size_t at = valueText.find_first_of(L"0123456789+-.");
  if (at == std::wstring::npos) {
    return std::nullopt;
  }
  return valueText.substr(at);
}

std::optional<int32_t> ParseInt32(std::wstring_view text, size_t* end) {
  const std::optional<long long> v = lv::ParseIntC(text, end);
  if (!v || *v < INT32_MIN || *v > INT32_MAX) {
    return std::nullopt;
  }
  return static_cast<int32_t>(*v);
}

// The number a value text starts with, as an int32 or a double; nothing
// when there is no text or it does not parse.
std::optional<int32_t> IntOf(const std::optional<std::wstring>& text) {
  size_t end = 0;
  return text ? ParseInt32(*text, &end) : std::nullopt;
}

std::optional<double> DoubleOf(const std::optional<std::wstring>& text) {
  return text ? lv::ParseDoubleC(*text) : std::nullopt;
}

// A non-finite number as the writers put it ("inf", "-inf", "nan", "-nan"),
// right after " = ". NumberStart looks for a digit, sign or full stop, so
// without this "inf" and "nan" would read as absent and the owner would go
// on with its old value.
std::optional<double> NonFiniteOf(const std::wstring& valueText) {
  std::wstring_view t(valueText);
  if (t.substr(0, 3) != L" = ") return std::nullopt;
  t.remove_prefix(3);
  const bool negative = !t.empty() && t[0] == L'-';
  if (!t.empty() && (t[0] == L'-' || t[0] == L'+')) t.remove_prefix(1);
  const std::wstring_view word = t.substr(0, 3);
  const bool ends = t.size() == 3 || (t.size() > 3 && (t[3] == L' ' || t[3] == L'\t'));
  if (!ends) return std::nullopt;
  if (word == L"inf") return negative ? -HUGE_VAL : HUGE_VAL;
  if (word == L"nan") return negative ? -std::nan("") : std::nan("");
  return std::nullopt;
}

}  // namespace

CQAppSettings::CQAppSettings() = default;

CQAppSettings::~CQAppSettings() {
  std::error_code ec;
  if (saveFile_ != nullptr) {
    std::fclose(saveFile_);
  }
  if (!savePath_.empty()) {
    std::filesystem::remove(savePath_, ec);
  }
}

void CQAppSettings::SetFileName(const wchar_t* path) {
  if (path == nullptr) {
    return;
  }
  Named("CQAppSettings::SetFileName", [&] { SetFileName(std::filesystem::path(lv::WideToUtf8(path))); });
}

void CQAppSettings::SetFileName(const std::filesystem::path& path) {
  std::lock_guard<std::mutex> lock(nameMutex_);
  fileName_ = path;
}

std::filesystem::path CQAppSettings::GetFileName() const {
  std::lock_guard<std::mutex> lock(nameMutex_);
  return fileName_;
}

std::filesystem::path CQAppSettings::FileNameOrThrow(const char* name) const {
  std::lock_guard<std::mutex> lock(nameMutex_);
  if (fileName_.empty()) {
    throw new CQError(kNullFileName, name);
  }
  return fileName_;
}

std::filesystem::path CQAppSettings::WritePath(const char* name) const {
  std::lock_guard<std::mutex> lock(nameMutex_);
  if (fileName_.empty()) {
    throw new CQError(kNullFileName, name);
  }
  return savePath_.empty() ? fileName_ : savePath_;
}

bool CQAppSettings::IsSaving() const {
  std::lock_guard<std::mutex> lock(nameMutex_);
  return !savePath_.empty();
}

void CQAppSettings::ResetContents() {
  Named("CQAppSettings::ResetContents", [&] {
    const std::filesystem::path path = FileNameOrThrow(nullptr);
    WriteAndClose(OpenOrThrow(path, "wb", nullptr), std::string(kHeader) + "\r\n");
  });
}

void CQAppSettings::BeginSave() {
  Named("CQAppSettings::BeginSave", [&] {
    std::filesystem::path temp;
    {
      std::lock_guard<std::mutex> lock(nameMutex_);
      if (fileName_.empty()) {
        throw new CQError(kNullFileName);
      }
      if (!savePath_.empty()) {
        throw new CQError("A settings save is already running.");
      }
      temp = fileName_;
      temp += ".saving";
    }
    // The temporary file stays open until the save ends: nobody else reads
    // it, and a chain of a few hundred values then costs one open, not one
    // per value. Each line is still flushed and checked as it is written.
    FILE* f = OpenOrThrow(temp, "wb", nullptr);
    const std::string header = std::string(kHeader) + "\r\n";
    if (std::fwrite(header.data(), 1, header.size(), f) != header.size() || std::fflush(f) != 0) {
      std::fclose(f);
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      throw new CQError(kWriteError);
    }
    std::lock_guard<std::mutex> lock(nameMutex_);
    savePath_ = temp;
    saveFile_ = f;
  });
}

void CQAppSettings::CommitSave() {
  Named("CQAppSettings::CommitSave", [&] {
    std::filesystem::path temp;
    std::filesystem::path target;
    {
      std::lock_guard<std::mutex> lock(nameMutex_);
      if (savePath_.empty()) {
        throw new CQError("No settings save is running.");
      }
      temp = savePath_;
      target = fileName_;
      savePath_.clear();
    }
    // The new contents reach the disk before they replace the old file.
    FILE* f = std::exchange(saveFile_, nullptr);
    const int fd = f != nullptr ? ::fileno(f) : -1;
    bool synced = fd >= 0 && std::fflush(f) == 0 && ::fsync(fd) == 0;
    if (f != nullptr && std::fclose(f) != 0) {
      synced = false;
    }
    std::error_code ec;
    if (synced) {
      std::filesystem::rename(temp, target, ec);
    }
    if (!synced || ec) {
      std::filesystem::remove(temp, ec);
      throw new CQError(kWriteError);
    }
  });
}

void CQAppSettings::AbortSave() {
  std::filesystem::path temp;
  {
    std::lock_guard<std::mutex> lock(nameMutex_);
    temp.swap(savePath_);
  }
  if (saveFile_ != nullptr) {
    std::fclose(std::exchange(saveFile_, nullptr));
  }
  if (!temp.empty()) {
    std::error_code ec;
    std::filesystem::remove(temp, ec);
  }
}

void CQAppSettings::AppendLine(const wchar_t* key, const std::wstring& valueText) {
  if (key == nullptr) {
    throw new CQError(kNullString);
  }
  const std::filesystem::path path = WritePath(nullptr);
  std::wstring line(key);
  line += L" = ";
  line += valueText;
  std::optional<std::string> bytes = lv::WideToLatin1(line);
  if (!bytes) {
    throw new CQError(kWriteError);  // a character above U+00FF
  }
  *bytes += "\r\n";
  if (saveFile_ != nullptr) {
    // A save runs: its open temporary file takes the line.
    if (std::fwrite(bytes->data(), 1, bytes->size(), saveFile_) != bytes->size() || std::fflush(saveFile_) != 0) {
      throw new CQError(kWriteError);
    }
    return;
  }
  WriteAndClose(OpenFileForAppending(path), *bytes);
}

void CQAppSettings::SetValue(const wchar_t* key, bool value) {
  Named("CQAppSettings::SetValue", [&] { AppendLine(key, value ? L"1" : L"0"); });
}

void CQAppSettings::SetValue(const wchar_t* key, int32_t value) {
  Named("CQAppSettings::SetValue", [&] { AppendLine(key, lv::FormatCW(L"%d", value)); });
}

void CQAppSettings::SetValue(const wchar_t* key, float value) {
  // Nine significant digits bring every float back exactly.
  Named("CQAppSettings::SetValue", [&] { AppendLine(key, lv::FormatCW(L"%.8e", static_cast<double>(value))); });
}

void CQAppSettings::SetValue(const wchar_t* key, double value) {
  // Seventeen significant digits bring every double back exactly.
  Named("CQAppSettings::SetValue", [&] { AppendLine(key, lv::FormatCW(L"%.16e", value)); });
}

void CQAppSettings::SetValue(const wchar_t* key, const wchar_t* value) {
  Named("CQAppSettings::SetValue", [&] {
    if (key == nullptr) {
      throw new CQError(kNullString);
    }
    if (value == nullptr) {
      return;
    }
    AppendLine(key, L"\"" + std::wstring(value) + L"\"");
  });
}

void CQAppSettings::SetValue(const wchar_t* key, const CWRect& value) {
  Named("CQAppSettings::SetValue", [&] {
    AppendLine(key, lv::FormatCW(L"%d %d %d %d", value.top, value.left, value.bottom, value.right));
  });
}

FILE* CQAppSettings::OpenFileForReading() const {
  return OpenOrThrow(FileNameOrThrow(nullptr), "rb", "CQAppSettings::OpenFileForReading");
}

FILE* CQAppSettings::OpenFileForAppending(const std::filesystem::path& writePath) {
  return OpenOrThrow(writePath, "ab", "CQAppSettings::OpenFileForAppending");
}

std::string CQAppSettings::ReadBytes() const {
  FILE* f = OpenFileForReading();
  std::string bytes;
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    bytes.append(chunk, n);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    throw new CQError("Error reading settings file.", "CQAppSettings::OpenFileForReading");
  }
  return bytes;
}

template <typename F>
void CQAppSettings::ForEachLine(const std::string& bytes, F&& f) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t lf = bytes.find('\n', start);
    const size_t next = lf == std::string::npos ? bytes.size() : lf + 1;
    size_t end = lf == std::string::npos ? bytes.size() : lf;
    if (end > start && bytes[end - 1] == '\r') {
      --end;
    }
    if (!f(std::string_view(bytes).substr(start, end - start))) {
      return;
    }
    start = next;
  }
}


bool CQAppSettings::FindValueString(const wchar_t* key, std::wstring* valueText) {
  return Named("CQAppSettings::FindValueString", [&]() -> bool {
    if (key == nullptr || key[0] == L'\0' || valueText == nullptr) {
      return false;
    }
    FileNameOrThrow(nullptr);
    const std::wstring_view k(key);
    if (useSection_ != 0) {
      for (const std::wstring& line : section_) {
        if (MatchLine(line, k, valueText)) {
          return true;
        }
      }
      return false;
    }
    // Outside a section the file is searched as stored: each byte is one
    // character, so the key is compared in Latin-1 and only the matching
    // line's value is widened (a key with a character above U+00FF matches
    // no line).
    const std::optional<std::string> latin1Key = lv::WideToLatin1(k);
    if (!latin1Key) {
      return false;
    }
    const std::string_view keyBytes(*latin1Key);
    bool found = false;
    ForEachLine(ReadBytes(), [&](std::string_view line) {
      if (line.size() < keyBytes.size() + 3 || line.substr(0, keyBytes.size()) != keyBytes ||
          line.substr(keyBytes.size(), 3) != " = ") {
        return true;
      }
      *valueText = lv::Latin1ToWide(line.substr(keyBytes.size(), static_cast<size_t>(kMaxValueText)));
      found = true;
      return false;
    });
    return found;
  });
}

std::optional<std::wstring> CQAppSettings::FindNumberText(const wchar_t* key, void* out, const char* name) {
  if (key == nullptr || out == nullptr) {
    throw new CQError(kNullString, name);
  }
  FileNameOrThrow(name);
  std::wstring valueText;
  if (!Named(name, [&] { return FindValueString(key, &valueText); })) {
    return std::nullopt;
  }
  return NumberStart(valueText);
}

bool CQAppSettings::GetValue(const wchar_t* key, bool* out) {
  const auto v = IntOf(FindNumberText(key, out, "CQAppSettings::GetValue"));
  if (v) {
    *out = *v != 0;
  }
  return v.has_value();
}

bool CQAppSettings::GetValue(const wchar_t* key, int32_t* out) {
  const auto v = IntOf(FindNumberText(key, out, "CQAppSettings::GetValue"));
  if (v) {
    *out = *v;
  }
  return v.has_value();
}

bool CQAppSettings::GetValue(const wchar_t* key, float* out) {
  const auto v = FloatingOf(key, out);
  if (v) {
    // Rounds to nearest; beyond the float range (IEEE, with infinities) the
    // result is an infinity, as scanning "%f" gives.
    *out = static_cast<float>(*v);
  }
  return v.has_value();
}

std::optional<double> CQAppSettings::FloatingOf(const wchar_t* key, void* out) {
  const auto v = DoubleOf(FindNumberText(key, out, "CQAppSettings::GetValue"));
  if (v) {
    return v;
  }
  std::wstring valueText;
  if (!Named("CQAppSettings::GetValue", [&] { return FindValueString(key, &valueText); })) {
    return std::nullopt;
  }
  return NonFiniteOf(valueText);
}

bool CQAppSettings::GetValue(const wchar_t* key, double* out) {
  const auto v = FloatingOf(key, out);
  if (v) {
    *out = *v;
  }
  return v.has_value();
}

bool CQAppSettings::GetValue(const wchar_t* key, CWRect* out) {
  const auto text = FindNumberText(key, out, "CQAppSettings::GetValue");
  if (!text) {
    return false;
  }
  int32_t v[4];
  size_t pos = 0;
  for (int32_t& x : v) {
    size_t used = 0;
    const auto parsed = ParseInt32(std::wstring_view(*text).substr(pos), &used);
    if (!parsed) {
      return false;
    }
    x = *parsed;
    pos += used;
  }
  *out = CWRect{v[1], v[0], v[3], v[2]};  // stored as top, left, bottom, right
  return true;
}

bool CQAppSettings::GetValue(const wchar_t* key, wchar_t* buffer, int32_t capacity) {
  if (key == nullptr || buffer == nullptr) {
    throw new CQError(kNullString, "CQAppSettings::GetValue");
  }
  if (capacity < 1) {
    throw new CQError("Invalid buffer size.", "CQAppSettings::GetValue");
  }
  std::memset(buffer, 0, sizeof(wchar_t) * static_cast<size_t>(capacity));
  std::wstring text;
  if (!GetValue(key, &text)) {
    return false;
  }
  // Cut to the buffer, which stays zero-terminated.
  const size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::memcpy(buffer, text.data(), n * sizeof(wchar_t));
  return true;
}

bool CQAppSettings::GetValue(const wchar_t* key, std::wstring* out) {
  if (key == nullptr || out == nullptr) {
    throw new CQError(kNullString, "CQAppSettings::GetValue");
  }
  FileNameOrThrow("CQAppSettings::GetValue");
  std::wstring valueText;
  if (!Named("CQAppSettings::GetValue", [&] { return FindValueString(key, &valueText); })) {
    return false;
  }
  const size_t first = valueText.find(L'"');
  const size_t second = first == std::wstring::npos ? first : valueText.find(L'"', first + 1);
  if (second == std::wstring::npos || second == first + 1) {
    return false;  // fewer than two quotes, or an empty string
  }
  out->assign(valueText, first + 1, second - first - 1);
  return true;
}

void CQAppSettings::ExtractSection(const wchar_t* prefix) {
  Named("CQAppSettings::ExtractSection", [&] {
    section_.clear();
    if (prefix == nullptr || prefix[0] == L'\0') {
      return;
    }
    // As for look-ups, the prefix is compared in Latin-1 against the stored
    // bytes and only the section's own lines are widened.
    const std::optional<std::string> latin1Prefix = lv::WideToLatin1(prefix);
    if (!latin1Prefix) {
      return;  // a character above U+00FF: no stored line holds it
    }
    ForEachLine(ReadBytes(), [&](std::string_view line) {
      if (line.find(*latin1Prefix) != std::string_view::npos) {
        section_.push_back(lv::Latin1ToWide(line));
      }
      return true;
    });
  });
}
