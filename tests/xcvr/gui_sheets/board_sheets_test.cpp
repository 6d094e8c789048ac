// The five board settings sheets against the instrument-manager and
// data-manager threads; the AD9361 sheet end to end against the fake board.
#include <algorithm>
#include <fstream>

#include "fakes/fake_iiod.h"
#include "platform/gui/popup_menu.h"
#include "support/errors.h"
#include "sheet_fixture.h"
#include "xcvr/gui/board_sheets.h"

namespace {

using lv::DialogStep;

class BoardSheetTest : public lv_test::BoardDialogFixture {
 protected:
  void TearDown() override {
    sheet_.reset();
    BoardDialogFixture::TearDown();
  }
  // Live settings for a model: every group flagged, every field away from
  // its default so that what OK keeps can be seen.
  void Store(int32_t model, int32_t rate) {
    CQInstrIIOMultiXcvrSettings s(4, 4);
    s.SetAllFlags(true);
    s.model = model;
    s.rateIndex = rate;
    s.xmtrCenterFreq = 2.4e9;
    s.rcvrCenterFreq = 1.8e9;
    s.rcvrNumSamples = 4096;
    s.SetIPAddress(L"192.168.2.1");
    for (int i = 0; i < 4; ++i) {
      s.Xmtr(i).on = i < 2;
      s.Xmtr(i).attenuation = 10 + i;
      s.Xmtr(i).phase = 1.5f * static_cast<float>(i);
      s.Xmtr(i).centerFreq = 100e6 * (i + 1);
      s.Rcvr(i).gain = 20 + i;
    }
    SetSettings(s);
  }
  template <typename Sheet>
  Sheet& Make() {
    auto sheet = std::make_unique<Sheet>(&instr_, &data_);
    Sheet& ref = *sheet;
    sheet_ = std::move(sheet);
    EXPECT_TRUE(sheet_->Create());
    return ref;
  }
  CWSorvekInstrCommonPage& Common() { return *sheet_->CommonPage(); }
  bool Type(lv::Dialog& page, int id, const std::wstring& text) {
    return lv::RunDialogStep(page, DialogStep::Type(id, text));
  }
  bool Press(int id) { return lv::RunSheetStep(*sheet_, DialogStep::Click(id)); }
  bool Pick(int id, int entry) { return lv::RunDialogStep(Common(), DialogStep::Pick(id, entry)); }

