// The transmitter-processing sheet driven through the window layer's test
// hooks (real widgets, offscreen) against a running engine thread.
#include "app/xmtr_proc_sheet.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/engine.h"
#include "app/engine_thread.h"
#include "core/error_dialog.h"
#include "core/processing/sample_rate_mgr_settings.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/popup_menu.h"
#include "platform/text.h"
#include "platform/ui_post.h"
#include "support/gui_app.h"

namespace {

using lv::DialogStep;

// Records what the error dialog was asked to show.
struct Shown {
  std::wstring message;
  std::string callStack;
};

class XmtrProcSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    lv::ClearPopupMenuAnswers();
    previousUi_ = lv::SetUiPostTarget(&ui_);
    previousPresenter_ = SetErrorPresenter([this](CQErrorDlg& dlg) {
      shown_.push_back({dlg.Error().GetMessage() != nullptr ? dlg.Error().GetMessage() : L"",
                        dlg.Error().GetCallStack() != nullptr ? dlg.Error().GetCallStack() : ""});
    });
    engine_ = std::make_unique<CWSorvekEngineThread>(4, 4, CWEngineLinks{});
    ASSERT_TRUE(engine_->StartUIThread());
    for (int i = 0; i < 4; ++i) {
      Set(i, Stored(i));
    }
    sheet_ = std::make_unique<CWSorvekXmtrProcSheet>(4, engine_.get());
    ASSERT_TRUE(sheet_->Create());
  }
  void TearDown() override {
    sheet_.reset();
    engine_->StopAndJoin(10000);
    SetErrorPresenter(previousPresenter_);
    lv::SetUiPostTarget(previousUi_);
    EXPECT_EQ(lv::ClearPopupMenuAnswers(), 0);
  }

  // What each transmitter holds at the start: every field away from its
  // default, the ones the pages do not show included.
  static CQSampleRateMgrSettings Stored(int i) {
    CQSampleRateMgrSettings s;
    s.doFreqShiftFirst = false;
    s.interpolationOn = (i % 2) == 0;
    s.interpolationRate = 2 + i;
    s.decimationOn = (i % 2) == 1;
    s.decimationRate = 3;
    s.arbResampleOn = true;
    s.outputSampleRate = 30.72e6;
    s.freqShiftOn = true;
    s.freqShift = i == 1 ? -250.0 : 1.5e6;
    s.timeShiftOn = i != 2;
    s.timeDelay = i == 2 ? 0.0 : (i == 3 ? 30e-9 : 2.5e-6);
    s.phaseAdjustOn = false;
    s.phaseDeg = 45.5f;
    s.filterOn = true;
    s.filterType = 8;
    s.gainAdjustOn = true;
    s.gainDb = -3.25f;
    s.noiseOn = true;
    s.noiseLevel = -150.0f;
    s.samplesLimitOn = true;
    s.maxSamples = 5000;
    return s;
  }

  void Set(int i, const CQSampleRateMgrSettings& s) {
    CQSampleRateMgrSettings copy = s;
    engine_->SetParam(static_cast<void*>(&copy), kEngineParamProcessing, i);
  }
  CQSampleRateMgrSettings Get(int i) {
    void* p = nullptr;
    engine_->GetParam(&p, kEngineParamProcessing, i);
    std::unique_ptr<CQSampleRateMgrSettings> owned(static_cast<CQSampleRateMgrSettings*>(p));
    return owned ? *owned : CQSampleRateMgrSettings{};
  }
  void ExpectUnchanged() {
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(Get(i), Stored(i)) << "transmitter " << i;
    }
  }

  CWSorvekXmtrProcPage& Page(int i) { return *sheet_->Page(i); }
  bool Type(int page, int id, const std::wstring& text) {
    return lv::RunDialogStep(Page(page), DialogStep::Type(id, text));
  }
  bool Press(int id) { return lv::RunSheetStep(*sheet_, DialogStep::Click(id)); }
  // Clicks a unit button of a page and chooses command from its menu.
  void ChooseUnit(int page, int buttonId, uint32_t command) {
    lv::AnswerNextPopupMenu([command](const lv::ShownPopupMenu&) { return command; });
    const lv::Rect r = Page(page).GetItemRect(buttonId);
    ASSERT_TRUE(lv::MouseClickControl(Page(page), buttonId, lv::Point{r.Width() / 2, r.Height() / 2}));
  }

  lv::HeadlessUiLoop ui_;
  lv::UiPostTarget* previousUi_ = nullptr;
  CQErrorPresenter previousPresenter_;
  std::vector<Shown> shown_;
  std::unique_ptr<CWSorvekEngineThread> engine_;
  std::unique_ptr<CWSorvekXmtrProcSheet> sheet_;
};

