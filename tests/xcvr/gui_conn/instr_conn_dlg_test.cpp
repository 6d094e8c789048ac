// The connection dialog on real widgets (offscreen), driven as a user drives
// it, against a running instrument-manager thread and the fake board.
#include "xcvr/gui/instr_conn_dlg.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/fake_iiod.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/ip_address.h"
#include "platform/text.h"
#include "platform/ui_post.h"
#include "support/errors.h"
#include "support/gui_app.h"
#include "xcvr/instr_settings.h"
#include "xcvr/instr_thread.h"

namespace {

using lv::DialogStep;

// The top-level widget of the dialog (the newest with its caption).
QWidget* DialogWidget() {
  QWidget* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->windowTitle() == QStringLiteral("Instrument Connection")) found = w;
  }
  return found;
}

class ConnDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    previousUi_ = lv::SetUiPostTarget(&ui_);
    thread_ = std::make_unique<CWInstrIIOMultiXcvrMgrThread>(4, 4);
    ASSERT_TRUE(thread_->StartUIThread());
    dlg_ = std::make_unique<CWUIInstrMultiConnDlg>(4);
    ASSERT_TRUE(dlg_->Create());
    dlg_->SetInstrThread(thread_.get());
    dlg_->SetForegroundHook([this] { ++foregrounds_; });
  }
  void TearDown() override {
    dlg_.reset();
    if (thread_) thread_->StopAndJoin(10000);
    thread_.reset();
    fake_.reset();
    lv::SetUiPostTarget(previousUi_);
  }

  void StartBoard(const std::string& family) {
    fake_ = std::make_unique<lv_fake::FakeIiod>(lv_fake::ReadBoardFixture(family));
    fake_->Start();
  }
  // What the instrument thread holds (a copy).
  std::unique_ptr<CQInstrIIOMultiXcvrSettings> Stored() {
    void* p = nullptr;
    thread_->GetParam(&p, kInstrGetSettings);
    return std::unique_ptr<CQInstrIIOMultiXcvrSettings>(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
  }
  // Stores a model, connection and address as a settings file or another
  // dialog would.
  void Store(int32_t model, int32_t type, const wchar_t* address) {
    CQInstrIIOMultiXcvrSettings s(4, 4);
    s.modelSet = true;
    s.model = model;
    s.connectionSet = true;
    s.connectionType = type;
    s.SetIPAddress(address);
    thread_->SetParam(static_cast<void*>(&s), kInstrSetSettings);
  }
  void Pick(int id, int entry) { ASSERT_TRUE(lv::RunDialogStep(*dlg_, DialogStep::Pick(id, entry))); }
  void Click(int id) { ASSERT_TRUE(lv::RunDialogStep(*dlg_, DialogStep::Click(id))); }
  // Types an address over the four fields, as a user would.
  void TypeAddress(const std::wstring& keys) {
    ASSERT_TRUE(lv::SetIpAddressFocus(*dlg_, kIdcInstrConnIpAddress, 0));
    ASSERT_TRUE(lv::TypeIntoIpAddress(*dlg_, kIdcInstrConnIpAddress, keys));
  }
  std::wstring Shown() const { return dlg_->GetItemText(kIdcInstrConnIpAddress); }
  // Asks the instrument thread to connect and waits until it has tried.
  void ConnectNow() {
    thread_->PutMessage(kMsgInstrConnect, nullptr);
    int32_t model = 0;
    thread_->GetParam(&model, kInstrGetModel);  // served after the connect
  }

  lv_test::ShownErrors shown_;  // outlives the thread
  lv::HeadlessUiLoop ui_;
  lv::UiPostTarget* previousUi_ = nullptr;
  std::unique_ptr<lv_fake::FakeIiod> fake_;
  std::unique_ptr<CWInstrIIOMultiXcvrMgrThread> thread_;
  std::unique_ptr<CWUIInstrMultiConnDlg> dlg_;
  int foregrounds_ = 0;
};

