#include "plots/windows/acpr_dlg.h"

#include "core/error.h"
#include "core/error_dialog.h"

// The template pieces and the field helpers of the settings dialogs.
using namespace lv_plot_dlg;

namespace {

constexpr size_t kTextChars = 63;

// The frequency fields with their unit buttons, in the order of units_.
struct FreqField {
  int edit;
  int units;
};
constexpr FreqField kFields[8] = {
    {kIdcACPRCenterOffset, kIdcACPRCenterOffsetUnits}, {kIdcACPRCenterBW, kIdcACPRCenterBWUnits},
    {kIdcACPRAdjOffset, kIdcACPRAdjOffsetUnits},       {kIdcACPRAdjBW, kIdcACPRAdjBWUnits},
    {kIdcACPRAdj2Offset, kIdcACPRAdj2OffsetUnits},     {kIdcACPRAdj2BW, kIdcACPRAdj2BWUnits},
    {kIdcACPRExtraOffset, kIdcACPRExtraOffsetUnits},   {kIdcACPRExtraBW, kIdcACPRExtraBWUnits},
};

// One row of the "Bands" group: label, edit, unit button placeholder.
void AddRow(std::vector<lv::ControlTemplate>& c, const wchar_t* label, const FreqField& f, int y) {
  c.push_back(Label(label, 14, y + 2, 114));
  c.push_back(Edit(f.edit, 130, y, 60));
  c.push_back(Placeholder(f.units, 194, y, 36));
}

}  // namespace

lv::DialogTemplate ACPRDialogTemplate() {
  lv::DialogTemplate t;
  t.name = "ACPRDialog";
  t.caption = L"Adjacent Channel Power Ratio";
  t.width = 240;
  t.height = 292;
  auto& c = t.controls;
  c.push_back(Check(kIdcACPROn, L"ACPR measurement on", 7, 7, 150));
  c.push_back(Group(L"Bands", 7, 22, 226, 186));
  AddRow(c, L"Center offset frequency", kFields[0], 34);
  AddRow(c, L"Center bandwidth", kFields[1], 50);
  c.push_back(Check(kIdcACPRRelToCenter, L"Other offsets are relative to the center offset", 14, 67, 212));
  AddRow(c, L"Adjacent offset frequency", kFields[2], 82);
  AddRow(c, L"Adjacent bandwidth", kFields[3], 98);
  c.push_back(Check(kIdcACPRAdj2On, L"Use adjacent 2 bands", 14, 115, 200));
  AddRow(c, L"Adjacent 2 offset frequency", kFields[4], 130);
  AddRow(c, L"Adjacent 2 bandwidth", kFields[5], 146);
  c.push_back(Check(kIdcACPRExtraOn, L"Use extra band", 14, 163, 200));
  AddRow(c, L"Extra offset frequency", kFields[6], 178);
  AddRow(c, L"Extra bandwidth", kFields[7], 194);
  // The group ends below the last row: 194 + 12 + 6 = 212.
  c[1].h = 212 - 22;
  lv_plot_dlg::AddAveragingGroup(c, kIdcACPRAvgOn, kIdcACPRNumAvgs, 218);
  c.push_back(Button(kIdcACPRAccept, L"Accept", 129, 272, true));
  c.push_back(Button(kIdcACPRCancel, L"Cancel", 183, 272, false));
  return t;
}

CWACPRDlg::CWACPRDlg()
    : CWPlotSettingsDlgBase(ACPRDialogTemplate(), kIdcACPRAccept, kIdcACPRCancel),
      bands_(std::make_unique<CQACPRMeasBands>()) {
  for (auto& u : units_) {
    u = std::make_unique<CWUnitsButton>(CWUnitsButton::kMHz);
  }
  std::vector<Reaction> reactions;
  for (int i = 0; i < 8; ++i) {
    for (int source : {kFields[i].edit, kFields[i].units}) {
      reactions.push_back({source, kIdcACPROn, lv::kChecked});
      if (i == 4 || i == 5) {
        reactions.push_back({source, kIdcACPRAdj2On, lv::kChecked});
      } else if (i == 6 || i == 7) {
        reactions.push_back({source, kIdcACPRExtraOn, lv::kChecked});
      }
    }
  }
  reactions.push_back({kIdcACPRNumAvgs, kIdcACPRAvgOn, lv::kChecked});
  reactions.push_back({kIdcACPRNumAvgs, kIdcACPROn, lv::kChecked});
  SetReactions(std::move(reactions));
}

