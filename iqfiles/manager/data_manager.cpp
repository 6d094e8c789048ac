#include "iqfiles/manager/data_manager.h"

#include <cwchar>
#include <string>

#include "workers/settings_file.h"
#include "core/array_math.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "iqfiles/formats/bin_pair.h"
#include "iqfiles/formats/file_name.h"
#include "iqfiles/formats/generic_text.h"
#include "iqfiles/formats/iqbin.h"
#include "iqfiles/formats/pair_files.h"
#include "iqfiles/formats/patgen_text.h"
#include "iqfiles/formats/vsa_text.h"
#include "iqfiles/formats/wv.h"
#include "iqfiles/formats/xdat.h"

namespace {

constexpr size_t kMaxPath = 260;

// The upper-cased file-name part of the path (at most 260 characters): the
// format tests never look at the folders.
std::wstring UpperName(const wchar_t* name) {
  std::wstring upper = UpperFileNamePart(name);
  if (upper.size() > kMaxPath) {
    upper.resize(kMaxPath);
  }
  return upper;
}

bool Contains(const std::wstring& upper, const wchar_t* text) { return upper.find(text) != std::wstring::npos; }

std::wstring Key(int32_t input, const wchar_t* leaf) {
  wchar_t buffer[128];
  std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"DataManager:File %d:%ls", input, leaf);
  return buffer;
}

// The rate multiplier of ADI VSA text: XDelta in microseconds for text type
// 8, in seconds for type 7. Set before every use, so a file's rate never
// depends on which type the input was read as before.
double AdiRateMultiplier(int32_t typeCode) {
  return typeCode == CQMultiDataMgr::kTypeAdiVsaTxtMHz ? 1e6 : 1.0;
}

// The generic text reader takes a 32-bit start; a window that begins
// further out lies wholly outside any such file either way.
int32_t ClampToInt32(int64_t v) {
  constexpr int64_t lo = INT32_MIN;
  constexpr int64_t hi = INT32_MAX;
  return static_cast<int32_t>(v < lo ? lo : (v > hi ? hi : v));
}

// Copies a reader's output array into the block's samples (the block keeps
// its own array object).
void TakeSamples(CQFileDataBlock* block, const CQCArrayTD* output) {
  if (output != nullptr) {
    block->samples->Set(output);
  } else {
    block->samples->Clear();
  }
}

// Hands the block's read window (the whole file, or start and count) to a reader.
template <typename Reader>
void GiveWindow(Reader& r, const CQFileDataBlock* block) {
  r.partialRead = block->partialRead;
  r.start = block->start;
  r.count = block->count;
}

// Copies what a reader read into the block: samples, count, centre and rate.
template <typename Reader>
void TakeResults(CQFileDataBlock* block, Reader& r) {
  TakeSamples(block, r.GetOutput());
  block->numPoints = r.GetNumPoints();
  block->centerFreq = r.GetCenterFreq();
  block->sampleRate = r.GetSampleRate();
}

}  // namespace

struct CQMultiDataMgr::Input {
  bool active = false;
  double txtSampleRate = 0.0;
  double txtCenterFreq = 0.0;
  int32_t typeCode = 0;
  int32_t txtType = 0;
  std::optional<std::wstring> name;
  std::optional<std::wstring> rootName;
  // The reader of the type code has parsed the current file's header (a
  // description, a read or an opening did). Xdat and VSA reads and the
  // opening of an Xdat data file need that parse; done before any
  // description they make it, so they never work from an older file's header.
  bool headerRead = false;
  // One reader per format (.iqtxt has none).
  std::unique_ptr<CQReadXdatFile> xdat;
  std::unique_ptr<CQSIQFile> siq;
  std::unique_ptr<CLumvardBinFile> iqbin;
  std::unique_ptr<CQAgilentBinFile> agilentBin;
  std::unique_ptr<CQAgilentVSATxtFile> agilentVsa;
  std::unique_ptr<CQADIVSATxtFile> adiVsa;
  std::unique_ptr<CQADIDpgTxtFile> dpg;
  std::unique_ptr<CQGenericTxtIQInputFile> generic;
  std::unique_ptr<CQRSWvdhFile> wvdh;
  std::unique_ptr<CQReadRSWvFile> wv;
};

