#include "app/sorvek_threads.h"

#include "platform/text.h"

std::wstring PlotThreadTitle(CWPlotKind kind, int xmtrNumber) {
  switch (kind) {
    case CWPlotKind::kTimeDomain:
      return lv::FormatCW(L"Time Domain %d", xmtrNumber);
    case CWPlotKind::kPersistence:
      return lv::FormatCW(L"Persistence Spectrum %d", xmtrNumber);
    case CWPlotKind::kSpectrogram:
      return lv::FormatCW(L"Spectrogram %d", xmtrNumber);
    case CWPlotKind::kSpectrum:
      return lv::FormatCW(L"Spectrum %d", xmtrNumber);
  }
  return L"";
}

std::wstring PlotSettingsPrefix(CWPlotKind kind, int xmtrNumber) {
  switch (kind) {
    case CWPlotKind::kTimeDomain:
      return lv::FormatCW(L"PlotTD%d:", xmtrNumber);
    case CWPlotKind::kPersistence:
      return lv::FormatCW(L"PlotPersSpec%d:", xmtrNumber);
    case CWPlotKind::kSpectrogram:
      return lv::FormatCW(L"PlotSpgm%d:", xmtrNumber);
    case CWPlotKind::kSpectrum:
      return lv::FormatCW(L"PlotSpectrum%d:", xmtrNumber);
  }
  return L"";
}

CWPlotThreadFactory DefaultPlotThreadFactory() {
  // The plot threads come with the plot windows; until then every place of
  // the tables stays empty.
  return [](CWPlotKind, int, const std::wstring&, const lv::FrameWindow&, const lv::WindowIcon&) {
    return std::unique_ptr<CWUIThread>();
  };
}

CWUIThread* CWSorvekThreads::Plot(CWPlotKind kind, int xmtrIndex) const {
  if (xmtrIndex < 0 || xmtrIndex >= 4) return nullptr;
  return plots[static_cast<size_t>(kind)][static_cast<size_t>(xmtrIndex)].get();
}

std::vector<CWUIThread*> CWSorvekThreads::InStartOrder() const {
  std::vector<CWUIThread*> order;
  for (CWUIThread* t : {dataManager.get(), instrumentManager.get(), engine.get()}) {
    if (t != nullptr) order.push_back(t);
  }
  for (int i = 0; i < 4; ++i) {
    for (CWPlotKind kind :
         {CWPlotKind::kTimeDomain, CWPlotKind::kPersistence, CWPlotKind::kSpectrogram, CWPlotKind::kSpectrum}) {
      if (CWUIThread* t = Plot(kind, i)) order.push_back(t);
    }
  }
  return order;
}
