#include "app/xmtr_proc_sheet.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <limits>

#include "app/engine.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "core/processing/sample_rate_mgr_settings.h"
#include "workers/ui_thread.h"
#include "workers/gui/field_text.h"

namespace {

using lv::ControlKind;

constexpr uint32_t kEditStyle = lv::kStyleTabStop | lv::kStyleBorder | lv::kStyleHScroll;
constexpr uint32_t kCheckStyle = lv::kStyleTabStop;

// The number fields: id, label (also the name a refusal gives) and type.
enum class FieldType { kInt, kDouble, kFloat };
struct Field {
  int id;
  const wchar_t* label;
  FieldType type;
};
constexpr Field kFields[] = {
    {kIdcXmtrProcInterpRate, L"Interpolation rate", FieldType::kInt},
    {kIdcXmtrProcDecimRate, L"Decimation rate", FieldType::kInt},
    {kIdcXmtrProcFreq, L"Frequency", FieldType::kDouble},
    {kIdcXmtrProcTimeDelay, L"Time delay", FieldType::kDouble},
    {kIdcXmtrProcPhase, L"Phase (Deg)", FieldType::kFloat},
    {kIdcXmtrProcGain, L"Gain (dB)", FieldType::kFloat},
};

std::wstring Format(const wchar_t* format, double value) {
  wchar_t buffer[128];
  const int n = std::swprintf(buffer, 128, format, value);
  return n < 0 ? std::wstring() : std::wstring(buffer);
}

std::wstring FormatInt(int32_t value) {
  wchar_t buffer[128];
  const int n = std::swprintf(buffer, 128, L"%d", value);
  return n < 0 ? std::wstring() : std::wstring(buffer);
}

}  // namespace

lv::DialogTemplate XmtrProcPageTemplate() {
  lv::DialogTemplate t;
  t.name = "126";
  t.caption = L"Transmitter";
  t.width = 189;
  t.height = 212;
  // Each step: its check box, then a label and the number (and the unit
  // button's hidden placeholder) indented below it.
  t.controls = {
      {-1, ControlKind::kStaticText, L"The processing steps go in the order of the parameters, from top to bottom.", 7, 7,
       175, 16, lv::kStyleNone},
      {kIdcXmtrProcInterpolate, ControlKind::kCheckBox, L"Interpolate", 7, 28, 90, 10, kCheckStyle},
      {-1, ControlKind::kStaticText, L"Interpolation rate", 19, 42, 70, 8, lv::kStyleNone},
      {kIdcXmtrProcInterpRate, ControlKind::kEdit, L"", 92, 40, 60, 12, kEditStyle},
      {kIdcXmtrProcDecimate, ControlKind::kCheckBox, L"Decimate", 7, 58, 90, 10, kCheckStyle},
      {-1, ControlKind::kStaticText, L"Decimation rate", 19, 72, 70, 8, lv::kStyleNone},
      {kIdcXmtrProcDecimRate, ControlKind::kEdit, L"", 92, 70, 60, 12, kEditStyle},
      {kIdcXmtrProcShiftFreq, ControlKind::kCheckBox, L"Shift Frequency", 7, 88, 90, 10, kCheckStyle},
      {-1, ControlKind::kStaticText, L"Frequency", 19, 102, 70, 8, lv::kStyleNone},
      {kIdcXmtrProcFreq, ControlKind::kEdit, L"", 92, 100, 60, 12, kEditStyle},
      {kIdcXmtrProcFreqUnits, ControlKind::kFrame, L"", 155, 100, 30, 12, lv::kStyleHidden},
      {kIdcXmtrProcShiftTime, ControlKind::kCheckBox, L"Shift Time", 7, 118, 90, 10, kCheckStyle},
      {-1, ControlKind::kStaticText, L"Time delay", 19, 132, 70, 8, lv::kStyleNone},
      {kIdcXmtrProcTimeDelay, ControlKind::kEdit, L"", 92, 130, 60, 12, kEditStyle},
      {kIdcXmtrProcTimeUnits, ControlKind::kFrame, L"", 155, 130, 30, 12, lv::kStyleHidden},
      {kIdcXmtrProcRotatePhase, ControlKind::kCheckBox, L"Rotate Phase", 7, 148, 90, 10, kCheckStyle},
      {-1, ControlKind::kStaticText, L"Phase (Deg)", 19, 162, 70, 8, lv::kStyleNone},
      {kIdcXmtrProcPhase, ControlKind::kEdit, L"", 92, 160, 60, 12, kEditStyle},
      {kIdcXmtrProcApplyGain, ControlKind::kCheckBox, L"Apply Gain", 7, 178, 90, 10, kCheckStyle},
      {-1, ControlKind::kStaticText, L"Gain (dB)", 19, 192, 70, 8, lv::kStyleNone},
      {kIdcXmtrProcGain, ControlKind::kEdit, L"", 92, 190, 60, 12, kEditStyle},
  };
  return t;
}