TEST_F(ConnDlgTest, TemplateControlsAtTheirDialogUnitRectangles) {
  const lv::DialogTemplate t = InstrMultiConnDlgTemplate();
  EXPECT_EQ(t.name, "INSTR_MULTI_CONN_DIALOG");
  EXPECT_EQ(dlg_->GetCaption(), L"Instrument Connection");
  const lv::Rect client = dlg_->MapDialogRect(0, 0, 197, 104);
  EXPECT_EQ(dlg_->ClientSize(), (lv::Size{client.Width(), client.Height()}));

  struct Row {
    int id;
    lv::ControlKind kind;
    const wchar_t* text;
    int x, y, w, h;
  };
  using K = lv::ControlKind;
  const Row rows[] = {
      {-1, K::kStaticText, L"Instrument", 12, 6, 66, 12},
      {1115, K::kDropDownList, L"", 84, 6, 96, 72},
      {-1, K::kStaticText, L"Connection type", 12, 24, 66, 12},
      {1119, K::kDropDownList, L"", 84, 24, 96, 72},
      {-1, K::kGroupBox, L"LAN Parameters", 6, 42, 180, 30},
      {-1, K::kStaticText, L"IP address", 12, 54, 66, 12},
      {1116, K::kIpAddress, L"", 84, 54, 78, 12},
      {1117, K::kDefPushButton, L"Apply", 24, 78, 56, 17},
      {1118, K::kPushButton, L"Close", 114, 78, 56, 17},
  };
  ASSERT_EQ(t.controls.size(), std::size(rows));
  QWidget* top = DialogWidget();
  ASSERT_NE(top, nullptr);
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Row& r = rows[i];
    const lv::ControlTemplate& c = t.controls[i];
    SCOPED_TRACE(lv::WideToUtf8(r.text) + " " + std::to_string(r.id));
    EXPECT_EQ(c.id, r.id);
    EXPECT_EQ(c.kind, r.kind);
    EXPECT_EQ(c.text, r.text);
    EXPECT_EQ((std::vector<int>{c.x, c.y, c.w, c.h}), (std::vector<int>{r.x, r.y, r.w, r.h}));
    const lv::Rect want = dlg_->MapDialogRect(r.x, r.y, r.w, r.h);
    if (r.id != -1) {
      const lv::Rect got = dlg_->GetItemRect(r.id);
      if (r.kind == K::kDropDownList) {
        // Closed, a drop-down list is as high as its font needs; the
        // template's height is that of the open list.
        EXPECT_EQ((std::vector<int>{got.left, got.top, got.right}), (std::vector<int>{want.left, want.top, want.right}));
        EXPECT_LE(got.Height(), want.Height());
        EXPECT_GT(got.Height(), 0);
      } else {
        EXPECT_EQ(got, want);
      }
      EXPECT_EQ(dlg_->GetItemText(r.id), r.kind == K::kDropDownList ? dlg_->GetListText(r.id, 0) : std::wstring(r.text));
    } else {
      // Labels and the group box have no id: find them by their text.
      QWidget* found = nullptr;
      for (QLabel* l : top->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (l->text() == QString::fromWCharArray(r.text)) found = l;
      }
      for (QGroupBox* g : top->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
        if (g->title() == QString::fromWCharArray(r.text)) found = g;
      }
      ASSERT_NE(found, nullptr);
      const QRect g = found->geometry();
      EXPECT_EQ((lv::Rect{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()}), want);
    }
  }
}

TEST_F(ConnDlgTest, CreatedHiddenWithBothListsFilled) {
  EXPECT_FALSE(dlg_->IsVisible());
  ASSERT_EQ(dlg_->GetCount(kIdcInstrConnModel), 9);
  const wchar_t* models[] = {L"FMCOMMS3", L"ADRV9361", L"ADALM-Pluto 2Rx 2Tx", L"AD9371", L"ADRV9009",
                             L"FMCDAQ2",  L"AD9081",   L"AD9082",              L"AD9172"};
  const int32_t codes[] = {12, 2, 16, 4, 5, 10, 9, 14, 15};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(dlg_->GetListText(kIdcInstrConnModel, i), models[i]);
    EXPECT_EQ(InstrConnModelText(i), std::wstring(models[i]));
    EXPECT_EQ(InstrConnModelOfEntry(i), codes[i]);
    EXPECT_EQ(InstrConnEntryOfModel(codes[i]), i);
  }
  EXPECT_EQ(InstrConnModelOfEntry(-1), 12);  // no selection: FMCOMMS3
  EXPECT_EQ(InstrConnEntryOfModel(99), 0);
  EXPECT_EQ(InstrConnEntryOfModel(3), 0);
  EXPECT_EQ(dlg_->GetCurSel(kIdcInstrConnModel), 0);
  ASSERT_EQ(dlg_->GetCount(kIdcInstrConnType), 2);
  EXPECT_EQ(dlg_->GetListText(kIdcInstrConnType, 0), L"IIO over LAN");
  EXPECT_EQ(dlg_->GetListText(kIdcInstrConnType, 1), L"IIO over USB (Auto)");
  EXPECT_EQ(dlg_->GetCurSel(kIdcInstrConnType), 0);
  EXPECT_TRUE(lv::IsIpAddressBlank(*dlg_, kIdcInstrConnIpAddress));
  EXPECT_TRUE(shown_.Entries().empty());
}

