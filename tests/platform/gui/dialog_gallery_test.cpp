// Pictures of the dialogs for a person to look at, written to
// <build>/gallery/dialogs (ctest -L gallery runs these alone): the error
// dialog before and after Show Details, a sample property sheet, and a dialog
// with every control kind.
#include <QImage>
#include <string>

#include "core/error.h"
#include "core/error_dialog.h"
#include "core/gui/error_window.h"
#include "dialog_fixture.h"
#include "platform/gui/property_sheet.h"

namespace {

using lv::ControlKind;
using lv::DialogStep;

class DialogGallery : public lv_test::DialogTest {
 protected:
  static std::string Path(const std::string& name) { return lv_test::GalleryFolder("dialogs") + "/" + name; }
  static std::wstring WidePath(const std::string& name) {
    const std::string p = Path(name);
    return std::wstring(p.begin(), p.end());
  }
  // The saved picture has the window's client size.
  static void ExpectPicture(const std::string& name, lv::Size client) {
    const QImage image(QString::fromStdString(Path(name)));
    ASSERT_FALSE(image.isNull()) << name;
    EXPECT_EQ(image.width(), client.cx) << name;
    EXPECT_EQ(image.height(), client.cy) << name;
  }
};

TEST_F(DialogGallery, ErrorDialogBeforeAndAfterShowDetails) {
  ASSERT_TRUE(InstallErrorDialogWindow());
  auto* e = new CQError("Invalid sample rate.\nThe rate must be above 0 Hz.");
  e->AddToCallStack("CQCArrayTD::Set");
  e->AddToCallStack("CQCArrayTD::MakeCopy");
  e->AddToCallStack(
      "CWSorvekXmtrProcSheet::OnOKButton (a long call-stack line that scrolls sideways in the list box "
      "because the list's horizontal extent is 800 pixels)");
  e->AddToCallStack("CWSorvekMainFrame::OnCommand");
  lv::Size client;
  lv::AnswerNextDialog({DialogStep::Inspect([&](lv::Dialog* d) { client = d->ClientSize(); }),
                        DialogStep::SavePng(WidePath("error_dialog.png")), DialogStep::Click(kErrorShowDetailsId),
                        DialogStep::SavePng(WidePath("error_dialog_details.png")), DialogStep::Click(kErrorOkId)});
  ShowErrorDialog(e);
  UninstallErrorDialogWindow();
  ExpectPicture("error_dialog.png", client);
  ExpectPicture("error_dialog_details.png", client);
}

lv::DialogTemplate ProcessingPage() {
  lv::DialogTemplate t;
  t.name = "126";
  t.caption = L"Transmitter";
  t.width = 189;
  t.height = 212;
  const uint32_t tab = lv::kStyleTabStop;
  t.controls = {
      {-1, ControlKind::kGroupBox, L"Sample rate", 6, 4, 177, 62, 0},
      {1248, ControlKind::kCheckBox, L"Interpolate", 14, 16, 70, 10, tab},
      {-1, ControlKind::kStaticText, L"Interpolation rate", 24, 30, 70, 8, 0},
      {1249, ControlKind::kEdit, L"1", 100, 28, 50, 12, tab},
      {1250, ControlKind::kCheckBox, L"Decimate", 14, 44, 70, 10, tab},
      {1251, ControlKind::kEdit, L"1", 100, 46, 50, 12, tab},
      {-1, ControlKind::kGroupBox, L"Shifts", 6, 72, 177, 70, 0},
      {1245, ControlKind::kCheckBox, L"Shift Frequency", 14, 84, 80, 10, tab},
      {-1, ControlKind::kStaticText, L"Frequency", 24, 98, 60, 8, 0},
      {1246, ControlKind::kEdit, L"0.0", 100, 96, 50, 12, tab},
      {1247, ControlKind::kFrame, L"", 154, 96, 24, 12, 0},
      {1254, ControlKind::kCheckBox, L"Shift Time", 14, 112, 80, 10, tab},
      {-1, ControlKind::kStaticText, L"Time delay", 24, 126, 60, 8, 0},
      {1252, ControlKind::kEdit, L"0.0", 100, 124, 50, 12, tab},
      {1253, ControlKind::kFrame, L"", 154, 124, 24, 12, 0},
      {1256, ControlKind::kCheckBox, L"Rotate Phase", 14, 150, 80, 10, tab},
      {-1, ControlKind::kStaticText, L"Phase (Deg)", 24, 164, 60, 8, 0},
      {1255, ControlKind::kEdit, L"0.0", 100, 162, 50, 12, tab},
      {1258, ControlKind::kCheckBox, L"Apply Gain", 14, 180, 80, 10, tab},
      {-1, ControlKind::kStaticText, L"Gain (dB)", 24, 194, 60, 8, 0},
      {1257, ControlKind::kEdit, L"0.0", 100, 192, 50, 12, tab},
  };
  return t;
}

// A page whose unit buttons take the places of its two frames.
class UnitPage : public lv::PropertyPage {
 public:
  UnitPage() : lv::PropertyPage(ProcessingPage()) {}