// ---- the page ---------------------------------------------------------------

CWSorvekXmtrProcPage::CWSorvekXmtrProcPage(int xmtrNumber)
    : lv::PropertyPage(XmtrProcPageTemplate()),
      freqUnits_(std::make_unique<CWUnitsButton>(CWUnitsButton::kMHz)),
      timeUnits_(std::make_unique<CWUnitsButton>(CWUnitsButton::kNsec)),
      xmtrNumber_(xmtrNumber) {}

CWSorvekXmtrProcPage::~CWSorvekXmtrProcPage() = default;

bool CWSorvekXmtrProcPage::OnInitDialog() {
  SetItemText(kIdcXmtrProcInterpRate, L"1");
  SetItemText(kIdcXmtrProcDecimRate, L"1");
  SetItemText(kIdcXmtrProcFreq, L"0.0");
  SetItemText(kIdcXmtrProcTimeDelay, L"0.0");
  SetItemText(kIdcXmtrProcPhase, L"0.0");
  SetItemText(kIdcXmtrProcGain, L"0.0");
  // A button whose window cannot be made is skipped; the page goes on.
  freqUnits_->Create(*this, kIdcXmtrProcFreqUnits);
  timeUnits_->Create(*this, kIdcXmtrProcTimeUnits);
  freqCode_ = freqUnits_->GetUnitCode();
  timeCode_ = timeUnits_->GetUnitCode();
  // The initial texts are no edit of the user's.
  SetCheck(kIdcXmtrProcInterpolate, lv::kUnchecked);
  SetCheck(kIdcXmtrProcDecimate, lv::kUnchecked);
  SetCheck(kIdcXmtrProcShiftFreq, lv::kUnchecked);
  SetCheck(kIdcXmtrProcShiftTime, lv::kUnchecked);
  SetCheck(kIdcXmtrProcRotatePhase, lv::kUnchecked);
  SetCheck(kIdcXmtrProcApplyGain, lv::kUnchecked);
  SetModified(false);
  return true;
}

void CWSorvekXmtrProcPage::Tick(int checkId) {
  SetCheck(checkId, lv::kChecked);
  SetModified(true);
}

void CWSorvekXmtrProcPage::OnEditChanged(int id) {
  switch (id) {
    case kIdcXmtrProcInterpRate: Tick(kIdcXmtrProcInterpolate); break;
    case kIdcXmtrProcDecimRate: Tick(kIdcXmtrProcDecimate); break;
    case kIdcXmtrProcFreq: Tick(kIdcXmtrProcShiftFreq); break;
    case kIdcXmtrProcTimeDelay: Tick(kIdcXmtrProcShiftTime); break;
    case kIdcXmtrProcPhase: Tick(kIdcXmtrProcRotatePhase); break;
    case kIdcXmtrProcGain: Tick(kIdcXmtrProcApplyGain); break;
    default: break;
  }
}

void CWSorvekXmtrProcPage::OnButtonClicked(int id) {
  // A unit button reports its ordinary click and, after a choice from its
  // menu, the unit change under the same id: only a changed unit counts.
  if (id == kIdcXmtrProcFreqUnits && freqUnits_->GetUnitCode() != freqCode_) {
    freqCode_ = freqUnits_->GetUnitCode();
    Tick(kIdcXmtrProcShiftFreq);
  } else if (id == kIdcXmtrProcTimeUnits && timeUnits_->GetUnitCode() != timeCode_) {
    timeCode_ = timeUnits_->GetUnitCode();
    Tick(kIdcXmtrProcShiftTime);
  }
  lv::PropertyPage::OnButtonClicked(id);
}

