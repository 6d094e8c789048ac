// Thread-owned windows with real Qt widgets (offscreen): the frame's menu,
// toolbar and status bar, child windows owned by a worker, window messages
// in the owner's queue, the bounding rectangle, frames handed over.
#include <QApplication>
#include <QAction>
#include <QImage>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolBar>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/image_dc.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "support/gui_app.h"
#include "workers/ui_thread.h"

namespace {

using Clock = std::chrono::steady_clock;
using lv::WindowMessage;
using lv::WindowMessageKind;
namespace hooks = lv::test_hooks;

bool ServeUntil(const std::function<bool()>& condition, int limitMs = 5000) {
  const auto end = Clock::now() + std::chrono::milliseconds(limitMs);
  while (!condition()) {
    if (Clock::now() > end) {
      return false;
    }
    lv::ServeGuiEvents(2);
  }
  return true;
}

lv::Bitmap ToolImage(lv::Color c) {
  lv::Bitmap b(24, 24, lv::MakeRgb(255, 255, 255));
  for (int i = 3; i < 21; ++i) {
    for (int j = 3; j < 21; ++j) {
      if (i == j || i + j == 23 || i == 3 || j == 3 || i == 20 || j == 20) {
        b.SetPixel(i, j, c);
      }
    }
  }
  return b;
}

std::unique_ptr<lv::FrameWindow> SampleFrame() {
  auto frame = std::make_unique<lv::FrameWindow>(L"Lumvard Sorvek - sample", lv::Rect{0, 0, 1000, 700});
  frame->SetMenu({
      lv::MenuItem::Popup(L"&File", {lv::MenuItem::Command(101, L"&Open..."), lv::MenuItem::Separator(),
                                     lv::MenuItem::Command(102, L"E&xit")}),
      lv::MenuItem::Popup(L"&View", {lv::MenuItem::Command(201, L"&Toolbar"), lv::MenuItem::Command(202, L"&Status Bar")}),
      lv::MenuItem::Popup(L"&Window", {}),
  });
  std::vector<lv::ToolbarButton> buttons(3);
  buttons[0].id = 101;
  buttons[0].image = ToolImage(lv::MakeRgb(0, 0, 200));
  buttons[0].tooltip = L"Open a waveform file";
  buttons[1].separator = true;
  buttons[2].id = 301;
  buttons[2].image = ToolImage(lv::MakeRgb(0, 160, 0));
  buttons[2].tooltip = L"Start transmitting";
  buttons[2].checkable = true;
  frame->SetToolbar(std::move(buttons));
  frame->SetStatusPanes({300, 500, -1});
  return frame;
}

// A worker that owns a child window and records its window messages.
constexpr int32_t kMsgMoveSize = 200;  // word: x | y << 16 (size 320 x 240)
constexpr int32_t kMsgBounds = 201;    // the bounds below
constexpr int32_t kMsgShow = 202;
constexpr int32_t kParamGeometry = 1;
const lv::Rect kBounds{0, 0, 600, 400};

class WindowWorker : public CWUIThread {
 public:
  explicit WindowWorker(const lv::FrameWindow& parent) : CWUIThread("WindowWorker"), parent_(parent) {}
  ~WindowWorker() override { StopAndJoin(2000); }

  std::vector<WindowMessage> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }
  size_t CountOf(WindowMessageKind kind) {
    size_t n = 0;
    for (const WindowMessage& m : Seen()) {
      n += m.kind == kind ? 1 : 0;
    }
    return n;
  }
  std::atomic<uint32_t> windowId{0};
  std::atomic<long> idleCalls{0};
  std::atomic<bool> onOwnThread{true};

