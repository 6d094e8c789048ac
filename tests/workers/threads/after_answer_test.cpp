// Work left by a request handler with RunAfterAnswer runs on the target's
// thread only after the requester has been released: the requester returns
// while the work is still waiting to start. A failing handler drops its work;
// an error of the work is shown with the handler's name; a request without
// wait runs its work after the record is freed; outside a handler the work
// runs at once.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/error.h"
#include "platform/sync.h"
#include "support/errors.h"
#include "workers/ui_thread.h"

namespace {

constexpr int32_t kIdHandOff = 10;      // set: leaves work that waits for the requester's return
constexpr int32_t kIdFailAfter = 11;    // set: leaves work, then fails
constexpr int32_t kIdWorkFails = 12;    // set/no-wait: leaves work that raises an error
constexpr int32_t kIdTwoPieces = 13;    // get: leaves two pieces of work, answers an int
constexpr int32_t kMsgOutside = 100;    // RunAfterAnswer outside any handler

class CWHandOffTarget : public CWUIThread {
 public:
  CWHandOffTarget() : CWUIThread("CWHandOffTarget", "handoff") {}
  ~CWHandOffTarget() override { StopAndJoin(); }

  // Set by the test once its SetParam has returned.
  lv::PlatformEvent requesterReturned;
  // Set by the work when it starts and when it ends.
  lv::PlatformEvent workStarted;
  lv::PlatformEvent workDone;
  // Whether the requester had returned when the work began.
  std::atomic<bool> releasedBeforeWork{false};
  std::atomic<int> workRuns{0};
  std::atomic<int> requestsAliveInWork{-1};
  std::vector<std::string> order;  // target thread only (read after joining or after workDone)

 protected:
  void OnMessage(const CWThreadMessage& msg) override {
    if (msg.id == kMsgOutside) {
      RunAfterAnswer([this] {
        order.push_back("outside work");
        ++workRuns;
      });
      order.push_back("after outside call");
      workDone.Set();
      return;
    }
    CWUIThread::OnMessage(msg);
  }

  void OnMsgSetParam(CWGetSetData& r) override {
    switch (r.paramId) {
      case kIdHandOff: {
        order.push_back("handler took " + std::to_string(r.GetInt()));
        RunAfterAnswer([this] {
          workStarted.Set();
          // Waits (bounded) for the requester: if the answer came only after
          // the work, this wait would run out and the flag stay false.
          releasedBeforeWork = requesterReturned.Wait(10000) == lv::WaitResult::Signalled;
          order.push_back("work");
          ++workRuns;
          workDone.Set();
        });
        return;
      }
      case kIdFailAfter:
        RunAfterAnswer([this] { ++workRuns; });
        throw new CQError("Refused.");
      case kIdWorkFails:
        RunAfterAnswer([] { throw new CQError("Work failed.", "CWHandOffTarget::Work"); });
        return;
      default:
        CWUIThread::OnMsgSetParam(r);
    }
  }

  void OnMsgSetParamNoWait(CWGetSetData& r) override {
    if (r.paramId == kIdWorkFails) {
      RunAfterAnswer([] { throw new CQError("Work failed.", "CWHandOffTarget::Work"); });
      return;
    }
    RunAfterAnswer([this] {
      ++workRuns;
      workDone.Set();
    });
  }

