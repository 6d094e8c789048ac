// ".iqbin": the system's own binary waveform format. A 32-byte header
// (version, count, sample rate, time of the first sample, centre frequency),
// in version 2 a 1024-byte extra whose first 96 bytes carry the modulation
// information, then the samples as interleaved float pairs.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "iqfiles/formats/file_info.h"
#include "iqfiles/formats/file_io.h"
#include "iqfiles/formats/file_name.h"

// The 96-byte modulation-information block, kept byte for byte.
class CQModFileInfo {
 public:
  static constexpr size_t kSize = 96;
  CQModFileInfo() { Reset(); }
  // The initial state: 1 in the first word, 0 everywhere else.
  void Reset();
  // Copies the common fields and the fields of the source's kind.
  void CopyFrom(const CQModFileInfo* source);
  void CopyFromBytes(const uint8_t* bytes);
  int32_t Kind() const;
  const uint8_t* Bytes() const { return bytes_.data(); }
  uint8_t* Bytes() { return bytes_.data(); }

 private:
  std::array<uint8_t, kSize> bytes_{};
};

class CLumvardBinFile {
 public:
  CLumvardBinFile() = default;
  CLumvardBinFile(const CLumvardBinFile&) = delete;
  CLumvardBinFile& operator=(const CLumvardBinFile&) = delete;

  void SetFileName(const wchar_t* name);
  const char* GetFileNameUtf8() const { return name_.Utf8(); }
  void GetFileInfo(const char* name, CQFileInfo* info);
  void ReadFromFile();
  void WriteToFile(const CQCArrayTD* array);
  static bool IsIQBinFileName(const wchar_t* name);

  // Window of a partial read.
  bool partialRead = false;
  int64_t start = 0;
  int32_t count = 0;

  int64_t GetNumPoints() const { return numPoints_; }
  double GetSampleRate() const { return sampleRate_; }
  double GetCenterFreq() const { return centerFreq_; }
  double GetTimeOrigin() const { return timeOrigin_; }
  CQCArrayTD* GetOutput() { return output_.get(); }
  const CQModFileInfo* GetModInfo() const { return modInfo_.get(); }
  void SetModInfo(const CQModFileInfo& info);

 private:
  bool headerRead_ = false;
  int32_t version_ = 0;
  int64_t numPoints_ = 0;
  double sampleRate_ = 0.0;
  double centerFreq_ = 0.0;
  double timeOrigin_ = 0.0;
  CQFileName name_;
  std::unique_ptr<CQModFileInfo> modInfo_;
  std::unique_ptr<CQCArrayTD> output_;
};
