#include "xcvr/gui/board_sheets.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

#include "core/error.h"
#include "core/error_dialog.h"
#include "workers/ui_thread.h"
#include "workers/gui/field_text.h"
#include "xcvr/gui/value_display.h"
#include "xcvr/instr_adi.h"
#include "xcvr/instr_settings.h"
#include "xcvr/instr_thread.h"

using lv::ControlKind;
using lv_xcvr_gui::kEditStyle;
using lv_xcvr_gui::kReadOnlyStyle;
using lv_fields::FormatNumber;
using lv_fields::NotANumberMessage;
using lv_fields::ParseDoubleField;
using lv_fields::ParseFloatField;

namespace {

// The labels of one common page.
struct CommonTexts {
  const wchar_t* caption;
  const wchar_t* frequencyLabel;  // null: no frequency field
  const wchar_t* rateGroup;
  const wchar_t* value1Label;
  const wchar_t* value2Label;
};

// A frequency line (when the page has one), the group of the configuration
// list with its two read-only values and their units, and the backoff group.
lv::DialogTemplate CommonTemplate(const char* name, const CQCommonPageLayout& l, const CommonTexts& texts) {
  lv::DialogTemplate t;
  t.name = name;
  t.caption = texts.caption;
  t.width = 213;
  t.height = l.frequency != 0 ? 152 : 134;
  int y = 7;
  if (l.frequency != 0) {
    t.controls.push_back({-1, ControlKind::kStaticText, texts.frequencyLabel, 7, y + 2, 70, 8, lv::kStyleNone});
    t.controls.push_back({l.frequency, ControlKind::kEdit, L"", 80, y, 60, 12, kEditStyle});
    t.controls.push_back({l.frequencyUnits, ControlKind::kFrame, L"", 144, y, 30, 12, lv::kStyleHidden});
    y += 19;
  }
  const int g = y;
  t.controls.push_back({-1, ControlKind::kGroupBox, texts.rateGroup, 7, g, 199, 62, lv::kStyleNone});
  t.controls.push_back({-1, ControlKind::kStaticText, L"Configuration", 15, g + 14, 58, 8, lv::kStyleNone});
  t.controls.push_back({l.config, ControlKind::kDropDownList, L"", 76, g + 12, 120, 120,
                        lv::kStyleTabStop | lv::kStyleVScroll});
  t.controls.push_back({-1, ControlKind::kStaticText, texts.value1Label, 15, g + 30, 58, 8, lv::kStyleNone});
  t.controls.push_back({l.value1, ControlKind::kEdit, L"", 76, g + 28, 60, 12, kReadOnlyStyle});
  t.controls.push_back({l.unit1, ControlKind::kStaticText, L"", 140, g + 30, 30, 8, lv::kStyleNone});
  t.controls.push_back({-1, ControlKind::kStaticText, texts.value2Label, 15, g + 45, 58, 8, lv::kStyleNone});
  t.controls.push_back({l.value2, ControlKind::kEdit, L"", 76, g + 43, 60, 12, kReadOnlyStyle});
  t.controls.push_back({l.unit2, ControlKind::kStaticText, L"", 140, g + 45, 30, 8, lv::kStyleNone});
  const int b = g + 68;
  t.controls.push_back({-1, ControlKind::kGroupBox, L"Transmitter Amplitude Backoff (to prevent overflow)", 7, b, 199,
                        50, lv::kStyleNone});
  t.controls.push_back({l.autoBackoff, ControlKind::kCheckBox, L"Automatically set the backoff", 15, b + 14, 150, 10,
                        lv::kStyleTabStop});
  t.controls.push_back({-1, ControlKind::kStaticText, L"Backoff", 15, b + 32, 40, 8, lv::kStyleNone});
  t.controls.push_back({l.backoff, ControlKind::kEdit, L"", 58, b + 30, 40, 12, kEditStyle});
  t.controls.push_back({-1, ControlKind::kStaticText, L"dB", 102, b + 32, 15, 8, lv::kStyleNone});
  return t;
}

const CQCommonPageLayout kAD9081Common{"CWSorvekInstrAD9081CommonPage", 0, 0, kIdcAD9081CommonConfig,
                                      kIdcAD9081CommonRate, kIdcAD9081CommonRateUnits, kIdcAD9081CommonSpan,
                                      kIdcAD9081CommonSpanUnits, kIdcAD9081CommonAutoBackoff,
                                      kIdcAD9081CommonBackoff};
const CQCommonPageLayout kAD9361Common{"CWSorvekInstrAD9361CommonPage", kIdcAD9361CommonFreq,
                                      kIdcAD9361CommonFreqUnits, kIdcAD9361CommonConfig, kIdcAD9361CommonRate,
                                      kIdcAD9361CommonRateUnits, kIdcAD9361CommonSpan, kIdcAD9361CommonSpanUnits,
                                      kIdcAD9361CommonAutoBackoff, kIdcAD9361CommonBackoff};
const CQCommonPageLayout kAD9371Common{"CWSorvekInstrAD9371CommonPage", kIdcAD9371CommonFreq,
                                      kIdcAD9371CommonFreqUnits, kIdcAD9371CommonConfig, kIdcAD9371CommonTxRate,
                                      kIdcAD9371CommonTxRateUnits, kIdcAD9371CommonRxRate,
                                      kIdcAD9371CommonRxRateUnits, kIdcAD9371CommonAutoBackoff,
                                      kIdcAD9371CommonBackoff};
const CQCommonPageLayout kADRV9009Common{"CWSorvekInstrADRV9009CommonPage", kIdcADRV9009CommonFreq,
                                        kIdcADRV9009CommonFreqUnits, kIdcADRV9009CommonConfig,
                                        kIdcADRV9009CommonRate, kIdcADRV9009CommonRateUnits,
                                        kIdcADRV9009CommonSpan, kIdcADRV9009CommonSpanUnits,
                                        kIdcADRV9009CommonAutoBackoff, kIdcADRV9009CommonBackoff};

}  // namespace

