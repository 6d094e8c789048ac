// Xdat recordings: an XML header (".xhdr"), 16-bit little-endian I/Q samples
// (".xdat") and optionally a marker file (".xmrk"), all with one base name.
// CQReadXdatFile serves partial reads of any window; the data file stays open
// between reads until the header is read again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "iqfiles/formats/file_info.h"
#include "iqfiles/formats/file_io.h"

// One marker of a ".xmrk" file; -1 marks a number the line did not carry.
struct CQXdatMarker {
  int32_t markerNumber = -1;
  int64_t absoluteSampleNumber = -1;
  int64_t fileSampleNumber = -1;
  int64_t pulseStartSample = -1;
  int64_t pulseEndSample = -1;
  CQDateTime timeStamp;
  int32_t irig = 0;
};

class CQReadXdatFile {
 public:
  CQReadXdatFile() = default;
  CQReadXdatFile(const CQReadXdatFile&) = delete;
  CQReadXdatFile& operator=(const CQReadXdatFile&) = delete;

  void SetFileName(const wchar_t* name);
  void ReadHeader();
  void GetFileInfo(CQFileInfo* info);
  // Opens the data file and keeps it open; checks that it holds the header's
  // number of samples.
  void OpenDataFile();
  void CloseDataFile() { dataFile_.Close(); }
  // The first marker of the marker file when it is marker 0 (format 1, XML, only).
  bool ReadFirstMarker(CQXdatMarker* marker, int format);
  // Reads the requested window (or the whole file) into the output array.
  void ReadData();

  // The name with one extension cut when its file-name part contains ".XDAT",
  // ".XHDR" or ".XMRK".
  static std::wstring MakeBaseFileName(const wchar_t* name);
  static std::wstring MakeHeaderFileName(const wchar_t* name);
  static std::wstring MakeDataFileName(const wchar_t* name);
  static std::wstring MakeMarkerFileName(const wchar_t* name);
  static bool IsXdatFileName(const wchar_t* name);

  bool partialRead = false;
  bool useFirstMarker = false;
  int32_t count = 0;
  int64_t start = 0;

  int32_t GetMarkerCount() const { return markerCount_; }
  int32_t GetMarkerFormat() const { return markerFormat_; }
  int32_t GetResolution() const { return resolution_; }
  int64_t GetNumPoints() const { return numPoints_; }
  float GetScaleFactor() const { return scaleFactor_; }
  float GetAttenuation() const { return attenuation_; }
  double GetSampleRate() const { return sampleRate_; }
  double GetCenterFreq() const { return centerFreq_; }
  double GetBandwidth() const { return bandwidth_; }
  const CQDateTime& GetStartTime() const { return startTime_; }
  const CQDateTime& GetCalibrationTime() const { return calibrationTime_; }
  const std::wstring& GetBaseName() const { return baseName_; }
  CQCArrayTD* GetOutput() { return output_.get(); }

 private:
  void Parse();

  int32_t markerCount_ = 0;
  int32_t resolution_ = 16;
  int64_t numPoints_ = 0;
  float scaleFactor_ = 0.0f;
  float attenuation_ = 0.0f;
  double sampleRate_ = 0.0;
  double centerFreq_ = 0.0;
  double bandwidth_ = 0.0;
  int32_t markerFormat_ = 0;
  CQDateTime startTime_;
  CQDateTime calibrationTime_;
  lv_iq::File dataFile_;
  lv_iq::WorkBuffers buffers_;
  std::unique_ptr<CQCArrayTD> output_;
  std::wstring baseName_;
};
