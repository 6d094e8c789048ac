// The plot threads as the program runs them: real worker threads that own
// real plot windows in a stand-in main window on the offscreen platform, the
// test's thread being the GUI thread (its blocking requests keep the GUI
// serving). Requests go through the threads' queues exactly as the main
// window and the engine send them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/arrays/carray.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "platform/sync.h"
#include "platform/ui_post.h"
#include "platform/window_messages.h"
#include "plots/pers_bitmap.h"
#include "plots/plot_pers_spec.h"
#include "plots/plot_spgm.h"
#include "plots/spgm_bitmap.h"
#include "plots/threads/plot_kind.h"
#include "plots/threads/plot_threads.h"
#include "plots/threads/plot_ui.h"
#include "support/errors.h"
#include "support/gui_app.h"
#include "workers/settings_file.h"

namespace {

namespace hooks = lv::test_hooks;

constexpr double kRate = 10e6;
constexpr double kCentre = 2.4e9;
constexpr int32_t kMsgProbe = 100;  // test only: runs a function on the plot thread

void Pump(int rounds = 5) {
  for (int i = 0; i < rounds; ++i) {
    lv::ServeGuiEvents(2);
  }
}

bool PumpUntil(const std::function<bool()>& condition, int limitMs = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Pump(1);
  }
  return true;
}

// Two tones and a little noise-free ripple: n samples at 10 Msps around 2.4 GHz.
std::unique_ptr<CQCArrayTD> Wave(int n, double f1 = -2e6, double f2 = 1.5e6, double amp = 0.3) {
  auto wave = std::make_unique<CQCArrayTD>(n);
  CQComplex* d = wave->GetDataPtr();
  for (int i = 0; i < n; ++i) {
    const double p1 = 2.0 * M_PI * f1 * i / kRate;
    const double p2 = 2.0 * M_PI * f2 * i / kRate;
    d[i].re = static_cast<float>(amp * std::cos(p1) + 0.5 * amp * std::cos(p2));
    d[i].im = static_cast<float>(amp * std::sin(p1) + 0.5 * amp * std::sin(p2));
  }
  wave->SetSampleRate(kRate);
  wave->SetCenterFreq(kCentre);
  wave->SetBandwidth(8e6);
  wave->SetValid(true);
  return wave;
}

// A plot thread with a probe: runs test code on its own thread (where the
// window lives) and counts its idle calls.
template <class Base>
class Probed : public Base {
 public:
  using Base::Base;
  ~Probed() override { this->StopAndJoin(10000); }

  std::atomic<long> idleCalls{0};

  // Runs fn with the UI object on the plot thread; the GUI keeps serving
  // while the test waits.
  bool Run(const std::function<void(CWPlotUI&)>& fn) {
    auto job = std::make_shared<Job>();
    job->fn = fn;
    auto* held = new std::shared_ptr<Job>(job);
    if (!this->PutMessage(kMsgProbe, held)) {
      delete held;
      return false;
    }
    return lv::GuiWait(job->done, 20000) == lv::WaitResult::Signalled;
  }
  CWPlotUI* Ui() {
    CWPlotUI* ui = nullptr;
    Run([&](CWPlotUI& u) { ui = &u; });
    return ui;
  }

 protected:
  struct Job {
    std::function<void(CWPlotUI&)> fn;
    lv::PlatformEvent done;
  };
  bool OnIdle(long count) override {
    ++idleCalls;
    return Base::OnIdle(count);
  }
  void OnMessage(const CWThreadMessage& m) override {
    if (m.id == kMsgProbe) {
      std::unique_ptr<std::shared_ptr<Job>> job(static_cast<std::shared_ptr<Job>*>(m.parameter));
      if (this->UI() != nullptr) (*job)->fn(*this->UI());
      (*job)->done.Set();
      return;
    }
    Base::OnMessage(m);
  }
};

using ProbedIQ = Probed<CWUIPlotIQThread>;
using ProbedSpectrum = Probed<CWUIPlotSpectrumThread>;
using ProbedPers = Probed<CWUIPlotPersSpecThread>;
using ProbedSpgm = Probed<CWUIPlotSpgmThread>;

class PlotThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    static const std::string config = [] {
      const std::filesystem::path p = std::filesystem::current_path() / "plot_threads_config";
      std::filesystem::create_directories(p);
      return p.string();
    }();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    lv_test::EnsureGuiApplication();
    lv::GuiRuntimeOptions options;
    options.uiMessageHandler = [this](const lv::UiMessage& m) {
      std::lock_guard<std::mutex> lock(mutex_);
      posted_.push_back(m);
    };
    ASSERT_TRUE(lv::StartGuiRuntime(options));
    frame_ = std::make_unique<lv::FrameWindow>(L"Lumvard Sorvek", lv::Rect{0, 0, 1300, 960});
    frame_->Show(true);
    Pump();
  }
  void TearDown() override {
    for (CWUIThread* t : started_) {
      if (t->IsRunning()) {
        t->PutMessage(kMsgQuit);
        EXPECT_TRUE(t->Join(10000));
      }
    }
    started_.clear();
    owned_.clear();
    Pump();
    frame_.reset();
    Pump();
    if (lv::IsGuiRuntimeStarted()) lv::ShutDownGuiRuntime();
  }

  template <class T>
  T& Start(const std::wstring& title) {
    auto t = std::make_unique<T>(title, *frame_);
    T& ref = *t;
    EXPECT_TRUE(ref.StartUIThread());
    started_.push_back(&ref);
    owned_.push_back(std::move(t));
    EXPECT_TRUE(PumpUntil([&] { return CountPosted(kWmWorkerReady, &ref) == 1; }));
    return ref;
  }
  CWUIThread& Adopt(std::unique_ptr<CWUIThread> t) {
    CWUIThread& ref = *t;
    EXPECT_TRUE(ref.StartUIThread());
    started_.push_back(&ref);
    owned_.push_back(std::move(t));
    return ref;
  }

  int CountPosted(uint32_t id, const void* sender, int64_t lParam = -1) {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = 0;
    for (const lv::UiMessage& m : posted_) {
      if (m.id == id && m.sender == sender && (lParam < 0 || m.lParam == lParam)) ++n;
    }
    return n;
  }

  // Sends the waveform as the engine does (set id 1) and waits until the
  // window has computed from it when it took it.
  template <class T>
  void Feed(T& t, CQCArrayTD& wave) {
    CWPlotUI* ui = t.Ui();
    ASSERT_NE(ui, nullptr);
    const int before = ui->computations;
    t.SetParam(&wave, kPlotParamInputData);
    // The probe runs after any computation the set started.
    ASSERT_TRUE(t.Run([](CWPlotUI&) {}));
    (void)before;
  }

  template <class T>
  void SetShown(T& t, bool shown) {
    t.SetParam(shown, PlotIds(t.Kind()).shown);
    ASSERT_TRUE(t.Run([](CWPlotUI&) {}));
  }

  bool IsShown(CWUIThread& t, CWPlotKind kind) {
    bool shown = false;
    t.GetParam(&shown, PlotIds(kind).shown);
    return shown;
  }

  std::unique_ptr<lv::FrameWindow> frame_;
  std::vector<CWUIThread*> started_;
  std::vector<std::unique_ptr<CWUIThread>> owned_;
  std::mutex mutex_;
  std::vector<lv::UiMessage> posted_;
};

constexpr CWPlotKind kKinds[] = {CWPlotKind::kTimeDomain, CWPlotKind::kPersistence, CWPlotKind::kSpectrogram,
                                 CWPlotKind::kSpectrum};

// ---------------------------------------------------------------------------
// Sixteen threads

