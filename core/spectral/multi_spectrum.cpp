#include "core/spectral/multi_spectrum.h"

#include <cstdint>
#include <memory>

#include "core/array_math.h"
#include "core/arrays/carray.h"
#include "core/arrays/farray_fd.h"
#include "core/error.h"
#include "core/spectral/czt.h"
#include "core/spectral/dsp_window.h"
#include "core/spectral/spectrum_plan.h"

CQMultiSpectrum::CQMultiSpectrum() {
  auto window = std::make_unique<CQDSPWindow>();
  window->SetShape(kWindowShape);
  window_ = window.release();
}

CQMultiSpectrum::~CQMultiSpectrum() {
  delete template_;
  delete spectra_;
  delete czt_;
  delete window_;
  CQArrayMath::Free(work_);
  CQArrayMath::Free(levels_);
}

void CQMultiSpectrum::Resolve() {
  if (input_ == nullptr || input_->GetDataPtr() == nullptr) throw new CQError("Null pointer to input data.");
  const int n = input_->GetNumPoints();
  if (n < 1) throw new CQError("Invalid number of input points.");
  const double fs = input_->GetSampleRate();
  if (!(fs > 0.0)) throw new CQError("Invalid sample rate.");

  if (autoFreqLimits_) {
    // The input's band around its centre; the whole rate when it has none (a
    // negative bandwidth counts as none rather than giving reversed limits).
    const double b = input_->GetBandwidth() > 0.0 ? input_->GetBandwidth() : fs;
    startFreq_ = -b / 2.0;
    stopFreq_ = b / 2.0;
  } else {
    lv_spectral::ClipFreqLimits(fs, startFreq_, stopFreq_);
  }

  if (autoRBW_) rbw_ = fs / 400.0;
  const lv_spectral::Segment segment = lv_spectral::SegmentForRBW(fs, n, rbw_, kWindowShape);
  rbw_ = segment.rbw;
  actualRBW_ = segment.actualRbw;
  windowLength_ = segment.length;

  if (autoNumFreqs_) {
    numFreqs_ = lv_spectral::AutoNumFreqs(fs, rbw_);
  } else {
    lv_spectral::CheckNumFreqs(numFreqs_);
  }
  freqStep_ = (stopFreq_ - startFreq_) / (numFreqs_ - 1);

  if (numSpectra_ < 1) numSpectra_ = 1;
  hop_ = (n - windowLength_) / numSpectra_;
  if (hop_ < 1) {
    numSpectra_ = n - windowLength_ + 1;
    hop_ = 1;
  }
}

void CQMultiSpectrum::ResolveSettings() {
  try {
    Resolve();
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiSpectrum::ResolveSettings");
    throw;
  }
}

void CQMultiSpectrum::Compute() {
  try {
    Resolve();
    const double fs = input_->GetSampleRate();
    const int length = windowLength_;
    const int bins = numFreqs_;

    if (czt_ == nullptr) czt_ = new CQCZT();
    if (template_ == nullptr) template_ = new CQFArrayFD();
    if (spectra_ == nullptr) {
      spectra_ = new CQFArrayFDList(numSpectra_);
    } else {
      spectra_->SetNumItems(numSpectra_);
    }

    template_->SetSize(bins);
    template_->SetFreqAxis(startFreq_, freqStep_);
    template_->SetRBW(actualRBW_);
    template_->SetCenterFreq(input_->GetCenterFreq());

    window_->SetNumPoints(length);
    window_->Make();
    czt_->SetTimeParameters(0.0, 1.0 / fs, length);
    czt_->SetFreqParameters(startFreq_, freqStep_, bins);
    czt_->Initialize(1);

    if (workCapacity_ < length) {
      CQArrayMath::Free(work_);
      work_ = nullptr;
      workCapacity_ = 0;
      work_ = CQArrayMath::AllocComplex(length);
      workCapacity_ = length;
    }
    if (binCapacity_ < bins) {
      CQArrayMath::Free(levels_);
      levels_ = nullptr;
      binCapacity_ = 0;
      levels_ = CQArrayMath::AllocFloat(bins);
      binCapacity_ = bins;
    }

    const CQComplex* samples = input_->GetDataPtr();
    const double origin = input_->GetTimeOrigin();
    for (int i = 0; i < numSpectra_; ++i) {
      const int64_t offset = int64_t{i} * hop_;
      CQArrayMath::CopyArray(samples + offset, work_, length);
      window_->Apply(work_, length);
      czt_->Compute(work_);
      CQArrayMath::LogMagdBm(czt_->GetOutput(), levels_, bins, -200.0f);
      template_->Set(levels_, bins, startFreq_, freqStep_, origin + static_cast<double>(offset) / fs);
      spectra_->SetItem(i, template_);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiSpectrum::Compute");
    throw;
  }
}