CWACPRDlg::~CWACPRDlg() = default;

CWUnitsButton* CWACPRDlg::UnitsOf(int editId) {
  for (int i = 0; i < 8; ++i) {
    if (kFields[i].edit == editId) {
      return units_[i].get();
    }
  }
  return nullptr;
}

bool CWACPRDlg::OnInitDialog() {
  for (int i = 0; i < 8; ++i) {
    units_[i]->Create(*this, kFields[i].units);
  }
  OnShowWindow();
  return true;
}

void CWACPRDlg::OnShowWindow() {
  try {
    const CQACPRMeasBands& b = *bands_;
    // Texts first: each one ticks boxes, which the stored switches then set.
    const double values[8] = {b.centerOffset,    b.centerBW,    b.adjacentOffset, b.adjacentBW,
                              b.adjacent2Offset, b.adjacent2BW, b.extraOffset,    b.extraBW};
    for (int i = 0; i < 6; ++i) {
      lv_plot_dlg::ShowWithUnits(*this, kFields[i].edit, *units_[i], values[i], false);
    }
    SetCheck(kIdcACPRAdj2On, b.adjacent2On ? lv::kChecked : lv::kUnchecked);
    for (int i = 6; i < 8; ++i) {
      lv_plot_dlg::ShowWithUnits(*this, kFields[i].edit, *units_[i], values[i], false);
    }
    SetCheck(kIdcACPRExtraOn, b.extraOn ? lv::kChecked : lv::kUnchecked);
    SetCheck(kIdcACPRRelToCenter, b.adjRelToCenter ? lv::kChecked : lv::kUnchecked);
    SetItemText(kIdcACPRNumAvgs, lv_plot_dlg::FormatInt(b.avgFactor));
    SetCheck(kIdcACPRAvgOn, b.avgOn ? lv::kChecked : lv::kUnchecked);
    SetCheck(kIdcACPROn, measOn ? lv::kChecked : lv::kUnchecked);
  } catch (CQError* e) {
    e->AddToCallStack("CWACPRDlg::OnShowWindow");
    ShowErrorDialog(e);
  }
}

void CWACPRDlg::OnAccept() {
  CQACPRMeasBands& b = *bands_;
  auto read = [this](int i, double shown) {
    return lv_plot_dlg::ReadWithUnits(*this, kFields[i].edit, *units_[i], kTextChars).value_or(shown);
  };
  measOn = GetCheck(kIdcACPROn) == lv::kChecked;
  b.centerOffset = read(0, b.centerOffset);
  b.centerBW = read(1, b.centerBW);
  b.adjacentOffset = read(2, b.adjacentOffset);
  b.adjacentBW = read(3, b.adjacentBW);
  // A band that is switched off keeps the offset and bandwidth it had.
  b.adjacent2On = GetCheck(kIdcACPRAdj2On) == lv::kChecked;
  if (b.adjacent2On) {
    b.adjacent2Offset = read(4, b.adjacent2Offset);
    b.adjacent2BW = read(5, b.adjacent2BW);
  }
  b.extraOn = GetCheck(kIdcACPRExtraOn) == lv::kChecked;
  if (b.extraOn) {
    b.extraOffset = read(6, b.extraOffset);
    b.extraBW = read(7, b.extraBW);
  }
  b.adjRelToCenter = GetCheck(kIdcACPRRelToCenter) == lv::kChecked;
  const lv_plot_dlg::Averaging avg = lv_plot_dlg::ReadAveraging(*this, kIdcACPRAvgOn, kIdcACPRNumAvgs, kTextChars);
  b.avgOn = avg.on;
  b.avgFactor = avg.factor;
  EndDialog(1);
}
