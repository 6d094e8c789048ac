#include "platform/text.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <locale.h>
#include <vector>

namespace lv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The C locale as a locale object, made once.
locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return loc;
}

// Switches the calling thread to the C locale for one scope.
class CLocaleScope {
 public:
  CLocaleScope() : previous_(uselocale(CLocale())) {}
  ~CLocaleScope() { uselocale(previous_); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t previous_;
};

// Decodes one UTF-8 sequence at text[i]; returns false on malformed input.
bool DecodeUtf8(std::string_view text, size_t& i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  int len;
  char32_t min;
  if (b0 < 0x80) {
    cp = b0;
    ++i;
    return true;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (i + len > text.size()) {
    return false;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) {
      return false;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return false;
  }
  i += len;
  return true;
}

template <typename Char>
std::string ToNarrowAscii(std::basic_string_view<Char> text) {
  // Numbers are ASCII; anything else cannot be part of one.
  std::string out;
  out.reserve(text.size());
  for (Char c : text) {
    out.push_back((static_cast<unsigned long>(c) < 0x80) ? static_cast<char>(c) : '\x01');
  }
  return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp;
    if (DecodeUtf8(utf8, i, cp)) {
      out.push_back(static_cast<wchar_t>(cp));
    } else {
      out.push_back(static_cast<wchar_t>(kReplacement));
      ++i;
    }
  }
  return out;
}

std::string WideToUtf8(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t wc : wide) {
    auto cp = static_cast<char32_t>(wc);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::wstring Latin1ToWide(std::string_view latin1) {
  std::wstring out;
  out.reserve(latin1.size());
  for (char c : latin1) {
    out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  }
  return out;
}

std::optional<std::string> WideToLatin1(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t wc : wide) {
    if (static_cast<unsigned long>(wc) > 0xFF) {
      return std::nullopt;
    }
    out.push_back(static_cast<char>(static_cast<unsigned char>(wc)));
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  char32_t cp;
  while (i < text.size()) {
    if (!DecodeUtf8(text, i, cp)) {
      return false;
    }
  }
  return true;
}

std::wstring NarrowToWide(std::string_view narrow) {
  return IsValidUtf8(narrow) ? Utf8ToWide(narrow) : Latin1ToWide(narrow);
}

std::string FormatCV(const char* format, va_list args) {
  CLocaleScope scope;
  va_list copy;
  va_copy(copy, args);
  char small[256];
  const int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) {
    return {};
  }
  if (static_cast<size_t>(n) < sizeof small) {
    return std::string(small, static_cast<size_t>(n));
  }
  std::string out(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string FormatC(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = FormatCV(format, args);
  va_end(args);
  return out;
}

std::wstring FormatCWV(const wchar_t* format, va_list args) {
  CLocaleScope scope;
  std::vector<wchar_t> buf(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vswprintf(buf.data(), buf.size(), format, copy);
    va_end(copy);
    if (n >= 0) {
      return std::wstring(buf.data(), static_cast<size_t>(n));
    }
    if (buf.size() >= (1u << 24)) {
      return {};  // a format error, not a short buffer
    }
    buf.resize(buf.size() * 4);
  }
}

std::wstring FormatCW(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring out = FormatCWV(format, args);
  va_end(args);
  return out;
}

std::optional<double> ParseDoubleC(std::string_view text, size_t* end) {
  std::string s(text);
  char* stop = nullptr;
  const double v = strtod_l(s.c_str(), &stop, CLocale());
  if (stop == s.c_str()) {
    return std::nullopt;
  }
  if (end != nullptr) {
    *end = static_cast<size_t>(stop - s.c_str());
  }
  return v;
}

std::optional<long long> ParseIntC(std::string_view text, size_t* end) {
  std::string s(text);
  char* stop = nullptr;
  const long long v = strtoll_l(s.c_str(), &stop, 10, CLocale());
  if (stop == s.c_str()) {
    return std::nullopt;
  }
  if (end != nullptr) {
    *end = static_cast<size_t>(stop - s.c_str());
  }
  return v;
}

std::optional<double> ParseDoubleC(std::wstring_view text, size_t* end) {
  return ParseDoubleC(std::string_view(ToNarrowAscii(text)), end);
}

std::optional<long long> ParseIntC(std::wstring_view text, size_t* end) {
  return ParseIntC(std::string_view(ToNarrowAscii(text)), end);
}

}  // namespace lv
