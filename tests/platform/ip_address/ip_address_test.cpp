// The IPv4 address control of dialogs, on real Qt widgets (offscreen): what a
// user's typing does to the four fields, clamping, blank fields, the packed
// and dotted values, enabling, and the change notification.
#include "platform/gui/ip_address.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gui/dialog.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/gui_runtime.h"
#include "platform/text.h"
#include "support/gui_app.h"

namespace {

constexpr int kIdAddress = 300;
constexpr int kIdEdit = 301;

lv::DialogTemplate AddressTemplate() {
  lv::DialogTemplate t;
  t.name = "IpAddressTest";
  t.caption = L"Address";
  t.width = 140;
  t.height = 50;
  t.controls = {
      {-1, lv::ControlKind::kStaticText, L"IP address", 6, 8, 50, 12},
      {kIdAddress, lv::ControlKind::kIpAddress, L"", 60, 6, 78, 12, lv::kStyleTabStop},
      {kIdEdit, lv::ControlKind::kEdit, L"", 60, 26, 40, 12, lv::kStyleTabStop | lv::kStyleBorder},
  };
  return t;
}

// Counts the change notifications per control.
class AddressDialog : public lv::Dialog {
 public:
  AddressDialog() : lv::Dialog(AddressTemplate()) {}
  std::vector<int> changes;

 protected:
  void OnEditChanged(int id) override { changes.push_back(id); }
};

class IpAddressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    dlg_ = std::make_unique<AddressDialog>();
    ASSERT_TRUE(dlg_->Create());
    dlg_->Show(true);
  }
  void TearDown() override { dlg_.reset(); }

  std::vector<std::wstring> Fields() const {
    std::vector<std::wstring> out;
    for (int i = 0; i < 4; ++i) out.push_back(lv::IpAddressFieldText(*dlg_, kIdAddress, i));
    return out;
  }
  int Changes() const {
    int n = 0;
    for (int id : dlg_->changes) n += id == kIdAddress ? 1 : 0;
    return n;
  }
  void Type(const std::wstring& keys) { ASSERT_TRUE(lv::TypeIntoIpAddress(*dlg_, kIdAddress, keys)); }
  void Press(lv::IpAddressKey key) { ASSERT_TRUE(lv::PressIpAddressKey(*dlg_, kIdAddress, key)); }

  std::unique_ptr<AddressDialog> dlg_;
};

TEST(IpAddressPacking, FirstFieldInTheHighestByte) {
  struct Case {
    uint32_t a, b, c, d;
    uint32_t packed;
    const wchar_t* text;
  };
  const Case cases[] = {
      {192, 168, 2, 1, 0xC0A80201u, L"192.168.2.1"},
      {0, 0, 0, 0, 0u, L"0.0.0.0"},
      {255, 255, 255, 255, 0xFFFFFFFFu, L"255.255.255.255"},
      {256, 257, 511, 1024, 0x0001FF00u, L"0.1.255.0"},  // each taken modulo 256
      {127, 0, 0, 1, 0x7F000001u, L"127.0.0.1"},
  };
  for (const Case& k : cases) {
    const uint32_t p = lv::MakeIpAddress(k.a, k.b, k.c, k.d);
    EXPECT_EQ(p, k.packed) << lv::WideToUtf8(k.text);
    EXPECT_EQ(lv::FormatIpAddress(p), k.text);
    EXPECT_EQ(lv::IpAddressField(p, 0), static_cast<int>(k.a % 256));
    EXPECT_EQ(lv::IpAddressField(p, 3), static_cast<int>(k.d % 256));
  }
}

TEST_F(IpAddressTest, StartsBlankAtItsTemplateRectangle) {
  EXPECT_TRUE(lv::IsIpAddressBlank(*dlg_, kIdAddress));
  uint32_t packed = 123;
  EXPECT_EQ(lv::GetIpAddress(*dlg_, kIdAddress, &packed), 0);
  EXPECT_EQ(packed, 0u);
  EXPECT_EQ(dlg_->GetItemText(kIdAddress), L"");
  EXPECT_EQ(Fields(), (std::vector<std::wstring>{L"", L"", L"", L""}));
  const lv::Rect want = dlg_->MapDialogRect(60, 6, 78, 12);
  EXPECT_EQ(dlg_->GetItemRect(kIdAddress), want);
  EXPECT_TRUE(dlg_->IsItemEnabled(kIdAddress));
  EXPECT_TRUE(dlg_->changes.empty());
}

