// CQCResampleCZT: arbitrary resampling of a waveform taken as one period of a
// periodic band-limited signal: the chirp-z reconstruction (CQCZTChannel) is
// evaluated on the output rate's grid; the output has round(output rate *
// period) samples. Components between half the
// output rate and half the input rate are not removed when the rate goes down.
// The transforms are rebuilt only when the input length, the input rate, the
// output rate or the time offset changed.
#pragma once

#include <cstdint>

#include "core/processing/czt_reconstruction.h"

class CQCResampleCZT : public CQCZTReconstruction {
 public:
  CQCResampleCZT() = default;

  // Output rate > 0; a time offset shortens the period by its magnitude and
  // moves the first output instant to -offset.
  void SetOutputParameters(double outputSampleRate, double timeOffset);
  void Initialize();
  void Compute();
  // One real channel: N values in, M values out (after Initialize).
  void Compute(const float* in, float* out);

  int GetNumOutputPoints() const { return numOut_; }

 private:
  int32_t numOut_ = 0;
  double outputRate_ = 0.0;
  double timeOffset_ = 0.0;
};
