// The AD9081 single-file dialog against the instrument-manager and
// data-manager threads and a stand-in for the engine's processing records.
#include <algorithm>
#include <array>
#include <cwchar>
#include <mutex>

#include "core/processing/sample_rate_mgr_settings.h"
#include "platform/gui/gui_runtime.h"
#include "sheet_fixture.h"
#include "xcvr/gui/ad9081_single_file_dlg.h"

namespace {

using lv::DialogStep;

std::wstring Three(double v) {
  wchar_t b[64];
  std::swprintf(b, 64, L"%.3lf", v);
  return b;
}

// Holds four processing records and answers the engine's get and set 3 as
// the engine does: a get hands out a copy, a set copies.
class ProcessingStandIn : public CWUIThread {
 public:
  CQSampleRateMgrSettings Record(int k) {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_.at(static_cast<size_t>(k));
  }
  void SetRecord(int k, const CQSampleRateMgrSettings& s) {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.at(static_cast<size_t>(k)) = s;
  }

 protected:
  void OnMsgGetParam(CWGetSetData& r) override {
    if (r.paramId != kAD9081DlgEngineProcessingParam || r.index < 0 || r.index > 3) {
      throw new CQError("Unknown parameter type.");
    }
    r.SetPointer(new CQSampleRateMgrSettings(Record(r.index)));
  }
  void OnMsgSetParam(CWGetSetData& r) override {
    if (r.paramId != kAD9081DlgEngineProcessingParam || r.index < 0 || r.index > 3) {
      throw new CQError("Unknown parameter type.");
    }
    SetRecord(r.index, *static_cast<const CQSampleRateMgrSettings*>(r.pointerValue));
  }

 private:
  std::mutex mutex_;
  std::array<CQSampleRateMgrSettings, 4> records_;
};

class AD9081DialogTest : public lv_test::BoardDialogFixture {
 protected:
  void SetUp() override {
    BoardDialogFixture::SetUp();
    ASSERT_TRUE(engine_.StartUIThread());
    // Every step on, every value away from its default.
    for (int k = 0; k < 4; ++k) {
      CQSampleRateMgrSettings s;
      s.doFreqShiftFirst = true;
      s.interpolationOn = s.decimationOn = s.arbResampleOn = s.freqShiftOn = true;
      s.filterOn = s.noiseOn = s.samplesLimitOn = true;
      s.interpolationRate = 4;
      s.freqShift = 1e6;
      s.timeShiftOn = k == 1;
      s.timeDelay = 2e-9 * (k + 1);
      s.phaseAdjustOn = false;
      s.phaseDeg = 10.0f * static_cast<float>(k);
      s.gainAdjustOn = k == 3;
      s.gainDb = -1.5f;
      s.maxSamples = 777;
      engine_.SetRecord(k, s);
    }
    CQInstrIIOMultiXcvrSettings s(4, 4);
    s.SetAllFlags(true);
    s.model = kModelAd9081;
    s.rateIndex = 400;
    s.xmtrCenterFreq = 5e9;
    s.SetIPAddress(L"10.0.0.2");
    for (int k = 0; k < 4; ++k) {
      s.Xmtr(k).on = k == 3;
      s.Xmtr(k).centerFreq = 50e6 * (k + 1);
      s.Xmtr(k).attenuation = k;
      s.Xmtr(k).phase = 2.0f;
    }
    SetSettings(s);
    dlg_ = std::make_unique<CWSorvekInstrAD9081Dlg>(&instr_, &data_, &engine_);
    ASSERT_TRUE(dlg_->Create());
  }
  void TearDown() override {
    dlg_.reset();
    engine_.StopAndJoin(10000);
    BoardDialogFixture::TearDown();
  }
  bool Type(int id, const std::wstring& text) { return lv::RunDialogStep(*dlg_, DialogStep::Type(id, text)); }
  bool Tick(int id, int state) { return lv::RunDialogStep(*dlg_, DialogStep::Check(id, state)); }
  bool Click(int id) { return lv::RunDialogStep(*dlg_, DialogStep::Click(id)); }
  bool Active(int k) {
    bool on = false;
    data_.GetParam(&on, CWMultiDataMgrThread::kParamActive, k);
    return on;
  }

