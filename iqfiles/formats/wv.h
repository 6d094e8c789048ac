// ".wv": one waveform for a signal generator in one file: a text header of
// tags in braces, then in the same file a block of 16-bit I/Q pairs with
// full scale +-32767.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "iqfiles/formats/file_info.h"
#include "iqfiles/formats/file_io.h"

class CQReadRSWvFile {
 public:
  void SetFileName(const wchar_t* name);
  void GetFileInfo(CQFileInfo* info);
  void ReadData();
  static bool ParseDate(const char* text, CQDateTime* result);

  bool partialRead = false;
  int64_t start = 0;
  int32_t count = 0;

  int64_t GetNumPoints() const { return numPoints_; }
  double GetClock() const { return clock_; }
  double GetCenterFreq() const { return centerFreq_; }
  const CQDateTime* GetStartDate() const { return date_.get(); }
  CQCArrayTD* GetOutput() { return output_.get(); }
  int32_t GetDataOffset() const { return dataOffset_; }

 private:
  int32_t dataOffset_ = 0;
  int64_t numPoints_ = 0;
  double clock_ = 0.0;
  double centerFreq_ = 0.0;
  double bandwidth_ = 0.0;
  double timeOrigin_ = 0.0;
  std::unique_ptr<CQDateTime> date_;
  std::optional<std::wstring> name_;
  lv_iq::WorkBuffers buffers_;
  std::unique_ptr<CQCArrayTD> output_;
};

class CQWriteRSWvFile {
 public:
  void SetFileName(const wchar_t* name);
  // Creates the file (a temporary until WriteData finishes it) and writes the header tags.
  void WriteHeader();
  // Appends the samples, scaled so that the largest I or Q is 32767, and
  // finishes the file. The caller's array is not changed.
  void WriteData(const CQCArrayTD* array);
  static bool IsWvFileName(const wchar_t* name);

  double clock = 0.0;
  double centerFreq = 0.0;
  std::unique_ptr<CQDateTime> startDate;  // absent: now

 private:
  std::optional<std::wstring> name_;
  std::string header_;
  bool headerWritten_ = false;
  lv_iq::WorkBuffers buffers_;
};
