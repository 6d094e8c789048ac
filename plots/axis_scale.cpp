#include "plots/axis_scale.h"

#include <cmath>
#include <cwchar>

#include "core/error.h"

namespace {

struct Unit {
  const wchar_t* title;
  double divisor;
};

constexpr Unit kTime[] = {{L"Time (psec)", 1e-12},
                          {L"Time (nsec)", 1e-9},
                          {L"Time (microsec)", 1e-6},
                          {L"Time (msec)", 1e-3},
                          {L"Time (sec)", 1.0}};
constexpr Unit kDelay[] = {{L"Group Delay (psec)", 1e-12},
                           {L"Group Delay (nsec)", 1e-9},
                           {L"Group Delay (microsec)", 1e-6},
                           {L"Group Delay (msec)", 1e-3},
                           {L"Group Delay (sec)", 1.0}};
constexpr Unit kFrequency[] = {
    {L"Frequency (Hz)", 1.0}, {L"Frequency (kHz)", 1e3}, {L"Frequency (MHz)", 1e6}, {L"Frequency (GHz)", 1e9}};
constexpr Unit kRelative[] = {{L"Relative Freq (Hz)", 1.0},
                              {L"Relative Freq (kHz)", 1e3},
                              {L"Relative Freq (MHz)", 1e6},
                              {L"Relative Freq (GHz)", 1e9}};
constexpr Unit kLength[] = {{L"Length (micrometers)", 1e-6},
                            {L"Length (millimeters)", 1e-3},
                            {L"Length (centimeters)", 1e-2},
                            {L"Length (meters)", 1.0},
                            {L"Length (kilometers)", 1e3}};
constexpr Unit kLengthShort[] = {{L"Length (microns)", 1e-6},
                                 {L"Length (mm)", 1e-3},
                                 {L"Length (cm)", 1e-2},
                                 {L"Length (m)", 1.0},
                                 {L"Length (km)", 1e3}};
constexpr Unit kRange[] = {{L"Range (meters)", 1.0}, {L"Range (kilometers)", 1e3}};
constexpr Unit kRangeShort[] = {{L"Range (m)", 1.0}, {L"Range (km)", 1e3}};

// Titles of the types without a unit choice (6..19), as they print.
constexpr const wchar_t* kPlainTitles[] = {
    L"I",           L"Q",           L"Real",           L"Imaginary",       L"Amplitude",
    L"Magnitude",   L"Magnitude (dB)", L"Magnitude (dBm)", L"Phase (deg)",  L"Phase (deg)",
    L"Subcarrier",  L"EVM (%)",     L"Percent Time (%)", L"Power Above Average (dB)"};

// Index of the unit: the first threshold that both magnitudes lie below.
int Step(double ma, double mb, const double* limits, int n) {
  for (int i = 0; i < n; ++i) {
    if (ma < limits[i] && mb < limits[i]) {
      return i;
    }
  }
  return n;
}

// The unit of types 0..5 for the magnitudes ma and mb; short: the short
// length and range names.
Unit ChooseUnit(int32_t type, double ma, double mb, bool shortNames) {
  static constexpr double kTimeLimits[] = {1e-9, 1e-6, 1e-3, 1.0};
  static constexpr double kFreqLimits[] = {1000.0, 1e6, 1e9};
  static constexpr double kLengthLimits[] = {0.001, 0.01, 1.0, 1000.0};
  switch (type) {
    case 0:
      return kTime[Step(ma, mb, kTimeLimits, 4)];
    case 1:
      return kDelay[Step(ma, mb, kTimeLimits, 4)];
    case 2:
      return kFrequency[Step(ma, mb, kFreqLimits, 3)];
    case 3:
      return kRelative[Step(ma, mb, kFreqLimits, 3)];
    case 4:
      return (shortNames ? kLengthShort : kLength)[Step(ma, mb, kLengthLimits, 4)];
    default: {
      const bool km = ma >= 1000.0 || mb >= 1000.0;
      return (shortNames ? kRangeShort : kRange)[km ? 1 : 0];
    }
  }
}

Unit UnitOf(int32_t type, double ma, double mb, bool shortNames) {
  if (type <= 5) {
    return ChooseUnit(type, ma, mb, shortNames);
  }
  return Unit{kPlainTitles[type - 6], 1.0};
}

}  // namespace

void CQAxisScale::MakeAxisLabel(int32_t type, double a, double b, std::wstring& title, double& divisor) {
  title.clear();
  if (type < 0 || type >= kNumAxisTypes) {
    throw new CQError("Invalid axis type.", "CQAxisScale::MakeAxisLabel");
  }
  const Unit unit = UnitOf(type, std::fabs(a), std::fabs(b), false);
  title = unit.title;
  divisor = unit.divisor;
}

void CQAxisScale::MakeLabel(int32_t type, double x, std::wstring& text, double& divisor) {
  text.clear();
  if (type < 0 || type >= kNumAxisTypes || type == 3) {
    throw new CQError("Invalid axis type.", "CQAxisScale::MakeLabel");
  }
  const double m = std::fabs(x);
  const Unit unit = UnitOf(type, m, m, true);
  text = unit.title;
  divisor = unit.divisor;
}

void CQAxisScale::StripUnitsFromText(const wchar_t* text, std::wstring& out) {
  if (text == nullptr || std::wcslen(text) >= 64) {
    throw new CQError("Error copying string.", "CQAxisScale::StripUnitsFromText");
  }
  out = text;
  const size_t paren = out.find(L'(');
  if (paren != std::wstring::npos) {
    out.resize(paren);
  }
}

int32_t CQAxisScale::CountDecimals(double a, double b, int32_t count) {
  if (count <= 0) {
    return 1;
  }
  const double step = count == 1 ? 0.0 : (b - a) / (count - 1);
  int32_t most = 0;
  for (int32_t i = 0; i < count; ++i) {
    const double v = std::fabs(a + i * step);
    if (!(v > 1e-5) || !std::isfinite(v)) {
      continue;
    }
    const double lg = std::log10(v);
    double e = v >= 1.0 ? std::trunc(lg + 1e-5) : std::trunc(lg - 1e-5);
    double d = -e;
    double m = v / std::pow(10.0, e);
    while (d < 6.0) {
      const double whole = std::trunc(m + 1e-5);
      if (whole != 0.0 && std::fabs(m / whole - 1.0) < 1e-8) {
        break;  // m is an integer
      }
      e -= 1.0;
      d += 1.0;
      m = v / std::pow(10.0, e);
    }
    if (d > most) {
      most = static_cast<int32_t>(d);
    }
  }
  return most > 6 ? 6 : most;
}