TEST_F(XmtrProcSheetTest, IsCreatedHiddenWithOneTabPerTransmitter) {
  EXPECT_FALSE(sheet_->IsVisible());
  EXPECT_EQ(sheet_->GetCaption(), L"Transmitter Processing");
  ASSERT_EQ(sheet_->GetPageCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(sheet_->GetTabText(i), L"Xmtr " + std::to_wstring(i + 1));
  }
  EXPECT_EQ(sheet_->GetActiveIndex(), 0);
  // Before the first showing the pages hold their initial texts.
  EXPECT_EQ(Page(0).GetItemText(kIdcXmtrProcInterpRate), L"1");
  EXPECT_EQ(Page(0).GetItemText(kIdcXmtrProcFreq), L"0.0");
  EXPECT_EQ(Page(0).GetItemText(kIdcXmtrProcFreqUnits), L"MHz");
  EXPECT_EQ(Page(0).GetItemText(kIdcXmtrProcTimeUnits), L"nsec");
  EXPECT_EQ(Page(0).GetCheck(kIdcXmtrProcShiftFreq), lv::kUnchecked);
  EXPECT_FALSE(sheet_->IsApplyEnabled());
  EXPECT_TRUE(shown_.empty());
}

TEST_F(XmtrProcSheetTest, ShowingReadsEveryTransmitterWithItsUnits) {
  sheet_->ShowWindow(true);
  ASSERT_TRUE(sheet_->IsVisible());
  struct Expect {
    const wchar_t* interp;
    const wchar_t* freq;
    const wchar_t* freqUnit;
    const wchar_t* delay;
    const wchar_t* timeUnit;
  };
  const Expect expect[4] = {
      {L"2", L"1.500", L"MHz", L"2.50000", L"usec"},
      {L"3", L"-250.000", L"Hz", L"2.50000", L"usec"},
      {L"4", L"1.500", L"MHz", L"0.00000", L"psec"},
      {L"5", L"1.500", L"MHz", L"30.00000", L"nsec"},
  };
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const CQSampleRateMgrSettings s = Stored(i);
    CWSorvekXmtrProcPage& p = Page(i);
    EXPECT_EQ(p.GetItemText(kIdcXmtrProcInterpRate), expect[i].interp);
    EXPECT_EQ(p.GetItemText(kIdcXmtrProcDecimRate), L"3");
    EXPECT_EQ(p.GetItemText(kIdcXmtrProcFreq), expect[i].freq);
    EXPECT_EQ(p.GetItemText(kIdcXmtrProcFreqUnits), expect[i].freqUnit);
    EXPECT_EQ(p.GetItemText(kIdcXmtrProcTimeDelay), expect[i].delay);
    EXPECT_EQ(p.GetItemText(kIdcXmtrProcTimeUnits), expect[i].timeUnit);
    EXPECT_EQ(p.GetItemText(kIdcXmtrProcPhase), L"45.500");
    EXPECT_EQ(p.GetItemText(kIdcXmtrProcGain), L"-3.250");
    // The stored flags, although writing the texts ticked every box.
    EXPECT_EQ(p.GetCheck(kIdcXmtrProcInterpolate) == lv::kChecked, s.interpolationOn);
    EXPECT_EQ(p.GetCheck(kIdcXmtrProcDecimate) == lv::kChecked, s.decimationOn);
    EXPECT_EQ(p.GetCheck(kIdcXmtrProcShiftFreq) == lv::kChecked, s.freqShiftOn);
    EXPECT_EQ(p.GetCheck(kIdcXmtrProcShiftTime) == lv::kChecked, s.timeShiftOn);
    EXPECT_EQ(p.GetCheck(kIdcXmtrProcRotatePhase) == lv::kChecked, s.phaseAdjustOn);
    EXPECT_EQ(p.GetCheck(kIdcXmtrProcApplyGain) == lv::kChecked, s.gainAdjustOn);
    EXPECT_FALSE(p.IsModified());
  }
  EXPECT_FALSE(sheet_->IsApplyEnabled());
  EXPECT_TRUE(shown_.empty());
}

