#include "iqfiles/formats/vsa_text.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/array_math.h"
#include "core/error.h"
#include "iqfiles/formats/file_io.h"
#include "iqfiles/formats/text_reading.h"
#include "platform/text.h"

namespace lv_iq {

struct VsaFlavour {
  bool commasAreSpace;
  bool scaleIntegers;
  const char* setFileName;
  const char* getFileInfo;
  const char* readHeader;
  const char* readData;
  const char* openHeaderError;
  const char* openDataError;
  const char* noXDelta;
  const char* readBeforeHeader;
  const char* noData;
};

const VsaFlavour kAgilent{
    false,
    false,
    "CQAgilentVSATxtFile::SetFileName",
    "CQAgilentVSATxtFile::GetFileInfo",
    "CQAgilentVSATxtFile::ReadHeader",
    "CQAgilentVSATxtFile::ReadData",
    "Error opening Agilent txt file.",
    "Error opening Agilent txt file.",
    "The parameter \"XDelta\" was not found in the Agilent txt file.",
    "Programming error: ReadHeader() must be called before calling ReadData() for Agilent txt files.",
    "No valid data found in Agilent txt file."};

const VsaFlavour kAdi{
    true,
    true,
    "CQADIVSATxtFile::SetFileName",
    "CQADIVSATxtFile::GetFileInfo",
    "CQADIVSATxtFile::ReadHeader",
    "CQADIVSATxtFile::ReadData",
    "Error opening ADI txt file.",
    "Error opening ADI VSA txt file.",
    "The parameter \"XDelta\" was not found in the ADI VSA txt file.",
    "Programming error: ReadHeader() must be called before calling ReadData() for ADI VSA txt files.",
    "No valid data found in ADI VSA txt file."};

}  // namespace lv_iq

using lv_iq::Named;

namespace {

constexpr size_t kMaxLineChars = 127;  // 128 bytes with the terminating zero

// The text of a header number as written with format; a CQError with
// message when that text would not read back as a finite number (rounding
// to the written digits can carry a value near the largest double past it).
std::string WrittenNumber(const char* format, double value, const char* message) {
  std::string text = lv::FormatC(format, value);
  if (!std::isfinite(std::strtod(text.c_str(), nullptr))) {
    throw new CQError(message);
  }
  return text;
}

}  // namespace

CQVSATxtReader::CQVSATxtReader(const lv_iq::VsaFlavour& flavour) : flavour_(flavour) {}

CQVSATxtReader::~CQVSATxtReader() = default;

CQAgilentVSATxtFile::CQAgilentVSATxtFile() : CQVSATxtReader(lv_iq::kAgilent) {}

CQADIVSATxtFile::CQADIVSATxtFile() : CQVSATxtReader(lv_iq::kAdi) {}

void CQVSATxtReader::SetFileName(const wchar_t* name) {
  Named(flavour_.setFileName, [&] {
    if (!fileName_) {
      fileName_ = std::make_unique<CQFileName>();
    }
    fileName_->Set(name);
    headerRead_ = false;
  });
}