  std::unique_ptr<CWSorvekInstrBoardSheet> sheet_;
};

TEST_F(BoardSheetTest, EachSheetHasItsCaptionTabsAndList) {
  struct Case {
    std::function<void()> make;
    const wchar_t* caption;
    std::vector<std::wstring> tabs;
    std::vector<std::wstring> entries;
  };
  const Case cases[] = {
      {[&] { Make<CWSorvekInstrAD9081Sheet>(); }, L"AD9081 Control", {L"All", L"Xmtr 1", L"Xmtr 2", L"Xmtr 3", L"Xmtr 4"},
       {L"250 Msps"}},
      {[&] { Make<CWSorvekInstrAD9082Sheet>(); }, L"AD9082 Control", {L"All", L"Xmtr 1", L"Xmtr 2"},
       {L"1.5 Gsps", L"1.47456 Gsps"}},
      {[&] { Make<CWSorvekInstrAD9361Sheet>(); }, L"AD9361 (and PLUTO) Control", {L"Common", L"Xmtr 1", L"Xmtr 2"},
       {L"2 Msps", L"5 Msps", L"8 Msps", L"10 Msps", L"12 Msps", L"14 Msps", L"20 Msps", L"24 Msps", L"25 Msps",
        L"28 Msps", L"30 Msps", L"40 Msps", L"50 Msps", L"LTE 10: 15.36 Msps", L"LTE 20: 30.72 Msps",
        L"GSM: 1.625 Msps", L"GSM: 3.25 Msps", L"GSM: 6.5 Msps", L"WLAN: 20 Msps", L"DOCSIS: 15.170823 Msps",
        L"DOCSIS: 16.081611 Msps"}},
      {[&] { Make<CWSorvekInstrAD9371Sheet>(); }, L"AD9371 Control", {L"Common", L"Xmtr 1", L"Xmtr 2"},
       {L"Boot config"}},
      {[&] { Make<CWSorvekInstrADRV9009Sheet>(); }, L"ADRV9009 Control", {L"All", L"Xmtr 1", L"Xmtr 2"},
       {L"ZCU102 boot config", L"ZC706 boot config"}},
  };
  for (const Case& c : cases) {
    c.make();
    SCOPED_TRACE(lv::WideToUtf8(c.caption));
    EXPECT_FALSE(sheet_->IsVisible());
    EXPECT_EQ(sheet_->GetCaption(), c.caption);
    ASSERT_EQ(sheet_->GetPageCount(), static_cast<int>(c.tabs.size()));
    for (size_t i = 0; i < c.tabs.size(); ++i) EXPECT_EQ(sheet_->GetTabText(static_cast<int>(i)), c.tabs[i]);
    EXPECT_EQ(sheet_->GetActiveIndex(), 0);
    const int list = Common().Layout().config;
    ASSERT_EQ(Common().GetCount(list), static_cast<int>(c.entries.size()));
    for (size_t i = 0; i < c.entries.size(); ++i) EXPECT_EQ(Common().GetListText(list, static_cast<int>(i)), c.entries[i]);
    EXPECT_EQ(Common().GetCurSel(list), 0);
    if (Common().Layout().frequency != 0) {
      EXPECT_EQ(Common().GetItemText(Common().Layout().frequency), L"1");
      EXPECT_EQ(Common().GetItemText(Common().Layout().frequencyUnits), L"GHz");
    }
    EXPECT_TRUE(shown_.empty());
    sheet_.reset();
  }
}

TEST_F(BoardSheetTest, ShowingReadsTheInstrumentManager) {
  Store(kModelFmcomms3, 12);
  instr_.SetParam(false, kInstrSetAutoBackoff);
  instr_.SetParam(3.5f, kInstrSetBackoff);
  Make<CWSorvekInstrAD9361Sheet>();
  sheet_->ShowWindow(true);
  ASSERT_TRUE(sheet_->IsVisible());
  EXPECT_EQ(Common().GetItemText(kIdcAD9361CommonFreq), L"2.400");
  EXPECT_EQ(Common().GetItemText(kIdcAD9361CommonFreqUnits), L"GHz");
  EXPECT_EQ(Common().GetListText(kIdcAD9361CommonConfig, Common().GetCurSel(kIdcAD9361CommonConfig)),
            L"LTE 20: 30.72 Msps");
  EXPECT_EQ(Common().GetItemText(kIdcAD9361CommonRate), L"30.72");
  EXPECT_EQ(Common().GetItemText(kIdcAD9361CommonRateUnits), L"Msps");
  EXPECT_EQ(Common().GetCheck(kIdcAD9361CommonAutoBackoff), lv::kUnchecked);
  EXPECT_EQ(Common().GetItemText(kIdcAD9361CommonBackoff), L"3.50");
  EXPECT_EQ(static_cast<CWSorvekInstrAD9361CommonPage&>(Common()).Model(), kModelFmcomms3);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(sheet_->XmtrPage(i)->GetCheck(kIdcAD9361XmtrUse), lv::kChecked);
    EXPECT_EQ(sheet_->XmtrPage(i)->GetItemText(kIdcAD9361XmtrAtten), std::to_wstring(10 + i));
    EXPECT_FALSE(sheet_->XmtrPage(i)->IsModified());
  }
  EXPECT_FALSE(Common().IsModified());
  EXPECT_TRUE(shown_.empty());
}

