#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/arrays/carray.h"
#include "iqfiles/formats/file_info.h"

// Text files for a digital pattern generator: one number per line, I and Q
// lines alternating (layout 1) or all I values then all Q values (layout 2).
// They carry no rate or centre frequency: the caller sets the user's.
class CQADIDpgTxtFile {
 public:
  CQADIDpgTxtFile() = default;
  CQADIDpgTxtFile(const CQADIDpgTxtFile&) = delete;
  CQADIDpgTxtFile& operator=(const CQADIDpgTxtFile&) = delete;

  void SetFileName(const wchar_t* name);
  // Refuses a rate of 0 or below.
  void SetFileSampleRate(double rate);
  void SetFileCenterFreq(double freq) { centerFreq_ = freq; }
  void GetFileInfo(CQFileInfo* info);
  void ReadFileParams();
  // Reads all samples into the output array.
  void ReadData();

  int64_t GetNumPoints() const { return numSamples_; }
  double GetSampleRate() const { return sampleRate_; }
  double GetCenterFreq() const { return centerFreq_; }
  double GetBandwidth() const { return bandwidth_; }
  CQCArrayTD* GetOutput() { return output_.get(); }

  int32_t layout = 1;
  float valueScale = 1.0f;

 private:
  bool headerRead_ = false;
  int64_t numSamples_ = 0;
  double sampleRate_ = 0.0;
  double centerFreq_ = 0.0;
  double bandwidth_ = 0.0;
  std::wstring fileName_;
  std::unique_ptr<CQCArrayTD> output_;
};
