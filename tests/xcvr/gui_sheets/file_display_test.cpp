// The value display helpers and the transmitter pages' file display: Browse
// through the (scripted) file dialog fills total time, points and rate from
// the file's header; a file that cannot be read shows the error and keeps
// the previous name.
#include <cmath>
#include <limits>

#include "sheet_fixture.h"
#include "platform/gui/gui_runtime.h"
#include "xcvr/gui/board_sheets.h"
#include "xcvr/gui/board_xmtr_pages.h"
#include "xcvr/gui/value_display.h"

namespace {

TEST(GroupThousands, GroupsFromTheEnd) {
  const struct {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {{L"", L""},           {L"0", L"0"},           {L"123", L"123"},
               {L"1234", L"1,234"},  {L"123456", L"123,456"}, {L"1234567", L"1,234,567"},
               {L"-1234", L"-1,234"}};
  for (const auto& c : cases) {
    EXPECT_EQ(GroupThousands(c.in), c.out) << c.in;
  }
  // A text whose grouped form would not fit its 1024-character buffer stays as it is.
  const std::wstring longText(1000, L'9');
  EXPECT_EQ(GroupThousands(longText), longText);
  EXPECT_EQ(GroupThousands(std::wstring(700, L'1')).size(), 700u + 233u);
}

class ValueDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    lv::DialogTemplate t;
    t.name = "values";
    t.width = 100;
    t.height = 30;
    t.controls = {{1, lv::ControlKind::kEdit, L"", 5, 5, 50, 12, lv::kStyleNone},
                  {2, lv::ControlKind::kStaticText, L"unit", 60, 7, 30, 8, lv::kStyleNone}};
    dialog_ = std::make_unique<lv::Dialog>(t);
    ASSERT_TRUE(dialog_->Create());
  }
  std::unique_ptr<lv::Dialog> dialog_;
};

TEST_F(ValueDisplayTest, UnitsByMagnitude) {
  using Show = void (*)(double, lv::Dialog*, int, int);
  const struct {
    Show show;
    double value;
    const wchar_t* text;
    const wchar_t* unit;
  } cases[] = {
      {ShowTimeWithUnits, 0.0, L"0", L"psec"},
      {ShowTimeWithUnits, 5e-13, L"0.5", L"psec"},
      {ShowTimeWithUnits, 1.5e-9, L"1.5", L"nsec"},
      {ShowTimeWithUnits, 2.5e-6, L"2.5", L"\u00B5sec"},
      {ShowTimeWithUnits, -2.5e-6, L"-2.5", L"\u00B5sec"},
      {ShowTimeWithUnits, 0.5, L"500", L"msec"},
      {ShowTimeWithUnits, 3.25, L"3.25", L"sec"},
      {ShowFrequencyWithUnits, 999.0, L"999", L"Hz"},
      {ShowFrequencyWithUnits, 1e3, L"1", L"kHz"},
      {ShowFrequencyWithUnits, 30.72e6, L"30.72", L"MHz"},
      {ShowFrequencyWithUnits, 2.4e9, L"2.4", L"GHz"},
      {ShowSampleRateWithUnits, 100.0, L"100", L"sps"},
      {ShowSampleRateWithUnits, 2e6, L"2", L"Msps"},
      {ShowSampleRateWithUnits, 1.5e9, L"1.5", L"Gsps"},
      {ShowSampleRateWithUnits, 245.76e3, L"245.76", L"ksps"},
      // Too long for the 16-character field in its largest unit: exponent form.
      {ShowSampleRateWithUnits, 1e300, L"1e+291", L"Gsps"},
  };
  for (const auto& c : cases) {
    c.show(c.value, dialog_.get(), 1, 2);
    EXPECT_EQ(dialog_->GetItemText(1), c.text) << c.value;
    EXPECT_EQ(dialog_->GetItemText(2), c.unit) << c.value;
  }
  // Not a number: "0", and the unit stays.
  ShowFrequencyWithUnits(std::nan(""), dialog_.get(), 1, 2);
  EXPECT_EQ(dialog_->GetItemText(1), L"0");
  EXPECT_EQ(dialog_->GetItemText(2), L"Gsps");
  ShowTimeWithUnits(std::numeric_limits<double>::infinity(), dialog_.get(), 1, 2);
  EXPECT_EQ(dialog_->GetItemText(1), L"0");
  // A null dialog does nothing.
  ShowTimeWithUnits(1.0, nullptr, 1, 2);
}

class FileDisplayTest : public lv_test::BoardDialogFixture {
 protected:
  void SetUp() override {
    BoardDialogFixture::SetUp();
    sheet_ = std::make_unique<CWSorvekInstrAD9361Sheet>(&instr_, &data_);
    ASSERT_TRUE(sheet_->Create());
    sheet_->ShowWindow(true);
    sheet_->SetActivePage(2);
  }
  void TearDown() override {
    sheet_.reset();
    BoardDialogFixture::TearDown();
  }
  CWSorvekInstrXmtrPage& Page() { return *sheet_->XmtrPage(1); }
  void Browse(const std::wstring& answer) {
    // Let the previous file dialog finish closing first.
    lv::ServeGuiEvents(20);
    lv::test_hooks::PushFileAnswer(answer);
    ASSERT_TRUE(lv::RunDialogStep(Page(), lv::DialogStep::Click(kIdcAD9361XmtrBrowse)));
  }
  std::vector<std::wstring> Display() {
    return {Page().GetItemText(kIdcAD9361XmtrTotalTime), Page().GetItemText(kIdcAD9361XmtrTotalTimeUnits),
            Page().GetItemText(kIdcAD9361XmtrPoints), Page().GetItemText(kIdcAD9361XmtrSampleRate),
            Page().GetItemText(kIdcAD9361XmtrSampleRateUnits)};
  }
  std::unique_ptr<CWSorvekInstrAD9361Sheet> sheet_;
};

