// CQTDAttributes: what a time-domain sample array knows beside its samples:
// sample rate, time origin (seconds of the first sample), centre frequency,
// bandwidth and the start date and time of the first sample. The complex
// float (CQCArrayTD) and complex integer (CQCIArrayTD) arrays carry it.
#pragma once

#include "core/dates.h"

class CQTDAttributes {
 public:
  void SetSampleRate(double v) { sampleRate_ = v; }
  double GetSampleRate() const { return sampleRate_; }
  void SetTimeOrigin(double v) { timeOrigin_ = v; }
  double GetTimeOrigin() const { return timeOrigin_; }
  void SetCenterFreq(double v) { centerFreq_ = v; }
  double GetCenterFreq() const { return centerFreq_; }
  void SetBandwidth(double v) { bandwidth_ = v; }
  double GetBandwidth() const { return bandwidth_; }
  CQDateTime& StartDateTime() { return startDateTime_; }
  const CQDateTime& StartDateTime() const { return startDateTime_; }

 protected:
  double sampleRate_ = 0.0;
  double timeOrigin_ = 0.0;
  double centerFreq_ = 0.0;
  double bandwidth_ = 0.0;
  CQDateTime startDateTime_;
};
