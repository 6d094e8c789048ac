#include "xcvr/gui/ad9081_single_file_dlg.h"

#include <cstdio>
#include <cwchar>

#include "core/error.h"
#include "core/error_dialog.h"
#include "core/processing/sample_rate_mgr_settings.h"
#include "iqfiles/manager/data_manager_thread.h"
#include "workers/ui_thread.h"
#include "workers/gui/field_text.h"
#include "xcvr/instr_settings.h"
#include "xcvr/instr_thread.h"

using lv::ControlKind;
using lv_xcvr_gui::kEditStyle;
using lv_xcvr_gui::kReadOnlyStyle;
using lv_fields::FormatNumber;
using lv_fields::ParseDoubleField;
using lv_fields::ParseFloatField;

namespace {

constexpr int kDacs = 4;

const CQAD9081DacIds kDacIds[kDacs] = {
    {1354, 1355, 1357, 1358, 1359, 1360, 1361, 1362},
    {1370, 1371, 1374, 1373, 1376, 1375, 1378, 1377},
    {1379, 1380, 1383, 1382, 1385, 1384, 1387, 1386},
    {1388, 1389, 1392, 1391, 1394, 1393, 1396, 1395},
};

const CQFileDisplayIds kDisplay{kIdcAD9081DlgTotalTime, kIdcAD9081DlgTotalTimeUnits, kIdcAD9081DlgPoints,
                                kIdcAD9081DlgSampleRate, kIdcAD9081DlgSampleRateUnits};

std::unique_ptr<CQSampleRateMgrSettings> GetProcessing(CWUIThread* engine, int k) {
  void* p = nullptr;
  engine->GetParam(&p, kAD9081DlgEngineProcessingParam, k);
  // The engine answers with a copy the requester owns.
  return std::unique_ptr<CQSampleRateMgrSettings>(static_cast<CQSampleRateMgrSettings*>(p));
}

}  // namespace

const CQAD9081DacIds& AD9081DacIds(int dac) { return kDacIds[dac < 0 ? 0 : (dac >= kDacs ? kDacs - 1 : dac)]; }

lv::DialogTemplate AD9081SingleFileTemplate() {
  lv::DialogTemplate t;
  t.name = "139";
  t.caption = L"AD9081 Single File";
  t.width = 561;
  t.height = 266;
  t.controls = {
      {-1, ControlKind::kStaticText, L"File Name", 7, 9, 40, 8, lv::kStyleNone},
      {kIdcAD9081DlgFileName, ControlKind::kEdit, L"", 50, 7, 440, 12, kEditStyle},
      {kIdcAD9081DlgBrowse, ControlKind::kPushButton, L"Browse", 496, 6, 58, 14, lv::kStyleTabStop},
      {-1, ControlKind::kGroupBox, L"File Contents", 7, 26, 547, 32, lv::kStyleNone},
      {-1, ControlKind::kStaticText, L"Total Time", 15, 41, 40, 8, lv::kStyleNone},
      {kIdcAD9081DlgTotalTime, ControlKind::kEdit, L"", 58, 39, 70, 12, kReadOnlyStyle},
      {kIdcAD9081DlgTotalTimeUnits, ControlKind::kStaticText, L"", 132, 41, 28, 8, lv::kStyleNone},
      {-1, ControlKind::kStaticText, L"Number of Points", 178, 41, 62, 8, lv::kStyleNone},
      {kIdcAD9081DlgPoints, ControlKind::kEdit, L"", 242, 39, 80, 12, kReadOnlyStyle},
      {-1, ControlKind::kStaticText, L"Sample Rate", 342, 41, 45, 8, lv::kStyleNone},
      {kIdcAD9081DlgSampleRate, ControlKind::kEdit, L"", 390, 39, 70, 12, kReadOnlyStyle},
      {kIdcAD9081DlgSampleRateUnits, ControlKind::kStaticText, L"", 464, 41, 30, 8, lv::kStyleNone},
  };
  for (int k = 0; k < kDacs; ++k) {
    const CQAD9081DacIds& d = kDacIds[k];
    const int x = 7 + 137 * k;
    wchar_t group[16];
    wchar_t use[16];
    std::swprintf(group, 16, L"DAC %d", k);
    std::swprintf(use, 16, L"Use DAC %d", k);
    t.controls.push_back({-1, ControlKind::kGroupBox, group, x, 64, 131, 172, lv::kStyleNone});
    t.controls.push_back({d.use, ControlKind::kCheckBox, use, x + 8, 78, 100, 10, lv::kStyleTabStop});
    t.controls.push_back({-1, ControlKind::kStaticText, L"Center Freq (MHz)", x + 8, 98, 68, 8, lv::kStyleNone});
    t.controls.push_back({d.centerFreq, ControlKind::kEdit, L"", x + 78, 96, 46, 12, kEditStyle});
    t.controls.push_back({d.shiftTime, ControlKind::kCheckBox, L"Shift Time", x + 8, 118, 100, 10, lv::kStyleTabStop});
    t.controls.push_back({-1, ControlKind::kStaticText, L"Time Delay (nsec)", x + 8, 134, 68, 8, lv::kStyleNone});
    t.controls.push_back({d.timeDelay, ControlKind::kEdit, L"", x + 78, 132, 46, 12, kEditStyle});
    t.controls.push_back(
        {d.rotatePhase, ControlKind::kCheckBox, L"Rotate Phase", x + 8, 154, 100, 10, lv::kStyleTabStop});
    t.controls.push_back({-1, ControlKind::kStaticText, L"Phase (Deg)", x + 8, 170, 68, 8, lv::kStyleNone});
    t.controls.push_back({d.phase, ControlKind::kEdit, L"", x + 78, 168, 46, 12, kEditStyle});
    t.controls.push_back({d.applyGain, ControlKind::kCheckBox, L"Apply Gain", x + 8, 190, 100, 10, lv::kStyleTabStop});
    t.controls.push_back({-1, ControlKind::kStaticText, L"Gain (dB)", x + 8, 206, 68, 8, lv::kStyleNone});
    t.controls.push_back({d.gain, ControlKind::kEdit, L"", x + 78, 204, 46, 12, kEditStyle});
  }
  t.controls.push_back(
      {kIdcAD9081DlgApplyAndClose, ControlKind::kPushButton, L"Apply and Close", 330, 244, 70, 15, lv::kStyleTabStop});
  t.controls.push_back({kIdcAD9081DlgApply, ControlKind::kDefPushButton, L"Apply", 406, 244, 70, 15, lv::kStyleTabStop});
  t.controls.push_back({kIdcAD9081DlgClose, ControlKind::kPushButton, L"Close", 482, 244, 70, 15, lv::kStyleTabStop});
  return t;
}