CQMultiDataMgr::CQMultiDataMgr() {
  for (auto& in : inputs_) {
    in = std::make_unique<Input>();
  }
  try {
    try {
      for (auto& in : inputs_) {
        in->xdat = std::make_unique<CQReadXdatFile>();
        in->siq = std::make_unique<CQSIQFile>();
        in->iqbin = std::make_unique<CLumvardBinFile>();
        in->agilentBin = std::make_unique<CQAgilentBinFile>();
        in->agilentVsa = std::make_unique<CQAgilentVSATxtFile>();
        in->adiVsa = std::make_unique<CQADIVSATxtFile>();
        in->dpg = std::make_unique<CQADIDpgTxtFile>();
        in->generic = std::make_unique<CQGenericTxtIQInputFile>();
        in->wvdh = std::make_unique<CQRSWvdhFile>();
        in->wv = std::make_unique<CQReadRSWvFile>();
      }
    } catch (const std::bad_alloc&) {
      throw new CQError(1, "CQMultiDataMgr::CQMultiDataMgr");
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiDataMgr::CQMultiDataMgr");
    ShowErrorDialog(e);
  }
}

CQMultiDataMgr::~CQMultiDataMgr() = default;

CQMultiDataMgr::Input& CQMultiDataMgr::At(int32_t index, const char* name) {
  if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(kNumInputs)) {
    throw name != nullptr ? new CQError("Invalid file index.", name) : new CQError("Invalid file index.");
  }
  return *inputs_[static_cast<size_t>(index)];
}

const CQMultiDataMgr::Input& CQMultiDataMgr::At(int32_t index, const char* name) const {
  return const_cast<CQMultiDataMgr*>(this)->At(index, name);
}

void CQMultiDataMgr::SetIsFileActive(bool active, int32_t index) { At(index, "CQMultiDataMgr::SetIsFileActive").active = active; }

void CQMultiDataMgr::SetTxtFileType(int32_t type, int32_t index) {
  Input& in = At(index, "CQMultiDataMgr::SetTxtFileType");
  if (type >= kTypeAgilentVsaTxt && type <= kTypeDpgTxt2) {
    in.txtType = type;
  }
}

void CQMultiDataMgr::SetTxtSampleRate(double rate, int32_t index) {
  At(index, "CQMultiDataMgr::SetTxtSampleRate").txtSampleRate = rate;
}

void CQMultiDataMgr::SetTxtCenterFreq(double freq, int32_t index) {
  At(index, "CQMultiDataMgr::SetTxtCenterFreq").txtCenterFreq = freq;
}

void CQMultiDataMgr::SetIQFileName(const wchar_t* name, int32_t index) {
  try {
    if (name == nullptr) {
      throw new CQError("Attempt to set file name to a Null string.");
    }
    Input& in = At(index, nullptr);
    in.name.reset();
    if (*name == L'\0') {
      return;
    }
    in.name = std::wstring(name);
    SetRootFileName(index);
    HandleNewFile(index);
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiDataMgr::SetIQFileName");
    throw;
  }
}

void CQMultiDataMgr::SetRootFileName(int32_t index) {
  try {
    Input& in = At(index, nullptr);
    in.rootName.reset();
    in.typeCode = kTypeNone;
    if (in.name) {
      wchar_t root[CQFileUtils::kPathCapacity] = {};
      if (CQFileUtils::GetName(in.name->c_str(), root) && root[0] != L'\0') {
        in.rootName = std::wstring(root);
      }
    }
  } catch (CQError* e) {
    delete e;  // a root name is only shown; failing to make one is not an error
  }
}

