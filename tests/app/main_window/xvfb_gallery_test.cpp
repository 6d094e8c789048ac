// The main window under a real X server (Xvfb, run by xvfb-run): the same
// program object as the offscreen tests, on the xcb platform, saved into the
// gallery for a person to compare with the offscreen pictures: at start-up,
// and with the program's sixteen plot windows shown and arranged after Start
// against the fake board.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_dialogs.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "fakes/fake_iiod.h"
#include "iqfiles/manager/data_manager_thread.h"
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

TEST_F(AppFixture, MainWindowUnderXvfb) {
  StartApp();
  const uint32_t id = Main().WindowId();
  ASSERT_TRUE(ServeUntil([&] { return hooks::IsShown(id); }));
  lv::ServeGuiEvents(300);
  EXPECT_EQ(hooks::WindowTitle(id), L"Lumvard Sorvek");
  EXPECT_TRUE(hooks::SaveWindowPng(id, lv_test::GalleryFolder("app") + "/main_window_xvfb.png"));
  ASSERT_TRUE(Command(kCmdExit));
  ASSERT_TRUE(ServeUntil([&] { return app_->HasShutDown(); }));
}

TEST_F(AppFixture, SixteenPlotWindowsArrangedAfterStartUnderXvfb) {
  std::ofstream(work_ / "Baseband" / "AD9361_2Msps.ftr") << "RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n";
  lv_fake::FakeIiod fake(lv_fake::ReadBoardFixture("ad9361"));
  fake.Start();
  std::vector<CQComplex> w0(2000);
  std::vector<CQComplex> w1(2000);
  for (int i = 0; i < 2000; ++i) {
    w0[static_cast<size_t>(i)] = CQComplex(0.5f * std::cos(0.05f * static_cast<float>(i)),
                                           0.5f * std::sin(0.05f * static_cast<float>(i)));
    w1[static_cast<size_t>(i)] = CQComplex(0.25f * std::cos(0.3f * static_cast<float>(i)), -0.125f);
  }
  const std::wstring f0 = WriteIqbin("first.iqbin", w0);
  const std::wstring f1 = WriteIqbin("second.iqbin", w1);

  StartProgramApp();
  if (app_->Threads().Plot(CWPlotKind::kTimeDomain, 0) == nullptr) {
    GTEST_SKIP() << "the program makes no plot threads";
  }
  const uint32_t id = Main().WindowId();
  CWSorvekThreads& t = app_->Threads();
  t.dataManager->SetParam(f0.c_str(), CWMultiDataMgrThread::kParamFileName, 0);
  t.dataManager->SetParam(f1.c_str(), CWMultiDataMgrThread::kParamFileName, 1);
  CQInstrIIOMultiXcvrSettings s(4, 4);
  s.SetAllFlags(true);
  s.model = kModelFmcomms3;
  s.rateIndex = 1;
  s.connectionType = kConnectionLan;
  s.SetIPAddress(lv::Utf8ToWide(fake.Address()).c_str());
  s.xmtrCenterFreq = 2.4e9;
  s.rcvrCenterFreq = 1e9;
  s.Xmtr(0).on = true;
  s.Xmtr(1).on = true;
  t.instrumentManager->SetParam(static_cast<void*>(&s), kInstrSetSettings);

  ASSERT_TRUE(Command(kCmdActiveWindows));
  CWSorvekActivePlotsDlg& dlg = *Main().ActivePlotsDialog();
  ASSERT_TRUE(ServeUntil([&] { return dlg.IsVisible(); }));
  for (int box : {kIdcActivePlotsShowIq, kIdcActivePlotsShowSpectrum, kIdcActivePlotsShowPersistence,
                  kIdcActivePlotsShowSpectrogram}) {
    dlg.SetCheck(box, lv::kChecked);
  }
  dlg.SetCurSel(kIdcActivePlotsNumber, 3);
  ASSERT_TRUE(lv::ClickControl(dlg, kIdcActivePlotsApply));
  std::vector<uint32_t> plots;
  for (int x = 1; x <= 4; ++x) {
    for (CWPlotKind kind :
         {CWPlotKind::kTimeDomain, CWPlotKind::kSpectrum, CWPlotKind::kPersistence, CWPlotKind::kSpectrogram}) {
      uint32_t w = 0;
      ASSERT_TRUE(ServeUntil([&] { return (w = hooks::FindWindowByTitle(PlotThreadTitle(kind, x))) != 0; }));
      plots.push_back(w);
    }
  }
  ASSERT_TRUE(ServeUntil([&] { return std::all_of(plots.begin(), plots.end(), hooks::IsShown); }));
  ASSERT_TRUE(Command(kCmdStart));
  ASSERT_TRUE(ServeUntil([&] { return fake.Pushes("cf-ad9361-dds-core-lpc").size() == 1; }, 20000));
  lv::ServeGuiEvents(1500);  // the arrangement's delay and the plots' first drawing
  for (uint32_t w : plots) hooks::RepaintNow(w);
  lv::ServeGuiEvents(100);
  EXPECT_TRUE(hooks::SaveWindowPng(id, lv_test::GalleryFolder("app") + "/main_window_sixteen_plots_xvfb.png"));
  ASSERT_TRUE(Command(kCmdStop));
  ASSERT_TRUE(Command(kCmdExit));
  ASSERT_TRUE(ServeUntil([&] { return app_->HasShutDown(); }));
  EXPECT_EQ(app_->UnjoinedWorkers(), 0);
}

}  // namespace