  ProcessingStandIn engine_;
  std::unique_ptr<CWSorvekInstrAD9081Dlg> dlg_;
};

TEST_F(AD9081DialogTest, ShowingReadsTheThreeOwners) {
  const std::wstring file = WriteWv("dac.wv", 1000, 1e6);
  data_.SetParam(file.c_str(), CWMultiDataMgrThread::kParamFileName, 2);
  dlg_->ShowWindow(true);
  ASSERT_TRUE(dlg_->IsVisible());
  EXPECT_EQ(dlg_->GetCaption(), L"AD9081 Single File");
  EXPECT_EQ(dlg_->GetItemText(kIdcAD9081DlgFileName), file);
  EXPECT_EQ(dlg_->GetItemText(kIdcAD9081DlgTotalTime), L"1");
  EXPECT_EQ(dlg_->GetItemText(kIdcAD9081DlgTotalTimeUnits), L"msec");
  EXPECT_EQ(dlg_->GetItemText(kIdcAD9081DlgPoints), L"1,000");
  EXPECT_EQ(dlg_->GetItemText(kIdcAD9081DlgSampleRate), L"1");
  EXPECT_EQ(dlg_->GetItemText(kIdcAD9081DlgSampleRateUnits), L"Msps");
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    const CQAD9081DacIds& d = AD9081DacIds(k);
    EXPECT_EQ(dlg_->GetCheck(d.use), k == 3 ? lv::kChecked : lv::kUnchecked);
    EXPECT_EQ(dlg_->GetItemText(d.centerFreq), Three(50.0 * (k + 1)));
    EXPECT_EQ(dlg_->GetItemText(d.timeDelay), Three(2.0 * (k + 1)));
    // The stored flags, although writing the texts ticked every box.
    EXPECT_EQ(dlg_->GetCheck(d.shiftTime), k == 1 ? lv::kChecked : lv::kUnchecked);
    EXPECT_EQ(dlg_->GetCheck(d.rotatePhase), lv::kUnchecked);
    EXPECT_EQ(dlg_->GetCheck(d.applyGain), k == 3 ? lv::kChecked : lv::kUnchecked);
    EXPECT_EQ(dlg_->GetItemText(d.gain), L"-1.500");
  }
  EXPECT_TRUE(shown_.empty());
}

TEST_F(AD9081DialogTest, ApplyWritesTheUsedDacsAndKeepsTheRest) {
  const std::wstring file = WriteIqbin("one.iqbin", 500, 1e6);
  const std::wstring other = WriteIqbin("other.iqbin", 10, 1e6);
  data_.SetParam(other.c_str(), CWMultiDataMgrThread::kParamFileName, 1);
  dlg_->ShowWindow(true);
  lv::test_hooks::PushFileAnswer(file);
  ASSERT_TRUE(Click(kIdcAD9081DlgBrowse));
  EXPECT_EQ(dlg_->GetItemText(kIdcAD9081DlgFileName), file);
  EXPECT_EQ(dlg_->GetItemText(kIdcAD9081DlgPoints), L"500");
  const CQAD9081DacIds& d0 = AD9081DacIds(0);
  const CQAD9081DacIds& d1 = AD9081DacIds(1);
  const CQAD9081DacIds& d2 = AD9081DacIds(2);
  ASSERT_TRUE(Tick(d0.use, lv::kChecked));
  ASSERT_TRUE(Tick(d2.use, lv::kChecked));
  ASSERT_TRUE(Tick(AD9081DacIds(3).use, lv::kUnchecked));
  ASSERT_TRUE(Type(d0.centerFreq, L"100"));
  ASSERT_TRUE(Type(d2.centerFreq, L"not a number"));
  ASSERT_TRUE(Type(d0.timeDelay, L"5"));  // ticks "Shift Time"
  EXPECT_EQ(dlg_->GetCheck(d0.shiftTime), lv::kChecked);
  ASSERT_TRUE(Type(d2.gain, L"-3"));      // ticks "Apply Gain"
  EXPECT_EQ(dlg_->GetCheck(d2.applyGain), lv::kChecked);
  ASSERT_TRUE(Type(d2.timeDelay, L"7"));
  ASSERT_TRUE(Tick(d2.shiftTime, lv::kUnchecked));
  ASSERT_TRUE(Type(d1.phase, L"45"));     // DAC 1 is not used
  ASSERT_TRUE(Click(kIdcAD9081DlgApply));
  EXPECT_TRUE(dlg_->IsVisible());
  EXPECT_TRUE(shown_.empty()) << lv::WideToUtf8(shown_.empty() ? L"" : shown_[0].message);

  // Data manager: the used DACs play the file; the others are inactive with
  // their names unchanged.
  EXPECT_EQ(FileNameOf(0), file);
  EXPECT_EQ(FileNameOf(2), file);
  EXPECT_EQ(FileNameOf(1), other);
  EXPECT_EQ(FileNameOf(3), L"");
  EXPECT_TRUE(Active(0));
  EXPECT_FALSE(Active(1));
  EXPECT_TRUE(Active(2));
  EXPECT_FALSE(Active(3));
  // Transceiver settings: a copy of the live ones with only the DACs changed.
  const auto s = Settings();
  EXPECT_TRUE(s->Xmtr(0).on && s->Xmtr(2).on);
  EXPECT_FALSE(s->Xmtr(1).on || s->Xmtr(3).on);
  EXPECT_DOUBLE_EQ(s->Xmtr(0).centerFreq, 100e6);
  EXPECT_DOUBLE_EQ(s->Xmtr(2).centerFreq, 150e6);  // not a number: kept
  EXPECT_DOUBLE_EQ(s->Xmtr(1).centerFreq, 100e6);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(s->Xmtr(k).attenuation, k);
    EXPECT_FLOAT_EQ(s->Xmtr(k).phase, 2.0f);
  }
  EXPECT_EQ(s->model, kModelAd9081);
  EXPECT_EQ(s->rateIndex, 400);
  EXPECT_DOUBLE_EQ(s->xmtrCenterFreq, 5e9);
  EXPECT_EQ(std::wstring(s->GetIPAddress()), L"10.0.0.2");
  // Processing: every rate, shift, filter, noise and limit step off; the
  // values stay; the dialog's three steps as ticked.
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    const CQSampleRateMgrSettings p = engine_.Record(k);
    EXPECT_FALSE(p.interpolationOn || p.decimationOn || p.arbResampleOn || p.freqShiftOn || p.filterOn ||
                 p.noiseOn || p.samplesLimitOn);
    EXPECT_TRUE(p.doFreqShiftFirst);
    EXPECT_EQ(p.interpolationRate, 4);
    EXPECT_EQ(p.maxSamples, 777);
    EXPECT_DOUBLE_EQ(p.freqShift, 1e6);
  }
  EXPECT_TRUE(engine_.Record(0).timeShiftOn);
  EXPECT_DOUBLE_EQ(engine_.Record(0).timeDelay, 5e-9);
  EXPECT_FALSE(engine_.Record(2).timeShiftOn);
  EXPECT_DOUBLE_EQ(engine_.Record(2).timeDelay, 6e-9);  // unticked: the engine's value
  EXPECT_TRUE(engine_.Record(2).gainAdjustOn);
  EXPECT_FLOAT_EQ(engine_.Record(2).gainDb, -3.0f);
  // An unused DAC gets its record back with every step off.
  EXPECT_FALSE(engine_.Record(1).phaseAdjustOn);
  EXPECT_FLOAT_EQ(engine_.Record(1).phaseDeg, 10.0f);
  EXPECT_FALSE(engine_.Record(1).timeShiftOn);
  EXPECT_FALSE(engine_.Record(3).gainAdjustOn);
}

