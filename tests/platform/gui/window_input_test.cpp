// Mouse and keys of a child window through real Qt events (offscreen): what
// the owner's window-message queue receives, and mouse capture for drags
// that leave the client area.
#include <QWidget>
#include <chrono>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "support/gui_app.h"

namespace {

using lv::WindowMessage;
using lv::WindowMessageKind;
using K = lv::WindowMessageKind;
using A = lv::test_hooks::MouseAction;
namespace hooks = lv::test_hooks;

bool ServeUntil(const std::function<bool()>& condition, int limitMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    lv::ServeGuiEvents(2);
  }
  return true;
}

// Serves events long enough for every posted dispatch to have run.
void Settle() {
  for (int i = 0; i < 10; ++i) {
    lv::ServeGuiEvents(2);
  }
}

// A frame with one shown child window whose messages (mouse and keys only)
// are recorded by its owner, the test's thread.
class WindowInput : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
    frame_ = std::make_unique<lv::FrameWindow>(L"Input frame", lv::Rect{0, 0, 900, 700});
    frame_->Show(true);
    child_ = std::make_unique<lv::ChildWindow>(*frame_, L"Input child", lv::Rect{10, 10, 410, 310});
    child_->Show(true);
    child_->SetMessageHandler([this](const WindowMessage& m) {
      if (m.kind >= K::kMouseMove && m.kind <= K::kKeyUp) {
        seen_.push_back(m);
      }
    });
    ASSERT_TRUE(ServeUntil([this] { return hooks::IsShown(child_->Id()); }));
    Settle();
    seen_.clear();
  }
  void TearDown() override {
    child_.reset();
    frame_.reset();
    if (lv::IsGuiRuntimeStarted()) {
      lv::ShutDownGuiRuntime();
    }
  }
  std::vector<WindowMessage> Take() {
    Settle();
    std::vector<WindowMessage> out;
    out.swap(seen_);
    return out;
  }

  std::unique_ptr<lv::FrameWindow> frame_;
  std::unique_ptr<lv::ChildWindow> child_;
  std::vector<WindowMessage> seen_;
};

struct Expected {
  K kind;
  int32_t a;
  int32_t b;
  int32_t x;
  int32_t y;
  uint32_t buttons;
};

void ExpectMessages(const std::vector<WindowMessage>& got, const std::vector<Expected>& want, uint32_t id) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(got[i].window, id);
    EXPECT_EQ(got[i].kind, want[i].kind);
    EXPECT_EQ(got[i].a, want[i].a);
    EXPECT_EQ(got[i].b, want[i].b);
    EXPECT_EQ(got[i].x, want[i].x);
    EXPECT_EQ(got[i].y, want[i].y);
    EXPECT_EQ(got[i].buttons, want[i].buttons);
  }
}

