#include "iqfiles/formats/wv.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/array_math.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "iqfiles/formats/file_name.h"
#include "iqfiles/formats/text_reading.h"
#include "platform/text.h"

namespace {

using lv::Named;

// How far a header is searched for its waveform tag: past this a file is
// taken to have none (long comments and many segment tags stay far below it).
constexpr size_t kMaxHeaderBytes = size_t{64} << 20;

// The header of an open .wv file: its text up to the '#' that opens the
// samples of the waveform tag, wherever that lies. offset is the byte after
// that '#', or 0 when the file has no waveform tag (the text is then the
// whole file, up to the search limit).
std::string ReadHeaderText(lv_iq::File& file, int32_t& offset) {
  offset = 0;
  std::string text;
  size_t waveform = std::string::npos;
  char chunk[4096];
  for (;;) {
    const size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    if (got == 0) {
      if (text.empty()) {
        throw new CQError("Error reading from R&S wv file.");
      }
      return text;
    }
    const size_t before = text.size();
    text.append(chunk, got);
    if (waveform == std::string::npos) {
      // A tag name may straddle two chunks.
      waveform = text.find("WAVEFORM", before >= 7 ? before - 7 : 0);
    }
    if (waveform != std::string::npos) {
      const size_t hash = text.find('#', std::max(waveform + 8, before));
      if (hash != std::string::npos && hash + 1 <= static_cast<size_t>(INT32_MAX)) {
        offset = static_cast<int32_t>(hash + 1);
        text.resize(hash);
        return text;
      }
    }
    if (text.size() >= kMaxHeaderBytes) {
      return text;
    }
  }
}

// A header number in the six-decimal form, or with 17 significant digits
// when six decimals would not bring it back (a rate below a microhertz would
// be written as 0 and refused by the reader).
std::string ReadableNumber(double v) {
  const std::string fixed = lv::FormatC("%.6lf", v);
  const std::optional<double> back = lv::ParseDoubleC(std::string_view(fixed));
  if (back && (*back == v || std::fabs(*back - v) <= 1e-7 * std::fabs(v))) {
    return fixed;
  }
  return lv::FormatC("%.17g", v);
}

}  // namespace

void CQReadRSWvFile::SetFileName(const wchar_t* name) {
  Named("CQReadRSWvFile::SetFileName", [&] {
    name_.reset();
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    if (name[0] != L'\0') {
      name_ = std::wstring(name);
    }
  });
}

