#include "plots/windows/spectrum_window.h"

#include "core/call_stack.h"
#include "plots/windows/acpr_dlg.h"
#include "plots/windows/pib_dlg.h"
#include "plots/windows/spectrum_dlg.h"

CWPlotSAWndw::CWPlotSAWndw() : CWPlot2DToolWndw(3) { CWSpectrumModel::ConfigurePlot(*this); }

CWPlotSAWndw::~CWPlotSAWndw() = default;

void CWPlotSAWndw::SetData(const CQCArrayTD* input) { model_.SetData(input); }

void CWPlotSAWndw::ComputeSpectrum() {
  Guarded("CWPlotSAWndw::ComputeSpectrum", [&] {
    CWSampleMarker m = Marker();
    const std::wstring title = Window() != nullptr ? Window()->Title() : std::wstring();
    model_.ComputeSpectrum(*this, title.c_str(), &m);
    SetMarker(m);
  });
}

void CWPlotSAWndw::DrawPlot() {
  Guarded("CWPlotSAWndw::DrawPlot", [&] {
    if (model_.BuildPlot(*this)) {
      Redraw();
    }
  });
}

void CWPlotSAWndw::PaintACPR(lv::DeviceContext& dc) { model_.PaintACPR(dc, *this); }

void CWPlotSAWndw::PaintPiB(lv::DeviceContext& dc) { model_.PaintPiB(dc, *this); }

void CWPlotSAWndw::PaintOverlay(lv::DeviceContext& dc) {
  PaintACPR(dc);
  PaintPiB(dc);
}

CWSampleMarker CWPlotSAWndw::Marker() const {
  CWSampleMarker m;
  m.on = markerOn;
  m.twoValues = markerComplex;
  m.x = markerX;
  m.value = markerValue;
  return m;
}

void CWPlotSAWndw::SetMarker(const CWSampleMarker& m) {
  markerOn = m.on;
  markerComplex = m.twoValues;
  markerX = m.x;
  markerValue = m.value;
}

void CWPlotSAWndw::SnapMarkerToData() {
  CWSampleMarker m = Marker();
  model_.SnapMarker(m);
  SetMarker(m);
}

void CWPlotSAWndw::OnKeyDown(int32_t key) {
  CWSampleMarker m = Marker();
  if (model_.StepMarker(m, key == lv::kKeyLeft ? -1 : 1)) {
    SetMarker(m);
    Redraw();
  }
}

void CWPlotSAWndw::OnWindowMessage(const lv::WindowMessage& m) {
  if (m.kind == lv::WindowMessageKind::kKeyDown && markerOn && (m.a == lv::kKeyLeft || m.a == lv::kKeyRight)) {
    Guarded("CWPlotSAWndw::OnKeyDown", [&] { OnKeyDown(m.a); });
    return;
  }
  CWPlot2DToolWndw::OnWindowMessage(m);
}

CWPlotSAWndw::SpectrumSettings CWPlotSAWndw::GetSpectrumSettings() {
  CQAvgSpectrum& a = model_.AvgSpectrum();
  SpectrumSettings s;
  s.autoFreqLimits = a.GetAutoFreqLimits();
  s.numFreqs = a.GetNumFreqs();
  s.startFreq = a.GetStartFreq();
  s.stopFreq = a.GetStopFreq();
  s.autoRBW = a.GetAutoRBW();
  s.rbw = a.GetRBW();
  s.autoNumAvgs = a.GetAutoNumAvgs();
  s.numAvgs = a.GetNumAvgs();
  return s;
}

void CWPlotSAWndw::ApplySpectrumSettings(const SpectrumSettings& s) {
  CQAvgSpectrum& a = model_.AvgSpectrum();
  a.SetAutoFreqLimits(s.autoFreqLimits);
  a.SetFreqLimits(s.startFreq, s.stopFreq);
  a.SetNumFreqs(s.numFreqs);
  a.SetAutoRBW(s.autoRBW);
  a.SetRBW(s.rbw);
  a.SetAutoNumAvgs(s.autoNumAvgs);
  a.SetNumAvgs(s.numAvgs);
  ComputeSpectrum();
  DrawPlot();
}

void CWPlotSAWndw::ApplyACPR(bool on, const CQACPRMeasBands& bands) {
  model_.ApplyACPR(*this, on, bands);
  if (on) {
    ComputeSpectrum();
    DrawPlot();
  } else {
    Redraw();
  }
}