TEST_F(BoardSheetTest, RateIndexShownByEachList) {
  struct Case {
    int which;  // 0 AD9081, 1 AD9082, 2 AD9361, 3 ADRV9009, 4 AD9371
    int32_t model;
    int32_t stored;
    const wchar_t* entry;
    const wchar_t* value1;
    const wchar_t* unit1;
  };
  const Case cases[] = {
      {1, kModelAd9082, 402, L"1.47456 Gsps", L"1.4746", L"Gsps"},
      {1, kModelAd9082, 400, L"1.5 Gsps", L"1.5", L"Gsps"},
      {1, kModelAd9082, 401, L"1.5 Gsps", L"1.5", L"Gsps"},
      {0, kModelAd9081, 401, L"250 Msps", L"250", L"Msps"},
      {2, kModelFmcomms3, 99, L"2 Msps", L"2", L"Msps"},
      {2, kModelFmcomms3, 22, L"50 Msps", L"50", L"Msps"},
      {3, kModelAdrv9009, 201, L"ZC706 boot config", nullptr, nullptr},
      {3, kModelAdrv9009, 7, L"ZCU102 boot config", nullptr, nullptr},
      {4, kModelAd9371, 5, L"Boot config", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Store(c.model, c.stored);
    switch (c.which) {
      case 0: Make<CWSorvekInstrAD9081Sheet>(); break;
      case 1: Make<CWSorvekInstrAD9082Sheet>(); break;
      case 2: Make<CWSorvekInstrAD9361Sheet>(); break;
      case 3: Make<CWSorvekInstrADRV9009Sheet>(); break;
      default: Make<CWSorvekInstrAD9371Sheet>(); break;
    }
    sheet_->ShowWindow(true);
    const int list = Common().Layout().config;
    EXPECT_EQ(Common().GetListText(list, Common().GetCurSel(list)), c.entry);
    if (c.value1 != nullptr) {
      EXPECT_EQ(Common().GetItemText(Common().Layout().value1), c.value1);
      EXPECT_EQ(Common().GetItemText(Common().Layout().unit1), c.unit1);
    }
    EXPECT_TRUE(shown_.empty()) << lv::WideToUtf8(shown_.empty() ? L"" : shown_[0].message);
    sheet_.reset();
  }
}

TEST_F(BoardSheetTest, Ad9361RateIndex17SelectsTheFirstEntryAndReportsTheTables) {
  Store(kModelFmcomms3, 17);
  Make<CWSorvekInstrAD9361Sheet>();
  sheet_->ShowWindow(true);
  EXPECT_EQ(Common().GetCurSel(kIdcAD9361CommonConfig), 0);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_NE(shown_[0].callStack.find("CWSorvekInstrAD9361CommonPage::DisplayFilterConfig\n"
                                     "CWSorvekInstrAD9361CommonPage::RefreshSettings"),
            std::string::npos)
      << shown_[0].callStack;
}

TEST_F(BoardSheetTest, OkChangesOnlyWhatTheSheetEdits) {
  Store(kModelAd9082, 401);
  const std::wstring file = WriteIqbin("dac1.iqbin", 100, 1e6);
  Make<CWSorvekInstrAD9082Sheet>();
  sheet_->ShowWindow(true);
  CWSorvekInstrXmtrPage& x1 = *sheet_->XmtrPage(1);
  EXPECT_EQ(x1.GetItemText(kIdcAD9081XmtrDac), L"DAC 1");
  EXPECT_EQ(x1.GetItemText(kIdcAD9081XmtrFreq), L"200.000");
  EXPECT_EQ(x1.GetItemText(kIdcAD9081XmtrFreqUnits), L"MHz");
  ASSERT_TRUE(Pick(kIdcAD9081CommonConfig, 1));
  EXPECT_EQ(Common().GetItemText(kIdcAD9081CommonRate), L"1.4746");
  ASSERT_TRUE(Type(x1, kIdcAD9081XmtrFreq, L"-150.5"));
  EXPECT_TRUE(x1.IsModified());
  lv::test_hooks::PushFileAnswer(file);
  ASSERT_TRUE(lv::RunDialogStep(x1, DialogStep::Click(kIdcAD9081XmtrBrowse)));
  ASSERT_TRUE(lv::RunDialogStep(*sheet_->XmtrPage(0), DialogStep::Check(kIdcAD9081XmtrUse, lv::kUnchecked)));
  ASSERT_TRUE(Press(lv::kIdOk));
  EXPECT_FALSE(sheet_->IsVisible());
  EXPECT_TRUE(shown_.empty()) << lv::WideToUtf8(shown_.empty() ? L"" : shown_[0].message);

  const auto s = Settings();
  EXPECT_EQ(s->rateIndex, 402);
  EXPECT_FALSE(s->Xmtr(0).on);
  EXPECT_TRUE(s->Xmtr(1).on);
  EXPECT_DOUBLE_EQ(s->Xmtr(1).centerFreq, -150.5e6);
  EXPECT_DOUBLE_EQ(s->Xmtr(0).centerFreq, 100e6);
  // Transmitters 2 and 3 do not exist on this board.
  EXPECT_FALSE(s->Xmtr(2).on);
  EXPECT_FALSE(s->Xmtr(3).on);
  // Kept as the instrument manager held them.
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s->Xmtr(i).attenuation, 10 + i);
    EXPECT_FLOAT_EQ(s->Xmtr(i).phase, 1.5f * static_cast<float>(i));
    EXPECT_EQ(s->Rcvr(i).gain, 20 + i);
  }
  EXPECT_DOUBLE_EQ(s->xmtrCenterFreq, 2.4e9);
  EXPECT_EQ(s->model, kModelAd9082);
  EXPECT_EQ(std::wstring(s->GetIPAddress()), L"192.168.2.1");
  EXPECT_EQ(FileNameOf(1), file);
  EXPECT_EQ(FileNameOf(0), L"");
}

