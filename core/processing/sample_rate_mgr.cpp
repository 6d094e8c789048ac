#include "core/processing/sample_rate_mgr.h"

#include <cmath>
#include <cstdio>

#include "core/array_math.h"
#include "core/error.h"
#include "core/processing/decimate.h"
#include "core/processing/fir.h"
#include "core/processing/freq_shift.h"
#include "core/processing/interpolate.h"
#include "core/processing/noise.h"
#include "core/processing/resample_czt.h"
#include "core/processing/time_shift.h"

namespace {

// Copies a field into the working copy when it differs beyond tol; marks a change.
template <typename T>
void TakeExact(T& field, T value, bool* changed) {
  if (field != value) {
    field = value;
    *changed = true;
  }
}

// A NaN on either side counts as a change, so that a bad value reaches the
// checks instead of leaving the old one silently in place.
void TakeDouble(double& field, double value, double tol, bool* changed) {
  if (!(std::fabs(field - value) <= tol)) {
    field = value;
    *changed = true;
  }
}

void TakeFloat(float& field, float value, bool* changed) {
  if (!(std::fabs(field - value) <= 0.01f)) {
    field = value;
    *changed = true;
  }
}

[[noreturn]] void FailRate(const char* what, int rate) {
  char text[160];
  std::snprintf(text, sizeof text,
                "Invalid %s rate %d: it must be a positive product of the factors 2, 3, 5 and 7.",
                what, rate);
  throw new CQError(text);
}

// A processing value that must be finite and within [low, high].
void CheckRange(const char* what, double value, double low, double high, const char* unit) {
  if (std::isfinite(value) && value >= low && value <= high) return;
  char text[200];
  std::snprintf(text, sizeof text, "Invalid %s %g %s: it must be between %g and %g %s.", what, value, unit,
                low, high, unit);
  throw new CQError(text);
}

void CheckFinite(const char* what, double value, const char* unit) {
  if (std::isfinite(value)) return;
  char text[160];
  std::snprintf(text, sizeof text, "Invalid %s %g %s: it must be a finite number.", what, value, unit);
  throw new CQError(text);
}

[[noreturn]] void FailSize(const char* step, double n, const char* limitName, int32_t limit) {
  char text[220];
  std::snprintf(text, sizeof text, "The %s result of %.0f samples is over the %s (%d samples).", step, n,
                limitName, limit);
  throw new CQError(text);
}

}  // namespace

CQSampleRateMgr::CQSampleRateMgr() : record_(new CQSampleRateMgrSettings) {
  s_.noiseLevel = -90.0f;
}

CQSampleRateMgr::~CQSampleRateMgr() {
  delete work_;
  delete interpolate_;
  delete decimate_;
  delete resample_;
  delete freqShift_;
  delete timeShift_;
  delete lowPass_;
  delete noise_;
  delete record_;
}

void CQSampleRateMgr::SetSettings(const CQSampleRateMgrSettings& n) {
  bool c = changed_;
  TakeExact(s_.doFreqShiftFirst, n.doFreqShiftFirst, &c);
  TakeExact(s_.interpolationOn, n.interpolationOn, &c);
  TakeExact(s_.interpolationRate, n.interpolationRate, &c);
  TakeExact(s_.decimationOn, n.decimationOn, &c);
  TakeExact(s_.decimationRate, n.decimationRate, &c);
  TakeExact(s_.arbResampleOn, n.arbResampleOn, &c);
  TakeDouble(s_.outputSampleRate, n.outputSampleRate, 1.0, &c);
  TakeExact(s_.freqShiftOn, n.freqShiftOn, &c);
  TakeDouble(s_.freqShift, n.freqShift, 1.0, &c);
  TakeExact(s_.timeShiftOn, n.timeShiftOn, &c);
  TakeDouble(s_.timeDelay, n.timeDelay, 1e-12, &c);
  TakeExact(s_.phaseAdjustOn, n.phaseAdjustOn, &c);
  TakeFloat(s_.phaseDeg, n.phaseDeg, &c);
  TakeExact(s_.filterOn, n.filterOn, &c);
  TakeExact(s_.filterType, n.filterType, &c);
  TakeExact(s_.gainAdjustOn, n.gainAdjustOn, &c);
  TakeFloat(s_.gainDb, n.gainDb, &c);
  TakeExact(s_.noiseOn, n.noiseOn, &c);
  TakeFloat(s_.noiseLevel, n.noiseLevel, &c);
  TakeExact(s_.samplesLimitOn, n.samplesLimitOn, &c);
  TakeExact(s_.maxSamples, n.maxSamples, &c);
  changed_ = c;
}

CQSampleRateMgrSettings* CQSampleRateMgr::GetSettings() {
  record_->CopyFrom(&s_);
  return record_;
}

