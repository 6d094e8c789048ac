#include "core/processing/czt_channel.h"

#include <algorithm>

#include "core/array_math.h"
#include "core/error.h"
#include "core/spectral/czt.h"

CQCZTChannel::~CQCZTChannel() {
  delete forward_;
  delete inverse_;
  CQArrayMath::Free(workA_);
  CQArrayMath::Free(workB_);
}

void CQCZTChannel::Initialize(int n, double sampleRate, double outStart, double outStep, int m) {
  ready_ = false;
  if (!(sampleRate > 0.0)) throw new CQError("Invalid sample rate.");
  if (forward_ == nullptr) forward_ = new CQCZT;
  if (inverse_ == nullptr) inverse_ = new CQCZT;
  const int k = n / 2 + 1;
  // Bins spaced fs/N for every N: for even N the last bin is the Nyquist
  // frequency, for odd N it lies below it.
  const double df = sampleRate / n;
  forward_->SetTimeParameters(0.0, 1.0 / sampleRate, n);
  forward_->SetFreqParameters(0.0, df, k);
  inverse_->SetTimeParameters(outStart, outStep, m);
  inverse_->SetFreqParameters(0.0, df, k);
  forward_->Initialize(CQCZT::kForward);
  inverse_->Initialize(CQCZT::kInverse);
  n_ = n;
  m_ = m;
  numBins_ = k;
  ready_ = true;
  ++initCount_;
}

void CQCZTChannel::Compute(const float* in, float* out) {
  if (in == nullptr) throw new CQError("Null pointer to input data.");
  if (out == nullptr) throw new CQError("Null pointer to output data.");
  if (!ready_) throw new CQError("Initialize must be called before Compute.");
  const int size = std::max({n_, numBins_, m_});
  if (size != workSize_ || workA_ == nullptr || workB_ == nullptr) {
    CQArrayMath::Free(workA_);
    CQArrayMath::Free(workB_);
    workA_ = workB_ = nullptr;
    workSize_ = 0;
    workA_ = CQArrayMath::AllocComplex(size);
    workB_ = CQArrayMath::AllocComplex(size);
    workSize_ = size;
  }
  const int k = numBins_;
  CQArrayMath::CopyArray(in, workA_, n_);
  forward_->Compute(workA_);
  // One-sided spectrum of a real signal: every bin but DC (and the Nyquist
  // bin of an even length) stands for a pair of conjugate bins.
  CQArrayMath::ArrayScalarMult(forward_->GetOutput(), 2.0f, workB_, k);
  workB_[0] = forward_->GetOutput()[0];
  if (n_ % 2 == 0) workB_[k - 1] = forward_->GetOutput()[k - 1];
  inverse_->Compute(workB_);
  CQArrayMath::CopyArray(inverse_->GetOutput(), out, m_);
}
