#include "workers/thread_queue.h"

#include "workers/thread_wait.h"
#include "core/error.h"

CWThreadQueue::CWThreadQueue() = default;

CWThreadQueue::~CWThreadQueue() = default;

void CWThreadQueue::Initialize() {
  try {
    lv::CriticalSectionLock lock(lock_);
    entries_.reset();
    overflow_.clear();
    read_ = 0;
    write_ = 0;
    count_ = 0;
    closed_ = false;
    owner_ = std::thread::id();
    entries_.reset(new CWThreadMessage[kCapacity]());
    capacity_ = kCapacity;
    UpdateEventsLocked();
  } catch (CQError* e) {
    e->AddToCallStack("CWThreadQueue::Initialize");
    throw;
  }
}

void CWThreadQueue::UpdateEventsLocked() {
  if (count_ > 0) {
    messagesPresent_.Set();
  } else {
    messagesPresent_.Reset();
  }
  if (closed_ || count_ < capacity_) {
    spaceAvailable_.Set();
  } else {
    spaceAvailable_.Reset();
  }
}

bool CWThreadQueue::HeldLocked(int32_t id) const {
  for (int32_t i = 0; i < count_; ++i) {
    if (entries_[(read_ + i) % capacity_].id == id) {
      return true;
    }
  }
  for (const CWThreadMessage& m : overflow_) {
    if (m.id == id) {
      return true;
    }
  }
  return false;
}

void CWThreadQueue::StoreLocked(const CWThreadMessage& msg) {
  entries_[write_] = msg;
  write_ = (write_ + 1) % capacity_;
  ++count_;
}

bool CWThreadQueue::Put(int32_t id, void* parameter, uint64_t word, bool onlyIfAbsent, bool* alreadyPending,
                        const char* name) {
  if (alreadyPending != nullptr) {
    *alreadyPending = false;
  }
  lock_.Enter();
  if (capacity_ == 0) {
    lock_.Leave();
    throw new CQError("Coding error: Initialize() must be called first.", name);
  }
  const bool fromOwner = owner_ == std::this_thread::get_id();
  for (;;) {
    if (closed_) {
      lock_.Leave();
      return false;
    }
    if (onlyIfAbsent && HeldLocked(id)) {
      lock_.Leave();
      if (alreadyPending != nullptr) {
        *alreadyPending = true;
      }
      return false;
    }
    if (count_ < capacity_) {
      StoreLocked(CWThreadMessage{id, parameter, word});
      break;
    }
    if (fromOwner) {
      // The owner cannot wait for itself to make room.
      try {
        overflow_.push_back(CWThreadMessage{id, parameter, word});
      } catch (...) {
        lock_.Leave();
        throw;
      }
      break;
    }
    // Full: wait (without spinning) until the owner takes a message.
    lock_.Leave();
    if (CWWaitForEvent(spaceAvailable_) == lv::WaitResult::Failed) {
      throw new CQError("Error while waiting for room in a thread queue.", name);
    }
    lock_.Enter();
  }
  UpdateEventsLocked();
  lock_.Leave();
  return true;
}

bool CWThreadQueue::PutMessage(int32_t id, void* parameter, uint64_t word) {
  return Put(id, parameter, word, false, nullptr, "CWThreadQueue::PutMessage");
}

bool CWThreadQueue::PutMessageIfAbsent(int32_t id, void* parameter, uint64_t word, bool* alreadyPending) {
  return Put(id, parameter, word, true, alreadyPending, "CWThreadQueue::PutMessageIfAbsent");
}

void CWThreadQueue::RefillFromOverflowLocked() {
  // Called after the ring lost one message: the oldest overflow message moves
  // to the ring's tail, so the ring stays full while overflow remains.
  if (!overflow_.empty() && count_ < capacity_) {
    StoreLocked(overflow_.front());
    overflow_.pop_front();
  }
}

bool CWThreadQueue::RetrieveMessage(CWThreadMessage* out) {
  if (out == nullptr) {
    throw new CQError("Null pointer to input parameter.", "CWThreadQueue::RetrieveMessage");
  }
  lv::CriticalSectionLock lock(lock_);
  if (count_ == 0) {
    return false;
  }
  *out = entries_[read_];
  entries_[read_] = CWThreadMessage{};
  read_ = (read_ + 1) % capacity_;
  --count_;
  RefillFromOverflowLocked();
  UpdateEventsLocked();
  return true;
}

bool CWThreadQueue::IsMessageInQueue(int32_t id, bool remove) {
  lv::CriticalSectionLock lock(lock_);
  for (int32_t i = 0; i < count_; ++i) {
    if (entries_[(read_ + i) % capacity_].id != id) {
      continue;
    }
    if (remove) {
      // Every later message moves one slot toward the read end.
      for (int32_t j = i; j + 1 < count_; ++j) {
        entries_[(read_ + j) % capacity_] = entries_[(read_ + j + 1) % capacity_];
      }
      write_ = (write_ + capacity_ - 1) % capacity_;
      entries_[write_] = CWThreadMessage{};
      --count_;
      RefillFromOverflowLocked();
      UpdateEventsLocked();
    }
    return true;
  }
  for (auto it = overflow_.begin(); it != overflow_.end(); ++it) {
    if (it->id == id) {
      if (remove) {
        overflow_.erase(it);
      }
      return true;
    }
  }
  return false;
}

int32_t CWThreadQueue::GetCount() const {
  lv::CriticalSectionLock lock(lock_);
  return count_ + static_cast<int32_t>(overflow_.size());
}

int32_t CWThreadQueue::GetCapacity() const {
  lv::CriticalSectionLock lock(lock_);
  return capacity_;
}

bool CWThreadQueue::IsClosed() const {
  lv::CriticalSectionLock lock(lock_);
  return closed_;
}

void CWThreadQueue::SetOwnerThread(std::thread::id owner) {
  lv::CriticalSectionLock lock(lock_);
  owner_ = owner;
}

bool CWThreadQueue::IsOwnerThread() const {
  lv::CriticalSectionLock lock(lock_);
  return owner_ == std::this_thread::get_id();
}

std::vector<CWThreadMessage> CWThreadQueue::Close() {
  std::vector<CWThreadMessage> held;
  lv::CriticalSectionLock lock(lock_);
  held.reserve(static_cast<size_t>(count_) + overflow_.size());
  for (int32_t i = 0; i < count_; ++i) {
    held.push_back(entries_[(read_ + i) % capacity_]);
    entries_[(read_ + i) % capacity_] = CWThreadMessage{};
  }
  held.insert(held.end(), overflow_.begin(), overflow_.end());
  overflow_.clear();
  read_ = 0;
  write_ = 0;
  count_ = 0;
  closed_ = true;
  UpdateEventsLocked();
  return held;
}
