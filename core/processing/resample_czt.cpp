#include "core/processing/resample_czt.h"

#include <cmath>

#include "core/error.h"
#include "core/processing/czt_channel.h"

namespace {

// Output counts beyond this cannot be transformed (FFT of at most 2^27 points).
constexpr double kMaxOutputPoints = 134217728.0;

}  // namespace

CQCResampleCZT::~CQCResampleCZT() {
  delete output_;
  delete channel_;
}

int64_t CQCResampleCZT::GetInitCount() const { return channel_ ? channel_->GetInitCount() : 0; }

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

void CQCResampleCZT::SetInput(const CQCArrayTD* input) {
  input_ = input;
  if (input == nullptr) return;
  centerFreq_ = input->GetCenterFreq();
  if (input->GetNumPoints() != numIn_) {
    numIn_ = input->GetNumPoints();
    initialized_ = false;
  }
  if (std::fabs(input->GetSampleRate() - inputRate_) > 1.0) {
    inputRate_ = input->GetSampleRate();
    initialized_ = false;
  }
}

void CQCResampleCZT::Initialize() {
  try {
    initialized_ = false;
    if (channel_ == nullptr) channel_ = new CQCZTChannel;
    if (!(inputRate_ > 0.0)) throw new CQError("Invalid sample rate.");
    if (!(outputRate_ > 0.0)) throw new CQError("Invalid output sample rate.");
    double period = numIn_ / inputRate_;
    if (timeOffset_ != 0.0) period -= std::fabs(timeOffset_);
    const double m = outputRate_ * period + 0.5;
    if (!(m < kMaxOutputPoints)) throw new CQError("Error initializing FFT routine.");
    // Fewer than 2 output points fail in the inverse transform's set-up.
    numOut_ = m >= 0.0 ? static_cast<int32_t>(m) : 0;
    channel_->Initialize(numIn_, inputRate_, -timeOffset_, 1.0 / outputRate_, numOut_);
    initialized_ = true;
  } catch (CQError* e) {
    e->AddToCallStack("CQCResampleCZT::Initialize");
    throw;
  }
}

void CQCResampleCZT::Compute(const float* in, float* out) {
  try {
    if (in == nullptr) throw new CQError("Null pointer to input data.");
    if (out == nullptr) throw new CQError("Null pointer to output data.");
    if (!initialized_ || channel_ == nullptr) throw new CQError("Initialize must be called before Compute.");
    channel_->Compute(in, out);
  } catch (CQError* e) {
    e->AddToCallStack("CQCResampleCZT::Compute");
    throw;
  }
}

void CQCResampleCZT::Compute() {
  try {
    if (input_ == nullptr || input_->GetDataPtr() == nullptr || input_->GetNumPoints() <= 0)
      throw new CQError("Null pointer to input data.");
    // The array may have changed since SetInput.
    SetInput(input_);
    if (output_ == nullptr) output_ = new CQCArrayTD;
    if (!initialized_) Initialize();
    // The reconstruction writes straight into the output array (kept
    // between calls, reallocated only when its length changes).
    output_->SetSize(numOut_);
    channel_->Compute(input_->GetDataPtr(), output_->GetDataPtr());
    output_->SetValid(true);
    output_->SetSampleRate(outputRate_);
    output_->SetTimeOrigin(input_->GetTimeOrigin() + timeOffset_);
    output_->SetCenterFreq(centerFreq_);
    output_->SetBandwidth(input_->GetBandwidth());
  } catch (CQError* e) {
    e->AddToCallStack("CQCResampleCZT::Compute");
    throw;
  }
}
