#include "app/main_dialogs.h"

#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

#include "core/error.h"
#include "core/error_dialog.h"
#include "workers/app_identity.h"

namespace {

using lv::ControlKind;
using lv::ControlTemplate;

// The kinds in the order the dialog asks and tells them, with their boxes.
struct KindBox {
  CWPlotKind kind;
  int box;
};
constexpr KindBox kKindBoxes[] = {
    {CWPlotKind::kTimeDomain, kIdcActivePlotsShowIq},
    {CWPlotKind::kSpectrum, kIdcActivePlotsShowSpectrum},
    {CWPlotKind::kPersistence, kIdcActivePlotsShowPersistence},
    {CWPlotKind::kSpectrogram, kIdcActivePlotsShowSpectrogram},
};

}  // namespace

lv::DialogTemplate ActivePlotsTemplate() {
  lv::DialogTemplate t;
  t.name = "105";
  t.caption = L"Active Windows";
  t.width = 170;
  t.height = 142;
  const uint32_t tab = lv::kStyleTabStop;
  t.controls = {
      ControlTemplate{-1, ControlKind::kStaticText, L"Number of Plots", 10, 10, 60, 8},
      ControlTemplate{kIdcActivePlotsNumber, ControlKind::kDropDownList, L"", 76, 8, 40, 60, tab},
      ControlTemplate{-1, ControlKind::kGroupBox, L"Plots", 7, 26, 156, 66},
      ControlTemplate{kIdcActivePlotsShowIq, ControlKind::kCheckBox, L"IQ Waveforms", 16, 38, 130, 10, tab},
      ControlTemplate{kIdcActivePlotsShowSpectrum, ControlKind::kCheckBox, L"Spectrum", 16, 51, 130, 10, tab},
      ControlTemplate{kIdcActivePlotsShowPersistence, ControlKind::kCheckBox, L"Persistence Spectrum", 16, 64, 130, 10,
                      tab},
      ControlTemplate{kIdcActivePlotsShowSpectrogram, ControlKind::kCheckBox, L"Spectrogram", 16, 77, 130, 10, tab},
      ControlTemplate{kIdcActivePlotsAutoArrange, ControlKind::kCheckBox, L"Automatically arrange windows", 10, 100, 150,
                      10, tab},
      ControlTemplate{kIdcActivePlotsApply, ControlKind::kDefPushButton, L"Apply", 30, 120, 50, 14, tab},
      ControlTemplate{kIdcActivePlotsClose, ControlKind::kPushButton, L"Close", 90, 120, 50, 14, tab},
  };
  return t;
}

lv::DialogTemplate AboutTemplate() {
  lv::DialogTemplate t;
  t.name = "100";
  t.caption = L"About Lumvard Sorvek";
  t.width = 200;
  t.height = 62;
  t.controls = {
      // The application icon's place: dialogs built from control tables
      // have no picture control, so the place is kept but not shown; the
      // dialog's caption carries the application icon.
      ControlTemplate{kIdcAboutIcon, ControlKind::kFrame, L"", 10, 10, 21, 20, lv::kStyleHidden},
      ControlTemplate{kIdcAboutText, ControlKind::kStaticText, L" ", 40, 10, 150, 24},
      ControlTemplate{lv::kIdOk, ControlKind::kDefPushButton, L"OK", 75, 40, 50, 14, lv::kStyleTabStop},
  };
  return t;
}

// ---------------------------------------------------------------------------
// Active plots dialog

CWSorvekActivePlotsDlg::CWSorvekActivePlotsDlg(int transmitters, CWSorvekThreads& threads,
                                               std::function<void()> bringMainToFront,
                                               std::function<void()> requestArrange, uint32_t applyPauseMs)
    : lv::Dialog(ActivePlotsTemplate()),
      numXmtrs_(transmitters),
      threads_(threads),
      bringMainToFront_(std::move(bringMainToFront)),
      requestArrange_(std::move(requestArrange)),
      applyPauseMs_(applyPauseMs) {}

