#include "iqfiles/formats/iqtxt.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "core/call_stack.h"
#include "core/error.h"
#include "iqfiles/formats/file_io.h"
#include "iqfiles/formats/file_name.h"
#include "platform/text.h"

namespace {

using lv::Named;

// The number right after the key (white space allowed in between), or nothing.
template <typename T>
std::optional<T> NumberAfterKey(const std::string& line, size_t keyEnd) {
  size_t i = keyEnd;
  while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) {
    ++i;
  }
  const std::string_view rest(line.data() + i, line.size() - i);
  if constexpr (std::is_integral_v<T>) {
    auto v = lv::ParseIntC(rest);
    if (v && *v >= INT32_MIN && *v <= INT32_MAX) {
      return static_cast<T>(*v);
    }
    return std::nullopt;
  } else {
    return lv::ParseDoubleC(rest);
  }
}

}  // namespace

void CLumvardTxtFile::SetFileName(const wchar_t* name) {
  Named("CLumvardTxtFile::SetFileName", [&] {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    name_.reset();
    if (name[0] != L'\0') {
      name_ = lv::WideToUtf8(name);
    }
    headerRead_ = false;
  });
}

bool CLumvardTxtFile::IsIQTxtFileName(const wchar_t* name) {
  return FileNameContains(name, {L".IQTXT"});
}

void CLumvardTxtFile::GetFileInfo(const char* name, CQFileInfo* info) {
  Named("CLumvardTxtFile::GetFileInfo", [&] {
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    ReadFileParams(name);
    SetFloatFileInfo(info, numPoints_, sampleRate_, centerFreq_);
  });
}

void CLumvardTxtFile::ReadFileParams(const char* name) {
  Named("CLumvardTxtFile::ReadFileParams", [&] {
    headerRead_ = false;
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    lv_iq::File file(name, "rb");
    if (!file.IsOpen()) {
      throw new CQError("Error opening IQTxt input file.");
    }
    std::string line;
    if (!file.ReadLine(line)) {
      throw new CQError("Error reading from IQTxt file. (Error reading first line.)");
    }
    if (line.find("IQTxt v1") == std::string::npos) {
      throw new CQError("File is not a correctly formatted IQTxt file. (First line should be \"IQTxt v1\".)");
    }
    struct Key {
      const char* key;
      const char* missing;
      const char* unparsed;
    };
    const Key keys[] = {
        {"NumSamples", "Error reading from IQTxt file. (Error reading NumSamples.)",
         "Error reading from IQTxt file. (Error parsing NumSamples.)"},
        {"SampleRate", "Error reading from IQTxt file. (Error reading SampleRate.)",
         "Error reading from IQTxt file. (Error parsing SampleRate.)"},
        {"CenterFreq", "Error reading from IQTxt file. (Error reading CenterFreq.)",
         "Error reading from IQTxt file. (Error parsing CenterFreq.)"},
    };
    double values[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
      if (!file.ReadLine(line)) {
        throw new CQError("Error reading from IQTxt file. (Error reading header.)");
      }
      const size_t at = line.find(keys[k].key);
      if (at == std::string::npos) {
        throw new CQError(keys[k].missing);
      }
      const size_t end = at + std::strlen(keys[k].key);
      const std::optional<double> v =
          k == 0 ? [&]() -> std::optional<double> {
            auto i = NumberAfterKey<int32_t>(line, end);
            return i ? std::optional<double>(*i) : std::nullopt;
          }()
                 : NumberAfterKey<double>(line, end);
      if (!v || !std::isfinite(*v)) {
        throw new CQError(keys[k].unparsed);
      }
      values[k] = *v;
    }
    file.Close();
    if (values[0] < 0) {
      throw new CQError("Invalid number of samples for an IQTxt file.");
    }
    if (!(values[1] > 0.0)) {
      throw new CQError("Invalid sample rate for an IQTxt file.");
    }
    numPoints_ = static_cast<int64_t>(values[0]);
    sampleRate_ = values[1];
    centerFreq_ = values[2];
    headerRead_ = true;
  });
}

void CLumvardTxtFile::WriteToFile(const CQCArrayTD* array) {
  Named("CLumvardTxtFile::WriteToFile", [&] {
    lv_iq::CheckArrayToWrite(array);
    if (!name_) {
      throw new CQError("Null pointer to file name.");
    }
    lv_iq::CheckFiniteSamples(*array);
    const char* writeError = "Error writing the output IQTxt file.";
    lv_iq::AtomicFileWriter out(*name_, "Error creating the output IQTxt file.");
    out.WriteText(lv::FormatC("IQTxt v1\r\nNumSamples %12d\r\nSampleRate %.3lf\r\nCenterFreq %.3lf\r\n",
                              array->GetNumPoints(), array->GetSampleRate(), array->GetCenterFreq()),
                  writeError);
    const CQComplex* p = array->GetDataPtr();
    std::string chunk;
    for (int i = 0; i < array->GetNumPoints(); ++i) {
      chunk += lv::FormatC("%.6e %.6e\r\n", static_cast<double>(p[i].re), static_cast<double>(p[i].im));
      if (chunk.size() > 65536) {
        out.WriteText(chunk, writeError);
        chunk.clear();
      }
    }
    out.WriteText(chunk, writeError);
    out.Commit(writeError);
  });
}