TEST_F(BoardSheetTest, CancelSendsNothing) {
  Store(kModelAdrv9009, 200);
  Make<CWSorvekInstrADRV9009Sheet>();
  int fronts = 0;
  sheet_->SetBringOwnerToFront([&] { ++fronts; });
  for (const DialogStep& close : {DialogStep::Click(lv::kIdCancel), DialogStep::Escape(), DialogStep::CloseBox()}) {
    sheet_->ShowWindow(true);
    ASSERT_TRUE(Type(Common(), kIdcADRV9009CommonFreq, L"3.5"));
    ASSERT_TRUE(Type(*sheet_->XmtrPage(0), kIdcADRV9009XmtrAtten, L"30"));
    ASSERT_TRUE(Type(*sheet_->XmtrPage(0), kIdcADRV9009XmtrFileName, L"/tmp/x.iqbin"));
    ASSERT_TRUE(lv::RunSheetStep(*sheet_, close));
    EXPECT_FALSE(sheet_->IsVisible());
  }
  EXPECT_EQ(fronts, 3);
  const auto s = Settings();
  EXPECT_DOUBLE_EQ(s->rcvrCenterFreq, 1.8e9);
  EXPECT_EQ(s->Xmtr(0).attenuation, 10);
  EXPECT_EQ(FileNameOf(0), L"");
  // Showing again brings back the stored values.
  sheet_->ShowWindow(true);
  EXPECT_EQ(Common().GetItemText(kIdcADRV9009CommonFreq), L"1.800");
  EXPECT_EQ(sheet_->XmtrPage(0)->GetItemText(kIdcADRV9009XmtrAtten), L"10");
  EXPECT_EQ(sheet_->XmtrPage(0)->GetItemText(kIdcADRV9009XmtrFileName), L"");
}

TEST_F(BoardSheetTest, ApplySendsNothing) {
  Store(kModelFmcomms3, 12);
  Make<CWSorvekInstrAD9361Sheet>();
  sheet_->ShowWindow(true);
  EXPECT_FALSE(sheet_->IsApplyEnabled());
  ASSERT_TRUE(Type(*sheet_->XmtrPage(1), kIdcAD9361XmtrAtten, L"44"));
  ASSERT_TRUE(Pick(kIdcAD9361CommonConfig, 0));
  EXPECT_TRUE(sheet_->IsApplyEnabled());
  ASSERT_TRUE(Press(lv::kIdApply));
  EXPECT_TRUE(sheet_->IsVisible());
  const auto s = Settings();
  EXPECT_EQ(s->Xmtr(1).attenuation, 11);
  EXPECT_EQ(s->rateIndex, 12);
}

