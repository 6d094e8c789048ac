#include "iqfiles/formats/xdat.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/array_math.h"
#include "core/error.h"
#include "iqfiles/formats/file_name.h"
#include "iqfiles/formats/text_reading.h"
#include "platform/text.h"

using lv_iq::Named;

namespace {

// The text right after name="  (first occurrence), or nothing.
std::optional<std::string_view> AttributeValue(std::string_view text, std::string_view name) {
  const std::string key = std::string(name) + "=\"";
  const size_t at = text.find(key);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  return text.substr(at + key.size());
}

std::optional<double> DoubleAttribute(std::string_view text, std::string_view name) {
  const auto v = AttributeValue(text, name);
  if (!v) return std::nullopt;
  return lv::ParseDoubleC(v->substr(0, std::min<size_t>(v->size(), 128)));
}

std::optional<long long> IntAttribute(std::string_view text, std::string_view name) {
  const auto v = AttributeValue(text, name);
  if (!v) return std::nullopt;
  return lv::ParseIntC(v->substr(0, std::min<size_t>(v->size(), 128)));
}

// A frequency with its unit: the value times 1e9, 1e6 or 1e3 when the text up
// to the closing quote names GHz, MHz or kHz.
std::optional<double> FrequencyAttribute(std::string_view text, std::string_view name) {
  const auto v = AttributeValue(text, name);
  if (!v) return std::nullopt;
  const auto value = lv::ParseDoubleC(v->substr(0, std::min<size_t>(v->size(), 128)));
  if (!value) return std::nullopt;
  std::string unit(v->substr(0, std::min<size_t>(v->find('"'), 127)));
  for (char& c : unit) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  double factor = 1.0;
  if (unit.find("GHZ") != std::string::npos) {
    factor = 1e9;
  } else if (unit.find("MHZ") != std::string::npos) {
    factor = 1e6;
  } else if (unit.find("KHZ") != std::string::npos) {
    factor = 1e3;
  }
  return *value * factor;
}

// "year:day-of-year:hour:minute:seconds" up to the closing quote; missing
// fields stay 0. A field out of its range (year 0..9999, day 0..366, hour
// 0..23, minute 0..59, seconds 0..60) is refused naming the file.
std::optional<CQDateTime> TimeAttribute(std::string_view text, std::string_view name, const std::string& file) {
  const auto v = AttributeValue(text, name);
  if (!v) return std::nullopt;
  const std::string_view value = v->substr(0, std::min(v->find('"'), v->size()));
  long long fields[4] = {0, 0, 0, 0};
  double seconds = 0.0;
  size_t pos = 0;
  for (int i = 0; i < 5; ++i) {
    const size_t colon = value.find(':', pos);
    const std::string_view piece = value.substr(pos, colon == std::string_view::npos ? value.npos : colon - pos);
    if (i < 4) {
      fields[i] = lv::ParseIntC(piece).value_or(0);
    } else {
      seconds = lv::ParseDoubleC(piece).value_or(0.0);
    }
    if (colon == std::string_view::npos) {
      break;
    }
    pos = colon + 1;
  }
  if (fields[0] < 0 || fields[0] > 9999 || fields[1] < 0 || fields[1] > 366 || fields[2] < 0 || fields[2] > 23 ||
      fields[3] < 0 || fields[3] > 59 || !(seconds >= 0.0 && seconds <= 60.0)) {
    lv_iq::RefuseHeaderField(file, std::string(name).c_str());
  }
  CQDateTime t;
  if (fields[0] != 0 || fields[1] != 0) {
    t.SetFromDayOfYear(static_cast<int>(fields[1]), static_cast<int>(fields[0]));
  }
  t.hour = static_cast<int>(fields[2]);
  t.minute = static_cast<int>(fields[3]);
  t.second = seconds;
  return t;
}

bool HasDate(const CQDateTime& t) { return t.year != 0 || t.month != 0 || t.day != 0; }
bool HasTimeOfDay(const CQDateTime& t) { return t.hour != 0 || t.minute != 0 || t.second != 0.0; }

// t moved by delta seconds, carried into minutes, hours and the date.
CQDateTime Shift(CQDateTime t, double delta) {
  double s = t.second + delta;
  const double wholeMinutes = std::floor(s / 60.0);
  s -= wholeMinutes * 60.0;
  double minutes = t.minute + wholeMinutes;
  const double wholeHours = std::floor(minutes / 60.0);
  minutes -= wholeHours * 60.0;
  double hours = t.hour + wholeHours;
  const double wholeDays = std::floor(hours / 24.0);
  hours -= wholeDays * 24.0;
  t.second = s;
  t.minute = static_cast<int>(minutes);
  t.hour = static_cast<int>(hours);
  const int days = NormalizeTimeOfDay(t) + static_cast<int>(wholeDays);
  t.day += days;
  t.Normalize();
  return t;
}

}  // namespace