 protected:
  bool InitInstance() override {
    child_ = std::make_unique<lv::ChildWindow>(parent_, L"Spectrum 1", lv::Rect{20, 20, 340, 260});
    child_->SetMessageHandler([this](const WindowMessage& m) {
      if (std::this_thread::get_id() != owner_) {
        onOwnThread = false;
      }
      if (m.kind == WindowMessageKind::kPaint) {
        Paint();
      }
      if (m.kind == WindowMessageKind::kClose) {
        child_->Show(false);  // the close box hides
      }
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.push_back(m);
    });
    owner_ = std::this_thread::get_id();
    windowId = child_->Id();
    return true;
  }
  void ExitInstance() override { child_.reset(); }
  bool OnIdle(long count) override {
    ++idleCalls;
    return CWUIThread::OnIdle(count);
  }
  void OnMessage(const CWThreadMessage& m) override {
    switch (m.id) {
      case kMsgMoveSize: {
        const int32_t x = static_cast<int32_t>(m.word & 0xFFFF);
        const int32_t y = static_cast<int32_t>(m.word >> 16);
        child_->MoveSize(lv::Rect{x, y, x + 320, y + 240});
        return;
      }
      case kMsgBounds:
        child_->SetBoundingRect(kBounds);
        return;
      case kMsgShow:
        child_->Show(true);
        return;
      default:
        CWUIThread::OnMessage(m);
    }
  }
  void OnMsgGetParam(CWGetSetData& r) override {
    const lv::Rect g = child_->Geometry();
    r.SetRect(CWRect{g.left, g.top, g.right, g.bottom});
  }

 private:
  void Paint() {
    const lv::Size client = child_->ClientSize();
    const lv::Rect g{0, 0, client.cx, client.cy};
    if (back_.Width() != g.Width() || back_.Height() != g.Height()) {
      back_ = lv::Bitmap(std::max(1, g.Width()), std::max(1, g.Height()));
    }
    lv::ImageDc dc(std::move(back_));
    dc.FillSolidRect(lv::Rect{0, 0, g.Width(), g.Height()}, lv::MakeRgb(0, 0, 0));
    dc.SelectPen(lv::Pen::Solid(lv::MakeRgb(255, 255, 0)));
    dc.MoveTo(lv::Point{0, g.Height() / 2});
    for (int x = 0; x < g.Width(); x += 8) {
      dc.LineTo(lv::Point{x, g.Height() / 2 + ((x / 8) % 2 == 0 ? -40 : 40)});
    }
    back_ = dc.SelectBitmap(lv::Bitmap());
    child_->PresentFrame(back_);
  }

  const lv::FrameWindow& parent_;
  std::unique_ptr<lv::ChildWindow> child_;
  lv::Bitmap back_;
  std::thread::id owner_;
  std::mutex mutex_;
  std::vector<WindowMessage> seen_;
};

lv::Rect GeometryOf(WindowWorker& worker) {
  CWRect r;
  worker.GetParam(&r, kParamGeometry);
  return lv::Rect{r.left, r.top, r.right, r.bottom};
}

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
  }
  void TearDown() override {
    if (lv::IsGuiRuntimeStarted()) {
      lv::ShutDownGuiRuntime();
    }
  }
};

