// CQAxisScale: axis titles with units and their divisors by axis type, the
// one-value label of the cursor value window, unit stripping for data export,
// and the number of decimals tick labels need. Static operations, no state.
//
// Axis types: 0 time, 1 group delay, 2 frequency, 3 relative frequency,
// 4 length, 5 range, 6 I, 7 Q, 8 real, 9 imaginary, 10 amplitude,
// 11 magnitude, 12 magnitude (dB), 13 magnitude (dBm), 14 and 15 phase (deg),
// 16 subcarrier, 17 EVM (%), 18 percent time (%), 19 power above average (dB).
#pragma once

#include <cstdint>
#include <string>

class CQAxisScale {
 public:
  static constexpr int32_t kNumAxisTypes = 20;

  // The title of an axis from a to b (unit chosen from |a| and |b|) and the
  // divisor that brings values into that unit. The previous title is dropped
  // first: on an error the title is left empty. Type outside 0..19:
  // "Invalid axis type.".
  static void MakeAxisLabel(int32_t type, double a, double b, std::wstring& title, double& divisor);
  // The same for one value x with the short length and range units; type 3 or
  // outside 0..19: "Invalid axis type.".
  static void MakeLabel(int32_t type, double x, std::wstring& text, double& divisor);
  // The text up to its first "(" ("Frequency (Hz)" -> "Frequency "). A null
  // text or one of 64 characters or more: "Error copying string.".
  static void StripUnitsFromText(const wchar_t* text, std::wstring& out);
  // Decimals (0..6) needed to print count values evenly spaced from a to b;
  // 1 when count <= 0. Non-finite values need none.
  static int32_t CountDecimals(double a, double b, int32_t count);
};
