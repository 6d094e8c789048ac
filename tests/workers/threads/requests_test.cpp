#include <pthread.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "workers/settings_file.h"
#include "workers/thread_wait.h"
#include "workers/ui_thread.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/ui_post.h"
#include "support/errors.h"

namespace {

using lv_test::ShownErrors;

// Parameter ids of the target: a value type answers and takes that type.
constexpr int32_t kIdWrongType = 90;     // get: answers an int whatever was asked
constexpr int32_t kIdInnerError = 91;    // get/set: raises an error from an inner function
constexpr int32_t kMsgBlock = 101;       // waits until the test releases it
constexpr int32_t kMsgRun = 102;         // runs the std::function<void()> in the parameter
constexpr int32_t kMsgFailSave = 103;

// Holds one value of every type and answers gets and sets of them.
class CWTestTarget : public CWUIThread {
 public:
  CWTestTarget() : CWUIThread("CWTestTarget", "test-target") {}
  ~CWTestTarget() override { StopAndJoin(); }

  lv::PlatformEvent blocked;
  lv::PlatformEvent release;
  std::atomic<const CQError*> raised{nullptr};
  std::atomic<int> quitSeen{0};
  clockid_t cpuClock{};
  lv::PlatformEvent started;

  // Values (touched only on the target's thread, or while it is stopped).
  bool b = false;
  int32_t i = 0;
  float f = 0;
  double d = 0;
  std::wstring s;
  void* p = nullptr;
  CWRect r;
  CQCArrayTD* a = nullptr;
  CQFileInfo* fi = nullptr;
  CQFileDataBlock* db = nullptr;

 protected:
  bool InitInstance() override {
    pthread_getcpuclockid(pthread_self(), &cpuClock);
    started.Set();
    return true;
  }

  void OnMessage(const CWThreadMessage& msg) override {
    if (msg.id == kMsgBlock) {
      blocked.Set();
      release.Wait();
      return;
    }
    if (msg.id == kMsgRun) {
      std::unique_ptr<std::function<void()>> fn(static_cast<std::function<void()>*>(msg.parameter));
      (*fn)();
      return;
    }
    if (msg.id == kMsgQuit) {
      ++quitSeen;
    }
    CWUIThread::OnMessage(msg);
  }

  static void Inner() {
    throw new CQError("Inner failure.", "CWTestTarget::Inner");
  }

  void OnMsgGetParam(CWGetSetData& q) override {
    switch (q.paramId) {
      case kValueBool: q.SetBool(b); return;
      case kValueInt: q.SetInt(i); return;
      case kValueFloat: q.SetFloat(f); return;
      case kValueDouble: q.SetDouble(d); return;
      case kValueString: q.SetStringCopy(s.c_str()); return;
      case kValuePointer: q.SetPointer(p); return;
      case kValueRect: q.SetRect(r); return;
      case kValueArrayTD: q.SetArrayTD(a); return;
      case kValueFileInfo: q.SetFileInfo(fi); return;
      case kValueFileDataBlock: q.SetFileDataBlock(db); return;
      case kIdWrongType: q.SetInt(7); return;
      case 800: case 801: case 802: case 803: q.SetInt(q.index * 1000 + q.paramId); return;
      case kIdInnerError:
        try {
          Inner();
        } catch (CQError* e) {
          raised = e;
          throw;
        }
        return;
      default:
        CWUIThread::OnMsgGetParam(q);
    }
  }

  void OnMsgSetParam(CWGetSetData& q) override {
    switch (q.paramId) {
      case kValueBool: b = q.GetBool(); return;
      case kValueInt: i = q.GetInt(); return;
      case kValueFloat: f = q.GetFloat(); return;
      case kValueDouble: d = q.GetDouble(); return;
      case kValueString: s = q.GetString(); return;
      case kValuePointer: p = q.GetPointer(); return;
      case kValueRect: r = q.GetRect(); return;
      case kValueArrayTD: a = q.GetArrayTD(); return;
      case kValueFileInfo: fi = q.GetFileInfo(); return;
      case kValueFileDataBlock: db = q.GetFileDataBlock(); return;
      case kIdInnerError: Inner(); return;
      default:
        CWUIThread::OnMsgSetParam(q);
    }
  }