TEST_F(XmtrProcSheetTest, OkSendsExactlyTheEditedFieldsAndKeepsTheRest) {
  sheet_->ShowWindow(true);
  ASSERT_TRUE(Type(1, kIdcXmtrProcFreq, L"2.5"));  // Hz on this page
  EXPECT_EQ(Page(1).GetCheck(kIdcXmtrProcShiftFreq), lv::kChecked);
  ASSERT_TRUE(Type(2, kIdcXmtrProcInterpRate, L"8"));
  ASSERT_TRUE(Type(3, kIdcXmtrProcGain, L"6"));
  ASSERT_TRUE(lv::RunDialogStep(Page(3), DialogStep::Check(kIdcXmtrProcApplyGain, lv::kUnchecked)));
  EXPECT_TRUE(Page(1).IsModified());
  EXPECT_TRUE(sheet_->IsApplyEnabled());
  // Apply transfers nothing.
  ASSERT_TRUE(Press(lv::kIdApply));
  EXPECT_FALSE(sheet_->IsApplyEnabled());
  ExpectUnchanged();

  ASSERT_TRUE(Press(lv::kIdOk));
  EXPECT_FALSE(sheet_->IsVisible());
  EXPECT_TRUE(shown_.empty());
  CQSampleRateMgrSettings want[4] = {Stored(0), Stored(1), Stored(2), Stored(3)};
  want[1].freqShift = 2.5;
  want[2].interpolationRate = 8;
  want[2].interpolationOn = true;  // typing ticked it
  want[3].gainDb = 6.0f;
  want[3].gainAdjustOn = false;  // unticked by hand after typing
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const CQSampleRateMgrSettings got = Get(i);
    // Shown and read back through the field's unit; exact to a rounding.
    EXPECT_DOUBLE_EQ(got.freqShift, want[i].freqShift);
    EXPECT_DOUBLE_EQ(got.timeDelay, want[i].timeDelay);
    CQSampleRateMgrSettings rest = got;
    rest.freqShift = want[i].freqShift;
    rest.timeDelay = want[i].timeDelay;
    EXPECT_EQ(rest, want[i]);
  }
}

TEST_F(XmtrProcSheetTest, AUnitChangeKeepsTheNumberAndOkReadsItInTheNewUnit) {
  sheet_->ShowWindow(true);
  ASSERT_EQ(Page(3).GetItemText(kIdcXmtrProcTimeUnits), L"nsec");
  ChooseUnit(3, kIdcXmtrProcTimeUnits, 36202);  // usec
  EXPECT_EQ(Page(3).GetItemText(kIdcXmtrProcTimeUnits), L"usec");
  EXPECT_EQ(Page(3).GetItemText(kIdcXmtrProcTimeDelay), L"30.00000");
  EXPECT_EQ(Page(3).GetCheck(kIdcXmtrProcShiftTime), lv::kChecked);
  EXPECT_TRUE(Page(3).IsModified());
  // A click whose menu is dismissed changes nothing on the page.
  ChooseUnit(0, kIdcXmtrProcFreqUnits, 0);
  EXPECT_FALSE(Page(0).IsModified());
  ASSERT_TRUE(Press(lv::kIdOk));
  EXPECT_DOUBLE_EQ(Get(3).timeDelay, 30e-6);
  EXPECT_DOUBLE_EQ(Get(0).freqShift, 1.5e6);
}

