#include "core/spectral/fft_wrapper.h"

#include "core/array_math.h"
#include "core/error.h"
#include "fft/fft.h"
#include "primitives/alloc/alloc.h"

namespace {

constexpr int32_t kFftHint = 2;
// The largest transform the FFT supports is 2^27 points.
constexpr int32_t kMaxOrder = 27;

}  // namespace

CQFFT::~CQFFT() {
  CQArrayMath::Free(input_);
  CQArrayMath::Free(output_);
  VectorFree(workBuffer_);
  VectorFree(specMemory_);
}

void CQFFT::SetSize(int n) {
  if (n < 1) throw new CQError("Invalid number of input points.");
  numPoints_ = n;
  int32_t order = 0;
  while (order < 31 && (int64_t{1} << order) < n) ++order;
  if (order > kMaxOrder) throw new CQError("Error initializing FFT routine.");
  order_ = order;
  fftSize_ = int32_t{1} << order;
}

void CQFFT::MakeSpec() {
  if (spec_ != nullptr && specOrder_ == order_) return;
  VectorFree(workBuffer_);
  VectorFree(specMemory_);
  workBuffer_ = nullptr;
  specMemory_ = nullptr;
  spec_ = nullptr;
  specOrder_ = -1;
  int32_t specBytes = 0, initBytes = 0, workBytes = 0;
  if (FftGetSizeComplexFloat32(order_, kFftScaleInverse, kFftHint, &specBytes, &initBytes, &workBytes) != 0)
    throw new CQError("Error initializing FFT routine.");
  // A size of 0 means "not needed"; one byte keeps the pointers non-null.
  specMemory_ = static_cast<uint8_t*>(VectorAllocateUint8(specBytes > 0 ? specBytes : 1));
  workBuffer_ = static_cast<uint8_t*>(VectorAllocateUint8(workBytes > 0 ? workBytes : 1));
  uint8_t* initBuffer = static_cast<uint8_t*>(VectorAllocateUint8(initBytes > 0 ? initBytes : 1));
  if (specMemory_ == nullptr || workBuffer_ == nullptr || initBuffer == nullptr) {
    VectorFree(initBuffer);
    throw new CQError(1, "CQFFT::MakeSpec");
  }
  FftSpecComplexFloat32* spec = nullptr;
  const int32_t status =
      FftInitComplexFloat32(&spec, order_, kFftScaleInverse, kFftHint, specMemory_, initBuffer);
  VectorFree(initBuffer);
  if (status != 0 || spec == nullptr) throw new CQError("Error initializing FFT routine.");
  spec_ = spec;
  specOrder_ = order_;
  ++specBuilds_;
}

void CQFFT::Compute(const CQComplex* input, int n, int direction) {
  try {
    if (n < 1) throw new CQError("Invalid number of input points.");
    if (input == nullptr) throw new CQError("Null input pointer.");
    SetSize(n);
    direction_ = direction;
    if (bufferCapacity_ != fftSize_ || input_ == nullptr || output_ == nullptr) {
      CQArrayMath::Free(input_);
      CQArrayMath::Free(output_);
      input_ = nullptr;
      output_ = nullptr;
      bufferCapacity_ = 0;
      input_ = CQArrayMath::AllocComplex(fftSize_);
      output_ = CQArrayMath::AllocComplex(fftSize_);
      bufferCapacity_ = fftSize_;
      ++bufferAllocs_;
    }
    CQArrayMath::CopyArray(input, input_, n);
    CQArrayMath::ZeroFill(input_, n, fftSize_ - 1);
    MakeSpec();
    if (direction == kForward) {
      if (FftForwardComplexFloat32(AsPrimitive(input_), AsPrimitive(output_), spec_, workBuffer_) != 0)
        throw new CQError("Error while computing forward FFT.");
    } else if (direction == kInverse) {
      if (FftInverseComplexFloat32(AsPrimitive(input_), AsPrimitive(output_), spec_, workBuffer_) != 0)
        throw new CQError("Error while computing inverse FFT.");
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQFFT::Compute");
    throw;
  }
}

void CQFFT::ComputeInPlace(CQComplex* data, int n, int direction) {
  try {
    if (n < 1) throw new CQError("Invalid number of input points.");
    if (data == nullptr) throw new CQError("Null input pointer.");
    SetSize(n);
    direction_ = direction;
    if (n != fftSize_) throw new CQError("Input array is not of correct size for an in-place computation.");
    MakeSpec();
    // The transforms accept the same array as source and destination.
    if (direction == kForward) {
      if (FftForwardComplexFloat32(AsPrimitive(data), AsPrimitive(data), spec_, workBuffer_) != 0)
        throw new CQError("Error while computing forward FFT.");
    } else if (direction == kInverse) {
      if (FftInverseComplexFloat32(AsPrimitive(data), AsPrimitive(data), spec_, workBuffer_) != 0)
        throw new CQError("Error while computing inverse FFT.");
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQFFT::ComputeInPlace");
    throw;
  }
}