void CQMultiDataMgr::GiveNameToReader(Input& in, const wchar_t* name) {
  // A reader's data file stays open between reads; a new name must not read
  // on from the previous file's data.
  in.xdat->CloseDataFile();
  in.siq->CloseDataFile();
  in.wvdh->CloseDataFile();
  in.headerRead = false;
  if (name == nullptr) {
    return;
  }
  switch (in.typeCode) {
    case kTypeXdat:
      in.xdat->SetFileName(name);
      break;
    case kTypeSiq:
      in.siq->SetFileName(name);
      break;
    case kTypeIqBin:
      in.iqbin->SetFileName(name);
      break;
    case kTypeAgilentBin:
      in.agilentBin->SetFileName(name);
      break;
    case kTypeAgilentVsaTxt:
      in.agilentVsa->SetFileName(name);
      break;
    case kTypeAdiVsaTxt:
    case kTypeAdiVsaTxtMHz:
      in.adiVsa->SetFileName(name);
      break;
    case kTypeGenericTxt3:
    case kTypeGenericTxt5:
    case kTypeGenericCsv5:
      in.generic->SetFileName(name);
      break;
    case kTypeDpgTxt1:
    case kTypeDpgTxt2:
      in.dpg->SetFileName(name);
      break;
    case kTypeWvdh:
      in.wvdh->SetFileName(name);
      break;
    case kTypeWv:
      in.wv->SetFileName(name);
      break;
    default:
      break;  // types 0 and 4 have no reader
  }
}

void CQMultiDataMgr::DetermineType(Input& in, const wchar_t* name) {
  if (in.typeCode != kTypeNone) {
    return;
  }
  in.typeCode = FindFileType(name, in.txtType);
  if (in.typeCode != kTypeNone) {
    GiveNameToReader(in, in.name ? in.name->c_str() : name);
  }
}

void CQMultiDataMgr::HandleNewFile(int32_t index) {
  try {
    Input& in = At(index, nullptr);
    const wchar_t* name = in.name ? in.name->c_str() : nullptr;
    in.typeCode = FindFileType(name, in.txtType);
    GiveNameToReader(in, name);
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiDataMgr::HandleNewFile");
    throw;
  }
}

bool CQMultiDataMgr::GetIsFileActive(int32_t index) const { return At(index, "CQMultiDataMgr::GetIsFileActive").active; }
int32_t CQMultiDataMgr::GetTxtFileType(int32_t index) const { return At(index, "CQMultiDataMgr::GetTxtFileType").txtType; }
double CQMultiDataMgr::GetTxtSampleRate(int32_t index) const {
  return At(index, "CQMultiDataMgr::GetTxtSampleRate").txtSampleRate;
}
double CQMultiDataMgr::GetTxtCenterFreq(int32_t index) const {
  return At(index, "CQMultiDataMgr::GetTxtCenterFreq").txtCenterFreq;
}
int32_t CQMultiDataMgr::GetInputFileType(int32_t index) const {
  return At(index, "CQMultiDataMgr::GetInputFileType").typeCode;
}
const wchar_t* CQMultiDataMgr::GetIQFileName(int32_t index) const {
  const Input& in = At(index, "CQMultiDataMgr::GetIQFileName");
  return in.name ? in.name->c_str() : nullptr;
}
const wchar_t* CQMultiDataMgr::GetRootFileName(int32_t index) const {
  const Input& in = At(index, "CQMultiDataMgr::GetRootFileName");
  return in.rootName ? in.rootName->c_str() : nullptr;
}

int32_t CQMultiDataMgr::FindFileType(const wchar_t* name, int32_t txtType) {
  if (name == nullptr) {
    return kTypeNone;
  }
  const std::wstring upper = UpperName(name);
  if (Contains(upper, L".XHDR") || Contains(upper, L".XDAT") || Contains(upper, L".XMRK")) {
    return kTypeXdat;
  }
  if (Contains(upper, L".SIQH") || Contains(upper, L".SIQD")) {
    return kTypeSiq;
  }
  // ".BIN.TXT" contains ".BIN"; ".IQBIN" does not (the dot precedes IQ).
  if (Contains(upper, L".BIN")) {
    return kTypeAgilentBin;
  }
  if (Contains(upper, L".IQBIN")) {
    return kTypeIqBin;
  }
  if (Contains(upper, L".IQTXT")) {
    return kTypeIqTxt;
  }
  if (Contains(upper, L".WVH") || Contains(upper, L".WVD")) {
    return kTypeWvdh;
  }
  if (Contains(upper, L".WV")) {
    return kTypeWv;
  }
  if (Contains(upper, L".TXT")) {
    return (txtType >= kTypeAgilentVsaTxt && txtType <= kTypeDpgTxt2) ? txtType : kTypeNone;
  }
  if (Contains(upper, L".CSV")) {
    return txtType == kTypeGenericCsv5 ? kTypeGenericCsv5 : kTypeNone;
  }
  return kTypeNone;
}

