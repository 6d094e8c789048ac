// The engine's processing chain per transmitter: the settings requests, the
// save and recall of four transmitters' settings, and the processing step of
// the pass, against recording test workers.
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/engine_thread.h"
#include "workers/settings_file.h"
#include "core/processing/sample_rate_mgr_settings.h"
#include "platform/ui_post.h"
#include "tests/app/engine/engine_workers.h"
#include "tests/workers/settings/temp_dir.h"
#include "support/errors.h"
#include "support/bits.h"

namespace {

using lv_test::Catch;
using lv_test::Ramp;
using lv_test::SameBits;
using lv_test::ShownErrors;
using lv_test::WaitUntil;

// Settings that differ in every field between transmitters and from the defaults.
CQSampleRateMgrSettings Distinct(int i) {
  CQSampleRateMgrSettings s;
  s.doFreqShiftFirst = (i % 2) == 1;
  s.interpolationOn = true;
  s.interpolationRate = 2 + i;
  s.decimationOn = i >= 2;
  s.decimationRate = 7 * (i + 1);
  s.arbResampleOn = i == 3;
  s.outputSampleRate = 1.2345678912e6 * (i + 1);
  s.freqShiftOn = i != 2;
  s.freqShift = -12345.678901234 * (i + 1);
  s.timeShiftOn = i == 1;
  s.timeDelay = 1.2345678e-7 * (i + 1);
  s.phaseAdjustOn = i == 0;
  s.phaseDeg = 12.5f * static_cast<float>(i + 1);
  s.filterOn = i != 1;
  s.filterType = 2 * (i + 1);
  s.gainAdjustOn = true;
  s.gainDb = -3.25f * static_cast<float>(i + 1);
  s.noiseOn = i == 2;
  s.noiseLevel = -120.5f + static_cast<float>(i);
  s.samplesLimitOn = i == 3;
  s.maxSamples = 1000 * (i + 1);
  return s;
}

// The engine thread with a recording instrument manager, a data manager
// serving memory waveforms and one time-domain test plot per transmitter.
class EngineProcessingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousUi_ = lv::SetUiPostTarget(&ui_);
    ASSERT_TRUE(data_.StartUIThread());
    ASSERT_TRUE(instr_.StartUIThread());
    CWEngineLinks links;
    links.dataManager = &data_;
    links.instrumentManager = &instr_;
    for (auto& p : plots_) {
      ASSERT_TRUE(p.StartUIThread());
      links.plots.push_back({&p, nullptr, nullptr, nullptr});
    }
    links_ = links;
    engine_ = std::make_unique<CWSorvekEngineThread>(4, 4, links);
    ASSERT_TRUE(engine_->StartUIThread());
  }
  void TearDown() override {
    data_.infoGate.Open();
    engine_->StopAndJoin(10000);
    lv::SetUiPostTarget(previousUi_);
  }

  void SetProcessing(CWSorvekEngineThread& engine, const CQSampleRateMgrSettings& s, int i) {
    CQSampleRateMgrSettings copy = s;
    engine.SetParam(static_cast<void*>(&copy), kEngineParamProcessing, i);
  }
  CQSampleRateMgrSettings GetProcessing(CWSorvekEngineThread& engine, int i) {
    void* p = nullptr;
    engine.GetParam(&p, kEngineParamProcessing, i);
    std::unique_ptr<CQSampleRateMgrSettings> owned(static_cast<CQSampleRateMgrSettings*>(p));
    EXPECT_NE(owned, nullptr);
    return owned ? *owned : CQSampleRateMgrSettings{};
  }
  // Waits for the window message id from sender.
  bool WaitForUi(uint32_t id, const void* sender) {
    bool seen = false;
    for (int k = 0; k < 100 && !seen; ++k) {
      ui_.RunOne([&](const lv::UiMessage& m) { seen = seen || (m.id == id && m.sender == sender); }, 100);
    }
    return seen;
  }
  int32_t State() {
    int32_t s = 0;
    engine_->GetParam(&s, kEngineParamState);
    return s;
  }
  bool RunPass(int transmits) {
    engine_->PutMessage(kMsgEngineStart, nullptr);
    return WaitUntil([&] { return instr_.transmits >= transmits && State() == kEngineStateIdle; });
  }

  lv::HeadlessUiLoop ui_;
  lv::UiPostTarget* previousUi_ = nullptr;
  ShownErrors shown_;
  lv_test::MemoryDataManager data_{4};
  lv_test::RecordingInstrument instr_;
  lv_test::TestPlotWorker plots_[4];
  CWEngineLinks links_;
  std::unique_ptr<CWSorvekEngineThread> engine_;
  lv_test::TempDir dir_;
};

