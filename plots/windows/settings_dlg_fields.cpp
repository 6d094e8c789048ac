#include "plots/windows/settings_dlg_fields.h"

#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "platform/text.h"
#include "plots/windows/value_window.h"

namespace lv_plot_dlg {

namespace {

std::wstring Cut(const std::wstring& text, size_t maxChars) {
  return text.size() > maxChars ? text.substr(0, maxChars) : text;
}

}  // namespace

std::optional<double> ScanDouble(const std::wstring& text, size_t maxChars) {
  const std::optional<double> v = lv::ParseDoubleC(Cut(text, maxChars));
  if (!v || !std::isfinite(*v)) {
    return std::nullopt;
  }
  return v;
}

std::optional<float> ScanFloat(const std::wstring& text, size_t maxChars) {
  const std::optional<double> v = ScanDouble(text, maxChars);
  if (!v || std::fabs(*v) > static_cast<double>(std::numeric_limits<float>::max())) {
    return std::nullopt;
  }
  return static_cast<float>(*v);
}

std::optional<int> ScanInt(const std::wstring& text, size_t maxChars) {
  const std::optional<long long> v = lv::ParseIntC(Cut(text, maxChars));
  if (!v || *v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(*v);
}

std::wstring FormatFixed(double value, int decimals) { return lv::FormatCW(L"%.*lf", decimals, value); }

std::wstring FormatInt(int value) { return lv::FormatCW(L"%d", value); }

std::wstring FormatSignificant(double value) { return FormatFixed(value, CountSignificantDecimals(value)); }

void ShowWithUnits(lv::Dialog& dlg, int editId, CWUnitsButton& units, double value, bool significantDecimals) {
  units.SelectUnitsForValue(value);
  const double shown = value / units.GetMultiplier();
  dlg.SetItemText(editId, significantDecimals ? FormatSignificant(shown) : FormatFixed(shown, 3));
}

std::optional<double> ReadWithUnits(const lv::Dialog& dlg, int editId, const CWUnitsButton& units, size_t maxChars) {
  const std::optional<double> v = ScanDouble(dlg.GetItemText(editId), maxChars);
  if (!v) {
    return std::nullopt;
  }
  const double scaled = *v * units.GetMultiplier();
  if (!std::isfinite(scaled)) {
    return std::nullopt;
  }
  return scaled;
}

void ShowInformation(const std::wstring& text) {
  const CQMessageBox box(0, lv::WideToUtf8(text).c_str());
  box.Show(nullptr);
}

void CreateUnitButtons(lv::Dialog& dlg, const std::vector<std::pair<CWUnitsButton*, int>>& buttons) {
  for (const auto& [button, placeholder] : buttons) {
    button->Create(dlg, placeholder);
  }
}

SpanFields::SpanFields(const SpanIds& ids)
    : ids_(ids),
      startUnits_(std::make_unique<CWUnitsButton>(CWUnitsButton::kMHz)),
      stopUnits_(std::make_unique<CWUnitsButton>(CWUnitsButton::kMHz)),
      rbwUnits_(std::make_unique<CWUnitsButton>(CWUnitsButton::kKHz)) {}

SpanFields::~SpanFields() = default;

std::vector<Reaction> SpanFields::Reactions() const {
  return {
      {ids_.start, ids_.autoFreqRange, lv::kUnchecked}, {ids_.startUnits, ids_.autoFreqRange, lv::kUnchecked},
      {ids_.stop, ids_.autoFreqRange, lv::kUnchecked},  {ids_.stopUnits, ids_.autoFreqRange, lv::kUnchecked},
      {ids_.rbw, ids_.autoRBW, lv::kUnchecked},         {ids_.rbwUnits, ids_.autoRBW, lv::kUnchecked},
  };
}

void SpanFields::CreateButtons(lv::Dialog& dlg) {
  CreateUnitButtons(dlg, {{startUnits_.get(), ids_.startUnits},
                          {stopUnits_.get(), ids_.stopUnits},
                          {rbwUnits_.get(), ids_.rbwUnits}});
}

void SpanFields::Show(lv::Dialog& dlg, bool autoFreqRange, double startFreq, double stopFreq, bool autoRBW, double rbw,
                      bool significantDecimals) {
  ShowWithUnits(dlg, ids_.start, *startUnits_, startFreq, significantDecimals);
  ShowWithUnits(dlg, ids_.stop, *stopUnits_, stopFreq, significantDecimals);
  dlg.SetCheck(ids_.autoFreqRange, autoFreqRange ? lv::kChecked : lv::kUnchecked);
  ShowWithUnits(dlg, ids_.rbw, *rbwUnits_, rbw, significantDecimals);
  dlg.SetCheck(ids_.autoRBW, autoRBW ? lv::kChecked : lv::kUnchecked);
}

void SpanFields::Read(const lv::Dialog& dlg, size_t maxChars, bool& autoFreqRange, double& startFreq,
                      double& stopFreq, bool& autoRBW, double& rbw) const {
  autoFreqRange = dlg.GetCheck(ids_.autoFreqRange) == lv::kChecked;
  startFreq = ReadWithUnits(dlg, ids_.start, *startUnits_, maxChars).value_or(startFreq);
  stopFreq = ReadWithUnits(dlg, ids_.stop, *stopUnits_, maxChars).value_or(stopFreq);
  autoRBW = dlg.GetCheck(ids_.autoRBW) == lv::kChecked;
  rbw = ReadWithUnits(dlg, ids_.rbw, *rbwUnits_, maxChars).value_or(rbw);
}

lv::ControlTemplate Label(const wchar_t* text, int x, int y, int w, int h) {
  return {-1, lv::ControlKind::kStaticText, text, x, y, w, h, lv::kStyleNone};
}

lv::ControlTemplate Edit(int id, int x, int y, int w, int h) {
  return {id, lv::ControlKind::kEdit, L"", x, y, w, h, lv::kStyleTabStop | lv::kStyleBorder | lv::kStyleHScroll};
}

lv::ControlTemplate Placeholder(int id, int x, int y, int w, int h) {
  return {id, lv::ControlKind::kFrame, L"", x, y, w, h, lv::kStyleHidden};
}

lv::ControlTemplate Check(int id, const wchar_t* text, int x, int y, int w, int h) {
  return {id, lv::ControlKind::kCheckBox, text, x, y, w, h, lv::kStyleTabStop};
}

lv::ControlTemplate Group(const wchar_t* text, int x, int y, int w, int h) {
  return {-1, lv::ControlKind::kGroupBox, text, x, y, w, h, lv::kStyleNone};
}

lv::ControlTemplate Button(int id, const wchar_t* text, int x, int y, bool isDefault) {
  return {id, isDefault ? lv::ControlKind::kDefPushButton : lv::ControlKind::kPushButton, text, x, y, 50, 14,
          lv::kStyleTabStop};
}

lv::ControlTemplate DropDown(int id, int x, int y, int w, int h) {
  return {id, lv::ControlKind::kDropDownList, L"", x, y, w, h, lv::kStyleTabStop | lv::kStyleVScroll};
}

void AddAveragingGroup(std::vector<lv::ControlTemplate>& controls, int onId, int numAvgsId, int y) {
  controls.push_back(Group(L"Measurement Averaging", 7, y, 226, 46));
  controls.push_back(Check(onId, L"Averaging on", 14, y + 12, 200));
  controls.push_back(Label(L"Number of averages", 14, y + 29, 114));
  controls.push_back(Edit(numAvgsId, 130, y + 27, 60));
}

Averaging ReadAveraging(const lv::Dialog& dlg, int onId, int numAvgsId, size_t maxChars) {
  const std::optional<int> n = ScanInt(dlg.GetItemText(numAvgsId), maxChars);
  if (dlg.GetCheck(onId) == lv::kChecked && n) {
    return {true, *n <= 0 ? 1 : *n};
  }
  return {false, 1};
}

}  // namespace lv_plot_dlg

CWPlotSettingsDlgBase::CWPlotSettingsDlgBase(lv::DialogTemplate tmpl, int acceptId, int cancelId)
    : lv::Dialog(std::move(tmpl)), acceptId_(acceptId), cancelId_(cancelId) {}

void CWPlotSettingsDlgBase::React(int source) {
  for (const Reaction& r : reactions_) {
    if (r.source == source) {
      SetCheck(r.target, r.state);
    }
  }
}

void CWPlotSettingsDlgBase::OnButtonClicked(int id) {
  if (id == acceptId_ || id == lv::kIdOk) {
    OnAccept();
  } else if (id == cancelId_ || id == lv::kIdCancel) {
    EndDialog(0);
  } else {
    React(id);
  }
}

void CWPlotSettingsDlgBase::OnEditChanged(int id) { React(id); }

void CWPlotSettingsDlgBase::OnSelectionChanged(int id) { React(id); }