  void OnMsgSaveSettings(CQAppSettings&) override {
    throw new CQError("Save failed.", "CWTestTarget::SaveKeys");
  }
};

// A worker that runs test code on its own thread (so requests go worker to worker).
class CWTestAsker : public CWUIThread {
 public:
  CWTestAsker() : CWUIThread("CWTestAsker", "test-asker") {}
  ~CWTestAsker() override { StopAndJoin(); }

 protected:
  void OnMessage(const CWThreadMessage& msg) override {
    if (msg.id == kMsgRun) {
      std::unique_ptr<std::function<void()>> fn(static_cast<std::function<void()>*>(msg.parameter));
      (*fn)();
      return;
    }
    CWUIThread::OnMessage(msg);
  }
};

// Runs body on the worker's thread and waits until it has run (an error
// escaping body goes to the worker's OnIdle and the error presenter).
// The message owns the closure; the worker deletes it after running it, so
// the event it holds outlives the worker's Set.
void RunOn(CWUIThread& worker, std::function<void()> body) {
  auto done = std::make_shared<lv::PlatformEvent>();
  auto* wrapped = new std::function<void()>([&body, done] {
    struct SetOnExit {
      lv::PlatformEvent& e;
      ~SetOnExit() { e.Set(); }
    } guard{*done};
    body();
  });
  ASSERT_TRUE(worker.PutMessage(kMsgRun, wrapped));
  ASSERT_EQ(done->Wait(10000), lv::WaitResult::Signalled);
}

struct Fixture : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(target.StartUIThread());
    ASSERT_TRUE(asker.StartUIThread());
  }
  ShownErrors errors;
  CWTestTarget target;
  CWTestAsker asker;
};

using CWUIThreadRequests = Fixture;

TEST_F(CWUIThreadRequests, SetThenGetEveryValueTypeBetweenTwoWorkers) {
  int dummyA = 0, dummyF = 0, dummyD = 0, dummyP = 0;
  auto* arr = reinterpret_cast<CQCArrayTD*>(&dummyA);
  auto* info = reinterpret_cast<CQFileInfo*>(&dummyF);
  auto* block = reinterpret_cast<CQFileDataBlock*>(&dummyD);
  const CWRect rect{100, 10, 800, 610};
  RunOn(asker, [&] {
    const lv_test::CaughtError e = lv_test::Catch([&] {
      std::wstring text = L"Gr\u00fc\u00dfe \u4e2d";
      target.SetParam(true, kValueBool);
      target.SetParam(int32_t{-123456}, kValueInt);
      target.SetParam(0.1f, kValueFloat);
      target.SetParam(2.412345678e9, kValueDouble);
      target.SetParam(text.c_str(), kValueString);
      target.SetParam(static_cast<void*>(&dummyP), kValuePointer);
      target.SetParam(rect, kValueRect);
      target.SetParam(arr, kValueArrayTD);
      target.SetParam(info, kValueFileInfo);
      target.SetParam(block, kValueFileDataBlock);
      text.assign(L"changed");  // the target kept its own copy

      bool b = false;
      int32_t i = 0;
      float f = 0;
      double d = 0;
      std::wstring s;
      void* p = nullptr;
      CWRect r;
      CQCArrayTD* a = nullptr;
      CQFileInfo* fi = nullptr;
      CQFileDataBlock* db = nullptr;
      target.GetParam(&b, kValueBool);
      target.GetParam(&i, kValueInt);
      target.GetParam(&f, kValueFloat);
      target.GetParam(&d, kValueDouble);
      target.GetParam(&s, kValueString);
      target.GetParam(&p, kValuePointer);
      target.GetParam(&r, kValueRect);
      target.GetParam(&a, kValueArrayTD);
      target.GetParam(&fi, kValueFileInfo);
      target.GetParam(&db, kValueFileDataBlock);
      EXPECT_TRUE(b);
      EXPECT_EQ(i, -123456);
      EXPECT_EQ(f, 0.1f);
      EXPECT_EQ(d, 2.412345678e9);
      EXPECT_EQ(s, L"Gr\u00fc\u00dfe \u4e2d");
      EXPECT_EQ(p, &dummyP);
      EXPECT_EQ(r, rect);
      EXPECT_EQ(a, arr);
      EXPECT_EQ(fi, info);
      EXPECT_EQ(db, block);
    });
    EXPECT_FALSE(e.thrown) << "request failed: " << e.message << "\n" << e.callStack;
  });
  EXPECT_TRUE(errors.Entries().empty());
}

