#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sync.h"
#include "platform/thread.h"
#include "platform/ui_post.h"

namespace {

using namespace std::chrono_literals;

TEST(PlatformEvent, ManualResetStaysSetForEveryWaiterUntilReset) {
  lv::PlatformEvent ev;
  EXPECT_EQ(ev.Wait(10), lv::WaitResult::TimedOut);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i) {
    waiters.emplace_back([&] {
      if (ev.Wait() == lv::WaitResult::Signalled) {
        ++released;
      }
    });
  }
  ev.Set();
  for (auto& t : waiters) {
    t.join();
  }
  EXPECT_EQ(released.load(), 4);
  EXPECT_EQ(ev.Wait(0), lv::WaitResult::Signalled);  // still set
  ev.Reset();
  EXPECT_EQ(ev.Wait(0), lv::WaitResult::TimedOut);
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
  lv::CriticalSection cs;
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 20000; ++i) {
      lv::CriticalSectionLock outer(cs);
      lv::CriticalSectionLock inner(cs);  // re-entry by the owner
      ++counter;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 40000);
}

TEST(PlatformMutex, TimedLockTimesOutWhileHeldElsewhere) {
  lv::PlatformMutex m;
  m.Lock();
  std::thread other([&] { EXPECT_FALSE(m.Lock(20)); });
  other.join();
  m.Unlock();
  EXPECT_TRUE(m.Lock(20));
  m.Unlock();
}

TEST(WorkerThread, StartsJoinsAndReportsTimeOut) {
  lv::WorkerThread t;
  lv::PlatformEvent go;
  std::atomic<bool> ran{false};
  ASSERT_TRUE(t.Start([&] {
    go.Wait();
    ran = true;
  }, "test worker"));
  EXPECT_FALSE(t.Start([] {}));  // already running
  EXPECT_TRUE(t.IsRunning());
  EXPECT_FALSE(t.Join(20));  // body still blocked
  go.Set();
  EXPECT_TRUE(t.Join(5000));
  EXPECT_TRUE(ran);
  EXPECT_FALSE(t.IsRunning());
  EXPECT_TRUE(t.Join(0));  // joining twice is harmless
}

TEST(HeadlessUiLoop, DeliversPostsInOrderFromManyThreads) {
  lv::HeadlessUiLoop loop;
  lv::UiPostTarget* previous = lv::SetUiPostTarget(&loop);
  constexpr int kThreads = 4, kEach = 500;
  std::vector<std::thread> posters;
  int senders[kThreads];
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        EXPECT_TRUE(lv::PostToUi(1026, &senders[t], static_cast<uint64_t>(i)));
      }
    });
  }
  std::vector<uint64_t> last(kThreads, 0);
  std::vector<int> seen(kThreads, 0);
  int total = 0;
  while (total < kThreads * kEach) {
    ASSERT_TRUE(loop.RunOne(
        [&](const lv::UiMessage& m) {
          const int t = static_cast<int>(static_cast<const int*>(m.sender) - senders);
          ASSERT_GE(t, 0);
          ASSERT_LT(t, kThreads);
          EXPECT_EQ(m.id, 1026u);
          if (seen[t] > 0) {
            EXPECT_EQ(m.wParam, last[t] + 1);  // each sender's posts in order
          }
          last[t] = m.wParam;
          ++seen[t];
          ++total;
        },
        5000));
  }
  for (auto& p : posters) {
    p.join();
  }
  EXPECT_EQ(loop.ProcessPending([](const lv::UiMessage&) {}), 0);
  lv::SetUiPostTarget(previous);
}

TEST(HeadlessUiLoop, PostWithoutTargetIsDroppedAndQuitEndsRun) {
  lv::UiPostTarget* previous = lv::SetUiPostTarget(nullptr);
  EXPECT_FALSE(lv::PostToUi(1, nullptr));
  lv::HeadlessUiLoop loop;
  lv::SetUiPostTarget(&loop);
  std::thread quitter([&] {
    lv::PostToUi(7, nullptr);
    loop.Quit();
  });
  int handled = 0;
  loop.Run([&](const lv::UiMessage& m) {
    EXPECT_EQ(m.id, 7u);
    ++handled;
  });
  quitter.join();
  EXPECT_EQ(handled, 1);
  lv::SetUiPostTarget(previous);
}

}  // namespace

TEST(WaitForAny, ReturnsTheSetEventOrTimesOut) {
  lv::PlatformEvent a;
  lv::PlatformEvent b;
  const lv::PlatformEvent* events[] = {&a, &b};
  EXPECT_EQ(lv::WaitForAny(events, 2, 10), -1);
  b.Set();
  EXPECT_EQ(lv::WaitForAny(events, 2, 0), 1);
  a.Set();
  EXPECT_EQ(lv::WaitForAny(events, 2, 0), 0);  // the lowest set one
  a.Reset();
  b.Reset();
  // Woken by a set from another thread, with no time-out.
  std::thread setter([&] {
    lv::SleepMs(20);
    a.Set();
  });
  EXPECT_EQ(lv::WaitForAny(events, 2), 0);
  setter.join();
}

