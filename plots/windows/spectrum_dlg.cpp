#include "plots/windows/spectrum_dlg.h"

#include "core/error.h"
#include "core/error_dialog.h"

// The template pieces and the field helpers of the settings dialogs.
using namespace lv_plot_dlg;

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
      span_({kIdcSAAutoFreqRange, kIdcSAStart, kIdcSAStartUnits, kIdcSAStop, kIdcSAStopUnits, kIdcSAAutoRBW,
             kIdcSARBW, kIdcSARBWUnits}) {
  std::vector<Reaction> reactions = span_.Reactions();
  reactions.push_back({kIdcSANumAvgs, kIdcSAAutoNumAvgs, lv::kUnchecked});
  SetReactions(std::move(reactions));
}

CWPlotSADlg::~CWPlotSADlg() = default;

bool CWPlotSADlg::OnInitDialog() {
  span_.CreateButtons(*this);
  OnShowWindow();
  return true;
}

void CWPlotSADlg::OnShowWindow() {
  try {
    // Writing a text reports an edit, which clears the group's box: the
    // boxes go in after their texts.
    span_.Show(*this, autoFreqRange, startFreq, stopFreq, autoRBW, rbw, false);
    SetItemText(kIdcSANumFreqs, lv_plot_dlg::FormatInt(numFreqs));
    SetItemText(kIdcSANumAvgs, lv_plot_dlg::FormatInt(numAvgs));
    SetCheck(kIdcSAAutoNumAvgs, autoNumAvgs ? lv::kChecked : lv::kUnchecked);
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSADlg::OnShowWindow");
    ShowErrorDialog(e);
  }
}

void CWPlotSADlg::OnAccept() {
  // A text without a number keeps the value that was shown.
  span_.Read(*this, kTextChars, autoFreqRange, startFreq, stopFreq, autoRBW, rbw);
  numFreqs = lv_plot_dlg::ScanInt(GetItemText(kIdcSANumFreqs), kTextChars).value_or(numFreqs);
  autoNumAvgs = GetCheck(kIdcSAAutoNumAvgs) == lv::kChecked;
  numAvgs = lv_plot_dlg::ScanInt(GetItemText(kIdcSANumAvgs), kTextChars).value_or(numAvgs);
  EndDialog(1);
}
