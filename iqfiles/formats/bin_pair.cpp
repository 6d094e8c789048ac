#include "iqfiles/formats/bin_pair.h"

#include <cmath>

#include "core/array_math.h"
#include "core/error.h"
#include "iqfiles/formats/file_name.h"
#include "iqfiles/formats/text_reading.h"
#include "platform/text.h"

using lv_iq::Named;

std::wstring CQAgilentBinFile::MakeBaseFileName(const wchar_t* name) {
  return Named("CQAgilentBinFile::MakeBaseFileName", [&] {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    std::wstring n(name);
    if (IsBinFileName(name)) {
      const size_t dot = n.rfind(L'.');
      if (dot != std::wstring::npos) {
        n.erase(dot);
      }
    }
    return n;
  });
}

std::wstring CQAgilentBinFile::MakeHeaderFileName(const wchar_t* name) {
  return Named("CQAgilentBinFile::MakeHeaderFileName", [&] {
    // Twice: a stored base of "x.bin.txt" is "x.bin", and both lead to "x".
    return MakeBaseFileName(MakeBaseFileName(name).c_str()) + L".bin.txt";
  });
}

std::wstring CQAgilentBinFile::MakeDataFileName(const wchar_t* name) {
  return Named("CQAgilentBinFile::MakeDataFileName", [&] {
    return MakeBaseFileName(MakeBaseFileName(name).c_str()) + L".bin";
  });
}

bool CQAgilentBinFile::IsBinFileName(const wchar_t* name) {
  // ".BIN.TXT" contains ".BIN": one test covers both.
  return FileNameContains(name, {L".BIN"});
}

void CQAgilentBinFile::SetFileName(const wchar_t* name) {
  Named("CQAgilentBinFile::SetFileName", [&] {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    baseName_ = MakeBaseFileName(name);
  });
}

void CQAgilentBinFile::ReadHeader() {
  Named("CQAgilentBinFile::ReadHeader", [&] {
    if (baseName_.size() < 2) {
      throw new CQError("Programming error: file name must be set before calling ReadHeader().");
    }
    const std::string path = lv::WideToUtf8(MakeHeaderFileName(baseName_.c_str()));
    lv_iq::File file(path.c_str(), "rb");
    if (!file.IsOpen()) {
      throw new CQError("Error opening Agilent bin header file.");
    }
    std::optional<double> yScale, xDelta, centre, validMin, validMax, xStart;
    std::string line;
    while (file.ReadLine(line, 127)) {
      if (!yScale) yScale = lv_iq::NumberAfterKey(line, "YScale");
      if (!xDelta) xDelta = lv_iq::NumberAfterKey(line, "XDelta");
      if (!centre) centre = lv_iq::NumberAfterKey(line, "InputCenter");
      if (!validMin) validMin = lv_iq::NumberAfterKey(line, "FreqValidMin");
      if (!validMax) validMax = lv_iq::NumberAfterKey(line, "FreqValidMax");
      if (!xStart) xStart = lv_iq::NumberAfterKey(line, "XStart");
      if (yScale && xDelta && centre && validMin && validMax && xStart) {
        break;
      }
    }
    file.Close();
    if (!xDelta) {
      throw new CQError("The parameter \"XDelta\" was not found in the Agilent bin file.");
    }
    if (!yScale) {
      throw new CQError("The parameter \"YScale\" was not found in the Agilent bin file.");
    }
    // A zero step or scale would only fail the read as a programming error; a
    // step whose rate is not finite and numbers that are not finite are refused.
    const double rate = *xDelta != 0.0 ? 1.0 / *xDelta : 0.0;
    if (!std::isfinite(*xDelta) || !std::isfinite(rate) || rate == 0.0) lv_iq::RefuseHeaderField(path, "XDelta");
    if (!std::isfinite(static_cast<float>(*yScale)) || static_cast<float>(*yScale) == 0.0f) {
      lv_iq::RefuseHeaderField(path, "YScale");
    }
    if (centre && !std::isfinite(*centre)) lv_iq::RefuseHeaderField(path, "InputCenter");
    if (xStart && !std::isfinite(*xStart)) lv_iq::RefuseHeaderField(path, "XStart");
    if (validMax && !std::isfinite(*validMax)) lv_iq::RefuseHeaderField(path, "FreqValidMax");
    if (validMin && !std::isfinite(*validMin)) lv_iq::RefuseHeaderField(path, "FreqValidMin");
    double bandwidth = rate;
    if (validMin && validMax) {
      const double band = std::min(std::fabs(rate), std::fabs(*validMax - *validMin));
      if (band != 0.0) {
        bandwidth = band;
      }
    }
    // The sign of every field is kept: a negative scale inverts the samples.
    yScale_ = static_cast<float>(*yScale);
    sampleRate_ = rate;
    centerFreq_ = centre.value_or(0.0);
    bandwidth_ = bandwidth;
    timeOrigin_ = xStart ? -*xStart : 0.0;
  });
}

void CQAgilentBinFile::ReadNumDataPoints() {
  Named("CQAgilentBinFile::ReadNumDataPoints", [&] {
    if (baseName_.size() < 2) {
      throw new CQError("Programming error: file name must be set before calling ReadNumDataPoints().");
    }
    const std::string path = lv::WideToUtf8(MakeDataFileName(baseName_.c_str()));
    lv_iq::File file(path.c_str(), "rb");
    if (!file.IsOpen()) {
      throw new CQError("Error opening Agilent bin data file.");
    }
    const int64_t size = file.Size();
    file.Close();
    const int64_t n = size < 0 ? 0 : size / 4;
    lv_iq::CheckSampleCount(n, size, 4);
    numPoints_ = n;
  });
}

void CQAgilentBinFile::GetFileInfo(CQFileInfo* info) {
  Named("CQAgilentBinFile::GetFileInfo", [&] {
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    ReadHeader();
    ReadNumDataPoints();
    info->complex = true;
    info->floatData = false;
    info->numPoints = numPoints_;
    info->sampleRate = sampleRate_;
    info->centerFreq = centerFreq_;
    info->scale = yScale_;
    info->bandwidth = bandwidth_;
    info->timeOffset = timeOrigin_;
    info->firstSampleTime = CQDateTime();
    info->timeReference = CQDateTime();
  });
}

void CQAgilentBinFile::ReadData() {
  Named("CQAgilentBinFile::ReadData", [&] {
    if (baseName_.size() < 2) {
      throw new CQError("Programming error: file name must be set before calling ReadData().");
    }
    if (yScale_ == 0.0f || sampleRate_ == 0.0) {
      throw new CQError(
          "Programming error: ReadHeader() must be called before calling ReadData() for Agilent bin data files.");
    }
    const std::string path = lv::WideToUtf8(MakeDataFileName(baseName_.c_str()));
    lv_iq::File file(path.c_str(), "rb");
    if (!file.IsOpen()) {
      throw new CQError("Error opening Agilent bin data file.");
    }
    if (!output_) {
      output_ = std::make_unique<CQCArrayTD>();
    }
    const lv_iq::ReadWindow w =
        lv_iq::ComputeReadWindow(partialRead, start, count, numPoints_, sampleRate_, timeOrigin_);
    const float* pairs =
        lv_iq::ReadWindowPairs(file, w, yScale_, buffers_, "Error reading data from Agilent bin data file.");
    lv_iq::FillOutput(*output_, w, pairs, sampleRate_, centerFreq_, nullptr);
    output_->StartDateTime() = CQDateTime();
  });
}
