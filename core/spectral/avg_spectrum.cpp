#include "core/spectral/avg_spectrum.h"

#include <cstdint>

#include "core/array_math.h"
#include "core/arrays/carray.h"
#include "core/arrays/farray_fd.h"
#include "core/error.h"
#include "core/spectral/dsp_window.h"

CQAvgSpectrum::~CQAvgSpectrum() {
  delete result_;
  CQArrayMath::Free(magSqr_);
  CQArrayMath::Free(accum_);
}

void CQAvgSpectrum::Resolve() {
  const int n = ResolveGrid(true);
  // Averages and hop: the last segment ends at or before sample n.
  if (autoNumAvgs_) numAvgs_ = kAutoNumAvgs;
  ResolveHop(n, numAvgs_);
}

void CQAvgSpectrum::ResolveSettings() {
  try {
    Resolve();
  } catch (CQError* e) {
    e->AddToCallStack("CQAvgSpectrum::ResolveSettings");
    throw;
  }
}

void CQAvgSpectrum::Compute() {
  try {
    Resolve();
    const int bins = numFreqs_;

    if (result_ == nullptr) {
      result_ = new CQFArrayFD();
    } else {
      result_->Clear();
    }

    PrepareSegments();
    nbw_ = window_->ComputeNBW(input_->GetSampleRate());

    // Buffers only grow.
    if (binCapacity_ < bins) {
      CQArrayMath::Free(magSqr_);
      CQArrayMath::Free(accum_);
      magSqr_ = accum_ = nullptr;
      binCapacity_ = 0;
      magSqr_ = CQArrayMath::AllocFloat(bins);
      accum_ = CQArrayMath::AllocFloat(bins);
      binCapacity_ = bins;
    }
    CQArrayMath::ZeroFill(accum_, bins);

    const CQComplex* samples = input_->GetDataPtr();
    int64_t offset = 0;
    for (int k = 0; k < numAvgs_; ++k) {
      CQArrayMath::MagSqr(TransformSegment(samples + offset), magSqr_, bins);
      offset += hop_;
      CQArrayMath::ArrayAdd(accum_, magSqr_, bins);
    }
    // Mean |X|^2 over the segments, divided by 100: watts.
    const float scale = 1.0f / (static_cast<float>(numAvgs_) * 100.0f);
    CQArrayMath::ArrayScalarMult(accum_, scale, bins);

    result_->Set(accum_, bins, input_->GetCenterFreq() + startFreq_, freqStep_, 0.0);
    result_->SetRBW(actualRBW_);
    result_->SetNBW(nbw_);
  } catch (CQError* e) {
    e->AddToCallStack("CQAvgSpectrum::Compute");
    throw;
  }
}
