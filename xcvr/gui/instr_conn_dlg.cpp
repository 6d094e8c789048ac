#include "xcvr/gui/instr_conn_dlg.h"

#include <cwchar>
#include <cwctype>
#include <memory>

#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/gui/ip_address.h"
#include "xcvr/instr_settings.h"
#include "xcvr/instr_thread.h"

namespace {

struct ModelEntry {
  const wchar_t* text;
  int32_t code;
};

constexpr ModelEntry kModels[kInstrConnModelEntries] = {
    {L"FMCOMMS3", kModelFmcomms3}, {L"ADRV9361", kModelAdrv9361}, {L"ADALM-Pluto 2Rx 2Tx", kModelPluto},
    {L"AD9371", kModelAd9371},     {L"ADRV9009", kModelAdrv9009}, {L"FMCDAQ2", kModelFmcdaq2},
    {L"AD9081", kModelAd9081},     {L"AD9082", kModelAd9082},     {L"AD9172", kModelAd9172},
};

constexpr const wchar_t* kConnectionTexts[2] = {L"IIO over LAN", L"IIO over USB (Auto)"};

int EntryOfType(int32_t type) { return type == kConnectionUsbAuto ? 1 : 0; }
int32_t TypeOfEntry(int entry) { return entry == 1 ? kConnectionUsbAuto : kConnectionLan; }

}  // namespace

lv::DialogTemplate InstrMultiConnDlgTemplate() {
  using lv::ControlKind;
  constexpr uint32_t kList = lv::kStyleVScroll | lv::kStyleTabStop;
  lv::DialogTemplate t;
  t.name = "INSTR_MULTI_CONN_DIALOG";
  t.caption = L"Instrument Connection";
  t.width = 197;
  t.height = 104;
  t.controls = {
      {-1, ControlKind::kStaticText, L"Instrument", 12, 6, 66, 12},
      {kIdcInstrConnModel, ControlKind::kDropDownList, L"", 84, 6, 96, 72, kList},
      {-1, ControlKind::kStaticText, L"Connection type", 12, 24, 66, 12},
      {kIdcInstrConnType, ControlKind::kDropDownList, L"", 84, 24, 96, 72, kList},
      {-1, ControlKind::kGroupBox, L"LAN Parameters", 6, 42, 180, 30},
      {-1, ControlKind::kStaticText, L"IP address", 12, 54, 66, 12},
      {kIdcInstrConnIpAddress, ControlKind::kIpAddress, L"", 84, 54, 78, 12, lv::kStyleTabStop},
      {kIdcInstrConnApply, ControlKind::kDefPushButton, L"Apply", 24, 78, 56, 17, lv::kStyleTabStop},
      {kIdcInstrConnClose, ControlKind::kPushButton, L"Close", 114, 78, 56, 17, lv::kStyleTabStop},
  };
  return t;
}

const wchar_t* InstrConnModelText(int entry) {
  return entry >= 0 && entry < kInstrConnModelEntries ? kModels[entry].text : L"";
}

int32_t InstrConnModelOfEntry(int entry) {
  return entry >= 0 && entry < kInstrConnModelEntries ? kModels[entry].code : kModelFmcomms3;
}

int InstrConnEntryOfModel(int32_t model) {
  for (int i = 0; i < kInstrConnModelEntries; ++i) {
    if (kModels[i].code == model) return i;
  }
  return 0;
}

int32_t InstrConnShownType(int32_t model, int32_t type) {
  switch (model) {
    case kModelFmcomms3:
    case kModelAdrv9361:
    case kModelAd9371:
    case kModelAdrv9009:
    case kModelFmcdaq2:
    case kModelAd9081:
    case kModelAd9082:
    case kModelAd9172:
      return kConnectionLan;  // reached over the network only
    case kModelPluto:
      return type == kConnectionLan ? kConnectionLan : kConnectionUsbAuto;
    default:
      return type;
  }
}

std::wstring InstrConnPortOf(const wchar_t* address) {
  if (address == nullptr) return {};
  const wchar_t* colon = std::wcschr(address, L':');
  if (colon == nullptr) return {};
  // Only ":" and one to five digits: anything else is not a port to keep.
  const size_t digits = std::wcslen(colon + 1);
  if (digits == 0 || digits > 5) return {};
  for (const wchar_t* p = colon + 1; *p != L'\0'; ++p) {
    if (*p < L'0' || *p > L'9') return {};
  }
  return colon;
}

uint32_t InstrConnParseAddress(const wchar_t* address) {
  unsigned int numbers[4] = {0, 0, 0, 0};
  if (address != nullptr) {
    const wchar_t* p = address;
    for (int i = 0; i < 4; ++i) {
      unsigned int v = 0;
      int used = 0;
      if (std::swscanf(p, L"%u%n", &v, &used) != 1) break;
      numbers[i] = v;
      p += used;
      if (*p != L'.') break;
      ++p;
    }
  }
  return lv::MakeIpAddress(numbers[0] % 256u, numbers[1] % 256u, numbers[2] % 256u, numbers[3] % 256u);
}