TEST_F(IpAddressTest, SetAndGetPackedAddressReportOnlyRealChanges) {
  ASSERT_TRUE(lv::SetIpAddress(*dlg_, kIdAddress, lv::MakeIpAddress(192, 168, 2, 1)));
  EXPECT_EQ(Fields(), (std::vector<std::wstring>{L"192", L"168", L"2", L"1"}));
  EXPECT_EQ(dlg_->GetItemText(kIdAddress), L"192.168.2.1");
  uint32_t packed = 0;
  EXPECT_EQ(lv::GetIpAddress(*dlg_, kIdAddress, &packed), 4);
  EXPECT_EQ(packed, 0xC0A80201u);
  EXPECT_FALSE(lv::IsIpAddressBlank(*dlg_, kIdAddress));
  EXPECT_EQ(Changes(), 1);  // four fields, one notification
  ASSERT_TRUE(lv::SetIpAddress(*dlg_, kIdAddress, lv::MakeIpAddress(192, 168, 2, 1)));
  EXPECT_EQ(Changes(), 1);  // the same value again changes nothing
  ASSERT_TRUE(lv::ClearIpAddress(*dlg_, kIdAddress));
  EXPECT_TRUE(lv::IsIpAddressBlank(*dlg_, kIdAddress));
  EXPECT_EQ(Changes(), 2);
  ASSERT_TRUE(lv::SetIpAddress(*dlg_, kIdAddress, 0));
  EXPECT_EQ(Fields(), (std::vector<std::wstring>{L"0", L"0", L"0", L"0"}));
  EXPECT_FALSE(lv::IsIpAddressBlank(*dlg_, kIdAddress));  // zeros are not blank
  EXPECT_EQ(lv::GetIpAddress(*dlg_, kIdAddress, nullptr), 4);
}

TEST_F(IpAddressTest, TypingFillsClampsAndMovesBetweenFields) {
  struct Case {
    const wchar_t* keys;
    std::vector<std::wstring> fields;
    int inputField;
  };
  const std::vector<Case> cases = {
      {L"192.168.2.1", {L"192", L"168", L"2", L"1"}, 3},
      {L"1921682", {L"192", L"168", L"2", L""}, 2},        // a third digit moves on
      {L"10 0 7 9", {L"10", L"0", L"7", L"9"}, 3},         // a space moves on as a dot does
      {L"999.1.2.3", {L"255", L"1", L"2", L"3"}, 3},       // clamped when the field is filled
      {L"300", {L"255", L"", L"", L""}, 1},
      {L"1..2", {L"1", L"2", L"", L""}, 1},                // a dot in an empty field stays there
      {L".5", {L"5", L"", L"", L""}, 0},
      {L"a1b-2:", {L"12", L"", L"", L""}, 0},              // only digits belong in a field
      {L"010.5", {L"10", L"5", L"", L""}, 1},              // no leading zeros once filled
      {L"1.2.3.4.5", {L"1", L"2", L"3", L"45"}, 3},        // no field after the fourth
      {L"1.2.3.4567", {L"1", L"2", L"3", L"255"}, 3},      // the last field keeps the input
      {L"192.168.001.002", {L"192", L"168", L"1", L"2"}, 3},  // a dot after a move is that move
      {L"192..5", {L"192", L"5", L"", L""}, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(lv::WideToUtf8(k.keys));
    ASSERT_TRUE(lv::ClearIpAddress(*dlg_, kIdAddress));
    ASSERT_TRUE(lv::SetIpAddressFocus(*dlg_, kIdAddress, 0));
    Type(k.keys);
    EXPECT_EQ(Fields(), k.fields);
    EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdAddress), k.inputField);
  }
}