void CWSorvekXmtrProcPage::RefreshSettings(const CQSampleRateMgrSettings* record) {
  if (record == nullptr) return;
  try {
    // Each text goes in before its check box: writing it ticks the box, and
    // the stored flag then overrides that tick.
    SetItemText(kIdcXmtrProcInterpRate, FormatInt(record->interpolationRate));
    SetCheck(kIdcXmtrProcInterpolate, record->interpolationOn ? lv::kChecked : lv::kUnchecked);
    SetItemText(kIdcXmtrProcDecimRate, FormatInt(record->decimationRate));
    SetCheck(kIdcXmtrProcDecimate, record->decimationOn ? lv::kChecked : lv::kUnchecked);
    freqUnits_->SelectUnitsForValue(record->freqShift);
    freqCode_ = freqUnits_->GetUnitCode();
    SetItemText(kIdcXmtrProcFreq, Format(L"%.3lf", record->freqShift / freqUnits_->GetMultiplier()));
    SetCheck(kIdcXmtrProcShiftFreq, record->freqShiftOn ? lv::kChecked : lv::kUnchecked);
    timeUnits_->SelectUnitsForValue(record->timeDelay);
    timeCode_ = timeUnits_->GetUnitCode();
    SetItemText(kIdcXmtrProcTimeDelay, Format(L"%.5lf", record->timeDelay / timeUnits_->GetMultiplier()));
    SetCheck(kIdcXmtrProcShiftTime, record->timeShiftOn ? lv::kChecked : lv::kUnchecked);
    SetItemText(kIdcXmtrProcPhase, Format(L"%.3f", static_cast<double>(record->phaseDeg)));
    SetCheck(kIdcXmtrProcRotatePhase, record->phaseAdjustOn ? lv::kChecked : lv::kUnchecked);
    SetItemText(kIdcXmtrProcGain, Format(L"%.3f", static_cast<double>(record->gainDb)));
    SetCheck(kIdcXmtrProcApplyGain, record->gainAdjustOn ? lv::kChecked : lv::kUnchecked);
    SetModified(false);
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekXmtrProcPage::RefreshSettings");
    ShowErrorDialog(e);
  }
}

std::wstring CWSorvekXmtrProcPage::FirstBadField() const {
  for (const Field& f : kFields) {
    const std::wstring text = GetItemText(f.id);
    bool ok = false;
    if (f.type == FieldType::kInt) {
      int32_t v = 0;
      ok = lv_fields::ParseIntField(text, v);
    } else if (f.type == FieldType::kDouble) {
      double v = 0.0;
      ok = lv_fields::ParseDoubleField(text, v);
    } else {
      float v = 0.0f;
      ok = lv_fields::ParseFloatField(text, v);
    }
    if (!ok) return f.label;
  }
  return {};
}

void CWSorvekXmtrProcPage::GetSettings(CQSampleRateMgrSettings* record) {
  if (record == nullptr) return;
  const std::wstring bad = FirstBadField();
  if (!bad.empty()) {
    const std::wstring message =
        L"Xmtr " + std::to_wstring(xmtrNumber_) + L": the field \"" + bad + L"\" does not hold a number.";
    auto* e = new CQError(message.c_str());
    e->AddToCallStack("CWSorvekXmtrProcPage::GetSettings");
    throw e;
  }
  // Everything parses (checked above): the record changes only now, and
  // only in the fields this page edits.
  int32_t interp = 0;
  int32_t decim = 0;
  double freq = 0.0;
  double delay = 0.0;
  float phase = 0.0f;
  float gain = 0.0f;
  lv_fields::ParseIntField(GetItemText(kIdcXmtrProcInterpRate), interp);
  lv_fields::ParseIntField(GetItemText(kIdcXmtrProcDecimRate), decim);
  lv_fields::ParseDoubleField(GetItemText(kIdcXmtrProcFreq), freq);
  lv_fields::ParseDoubleField(GetItemText(kIdcXmtrProcTimeDelay), delay);
  lv_fields::ParseFloatField(GetItemText(kIdcXmtrProcPhase), phase);
  lv_fields::ParseFloatField(GetItemText(kIdcXmtrProcGain), gain);
  record->interpolationOn = GetCheck(kIdcXmtrProcInterpolate) == lv::kChecked;
  record->interpolationRate = interp;
  record->decimationOn = GetCheck(kIdcXmtrProcDecimate) == lv::kChecked;
  record->decimationRate = decim;
  record->freqShiftOn = GetCheck(kIdcXmtrProcShiftFreq) == lv::kChecked;
  record->freqShift = freq * freqUnits_->GetMultiplier();
  record->timeShiftOn = GetCheck(kIdcXmtrProcShiftTime) == lv::kChecked;
  record->timeDelay = delay * timeUnits_->GetMultiplier();
  record->phaseAdjustOn = GetCheck(kIdcXmtrProcRotatePhase) == lv::kChecked;
  record->phaseDeg = phase;
  record->gainAdjustOn = GetCheck(kIdcXmtrProcApplyGain) == lv::kChecked;
  record->gainDb = gain;
  SetModified(false);
}

