// CWThreadQueue: the message queue every worker thread owns.
//
// A ring of 30 messages that any thread may fill and only the owning thread
// empties. A manual-reset event is set exactly while messages are held, so the
// owner can block on it instead of polling.
//
// Full queue: a producer on another thread waits on a "space" event until the
// owner takes a message (it never spins); the wait goes through the
// producer's CWWaitForEvent, so a thread that must keep serving can. A post by the owner to itself never
// blocks: when the ring is full the message goes to an overflow list behind the
// ring and keeps its place in the order. PutMessageIfAbsent coalesces messages
// that must be pending at most once (start, stop, continue).
//
// Closing: when the owning thread ends (or could not start) the queue is
// closed; later puts return false at once and producers waiting for space are
// released. Messages still held are handed back to the closer to be answered.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <thread>
#include <vector>

#include "platform/sync.h"

// One queue entry; a default entry is all zero.
struct CWThreadMessage {
  int32_t id = 0;
  // A CWGetSetData for ids 2, 3 and 4; the settings store for ids 5 and 6;
  // whatever a thread's own ids define; otherwise null.
  void* parameter = nullptr;
  // A word of the poster's own (thread-specific ids); 0 otherwise.
  uint64_t word = 0;
};

class CWThreadQueue {
 public:
  static constexpr int32_t kCapacity = 30;

  CWThreadQueue();
  ~CWThreadQueue();
  CWThreadQueue(const CWThreadQueue&) = delete;
  CWThreadQueue& operator=(const CWThreadQueue&) = delete;

  // Makes the queue ready and open: capacity 30, empty (messages held by an
  // earlier Initialize are dropped), no owner thread. Throws CQError*.
  void Initialize();

  // Appends a message. Returns true when it was queued, false when the queue is
  // closed (the owner has ended; the message was not queued and the caller
  // keeps whatever the parameter points to). Before Initialize it throws
  // "Coding error: Initialize() must be called first.". A producer other than
  // the owner waits while the queue is full; the owner never waits.
  bool PutMessage(int32_t id, void* parameter = nullptr, uint64_t word = 0);

  // Like PutMessage, but when a message with this id is already held nothing
  // is added and false is returned (the pending one stands for both).
  // alreadyPending (optional) tells the two false results apart.
  bool PutMessageIfAbsent(int32_t id, void* parameter = nullptr, uint64_t word = 0,
                          bool* alreadyPending = nullptr);

  // Owner only: takes the oldest message into out. False when none is held.
  // Throws "Null pointer to input parameter." for a null out.
  bool RetrieveMessage(CWThreadMessage* out);

  // Owner only: true when a message with this id is held; with remove, the
  // oldest such message is taken out and the others keep their order.
  bool IsMessageInQueue(int32_t id, bool remove);

  // Set exactly while messages are held. The owner waits on it.
  const lv::PlatformEvent& MessagesPresentEvent() const { return messagesPresent_; }

  // Number of messages held (ring and overflow).
  int32_t GetCount() const;
  int32_t GetCapacity() const;
  bool IsClosed() const;

  // Names the owning thread (whose posts never block). Called by the owner
  // when it starts; CWUIThread does this.
  void SetOwnerThread(std::thread::id owner);
  bool IsOwnerThread() const;

  // Closes the queue and returns the messages still held, oldest first, so the
  // closer can answer or free what they carry. Producers waiting for space are
  // released (their puts return false).
  std::vector<CWThreadMessage> Close();

 private:
  bool Put(int32_t id, void* parameter, uint64_t word, bool onlyIfAbsent, bool* alreadyPending,
           const char* name);
  bool HeldLocked(int32_t id) const;
  void StoreLocked(const CWThreadMessage& msg);
  void RefillFromOverflowLocked();
  void UpdateEventsLocked();

  mutable lv::CriticalSection lock_;
  int32_t read_ = 0;
  int32_t write_ = 0;
  int32_t capacity_ = 0;
  int32_t count_ = 0;  // messages in the ring
  bool closed_ = false;
  std::thread::id owner_;
  std::unique_ptr<CWThreadMessage[]> entries_;
  // Owner's own posts that found the ring full, in order behind the ring.
  // Non-empty only while the ring is full.
  std::deque<CWThreadMessage> overflow_;
  lv::PlatformEvent messagesPresent_;
  // Set while a producer other than the owner may put (ring not full, or closed).
  lv::PlatformEvent spaceAvailable_{true};
};