  void OnMsgGetParam(CWGetSetData& r) override {
    if (r.paramId == kIdTwoPieces) {
      RunAfterAnswer([this] { order.push_back("first"); });
      RunAfterAnswer([this] {
        order.push_back("second");
        workDone.Set();
      });
      r.SetInt(42);
      return;
    }
    CWUIThread::OnMsgGetParam(r);
  }
};

TEST(CWUIThreadAfterAnswer, RequesterIsReleasedBeforeTheWorkStarts) {
  lv_test::ShownErrors errors;
  CWHandOffTarget target;
  ASSERT_TRUE(target.StartUIThread());
  target.SetParam(int32_t{7}, kIdHandOff);
  // The set returned; the work may or may not have started yet, but it
  // cannot have finished: it waits for this event.
  EXPECT_FALSE(target.workDone.IsSet());
  target.requesterReturned.Set();
  ASSERT_EQ(target.workDone.Wait(10000), lv::WaitResult::Signalled);
  EXPECT_TRUE(target.releasedBeforeWork);
  ASSERT_TRUE(target.StopAndJoin(10000));
  EXPECT_EQ(target.order, (std::vector<std::string>{"handler took 7", "work"}));
  EXPECT_TRUE(errors.Entries().empty());
}

TEST(CWUIThreadAfterAnswer, AFailingHandlerDropsItsWork) {
  lv_test::ShownErrors errors;
  CWHandOffTarget target;
  ASSERT_TRUE(target.StartUIThread());
  EXPECT_TRUE(lv_test::ThrowsError([&] { target.SetParam(int32_t{1}, kIdFailAfter); }, "Refused.",
                                   "CWHandOffTarget::OnMsgSetParam\nCWUIThread::SetParam\n"));
  // A later request's work must not inherit the dropped one.
  target.requesterReturned.Set();
  target.SetParam(int32_t{2}, kIdHandOff);
  ASSERT_EQ(target.workDone.Wait(10000), lv::WaitResult::Signalled);
  ASSERT_TRUE(target.StopAndJoin(10000));
  EXPECT_EQ(target.workRuns, 1);
  EXPECT_TRUE(errors.Entries().empty());
}

TEST(CWUIThreadAfterAnswer, AnErrorOfTheWorkIsShownOnTheTargetAfterTheAnswer) {
  lv_test::ShownErrors errors;
  CWHandOffTarget target;
  ASSERT_TRUE(target.StartUIThread());
  // The requester sees success: its answer went out before the work ran.
  target.SetParam(int32_t{1}, kIdWorkFails);
  ASSERT_TRUE(errors.WaitFor(1));
  target.SetParamNoWait(int32_t{1}, kIdWorkFails);
  ASSERT_TRUE(errors.WaitFor(2));
  ASSERT_TRUE(target.StopAndJoin(10000));
  const auto shown = errors.Entries();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].message, "Work failed.");
  EXPECT_EQ(shown[0].callStack, "CWHandOffTarget::Work\nCWHandOffTarget::OnMsgSetParam\nCWHandOffTarget::OnIdle\n");
  EXPECT_EQ(shown[1].callStack,
            "CWHandOffTarget::Work\nCWHandOffTarget::OnMsgSetParamNoWait\nCWHandOffTarget::OnIdle\n");
}

TEST(CWUIThreadAfterAnswer, GetAndNoWaitRunTheirWorkInOrderAfterTheAnswer) {
  lv_test::ShownErrors errors;
  CWHandOffTarget target;
  ASSERT_TRUE(target.StartUIThread());
  int32_t answer = 0;
  target.GetParam(&answer, kIdTwoPieces);
  EXPECT_EQ(answer, 42);
  ASSERT_EQ(target.workDone.Wait(10000), lv::WaitResult::Signalled);
  target.workDone.Reset();
  target.SetParamNoWait(int32_t{3}, 1);
  ASSERT_EQ(target.workDone.Wait(10000), lv::WaitResult::Signalled);
  target.workDone.Reset();
  ASSERT_TRUE(target.PutMessage(kMsgOutside));
  ASSERT_EQ(target.workDone.Wait(10000), lv::WaitResult::Signalled);
  ASSERT_TRUE(target.StopAndJoin(10000));
  EXPECT_EQ(target.order, (std::vector<std::string>{"first", "second", "outside work", "after outside call"}));
  EXPECT_EQ(target.workRuns, 2);
  EXPECT_TRUE(errors.Entries().empty());
}

}  // namespace