TEST_F(WindowInput, CapturedDragLeavesTheClientAreaAndEndsOnlyWhenReleased) {
  const uint32_t id = child_->Id();
  const lv::Size client = child_->ClientSize();
  ASSERT_GT(client.cx, 100);
  ASSERT_GT(client.cy, 100);

  // Without capture a point outside the client area belongs to another widget.
  EXPECT_FALSE(hooks::SendMouse(id, A::kMove, lv::Point{client.cx + 20, 5}, 0, 0, 0));
  EXPECT_TRUE(Take().empty());

  // A zoom drag: press inside, capture, moves that leave the window
  // (coalesced to the newest), release outside.
  ASSERT_TRUE(hooks::SendMouse(id, A::kPress, lv::Point{50, 40}, 1, 1, lv::kModShift));
  child_->SetCapture();
  EXPECT_TRUE(child_->HasCapture());
  ASSERT_TRUE(hooks::SendMouse(id, A::kMove, lv::Point{120, 90}, 0, 1, lv::kModShift));
  ASSERT_TRUE(hooks::SendMouse(id, A::kMove, lv::Point{client.cx + 30, 60}, 0, 1, lv::kModShift));
  ASSERT_TRUE(hooks::SendMouse(id, A::kMove, lv::Point{-25, client.cy + 40}, 0, 1, lv::kModShift));
  ASSERT_TRUE(hooks::SendMouse(id, A::kRelease, lv::Point{-25, client.cy + 40}, 1, 0, 0));
  ExpectMessages(Take(),
                 {{K::kMouseDown, 1, lv::kModShift, 50, 40, 1},
                  {K::kMouseMove, 0, lv::kModShift, -25, client.cy + 40, 1},
                  {K::kMouseUp, 1, 0, -25, client.cy + 40, 0}},
                 id);

  // The release ended nothing: the window still has the mouse.
  EXPECT_TRUE(child_->HasCapture());
  ASSERT_TRUE(hooks::SendMouse(id, A::kMove, lv::Point{client.cx + 200, -70}, 0, 0, lv::kModControl));
  ExpectMessages(Take(), {{K::kMouseMove, 0, lv::kModControl, client.cx + 200, -70, 0}}, id);

  // Once the owner releases, outside points go elsewhere again; inside still arrive.
  child_->ReleaseCapture();
  EXPECT_FALSE(child_->HasCapture());
  EXPECT_FALSE(hooks::SendMouse(id, A::kMove, lv::Point{client.cx + 200, -70}, 0, 0, 0));
  EXPECT_TRUE(hooks::SendMouse(id, A::kMove, lv::Point{10, 11}, 0, 0, 0));
  ExpectMessages(Take(), {{K::kMouseMove, 0, 0, 10, 11, 0}}, id);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(WindowInput, MouseButtonsReachTheOwnerWithButtonsAndModifiers) {
  const uint32_t id = child_->Id();
  struct Case {
    A action;
    int button;
    uint32_t held;  // after the event
    int32_t modifiers;
    K kind;
  };
  const Case cases[] = {
      {A::kPress, 1, 1, 0, K::kMouseDown},
      {A::kRelease, 1, 0, 0, K::kMouseUp},
      {A::kPress, 2, 2, lv::kModControl, K::kMouseDown},
      {A::kRelease, 2, 0, lv::kModControl, K::kMouseUp},
      {A::kPress, 3, 4, lv::kModAlt, K::kMouseDown},
      {A::kPress, 1, 5, lv::kModShift, K::kMouseDown},  // left while middle held
      {A::kRelease, 3, 1, 0, K::kMouseUp},
      {A::kRelease, 1, 0, 0, K::kMouseUp},
      {A::kDoubleClick, 1, 1, 0, K::kMouseDoubleClick},
      {A::kDoubleClick, 2, 2, lv::kModShift | lv::kModControl, K::kMouseDoubleClick},
  };
  std::vector<Expected> want;
  int32_t x = 30;
  for (const Case& c : cases) {
    ASSERT_TRUE(hooks::SendMouse(id, c.action, lv::Point{x, x / 2}, c.button, c.held, c.modifiers));
    want.push_back(Expected{c.kind, c.button, c.modifiers, x, x / 2, c.held});
    x += 7;
  }
  ExpectMessages(Take(), want, id);
}

TEST_F(WindowInput, KeysReachTheOwnerAsLayerCodesWithModifiers) {
  const uint32_t id = child_->Id();
  struct Case {
    int32_t key;
    int32_t modifiers;
  };
  const Case cases[] = {
      {lv::kKeyLeft, 0},           {lv::kKeyUp, 0},          {lv::kKeyRight, lv::kModShift},
      {lv::kKeyArrowDown, 0},      {lv::kKeyEscape, 0},      {'Z', lv::kModControl},
      {'A', lv::kModShift | lv::kModAlt}, {'M', 0},          {lv::kKeyDelete, 0},
  };
  std::vector<Expected> want;
  for (const Case& c : cases) {
    ASSERT_TRUE(hooks::SendKey(id, true, c.key, c.modifiers));
    ASSERT_TRUE(hooks::SendKey(id, false, c.key, c.modifiers));
    want.push_back(Expected{K::kKeyDown, c.key, c.modifiers, 0, 0, 0});
    want.push_back(Expected{K::kKeyUp, c.key, c.modifiers, 0, 0, 0});
  }
  ExpectMessages(Take(), want, id);
  // A key the layer does not name has no code to send.
  EXPECT_FALSE(hooks::SendKey(id, true, 0x7F00, 0));
}

}  // namespace