TEST_F(FileDisplayTest, BrowseFillsTheDisplayForEachFormat) {
  const struct {
    std::wstring path;
    std::vector<std::wstring> display;
  } cases[] = {
      {WriteIqbin("million.iqbin", 1000000, 2e6), {L"500", L"msec", L"1,000,000", L"2", L"Msps"}},
      {WriteWv("short.wv", 1234, 30.72e6), {L"40.1693", L"\u00B5sec", L"1,234", L"30.72", L"Msps"}},
      {WriteIqbin("tiny.IQBIN", 10, 1e3), {L"10", L"msec", L"10", L"1", L"ksps"}},
      {WriteText("header.iqtxt", "IQTxt v1\r\nNumSamples 3\r\nSampleRate 100\r\nCenterFreq 0\r\n1 0\r\n0 1\r\n1 1\r\n"),
       {L"30", L"msec", L"3", L"100", L"sps"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.path));
    Browse(c.path);
    EXPECT_EQ(Page().GetItemText(kIdcAD9361XmtrFileName), c.path);
    EXPECT_EQ(Display(), c.display);
    EXPECT_TRUE(Page().IsModified());
    EXPECT_TRUE(shown_.empty()) << lv::WideToUtf8(shown_.empty() ? L"" : shown_[0].message);
  }
  // Browsing sends nothing: the data manager learns the name only on OK.
  EXPECT_EQ(FileNameOf(1), L"");
}

TEST_F(FileDisplayTest, UnreadableFileShowsTheErrorAndKeepsThePreviousName) {
  const std::wstring good = WriteIqbin("good.iqbin", 1000000, 2e6);
  Browse(good);
  const std::vector<std::wstring> shownGood = Display();
  Page().SetModified(false);
  const struct {
    std::wstring path;
    const wchar_t* message;
    const char* reader;  // in the call stack; null: no reader ran
  } cases[] = {
      {WriteText("broken.iqbin", "not a binary IQ file at all"), nullptr, "CLumvardBinFile::GetFileInfo"},
      {WriteText("broken.wv", "{TYPE: SMU-WV}{CLOCK: abc}"), nullptr, "CQReadRSWvFile"},
      {WriteText("samples.csv", "1,2\n"),
       L"The extension of the specified file does not match a supported file format.", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(lv::WideToUtf8(c.path));
    shown_.clear();
    Browse(c.path);
    ASSERT_EQ(shown_.size(), 1u);
    if (c.message != nullptr) {
      EXPECT_EQ(shown_[0].message, c.message);
    }
    EXPECT_FALSE(shown_[0].message.empty());
    if (c.reader != nullptr) {
      EXPECT_NE(shown_[0].callStack.find(c.reader), std::string::npos) << shown_[0].callStack;
    }
    EXPECT_NE(shown_[0].callStack.find("CWSorvekInstrAD9361XmtrPage::ShowFileParameters"), std::string::npos)
        << shown_[0].callStack;
    EXPECT_EQ(Page().GetItemText(kIdcAD9361XmtrFileName), good);
    EXPECT_EQ(Display(), shownGood);
    EXPECT_FALSE(Page().IsModified());
  }
  // Cancelling the file dialog changes nothing.
  shown_.clear();
  Browse(L"");
  EXPECT_EQ(Page().GetItemText(kIdcAD9361XmtrFileName), good);
  EXPECT_TRUE(shown_.empty());
}

TEST_F(FileDisplayTest, ShowingDisplaysTheDataManagersFileSilently) {
  const std::wstring file = WriteIqbin("stored.iqbin", 1000000, 2e6);
  data_.SetParam(file.c_str(), CWMultiDataMgrThread::kParamFileName, 1);
  data_.SetParam(L"/no/such/folder/unknown.dat", CWMultiDataMgrThread::kParamFileName, 0);
  sheet_->ShowWindow(true);
  EXPECT_EQ(Page().GetItemText(kIdcAD9361XmtrFileName), file);
  EXPECT_EQ(Display(), (std::vector<std::wstring>{L"500", L"msec", L"1,000,000", L"2", L"Msps"}));
  // A name of no supported format shows 0 psec and 0 points, without a message.
  CWSorvekInstrXmtrPage& first = *sheet_->XmtrPage(0);
  EXPECT_EQ(first.GetItemText(kIdcAD9361XmtrFileName), L"/no/such/folder/unknown.dat");
  EXPECT_EQ(first.GetItemText(kIdcAD9361XmtrTotalTime), L"0");
  EXPECT_EQ(first.GetItemText(kIdcAD9361XmtrTotalTimeUnits), L"psec");
  EXPECT_EQ(first.GetItemText(kIdcAD9361XmtrPoints), L"0");
  EXPECT_TRUE(shown_.empty());
  EXPECT_FALSE(Page().IsModified());
  EXPECT_FALSE(first.IsModified());
}

}  // namespace
