#include "plots/windows/iq_save.h"

#include <cwctype>

#include "core/array_math.h"
#include "core/arrays/carray.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "iqfiles/formats/iqbin.h"
#include "iqfiles/formats/iqtxt.h"
#include "iqfiles/formats/pair_files.h"
#include "iqfiles/formats/vsa_text.h"
#include "iqfiles/formats/wv.h"

namespace {

// The upper-cased extension of the file-name part, without the dot.
std::wstring FinalExtension(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'/');
  const size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
  const size_t dot = path.find_last_of(L'.');
  if (dot == std::wstring::npos || dot < nameStart) {
    return std::wstring();
  }
  std::wstring ext = path.substr(dot + 1);
  for (wchar_t& c : ext) {
    c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  }
  return ext;
}

}  // namespace

IQSaveFormat IQSaveFormatOf(const wchar_t* path) {
  if (path == nullptr) {
    return IQSaveFormat::kNone;
  }
  const std::wstring ext = FinalExtension(path);
  if (ext == L"IQBIN") return IQSaveFormat::kIQBin;
  if (ext == L"IQTXT") return IQSaveFormat::kIQTxt;
  if (ext == L"WVD" || ext == L"WVH") return IQSaveFormat::kRSWvdh;
  if (ext == L"WV") return IQSaveFormat::kRSWv;
  if (ext == L"TXT") return IQSaveFormat::kADIVSATxt;
  return IQSaveFormat::kNone;
}

void SaveIQData(const CQCArrayTD* input, const wchar_t* path) {
  lv::Named("SaveIQData", [&] {
    if (input == nullptr || input->GetDataPtr() == nullptr || input->GetNumPoints() <= 0) {
      throw new CQError(kIQSaveNoDataMessage);
    }
    if (path == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    switch (IQSaveFormatOf(path)) {
      case IQSaveFormat::kIQBin: {
        CLumvardBinFile f;
        f.SetFileName(path);
        f.WriteToFile(input);
        break;
      }
      case IQSaveFormat::kIQTxt: {
        CLumvardTxtFile f;
        f.SetFileName(path);
        f.WriteToFile(input);
        break;
      }
      case IQSaveFormat::kRSWvdh: {
        CQRSWvdhFile f;
        f.SetScale(CQRSWvdhFile::MakeScaleFromPeak(CQArrayMath::FindMaxMag(input->GetDataPtr(), input->GetNumPoints())));
        f.SetSampleRate(input->GetSampleRate());
        f.SetCenterFreq(input->GetCenterFreq());
        f.SetFileName(path);
        f.WriteHeader();
        f.WriteData(input);
        f.FinishDataFile();
        break;
      }
      case IQSaveFormat::kRSWv: {
        CQWriteRSWvFile f;
        f.clock = input->GetSampleRate();
        f.centerFreq = input->GetCenterFreq();
        f.SetFileName(path);
        f.WriteHeader();
        f.WriteData(input);
        break;
      }
      case IQSaveFormat::kADIVSATxt: {
        CQADIVSATxtFile f;
        f.SetFileName(path);
        f.WriteToFile(input);
        break;
      }
      case IQSaveFormat::kNone:
        throw new CQError(kIQSaveUnknownTypeMessage);
    }
  });
}

std::wstring IQSaveExtensionOfFilter(int filterIndex) {
  static const wchar_t* const kExtensions[] = {L".iqbin", L".iqtxt", L".wvd", L".wv", L".txt"};
  if (filterIndex < 2 || filterIndex > 6) {
    return std::wstring();
  }
  return kExtensions[filterIndex - 2];
}

std::wstring IQSaveNameForFilter(const std::wstring& name, int filterIndex) {
  const std::wstring ext = IQSaveExtensionOfFilter(filterIndex);
  if (name.empty() || ext.empty()) {
    return name;
  }
  const size_t dot = name.find_last_of(L'.');
  return (dot == std::wstring::npos ? name : name.substr(0, dot)) + ext;
}