std::wstring CQReadXdatFile::MakeBaseFileName(const wchar_t* name) {
  return Named("CQReadXdatFile::MakeBaseFileName", [&] {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    std::wstring n(name);
    if (IsXdatFileName(name)) {
      const size_t dot = n.rfind(L'.');
      if (dot != std::wstring::npos) {
        n.erase(dot);
      }
    }
    return n;
  });
}

std::wstring CQReadXdatFile::MakeHeaderFileName(const wchar_t* name) {
  return Named("CQReadXdatFile::MakeHeaderFileName", [&] { return MakeBaseFileName(name) + L".xhdr"; });
}

std::wstring CQReadXdatFile::MakeDataFileName(const wchar_t* name) {
  return Named("CQReadXdatFile::MakeDataFileName", [&] { return MakeBaseFileName(name) + L".xdat"; });
}

std::wstring CQReadXdatFile::MakeMarkerFileName(const wchar_t* name) {
  return Named("CQReadXdatFile::MakeMarkerFileName", [&] { return MakeBaseFileName(name) + L".xmrk"; });
}

bool CQReadXdatFile::IsXdatFileName(const wchar_t* name) {
  return FileNameContains(name, {L".XDAT", L".XHDR", L".XMRK"});
}

void CQReadXdatFile::SetFileName(const wchar_t* name) {
  Named("CQReadXdatFile::SetFileName", [&] {
    baseName_.clear();
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    const std::wstring limited = std::wstring(name).substr(0, 260);
    baseName_ = MakeBaseFileName(limited.c_str());
  });
}

void CQReadXdatFile::ReadHeader() {
  Named("CQReadXdatFile::ReadHeader", [&] {
    if (baseName_.empty()) {
      throw new CQError("Programming error: file name must be set before calling ReadHeader().");
    }
    Parse();
  });
}

void CQReadXdatFile::GetFileInfo(CQFileInfo* info) {
  Named("CQReadXdatFile::GetFileInfo", [&] {
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    if (baseName_.empty()) {
      throw new CQError("Programming error: file name must be set before calling GetFileInfo().");
    }
    Parse();
    info->complex = true;
    info->floatData = false;
    info->markerCount = markerCount_;
    info->numPoints = numPoints_;
    info->scale = scaleFactor_;
    info->attenuation = attenuation_;
    info->sampleRate = sampleRate_;
    info->centerFreq = centerFreq_;
    info->bandwidth = bandwidth_;
    info->firstSampleTime = startTime_;
    info->timeReference = calibrationTime_;
  });
}