TEST_F(PlotThreads, SixteenThreadsStartAnnounceOnceAnswerAndQuit) {
  struct Made {
    CWUIThread* thread;
    CWPlotKind kind;
    std::wstring title;
  };
  std::vector<Made> made;
  for (int x = 1; x <= 4; ++x) {
    for (CWPlotKind kind : kKinds) {
      const std::wstring title = PlotThreadTitle(kind, x);
      std::unique_ptr<CWUIThread> t = MakePlotThread(kind, x, title, *frame_);
      ASSERT_NE(t, nullptr);
      made.push_back({&Adopt(std::move(t)), kind, title});
    }
  }
  ASSERT_TRUE(PumpUntil([&] {
    for (const Made& m : made)
      if (CountPosted(kWmWorkerReady, m.thread) == 0) return false;
    return true;
  }));
  // Every window exists, hidden, under its title; its rectangle is the kind's.
  ASSERT_TRUE(PumpUntil([&] {
    for (const Made& m : made)
      if (hooks::FindWindowByTitle(m.title) == 0) return false;
    return true;
  }));
  for (const Made& m : made) {
    SCOPED_TRACE(lv::WideToUtf8(m.title));
    const uint32_t id = hooks::FindWindowByTitle(m.title);
    EXPECT_FALSE(hooks::IsShown(id));
    const lv::Rect g = hooks::WidgetGeometry(id);
    const lv::Rect want = CWUIPlotThread::InitialRect(m.kind);
    EXPECT_EQ(g.left, want.left);
    EXPECT_EQ(g.top, want.top);
    EXPECT_FALSE(IsShown(*m.thread, m.kind));
  }
  EXPECT_EQ(CWUIPlotThread::InitialRect(CWPlotKind::kSpectrum).left, 200);
  EXPECT_EQ(CWUIPlotThread::InitialRect(CWPlotKind::kTimeDomain).right, 550);

  // Prefix, visibility, toolbar, move and bounds, through each kind's ids.
  int i = 0;
  for (const Made& m : made) {
    SCOPED_TRACE(lv::WideToUtf8(m.title));
    const CWPlotIds& ids = PlotIds(m.kind);
    m.thread->SetParam(PlotSettingsPrefix(m.kind, i / 4 + 1).c_str(), ids.prefix);
    m.thread->SetParam(true, ids.shown);
    EXPECT_TRUE(IsShown(*m.thread, m.kind));
    bool toolbar = false;
    m.thread->GetParam(&toolbar, ids.toolbar);
    EXPECT_TRUE(toolbar);
    m.thread->SetParam(false, ids.toolbar);
    m.thread->GetParam(&toolbar, ids.toolbar);
    EXPECT_FALSE(toolbar);
    const CWRect place{10 + 30 * i, 20 + 10 * i, 410 + 30 * i, 320 + 10 * i};
    m.thread->SetParamNoWait(place, ids.arrange);
    m.thread->SetParamNoWait(CWRect{0, 0, 1200, 800}, ids.plotArea);
    ++i;
  }
  i = 0;
  for (const Made& m : made) {
    SCOPED_TRACE(lv::WideToUtf8(m.title));
    const uint32_t id = hooks::FindWindowByTitle(m.title);
    const lv::Rect want{10 + 30 * i, 20 + 10 * i, 410 + 30 * i, 320 + 10 * i};
    EXPECT_TRUE(PumpUntil([&] {
      const lv::Rect g = hooks::WidgetGeometry(id);
      return hooks::IsShown(id) && g.left == want.left && g.top == want.top && g.right == want.right &&
             g.bottom == want.bottom;
    }));
    ++i;
  }
  // Announced exactly once each, even after all that traffic.
  Pump(20);
  for (const Made& m : made) EXPECT_EQ(CountPosted(kWmWorkerReady, m.thread), 1);

  // Message 1 ends every thread and takes its window along.
  for (const Made& m : made) ASSERT_TRUE(m.thread->PutMessage(kMsgQuit));
  for (const Made& m : made) EXPECT_TRUE(m.thread->Join(10000));
  EXPECT_TRUE(PumpUntil([&] {
    for (const Made& m : made)
      if (hooks::FindWindowByTitle(m.title) != 0) return false;
    return true;
  }));
  // A request to an ended plot thread fails at once.
  bool shown = true;
  EXPECT_TRUE(lv_test::ThrowsError([&] { made[0].thread->GetParam(&shown, 2); }, "The worker thread is not running."));
}

// ---------------------------------------------------------------------------
// The hand-off: copy, release, compute

TEST_F(PlotThreads, TheEngineIsReleasedBeforeASpectrumOfAMillionSamplesIsComputed) {
  lv_test::ShownErrors errors;
  ProbedSpectrum& sa = Start<ProbedSpectrum>(L"Spectrum 1");
  SetShown(sa, true);
  auto released = std::make_shared<lv::PlatformEvent>();
  auto releasedFirst = std::make_shared<std::atomic<int>>(-1);
  auto computeDone = std::make_shared<lv::PlatformEvent>();
  ASSERT_TRUE(sa.Run([&](CWPlotUI& ui) {
    ui.computeStarted = [released, releasedFirst] {
      // Waits (bounded) for the requester: had the answer waited for the
      // computation, this wait would run out and record 0.
      *releasedFirst = released->Wait(15000) == lv::WaitResult::Signalled ? 1 : 0;
    };
  }));
  auto wave = Wave(1 << 20);
  // The engine's side, on a thread of its own as in the program.
  std::atomic<bool> setReturned{false};
  std::thread engine([&] {
    sa.SetParam(wave.get(), kPlotParamInputData);
    setReturned = true;
    released->Set();
  });
  engine.join();
  EXPECT_TRUE(setReturned);
  // The array may go now: the window works from its own copy.
  wave.reset();
  ASSERT_TRUE(sa.Run([&](CWPlotUI& ui) {
    EXPECT_EQ(ui.dataCopies, 1);
    EXPECT_EQ(ui.computations, 2);  // the show, then the new data
    auto& w = dynamic_cast<CWUIPlotSpectrum&>(ui);
    EXPECT_TRUE(w.hasData);
    EXPECT_GT(w.GetPointCount(1), 0);
    ui.computeStarted = nullptr;
    computeDone->Set();
  }));
  EXPECT_EQ(*releasedFirst, 1);
  EXPECT_TRUE(errors.Entries().empty());
}

