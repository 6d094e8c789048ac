// Adjacent-channel power: the power of a centre channel, a lower and an upper
// adjacent channel, optionally a second adjacent pair and one extra channel,
// measured on an averaged power spectrum (watts per bin), with each channel's
// ratio to the centre power, all averaged over successive measurements.
//
// CQACPRMeasBands holds the channel layout, the averaging state and the
// results; CQACPRMeasurement computes them on its own copy of one spectrum.
#pragma once

class CQFArrayFD;

class CQACPRMeasBands {
 public:
  static constexpr int kNameSize = 64;  // characters, terminator included

  CQACPRMeasBands() = default;

  // Clears the results and the averaging state; the layout stays.
  void ResetResults();
  // Copies every field, results and averaging state included; null: nothing.
  void Set(const CQACPRMeasBands* other);
  // Stores at most 63 characters of the name (a longer one is cut); null or
  // empty clears it.
  void SetName(const wchar_t* name);
  const wchar_t* GetName() const { return name; }

  // Layout.
  bool reserved = false;                  // copied, not used
  double centerOffset = 0.0;              // Hz from the spectrum's middle
  double centerBW = 1000000.0;            // Hz
  bool adjRelToCenter = true;             // adjacent and extra channels sit around the centre channel
  double adjacentOffset = 1200000.0;      // Hz
  double adjacentBW = 1000000.0;          // Hz
  bool adjacent2On = false;
  double adjacent2Offset = 2400000.0;     // Hz
  double adjacent2BW = 1000000.0;         // Hz
  bool extraOn = false;
  double extraOffset = 2000000.0;         // Hz, signed
  double extraBW = 100000.0;              // Hz
  // Averaging (the computation averages whatever avgOn says; factor 1 = none).
  bool avgOn = false;
  int avgFactor = 1;
  int numAvgs = 0;
  int reservedWord = 0;                   // copied, not used
  // Results, watts and linear ratios to the centre power.
  bool resultsValid = false;
  float centerPower = 0.0f;
  float centerPowerAvg = 0.0f;
  float lowerPower = 0.0f, upperPower = 0.0f;
  float lower2Power = 0.0f, upper2Power = 0.0f;
  float extraPower = 0.0f;
  float lowerPowerAvg = 0.0f, upperPowerAvg = 0.0f;
  float lower2PowerAvg = 0.0f, upper2PowerAvg = 0.0f;
  float extraPowerAvg = 0.0f;
  float lowerRatioAvg = 0.0f, upperRatioAvg = 0.0f;
  float lower2RatioAvg = 0.0f, upper2RatioAvg = 0.0f;
  float extraRatioAvg = 0.0f;
  wchar_t name[kNameSize] = {};
};

class CQACPRMeasurement {
 public:
  CQACPRMeasurement() = default;
  ~CQACPRMeasurement();
  CQACPRMeasurement(const CQACPRMeasurement&) = delete;
  CQACPRMeasurement& operator=(const CQACPRMeasurement&) = delete;

  // The window's noise bandwidth in Hz (CQAvgSpectrum::GetNBW); 0 means not set.
  void SetNoiseBW(double nbw) { noiseBW_ = nbw; }
  // Copies the spectrum (watts per bin); null copies nothing.
  void SetSpectrum(const CQFArrayFD* spectrum);
  // The record is not owned.
  void SetBands(CQACPRMeasBands* bands) { bands_ = bands; }
  // Measures every channel that is on into the bands record. A centre power
  // of 0 gives ratios of 0.
  void Compute();

 private:
  double noiseBW_ = 0.0;
  CQACPRMeasBands* bands_ = nullptr;
  CQFArrayFD* spectrum_ = nullptr;
};
