#include "iqfiles/formats/pair_files.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <cwctype>

#include "core/array_math.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "iqfiles/formats/file_name.h"
#include "iqfiles/formats/text_reading.h"
#include "platform/text.h"

namespace lv_iq {

struct PairFormat {
  const char* cls;                // class name for call stacks
  const wchar_t* headerUpper;     // ".WVH"
  const wchar_t* dataUpper;       // ".WVD"
  const wchar_t* headerExt;       // ".wvh"
  const wchar_t* dataExt;         // ".wvd"
  const char* openDataError;      // "...: %s"
  const char* readBeforeHeader;   // programming error of ReadData
  const char* readError;          // too few values
};

const PairFormat kWvdh{"CQRSWvdhFile",
                       L".WVH",
                       L".WVD",
                       L".wvh",
                       L".wvd",
                       "Error opening R&S wvd data file: %s",
                       "Programming error: ReadHeader() must be called before calling ReadData() for R&S wvd data files.",
                       "Error reading data from R&S wvd data file."};

const PairFormat kSiq{"CQSIQFile",
                      L".SIQH",
                      L".SIQD",
                      L".siqh",
                      L".siqd",
                      "Error opening SIQ data file: %s",
                      "Programming error: ReadHeader() must be called before calling ReadData() for SIQ data files.",
                      "Error reading data from SIQ data file."};

}  // namespace lv_iq

