// Property sheets: pages from tables in tabs, OK, Cancel and Apply, page
// activation, modal and modeless runs.
#include <QTabWidget>
#include <algorithm>
#include <atomic>
#include <thread>

#include "dialog_fixture.h"
#include "platform/gui/modal_bridge.h"
#include "platform/gui/property_sheet.h"

namespace {

using lv::ControlKind;
using lv::DialogStep;

lv::DialogTemplate PageTemplate(const std::wstring& caption, int height) {
  lv::DialogTemplate t;
  t.name = "126";
  t.caption = caption;
  t.width = 189;
  t.height = height;
  t.controls = {
      {1248, ControlKind::kCheckBox, L"Interpolate", 10, 10, 80, 10, lv::kStyleTabStop},
      {1249, ControlKind::kEdit, L"", 100, 8, 60, 12, lv::kStyleTabStop},
      {1247, ControlKind::kFrame, L"", 164, 8, 20, 12, lv::kStyleHidden},
  };
  return t;
}

// Records its handlers; an edit marks it modified, as the pages do.
class Page : public lv::PropertyPage {
 public:
  Page(const std::wstring& caption, int height = 120) : lv::PropertyPage(PageTemplate(caption, height)) {}
  std::vector<std::string> events;
  bool allowLeave = true;
  bool allowApply = true;
  std::wstring applied;

  bool OnSetActive() override {
    events.push_back("active");
    return true;
  }
  bool OnKillActive() override {
    events.push_back("leave");
    return allowLeave;
  }
  bool OnApply() override {
    events.push_back("apply");
    if (!allowApply) {
      return false;
    }
    applied = GetItemText(1249);
    return lv::PropertyPage::OnApply();
  }
  void OnReset() override {
    events.push_back("reset");
    lv::PropertyPage::OnReset();
  }

 protected:
  bool OnInitDialog() override {
    events.push_back("init");
    SetItemText(1249, L"1");
    SetModified(false);
    return true;
  }
  void OnEditChanged(int id) override {
    if (id == 1249) {
      SetCheck(1248, lv::kChecked);
      SetModified(true);
    }
  }
};

class Sheet : public lv::PropertySheet {
 public:
  using lv::PropertySheet::PropertySheet;
  int oks = 0;
  int cancels = 0;
  int applies = 0;

 protected:
  bool OnInitDialog() override {
    for (int i = 0; i < GetPageCount(); ++i) {
      SetTabText(i, L"Xmtr " + std::to_wstring(i + 1));
    }
    return true;
  }
  void OnOK() override {
    ++oks;
    lv::PropertySheet::OnOK();
  }
  void OnCancel() override {
    ++cancels;
    lv::PropertySheet::OnCancel();
  }
  void OnApplied() override { ++applies; }
};

class PropertySheets : public lv_test::DialogTest {};

TEST_F(PropertySheets, PagesSitInTabsSizedToTheLargestPage) {
  Page a(L"Transmitter", 100);
  Page b(L"Transmitter", 140);
  Sheet sheet(L"Transmitter Processing");
  sheet.AddPage(&a);
  sheet.AddPage(&b);
  sheet.AddPage(&a);  // once only
  ASSERT_EQ(sheet.GetPageCount(), 2);
  ASSERT_TRUE(sheet.Create());
  EXPECT_FALSE(sheet.IsVisible());
  EXPECT_EQ(a.events, (std::vector<std::string>{"init", "active"}));
  EXPECT_EQ(b.events, (std::vector<std::string>{"init"}));
  EXPECT_EQ(sheet.GetTabText(0), L"Xmtr 1");
  EXPECT_EQ(sheet.GetTabText(1), L"Xmtr 2");
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
  // Every page's controls exist at once, at their dialog-unit places.
  const lv::Size base = b.BaseUnits();
  EXPECT_EQ(b.GetItemRect(1249), lv::DialogRectToPixels(100, 8, 60, 12, base));
  EXPECT_EQ(b.GetItemText(1249), L"1");
  // The sheet holds the largest page and the buttons below it, inside.
  const lv::Size client = sheet.ClientSize();
  EXPECT_GE(client.cy, lv::DialogYToPixels(140, base));
  EXPECT_GE(client.cx, lv::DialogXToPixels(189, base));
  lv::Rect previous{};
  for (int id : {lv::kIdOk, lv::kIdCancel, lv::kIdApply}) {
    const lv::Rect r = sheet.GetButtonRect(id);
    EXPECT_FALSE(r.IsEmpty()) << id;
    EXPECT_LE(r.right, client.cx) << id;
    EXPECT_LE(r.bottom, client.cy) << id;
    if (!previous.IsEmpty()) {
      EXPECT_GT(r.left, previous.left) << "OK, Cancel, Apply from left to right";
      EXPECT_EQ(r.top, previous.top);
    }
    previous = r;
  }
  EXPECT_FALSE(sheet.IsApplyEnabled());
}

TEST_F(PropertySheets, ApplyFollowsTheModifiedPagesAndTransfersThroughThePages) {
  Page a(L"A");
  Page b(L"B");
  Sheet sheet(L"Sheet");
  sheet.AddPage(&a);
  sheet.AddPage(&b);
  ASSERT_TRUE(sheet.Create());
  sheet.Show(true);
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Type(1249, L"4")));  // on the active page A
  EXPECT_TRUE(a.IsModified());
  EXPECT_EQ(a.GetCheck(1248), lv::kChecked);
  EXPECT_TRUE(sheet.IsApplyEnabled());
  a.events.clear();
  b.events.clear();
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Click(lv::kIdApply)));
  EXPECT_EQ(a.events, (std::vector<std::string>{"leave", "apply"}));
  EXPECT_EQ(b.events, (std::vector<std::string>{"apply"}));
  EXPECT_EQ(a.applied, L"4");
  EXPECT_FALSE(a.IsModified());
  EXPECT_FALSE(sheet.IsApplyEnabled());
  EXPECT_EQ(sheet.applies, 1);
  EXPECT_TRUE(sheet.IsVisible()) << "Apply keeps the sheet open";
  EXPECT_FALSE(lv::RunSheetStep(sheet, DialogStep::Click(lv::kIdApply))) << "a disabled Apply takes no click";
  // Cancel resets every page and hides a modeless sheet.
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Type(1249, L"5")));
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Click(lv::kIdCancel)));
  EXPECT_FALSE(a.IsModified());
  EXPECT_EQ(sheet.cancels, 1);
  EXPECT_FALSE(sheet.IsVisible());
  EXPECT_EQ(sheet.Result(), lv::kIdCancel);
  EXPECT_EQ(a.applied, L"4") << "Cancel transfers nothing";
  // OK applies every page, then the sheet's OK hides it.
  sheet.Show(true);
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Pick(0, 1)));
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Type(1249, L"9")));  // now on page B
  EXPECT_TRUE(b.IsModified());
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Click(lv::kIdOk)));
  EXPECT_EQ(b.applied, L"9");
  EXPECT_EQ(sheet.oks, 1);
  EXPECT_FALSE(sheet.IsVisible());
  EXPECT_EQ(sheet.Result(), lv::kIdOk);
}

