#include "core/spectral/segmented_spectrum.h"

#include <memory>

#include "core/array_math.h"
#include "core/arrays/carray.h"
#include "core/error.h"
#include "core/spectral/czt.h"
#include "core/spectral/dsp_window.h"
#include "core/spectral/spectrum_plan.h"

CQSegmentedSpectrum::CQSegmentedSpectrum() {
  auto window = std::make_unique<CQDSPWindow>();
  window->SetShape(kWindowShape);
  window_ = window.release();
}

CQSegmentedSpectrum::~CQSegmentedSpectrum() {
  CQArrayMath::Free(work_);
  delete czt_;
  delete window_;
}

int CQSegmentedSpectrum::ResolveGrid(bool fromZeroWhenInvalid) {
  if (input_ == nullptr || input_->GetDataPtr() == nullptr) throw new CQError("Null pointer to input data.");
  const int n = input_->GetNumPoints();
  if (n < 1) throw new CQError("Invalid number of input points.");
  const double fs = input_->GetSampleRate();
  if (!(fs > 0.0)) throw new CQError("Invalid sample rate.");

  // Frequency limits, relative to the centre frequency.
  if (autoFreqLimits_) {
    const double bandwidth = input_->GetBandwidth();
    if (!fromZeroWhenInvalid || input_->IsValid()) {
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
  return n;
}

void CQSegmentedSpectrum::ResolveHop(int n, int& count) {
  if (count < 1) count = 1;
  hop_ = (n - windowLength_) / count;
  if (hop_ < 1) {
    count = n - windowLength_ + 1;
    hop_ = 1;
  }
}

void CQSegmentedSpectrum::PrepareSegments() {
  const double fs = input_->GetSampleRate();
  const int length = windowLength_;
  if (czt_ == nullptr) czt_ = new CQCZT();

  window_->SetNumPoints(length);
  window_->Make();
  czt_->SetTimeParameters(0.0, 1.0 / fs, length);
  czt_->SetFreqParameters(startFreq_, freqStep_, numFreqs_);
  czt_->Initialize(1);

  if (workCapacity_ < length) {
    CQArrayMath::Free(work_);
    work_ = nullptr;
    workCapacity_ = 0;
    work_ = CQArrayMath::AllocComplex(length);
    workCapacity_ = length;
  }
}

const CQComplex* CQSegmentedSpectrum::TransformSegment(const CQComplex* from) {
  CQArrayMath::CopyArray(from, work_, windowLength_);
  window_->Apply(work_, windowLength_);
  czt_->Compute(work_);
  return czt_->GetOutput();
}
