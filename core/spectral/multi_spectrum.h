// CQMultiSpectrum: one spectrum per segment of a waveform, in dBm, without
// averaging, for the persistence display. The waveform is cut into a given
// number of equally spaced segments; segment length, window (Gaussian, alpha
// 4.3), frequency grid and transform are chosen as CQSegmentedSpectrum does. Each
// bin reads 20 log10(|X| + c) + 10 dBm: a complex tone of amplitude 1 reads
// +10 dBm, an empty bin about -192.76 dBm.
#pragma once

#include "core/spectral/segmented_spectrum.h"

class CQFArrayFD;
class CQFArrayFDList;

class CQMultiSpectrum : public CQSegmentedSpectrum {
 public:
  CQMultiSpectrum() = default;
  ~CQMultiSpectrum();

  void SetNumSpectra(int n) { numSpectra_ = n; }
  // After Compute: the number of spectra made (possibly corrected).
  int GetNumSpectra() const { return numSpectra_; }
  // Owned by the object; null before the first Compute; the list object stays
  // for the object's life, its items until the next Compute.
  CQFArrayFDList* GetSpectra() { return spectra_; }

  // Derives and stores the settings as Compute does, without transforming.
  void ResolveSettings();
  void Compute();

 private:
  void Resolve();

  int numSpectra_ = 0;
  int binCapacity_ = 0;
  float* levels_ = nullptr;
  CQFArrayFD* template_ = nullptr;
  CQFArrayFDList* spectra_ = nullptr;
};