TEST_F(PlotThreads, EveryKindReleasesBeforeComputingAndHiddenWindowsTakeNothing) {
  lv_test::ShownErrors errors;
  ProbedIQ& td = Start<ProbedIQ>(L"Time Domain 1");
  ProbedSpectrum& sa = Start<ProbedSpectrum>(L"Spectrum 1");
  ProbedPers& ps = Start<ProbedPers>(L"Persistence Spectrum 1");
  ProbedSpgm& sg = Start<ProbedSpgm>(L"Spectrogram 1");
  std::vector<std::pair<CWUIThread*, std::function<bool(const std::function<void(CWPlotUI&)>&)>>> all = {
      {&td, [&](auto f) { return td.Run(f); }},
      {&sa, [&](auto f) { return sa.Run(f); }},
      {&ps, [&](auto f) { return ps.Run(f); }},
      {&sg, [&](auto f) { return sg.Run(f); }}};
  auto first = Wave(1 << 15);
  auto second = Wave(1 << 15, 3e6, -1e6);
  for (auto& [thread, run] : all) {
    auto* t = static_cast<CWUIPlotThread*>(thread);
    SCOPED_TRACE(lv::WideToUtf8(t->Title()));
    // Hidden: the request completes at once, nothing is copied or computed.
    t->SetParam(first.get(), kPlotParamInputData);
    ASSERT_TRUE(run([](CWPlotUI& ui) {
      EXPECT_EQ(ui.dataCopies, 0);
      EXPECT_EQ(ui.computations, 0);
    }));
    // Shown: copied, then computed after the release.
    t->SetParam(true, PlotIds(t->Kind()).shown);
    t->SetParam(first.get(), kPlotParamInputData);
    ASSERT_TRUE(run([](CWPlotUI& ui) {
      EXPECT_EQ(ui.dataCopies, 1);
      EXPECT_EQ(ui.computations, 2);  // the show, then the new data
    }));
    // Hidden again: new data is not taken; showing redraws the first.
    t->SetParam(false, PlotIds(t->Kind()).shown);
    t->SetParam(second.get(), kPlotParamInputData);
    t->SetParam(true, PlotIds(t->Kind()).shown);
    ASSERT_TRUE(run([](CWPlotUI& ui) {
      EXPECT_EQ(ui.dataCopies, 1);
      EXPECT_EQ(ui.computations, 3);
    }));
    // Visible = false on a hidden window: nothing and no redraw.
    t->SetParam(false, PlotIds(t->Kind()).shown);
    t->SetParam(false, PlotIds(t->Kind()).shown);
    ASSERT_TRUE(run([](CWPlotUI& ui) { EXPECT_EQ(ui.computations, 3); }));
  }
  // What each window holds is the first waveform.
  ASSERT_TRUE(td.Run([&](CWPlotUI& ui) {
    auto& w = dynamic_cast<CWUIPlotIQ&>(ui);
    ASSERT_TRUE(w.Model().HasInput());
    EXPECT_EQ(w.Model().Input()->GetDataPtr()[5].re, first->GetDataPtr()[5].re);
  }));
  ASSERT_TRUE(sg.Run([&](CWPlotUI& ui) {
    auto& w = dynamic_cast<CWUIPlotSpgm&>(ui);
    ASSERT_NE(w.Input(), nullptr);
    EXPECT_EQ(w.Input()->GetDataPtr()[7].im, first->GetDataPtr()[7].im);
  }));
  EXPECT_TRUE(errors.Entries().empty());
}

// A time-domain window whose computation fails, as a failing drawing would.
class CWFailingPlotIQ : public CWUIPlotIQ {
 protected:
  void ComputeFromCopy() override { throw new CQError("Drawing failed.", "CWFailingPlotIQ::DrawPlot"); }
};
class FailingIQThread : public ProbedIQ {
 public:
  using ProbedIQ::ProbedIQ;

 protected:
  std::unique_ptr<CWPlotUI> MakeUI() override { return std::make_unique<CWFailingPlotIQ>(); }
};

TEST_F(PlotThreads, AComputationErrorIsShownOnThePlotThreadWhileTheRequesterHasGoneOn) {
  lv_test::ShownErrors errors;
  FailingIQThread& td = Start<FailingIQThread>(L"Time Domain 1");
  td.SetParam(true, kPlotIdsCommon.shown);  // no error for the requester: it shows up on the plot thread
  ASSERT_TRUE(PumpUntil([&] { return errors.Entries().size() == 1; }));
  auto wave = Wave(4096);
  td.SetParam(wave.get(), kPlotParamInputData);  // the same for new data
  ASSERT_TRUE(PumpUntil([&] { return errors.Entries().size() == 2; }));
  for (const lv_test::CaughtError& e : errors.Entries()) {
    EXPECT_EQ(e.message, "Drawing failed.");
    EXPECT_EQ(e.callStack, "CWFailingPlotIQ::DrawPlot\nCWUIPlotIQ::SetParam\n");
  }
  // The copy was taken and the thread goes on serving.
  ASSERT_TRUE(td.Run([](CWPlotUI& ui) { EXPECT_EQ(ui.dataCopies, 1); }));
  EXPECT_TRUE(IsShown(td, CWPlotKind::kTimeDomain));
}

// ---------------------------------------------------------------------------
// Messages 7, 8, 9