TEST_F(PropertySheets, PagesCanRefuseToBeLeftOrApplied) {
  Page a(L"A");
  Page b(L"B");
  Sheet sheet(L"Sheet");
  sheet.AddPage(&a);
  sheet.AddPage(&b);
  ASSERT_TRUE(sheet.Create());
  sheet.Show(true);
  a.allowLeave = false;
  EXPECT_FALSE(sheet.SetActivePage(1));
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Pick(0, 1)));
  EXPECT_EQ(sheet.GetActiveIndex(), 0) << "a click on the tab is refused too";
  a.allowLeave = true;
  EXPECT_TRUE(sheet.SetActivePage(1));
  EXPECT_EQ(b.events.back(), "active");
  // A page that refuses to apply keeps the sheet open on that page.
  a.allowApply = false;
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Click(lv::kIdOk)));
  EXPECT_EQ(sheet.oks, 0);
  EXPECT_TRUE(sheet.IsVisible());
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
  // Apply stops at the same page and reports nothing applied.
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Type(1249, L"5")));
  ASSERT_TRUE(sheet.IsApplyEnabled());
  ASSERT_TRUE(lv::RunSheetStep(sheet, DialogStep::Click(lv::kIdApply)));
  EXPECT_EQ(sheet.applies, 0);
  EXPECT_EQ(sheet.GetActiveIndex(), 0);
}

TEST_F(PropertySheets, ModalSheetEndCodes) {
  struct Case {
    const char* name;
    lv::DialogScript script;
    int result;
    int resets;
  };
  const Case cases[] = {
      {"OK", {DialogStep::Type(1249, L"2"), DialogStep::Click(lv::kIdOk)}, lv::kIdOk, 0},
      {"Cancel", {DialogStep::Click(lv::kIdCancel)}, lv::kIdCancel, 1},
      {"Escape", {DialogStep::Type(1249, L"2"), DialogStep::Escape()}, lv::kIdCancel, 1},
      {"close box", {DialogStep::CloseBox()}, lv::kIdCancel, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Page a(L"A");
    Sheet sheet(L"Modal Sheet");
    sheet.AddPage(&a);
    lv::AnswerNextDialog(c.script);
    EXPECT_EQ(sheet.DoModal(), c.result);
    EXPECT_FALSE(sheet.HasWindow());
    EXPECT_FALSE(a.HasWindow());
    EXPECT_EQ(static_cast<int>(std::count(a.events.begin(), a.events.end(), "reset")), c.resets);
    if (c.result == lv::kIdOk) {
      EXPECT_EQ(a.applied, L"2");
    } else {
      EXPECT_EQ(a.applied, L"") << "Escape and the close box apply nothing";
    }
  }
}

TEST_F(PropertySheets, ModalSheetFromAWorker) {
  Page a(L"A");
  Sheet sheet(L"Worker Sheet");
  sheet.AddPage(&a);
  lv::AnswerNextDialog({DialogStep::Type(1249, L"12"), DialogStep::Click(lv::kIdOk)});
  std::atomic<bool> done{false};
  int result = -1;
  std::thread worker([&] {
    result = sheet.DoModal();
    done = true;
  });
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done && std::chrono::steady_clock::now() < end) {
    lv::ServeGuiEvents(2);
  }
  worker.join();
  EXPECT_EQ(result, lv::kIdOk);
  EXPECT_EQ(a.applied, L"12");
}

TEST_F(PropertySheets, ShutDownWithAModalSheetOpenCancelsIt) {
  Page a(L"A");
  Sheet sheet(L"Left Open");
  sheet.AddPage(&a);
  std::atomic<bool> done{false};
  int result = -1;
  std::thread worker([&] {
    result = sheet.DoModal();
    done = true;
  });
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (lv::OpenModalCount() == 0 && std::chrono::steady_clock::now() < end) {
    lv::ServeGuiEvents(2);
  }
  ASSERT_EQ(lv::OpenModalCount(), 1);
  lv::ShutDownGuiRuntime();
  worker.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(result, lv::kIdCancel);
}

}  // namespace
