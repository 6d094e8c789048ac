// A plot tool window on the offscreen platform, owned by the test's thread
// (which is also the GUI thread), with a dataset of a known waveform.
#pragma once

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "plots/windows/tool_window.h"
#include "support/gui_app.h"

namespace tool_test {

namespace hooks = lv::test_hooks;

// Serves the GUI and hands the owner's window messages to the window.
inline void Pump(int rounds = 10) {
  for (int i = 0; i < rounds; ++i) {
    lv::ServeGuiEvents(2);
    lv::DispatchWindowMessages();
  }
}

inline bool PumpUntil(const std::function<bool()>& condition, int limitMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    Pump(1);
  }
  return true;
}

// Kind 0 (time domain: a 1 MHz sine of amplitude 0.8 over 10 µs, x type 0,
// y type 6) or kind 3 (spectrum: a peak at 2.5 MHz over ±10 MHz in dBm,
// x type 2, y type 13).
class ToolWindowTest : public ::testing::Test {
 protected:
  static constexpr int kPoints = 1001;

  void SetUp() override {
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
    frame_ = std::make_unique<lv::FrameWindow>(L"Plots", lv::Rect{0, 0, 1000, 760});
    frame_->Show(true);
  }
  void TearDown() override {
    hooks::ClearAnswers();
    hooks::SetModalShownObserver(nullptr);
    window_.reset();
    frame_.reset();
    Pump(3);
    if (lv::IsGuiRuntimeStarted()) {
      lv::ShutDownGuiRuntime();
    }
  }

  // Creates the window of the kind, shown, with its waveform drawn.
  void Make(int32_t kind, lv::Rect rect = lv::Rect{10, 10, 710, 470}) {
    window_ = std::make_unique<CWPlot2DToolWndw>(kind);
    ASSERT_TRUE(window_->CreateToolWindow(kind == 0 ? L"Time Domain" : L"Spectrum", rect, *frame_));
    FillWaveform(kind, 0.0);
    window_->Window()->Show(true);
    ASSERT_TRUE(PumpUntil([&] { return hooks::IsShown(window_->Window()->Id()); }));
    Pump();
    window_->Redraw();
  }

  // The waveform, shifted in phase (time) or level (spectrum) by shift.
  void FillWaveform(int32_t kind, double shift) {
    std::vector<float> x(kPoints), y(kPoints);
    for (int i = 0; i < kPoints; ++i) {
      if (kind == 0) {
        x[i] = static_cast<float>(i * 1e-8);
        y[i] = static_cast<float>(0.8 * std::sin(2.0 * M_PI * 1e6 * i * 1e-8 + shift));
      } else {
        const double f = -10e6 + 20e6 * i / (kPoints - 1);
        x[i] = static_cast<float>(f);
        const double d = (f - 2.5e6) / 2e5;
        y[i] = static_cast<float>(-80.0 + 70.0 * std::exp(-d * d) + shift);
      }
    }
    window_->xAxisType = kind == 0 ? 0 : 2;
    window_->yAxisType = kind == 0 ? 6 : 13;
    window_->SetDatasetData(x.data(), y.data(), kPoints, 1);
    window_->hasData = true;
  }

  uint32_t Id() const { return window_->Window()->Id(); }
  // A client point at a fraction of the plot area.
  lv::Point PlotPoint(double fx, double fy) const {
    const lv::Rect& a = window_->plotArea;
    return lv::Point{window_->ToolbarWidth() + a.left + static_cast<int32_t>(fx * (a.Width() - 1)),
                     a.top + static_cast<int32_t>(fy * (a.Height() - 1))};
  }
  // A real mouse event, then the window handles what came.
  void Mouse(hooks::MouseAction action, lv::Point p, int button, uint32_t buttons) {
    ASSERT_TRUE(hooks::SendMouse(Id(), action, p, button, buttons, 0)) << p.x << "," << p.y;
    Pump();
  }
  void Click(lv::Point p) {
    Mouse(hooks::MouseAction::kPress, p, 1, 1);
    Mouse(hooks::MouseAction::kRelease, p, 1, 0);
  }
  void Drag(lv::Point from, lv::Point to) {
    Mouse(hooks::MouseAction::kPress, from, 1, 1);
    Mouse(hooks::MouseAction::kMove, to, 0, 1);
    Mouse(hooks::MouseAction::kRelease, to, 1, 0);
  }
  void Command(uint32_t id) {
    window_->OnCommand(id);
    Pump();
  }

  std::unique_ptr<lv::FrameWindow> frame_;
  std::unique_ptr<CWPlot2DToolWndw> window_;
};

}  // namespace tool_test
