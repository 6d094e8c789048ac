#include "core/processing/time_shift.h"

#include <cmath>

#include "core/error.h"

void CQTimeShiftCircular::SetDelay(double seconds) {
  if (!std::isfinite(seconds)) throw new CQError("Invalid time delay.", "CQTimeShiftCircular::SetDelay");
  if (std::fabs(seconds - delay_) > 1e-12) {
    delay_ = seconds;
    initialized_ = false;
  }
}

void CQTimeShiftCircular::Initialize() {
  try {
    BeginInitialize();
    BuildChannel(-delay_, 1.0 / inputRate_, numIn_);
  } catch (CQError* e) {
    e->AddToCallStack("CQTimeShiftCircular::Initialize");
    throw;
  }
}

void CQTimeShiftCircular::Compute(const float* in, float* out) {
  try {
    ComputeChannel(in, out);
  } catch (CQError* e) {
    e->AddToCallStack("CQTimeShiftCircular::Compute");
    throw;
  }
}

void CQTimeShiftCircular::Compute() {
  try {
    BeginCompute();
    if (!initialized_) Initialize();
    WriteOutput(numIn_, inputRate_, input_->GetTimeOrigin());
  } catch (CQError* e) {
    e->AddToCallStack("CQTimeShiftCircular::Compute");
    throw;
  }
}
