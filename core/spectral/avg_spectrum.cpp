#include "core/spectral/avg_spectrum.h"

#include <cstdint>
#include <memory>

#include "core/array_math.h"
#include "core/arrays/carray.h"
#include "core/arrays/farray_fd.h"
#include "core/error.h"
#include "core/spectral/czt.h"
#include "core/spectral/dsp_window.h"
#include "core/spectral/spectrum_plan.h"

CQAvgSpectrum::CQAvgSpectrum() {
  auto window = std::make_unique<CQDSPWindow>();
  window->SetShape(kWindowShape);
  window_ = window.release();
}

CQAvgSpectrum::~CQAvgSpectrum() {
  delete result_;
  CQArrayMath::Free(work_);
  CQArrayMath::Free(magSqr_);
  CQArrayMath::Free(accum_);
  delete czt_;
  delete window_;
}

void CQAvgSpectrum::Resolve() {
  if (input_ == nullptr || input_->GetDataPtr() == nullptr) throw new CQError("Null pointer to input data.");
  const int n = input_->GetNumPoints();
  if (n < 1) throw new CQError("Invalid number of input points.");
  const double fs = input_->GetSampleRate();
  if (!(fs > 0.0)) throw new CQError("Invalid sample rate.");

  // Frequency limits, relative to the centre frequency.
  const double bandwidth = input_->GetBandwidth();
  if (autoFreqLimits_) {
    if (input_->IsValid()) {
      const double b = bandwidth > 0.0 ? bandwidth : fs;
      startFreq_ = -b / 2.0;
      stopFreq_ = b / 2.0;
    } else {
      startFreq_ = 0.0;
      stopFreq_ = bandwidth > 0.0 ? bandwidth : fs / 2.0;
    }
  } else {
    lv_spectral::ClipFreqLimits(fs, startFreq_, stopFreq_);
  }

  // Resolution bandwidth and segment length.
  if (autoRBW_) rbw_ = fs / 400.0;
  const lv_spectral::Segment segment = lv_spectral::SegmentForRBW(fs, n, rbw_, kWindowShape);
  rbw_ = segment.rbw;
  actualRBW_ = segment.actualRbw;
  windowLength_ = segment.length;

  // Bins.
  if (autoNumFreqs_) {
    numFreqs_ = lv_spectral::AutoNumFreqs(fs, rbw_);
  } else {
    lv_spectral::CheckNumFreqs(numFreqs_);
  }
  freqStep_ = (stopFreq_ - startFreq_) / (numFreqs_ - 1);

  // Averages and hop: the last segment ends at or before sample n.
  if (autoNumAvgs_) {
    numAvgs_ = kAutoNumAvgs;
  } else if (numAvgs_ < 1) {
    numAvgs_ = 1;
  }
  hop_ = (n - windowLength_) / numAvgs_;
  if (hop_ < 1) {
    numAvgs_ = n - windowLength_ + 1;
    hop_ = 1;
  }
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
    const double fs = input_->GetSampleRate();
    const int length = windowLength_;
    const int bins = numFreqs_;

    if (czt_ == nullptr) czt_ = new CQCZT();
    if (result_ == nullptr) {
      result_ = new CQFArrayFD();
    } else {
      result_->Clear();
    }

    window_->SetNumPoints(length);
    window_->Make();
    nbw_ = window_->ComputeNBW(fs);

    czt_->SetTimeParameters(0.0, 1.0 / fs, length);
    czt_->SetFreqParameters(startFreq_, freqStep_, bins);
    czt_->Initialize(1);

    // Buffers only grow.
    if (workCapacity_ < length) {
      CQArrayMath::Free(work_);
      work_ = nullptr;
      workCapacity_ = 0;
      work_ = CQArrayMath::AllocComplex(length);
      workCapacity_ = length;
    }
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
      CQArrayMath::CopyArray(samples + offset, work_, length);
      offset += hop_;
      window_->Apply(work_, length);
      czt_->Compute(work_);
      CQArrayMath::MagSqr(czt_->GetOutput(), magSqr_, bins);
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