TEST_F(Windows, FrameMenuToolbarAndStatusBarAreRealWidgetsWithTheirTexts) {
  auto frame = SampleFrame();
  std::vector<int32_t> commands;
  frame->SetMessageHandler([&](const WindowMessage& m) {
    if (m.kind == WindowMessageKind::kCommand) {
      commands.push_back(m.a);
    }
  });
  const uint32_t id = hooks::FindWindowByTitle(L"Lumvard Sorvek - sample");
  ASSERT_EQ(id, frame->Id());
  EXPECT_EQ(hooks::MenuTexts(id), (std::vector<std::wstring>{L"&File/&Open...", L"&File/-", L"&File/E&xit",
                                                             L"&View/&Toolbar", L"&View/&Status Bar"}));
  EXPECT_EQ(hooks::ToolbarTooltips(id), (std::vector<std::wstring>{L"Open a waveform file", L"Start transmitting"}));
  // Changes at run time: rename, check mark, append.
  EXPECT_TRUE(frame->SetMenuItemText(102, L"E&xit Sorvek"));
  EXPECT_TRUE(frame->SetMenuItemChecked(201, true));
  EXPECT_TRUE(frame->AppendMenuItem(2, lv::MenuItem::Command(401, L"1 Spectrum")));
  EXPECT_FALSE(frame->SetMenuItemText(999, L"none"));
  EXPECT_FALSE(frame->AppendMenuItem(7, lv::MenuItem::Command(402, L"none")));
  EXPECT_EQ(hooks::MenuTexts(id),
            (std::vector<std::wstring>{L"&File/&Open...", L"&File/-", L"&File/E&xit Sorvek", L"&View/[x] &Toolbar",
                                       L"&View/&Status Bar", L"&Window/1 Spectrum"}));
  // Commands from the menu and the toolbar reach the owner as window messages.
  EXPECT_TRUE(hooks::SendCommand(id, 401));
  EXPECT_TRUE(hooks::SendCommand(id, 301));
  EXPECT_FALSE(hooks::SendCommand(id, 999));
  ASSERT_TRUE(ServeUntil([&] { return commands.size() == 2; }));
  EXPECT_EQ(commands, (std::vector<int32_t>{401, 301}));
  // Pane texts from any thread, without waiting.
  std::thread worker([&] {
    frame->SetPaneText(0, L"Ready");
    frame->SetPaneText(2, L"AD9361 at ip:127.0.0.1");
    frame->SetPaneText(9, L"no such pane");
  });
  worker.join();
  ASSERT_TRUE(ServeUntil([&] { return hooks::StatusPaneTexts(id).size() == 3 && hooks::StatusPaneTexts(id)[2] != L""; }));
  EXPECT_EQ(hooks::StatusPaneTexts(id), (std::vector<std::wstring>{L"Ready", L"", L"AD9361 at ip:127.0.0.1"}));
}

TEST_F(Windows, ChildOwnedByAWorkerGetsUserSizesButNotItsOwn) {
  auto frame = SampleFrame();
  frame->Show(true);
  WindowWorker worker(*frame);
  ASSERT_TRUE(worker.StartUIThread());
  ASSERT_TRUE(ServeUntil([&] { return worker.windowId.load() != 0 && hooks::WindowTitle(worker.windowId) == L"Spectrum 1"; }));
  const uint32_t child = worker.windowId;
  EXPECT_FALSE(hooks::IsShown(child));  // hidden at creation
  worker.PutMessage(kMsgShow);
  ASSERT_TRUE(ServeUntil([&] { return hooks::IsShown(child); }));
  // The owner's own size does not come back.
  worker.PutMessage(kMsgMoveSize, nullptr, 40 | (30u << 16));
  ASSERT_TRUE(ServeUntil([&] { return hooks::WidgetGeometry(child) == lv::Rect{40, 30, 360, 270}; }));
  lv::ServeGuiEvents(50);
  EXPECT_EQ(worker.CountOf(WindowMessageKind::kSize), 0u);
  EXPECT_EQ(GeometryOf(worker), (lv::Rect{40, 30, 360, 270}));
  // A user's resize arrives at the owner, whose geometry follows.
  ASSERT_TRUE(hooks::UserMoveSize(child, lv::Rect{50, 40, 450, 340}));
  ASSERT_TRUE(ServeUntil([&] { return worker.CountOf(WindowMessageKind::kSize) >= 1; }));
  lv::ServeGuiEvents(20);
  EXPECT_EQ(GeometryOf(worker), (lv::Rect{50, 40, 450, 340}));
  const WindowMessage size = [&] {
    for (const WindowMessage& m : worker.Seen()) {
      if (m.kind == WindowMessageKind::kSize) return m;
    }
    return WindowMessage{};
  }();
  EXPECT_EQ(size.x, 400);
  EXPECT_EQ(size.y, 300);
  EXPECT_GT(size.a, 0);
  EXPECT_LT(size.a, 400);  // the client lies inside the caption and frame
  // The close box only tells the owner, which hides the window.
  ASSERT_TRUE(hooks::UserClose(child));
  ASSERT_TRUE(ServeUntil([&] { return !hooks::IsShown(child); }));
  EXPECT_EQ(worker.CountOf(WindowMessageKind::kClose), 1u);
  EXPECT_TRUE(worker.onOwnThread.load());
  EXPECT_TRUE(worker.StopAndJoin(2000));
  ServeUntil([&] { return hooks::WindowTitle(child).empty(); }, 1000);
  EXPECT_TRUE(hooks::WindowTitle(child).empty());  // the widget went with its window
}

