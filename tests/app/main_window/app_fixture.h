// A fixture that runs the real program object on the offscreen platform in
// a private settings folder and working folder, with fake plot threads in
// the plot-thread places (or none), small pauses, and the errors the error
// dialog is asked to show recorded.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/sorvek_app.h"
#include "core/arrays/complex.h"
#include "fake_plot_thread.h"
#include "support/errors.h"

namespace lv_test {

// Serves the GUI thread's events until the condition holds (false after
// limitMs).
bool ServeUntil(const std::function<bool()>& condition, int limitMs = 10000);

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the application object (fake plot threads unless withPlots is
  // false; startDelayMs(kind, xmtr) delays each one's start), runs
  // InitInstance and serves until the start-up handshake has ended.
  void StartApp(bool withPlots = true, std::function<int(CWPlotKind, int)> startDelayMs = {});
  // The same with the program's own plot threads (real plot windows).
  void StartProgramApp();
  // The small pauses the fixture's application runs with.
  static CWSorvekTimings Timings() { return CWSorvekTimings{2, 2, 20, 10000, 10, 20}; }
  // Serves until no settings chain runs.
  bool WaitChainEnd(int limitMs = 10000);
  // Sends a menu or toolbar command through the window layer, as a click.
  bool Command(uint32_t id);

  CWSorvekMainWndw& Main() { return *app_->MainWindow(); }
  FakePlotThread* Plot(CWPlotKind kind, int xmtrIndex) {
    return static_cast<FakePlotThread*>(app_->Threads().Plot(kind, xmtrIndex));
  }
  std::filesystem::path StartupFile() const;
  // Writes an IQ file of the waveform at the sample rate (centre 2.4 GHz)
  // into the test's folder; its full path.
  std::wstring WriteIqbin(const char* name, const std::vector<CQComplex>& w, double sampleRate = 2e6);
  // The user's choices of a two-transmitter session: files f0 and f1 for
  // transmitters 1 and 2, an AD9361-family board at boardAddress (network),
  // 2 Msps, transmitters 1 and 2 on.
  void ChooseTwoTransmitters(const std::wstring& f0, const std::wstring& f1, const std::string& boardAddress);

 private:
  void StartWith(CWSorvekApp::Options options);

 protected:

  std::filesystem::path root_;     // removed at the end
  std::filesystem::path work_;     // the current directory while the test runs
  std::filesystem::path config_;   // XDG_CONFIG_HOME
  std::filesystem::path previousDir_;
  EventLog log_;
  // The sizes of the icon each plot thread was made with, in creation order.
  std::vector<std::vector<int32_t>> plotIconSizes_;
  std::unique_ptr<ShownErrors> shown_;
  std::unique_ptr<CWSorvekApp> app_;
};

}  // namespace lv_test