bool CWSorvekActivePlotsDlg::OnInitDialog() {
  ResetContent(kIdcActivePlotsNumber);
  for (int i = 1; i <= numXmtrs_; ++i) {
    AddString(kIdcActivePlotsNumber, std::to_wstring(i));
  }
  SetCurSel(kIdcActivePlotsNumber, 0);
  SetCheck(kIdcActivePlotsAutoArrange, lv::kChecked);
  return true;
}

void CWSorvekActivePlotsDlg::OnButtonClicked(int id) {
  if (id == kIdcActivePlotsApply) {
    OnApplyButton();
  } else if (id == kIdcActivePlotsClose) {
    OnClose();
  } else {
    lv::Dialog::OnButtonClicked(id);
  }
}

void CWSorvekActivePlotsDlg::ShowWindow(bool show) {
  Show(show);
  OnShowWindow(show);
}

void CWSorvekActivePlotsDlg::OnShowWindow(bool show) {
  if (!show) return;
  try {
    bool anyShown[kPlotKinds] = {};
    for (int i = 0; i < numXmtrs_; ++i) {
      for (const KindBox& kb : kKindBoxes) {
        CWUIThread* t = threads_.Plot(kb.kind, i);
        if (t == nullptr) continue;
        bool shown = false;
        t->GetParam(&shown, PlotIds(kb.kind).shown);
        anyShown[static_cast<int>(kb.kind)] |= shown;
      }
    }
    SetCurSel(kIdcActivePlotsNumber, 0);
    for (const KindBox& kb : kKindBoxes) {
      SetCheck(kb.box, anyShown[static_cast<int>(kb.kind)] ? lv::kChecked : lv::kUnchecked);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekActivePlotsDlg::OnShowWindow");
    ShowErrorDialog(e);
  }
}

void CWSorvekActivePlotsDlg::OnApplyButton() {
  try {
    const int n = GetCurSel(kIdcActivePlotsNumber) + 1;
    bool wanted[kPlotKinds] = {};
    for (const KindBox& kb : kKindBoxes) {
      wanted[static_cast<int>(kb.kind)] = GetCheck(kb.box) == lv::kChecked;
    }
    const bool arrange = GetCheck(kIdcActivePlotsAutoArrange) == lv::kChecked;
    for (int i = 0; i < numXmtrs_; ++i) {
      for (const KindBox& kb : kKindBoxes) {
        CWUIThread* t = threads_.Plot(kb.kind, i);
        if (t == nullptr) continue;
        const bool show = i < n && wanted[static_cast<int>(kb.kind)];
        t->SetParam(show, PlotIds(kb.kind).shown);
      }
    }
    OnClose();
    if (arrange) {
      std::this_thread::sleep_for(std::chrono::milliseconds(applyPauseMs_));
      if (requestArrange_) requestArrange_();
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekActivePlotsDlg::OnApplyButton");
    ShowErrorDialog(e);
  }
}

void CWSorvekActivePlotsDlg::OnClose() {
  if (bringMainToFront_) bringMainToFront_();
  Show(false);
}

// ---------------------------------------------------------------------------
// About dialog

CWSorvekAboutDlg::CWSorvekAboutDlg() : lv::Dialog(AboutTemplate()) {}

std::wstring CWSorvekAboutDlg::AboutText() {
  std::wstring text = CQAppType::GetProductName() + L"\nVersion " + CQAppType::GetVersionText();
  if (text.size() > 127) text.resize(127);
  return text;
}

bool CWSorvekAboutDlg::OnInitDialog() {
  try {
    SetCaption(L"About Lumvard Sorvek");
    SetItemText(kIdcAboutText, L" ");
    SetItemText(kIdcAboutText, AboutText());
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekAboutDlg::OnInitDialog");
    ShowErrorDialog(e);
  }
  return true;
}
