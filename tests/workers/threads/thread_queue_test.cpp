#include <pthread.h>
#include <time.h>

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "workers/thread_queue.h"
#include "core/error.h"
#include "support/errors.h"

namespace {

// CPU time used so far by the calling thread, in milliseconds.
double ThreadCpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

std::vector<int32_t> DrainIds(CWThreadQueue& q) {
  std::vector<int32_t> ids;
  CWThreadMessage m;
  while (q.RetrieveMessage(&m)) {
    ids.push_back(m.id);
  }
  return ids;
}

// Moves the ring's read index to `start` by putting and taking messages.
void AdvanceTo(CWThreadQueue& q, int start) {
  CWThreadMessage m;
  for (int i = 0; i < start; ++i) {
    ASSERT_TRUE(q.PutMessage(-1));
    ASSERT_TRUE(q.RetrieveMessage(&m));
  }
}

TEST(CWThreadQueue, PutBeforeInitializeIsACodingError) {
  CWThreadQueue q;
  EXPECT_EQ(q.GetCapacity(), 0);
  EXPECT_TRUE(lv_test::ThrowsError([&] { q.PutMessage(7); }, "Coding error: Initialize() must be called first.",
                                   "CWThreadQueue::PutMessage\n"));
}

TEST(CWThreadQueue, EmptyQueueAndNullOutput) {
  CWThreadQueue q;
  q.Initialize();
  EXPECT_EQ(q.GetCapacity(), 30);
  CWThreadMessage m;
  EXPECT_FALSE(q.RetrieveMessage(&m));
  EXPECT_FALSE(q.MessagesPresentEvent().IsSet());
  EXPECT_TRUE(lv_test::ThrowsError([&] { q.RetrieveMessage(nullptr); }, "Null pointer to input parameter.",
                                   "CWThreadQueue::RetrieveMessage\n"));
}

TEST(CWThreadQueue, RingKeepsOrderAcrossTheWrapAndCarriesParameters) {
  CWThreadQueue q;
  q.Initialize();
  AdvanceTo(q, 17);
  int payload[30];
  for (int i = 0; i < 30; ++i) {
    ASSERT_TRUE(q.PutMessage(100 + i, &payload[i], 1000u + i));
    EXPECT_TRUE(q.MessagesPresentEvent().IsSet());
  }
  EXPECT_EQ(q.GetCount(), 30);
  for (int i = 0; i < 30; ++i) {
    CWThreadMessage m;
    ASSERT_TRUE(q.RetrieveMessage(&m));
    EXPECT_EQ(m.id, 100 + i);
    EXPECT_EQ(m.parameter, &payload[i]);
    EXPECT_EQ(m.word, 1000u + i);
    EXPECT_EQ(q.MessagesPresentEvent().IsSet(), i < 29);
  }
  CWThreadMessage m;
  EXPECT_FALSE(q.RetrieveMessage(&m));
}

TEST(CWThreadQueue, RemovalAcrossTheRingEndKeepsOrder) {
  CWThreadQueue q;
  q.Initialize();
  AdvanceTo(q, 25);  // messages go to slots 25..29, 0..6
  for (int i = 1; i <= 12; ++i) {
    q.PutMessage(i);
  }
  EXPECT_TRUE(q.IsMessageInQueue(9, false));
  EXPECT_EQ(q.GetCount(), 12);
  EXPECT_FALSE(q.IsMessageInQueue(42, true));
  EXPECT_TRUE(q.IsMessageInQueue(3, true));  // slot 27: later ones cross the end
  EXPECT_EQ(q.GetCount(), 11);
  // The write index moved back: the next put follows the last message.
  q.PutMessage(13);
  EXPECT_EQ(DrainIds(q), (std::vector<int32_t>{1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
}

TEST(CWThreadQueue, RemovalTakesTheOldestOfSeveralAndTheOnlyOneResetsTheEvent) {
  CWThreadQueue q;
  q.Initialize();
  AdvanceTo(q, 28);
  for (int32_t id : {5, 33, 6, 33, 7}) {
    q.PutMessage(id, nullptr, static_cast<uint64_t>(q.GetCount()));
  }
  EXPECT_TRUE(q.IsMessageInQueue(33, true));
  std::vector<uint64_t> words;
  CWThreadMessage m;
  while (q.RetrieveMessage(&m)) {
    words.push_back(m.word);
  }
  EXPECT_EQ(words, (std::vector<uint64_t>{0, 2, 3, 4}));  // the first 33 (word 1) went

  q.PutMessage(8);
  EXPECT_TRUE(q.MessagesPresentEvent().IsSet());
  EXPECT_TRUE(q.IsMessageInQueue(8, true));
  EXPECT_FALSE(q.MessagesPresentEvent().IsSet());
  EXPECT_EQ(q.GetCount(), 0);
}

TEST(CWThreadQueue, SecondInitializeDropsMessages) {
  CWThreadQueue q;
  q.Initialize();
  q.PutMessage(1);
  q.PutMessage(2);
  q.Initialize();
  EXPECT_EQ(q.GetCount(), 0);
  EXPECT_EQ(q.GetCapacity(), 30);
  EXPECT_FALSE(q.MessagesPresentEvent().IsSet());
  q.PutMessage(3);
  EXPECT_EQ(DrainIds(q), std::vector<int32_t>{3});
}

TEST(CWThreadQueue, ThirtyFirstPutFromAnotherThreadWaitsWithoutSpinning) {
  CWThreadQueue q;
  q.Initialize();
  q.SetOwnerThread(std::this_thread::get_id());
  for (int i = 0; i < 30; ++i) {
    q.PutMessage(i);
  }
  std::atomic<bool> returned{false};
  double cpuMs = -1.0;
  std::thread producer([&] {
    const double start = ThreadCpuMs();
    q.PutMessage(30);
    cpuMs = ThreadCpuMs() - start;
    returned = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(returned.load()) << "a put into a full queue returned";
  EXPECT_EQ(q.GetCount(), 30);
  CWThreadMessage m;
  ASSERT_TRUE(q.RetrieveMessage(&m));
  EXPECT_EQ(m.id, 0);
  producer.join();
  EXPECT_TRUE(returned.load());
  // A spinning producer would have burnt most of the 300 ms.
  EXPECT_LT(cpuMs, 30.0);
  std::vector<int32_t> expected;
  for (int i = 1; i <= 30; ++i) {
    expected.push_back(i);
  }
  EXPECT_EQ(DrainIds(q), expected);
}

TEST(CWThreadQueue, OwnerPostsNeverBlockAndKeepTheirPlaceBeforeLaterProducers) {
  CWThreadQueue q;
  q.Initialize();
  q.SetOwnerThread(std::this_thread::get_id());
  for (int i = 0; i < 35; ++i) {
    ASSERT_TRUE(q.PutMessage(i));  // 5 beyond the ring
  }
  EXPECT_EQ(q.GetCount(), 35);
  std::atomic<bool> returned{false};
  std::thread producer([&] {
    q.PutMessage(1000);
    returned = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned.load());
  // The owner's overflow and the coalescing search see past the ring.
  EXPECT_TRUE(q.IsMessageInQueue(33, false));
  bool pending = false;
  EXPECT_FALSE(q.PutMessageIfAbsent(34, nullptr, 0, &pending));
  EXPECT_TRUE(pending);
  std::vector<int32_t> ids;
  CWThreadMessage m;
  for (int i = 0; i < 6; ++i) {
    ASSERT_TRUE(q.RetrieveMessage(&m));
    ids.push_back(m.id);
  }
  producer.join();
  for (int32_t id : DrainIds(q)) {
    ids.push_back(id);
  }
  std::vector<int32_t> expected;
  for (int i = 0; i < 35; ++i) {
    expected.push_back(i);
  }
  expected.push_back(1000);
  EXPECT_EQ(ids, expected);
}

TEST(CWThreadQueue, PutIfAbsentCoalesces) {
  CWThreadQueue q;
  q.Initialize();
  bool pending = true;
  EXPECT_TRUE(q.PutMessageIfAbsent(33, nullptr, 0, &pending));
  EXPECT_FALSE(pending);
  q.PutMessage(2);
  EXPECT_FALSE(q.PutMessageIfAbsent(33, nullptr, 0, &pending));
  EXPECT_TRUE(pending);
  EXPECT_EQ(DrainIds(q), (std::vector<int32_t>{33, 2}));
  EXPECT_TRUE(q.PutMessageIfAbsent(33));
}

TEST(CWThreadQueue, CloseReturnsHeldMessagesAndReleasesWaitingProducers) {
  CWThreadQueue q;
  q.Initialize();
  q.SetOwnerThread(std::this_thread::get_id());
  for (int i = 0; i < 32; ++i) {
    q.PutMessage(i);
  }
  std::atomic<int> result{-1};
  std::thread producer([&] { result = q.PutMessage(99) ? 1 : 0; });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const std::vector<CWThreadMessage> held = q.Close();
  producer.join();
  EXPECT_EQ(result.load(), 0);
  ASSERT_EQ(held.size(), 32u);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(held[i].id, i);
  }
  EXPECT_TRUE(q.IsClosed());
  EXPECT_FALSE(q.PutMessage(5));
  EXPECT_EQ(q.GetCount(), 0);
  EXPECT_FALSE(q.MessagesPresentEvent().IsSet());
  q.Initialize();  // a restart opens it again
  EXPECT_TRUE(q.PutMessage(5));
}

}  // namespace
