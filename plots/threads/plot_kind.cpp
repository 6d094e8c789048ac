#include "plots/threads/plot_kind.h"

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
