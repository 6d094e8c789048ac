// Number fields of the dialogs (processing sheet, board dialogs): whole-text parses (surrounding blanks
// allowed, nothing else) and C-locale formatting into the dialogs' buffers.
#pragma once

#include <cstdint>
#include <string>

namespace lv_fields {

bool ParseDoubleField(const std::wstring& text, double& out);
bool ParseFloatField(const std::wstring& text, float& out);
bool ParseIntField(const std::wstring& text, int32_t& out);

// printf-style formatting of one number in a buffer of 64 characters; a
// number whose text would not fit is written in exponent form.
std::wstring FormatNumber(const wchar_t* format, double value);
std::wstring FormatInt(int32_t value);

// "<prefix>: the field "<label>" does not hold a number."
std::wstring NotANumberMessage(const std::wstring& prefix, const std::wstring& label);

}  // namespace lv_fields
