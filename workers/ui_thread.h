// CWUIThread: the base of every worker thread.
//
// A worker is a thread of the platform layer with a CWThreadQueue. Its loop
// calls OnIdle, which takes at most one message and dispatches it by id; when
// the queue is empty the thread blocks in WaitForWork (on the queue's event and
// its window-message queue's event) instead of polling. Window messages of the
// windows the thread owns are served before queue messages. Other threads reach a worker only through its queue:
// bare messages (PutMessage) or requests made by the SetParam, SetParamNoWait
// and GetParam operations of the target thread object.
//
// Writing a worker:
//   class CWMyThread : public CWUIThread {
//    public:
//     CWMyThread() : CWUIThread("CWMyThread") {}
//     ~CWMyThread() override { StopAndJoin(); }    // before members go away
//    protected:
//     void OnMessage(const CWThreadMessage& m) override;   // own ids, else base
//     void OnMsgGetParam(CWGetSetData& r) override;         // fill r.SetX(...)
//     void OnMsgSetParam(CWGetSetData& r) override;         // read r.GetX()
//     void OnMsgSaveSettings(CQAppSettings& s) override;
//     void OnMsgRecallSettings(CQAppSettings& s) override;
//   };
// Handlers throw CQError* on failure. The base answers every request exactly
// once: a handler's error gets "<Class>::OnMsgGetParam" (or OnMsgSetParam)
// appended and travels to the requester, who throws a copy with
// "CWUIThread::GetParam" (or SetParam) appended. An error escaping any other
// handler gets "<Class>::OnIdle" appended and goes to ShowErrorDialog on the
// worker's own thread; the worker then goes on.
//
// A worker never waits on the user-interface thread: its window messages
// (ready 1026, saved 1028, recalled 1030; sender = the thread object) are
// posted with PostToUi. No thread sends a blocking request to itself; doing so
// fails at once. A request to a worker that is not running (never started,
// start failed, or ended) fails at once with "The worker thread is not
// running."; requests still queued when a worker ends are answered with that
// error.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "workers/get_set_data.h"
#include "workers/thread_queue.h"
#include "platform/thread.h"

class CQAppSettings;
class CQError;

// Window messages a worker posts to the main window (sender = the worker).
inline constexpr uint32_t kWmWorkerReady = 1026;     // WM_USER+2: running, queue ready
inline constexpr uint32_t kWmWorkerSaved = 1028;     // WM_USER+4: save message 5 handled (lParam 1: failed)
inline constexpr uint32_t kWmWorkerRecalled = 1030;  // WM_USER+6: recall message 6 handled

class CWUIThread : public CWThreadQueue {
 public:
  // className names the worker in call stacks ("CWSorvekEngineThread");
  // threadName (optional, at most 15 characters kept) names it in debuggers.
  explicit CWUIThread(const char* className = "CWUIThread", const char* threadName = nullptr);
  // Stops and joins a thread still running. Derived workers call StopAndJoin()
  // in their own destructor, while their members still exist.
  virtual ~CWUIThread();

  // Initialises the queue and starts the thread. False when the queue cannot
  // be initialised or the thread cannot start (the error is not shown); the
  // queue is then closed, so requests fail at once. False also while the
  // thread runs; a thread that has ended may be started again.
  bool StartUIThread();

  // True from StartUIThread until the thread's body has ended.
  bool IsRunning() const { return thread_.IsRunning(); }
  // Waits up to timeoutMs for the thread to end. True when it has ended (or
  // never started).
  bool Join(uint32_t timeoutMs = lv::kWaitForever);
  // Queues message 1 (quit) and joins. True when the thread has ended. On the
  // worker's own thread it only ends the loop after the current message.
  bool StopAndJoin(uint32_t timeoutMs = lv::kWaitForever);

  const std::string& ClassName() const { return className_; }

  // Blocking set requests (message 3): the target takes the value while the
  // caller waits. Pointers and strings stay the caller's; the target copies
  // what it keeps. Throws a copy of the target's error.
  void SetParam(bool value, int32_t id, int32_t index = 0);
  void SetParam(int32_t value, int32_t id, int32_t index = 0);
  void SetParam(float value, int32_t id, int32_t index = 0);
  void SetParam(double value, int32_t id, int32_t index = 0);
  void SetParam(const wchar_t* value, int32_t id, int32_t index = 0);
  void SetParam(void* value, int32_t id, int32_t index = 0);
  void SetParam(const CWRect& value, int32_t id, int32_t index = 0);
  void SetParam(CQCArrayTD* value, int32_t id, int32_t index = 0);
  void SetParam(CQFileInfo* value, int32_t id, int32_t index = 0);
  void SetParam(CQFileDataBlock* value, int32_t id, int32_t index = 0);

  // Set without wait (message 4): returns once queued; the target frees the
  // request. A failure in the target is shown by the target's OnIdle.
  void SetParamNoWait(const CWRect& value, int32_t id);
  void SetParamNoWait(bool value, int32_t id, int32_t index = 0);
  void SetParamNoWait(int32_t value, int32_t id, int32_t index = 0);
  void SetParamNoWait(double value, int32_t id, int32_t index = 0);

