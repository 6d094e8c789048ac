// The GUI runtime and the modal bridge with real Qt widgets (offscreen) and
// real worker threads: results handed back exactly once, shut-down with
// dialogs open, and the hazards of a GUI thread that waits on workers while
// they wait on it.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/modal_bridge.h"
#include "platform/gui/test_hooks.h"
#include "support/gui_app.h"
#include "workers/thread_wait.h"
#include "workers/ui_thread.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCancel = -7;
constexpr int32_t kMsgAsk = 100;    // the worker runs a message box through the bridge
constexpr int32_t kMsgNoop = 101;   // does nothing (fills the queue)
constexpr int32_t kMsgSlow = 102;   // sleeps a while

// Opens a message box non-blocking; its finished signal calls done.
lv::ModalOpen MessageBoxOpen(const QString& title) {
  return [title](lv::ModalDone done) {
    auto* box = new QMessageBox(QMessageBox::Information, title, QStringLiteral("Proceed?"),
                                QMessageBox::Ok | QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QDialog::finished, [done](int result) { done(result); });
    box->open();
  };
}

std::vector<QMessageBox*> VisibleMessageBoxes() {
  std::vector<QMessageBox*> boxes;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) {
      boxes.push_back(box);
    }
  }
  return boxes;
}

// Presses OK on every visible message box after delayMs, from the GUI loop.
void AnswerBoxesLater(int delayMs, int result = QMessageBox::Ok) {
  QTimer::singleShot(delayMs, [result] {
    for (QMessageBox* box : VisibleMessageBoxes()) {
      box->done(result);
    }
  });
}

// Serves GUI events until the condition holds; false after limitMs.
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

class ModalWorker : public CWUIThread {
 public:
  explicit ModalWorker(const char* name) : CWUIThread(name), title_(QString::fromLatin1(name)) {}
  ~ModalWorker() override { StopAndJoin(2000); }

  std::atomic<int> result{0};
  std::atomic<int> answered{0};
  std::atomic<int> noops{0};

 protected:
  void OnMessage(const CWThreadMessage& m) override {
    switch (m.id) {
      case kMsgAsk:
        result = lv::RunModal(MessageBoxOpen(title_), kCancel);
        ++answered;
        return;
      case kMsgNoop:
        ++noops;
        return;
      case kMsgSlow:
        lv::SleepMs(100);
        return;
      default:
        CWUIThread::OnMessage(m);
    }
  }
  void OnMsgGetParam(CWGetSetData& request) override { request.SetInt(42 + noops.load()); }

 private:
  QString title_;
};

class ModalBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
    start_ = Clock::now();
  }
  void TearDown() override {
    if (lv::IsGuiRuntimeStarted()) {
      lv::ShutDownGuiRuntime();
    }
    lv::test_hooks::ClearAnswers();
    lv::test_hooks::SetModalShownObserver(nullptr);
    for (QMessageBox* box : VisibleMessageBoxes()) {
      box->close();
    }
    // Every hazard case ends well inside its limit.
    EXPECT_LT(Clock::now() - start_, std::chrono::seconds(10));
  }
  Clock::time_point start_;
};

TEST_F(ModalBridge, ResultReachesAWorkerFromTheScriptedAnswer) {
  ModalWorker worker("AskWorker");
  ASSERT_TRUE(worker.StartUIThread());
  std::wstring seenTitle;
  std::string seenKind;
  lv::test_hooks::SetModalShownObserver([&](lv::test_hooks::ShownModal& shown) {
    seenTitle = shown.Title();
    seenKind = shown.KindName();
  });
  lv::test_hooks::PushResult(QMessageBox::Ok);
  worker.PutMessage(kMsgAsk);
  ASSERT_TRUE(ServeUntil([&] { return worker.answered.load() == 1; }));
  EXPECT_EQ(worker.result.load(), QMessageBox::Ok);
  EXPECT_EQ(seenTitle, L"AskWorker");
  EXPECT_EQ(seenKind, "QMessageBox");
  EXPECT_EQ(lv::test_hooks::PendingAnswers(), 0u);
  EXPECT_EQ(lv::OpenModalCount(), 0);
}

TEST_F(ModalBridge, GuiThreadCallServesUntilDoneAndScriptsApplyInOrder) {
  lv::test_hooks::PushResult(QMessageBox::Cancel);
  lv::test_hooks::PushResult(QMessageBox::Ok);
  EXPECT_EQ(lv::RunModal(MessageBoxOpen("first"), kCancel), QMessageBox::Cancel);
  EXPECT_EQ(lv::RunModal(MessageBoxOpen("second"), kCancel), QMessageBox::Ok);
  EXPECT_FALSE(lv::IsModalActive());
}

