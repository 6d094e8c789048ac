#include "iqfiles/formats/generic_text.h"

#include <vector>

#include "core/array_math.h"
#include "core/error.h"
#include "iqfiles/formats/file_io.h"
#include "iqfiles/formats/text_reading.h"
#include "platform/text.h"

using lv_iq::Named;

namespace {

constexpr size_t kMaxLineChars = 1023;  // 1024 bytes with the terminating zero

int ValuesPerLine(int layout) {
  static constexpr int kValues[6] = {0, 1, 2, 2, 1, 3};
  return layout >= 1 && layout <= 5 ? kValues[layout] : 0;
}

bool HasTimeColumn(int layout) { return layout == 2 || layout == 5; }

// The next sample line of the layout, or false at the end of the file.
bool NextSampleLine(lv_iq::File& file, std::string& line, int need, double* v) {
  while (file.ReadLine(line, kMaxLineChars)) {
    if (lv_iq::ScanNumbers(line, v, need, true) == need) {
      return true;
    }
  }
  return false;
}

// Opens the file for a pass over its sample lines; returns the numbers per
// sample line of the layout.
int OpenSampleFile(lv_iq::File& file, const std::wstring& name, int layout) {
  const int need = ValuesPerLine(layout);
  if (need == 0) {
    throw new CQError("Programming error: Data format be set before calling ReadFileParams().");
  }
  if (!file.Open(lv::WideToUtf8(name).c_str(), "rb")) {
    throw new CQError("Error opening input file.");
  }
  return need;
}

}  // namespace

void CQGenericTxtIQInputFile::SetFileName(const wchar_t* name) {
  Named("CQGenericTxtIQInputFile::SetFileName", [&] {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    fileName_ = name;
    headerRead_ = false;
  });
}

void CQGenericTxtIQInputFile::ReadFileParams() {
  Named("CQGenericTxtIQInputFile::ReadFileParams", [&] {
    if (fileName_.empty()) {
      throw new CQError("Programming error: File name must be set before calling ReadFileParams().");
    }
    lv_iq::File file;
    const int need = OpenSampleFile(file, fileName_, layout);
    if (file.Size() < 0) {
      throw new CQError("Error determining total file size.");
    }
    std::string line;
    double v[3];
    int64_t lines = 0;
    double tFirst = 0.0, tLast = 0.0;
    while (NextSampleLine(file, line, need, v)) {
      if (lines == 0) {
        tFirst = v[0];
      }
      tLast = v[0];
      ++lines;
    }
    file.Close();
    const int64_t n = layout == 4 ? lines / 2 : lines;
    if (n == 0) {
      throw new CQError("No valid data found in input file.");
    }
    lv_iq::CheckSampleCount(n, -1, 1);
    double rate = fileSampleRate_;
    double first = 0.0;
    if (HasTimeColumn(layout)) {
      if (!(tLast > tFirst)) {
        throw new CQError("Invalid time values in input file.");
      }
      rate = static_cast<double>(n - 1) / (tLast - tFirst);
      first = tFirst;
    }
    numSamples_ = n;
    fileSampleRate_ = rate;
    fileCenterFreq_ = 0.0;
    infoRate_ = rate;
    firstTime_ = first;
    headerRead_ = true;
  });
}

void CQGenericTxtIQInputFile::GetFileInfo(CQFileInfo* info) {
  Named("CQGenericTxtIQInputFile::GetFileInfo", [&] {
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    if (!headerRead_) {
      ReadFileParams();
    }
    info->complex = layout >= 3;
    info->floatData = true;
    info->numPoints = numSamples_;
    info->sampleRate = fileSampleRate_;
    info->centerFreq = fileCenterFreq_;
    info->scale = 1.0f;
    info->bandwidth = infoRate_;
    info->firstSampleTime = CQDateTime();
    info->firstSampleTime.second = firstTime_;
    info->timeReference = info->firstSampleTime;
  });
}

void CQGenericTxtIQInputFile::ReadData() {
  Named("CQGenericTxtIQInputFile::ReadData", [&] {
    if (!headerRead_) {
      ReadFileParams();
    }
    lv_iq::File file;
    const int need = OpenSampleFile(file, fileName_, layout);
    sampleRate_ = fileSampleRate_;
    centerFreq_ = fileCenterFreq_;
    startDateTime_ = CQDateTime();
    startDateTime_.second = firstTime_;

    // The window in samples; a rate of 0 (no time column, none given) puts the
    // first returned sample at time 0.
    const double rate = fileSampleRate_ > 0.0 ? fileSampleRate_ : 1.0;
    const lv_iq::ReadWindow w = lv_iq::ComputeReadWindow(partialRead, start, count, numSamples_, rate, 0.0);
    Clear();
    if (w.readSomething) {
      SetSize(w.count);
      CQComplex* out = GetDataPtr();
      std::string line;
      double v[3];
      const int64_t first = w.first;
      const int64_t last = first + w.count;  // one past
      if (layout == 4) {
        // I values on sample lines [first, last), their Q values N lines later.
        const int64_t qFirst = numSamples_ + first;
        const int64_t qLast = numSamples_ + last;
        int64_t j = 0;
        for (; j < qLast; ++j) {
          if (!NextSampleLine(file, line, need, v)) {
            throw new CQError("Error reading data from file.");
          }
          const float x = static_cast<float>(v[0]) / intFullScale;
          if (j >= first && j < last) {
            out[j - first].re = x;
          } else if (j >= qFirst) {
            out[j - qFirst].im = x;
          }
        }
      } else {
        for (int64_t j = 0; j < last; ++j) {
          if (!NextSampleLine(file, line, need, v)) {
            throw new CQError("Error reading data from file.");
          }
          if (j < first) {
            continue;  // sample lines before the window
          }
          CQComplex& s = out[j - first];
          switch (layout) {
            case 1: s = CQComplex(static_cast<float>(v[0]), 0.0f); break;
            case 2: s = CQComplex(static_cast<float>(v[1]), 0.0f); break;
            case 3: s = CQComplex(static_cast<float>(v[0]), static_cast<float>(v[1])); break;
            default: s = CQComplex(static_cast<float>(v[1]), static_cast<float>(v[2])); break;
          }
        }
      }
    }
    file.Close();
    timeOrigin_ = partialRead && fileSampleRate_ > 0.0 ? w.time : 0.0;
    if (w.leading > 0) {
      PrependZeroData(w.leading);
    }
    if (w.trailing > 0) {
      AppendZeroData(w.trailing);
    }
    if (fileSampleRate_ <= 0.0) {
      timeOrigin_ = 0.0;
    }
  });
}

