// The worker threads of the program and where the plot threads come from.
//
// CWSorvekThreads holds the nineteen workers' places: the data manager, the
// instrument manager, the engine and, per transmitter, one thread of each
// plot kind. The application object owns them; the main window reads them.
//
// The plot threads are made through one seam, CWPlotThreadFactory: given the
// kind, the transmitter number (from 1), the title ("Time Domain 1" ...), the
// main window's frame (the parent of the plot window) and the application
// icon (the plot window's large icon), it returns the
// thread object, not yet started, or null when there is no thread of that kind.
// The program's factory (DefaultPlotThreadFactory) makes none yet, so those
// places stay empty: every step that addresses plot threads skips an empty
// place, and the start-up handshake waits only for the workers started.
//
// The request ids the main window uses on the plot threads are fixed here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "workers/ui_thread.h"

namespace lv {
class FrameWindow;
class WindowIcon;
}

// The four plot kinds, in the order the application starts them for one
// transmitter.
enum class CWPlotKind : int32_t { kTimeDomain = 0, kPersistence = 1, kSpectrogram = 2, kSpectrum = 3 };
inline constexpr int kPlotKinds = 4;

// "Time Domain %d", "Persistence Spectrum %d", "Spectrogram %d", "Spectrum %d".
std::wstring PlotThreadTitle(CWPlotKind kind, int xmtrNumber);
// The settings prefix a plot thread is given: "PlotTD%d:", "PlotPersSpec%d:",
// "PlotSpgm%d:", "PlotSpectrum%d:".
std::wstring PlotSettingsPrefix(CWPlotKind kind, int xmtrNumber);

// Requests and messages of the plot threads as the main window uses them.
// The spectrum thread has its own ids; the other three kinds share theirs.
struct CWPlotIds {
  int32_t shown;       // get/set bool: the window is shown
  int32_t prefix;      // set string: the settings prefix
  int32_t arrange;     // set without wait, rectangle: move the window there
  int32_t plotArea;    // set without wait, rectangle: the main window's plot area
  int32_t toolbar;     // set bool: show the plot toolbar
};
inline constexpr CWPlotIds kPlotIdsCommon{2, 3, 4, 5, 6};
inline constexpr CWPlotIds kPlotIdsSpectrum{4, 6, 7, 8, 9};
inline constexpr const CWPlotIds& PlotIds(CWPlotKind kind) {
  return kind == CWPlotKind::kSpectrum ? kPlotIdsSpectrum : kPlotIdsCommon;
}
// Message 7 (word 1): show the window.
inline constexpr int32_t kMsgPlotShowWindow = 7;

using CWPlotThreadFactory = std::function<std::unique_ptr<CWUIThread>(
    CWPlotKind kind, int xmtrNumber, const std::wstring& title, const lv::FrameWindow& parent,
    const lv::WindowIcon& icon)>;

// The program's plot threads: none yet (every place stays empty).
CWPlotThreadFactory DefaultPlotThreadFactory();

struct CWSorvekThreads {
  std::unique_ptr<CWUIThread> dataManager;
  std::unique_ptr<CWUIThread> instrumentManager;
  std::unique_ptr<CWUIThread> engine;
  // [kind][transmitter index 0..3]
  std::array<std::array<std::unique_ptr<CWUIThread>, 4>, kPlotKinds> plots;

  CWUIThread* Plot(CWPlotKind kind, int xmtrIndex) const;
  // Every thread, in start order (empty places left out).
  std::vector<CWUIThread*> InStartOrder() const;
};
