// The program with its own plot threads (real plot windows) against the fake
// AD9361 board: the sixteen windows made hidden with their titles; the active
// plots dialog shows all of them and arranges them in four columns of four;
// Start plays two transmitters' waveforms to the board byte for byte, and
// the time-domain and spectrum windows of transmitters 1 and 2 draw them
// while transmitter 3's stay as they were; Save, Recall and Save again give
// the same file, plot keys included; Stop lets the board go; Exit ends every
// worker within the shut-down's pauses plus one join limit.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_dialogs.h"
#include "app/main_window.h"
#include "app/sorvek_app.h"
#include "app_fixture.h"
#include "fakes/fake_iiod.h"
#include "iqfiles/manager/data_manager_thread.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/text.h"
#include "support/gui_app.h"
#include "xcvr/instr_settings.h"
#include "xcvr/instr_thread.h"

namespace {

namespace hooks = lv::test_hooks;
using lv_test::AppFixture;
using lv_test::ServeUntil;
using Clock = std::chrono::steady_clock;

constexpr CWPlotKind kKinds[] = {CWPlotKind::kTimeDomain, CWPlotKind::kSpectrum, CWPlotKind::kPersistence,
                                 CWPlotKind::kSpectrogram};  // top to bottom in a column

std::pair<int, int> Key(CWPlotKind kind, int xmtrIndex) { return {static_cast<int>(kind), xmtrIndex}; }

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ProgramPlotsTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    std::ofstream(work_ / "Baseband" / "AD9361_2Msps.ftr") << "RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n";
    fake_ = std::make_unique<lv_fake::FakeIiod>(lv_fake::ReadBoardFixture("ad9361"));
    fake_->Start();
  }
  // The window of a plot thread, once the GUI has made it.
  uint32_t PlotWindow(CWPlotKind kind, int xmtrNumber) {
    uint32_t id = 0;
    ServeUntil([&] { return (id = hooks::FindWindowByTitle(PlotThreadTitle(kind, xmtrNumber))) != 0; });
    return id;
  }
  lv::Bitmap Picture(uint32_t window, const std::string& name) {
    const std::string path = (root_ / (name + ".png")).string();
    hooks::RepaintNow(window);
    if (!hooks::SaveWindowPng(window, path)) return lv::Bitmap();
    return lv::Bitmap::Load(path);
  }
  std::unique_ptr<lv_fake::FakeIiod> fake_;
};