bool CWSorvekXmtrProcPage::OnApply() {
  const std::wstring bad = FirstBadField();
  if (!bad.empty()) {
    const std::wstring message =
        L"Xmtr " + std::to_wstring(xmtrNumber_) + L": the field \"" + bad + L"\" does not hold a number.";
    auto* e = new CQError(message.c_str());
    e->AddToCallStack("CWSorvekXmtrProcPage::OnApply");
    ShowErrorDialog(e);
    return false;
  }
  return lv::PropertyPage::OnApply();
}

// ---- the sheet --------------------------------------------------------------

CWSorvekXmtrProcSheet::CWSorvekXmtrProcSheet(int transmitters, CWUIThread* engine)
    : lv::PropertySheet(L"Transmitter Processing"), numXmtrs_(transmitters < 0 ? 0 : transmitters), engine_(engine) {}

CWSorvekXmtrProcSheet::~CWSorvekXmtrProcSheet() = default;

CWSorvekXmtrProcPage* CWSorvekXmtrProcSheet::Page(int i) const {
  return i >= 0 && i < static_cast<int>(procPages_.size()) ? procPages_[static_cast<size_t>(i)].get() : nullptr;
}

bool CWSorvekXmtrProcSheet::Create() {
  try {
    if (procPages_.empty()) {
      for (int i = 0; i < numXmtrs_; ++i) {
        procPages_.push_back(std::make_unique<CWSorvekXmtrProcPage>(i + 1));
        AddPage(procPages_.back().get());
      }
    }
    if (!lv::PropertySheet::Create()) {
      throw new CQError("The window could not be created.");
    }
    // Every page once, then the first again.
    for (int i = 0; i < numXmtrs_; ++i) SetActivePage(i);
    SetActivePage(0);
    return true;
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekXmtrProcSheet::Create");
    ShowErrorDialog(e);
    return false;
  }
}

bool CWSorvekXmtrProcSheet::OnInitDialog() {
  for (int i = 0; i < numXmtrs_; ++i) {
    wchar_t text[32];
    std::swprintf(text, 32, L"Xmtr %d", i + 1);
    SetTabText(i, text);
  }
  return true;
}

void CWSorvekXmtrProcSheet::ShowWindow(bool show) {
  Show(show);
  OnShowWindow(show);
}

void CWSorvekXmtrProcSheet::OnShowWindow(bool show) {
  if (!show) return;
  try {
    RefreshSettings();
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekXmtrProcSheet::OnShowWindow");
    ShowErrorDialog(e);
  }
}

void CWSorvekXmtrProcSheet::RefreshSettings() {
  if (engine_ == nullptr) return;
  try {
    for (int i = 0; i < numXmtrs_; ++i) {
      void* p = nullptr;
      engine_->GetParam(&p, kEngineParamProcessing, i);
      // The engine answers with a copy the requester owns.
      std::unique_ptr<CQSampleRateMgrSettings> record(static_cast<CQSampleRateMgrSettings*>(p));
      if (record != nullptr) procPages_[static_cast<size_t>(i)]->RefreshSettings(record.get());
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekXmtrProcSheet::RefreshSettings");
    ShowErrorDialog(e);
  }
}

void CWSorvekXmtrProcSheet::OnOK() {
  if (OnOKButton()) {
    EndDialog(lv::kIdOk);  // hides the modeless sheet
  }
}

bool CWSorvekXmtrProcSheet::OnOKButton() {
  if (engine_ == nullptr) return true;
  try {
    // Every page must parse before any transmitter changes.
    for (int i = 0; i < numXmtrs_; ++i) {
      const std::wstring bad = procPages_[static_cast<size_t>(i)]->FirstBadField();
      if (!bad.empty()) {
        SetActivePage(i);
        const std::wstring message = L"Xmtr " + std::to_wstring(i + 1) + L": the field \"" + bad +
                                     L"\" does not hold a number.";
        throw new CQError(message.c_str());
      }
    }
    for (int i = 0; i < numXmtrs_; ++i) {
      // The engine's current record, with only the fields the page edits
      // changed: what the page does not show stays as the engine has it.
      void* p = nullptr;
      engine_->GetParam(&p, kEngineParamProcessing, i);
      std::unique_ptr<CQSampleRateMgrSettings> record(static_cast<CQSampleRateMgrSettings*>(p));
      if (record == nullptr) throw new CQError("Null pointer to data.");
      procPages_[static_cast<size_t>(i)]->GetSettings(record.get());
      engine_->SetParam(static_cast<void*>(record.get()), kEngineParamProcessing, i);
    }
    return true;
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekXmtrProcSheet::OnOKButton");
    ShowErrorDialog(e);
    return false;
  }
}
