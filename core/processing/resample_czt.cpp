#include "core/processing/resample_czt.h"

#include <cmath>

#include "core/error.h"

namespace {

// Output counts beyond this cannot be transformed (FFT of at most 2^27 points).
constexpr double kMaxOutputPoints = 134217728.0;

}  // namespace

void CQCResampleCZT::SetOutputParameters(double rate, double offset) {
  if (!(rate > 0.0) || !std::isfinite(rate))
    throw new CQError("Invalid output sample rate.", "CQCResampleCZT::SetOutputParameters");
  if (!std::isfinite(offset)) throw new CQError("Invalid time offset.", "CQCResampleCZT::SetOutputParameters");
  if (std::fabs(rate - outputRate_) > 1.0) {
    outputRate_ = rate;
    initialized_ = false;
  }
  if (std::fabs(offset - timeOffset_) > 1e-12) {
    timeOffset_ = offset;
    initialized_ = false;
  }
}

void CQCResampleCZT::Initialize() {
  try {
    BeginInitialize();
    if (!(outputRate_ > 0.0)) throw new CQError("Invalid output sample rate.");
    double period = numIn_ / inputRate_;
    if (timeOffset_ != 0.0) period -= std::fabs(timeOffset_);
    const double m = outputRate_ * period + 0.5;
    if (!(m < kMaxOutputPoints)) throw new CQError("Error initializing FFT routine.");
    // Fewer than 2 output points fail in the inverse transform's set-up.
    numOut_ = m >= 0.0 ? static_cast<int32_t>(m) : 0;
    BuildChannel(-timeOffset_, 1.0 / outputRate_, numOut_);
  } catch (CQError* e) {
    e->AddToCallStack("CQCResampleCZT::Initialize");
    throw;
  }
}

void CQCResampleCZT::Compute(const float* in, float* out) {
  try {
    ComputeChannel(in, out);
  } catch (CQError* e) {
    e->AddToCallStack("CQCResampleCZT::Compute");
    throw;
  }
}

void CQCResampleCZT::Compute() {
  try {
    BeginCompute();
    if (!initialized_) Initialize();
    WriteOutput(numOut_, outputRate_, input_->GetTimeOrigin() + timeOffset_);
  } catch (CQError* e) {
    e->AddToCallStack("CQCResampleCZT::Compute");
    throw;
  }
}