void CQVSATxtReader::ReadHeader() {
  Named(flavour_.readHeader, [&] {
    headerRead_ = false;
    if (!fileName_ || fileName_->Empty()) {
      throw new CQError("Programming error: file name must be set before calling ReadHeader().");
    }
    lv_iq::File file(fileName_->Utf8(), "rb");
    if (!file.IsOpen()) {
      throw new CQError(flavour_.openHeaderError);
    }
    std::optional<double> xDelta, xStart, centre, validMax, validMin;
    std::string line;
    double v[2];
    while (file.ReadLine(line, kMaxLineChars)) {
      if (flavour_.commasAreSpace) {
        for (char& c : line) {
          if (c == ',') c = ' ';
        }
      }
      if (lv_iq::ScanNumbers(line, v, 2, false) == 2) {
        break;  // the first data line ends the header
      }
      if (!xDelta) xDelta = lv_iq::NumberAfterKey(line, "XDelta");
      if (!xStart) xStart = lv_iq::NumberAfterKey(line, "XStart");
      if (!centre) centre = lv_iq::NumberAfterKey(line, "InputCenter");
      if (!validMax) validMax = lv_iq::NumberAfterKey(line, "FreqValidMax");
      if (!validMin) validMin = lv_iq::NumberAfterKey(line, "FreqValidMin");
      if (xDelta && xStart && centre && validMax && validMin) {
        break;
      }
    }
    if (!xDelta) {
      throw new CQError(flavour_.noXDelta);
    }
    // A zero step gives a zero rate, which the read refuses; a step whose rate
    // is not finite (a denormal step) and numbers that are not finite are refused here.
    const double rate = *xDelta != 0.0 ? rateMultiplier_ / *xDelta : 0.0;
    const std::string fileName = fileName_->Utf8();
    if (!std::isfinite(*xDelta) || !std::isfinite(rate)) lv_iq::RefuseHeaderField(fileName, "XDelta");
    if (xStart && !std::isfinite(*xStart)) lv_iq::RefuseHeaderField(fileName, "XStart");
    if (centre && !std::isfinite(*centre)) lv_iq::RefuseHeaderField(fileName, "InputCenter");
    if (validMax && !std::isfinite(*validMax)) lv_iq::RefuseHeaderField(fileName, "FreqValidMax");
    if (validMin && !std::isfinite(*validMin)) lv_iq::RefuseHeaderField(fileName, "FreqValidMin");
    // Count every data line of the whole file.
    if (!file.Seek(0)) {
      throw new CQError(flavour_.openHeaderError);
    }
    int64_t lines = 0;
    while (file.ReadLine(line, kMaxLineChars)) {
      lines += lv_iq::ScanNumbers(line, v, 2, flavour_.commasAreSpace) == 2 ? 1 : 0;
    }
    file.Close();
    lv_iq::CheckSampleCount(lines, -1, 1);
    double bandwidth = rate;
    if (validMax && validMin) {
      const double band = std::min(std::fabs(rate), std::fabs(*validMax - *validMin));
      if (band != 0.0) {
        bandwidth = band;
      }
    }
    numSamples_ = lines;
    sampleRate_ = rate;
    bandwidth_ = bandwidth;
    centerFreq_ = centre.value_or(0.0);
    timeOrigin_ = xStart ? -*xStart : 0.0;
    headerRead_ = true;
  });
}

void CQVSATxtReader::GetFileInfo(const char* name, CQFileInfo* info) {
  Named(flavour_.getFileInfo, [&] {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    ReadHeader();
    SetFloatFileInfo(info, numSamples_, sampleRate_, centerFreq_);
  });
}

void CQVSATxtReader::ReadData() {
  Named(flavour_.readData, [&] {
    if (!fileName_ || fileName_->Empty()) {
      throw new CQError("Programming error: file name must be set before calling ReadData().");
    }
    if (!headerRead_) {
      throw new CQError(flavour_.readBeforeHeader);
    }
    if (!output_) {
      output_ = std::make_unique<CQCArrayTD>();
    }
    lv_iq::File file(fileName_->Utf8(), "rb");
    if (!file.IsOpen()) {
      throw new CQError(flavour_.openDataError);
    }
    if (numSamples_ == 0) {
      throw new CQError(flavour_.noData);
    }
    const int n = static_cast<int>(numSamples_);
    std::vector<CQComplex> values(static_cast<size_t>(n), CQComplex(0.0f, 0.0f));
    std::string line;
    double v[2];
    int k = 0;
    while (k < n && file.ReadLine(line, kMaxLineChars)) {
      if (lv_iq::ScanNumbers(line, v, 2, flavour_.commasAreSpace) == 2) {
        values[static_cast<size_t>(k++)] = CQComplex(static_cast<float>(v[0]), static_cast<float>(v[1]));
      }
    }
    file.Close();
    if (k < n) {
      // Lines lost since the header was read: fail as the other text readers do.
      throw new CQError("Error reading data from file.");
    }
    float* parts = reinterpret_cast<float*>(values.data());
    if (flavour_.scaleIntegers) {
      float peak = 0.0f;
      for (int j = 0; j < 2 * n; ++j) {
        peak = std::max(peak, std::fabs(parts[j]));
      }
      if (peak > 10.0f) {
        CQArrayMath::ArrayScalarMult(parts, 3.0518509e-05f, 2 * n);
      }
    }
    output_->Set(values.data(), n, sampleRate_, timeOrigin_);
    output_->SetCenterFreq(centerFreq_);
    output_->SetBandwidth(bandwidth_);
  });
}