TEST_F(PlotThreads, Message7ShowsAndHidesAndTheSpectrumStaysWhenAlwaysShown) {
  ProbedIQ& td = Start<ProbedIQ>(L"Time Domain 2");
  ProbedSpectrum& sa = Start<ProbedSpectrum>(L"Spectrum 2");
  const uint32_t tdId = hooks::FindWindowByTitle(L"Time Domain 2");
  const uint32_t saId = hooks::FindWindowByTitle(L"Spectrum 2");
  ASSERT_NE(tdId, 0u);
  ASSERT_NE(saId, 0u);
  struct Step {
    uint64_t word;
    bool shownAfter;
  };
  // 0 on a hidden window and 1 on a shown one change nothing.
  for (const Step& s : {Step{0, false}, Step{1, true}, Step{1, true}, Step{0, false}, Step{7, false}}) {
    ASSERT_TRUE(td.PutMessage(kMsgPlotShowWindow, nullptr, s.word));
    EXPECT_EQ(IsShown(td, CWPlotKind::kTimeDomain), s.shownAfter) << s.word;
    EXPECT_TRUE(PumpUntil([&] { return hooks::IsShown(tdId) == s.shownAfter; }));
  }
  // The parameter pointer 1 works as well as the word.
  ASSERT_TRUE(td.PutMessage(kMsgPlotShowWindow, reinterpret_cast<void*>(uintptr_t{1})));
  EXPECT_TRUE(IsShown(td, CWPlotKind::kTimeDomain));

  // Spectrum: always-shown (set/get id 5) keeps it up on message 7 with 0
  // and on visible = false; the request still completes.
  sa.SetParam(true, kPlotParamSpectrumAlwaysShown);
  bool always = false;
  sa.GetParam(&always, kPlotParamSpectrumAlwaysShown);
  EXPECT_TRUE(always);
  ASSERT_TRUE(sa.PutMessage(kMsgPlotShowWindow, nullptr, 0));
  EXPECT_TRUE(IsShown(sa, CWPlotKind::kSpectrum));  // it was hidden: the flag shows it
  ASSERT_TRUE(sa.PutMessage(kMsgPlotShowWindow, nullptr, 0));
  EXPECT_TRUE(IsShown(sa, CWPlotKind::kSpectrum));
  sa.SetParam(false, kPlotIdsSpectrum.shown);
  EXPECT_TRUE(IsShown(sa, CWPlotKind::kSpectrum));
  EXPECT_TRUE(PumpUntil([&] { return hooks::IsShown(saId); }));
  sa.SetParam(false, kPlotParamSpectrumAlwaysShown);
  sa.SetParam(false, kPlotIdsSpectrum.shown);
  EXPECT_FALSE(IsShown(sa, CWPlotKind::kSpectrum));
  // The spectrum's other ids without a sender in the program.
  sa.SetParam(false, kPlotParamSpectrumAutoFreqLimits);
  sa.SetParam(4e6, kPlotParamSpectrumFreqSpan);
  ASSERT_TRUE(sa.Run([](CWPlotUI& ui) {
    auto& w = dynamic_cast<CWUIPlotSpectrum&>(ui);
    EXPECT_FALSE(w.Model().AvgSpectrum().GetAutoFreqLimits());
    EXPECT_DOUBLE_EQ(w.Model().AvgSpectrum().GetStartFreq(), -2e6);
    EXPECT_DOUBLE_EQ(w.Model().AvgSpectrum().GetStopFreq(), 2e6);
  }));
}