TEST_F(ProgramPlotsTest, SixteenWindowsArrangedShowTheWaveformsAndEveryKeyRoundTrips) {
  std::vector<CQComplex> w0(2000);
  std::vector<CQComplex> w1(2000);
  for (int i = 0; i < 2000; ++i) {
    const double t = static_cast<double>(i);
    w0[static_cast<size_t>(i)] = CQComplex(static_cast<float>(0.5 * std::cos(0.05 * t)),
                                           static_cast<float>(0.5 * std::sin(0.05 * t)));
    w1[static_cast<size_t>(i)] = CQComplex(static_cast<float>(0.25 * std::cos(0.3 * t)), -0.125f);
  }
  const std::wstring f0 = WriteIqbin("first.iqbin", w0);
  const std::wstring f1 = WriteIqbin("second.iqbin", w1);

  StartProgramApp();
  if (app_->Threads().Plot(CWPlotKind::kTimeDomain, 0) == nullptr) {
    GTEST_SKIP() << "the program makes no plot threads";
  }
  ASSERT_EQ(app_->Threads().InStartOrder().size(), 19u);
  const uint32_t mainId = Main().WindowId();
  std::map<std::pair<int, int>, uint32_t> windows;  // (kind, transmitter index)
  for (int x = 0; x < 4; ++x) {
    for (CWPlotKind kind : kKinds) {
      const uint32_t id = PlotWindow(kind, x + 1);
      ASSERT_NE(id, 0u) << lv::WideToUtf8(PlotThreadTitle(kind, x + 1));
      EXPECT_FALSE(hooks::IsShown(id));
      windows[Key(kind, x)] = id;
    }
  }
  auto win = [&](CWPlotKind kind, int x) { return windows.at(Key(kind, x)); };

  ChooseTwoTransmitters(f0, f1, fake_->Address());

  // The active plots dialog: four transmitters, every kind, arranged.
  ASSERT_TRUE(Command(kCmdActiveWindows));
  CWSorvekActivePlotsDlg& dlg = *Main().ActivePlotsDialog();
  ASSERT_TRUE(ServeUntil([&] { return dlg.IsVisible(); }));
  for (int box : {kIdcActivePlotsShowIq, kIdcActivePlotsShowSpectrum, kIdcActivePlotsShowPersistence,
                  kIdcActivePlotsShowSpectrogram}) {
    EXPECT_EQ(dlg.GetCheck(box), lv::kUnchecked) << box;  // nothing shown yet
    dlg.SetCheck(box, lv::kChecked);
  }
  dlg.SetCurSel(kIdcActivePlotsNumber, 3);
  ASSERT_TRUE(lv::ClickControl(dlg, kIdcActivePlotsApply));
  ASSERT_TRUE(ServeUntil([&] {
    return std::all_of(windows.begin(), windows.end(), [](const auto& w) { return hooks::IsShown(w.second); });
  }));
  // Arranged: column per transmitter, rows time domain, spectrum,
  // persistence spectrum, spectrogram, none overlapping.
  const CWRect area = Main().PlotArea();
  const int colW = (area.right - area.left) / 4;
  const int rowH = (area.bottom - area.top) / 4;
  auto arranged = [&] {
    const lv::Rect first = hooks::WidgetGeometry(win(kKinds[0], 0));
    for (int x = 0; x < 4; ++x) {
      for (int r = 0; r < 4; ++r) {
        const lv::Rect g = hooks::WidgetGeometry(win(kKinds[r], x));
        if (g.Width() != colW - 2 || g.Height() != rowH - 2 || g.left - first.left != x * colW ||
            g.top - first.top != r * rowH) {
          return false;
        }
      }
    }
    return true;
  };
  ASSERT_TRUE(ServeUntil(arranged, 15000)) << "time domain 1 at " << hooks::WidgetGeometry(win(kKinds[0], 0)).left
                                           << "," << hooks::WidgetGeometry(win(kKinds[0], 0)).top;
  // Opened again, the dialog finds every kind shown.
  ASSERT_TRUE(Command(kCmdActiveWindows));
  ASSERT_TRUE(ServeUntil([&] { return dlg.IsVisible(); }));
  for (int box : {kIdcActivePlotsShowIq, kIdcActivePlotsShowSpectrum, kIdcActivePlotsShowPersistence,
                  kIdcActivePlotsShowSpectrogram}) {
    EXPECT_EQ(dlg.GetCheck(box), lv::kChecked) << box;
  }
  ASSERT_TRUE(lv::ClickControl(dlg, kIdcActivePlotsClose));
  ASSERT_TRUE(ServeUntil([&] { return !dlg.IsVisible(); }));
  lv::ServeGuiEvents(100);

  // Pictures before Start: transmitters 1 and 2 (they will play) and 3 (it
  // will not).
  std::map<std::pair<int, int>, lv::Bitmap> before;
  for (int x : {0, 1, 2}) {
    for (CWPlotKind kind : {CWPlotKind::kTimeDomain, CWPlotKind::kSpectrum}) {
      before[Key(kind, x)] = Picture(win(kind, x), "before");
      ASSERT_FALSE(before[Key(kind, x)].IsNull());
    }
  }

  // Start: the board gets both transmitters' samples, byte for byte.
  ASSERT_TRUE(Command(kCmdStart));
  ASSERT_TRUE(ServeUntil([&] { return fake_->Pushes("cf-ad9361-dds-core-lpc").size() == 1; }, 20000))
      << ::testing::PrintToString(fake_->EventStrings());
  const auto pushes = fake_->Pushes("cf-ad9361-dds-core-lpc");
  ASSERT_EQ(pushes[0].size(), 2000u * 4 * 2);
  std::vector<int16_t> v(pushes[0].size() / 2);
  std::memcpy(v.data(), pushes[0].data(), pushes[0].size());
  // Each transmitter scaled by its own largest component, the default 2 dB
  // backoff, truncated.
  auto peakOf = [](const std::vector<CQComplex>& w) {
    float p = 0;
    for (const CQComplex& c : w) p = std::max({p, std::fabs(c.re), std::fabs(c.im)});
    return p;
  };
  const float peak0 = peakOf(w0);
  const float peak1 = peakOf(w1);
  const float g = 32767.0f * static_cast<float>(std::pow(10.0, -2.0 / 20));
  auto scaled = [&](float x, float peak) { return static_cast<int16_t>(std::trunc(g * (x / peak))); };
  for (size_t k = 0; k < 2000; ++k) {
    ASSERT_EQ(v[4 * k + 0], scaled(w0[k].re, peak0)) << k;
    ASSERT_EQ(v[4 * k + 1], scaled(w0[k].im, peak0)) << k;
    ASSERT_EQ(v[4 * k + 2], scaled(w1[k].re, peak1)) << k;
    ASSERT_EQ(v[4 * k + 3], scaled(w1[k].im, peak1)) << k;
  }
  // The time-domain and spectrum windows of transmitters 1 and 2 draw their
  // waveform; those of transmitter 3, which plays nothing, stay as they were.
  for (int x : {0, 1}) {
    for (CWPlotKind kind : {CWPlotKind::kTimeDomain, CWPlotKind::kSpectrum}) {
      const lv::Bitmap& was = before[Key(kind, x)];
      EXPECT_TRUE(ServeUntil([&] { return !Picture(win(kind, x), "after").SamePixels(was); }, 15000))
          << lv::WideToUtf8(PlotThreadTitle(kind, x + 1));
    }
  }
  lv::ServeGuiEvents(200);
  for (CWPlotKind kind : {CWPlotKind::kTimeDomain, CWPlotKind::kSpectrum}) {
    EXPECT_TRUE(Picture(win(kind, 2), "idle").SamePixels(before[Key(kind, 2)]))
        << lv::WideToUtf8(PlotThreadTitle(kind, 3));
  }
  ASSERT_TRUE(ServeUntil([&] {
    const auto panes = hooks::StatusPaneTexts(mainId);
    return panes.size() == 5 && panes[1] == L"LAN:" + lv::Utf8ToWide(fake_->Address());
  }));
  for (const auto& w : windows) hooks::RepaintNow(w.second);
  lv::ServeGuiEvents(100);
  EXPECT_TRUE(hooks::SaveWindowPng(mainId, lv_test::GalleryFolder("app") + "/main_window_sixteen_plots.png"));

  // Save, Recall, Save: the same file, the plot windows' keys included.
  hooks::PushFileAnswer(lv::Utf8ToWide((root_ / "first.config").string()));
  ASSERT_TRUE(Command(kCmdSaveSettings));
  ASSERT_TRUE(ServeUntil([&] { return std::filesystem::exists(root_ / "first.config"); }, 20000));
  ASSERT_TRUE(WaitChainEnd(20000));
  const std::string saved = ReadFile(root_ / "first.config");
  for (int x = 1; x <= 4; ++x) {
    for (CWPlotKind kind : kKinds) {
      const std::string prefix = lv::WideToUtf8(PlotSettingsPrefix(kind, x));
      EXPECT_NE(saved.find("\r\n" + prefix), std::string::npos) << prefix;
    }
  }
  hooks::PushFileAnswer(lv::Utf8ToWide((root_ / "first.config").string()));
  ASSERT_TRUE(Command(kCmdRecallSettings));
  ASSERT_TRUE(ServeUntil([] { return hooks::PendingAnswers() == 0; }));
  lv::ServeGuiEvents(100);  // the recall's begin message
  ASSERT_TRUE(WaitChainEnd(20000));
  ASSERT_TRUE(shown_->Messages().empty()) << shown_->Messages()[0];
  hooks::PushFileAnswer(lv::Utf8ToWide((root_ / "second.config").string()));
  ASSERT_TRUE(Command(kCmdSaveSettings));
  ASSERT_TRUE(ServeUntil([&] { return std::filesystem::exists(root_ / "second.config"); }, 20000));
  ASSERT_TRUE(WaitChainEnd(20000));
  EXPECT_EQ(ReadFile(root_ / "second.config"), saved);

  // Stop lets the board go.
  ASSERT_TRUE(Command(kCmdStop));
  ASSERT_TRUE(ServeUntil([&] { return fake_->WaitForEvent("EXIT", 0); }, 10000));

  // Exit ends every worker within the pauses plus one join limit.
  const auto exitStart = Clock::now();
  ASSERT_TRUE(Command(kCmdExit));
  ASSERT_TRUE(ServeUntil([&] { return app_->HasShutDown(); }, 30000));
  const CWSorvekTimings t = Timings();
  EXPECT_LT(Clock::now() - exitStart, std::chrono::milliseconds(19 * t.quitPauseMs + t.finalPauseMs + t.joinLimitMs));
  EXPECT_EQ(app_->UnjoinedWorkers(), 0);
  EXPECT_TRUE(shown_->Messages().empty()) << shown_->Messages()[0];
}

}  // namespace
