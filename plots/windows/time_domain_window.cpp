#include "plots/windows/time_domain_window.h"

#include "core/call_stack.h"
#include "plots/windows/iq_save_dialog.h"

CWPlotCTDWndw::CWPlotCTDWndw() : CWPlot2DToolWndw(0) {}

CWPlotCTDWndw::~CWPlotCTDWndw() = default;

void CWPlotCTDWndw::SetData(const CQCArrayTD* input) {
  lv::Named("CWPlotCTDWndw::SetData", [&] { model_.SetData(input); });
}

void CWPlotCTDWndw::DrawPlot() {
  lv::Named("CWPlotCTDWndw::DrawPlot", [&] {
    if (!model_.BuildDatasets(*this)) {
      return;
    }
    SnapMarkerToData();
    Redraw();
  });
}

void CWPlotCTDWndw::ClearPlot() {
  lv::Named("CWPlotCTDWndw::ClearPlot", [&] {
    model_.FreeInput();
    ClearData();
  });
}

void CWPlotCTDWndw::SetPlotType(int32_t type) {
  if (type != model_.plotType) {
    memoryShown[0] = false;
    memoryShown[1] = false;
  }
  model_.plotType = type;
}

void CWPlotCTDWndw::SaveIQDataToFile(const wchar_t* path) { model_.SaveIQDataToFile(path, hasData); }

CWSampleMarker CWPlotCTDWndw::Marker() const {
  CWSampleMarker m;
  m.on = markerOn;
  m.twoValues = markerComplex;
  m.x = markerX;
  m.value = markerValue;
  m.first = markerReal;
  m.second = markerImag;
  return m;
}

void CWPlotCTDWndw::SetMarker(const CWSampleMarker& m) {
  markerOn = m.on;
  markerComplex = m.twoValues;
  markerX = m.x;
  markerValue = m.value;
  markerReal = m.first;
  markerImag = m.second;
}

void CWPlotCTDWndw::SnapMarkerToData() {
  CWSampleMarker m = Marker();
  model_.SnapMarker(*this, m);
  SetMarker(m);
}

void CWPlotCTDWndw::SaveMemory1() {
  Guarded("CWPlotCTDWndw::SaveMemory1", [&] {
    if (model_.SaveMemory1(*this)) {
      Redraw();
    }
  });
}

void CWPlotCTDWndw::SaveMemory2() {
  Guarded("CWPlotCTDWndw::SaveMemory2", [&] {
    if (model_.SaveMemory2(*this)) {
      Redraw();
    }
  });
}

void CWPlotCTDWndw::OnKeyDown(int32_t key) {
  const int32_t step = key == lv::kKeyLeft ? -1 : 1;
  CWSampleMarker m = Marker();
  if (model_.StepMarker(*this, m, step)) {
    SetMarker(m);
    Redraw();
  }
}

void CWPlotCTDWndw::OnWindowMessage(const lv::WindowMessage& m) {
  // With the marker on, the arrow keys step it; every other key (and every
  // key while the marker is off) takes the default way.
  if (m.kind == lv::WindowMessageKind::kKeyDown && markerOn && (m.a == lv::kKeyLeft || m.a == lv::kKeyRight)) {
    Guarded("CWPlotCTDWndw::OnKeyDown", [&] { OnKeyDown(m.a); });
    return;
  }
  CWPlot2DToolWndw::OnWindowMessage(m);
}

void CWPlotCTDWndw::OnCommand(uint32_t id) {
  if (id >= kCmdFirstPlotType && id < kCmdFirstPlotType + CWTimeDomainModel::kNumPlotTypes) {
    Guarded("CWPlotCTDWndw::OnPopupMenuPlotType", [&] {
      const int32_t type = static_cast<int32_t>(id - kCmdFirstPlotType);
      if (type == model_.plotType) {
        return;
      }
      model_.plotType = type;
      yAutoScale = true;
      memoryShown[0] = false;
      memoryShown[1] = false;
      DrawPlot();
    });
    return;
  }
  if (id == kCmdSaveIQData) {
    RunSaveIQDataCommand(model_, hasData, saveFolder);
    return;
  }
  CWPlot2DToolWndw::OnCommand(id);
}

std::vector<lv::MenuItem> CWPlotCTDWndw::BuildPopupMenu() {
  std::vector<lv::MenuItem> items = CWPlot2DToolWndw::BuildPopupMenu();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].id == kCmdSaveData) {
      items.insert(items.begin() + static_cast<std::ptrdiff_t>(i), lv::MenuItem::Command(kCmdSaveIQData, L"Save IQ Data..."));
      break;
    }
  }
  items.push_back(lv::MenuItem::Separator());
  for (int32_t type = 0; type < CWTimeDomainModel::kNumPlotTypes; ++type) {
    lv::MenuItem item = lv::MenuItem::Command(kCmdFirstPlotType + static_cast<uint32_t>(type),
                                              CWTimeDomainModel::PlotTypeText(type, model_.iqNaming));
    item.checkable = true;
    item.checked = type == model_.plotType;
    items.push_back(item);
  }
  return items;
}
