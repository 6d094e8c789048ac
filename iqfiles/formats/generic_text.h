// Plain text files of one sample per line, with or without a time column, in
// one of five layouts chosen by the caller. The reader is itself the
// time-domain array it fills.
//
//   1  value            I := value, Q := 0
//   2  time value       I := value, Q := 0; rate from the time column
//   3  I Q              rate from the caller
//   4  value            first N lines the I values, next N the Q values, / 32767
//   5  time I Q         rate from the time column
//
// Commas count as white space; a line that does not give the layout's full
// set of numbers is not a sample line and is passed over.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/arrays/carray.h"
#include "iqfiles/formats/file_info.h"

class CQGenericTxtIQInputFile : public CQCArrayTD {
 public:
  CQGenericTxtIQInputFile() = default;

  void SetFileName(const wchar_t* name);
  void GetFileInfo(CQFileInfo* info);
  // Counts the sample lines and, with a time column, finds the rate and the first time.
  void ReadFileParams();
  // Fills the object's own samples: the whole file, or (partialRead) exactly
  // count samples from start, zeros outside the file.
  void ReadData();

  // The rate of files without a time column (the user's); replaced by the
  // time column's rate on a header read of layouts 2 and 5.
  void SetFileSampleRate(double rate) { fileSampleRate_ = rate; }
  double GetFileSampleRate() const { return fileSampleRate_; }
  double GetFileCenterFreq() const { return fileCenterFreq_; }
  int64_t GetFileNumPoints() const { return numSamples_; }
  double GetFirstTime() const { return firstTime_; }
  const std::wstring& GetFileName() const { return fileName_; }

  bool partialRead = false;
  int32_t start = 0;
  int32_t count = 0;
  int32_t layout = 0;  // 1 to 5
  float intFullScale = 32767.0f;

 private:
  bool headerRead_ = false;
  int64_t numSamples_ = 0;
  double fileSampleRate_ = 0.0;
  double fileCenterFreq_ = 0.0;
  double infoRate_ = 0.0;
  double firstTime_ = 0.0;
  std::wstring fileName_;
};