lv::DialogTemplate AD9081CommonPageTemplate() {
  return CommonTemplate("123", kAD9081Common,
                        {L"All", nullptr, L"Sample Rate and Filter", L"Sample rate", L"3dB bandwidth"});
}
lv::DialogTemplate AD9361CommonPageTemplate() {
  return CommonTemplate("130", kAD9361Common,
                        {L"Common", L"Transmit frequency", L"Sample Rate and Filter", L"Sample rate", L"3dB bandwidth"});
}
lv::DialogTemplate AD9371CommonPageTemplate() {
  return CommonTemplate("136", kAD9371Common,
                        {L"Common", L"Transmit frequency", L"Sample Rates", L"Xmtr sample rate", L"Rcvr sample rate"});
}
lv::DialogTemplate ADRV9009CommonPageTemplate() {
  return CommonTemplate("118", kADRV9009Common,
                        {L"All", L"Center frequency", L"Sample Rate and Filter", L"Sample rate", L"3dB bandwidth"});
}

// ---- common pages -----------------------------------------------------------

CWSorvekInstrCommonPage::CWSorvekInstrCommonPage(lv::DialogTemplate tmpl, const CQCommonPageLayout& layout,
                                                 CWUIThread* instr)
    : lv::PropertyPage(std::move(tmpl)),
      layout_(layout),
      instr_(instr),
      freqUnits_(layout.frequency != 0 ? std::make_unique<CWUnitsButton>(CWUnitsButton::kGHz) : nullptr) {}

CWSorvekInstrCommonPage::~CWSorvekInstrCommonPage() = default;

std::string CWSorvekInstrCommonPage::Name(const char* operation) const {
  return std::string(layout_.className) + "::" + operation;
}

bool CWSorvekInstrCommonPage::OnInitDialog() {
  if (freqUnits_ != nullptr) {
    SetItemText(layout_.frequency, L"1");
    freqUnits_->Create(*this, layout_.frequencyUnits);
    freqCode_ = freqUnits_->GetUnitCode();
  }
  entries_ = MakeEntries();
  ResetContent(layout_.config);
  for (const CQRateEntry& e : entries_) AddString(layout_.config, e.text);
  SetCurSel(layout_.config, 0);
  SetModified(false);
  return true;
}