bool CQSampleRateMgr::ComputeAll() {
  try {
    state_ = kStart;
    while (ComputeIncremental()) {
    }
    return false;
  } catch (CQError* e) {
    e->AddToCallStack("CQSampleRateMgr::ComputeAll");
    throw;
  }
}

bool CQSampleRateMgr::ComputeIncremental() {
  if (state_ == kIdle) return false;
  try {
    Step();
  } catch (CQError* e) {
    state_ = kIdle;
    e->AddToCallStack("CQSampleRateMgr::ComputeIncremental");
    throw;
  }
  return true;
}

void CQSampleRateMgr::Step() {
  switch (state_) {
    case kStart:
      if (interpolate_ == nullptr) interpolate_ = new CQCInterpolate;
      if (decimate_ == nullptr) decimate_ = new CQCDecimate;
      if (resample_ == nullptr) resample_ = new CQCResampleCZT;
      if (freqShift_ == nullptr) freqShift_ = new CQFrequencyShift;
      if (timeShift_ == nullptr) timeShift_ = new CQTimeShiftCircular;
      if (lowPass_ == nullptr) lowPass_ = new CQCLowPassFIR;
      if (noise_ == nullptr) noise_ = new CQCNoiseTD;
      if (work_ == nullptr) work_ = new CQCArrayTD;
      if (input_ == nullptr) throw new CQError("Null pointer to input data.");
      work_->Set(input_);
      state_ = kConfigure;
      stage_ = 1;
      return;
    case kConfigure:
      ConfigureStep();
      return;
    case kRun:
      RunStep();
      return;
    case kFinish:
    default:
      state_ = kIdle;
      return;
  }
}

void CQSampleRateMgr::ConfigureStep() {
  switch (stage_) {
    case 1:
      // A refused rate fails the pass rather than running with an old one.
      if (s_.interpolationOn && !interpolate_->SetInterpolationRate(s_.interpolationRate))
        FailRate("interpolation", s_.interpolationRate);
      stage_ = 2;
      return;
    case 2:
      if (s_.decimationOn && !decimate_->SetDecimationRate(s_.decimationRate))
        FailRate("decimation", s_.decimationRate);
      stage_ = 3;
      return;
    case 3:
      if (s_.arbResampleOn) resample_->SetOutputParameters(s_.outputSampleRate, 0.0);
      stage_ = 4;
      return;
    case 4:
      if (s_.freqShiftOn) CheckFinite("frequency shift", s_.freqShift, "Hz");
      stage_ = 6;
      return;
    case 6:
      if (s_.timeShiftOn) timeShift_->SetDelay(s_.timeDelay);
      stage_ = 5;
      return;
    case 5:
      if (s_.filterOn) lowPass_->SetFilterType(s_.filterType);
      stage_ = 8;
      return;
    case 8:
      // Values read from a settings file are stored as read; these are the
      // ones no block checks itself. A gain beyond 200 dB turns every sample
      // into an infinity, a non-finite phase into NaN.
      if (s_.phaseAdjustOn) CheckFinite("phase", s_.phaseDeg, "degrees");
      if (s_.gainAdjustOn) CheckRange("gain", s_.gainDb, -200.0, 200.0, "dB");
      stage_ = 9;
      return;
    case 9:
      if (s_.noiseOn) {
        CheckRange("noise level", s_.noiseLevel, -300.0, 100.0, "dBm/Hz");
        noise_->SetNoiseLevel(s_.noiseLevel);
      }
      stage_ = 10;
      return;
    case 10:
    default:
      if (s_.samplesLimitOn && s_.maxSamples < 0) s_.samplesLimitOn = false;
      // The whole chain's sizes are known from the settings: refuse an
      // oversized result now, before the first step computes.
      CheckResultSizes(s_.doFreqShiftFirst ? 4 : 1, work_->GetNumPoints(), work_->GetSampleRate());
      state_ = kRun;
      stage_ = s_.doFreqShiftFirst ? 4 : 1;
      return;
  }
}

