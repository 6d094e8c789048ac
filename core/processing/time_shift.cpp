#include "core/processing/time_shift.h"

#include <cmath>

#include "core/error.h"
#include "core/processing/czt_channel.h"

CQTimeShiftCircular::~CQTimeShiftCircular() {
  delete output_;
  delete channel_;
}

int64_t CQTimeShiftCircular::GetInitCount() const { return channel_ ? channel_->GetInitCount() : 0; }

void CQTimeShiftCircular::SetDelay(double seconds) {
  if (!std::isfinite(seconds)) throw new CQError("Invalid time delay.", "CQTimeShiftCircular::SetDelay");
  if (std::fabs(seconds - delay_) > 1e-12) {
    delay_ = seconds;
    initialized_ = false;
  }
}

void CQTimeShiftCircular::SetInput(const CQCArrayTD* input) {
  input_ = input;
  if (input == nullptr) return;
  centerFreq_ = input->GetCenterFreq();
  if (input->GetNumPoints() != numPoints_) {
    numPoints_ = input->GetNumPoints();
    initialized_ = false;
  }
  if (std::fabs(input->GetSampleRate() - sampleRate_) > 1.0) {
    sampleRate_ = input->GetSampleRate();
    initialized_ = false;
  }
}

void CQTimeShiftCircular::Initialize() {
  try {
    initialized_ = false;
    if (channel_ == nullptr) channel_ = new CQCZTChannel;
    if (!(sampleRate_ > 0.0)) throw new CQError("Invalid sample rate.");
    channel_->Initialize(numPoints_, sampleRate_, -delay_, 1.0 / sampleRate_, numPoints_);
    initialized_ = true;
  } catch (CQError* e) {
    e->AddToCallStack("CQTimeShiftCircular::Initialize");
    throw;
  }
}

void CQTimeShiftCircular::Compute(const float* in, float* out) {
  try {
    if (in == nullptr) throw new CQError("Null pointer to input data.");
    if (out == nullptr) throw new CQError("Null pointer to output data.");
    if (!initialized_ || channel_ == nullptr) throw new CQError("Initialize must be called before Compute.");
    channel_->Compute(in, out);
  } catch (CQError* e) {
    e->AddToCallStack("CQTimeShiftCircular::Compute");
    throw;
  }
}

void CQTimeShiftCircular::Compute() {
  try {
    if (input_ == nullptr || input_->GetDataPtr() == nullptr || input_->GetNumPoints() <= 0)
      throw new CQError("Null pointer to input data.");
    SetInput(input_);
    if (output_ == nullptr) output_ = new CQCArrayTD;
    if (!initialized_) Initialize();
    // The reconstruction writes straight into the output array (kept
    // between calls, reallocated only when its length changes).
    output_->SetSize(numPoints_);
    channel_->Compute(input_->GetDataPtr(), output_->GetDataPtr());
    output_->SetValid(true);
    output_->SetSampleRate(sampleRate_);
    output_->SetTimeOrigin(input_->GetTimeOrigin());
    output_->SetCenterFreq(centerFreq_);
    output_->SetBandwidth(input_->GetBandwidth());
  } catch (CQError* e) {
    e->AddToCallStack("CQTimeShiftCircular::Compute");
    throw;
  }
}
