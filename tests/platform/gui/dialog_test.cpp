// Dialogs built from control tables: units, every control kind on its Qt
// widget, the control accessors, notifications, modal and modeless runs.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "dialog_fixture.h"
#include "platform/gui/dialog_template.h"

namespace {

using lv::ControlKind;
using lv::DialogScript;
using lv::DialogStep;
using lv_test::RecordingDialog;

class Dialogs : public lv_test::DialogTest {};

// ---- dialog units -----------------------------------------------------

TEST(DialogUnits, ConvertEachValueRoundedToNearest) {
  struct Case {
    int dlu;
    int base;
    bool vertical;
    int pixels;
  };
  const Case cases[] = {
      {0, 6, false, 0},    {4, 6, false, 6},    {6, 6, false, 9},     {1, 6, false, 2},  // 1.5 -> 2
      {300, 6, false, 450}, {316, 7, false, 553}, {8, 13, true, 13},  {6, 13, true, 10},  // 9.75
      {114, 13, true, 185},  // 185.25
      {165, 13, true, 268},  // 268.125
      {-4, 6, false, -6},   {-1, 6, false, -2},
  };
  for (const Case& c : cases) {
    const lv::Size base{c.vertical ? 0 : c.base, c.vertical ? c.base : 0};
    const int got = c.vertical ? lv::DialogYToPixels(c.dlu, base) : lv::DialogXToPixels(c.dlu, base);
    EXPECT_EQ(got, c.pixels) << c.dlu << " units at base " << c.base;
  }
  // A rectangle converts its origin and its size on their own.
  EXPECT_EQ(lv::DialogRectToPixels(1, 1, 1, 1, lv::Size{6, 13}), (lv::Rect{2, 2, 4, 4}));
}

TEST_F(Dialogs, BaseUnitsAreTheFontsAverageLetterWidthAndCellHeight) {
  const lv::DialogFont font;  // 8 points
  const lv::Size base = lv::DialogBaseUnits(font);
  QFont q(QString::fromLatin1("Liberation Sans"));
  q.setPixelSize(11);
  const QFontMetrics m(q);
  const int letters = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ(base.cx, (letters / 26 + 1) / 2);
  EXPECT_EQ(base.cy, m.height());
  // The classic dialog font measured about 6 x 13 pixels.
  EXPECT_GE(base.cx, 5);
  EXPECT_LE(base.cx, 7);
  EXPECT_GE(base.cy, 12);
  EXPECT_LE(base.cy, 14);
  // A larger font gives larger units.
  const lv::Size big = lv::DialogBaseUnits(lv::DialogFont{lv::FontFace::kSans, 12, false});
  EXPECT_GT(big.cx, base.cx);
  EXPECT_GT(big.cy, base.cy);
}

// ---- every control kind ----------------------------------------------------

lv::DialogTemplate EveryKind() {
  lv::DialogTemplate t;
  t.name = "EveryKind";
  t.caption = L"Every Kind";
  t.width = 260;
  t.height = 200;
  t.controls = {
      {10, ControlKind::kGroupBox, L"Group", 4, 4, 120, 60, 0},
      {11, ControlKind::kStaticText, L"Label", 10, 16, 50, 8, 0},
      {12, ControlKind::kEdit, L"3.5", 64, 14, 50, 12, lv::kStyleTabStop},
      {13, ControlKind::kFrame, L"", 10, 32, 30, 12, lv::kStyleHidden},
      {14, ControlKind::kCheckBox, L"Check", 10, 48, 60, 10, lv::kStyleTabStop},
      {15, ControlKind::kRadioButton, L"One", 130, 10, 50, 10, lv::kStyleGroup | lv::kStyleTabStop},
      {16, ControlKind::kRadioButton, L"Two", 130, 22, 50, 10, 0},
      {17, ControlKind::kRadioButton, L"Other group", 130, 40, 60, 10, lv::kStyleGroup},
      {18, ControlKind::kDropDownList, L"", 130, 56, 80, 72, lv::kStyleVScroll | lv::kStyleTabStop},
      {19, ControlKind::kListBox, L"", 4, 70, 120, 60,
       lv::kStyleBorder | lv::kStyleVScroll | lv::kStyleHScroll | lv::kStyleNotify | lv::kStyleNoIntegralHeight},
      {20, ControlKind::kTabControl, L"", 130, 74, 120, 56, 0},
      {21, ControlKind::kPushButton, L"Push", 130, 140, 50, 14, lv::kStyleTabStop},
      {lv::kIdOk, ControlKind::kDefPushButton, L"OK", 80, 178, 50, 14, lv::kStyleTabStop},
      {lv::kIdCancel, ControlKind::kPushButton, L"Cancel", 140, 178, 50, 14, lv::kStyleTabStop},
  };
  return t;
}

TEST_F(Dialogs, EveryKindIsItsQtWidgetAtItsTemplateRectangle) {
  RecordingDialog d(EveryKind());
  ASSERT_TRUE(d.Create());
  QWidget* top = lv_test::TopLevelByTitle(L"Every Kind");
  ASSERT_NE(top, nullptr);
  const lv::Size base = d.BaseUnits();
  EXPECT_EQ(d.ClientSize(), (lv::Size{lv::DialogXToPixels(260, base), lv::DialogYToPixels(200, base)}));
  EXPECT_EQ(top->width(), d.ClientSize().cx);
  EXPECT_EQ(top->height(), d.ClientSize().cy);

  struct Case {
    int id;
    const char* qtClass;
  };
  const Case cases[] = {
      {10, "QGroupBox"},    {11, "QLabel"},    {12, "QLineEdit"},  {13, "QFrame"},
      {14, "QCheckBox"},    {15, "QRadioButton"}, {18, "QComboBox"}, {19, "QListWidget"},
      {20, "QTabWidget"},   {21, "QPushButton"}, {lv::kIdOk, "QPushButton"},
  };
  for (const Case& c : cases) {
    const lv::ControlTemplate* t = lv::FindControl(d.Template(), c.id);
    ASSERT_NE(t, nullptr);
    const lv::Rect expected = lv::DialogRectToPixels(t->x, t->y, t->w, t->h, base);
    const lv::Rect got = d.GetItemRect(c.id);
    QWidget* w = lv_test::ChildAtRect(top, got);
    ASSERT_NE(w, nullptr) << c.id;
    EXPECT_TRUE(w->inherits(c.qtClass)) << c.id << " is " << w->metaObject()->className();
    EXPECT_EQ(got.left, expected.left) << c.id;
    EXPECT_EQ(got.top, expected.top) << c.id;
    EXPECT_EQ(got.Width(), expected.Width()) << c.id;
    if (t->kind == ControlKind::kDropDownList) {
      // Closed, a drop-down list is as high as its font needs.
      EXPECT_LT(got.Height(), expected.Height());
      EXPECT_GE(got.Height(), base.cy);
    } else {
      EXPECT_EQ(got.Height(), expected.Height()) << c.id;
    }
  }
  // Texts and styles.
  EXPECT_TRUE(static_cast<QPushButton*>(lv_test::ChildAtRect(top, d.GetItemRect(lv::kIdOk)))->isDefault());
  EXPECT_FALSE(static_cast<QPushButton*>(lv_test::ChildAtRect(top, d.GetItemRect(21)))->isDefault());
  EXPECT_FALSE(d.IsItemVisible(13));
  EXPECT_TRUE(d.IsItemVisible(12));
  EXPECT_EQ(d.GetItemText(10), L"Group");
  EXPECT_EQ(d.GetItemText(11), L"Label");
  EXPECT_EQ(d.GetItemText(12), L"3.5");
  EXPECT_EQ(d.GetItemText(14), L"Check");
  EXPECT_EQ(d.GetCaption(), L"Every Kind");
  EXPECT_EQ(d.events, (std::vector<std::string>{"init"}));
  EXPECT_FALSE(d.IsVisible()) << "a modeless dialog is created hidden";
  d.Destroy();
  EXPECT_FALSE(d.HasWindow());
}

TEST_F(Dialogs, ControlAccessorsByKind) {
  RecordingDialog d(EveryKind());
  ASSERT_TRUE(d.Create());
  // Texts.
  EXPECT_TRUE(d.SetItemText(11, L"New label"));
  EXPECT_EQ(d.GetItemText(11), L"New label");
  EXPECT_TRUE(d.SetItemText(21, L"Pressed"));
  EXPECT_EQ(d.GetItemText(21), L"Pressed");
  EXPECT_TRUE(d.SetItemText(10, L"Frame title"));
  EXPECT_EQ(d.GetItemText(10), L"Frame title");
  // Check boxes and radio buttons; a radio run is one group.
  EXPECT_EQ(d.GetCheck(14), lv::kUnchecked);
  EXPECT_TRUE(d.SetCheck(14, lv::kChecked));
  EXPECT_EQ(d.GetCheck(14), lv::kChecked);
  EXPECT_TRUE(d.SetCheck(15, lv::kChecked));
  EXPECT_TRUE(d.SetCheck(17, lv::kChecked));
  EXPECT_TRUE(d.SetCheck(16, lv::kChecked));
  EXPECT_EQ(d.GetCheck(15), lv::kUnchecked) << "two is in one's group";
  EXPECT_EQ(d.GetCheck(16), lv::kChecked);
  EXPECT_EQ(d.GetCheck(17), lv::kChecked) << "a new group starts at kStyleGroup";
  EXPECT_TRUE(d.SetCheck(16, lv::kUnchecked));
  EXPECT_EQ(d.GetCheck(16), lv::kUnchecked);
  EXPECT_FALSE(d.SetCheck(12, lv::kChecked)) << "an edit has no check";
  // Lists: drop-down, list box, tabs.
  for (int id : {18, 19, 20}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(d.GetCount(id), 0);
    EXPECT_EQ(d.AddString(id, L"alpha"), 0);
    EXPECT_EQ(d.AddString(id, L"beta"), 1);
    EXPECT_EQ(d.GetCount(id), 2);
    EXPECT_EQ(d.GetListText(id, 1), L"beta");
    EXPECT_EQ(d.GetListText(id, 2), L"");
    EXPECT_TRUE(d.SetCurSel(id, 1));
    EXPECT_EQ(d.GetCurSel(id), 1);
    EXPECT_FALSE(d.SetCurSel(id, 2)) << "past the end";
    EXPECT_EQ(d.GetCurSel(id), 1);
    EXPECT_TRUE(d.ResetContent(id));
    EXPECT_EQ(d.GetCount(id), 0);
  }
  EXPECT_EQ(d.AddString(12, L"x"), -1) << "an edit has no entries";
  EXPECT_TRUE(d.SetHorizontalExtent(19, 800));
  EXPECT_EQ(d.GetHorizontalExtent(19), 800);
  // Enable, show, move, font.
  EXPECT_TRUE(d.EnableItem(12, false));
  EXPECT_FALSE(d.IsItemEnabled(12));
  EXPECT_TRUE(d.ShowItem(13, true));
  EXPECT_TRUE(d.IsItemVisible(13));
  EXPECT_TRUE(d.MoveItem(13, lv::Rect{5, 6, 25, 16}));
  EXPECT_EQ(d.GetItemRect(13), (lv::Rect{5, 6, 25, 16}));
  const lv::DialogFont bold{lv::FontFace::kSans, 10, true};
  EXPECT_TRUE(d.SetItemFont(11, bold));
  EXPECT_EQ(d.GetItemFont(11), bold);
  EXPECT_EQ(d.GetItemFont(12), d.GetFont());
  // Unknown ids: nothing happens, empty answers.
  EXPECT_FALSE(d.HasControl(999));
  EXPECT_FALSE(d.SetItemText(999, L"x"));
  EXPECT_EQ(d.GetItemText(999), L"");
  EXPECT_EQ(d.GetCheck(999), lv::kUnchecked);
  EXPECT_EQ(d.GetCurSel(999), -1);
  EXPECT_EQ(d.GetItemRect(999), lv::Rect{});
  EXPECT_FALSE(d.EnableItem(999, true));
  // Programmatic changes report only an edit's text.
  EXPECT_EQ(d.events, (std::vector<std::string>{"init"}));
  d.SetItemText(12, L"7");
  EXPECT_EQ(d.events.back(), "edit 12");
}

TEST_F(Dialogs, AccessorsWithoutAWindowAnswerEmpty) {
  RecordingDialog d(EveryKind());
  EXPECT_FALSE(d.HasWindow());
  EXPECT_FALSE(d.SetItemText(12, L"x"));
  EXPECT_EQ(d.GetItemText(12), L"");
  EXPECT_EQ(d.AddString(18, L"x"), -1);
  EXPECT_EQ(d.GetItemRect(12), lv::Rect{});
  d.EndDialog(lv::kIdOk);  // nothing to end
  EXPECT_EQ(d.Result(), lv::kIdOk);
  d.Show(true);
  EXPECT_FALSE(d.IsVisible());
  // The template's size converts without a window.
  const lv::Size base = d.BaseUnits();
  EXPECT_EQ(d.ClientSize().cx, lv::DialogXToPixels(260, base));
}

TEST_F(Dialogs, UserActionsReachTheHandlers) {
  RecordingDialog d(EveryKind());
  ASSERT_TRUE(d.Create());
  d.AddString(18, L"a");
  d.AddString(18, L"b");
  d.AddString(19, L"x");
  d.AddString(19, L"y");
  d.AddString(20, L"Tab 1");
  d.AddString(20, L"Tab 2");
  d.events.clear();
  struct Case {
    DialogStep step;
    std::string event;
  };
  const Case cases[] = {
      {DialogStep::Click(21), "click 21"},
      {DialogStep::Check(14, lv::kChecked), "click 14"},
      {DialogStep::Click(15), "click 15"},
      {DialogStep::Type(12, L"42"), "edit 12"},
      {DialogStep::Pick(18, 1), "select 18"},
      {DialogStep::Pick(19, 1), "select 19"},
      {DialogStep::Pick(20, 1), "select 20"},
  };
  for (const Case& c : cases) {
    d.events.clear();
    EXPECT_TRUE(lv::RunDialogStep(d, c.step)) << c.event;
    EXPECT_EQ(d.events, (std::vector<std::string>{c.event}));
  }
  EXPECT_EQ(d.GetCheck(14), lv::kChecked);
  EXPECT_EQ(d.GetCheck(15), lv::kChecked);
  EXPECT_EQ(d.GetItemText(12), L"42");
  EXPECT_EQ(d.GetCurSel(18), 1);
  EXPECT_EQ(d.GetItemText(18), L"b");
  EXPECT_EQ(d.GetCurSel(20), 1);
  // A box already in the asked state is not clicked.
  d.events.clear();
  EXPECT_TRUE(lv::RunDialogStep(d, DialogStep::Check(14, lv::kChecked)));
  EXPECT_TRUE(d.events.empty());
  // Disabled and hidden controls take no clicks; a static has none.
  d.EnableItem(21, false);
  EXPECT_FALSE(lv::ClickControl(d, 21));
  EXPECT_FALSE(lv::ClickControl(d, 11));
  EXPECT_FALSE(lv::ClickControl(d, 999));
  EXPECT_TRUE(d.events.empty());
  // Pick outside the list does nothing.
  EXPECT_FALSE(lv::RunDialogStep(d, DialogStep::Pick(18, 5)));
  EXPECT_EQ(d.GetCurSel(18), 1);
}

TEST_F(Dialogs, ModelessDialogShowsHidesAndEndsByHiding) {
  RecordingDialog d(EveryKind());
  ASSERT_TRUE(d.Create());
  EXPECT_FALSE(d.Create()) << "one window at a time";
  d.Show(true);
  EXPECT_TRUE(d.IsVisible());
  ASSERT_TRUE(lv::ClickControl(d, lv::kIdOk));
  EXPECT_FALSE(d.IsVisible()) << "OK hides a modeless dialog";
  EXPECT_TRUE(d.HasWindow());
  EXPECT_EQ(d.Result(), lv::kIdOk);
  d.Show(true);
  ASSERT_TRUE(lv::RunDialogStep(d, DialogStep::Escape()));
  EXPECT_FALSE(d.IsVisible());
  EXPECT_EQ(d.Result(), lv::kIdCancel);
  d.Show(true);
  ASSERT_TRUE(lv::RunDialogStep(d, DialogStep::CloseBox()));
  EXPECT_FALSE(d.IsVisible());
  EXPECT_TRUE(d.HasWindow()) << "closing only hides";
  EXPECT_EQ(d.Result(), lv::kIdCancel);
}

// Ends with its own codes: "Accept" 1, "Cancel" 0 (as settings dialogs do).
class CodesDialog : public RecordingDialog {
 public:
  using RecordingDialog::RecordingDialog;
  int cancels = 0;