CWUIInstrMultiConnDlg::CWUIInstrMultiConnDlg(int transmitters)
    : lv::Dialog(InstrMultiConnDlgTemplate()), numXmtrs_(transmitters < 0 ? 0 : transmitters) {}

CWUIInstrMultiConnDlg::~CWUIInstrMultiConnDlg() = default;

bool CWUIInstrMultiConnDlg::Create() {
  try {
    if (!lv::Dialog::Create()) {
      throw new CQError("The window could not be created.");
    }
    return true;
  } catch (CQError* e) {
    e->AddToCallStack("CWUIInstrMultiConnDlg::Create");
    ShowErrorDialog(e);
    return false;
  }
}

bool CWUIInstrMultiConnDlg::OnInitDialog() {
  ResetContent(kIdcInstrConnModel);
  for (const ModelEntry& m : kModels) AddString(kIdcInstrConnModel, m.text);
  SetCurSel(kIdcInstrConnModel, 0);
  ResetContent(kIdcInstrConnType);
  for (const wchar_t* text : kConnectionTexts) AddString(kIdcInstrConnType, text);
  SetCurSel(kIdcInstrConnType, 0);
  return true;
}

void CWUIInstrMultiConnDlg::ShowWindow(bool show) {
  Show(show);
  OnShowWindow(show);
}

void CWUIInstrMultiConnDlg::OnShowWindow(bool show) {
  if (!show) return;
  try {
    if (instrThread_ == nullptr) return;
    void* p = nullptr;
    instrThread_->GetParam(&p, kInstrGetSettings);
    // The instrument thread answers with a copy that the dialog owns.
    std::unique_ptr<CQInstrIIOMultiXcvrSettings> settings(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
    if (settings == nullptr) return;
    if (settings->modelSet) {
      SetCurSel(kIdcInstrConnModel, InstrConnEntryOfModel(settings->model));
    }
    if (settings->connectionSet) {
      const int32_t model = InstrConnModelOfEntry(GetCurSel(kIdcInstrConnModel));
      ShowConnectionType(model, settings->connectionType);
      const wchar_t* address = settings->GetIPAddress();
      if (address != nullptr) {
        lv::SetIpAddress(*this, kIdcInstrConnIpAddress, InstrConnParseAddress(address));
      }
      port_ = InstrConnPortOf(address);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWUIInstrMultiConnDlg::OnShowWindow");
    ShowErrorDialog(e);
  }
}

void CWUIInstrMultiConnDlg::ShowConnectionType(int32_t model, int32_t type) {
  const int32_t shown = InstrConnShownType(model, type);
  SetCurSel(kIdcInstrConnType, EntryOfType(shown));
  EnableItem(kIdcInstrConnIpAddress, shown != kConnectionUsbAuto);
}

void CWUIInstrMultiConnDlg::OnSelectionChanged(int id) {
  if (id == kIdcInstrConnModel || id == kIdcInstrConnType) {
    // A board reached over the network only cannot take USB: the list shows
    // at once what Apply would store.
    ShowConnectionType(InstrConnModelOfEntry(GetCurSel(kIdcInstrConnModel)),
                       TypeOfEntry(GetCurSel(kIdcInstrConnType)));
  }
}

void CWUIInstrMultiConnDlg::OnButtonClicked(int id) {
  if (id == kIdcInstrConnApply) {
    OnApplyButton();
  } else if (id == kIdcInstrConnClose) {
    OnClose();
  }
}

void CWUIInstrMultiConnDlg::OnApplyButton() {
  try {
    if (instrThread_ == nullptr) {
      throw new CQError("The instrument manager is not available.");
    }
    auto settings = std::make_unique<CQInstrIIOMultiXcvrSettings>(numXmtrs_, numRcvrs_);
    settings->model = InstrConnModelOfEntry(GetCurSel(kIdcInstrConnModel));
    settings->connectionType =
        InstrConnShownType(settings->model, TypeOfEntry(GetCurSel(kIdcInstrConnType)));
    uint32_t packed = 0;
    lv::GetIpAddress(*this, kIdcInstrConnIpAddress, &packed);
    const std::wstring address = lv::FormatIpAddress(packed) + port_;
    settings->SetIPAddress(address.c_str());
    settings->SetURI(nullptr);
    settings->SetAllFlags(false);
    settings->modelSet = true;
    settings->connectionSet = true;
    instrThread_->SetParam(static_cast<void*>(settings.get()), kInstrSetSettings);
    settings.reset();
    Hide();
  } catch (CQError* e) {
    e->AddToCallStack("CWUIInstrMultiConnDlg::OnApplyButton");
    ShowErrorDialog(e);
  }
}

void CWUIInstrMultiConnDlg::OnClose() { Hide(); }

void CWUIInstrMultiConnDlg::Hide() {
  if (foreground_) foreground_();
  Show(false);
}