TEST_F(CWUIThreadRequests, AnswersOfAnotherTypeAreRefusedWithTheirMessage) {
  const struct {
    std::function<void()> get;
    const char* message;
  } table[] = {
      {[&] { bool v; target.GetParam(&v, kIdWrongType); }, "Returned data type was not boolean, which was expected."},
      {[&] { float v; target.GetParam(&v, kIdWrongType); }, "Returned data type was not float, which was expected."},
      {[&] { double v; target.GetParam(&v, kIdWrongType); }, "Returned data type was not double, which was expected."},
      {[&] { std::wstring v; target.GetParam(&v, kIdWrongType); },
       "Returned data type was not wide character, which was expected."},
      {[&] { void* v; target.GetParam(&v, kIdWrongType); }, "Returned data type was not void*, which was expected."},
      {[&] { CWRect v; target.GetParam(&v, kIdWrongType); },
       "Returned data type was not rectangle, which was expected."},
      {[&] { CQFileInfo* v; target.GetParam(&v, kIdWrongType); },
       "Returned data type was not the expected type of pointer."},
      {[&] { int32_t v; target.GetParam(&v, kValueBool); }, "Returned data type was not integer, which was expected."},
  };
  for (const auto& row : table) {
    EXPECT_TRUE(lv_test::ThrowsError(row.get, row.message, "CWUIThread::GetParam\n"));
  }
  // A set of the wrong type is refused by the target's typed reader.
  EXPECT_TRUE(lv_test::ThrowsError([&] { target.SetParam(1.5, kValueFloat); }, "Wrong data type in set request.",
                                   "CWGetSetData::GetFloat\nCWTestTarget::OnMsgSetParam\nCWUIThread::SetParam\n"));
}

TEST_F(CWUIThreadRequests, TargetErrorArrivesAsACopyWithNamesInOrder) {
  const CQError* caught = nullptr;
  RunOn(asker, [&] {
    try {
      bool v;
      target.GetParam(&v, kIdInnerError);
    } catch (CQError* e) {
      caught = e;
      throw;  // on to the asker's OnIdle and the error dialog
    }
  });
  ASSERT_TRUE(errors.WaitFor(1));
  EXPECT_NE(caught, nullptr);
  EXPECT_NE(caught, target.raised.load()) << "the requester must get a copy";
  const auto shown = errors.Entries();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].message, "Inner failure.");
  EXPECT_EQ(shown[0].callStack,
            "CWTestTarget::Inner\nCWTestTarget::OnMsgGetParam\nCWUIThread::GetParam\nCWTestAsker::OnIdle\n");

  RunOn(asker, [&] { target.SetParam(true, kIdInnerError); });
  ASSERT_TRUE(errors.WaitFor(2));
  EXPECT_EQ(errors.Entries()[1].callStack,
            "CWTestTarget::Inner\nCWTestTarget::OnMsgSetParam\nCWUIThread::SetParam\nCWTestAsker::OnIdle\n");
  // Both workers go on.
  bool b = true;
  target.GetParam(&b, kValueBool);
  EXPECT_FALSE(b);
}