void CQADIVSATxtFile::WriteToFile(const CQCArrayTD* array) {
  Named("CQADIVSATxtFile::WriteToFile", [&] {
    if (!fileName_ || fileName_->Empty()) {
      throw new CQError("Programming error: file name must be set before calling WriteToFile().");
    }
    if (array == nullptr) {
      throw new CQError("Null pointer to input data.");
    }
    const double rate = array->GetSampleRate();
    // XDelta is 1/rate: it must be a positive finite number the reader takes back.
    if (!(rate > 0.0) || !std::isfinite(rate) || !std::isfinite(1.0 / rate)) {
      throw new CQError("Invalid sample rate.");
    }
    if (!std::isfinite(array->GetCenterFreq()) || !std::isfinite(array->GetBandwidth()) ||
        !std::isfinite(array->GetTimeOrigin())) {
      throw new CQError("Invalid center frequency, bandwidth or time origin.");
    }
    lv_iq::CheckFiniteSamples(*array);
    const double centre = array->GetCenterFreq();
    const double band = array->GetBandwidth() > 0.0 ? array->GetBandwidth() : rate;
    constexpr const char* kBadRate = "Invalid sample rate.";
    constexpr const char* kBadOther = "Invalid center frequency, bandwidth or time origin.";
    // The step is written with ten digits: rounding can carry it (or the
    // rate the reader takes from it) past the largest double.
    const std::string step = WrittenNumber("%.9lE", 1.0 / rate, kBadRate);
    const double stepBack = std::strtod(step.c_str(), nullptr);
    if (!(stepBack > 0.0) || !std::isfinite(1.0 / stepBack)) {
      throw new CQError(kBadRate);
    }
    std::string text = "InputZoom\tTRUE\n";
    text += "InputCenter\t" + WrittenNumber("%.1lf", centre, kBadOther) + "\n";
    text += "XDelta\t" + step + "\n";
    text += "XDomain\t2\nXUnit\tSec\n";
    text += "FreqValidMax\t" + WrittenNumber("%.1lf", centre + band / 2.0, kBadOther) + "\n";
    text += "FreqValidMin\t" + WrittenNumber("%.1lf", centre - band / 2.0, kBadOther) + "\n";
    text += array->GetTimeOrigin() == 0.0
                ? std::string("XStart\t0.0\n")
                : "XStart\t" + WrittenNumber("%.9lE", -array->GetTimeOrigin(), kBadOther) + "\n";
    text += "Y\n";
    lv_iq::AtomicFileWriter out(fileName_->Utf8(), "Error creating ADI VSA txt file.");
    out.WriteText(text, "Error writing header to ADI VSA txt file.");
    const CQComplex* data = array->GetDataPtr();
    std::string chunk;
    for (int k = 0; k < array->GetNumPoints(); ++k) {
      chunk += lv::FormatC("%e,%e\n", static_cast<double>(data[k].re), static_cast<double>(data[k].im));
      if (chunk.size() > 60000) {
        out.WriteText(chunk, "Error writing data to ADI VSA txt file.");
        chunk.clear();
      }
    }
    out.WriteText(chunk, "Error writing data to ADI VSA txt file.");
    out.Commit("Error writing data to ADI VSA txt file.");
  });
}
