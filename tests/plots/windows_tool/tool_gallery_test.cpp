// Pictures of the plot tool window for a person to look at: a time-domain
// kind and a spectrum kind, each with toolbar, marker and a memory trace.
#include "tool_fixture.h"

namespace {

using namespace tool_test;
using W = CWPlot2DToolWndw;

TEST_F(ToolWindowTest, GalleryTimeDomainAndSpectrumWindows) {
  const std::string folder = lv_test::GalleryFolder("plots_windows");
  struct Shot {
    int32_t kind;
    double memoryShift;
    double markerX;
    const char* file;
  };
  const Shot shots[] = {{0, 1.2, 2.3e-6, "tool_window_time_domain.png"},
                        {3, -12.0, 2.5e6, "tool_window_spectrum.png"}};
  for (const Shot& s : shots) {
    Make(s.kind, lv::Rect{10, 10, 760, 480});
    // Memory 1 holds the waveform shifted; dataset 1 the waveform itself.
    FillWaveform(s.kind, s.memoryShift);
    Command(W::kCmdSaveMemory1);
    FillWaveform(s.kind, 0.0);
    window_->markerOn = true;
    window_->markerX = s.markerX;
    window_->markerValue = s.kind == 0 ? 0.8 * std::sin(2.0 * M_PI * 1e6 * s.markerX) : -10.0;
    Command(s.kind == 0 ? W::kCmdBothZoom : W::kCmdPlaceMarker);
    window_->Redraw();
    Pump();
    ASSERT_TRUE(hooks::RepaintNow(Id()));
    EXPECT_TRUE(hooks::SaveWindowPng(frame_->Id(), folder + "/" + s.file));
    window_.reset();
    Pump();
  }
}

}  // namespace