void CQReadXdatFile::Parse() {
  // A data file opened under an earlier header may be an older version of
  // the recording: the next read opens the one that goes with this header.
  dataFile_.Close();
  const std::wstring headerName = MakeHeaderFileName(baseName_.c_str());
  const std::string path = lv::WideToUtf8(headerName);
  lv_iq::File file(path.c_str(), "rb");
  if (!file.IsOpen()) {
    throw new CQError(lv::FormatCW(L"Error opening Xdat header file: %ls", headerName.c_str()).c_str());
  }
  const int64_t size = file.Size();
  if (size < 0 || size > (int64_t{1} << 30)) {
    throw new CQError("Error reading from Xdat header file.");
  }
  std::string text(static_cast<size_t>(size), '\0');
  if (!file.Read(text.data(), text.size())) {
    throw new CQError("Error reading from Xdat header file.");
  }
  file.Close();
  // Text functions stop at a zero byte, as the header is a C string.
  text.resize(std::strlen(text.c_str()));

  const auto samples = lv_iq::FieldNumber(text, "samples=\"", path, "samples");
  const auto rate = lv_iq::FieldNumber(text, "sample_rate=\"", path, "sample_rate");
  const auto scale = lv_iq::FieldNumber(text, "scale_factor=\"", path, "scale_factor");
  if (!samples) {
    throw new CQError("The number of samples was not found in the Xdat header file.");
  }
  if (!rate) {
    throw new CQError("The sample rate was not found in the Xdat header file.");
  }
  if (!scale) {
    throw new CQError("The scale factor was not found in the Xdat header file.");
  }
  const int64_t sampleCount = lv_iq::SampleCountField(*samples, path, "samples");
  lv_iq::CheckSampleCount(sampleCount, -1, 4);
  lv_iq::PositiveField(*rate, path, "sample_rate");
  lv_iq::PositiveField(static_cast<float>(*scale), path, "scale_factor");
  const auto attenuation = DoubleAttribute(text, "attenuation");
  const auto centre = FrequencyAttribute(text, "center_frequency");
  auto bandwidth = FrequencyAttribute(text, "span");
  if (!bandwidth) {
    bandwidth = FrequencyAttribute(text, "acquisition_bandwidth");
  }
  int resolution = 16;
  if (const auto enc = AttributeValue(text, "data_encoding")) {
    const size_t at = enc->find("int");
    if (at != std::string_view::npos) {
      if (const auto bits = lv::ParseIntC(enc->substr(at + 3, 32))) {
        resolution = static_cast<int>(*bits);
      }
    }
  }
  const auto calibration = TimeAttribute(text, "time_calibration", path);
  const auto capture = TimeAttribute(text, "start_capture", path);

  int markerCount = 0, markerFormat = 0;
  const size_t sectionStart = text.find("<marker_files>");
  if (sectionStart != std::string::npos) {
    std::string_view section = std::string_view(text).substr(sectionStart, 16383);
    const size_t sectionEnd = section.find("</marker_files>");
    if (sectionEnd != std::string_view::npos) {
      section = section.substr(0, sectionEnd + std::strlen("</marker_files>"));
    }
    markerCount = static_cast<int>(IntAttribute(section, " count").value_or(0));
    if (const auto format = AttributeValue(section, "format")) {
      const std::string_view f = format->substr(0, std::min(format->find('"'), format->size()));
      markerFormat = f == "XML" ? 1 : f == "BIN1" ? 2 : 0;
    }
  }

  numPoints_ = sampleCount;
  sampleRate_ = *rate;
  scaleFactor_ = static_cast<float>(*scale);
  attenuation_ = static_cast<float>(attenuation.value_or(0.0));
  centerFreq_ = centre.value_or(0.0);
  bandwidth_ = bandwidth.value_or(sampleRate_);
  resolution_ = resolution;
  markerCount_ = markerCount;
  markerFormat_ = markerFormat;

  CQDateTime start = capture ? *capture : calibration.value_or(CQDateTime());
  CQXdatMarker marker;
  if (useFirstMarker && ReadFirstMarker(&marker, markerFormat_) && HasDate(marker.timeStamp) &&
      HasTimeOfDay(marker.timeStamp)) {
    const bool inFile = marker.fileSampleNumber != -1;
    const int64_t u = inFile ? marker.fileSampleNumber : marker.absoluteSampleNumber;
    const double delta = -static_cast<double>(u) / sampleRate_;
    // A shift beyond about 3000 years cannot come from a recording.
    if (!(std::fabs(delta) <= 1e11)) {
      lv_iq::RefuseHeaderField(lv::WideToUtf8(MakeMarkerFileName(baseName_.c_str())),
                               inFile ? "file_sample_number" : "absolute_sample_number");
    }
    start = Shift(marker.timeStamp, delta);
  }
  startTime_ = start;
  calibrationTime_ = calibration ? *calibration : start;
}