// What marks a page modified: the use box, the number edits, a unit change
// and the list; not the file-name edit, nor the backoff.
TEST_F(BoardSheetTest, ChangesThatMarkAPageModified) {
  Store(kModelAd9081, 400);
  Make<CWSorvekInstrAD9081Sheet>();
  sheet_->ShowWindow(true);
  CWSorvekInstrXmtrPage& x = *sheet_->XmtrPage(2);
  EXPECT_EQ(x.GetItemText(kIdcAD9081XmtrDac), L"DAC 2");
  ASSERT_TRUE(Type(x, kIdcAD9081XmtrFileName, L"/tmp/some.iqbin"));
  EXPECT_FALSE(x.IsModified());
  // The unit button: its ordinary click marks nothing, a new unit does.
  lv::AnswerNextPopupMenu([](const lv::ShownPopupMenu&) { return 0u; });
  lv::Rect r = x.GetItemRect(kIdcAD9081XmtrFreqUnits);
  ASSERT_TRUE(lv::MouseClickControl(x, kIdcAD9081XmtrFreqUnits, lv::Point{r.Width() / 2, r.Height() / 2}));
  EXPECT_FALSE(x.IsModified());
  lv::AnswerNextPopupMenu(
      [](const lv::ShownPopupMenu&) { return CWUnitsButton::UnitCommand(CWUnitsButton::kGHz); });
  ASSERT_TRUE(lv::MouseClickControl(x, kIdcAD9081XmtrFreqUnits, lv::Point{r.Width() / 2, r.Height() / 2}));
  EXPECT_EQ(x.GetItemText(kIdcAD9081XmtrFreqUnits), L"GHz");
  EXPECT_TRUE(x.IsModified());
  // A unit change does not rescale the number: 300 GHz now.
  ASSERT_TRUE(Press(lv::kIdOk));
  EXPECT_DOUBLE_EQ(Settings()->Xmtr(2).centerFreq, 300e9);

  sheet_->ShowWindow(true);
  CWSorvekInstrXmtrPage& y = *sheet_->XmtrPage(3);
  ASSERT_TRUE(lv::RunDialogStep(y, DialogStep::Click(kIdcAD9081XmtrUse)));
  EXPECT_TRUE(y.IsModified());
  ASSERT_TRUE(Type(Common(), kIdcAD9081CommonBackoff, L"2"));
  ASSERT_TRUE(lv::RunDialogStep(Common(), DialogStep::Click(kIdcAD9081CommonAutoBackoff)));
  EXPECT_FALSE(Common().IsModified());
  ASSERT_TRUE(Pick(kIdcAD9081CommonConfig, 0));
  EXPECT_TRUE(Common().IsModified());
  ASSERT_TRUE(Press(lv::kIdCancel));
}

TEST_F(BoardSheetTest, Adrv9009FrequencyTunesTheReceiverToo) {
  Store(kModelAdrv9009, 200);
  Make<CWSorvekInstrADRV9009Sheet>();
  sheet_->ShowWindow(true);
  EXPECT_EQ(Common().GetItemText(kIdcADRV9009CommonFreq), L"1.800");
  ASSERT_TRUE(Type(Common(), kIdcADRV9009CommonFreq, L"3.5"));
  ASSERT_TRUE(Press(lv::kIdOk));
  const auto s = Settings();
  EXPECT_DOUBLE_EQ(s->rcvrCenterFreq, 3.5e9);
  EXPECT_DOUBLE_EQ(s->xmtrCenterFreq, 3.5e9);
  EXPECT_EQ(s->rcvrNumSamples, 4096);
  EXPECT_EQ(s->Rcvr(2).gain, 22);
}

TEST_F(BoardSheetTest, FieldsThatDoNotParseRefuseOk) {
  Store(kModelAd9371, 100);
  Make<CWSorvekInstrAD9371Sheet>();
  const struct {
    int page;
    int id;
    const wchar_t* message;
  } cases[] = {
      {0, kIdcAD9371CommonFreq, L"Common: the field \"Transmit frequency\" does not hold a number."},
      {2, kIdcAD9371XmtrAtten, L"Xmtr 2: the field \"Attenuation (dB)\" does not hold a number."},
  };
  for (const auto& c : cases) {
    shown_.clear();
    sheet_->ShowWindow(true);
    lv::Dialog& page = c.page == 0 ? static_cast<lv::Dialog&>(Common()) : *sheet_->XmtrPage(c.page - 1);
    ASSERT_TRUE(Type(page, c.id, L"12 dB"));
    ASSERT_TRUE(Type(*sheet_->XmtrPage(0), kIdcAD9371XmtrFileName, L"/tmp/a.iqbin"));
    ASSERT_TRUE(Type(Common(), kIdcAD9371CommonBackoff, L"7"));
    ASSERT_TRUE(Press(lv::kIdOk));
    EXPECT_TRUE(sheet_->IsVisible());
    EXPECT_EQ(sheet_->GetActiveIndex(), c.page);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].message, c.message);
    // Nothing was sent: not the backoff, not a file name, not the settings.
    float backoff = 0;
    instr_.GetParam(&backoff, kInstrGetBackoff);
    EXPECT_NE(backoff, 7.0f);
    EXPECT_EQ(FileNameOf(0), L"");
    EXPECT_DOUBLE_EQ(Settings()->xmtrCenterFreq, 2.4e9);
    EXPECT_EQ(page.GetItemText(c.id), L"12 dB");
    ASSERT_TRUE(Press(lv::kIdCancel));
  }
}

