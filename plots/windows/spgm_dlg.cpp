#include "plots/windows/spgm_dlg.h"

#include "core/error.h"
#include "core/error_dialog.h"
#include "core/numbers.h"

// The template pieces and the field helpers of the settings dialogs.
using namespace lv_plot_dlg;

namespace {

// Texts are read into buffers of 32 characters.
constexpr size_t kTextChars = 31;

// The entries of the RBW list, in the unit of its button.
constexpr const wchar_t* kRBWEntries[] = {
    L"0.01", L"0.02", L"0.04", L"0.05", L"0.08", L"0.1", L"0.2",  L"0.4",  L"0.5",  L"0.8",
    L"1",    L"2",    L"4",    L"5",    L"8",    L"10",  L"20",   L"40",   L"50",   L"80",
    L"100",  L"200",  L"400",  L"500",  L"800",  L"1000", L"2000", L"4000", L"5000", L"8000",
};

// The window shapes of the "DSP window" list: text and code, by position.
struct Shape {
  const wchar_t* text;
  int code;
};
constexpr Shape kShapes[4] = {
    {L"Rectangular", 1},
    {L"Gaussian -50 dB sidelobes", 6},
    {L"Gaussian -70 dB sidelobes", 7},
    {L"Gaussian -100 dB sidelobes", 8},
};

constexpr const wchar_t* kColorMaps[2] = {L"Rainbow", L"Grayscale"};

// The list position that shows a window shape code (an unknown code shows
// the default, "Gaussian -70 dB sidelobes").
int ShapePosition(int code) {
  switch (code) {
    case 1:
      return 0;
    case 6:
      return 1;
    case 8:
      return 3;
    default:
      return 2;
  }
}

}  // namespace

const wchar_t* const CWPlotSpgmDlg::kPowerOrderMessage =
    L"The minimum power must be less than the maximum power.\nPlease re-enter the values, or press Cancel.";

lv::DialogTemplate SpgmDialogTemplate() {
  lv::DialogTemplate t;
  t.name = "SpgmDialog";
  t.caption = L"Spectrogram Settings";
  t.width = 250;
  t.height = 232;
  t.controls = {
      Group(L"Time Range", 7, 7, 236, 30),
      Label(L"Desired range", 14, 20, 72),
      Edit(kIdcSpgmTimeRange, 90, 18, 60),
      Placeholder(kIdcSpgmTimeRangeUnits, 154, 18, 36),
      Check(kIdcSpgmAutoTimeRange, L"Auto", 198, 19, 40),
      Group(L"Frequencies", 7, 43, 236, 46),
      Label(L"Start", 14, 56, 72),
      Edit(kIdcSpgmStart, 90, 54, 60),
      Placeholder(kIdcSpgmStartUnits, 154, 54, 36),
      Label(L"Stop", 14, 72, 72),
      Edit(kIdcSpgmStop, 90, 70, 60),
      Placeholder(kIdcSpgmStopUnits, 154, 70, 36),
      Check(kIdcSpgmAutoFreqRange, L"Auto", 198, 63, 40),
      Label(L"RBW", 14, 99, 72),
      {kIdcSpgmRBW, lv::ControlKind::kComboBox, L"", 90, 97, 60, 120, lv::kStyleTabStop | lv::kStyleVScroll},
      Placeholder(kIdcSpgmRBWUnits, 154, 97, 36),
      Check(kIdcSpgmAutoRBW, L"Auto", 198, 98, 40),
      Label(L"DSP window", 14, 117, 72),
      DropDown(kIdcSpgmWindow, 90, 115, 140, 70),
      Group(L"Power Scale", 7, 134, 236, 46),
      Label(L"Max", 14, 148, 72),
      Edit(kIdcSpgmMaxPower, 90, 146, 60),
      Label(L"Min", 14, 164, 72),
      Edit(kIdcSpgmMinPower, 90, 162, 60),
      Label(L"dBm", 154, 164, 30),
      Label(L"Colors", 14, 192, 72),
      DropDown(kIdcSpgmColors, 90, 190, 80, 40),
      Button(kIdcSpgmAccept, L"Accept", 139, 212, true),
      Button(kIdcSpgmCancel, L"Cancel", 193, 212, false),
  };
  return t;
}

CWPlotSpgmDlg::CWPlotSpgmDlg()
    : CWPlotSettingsDlgBase(SpgmDialogTemplate(), kIdcSpgmAccept, kIdcSpgmCancel),
      timeUnits_(std::make_unique<CWUnitsButton>(CWUnitsButton::kUsec)),
      span_({kIdcSpgmAutoFreqRange, kIdcSpgmStart, kIdcSpgmStartUnits, kIdcSpgmStop, kIdcSpgmStopUnits,
             kIdcSpgmAutoRBW, kIdcSpgmRBW, kIdcSpgmRBWUnits}) {
  // The RBW combo box reports typing as an edit and a pick from its list as
  // a selection: both clear its box, as its unit button does.
  std::vector<Reaction> reactions = span_.Reactions();
  reactions.push_back({kIdcSpgmTimeRange, kIdcSpgmAutoTimeRange, lv::kUnchecked});
  reactions.push_back({kIdcSpgmTimeRangeUnits, kIdcSpgmAutoTimeRange, lv::kUnchecked});
  SetReactions(std::move(reactions));
}