bool CQReadXdatFile::ReadFirstMarker(CQXdatMarker* marker, int format) {
  return Named("CQReadXdatFile::ReadFirstMarker", [&] {
    if (marker == nullptr || format != 1 || baseName_.empty()) {
      return false;
    }
    const std::string path = lv::WideToUtf8(MakeMarkerFileName(baseName_.c_str()));
    lv_iq::File file(path.c_str(), "rb");
    if (!file.IsOpen()) {
      return false;
    }
    std::string line;
    while (file.ReadLine(line, 1023)) {
      if (line.find("<marker ") == std::string::npos) {
        continue;
      }
      const auto number = IntAttribute(line, "marker_number");
      if (!number) {
        continue;
      }
      if (*number != 0) {
        return false;
      }
      CQXdatMarker m;
      m.markerNumber = 0;
      m.absoluteSampleNumber = IntAttribute(line, "absolute_sample_number").value_or(-1);
      m.fileSampleNumber = IntAttribute(line, "file_sample_number").value_or(-1);
      m.pulseStartSample = IntAttribute(line, "pulse_start_sample").value_or(-1);
      m.pulseEndSample = IntAttribute(line, "pulse_end_sample").value_or(-1);
      if (const auto t = TimeAttribute(line, "time_stamp", path)) m.timeStamp = *t;
      if (const auto t = TimeAttribute(line, "timestamp", path)) m.timeStamp = *t;
      for (const char* key : {"time_stamp_source", "timestamp_source"}) {
        if (const auto v = AttributeValue(line, key); v && v->substr(0, 4) == "IRIG") m.irig = 1;
      }
      if (HasTimeOfDay(m.timeStamp) && m.timeStamp.year == 0) {
        m.timeStamp.year = CQErrorCurrentUtcTime().year;
      }
      *marker = m;
      return true;
    }
    return false;
  });
}

void CQReadXdatFile::OpenDataFile() {
  Named("CQReadXdatFile::OpenDataFile", [&] {
    dataFile_.Close();
    if (baseName_.empty()) {
      throw new CQError("Programming error: file name must be set before calling OpenDataFile().");
    }
    const std::wstring dataName = MakeDataFileName(baseName_.c_str());
    const std::string path = lv::WideToUtf8(dataName);
    if (!dataFile_.Open(path.c_str(), "rb")) {
      throw new CQError(lv::FormatCW(L"Error opening Xdat data file: %ls", dataName.c_str()).c_str());
    }
    lv_iq::CheckSampleCount(numPoints_, dataFile_.Size(), 4);
  });
}

void CQReadXdatFile::ReadData() {
  Named("CQReadXdatFile::ReadData", [&] {
    if (scaleFactor_ == 0.0f || sampleRate_ == 0.0) {
      throw new CQError("Programming error: ReadHeader() must be called before calling ReadData() for Xdat data files.");
    }
    if (resolution_ != 16) {
      throw new CQError("Reading of Xdat data files is only supported for 16-bit sample resolutions.");
    }
    if (!dataFile_.IsOpen()) {
      OpenDataFile();
    }
    if (!output_) {
      output_ = std::make_unique<CQCArrayTD>();
    }
    const lv_iq::ReadWindow w = lv_iq::ComputeReadWindow(partialRead, start, count, numPoints_, sampleRate_, 0.0);
    // A whole read seeks to the beginning too, wherever earlier reads left the file.
    const float* pairs = lv_iq::ReadWindowPairs(dataFile_, w, scaleFactor_ * 65536.0f, buffers_,
                                                "Error reading data from Xdat data file.");
    lv_iq::FillOutput(*output_, w, pairs, sampleRate_, centerFreq_, &startTime_);
  });
}
