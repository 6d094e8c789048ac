#include "xcvr/gui/board_xmtr_pages.h"

#include <cstdio>
#include <cwchar>

#include "core/error.h"
#include "core/error_dialog.h"
#include "iqfiles/manager/data_manager_thread.h"
#include "workers/ui_thread.h"
#include "workers/gui/field_text.h"
#include "xcvr/instr_settings.h"

using lv::ControlKind;
using lv_xcvr_gui::kEditStyle;
using lv_xcvr_gui::kReadOnlyStyle;
using lv_fields::FormatInt;
using lv_fields::FormatNumber;
using lv_fields::ParseDoubleField;
using lv_fields::ParseIntField;

namespace {

// The page: the use box, the number field, the file name with Browse, and
// the "File Contents" group; top is where the use box starts (the AD9081
// page has its "DAC %d" line above it).
lv::DialogTemplate XmtrTemplate(const char* name, int height, const CQXmtrPageLayout& l, int top) {
  lv::DialogTemplate t;
  t.name = name;
  t.caption = L"Xmtr";
  t.width = 303;
  t.height = height;
  if (l.dacLabel != 0) {
    t.controls.push_back({l.dacLabel, ControlKind::kStaticText, L"DAC 0", 7, 7, 60, 8, lv::kStyleNone});
  }
  t.controls.push_back({l.use, ControlKind::kCheckBox, L"Use this transmitter", 7, top, 120, 10, lv::kStyleTabStop});
  const int y = top + 18;
  if (l.frequencyField) {
    t.controls.push_back({-1, ControlKind::kStaticText, L"Center frequency", 7, y + 2, 70, 8, lv::kStyleNone});
    t.controls.push_back({l.number, ControlKind::kEdit, L"", 80, y, 60, 12, kEditStyle});
    t.controls.push_back({l.numberUnits, ControlKind::kFrame, L"", 144, y, 30, 12, lv::kStyleHidden});
  } else {
    t.controls.push_back({-1, ControlKind::kStaticText, L"Attenuation (dB)", 7, y + 2, 70, 8, lv::kStyleNone});
    t.controls.push_back({l.number, ControlKind::kEdit, L"", 80, y, 40, 12, kEditStyle});
  }
  const int f = y + 20;
  t.controls.push_back({-1, ControlKind::kStaticText, L"File Name", 7, f, 60, 8, lv::kStyleNone});
  t.controls.push_back({l.fileName, ControlKind::kEdit, L"", 7, f + 10, 231, 12, kEditStyle});
  t.controls.push_back({l.browse, ControlKind::kPushButton, L"Browse", 244, f + 9, 52, 14, lv::kStyleTabStop});
  const int g = f + 30;
  t.controls.push_back({-1, ControlKind::kGroupBox, L"File Contents", 7, g, 289, 58, lv::kStyleNone});
  const CQFileDisplayIds& d = l.display;
  t.controls.push_back({-1, ControlKind::kStaticText, L"Total Time", 15, g + 14, 62, 8, lv::kStyleNone});
  t.controls.push_back({d.totalTime, ControlKind::kEdit, L"", 80, g + 12, 70, 12, kReadOnlyStyle});
  t.controls.push_back({d.totalTimeUnits, ControlKind::kStaticText, L"", 154, g + 14, 30, 8, lv::kStyleNone});
  t.controls.push_back({-1, ControlKind::kStaticText, L"Number of Points", 15, g + 29, 62, 8, lv::kStyleNone});
  t.controls.push_back({d.points, ControlKind::kEdit, L"", 80, g + 27, 70, 12, kReadOnlyStyle});
  t.controls.push_back({-1, ControlKind::kStaticText, L"Sample Rate", 15, g + 44, 62, 8, lv::kStyleNone});
  t.controls.push_back({d.sampleRate, ControlKind::kEdit, L"", 80, g + 42, 70, 12, kReadOnlyStyle});
  t.controls.push_back({d.sampleRateUnits, ControlKind::kStaticText, L"", 154, g + 44, 30, 8, lv::kStyleNone});
  return t;
}

const CQXmtrPageLayout kAD9081Layout{"CWSorvekInstrAD9081XmtrPage", true, kIdcAD9081XmtrUse, kIdcAD9081XmtrFreq,
                                     kIdcAD9081XmtrFreqUnits, kIdcAD9081XmtrDac, kIdcAD9081XmtrFileName,
                                     kIdcAD9081XmtrBrowse,
                                     {kIdcAD9081XmtrTotalTime, kIdcAD9081XmtrTotalTimeUnits, kIdcAD9081XmtrPoints,
                                      kIdcAD9081XmtrSampleRate, kIdcAD9081XmtrSampleRateUnits}};
const CQXmtrPageLayout kAD9361Layout{"CWSorvekInstrAD9361XmtrPage", false, kIdcAD9361XmtrUse, kIdcAD9361XmtrAtten,
                                     0, 0, kIdcAD9361XmtrFileName, kIdcAD9361XmtrBrowse,
                                     {kIdcAD9361XmtrTotalTime, kIdcAD9361XmtrTotalTimeUnits, kIdcAD9361XmtrPoints,
                                      kIdcAD9361XmtrSampleRate, kIdcAD9361XmtrSampleRateUnits}};
const CQXmtrPageLayout kAD9371Layout{"CWSorvekInstrAD9371XmtrPage", false, kIdcAD9371XmtrUse, kIdcAD9371XmtrAtten,
                                     0, 0, kIdcAD9371XmtrFileName, kIdcAD9371XmtrBrowse,
                                     {kIdcAD9371XmtrTotalTime, kIdcAD9371XmtrTotalTimeUnits, kIdcAD9371XmtrPoints,
                                      kIdcAD9371XmtrSampleRate, kIdcAD9371XmtrSampleRateUnits}};
const CQXmtrPageLayout kADRV9009Layout{
    "CWSorvekInstrADRV9009XmtrPage", false, kIdcADRV9009XmtrUse, kIdcADRV9009XmtrAtten, 0, 0,
    kIdcADRV9009XmtrFileName, kIdcADRV9009XmtrBrowse,
    {kIdcADRV9009XmtrTotalTime, kIdcADRV9009XmtrTotalTimeUnits, kIdcADRV9009XmtrPoints, kIdcADRV9009XmtrSampleRate,
     kIdcADRV9009XmtrSampleRateUnits}};

}  // namespace

