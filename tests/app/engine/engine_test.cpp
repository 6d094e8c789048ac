// The engine thread: its pass, its coalescing and its error path, first
// against recording test workers, then end to end with the real
// instrument-manager thread (and the real data-manager thread) and the fake
// board.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <numbers>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/engine_thread.h"
#include "core/array_math.h"
#include "core/numbers.h"
#include "core/processing/sample_rate_mgr_settings.h"
#include "core/error_dialog.h"
#include "fakes/fake_iiod.h"
#include "iqfiles/manager/data_manager_thread.h"
#include "iqfiles/formats/iqbin.h"
#include "platform/text.h"
#include "tests/app/engine/engine_workers.h"
#include "support/errors.h"
#include "xcvr/instr_thread.h"
#include "xcvr/multi_xcvr.h"
#include "support/bits.h"

namespace {

using lv_test::Catch;
using lv_test::Ramp;
using lv_test::SameBits;
using lv_test::ShownErrors;
using lv_test::WaitUntil;

// The engine thread between recording test workers.
class EngineThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(data_.StartUIThread());
    ASSERT_TRUE(instr_.StartUIThread());
    for (auto& p : plots_) ASSERT_TRUE(p.StartUIThread());
    CWEngineLinks links;
    links.dataManager = &data_;
    links.instrumentManager = &instr_;
    links.plots.push_back({&plots_[0], &plots_[1], &plots_[2], &plots_[3]});
    engine_ = std::make_unique<CWSorvekEngineThread>(4, 4, links);
    ASSERT_TRUE(engine_->StartUIThread());
    engine_->SetParam(static_cast<void*>(static_cast<lv::StatusSink*>(&sink_)), kEngineParamStatusBar);
  }
  void TearDown() override {
    data_.infoGate.Open();
    instr_.settingsGate.Open();
    engine_->StopAndJoin(10000);
  }
  int32_t State() {
    int32_t s = 0;
    engine_->GetParam(&s, kEngineParamState);
    return s;
  }
  bool WaitIdleAfter(int transmits) {
    return WaitUntil([&] { return instr_.transmits >= transmits && State() == kEngineStateIdle; });
  }

  ShownErrors shown_;
  lv_test::MemoryDataManager data_{4};
  lv_test::RecordingInstrument instr_;
  lv_test::TestPlotWorker plots_[4];
  lv_test::RecordingSink sink_;
  std::unique_ptr<CWSorvekEngineThread> engine_;
};

TEST_F(EngineThreadTest, OnePassHandsTheWaveformsOnAndTheDescriptionReachesPaneOne) {
  instr_.SetXmtrOn(0, true);
  data_.SetWave(0, Ramp(100, 0.5f), 2e6);
  plots_[2].SetShown(false);
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(WaitIdleAfter(1));
  EXPECT_EQ(instr_.settingsRequests, 1);
  EXPECT_EQ(instr_.dataSets, 1);
  EXPECT_EQ(instr_.transmits, 1);
  EXPECT_EQ(instr_.disconnects, 0);
  EXPECT_EQ(instr_.autoBackoffSets, 1);
  EXPECT_FALSE(instr_.autoBackoff);  // the user's choice goes back unchanged
  EXPECT_EQ(data_.infoRequests, 1);
  EXPECT_EQ(data_.readRequests, 1);
  for (int k : {0, 1, 3}) {
    ASSERT_TRUE(plots_[k].WaitComputed(1, 5000)) << k;
    const auto got = plots_[k].Computed()[0];
    ASSERT_EQ(got.size(), 100u);
    EXPECT_EQ(got[99].re, 0.5f);
  }
  EXPECT_TRUE(plots_[2].Computed().empty());  // hidden: takes nothing
  const auto texts = sink_.Texts();
  ASSERT_EQ(texts.size(), 5u);  // panes 0-3 cleared, then the description
  for (int pane = 0; pane < 4; ++pane) EXPECT_EQ(texts[pane], (std::pair<int, std::wstring>{pane, L" "}));
  EXPECT_EQ(texts[4], (std::pair<int, std::wstring>{1, L"LAN:test"}));  // after the blank panes
  EXPECT_TRUE(shown_.Messages().empty());
}

