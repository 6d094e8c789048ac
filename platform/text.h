// Text of the platform layer: wide strings (std::wstring, one code point per
// wchar_t), UTF-8 and Latin-1 conversion, and numbers formatted and parsed in
// the C locale whatever locale the process runs in.
#pragma once

#include <cstdarg>
#include <optional>
#include <string>
#include <string_view>

namespace lv {

// UTF-8 -> wide. Malformed sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
// Wide -> UTF-8. Code points that are not Unicode scalar values become U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

// Latin-1: one byte per character, U+0000..U+00FF.
std::wstring Latin1ToWide(std::string_view latin1);
// Empty optional when a character lies above U+00FF.
std::optional<std::string> WideToLatin1(std::wstring_view wide);

// The narrow "system code page" of this platform: bytes that form valid UTF-8
// are read as UTF-8 (what Linux programs and libraries hand out), anything
// else byte by byte as Latin-1 (what our own settings and headers hold).
std::wstring NarrowToWide(std::string_view narrow);
bool IsValidUtf8(std::string_view text);

// printf-style formatting in the C locale.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatCV(const char* format, va_list args);
std::wstring FormatCW(const wchar_t* format, ...);
std::wstring FormatCWV(const wchar_t* format, va_list args);

// Number parsing in the C locale. Leading white space is skipped; end (when
// given) receives the number of characters consumed. Empty optional when no
// number is there.
std::optional<double> ParseDoubleC(std::string_view text, size_t* end = nullptr);
std::optional<long long> ParseIntC(std::string_view text, size_t* end = nullptr);
std::optional<double> ParseDoubleC(std::wstring_view text, size_t* end = nullptr);
std::optional<long long> ParseIntC(std::wstring_view text, size_t* end = nullptr);

}  // namespace lv