TEST_F(EngineProcessingTest, FourTransmittersSaveUnderTheirOwnPrefixAndRecallIntoAnotherEngine) {
  for (int i = 0; i < 4; ++i) SetProcessing(*engine_, Distinct(i), i);
  CQAppSettings store;
  store.SetFileName(dir_.Path() / "settings.txt");
  store.ResetContents();
  engine_->PutMessage(kMsgSaveSettings, &store);
  ASSERT_TRUE(WaitForUi(kWmWorkerSaved, engine_.get()));

  // Transmitter 1 writes under "Xmtr:0:", transmitter 4 under "Xmtr:3:".
  const std::string text = lv_test::ReadBytes(dir_.Path() / "settings.txt");
  EXPECT_NE(text.find("\r\nXmtr:0:SampleRateMgr:Interpolation rate = 2\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nXmtr:3:SampleRateMgr:Interpolation rate = 5\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Xmtr:4:"), std::string::npos);

  CWSorvekEngineThread other(4, 4, links_);
  ASSERT_TRUE(other.StartUIThread());
  other.PutMessage(kMsgRecallSettings, &store);
  ASSERT_TRUE(WaitForUi(kWmWorkerRecalled, &other));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(GetProcessing(other, i), Distinct(i)) << i;
  EXPECT_TRUE(shown_.Messages().empty());
  other.StopAndJoin(10000);
}

TEST_F(EngineProcessingTest, AKeyMissingOnRecallKeepsThatTransmittersOwnValue) {
  for (int i = 0; i < 4; ++i) SetProcessing(*engine_, Distinct(i), i);
  CQAppSettings store;
  const auto path = dir_.Path() / "settings.txt";
  store.SetFileName(path);
  store.ResetContents();
  engine_->PutMessage(kMsgSaveSettings, &store);
  ASSERT_TRUE(WaitForUi(kWmWorkerSaved, engine_.get()));
  // Drop transmitter 3's gain and every key of transmitter 4.
  std::istringstream in(lv_test::ReadBytes(path));
  std::string kept, line;
  while (std::getline(in, line)) {
    if (line.rfind("Xmtr:2:SampleRateMgr:Gain (dB) = ", 0) == 0 || line.rfind("Xmtr:3:", 0) == 0) continue;
    kept += line + "\n";
  }
  lv_test::WriteBytes(path, kept);

  CWSorvekEngineThread other(4, 4, links_);
  ASSERT_TRUE(other.StartUIThread());
  CQSampleRateMgrSettings own2 = Distinct(0);
  own2.gainDb = 7.5f;
  CQSampleRateMgrSettings own3;
  own3.interpolationOn = true;
  own3.interpolationRate = 35;
  own3.freqShift = 4.5e5;
  SetProcessing(other, own2, 2);
  SetProcessing(other, own3, 3);
  other.PutMessage(kMsgRecallSettings, &store);
  ASSERT_TRUE(WaitForUi(kWmWorkerRecalled, &other));
  CQSampleRateMgrSettings expected2 = Distinct(2);
  expected2.gainDb = 7.5f;
  EXPECT_EQ(GetProcessing(other, 0), Distinct(0));
  EXPECT_EQ(GetProcessing(other, 1), Distinct(1));
  EXPECT_EQ(GetProcessing(other, 2), expected2);
  EXPECT_EQ(GetProcessing(other, 3), own3);
  other.StopAndJoin(10000);
}

TEST_F(EngineProcessingTest, AGetAnswersACopyTheRequesterOwns) {
  SetProcessing(*engine_, Distinct(1), 1);
  void* first = nullptr;
  engine_->GetParam(&first, kEngineParamProcessing, 1);
  std::unique_ptr<CQSampleRateMgrSettings> a(static_cast<CQSampleRateMgrSettings*>(first));
  ASSERT_NE(a, nullptr);
  a->gainDb = 99.0f;  // the requester's copy only
  void* second = nullptr;
  engine_->GetParam(&second, kEngineParamProcessing, 1);
  std::unique_ptr<CQSampleRateMgrSettings> b(static_cast<CQSampleRateMgrSettings*>(second));
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(*b, Distinct(1));
  EXPECT_EQ(GetProcessing(*engine_, 0), GetProcessing(*engine_, 3));  // the others untouched
}

TEST_F(EngineProcessingTest, BadIndicesAndANullRecordFailToTheRequester) {
  struct Case {
    bool get;
    int index;
    bool nullRecord;
    const char* message;
    const char* where;
  };
  const Case cases[] = {
      {true, -1, false, "Invalid transmitter index.", "CWSorvekEngine::GetParam"},
      {true, 4, false, "Invalid transmitter index.", "CWSorvekEngine::GetParam"},
      {false, -1, false, "Invalid transmitter index.", "CWSorvekEngine::SetParam"},
      {false, 4, false, "Invalid transmitter index.", "CWSorvekEngine::SetParam"},
      {false, 0, true, "Null pointer to input data.", "CWSorvekEngine::SetParam"},
  };
  CQSampleRateMgrSettings s = Distinct(2);
  for (const Case& c : cases) {
    auto e = Catch([&] {
      if (c.get) {
        void* p = nullptr;
        engine_->GetParam(&p, kEngineParamProcessing, c.index);
      } else {
        engine_->SetParam(c.nullRecord ? nullptr : static_cast<void*>(&s), kEngineParamProcessing, c.index);
      }
    });
    EXPECT_EQ(e.message, c.message) << c.index;
    EXPECT_NE(e.callStack.find(c.where), std::string::npos) << e.callStack;
  }
  EXPECT_EQ(GetProcessing(*engine_, 0), GetProcessing(*engine_, 1));  // nothing was set
}

