#include "core/numbers.h"

#include <cmath>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string>

#include "platform/random.h"
#include "platform/text.h"

namespace {

struct UnitStep {
  double below;  // the unit applies while |x| is below this
  const wchar_t* unit;
  double scale;
};

// Writes "%.*lf %ls" (decimals of the scaled value, scaled value, unit), cut
// to the buffer.
void WriteScaled(double x, const UnitStep* steps, int count, const UnitStep& last, wchar_t* text,
                 int size) {
  const double mag = std::fabs(x);
  const UnitStep* chosen = &last;
  for (int i = 0; i < count; ++i) {
    if (mag < steps[i].below) {
      chosen = &steps[i];
      break;
    }
  }
  const double scaled = x / chosen->scale;
  const std::wstring s = lv::FormatCW(L"%.*lf %ls", CountSignificantDecimals(scaled), scaled, chosen->unit);
  const size_t n = std::min(s.size(), static_cast<size_t>(size - 1));
  std::wmemcpy(text, s.data(), n);
  text[n] = L'\0';
}

}  // namespace

void FormatTimeWithUnits(double seconds, wchar_t* text) {
  if (text == nullptr) {
    return;
  }
  if (seconds == 0.0) {
    std::wcscpy(text, L"0.0 sec");
    return;
  }
  static const UnitStep steps[] = {
      {1e-9, L"psec", 1e-12}, {1e-6, L"nsec", 1e-9}, {1e-3, L"\u00B5sec", 1e-6}, {1.0, L"msec", 1e-3}};
  WriteScaled(seconds, steps, 4, UnitStep{0, L"sec", 1.0}, text, kTimeTextSize);
}

void FormatFrequencyWithUnits(double hertz, wchar_t* text) {
  if (text == nullptr) {
    return;
  }
  static const UnitStep steps[] = {{1e3, L"Hz", 1.0}, {1e6, L"kHz", 1e3}, {1e9, L"MHz", 1e6}};
  WriteScaled(hertz, steps, 3, UnitStep{0, L"GHz", 1e9}, text, kFrequencyTextSize);
}

void FormatWithSIPrefix(double value, wchar_t* text) {
  if (text == nullptr) {
    return;
  }
  static const UnitStep steps[] = {{1e-9, L"p", 1e-12}, {1e-6, L"n", 1e-9}, {1e-3, L"\u00B5", 1e-6},
                                   {1.0, L"m", 1e-3},   {1e3, L"", 1.0},    {1e6, L"k", 1e3},
                                   {1e9, L"M", 1e6}};
  WriteScaled(value, steps, 7, UnitStep{0, L"G", 1e9}, text, kSIPrefixTextSize);
}

int CountSignificantDecimals(double value) {
  const double x = std::fabs(value);
  if (!(x > 1e-5) || !std::isfinite(x)) {
    return 0;
  }
  const double p = std::log10(x);
  int b = static_cast<int>(x >= 1.0 ? p + 1e-5 : p - 1e-5);
  int i = -b;
  double e = x / std::pow(10.0, b);
  while (i < 4) {
    const int q = static_cast<int>(e + 1e-5);
    if (q != 0 && std::fabs(e / q - 1.0) < 1e-6) {
      break;
    }
    --b;
    ++i;
    e = x / std::pow(10.0, b);
  }
  return i < 0 ? 0 : i;
}

int32_t RoundToInt(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  // std::round is exact half-away-from-zero; adding 0.5 would turn
  // 0.49999999999999994 into 1.
  const double r = std::round(value);
  if (r >= 2147483647.0) {
    return std::numeric_limits<int32_t>::max();
  }
  if (r <= -2147483648.0) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(r);
}

int64_t RoundToInt64(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  const double r = std::round(value);
  if (r >= 9223372036854775807.0) {
    return std::numeric_limits<int64_t>::max();
  }
  if (r <= -9223372036854775808.0) {
    return std::numeric_limits<int64_t>::min();
  }
  return static_cast<int64_t>(r);
}

float PowerToDbm(float watts) {
  if (!(watts > 0.0f)) {
    return -200.0f;
  }
  return static_cast<float>(10.0 * std::log10(static_cast<double>(watts)) + 30.0);
}

float DbToAmplitude(float decibels) {
  return static_cast<float>(std::pow(10.0, static_cast<double>(decibels) / 20.0));
}

bool IsNearlyEqualFloat(float a, float b, float tolerance) {
  const float diff = a - b;
  return std::fabs(static_cast<double>(diff)) <= static_cast<double>(tolerance);
}

bool IsNearlyEqual(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

bool IsLessOrNearlyEqual(double a, double b, double tolerance) {
  return std::fabs(a - b) <= tolerance || a < b;
}

int WideToUtf8(const wchar_t* text, char* buffer, int bufferBytes) {
  if (text == nullptr || buffer == nullptr || bufferBytes <= 0) {
    return 0;
  }
  const std::string s = lv::WideToUtf8(text);
  if (s.size() + 1 > static_cast<size_t>(bufferBytes)) {
    return 0;
  }
  std::memcpy(buffer, s.c_str(), s.size() + 1);
  return static_cast<int>(s.size() + 1);
}

int AnsiToWide(const char* text, wchar_t* buffer, int bufferChars) {
  if (text == nullptr || buffer == nullptr || bufferChars <= 0) {
    return 0;
  }
  const std::wstring s = lv::NarrowToWide(text);
  if (s.size() + 1 > static_cast<size_t>(bufferChars)) {
    return 0;
  }
  std::wmemcpy(buffer, s.c_str(), s.size() + 1);
  return static_cast<int>(s.size() + 1);
}

void CQGaussianRandom::Draw(float standardDeviation, float* first, float* second) {
  constexpr float kScale = 1.0f / 32768.0f;  // 2^-15
  float u1;
  do {
    u1 = static_cast<float>(lv::Rand()) * kScale;
  } while (u1 == 0.0f);
  const float u2 = static_cast<float>(lv::Rand()) * kScale;
  const double theta = static_cast<double>(u2) * 6.28318530718;
  const double r = std::sqrt(-2.0 * std::log(static_cast<double>(u1))) * standardDeviation;
  if (first != nullptr) {
    *first = static_cast<float>(r * std::cos(theta));
  }
  if (second != nullptr) {
    *second = static_cast<float>(r * std::sin(theta));
  }
}
