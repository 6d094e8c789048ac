#include "iqfiles/formats/patgen_text.h"

#include "core/error.h"
#include "iqfiles/formats/file_io.h"
#include "iqfiles/formats/text_reading.h"
#include "platform/text.h"

using lv_iq::Named;

namespace {

constexpr size_t kMaxLineChars = 1023;  // 1024 bytes with the terminating zero


// A value line: its first number (anything after it is ignored).
bool ValueOf(const std::string& line, double& v) { return lv_iq::ScanNumbers(line, &v, 1, false) == 1; }

}  // namespace

void CQADIDpgTxtFile::SetFileName(const wchar_t* name) {
  Named("CQADIDpgTxtFile::SetFileName", [&] {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    fileName_ = name;
    headerRead_ = false;
  });
}

void CQADIDpgTxtFile::SetFileSampleRate(double rate) {
  Named("CQADIDpgTxtFile::SetFileSampleRate", [&] {
    if (!(rate > 0.0)) {
      throw new CQError("Sample rate being set to an invalid value.");
    }
    sampleRate_ = rate;
  });
}

void CQADIDpgTxtFile::ReadFileParams() {
  Named("CQADIDpgTxtFile::ReadFileParams", [&] {
    if (fileName_.empty()) {
      throw new CQError("Programming error: File name must be set before calling ReadFileParams().");
    }
    lv_iq::File file(lv::WideToUtf8(fileName_).c_str(), "rb");
    if (!file.IsOpen()) {
      throw new CQError("Error opening input file.");
    }
    std::string line;
    double v;
    int64_t values = 0;
    while (file.ReadLine(line, kMaxLineChars)) {
      values += ValueOf(line, v) ? 1 : 0;
    }
    file.Close();
    const int64_t n = values / 2;
    if (n == 0) {
      throw new CQError("No valid data found in input file.");
    }
    lv_iq::CheckSampleCount(n, -1, 1);
    numSamples_ = n;
    bandwidth_ = 0.8 * sampleRate_;
    headerRead_ = true;
  });
}

void CQADIDpgTxtFile::GetFileInfo(CQFileInfo* info) {
  Named("CQADIDpgTxtFile::GetFileInfo", [&] {
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    if (!headerRead_) {
      ReadFileParams();
    }
    info->complex = true;
    info->floatData = true;
    info->numPoints = numSamples_;
    info->sampleRate = sampleRate_;
    info->centerFreq = centerFreq_;
    info->scale = 1.0f;
    info->bandwidth = bandwidth_;
    info->firstSampleTime = CQDateTime();
    info->timeReference = CQDateTime();
  });
}

void CQADIDpgTxtFile::ReadData() {
  Named("CQADIDpgTxtFile::ReadData", [&] {
    if (!output_) {
      output_ = std::make_unique<CQCArrayTD>();
    }
    if (!headerRead_) {
      ReadFileParams();
    }
    lv_iq::File file(lv::WideToUtf8(fileName_).c_str(), "rb");
    if (!file.IsOpen()) {
      throw new CQError("Error opening input file.");
    }
    const int n = static_cast<int>(numSamples_);
    output_->SetSize(n);
    output_->SetSampleRate(sampleRate_);
    output_->SetCenterFreq(centerFreq_);
    output_->SetBandwidth(bandwidth_);
    output_->SetTimeOrigin(0.0);
    output_->StartDateTime() = CQDateTime();
    CQComplex* out = output_->GetDataPtr();
    std::string line;
    double v = 0.0;
    auto nextValue = [&](double& x) {
      while (file.ReadLine(line, kMaxLineChars)) {
        if (ValueOf(line, x)) return;
      }
      throw new CQError("Error reading data from file.");
    };
    if (layout == 2) {
      for (int k = 0; k < n; ++k) {
        nextValue(v);
        out[k].re = static_cast<float>(v) * valueScale;
      }
      for (int k = 0; k < n; ++k) {
        nextValue(v);
        out[k].im = static_cast<float>(v) * valueScale;
      }
    } else {
      int k = 0;
      while (k < n) {
        nextValue(v);
        const float i = static_cast<float>(v) * valueScale;
        // The Q must be on the very next line; otherwise the pair is abandoned.
        if (!file.ReadLine(line, kMaxLineChars)) {
          throw new CQError("Error reading data from file.");
        }
        double q;
        if (ValueOf(line, q)) {
          out[k++] = CQComplex(i, static_cast<float>(q) * valueScale);
        }
      }
    }
    file.Close();
  });
}