TEST(WaitForAny, ManyRoundsAgainstASetterLoseNoWakeUp) {
  lv::PlatformEvent work;
  lv::PlatformEvent other;
  const lv::PlatformEvent* events[] = {&other, &work};
  lv::PlatformEvent taken;
  constexpr int kRounds = 2000;
  std::thread setter([&] {
    for (int i = 0; i < kRounds; ++i) {
      work.Set();
      taken.Wait();
      taken.Reset();
    }
  });
  for (int i = 0; i < kRounds; ++i) {
    ASSERT_EQ(lv::WaitForAny(events, 2, 5000), 1) << "round " << i;
    work.Reset();
    taken.Set();
  }
  setter.join();
}

TEST(ThisThreadEventWait, InstalledWaitIsUsedOnItsThreadOnly) {
  lv::PlatformEvent event(true);
  int calls = 0;
  lv::ThreadEventWait previous = lv::SetThisThreadEventWait([&calls](const lv::PlatformEvent& e, uint32_t ms) {
    ++calls;
    return e.Wait(ms);
  });
  EXPECT_FALSE(previous);
  EXPECT_EQ(lv::WaitOnThisThread(event, 0), lv::WaitResult::Signalled);
  std::thread other([&] { EXPECT_EQ(lv::WaitOnThisThread(event, 0), lv::WaitResult::Signalled); });
  other.join();
  EXPECT_EQ(calls, 1);
  lv::SetThisThreadEventWait(nullptr);
  EXPECT_EQ(lv::WaitOnThisThread(event, 0), lv::WaitResult::Signalled);
  EXPECT_EQ(calls, 1);
}

#include "platform/window_messages.h"

TEST(WindowMessageQueue, CoalescesMovesSizesAndPaintsPerWindowInPlace) {
  using K = lv::WindowMessageKind;
  lv::WindowMessageQueue queue;
  EXPECT_FALSE(queue.MessagesPresentEvent().IsSet());
  struct Step {
    uint32_t window;
    K kind;
    int32_t a;
  };
  const Step posts[] = {
      {1, K::kMouseMove, 1}, {1, K::kCommand, 7}, {1, K::kMouseMove, 2}, {2, K::kMouseMove, 3},
      {1, K::kSize, 10},     {1, K::kPaint, 0},   {1, K::kSize, 11},     {1, K::kCommand, 8},
      {1, K::kPaint, 0},     {1, K::kMouseDown, 1}, {1, K::kMouseDown, 1},
  };
  for (const Step& p : posts) {
    queue.Post(lv::WindowMessage{p.window, p.kind, p.a});
  }
  const Step expected[] = {
      {1, K::kMouseMove, 2}, {1, K::kCommand, 7}, {2, K::kMouseMove, 3}, {1, K::kSize, 11},
      {1, K::kPaint, 0},     {1, K::kCommand, 8}, {1, K::kMouseDown, 1}, {1, K::kMouseDown, 1},
  };
  EXPECT_TRUE(queue.MessagesPresentEvent().IsSet());
  for (const Step& e : expected) {
    lv::WindowMessage m;
    ASSERT_TRUE(queue.Take(m));
    EXPECT_EQ(m.window, e.window);
    EXPECT_EQ(m.kind, e.kind);
    EXPECT_EQ(m.a, e.a);
  }
  lv::WindowMessage m;
  EXPECT_FALSE(queue.Take(m));
  EXPECT_FALSE(queue.MessagesPresentEvent().IsSet());
}

TEST(WindowMessageQueue, DispatchReachesTheHandlerOfItsWindowOnTheOwningThread) {
  std::vector<int32_t> seen;
  const uint32_t window = lv::NewWindowId();
  lv::SetWindowMessageHandler(window, [&](const lv::WindowMessage& m) { seen.push_back(m.a); });
  auto queue = lv::ThisThreadWindowQueue();
  std::thread poster([&] {
    for (int32_t i = 0; i < 3; ++i) {
      queue->Post(lv::WindowMessage{window, lv::WindowMessageKind::kCommand, i});
    }
    queue->Post(lv::WindowMessage{window + 1000, lv::WindowMessageKind::kCommand, 99});  // nobody's
  });
  poster.join();
  lv::PlatformEvent neverSet;
  lv::WaitForQueueOrWindowMessages(neverSet);  // returns: window messages are there
  EXPECT_EQ(lv::DispatchWindowMessages(), 4);
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2}));
  lv::SetWindowMessageHandler(window, nullptr);
}