TEST_F(AD9081DialogTest, CloseSendsNothingAndApplyAndCloseHides) {
  int fronts = 0;
  dlg_->SetBringOwnerToFront([&] { ++fronts; });
  for (const DialogStep& close : {DialogStep::Click(kIdcAD9081DlgClose), DialogStep::Escape(), DialogStep::CloseBox()}) {
    dlg_->ShowWindow(true);
    ASSERT_TRUE(Tick(AD9081DacIds(0).use, lv::kChecked));
    ASSERT_TRUE(Type(AD9081DacIds(0).centerFreq, L"321"));
    ASSERT_TRUE(lv::RunDialogStep(*dlg_, close));
    EXPECT_FALSE(dlg_->IsVisible());
  }
  EXPECT_EQ(fronts, 3);
  EXPECT_FALSE(Settings()->Xmtr(0).on);
  EXPECT_FALSE(Active(0));
  // Showing again brings back the live state (DAC 3 used, DAC 0 not).
  dlg_->ShowWindow(true);
  EXPECT_EQ(dlg_->GetCheck(AD9081DacIds(0).use), lv::kUnchecked);
  EXPECT_EQ(dlg_->GetItemText(AD9081DacIds(0).centerFreq), L"50.000");
  ASSERT_TRUE(Type(AD9081DacIds(3).centerFreq, L"321"));
  ASSERT_TRUE(Click(kIdcAD9081DlgApplyAndClose));
  EXPECT_FALSE(dlg_->IsVisible());
  EXPECT_EQ(fronts, 4);
  EXPECT_DOUBLE_EQ(Settings()->Xmtr(3).centerFreq, 321e6);
}

TEST_F(AD9081DialogTest, TooFewTransmitters) {
  CWSorvekInstrAD9081Dlg small(&instr_, &data_, &engine_, 2, 2);
  ASSERT_TRUE(small.Create());
  small.ShowWindow(true);
  ASSERT_TRUE(lv::RunDialogStep(small, DialogStep::Click(kIdcAD9081DlgApply)));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].message, L"Incompatible number of transmitter channels.");
  EXPECT_NE(shown_[0].callStack.find("CWSorvekInstrAD9081Dlg::OnApplyButton"), std::string::npos);
}

