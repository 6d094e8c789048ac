// IQ recordings kept as a pair of files with one base name: a text header and
// a data file of 16-bit little-endian I/Q pairs. CQRSWvdhFile reads and writes
// the ".wvh"/".wvd" pair of vector signal generators; CQSIQFile reads the
// ".siqh"/".siqd" pair of real-time spectrum analysers. Both share the
// reading machinery of CQIntPairFile.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "iqfiles/formats/file_info.h"
#include "iqfiles/formats/file_io.h"

namespace lv_iq {
struct PairFormat;
}

class CQIntPairFile {
 public:
  CQIntPairFile(const CQIntPairFile&) = delete;
  CQIntPairFile& operator=(const CQIntPairFile&) = delete;
  ~CQIntPairFile();

  void SetFileName(const wchar_t* name);
  void SetTimeOrigin(const CQDateTime* time);
  void OpenDataFile();
  void CloseDataFile();
  void ReadData();
  // The base name (without extension); empty when none is set.
  const std::wstring& GetBaseName() const { return baseName_; }
  // name with the pair's extension cut off (when it has one).
  std::wstring MakeBaseFileName(const wchar_t* name) const;
  std::wstring MakeHeaderFileName(const wchar_t* name) const;
  std::wstring MakeDataFileName(const wchar_t* name) const;

  bool partialRead = false;
  int64_t start = 0;
  int32_t count = 0;

  int64_t GetNumPoints() const { return numPoints_; }
  float GetScale() const { return scale_; }
  double GetSampleRate() const { return sampleRate_; }
  double GetCenterFreq() const { return centerFreq_; }
  double GetBandwidth() const { return bandwidth_; }
  const CQDateTime* GetTimeOriginDate() const { return date_.get(); }
  CQCArrayTD* GetOutput() { return output_.get(); }

  void SetScale(float s) { scale_ = s; }
  void SetSampleRate(double r) { sampleRate_ = r; }
  void SetCenterFreq(double f) { centerFreq_ = f; }
  void SetBandwidth(double b) { bandwidth_ = b; }

 protected:
  explicit CQIntPairFile(const lv_iq::PairFormat& format);
  // Stores what a header read found and measures the data file.
  void StoreHeader(CQFileInfo* info, float scale, double rate, double centre, double bandwidth,
                   const std::optional<CQDateTime>& date);
  std::string Utf8Of(const std::wstring& name) const;
  // Opens the data file the description goes with (closing any earlier one)
  // and returns its number of samples; the reads that follow use this handle.
  int64_t OpenDescribedDataFile(const char* openError);

  const lv_iq::PairFormat& format_;
  int64_t numPoints_ = 0;
  float scale_ = 0.0f;
  double sampleRate_ = 0.0;
  double centerFreq_ = 0.0;
  double bandwidth_ = 0.0;
  double timeOrigin_ = 0.0;
  std::unique_ptr<CQDateTime> date_;
  std::wstring baseName_;
  lv_iq::File dataFile_;
  lv_iq::WorkBuffers buffers_;
  std::unique_ptr<CQCArrayTD> output_;
};

class CQRSWvdhFile : public CQIntPairFile {
 public:
  CQRSWvdhFile();
  ~CQRSWvdhFile();

  void GetFileInfo(CQFileInfo* info);
  void CreateDataFile();
  void WriteHeader();
  void WriteData(const CQCArrayTD* array);
  // Commits the written data file (the destructor does it too).
  void FinishDataFile();

  static bool IsWvdhFileName(const wchar_t* name);
  static float MakeScaleFromPeak(float peak);
  static float ScaleFromLevel(float levelDbm);
  static bool ParseDate(const char* line, CQDateTime* result);

 private:
  std::unique_ptr<lv_iq::AtomicFileWriter> writer_;
};

class CQSIQFile : public CQIntPairFile {
 public:
  CQSIQFile();
  void GetFileInfo(CQFileInfo* info);
  static bool IsSIQFileName(const wchar_t* name);
  static bool ParseDate(const char* line, CQDateTime* result);
};