CWSorvekInstrAD9081Dlg::CWSorvekInstrAD9081Dlg(CWUIThread* instr, CWUIThread* dataMgr, CWUIThread* engine,
                                               int appXmtrs, int appRcvrs)
    : lv::Dialog(AD9081SingleFileTemplate()),
      appXmtrs_(appXmtrs),
      appRcvrs_(appRcvrs),
      instr_(instr),
      dataMgr_(dataMgr),
      engine_(engine),
      fileInfo_(std::make_unique<CQFileInfo>()) {}

CWSorvekInstrAD9081Dlg::~CWSorvekInstrAD9081Dlg() { Destroy(); }

bool CWSorvekInstrAD9081Dlg::OnInitDialog() { return true; }

void CWSorvekInstrAD9081Dlg::ShowWindow(bool show) {
  Show(show);
  OnShowWindow(show);
}

void CWSorvekInstrAD9081Dlg::OnShowWindow(bool show) {
  if (!show) return;
  try {
    // The first transmitter's file that is set.
    if (dataMgr_ != nullptr) {
      for (int k = 0; k < kDacs; ++k) {
        std::wstring name;
        dataMgr_->GetParam(&name, CWMultiDataMgrThread::kParamFileName, k);
        if (!name.empty()) {
          SetItemText(kIdcAD9081DlgFileName, name);
          ShowFileParameters(name.c_str(), false);
          break;
        }
      }
    }
    if (instr_ == nullptr) return;
    void* p = nullptr;
    instr_->GetParam(&p, kInstrGetSettings);
    std::unique_ptr<CQInstrIIOMultiXcvrSettings> record(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
    if (record == nullptr || record->NumXmtrs() < kDacs) return;
    for (int k = 0; k < kDacs; ++k) {
      SetCheck(kDacIds[k].use, record->Xmtr(k).on ? lv::kChecked : lv::kUnchecked);
      SetItemText(kDacIds[k].centerFreq, FormatNumber(L"%.3lf", record->Xmtr(k).centerFreq / 1e6));
    }
    if (engine_ == nullptr) return;
    for (int k = 0; k < kDacs; ++k) {
      const std::unique_ptr<CQSampleRateMgrSettings> proc = GetProcessing(engine_, k);
      if (proc == nullptr) return;
      const CQAD9081DacIds& d = kDacIds[k];
      // Each text before its box: writing it ticks the box, and the stored
      // flag then overrides that tick.
      SetItemText(d.timeDelay, FormatNumber(L"%.3lf", proc->timeDelay / 1e-9));
      SetCheck(d.shiftTime, proc->timeShiftOn ? lv::kChecked : lv::kUnchecked);
      SetItemText(d.phase, FormatNumber(L"%.3f", static_cast<double>(proc->phaseDeg)));
      SetCheck(d.rotatePhase, proc->phaseAdjustOn ? lv::kChecked : lv::kUnchecked);
      SetItemText(d.gain, FormatNumber(L"%.3f", static_cast<double>(proc->gainDb)));
      SetCheck(d.applyGain, proc->gainAdjustOn ? lv::kChecked : lv::kUnchecked);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekInstrAD9081Dlg::OnShowWindow");
    ShowErrorDialog(e);
  }
}

bool CWSorvekInstrAD9081Dlg::ShowFileParameters(const wchar_t* name, bool report) {
  return ShowIQFileDescription(name, report, "CWSorvekInstrAD9081Dlg::ShowFileParameters", *this, kDisplay,
                               *fileInfo_);
}

void CWSorvekInstrAD9081Dlg::OnBrowse() {
  BrowseIQFileIntoField(*this, kIdcAD9081DlgFileName, "CWSorvekInstrAD9081Dlg::ShowFileParameters", kDisplay,
                        *fileInfo_);
}

void CWSorvekInstrAD9081Dlg::OnButtonClicked(int id) {
  switch (id) {
    case kIdcAD9081DlgBrowse: OnBrowse(); return;
    case kIdcAD9081DlgApply: OnApplyButton(); return;
    case kIdcAD9081DlgApplyAndClose:
      // An error inside the apply has been shown by now; the dialog hides all the same.
      OnApplyButton();
      Hide();
      return;
    case kIdcAD9081DlgClose: Hide(); return;
    default: break;
  }
  lv::Dialog::OnButtonClicked(id);
}

void CWSorvekInstrAD9081Dlg::OnEditChanged(int id) {
  for (const CQAD9081DacIds& d : kDacIds) {
    if (id == d.timeDelay) SetCheck(d.shiftTime, lv::kChecked);
    if (id == d.phase) SetCheck(d.rotatePhase, lv::kChecked);
    if (id == d.gain) SetCheck(d.applyGain, lv::kChecked);
  }
}

void CWSorvekInstrAD9081Dlg::OnOK() {
  // Enter: the default button, Apply.
  OnApplyButton();
}

void CWSorvekInstrAD9081Dlg::OnCancel() { Hide(); }

void CWSorvekInstrAD9081Dlg::Hide() {
  if (bringOwnerToFront_) bringOwnerToFront_();
  EndDialog(lv::kIdCancel);  // hides the modeless dialog
}

bool CWSorvekInstrAD9081Dlg::OnApplyButton() {
  try {
    if (appXmtrs_ < kDacs) throw new CQError("Incompatible number of transmitter channels.");
    if (instr_ == nullptr || dataMgr_ == nullptr || engine_ == nullptr) {
      throw new CQError("Null pointer to transceiver settings.");
    }
    // A copy of the live settings: the dialog changes only what it edits.
    void* p = nullptr;
    instr_->GetParam(&p, kInstrGetSettings);
    std::unique_ptr<CQInstrIIOMultiXcvrSettings> live(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
    if (live == nullptr) throw new CQError("Null pointer to transceiver settings.");
    if (live->NumXmtrs() < kDacs) throw new CQError("Incompatible number of transmitter channels.");
    auto record = std::make_unique<CQInstrIIOMultiXcvrSettings>(*live);
    const std::wstring fileName = GetItemText(kIdcAD9081DlgFileName);
    for (int k = 0; k < kDacs; ++k) {
      const CQAD9081DacIds& d = kDacIds[k];
      const std::unique_ptr<CQSampleRateMgrSettings> engineRecord = GetProcessing(engine_, k);
      if (engineRecord == nullptr) throw new CQError("Null pointer to trnamitter processing settings.");
      CQSampleRateMgrSettings proc;
      proc.CopyFrom(engineRecord.get());
      proc.timeShiftOn = false;
      proc.phaseAdjustOn = false;
      proc.gainAdjustOn = false;
      if (GetCheck(d.use) == lv::kChecked) {
        dataMgr_->SetParam(fileName.c_str(), CWMultiDataMgrThread::kParamFileName, k);
        dataMgr_->SetParam(true, CWMultiDataMgrThread::kParamActive, k);
        record->Xmtr(k).on = true;
        double mhz = 0.0;
        if (ParseDoubleField(GetItemText(d.centerFreq), mhz)) record->Xmtr(k).centerFreq = mhz * 1e6;
        if (GetCheck(d.shiftTime) == lv::kChecked) {
          proc.timeShiftOn = true;
          double nsec = 0.0;
          if (ParseDoubleField(GetItemText(d.timeDelay), nsec)) proc.timeDelay = nsec * 1e-9;
        }
        if (GetCheck(d.rotatePhase) == lv::kChecked) {
          proc.phaseAdjustOn = true;
          float deg = 0.0f;
          if (ParseFloatField(GetItemText(d.phase), deg)) proc.phaseDeg = deg;
        }
        if (GetCheck(d.applyGain) == lv::kChecked) {
          proc.gainAdjustOn = true;
          float db = 0.0f;
          if (ParseFloatField(GetItemText(d.gain), db)) proc.gainDb = db;
        }
      } else {
        record->Xmtr(k).on = false;
        dataMgr_->SetParam(false, CWMultiDataMgrThread::kParamActive, k);
      }
      proc.interpolationOn = false;
      proc.decimationOn = false;
      proc.arbResampleOn = false;
      proc.freqShiftOn = false;
      proc.noiseOn = false;
      proc.filterOn = false;
      proc.samplesLimitOn = false;
      engine_->SetParam(static_cast<void*>(&proc), kAD9081DlgEngineProcessingParam, k);
    }
    instr_->SetParam(static_cast<void*>(record.get()), kInstrSetSettings);
    return true;
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekInstrAD9081Dlg::OnApplyButton");
    ShowErrorDialog(e);
    return false;
  }
}
