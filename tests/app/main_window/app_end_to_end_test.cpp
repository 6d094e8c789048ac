// End to end on the offscreen platform: the real program object against the
// fake AD9361 board (settings saved in one run and recalled as the startup
// settings of the next, Start through the toolbar, Stop, Exit), and the real
// executable started and ended as a user's session would.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/sorvek_app.h"
#include "app_fixture.h"
#include "core/arrays/carray.h"
#include "fakes/fake_iiod.h"
#include "iqfiles/formats/iqbin.h"
#include "iqfiles/manager/data_manager_thread.h"
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

class AppEndToEndTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    std::ofstream(work_ / "Baseband" / "AD9361_2Msps.ftr") << "RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n";
    fake_ = std::make_unique<lv_fake::FakeIiod>(lv_fake::ReadBoardFixture("ad9361"));
    fake_->Start();
  }
  std::unique_ptr<lv_fake::FakeIiod> fake_;
};

TEST_F(AppEndToEndTest, RecalledSettingsPlayThroughStartToTheBoardAndThePlotsStopDisconnectsExitEnds) {
  // Two waveforms of 2000 samples at the board's 2 Msps.
  std::vector<CQComplex> w0(2000);
  std::vector<CQComplex> w1(2000);
  for (int i = 0; i < 2000; ++i) {
    const float x = 0.5f * static_cast<float>(i + 1) / 2000.0f;
    w0[static_cast<size_t>(i)] = CQComplex(x, -x / 2);
    w1[static_cast<size_t>(i)] = CQComplex(-x, 0.125f);
  }
  const std::wstring f0 = WriteIqbin("first.iqbin", w0);
  const std::wstring f1 = WriteIqbin("second.iqbin", w1);

  // First run: the user's choices, saved as the startup settings.
  StartApp();
  {
    ChooseTwoTransmitters(f0, f1, fake_->Address());
    for (int i = 0; i < 2; ++i) {
      Plot(CWPlotKind::kTimeDomain, i)->SetShown(true);
      Plot(CWPlotKind::kSpectrum, i)->SetShown(true);
    }
  }
  ASSERT_TRUE(Command(kCmdSaveStartupSettings));
  ASSERT_TRUE(ServeUntil([&] { return std::filesystem::exists(StartupFile()); }));
  ASSERT_TRUE(WaitChainEnd());
  ASSERT_TRUE(Command(kCmdExit));
  ASSERT_TRUE(ServeUntil([&] { return app_->HasShutDown(); }));
  app_.reset();
  EXPECT_TRUE(fake_->EventStrings({"OPEN"}).empty());

  // Second run: the startup settings come back by themselves.
  StartApp();
  ASSERT_TRUE(Plot(CWPlotKind::kTimeDomain, 1)->Shown());
  const uint32_t id = Main().WindowId();
  ASSERT_TRUE(Command(kCmdStart));
  ASSERT_TRUE(ServeUntil([&] { return fake_->WaitForEvent("WRITEBUF", 0); }, 20000))
      << ::testing::PrintToString(fake_->EventStrings());
  EXPECT_EQ(fake_->EventStrings({"OPEN"}), std::vector<std::string>{"OPEN cf-ad9361-dds-core-lpc 2000 0000000f CYCLIC"});
  ASSERT_TRUE(ServeUntil([&] { return fake_->Pushes("cf-ad9361-dds-core-lpc").size() == 1; }));
  const auto pushes = fake_->Pushes("cf-ad9361-dds-core-lpc");
  ASSERT_EQ(pushes.size(), 1u);
  ASSERT_EQ(pushes[0].size(), 2000u * 4 * 2);
  std::vector<int16_t> v(pushes[0].size() / 2);
  std::memcpy(v.data(), pushes[0].data(), pushes[0].size());
  // Largest component 0.5 over both transmitters, the default 2 dB backoff,
  // truncated.
  const float g = 32767.0f * static_cast<float>(std::pow(10.0, -2.0 / 20));
  auto scaled = [&](float x) { return static_cast<int16_t>(std::trunc(g * (x / 0.5f))); };
  for (size_t k = 0; k < 2000; ++k) {
    ASSERT_EQ(v[4 * k + 0], scaled(w0[k].re)) << k;
    ASSERT_EQ(v[4 * k + 1], scaled(w0[k].im)) << k;
    ASSERT_EQ(v[4 * k + 2], scaled(w1[k].re)) << k;
    ASSERT_EQ(v[4 * k + 3], scaled(w1[k].im)) << k;
  }
  // Each transmitter's time-domain and spectrum threads hold its waveform;
  // the hidden ones took nothing.
  for (int i = 0; i < 2; ++i) {
    for (CWPlotKind kind : {CWPlotKind::kTimeDomain, CWPlotKind::kSpectrum}) {
      lv_test::FakePlotThread* p = Plot(kind, i);
      ASSERT_TRUE(ServeUntil([&] { return p->Waveforms().size() == 1; })) << p->Title();
      const auto got = p->Waveforms()[0];
      const auto& want = i == 0 ? w0 : w1;
      ASSERT_EQ(got.size(), want.size());
      for (size_t k = 0; k < got.size(); ++k) {
        ASSERT_EQ(got[k].re, want[k].re) << p->Title() << " " << k;
        ASSERT_EQ(got[k].im, want[k].im) << p->Title() << " " << k;
      }
    }
    EXPECT_TRUE(Plot(CWPlotKind::kPersistence, i)->Waveforms().empty());
  }
  ASSERT_TRUE(ServeUntil([&] {
    const auto panes = hooks::StatusPaneTexts(id);
    return panes.size() == 5 && panes[1] == L"LAN:" + lv::Utf8ToWide(fake_->Address());
  }));
  lv::ServeGuiEvents(50);
  EXPECT_TRUE(hooks::SaveWindowPng(id, lv_test::GalleryFolder("app") + "/main_window_after_start.png"));

  // Stop: the board is let go and panes 1 and 2 are blank.
  ASSERT_TRUE(Command(kCmdStop));
  ASSERT_TRUE(ServeUntil([&] { return fake_->WaitForEvent("EXIT", 0); }, 10000));
  ASSERT_TRUE(ServeUntil([&] {
    const auto panes = hooks::StatusPaneTexts(id);
    return panes.size() == 5 && panes[1] == L" " && panes[2] == L" ";
  }));

  // Exit: every worker ends and is joined (none left for the join limit),
  // within the shut-down's pauses plus one join limit: a bound on a hang,
  // not a speed figure.
  const auto exitStart = Clock::now();
  ASSERT_TRUE(Command(kCmdExit));
  ASSERT_TRUE(ServeUntil([&] { return app_->HasShutDown(); }, 30000));
  const CWSorvekTimings t = Timings();
  const auto pauses = std::chrono::milliseconds(19 * t.quitPauseMs + t.finalPauseMs + t.joinLimitMs);
  EXPECT_LT(Clock::now() - exitStart, pauses);
  EXPECT_EQ(app_->UnjoinedWorkers(), 0);
  EXPECT_EQ(app_->QuitOrder().size(), 19u);
  EXPECT_TRUE(shown_->Messages().empty()) << shown_->Messages()[0];
}