void CWSorvekInstrCommonPage::OnButtonClicked(int id) {
  if (freqUnits_ != nullptr && id == layout_.frequencyUnits && freqUnits_->GetUnitCode() != freqCode_) {
    // The unit button reports its ordinary click too: only a change counts.
    freqCode_ = freqUnits_->GetUnitCode();
    SetModified(true);
  }
  lv::PropertyPage::OnButtonClicked(id);
}

void CWSorvekInstrCommonPage::OnEditChanged(int id) {
  // The backoff edit marks nothing.
  if (layout_.frequency != 0 && id == layout_.frequency) SetModified(true);
}

void CWSorvekInstrCommonPage::OnSelectionChanged(int id) {
  if (id != layout_.config) return;
  SetModified(true);
  try {
    DisplayFilterConfig(SelectedRateIndex());
  } catch (CQError* e) {
    e->AddToCallStack(Name("OnFilterConfigChange").c_str());
    ShowErrorDialog(e);
  }
}

int32_t CWSorvekInstrCommonPage::SelectedRateIndex() const {
  const int sel = GetCurSel(layout_.config);
  if (entries_.empty()) return 0;
  if (sel < 0 || sel >= static_cast<int>(entries_.size())) return entries_.front().rateIndex;
  return entries_[static_cast<size_t>(sel)].rateIndex;
}

int32_t CWSorvekInstrCommonPage::ShownIndexWithoutEntry(int32_t /*stored*/) const {
  return entries_.empty() ? 0 : entries_.front().rateIndex;
}

double CWSorvekInstrCommonPage::ShownFrequency(const CQInstrIIOMultiXcvrSettings& record) const {
  return record.xmtrCenterFreq;
}

void CWSorvekInstrCommonPage::StoreFrequency(CQInstrIIOMultiXcvrSettings& record, double hertz) const {
  record.xmtrCenterFreq = hertz;
}

void CWSorvekInstrCommonPage::DisplayFilterConfig(int32_t rateIndex) {
  try {
    ShowSampleRateWithUnits(CQInstrADI::GetRxSampleRate(rateIndex), this, layout_.value1, layout_.unit1);
    ShowFrequencyWithUnits(CQInstrADI::GetRxSpan(rateIndex), this, layout_.value2, layout_.unit2);
  } catch (CQError* e) {
    e->AddToCallStack(Name("DisplayFilterConfig").c_str());
    throw;
  }
}

void CWSorvekInstrCommonPage::RefreshSettings(const CQInstrIIOMultiXcvrSettings* record) {
  if (record == nullptr) return;
  try {
    if (freqUnits_ != nullptr) {
      const double hertz = ShownFrequency(*record);
      freqUnits_->SelectUnitsForValue(hertz);
      freqCode_ = freqUnits_->GetUnitCode();
      SetItemText(layout_.frequency, FormatNumber(L"%.3lf", hertz / freqUnits_->GetMultiplier()));
    }
    if (record->rateSet) {
      int32_t shown = record->rateIndex;
      int entry = -1;
      for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].rateIndex == shown) entry = static_cast<int>(i);
      }
      if (entry < 0) {
        entry = 0;
        shown = ShownIndexWithoutEntry(shown);
      }
      SetCurSel(layout_.config, entry);
      DisplayFilterConfig(shown);
    }
    if (instr_ != nullptr) {
      bool autoBackoff = false;
      float backoff = 0.0f;
      instr_->GetParam(&autoBackoff, kInstrGetAutoBackoff);
      instr_->GetParam(&backoff, kInstrGetBackoff);
      SetCheck(layout_.autoBackoff, autoBackoff ? lv::kChecked : lv::kUnchecked);
      SetItemText(layout_.backoff, FormatNumber(L"%.2f", static_cast<double>(backoff)));
    }
    SetModified(false);
  } catch (CQError* e) {
    e->AddToCallStack(Name("RefreshSettings").c_str());
    ShowErrorDialog(e);
  }
}