TEST_F(BoardSheetTest, PlutoRefusesRatesAbove30p72Msps) {
  Store(kModelPluto, 1);
  Make<CWSorvekInstrAD9361Sheet>();
  sheet_->ShowWindow(true);
  const struct {
    int entry;
    bool refused;
  } cases[] = {{11, true}, {12, true}, {14, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    shown_.clear();
    if (!sheet_->IsVisible()) sheet_->ShowWindow(true);
    ASSERT_TRUE(Pick(kIdcAD9361CommonConfig, c.entry));
    ASSERT_TRUE(Type(Common(), kIdcAD9361CommonBackoff, L"4"));
    ASSERT_TRUE(Press(lv::kIdOk));
    if (c.refused) {
      EXPECT_TRUE(sheet_->IsVisible());
      ASSERT_EQ(shown_.size(), 1u);
      EXPECT_EQ(shown_[0].message,
                L"The maximum sample rate for Pluto 2Rx 2Tx, is 30.72 Msps.\nPlease choose a lower sample rate "
                L"configuration.");
      EXPECT_EQ(Settings()->rateIndex, 1);
      float backoff = 0;
      instr_.GetParam(&backoff, kInstrGetBackoff);
      EXPECT_NE(backoff, 4.0f);
    } else {
      EXPECT_FALSE(sheet_->IsVisible());
      EXPECT_TRUE(shown_.empty());
      EXPECT_EQ(Settings()->rateIndex, 12);
    }
  }
}

TEST_F(BoardSheetTest, BackoffChoice) {
  Store(kModelAd9081, 400);
  Make<CWSorvekInstrAD9081Sheet>();
  const struct {
    bool box;
    const wchar_t* text;
    bool autoOn;
    float backoff;  // expected stored backoff
  } cases[] = {{false, L"6.25", false, 6.25f}, {true, L"9", true, 6.25f}, {false, L"abc", true, 6.25f},
               {false, L" 1.5 ", false, 1.5f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.text));
    sheet_->ShowWindow(true);
    ASSERT_TRUE(lv::RunDialogStep(Common(), DialogStep::Check(kIdcAD9081CommonAutoBackoff,
                                                              c.box ? lv::kChecked : lv::kUnchecked)));
    ASSERT_TRUE(Type(Common(), kIdcAD9081CommonBackoff, c.text));
    EXPECT_FALSE(Common().IsModified());  // the backoff marks nothing
    ASSERT_TRUE(Press(lv::kIdOk));
    bool autoOn = false;
    float backoff = 0;
    instr_.GetParam(&autoOn, kInstrGetAutoBackoff);
    instr_.GetParam(&backoff, kInstrGetBackoff);
    EXPECT_EQ(autoOn, c.autoOn);
    EXPECT_FLOAT_EQ(backoff, c.backoff);
  }
  EXPECT_TRUE(shown_.empty());
}

TEST_F(BoardSheetTest, MismatchInTransmitterCount) {
  // An instrument manager with fewer transmitters than the AD9081 board has.
  CWInstrIIOMultiXcvrMgrThread small(2, 2);
  ASSERT_TRUE(small.StartUIThread());
  {
    CWSorvekInstrAD9081Sheet sheet(&small, &data_);
    ASSERT_TRUE(sheet.Create());
    sheet.ShowWindow(true);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].message, L"Mismatch in the number of transmitters between the Instrument Manager and the GUI.");
    EXPECT_NE(shown_[0].callStack.find("CWSorvekInstrAD9081Sheet::RefreshSettings"), std::string::npos);
  }
  small.StopAndJoin(10000);
}

// A sheet end to end against the fake board: the settings it sends reach
// the board as attribute writes at the next transmission; Cancel writes
// nothing.
struct EndToEnd {
  const char* fixture;
  int32_t model;
  int32_t rate;
  int freqId;
  int attenId;
  const char* loWrite;
  const char* gainWrite;
  double waveRate;  // the board's transmit sample rate at that rate index
};

