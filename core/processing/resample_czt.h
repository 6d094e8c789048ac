// CQCResampleCZT: arbitrary resampling of a waveform taken as one period of a
// periodic band-limited signal: the chirp-z reconstruction (CQCZTChannel) is
// evaluated on the output rate's grid; the output has round(output rate *
// period) samples. Components between half the
// output rate and half the input rate are not removed when the rate goes down.
// The transforms are rebuilt only when the input length, the input rate, the
// output rate or the time offset changed.
#pragma once

#include <cstdint>

#include "core/arrays/carray.h"

class CQCZTChannel;

class CQCResampleCZT {
 public:
  CQCResampleCZT() = default;
  ~CQCResampleCZT();
  CQCResampleCZT(const CQCResampleCZT&) = delete;
  CQCResampleCZT& operator=(const CQCResampleCZT&) = delete;

  // Output rate > 0; a time offset shortens the period by its magnitude and
  // moves the first output instant to -offset.
  void SetOutputParameters(double outputSampleRate, double timeOffset);
  // The array to resample (not owned) and its centre frequency.
  void SetInput(const CQCArrayTD* input);
  void Initialize();
  void Compute();
  // One real channel: N values in, M values out (after Initialize).
  void Compute(const float* in, float* out);
  CQCArrayTD* GetOutput() { return output_; }

  bool IsInitialized() const { return initialized_; }
  int GetNumOutputPoints() const { return numOut_; }
  // How many times the transforms were built.
  int64_t GetInitCount() const;

 private:
  bool initialized_ = false;
  int32_t numIn_ = 0;
  int32_t numOut_ = 0;
  double inputRate_ = 0.0;
  double outputRate_ = 0.0;
  double timeOffset_ = 0.0;
  double centerFreq_ = 0.0;
  CQCZTChannel* channel_ = nullptr;
  const CQCArrayTD* input_ = nullptr;
  CQCArrayTD* output_ = nullptr;
};
