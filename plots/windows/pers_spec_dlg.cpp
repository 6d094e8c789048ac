#include "plots/windows/pers_spec_dlg.h"

#include "core/error.h"
#include "core/error_dialog.h"

// The template pieces and the field helpers of the settings dialogs.
using namespace lv_plot_dlg;

namespace {

constexpr size_t kTextChars = 63;

constexpr const wchar_t* kPersistence[4] = {L"Infinite", L"Slow decay", L"Medium decay", L"Fast decay"};

}  // namespace

lv::DialogTemplate PersSpecDialogTemplate() {
  lv::DialogTemplate t;
  t.name = "PersSpecDialog";
  t.caption = L"Persistence Spectrum";
  t.width = 240;
  t.height = 256;
  lv::ControlTemplate overlay = Check(kIdcPersOverlay, L"Overlay spectrum trace", 14, 215, 90);
  overlay.style |= lv::kStyleLeftText;
  t.controls = {
      Group(L"Frequencies", 7, 7, 226, 62),
      Check(kIdcPersAutoFreqRange, L"Automatically choose the frequency range", 14, 19, 210),
      Label(L"Start", 14, 35, 114),
      Edit(kIdcPersStart, 130, 33, 60),
      Placeholder(kIdcPersStartUnits, 194, 33, 36),
      Label(L"Stop", 14, 51, 114),
      Edit(kIdcPersStop, 130, 49, 60),
      Placeholder(kIdcPersStopUnits, 194, 49, 36),
      Group(L"Resolution Bandwidth", 7, 75, 226, 46),
      Check(kIdcPersAutoRBW, L"Automatically choose the RBW", 14, 87, 210),
      Label(L"RBW", 14, 103, 114),
      Edit(kIdcPersRBW, 130, 101, 60),
      Placeholder(kIdcPersRBWUnits, 194, 101, 36),
      Group(L"Power Scale", 7, 127, 226, 46),
      Label(L"Max power", 14, 141, 114),
      Edit(kIdcPersMaxPower, 130, 139, 60),
      Label(L"dBm", 194, 141, 30),
      Label(L"Min power", 14, 157, 114),
      Edit(kIdcPersMinPower, 130, 155, 60),
      Label(L"dBm", 194, 157, 30),
      Label(L"Persistence", 14, 183, 114),
      DropDown(kIdcPersPersistence, 130, 181, 96, 60),
      Label(L"Number of spectra per input", 14, 199, 114),
      Edit(kIdcPersNumSpectra, 130, 197, 60),
      overlay,
      Button(kIdcPersAccept, L"Accept", 129, 236, true),
      Button(kIdcPersCancel, L"Cancel", 183, 236, false),
  };
  return t;
}

CWPlotPersSpecDlg::CWPlotPersSpecDlg()
    : CWPlotSettingsDlgBase(PersSpecDialogTemplate(), kIdcPersAccept, kIdcPersCancel),
      span_({kIdcPersAutoFreqRange, kIdcPersStart, kIdcPersStartUnits, kIdcPersStop, kIdcPersStopUnits,
             kIdcPersAutoRBW, kIdcPersRBW, kIdcPersRBWUnits}) {
  SetReactions(span_.Reactions());
}

CWPlotPersSpecDlg::~CWPlotPersSpecDlg() = default;

bool CWPlotPersSpecDlg::OnInitDialog() {
  for (const wchar_t* entry : kPersistence) {
    AddString(kIdcPersPersistence, entry);
  }
  SetCurSel(kIdcPersPersistence, 0);
  span_.CreateButtons(*this);
  OnShowWindow();
  return true;
}

void CWPlotPersSpecDlg::OnShowWindow() {
  try {
    span_.Show(*this, autoFreqRange, startFreq, stopFreq, autoRBW, rbw, false);
    SetItemText(kIdcPersMinPower, lv_plot_dlg::FormatFixed(minPower, 2));
    SetItemText(kIdcPersMaxPower, lv_plot_dlg::FormatFixed(maxPower, 2));
    SetCurSel(kIdcPersPersistence, persistenceType >= 1 && persistenceType <= 3 ? persistenceType : 0);
    SetItemText(kIdcPersNumSpectra, lv_plot_dlg::FormatInt(spectraPerInput));
    SetCheck(kIdcPersOverlay, overlayTrace ? lv::kChecked : lv::kUnchecked);
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotPersSpecDlg::OnShowWindow");
    ShowErrorDialog(e);
  }
}

void CWPlotPersSpecDlg::OnAccept() {
  // A text without a number keeps the value that was shown.
  span_.Read(*this, kTextChars, autoFreqRange, startFreq, stopFreq, autoRBW, rbw);
  minPower = lv_plot_dlg::ScanFloat(GetItemText(kIdcPersMinPower), kTextChars).value_or(minPower);
  maxPower = lv_plot_dlg::ScanFloat(GetItemText(kIdcPersMaxPower), kTextChars).value_or(maxPower);
  const int sel = GetCurSel(kIdcPersPersistence);
  persistenceType = sel >= 1 && sel <= 3 ? sel : 0;
  spectraPerInput = lv_plot_dlg::ScanInt(GetItemText(kIdcPersNumSpectra), kTextChars).value_or(spectraPerInput);
  overlayTrace = GetCheck(kIdcPersOverlay) == lv::kChecked;
  EndDialog(1);
}