TEST(ConnDlgHelpers, ShownTypeAddressFieldsAndPort) {
  struct TypeCase {
    int32_t model, type, shown;
  };
  const TypeCase types[] = {
      {12, 4, 1}, {2, 4, 1},  {4, 4, 1},   {5, 4, 1},  {10, 4, 1}, {9, 4, 1}, {14, 4, 1}, {15, 4, 1},
      {12, 1, 1}, {16, 1, 1}, {16, 4, 4},  {16, 7, 4}, {16, 0, 4}, {99, 7, 7}, {0, 4, 4}, {3, 1, 1},
  };
  for (const TypeCase& k : types) {
    EXPECT_EQ(InstrConnShownType(k.model, k.type), k.shown) << k.model << " " << k.type;
  }
  struct AddressCase {
    const wchar_t* text;
    uint32_t packed;
  };
  const AddressCase addresses[] = {
      {L"192.168.2.1", lv::MakeIpAddress(192, 168, 2, 1)},
      {L"10.1", lv::MakeIpAddress(10, 1, 0, 0)},            // missing numbers are 0
      {L"10", lv::MakeIpAddress(10, 0, 0, 0)},
      {L"127.0.0.1:30431", lv::MakeIpAddress(127, 0, 0, 1)},
      {L"300.256.1.2", lv::MakeIpAddress(44, 0, 1, 2)},      // modulo 256
      {L"1.2.x.4", lv::MakeIpAddress(1, 2, 0, 0)},           // stops at what does not parse
      {L"1.2 3.4", lv::MakeIpAddress(1, 2, 0, 0)},           // no full stop: stops
      {L"pluto.local", 0u},
      {L"", 0u},
      {nullptr, 0u},
      {L"1.2.3.4.5", lv::MakeIpAddress(1, 2, 3, 4)},
  };
  for (const AddressCase& k : addresses) {
    EXPECT_EQ(InstrConnParseAddress(k.text), k.packed) << (k.text ? lv::WideToUtf8(k.text) : "null");
  }
  EXPECT_EQ(InstrConnPortOf(L"192.168.2.1:30431"), L":30431");
  EXPECT_EQ(InstrConnPortOf(L"127.0.0.1:1"), L":1");
  EXPECT_EQ(InstrConnPortOf(L"192.168.2.1"), L"");
  EXPECT_EQ(InstrConnPortOf(L"192.168.2.1:"), L"");
  EXPECT_EQ(InstrConnPortOf(L"192.168.2.1:123456"), L"");
  EXPECT_EQ(InstrConnPortOf(L"192.168.2.1:30x31"), L"");
  EXPECT_EQ(InstrConnPortOf(nullptr), L"");
}

TEST_F(ConnDlgTest, ShowingReadsTheInstrumentThreadsChoice) {
  Store(kModelAd9082, kConnectionLan, L"192.168.2.7");
  dlg_->ShowWindow(true);
  ASSERT_TRUE(dlg_->IsVisible());
  EXPECT_EQ(dlg_->GetItemText(kIdcInstrConnModel), L"AD9082");
  EXPECT_EQ(dlg_->GetCurSel(kIdcInstrConnType), 0);
  EXPECT_EQ(Shown(), L"192.168.2.7");
  EXPECT_TRUE(dlg_->IsItemEnabled(kIdcInstrConnIpAddress));
  dlg_->ShowWindow(false);

  // Fewer than four numbers (a settings file may hold them): the rest show 0.
  Store(kModelFmcomms3, kConnectionLan, L"10.1");
  dlg_->ShowWindow(true);
  EXPECT_EQ(dlg_->GetCurSel(kIdcInstrConnModel), 0);
  EXPECT_EQ(Shown(), L"10.1.0.0");
  dlg_->ShowWindow(false);

  // A model the list lacks shows the first entry; no address keeps the fields.
  Store(99, kConnectionLan, nullptr);
  dlg_->ShowWindow(true);
  EXPECT_EQ(dlg_->GetCurSel(kIdcInstrConnModel), 0);
  EXPECT_EQ(Shown(), L"10.1.0.0");
  EXPECT_TRUE(shown_.Entries().empty());
}