TEST_F(AD9081DialogTest, Template139) {
  const lv::DialogTemplate t = AD9081SingleFileTemplate();
  EXPECT_EQ(t.name, "139");
  EXPECT_EQ(t.width, 561);
  EXPECT_EQ(t.height, 266);
  const struct {
    int id;
    lv::ControlKind kind;
    const wchar_t* text;
  } fixed[] = {
      {1363, lv::ControlKind::kEdit, L""},           {1364, lv::ControlKind::kPushButton, L"Browse"},
      {1365, lv::ControlKind::kEdit, L""},           {1366, lv::ControlKind::kStaticText, L""},
      {1367, lv::ControlKind::kEdit, L""},           {1368, lv::ControlKind::kEdit, L""},
      {1369, lv::ControlKind::kStaticText, L""},     {1399, lv::ControlKind::kPushButton, L"Apply and Close"},
      {1397, lv::ControlKind::kDefPushButton, L"Apply"}, {1398, lv::ControlKind::kPushButton, L"Close"},
  };
  for (const auto& f : fixed) {
    const lv::ControlTemplate* c = lv::FindControl(t, f.id);
    ASSERT_NE(c, nullptr) << f.id;
    EXPECT_EQ(c->kind, f.kind) << f.id;
    EXPECT_EQ(c->text, f.text) << f.id;
  }
  const int table[4][8] = {{1354, 1355, 1357, 1358, 1359, 1360, 1361, 1362},
                           {1370, 1371, 1374, 1373, 1376, 1375, 1378, 1377},
                           {1379, 1380, 1383, 1382, 1385, 1384, 1387, 1386},
                           {1388, 1389, 1392, 1391, 1394, 1393, 1396, 1395}};
  int previousX = -1;
  for (int k = 0; k < 4; ++k) {
    const std::wstring use = L"Use DAC " + std::to_wstring(k);
    const lv::ControlKind kinds[8] = {lv::ControlKind::kCheckBox, lv::ControlKind::kEdit, lv::ControlKind::kCheckBox,
                                      lv::ControlKind::kEdit,     lv::ControlKind::kCheckBox, lv::ControlKind::kEdit,
                                      lv::ControlKind::kCheckBox, lv::ControlKind::kEdit};
    const wchar_t* texts[8] = {use.c_str(), L"", L"Shift Time", L"", L"Rotate Phase", L"", L"Apply Gain", L""};
    for (int i = 0; i < 8; ++i) {
      const lv::ControlTemplate* c = lv::FindControl(t, table[k][i]);
      ASSERT_NE(c, nullptr) << table[k][i];
      EXPECT_EQ(c->kind, kinds[i]) << table[k][i];
      EXPECT_EQ(c->text, texts[i]) << table[k][i];
      EXPECT_LE(c->x + c->w, t.width - 5);
      EXPECT_LE(c->y + c->h, t.height - 5);
    }
    // The groups stand side by side, DAC 0 on the left.
    const lv::ControlTemplate* use0 = lv::FindControl(t, table[k][0]);
    EXPECT_GT(use0->x, previousX);
    previousX = use0->x;
    const CQAD9081DacIds& d = AD9081DacIds(k);
    EXPECT_EQ(d.use, table[k][0]);
    EXPECT_EQ(d.gain, table[k][7]);
  }
  std::vector<std::wstring> labels;
  for (const lv::ControlTemplate& c : t.controls) {
    if (c.id == -1) labels.push_back(c.text);
  }
  for (const wchar_t* l : {L"File Name", L"File Contents", L"Total Time", L"Number of Points", L"Sample Rate", L"DAC 0",
                           L"DAC 3", L"Center Freq (MHz)", L"Time Delay (nsec)", L"Phase (Deg)", L"Gain (dB)"}) {
    EXPECT_NE(std::find(labels.begin(), labels.end(), l), labels.end()) << lv::WideToUtf8(l);
  }
}

TEST_F(AD9081DialogTest, Gallery) {
  const std::wstring file = WriteIqbin("gallery.iqbin", 1000000, 2e6);
  data_.SetParam(file.c_str(), CWMultiDataMgrThread::kParamFileName, 0);
  dlg_->ShowWindow(true);
  const std::string path = lv_test::GalleryFolder("board_sheets") + "/ad9081_single_file.png";
  std::filesystem::remove(path);
  ASSERT_TRUE(lv::SaveDialogPng(*dlg_, path));
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
