// CQTimeShiftCircular: delays a waveform circularly by any time, also a
// fraction of a sample. The waveform is one period of a periodic band-limited
// signal (the board repeats it); sample n of the output is that signal at
// n/fs - delay, found with the chirp-z reconstruction. The
// transforms are rebuilt only when the length, the rate or the delay changed.
#pragma once

#include <cstdint>

#include "core/arrays/carray.h"

class CQCZTChannel;

class CQTimeShiftCircular {
 public:
  CQTimeShiftCircular() = default;
  ~CQTimeShiftCircular();
  CQTimeShiftCircular(const CQTimeShiftCircular&) = delete;
  CQTimeShiftCircular& operator=(const CQTimeShiftCircular&) = delete;

  // Delay in seconds; a change of 1e-12 s or less is ignored.
  void SetDelay(double seconds);
  double GetDelay() const { return delay_; }
  // The array to delay (not owned) and its centre frequency.
  void SetInput(const CQCArrayTD* input);
  void Initialize();
  void Compute();
  // One real channel of N values (after Initialize).
  void Compute(const float* in, float* out);
  CQCArrayTD* GetOutput() { return output_; }

  bool IsInitialized() const { return initialized_; }
  // How many times the transforms were built.
  int64_t GetInitCount() const;

 private:
  bool initialized_ = false;
  int32_t numPoints_ = 0;
  double sampleRate_ = 0.0;
  double delay_ = 0.0;
  double centerFreq_ = 0.0;
  CQCZTChannel* channel_ = nullptr;
  const CQCArrayTD* input_ = nullptr;
  CQCArrayTD* output_ = nullptr;
};