TEST_F(EngineThreadTest, NoTransmitterOnFailsOnceAndDisconnects) {
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return !shown_.Messages().empty(); }));
  ASSERT_TRUE(WaitUntil([&] { return instr_.disconnects == 1; }));
  EXPECT_EQ(State(), kEngineStateIdle);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(shown_.Messages(), std::vector<std::string>{"No transmitters are active. At least one must be active."});
  EXPECT_EQ(instr_.disconnects, 1);
  EXPECT_EQ(data_.infoRequests, 0);
}

TEST_F(EngineThreadTest, AnErrorInALaterStateClearsTheStatusDisconnectsAndIsShownOnce) {
  instr_.SetXmtrOn(0, true);
  instr_.SetXmtrOn(2, true);
  data_.SetWave(0, Ramp(10, 0.5f), 2e6);  // transmitter 3 has no file
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return instr_.disconnects == 1; }));
  ASSERT_TRUE(WaitUntil([&] { return !shown_.Messages().empty(); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(shown_.Messages(), std::vector<std::string>{"No input file selected."});
  EXPECT_EQ(State(), kEngineStateIdle);
  EXPECT_EQ(instr_.transmits, 0);
  EXPECT_EQ(data_.readRequests, 0);
  // Cleared at the start of the pass and again on the failure.
  const auto texts = sink_.Texts();
  ASSERT_EQ(texts.size(), 8u);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(texts[k], (std::pair<int, std::wstring>{k % 4, L" "}));
  // The next Start begins again at state 1.
  data_.SetWave(2, Ramp(10, 0.5f), 2e6);
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(WaitIdleAfter(1));
  EXPECT_EQ(instr_.dataSets, 2);
  EXPECT_EQ(shown_.Messages().size(), 1u);
}

TEST_F(EngineThreadTest, AnErrorInEachStateEndsThePassBlankDisconnectedAndShownOnce) {
  CQSampleRateMgrSettings plain;
  CQSampleRateMgrSettings badRate;
  badRate.interpolationOn = true;
  badRate.interpolationRate = 11;
  auto setChain = [&](CQSampleRateMgrSettings s) {
    engine_->SetParam(static_cast<void*>(&s), kEngineParamProcessing, 0);
  };
  struct Case {
    const char* state;
    std::function<void()> arrange;
    const char* message;
    size_t blankings;  // the pass's own blanking of panes 0-3 (after the checks of state 1), then the failure's
  };
  const Case cases[] = {
      {"1 prepare", [&] {}, "No transmitters are active. At least one must be active.", 1},
      {"2.1 file information", [&] { instr_.SetXmtrOn(0, true); }, "No input file selected.", 2},
      {"3.1 read",
       [&] {
         data_.SetWave(0, Ramp(100, 0.5f), 2e6);
         data_.failRead = true;
       },
       "Error reading the data from an IQ binary file.", 2},
      {"3.2 process",
       [&] {
         data_.failRead = false;
         setChain(badRate);
       },
       "Invalid interpolation rate 11: it must be a positive product of the factors 2, 3, 5 and 7.", 2},
      {"3.3 transmit",
       [&] {
         setChain(plain);
         instr_.failTransmit = true;
       },
       "Error creating transmit buffer.", 2},
  };
  size_t errors = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    c.arrange();
    const int disconnects = instr_.disconnects;
    const size_t textsBefore = sink_.Texts().size();
    engine_->PutMessage(kMsgEngineStart, nullptr);
    ASSERT_TRUE(
        WaitUntil([&] { return instr_.disconnects == disconnects + 1 && shown_.Messages().size() == errors + 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ++errors;
    const auto shown = shown_.Messages();
    ASSERT_EQ(shown.size(), errors);
    EXPECT_EQ(shown.back(), c.message);
    EXPECT_EQ(instr_.disconnects, disconnects + 1);
    EXPECT_EQ(State(), kEngineStateIdle);
    // The pass wrote nothing but blank panes 0-3, the failure blanking them last.
    const auto texts = sink_.Texts();
    ASSERT_EQ(texts.size(), textsBefore + 4 * c.blankings);
    for (size_t k = textsBefore; k < texts.size(); ++k) {
      EXPECT_EQ(texts[k], (std::pair<int, std::wstring>{static_cast<int>((k - textsBefore) % 4), L" "}));
    }
  }
  EXPECT_EQ(instr_.transmits, 0);
  // Everything in order again: the next Start begins at state 1 and transmits.
  instr_.failTransmit = false;
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(WaitIdleAfter(1));
  EXPECT_EQ(shown_.Messages().size(), errors);
  EXPECT_EQ(sink_.Texts().back(), (std::pair<int, std::wstring>{1, L"LAN:test"}));
}

TEST_F(EngineThreadTest, QuickStartsCoalesceIntoOnePass) {
  instr_.SetXmtrOn(0, true);
  data_.SetWave(0, Ramp(10, 0.5f), 2e6);
  instr_.settingsGate.Close();
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(instr_.settingsGate.Entered(5000));
  // The Starts are queued while the first pass still waits for its settings,
  // so it cannot reach its next step before they are there.
  for (int k = 0; k < 3; ++k) engine_->PutMessage(kMsgEngineStart, nullptr);
  instr_.settingsGate.Open();  // later fetches pass at once
  ASSERT_TRUE(WaitIdleAfter(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  // The first pass was restarted before it read anything; the three Starts made one more pass.
  EXPECT_EQ(instr_.settingsRequests, 2);
  EXPECT_EQ(data_.infoRequests, 1);
  EXPECT_EQ(instr_.transmits, 1);
  EXPECT_TRUE(shown_.Messages().empty());
}

TEST_F(EngineThreadTest, AGetWaitingBehindTheContinueTokenIsAnsweredBeforeTheNextStep) {
  instr_.SetXmtrOn(0, true);
  data_.SetWave(0, Ramp(10, 0.5f), 2e6);
  instr_.settingsGate.Close();
  data_.infoGate.Close();
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(instr_.settingsGate.Entered(5000));
  // While the first step runs, a continue token and then a get are queued.
  engine_->PutMessage(kMsgEngineContinue, nullptr);
  auto answer = std::async(std::launch::async, [&] {
    int32_t s = 0;
    engine_->GetParam(&s, kEngineParamState);
    return s;
  });
  ASSERT_TRUE(WaitUntil([&] { return engine_->GetCount() == 2; }));
  instr_.settingsGate.Open();
  // The next step would block in the data manager; the get comes first.
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(answer.get(), kEngineStateFileInfo);
  data_.infoGate.Open();
  ASSERT_TRUE(WaitIdleAfter(1));
}

TEST_F(EngineThreadTest, StopWhileIdleOnlyMarksAndStopDuringAPassDisconnectsAfterIt) {
  instr_.SetXmtrOn(0, true);
  data_.SetWave(0, Ramp(10, 0.5f), 2e6);
  engine_->PutMessage(kMsgEngineStop, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(instr_.settingsRequests, 0);
  EXPECT_EQ(instr_.disconnects, 0);
  // The Start clears the earlier stop request: the pass ends connected.
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(WaitIdleAfter(1));
  EXPECT_EQ(instr_.disconnects, 0);
  // A Stop during the pass lets it finish, then disconnects.
  instr_.settingsGate.Close();
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(instr_.settingsGate.Entered(5000));
  engine_->PutMessage(kMsgEngineStop, nullptr);
  instr_.settingsGate.Open();
  ASSERT_TRUE(WaitIdleAfter(2));
  ASSERT_TRUE(WaitUntil([&] { return instr_.disconnects == 1; }));
  EXPECT_EQ(instr_.dataSets, 2);
}

TEST_F(EngineThreadTest, UnknownIdsFailToTheRequester) {
  int32_t v = 0;
  auto e = Catch([&] { engine_->GetParam(&v, 99); });
  EXPECT_EQ(e.message, "Unknown parameter type.");
  EXPECT_NE(e.callStack.find("CWSorvekEngine::GetParam"), std::string::npos) << e.callStack;
  e = Catch([&] { engine_->SetParam(1, 99); });
  EXPECT_EQ(e.message, "Unknown parameter type.");
  EXPECT_NE(e.callStack.find("CWSorvekEngine::SetParam"), std::string::npos) << e.callStack;
}

// End to end: the real instrument-manager thread and the fake AD9361 board.
class EngineEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("lv_engine_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "AD9361_2Msps.ftr") << "RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n";
    fake_ = std::make_unique<lv_fake::FakeIiod>(lv_fake::ReadBoardFixture("ad9361"));
    fake_->Start();
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_;
  std::unique_ptr<lv_fake::FakeIiod> fake_;
};

TEST_F(EngineEndToEndTest, StartLoadsOneCyclicBufferOfBothTransmittersAndStopDisconnects) {
  ShownErrors shown;
  lv_test::MemoryDataManager data(4);
  CWInstrIIOMultiXcvrMgrThread instr(4, 4);
  lv_test::TestPlotWorker plots[2];
  lv_test::RecordingSink sink;
  ASSERT_TRUE(data.StartUIThread());
  ASSERT_TRUE(instr.StartUIThread());
  for (auto& p : plots) ASSERT_TRUE(p.StartUIThread());
  CWEngineLinks links;
  links.dataManager = &data;
  links.instrumentManager = &instr;
  links.plots.push_back({&plots[0], nullptr, nullptr, nullptr});
  links.plots.push_back({&plots[1], nullptr, nullptr, nullptr});
  CWSorvekEngineThread engine(4, 4, links);
  ASSERT_TRUE(engine.StartUIThread());
  engine.SetParam(static_cast<void*>(static_cast<lv::StatusSink*>(&sink)), kEngineParamStatusBar);

  instr.SetParam(lv::Utf8ToWide(dir_.string()).c_str(), kInstrSetBasebandDir);
  CQInstrIIOMultiXcvrSettings s(4, 4);
  s.SetAllFlags(true);
  s.model = kModelFmcomms3;
  s.rateIndex = 1;  // 2 Msps
  s.connectionType = kConnectionLan;
  s.SetIPAddress(lv::Utf8ToWide(fake_->Address()).c_str());
  s.xmtrCenterFreq = 2.4e9;
  s.rcvrCenterFreq = 1e9;
  s.Xmtr(0).on = true;
  s.Xmtr(1).on = true;
  instr.SetParam(static_cast<void*>(&s), kInstrSetSettings);
  // Both waveforms 2000 samples at the board's 2 Msps, as one shared buffer requires.
  const auto w0 = Ramp(2000, 0.5f);
  std::vector<CQComplex> w1(2000);
  for (int i = 0; i < 2000; ++i) w1[static_cast<size_t>(i)] = CQComplex(-w0[static_cast<size_t>(i)].re, 0.125f);
  data.SetWave(0, w0, 2e6);
  data.SetWave(1, w1, 2e6);

  engine.PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(fake_->WaitForEvent("WRITEBUF", 10000));
  ASSERT_TRUE(WaitUntil([&] {
    int32_t state = 0;
    engine.GetParam(&state, kEngineParamState);
    return state == kEngineStateIdle;
  }));
  // Stop as the main window gives it: the engine marks it, the instrument
  // manager disconnects.
  engine.PutMessage(kMsgEngineStop, nullptr);
  instr.PutMessage(kMsgInstrDisconnect, nullptr);
  const bool exited = fake_->WaitForEvent("EXIT", 10000);
  ASSERT_TRUE(shown.Messages().empty()) << shown.Messages()[0];
  ASSERT_TRUE(exited) << ::testing::PrintToString(fake_->EventStrings());

  const auto writes = fake_->EventStrings({"WRITE"});
  EXPECT_NE(std::find(writes.begin(), writes.end(), "WRITE ad9361-phy DEV filter_fir_config RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n"),
            writes.end())
      << ::testing::PrintToString(writes);
  EXPECT_EQ(fake_->EventStrings({"OPEN"}),
            std::vector<std::string>{"OPEN cf-ad9361-dds-core-lpc 2000 0000000f CYCLIC"});
  const auto pushes = fake_->Pushes("cf-ad9361-dds-core-lpc");
  ASSERT_EQ(pushes.size(), 1u);
  ASSERT_EQ(pushes[0].size(), 2000u * 4 * 2);
  std::vector<int16_t> v(pushes[0].size() / 2);
  std::memcpy(v.data(), pushes[0].data(), pushes[0].size());
  // Largest component 0.5 over both transmitters, 2 dB backoff, truncated.
  const float g = 32767.0f * static_cast<float>(std::pow(10.0, -2.0 / 20));
  auto scaled = [&](float x) { return static_cast<int16_t>(std::trunc(g * (x / 0.5f))); };
  for (size_t k = 0; k < 2000; ++k) {
    ASSERT_EQ(v[4 * k + 0], scaled(w0[k].re)) << k;
    ASSERT_EQ(v[4 * k + 1], scaled(w0[k].im)) << k;
    ASSERT_EQ(v[4 * k + 2], scaled(w1[k].re)) << k;
    ASSERT_EQ(v[4 * k + 3], scaled(w1[k].im)) << k;
  }
  // The description reached pane 1; the plots got the arrays.
  const auto texts = sink.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      std::pair<int, std::wstring>{1, L"LAN:" + lv::Utf8ToWide(fake_->Address())}),
            texts.end());
  for (int k = 0; k < 2; ++k) {
    ASSERT_TRUE(plots[k].WaitComputed(1, 5000));
    const auto got = plots[k].Computed()[0];
    ASSERT_EQ(got.size(), 2000u);
    EXPECT_EQ(got[1999].re, (k == 0 ? w0 : w1)[1999].re);
  }
  engine.StopAndJoin(10000);
}

// The main road with the real threads: the data-manager thread reads two
// .iqbin files, the engine runs the first one's chain (interpolation by 2 and
// a 100 kHz shift) and hands both to the instrument-manager thread, which
// loads one cyclic buffer of the fake AD9361 board at 2 Msps.
TEST_F(EngineEndToEndTest, TwoIqbinFilesGoThroughTheRealThreadsIntoOneCyclicBuffer) {
  ShownErrors shown;
  CWMultiDataMgrThread data;
  CWInstrIIOMultiXcvrMgrThread instr(4, 4);
  lv_test::TestPlotWorker plots[2][4];
  lv_test::RecordingSink sink;
  ASSERT_TRUE(data.StartUIThread());
  ASSERT_TRUE(instr.StartUIThread());
  CWEngineLinks links;
  links.dataManager = &data;
  links.instrumentManager = &instr;
  for (auto& row : plots) {
    for (auto& p : row) ASSERT_TRUE(p.StartUIThread());
    links.plots.push_back({&row[0], &row[1], &row[2], &row[3]});
  }
  CWSorvekEngineThread engine(4, 4, links);
  ASSERT_TRUE(engine.StartUIThread());
  engine.SetParam(static_cast<void*>(static_cast<lv::StatusSink*>(&sink)), kEngineParamStatusBar);

  // Transmitter 1: a 50 kHz tone with a slow ramp, 1000 samples at 1 Msps;
  // transmitter 2: a ramp, 2000 samples at 2 Msps.
  std::vector<CQComplex> w0(1000);
  for (int k = 0; k < 1000; ++k) {
    const double ph = 2 * std::numbers::pi * 5e4 * k / 1e6;
    w0[static_cast<size_t>(k)] = CQComplex(static_cast<float>(0.4 * std::cos(ph) + 1e-4 * k),
                                           static_cast<float>(0.4 * std::sin(ph)));
  }
  const auto w1 = Ramp(2000, 0.3f);
  auto writeIqbin = [&](const char* name, const std::vector<CQComplex>& w, double rate) {
    CQCArrayTD a;
    a.Set(w.data(), static_cast<int>(w.size()), rate, 0.0);
    a.SetCenterFreq(2.4e9);
    const std::wstring path = lv::Utf8ToWide((dir_ / name).string());
    CLumvardBinFile file;
    file.SetFileName(path.c_str());
    file.WriteToFile(&a);
    return path;
  };
  data.SetParam(writeIqbin("first.iqbin", w0, 1e6).c_str(), CWMultiDataMgrThread::kParamFileName, 0);
  data.SetParam(writeIqbin("second.iqbin", w1, 2e6).c_str(), CWMultiDataMgrThread::kParamFileName, 1);

  instr.SetParam(lv::Utf8ToWide(dir_.string()).c_str(), kInstrSetBasebandDir);
  CQInstrIIOMultiXcvrSettings s(4, 4);
  s.SetAllFlags(true);
  s.model = kModelFmcomms3;
  s.rateIndex = 1;  // 2 Msps
  s.connectionType = kConnectionLan;
  s.SetIPAddress(lv::Utf8ToWide(fake_->Address()).c_str());
  s.xmtrCenterFreq = 2.4e9;
  s.rcvrCenterFreq = 1e9;
  s.Xmtr(0).on = true;
  s.Xmtr(1).on = true;
  instr.SetParam(static_cast<void*>(&s), kInstrSetSettings);
  CQSampleRateMgrSettings chain;
  chain.interpolationOn = true;
  chain.interpolationRate = 2;
  chain.freqShiftOn = true;
  chain.freqShift = 1e5;
  engine.SetParam(static_cast<void*>(&chain), kEngineParamProcessing, 0);

  engine.PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(fake_->WaitForEvent("WRITEBUF", 10000)) << ::testing::PrintToString(fake_->EventStrings());
  ASSERT_TRUE(WaitUntil([&] {
    int32_t state = 0;
    engine.GetParam(&state, kEngineParamState);
    return state == kEngineStateIdle;
  }));
  ASSERT_TRUE(shown.Messages().empty()) << shown.Messages()[0];

  // The board's attributes were written before the buffer was opened.
  const auto events = fake_->EventStrings();
  const auto at = [&](const std::string& e) { return std::find(events.begin(), events.end(), e) - events.begin(); };
  const auto open = at("OPEN cf-ad9361-dds-core-lpc 2000 0000000f CYCLIC");
  ASSERT_LT(open, static_cast<long>(events.size())) << ::testing::PrintToString(events);
  for (const std::string w : {"WRITE ad9361-phy DEV filter_fir_config RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n",
                              "WRITE ad9361-phy OUTPUT altvoltage1 frequency 2400000000",
                              "WRITE ad9361-phy OUTPUT voltage0 filter_fir_en 1",
                              "WRITE ad9361-phy OUTPUT voltage1 filter_fir_en 1"}) {
    EXPECT_LT(at(w), open) << w << "\n" << ::testing::PrintToString(events);
  }
  EXPECT_EQ(fake_->EventStrings({"OPEN"}).size(), 1u);

  // The one buffer holds both processed waveforms, each normalised to its
  // peak and scaled with the 2 dB backoff of the AD9361 family, interleaved.
  const auto p0 = lv_test::InterpolatedThenShifted(w0, 1e6, 2, 1e5);
  ASSERT_EQ(p0.size(), 2000u);
  const auto pushes = fake_->Pushes("cf-ad9361-dds-core-lpc");
  ASSERT_EQ(pushes.size(), 1u);
  std::vector<uint8_t> expected(2000u * 8);
  const float gain = DbToAmplitude(-2.0f) * 32767.0f;
  for (int t = 0; t < 2; ++t) {
    std::vector<CQComplex> v = t == 0 ? p0 : w1;
    CQArrayMath::NormalizeToOne(v.data(), 2000);
    ScaleIntoFrames(v.data(), 2000, gain, false, expected.data() + 4 * t, 8);
  }
  ASSERT_EQ(pushes[0].size(), expected.size());
  size_t firstDiff = 0;
  while (firstDiff < expected.size() && pushes[0][firstDiff] == expected[firstDiff]) ++firstDiff;
  EXPECT_EQ(firstDiff, expected.size()) << "first differing byte";
  // Not a trivial buffer: the shifted tone uses most of the 16-bit range.
  int16_t i0 = 0;
  std::memcpy(&i0, pushes[0].data(), 2);
  EXPECT_NE(i0, 0);

  // The connection description reached pane 1; every test plot got its
  // transmitter's processed array.
  const auto texts = sink.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      std::pair<int, std::wstring>{1, L"LAN:" + lv::Utf8ToWide(fake_->Address())}),
            texts.end());
  for (int t = 0; t < 2; ++t) {
    for (auto& p : plots[t]) {
      ASSERT_TRUE(p.WaitComputed(1, 5000)) << t;
      EXPECT_TRUE(SameBits(p.Computed()[0], t == 0 ? p0 : w1)) << t;
    }
  }

  // Stop as the main window gives it: the engine marks it, the instrument
  // manager disconnects. The cancelled cyclic buffer's connection ends (libiio
  // only closes it), then the context says EXIT on its own connection.
  int contextConn = 0, bufferConn = 0;
  for (const auto& e : fake_->Events()) {
    if (e.kind == "PRINT") contextConn = e.connection;
    if (e.kind == "OPEN") bufferConn = e.connection;
  }
  ASSERT_NE(contextConn, bufferConn);
  fake_->ClearEvents();
  engine.PutMessage(kMsgEngineStop, nullptr);
  instr.PutMessage(kMsgInstrDisconnect, nullptr);
  auto ended = [&](const char* kind, int conn) {
    const auto ev = fake_->Events();
    return std::any_of(ev.begin(), ev.end(), [&](const lv_fake::FakeEvent& e) { return e.kind == kind && e.connection == conn; });
  };
  ASSERT_TRUE(WaitUntil([&] { return ended("EOF", bufferConn) && ended("EXIT", contextConn); }, 10000))
      << ::testing::PrintToString(fake_->EventStrings());
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(fake_->EventStrings({"OPEN", "WRITEBUF", "WRITE"}).empty());  // nothing new after Stop
  EXPECT_TRUE(shown.Messages().empty());
  engine.StopAndJoin(10000);
}

}  // namespace