TEST_F(ModalBridge, ResultIsHandedBackExactlyOnce) {
  // Table of ways open() may misbehave.
  struct Case {
    const char* name;
    lv::ModalOpen open;
    int expected;
  };
  const std::vector<Case> cases = {
      {"done twice at once", [](lv::ModalDone done) { done(3); done(4); }, 3},
      {"done later twice",
       [](lv::ModalDone done) {
         QTimer::singleShot(5, [done] { done(5); });
         QTimer::singleShot(10, [done] { done(6); });
       },
       5},
      {"open throws", [](lv::ModalDone) { throw 1; }, kCancel},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lv::RunModal(c.open, kCancel), c.expected) << c.name;
    EXPECT_EQ(lv::OpenModalCount(), 0) << c.name;
  }
  lv::ServeGuiEvents(20);  // the late second calls arrive and are ignored
}

TEST_F(ModalBridge, ClosedBridgeReturnsCancelWithoutOpening) {
  lv::ShutDownGuiRuntime();
  bool opened = false;
  EXPECT_EQ(lv::RunModal([&](lv::ModalDone done) { opened = true; done(1); }, kCancel), kCancel);
  std::thread worker([&] {
    EXPECT_EQ(lv::RunModal([&](lv::ModalDone done) { opened = true; done(1); }, kCancel), kCancel);
  });
  worker.join();
  EXPECT_FALSE(opened);
}

TEST_F(ModalBridge, BlockingRequestToAWorkerInsideAModalCall) {
  ModalWorker worker("BusyWorker");
  ASSERT_TRUE(worker.StartUIThread());
  worker.PutMessage(kMsgAsk);
  ASSERT_TRUE(ServeUntil([] { return lv::OpenModalCount() == 1; }));
  // The worker waits on the dialog; the GUI thread now waits on the worker.
  // The GUI wait keeps serving, so the dialog can be answered meanwhile.
  AnswerBoxesLater(50);
  int32_t value = 0;
  worker.GetParam(&value, 1);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(worker.result.load(), QMessageBox::Ok);
}

TEST_F(ModalBridge, CommandDuringADialogIsDeferredThenRun) {
  ModalWorker worker("DialogWorker");
  ASSERT_TRUE(worker.StartUIThread());
  worker.PutMessage(kMsgAsk);
  ASSERT_TRUE(ServeUntil([] { return lv::OpenModalCount() == 1; }));
  EXPECT_TRUE(lv::IsModalActive());
  // A timer that would start a blocking request while the dialog is open.
  std::vector<std::string> order;
  QTimer::singleShot(0, [&] {
    lv::DeferWhileModal([&] {
      int32_t value = 0;
      worker.GetParam(&value, 1);
      order.push_back("request " + std::to_string(value));
    });
  });
  lv::ServeGuiEvents(50);
  EXPECT_TRUE(order.empty());
  order.push_back("dialog answered");
  for (QMessageBox* box : VisibleMessageBoxes()) {
    box->done(QMessageBox::Ok);
  }
  ASSERT_TRUE(ServeUntil([&] { return order.size() == 2; }));
  EXPECT_EQ(order[1], "request 42");
}

TEST_F(ModalBridge, WorkDeferredInsideNestedWaitsRunsAfterTheOutermostReturns) {
  ModalWorker slow("SlowWorker");
  ASSERT_TRUE(slow.StartUIThread());
  std::vector<std::string> order;
  // Inside the outer wait a handler runs a second (nested) wait and defers work.
  QTimer::singleShot(10, [&] {
    lv::DeferWhileModal([&] { order.push_back("deferred"); });
    slow.PutMessage(kMsgSlow);
    int32_t value = 0;
    slow.GetParam(&value, 1);
    order.push_back("inner returned");
  });
  lv::PlatformEvent outer;
  std::thread setter([&] {
    lv::SleepMs(300);
    outer.Set();
  });
  EXPECT_EQ(lv::GuiWait(outer, 5000), lv::WaitResult::Signalled);
  order.push_back("outer returned");
  setter.join();
  ASSERT_TRUE(ServeUntil([&] { return order.size() == 3; }));
  EXPECT_EQ(order, (std::vector<std::string>{"inner returned", "outer returned", "deferred"}));
}

