#include "app_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window_icon.h"
#include "core/arrays/carray.h"
#include "iqfiles/formats/iqbin.h"
#include "iqfiles/manager/data_manager_thread.h"
#include "platform/text.h"
#include "support/gui_app.h"
#include "workers/app_identity.h"
#include "xcvr/instr_settings.h"
#include "xcvr/instr_thread.h"

namespace lv_test {

bool ServeUntil(const std::function<bool()>& condition, int limitMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    lv::ServeGuiEvents(2);
  }
  return true;
}

void AppFixture::SetUp() {
  EnsureGuiApplication();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  root_ = std::filesystem::temp_directory_path() /
          ("lv_app_" + std::to_string(::getpid()) + "_" + info->name());
  std::filesystem::remove_all(root_);
  work_ = root_ / "work";
  config_ = root_ / "config";
  std::filesystem::create_directories(work_ / "Baseband");
  std::filesystem::create_directories(config_);
  previousDir_ = std::filesystem::current_path();
  std::filesystem::current_path(work_);
  ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  CWAppDirectories::ResetForTesting();
  shown_ = std::make_unique<ShownErrors>();
}

void AppFixture::TearDown() {
  app_.reset();
  plotIconSizes_.clear();
  lv::test_hooks::ClearAnswers();
  shown_.reset();
  std::filesystem::current_path(previousDir_);
  std::filesystem::remove_all(root_);
  CWAppDirectories::ResetForTesting();
}

void AppFixture::StartApp(bool withPlots, std::function<int(CWPlotKind, int)> startDelayMs) {
  CWSorvekApp::Options o;
  o.timings = Timings();
  o.installErrorWindow = false;
  if (withPlots) {
    o.plotThreads = [this, startDelayMs](CWPlotKind kind, int x, const std::wstring& title, const lv::FrameWindow&,
                                                const lv::WindowIcon& icon) {
      plotIconSizes_.push_back(icon.Sizes());
      const int delay = startDelayMs ? startDelayMs(kind, x) : 0;
      return std::unique_ptr<CWUIThread>(new FakePlotThread(kind, x, title, log_, delay));
    };
  }
  StartWith(std::move(o));
  // The frame reports its plot area once its menu, toolbar and status bar are
  // laid out; the plot threads are sent it then.
  ASSERT_TRUE(ServeUntil([&] {
    const uint32_t id = Main().WindowId();
    const CWRect a = Main().PlotArea();
    return lv::test_hooks::IsShown(id) && a.bottom - a.top < lv::test_hooks::WidgetGeometry(id).Height() - 40;
  }));
  if (withPlots) {
    // Each plot thread is sent the plot area when it announces itself, as a
    // request without wait that the fake records on its own thread: wait for
    // every record, so that a test clearing the records starts from quiet
    // threads.
    ASSERT_TRUE(ServeUntil([&] {
      for (CWUIThread* t : app_->Threads().InStartOrder()) {
        auto* plot = dynamic_cast<FakePlotThread*>(t);
        if (plot == nullptr) continue;
        const std::vector<std::string> r = plot->Requests();
        if (std::none_of(r.begin(), r.end(), [](const std::string& q) { return q.rfind("area ", 0) == 0; })) {
          return false;
        }
      }
      return true;
    }));
  }
}

void AppFixture::StartProgramApp() {
  CWSorvekApp::Options o;
  o.plotThreads = ProgramPlotThreadFactory();
  o.timings = Timings();
  o.installErrorWindow = false;
  StartWith(std::move(o));
}

void AppFixture::StartWith(CWSorvekApp::Options o) {
  app_ = std::make_unique<CWSorvekApp>(std::move(o));
  ASSERT_TRUE(app_->InitInstance());
  ASSERT_TRUE(ServeUntil([&] {
    return Main().AnnouncedCount() == static_cast<int>(app_->Threads().InStartOrder().size()) &&
           !Main().IsSettingsChainRunning();
  }));
}

bool AppFixture::WaitChainEnd(int limitMs) {
  return ServeUntil([&] { return !Main().IsSettingsChainRunning(); }, limitMs);
}

bool AppFixture::Command(uint32_t id) {
  return lv::test_hooks::SendCommand(Main().WindowId(), id);
}

std::wstring AppFixture::WriteIqbin(const char* name, const std::vector<CQComplex>& w, double sampleRate) {
  CQCArrayTD a;
  a.Set(w.data(), static_cast<int>(w.size()), sampleRate, 0.0);
  a.SetCenterFreq(2.4e9);
  const std::wstring path = lv::Utf8ToWide((root_ / name).string());
  CLumvardBinFile file;
  file.SetFileName(path.c_str());
  file.WriteToFile(&a);
  return path;
}

std::filesystem::path AppFixture::StartupFile() const {
  return config_ / "Lumvard Systems" / "Lumvard Sorvek" / "Lumvard Sorvek Startup Settings.config";
}

void AppFixture::ChooseTwoTransmitters(const std::wstring& f0, const std::wstring& f1,
                                       const std::string& boardAddress) {
  CWSorvekThreads& t = app_->Threads();
  t.dataManager->SetParam(f0.c_str(), CWMultiDataMgrThread::kParamFileName, 0);
  t.dataManager->SetParam(f1.c_str(), CWMultiDataMgrThread::kParamFileName, 1);
  CQInstrIIOMultiXcvrSettings s(4, 4);
  s.SetAllFlags(true);
  s.model = kModelFmcomms3;
  s.rateIndex = 1;  // 2 Msps
  s.connectionType = kConnectionLan;
  s.SetIPAddress(lv::Utf8ToWide(boardAddress).c_str());
  s.xmtrCenterFreq = 2.4e9;
  s.rcvrCenterFreq = 1e9;
  s.Xmtr(0).on = true;
  s.Xmtr(1).on = true;
  t.instrumentManager->SetParam(static_cast<void*>(&s), kInstrSetSettings);
}

}  // namespace lv_test