bool CQMultiDataMgr::IsTxtFileName(const wchar_t* name) { return name != nullptr && Contains(UpperName(name), L".TXT"); }
bool CQMultiDataMgr::IsCsvFileName(const wchar_t* name) { return name != nullptr && Contains(UpperName(name), L".CSV"); }

void CQMultiDataMgr::DescribeByType(Input& in, CQFileInfo* info) {
  switch (in.typeCode) {
    case kTypeXdat:
      in.xdat->ReadHeader();
      in.xdat->GetFileInfo(info);
      return;
    case kTypeSiq:
      in.siq->GetFileInfo(info);
      return;
    case kTypeIqBin:
      in.iqbin->GetFileInfo(in.iqbin->GetFileNameUtf8(), info);
      return;
    case kTypeIqTxt:
      return;  // no reader: the record stays in its initial state
    case kTypeAgilentBin:
      in.agilentBin->GetFileInfo(info);
      return;
    case kTypeAgilentVsaTxt:
      in.agilentVsa->GetFileInfo(in.agilentVsa->GetFileNameUtf8(), info);
      return;
    case kTypeAdiVsaTxt:
    case kTypeAdiVsaTxtMHz:
      in.adiVsa->SetRateMultiplier(AdiRateMultiplier(in.typeCode));
      in.adiVsa->GetFileInfo(in.adiVsa->GetFileNameUtf8(), info);
      return;
    case kTypeGenericTxt3:
      // "I Q" lines carry no rate: the user's rate and centre describe them.
      in.generic->layout = 3;
      in.generic->SetFileSampleRate(in.txtSampleRate);
      in.generic->GetFileInfo(info);
      info->sampleRate = in.txtSampleRate;
      info->centerFreq = in.txtCenterFreq;
      return;
    case kTypeGenericTxt5:
    case kTypeGenericCsv5:
      in.generic->layout = 5;
      in.generic->GetFileInfo(info);
      info->centerFreq = in.txtCenterFreq;
      return;
    case kTypeDpgTxt1:
    case kTypeDpgTxt2:
      in.dpg->SetFileSampleRate(in.txtSampleRate);  // refuses a rate of 0 or below
      in.dpg->SetFileCenterFreq(in.txtCenterFreq);
      in.dpg->GetFileInfo(info);
      info->sampleRate = in.txtSampleRate;
      info->centerFreq = in.txtCenterFreq;
      return;
    case kTypeWvdh:
      in.wvdh->GetFileInfo(info);
      return;
    case kTypeWv:
      in.wv->GetFileInfo(info);
      return;
    default:
      throw new CQError("Unsupported input file type.");
  }
}

CQFileInfo* CQMultiDataMgr::GetIQFileInfo(const wchar_t* name, int32_t index) {
  CQFileInfo* info = nullptr;
  try {
    if (name == nullptr) {
      throw new CQError("No input file selected.");
    }
    Input& in = At(index, nullptr);
    try {
      info = new CQFileInfo();
    } catch (const std::bad_alloc&) {
      throw new CQError(1, "CQMultiDataMgr::GetIQFileInfo");
    }
    DetermineType(in, name);
    DescribeByType(in, info);
    in.headerRead = true;
    return info;
  } catch (CQError* e) {
    delete info;
    e->AddToCallStack("CQMultiDataMgr::GetIQFileInfo");
    throw;
  }
}

CQModFileInfo* CQMultiDataMgr::GetModFileInfo(const wchar_t* name, int32_t index) {
  CQModFileInfo* mod = nullptr;
  try {
    if (name == nullptr) {
      throw new CQError("No input file selected.");
    }
    Input& in = At(index, nullptr);
    mod = new CQModFileInfo();
    DetermineType(in, name);
    if (in.typeCode == kTypeNone) {
      throw new CQError("Unsupported input file type.");
    }
    if (in.typeCode == kTypeIqBin && in.iqbin->GetModInfo() != nullptr) {
      mod->CopyFrom(in.iqbin->GetModInfo());
    }
    return mod;
  } catch (CQError* e) {
    delete mod;
    e->AddToCallStack("CQMultiDataMgr::GetModFileInfo");
    throw;
  }
}