TEST_F(CWUIThreadRequests, UnknownParameterAndUnhandledMessage) {
  EXPECT_TRUE(lv_test::ThrowsError(
      [&] {
        double v;
        target.GetParam(&v, 4242);
      },
      "Unknown parameter type.", "CWTestTarget::OnMsgGetParam\nCWUIThread::GetParam\n"));
  target.PutMessage(555);
  target.PutMessage(kMsgGetParam, nullptr);
  ASSERT_TRUE(errors.WaitFor(2));
  const auto shown = errors.Entries();
  EXPECT_EQ(shown[0].message, "Unhandled message in thread queue.");
  EXPECT_EQ(shown[0].callStack, "CWTestTarget::OnIdle\n");
  EXPECT_EQ(shown[1].message, "Null pointer to GetSet object.");
  EXPECT_EQ(shown[1].callStack, "CWTestTarget::OnMsgGetParam\nCWTestTarget::OnIdle\n");
}

TEST_F(CWUIThreadRequests, SetWithoutWaitReturnsAtOnceAndTheTargetTakesIt) {
  target.PutMessage(kMsgBlock);
  ASSERT_EQ(target.blocked.Wait(10000), lv::WaitResult::Signalled);
  target.SetParamNoWait(CWRect{1, 2, 3, 4}, kValueRect);  // target busy: returns anyway
  target.SetParamNoWait(int32_t{77}, kValueInt, 0);
  target.SetParamNoWait(true, kIdInnerError, 0);  // fails in the target: shown there
  target.release.Set();
  CWRect r;
  int32_t i = 0;
  target.GetParam(&r, kValueRect);
  target.GetParam(&i, kValueInt);
  EXPECT_EQ(r, (CWRect{1, 2, 3, 4}));
  EXPECT_EQ(i, 77);
  ASSERT_TRUE(errors.WaitFor(1));
  EXPECT_EQ(errors.Entries()[0].callStack,
            "CWTestTarget::Inner\nCWTestTarget::OnMsgSetParamNoWait\nCWTestTarget::OnIdle\n");
}

