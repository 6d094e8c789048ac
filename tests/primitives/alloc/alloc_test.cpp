// Aligned allocation: layout, limits (through a fake heap), release.
#include <cstdlib>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "primitives/alloc/alloc.h"
#include "primitives/alloc/alloc_testing.h"

namespace {

// A fake heap that records every request. It hands out real memory only for
// small requests; large ones are recorded and refused, so the size limits can
// be tested without allocating gigabytes.
struct FakeHeap {
  std::vector<size_t> requests;
  std::vector<void*> released;
  void* lastBlock = nullptr;
};
FakeHeap* g_heap = nullptr;

void* FakeAllocate(size_t bytes) {
  g_heap->requests.push_back(bytes);
  g_heap->lastBlock = bytes <= (1u << 20) ? std::malloc(bytes) : nullptr;
  return g_heap->lastBlock;
}
void FakeRelease(void* p) {
  g_heap->released.push_back(p);
  std::free(p);
}

class AllocTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_heap = &heap_;
    SetHeapForTest(&FakeAllocate, &FakeRelease);
  }
  void TearDown() override {
    SetHeapForTest(nullptr, nullptr);
    g_heap = nullptr;
  }
  FakeHeap heap_;
};

using AllocateFn = void* (*)(int32_t);
struct LimitCase {
  const char* name;
  AllocateFn fn;
  int32_t n;
  int64_t expectRequest;  // -1: the heap must not be asked
};

const LimitCase kLimits[] = {
    {"Uint8Largest", &VectorAllocateUint8, 2147483575, 0x7FFFFFFF},
    {"Uint8OneMore", &VectorAllocateUint8, 2147483576, -1},
    {"Uint8Max", &VectorAllocateUint8, INT32_MAX, -1},
    {"Int16Largest", &VectorAllocateInt16, 1073741787, 0x7FFFFFB6 + 72},
    {"Int16OneMore", &VectorAllocateInt16, 1073741788, -1},
    {"Float32Largest", &VectorAllocateFloat32, 536870893, 0x7FFFFFB4 + 72},
    {"Float32OneMore", &VectorAllocateFloat32, 536870894, -1},
    {"Float32Huge", &VectorAllocateFloat32, INT32_MAX, -1},
    {"Float64Largest", &VectorAllocateFloat64, 268435446, 0x7FFFFFB0 + 72},
    {"Float64OneMore", &VectorAllocateFloat64, 268435447, -1},
    {"ComplexLargest", &VectorAllocateComplexFloat32, 268435446, 0x7FFFFFB0 + 72},
    {"ComplexOneMore", &VectorAllocateComplexFloat32, 268435447, -1},
    {"Float32Zero", &VectorAllocateFloat32, 0, -1},
    {"Float32Negative", &VectorAllocateFloat32, -1, -1},
    {"Uint8Min", &VectorAllocateUint8, INT32_MIN, -1},
};

TEST_F(AllocTest, SizeLimits) {
  for (const LimitCase& c : kLimits) {
    heap_.requests.clear();
    void* p = c.fn(c.n);
    EXPECT_EQ(p, nullptr) << c.name;  // the fake heap refuses large requests
    if (c.expectRequest < 0) {
      EXPECT_TRUE(heap_.requests.empty()) << c.name << ": the heap was asked";
    } else {
      ASSERT_EQ(heap_.requests.size(), 1u) << c.name;
      EXPECT_EQ(static_cast<int64_t>(heap_.requests[0]), c.expectRequest) << c.name;
    }
  }
}

TEST_F(AllocTest, LayoutAlignmentAndRelease) {
  const AllocateFn fns[] = {&VectorAllocateUint8, &VectorAllocateInt16, &VectorAllocateFloat32,
                            &VectorAllocateFloat64, &VectorAllocateComplexFloat32};
  const int elementSize[] = {1, 2, 4, 8, 8};
  for (int f = 0; f < 5; ++f) {
    for (int32_t n : {1, 2, 3, 7, 63, 64, 65, 1000, 4097}) {
      heap_.requests.clear();
      heap_.released.clear();
      auto* p = static_cast<uint8_t*>(fns[f](n));
      ASSERT_NE(p, nullptr);
      ASSERT_EQ(heap_.requests.size(), 1u);
      EXPECT_EQ(heap_.requests[0], static_cast<size_t>(n) * elementSize[f] + 72);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 64, 0u);
      void* heapBlock = reinterpret_cast<void**>(p)[-1];
      EXPECT_EQ(heapBlock, heap_.lastBlock);
      const intptr_t below = reinterpret_cast<intptr_t>(p) - reinterpret_cast<intptr_t>(heapBlock);
      EXPECT_GE(below, 8);
      EXPECT_LE(below, 71);
      // The whole payload (and one byte more) lies inside the heap block.
      EXPECT_LE(below + static_cast<intptr_t>(n) * elementSize[f] + 1, static_cast<intptr_t>(heap_.requests[0]));
      std::memset(p, 0x5A, static_cast<size_t>(n) * elementSize[f]);
      VectorFree(p);
      ASSERT_EQ(heap_.released.size(), 1u);
      EXPECT_EQ(heap_.released[0], heapBlock);
    }
  }
}

TEST_F(AllocTest, FreeOfNullDoesNothing) {
  VectorFree(nullptr);
  EXPECT_TRUE(heap_.released.empty());
}

TEST_F(AllocTest, HeapFailureGivesNull) {
  EXPECT_EQ(AlignedAllocate(2 << 20), nullptr);  // the fake heap refuses it
  EXPECT_EQ(heap_.requests.size(), 1u);
  EXPECT_EQ(AlignedAllocate(0), nullptr);
  EXPECT_EQ(AlignedAllocate(-5), nullptr);
  EXPECT_EQ(AlignedAllocate(0x7FFFFFB8), nullptr);
  EXPECT_EQ(heap_.requests.size(), 1u);
}

TEST(AllocRealHeap, BlocksFromDifferentEntryPointsShareOneFree) {
  void* blocks[] = {VectorAllocateUint8(3), VectorAllocateInt16(5), VectorAllocateFloat32(1 << 16),
                    VectorAllocateFloat64(9), VectorAllocateComplexFloat32(33)};
  for (void* b : blocks) {
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 64, 0u);
  }
  for (void* b : blocks) {
    VectorFree(b);
  }
}

}  // namespace
