#include "plots/windows/time_domain_model.h"

#include <memory>

#include "core/arrays/farray.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "plots/plot2d.h"
#include "plots/windows/iq_save.h"

std::wstring CWTimeDomainModel::PlotTypeText(int32_t type, bool iqNaming) {
  switch (type) {
    case 0: return L"Log Mag vs Time";
    case 1: return L"Phase vs Time";
    case 2: return L"Unwrapped Phase vs Time";
    case 3: return L"Deriv Unwrapped Phase vs Time";
    case 4: return iqNaming ? L"Q vs I" : L"Imaginary vs Real";
    case 5: return iqNaming ? L"I && Q vs Time" : L"Real && Imaginary vs Time";
    default: return std::wstring();
  }
}

void CWTimeDomainModel::SetData(const CQCArrayTD* input) {
  input_.reset();
  inputCount = 0;
  if (input != nullptr && input->GetDataPtr() != nullptr && input->GetNumPoints() > 0) {
    input_.reset(input->MakeCopy());
    inputCount = 1;
  }
}

bool CWTimeDomainModel::BuildDatasets(CWPlot2D& plot) {
  if (!HasInput()) {
    return false;
  }
  if (plotType < 0 || plotType >= kNumPlotTypes) {
    return false;
  }
  const CQCArrayTD& in = *input_;
  const int32_t n = in.GetNumPoints();
  // The plot makes its axis titles again from the axis types.
  for (int32_t d = 1; d <= CWPlot2D::kMaxDatasets; ++d) {
    plot.SetDatasetLabel(L"", d);
  }
  plot.legendOn = false;
  plot.SetNumDatasets(plotType == 5 ? 2 * inputCount : inputCount);

  int32_t xType = 0;
  int32_t yType = 13;
  if (plotType == 4) {
    std::unique_ptr<CQFArrayTD> re(in.MakeCopyOfReal());
    std::unique_ptr<CQFArrayTD> im(in.MakeCopyOfImag());
    plot.SetDatasetData(re->GetDataPtr(), im->GetDataPtr(), n, 1);
    xType = iqNaming ? 6 : 8;
    yType = iqNaming ? 7 : 9;
  } else {
    std::unique_ptr<CQDArray> times(in.MakeCopyOfTime());
    if (plotType == 5) {
      std::unique_ptr<CQFArrayTD> re(in.MakeCopyOfReal());
      std::unique_ptr<CQFArrayTD> im(in.MakeCopyOfImag());
      plot.SetDatasetData(times->GetDataPtr(), re->GetDataPtr(), n, 1);
      plot.SetDatasetData(times->GetDataPtr(), im->GetDataPtr(), n, 2);
      plot.SetDatasetLabel(iqNaming ? L"I" : L"Real", 1);
      plot.SetDatasetLabel(iqNaming ? L"Q" : L"Imaginary", 2);
      plot.legendOn = true;
      yType = 10;
    } else {
      std::unique_ptr<CQFArray> values;
      switch (plotType) {
        case 0: values.reset(in.MakeCopyOfMagdBm()); yType = 13; break;
        case 1: values.reset(in.MakeCopyOfPhaseDeg()); yType = 14; break;
        case 2: values.reset(in.MakeCopyOfUnwrappedPhaseDeg()); yType = 14; break;
        default: values.reset(in.MakeCopyOfDerivUWPhaseDeg()); yType = 2; break;
      }
      plot.SetDatasetData(times->GetDataPtr(), values->GetDataPtr(), n, 1);
    }
  }
  timeOrigin = in.GetTimeOrigin();
  sampleInterval = in.GetSampleRate() > 0.0 ? 1.0 / in.GetSampleRate() : 0.0;
  plot.xLog = false;
  plot.yLog = false;
  plot.xAxisType = xType;
  plot.yAxisType = yType;
  return true;
}

void CWTimeDomainModel::ReadMarkerValues(const CWPlot2D& plot, CWSampleMarker& marker, int64_t k) const {
  const int32_t i = static_cast<int32_t>(k);
  marker.x = timeOrigin + static_cast<double>(k) * sampleInterval;
  if (plotType >= 0 && plotType <= 3) {
    marker.twoValues = false;
    marker.value = plot.DatasetY(1, i);
  } else if (plotType == 5 && plot.GetPointCount(2) > i) {
    marker.twoValues = true;
    marker.first = static_cast<float>(plot.DatasetY(1, i));
    marker.second = static_cast<float>(plot.DatasetY(2, i));
    marker.value = marker.first;
  }
}

void CWTimeDomainModel::SnapMarker(const CWPlot2D& plot, CWSampleMarker& marker) const {
  if (!marker.on) {
    return;
  }
  const int32_t count = plot.GetPointCount(1);
  if (plotType == 4 || !(sampleInterval > 0.0) || count <= 0) {
    marker.on = false;
    return;
  }
  const int64_t k = NearestGridIndex(marker.x, timeOrigin, sampleInterval);
  if (k < 0 || k >= count) {
    marker.on = false;
    return;
  }
  ReadMarkerValues(plot, marker, k);
}

bool CWTimeDomainModel::StepMarker(const CWPlot2D& plot, CWSampleMarker& marker, int32_t step) const {
  const int32_t count = plot.GetPointCount(1);
  if (!(sampleInterval > 0.0) || count <= 0) {
    return false;
  }
  const int64_t k = SteppedGridIndex(marker.x, timeOrigin, sampleInterval, step, count);
  if (plotType == 4) {
    marker.x = timeOrigin + static_cast<double>(k) * sampleInterval;  // the position only
  } else {
    ReadMarkerValues(plot, marker, k);
  }
  return true;
}

bool CWTimeDomainModel::SaveMemory1(CWPlot2D& plot) const {
  if (plotType == 5) {
    plot.SaveDatasetToMemory(1, 1);
    plot.SaveDatasetToMemory(2, 2);
    plot.memoryShown[0] = true;
    plot.memoryShown[1] = true;
    return true;
  }
  if (plotType >= 0 && plotType <= 4) {
    plot.SaveDatasetToMemory(1, 1);
    plot.memoryShown[0] = true;
    return true;
  }
  return false;
}

bool CWTimeDomainModel::SaveMemory2(CWPlot2D& plot) const {
  if (plotType >= 0 && plotType <= 4) {
    plot.SaveDatasetToMemory(1, 2);
    plot.memoryShown[1] = true;
    return true;
  }
  return false;
}

void CWTimeDomainModel::SaveIQDataToFile(const wchar_t* path, bool plotHasData) const {
  lv::Named("CWPlotCTDWndw::SaveIQDataToFile", [&] {
    SaveIQData(plotHasData && HasInput() ? input_.get() : nullptr, path);
  });
}