TEST_F(CWUIThreadRequests, RequestToAStoppedWorkerFailsAtOnce) {
  ASSERT_TRUE(target.StopAndJoin(10000));
  EXPECT_FALSE(target.IsRunning());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(lv_test::ThrowsError(
      [&] {
        bool v;
        target.GetParam(&v, kValueBool);
      },
      "The worker thread is not running.", "CWUIThread::GetParam\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { target.SetParamNoWait(CWRect{}, kValueRect); },
                                   "The worker thread is not running.", "CWUIThread::SetParamNoWait\n"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_FALSE(target.PutMessage(kMsgQuit));

  CWTestTarget neverStarted;
  EXPECT_TRUE(
      lv_test::ThrowsError([&] { neverStarted.SetParam(1.0, kValueDouble); }, "The worker thread is not running."));
}

TEST_F(CWUIThreadRequests, RequestsQueuedBehindQuitAreAnsweredWithAnError) {
  target.PutMessage(kMsgBlock);
  ASSERT_EQ(target.blocked.Wait(10000), lv::WaitResult::Signalled);
  target.PutMessage(kMsgQuit);
  std::atomic<int> outcome{0};
  std::thread requester([&] {
    const lv_test::CaughtError e = lv_test::Catch([&] {
      double v;
      target.GetParam(&v, kValueDouble);
    });
    outcome = !e.thrown ? 1 : e.message == "The worker thread is not running." ? 2 : 3;
  });
  while (target.GetCount() < 2) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  target.release.Set();
  requester.join();
  EXPECT_EQ(outcome.load(), 2);
  EXPECT_EQ(target.quitSeen.load(), 1);
  EXPECT_TRUE(target.Join(10000));
}

TEST_F(CWUIThreadRequests, AThreadCannotWaitForItself) {
  RunOn(target, [&] {
    EXPECT_TRUE(lv_test::ThrowsError(
        [&] {
          bool v;
          target.GetParam(&v, kValueBool);
        },
        "A thread cannot wait for an answer from itself."));
    // Posts to itself never block, even beyond the ring.
    for (int k = 0; k < 40; ++k) {
      EXPECT_TRUE(target.PutMessage(700));
    }
    EXPECT_EQ(target.GetCount(), 40);
    while (target.IsMessageInQueue(700, true)) {
    }
  });
}

TEST_F(CWUIThreadRequests, AbandonedRequestIsFreedByTheTarget) {
  target.PutMessage(kMsgBlock);
  ASSERT_EQ(target.blocked.Wait(10000), lv::WaitResult::Signalled);
  auto* request = new CWGetSetData;
  request->paramId = kValueInt;
  request->SetInt(5);
  ASSERT_TRUE(target.PutMessage(kMsgSetParam, request));
  const lv_test::CaughtError error = lv_test::TakeError(request->WaitForDone(20));
  ASSERT_TRUE(error.thrown);
  EXPECT_EQ(error.message, "Get or Set operation timed out.");
  EXPECT_EQ(error.callStack, "CWGetSetData::WaitForDone\n");
  // From here the record is the target's: it frees it when it gets to it.
  target.release.Set();
  int32_t i = 0;
  target.GetParam(&i, kValueInt);
  EXPECT_EQ(i, 5);
}

TEST(CWUIThread, IdleWorkerBlocksAndAnnouncesItselfOnce) {
  lv::HeadlessUiLoop ui;
  lv::UiPostTarget* previous = lv::SetUiPostTarget(&ui);
  {
    CWTestTarget worker;
    ASSERT_TRUE(worker.StartUIThread());
    ASSERT_EQ(worker.started.Wait(10000), lv::WaitResult::Signalled);
    bool v;
    worker.GetParam(&v, kValueBool);
    timespec before{}, after{};
    clock_gettime(worker.cpuClock, &before);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    clock_gettime(worker.cpuClock, &after);
    const double idleMs = (after.tv_sec - before.tv_sec) * 1e3 + (after.tv_nsec - before.tv_nsec) / 1e6;
    EXPECT_LT(idleMs, 10.0) << "an idle worker must block, not poll";
    worker.GetParam(&v, kValueBool);
    ASSERT_TRUE(worker.StopAndJoin(10000));
    int ready = 0;
    ui.ProcessPending([&](const lv::UiMessage& m) {
      if (m.id == kWmWorkerReady && m.sender == &worker) {
        ++ready;
      }
    });
    EXPECT_EQ(ready, 1);
  }
  lv::SetUiPostTarget(previous);
}

TEST(CWUIThread, FailedSaveStillReplies) {
  ShownErrors errors;
  lv::HeadlessUiLoop ui;
  lv::UiPostTarget* previous = lv::SetUiPostTarget(&ui);
  {
    CWTestTarget worker;
    ASSERT_TRUE(worker.StartUIThread());
    CQAppSettings store;
    worker.PutMessage(kMsgSaveSettings, &store);
    worker.PutMessage(kMsgRecallSettings, &store);
    ASSERT_TRUE(errors.WaitFor(1));
    ASSERT_TRUE(worker.StopAndJoin(10000));
    std::vector<uint32_t> ids;
    ui.ProcessPending([&](const lv::UiMessage& m) { ids.push_back(m.id); });
    EXPECT_EQ(ids, (std::vector<uint32_t>{kWmWorkerReady, kWmWorkerSaved, kWmWorkerRecalled}));
    const auto shown = errors.Entries();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].callStack,
              "CWTestTarget::SaveKeys\nCWTestTarget::OnMsgSaveSettings\nCWTestTarget::OnIdle\n");
  }
  lv::SetUiPostTarget(previous);
}

}  // namespace