class BoardSheetFakeTest : public BoardSheetTest {
 protected:
  template <typename Sheet>
  void Run(const EndToEnd& c) {
    lv_fake::FakeIiod fake(lv_fake::ReadBoardFixture(c.fixture));
    fake.Start();
    std::ofstream(dir_ / "AD9361_2Msps.ftr") << "RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n";
    const std::wstring baseband = lv::Utf8ToWide(dir_.string());
    instr_.SetParam(baseband.c_str(), kInstrSetBasebandDir);
    CQInstrIIOMultiXcvrSettings s(4, 4);
    s.SetAllFlags(true);
    s.model = c.model;
    s.rateIndex = c.rate;
    s.connectionType = kConnectionLan;
    s.SetIPAddress(lv::Utf8ToWide(fake.Address()).c_str());
    s.xmtrCenterFreq = 1e9;
    s.rcvrCenterFreq = 1e9;
    s.Xmtr(0).on = true;
    s.Xmtr(0).attenuation = 20;
    SetSettings(s);
    auto wave = Wave(1000, c.waveRate);
    auto transmit = [&] {
      instr_.SetParam(wave.get(), kInstrSetXmtrData, 0);
      bool ok = false;
      const lv_test::CaughtError e = lv_test::Catch([&] { instr_.GetParam(&ok, kInstrGetTransmitNow); });
      EXPECT_FALSE(e.thrown) << e.message << "\n" << e.callStack;
      EXPECT_TRUE(ok);
    };
    transmit();
    ASSERT_FALSE(fake.EventStrings({"WRITE"}).empty());
    fake.ClearEvents();

    Make<Sheet>();
    sheet_->ShowWindow(true);
    EXPECT_EQ(Common().GetItemText(c.freqId), L"1.000");
    EXPECT_EQ(sheet_->XmtrPage(0)->GetItemText(c.attenId), L"20");
    // Cancel: the next transmission writes nothing.
    ASSERT_TRUE(Type(Common(), c.freqId, L"2.45"));
    ASSERT_TRUE(Type(*sheet_->XmtrPage(0), c.attenId, L"35"));
    ASSERT_TRUE(Press(lv::kIdCancel));
    transmit();
    EXPECT_TRUE(fake.EventStrings({"WRITE"}).empty()) << ::testing::PrintToString(fake.EventStrings({"WRITE"}));
    fake.ClearEvents();

    // OK: the new LO frequency, attenuation and backoff.
    sheet_->ShowWindow(true);
    ASSERT_TRUE(Type(Common(), c.freqId, L"2.45"));
    ASSERT_TRUE(Type(*sheet_->XmtrPage(0), c.attenId, L"35"));
    ASSERT_TRUE(lv::RunDialogStep(Common(), DialogStep::Check(Common().Layout().autoBackoff, lv::kUnchecked)));
    ASSERT_TRUE(Type(Common(), Common().Layout().backoff, L"6"));
    ASSERT_TRUE(Press(lv::kIdOk));
    EXPECT_TRUE(shown_.empty()) << lv::WideToUtf8(shown_.empty() ? L"" : shown_[0].message);
    transmit();
    const auto writes = fake.EventStrings({"WRITE"});
    EXPECT_NE(std::find(writes.begin(), writes.end(), c.loWrite), writes.end()) << ::testing::PrintToString(writes);
    EXPECT_NE(std::find(writes.begin(), writes.end(), c.gainWrite), writes.end()) << ::testing::PrintToString(writes);
    float backoff = 0;
    bool autoOn = true;
    instr_.GetParam(&backoff, kInstrGetBackoff);
    instr_.GetParam(&autoOn, kInstrGetAutoBackoff);
    EXPECT_FLOAT_EQ(backoff, 6.0f);
    EXPECT_FALSE(autoOn);
    instr_.PutMessage(kMsgInstrDisconnect, nullptr);
    EXPECT_TRUE(fake.WaitForEvent("EXIT", 5000));
  }
};

TEST_F(BoardSheetFakeTest, Ad9361SheetReachesTheBoard) {
  Run<CWSorvekInstrAD9361Sheet>({"ad9361", kModelFmcomms3, 1, kIdcAD9361CommonFreq, kIdcAD9361XmtrAtten,
                                 "WRITE ad9361-phy OUTPUT altvoltage1 frequency 2450000000",
                                 "WRITE ad9361-phy OUTPUT voltage0 hardwaregain -35.000000", 2e6});
}