TEST_F(ConnDlgTest, PlutoOverUsbRoundTripAndNetworkBoardsStayOnLan) {
  dlg_->ShowWindow(true);
  Pick(kIdcInstrConnModel, 2);  // ADALM-Pluto 2Rx 2Tx
  Pick(kIdcInstrConnType, 1);   // IIO over USB (Auto)
  EXPECT_FALSE(dlg_->IsItemEnabled(kIdcInstrConnIpAddress));  // no address over USB
  Click(kIdcInstrConnApply);
  EXPECT_FALSE(dlg_->IsVisible());
  EXPECT_EQ(foregrounds_, 1);
  auto s = Stored();
  EXPECT_EQ(s->model, kModelPluto);
  EXPECT_EQ(s->connectionType, kConnectionUsbAuto);
  EXPECT_EQ(s->GetURI(), nullptr);  // the next USB connection scans again
  dlg_->ShowWindow(true);
  EXPECT_EQ(dlg_->GetItemText(kIdcInstrConnModel), L"ADALM-Pluto 2Rx 2Tx");
  EXPECT_EQ(dlg_->GetItemText(kIdcInstrConnType), L"IIO over USB (Auto)");
  EXPECT_FALSE(dlg_->IsItemEnabled(kIdcInstrConnIpAddress));

  // A board reached over the network cannot take USB: the list shows LAN at
  // once, and LAN is what is stored.
  Pick(kIdcInstrConnModel, 3);  // AD9371
  EXPECT_EQ(dlg_->GetCurSel(kIdcInstrConnType), 0);
  EXPECT_TRUE(dlg_->IsItemEnabled(kIdcInstrConnIpAddress));
  Pick(kIdcInstrConnType, 1);
  EXPECT_EQ(dlg_->GetCurSel(kIdcInstrConnType), 0);
  Click(kIdcInstrConnApply);
  s = Stored();
  EXPECT_EQ(s->model, kModelAd9371);
  EXPECT_EQ(s->connectionType, kConnectionLan);
  // A settings file may still hold AD9371 over USB: shown as LAN, and Apply
  // stores what it shows.
  Store(kModelAd9371, kConnectionUsbAuto, L"192.168.2.1");
  dlg_->ShowWindow(true);
  EXPECT_EQ(dlg_->GetCurSel(kIdcInstrConnType), 0);
  Click(kIdcInstrConnApply);
  EXPECT_EQ(Stored()->connectionType, kConnectionLan);
  EXPECT_TRUE(shown_.Entries().empty());
}

TEST_F(ConnDlgTest, ApplyMergesOnlyModelAndConnection) {
  CQInstrIIOMultiXcvrSettings full(4, 4);
  full.SetAllFlags(true);
  full.model = kModelAd9081;
  full.rateIndex = 7;
  full.xmtrCenterFreq = 2.4e9;
  full.Xmtr(1).on = true;
  full.Xmtr(1).attenuation = 12;
  full.SetIPAddress(L"10.0.0.2");
  full.SetURI(L"usb:1.2.3");
  thread_->SetParam(static_cast<void*>(&full), kInstrSetSettings);

  dlg_->ShowWindow(true);
  EXPECT_EQ(dlg_->GetItemText(kIdcInstrConnModel), L"AD9081");
  Pick(kIdcInstrConnModel, 4);  // ADRV9009
  TypeAddress(L"10.0.0.3");
  Click(kIdcInstrConnApply);
  const auto s = Stored();
  EXPECT_EQ(s->model, kModelAdrv9009);
  EXPECT_EQ(s->connectionType, kConnectionLan);
  EXPECT_STREQ(s->GetIPAddress(), L"10.0.0.3");
  EXPECT_EQ(s->GetURI(), nullptr);
  // The groups the dialog does not edit are as they were.
  EXPECT_EQ(s->rateIndex, 7);
  EXPECT_EQ(s->xmtrCenterFreq, 2.4e9);
  EXPECT_TRUE(s->Xmtr(1).on);
  EXPECT_EQ(s->Xmtr(1).attenuation, 12);
}

