#include "core/processing/czt_channel.h"

#include <algorithm>
#include <cmath>

#include "core/array_math.h"
#include "core/error.h"
#include "core/spectral/czt.h"

namespace {

// A complex block for one call, freed when it goes out of scope (also when a
// step throws), so an idle channel holds only its transforms' tables.
struct WorkArea {
  explicit WorkArea(int n) : data(CQArrayMath::AllocComplex(n)) {}
  ~WorkArea() { CQArrayMath::Free(data); }
  WorkArea(const WorkArea&) = delete;
  WorkArea& operator=(const WorkArea&) = delete;
  CQComplex* data;
};

}  // namespace

CQCZTChannel::~CQCZTChannel() {
  delete forward_;
  delete inverse_;
}

void CQCZTChannel::Initialize(int n, double sampleRate, double outStart, double outStep, int m) {
  ready_ = false;
  if (!(sampleRate > 0.0)) throw new CQError("Invalid sample rate.");
  if (forward_ == nullptr) forward_ = new CQCZT;
  if (inverse_ == nullptr) inverse_ = new CQCZT;
  const double df = sampleRate / n;
  const bool even = n % 2 == 0;
  // Forward: bins -N/2 .. N/2-1 (even N; the first one is -fs/2) or
  // -(N-1)/2 .. (N-1)/2 (odd N). Inverse: the same bins without -fs/2, whose
  // coefficient comes back as a cosine at fs/2.
  const int lowest = even ? -(n / 2) : -((n - 1) / 2);
  forward_->SetTimeParameters(0.0, 1.0 / sampleRate, n);
  forward_->SetFreqParameters(lowest * df, df, n);
  inverse_->SetTimeParameters(outStart, outStep, m);
  if (even) {
    inverse_->SetFreqParameters((lowest + 1) * df, df, n - 1);
  } else {
    inverse_->SetFreqParameters(lowest * df, df, n);
  }
  forward_->Initialize(CQCZT::kForward);
  inverse_->Initialize(CQCZT::kInverse);
  // Run one after the other, the two transforms can use one FFT when their
  // lengths agree (the time shift), so only one specification is kept.
  inverse_->ShareFFTWith(*forward_);
  even_ = even;
  sampleRate_ = sampleRate;
  outStart_ = outStart;
  outStep_ = outStep;
  n_ = n;
  m_ = m;
  ready_ = true;
  ++initCount_;
}

void CQCZTChannel::Compute(const CQComplex* in, CQComplex* out) {
  if (in == nullptr) throw new CQError("Null pointer to input data.");
  if (out == nullptr) throw new CQError("Null pointer to output data.");
  if (!ready_) throw new CQError("Initialize must be called before Compute.");
  // The coefficients live only between the two transforms, and the inverse
  // writes straight into the caller's array: neither transform keeps an
  // output of its own.
  WorkArea coefficients(forward_->GetOutputLength());
  forward_->Compute(in, coefficients.data);
  if (!even_) {
    inverse_->Compute(coefficients.data, out);
    return;
  }
  // out = sum over the inner bins + c * cos(pi fs t), c the coefficient at -fs/2.
  const CQComplex c = coefficients.data[0];
  inverse_->Compute(coefficients.data + 1, out);
  WorkArea cosine(m_);
  // cos(pi * x) with x = fs * t, reduced modulo 2 to keep its accuracy.
  const double start = sampleRate_ * outStart_, step = sampleRate_ * outStep_;
  for (int i = 0; i < m_; ++i) {
    const double x = std::fmod(start, 2.0) + std::fmod(step * i, 2.0);
    cosine.data[i].Set(std::cos(M_PI * std::fmod(x, 2.0)), 0.0);
  }
  CQArrayMath::ArrayScalarMult(cosine.data, c, m_);
  CQArrayMath::ArrayAdd(reinterpret_cast<const float*>(out), reinterpret_cast<const float*>(cosine.data),
                        reinterpret_cast<float*>(out), 2 * m_);
}

void CQCZTChannel::Compute(const float* in, float* out) {
  if (in == nullptr) throw new CQError("Null pointer to input data.");
  if (out == nullptr) throw new CQError("Null pointer to output data.");
  if (!ready_) throw new CQError("Initialize must be called before Compute.");
  // The real channel as complex values, for this call only.
  WorkArea values(std::max(n_, m_));
  CQArrayMath::CopyArray(in, values.data, n_);
  Compute(values.data, values.data);
  CQArrayMath::CopyArray(values.data, out, m_);
}