lv::DialogTemplate AD9081XmtrPageTemplate() { return XmtrTemplate("125", 152, kAD9081Layout, 20); }
lv::DialogTemplate AD9361XmtrPageTemplate() { return XmtrTemplate("129", 146, kAD9361Layout, 7); }
lv::DialogTemplate AD9371XmtrPageTemplate() { return XmtrTemplate("138", 146, kAD9371Layout, 7); }
lv::DialogTemplate ADRV9009XmtrPageTemplate() { return XmtrTemplate("119", 146, kADRV9009Layout, 7); }

CWSorvekInstrXmtrPage::CWSorvekInstrXmtrPage(lv::DialogTemplate tmpl, const CQXmtrPageLayout& layout, int index,
                                             CWUIThread* dataMgr)
    : lv::PropertyPage(std::move(tmpl)),
      layout_(layout),
      index_(index),
      dataMgr_(dataMgr),
      fileInfo_(std::make_unique<CQFileInfo>()),
      freqUnits_(layout.frequencyField ? std::make_unique<CWUnitsButton>(CWUnitsButton::kGHz) : nullptr) {}

CWSorvekInstrXmtrPage::~CWSorvekInstrXmtrPage() = default;

std::string CWSorvekInstrXmtrPage::Name(const char* operation) const {
  return std::string(layout_.className) + "::" + operation;
}

bool CWSorvekInstrXmtrPage::OnInitDialog() {
  if (layout_.dacLabel != 0) {
    wchar_t text[32];
    std::swprintf(text, 32, L"DAC %d", index_);
    SetItemText(layout_.dacLabel, text);
  }
  if (freqUnits_ != nullptr) {
    // A button whose window cannot be made is skipped; the page goes on.
    freqUnits_->Create(*this, layout_.numberUnits);
    freqCode_ = freqUnits_->GetUnitCode();
  }
  SetModified(false);
  return true;
}

void CWSorvekInstrXmtrPage::OnButtonClicked(int id) {
  if (id == layout_.use) {
    SetModified(true);
  } else if (id == layout_.browse) {
    OnBrowse();
  } else if (freqUnits_ != nullptr && id == layout_.numberUnits && freqUnits_->GetUnitCode() != freqCode_) {
    // The unit button reports its ordinary click too: only a change counts.
    freqCode_ = freqUnits_->GetUnitCode();
    SetModified(true);
  }
  lv::PropertyPage::OnButtonClicked(id);
}

void CWSorvekInstrXmtrPage::OnEditChanged(int id) {
  // Typing in the file-name edit marks nothing.
  if (id == layout_.number) SetModified(true);
}