TEST_F(XmtrProcSheetTest, AFieldThatDoesNotParseIsRefusedByNameAndNothingIsSent) {
  struct Case {
    int id;
    const wchar_t* text;
    const wchar_t* name;
  };
  const Case cases[] = {
      {kIdcXmtrProcTimeDelay, L"abc", L"Time delay"},
      {kIdcXmtrProcTimeDelay, L"", L"Time delay"},
      {kIdcXmtrProcFreq, L"1.5x", L"Frequency"},
      {kIdcXmtrProcFreq, L"nan", L"Frequency"},
      {kIdcXmtrProcFreq, L"1e999", L"Frequency"},
      {kIdcXmtrProcInterpRate, L"2.5", L"Interpolation rate"},
      {kIdcXmtrProcDecimRate, L"99999999999", L"Decimation rate"},
      {kIdcXmtrProcPhase, L"1e39", L"Phase (Deg)"},
      {kIdcXmtrProcGain, L"-", L"Gain (dB)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(std::wstring(c.name) + L" '" + c.text + L"'"));
    shown_.clear();
    sheet_->ShowWindow(true);
    // Another page edited too: it must not be sent either.
    ASSERT_TRUE(Type(0, kIdcXmtrProcGain, L"1"));
    ASSERT_TRUE(Type(2, c.id, c.text));
    ASSERT_TRUE(Press(lv::kIdOk));
    EXPECT_TRUE(sheet_->IsVisible());
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_NE(shown_[0].message.find(L"Xmtr 3"), std::wstring::npos) << lv::WideToUtf8(shown_[0].message);
    EXPECT_NE(shown_[0].message.find(std::wstring(L"\"") + c.name + L"\""), std::wstring::npos)
        << lv::WideToUtf8(shown_[0].message);
    EXPECT_EQ(sheet_->GetActiveIndex(), 2);
    ExpectUnchanged();
    // The text stays for correcting.
    EXPECT_EQ(Page(2).GetItemText(c.id), c.text);
    // Apply refuses it too (and keeps itself enabled).
    ASSERT_TRUE(Press(lv::kIdApply));
    EXPECT_EQ(shown_.size(), 2u);
    EXPECT_TRUE(sheet_->IsApplyEnabled());
    ExpectUnchanged();
  }
  // Corrected, OK goes through.
  shown_.clear();
  ASSERT_TRUE(Type(2, kIdcXmtrProcGain, L"2"));
  ASSERT_TRUE(Press(lv::kIdOk));
  EXPECT_TRUE(shown_.empty());
  EXPECT_FALSE(sheet_->IsVisible());
  EXPECT_FLOAT_EQ(Get(2).gainDb, 2.0f);
  EXPECT_FLOAT_EQ(Get(0).gainDb, 1.0f);
}

TEST_F(XmtrProcSheetTest, CancelEscapeAndTheCloseBoxChangeNothing) {
  const DialogStep closers[] = {DialogStep::Click(lv::kIdCancel), DialogStep::Escape(), DialogStep::CloseBox()};
  for (const DialogStep& close : closers) {
    SCOPED_TRACE(static_cast<int>(close.kind));
    sheet_->ShowWindow(true);
    ASSERT_TRUE(Type(0, kIdcXmtrProcFreq, L"7"));
    ChooseUnit(1, kIdcXmtrProcFreqUnits, 36205);  // GHz
    ASSERT_TRUE(lv::RunSheetStep(*sheet_, close));
    EXPECT_FALSE(sheet_->IsVisible());
    ExpectUnchanged();
    // The next showing reads the engine again: the edits are gone.
    sheet_->ShowWindow(true);
    EXPECT_EQ(Page(0).GetItemText(kIdcXmtrProcFreq), L"1.500");
    EXPECT_EQ(Page(1).GetItemText(kIdcXmtrProcFreqUnits), L"Hz");
    sheet_->ShowWindow(false);
  }
  EXPECT_TRUE(shown_.empty());
}

TEST_F(XmtrProcSheetTest, AnEngineThatFailsIsShownWithTheCallersNames) {
  // A sheet with more pages than the engine has transmitters: the fifth
  // fails, the first four keep what they read.
  CWSorvekXmtrProcSheet wide(5, engine_.get());
  ASSERT_TRUE(wide.Create());
  wide.ShowWindow(true);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].message, L"Invalid transmitter index.");
  EXPECT_NE(shown_[0].callStack.find("CWSorvekXmtrProcSheet::RefreshSettings\n"), std::string::npos);
  EXPECT_EQ(wide.Page(3)->GetItemText(kIdcXmtrProcInterpRate), L"5");
  shown_.clear();
  ASSERT_TRUE(lv::RunSheetStep(wide, DialogStep::Click(lv::kIdOk)));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_NE(shown_[0].callStack.find("CWSorvekXmtrProcSheet::OnOKButton\n"), std::string::npos);
  EXPECT_TRUE(wide.IsVisible());
}