TEST_F(BoardSheetFakeTest, Ad9371SheetReachesTheBoard) {
  Run<CWSorvekInstrAD9371Sheet>({"ad9371", kModelAd9371, 100, kIdcAD9371CommonFreq, kIdcAD9371XmtrAtten,
                                 "WRITE ad9371-phy OUTPUT altvoltage1 TX_LO_frequency 2450000000",
                                 "WRITE ad9371-phy OUTPUT voltage0 hardwaregain -35.000000", 245.76e6});
}

// OK sends each transmitter's file name, also an empty one, which clears
// the name the data manager held.
TEST_F(BoardSheetTest, EmptyFileNameClearsTheDataManagersName) {
  Store(kModelAd9371, 100);
  const std::wstring file = WriteIqbin("old.iqbin", 100, 1e6);
  data_.SetParam(file.c_str(), CWMultiDataMgrThread::kParamFileName, 0);
  data_.SetParam(file.c_str(), CWMultiDataMgrThread::kParamFileName, 1);
  Make<CWSorvekInstrAD9371Sheet>();
  sheet_->ShowWindow(true);
  EXPECT_EQ(sheet_->XmtrPage(0)->GetItemText(kIdcAD9371XmtrFileName), file);
  EXPECT_EQ(sheet_->XmtrPage(0)->GetItemText(kIdcAD9371XmtrPoints), L"100");
  ASSERT_TRUE(Type(*sheet_->XmtrPage(0), kIdcAD9371XmtrFileName, L""));
  EXPECT_FALSE(sheet_->XmtrPage(0)->IsModified());  // typing a name marks nothing
  ASSERT_TRUE(Press(lv::kIdOk));
  EXPECT_EQ(FileNameOf(0), L"");
  EXPECT_EQ(FileNameOf(1), file);
  // The next showing has no file for transmitter 0: nothing of the old one stays.
  sheet_->ShowWindow(true);
  EXPECT_EQ(sheet_->XmtrPage(0)->GetItemText(kIdcAD9371XmtrFileName), L"");
  EXPECT_EQ(sheet_->XmtrPage(0)->GetItemText(kIdcAD9371XmtrPoints), L"0");
  EXPECT_TRUE(shown_.empty());
}

TEST_F(BoardSheetTest, GalleryEveryPage) {
  const std::string folder = lv_test::GalleryFolder("board_sheets");
  const std::wstring file = WriteIqbin("gallery.iqbin", 1000000, 2e6);
  data_.SetParam(file.c_str(), CWMultiDataMgrThread::kParamFileName, 0);
  struct Case {
    std::function<void()> make;
    int32_t model;
    int32_t rate;
    const char* name;
  };
  const Case cases[] = {
      {[&] { Make<CWSorvekInstrAD9081Sheet>(); }, kModelAd9081, 400, "ad9081"},
      {[&] { Make<CWSorvekInstrAD9082Sheet>(); }, kModelAd9082, 402, "ad9082"},
      {[&] { Make<CWSorvekInstrAD9361Sheet>(); }, kModelFmcomms3, 12, "ad9361"},
      {[&] { Make<CWSorvekInstrAD9371Sheet>(); }, kModelAd9371, 100, "ad9371"},
      {[&] { Make<CWSorvekInstrADRV9009Sheet>(); }, kModelAdrv9009, 201, "adrv9009"},
  };
  for (const Case& c : cases) {
    Store(c.model, c.rate);
    c.make();
    sheet_->ShowWindow(true);
    for (int page = 0; page < sheet_->GetPageCount(); ++page) {
      sheet_->SetActivePage(page);
      const std::string path = folder + "/" + c.name + "_page" + std::to_string(page) + ".png";
      std::filesystem::remove(path);
      ASSERT_TRUE(lv::SaveSheetPng(*sheet_, path));
      EXPECT_TRUE(std::filesystem::exists(path));
    }
    sheet_.reset();
  }
  EXPECT_TRUE(shown_.empty()) << lv::WideToUtf8(shown_.empty() ? L"" : shown_[0].message);
}

}  // namespace