TEST_F(IpAddressTest, TypingOverAShownAddressReplacesEachField) {
  ASSERT_TRUE(lv::SetIpAddress(*dlg_, kIdAddress, lv::MakeIpAddress(192, 168, 2, 1)));
  ASSERT_TRUE(lv::SetIpAddressFocus(*dlg_, kIdAddress, 0));  // selects the field's text
  Type(L"127.0.0.2");
  EXPECT_EQ(Fields(), (std::vector<std::wstring>{L"127", L"0", L"0", L"2"}));
  EXPECT_EQ(dlg_->GetItemText(kIdAddress), L"127.0.0.2");
}

TEST_F(IpAddressTest, LeavingAFieldClampsIt) {
  ASSERT_TRUE(lv::SetIpAddressFocus(*dlg_, kIdAddress, 1));
  Type(L"77");
  Press(lv::IpAddressKey::kHome);  // leaves field 1 with two digits
  EXPECT_EQ(Fields(), (std::vector<std::wstring>{L"", L"77", L"", L""}));
  ASSERT_TRUE(lv::SetIpAddressRange(*dlg_, kIdAddress, 1, 10, 50));
  EXPECT_EQ(Fields()[1], L"50");  // a new range clamps at once
  ASSERT_TRUE(lv::SetIpAddressFocus(*dlg_, kIdAddress, 1));
  Type(L"7");
  EXPECT_EQ(Fields()[1], L"7");  // not yet: the user may type on
  uint32_t packed = 0;
  lv::GetIpAddress(*dlg_, kIdAddress, &packed);
  EXPECT_EQ(lv::IpAddressField(packed, 1), 10);  // but it reads as it will be
  EXPECT_EQ(dlg_->GetItemText(kIdAddress), L"0.10.0.0");
  Press(lv::IpAddressKey::kEnd);
  EXPECT_EQ(Fields()[1], L"10");
  EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdAddress), 3);
}

TEST_F(IpAddressTest, BackspaceAndArrowsCrossFieldEdges) {
  ASSERT_TRUE(lv::SetIpAddressFocus(*dlg_, kIdAddress, 0));
  Type(L"12.34");
  EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdAddress), 1);
  Press(lv::IpAddressKey::kBackspace);
  Press(lv::IpAddressKey::kBackspace);
  EXPECT_EQ(Fields()[1], L"");
  EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdAddress), 1);
  Press(lv::IpAddressKey::kBackspace);  // at the start of an empty field: back to the end of field 0
  EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdAddress), 0);
  EXPECT_EQ(lv::IpAddressCursor(*dlg_, kIdAddress), 2);
  EXPECT_EQ(Fields()[0], L"12");  // moving deletes nothing
  Press(lv::IpAddressKey::kBackspace);
  EXPECT_EQ(Fields()[0], L"1");
  Press(lv::IpAddressKey::kRight);  // at the end: on to the start of field 1
  EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdAddress), 1);
  EXPECT_EQ(lv::IpAddressCursor(*dlg_, kIdAddress), 0);
  Type(L"9");
  Press(lv::IpAddressKey::kLeft);
  EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdAddress), 1);  // inside the field first
  Press(lv::IpAddressKey::kLeft);
  EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdAddress), 0);
  Press(lv::IpAddressKey::kLeft);
  Press(lv::IpAddressKey::kLeft);  // no field before the first
  EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdAddress), 0);
  EXPECT_EQ(Fields(), (std::vector<std::wstring>{L"1", L"9", L"", L""}));
  uint32_t packed = 0;
  EXPECT_EQ(lv::GetIpAddress(*dlg_, kIdAddress, &packed), 2);  // blank fields count as 0
  EXPECT_EQ(packed, lv::MakeIpAddress(1, 9, 0, 0));
  EXPECT_EQ(dlg_->GetItemText(kIdAddress), L"1.9.0.0");
}