void CWSorvekInstrCommonPage::CheckSettings() const {
  if (layout_.frequency == 0) return;
  double v = 0.0;
  if (!ParseDoubleField(GetItemText(layout_.frequency), v)) {
    const std::wstring label = GetCaption() == L"All" ? L"Center frequency" : L"Transmit frequency";
    throw new CQError(NotANumberMessage(GetCaption(), label).c_str());
  }
}

bool CWSorvekInstrCommonPage::GetSettings(CQInstrIIOMultiXcvrSettings* record) {
  if (record == nullptr) return true;
  try {
    CheckSettings();
    if (freqUnits_ != nullptr) {
      double v = 0.0;
      ParseDoubleField(GetItemText(layout_.frequency), v);  // checked above
      StoreFrequency(*record, v * freqUnits_->GetMultiplier());
    }
    record->rateIndex = SelectedRateIndex();
    if (instr_ != nullptr) {
      if (GetCheck(layout_.autoBackoff) == lv::kChecked) {
        instr_->SetParam(true, kInstrSetAutoBackoff);
      } else {
        float backoff = 0.0f;
        if (ParseFloatField(GetItemText(layout_.backoff), backoff)) {
          instr_->SetParam(backoff, kInstrSetBackoff);
          instr_->SetParam(false, kInstrSetAutoBackoff);
        } else {
          // A backoff that is not a number leaves it to the instrument.
          instr_->SetParam(true, kInstrSetAutoBackoff);
        }
      }
    }
    SetModified(false);
    return true;
  } catch (CQError* e) {
    e->AddToCallStack(Name("GetSettings").c_str());
    ShowErrorDialog(e);
    return false;
  }
}

CWSorvekInstrAD9081CommonPage::CWSorvekInstrAD9081CommonPage(int32_t model, CWUIThread* instr)
    : CWSorvekInstrCommonPage(AD9081CommonPageTemplate(), kAD9081Common, instr), model_(model) {}

std::vector<CQRateEntry> CWSorvekInstrAD9081CommonPage::MakeEntries() const {
  if (model_ == kModelAd9082) return {{L"1.5 Gsps", 401}, {L"1.47456 Gsps", 402}};
  return {{L"250 Msps", 400}};
}

CWSorvekInstrAD9361CommonPage::CWSorvekInstrAD9361CommonPage(CWUIThread* instr)
    : CWSorvekInstrCommonPage(AD9361CommonPageTemplate(), kAD9361Common, instr) {}

std::vector<CQRateEntry> CWSorvekInstrAD9361CommonPage::MakeEntries() const {
  return {{L"2 Msps", 1},
          {L"5 Msps", 2},
          {L"8 Msps", 3},
          {L"10 Msps", 4},
          {L"12 Msps", 5},
          {L"14 Msps", 18},
          {L"20 Msps", 6},
          {L"24 Msps", 7},
          {L"25 Msps", 8},
          {L"28 Msps", 19},
          {L"30 Msps", 9},
          {L"40 Msps", 10},
          {L"50 Msps", 22},
          {L"LTE 10: 15.36 Msps", 11},
          {L"LTE 20: 30.72 Msps", 12},
          {L"GSM: 1.625 Msps", 13},
          {L"GSM: 3.25 Msps", 14},
          {L"GSM: 6.5 Msps", 15},
          {L"WLAN: 20 Msps", 16},
          {L"DOCSIS: 15.170823 Msps", 20},
          {L"DOCSIS: 16.081611 Msps", 21}};
}

int32_t CWSorvekInstrAD9361CommonPage::ShownIndexWithoutEntry(int32_t stored) const {
  // An index of the tables without an entry (17) is shown as it is; one
  // outside the tables as the first entry's.
  return stored >= 1 && stored <= 22 ? stored : 1;
}