// The real executable: starts, stays up and ends cleanly when the session
// asks it to (the Exit command), within a few seconds.
struct Child {
  pid_t pid = -1;
  // Waits up to ms for the exit; the exit status, or -1 on time-out.
  int Wait(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
  }
};

std::string RuntimeDir(const std::filesystem::path& root) {
  const std::filesystem::path d = root / "runtime";
  std::filesystem::create_directories(d);
  std::filesystem::permissions(d, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
  return d.string();
}

Child StartProgram(const std::vector<std::pair<std::string, std::string>>& env, const std::string& dir) {
  Child c;
  c.pid = ::fork();
  if (c.pid == 0) {
    ::chdir(dir.c_str());
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    for (const auto& [k, v] : env) ::setenv(k.c_str(), v.c_str(), 1);
    ::execl(LV_PROGRAM_PATH, LV_PROGRAM_PATH, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return c;
}

TEST_F(AppFixture, TheProgramStartsOffscreenAndEndsCleanlyOnExit) {
  Child c = StartProgram({{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_CONFIG_HOME", config_.string()},
                          {"XDG_RUNTIME_DIR", RuntimeDir(root_)}},
                         work_.string());
  ASSERT_GT(c.pid, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  int status = 0;
  ASSERT_EQ(::waitpid(c.pid, &status, WNOHANG), 0) << "the program ended by itself";
  // Ends by itself with status 0; the generous limit only keeps a hang
  // from stalling the suite (sanitizer builds start and stop slowly).
  ::kill(c.pid, SIGTERM);
  EXPECT_EQ(c.Wait(30000), 0);
  // The settings folder was made where the program keeps its files.
  EXPECT_TRUE(std::filesystem::is_directory(config_ / "Lumvard Systems" / "Lumvard Sorvek"));
}

TEST_F(AppFixture, WithoutADisplayTheProgramSaysSoAndEndsNonZero) {
  Child c = StartProgram({{"XDG_CONFIG_HOME", config_.string()}}, work_.string());
  ASSERT_GT(c.pid, 0);
  EXPECT_EQ(c.Wait(5000), 2);
}

TEST_F(AppFixture, UnderXvfbTheMainWindowLumvardSorvekAppearsAndExitEndsTheProgram) {
  if (::access("/usr/bin/Xvfb", X_OK) != 0 || ::access("/usr/bin/xwininfo", X_OK) != 0) {
    GTEST_SKIP() << "Xvfb and xwininfo are not installed";
  }
  // A display number of our own.
  const int display = 90 + static_cast<int>(::getpid() % 400);
  Child x;
  x.pid = ::fork();
  if (x.pid == 0) {
    const std::string d = ":" + std::to_string(display);
    ::execl("/usr/bin/Xvfb", "Xvfb", d.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const std::string d = ":" + std::to_string(display);
  Child c = StartProgram({{"DISPLAY", d}, {"XDG_CONFIG_HOME", config_.string()}, {"XDG_RUNTIME_DIR", RuntimeDir(root_)}},
                         work_.string());
  bool found = false;
  const std::string list = (root_ / "windows.txt").string();
  const std::string cmd = "DISPLAY=" + d + " /usr/bin/xwininfo -root -tree > '" + list + "' 2>/dev/null";
  for (int k = 0; k < 300 && !found; ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (std::system(cmd.c_str()) != 0) continue;
    std::ifstream in(list);
    std::string line;
    while (std::getline(in, line)) found |= line.find("\"Lumvard Sorvek\"") != std::string::npos;
  }
  EXPECT_TRUE(found);
  ::kill(c.pid, SIGTERM);
  EXPECT_EQ(c.Wait(30000), 0);
  ::kill(x.pid, SIGTERM);
  x.Wait(3000);
}

}  // namespace