TEST_F(IpAddressTest, EveryTypedChangeIsReportedOnce) {
  ASSERT_TRUE(lv::SetIpAddressFocus(*dlg_, kIdAddress, 0));
  Type(L"1");
  EXPECT_EQ(Changes(), 1);
  Type(L"x.");  // rejected and a move: no change
  EXPECT_EQ(Changes(), 1);
  Type(L"23");
  EXPECT_EQ(Changes(), 3);
  Type(L"9");  // "239": a change, then the move
  EXPECT_EQ(Changes(), 4);
  ASSERT_TRUE(lv::SetIpAddressFocus(*dlg_, kIdAddress, 3));
  Type(L"999");  // three digits, then the clamp to 255
  EXPECT_EQ(Changes(), 8);
  EXPECT_EQ(Fields()[3], L"255");
  // Only this control's notifications: the edit beside it stays silent.
  for (int id : dlg_->changes) EXPECT_EQ(id, kIdAddress);
}

TEST_F(IpAddressTest, DottedTextInAndOut) {
  struct Case {
    const wchar_t* in;
    std::vector<std::wstring> fields;
    const wchar_t* out;
    int filled;
  };
  const std::vector<Case> cases = {
      {L"10.1.2.3", {L"10", L"1", L"2", L"3"}, L"10.1.2.3", 4},
      {L"10.0.0", {L"10", L"0", L"0", L""}, L"10.0.0.0", 3},
      {L"1.x.3.4", {L"1", L"", L"3", L"4"}, L"1.0.3.4", 3},
      {L"300.1.1.1", {L"255", L"1", L"1", L"1"}, L"255.1.1.1", 4},
      {L"1.2.3.4.5", {L"1", L"2", L"3", L"4"}, L"1.2.3.4", 4},
      {L"...", {L"", L"", L"", L""}, L"", 0},
      {L"", {L"", L"", L"", L""}, L"", 0},
      {L"-1.+2.3.4", {L"", L"", L"3", L"4"}, L"0.0.3.4", 2},
      {L"007.8.9.10", {L"7", L"8", L"9", L"10"}, L"7.8.9.10", 4},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(lv::WideToUtf8(k.in));
    ASSERT_TRUE(dlg_->SetItemText(kIdAddress, k.in));
    EXPECT_EQ(Fields(), k.fields);
    EXPECT_EQ(dlg_->GetItemText(kIdAddress), k.out);
    EXPECT_EQ(lv::GetIpAddress(*dlg_, kIdAddress, nullptr), k.filled);
  }
  // The test hook's typing step takes dotted text too.
  ASSERT_TRUE(lv::RunDialogStep(*dlg_, lv::DialogStep::Type(kIdAddress, L"172.16.0.9")));
  EXPECT_EQ(dlg_->GetItemText(kIdAddress), L"172.16.0.9");
}

TEST_F(IpAddressTest, DisabledControlTakesNoInput) {
  ASSERT_TRUE(lv::SetIpAddress(*dlg_, kIdAddress, lv::MakeIpAddress(1, 2, 3, 4)));
  ASSERT_TRUE(dlg_->EnableItem(kIdAddress, false));
  EXPECT_FALSE(dlg_->IsItemEnabled(kIdAddress));
  QWidget* top = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->windowTitle() == QStringLiteral("Address")) top = w;
  }
  ASSERT_NE(top, nullptr);
  int fields = 0;
  for (QLineEdit* e : top->findChildren<QLineEdit*>()) {
    if (e->maxLength() == 3) {
      ++fields;
      EXPECT_FALSE(e->isEnabled());
    }
  }
  EXPECT_EQ(fields, 4);
  EXPECT_FALSE(lv::TypeIntoIpAddress(*dlg_, kIdAddress, L"9"));
  EXPECT_FALSE(lv::RunDialogStep(*dlg_, lv::DialogStep::Type(kIdAddress, L"9.9.9.9")));
  EXPECT_EQ(dlg_->GetItemText(kIdAddress), L"1.2.3.4");
  // Set from the program, the value still changes while disabled.
  ASSERT_TRUE(lv::SetIpAddress(*dlg_, kIdAddress, lv::MakeIpAddress(5, 6, 7, 8)));
  EXPECT_EQ(dlg_->GetItemText(kIdAddress), L"5.6.7.8");
  ASSERT_TRUE(dlg_->EnableItem(kIdAddress, true));
  ASSERT_TRUE(lv::SetIpAddressFocus(*dlg_, kIdAddress, 0));
  Type(L"9");
  EXPECT_EQ(Fields()[0], L"9");
}