TEST_F(PlotThreads, Message9ClearsEachKindAndMessage8Redraws) {
  lv_test::ShownErrors errors;
  ProbedIQ& td = Start<ProbedIQ>(L"Time Domain 1");
  ProbedSpectrum& sa = Start<ProbedSpectrum>(L"Spectrum 1");
  ProbedPers& ps = Start<ProbedPers>(L"Persistence Spectrum 1");
  ProbedSpgm& sg = Start<ProbedSpgm>(L"Spectrogram 1");
  auto wave = Wave(1 << 15);
  SetShown(td, true);
  SetShown(sa, true);
  SetShown(ps, true);
  SetShown(sg, true);
  Feed(td, *wave);
  Feed(sa, *wave);
  Feed(ps, *wave);
  Feed(sg, *wave);

  // Before: data everywhere.
  auto litPixels = [](const CWBitmap& b) {
    int n = 0;
    for (int64_t i = 0; i < int64_t{b.GetWidth()} * b.GetHeight(); ++i) {
      const lv::RgbQuad p = b.GetPixels()[i];
      if (p.red != 0 || p.green != 0 || p.blue != 0) ++n;
    }
    return n;
  };
  auto persCells = [](CWPlotPersSpec& p) {
    const CWPersBitmap& b = p.GetBitmap();
    int n = 0;
    for (int64_t i = 0; i < int64_t{b.GetColumns()} * b.GetRows(); ++i)
      if (b.GetIntensity()[i] != 0.0f) ++n;
    return n;
  };
  ASSERT_TRUE(td.Run([](CWPlotUI& ui) {
    auto& w = dynamic_cast<CWUIPlotIQ&>(ui);
    EXPECT_TRUE(w.hasData);
    EXPECT_TRUE(w.Model().HasInput());
  }));
  ASSERT_TRUE(sa.Run([](CWPlotUI& ui) { EXPECT_TRUE(dynamic_cast<CWUIPlotSpectrum&>(ui).hasData); }));
  ASSERT_TRUE(ps.Run([&](CWPlotUI& ui) { EXPECT_GT(persCells(dynamic_cast<CWUIPlotPersSpec&>(ui).PersPlot()), 0); }));
  ASSERT_TRUE(sg.Run([&](CWPlotUI& ui) { EXPECT_GT(litPixels(dynamic_cast<CWUIPlotSpgm&>(ui).Engine().GetBitmap()), 0); }));

  // Message 8 draws the time domain and the spectrum again from what they hold.
  ASSERT_TRUE(td.PutMessage(kMsgPlotRedraw));
  ASSERT_TRUE(sa.PutMessage(kMsgPlotRedraw));
  ASSERT_TRUE(ps.PutMessage(kMsgPlotRedraw));
  ASSERT_TRUE(sg.PutMessage(kMsgPlotRedraw));
  ASSERT_TRUE(td.Run([](CWPlotUI& ui) { EXPECT_TRUE(dynamic_cast<CWUIPlotIQ&>(ui).hasData); }));

  for (CWUIThread* t : std::vector<CWUIThread*>{&td, &sa, &ps, &sg}) ASSERT_TRUE(t->PutMessage(kMsgPlotClear));
  ASSERT_TRUE(td.Run([](CWPlotUI& ui) {
    auto& w = dynamic_cast<CWUIPlotIQ&>(ui);
    EXPECT_FALSE(w.hasData);
    EXPECT_FALSE(w.Model().HasInput());
  }));
  ASSERT_TRUE(sa.Run([](CWPlotUI& ui) { EXPECT_FALSE(dynamic_cast<CWUIPlotSpectrum&>(ui).hasData); }));
  ASSERT_TRUE(ps.Run([&](CWPlotUI& ui) {
    auto& w = dynamic_cast<CWUIPlotPersSpec&>(ui);
    EXPECT_EQ(persCells(w.PersPlot()), 0);
  }));
  ASSERT_TRUE(sg.Run([&](CWPlotUI& ui) { EXPECT_EQ(litPixels(dynamic_cast<CWUIPlotSpgm&>(ui).Engine().GetBitmap()), 0); }));
  EXPECT_TRUE(errors.Entries().empty());
}

// ---------------------------------------------------------------------------
// Requests the kinds refuse, prefixes, settings replies

TEST_F(PlotThreads, UnknownIdsAndPrefixes) {
  lv_test::ShownErrors errors;
  ProbedIQ& td = Start<ProbedIQ>(L"Time Domain 3");
  ProbedSpectrum& sa = Start<ProbedSpectrum>(L"Spectrum 3");
  // Set ids each kind rejects; the requester receives the error.
  struct Case {
    CWUIThread* t;
    int32_t id;
    const char* stack;
  };
  for (const Case& c : {Case{&td, 4, "CWUIPlotIQ::SetParam\n"}, Case{&td, 5, "CWUIPlotIQ::SetParam\n"},
                        Case{&td, 7, "CWUIPlotIQ::SetParam\n"}, Case{&td, 9, "CWUIPlotIQ::SetParam\n"},
                        Case{&sa, 7, "CWUIPlotSpectrum::SetParam\n"}, Case{&sa, 8, "CWUIPlotSpectrum::SetParam\n"},
                        Case{&sa, 3, "CWUIPlotSpectrum::SetParam\n"}}) {
    SCOPED_TRACE(c.id);
    const lv_test::CaughtError e = lv_test::Catch([&] { c.t->SetParam(int32_t{1}, c.id == 3 ? 0 : c.id); });
    ASSERT_TRUE(e.thrown);
    if (c.id == 3) continue;
    EXPECT_EQ(e.message, "Unknown parameter type.");
    EXPECT_EQ(e.callStack.rfind(c.stack, 0), 0u) << e.callStack;
  }
  // Get ids: visible, toolbar (and the spectrum's always shown) only.
  bool b = false;
  EXPECT_TRUE(lv_test::ThrowsError([&] { td.GetParam(&b, 3); }, "Unknown parameter type."));
  EXPECT_TRUE(lv_test::ThrowsError([&] { td.GetParam(&b, 5); }, "Unknown parameter type."));
  EXPECT_TRUE(lv_test::ThrowsError([&] { sa.GetParam(&b, 2); }, "Unknown parameter type."));
  // A value of the wrong type for a known id.
  EXPECT_TRUE(lv_test::ThrowsError([&] { td.SetParam(int32_t{1}, 2); }, "Wrong data type in set request."));
  // Without wait: an unknown id is dropped silently and the thread goes on.
  td.SetParamNoWait(CWRect{1, 2, 3, 4}, 7);
  sa.SetParamNoWait(CWRect{1, 2, 3, 4}, 4);
  EXPECT_FALSE(IsShown(td, CWPlotKind::kTimeDomain));
  EXPECT_FALSE(IsShown(sa, CWPlotKind::kSpectrum));

  // The prefix: a null text is refused back to the requester; an empty one
  // leaves none.
  EXPECT_TRUE(lv_test::ThrowsError([&] { td.SetParam(static_cast<const wchar_t*>(nullptr), 3); },
                                   "Programming error: Null pointer to settings prefix string."));
  td.SetParam(L"PlotTD3:", 3);
  ASSERT_TRUE(td.Run([](CWPlotUI& ui) { EXPECT_EQ(ui.SettingsPrefix(), L"PlotTD3:"); }));
  td.SetParam(L"", 3);
  ASSERT_TRUE(td.Run([](CWPlotUI& ui) { EXPECT_FALSE(ui.HasSettingsPrefix()); }));
  sa.SetParam(L"PlotSpectrum3:", 6);
  ASSERT_TRUE(sa.Run([](CWPlotUI& ui) { EXPECT_EQ(ui.SettingsPrefix(), L"PlotSpectrum3:"); }));

  // A message id outside 1..9 is shown by OnIdle.
  ASSERT_TRUE(td.PutMessage(10));
  ASSERT_TRUE(PumpUntil([&] { return !errors.Entries().empty(); }));
  EXPECT_EQ(errors.Entries()[0].message, "Unhandled message in thread queue.");
  EXPECT_EQ(errors.Entries()[0].callStack, "CWUIPlotIQThread::OnIdle\n");
  EXPECT_FALSE(IsShown(td, CWPlotKind::kTimeDomain));
}