  // Blocking get requests (message 2). The answer's type is checked
  // ("Returned data type was not ..., which was expected."); out is written
  // only on success. Strings come back as copies.
  void GetParam(bool* out, int32_t id, int32_t index = 0);
  void GetParam(int32_t* out, int32_t id, int32_t index = 0);
  void GetParam(float* out, int32_t id, int32_t index = 0);
  void GetParam(double* out, int32_t id, int32_t index = 0);
  void GetParam(std::wstring* out, int32_t id, int32_t index = 0);
  void GetParam(void** out, int32_t id, int32_t index = 0);
  void GetParam(CWRect* out, int32_t id, int32_t index = 0);
  void GetParam(CQCArrayTD** out, int32_t id, int32_t index = 0);
  void GetParam(CQFileInfo** out, int32_t id, int32_t index = 0);
  void GetParam(CQFileDataBlock** out, int32_t id, int32_t index = 0);

 protected:
  // Runs first on the new thread. Returning false (or throwing, which shows
  // the error) ends the thread.
  virtual bool InitInstance();
  // Runs last on the thread, after its loop.
  virtual void ExitInstance();

  // One idle call: posts kWmWorkerReady on the first call, takes at most one
  // message and dispatches it with OnMessage; an escaping CQError gets
  // "<Class>::OnIdle" appended and is shown. Returns true when a message was
  // handled (the loop calls again at once), false when the queue was empty.
  virtual bool OnIdle(long count);

  // Blocks until there may be work: by default until the queue holds a
  // message or a window message of the thread's own windows arrives. A worker with other sources of work overrides it; it must return
  // at once while the queue holds messages.
  virtual void WaitForWork();

  // Dispatches one message. The base handles ids 1 to 6 and raises
  // "Unhandled message in thread queue." for any other; a worker handles its
  // own ids and passes the rest to the base.
  virtual void OnMessage(const CWThreadMessage& msg);

  // Handlers of ids 2 to 6, as a worker overrides them. Each id has two
  // functions of one name: OnMessage calls the one taking the message's
  // parameter, which checks it, calls the worker's handler with the request
  // or the settings store and answers the requester or posts the reply.
  //
  // Requests (ids 2, 3, 4); the default raises "Unknown parameter type.". A
  // get handler writes the answer with the record's setters.
  virtual void OnMsgGetParam(CWGetSetData& request);
  virtual void OnMsgSetParam(CWGetSetData& request);
  // Set without wait: by default the same as OnMsgSetParam.
  virtual void OnMsgSetParamNoWait(CWGetSetData& request);
  // Settings (ids 5, 6): the hosted object writes or reads its keys; the
  // defaults do nothing.
  virtual void OnMsgSaveSettings(CQAppSettings& settings);
  virtual void OnMsgRecallSettings(CQAppSettings& settings);

  // The common part of those handlers, as OnMessage calls them.
  void OnMsgGetParam(void* parameter);
  void OnMsgSetParam(void* parameter);
  void OnMsgSetParamNoWait(void* parameter);
  void OnMsgSaveSettings(void* parameter);
  void OnMsgRecallSettings(void* parameter);

  // Work to run once the requester has been released. A get, set or
  // no-wait handler that has taken what it needs from the request (a copy of
  // the requester's data) leaves here what may take long (computing and
  // drawing from that copy): the base answers the request first, so the
  // requester goes on, and then runs the work on this thread. The request and
  // everything it points to must not be touched by the work. A handler that
  // fails drops its work. An error escaping the work gets the handler's name
  // ("<Class>::OnMsgSetParam" ...) appended and is shown by OnIdle. Outside a
  // request handler the work runs at once. Owner thread only.
  void RunAfterAnswer(std::function<void()> work);

  // Ends the loop after the current message (message 1 calls it). Owner only.
  void RequestQuit() { quit_ = true; }

  // "<Class>::<method>" for call stacks.
  std::string NameOf(const char* method) const;

 private:
  void Run();
  void FailHeldMessages();
  // Runs (and clears) the work left by RunAfterAnswer; errors get the
  // handler's name appended and are thrown on.
  void RunAnswerWork(const char* handler);
  // Runs a get or set handler; on failure drops its work, stores the error
  // in the request (releasing the requester) and returns false.
  template <typename Handler>
  bool HandleRequest(Handler handler, CWGetSetData* request, const char* name);
  template <typename Fill, typename Read>
  void Request(int32_t message, const char* name, int32_t id, int32_t index, Fill fill, Read read);
  template <typename Fill>
  void RequestNoWait(int32_t id, int32_t index, Fill fill);

  std::string className_;
  std::string threadName_;
  lv::WorkerThread thread_;
  bool readyPosted_ = false;  // owner thread only
  bool quit_ = false;         // owner thread only
  bool inRequestHandler_ = false;      // owner thread only
  std::function<void()> afterAnswer_;  // owner thread only
};
