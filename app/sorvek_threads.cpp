#include "app/sorvek_threads.h"

#include "platform/gui/window_icon.h"
#include "plots/threads/plot_threads.h"

namespace {
// The plot windows take one picture of the icon: the size of a caption.
constexpr int32_t kPlotIconSize = 16;
}  // namespace

CWPlotThreadFactory DefaultPlotThreadFactory() { return ProgramPlotThreadFactory(); }

CWPlotThreadFactory ProgramPlotThreadFactory() {
  return [](CWPlotKind kind, int xmtrNumber, const std::wstring& title, const lv::FrameWindow& parent,
            const lv::WindowIcon& icon) {
    std::unique_ptr<CWUIThread> thread = MakePlotThread(kind, xmtrNumber, title, parent);
    if (auto* plot = dynamic_cast<CWUIPlotThread*>(thread.get()); plot != nullptr && !icon.IsNull()) {
      plot->SetIcon(icon.ImageOver(kPlotIconSize));
    }
    return thread;
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
