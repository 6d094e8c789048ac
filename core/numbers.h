// Number, unit and decibel helpers. None keeps state, throws or allocates on
// the heap; all are safe on any thread.
#pragma once

#include <cstdint>

// Writes the time with a unit ("12.5 µsec"); text has room for 64 characters.
void FormatTimeWithUnits(double seconds, wchar_t* text);
// Writes the frequency with a unit ("30.72 MHz"); text has room for 32 characters.
void FormatFrequencyWithUnits(double hertz, wchar_t* text);
// Writes the value with a metric prefix ("1.5 k"); text has room for 64 characters.
void FormatWithSIPrefix(double value, wchar_t* text);

inline constexpr int kTimeTextSize = 64;
inline constexpr int kFrequencyTextSize = 32;
inline constexpr int kSIPrefixTextSize = 64;

// Decimals (0 to 4) needed to show the value.
int CountSignificantDecimals(double value);

// Half away from zero; saturates at the type's range; NaN gives 0.
int32_t RoundToInt(double value);
int64_t RoundToInt64(double value);

// 10 log10(watts) + 30; -200 for watts <= 0.
float PowerToDbm(float watts);
// 10^(dB / 20).
float DbToAmplitude(float decibels);

bool IsNearlyEqualFloat(float a, float b, float tolerance);
bool IsNearlyEqual(double a, double b, double tolerance);
bool IsLessOrNearlyEqual(double a, double b, double tolerance);

// Whole text including the terminator; returns bytes (characters) written
// including the terminator, 0 when a pointer is null or the buffer too small.
int WideToUtf8(const wchar_t* text, char* buffer, int bufferBytes);
int AnsiToWide(const char* text, wchar_t* buffer, int bufferChars);

// Box-Muller normal deviates on the platform's 15-bit generator.
class CQGaussianRandom {
 public:
  // Two independent normal values with the given standard deviation; either
  // output may be null.
  static void Draw(float standardDeviation, float* first, float* second);
};