 protected:
  void OnButtonClicked(int id) override {
    events.push_back("click " + std::to_string(id));
    if (id == lv::kIdOk) {
      EndDialog(1);
    } else if (id == lv::kIdCancel) {
      EndDialog(0);
    } else if (id == 21) {
      EndDialog(77);
    }
  }
  void OnCancel() override {
    ++cancels;
    RecordingDialog::OnCancel();
  }
};

TEST_F(Dialogs, ModalEndCodesOnTheGuiThread) {
  struct Case {
    const char* name;
    DialogScript script;
    int result;
    int cancels;
  };
  const Case cases[] = {
      {"OK", {DialogStep::Click(lv::kIdOk)}, 1, 0},
      {"Cancel button", {DialogStep::Click(lv::kIdCancel)}, 0, 0},
      {"own code", {DialogStep::Type(12, L"5"), DialogStep::Click(21)}, 77, 0},
      {"Escape", {DialogStep::Escape()}, lv::kIdCancel, 1},
      {"close box", {DialogStep::CloseBox()}, lv::kIdCancel, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CodesDialog d(EveryKind());
    lv::AnswerNextDialog(c.script);
    EXPECT_EQ(d.DoModal(), c.result);
    EXPECT_EQ(d.Result(), c.result);
    EXPECT_EQ(d.cancels, c.cancels);
    EXPECT_FALSE(d.HasWindow()) << "the window goes when the modal run ends";
    EXPECT_EQ(d.events.front(), "init");
  }
}

TEST_F(Dialogs, ModalScriptSeesTheInitialisedDialog) {
  RecordingDialog d(EveryKind());
  d.onInit = [](RecordingDialog& self) {
    self.SetItemText(12, L"from init");
    self.AddString(19, L"entry");
  };
  std::wstring seen;
  int entries = -1;
  bool visible = false;
  lv::AnswerNextDialog({DialogStep::Inspect([&](lv::Dialog* dlg) {
                          seen = dlg->GetItemText(12);
                          entries = dlg->GetCount(19);
                          visible = dlg->IsVisible();
                        }),
                        DialogStep::Click(lv::kIdOk)});
  EXPECT_EQ(d.DoModal(), lv::kIdOk);
  EXPECT_EQ(seen, L"from init");
  EXPECT_EQ(entries, 1);
  EXPECT_TRUE(visible);
}

TEST_F(Dialogs, ModalFromAWorkerWaitsForTheGuiThread) {
  RecordingDialog d(EveryKind());
  std::atomic<bool> workerDone{false};
  std::atomic<bool> ranOnGui{false};
  int result = -1;
  d.onInit = [&](RecordingDialog&) { ranOnGui = lv::OnGuiThread(); };
  lv::AnswerNextDialog({DialogStep::Type(12, L"9"), DialogStep::Click(lv::kIdOk)});
  std::thread worker([&] {
    result = d.DoModal();
    workerDone = true;
  });
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!workerDone && std::chrono::steady_clock::now() < limit) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  worker.join();
  EXPECT_EQ(result, lv::kIdOk);
  EXPECT_TRUE(ranOnGui);
  EXPECT_EQ(d.events, (std::vector<std::string>{"init", "edit 12", "click 1"}));
}

TEST_F(Dialogs, AHandlerThatThrowsReachesTheFailureHook) {
  class Throwing : public lv::Dialog {
   public:
    using lv::Dialog::Dialog;

   protected:
    void OnButtonClicked(int id) override {
      if (id == 21) {
        throw std::runtime_error("handler failed");
      }
      lv::Dialog::OnButtonClicked(id);
    }
  };
  std::string caught;
  lv::DialogFailureHook previous = lv::SetDialogFailureHook([&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      caught = ex.what();
    }
  });
  Throwing d(EveryKind());
  lv::AnswerNextDialog({DialogStep::Click(21), DialogStep::Click(lv::kIdOk)});
  EXPECT_EQ(d.DoModal(), lv::kIdOk) << "the dialog goes on after a failed handler";
  EXPECT_EQ(caught, "handler failed");
  lv::SetDialogFailureHook(previous);
}