TEST_F(Windows, ChildStaysInsideItsBoundingRectangle) {
  auto frame = SampleFrame();
  frame->Show(true);
  WindowWorker worker(*frame);
  ASSERT_TRUE(worker.StartUIThread());
  ASSERT_TRUE(ServeUntil([&] { return worker.windowId.load() != 0 && hooks::IsShown(worker.windowId) == false &&
                                      !hooks::WindowTitle(worker.windowId).empty(); }));
  const uint32_t child = worker.windowId;
  worker.PutMessage(kMsgBounds);
  worker.PutMessage(kMsgShow);
  ASSERT_TRUE(ServeUntil([&] { return hooks::IsShown(child); }));
  // Table: where the owner or the user puts it, where it ends up.
  struct Case {
    const char* what;
    bool byUser;
    lv::Rect wanted;
    lv::Rect expected;
  };
  const Case cases[] = {
      {"owner, inside", false, {40, 30, 360, 270}, {40, 30, 360, 270}},
      {"owner, past the right and bottom", false, {500, 300, 820, 540}, {280, 160, 600, 400}},
      {"user, past the left and top", true, {-50, -20, 270, 220}, {0, 0, 320, 240}},
      {"user, larger than the bounds", true, {10, 10, 900, 700}, {0, 0, 600, 400}},
  };
  for (const Case& c : cases) {
    if (c.byUser) {
      ASSERT_TRUE(hooks::UserMoveSize(child, c.wanted));
    } else {
      worker.PutMessage(kMsgMoveSize, nullptr, static_cast<uint32_t>(c.wanted.left) | (static_cast<uint64_t>(c.wanted.top) << 16));
    }
    EXPECT_TRUE(ServeUntil([&] { return hooks::WidgetGeometry(child) == c.expected; }, 2000)) << c.what;
    lv::ServeGuiEvents(30);
    EXPECT_EQ(GeometryOf(worker), c.expected) << c.what;
  }
}

TEST_F(Windows, FramesDrawnByTheOwnerReachTheWidgetAndTheGallery) {
  auto frame = SampleFrame();
  frame->SetPaneText(0, L"Ready");
  frame->SetPaneText(1, L"Transmitter 1");
  frame->Show(true);
  WindowWorker worker(*frame);
  ASSERT_TRUE(worker.StartUIThread());
  ASSERT_TRUE(ServeUntil([&] { return worker.windowId.load() != 0 && !hooks::WindowTitle(worker.windowId).empty(); }));
  const uint32_t child = worker.windowId;
  worker.PutMessage(kMsgShow);
  ASSERT_TRUE(ServeUntil([&] { return hooks::IsShown(child) && worker.CountOf(WindowMessageKind::kPaint) >= 1; }));
  lv::ServeGuiEvents(50);
  auto* widget = static_cast<QWidget*>(nullptr);
  for (QWidget* w : QApplication::allWidgets()) {
    if (w->windowTitle() == "Spectrum 1") widget = w;
  }
  ASSERT_NE(widget, nullptr);
  const QImage shot = widget->grab().toImage();
  // Black background with yellow lines drawn by the worker somewhere inside.
  int yellow = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      yellow += shot.pixel(x, y) == qRgb(255, 255, 0) ? 1 : 0;
    }
  }
  EXPECT_GT(yellow, 100);
  const std::string folder = lv_test::GalleryFolder("platform");
  EXPECT_TRUE(hooks::SaveWindowPng(frame->Id(), folder + "/frame_window.png"));
  EXPECT_TRUE(hooks::SaveWindowPng(child, folder + "/child_window.png"));
  EXPECT_FALSE(hooks::SaveWindowPng(0, folder + "/none.png"));
}

