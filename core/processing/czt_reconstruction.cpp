#include "core/processing/czt_reconstruction.h"

#include <cmath>

#include "core/error.h"
#include "core/processing/czt_channel.h"

CQCZTReconstruction::~CQCZTReconstruction() {
  delete output_;
  delete channel_;
}

int64_t CQCZTReconstruction::GetInitCount() const { return channel_ ? channel_->GetInitCount() : 0; }

void CQCZTReconstruction::SetInput(const CQCArrayTD* input) {
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

void CQCZTReconstruction::BeginInitialize() {
  initialized_ = false;
  if (channel_ == nullptr) channel_ = new CQCZTChannel;
  if (!(inputRate_ > 0.0)) throw new CQError("Invalid sample rate.");
}

void CQCZTReconstruction::BuildChannel(double outStart, double outStep, int32_t m) {
  channel_->Initialize(numIn_, inputRate_, outStart, outStep, m);
  initialized_ = true;
}

void CQCZTReconstruction::ComputeChannel(const float* in, float* out) {
  if (in == nullptr) throw new CQError("Null pointer to input data.");
  if (out == nullptr) throw new CQError("Null pointer to output data.");
  if (!initialized_ || channel_ == nullptr) throw new CQError("Initialize must be called before Compute.");
  channel_->Compute(in, out);
}

void CQCZTReconstruction::BeginCompute() {
  if (input_ == nullptr || input_->GetDataPtr() == nullptr || input_->GetNumPoints() <= 0)
    throw new CQError("Null pointer to input data.");
  // The array may have changed since SetInput.
  SetInput(input_);
  if (output_ == nullptr) output_ = new CQCArrayTD;
}

void CQCZTReconstruction::WriteOutput(int32_t m, double outputRate, double timeOrigin) {
  output_->SetSize(m);
  channel_->Compute(input_->GetDataPtr(), output_->GetDataPtr());
  output_->SetValid(true);
  output_->SetSampleRate(outputRate);
  output_->SetTimeOrigin(timeOrigin);
  output_->SetCenterFreq(centerFreq_);
  output_->SetBandwidth(input_->GetBandwidth());
}
