#include "keys_fixture.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/window_messages.h"
#include "support/gui_app.h"

namespace lv_keys_test {

void Pump(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    lv::ServeGuiEvents(2);
    lv::DispatchWindowMessages();
  }
}

void PlotKeys::SetUp() {
  lv_test::EnsureGuiApplication();
  ASSERT_TRUE(lv::StartGuiRuntime());
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = std::filesystem::temp_directory_path() /
            ("lv_plot_keys_" + std::to_string(getpid()) + "_" + info->test_suite_name() + "_" + info->name());
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  frame_ = std::make_unique<lv::FrameWindow>(L"Lumvard Sorvek", lv::Rect{0, 0, 1400, 1000});
  frame_->Show(true);
  Pump(3);
}

void PlotKeys::TearDown() {
  frame_.reset();
  Pump(3);
  if (lv::IsGuiRuntimeStarted()) {
    lv::ShutDownGuiRuntime();
  }
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

std::unique_ptr<CWPlotCTDWndw> PlotKeys::MakeTD(const lv::Rect& r) {
  auto w = std::make_unique<CWPlotCTDWndw>();
  EXPECT_TRUE(w->CreateToolWindow(L"Time Domain 1", r, *frame_));
  return w;
}

std::unique_ptr<CWPlotSAWndw> PlotKeys::MakeSA(const lv::Rect& r) {
  auto w = std::make_unique<CWPlotSAWndw>();
  EXPECT_TRUE(w->CreateToolWindow(L"Spectrum 1", r, *frame_));
  return w;
}

std::unique_ptr<CWPlotPersSpecWndw> PlotKeys::MakePers(const lv::Rect& r) {
  auto w = std::make_unique<CWPlotPersSpecWndw>();
  w->Create(*frame_, L"Persistence Spectrum 1", r);
  return w;
}

std::unique_ptr<CWPlotSpgmWndw> PlotKeys::MakeSpgm(const lv::Rect& r) {
  auto w = std::make_unique<CWPlotSpgmWndw>();
  w->Create(*frame_, L"Spectrogram 1", r);
  return w;
}

void PlotKeys::SetShown(lv::ChildWindow& w, bool shown) {
  w.Show(shown);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (lv::test_hooks::IsShown(w.Id()) != shown && std::chrono::steady_clock::now() < end) {
    Pump(1);
  }
  ASSERT_EQ(lv::test_hooks::IsShown(w.Id()), shown);
  Pump();
}

void PlotKeys::Fresh(CQAppSettings& s, const std::string& name) {
  s.SetFileName(Path(name));
  s.ResetContents();
}

std::string PlotKeys::Bytes(const std::string& name) const {
  std::ifstream in(Path(name), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> PlotKeys::KeyNames(const std::string& name, const std::string& prefix) const {
  std::vector<std::string> keys;
  std::istringstream in(Bytes(name));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) != 0) continue;
    const size_t eq = line.find(" = ");
    keys.push_back(line.substr(prefix.size(), eq - prefix.size()));
  }
  return keys;
}

}  // namespace lv_keys_test
