#include "core/spectral/multi_spectrum.h"

#include <cstdint>

#include "core/array_math.h"
#include "core/arrays/carray.h"
#include "core/arrays/farray_fd.h"
#include "core/error.h"

CQMultiSpectrum::~CQMultiSpectrum() {
  delete template_;
  delete spectra_;
  CQArrayMath::Free(levels_);
}

void CQMultiSpectrum::Resolve() {
  const int n = ResolveGrid(false);
  ResolveHop(n, numSpectra_);
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
    const int bins = numFreqs_;

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

    PrepareSegments();
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
      CQArrayMath::LogMagdBm(TransformSegment(samples + offset), levels_, bins, -200.0f);
      template_->Set(levels_, bins, startFreq_, freqStep_, origin + static_cast<double>(offset) / fs);
      spectra_->SetItem(i, template_);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiSpectrum::Compute");
    throw;
  }
}