void CQMultiDataMgr::ReadByType(Input& in, CQFileDataBlock* block) {
  switch (in.typeCode) {
    case kTypeNone:
    case kTypeIqTxt:
      return;  // nothing to read
    case kTypeSiq:
    case kTypeWvdh: {
      CQIntPairFile& r = in.typeCode == kTypeSiq ? static_cast<CQIntPairFile&>(*in.siq) : *in.wvdh;
      GiveWindow(r, block);
      r.ReadData();
      TakeResults(block, r);
      if (r.GetTimeOriginDate() != nullptr) {
        block->samples->StartDateTime() = *r.GetTimeOriginDate();
      }
      return;
    }
    case kTypeIqBin: {
      CLumvardBinFile& r = *in.iqbin;
      GiveWindow(r, block);
      r.ReadFromFile();
      TakeResults(block, r);
      return;
    }
    case kTypeAgilentBin: {
      CQAgilentBinFile& r = *in.agilentBin;
      GiveWindow(r, block);
      r.ReadData();
      TakeResults(block, r);
      return;
    }
    case kTypeWv: {
      CQReadRSWvFile& r = *in.wv;
      GiveWindow(r, block);
      r.ReadData();
      TakeSamples(block, r.GetOutput());
      block->samples->StartDateTime() = r.GetStartDate() != nullptr ? *r.GetStartDate() : CQDateTime{};
      block->numPoints = r.GetNumPoints();
      block->centerFreq = r.GetCenterFreq();
      block->sampleRate = r.GetClock();
      return;
    }
    case kTypeXdat: {
      if (!block->partialRead) {
        throw new CQError("Programming error: full reads of xdat files are not supported.");
      }
      CQReadXdatFile& r = *in.xdat;
      if (!in.headerRead) {
        r.ReadHeader();
        in.headerRead = true;
      }
      GiveWindow(r, block);
      r.ReadData();
      TakeResults(block, r);
      block->samples->StartDateTime() = r.GetStartTime();
      block->firstSampleTime = r.GetStartTime();
      return;
    }
    case kTypeAgilentVsaTxt:
    case kTypeAdiVsaTxt:
    case kTypeAdiVsaTxtMHz: {
      // These readers always read the whole file.
      CQVSATxtReader* r = in.agilentVsa.get();
      if (in.typeCode != kTypeAgilentVsaTxt) {
        in.adiVsa->SetRateMultiplier(AdiRateMultiplier(in.typeCode));
        r = in.adiVsa.get();
      }
      if (!in.headerRead) {
        r->ReadHeader();
        in.headerRead = true;
      }
      r->ReadData();
      TakeResults(block, *r);
      return;
    }
    case kTypeGenericTxt3:
    case kTypeGenericTxt5:
    case kTypeGenericCsv5: {
      CQGenericTxtIQInputFile& r = *in.generic;
      const bool userRate = in.typeCode == kTypeGenericTxt3;
      r.layout = userRate ? 3 : 5;
      if (userRate) {
        r.SetFileSampleRate(in.txtSampleRate);  // places a window's first sample in time
      }
      r.partialRead = block->partialRead;
      r.start = ClampToInt32(block->start);
      r.count = block->count;
      r.ReadData();
      if (userRate) {
        r.SetSampleRate(in.txtSampleRate);
      }
      r.SetCenterFreq(in.txtCenterFreq);
      TakeSamples(block, &r);
      block->numPoints = r.GetFileNumPoints();
      block->centerFreq = in.txtCenterFreq;
      block->sampleRate = r.GetSampleRate();
      return;
    }
    case kTypeDpgTxt1:
    case kTypeDpgTxt2: {
      // These files carry neither rate nor centre: the user's are used. The
      // reader always reads the whole file.
      CQADIDpgTxtFile& r = *in.dpg;
      r.SetFileSampleRate(in.txtSampleRate);  // refuses a rate of 0 or below
      r.SetFileCenterFreq(in.txtCenterFreq);
      r.layout = in.typeCode == kTypeDpgTxt1 ? 1 : 2;
      r.valueScale = 1.0f;
      r.ReadData();
      TakeResults(block, r);
      return;
    }
    default:
      return;
  }
}

