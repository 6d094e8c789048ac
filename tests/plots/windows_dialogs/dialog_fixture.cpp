#include "dialog_fixture.h"

#include <QMessageBox>
#include <QWidget>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/text.h"
#include "support/gui_app.h"

namespace lv_test {

void SettingsDialogTest::SetUp() {
  EnsureGuiApplication();
  ASSERT_TRUE(lv::StartGuiRuntime());
  lv::ClearDialogAnswers();
  lv::ClearPopupMenuAnswers();
  previousPresenter_ = SetErrorPresenter([this](CQErrorDlg& dlg) {
    errors_.push_back(dlg.Error().GetMessage() != nullptr ? dlg.Error().GetMessage() : L"");
    errorStacks_.push_back(dlg.Error().GetCallStack() != nullptr ? dlg.Error().GetCallStack() : "");
  });
  // Every message box is recorded and answered with OK.
  lv::test_hooks::SetModalShownObserver([this](lv::test_hooks::ShownModal& shown) {
    auto* box = qobject_cast<QMessageBox*>(static_cast<QWidget*>(shown.Widget()));
    if (box != nullptr) {
      messages_.push_back(box->text().toStdWString());
      messageCaptions_.push_back(shown.Title());
      lv::test_hooks::PushMessageBoxAnswer(lv::kIdOk);
    }
  });
}

void SettingsDialogTest::TearDown() {
  lv::test_hooks::SetModalShownObserver({});
  SetErrorPresenter(previousPresenter_);
  EXPECT_EQ(lv::ClearDialogAnswers(), 0) << "a scripted answer was left over";
  EXPECT_EQ(lv::ClearPopupMenuAnswers(), 0) << "a popup-menu answer was left over";
  if (lv::IsGuiRuntimeStarted()) {
    lv::ShutDownGuiRuntime();
  }
}

int SettingsDialogTest::Run(lv::Dialog& dlg, lv::DialogScript script) {
  lv::AnswerNextDialog(std::move(script));
  return dlg.DoModal();
}

lv::DialogStep SettingsDialogTest::ChooseUnit(int buttonId, uint32_t command) {
  return lv::DialogStep::Inspect([buttonId, command](lv::Dialog* dlg) {
    lv::AnswerNextPopupMenu([command](const lv::ShownPopupMenu&) { return command; });
    const lv::Rect r = dlg->GetItemRect(buttonId);
    EXPECT_TRUE(lv::MouseClickControl(*dlg, buttonId, lv::Point{r.Width() / 2, r.Height() / 2}));
  });
}

lv::DialogStep SettingsDialogTest::Read(std::function<void(lv::Dialog&)> reader) {
  return lv::DialogStep::Inspect([reader = std::move(reader)](lv::Dialog* dlg) { reader(*dlg); });
}

void SettingsDialogTest::ExpectItemTexts(const lv::Dialog& dlg, const std::vector<ItemText>& texts) {
  for (const ItemText& t : texts) {
    EXPECT_EQ(dlg.GetItemText(t.id), t.text) << t.id;
  }
}

void SettingsDialogTest::ExpectTemplateLabels(const lv::DialogTemplate& t, const std::vector<const wchar_t*>& labels) {
  for (const wchar_t* label : labels) {
    bool found = false;
    for (const auto& c : t.controls) {
      found = found || (c.id == -1 && c.text == label);
    }
    EXPECT_TRUE(found) << lv::WideToUtf8(label);
  }
}

void SettingsDialogTest::ExpectTemplateLayout(lv::Dialog& dlg) {
  const lv::DialogTemplate& t = dlg.Template();
  const lv::Size client = dlg.ClientSize();
  const lv::Rect whole = dlg.MapDialogRect(0, 0, t.width, t.height);
  EXPECT_EQ(client.cx, whole.Width());
  EXPECT_EQ(client.cy, whole.Height());
  int checked = 0;
  for (const lv::ControlTemplate& c : t.controls) {
    if (c.id == -1) {
      continue;
    }
    SCOPED_TRACE(c.id);
    ASSERT_TRUE(dlg.HasControl(c.id));
    const lv::Rect want = dlg.MapDialogRect(c.x, c.y, c.w, c.h);
    const lv::Rect got = dlg.GetItemRect(c.id);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.Width(), want.Width());
    if (c.kind != lv::ControlKind::kDropDownList && c.kind != lv::ControlKind::kComboBox) {
      EXPECT_EQ(got.Height(), want.Height());
    }
    // Inside the client area.
    EXPECT_LE(got.right, client.cx);
    EXPECT_LE(got.bottom, client.cy);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

std::wstring DialogPngPath(const std::string& name) {
  return lv::Utf8ToWide(GalleryFolder("plot_dialogs") + "/" + name + ".png");
}

}  // namespace lv_test