TEST_F(ModalBridge, TwoWorkersInModalCallsAtOnce) {
  ModalWorker first("FirstWorker");
  ModalWorker second("SecondWorker");
  ASSERT_TRUE(first.StartUIThread());
  ASSERT_TRUE(second.StartUIThread());
  first.PutMessage(kMsgAsk);
  second.PutMessage(kMsgAsk);
  ASSERT_TRUE(ServeUntil([] { return lv::OpenModalCount() == 2; }));
  EXPECT_EQ(VisibleMessageBoxes().size(), 2u);
  for (QMessageBox* box : VisibleMessageBoxes()) {
    box->done(box->windowTitle() == "FirstWorker" ? QMessageBox::Ok : QMessageBox::Cancel);
  }
  ASSERT_TRUE(ServeUntil([&] { return first.answered.load() == 1 && second.answered.load() == 1; }));
  EXPECT_EQ(first.result.load(), QMessageBox::Ok);
  EXPECT_EQ(second.result.load(), QMessageBox::Cancel);
}

TEST_F(ModalBridge, FullQueueOfAWorkerInAModalCall) {
  ModalWorker worker("FullWorker");
  ASSERT_TRUE(worker.StartUIThread());
  worker.PutMessage(kMsgAsk);
  ASSERT_TRUE(ServeUntil([] { return lv::OpenModalCount() == 1; }));
  AnswerBoxesLater(50);
  // Thirty fill the ring; the next put waits for space in the GUI wait,
  // which keeps serving until the dialog is answered and the worker drains.
  for (int i = 0; i < CWThreadQueue::kCapacity + 5; ++i) {
    ASSERT_TRUE(worker.PutMessage(kMsgNoop));
  }
  int32_t value = 0;
  worker.GetParam(&value, 1);
  EXPECT_EQ(value, 42 + CWThreadQueue::kCapacity + 5);
}

TEST_F(ModalBridge, ShutDownWithAWorkersDialogOpen) {
  ModalWorker asking("OpenWorker");
  ModalWorker idle("IdleWorker");
  ASSERT_TRUE(asking.StartUIThread());
  ASSERT_TRUE(idle.StartUIThread());
  asking.PutMessage(kMsgAsk);
  ASSERT_TRUE(ServeUntil([] { return lv::OpenModalCount() == 1; }));
  bool joined = false;
  lv::ShutDownGuiRuntime([&] { joined = asking.StopAndJoin(2000) && idle.StopAndJoin(2000); });
  EXPECT_TRUE(joined);
  EXPECT_EQ(asking.result.load(), kCancel);
  EXPECT_EQ(lv::OpenModalCount(), 0);
  EXPECT_TRUE(VisibleMessageBoxes().empty());
}

TEST_F(ModalBridge, GuiWaitReportsSignalledTimedOutAndShutDown) {
  lv::PlatformEvent never;
  const auto before = Clock::now();
  EXPECT_EQ(lv::GuiWait(never, 30), lv::WaitResult::TimedOut);
  EXPECT_GE(Clock::now() - before, std::chrono::milliseconds(25));
  lv::PlatformEvent set(true);
  EXPECT_EQ(lv::GuiWait(set, 0), lv::WaitResult::Signalled);
  // The thread framework's waits on the GUI thread go through it.
  bool served = false;
  QTimer::singleShot(5, [&] { served = true; });
  lv::PlatformEvent later;
  std::thread setter([&] {
    lv::SleepMs(40);
    later.Set();
  });
  EXPECT_EQ(CWWaitForEvent(later, 5000), lv::WaitResult::Signalled);
  EXPECT_TRUE(served);
  setter.join();
  // A wait in progress when the layer shuts down returns Failed.
  lv::WaitResult nested = lv::WaitResult::Signalled;
  QTimer::singleShot(5, [&] { lv::ShutDownGuiRuntime(); });
  nested = lv::GuiWait(never, 5000);
  EXPECT_EQ(nested, lv::WaitResult::Failed);
}

TEST_F(ModalBridge, PostedUiMessagesArriveInOrderOnTheGuiThread) {
  lv::ShutDownGuiRuntime();
  std::vector<uint64_t> seen;
  bool onGui = true;
  lv::GuiRuntimeOptions options;
  options.uiMessageHandler = [&](const lv::UiMessage& m) {
    onGui = onGui && lv::IsGuiThread();
    seen.push_back(m.wParam);
  };
  ASSERT_TRUE(lv::StartGuiRuntime(options));
  std::thread poster([] {
    for (uint64_t i = 0; i < 100; ++i) {
      lv::PostToUi(1026, nullptr, i);
    }
  });
  poster.join();
  ASSERT_TRUE(ServeUntil([&] { return seen.size() == 100; }));
  for (uint64_t i = 0; i < 100; ++i) {
    EXPECT_EQ(seen[i], i);
  }
  EXPECT_TRUE(onGui);
}

TEST_F(ModalBridge, EventLoopQuitsWhenToldFromAWorker) {
  std::thread quitter([] {
    lv::SleepMs(20);
    lv::QuitGuiEventLoop(5);
  });
  EXPECT_EQ(lv::RunGuiEventLoop(), 5);
  quitter.join();
}

}  // namespace