namespace {

using lv::Named;

// Reads "<key>yyyy-m-d<sep>hh:mm:ss.sss" from a line.
bool ParseDateAfter(const char* line, CQDateTime* result, const char* key, char daySeparator) {
  if (line == nullptr || result == nullptr || line[0] == '\0') {
    return false;
  }
  const std::string text(line);
  size_t i = text.find(key);
  if (i == std::string::npos) {
    return false;
  }
  i += std::strlen(key);
  auto toDigit = [&] {
    while (i < text.size() && !std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    return i < text.size();
  };
  // The piece up to the delimiter: at most 63 characters and found before the end of the line.
  auto piece = [&](char delimiter, std::string& out) {
    const size_t end = text.find(delimiter, i);
    if (end == std::string::npos || end - i > 63) {
      return false;
    }
    out = text.substr(i, end - i);
    i = end + 1;
    return true;
  };
  auto toInt = [](const std::string& s, int& v) {
    auto p = lv::ParseIntC(std::string_view(s));
    if (!p) return false;
    v = static_cast<int>(*p);
    return true;
  };
  std::string y, mo, d, h, mi;
  int year, month, day, hour, minute;
  if (!toDigit() || !piece('-', y) || !piece('-', mo) || !piece(daySeparator, d) || !toDigit() || !piece(':', h) ||
      !piece(':', mi) || !toDigit()) {
    return false;
  }
  if (!toInt(y, year) || !toInt(mo, month) || !toInt(d, day) || !toInt(h, hour) || !toInt(mi, minute)) {
    return false;
  }
  const std::string rest = text.substr(i, 63);
  const auto second = lv::ParseDoubleC(std::string_view(rest));
  if (!second) {
    return false;
  }
  result->day = day;
  result->month = month;
  result->year = year;
  result->hour = hour;
  result->minute = minute;
  result->second = *second;
  return true;
}


}  // namespace

// ---- the shared pair reader ---------------------------------------------------------

CQIntPairFile::CQIntPairFile(const lv_iq::PairFormat& format) : format_(format) {}

CQIntPairFile::~CQIntPairFile() = default;

std::string CQIntPairFile::Utf8Of(const std::wstring& name) const { return lv::WideToUtf8(name); }

std::wstring CQIntPairFile::MakeBaseFileName(const wchar_t* name) const {
  return Named(std::string(format_.cls) + "::MakeBaseFileName", [&] {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    std::wstring n(name);
    // Only the file-name part decides; folders named like an extension do not.
    const std::wstring upperName = UpperFileNamePart(name);
    if (upperName.find(format_.headerUpper) != std::wstring::npos ||
        upperName.find(format_.dataUpper) != std::wstring::npos) {
      const size_t dot = n.rfind(L'.');
      if (dot != std::wstring::npos) {
        n.erase(dot);
      }
    }
    return n;
  });
}

std::wstring CQIntPairFile::MakeHeaderFileName(const wchar_t* name) const {
  return Named(std::string(format_.cls) + "::MakeHeaderFileName",
               [&] { return MakeBaseFileName(name) + format_.headerExt; });
}

std::wstring CQIntPairFile::MakeDataFileName(const wchar_t* name) const {
  return Named(std::string(format_.cls) + "::MakeDataFileName",
               [&] { return MakeBaseFileName(name) + format_.dataExt; });
}

void CQIntPairFile::SetFileName(const wchar_t* name) {
  Named(std::string(format_.cls) + "::SetFileName", [&] {
    baseName_.clear();
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    baseName_ = MakeBaseFileName(name);
  });
}

void CQIntPairFile::SetTimeOrigin(const CQDateTime* time) {
  Named(std::string(format_.cls) + "::SetTimeOrigin", [&] {
    if (time == nullptr) {
      return;
    }
    if (!date_) {
      date_ = std::make_unique<CQDateTime>();
    }
    date_->Set(time);
  });
}

void CQIntPairFile::OpenDataFile() {
  Named(std::string(format_.cls) + "::OpenDataFile", [&] {
    dataFile_.Close();
    if (baseName_.empty()) {
      throw new CQError("Programming error: file name must be set before calling OpenDataFile().");
    }
    const std::string path = Utf8Of(MakeDataFileName(baseName_.c_str()));
    if (!dataFile_.Open(path.c_str(), "rb")) {
      throw new CQError(lv::FormatC(format_.openDataError, path.c_str()).c_str());
    }
  });
}

void CQIntPairFile::CloseDataFile() { dataFile_.Close(); }

int64_t CQIntPairFile::OpenDescribedDataFile(const char* openError) {
  // The data file is opened once per description and the reads use that
  // handle: a file replaced or rewritten after the description is not
  // mixed with it, and no bytes buffered from an earlier version remain.
  dataFile_.Close();
  const std::string path = Utf8Of(MakeDataFileName(baseName_.c_str()));
  if (!dataFile_.Open(path.c_str(), "rb")) {
    throw new CQError(openError);
  }
  const int64_t points = dataFile_.Size() / 4;
  lv_iq::CheckSampleCount(points, -1, 4);
  return points;
}

void CQIntPairFile::StoreHeader(CQFileInfo* info, float scale, double rate, double centre, double bandwidth,
                                const std::optional<CQDateTime>& date) {
  info->complex = true;
  info->floatData = false;
  info->numPoints = numPoints_;
  info->scale = scale;
  info->sampleRate = rate;
  info->centerFreq = centre;
  info->bandwidth = bandwidth;
  info->timeOffset = 0.0;
  info->firstSampleTime = date.value_or(CQDateTime());
  info->timeReference = date.value_or(CQDateTime());
  scale_ = scale;
  sampleRate_ = rate;
  centerFreq_ = centre;
  bandwidth_ = bandwidth;
  timeOrigin_ = 0.0;
  const CQDateTime value = date.value_or(CQDateTime());
  SetTimeOrigin(&value);
}

void CQIntPairFile::ReadData() {
  Named(std::string(format_.cls) + "::ReadData", [&] {
    if (scale_ == 0.0f || sampleRate_ == 0.0) {
      throw new CQError(format_.readBeforeHeader);
    }
    if (!dataFile_.IsOpen()) {
      OpenDataFile();
    }
    if (!output_) {
      output_ = std::make_unique<CQCArrayTD>();
    }
    const lv_iq::ReadWindow w =
        lv_iq::ComputeReadWindow(partialRead, start, count, numPoints_, sampleRate_, timeOrigin_);
    const float* pairs = lv_iq::ReadWindowPairs(dataFile_, w, scale_, buffers_, format_.readError);
    lv_iq::FillOutput(*output_, w, pairs, sampleRate_, centerFreq_, date_.get());
  });
}

// ---- .wvh / .wvd ------------------------------------------------------------------

CQRSWvdhFile::CQRSWvdhFile() : CQIntPairFile(lv_iq::kWvdh) {}

CQRSWvdhFile::~CQRSWvdhFile() {
  if (writer_) {
    try {
      writer_->Commit("Error writing data to R&S wvd data file.");
    } catch (CQError* e) {
      delete e;  // the destructor reports nothing; the temporary file is removed
    }
  }
}

bool CQRSWvdhFile::IsWvdhFileName(const wchar_t* name) {
  return FileNameContains(name, {L".WVH", L".WVD"});
}

bool CQRSWvdhFile::ParseDate(const char* line, CQDateTime* result) { return ParseDateAfter(line, result, "DATE", ';'); }

float CQRSWvdhFile::ScaleFromLevel(float level) {
  const float p = static_cast<float>(std::pow(10.0, (static_cast<double>(level) - 30.0) / 10.0));
  const float q = p * 100.0f;
  const float root = static_cast<float>(std::sqrt(static_cast<double>(q)));
  return root / 32767.0f;
}

namespace {
float LevelOf(float x) {
  const float y = x * x / 100.0f;
  return y <= 0.0f ? -200.0f : static_cast<float>(10.0 * std::log10(static_cast<double>(y)) + 30.0);
}
}  // namespace

float CQRSWvdhFile::MakeScaleFromPeak(float peak) { return ScaleFromLevel(LevelOf(peak * 1.4142135f)); }

void CQRSWvdhFile::GetFileInfo(CQFileInfo* info) {
  Named("CQRSWvdhFile::GetFileInfo", [&] {
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    if (baseName_.empty()) {
      throw new CQError("Programming error: file name must be set before calling GetFileInfo().");
    }
    Named("CQRSWvdhFile::GetFileInfo", [&] {
      // Whatever this description finds, the data file read before belongs to an older one.
      dataFile_.Close();
      const std::string headerName = Utf8Of(MakeHeaderFileName(baseName_.c_str()));
      lv_iq::File header(headerName.c_str(), "rb");
      if (!header.IsOpen()) {
        throw new CQError("Error opening R&S wvh header file.");
      }
      bool type = false, components = false;
      std::optional<double> clock, frequency, reflevel;
      std::optional<CQDateTime> date;
      std::string line;
      while (header.ReadLine(line, 1023)) {
        type = type || line.find("TYPE:RAW16LE") != std::string::npos;
        components = components || line.find("COMPONENTS:IQ") != std::string::npos;
        if (!clock) clock = lv_iq::FieldNumber(line, "CLOCK", headerName, "CLOCK");
        if (!frequency) frequency = lv_iq::FieldNumber(line, "FREQUENCY", headerName, "FREQUENCY");
        if (!reflevel) reflevel = lv_iq::FieldNumber(line, "REFLEVEL", headerName, "REFLEVEL");
        if (!date) {
          CQDateTime d;
          if (ParseDate(line.c_str(), &d)) date = d;
        }
        // The tags may come in any order on any line: stop only when all were seen.
        if (type && clock && frequency && reflevel && components && date) {
          break;
        }
      }
      header.Close();
      if (!type) {
        throw new CQError("The data type descriptor \"{TYPE:RAW16LE}\" was not found in the R&S wvh header file.");
      }
      if (!clock) {
        throw new CQError("The parameter \"CLOCK\" was not found in the R&S wvh header file.");
      }
      lv_iq::PositiveField(*clock, headerName, "CLOCK");
      // A level whose scale is zero or infinite in float (beyond about +-380 dBm) is refused.
      const float scale = reflevel ? ScaleFromLevel(static_cast<float>(*reflevel)) : 1.0f / 32767.0f;
      if (reflevel) {
        lv_iq::PositiveField(scale, headerName, "REFLEVEL");
      }
      numPoints_ = OpenDescribedDataFile("Error opening R&S wvd data file.");
      StoreHeader(info, scale, *clock, frequency.value_or(0.0), 0.8 * *clock, date);
    });
  });
}

void CQRSWvdhFile::CreateDataFile() {
  Named("CQRSWvdhFile::CreateDataFile", [&] {
    writer_.reset();
    if (baseName_.empty()) {
      throw new CQError("Programming error: file name must be set before calling CreateDataFile().");
    }
    const std::string path = Utf8Of(MakeDataFileName(baseName_.c_str()));
    writer_ = std::make_unique<lv_iq::AtomicFileWriter>(
        path, lv::FormatC("Error creating R&S wvd data file: %s", path.c_str()).c_str());
  });
}

void CQRSWvdhFile::WriteHeader() {
  Named("CQRSWvdhFile::WriteHeader", [&] {
    if (baseName_.empty()) {
      throw new CQError("Programming error: file name must be set before calling WriteHeader().");
    }
    const CQErrorReportTime now = CQErrorCurrentUtcTime();
    std::string text = "{TYPE:RAW16LE}{COMPONENTS:IQ}{RESOLUTION:16}";
    text += lv::FormatC("{DATE:%d-%d-%d;%02d:%02d:%02d}", now.year, now.month, now.day, now.hour, now.minute,
                        static_cast<int>(now.second));
    text += lv::FormatC("{CLOCK:%.6lf}", sampleRate_);
    text += lv::FormatC("{REFLEVEL:%.2f}", static_cast<double>(LevelOf(scale_ * 32767.0f)));
    text += lv::FormatC("{FREQUENCY:%.6lf}", centerFreq_);
    lv_iq::AtomicFileWriter out(Utf8Of(MakeHeaderFileName(baseName_.c_str())), "Error creating R&S wvh header file.");
    out.WriteText(text, "Error writing to R&S wvh header file.");
    out.Commit("Error writing to R&S wvh header file.");
  });
}

void CQRSWvdhFile::WriteData(const CQCArrayTD* array) {
  Named("CQRSWvdhFile::WriteData", [&] {
    if (array == nullptr) {
      throw new CQError("Null pointer to input data.");
    }
    const int n = array->GetNumPoints();
    if (n == 0) {
      return;
    }
    if (scale_ == 0.0f) {
      throw new CQError(
          "Programming error: Scale factor must be set before calling WriteData() for R&S wvd data files.");
    }
    try {
      lv_iq::CheckFiniteSamples(*array);
    } catch (CQError*) {
      writer_.reset();  // nothing of this data file is kept: the old file stays as it was
      throw;
    }
    if (!writer_) {
      CreateDataFile();
    }
    buffers_.Prepare(n);
    const float* parts = reinterpret_cast<const float*>(array->GetDataPtr());
    CQArrayMath::ArrayScalarMult(parts, 1.0f / scale_, buffers_.floats1(), 2 * n);
    CQArrayMath::LimitMaxValue(buffers_.floats1(), 32767.0f, 2 * n);
    CQArrayMath::LimitMinValue(buffers_.floats1(), -32767.0f, 2 * n);
    CQArrayMath::CopyArray(buffers_.floats1(), buffers_.ints(), 2 * n);
    writer_->Write(buffers_.ints(), 4 * static_cast<size_t>(n), "Error writing data to R&S wvd data file.");
  });
}

void CQRSWvdhFile::FinishDataFile() {
  Named("CQRSWvdhFile::WriteData", [&] {
    if (writer_) {
      auto w = std::move(writer_);
      w->Commit("Error writing data to R&S wvd data file.");
    }
  });
}

// ---- .siqh / .siqd ------------------------------------------------------------------

CQSIQFile::CQSIQFile() : CQIntPairFile(lv_iq::kSiq) {}

bool CQSIQFile::IsSIQFileName(const wchar_t* name) {
  return FileNameContains(name, {L".SIQH", L".SIQD"});
}

bool CQSIQFile::ParseDate(const char* line, CQDateTime* result) {
  return ParseDateAfter(line, result, "TimeRefWallTime", 'T');
}

void CQSIQFile::GetFileInfo(CQFileInfo* info) {
  Named("CQSIQFile::GetFileInfo", [&] {
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    if (baseName_.empty()) {
      throw new CQError("Programming error: file name must be set before calling GetFileInfo().");
    }
    Named("CQSIQFile::GetFileInfo", [&] {
      // Whatever this description finds, the data file read before belongs to an older one.
      dataFile_.Close();
      lv_iq::File header(Utf8Of(MakeHeaderFileName(baseName_.c_str())).c_str(), "rb");
      if (!header.IsOpen()) {
        throw new CQError("Error opening SIQ header file.");
      }
      bool designation = false, format = false;
      std::optional<double> rate, dataScale, centre, acqBw;
      std::optional<CQDateTime> date;
      std::string line;
      // Lines are read in pieces of at most 127 characters.
      while (header.ReadLine(line, 127)) {
        designation = designation || line.find("RSASIQHT:") != std::string::npos;
        format = format || line.find("NumberFormat:IQ-Int16") != std::string::npos;
        if (!rate) rate = lv_iq::NumberAfterKey(line, "SampleRate");
        if (!dataScale) dataScale = lv_iq::NumberAfterKey(line, "DataScale");
        if (!centre) centre = lv_iq::NumberAfterKey(line, "CenterFrequency");
        if (!acqBw) acqBw = lv_iq::NumberAfterKey(line, "AcqBandwidth");
        if (!date) {
          CQDateTime d;
          if (ParseDate(line.c_str(), &d)) date = d;
        }
        if (designation && format && rate && dataScale && centre && acqBw && date) {
          break;
        }
      }
      header.Close();
      if (!designation) {
        throw new CQError("The file designation \"RSASIQHT\" was not found in the SIQ file.");
      }
      if (!format) {
        throw new CQError("The number format was not found, or was not a known format, in the SIQ file.");
      }
      if (!rate) {
        throw new CQError("The parameter \"SampleRate\" was not found in the SIQ file.");
      }
      if (!dataScale) {
        throw new CQError("The parameter \"DataScale\" was not found in the SIQ file.");
      }
      const std::string headerName = Utf8Of(MakeHeaderFileName(baseName_.c_str()));
      lv_iq::PositiveField(*rate, headerName, "SampleRate");
      lv_iq::PositiveField(static_cast<float>(*dataScale), headerName, "DataScale");
      if (centre && !std::isfinite(*centre)) lv_iq::RefuseHeaderField(headerName, "CenterFrequency");
      if (acqBw && !std::isfinite(*acqBw)) lv_iq::RefuseHeaderField(headerName, "AcqBandwidth");
      numPoints_ = OpenDescribedDataFile("Error opening SIQ data file.");
      StoreHeader(info, static_cast<float>(*dataScale), *rate, centre.value_or(0.0), acqBw.value_or(0.0), date);
    });
  });
}