void CWSorvekInstrAD9361CommonPage::RefreshSettings(const CQInstrIIOMultiXcvrSettings* record) {
  if (record != nullptr && record->modelSet) model_ = record->model;
  CWSorvekInstrCommonPage::RefreshSettings(record);
}

void CWSorvekInstrAD9361CommonPage::CheckSettings() const {
  CWSorvekInstrCommonPage::CheckSettings();
  if (model_ == kModelPluto) {
    const double rate = CQInstrADI::GetRxSampleRate(SelectedRateIndex());
    if (rate > 30.72e6 + 1.0) {
      throw new CQError(
          "The maximum sample rate for Pluto 2Rx 2Tx, is 30.72 Msps.\nPlease choose a lower sample rate "
          "configuration.");
    }
  }
}

CWSorvekInstrAD9371CommonPage::CWSorvekInstrAD9371CommonPage(CWUIThread* instr)
    : CWSorvekInstrCommonPage(AD9371CommonPageTemplate(), kAD9371Common, instr) {}

std::vector<CQRateEntry> CWSorvekInstrAD9371CommonPage::MakeEntries() const { return {{L"Boot config", 100}}; }

void CWSorvekInstrAD9371CommonPage::DisplayFilterConfig(int32_t rateIndex) {
  try {
    ShowSampleRateWithUnits(CQInstrADI::GetTxSampleRate(rateIndex), this, layout_.value1, layout_.unit1);
    ShowSampleRateWithUnits(CQInstrADI::GetRxSampleRate(rateIndex), this, layout_.value2, layout_.unit2);
  } catch (CQError* e) {
    e->AddToCallStack(Name("DisplayFilterConfig").c_str());
    throw;
  }
}

CWSorvekInstrADRV9009CommonPage::CWSorvekInstrADRV9009CommonPage(CWUIThread* instr)
    : CWSorvekInstrCommonPage(ADRV9009CommonPageTemplate(), kADRV9009Common, instr) {}

std::vector<CQRateEntry> CWSorvekInstrADRV9009CommonPage::MakeEntries() const {
  return {{L"ZCU102 boot config", 200}, {L"ZC706 boot config", 201}};
}

double CWSorvekInstrADRV9009CommonPage::ShownFrequency(const CQInstrIIOMultiXcvrSettings& record) const {
  return record.rcvrCenterFreq;
}

void CWSorvekInstrADRV9009CommonPage::StoreFrequency(CQInstrIIOMultiXcvrSettings& record, double hertz) const {
  record.xmtrCenterFreq = hertz;
  record.rcvrCenterFreq = hertz;
}

// ---- sheets -----------------------------------------------------------------

CWSorvekInstrBoardSheet::CWSorvekInstrBoardSheet(const CQBoardSheetKind& kind, int appXmtrs, int appRcvrs,
                                                 CWUIThread* instr, CWUIThread* dataMgr)
    : lv::PropertySheet(kind.caption),
      kind_(kind),
      appXmtrs_(appXmtrs),
      appRcvrs_(appRcvrs),
      instr_(instr),
      dataMgr_(dataMgr) {}

CWSorvekInstrBoardSheet::~CWSorvekInstrBoardSheet() {
  // The window (with every page widget) goes before the pages.
  Destroy();
}

std::string CWSorvekInstrBoardSheet::Name(const char* operation) const {
  return std::string(kind_.className) + "::" + operation;
}

CWSorvekInstrXmtrPage* CWSorvekInstrBoardSheet::XmtrPage(int i) const {
  return i >= 0 && i < static_cast<int>(xmtrPages_.size()) ? xmtrPages_[static_cast<size_t>(i)].get() : nullptr;
}

bool CWSorvekInstrBoardSheet::Create() {
  try {
    if (commonPage_ == nullptr) {
      commonPage_ = kind_.makeCommonPage(instr_);
      AddPage(commonPage_.get());
      for (int i = 0; i < kind_.boardXmtrs; ++i) {
        xmtrPages_.push_back(kind_.makeXmtrPage(i, dataMgr_));
        AddPage(xmtrPages_.back().get());
      }
    }
    if (!lv::PropertySheet::Create()) {
      throw new CQError("The window could not be created.");
    }
    // The common page, every transmitter page, then the common page again.
    for (int i = 0; i <= kind_.boardXmtrs; ++i) SetActivePage(i);
    SetActivePage(0);
    return true;
  } catch (CQError* e) {
    e->AddToCallStack(Name("Create").c_str());
    ShowErrorDialog(e);
    return false;
  }
}