 protected:
  bool OnInitDialog() override {
    CreateControl({1247, ControlKind::kPushButton, L"MHz", 0, 0, 0, 0, 0}, GetItemRect(1247));
    CreateControl({1253, ControlKind::kPushButton, L"nsec", 0, 0, 0, 0, 0}, GetItemRect(1253));
    return true;
  }
  void OnEditChanged(int) override { SetModified(true); }
};

TEST_F(DialogGallery, PropertySheet) {
  UnitPage pages[4];
  lv::PropertySheet sheet(L"Transmitter Processing");
  for (auto& p : pages) {
    sheet.AddPage(&p);
  }
  ASSERT_TRUE(sheet.Create());
  for (int i = 0; i < 4; ++i) {
    sheet.SetTabText(i, L"Xmtr " + std::to_wstring(i + 1));
  }
  sheet.Show(true);
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Type(1246, L"2.5")));
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Check(1245, lv::kChecked)));
  lv::ServeGuiEvents(20);
  ASSERT_TRUE(lv::SaveSheetPng(sheet, Path("property_sheet.png")));
  ExpectPicture("property_sheet.png", sheet.ClientSize());
  EXPECT_TRUE(sheet.IsApplyEnabled());
}

TEST_F(DialogGallery, EveryControlKind) {
  lv::DialogTemplate t;
  t.caption = L"Every Control Kind";
  t.width = 250;
  t.height = 170;
  const uint32_t tab = lv::kStyleTabStop;
  t.controls = {
      {-1, ControlKind::kGroupBox, L"Group box", 6, 4, 116, 74, 0},
      {-1, ControlKind::kStaticText, L"Static text", 12, 18, 44, 8, 0},
      {10, ControlKind::kEdit, L"Edit", 60, 16, 56, 12, tab},
      {11, ControlKind::kCheckBox, L"Check box", 12, 34, 80, 10, tab},
      {12, ControlKind::kRadioButton, L"Radio one", 12, 48, 80, 10, tab | lv::kStyleGroup},
      {13, ControlKind::kRadioButton, L"Radio two", 12, 60, 80, 10, 0},
      {14, ControlKind::kDropDownList, L"", 128, 8, 116, 60, tab | lv::kStyleVScroll},
      {15, ControlKind::kListBox, L"", 128, 28, 116, 50,
       tab | lv::kStyleBorder | lv::kStyleVScroll | lv::kStyleHScroll | lv::kStyleNoIntegralHeight},
      {16, ControlKind::kTabControl, L"", 6, 84, 116, 50, 0},
      {17, ControlKind::kFrame, L"", 128, 84, 116, 50, 0},
      {lv::kIdOk, ControlKind::kDefPushButton, L"OK", 66, 146, 50, 14, tab},
      {lv::kIdCancel, ControlKind::kPushButton, L"Cancel", 134, 146, 50, 14, tab},
  };
  lv_test::RecordingDialog d(t);
  ASSERT_TRUE(d.Create());
  d.AddString(14, L"Drop-down list");
  d.SetCurSel(14, 0);
  for (const wchar_t* s : {L"List box entry one", L"entry two", L"entry three"}) {
    d.AddString(15, s);
  }
  d.SetHorizontalExtent(15, 300);
  d.AddString(16, L"Tab one");
  d.AddString(16, L"Tab two");
  d.SetCheck(11, lv::kChecked);
  d.SetCheck(12, lv::kChecked);
  d.Show(true);
  lv::ServeGuiEvents(20);
  ASSERT_TRUE(lv::SaveDialogPng(d, Path("every_control_kind.png")));
  ExpectPicture("every_control_kind.png", d.ClientSize());
}

}  // namespace
