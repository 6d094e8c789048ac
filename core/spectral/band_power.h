// What the power-in-band and adjacent-channel measurements share: their copy
// of the spectrum, the checks before measuring, and the power of one band of
// an averaged power spectrum.
#pragma once

class CQFArrayFD;

namespace lv_spectral {

// First and last bin (inclusive) of the band [low, high] on a grid of n bins
// starting at f0 with step `step`: both rounded half away from zero, the
// first clipped to 0 .. n - 1, the last at least first + 1 and at most n - 1.
struct BinRange {
  int first = 0;
  int last = 0;
  int Count() const { return last - first + 1 < 1 ? 1 : last - first + 1; }
};
// The measurement's own copy of a spectrum: made on first use, then
// overwritten by `from` (null copies nothing).
void CopySpectrum(CQFArrayFD*& own, const CQFArrayFD* from);

// A spectrum with data and at least one bin ("Null pointer to input data.",
// "Invalid number of input points.") and a noise bandwidth that was set
// ("Programming error: SetNoiseBW() must be called before Compute().").
// Returns the number of bins.
int CheckMeasurementInput(const CQFArrayFD* spectrum, double noiseBandwidth);

BinRange BandBins(double low, double high, double f0, double step, int n);

// Sum of the band's bins (watts per bin) times the bin step divided by the
// window's noise bandwidth: the band power in watts.
float BandPower(const CQFArrayFD& spectrum, double low, double high, double noiseBandwidth);

}  // namespace lv_spectral