CWPlotSpgmDlg::~CWPlotSpgmDlg() = default;

bool CWPlotSpgmDlg::OnInitDialog() {
  lv_plot_dlg::CreateUnitButtons(*this, {{timeUnits_.get(), kIdcSpgmTimeRangeUnits}});
  span_.CreateButtons(*this);
  for (const wchar_t* entry : kRBWEntries) {
    AddString(kIdcSpgmRBW, entry);
  }
  for (const Shape& s : kShapes) {
    AddString(kIdcSpgmWindow, s.text);
  }
  for (const wchar_t* entry : kColorMaps) {
    AddString(kIdcSpgmColors, entry);
  }
  OnShowWindow();
  return true;
}

void CWPlotSpgmDlg::OnShowWindow() {
  try {
    // Each text before its "Auto" box: writing it clears the box.
    lv_plot_dlg::ShowWithUnits(*this, kIdcSpgmTimeRange, *timeUnits_, timeRange, true);
    SetCheck(kIdcSpgmAutoTimeRange, autoTimeRange ? lv::kChecked : lv::kUnchecked);
    span_.Show(*this, autoFreqRange, startFreq, stopFreq, autoRBW, rbw, true);
    SetCurSel(kIdcSpgmWindow, ShapePosition(windowShape));
    SetItemText(kIdcSpgmMinPower, lv_plot_dlg::FormatSignificant(minPower));
    SetItemText(kIdcSpgmMaxPower, lv_plot_dlg::FormatSignificant(maxPower));
    SetCurSel(kIdcSpgmColors, colorMapType == 1 ? 1 : 0);
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSpgmDlg::OnShowWindow");
    ShowErrorDialog(e);
  }
}

void CWPlotSpgmDlg::OnAccept() {
  // Each step stores what it has read before the next is checked; a refusal
  // leaves the dialog open for a correction.
  autoTimeRange = GetCheck(kIdcSpgmAutoTimeRange) == lv::kChecked;
  if (!autoTimeRange) {
    const std::optional<double> range = ReadWithUnits(*this, kIdcSpgmTimeRange, *timeUnits_, kTextChars);
    // A range of no time (or less) has no spectrogram rows.
    if (!range || !(*range > 0.0)) {
      ShowInformation(L"Invalid time range.\nPlease enter a valid value, or press Cancel.");
      return;
    }
    timeRange = *range;
  }
  autoFreqRange = GetCheck(kIdcSpgmAutoFreqRange) == lv::kChecked;
  if (!autoFreqRange) {
    const std::optional<double> start = ReadWithUnits(*this, kIdcSpgmStart, span_.StartUnits(), kTextChars);
    if (!start) {
      ShowInformation(L"Invalid start frequency.\nPlease enter a valid value, or press Cancel.");
      return;
    }
    const std::optional<double> stop = ReadWithUnits(*this, kIdcSpgmStop, span_.StopUnits(), kTextChars);
    if (!stop) {
      ShowInformation(L"Invalid stop frequency.\nPlease enter a valid value, or press Cancel.");
      return;
    }
    if (*stop < *start) {
      ShowInformation(L"Stop frequency is less than start frequency.\nPlease re-enter the values, or press Cancel.");
      return;
    }
    startFreq = *start;
    stopFreq = *stop;
  }
  autoRBW = GetCheck(kIdcSpgmAutoRBW) == lv::kChecked;
  if (!autoRBW) {
    const std::optional<double> value = ReadWithUnits(*this, kIdcSpgmRBW, span_.RBWUnits(), kTextChars);
    // A bandwidth of zero (or less) resolves nothing.
    if (!value || !(*value > 0.0)) {
      ShowInformation(L"Invalid resolution bandwidth.\nPlease enter a valid value, or press Cancel.");
      return;
    }
    rbw = *value;
  }
  const int shape = GetCurSel(kIdcSpgmWindow);
  if (shape >= 0 && shape < 4) {
    windowShape = kShapes[shape].code;
  }
  const std::optional<float> minimum = lv_plot_dlg::ScanFloat(GetItemText(kIdcSpgmMinPower), kTextChars);
  if (!minimum) {
    ShowInformation(L"Invalid minimum power value.\nPlease enter a valid value, or press Cancel.");
    return;
  }
  const std::optional<float> maximum = lv_plot_dlg::ScanFloat(GetItemText(kIdcSpgmMaxPower), kTextChars);
  if (!maximum) {
    ShowInformation(L"Invalid maximum power value.\nPlease enter a valid value, or press Cancel.");
    return;
  }
  if (!(*minimum < *maximum)) {
    ShowInformation(kPowerOrderMessage);
    return;
  }
  minPower = *minimum;
  maxPower = *maximum;
  colorMapType = GetCurSel(kIdcSpgmColors) == 1 ? 1 : 0;
  EndDialog(1);
}
