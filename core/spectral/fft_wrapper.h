// CQFFT: the complex float FFT for any length. Compute pads n points with
// zeros to the next power of two; ComputeInPlace transforms a power-of-two
// block in place. The FFT specification is built on the first call and again
// only when the order changes; the buffers are reallocated only when the
// transform size differs from their capacity. The forward transform is
// unscaled, the inverse scaled by 1/size.
#pragma once

#include <cstdint>

#include "core/arrays/complex.h"

struct FftSpecComplexFloat32;

class CQFFT {
 public:
  enum Direction : int32_t { kForward = 1, kInverse = 2 };

  CQFFT() = default;
  ~CQFFT();
  CQFFT(const CQFFT&) = delete;
  CQFFT& operator=(const CQFFT&) = delete;

  // Transforms n points (zero-padded to the FFT size) into the output buffer.
  // A direction other than 1 or 2 computes nothing.
  void Compute(const CQComplex* input, int n, int direction);
  // Transforms n points in place (no buffers of its own); n must be a power of two.
  void ComputeInPlace(CQComplex* data, int n, int direction);
  // The FFT-size result of the last Compute.
  CQComplex* GetOutput() { return output_; }
  const CQComplex* GetOutput() const { return output_; }

  int GetNumPoints() const { return numPoints_; }
  int GetFFTSize() const { return fftSize_; }
  int GetOrder() const { return order_; }
  // How many times an FFT specification and its buffers were built.
  int64_t GetSpecBuildCount() const { return specBuilds_; }
  int64_t GetBufferAllocCount() const { return bufferAllocs_; }

 private:
  void SetSize(int n);
  void MakeSpec();

  int32_t direction_ = kForward;
  int32_t numPoints_ = 0;
  int32_t fftSize_ = 0;
  int32_t order_ = 0;
  CQComplex* input_ = nullptr;
  CQComplex* output_ = nullptr;
  int32_t bufferCapacity_ = 0;  // points in input_ and output_
  int32_t specOrder_ = -1;
  FftSpecComplexFloat32* spec_ = nullptr;
  uint8_t* specMemory_ = nullptr;
  uint8_t* workBuffer_ = nullptr;
  int64_t specBuilds_ = 0;
  int64_t bufferAllocs_ = 0;
};