void CWPlotSAWndw::ApplyPiB(bool on, const CQPiBMeasBandList& bands) {
  model_.ApplyPiB(*this, on, bands);
  if (on) {
    ComputeSpectrum();
    DrawPlot();
  } else {
    Redraw();
  }
}

void CWPlotSAWndw::OnSpectrumDialog() {
  Guarded("CWPlotSAWndw::OnPopupMenuSpectrumDialog", [&] {
    const SpectrumSettings now = GetSpectrumSettings();
    CWPlotSADlg dlg;
    dlg.autoFreqRange = now.autoFreqLimits;
    dlg.numFreqs = now.numFreqs;
    dlg.startFreq = now.startFreq;
    dlg.stopFreq = now.stopFreq;
    dlg.autoRBW = now.autoRBW;
    dlg.rbw = now.rbw;
    dlg.autoNumAvgs = now.autoNumAvgs;
    dlg.numAvgs = now.numAvgs;
    if (dlg.DoModal() == 0) {
      return;
    }
    SpectrumSettings s;
    s.autoFreqLimits = dlg.autoFreqRange;
    s.numFreqs = dlg.numFreqs;
    s.startFreq = dlg.startFreq;
    s.stopFreq = dlg.stopFreq;
    s.autoRBW = dlg.autoRBW;
    s.rbw = dlg.rbw;
    s.autoNumAvgs = dlg.autoNumAvgs;
    s.numAvgs = dlg.numAvgs;
    ApplySpectrumSettings(s);
  });
}

void CWPlotSAWndw::OnACPRDialog() {
  Guarded("CWPlotSAWndw::OnPopupMenuACPRDialog", [&] {
    if (model_.pibOn) {
      throw new CQError(CWSpectrumModel::kACPRRefused);
    }
    CWACPRDlg dlg;
    dlg.measOn = model_.acprOn;
    dlg.Bands().Set(&model_.ACPRBands());
    if (dlg.DoModal() == 0) {
      return;
    }
    ApplyACPR(dlg.measOn, dlg.Bands());
  });
}

void CWPlotSAWndw::OnPiBDialog() {
  Guarded("CWPlotSAWndw::OnPopupMenuPiBDialog", [&] {
    if (model_.acprOn) {
      throw new CQError(CWSpectrumModel::kPiBRefused);
    }
    CWPiBDlg dlg;
    dlg.measOn = model_.pibOn;
    dlg.BandList().Set(&model_.PiBBands());
    if (dlg.DoModal() == 0) {
      return;
    }
    ApplyPiB(dlg.measOn, dlg.BandList());
  });
}

void CWPlotSAWndw::OnCommand(uint32_t id) {
  const bool measuring = model_.acprOn || model_.pibOn;
  switch (id) {
    case kCmdSpectrumDialog: OnSpectrumDialog(); return;
    case kCmdACPRDialog: OnACPRDialog(); return;
    case kCmdPiBDialog: OnPiBDialog(); return;
    case kCmdResetAveraging: ResetMeasurementAveraging(); return;
    case kCmdAxesLimits:
    case kCmdLockVertical:
    case kCmdLockHorizontal:
      CWPlot2DToolWndw::OnCommand(id);
      // The measurement texts and blocks follow the new scale; the
      // horizontal range follows the spectrum again.
      if (measuring) {
        DrawPlot();
      }
      return;
    default:
      CWPlot2DToolWndw::OnCommand(id);
  }
}

std::vector<lv::MenuItem> CWPlotSAWndw::BuildPopupMenu() {
  std::vector<lv::MenuItem> items = CWPlot2DToolWndw::BuildPopupMenu();
  items.push_back(lv::MenuItem::Separator());
  items.push_back(lv::MenuItem::Command(kCmdSpectrumDialog, L"Spectrum Settings..."));
  items.push_back(lv::MenuItem::Separator());
  items.push_back(lv::MenuItem::Command(kCmdACPRDialog, L"ACPR Measurement..."));
  items.push_back(lv::MenuItem::Command(kCmdPiBDialog, L"Power in a Band Measurement..."));
  items.push_back(lv::MenuItem::Command(kCmdResetAveraging, L"Reset Measurement Averaging"));
  return items;
}
