// CQSampleRateMgrSettings: the plain record of one transmitter's processing
// chain (which steps are on and their parameters). It is what the user
// interface, the engine and the settings file exchange; CQSampleRateMgr keeps
// the same fields as its working copy.
//
// SaveSettings/RecallSettings talk to the settings store (CQAppSettings) of the
// worker framework, which stands above the core library. So these two are
// defined in workers/sample_rate_mgr_settings_io.cpp, part of lv_workers: a
// caller of them links lv_workers (the engine and the settings chain do
// anyway). The rest of the record lives in lv_core.
#pragma once

#include <cstdint>

class CQAppSettings;

class CQSampleRateMgrSettings {
 public:
  CQSampleRateMgrSettings() = default;

  // Copies all 21 fields; a null source copies nothing.
  void CopyFrom(const CQSampleRateMgrSettings* source);

  // Writes the 21 keys "<prefix>SampleRateMgr:<name>" in field order. A null
  // store does nothing; a null prefix counts as empty.
  void SaveSettings(CQAppSettings* store, const wchar_t* prefix) const;
  // Reads the keys back; a key that is missing or unreadable leaves its field
  // as it was. A null store does nothing. The record is not validated here:
  // the processing manager rejects bad values when it configures its blocks.
  void RecallSettings(CQAppSettings* store, const wchar_t* prefix);

  bool operator==(const CQSampleRateMgrSettings&) const = default;

  // Fields in the order of the settings file and the manager's working copy.
  bool doFreqShiftFirst = false;     // frequency shift before the rate changes
  bool interpolationOn = false;
  int32_t interpolationRate = 1;     // product of powers of 2, 3, 5 and 7
  bool decimationOn = false;
  int32_t decimationRate = 1;        // product of powers of 2, 3, 5 and 7
  bool arbResampleOn = false;
  double outputSampleRate = 0.0;     // samples/s, target of the arbitrary resampling
  bool freqShiftOn = false;
  double freqShift = 0.0;            // Hz, positive moves the spectrum up
  bool timeShiftOn = false;
  double timeDelay = 0.0;            // s, circular, fractions of a sample allowed
  bool phaseAdjustOn = false;
  float phaseDeg = 0.0f;             // degrees
  bool filterOn = false;
  int32_t filterType = 0;            // low-pass type: 2..20 and even 22..40
  bool gainAdjustOn = false;
  float gainDb = 0.0f;               // dB (amplitude factor 10^(dB/20))
  bool noiseOn = false;
  float noiseLevel = -100.0f;        // dBm/Hz
  bool samplesLimitOn = false;
  int32_t maxSamples = 100000;       // samples kept when the limit is on
};
