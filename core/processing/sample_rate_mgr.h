// CQSampleRateMgr: one transmitter's processing chain, a resumable state
// machine. ComputeIncremental does one step per call; ComputeAll runs a whole
// pass: copy the input, configure the blocks, then interpolate, decimate,
// resample, frequency shift (or the shift first, before the rate changes),
// time shift, phase, low-pass, gain, noise, sample limit. The blocks are made
// on the first pass and kept, so their tables (filter taps, chirp-z tables)
// survive while parameters stay.
#pragma once

#include <cstdint>

#include "core/arrays/carray.h"
#include "core/processing/sample_rate_mgr_settings.h"

class CQCInterpolate;
class CQCDecimate;
class CQCResampleCZT;
class CQFrequencyShift;
class CQTimeShiftCircular;
class CQCLowPassFIR;
class CQCNoiseTD;

// The longest result a pass may produce: what one transmitter can play.
inline constexpr int32_t kMaxProcessedSamples = 0x200000;
// The longest waveform a step may hand on to the next one (a later decimation
// or sample limit may still shorten it); beyond it the pass is refused before
// the step computes, not after minutes of work and gigabytes of memory.
inline constexpr int32_t kMaxWorkingSamples = 0x1000000;

class CQSampleRateMgr {
 public:
  enum State : int32_t { kStart = 1, kConfigure = 2, kRun = 3, kFinish = 4, kIdle = 5 };

  CQSampleRateMgr();
  ~CQSampleRateMgr();
  CQSampleRateMgr(const CQSampleRateMgr&) = delete;
  CQSampleRateMgr& operator=(const CQSampleRateMgr&) = delete;

  // Takes each field that differs from the working copy (beyond its tolerance:
  // 1 Hz for the output rate and frequency shift, 1e-12 s for the delay, 0.01
  // for phase, gain and noise level) and then marks the manager changed.
  void SetSettings(const CQSampleRateMgrSettings& settings);
  // The working copy, in the manager's own record (same object on every call).
  CQSampleRateMgrSettings* GetSettings();

  // The array to process (not owned, never modified); set before ComputeAll.
  void SetInput(const CQCArrayTD* input) { input_ = input; }
  // The result of the last pass (owned by the manager); null before the first.
  CQCArrayTD* GetOutput() { return work_; }

  bool IsChanged() const { return changed_; }
  void SetChanged(bool changed) { changed_ = changed; }
  int32_t GetState() const { return state_; }

  // Runs a whole pass. A CQError leaves the manager idle (ready to rerun from
  // the copy of the input) and the changed flag as it was.
  bool ComputeAll();
  // One step; true while more steps follow.
  bool ComputeIncremental();

 private:
  void Step();
  void ConfigureStep();
  void RunStep();
  // Refuses the pass when the steps still to run, started from n samples at
  // the given rate in the given run stage, would produce a waveform over
  // the limits (each step's result over kMaxWorkingSamples, the final result
  // over kMaxProcessedSamples). Only counts: nothing is computed.
  void CheckResultSizes(int32_t stage, double n, double rate) const;

  CQSampleRateMgrSettings s_;                  // working copy
  CQSampleRateMgrSettings* record_ = nullptr;  // what GetSettings fills
  bool changed_ = true;
  int32_t state_ = kIdle;
  int32_t stage_ = 0;
  const CQCArrayTD* input_ = nullptr;
  CQCArrayTD* work_ = nullptr;
  CQCInterpolate* interpolate_ = nullptr;
  CQCDecimate* decimate_ = nullptr;
  CQCResampleCZT* resample_ = nullptr;
  CQFrequencyShift* freqShift_ = nullptr;
  CQTimeShiftCircular* timeShift_ = nullptr;
  CQCLowPassFIR* lowPass_ = nullptr;
  CQCNoiseTD* noise_ = nullptr;
};