namespace {

// Several threads at once: every answer belongs to its own request.
TEST_F(CWUIThreadRequests, ConcurrentRequestersGetTheirOwnAnswers) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 300;
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int k = 0; k < kRounds; ++k) {
        try {
          // Each thread owns one parameter: the target echoes index * 1000 + id.
          int32_t v = -1;
          target.GetParam(&v, 800 + t, k);
          if (v != k * 1000 + 800 + t) {
            ++wrong;
          }
          if (k % 7 == 0) {
            bool b;
            target.GetParam(&b, kIdWrongType);
            ++wrong;  // must have thrown
          }
        } catch (CQError* e) {
          delete e;
        }
      }
    });
  }
  // Meanwhile the asker fills the target's queue beyond its ring from another worker.
  RunOn(asker, [&] {
    for (int k = 0; k < 200; ++k) {
      target.SetParamNoWait(int32_t{k}, kValueInt, 0);
    }
  });
  for (auto& th : threads) {
    th.join();
  }
  EXPECT_EQ(wrong.load(), 0);
  int32_t last = -1;
  target.GetParam(&last, kValueInt);
  EXPECT_EQ(last, 199) << "messages from one producer keep their order";
}

// Give-ups racing with answers: whichever side sees the other's mark frees the
// record, exactly once (the sanitizer builds check for leaks and double frees).
TEST_F(CWUIThreadRequests, GiveUpsRacingWithAnswersFreeEachRecordOnce) {
  int answered = 0, abandoned = 0;
  for (int k = 0; k < 300; ++k) {
    auto* request = new CWGetSetData;
    request->paramId = kValueInt;
    request->SetInt(k);
    ASSERT_TRUE(target.PutMessage(kMsgSetParam, request));
    if (CQError* error = request->WaitForDone(k % 3 == 0 ? 0 : 1)) {
      delete error;
      ++abandoned;  // the target frees the record
    } else {
      EXPECT_FALSE(request->IsAbandoned());
      EXPECT_EQ(request->GetError(), nullptr);
      delete request;
      ++answered;
    }
  }
  int32_t v = -1;
  target.GetParam(&v, kValueInt);
  EXPECT_EQ(v, 299);
  EXPECT_EQ(answered + abandoned, 300);
}

TEST(CWThreadWait, AThreadsOwnWaitServesItsRequests) {
  CWTestTarget target;
  ASSERT_TRUE(target.StartUIThread());
  int calls = 0;
  CWSetThreadEventWait([&](const lv::PlatformEvent& e, uint32_t timeoutMs) {
    ++calls;
    return e.Wait(timeoutMs);
  });
  bool b = true;
  target.GetParam(&b, kValueBool);
  CWSetThreadEventWait(nullptr);
  EXPECT_FALSE(b);
  EXPECT_EQ(calls, 1);
  target.GetParam(&b, kValueBool);
  EXPECT_EQ(calls, 1) << "the plain wait is back";
}

}  // namespace

namespace {

TEST(CWUIThread, RestartAfterStopAndNoSecondThread) {
  CWTestTarget worker;
  ASSERT_TRUE(worker.StartUIThread());
  EXPECT_FALSE(worker.StartUIThread()) << "already running";
  worker.SetParam(int32_t{4}, kValueInt);
  ASSERT_TRUE(worker.StopAndJoin(10000));
  ASSERT_TRUE(worker.StartUIThread());
  int32_t v = 0;
  worker.GetParam(&v, kValueInt);
  EXPECT_EQ(v, 4) << "the object keeps its state across threads";
  EXPECT_EQ(worker.quitSeen.load(), 1);
}

}  // namespace

namespace {

class CWFailingStart : public CWUIThread {
 public:
  CWFailingStart() : CWUIThread("CWFailingStart") {}
  ~CWFailingStart() override { StopAndJoin(); }

 protected:
  bool InitInstance() override { throw new CQError("Cannot build the hosted object.", "CWHosted::CWHosted"); }
};

TEST(CWUIThread, AFailedInitInstanceIsShownAndRequestsFailAtOnce) {
  ShownErrors errors;
  CWFailingStart worker;
  ASSERT_TRUE(worker.StartUIThread());
  ASSERT_TRUE(errors.WaitFor(1));
  ASSERT_TRUE(worker.Join(10000));
  EXPECT_EQ(errors.Entries()[0].callStack, "CWHosted::CWHosted\nCWFailingStart::InitInstance\n");
  EXPECT_TRUE(lv_test::ThrowsError(
      [&] {
        bool v;
        worker.GetParam(&v, 1);
      },
      "The worker thread is not running."));
}

}  // namespace
