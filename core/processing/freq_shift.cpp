#include "core/processing/freq_shift.h"

#include <cmath>

#include "core/error.h"

CQFrequencyShift::~CQFrequencyShift() { delete output_; }

void CQFrequencyShift::Compute(const CQComplex* data, int n, double sampleRate, double shift) {
  try {
    if (data == nullptr) throw new CQError("Null pointer to input data.");
    if (n <= 0) throw new CQError("Invalid number of input points.");
    if (!(sampleRate > 0.0)) throw new CQError("Invalid sample rate.");
    if (output_ == nullptr) output_ = new CQCArrayTD(n); else output_->SetSize(n);
    CQComplex* out = output_->GetDataPtr();
    const double w = shift * 6.28318530718 / sampleRate;
    const double stepRe = std::cos(w), stepIm = std::sin(w);
    // A rotator advanced by multiplication, restarted from a direct sine and
    // cosine every 100 samples so that rounding drift stays bounded.
    constexpr int kBlock = 100;
    for (int l = 0; l < n; l += kBlock) {
      double rotRe = std::cos(l * w), rotIm = std::sin(l * w);
      const int end = n - l < kBlock ? n : l + kBlock;
      for (int i = l; i < end; ++i) {
        const double re = rotRe * stepRe - rotIm * stepIm;
        rotIm = rotRe * stepIm + rotIm * stepRe;
        rotRe = re;
        const float fr = static_cast<float>(rotRe), fi = static_cast<float>(rotIm);
        const CQComplex x = data[i];
        out[i] = CQComplex(x.re * fr - x.im * fi, x.re * fi + x.im * fr);
      }
    }
    output_->SetSampleRate(sampleRate);
  } catch (CQError* e) {
    e->AddToCallStack("CQFrequencyShift::Compute");
    throw;
  }
}

void CQFrequencyShift::Compute(const CQCArrayTD* input, double shift) {
  try {
    if (input == nullptr || input->GetDataPtr() == nullptr)
      throw new CQError("Null pointer to input data.");
    if (input->GetNumPoints() <= 0) throw new CQError("Invalid number of input points.");
    if (!(input->GetSampleRate() > 0.0)) throw new CQError("Invalid sample rate.");
    Compute(input->GetDataPtr(), input->GetNumPoints(), input->GetSampleRate(), shift);
    output_->SetTimeOrigin(input->GetTimeOrigin());
    output_->SetBandwidth(input->GetBandwidth());
    output_->SetCenterFreq(input->IsValid() ? input->GetCenterFreq() - shift : -shift);
  } catch (CQError* e) {
    e->AddToCallStack("CQFrequencyShift::Compute");
    throw;
  }
}