// Template 126, control by control, in dialog units.
TEST_F(XmtrProcSheetTest, Template126Geometry) {
  struct Row {
    int id;
    lv::ControlKind kind;
    const wchar_t* text;
    int x, y, w, h;
  };
  using K = lv::ControlKind;
  const Row rows[] = {
      {-1, K::kStaticText, L"The processing steps go in the order of the parameters, from top to bottom.", 7, 7, 175,
       16},
      {1248, K::kCheckBox, L"Interpolate", 7, 28, 90, 10},
      {-1, K::kStaticText, L"Interpolation rate", 19, 42, 70, 8},
      {1249, K::kEdit, L"", 92, 40, 60, 12},
      {1250, K::kCheckBox, L"Decimate", 7, 58, 90, 10},
      {-1, K::kStaticText, L"Decimation rate", 19, 72, 70, 8},
      {1251, K::kEdit, L"", 92, 70, 60, 12},
      {1245, K::kCheckBox, L"Shift Frequency", 7, 88, 90, 10},
      {-1, K::kStaticText, L"Frequency", 19, 102, 70, 8},
      {1246, K::kEdit, L"", 92, 100, 60, 12},
      {1247, K::kFrame, L"", 155, 100, 30, 12},
      {1254, K::kCheckBox, L"Shift Time", 7, 118, 90, 10},
      {-1, K::kStaticText, L"Time delay", 19, 132, 70, 8},
      {1252, K::kEdit, L"", 92, 130, 60, 12},
      {1253, K::kFrame, L"", 155, 130, 30, 12},
      {1256, K::kCheckBox, L"Rotate Phase", 7, 148, 90, 10},
      {-1, K::kStaticText, L"Phase (Deg)", 19, 162, 70, 8},
      {1255, K::kEdit, L"", 92, 160, 60, 12},
      {1258, K::kCheckBox, L"Apply Gain", 7, 178, 90, 10},
      {-1, K::kStaticText, L"Gain (dB)", 19, 192, 70, 8},
      {1257, K::kEdit, L"", 92, 190, 60, 12},
  };
  const lv::DialogTemplate t = XmtrProcPageTemplate();
  EXPECT_EQ(t.name, "126");
  EXPECT_EQ(t.caption, L"Transmitter");
  EXPECT_EQ(t.width, 189);
  EXPECT_EQ(t.height, 212);
  ASSERT_EQ(t.controls.size(), std::size(rows));
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Row& r = rows[i];
    const lv::ControlTemplate& c = t.controls[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(c.id, r.id);
    EXPECT_EQ(c.kind, r.kind);
    EXPECT_EQ(c.text, r.text);
    EXPECT_EQ((std::vector<int>{c.x, c.y, c.w, c.h}), (std::vector<int>{r.x, r.y, r.w, r.h}));
    // Inside the page, and the controls in order from top to bottom (a
    // label and its field share a line: their middles align).
    EXPECT_LE(c.x + c.w, t.width);
    EXPECT_LE(c.y + c.h, t.height);
    if (i > 0) {
      const lv::ControlTemplate& prev = t.controls[i - 1];
      EXPECT_GE(2 * c.y + c.h, 2 * prev.y + prev.h);
    }
    if (r.kind == K::kFrame) {
      EXPECT_NE(c.style & lv::kStyleHidden, 0u);
    }
    if (r.kind == K::kCheckBox) {
      EXPECT_NE(c.style & lv::kStyleTabStop, 0u);
    }
    if (r.kind == K::kEdit) {
      EXPECT_NE(c.style & lv::kStyleHScroll, 0u);
    }
    // On the page the control sits where its dialog units say (the unit
    // buttons in place of their frames).
    if (r.id != -1) {
      EXPECT_EQ(Page(0).GetItemRect(r.id), Page(0).MapDialogRect(r.x, r.y, r.w, r.h));
    }
  }
  EXPECT_TRUE(Page(0).IsItemVisible(kIdcXmtrProcFreqUnits));
  EXPECT_TRUE(Page(0).IsItemVisible(kIdcXmtrProcTimeUnits));
  EXPECT_EQ(Page(0).GetItemFont(kIdcXmtrProcFreqUnits), Page(0).GetFont());
}

TEST_F(XmtrProcSheetTest, GallerySheet) {
  sheet_->ShowWindow(true);
  sheet_->SetActivePage(3);
  const std::string folder = lv_test::GalleryFolder("xmtr_proc");
  const std::string path = folder + "/xmtr_proc_sheet.png";
  std::filesystem::remove(path);
  ASSERT_TRUE(lv::SaveSheetPng(*sheet_, path));
  EXPECT_TRUE(std::filesystem::exists(path));
  // And the time unit menu open over it.
  const std::string menuPath = folder + "/xmtr_proc_time_units_menu.png";
  std::filesystem::remove(menuPath);
  bool saved = false;
  lv::AnswerNextPopupMenu([&](const lv::ShownPopupMenu& shown) {
    saved = shown.SavePng(menuPath);
    return 0u;
  });
  const lv::Rect r = Page(3).GetItemRect(kIdcXmtrProcTimeUnits);
  ASSERT_TRUE(lv::MouseClickControl(Page(3), kIdcXmtrProcTimeUnits, lv::Point{r.Width() / 2, r.Height() / 2}));
  EXPECT_TRUE(saved);
}

}  // namespace