TEST_F(Windows, IdleWorkerDoesNotWakeAndWindowMessagesWakeIt) {
  auto frame = SampleFrame();
  WindowWorker worker(*frame);
  ASSERT_TRUE(worker.StartUIThread());
  ASSERT_TRUE(ServeUntil([&] { return worker.windowId.load() != 0 && !hooks::WindowTitle(worker.windowId).empty(); }));
  lv::ServeGuiEvents(50);
  const long before = worker.idleCalls.load();
  lv::ServeGuiEvents(300);
  EXPECT_EQ(worker.idleCalls.load(), before);  // no wake-ups while idle
  // A window message alone wakes it (nothing in its thread queue).
  ASSERT_TRUE(hooks::UserClose(worker.windowId));
  ASSERT_TRUE(ServeUntil([&] { return worker.CountOf(WindowMessageKind::kClose) == 1; }, 2000));
}

TEST_F(Windows, PopupMenuCommandComesBackToTheOwnerAndCursorAndPressedStateShow) {
  auto frame = SampleFrame();
  frame->Show(true);
  lv::ChildWindow child(*frame, L"Time Domain 1", lv::Rect{10, 10, 410, 310});
  child.Show(true);
  std::vector<int32_t> commands;
  child.SetMessageHandler([&](const WindowMessage& m) {
    if (m.kind == WindowMessageKind::kCommand) {
      commands.push_back(m.a);
    }
  });
  ASSERT_TRUE(ServeUntil([&] { return hooks::IsShown(child.Id()); }));
  // The client size is known from the start (frame insets measured once).
  bool measured = false;
  for (QWidget* w : QApplication::allWidgets()) {
    if (w->windowTitle() == "Time Domain 1" && w->inherits("QMdiSubWindow")) {
      const QWidget* client = static_cast<QMdiSubWindow*>(w)->widget();
      EXPECT_EQ(child.ClientSize(), (lv::Size{client->width(), client->height()}));
      measured = true;
    }
  }
  EXPECT_TRUE(measured);
  child.TrackPopupMenu({lv::MenuItem::Command(501, L"Zoom In"), lv::MenuItem::Separator(),
                        lv::MenuItem::Command(502, L"Cursor")},
                       lv::Point{40, 30});
  ASSERT_TRUE(ServeUntil([] { return QApplication::activePopupWidget() != nullptr; }));
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->actions().size(), 3);
  EXPECT_TRUE(popup->actions()[1]->isSeparator());
  popup->actions()[2]->trigger();
  popup->close();
  ASSERT_TRUE(ServeUntil([&] { return commands.size() == 1; }));
  EXPECT_EQ(commands[0], 502);
  // Cursor kinds reach the client area.
  child.SetCursor(lv::CursorKind::kCross);
  EXPECT_EQ(child.Cursor(), lv::CursorKind::kCross);
  QWidget* view = nullptr;
  for (QWidget* w : QApplication::allWidgets()) {
    if (w->windowTitle() == "Time Domain 1") view = w->findChildren<QWidget*>().isEmpty() ? nullptr : w;
  }
  ASSERT_NE(view, nullptr);
  bool cross = false;
  for (QWidget* w : view->findChildren<QWidget*>()) {
    cross = cross || (w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::CrossCursor);
  }
  EXPECT_TRUE(cross);
  // A toolbar button's pressed state.
  frame->SetToolbarButtonPressed(301, true);
  bool pressed = false;
  for (QWidget* w : QApplication::allWidgets()) {
    if (auto* bar = qobject_cast<QToolBar*>(w)) {
      for (QAction* a : bar->actions()) {
        pressed = pressed || (a->data().toUInt() == 301 && a->isChecked());
      }
    }
  }
  EXPECT_TRUE(pressed);
}

}  // namespace
