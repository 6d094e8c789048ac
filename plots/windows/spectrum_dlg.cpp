#include "plots/windows/spectrum_dlg.h"

#include "core/error.h"
#include "core/error_dialog.h"

using lv_plot_dlg::Button;
using lv_plot_dlg::Check;
using lv_plot_dlg::Edit;
using lv_plot_dlg::Group;
using lv_plot_dlg::Label;
using lv_plot_dlg::Placeholder;

namespace {
// Texts are read into buffers of 64 characters.
constexpr size_t kTextChars = 63;
}  // namespace

lv::DialogTemplate SpectrumDialogTemplate() {
  lv::DialogTemplate t;
  t.name = "SpectrumDialog";
  t.caption = L"Spectrum Analyzer";
  t.width = 230;
  t.height = 242;
  t.controls = {
      Group(L"Frequencies", 7, 7, 216, 100),
      Check(kIdcSAAutoFreqRange, L"Automatically choose the frequency range", 14, 19, 200),
      Label(L"Start", 14, 35, 80),
      Edit(kIdcSAStart, 100, 33, 70),
      Placeholder(kIdcSAStartUnits, 174, 33, 36),
      Label(L"Stop", 14, 51, 80),
      Edit(kIdcSAStop, 100, 49, 70),
      Placeholder(kIdcSAStopUnits, 174, 49, 36),
      Label(L"Number of frequencies", 14, 67, 84),
      Edit(kIdcSANumFreqs, 100, 65, 70),
      Label(L"Note: Frequencies are relative to the center of the band.", 14, 84, 200, 16),
      Group(L"Resolution Bandwidth", 7, 112, 216, 48),
      Check(kIdcSAAutoRBW, L"Automatically choose the RBW", 14, 124, 200),
      Label(L"RBW", 14, 140, 80),
      Edit(kIdcSARBW, 100, 138, 70),
      Placeholder(kIdcSARBWUnits, 174, 138, 36),
      Group(L"Averaging", 7, 166, 216, 48),
      Check(kIdcSAAutoNumAvgs, L"Automatically choose the numer of averages", 14, 178, 200),
      Label(L"Number of averages", 14, 194, 84),
      Edit(kIdcSANumAvgs, 100, 192, 70),
      Button(kIdcSAAccept, L"Accept", 119, 222, true),
      Button(kIdcSACancel, L"Cancel", 173, 222, false),
  };
  return t;
}

CWPlotSADlg::CWPlotSADlg()
    : CWPlotSettingsDlgBase(SpectrumDialogTemplate(), kIdcSAAccept, kIdcSACancel),
      startUnits_(std::make_unique<CWUnitsButton>(CWUnitsButton::kMHz)),
      stopUnits_(std::make_unique<CWUnitsButton>(CWUnitsButton::kMHz)),
      rbwUnits_(std::make_unique<CWUnitsButton>(CWUnitsButton::kKHz)) {
  SetReactions({
      {kIdcSAStart, kIdcSAAutoFreqRange, lv::kUnchecked},
      {kIdcSAStartUnits, kIdcSAAutoFreqRange, lv::kUnchecked},
      {kIdcSAStop, kIdcSAAutoFreqRange, lv::kUnchecked},
      {kIdcSAStopUnits, kIdcSAAutoFreqRange, lv::kUnchecked},
      {kIdcSARBW, kIdcSAAutoRBW, lv::kUnchecked},
      {kIdcSARBWUnits, kIdcSAAutoRBW, lv::kUnchecked},
      {kIdcSANumAvgs, kIdcSAAutoNumAvgs, lv::kUnchecked},
  });
}

CWPlotSADlg::~CWPlotSADlg() = default;

bool CWPlotSADlg::OnInitDialog() {
  lv_plot_dlg::CreateUnitButtons(
      *this, {{startUnits_.get(), kIdcSAStartUnits}, {stopUnits_.get(), kIdcSAStopUnits}, {rbwUnits_.get(), kIdcSARBWUnits}});
  OnShowWindow();
  return true;
}

void CWPlotSADlg::OnShowWindow() {
  try {
    // Writing a text reports an edit, which clears the group's box: the
    // boxes go in after their texts.
    lv_plot_dlg::ShowWithUnits(*this, kIdcSAStart, *startUnits_, startFreq, false);
    lv_plot_dlg::ShowWithUnits(*this, kIdcSAStop, *stopUnits_, stopFreq, false);
    SetCheck(kIdcSAAutoFreqRange, autoFreqRange ? lv::kChecked : lv::kUnchecked);
    SetItemText(kIdcSANumFreqs, lv_plot_dlg::FormatInt(numFreqs));
    lv_plot_dlg::ShowWithUnits(*this, kIdcSARBW, *rbwUnits_, rbw, false);
    SetCheck(kIdcSAAutoRBW, autoRBW ? lv::kChecked : lv::kUnchecked);
    SetItemText(kIdcSANumAvgs, lv_plot_dlg::FormatInt(numAvgs));
    SetCheck(kIdcSAAutoNumAvgs, autoNumAvgs ? lv::kChecked : lv::kUnchecked);
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSADlg::OnShowWindow");
    ShowErrorDialog(e);
  }
}

void CWPlotSADlg::OnAccept() {
  autoFreqRange = GetCheck(kIdcSAAutoFreqRange) == lv::kChecked;
  // A text without a number keeps the value that was shown.
  startFreq = lv_plot_dlg::ReadWithUnits(*this, kIdcSAStart, *startUnits_, kTextChars).value_or(startFreq);
  stopFreq = lv_plot_dlg::ReadWithUnits(*this, kIdcSAStop, *stopUnits_, kTextChars).value_or(stopFreq);
  numFreqs = lv_plot_dlg::ScanInt(GetItemText(kIdcSANumFreqs), kTextChars).value_or(numFreqs);
  autoRBW = GetCheck(kIdcSAAutoRBW) == lv::kChecked;
  rbw = lv_plot_dlg::ReadWithUnits(*this, kIdcSARBW, *rbwUnits_, kTextChars).value_or(rbw);
  autoNumAvgs = GetCheck(kIdcSAAutoNumAvgs) == lv::kChecked;
  numAvgs = lv_plot_dlg::ScanInt(GetItemText(kIdcSANumAvgs), kTextChars).value_or(numAvgs);
  EndDialog(1);
}
