// ".iqtxt": the system's own text waveform format: "IQTxt v1", NumSamples,
// SampleRate and CenterFreq lines, then one "I Q" line per sample.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "iqfiles/formats/file_info.h"

class CLumvardTxtFile {
 public:
  void SetFileName(const wchar_t* name);
  const char* GetFileNameUtf8() const { return name_ ? name_->c_str() : nullptr; }
  void GetFileInfo(const char* name, CQFileInfo* info);
  void ReadFileParams(const char* name);
  void WriteToFile(const CQCArrayTD* array);
  static bool IsIQTxtFileName(const wchar_t* name);

  int64_t GetNumPoints() const { return numPoints_; }
  double GetSampleRate() const { return sampleRate_; }
  double GetCenterFreq() const { return centerFreq_; }

 private:
  bool headerRead_ = false;
  int64_t numPoints_ = 0;
  double sampleRate_ = 0.0;
  double centerFreq_ = 0.0;
  std::optional<std::string> name_;
};
