// CQTimeShiftCircular: delays a waveform circularly by any time, also a
// fraction of a sample. The waveform is one period of a periodic band-limited
// signal (the board repeats it); sample n of the output is that signal at
// n/fs - delay, found with the chirp-z reconstruction. The
// transforms are rebuilt only when the length, the rate or the delay changed.
#pragma once

#include "core/processing/czt_reconstruction.h"

class CQTimeShiftCircular : public CQCZTReconstruction {
 public:
  CQTimeShiftCircular() = default;

  // Delay in seconds; a change of 1e-12 s or less is ignored.
  void SetDelay(double seconds);
  double GetDelay() const { return delay_; }
  void Initialize();
  void Compute();
  // One real channel of N values (after Initialize).
  void Compute(const float* in, float* out);

 private:
  double delay_ = 0.0;
};