void CWSorvekInstrXmtrPage::RefreshSettings(const CQInstrXmtrSettings* record) {
  if (record == nullptr) return;
  try {
    SetCheck(layout_.use, record->on ? lv::kChecked : lv::kUnchecked);
    if (freqUnits_ != nullptr) {
      freqUnits_->SelectUnitsForValue(record->centerFreq);
      freqCode_ = freqUnits_->GetUnitCode();
      SetItemText(layout_.number, FormatNumber(L"%.3lf", record->centerFreq / freqUnits_->GetMultiplier()));
    } else {
      SetItemText(layout_.number, FormatInt(record->attenuation));
    }
    if (dataMgr_ != nullptr) {
      std::wstring name;
      dataMgr_->GetParam(&name, CWMultiDataMgrThread::kParamFileName, index_);
      SetItemText(layout_.fileName, name);
      if (!name.empty()) {
        ShowFileParameters(name.c_str(), false);
      } else {
        // No file: nothing from an earlier showing stays on the page (an OK
        // would otherwise send a name the data manager no longer holds).
        ShowTimeWithUnits(0.0, this, layout_.display.totalTime, layout_.display.totalTimeUnits);
        SetItemText(layout_.display.points, L"0");
      }
    }
    SetModified(false);
  } catch (CQError* e) {
    e->AddToCallStack(Name("RefreshSettings").c_str());
    ShowErrorDialog(e);
  }
}

std::wstring CWSorvekInstrXmtrPage::FirstBadField() const {
  const std::wstring text = GetItemText(layout_.number);
  if (layout_.frequencyField) {
    double v = 0.0;
    return ParseDoubleField(text, v) ? std::wstring() : std::wstring(L"Center frequency");
  }
  int32_t v = 0;
  return ParseIntField(text, v) ? std::wstring() : std::wstring(L"Attenuation (dB)");
}

void CWSorvekInstrXmtrPage::GetSettings(CQInstrXmtrSettings* record) {
  if (record == nullptr) return;
  try {
    record->on = GetCheck(layout_.use) == lv::kChecked;
    const std::wstring text = GetItemText(layout_.number);
    if (layout_.frequencyField) {
      double v = 0.0;
      if (ParseDoubleField(text, v)) record->centerFreq = v * freqUnits_->GetMultiplier();
    } else {
      int32_t v = 0;
      if (ParseIntField(text, v)) record->attenuation = v;
    }
    if (dataMgr_ != nullptr) {
      const std::wstring name = GetItemText(layout_.fileName);
      dataMgr_->SetParam(name.c_str(), CWMultiDataMgrThread::kParamFileName, index_);
    }
    SetModified(false);
  } catch (CQError* e) {
    e->AddToCallStack(Name("GetSettings").c_str());
    ShowErrorDialog(e);
  }
}

bool CWSorvekInstrXmtrPage::ShowFileParameters(const wchar_t* name, bool report) {
  return ShowIQFileDescription(name, report, Name("ShowFileParameters"), *this, layout_.display, *fileInfo_);
}

void CWSorvekInstrXmtrPage::OnBrowse() {
  if (BrowseIQFileIntoField(*this, layout_.fileName, Name("ShowFileParameters"), layout_.display, *fileInfo_)) {
    SetModified(true);
  }
}

CWSorvekInstrAD9081XmtrPage::CWSorvekInstrAD9081XmtrPage(int index, CWUIThread* dataMgr)
    : CWSorvekInstrXmtrPage(AD9081XmtrPageTemplate(), kAD9081Layout, index, dataMgr) {}
CWSorvekInstrAD9361XmtrPage::CWSorvekInstrAD9361XmtrPage(int index, CWUIThread* dataMgr)
    : CWSorvekInstrXmtrPage(AD9361XmtrPageTemplate(), kAD9361Layout, index, dataMgr) {}
CWSorvekInstrAD9371XmtrPage::CWSorvekInstrAD9371XmtrPage(int index, CWUIThread* dataMgr)
    : CWSorvekInstrXmtrPage(AD9371XmtrPageTemplate(), kAD9371Layout, index, dataMgr) {}
CWSorvekInstrADRV9009XmtrPage::CWSorvekInstrADRV9009XmtrPage(int index, CWUIThread* dataMgr)
    : CWSorvekInstrXmtrPage(ADRV9009XmtrPageTemplate(), kADRV9009Layout, index, dataMgr) {}