TEST_F(ConnDlgTest, PortOfAStoredAddressSurvivesTheDialog) {
  Store(kModelFmcomms3, kConnectionLan, L"192.168.2.1:30431");
  dlg_->ShowWindow(true);
  EXPECT_EQ(Shown(), L"192.168.2.1");  // the four fields only
  Click(kIdcInstrConnApply);
  EXPECT_STREQ(Stored()->GetIPAddress(), L"192.168.2.1:30431");

  dlg_->ShowWindow(true);
  TypeAddress(L"192.168.2.9");
  Click(kIdcInstrConnApply);
  EXPECT_STREQ(Stored()->GetIPAddress(), L"192.168.2.9:30431");

  // An address without a port gets none.
  Store(kModelFmcomms3, kConnectionLan, L"192.168.2.1");
  dlg_->ShowWindow(true);
  Click(kIdcInstrConnApply);
  EXPECT_STREQ(Stored()->GetIPAddress(), L"192.168.2.1");
}

TEST_F(ConnDlgTest, CloseEscapeAndCloseBoxOnlyHide) {
  Store(kModelAd9172, kConnectionLan, L"10.0.0.1");
  const DialogStep closers[] = {DialogStep::Click(kIdcInstrConnClose), DialogStep::Escape(), DialogStep::CloseBox()};
  int n = 0;
  for (const DialogStep& close : closers) {
    dlg_->ShowWindow(true);
    Pick(kIdcInstrConnModel, 0);
    TypeAddress(L"1.2.3.4");
    ASSERT_TRUE(lv::RunDialogStep(*dlg_, close));
    EXPECT_FALSE(dlg_->IsVisible());
    EXPECT_TRUE(dlg_->HasWindow());  // hidden, not destroyed
    EXPECT_EQ(foregrounds_, ++n);
    const auto s = Stored();
    EXPECT_EQ(s->model, kModelAd9172);
    EXPECT_STREQ(s->GetIPAddress(), L"10.0.0.1");
  }
}

TEST_F(ConnDlgTest, EnterInTheAddressFieldApplies) {
  Store(kModelAd9172, kConnectionLan, L"10.0.0.1");
  dlg_->ShowWindow(true);
  TypeAddress(L"10.0.0.5");
  QWidget* top = DialogWidget();
  ASSERT_NE(top, nullptr);
  QLineEdit* field = nullptr;
  for (QLineEdit* e : top->findChildren<QLineEdit*>()) {
    if (e->maxLength() == 3 && e->text() == QStringLiteral("5")) field = e;
  }
  ASSERT_NE(field, nullptr);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QCoreApplication::sendEvent(field, &press);  // the default button answers Enter
  EXPECT_FALSE(dlg_->IsVisible());
  EXPECT_STREQ(Stored()->GetIPAddress(), L"10.0.0.5");
}

// Against the fake board: the model and address chosen in the dialog reach
// the instrument thread, which connects to the board.
class ConnDlgBoardTest : public ConnDlgTest, public ::testing::WithParamInterface<std::pair<std::string, int>> {};

TEST_P(ConnDlgBoardTest, ChosenModelAndAddressConnectThroughTheInstrumentThread) {
  const auto [family, entry] = GetParam();
  StartBoard(family);
  // The port of the fake comes in as a settings file would bring it.
  Store(kModelAd9082, kConnectionLan, lv::Utf8ToWide("192.168.2.1:" + std::to_string(fake_->Port())).c_str());
  dlg_->ShowWindow(true);
  Pick(kIdcInstrConnModel, entry);
  TypeAddress(L"127.0.0.1");
  Click(kIdcInstrConnApply);
  auto s = Stored();
  EXPECT_EQ(s->model, InstrConnModelOfEntry(entry));
  EXPECT_EQ(lv::WideToUtf8(s->GetIPAddress()), fake_->Address());
  ConnectNow();
  EXPECT_TRUE(shown_.Entries().empty()) << shown_.Messages()[0];
  EXPECT_FALSE(fake_->EventStrings({"PRINT"}).empty());
  std::wstring description;
  thread_->GetParam(&description, kInstrGetDescription);
  EXPECT_EQ(description, L"LAN:" + lv::Utf8ToWide(fake_->Address()));
}