TEST_F(EngineProcessingTest, ThePassProcessesEachActiveTransmitterAndHandsTheResultOn) {
  instr_.SetXmtrOn(0, true);
  instr_.SetXmtrOn(1, true);
  const auto w0 = Ramp(100, 0.5f);
  const auto w1 = Ramp(200, 0.25f);
  data_.SetWave(0, w0, 1e6);
  data_.SetWave(1, w1, 2e6);
  CQSampleRateMgrSettings s;
  s.interpolationOn = true;
  s.interpolationRate = 2;
  s.freqShiftOn = true;
  s.freqShift = 1e5;
  SetProcessing(*engine_, s, 0);
  ASSERT_TRUE(RunPass(1));
  ASSERT_TRUE(plots_[0].WaitComputed(1, 5000));
  ASSERT_TRUE(plots_[1].WaitComputed(1, 5000));
  const auto expected = lv_test::InterpolatedThenShifted(w0, 1e6, 2, 1e5);
  ASSERT_EQ(expected.size(), 200u);
  EXPECT_TRUE(SameBits(plots_[0].Computed()[0], expected));
  EXPECT_TRUE(SameBits(plots_[1].Computed()[0], w1));  // no processing: as read
  EXPECT_EQ(instr_.dataSets, 2);
  // A second Start processes the new data again: the same result.
  ASSERT_TRUE(RunPass(2));
  ASSERT_TRUE(plots_[0].WaitComputed(2, 5000));
  EXPECT_TRUE(SameBits(plots_[0].Computed()[1], expected));
  EXPECT_TRUE(shown_.Messages().empty());
}

TEST_F(EngineProcessingTest, ARecalledFrequencyShiftFirstIsClearedAtTheNextStart) {
  instr_.SetXmtrOn(0, true);
  const auto w0 = Ramp(100, 0.5f);
  data_.SetWave(0, w0, 1e6);
  CQSampleRateMgrSettings s;
  s.doFreqShiftFirst = true;
  s.interpolationOn = true;
  s.interpolationRate = 2;
  s.freqShiftOn = true;
  s.freqShift = 1e5;
  SetProcessing(*engine_, s, 0);
  ASSERT_TRUE(RunPass(1));
  EXPECT_FALSE(GetProcessing(*engine_, 0).doFreqShiftFirst);
  ASSERT_TRUE(plots_[0].WaitComputed(1, 5000));
  EXPECT_TRUE(SameBits(plots_[0].Computed()[0], lv_test::InterpolatedThenShifted(w0, 1e6, 2, 1e5)));
}

TEST_F(EngineProcessingTest, ASettingsChangeWhileThePassWaitsIsAnsweredAndUsedInThatPass) {
  instr_.SetXmtrOn(0, true);
  const auto w0 = Ramp(100, 0.5f);
  data_.SetWave(0, w0, 1e6);
  data_.infoGate.Close();
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(data_.infoGate.Entered(5000));  // step 2.1 waits in the data manager
  CQSampleRateMgrSettings s;
  s.interpolationOn = true;
  s.interpolationRate = 2;
  s.freqShiftOn = true;
  s.freqShift = 1e5;
  auto answered = std::async(std::launch::async, [&] { SetProcessing(*engine_, s, 0); });
  ASSERT_TRUE(WaitUntil([&] { return engine_->GetCount() == 1; }));
  data_.infoGate.Open();
  ASSERT_EQ(answered.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  answered.get();
  ASSERT_TRUE(WaitUntil([&] { return instr_.transmits >= 1 && State() == kEngineStateIdle; }));
  ASSERT_TRUE(plots_[0].WaitComputed(1, 5000));
  EXPECT_TRUE(SameBits(plots_[0].Computed()[0], lv_test::InterpolatedThenShifted(w0, 1e6, 2, 1e5)));
}

TEST_F(EngineProcessingTest, AChainThatFailsEndsThePassOnceAndKeepsTheSettings) {
  instr_.SetXmtrOn(0, true);
  data_.SetWave(0, Ramp(100, 0.5f), 1e6);
  CQSampleRateMgrSettings s;
  s.interpolationOn = true;
  s.interpolationRate = 11;
  SetProcessing(*engine_, s, 0);
  engine_->PutMessage(kMsgEngineStart, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return instr_.disconnects == 1 && !shown_.Messages().empty(); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(shown_.Messages(), std::vector<std::string>{
                                   "Invalid interpolation rate 11: it must be a positive product of the factors 2, 3, 5 and 7."});
  EXPECT_EQ(State(), kEngineStateIdle);
  EXPECT_EQ(data_.readRequests, 1);
  EXPECT_EQ(instr_.dataSets, 0);
  EXPECT_EQ(instr_.transmits, 0);
  EXPECT_TRUE(plots_[0].Computed().empty());
  EXPECT_EQ(GetProcessing(*engine_, 0), s);
}

}  // namespace
