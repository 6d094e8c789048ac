#include "plots/windows/pib_dlg.h"

#include "core/error.h"
#include "core/error_dialog.h"

// The template pieces and the field helpers of the settings dialogs.
using namespace lv_plot_dlg;

namespace {

constexpr size_t kTextChars = 63;

// Per band: its box, and offset and bandwidth fields with their buttons.
struct BandIds {
  int on;
  int offset;
  int offsetUnits;
  int bw;
  int bwUnits;
};
constexpr BandIds kBands[2] = {
    {kIdcPiBBand1On, kIdcPiBBand1Offset, kIdcPiBBand1OffsetUnits, kIdcPiBBand1BW, kIdcPiBBand1BWUnits},
    {kIdcPiBBand2On, kIdcPiBBand2Offset, kIdcPiBBand2OffsetUnits, kIdcPiBBand2BW, kIdcPiBBand2BWUnits},
};

void AddBand(std::vector<lv::ControlTemplate>& c, const wchar_t* group, const BandIds& b, int y) {
  c.push_back(Group(group, 7, y, 226, 60));
  c.push_back(Check(b.on, L"Band on", 14, y + 12, 100));
  c.push_back(Label(L"Offset frequency", 14, y + 28, 114));
  c.push_back(Edit(b.offset, 130, y + 26, 60));
  c.push_back(Placeholder(b.offsetUnits, 194, y + 26, 36));
  c.push_back(Label(L"Bandwidth", 14, y + 44, 114));
  c.push_back(Edit(b.bw, 130, y + 42, 60));
  c.push_back(Placeholder(b.bwUnits, 194, y + 42, 36));
}

}  // namespace

lv::DialogTemplate PiBDialogTemplate() {
  lv::DialogTemplate t;
  t.name = "PIBDialog";
  t.caption = L"Power in A Band";
  t.width = 240;
  t.height = 232;
  auto& c = t.controls;
  c.push_back(Check(kIdcPiBOn, L"Power in a band measurement on", 7, 7, 200));
  AddBand(c, L"Band 1", kBands[0], 22);
  AddBand(c, L"Band 2", kBands[1], 88);
  lv_plot_dlg::AddAveragingGroup(c, kIdcPiBAvgOn, kIdcPiBNumAvgs, 154);
  c.push_back(Button(kIdcPiBAccept, L"Accept", 129, 210, true));
  c.push_back(Button(kIdcPiBCancel, L"Cancel", 183, 210, false));
  return t;
}

CWPiBDlg::CWPiBDlg()
    : CWPlotSettingsDlgBase(PiBDialogTemplate(), kIdcPiBAccept, kIdcPiBCancel),
      list_(std::make_unique<CQPiBMeasBandList>(2)) {
  for (auto& u : units_) {
    u = std::make_unique<CWUnitsButton>(CWUnitsButton::kMHz);
  }
  std::vector<Reaction> reactions;
  for (const BandIds& b : kBands) {
    reactions.push_back({b.on, kIdcPiBOn, lv::kChecked});
    for (int source : {b.offset, b.offsetUnits, b.bw, b.bwUnits}) {
      reactions.push_back({source, kIdcPiBOn, lv::kChecked});
      reactions.push_back({source, b.on, lv::kChecked});
    }
  }
  reactions.push_back({kIdcPiBNumAvgs, kIdcPiBAvgOn, lv::kChecked});
  reactions.push_back({kIdcPiBNumAvgs, kIdcPiBOn, lv::kChecked});
  SetReactions(std::move(reactions));
}

CWPiBDlg::~CWPiBDlg() = default;

CWUnitsButton* CWPiBDlg::UnitsOf(int editId) {
  for (int i = 0; i < 2; ++i) {
    if (kBands[i].offset == editId) {
      return units_[2 * i].get();
    }
    if (kBands[i].bw == editId) {
      return units_[2 * i + 1].get();
    }
  }
  return nullptr;
}

bool CWPiBDlg::OnInitDialog() {
  for (int i = 0; i < 2; ++i) {
    units_[2 * i]->Create(*this, kBands[i].offsetUnits);
    units_[2 * i + 1]->Create(*this, kBands[i].bwUnits);
  }
  OnShowWindow();
  return true;
}

void CWPiBDlg::OnShowWindow() {
  try {
    // Only a list of two bands is shown; any other keeps the empty fields.
    if (list_->GetSize() != 2) {
      return;
    }
    for (int i = 0; i < 2; ++i) {
      const CQPiBMeasBand* band = list_->GetItem(i);
      lv_plot_dlg::ShowWithUnits(*this, kBands[i].offset, *units_[2 * i], band->freq, false);
      lv_plot_dlg::ShowWithUnits(*this, kBands[i].bw, *units_[2 * i + 1], band->bandwidth, false);
      SetCheck(kBands[i].on, band->on ? lv::kChecked : lv::kUnchecked);
    }
    const CQPiBMeasBand* first = list_->GetItem(0);
    SetItemText(kIdcPiBNumAvgs, lv_plot_dlg::FormatInt(first->avgFactor));
    SetCheck(kIdcPiBAvgOn, first->avgOn ? lv::kChecked : lv::kUnchecked);
    SetCheck(kIdcPiBOn, measOn ? lv::kChecked : lv::kUnchecked);
  } catch (CQError* e) {
    e->AddToCallStack("CWPiBDlg::OnShowWindow");
    ShowErrorDialog(e);
  }
}

void CWPiBDlg::OnAccept() {
  try {
    // The values that were shown: those of a two-band list, else the
    // defaults of a new band.
    CQPiBMeasBand shown[2];
    if (list_->GetSize() == 2) {
      shown[0].Set(list_->GetItem(0));
      shown[1].Set(list_->GetItem(1));
    }
    CQPiBMeasBand bands[2];
    for (int i = 0; i < 2; ++i) {
      bands[i].on = GetCheck(kBands[i].on) == lv::kChecked;
      if (bands[i].on) {
        bands[i].freq =
            lv_plot_dlg::ReadWithUnits(*this, kBands[i].offset, *units_[2 * i], kTextChars).value_or(shown[i].freq);
        bands[i].bandwidth = lv_plot_dlg::ReadWithUnits(*this, kBands[i].bw, *units_[2 * i + 1], kTextChars)
                                 .value_or(shown[i].bandwidth);
      }
    }
    const lv_plot_dlg::Averaging avg = lv_plot_dlg::ReadAveraging(*this, kIdcPiBAvgOn, kIdcPiBNumAvgs, kTextChars);
    for (CQPiBMeasBand& band : bands) {
      band.avgOn = avg.on;
      band.avgFactor = avg.factor;
    }
    measOn = GetCheck(kIdcPiBOn) == lv::kChecked;
    if (list_->GetSize() != 2) {
      list_->SetSize(2);
    }
    list_->SetItem(0, &bands[0]);
    list_->SetItem(1, &bands[1]);
    EndDialog(1);
  } catch (CQError* e) {
    e->AddToCallStack("CWPiBDlg::OnAccept");
    ShowErrorDialog(e);
  }
}