bool CWSorvekInstrBoardSheet::OnInitDialog() {
  for (int i = 1; i <= kind_.boardXmtrs; ++i) {
    wchar_t text[32];
    std::swprintf(text, 32, L"Xmtr %d", i);
    SetTabText(i, text);
  }
  return true;
}

void CWSorvekInstrBoardSheet::ShowWindow(bool show) {
  Show(show);
  OnShowWindow(show);
}

void CWSorvekInstrBoardSheet::OnShowWindow(bool show) {
  if (show) RefreshSettings();
}

void CWSorvekInstrBoardSheet::RefreshSettings() {
  if (instr_ == nullptr || commonPage_ == nullptr) return;
  try {
    void* p = nullptr;
    instr_->GetParam(&p, kInstrGetSettings);
    // The instrument manager answers with a copy the requester owns.
    std::unique_ptr<CQInstrIIOMultiXcvrSettings> record(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
    if (record == nullptr) return;
    if (record->NumXmtrs() < kind_.boardXmtrs) {
      throw new CQError("Mismatch in the number of transmitters between the Instrument Manager and the GUI.");
    }
    commonPage_->RefreshSettings(record.get());
    for (int i = 0; i < kind_.boardXmtrs; ++i) {
      xmtrPages_[static_cast<size_t>(i)]->RefreshSettings(&record->Xmtr(i));
    }
  } catch (CQError* e) {
    e->AddToCallStack(Name("RefreshSettings").c_str());
    ShowErrorDialog(e);
  }
}

void CWSorvekInstrBoardSheet::Hide() {
  if (bringOwnerToFront_) bringOwnerToFront_();
  EndDialog(lv::kIdCancel);  // hides the modeless sheet
}

void CWSorvekInstrBoardSheet::OnOK() {
  if (OnOKButton()) {
    if (bringOwnerToFront_) bringOwnerToFront_();
    EndDialog(lv::kIdOk);
  }
}

void CWSorvekInstrBoardSheet::OnCancel() { Hide(); }

bool CWSorvekInstrBoardSheet::OnOKButton() {
  if (instr_ == nullptr || commonPage_ == nullptr) return true;
  try {
    // Every field must hold what OK would send before anything is sent.
    try {
      commonPage_->CheckSettings();
    } catch (CQError*) {
      SetActivePage(0);
      throw;
    }
    for (int i = 0; i < kind_.boardXmtrs; ++i) {
      const std::wstring bad = xmtrPages_[static_cast<size_t>(i)]->FirstBadField();
      if (!bad.empty()) {
        SetActivePage(i + 1);
        throw new CQError(NotANumberMessage(L"Xmtr " + std::to_wstring(i + 1), bad).c_str());
      }
    }
    // A fresh copy of the instrument manager's settings: OK changes only
    // what the sheet edits, and the rest goes back as the manager holds it.
    void* p = nullptr;
    instr_->GetParam(&p, kInstrGetSettings);
    std::unique_ptr<CQInstrIIOMultiXcvrSettings> record(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
    if (record == nullptr) throw new CQError("Null pointer to transceiver settings.");
    if (record->NumXmtrs() < kind_.boardXmtrs) {
      throw new CQError("Mismatch in the number of transmitters between the Instrument Manager and the GUI.");
    }
    if (!commonPage_->GetSettings(record.get())) return false;
    for (int i = 0; i < kind_.boardXmtrs; ++i) {
      xmtrPages_[static_cast<size_t>(i)]->GetSettings(&record->Xmtr(i));
    }
    // The board has no further transmitters.
    for (int i = kind_.boardXmtrs; i < record->NumXmtrs(); ++i) record->Xmtr(i).on = false;
    record->modelSet = false;
    record->xmtrsSet = true;
    record->rcvrsSet = kind_.sendsReceivers;
    record->rateSet = true;
    record->connectionSet = false;
    instr_->SetParam(static_cast<void*>(record.get()), kInstrSetSettings);
    return true;
  } catch (CQError* e) {
    e->AddToCallStack(Name("OnOKButton").c_str());
    ShowErrorDialog(e);
    return false;
  }
}

// ---- the five sheets ----------------------------------------------------------

namespace {

template <class Page>
std::unique_ptr<CWSorvekInstrCommonPage> MakeCommon(CWUIThread* instr) {
  return std::make_unique<Page>(instr);
}
template <int32_t kModel>
std::unique_ptr<CWSorvekInstrCommonPage> MakeAD9081Common(CWUIThread* instr) {
  return std::make_unique<CWSorvekInstrAD9081CommonPage>(kModel, instr);
}
template <class Page>
std::unique_ptr<CWSorvekInstrXmtrPage> MakeXmtr(int index, CWUIThread* dataMgr) {
  return std::make_unique<Page>(index, dataMgr);
}

// The five boards' sheets; the AD9082 has the AD9081's pages for two DACs.
const CQBoardSheetKind kAD9081Kind{L"AD9081 Control", "CWSorvekInstrAD9081Sheet", 4, false,
                                   MakeAD9081Common<kModelAd9081>, MakeXmtr<CWSorvekInstrAD9081XmtrPage>};
const CQBoardSheetKind kAD9082Kind{L"AD9082 Control", "CWSorvekInstrAD9082Sheet", 2, false,
                                   MakeAD9081Common<kModelAd9082>, MakeXmtr<CWSorvekInstrAD9081XmtrPage>};
const CQBoardSheetKind kAD9361Kind{L"AD9361 (and PLUTO) Control", "CWSorvekInstrAD9361Sheet", 2, false,
                                   MakeCommon<CWSorvekInstrAD9361CommonPage>,
                                   MakeXmtr<CWSorvekInstrAD9361XmtrPage>};
const CQBoardSheetKind kAD9371Kind{L"AD9371 Control", "CWSorvekInstrAD9371Sheet", 2, false,
                                   MakeCommon<CWSorvekInstrAD9371CommonPage>,
                                   MakeXmtr<CWSorvekInstrAD9371XmtrPage>};
const CQBoardSheetKind kADRV9009Kind{L"ADRV9009 Control", "CWSorvekInstrADRV9009Sheet", 2, true,
                                     MakeCommon<CWSorvekInstrADRV9009CommonPage>,
                                     MakeXmtr<CWSorvekInstrADRV9009XmtrPage>};

}  // namespace

CWSorvekInstrAD9081Sheet::CWSorvekInstrAD9081Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs, int appRcvrs)
    : CWSorvekInstrBoardSheet(kAD9081Kind, appXmtrs, appRcvrs, instr, dataMgr) {}
CWSorvekInstrAD9082Sheet::CWSorvekInstrAD9082Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs, int appRcvrs)
    : CWSorvekInstrBoardSheet(kAD9082Kind, appXmtrs, appRcvrs, instr, dataMgr) {}
CWSorvekInstrAD9361Sheet::CWSorvekInstrAD9361Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs, int appRcvrs)
    : CWSorvekInstrBoardSheet(kAD9361Kind, appXmtrs, appRcvrs, instr, dataMgr) {}
CWSorvekInstrAD9371Sheet::CWSorvekInstrAD9371Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs, int appRcvrs)
    : CWSorvekInstrBoardSheet(kAD9371Kind, appXmtrs, appRcvrs, instr, dataMgr) {}
CWSorvekInstrADRV9009Sheet::CWSorvekInstrADRV9009Sheet(CWUIThread* instr, CWUIThread* dataMgr, int appXmtrs,
                                                       int appRcvrs)
    : CWSorvekInstrBoardSheet(kADRV9009Kind, appXmtrs, appRcvrs, instr, dataMgr) {}
