// CQCZTReconstruction: what the chirp-z resampler and the circular time shift
// share around their reconstruction channel (CQCZTChannel): the input array
// and the change tracking of its length and rate, the output array, the
// checks before a transform and the writing of the output.
#pragma once

#include <cstdint>

#include "core/arrays/carray.h"

class CQCZTChannel;

class CQCZTReconstruction {
 public:
  CQCZTReconstruction(const CQCZTReconstruction&) = delete;
  CQCZTReconstruction& operator=(const CQCZTReconstruction&) = delete;

  // The array to transform (not owned) and its centre frequency. A new
  // length, or a rate that moved by more than 1 Hz, asks for new transforms.
  void SetInput(const CQCArrayTD* input);
  CQCArrayTD* GetOutput() { return output_; }

  bool IsInitialized() const { return initialized_; }
  // How many times the transforms were built.
  int64_t GetInitCount() const;

 protected:
  CQCZTReconstruction() = default;
  ~CQCZTReconstruction();

  // The start of Initialize: marks the transforms unbuilt, makes the channel
  // on first use and checks the input rate ("Invalid sample rate.").
  void BeginInitialize();
  // The end of Initialize: builds the transforms for m output instants
  // outStart + i * outStep (seconds).
  void BuildChannel(double outStart, double outStep, int32_t m);
  // One real channel, checked ("Null pointer to input data.", "Null pointer
  // to output data.", "Initialize must be called before Compute.").
  void ComputeChannel(const float* in, float* out);
  // The start of Compute: checks the input array, takes up any change to it
  // since SetInput and makes the output array on first use.
  void BeginCompute();
  // The end of Compute: the reconstruction of the input written straight
  // into the output array (kept between calls, reallocated only when its
  // length changes), with its rate, time origin, centre and bandwidth.
  void WriteOutput(int32_t m, double outputRate, double timeOrigin);

  bool initialized_ = false;
  int32_t numIn_ = 0;
  double inputRate_ = 0.0;
  double centerFreq_ = 0.0;
  CQCZTChannel* channel_ = nullptr;
  const CQCArrayTD* input_ = nullptr;
  CQCArrayTD* output_ = nullptr;
};
