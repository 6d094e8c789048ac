// Analyser recordings kept as a ".bin" data file of 16-bit little-endian I/Q
// pairs with a ".bin.txt" text header (scale, sample spacing, frequencies).
// CQAgilentBinFile reads the pair; it writes nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "iqfiles/formats/file_info.h"
#include "iqfiles/formats/file_io.h"

class CQAgilentBinFile {
 public:
  CQAgilentBinFile() = default;
  CQAgilentBinFile(const CQAgilentBinFile&) = delete;
  CQAgilentBinFile& operator=(const CQAgilentBinFile&) = delete;

  // Stores the name with its ".bin" or ".bin.txt" extension cut off.
  void SetFileName(const wchar_t* name);
  // Reads the header and measures the data file, then describes the pair.
  void GetFileInfo(CQFileInfo* info);
  void ReadHeader();
  void ReadNumDataPoints();
  // Reads the whole file, or (partialRead) exactly count samples from start
  // with zeros outside the file, into the output array.
  void ReadData();

  // The name without one extension when its file-name part contains ".BIN"
  // (".BIN.TXT" included); otherwise unchanged.
  static std::wstring MakeBaseFileName(const wchar_t* name);
  // The name with up to two extensions cut as above, plus ".bin.txt" or ".bin":
  // "x.bin", "x.bin.txt" and the stored base "x.bin" of the latter all give "x".
  static std::wstring MakeHeaderFileName(const wchar_t* name);
  static std::wstring MakeDataFileName(const wchar_t* name);
  static bool IsBinFileName(const wchar_t* name);

  bool partialRead = false;
  int32_t count = 0;
  int64_t start = 0;

  const std::wstring& GetBaseName() const { return baseName_; }
  int64_t GetNumPoints() const { return numPoints_; }
  float GetYScale() const { return yScale_; }
  double GetSampleRate() const { return sampleRate_; }
  double GetCenterFreq() const { return centerFreq_; }
  double GetBandwidth() const { return bandwidth_; }
  double GetTimeOrigin() const { return timeOrigin_; }
  // Created by the first ReadData; owned by the reader.
  CQCArrayTD* GetOutput() { return output_.get(); }

 private:
  int64_t numPoints_ = 0;
  float yScale_ = 0.0f;
  double sampleRate_ = 0.0;
  double centerFreq_ = 0.0;
  double bandwidth_ = 0.0;
  double timeOrigin_ = 0.0;
  std::wstring baseName_;
  lv_iq::WorkBuffers buffers_;
  std::unique_ptr<CQCArrayTD> output_;
};