void CQMultiDataMgr::ReadFileData(CQFileDataBlock* block, int32_t index) {
  try {
    if (block == nullptr) {
      throw new CQError("Null pointer to input data.");
    }
    Input& in = At(index, nullptr);
    if (block->partialRead && block->count <= 0) {
      block->Reset();
      return;
    }
    try {
      ReadByType(in, block);
    } catch (CQError*) {
      block->rawSamples->Empty();
      throw;
    }
    block->rawSamples->Empty();
    if ((in.typeCode == kTypeDpgTxt1 || in.typeCode == kTypeDpgTxt2) && normalize_ &&
        block->samples->GetNumPoints() > 0) {
      CQArrayMath::NormalizeToOne(block->samples->GetDataPtr(), block->samples->GetNumPoints());
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiDataMgr::ReadFileData");
    throw;
  }
}

void CQMultiDataMgr::OpenDataFile(int32_t index) {
  try {
    Input& in = At(index, nullptr);
    DetermineType(in, in.name ? in.name->c_str() : nullptr);
    if (in.typeCode == kTypeNone) {
      throw new CQError("Unsupported file type.");
    }
    const wchar_t* name = in.name ? in.name->c_str() : L"";
    switch (in.typeCode) {
      case kTypeXdat:
        in.xdat->SetFileName(name);
        // Opening checks the data file's size against the header's count.
        if (!in.headerRead) {
          in.xdat->ReadHeader();
          in.headerRead = true;
        }
        in.xdat->OpenDataFile();
        break;
      case kTypeSiq:
        in.siq->SetFileName(name);
        in.siq->OpenDataFile();
        break;
      case kTypeWvdh:
        in.wvdh->SetFileName(name);
        in.wvdh->OpenDataFile();
        break;
      default:
        break;
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiDataMgr::OpenDataFile");
    throw;
  }
}

void CQMultiDataMgr::CloseDataFile(int32_t index) {
  try {
    Input& in = At(index, nullptr);
    in.xdat->CloseDataFile();
    in.siq->CloseDataFile();
    in.wvdh->CloseDataFile();
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiDataMgr::CloseDataFile");
    throw;
  }
}

void CQMultiDataMgr::SaveSettings(CQAppSettings* settings) {
  if (settings == nullptr) {
    return;
  }
  try {
    for (int32_t i = 0; i < kNumInputs; ++i) {
      const Input& in = *inputs_[static_cast<size_t>(i)];
      if (in.name) {
        settings->SetValue(Key(i, L"Input file").c_str(), in.name->c_str());
      }
      settings->SetValue(Key(i, L"File active").c_str(), in.active);
      settings->SetValue(Key(i, L"Txt file type").c_str(), in.txtType);
      settings->SetValue(Key(i, L"Txt file sample rate").c_str(), in.txtSampleRate);
      settings->SetValue(Key(i, L"Txt file center freq").c_str(), in.txtCenterFreq);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiDataMgr::SaveSettings");
    throw;
  }
}

void CQMultiDataMgr::RecallSettings(CQAppSettings* settings) {
  if (settings == nullptr) {
    return;
  }
  try {
    for (int32_t i = 0; i < kNumInputs; ++i) {
      bool active = false;
      if (settings->GetValue(Key(i, L"File active").c_str(), &active)) {
        SetIsFileActive(active, i);
      }
      int32_t txtType = 0;
      const bool haveType = settings->GetValue(Key(i, L"Txt file type").c_str(), &txtType);
      if (haveType) {
        SetTxtFileType(txtType, i);
      }
      double value = 0.0;
      if (settings->GetValue(Key(i, L"Txt file sample rate").c_str(), &value)) {
        SetTxtSampleRate(value, i);
      }
      if (settings->GetValue(Key(i, L"Txt file center freq").c_str(), &value)) {
        SetTxtCenterFreq(value, i);
      }
      wchar_t name[kMaxPath + 1] = {};
      if (settings->GetValue(Key(i, L"Input file").c_str(), name, static_cast<int32_t>(kMaxPath + 1))) {
        SetIQFileName(name, i);
        Input& in = *inputs_[static_cast<size_t>(i)];
        in.typeCode = FindFileType(name, haveType ? in.txtType : 0);
      }
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQMultiDataMgr::RecallSettings");
    throw;
  }
}
