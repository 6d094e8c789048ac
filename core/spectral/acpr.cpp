#include "core/spectral/acpr.h"

#include "core/arrays/farray_fd.h"
#include "core/error.h"
#include "core/spectral/band_power.h"

// ---- CQACPRMeasBands -----------------------------------------------------------

void CQACPRMeasBands::ResetResults() {
  resultsValid = false;
  numAvgs = 0;
  centerPower = centerPowerAvg = 0.0f;
  lowerPower = upperPower = lower2Power = upper2Power = extraPower = 0.0f;
  lowerPowerAvg = upperPowerAvg = lower2PowerAvg = upper2PowerAvg = extraPowerAvg = 0.0f;
  lowerRatioAvg = upperRatioAvg = lower2RatioAvg = upper2RatioAvg = extraRatioAvg = 0.0f;
}

void CQACPRMeasBands::Set(const CQACPRMeasBands* other) {
  if (other == nullptr || other == this) return;
  wchar_t otherName[kNameSize];
  for (int i = 0; i < kNameSize; ++i) otherName[i] = other->name[i];
  *this = *other;
  otherName[kNameSize - 1] = 0;
  SetName(otherName);
}

void CQACPRMeasBands::SetName(const wchar_t* text) {
  for (wchar_t& c : name) c = 0;
  if (text == nullptr) return;
  for (int i = 0; i < kNameSize - 1 && text[i] != 0; ++i) name[i] = text[i];
}

// ---- CQACPRMeasurement ---------------------------------------------------------

CQACPRMeasurement::~CQACPRMeasurement() { delete spectrum_; }

void CQACPRMeasurement::SetSpectrum(const CQFArrayFD* spectrum) {
  try {
    lv_spectral::CopySpectrum(spectrum_, spectrum);
  } catch (CQError* e) {
    e->AddToCallStack("CQACPRMeasurement::SetSpectrum");
    throw;
  }
}

namespace {

// Channel power over centre ± width / 2.
float Channel(const CQFArrayFD& s, double centre, double width, double nbw) {
  return lv_spectral::BandPower(s, centre - width / 2.0, centre + width / 2.0, nbw);
}

// The ratio of a channel to the centre channel; 0 when the centre holds no power.
float Ratio(float power, float centre) { return centre != 0.0f ? power / centre : 0.0f; }

// One averaged value: the new value for the first measurement, then
// beta * new + alpha * old.
void Average(float& avg, float value, int k, float alpha, float beta) {
  avg = k == 1 ? value : beta * value + alpha * avg;
}

}  // namespace

void CQACPRMeasurement::Compute() {
  CQACPRMeasBands* b = bands_;
  try {
    if (b == nullptr) return;
    const int n = lv_spectral::CheckMeasurementInput(spectrum_, noiseBW_);

    b->resultsValid = false;
    const CQFArrayFD& s = *spectrum_;
    const double f0 = s.GetStartFreq();
    const double step = s.GetFreqStep();
    double e = (n - 1) * step / 2.0 + f0;  // the middle of the spectrum

    const float centre = Channel(s, e + b->centerOffset, b->centerBW, noiseBW_);
    b->centerPower = centre;
    if (b->adjRelToCenter) e += b->centerOffset;

    b->lowerPower = Channel(s, e - b->adjacentOffset, b->adjacentBW, noiseBW_);
    b->upperPower = Channel(s, e + b->adjacentOffset, b->adjacentBW, noiseBW_);
    const float rL = Ratio(b->lowerPower, centre);
    const float rU = Ratio(b->upperPower, centre);

    if (b->avgFactor < 1) b->avgFactor = 1;
    b->numAvgs += 1;
    if (b->numAvgs > b->avgFactor) b->numAvgs = b->avgFactor;
    const int k = b->numAvgs;
    const float kf = static_cast<float>(k);
    const float alpha = (kf - 1.0f) / kf;
    const float beta = 1.0f / kf;

    Average(b->centerPowerAvg, centre, k, alpha, beta);
    Average(b->lowerPowerAvg, b->lowerPower, k, alpha, beta);
    Average(b->upperPowerAvg, b->upperPower, k, alpha, beta);
    Average(b->lowerRatioAvg, rL, k, alpha, beta);
    Average(b->upperRatioAvg, rU, k, alpha, beta);

    if (b->adjacent2On) {
      b->lower2Power = Channel(s, e - b->adjacent2Offset, b->adjacent2BW, noiseBW_);
      b->upper2Power = Channel(s, e + b->adjacent2Offset, b->adjacent2BW, noiseBW_);
      Average(b->lower2PowerAvg, b->lower2Power, k, alpha, beta);
      Average(b->upper2PowerAvg, b->upper2Power, k, alpha, beta);
      Average(b->lower2RatioAvg, Ratio(b->lower2Power, centre), k, alpha, beta);
      Average(b->upper2RatioAvg, Ratio(b->upper2Power, centre), k, alpha, beta);
    }
    if (b->extraOn) {
      b->extraPower = Channel(s, e + b->extraOffset, b->extraBW, noiseBW_);
      Average(b->extraPowerAvg, b->extraPower, k, alpha, beta);
      Average(b->extraRatioAvg, Ratio(b->extraPower, centre), k, alpha, beta);
    }
    b->resultsValid = true;
  } catch (CQError* e) {
    if (b != nullptr) b->resultsValid = false;
    e->AddToCallStack("CQACPRMeasurement::Compute");
    throw;
  }
}
