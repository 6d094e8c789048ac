// Vector-signal-analyser text exports: a header of key-and-value lines
// (XDelta, XStart, InputCenter, FreqValidMax, FreqValidMin, ...) followed by
// one "I Q" line per sample. CQAgilentVSATxtFile reads values separated by
// white space; CQADIVSATxtFile also takes commas as separators, scales large
// integer data down by 1/32767, has a rate multiplier, and writes such files.
#pragma once

#include <cstdint>
#include <memory>

#include "iqfiles/formats/file_info.h"
#include "iqfiles/formats/file_name.h"

namespace lv_iq {
struct VsaFlavour;
}

// The reading machinery both classes share.
class CQVSATxtReader {
 public:
  CQVSATxtReader(const CQVSATxtReader&) = delete;
  CQVSATxtReader& operator=(const CQVSATxtReader&) = delete;
  ~CQVSATxtReader();

  void SetFileName(const wchar_t* name);
  // name: the reader's stored UTF-8 name (GetFileNameUtf8), tested for null.
  void GetFileInfo(const char* name, CQFileInfo* info);
  // Reads the header keys and counts the data lines.
  void ReadHeader();
  // Reads all samples into the output array.
  void ReadData();

  const char* GetFileNameUtf8() const { return fileName_ ? fileName_->Utf8() : nullptr; }
  int64_t GetNumPoints() const { return numSamples_; }
  double GetSampleRate() const { return sampleRate_; }
  double GetBandwidth() const { return bandwidth_; }
  double GetCenterFreq() const { return centerFreq_; }
  double GetTimeOrigin() const { return timeOrigin_; }
  CQCArrayTD* GetOutput() { return output_.get(); }

 protected:
  explicit CQVSATxtReader(const lv_iq::VsaFlavour& flavour);

  const lv_iq::VsaFlavour& flavour_;
  bool headerRead_ = false;
  int64_t numSamples_ = 0;
  double sampleRate_ = 0.0;
  double bandwidth_ = 0.0;
  double centerFreq_ = 0.0;
  double timeOrigin_ = 0.0;
  double rateMultiplier_ = 1.0;
  std::unique_ptr<CQFileName> fileName_;
  std::unique_ptr<CQCArrayTD> output_;
};

class CQAgilentVSATxtFile : public CQVSATxtReader {
 public:
  CQAgilentVSATxtFile();
};

class CQADIVSATxtFile : public CQVSATxtReader {
 public:
  CQADIVSATxtFile();
  // 1.0 as created; the sample rate is this multiplier / XDelta.
  void SetRateMultiplier(double m) { rateMultiplier_ = m; }
  double GetRateMultiplier() const { return rateMultiplier_; }
  // Writes the array as a new file under the stored name; the file appears
  // only when everything was written.
  void WriteToFile(const CQCArrayTD* array);
};