TEST_F(PlotThreads, AFailingSaveStillRepliesAndASaveWithAPrefixWritesItsKeys) {
  lv_test::ShownErrors errors;
  ProbedPers& ps = Start<ProbedPers>(L"Persistence Spectrum 2");
  const std::filesystem::path file = std::filesystem::current_path() / "plot_threads_save.config";
  std::filesystem::remove(file);
  CQAppSettings store;
  store.SetFileName(file);
  // No prefix yet: the save fails, and the reply still goes out (lParam 1).
  ASSERT_TRUE(ps.PutMessage(kMsgSaveSettings, &store));
  ASSERT_TRUE(PumpUntil([&] { return CountPosted(kWmWorkerSaved, &ps) == 1; }));
  EXPECT_EQ(CountPosted(kWmWorkerSaved, &ps, 1), 1);
  ASSERT_TRUE(errors.WaitFor(1));
  EXPECT_EQ(errors.Entries()[0].message, "Programming error: Settings prefix string not set.");
  EXPECT_NE(errors.Entries()[0].callStack.find("CWUIPlotPersSpecThread::OnMsgSaveSettings\n"), std::string::npos)
      << errors.Entries()[0].callStack;
  ASSERT_TRUE(ps.PutMessage(kMsgRecallSettings, &store));
  ASSERT_TRUE(PumpUntil([&] { return CountPosted(kWmWorkerRecalled, &ps) == 1; }));
  ASSERT_TRUE(errors.WaitFor(2));

  // With its prefix the window writes its keys.
  ps.SetParam(L"PlotPersSpec2:", 3);
  ps.SetParam(true, 2);
  store.BeginSave();
  ASSERT_TRUE(ps.PutMessage(kMsgSaveSettings, &store));
  ASSERT_TRUE(PumpUntil([&] { return CountPosted(kWmWorkerSaved, &ps) == 2; }));
  EXPECT_EQ(CountPosted(kWmWorkerSaved, &ps, 0), 1);
  store.CommitSave();
  bool visible = false;
  EXPECT_TRUE(store.GetValue(L"PlotPersSpec2:Visible", &visible));
  EXPECT_TRUE(visible);
  CWRect rect;
  EXPECT_TRUE(store.GetValue(L"PlotPersSpec2:Window rect", &rect));
  EXPECT_EQ(rect, (CWRect{150, 150, 550, 550}));
  // Recall through the thread brings the window back as it was saved.
  ps.SetParam(false, 2);
  ps.SetParamNoWait(CWRect{20, 30, 420, 330}, 4);
  ASSERT_FALSE(IsShown(ps, CWPlotKind::kPersistence));
  ASSERT_TRUE(ps.PutMessage(kMsgRecallSettings, &store));
  ASSERT_TRUE(PumpUntil([&] { return CountPosted(kWmWorkerRecalled, &ps) == 2; }));
  EXPECT_TRUE(IsShown(ps, CWPlotKind::kPersistence));
  const uint32_t id = hooks::FindWindowByTitle(L"Persistence Spectrum 2");
  EXPECT_TRUE(PumpUntil([&] {
    const lv::Rect g = hooks::WidgetGeometry(id);
    return hooks::IsShown(id) && g.left == 150 && g.top == 150 && g.right == 550 && g.bottom == 550;
  }));
  EXPECT_EQ(errors.Entries().size(), 2u);
}

