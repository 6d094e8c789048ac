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
// ProgramPlotThreadFactory makes the plot threads of plots/threads; a
// factory may leave places empty (tests do): every step that
// addresses plot threads skips an empty place, and the start-up handshake
// waits only for the workers started. The kinds, titles, settings prefixes
// and request ids come from plots/threads/plot_kind.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plots/threads/plot_kind.h"
#include "workers/ui_thread.h"

namespace lv {
class FrameWindow;
class WindowIcon;
}

using CWPlotThreadFactory = std::function<std::unique_ptr<CWUIThread>(
    CWPlotKind kind, int xmtrNumber, const std::wstring& title, const lv::FrameWindow& parent,
    const lv::WindowIcon& icon)>;

// The factory the application uses unless told otherwise: the program's plot
// threads (ProgramPlotThreadFactory).
CWPlotThreadFactory DefaultPlotThreadFactory();
// The plot threads of plots/threads, each given the icon.
CWPlotThreadFactory ProgramPlotThreadFactory();

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