void CQSampleRateMgr::CheckResultSizes(int32_t stage, double n, double rate) const {
  const double input = n;
  const char* grownBy = nullptr;  // the last step that lengthened the waveform
  while (stage != 11) {
    switch (stage) {
      case 1:
        if (s_.interpolationOn && s_.interpolationRate > 0) {
          n *= s_.interpolationRate;
          rate *= s_.interpolationRate;
          if (n > kMaxWorkingSamples) FailSize("interpolation", n, "working limit", kMaxWorkingSamples);
          grownBy = "interpolation";
        }
        stage = 2;
        break;
      case 2:
        if (s_.decimationOn) {
          int by2 = 0, by3 = 0, by5 = 0, by7 = 0;
          if (CalcRateFactors(s_.decimationRate, &by2, &by3, &by5, &by7)) {
            const int factors[4][2] = {{7, by7}, {5, by5}, {3, by3}, {2, by2}};
            for (const auto& f : factors) {
              for (int i = 0; i < f[1]; ++i) {
                n = std::floor(n / f[0]);
                rate /= f[0];
              }
            }
          }
        }
        stage = 3;
        break;
      case 3:
        if (s_.arbResampleOn && rate > 0.0 && std::isfinite(s_.outputSampleRate) && s_.outputSampleRate > 0.0) {
          const double m = std::floor(s_.outputSampleRate * (n / rate) + 0.5);
          if (m > kMaxWorkingSamples) FailSize("arbitrary resampling", m, "working limit", kMaxWorkingSamples);
          if (m > n) grownBy = "arbitrary resampling";
          n = m;
          rate = s_.outputSampleRate;
        }
        stage = s_.doFreqShiftFirst ? 6 : 4;
        break;
      case 4:
        stage = s_.doFreqShiftFirst ? 1 : 6;
        break;
      case 6:
        stage = 7;
        break;
      case 7:
        stage = 5;
        break;
      case 5:
        stage = 8;
        break;
      case 8:
        stage = 9;
        break;
      case 9:
        stage = 10;
        break;
      case 10:
      default:
        if (s_.samplesLimitOn && s_.maxSamples >= 1 && n > s_.maxSamples) n = s_.maxSamples;
        stage = 11;
        break;
    }
  }
  // An input that is already too long without any lengthening step is the
  // transmitter's to refuse, with its own message.
  if (grownBy != nullptr && n > input && n > kMaxProcessedSamples)
    FailSize(grownBy, n, "transmit limit", kMaxProcessedSamples);
}

void CQSampleRateMgr::RunStep() {
  switch (stage_) {
    case 1:
      if (s_.interpolationOn) {
        CheckResultSizes(stage_, work_->GetNumPoints(), work_->GetSampleRate());
        interpolate_->Compute(work_);
        work_->Set(interpolate_->GetOutput());
      }
      stage_ = 2;
      return;
    case 2:
      if (s_.decimationOn) {
        decimate_->Decimate(work_);
        work_->Set(decimate_->GetOutput());
        work_->SetBandwidth(0.8 * work_->GetSampleRate());
      }
      stage_ = 3;
      return;
    case 3:
      if (s_.arbResampleOn) {
        CheckResultSizes(stage_, work_->GetNumPoints(), work_->GetSampleRate());
        resample_->SetInput(work_);
        resample_->Compute();
        work_->Set(resample_->GetOutput());
      }
      stage_ = s_.doFreqShiftFirst ? 6 : 4;
      return;
    case 4:
      if (s_.freqShiftOn) {
        freqShift_->Compute(work_, s_.freqShift);
        work_->Set(freqShift_->GetOutput());
      }
      stage_ = s_.doFreqShiftFirst ? 1 : 6;
      return;
    case 6:
      if (s_.timeShiftOn) {
        timeShift_->SetInput(work_);
        timeShift_->Compute();
        work_->Set(timeShift_->GetOutput());
      }
      stage_ = 7;
      return;
    case 7:
      if (s_.phaseAdjustOn && work_->GetNumPoints() > 0) {
        const float theta = s_.phaseDeg * 0.017453292f;
        const CQComplex rot{static_cast<float>(std::cos(static_cast<double>(theta))),
                            static_cast<float>(std::sin(static_cast<double>(theta)))};
        CQArrayMath::ArrayScalarMult(work_->GetDataPtr(), rot, work_->GetNumPoints());
      }
      stage_ = 5;
      return;
    case 5:
      if (s_.filterOn) {
        lowPass_->SetInput(work_);
        lowPass_->Compute();
        work_->Set(lowPass_->GetOutput());
      }
      stage_ = 8;
      return;
    case 8:
      if (s_.gainAdjustOn && work_->GetNumPoints() > 0) {
        const float g = static_cast<float>(std::pow(10.0, static_cast<double>(s_.gainDb) / 20.0));
        CQArrayMath::ArrayScalarMult(work_->GetDataPtr(), g, work_->GetNumPoints());
      }
      stage_ = 9;
      return;
    case 9:
      if (s_.noiseOn)
        noise_->AddNoise(work_->GetDataPtr(), work_->GetNumPoints(), work_->GetSampleRate(),
                         s_.noiseLevel);
      stage_ = 10;
      return;
    case 10:
      if (s_.samplesLimitOn) work_->LimitToNumPoints(s_.maxSamples);
      stage_ = 11;
      return;
    case 11:
    default:
      changed_ = false;
      state_ = kFinish;
      return;
  }
}