bool CQReadRSWvFile::ParseDate(const char* text, CQDateTime* result) {
  if (text == nullptr || result == nullptr || text[0] == '\0') {
    return false;
  }
  const std::string s(text);
  size_t i = s.find("DATE:");
  if (i == std::string::npos) {
    return false;
  }
  i += 5;
  auto toDigit = [&] {
    while (i < s.size() && !std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    return i < s.size();
  };
  auto piece = [&](char delimiter, std::string& out) {
    const size_t end = s.find(delimiter, i);
    if (end == std::string::npos || end - i > 63) return false;
    out = s.substr(i, end - i);
    i = end + 1;
    return true;
  };
  std::string y, mo, d, h, mi;
  if (!toDigit() || !piece('-', y) || !piece('-', mo) || !piece(';', d) || !toDigit() || !piece(':', h) ||
      !piece(':', mi) || !toDigit()) {
    return false;
  }
  auto yi = lv::ParseIntC(std::string_view(y)), moi = lv::ParseIntC(std::string_view(mo)),
       di = lv::ParseIntC(std::string_view(d)), hi = lv::ParseIntC(std::string_view(h)),
       mii = lv::ParseIntC(std::string_view(mi));
  auto sec = lv::ParseDoubleC(std::string_view(s.substr(i, 63)));
  if (!yi || !moi || !di || !hi || !mii || !sec) {
    return false;
  }
  result->year = static_cast<int>(*yi);
  result->month = static_cast<int>(*moi);
  result->day = static_cast<int>(*di);
  result->hour = static_cast<int>(*hi);
  result->minute = static_cast<int>(*mii);
  result->second = *sec;
  return true;
}

void CQReadRSWvFile::GetFileInfo(CQFileInfo* info) {
  Named("CQReadRSWvFile::GetFileInfo", [&] {
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    if (!name_) {
      throw new CQError("Programming error: file name must be set before calling GetFileInfo().");
    }
    // What an earlier description found belongs to that file: a failed
    // description leaves nothing that a read could take for this one.
    dataOffset_ = 0;
    clock_ = 0.0;
    lv_iq::File file(lv::WideToUtf8(*name_).c_str(), "rb");
    if (!file.IsOpen()) {
      throw new CQError("Error opening R&S wv file.");
    }
    int32_t offset = 0;
    const std::string text = ReadHeaderText(file, offset);
    const std::string fileName = lv::WideToUtf8(*name_);
    const std::optional<double> clock = lv_iq::FieldNumber(text, "CLOCK:", fileName, "CLOCK");
    const double frequency = lv_iq::FieldNumber(text, "FREQUENCY:", fileName, "FREQUENCY").value_or(0.0);
    const double samples = lv_iq::FieldNumber(text, "SAMPLES:", fileName, "SAMPLES").value_or(0.0);
    std::optional<CQDateTime> date;
    CQDateTime parsed;
    if (ParseDate(text.c_str(), &parsed)) {
      date = parsed;
    }
    if (!clock) {
      throw new CQError("The parameter \"CLOCK\" was not found in the R&S wv file.");
    }
    lv_iq::PositiveField(*clock, fileName, "CLOCK");
    const int64_t fileSize = file.Size();
    file.Close();
    const int64_t n = lv_iq::SampleCountField(samples, fileName, "SAMPLES");
    // Without its waveform tag the file holds no samples to read: say so
    // here rather than describe samples that no read can deliver.
    if (offset == 0) {
      throw new CQError("The parameter \"WAVEFORM\" was not found in the R&S wv file.");
    }
    lv_iq::CheckSampleCount(n, fileSize - offset, 4);
    info->complex = true;
    info->floatData = false;
    info->numPoints = n;
    info->sampleRate = *clock;
    info->centerFreq = frequency;
    info->scale = 1.0f;
    info->bandwidth = 0.8 * *clock;
    info->timeOffset = 0.0;
    info->firstSampleTime = date.value_or(CQDateTime());
    info->timeReference = date.value_or(CQDateTime());
    dataOffset_ = offset;
    numPoints_ = n;
    clock_ = *clock;
    centerFreq_ = frequency;
    bandwidth_ = 0.8 * *clock;
    timeOrigin_ = 0.0;
    if (date) {
      if (!date_) {
        date_ = std::make_unique<CQDateTime>();
      }
      *date_ = *date;
    } else {
      date_.reset();
    }
  });
}

void CQReadRSWvFile::ReadData() {
  Named("CQReadRSWvFile::ReadData", [&] {
    if (clock_ == 0.0 || dataOffset_ == 0) {
      throw new CQError("Programming error: ReadHeader() must be called before calling ReadData() for R&S wv files.");
    }
    if (!output_) {
      output_ = std::make_unique<CQCArrayTD>();
    }
    const lv_iq::ReadWindow w = lv_iq::ComputeReadWindow(partialRead, start, count, numPoints_, clock_, timeOrigin_);
    const float* pairs = nullptr;
    if (w.readSomething) {
      buffers_.Prepare(w.count);
      lv_iq::File file(lv::WideToUtf8(*name_).c_str(), "rb");
      if (!file.IsOpen()) {
        throw new CQError("Error opening R&S wv file.");
      }
      pairs = lv_iq::ReadScaledPairs(file, dataOffset_ + 4 * w.first, w.count, 3.0518509e-05f, buffers_,
                                     "Error reading data from R&S wv file.");
    }
    const CQDateTime none;
    lv_iq::FillOutput(*output_, w, pairs, clock_, centerFreq_, date_ ? date_.get() : &none);
  });
}

bool CQWriteRSWvFile::IsWvFileName(const wchar_t* name) {
  return FileNameContains(name, {L".WV"}) && !FileNameContains(name, {L".WVD", L".WVH"});
}

void CQWriteRSWvFile::SetFileName(const wchar_t* name) {
  Named("CQWriteRSWvFile::SetFileName", [&] {
    name_.reset();
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    if (name[0] != L'\0') {
      name_ = std::wstring(name);
    }
  });
}

void CQWriteRSWvFile::WriteHeader() {
  Named("CQWriteRSWvFile::WriteHeader", [&] {
    if (!name_) {
      throw new CQError("Programming error: file name must be set before calling WriteHeader().");
    }
    int year, month, day, hour, minute, second;
    const bool useOwn = startDate && !(startDate->day == 0 && startDate->month == 0 && startDate->year == 0) &&
                        !(startDate->hour == 0 && startDate->minute == 0 && std::fabs(startDate->second) < 1e-9);
    if (useOwn) {
      year = startDate->year, month = startDate->month, day = startDate->day;
      hour = startDate->hour, minute = startDate->minute, second = static_cast<int>(startDate->second);
    } else {
      const CQErrorReportTime now = CQErrorCurrentUtcTime();
      year = now.year, month = now.month, day = now.day, hour = now.hour, minute = now.minute;
      second = static_cast<int>(now.second);
    }
    // A file its own reader would refuse is not written at all.
    if (!std::isfinite(clock) || !(clock > 0.0)) {
      throw new CQError("Invalid sample rate.");
    }
    if (!std::isfinite(centerFreq)) {
      throw new CQError("Invalid center frequency.");
    }
    // The header is written together with the data, so that the file appears only when whole.
    header_ = "{TYPE: SMU-WV,0}";
    header_ += lv::FormatC("{DATE:%d-%d-%d;%02d:%02d:%02d}", year, month, day, hour, minute, second);
    header_ += "{CLOCK:" + ReadableNumber(clock) + "}";
    header_ += "{LEVEL OFFS:0.0, 0.0}";
    header_ += "{FREQUENCY:" + ReadableNumber(centerFreq) + "}";
    // Check now that the file can be created at all.
    lv_iq::AtomicFileWriter probe(lv::WideToUtf8(*name_), "Error creating R&S wv file.");
    headerWritten_ = true;
  });
}

void CQWriteRSWvFile::WriteData(const CQCArrayTD* array) {
  Named("CQWriteRSWvFile::WriteData", [&] {
    if (array == nullptr) {
      throw new CQError("Null pointer to input data.");
    }
    const int n = array->GetNumPoints();
    if (n == 0) {
      return;
    }
    if (!name_ || !headerWritten_) {
      throw new CQError("Programming error: file name must be set before calling WriteHeader().");
    }
    lv_iq::CheckFiniteSamples(*array);
    buffers_.Prepare(n);
    // Normalise a copy: the caller's array stays as it was.
    const int parts = 2 * n;
    CQArrayMath::CopyArray(reinterpret_cast<const float*>(array->GetDataPtr()), buffers_.floats2(), parts);
    CQArrayMath::NormalizeToOne(buffers_.floats2(), parts);
    CQArrayMath::ArrayScalarMult(buffers_.floats2(), 32767.0f, buffers_.floats1(), parts);
    CQArrayMath::LimitMaxValue(buffers_.floats1(), 32767.0f, parts);
    CQArrayMath::LimitMinValue(buffers_.floats1(), -32767.0f, parts);
    CQArrayMath::CopyArray(buffers_.floats1(), buffers_.ints(), parts);
    lv_iq::AtomicFileWriter out(lv::WideToUtf8(*name_), "Error opening R&S wv file to write data.");
    out.WriteText(header_, "Error writing to R&S wv file.");
    out.WriteText(lv::FormatC("{SAMPLES:%d}", n), "Error writing to R&S wv file.");
    out.WriteText(lv::FormatC("{WAVEFORM-%lld:#", 4LL * n + 1), "Error writing to R&S wv file.");
    out.Write(buffers_.ints(), 4 * static_cast<size_t>(n), "Error writing data to R&S wv file.");
    out.WriteText("}", "Error writing to R&S wv file.");
    out.Commit("Error writing data to R&S wv file.");
  });
}
