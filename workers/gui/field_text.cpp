#include "workers/gui/field_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <limits>

namespace lv_fields {
namespace {

bool OnlySpaceFrom(const wchar_t* p) {
  for (; *p != L'\0'; ++p) {
    if (std::iswspace(static_cast<wint_t>(*p)) == 0) return false;
  }
  return true;
}

}  // namespace

bool ParseDoubleField(const std::wstring& text, double& out) {
  const wchar_t* s = text.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const double v = std::wcstod(s, &end);
  if (end == s || errno == ERANGE || !OnlySpaceFrom(end) || !std::isfinite(v)) return false;
  out = v;
  return true;
}

bool ParseFloatField(const std::wstring& text, float& out) {
  double v = 0.0;
  if (!ParseDoubleField(text, v) || std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max())) {
    return false;
  }
  out = static_cast<float>(v);
  return true;
}

bool ParseIntField(const std::wstring& text, int32_t& out) {
  const wchar_t* s = text.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const long v = std::wcstol(s, &end, 10);
  if (end == s || errno == ERANGE || !OnlySpaceFrom(end) || v < std::numeric_limits<int32_t>::min() ||
      v > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  out = static_cast<int32_t>(v);
  return true;
}

std::wstring FormatNumber(const wchar_t* format, double value) {
  wchar_t buffer[64];
  int n = std::swprintf(buffer, 64, format, value);
  if (n < 0) {
    // A number too long for the field's format: the exponent form fits.
    n = std::swprintf(buffer, 64, L"%.9lg", value);
  }
  return n < 0 ? std::wstring() : std::wstring(buffer);
}

std::wstring FormatInt(int32_t value) {
  wchar_t buffer[64];
  const int n = std::swprintf(buffer, 64, L"%d", value);
  return n < 0 ? std::wstring() : std::wstring(buffer);
}

std::wstring NotANumberMessage(const std::wstring& prefix, const std::wstring& label) {
  return prefix + L": the field \"" + label + L"\" does not hold a number.";
}

}  // namespace lv_fields