TEST_F(PlotThreads, TheTimeDomainMenuNamesIAndQ) {
  ProbedIQ& td = Start<ProbedIQ>(L"Time Domain 4");
  ASSERT_TRUE(td.Run([](CWPlotUI& ui) {
    auto& w = dynamic_cast<CWUIPlotIQ&>(ui);
    EXPECT_TRUE(w.GetIQNaming());
    std::map<uint32_t, std::wstring> texts;
    std::function<void(const std::vector<lv::MenuItem>&)> walk = [&](const std::vector<lv::MenuItem>& items) {
      for (const lv::MenuItem& m : items) {
        if (m.popup) walk(m.children);
        else if (m.id != 0) texts[m.id] = m.text;
      }
    };
    walk(w.BuildPopupMenu());
    EXPECT_EQ(texts[36120], L"Q vs I");
    // "&&" is the menu's way of writing one ampersand: "I & Q vs Time".
    EXPECT_EQ(texts[36121], L"I && Q vs Time");
  }));
}

// ---------------------------------------------------------------------------
// Idling

TEST_F(PlotThreads, IdlePlotThreadsDoNotWake) {
  ProbedIQ& td = Start<ProbedIQ>(L"Time Domain 1");
  ProbedSpectrum& sa = Start<ProbedSpectrum>(L"Spectrum 1");
  ProbedPers& ps = Start<ProbedPers>(L"Persistence Spectrum 1");
  ProbedSpgm& sg = Start<ProbedSpgm>(L"Spectrogram 1");
  Pump(20);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const long before[4] = {td.idleCalls, sa.idleCalls, ps.idleCalls, sg.idleCalls};
  // One second with nothing to do (the GUI is not served either, so no
  // window events reach the threads).
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const long after[4] = {td.idleCalls, sa.idleCalls, ps.idleCalls, sg.idleCalls};
  for (int i = 0; i < 4; ++i) EXPECT_LE(after[i] - before[i], 5) << i;
  // Still awake for work.
  EXPECT_FALSE(IsShown(sg, CWPlotKind::kSpectrogram));
}

// ---------------------------------------------------------------------------
// Gallery

TEST_F(PlotThreads, GalleryTheFourWindowsOfTransmitter1AfterNewData) {
  lv_test::ShownErrors errors;
  ProbedIQ& td = Start<ProbedIQ>(L"Time Domain 1");
  ProbedSpectrum& sa = Start<ProbedSpectrum>(L"Spectrum 1");
  ProbedPers& ps = Start<ProbedPers>(L"Persistence Spectrum 1");
  ProbedSpgm& sg = Start<ProbedSpgm>(L"Spectrogram 1");
  // The main window's arrangement: a 2 x 2 grid of its plot area.
  struct Place {
    CWUIThread* t;
    CWPlotKind kind;
    CWRect r;
  };
  const Place places[] = {{&td, CWPlotKind::kTimeDomain, {0, 0, 640, 440}},
                          {&sa, CWPlotKind::kSpectrum, {640, 0, 1280, 440}},
                          {&ps, CWPlotKind::kPersistence, {0, 440, 640, 880}},
                          {&sg, CWPlotKind::kSpectrogram, {640, 440, 1280, 880}}};
  for (const Place& p : places) {
    ASSERT_TRUE(p.t->PutMessage(kMsgPlotShowWindow, nullptr, 1));
    p.t->SetParamNoWait(p.r, PlotIds(p.kind).arrange);
  }
  auto wave = Wave(1 << 16);
  for (const Place& p : places) p.t->SetParam(wave.get(), kPlotParamInputData);
  ASSERT_TRUE(td.Run([](CWPlotUI&) {}));
  ASSERT_TRUE(sa.Run([](CWPlotUI&) {}));
  ASSERT_TRUE(ps.Run([](CWPlotUI&) {}));
  ASSERT_TRUE(sg.Run([](CWPlotUI&) {}));
  Pump(30);
  for (const wchar_t* title : {L"Time Domain 1", L"Spectrum 1", L"Persistence Spectrum 1", L"Spectrogram 1"}) {
    const uint32_t id = hooks::FindWindowByTitle(title);
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(hooks::IsShown(id));
    hooks::RepaintNow(id);
  }
  Pump(10);
  const std::string path = lv_test::GalleryFolder("plots_threads") + "/transmitter1_four_windows.png";
  ASSERT_TRUE(hooks::SaveWindowPng(frame_->Id(), path));
  EXPECT_TRUE(errors.Entries().empty());
}

}  // namespace
