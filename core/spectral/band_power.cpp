#include "core/spectral/band_power.h"

#include "core/array_math.h"
#include "core/arrays/farray_fd.h"
#include "core/error.h"
#include "core/numbers.h"

namespace lv_spectral {

void CopySpectrum(CQFArrayFD*& own, const CQFArrayFD* from) {
  if (own == nullptr) own = new CQFArrayFD();
  if (from != nullptr) own->Set(from);
}

int CheckMeasurementInput(const CQFArrayFD* spectrum, double noiseBandwidth) {
  if (spectrum == nullptr || spectrum->GetDataPtr() == nullptr) throw new CQError("Null pointer to input data.");
  const int n = spectrum->GetNumPoints();
  if (n < 1) throw new CQError("Invalid number of input points.");
  if (noiseBandwidth == 0.0)
    throw new CQError("Programming error: SetNoiseBW() must be called before Compute().");
  return n;
}

BinRange BandBins(double low, double high, double f0, double step, int n) {
  BinRange r;
  // A one-bin spectrum may have a step of 0: every band then covers bin 0
  // (the rounding helper turns the NaN or infinite quotient into 0 or a
  // saturated value, which the clipping below brings back into range).
  r.first = RoundToInt((low - f0) / step);
  if (r.first < 0) r.first = 0;
  if (r.first >= n) r.first = n - 1;
  r.last = RoundToInt((high - f0) / step);
  if (r.last < r.first) r.last = r.first + 1;
  if (r.last >= n) r.last = n - 1;
  return r;
}

float BandPower(const CQFArrayFD& spectrum, double low, double high, double noiseBandwidth) {
  const int n = spectrum.GetNumPoints();
  const double step = spectrum.GetFreqStep();
  const BinRange r = BandBins(low, high, spectrum.GetStartFreq(), step, n);
  const float sum = CQArrayMath::Sum(spectrum.GetDataPtr() + r.first, r.Count());
  return static_cast<float>(static_cast<double>(sum) * step / noiseBandwidth);
}

}  // namespace lv_spectral