TEST_F(IpAddressTest, OtherControlsAndBadArgumentsAreRefused) {
  EXPECT_FALSE(lv::SetIpAddress(*dlg_, kIdEdit, 1));
  EXPECT_EQ(lv::GetIpAddress(*dlg_, kIdEdit, nullptr), -1);
  EXPECT_FALSE(lv::ClearIpAddress(*dlg_, 999));
  EXPECT_FALSE(lv::IsIpAddressBlank(*dlg_, kIdEdit));
  EXPECT_FALSE(lv::SetIpAddressText(*dlg_, kIdEdit, L"1.2.3.4"));
  EXPECT_EQ(dlg_->GetItemText(kIdEdit), L"");
  EXPECT_FALSE(lv::SetIpAddressRange(*dlg_, kIdAddress, 4, 0, 255));
  EXPECT_FALSE(lv::SetIpAddressRange(*dlg_, kIdAddress, -1, 0, 255));
  EXPECT_FALSE(lv::SetIpAddressRange(*dlg_, kIdAddress, 0, 20, 10));
  EXPECT_FALSE(lv::SetIpAddressRange(*dlg_, kIdAddress, 0, 0, 256));
  EXPECT_FALSE(lv::SetIpAddressFocus(*dlg_, kIdAddress, 4));
  EXPECT_EQ(lv::IpAddressFieldText(*dlg_, kIdAddress, 4), L"");
  EXPECT_EQ(lv::IpAddressInputField(*dlg_, kIdEdit), -1);
  // A dialog without a window answers nothing.
  AddressDialog closed;
  EXPECT_FALSE(lv::SetIpAddress(closed, kIdAddress, 1));
  EXPECT_EQ(lv::GetIpAddress(closed, kIdAddress, nullptr), -1);
  EXPECT_FALSE(lv::TypeIntoIpAddress(closed, kIdAddress, L"1"));
}

// A modal dialog with the control, answered by a script: typing reaches the
// dialog while it runs, and the window goes away cleanly afterwards.
TEST(IpAddressModal, ScriptedTypingInAModalDialog) {
  lv_test::EnsureGuiApplication();
  ASSERT_TRUE(lv::StartGuiRuntime());
  AddressDialog dlg;
  std::wstring seen;
  lv::AnswerNextDialog({lv::DialogStep::Type(kIdAddress, L"10.20.30.40"),
                        lv::DialogStep::Inspect([&](lv::Dialog* d) { seen = d->GetItemText(kIdAddress); }),
                        lv::DialogStep::Escape()});
  EXPECT_EQ(dlg.DoModal(), lv::kIdCancel);
  EXPECT_EQ(seen, L"10.20.30.40");
  EXPECT_EQ(dlg.changes, std::vector<int>{kIdAddress});
  EXPECT_FALSE(dlg.HasWindow());
  EXPECT_EQ(lv::ClearDialogAnswers(), 0);
  lv::ShutDownGuiRuntime();
}

TEST_F(IpAddressTest, GalleryBlankFilledAndDisabled) {
  const std::string dir = lv_test::GalleryFolder("ip_address");
  EXPECT_TRUE(lv::SaveDialogPng(*dlg_, dir + "/blank.png"));
  ASSERT_TRUE(lv::SetIpAddress(*dlg_, kIdAddress, lv::MakeIpAddress(192, 168, 255, 1)));
  EXPECT_TRUE(lv::SaveDialogPng(*dlg_, dir + "/filled.png"));
  ASSERT_TRUE(dlg_->EnableItem(kIdAddress, false));
  EXPECT_TRUE(lv::SaveDialogPng(*dlg_, dir + "/disabled.png"));
}

}  // namespace