TEST_P(ConnDlgBoardTest, WrongAddressShowsLibiiosMessageAndTheDialogStaysUsable) {
  const auto [family, entry] = GetParam();
  StartBoard(family);
  Store(kModelFmcomms3, kConnectionLan, lv::Utf8ToWide(fake_->Address()).c_str());
  dlg_->ShowWindow(true);
  Pick(kIdcInstrConnModel, entry);
  TypeAddress(L"127.0.0.2");  // nobody listens there
  Click(kIdcInstrConnApply);
  ConnectNow();
  ASSERT_TRUE(shown_.WaitFor(1, std::chrono::seconds(10)));
  const lv_test::CaughtError e = shown_.Entries()[0];
  EXPECT_EQ(e.message.rfind("Error creating IIO context.", 0), 0u) << e.message;
  EXPECT_NE(e.message.find("\nlibiio: Connection refused (111)\nAddress: 127.0.0.2:" + std::to_string(fake_->Port())),
            std::string::npos)
      << e.message;
  EXPECT_NE(e.callStack.find("CWInstrIIOMultiXcvrMgrThread::OnMsgInstrConnect"), std::string::npos) << e.callStack;
  EXPECT_TRUE(fake_->EventStrings({"PRINT"}).empty());

  // The dialog opens again with what was sent, and the corrected address connects.
  dlg_->ShowWindow(true);
  ASSERT_TRUE(dlg_->IsVisible());
  EXPECT_EQ(Shown(), L"127.0.0.2");
  EXPECT_EQ(dlg_->GetCurSel(kIdcInstrConnModel), entry);
  TypeAddress(L"127.0.0.1");
  Click(kIdcInstrConnApply);
  ConnectNow();
  EXPECT_EQ(shown_.Entries().size(), 1u);
  EXPECT_FALSE(fake_->EventStrings({"PRINT"}).empty());
}

INSTANTIATE_TEST_SUITE_P(Boards, ConnDlgBoardTest,
                         ::testing::Values(std::make_pair(std::string("ad9361"), 0),  // FMCOMMS3
                                           std::make_pair(std::string("ad9371"), 3)),
                         [](const auto& info) { return info.param.first; });

TEST_F(ConnDlgTest, RequestErrorsAreShownAndTheDialogStaysOpen) {
  dlg_->ShowWindow(true);
  ASSERT_TRUE(thread_->StopAndJoin(10000));  // nobody answers any more
  Click(kIdcInstrConnApply);
  ASSERT_TRUE(shown_.WaitFor(1, std::chrono::seconds(5)));
  EXPECT_TRUE(dlg_->IsVisible());
  EXPECT_EQ(foregrounds_, 0);
  EXPECT_NE(shown_.Entries()[0].callStack.find("CWUIInstrMultiConnDlg::OnApplyButton\n"), std::string::npos)
      << shown_.Entries()[0].callStack;
  dlg_->ShowWindow(false);
  dlg_->ShowWindow(true);
  ASSERT_TRUE(shown_.WaitFor(2, std::chrono::seconds(5)));
  EXPECT_NE(shown_.Entries()[1].callStack.find("CWUIInstrMultiConnDlg::OnShowWindow\n"), std::string::npos);
  EXPECT_TRUE(dlg_->IsVisible());

  // Without an instrument thread Apply says so.
  dlg_->SetInstrThread(nullptr);
  Click(kIdcInstrConnApply);
  ASSERT_TRUE(shown_.WaitFor(3, std::chrono::seconds(5)));
  EXPECT_EQ(shown_.Entries()[2].message, "The instrument manager is not available.");
  EXPECT_TRUE(dlg_->IsVisible());
}

TEST_F(ConnDlgTest, GalleryNetworkAndUsb) {
  const std::string dir = lv_test::GalleryFolder("xcvr_conn");
  Store(kModelFmcomms3, kConnectionLan, L"192.168.2.1");
  dlg_->ShowWindow(true);
  EXPECT_TRUE(lv::SaveDialogPng(*dlg_, dir + "/instr_conn_network.png"));
  Store(kModelPluto, kConnectionUsbAuto, L"192.168.2.1");
  dlg_->ShowWindow(true);
  EXPECT_TRUE(lv::SaveDialogPng(*dlg_, dir + "/instr_conn_usb.png"));
}

}  // namespace