TEST_F(Dialogs, AControlTakesAPlaceholdersPlaceAndId) {
  RecordingDialog d(EveryKind());
  ASSERT_TRUE(d.Create());
  const lv::Rect place = d.GetItemRect(13);  // a hidden frame
  ASSERT_TRUE(d.CreateControl({13, ControlKind::kPushButton, L"MHz", 0, 0, 0, 0, 0}, place));
  EXPECT_EQ(d.GetItemRect(13), place);
  EXPECT_EQ(d.GetItemText(13), L"MHz");
  EXPECT_TRUE(d.IsItemVisible(13));
  EXPECT_EQ(d.GetItemFont(13), d.GetFont());
  d.events.clear();
  ASSERT_TRUE(lv::ClickControl(d, 13));
  EXPECT_EQ(d.events, (std::vector<std::string>{"click 13"}));
  QWidget* top = lv_test::TopLevelByTitle(L"Every Kind");
  ASSERT_NE(top, nullptr);
  int atPlace = 0;
  for (QWidget* w : top->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    atPlace += w->geometry() == QRect(place.left, place.top, place.Width(), place.Height()) ? 1 : 0;
  }
  EXPECT_EQ(atPlace, 1) << "the placeholder is gone";
}

TEST_F(Dialogs, ListBoxWithoutNotifyReportsNothingAndNoSelectionPicksNothing) {
  lv::DialogTemplate t;
  t.caption = L"Lists";
  t.width = 100;
  t.height = 100;
  t.controls = {{1, ControlKind::kListBox, L"", 4, 4, 80, 40, lv::kStyleBorder},
                {2, ControlKind::kListBox, L"", 4, 50, 80, 40, lv::kStyleNoSelection | lv::kStyleNotify},
                {3, ControlKind::kListBox, L"", 4, 4, 80, 41, lv::kStyleSort}};
  RecordingDialog d(t);
  ASSERT_TRUE(d.Create());
  for (int id : {1, 2}) {
    d.AddString(id, L"a");
    d.AddString(id, L"b");
  }
  d.events.clear();
  EXPECT_TRUE(lv::RunDialogStep(d, DialogStep::Pick(1, 1)));
  EXPECT_EQ(d.GetCurSel(1), 1);
  EXPECT_FALSE(lv::RunDialogStep(d, DialogStep::Pick(2, 1)));
  EXPECT_FALSE(d.SetCurSel(2, 0));
  EXPECT_EQ(d.GetCurSel(2), -1);
  EXPECT_TRUE(d.events.empty());
  // Sorted entries; an integral-height list box shows whole entries only.
  d.AddString(3, L"delta");
  d.AddString(3, L"Alpha");
  d.AddString(3, L"charlie");
  EXPECT_EQ(d.GetListText(3, 0), L"Alpha");
  EXPECT_EQ(d.GetListText(3, 2), L"delta");
  EXPECT_LE(d.GetItemRect(3).Height(), d.MapDialogRect(0, 0, 0, 41).Height());
}

TEST_F(Dialogs, AModelessDialogDestroyedOnAWorkerLeavesItsWidgetsToTheGuiThread) {
  lv::DialogTemplate t = EveryKind();
  t.caption = L"Destroyed on a worker";
  auto* d = new RecordingDialog(t);
  ASSERT_TRUE(d->Create());
  d->Show(true);
  ASSERT_NE(lv_test::TopLevelByTitle(t.caption), nullptr);
  std::thread worker([d] { delete d; });
  worker.join();
  lv::ServeGuiEvents(20);
  EXPECT_EQ(lv_test::TopLevelByTitle(t.caption), nullptr);
}

TEST_F(Dialogs, DoModalAfterShutDownReturnsCancelWithoutAWindow) {
  lv::ShutDownGuiRuntime();
  RecordingDialog d(EveryKind());
  EXPECT_EQ(d.DoModal(), lv::kIdCancel);
  EXPECT_TRUE(d.events.empty()) << "nothing was initialised";
  EXPECT_FALSE(d.HasWindow());
}

}  // namespace
