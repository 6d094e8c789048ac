// Entry points and dispatch tables of the aligned allocation: one
// implementation fills every class slot.
#include "primitives/alloc/alloc.h"

#include <atomic>
#include <climits>
#include <cstdlib>

#include "cpu/dispatch.h"
#include "primitives/alloc/alloc_testing.h"

namespace {

// Bytes added to every heap request: up to 63 to reach the boundary plus the
// 8-byte word that keeps the heap pointer just below the payload.
constexpr int32_t kOverhead = 72;

std::atomic<HeapAllocateFn> g_heapAllocate{&std::malloc};
std::atomic<HeapReleaseFn> g_heapRelease{&std::free};

template <int ElementSize>
void* AllocateElements(int32_t n) {
  if (n <= 0) {
    return nullptr;
  }
  const int64_t bytes = int64_t{n} * ElementSize;
  if (bytes > INT32_MAX) {
    return nullptr;
  }
  return AlignedAllocate(static_cast<int32_t>(bytes));
}

// The implementations behind the entry points, the same in every class slot.
void* AllocateUint8(int32_t n) { return AllocateElements<1>(n); }
void* AllocateInt16(int32_t n) { return AllocateElements<2>(n); }
void* AllocateFloat32(int32_t n) { return AllocateElements<4>(n); }
void* AllocateComplexFloat32(int32_t n) { return AllocateElements<8>(n); }  // also Float64

void Free(void* pointer) {
  if (pointer == nullptr) {
    return;
  }
  g_heapRelease.load(std::memory_order_relaxed)(static_cast<void**>(pointer)[-1]);
}

// Allocation does not depend on the processor class: one implementation fills
// all eight slots of each table.
#define LV_SAME_IN_ALL_CLASSES(f) f, f, f, f, f, f, f, f

using AllocateFn = void* (*)(int32_t);
using FreeFn = void (*)(void*);

LV_DISPATCH_TABLE(kVectorAllocateUint8Table, AllocateFn, LV_SAME_IN_ALL_CLASSES(&AllocateUint8));
LV_DISPATCH_TABLE(kVectorAllocateInt16Table, AllocateFn, LV_SAME_IN_ALL_CLASSES(&AllocateInt16));
LV_DISPATCH_TABLE(kVectorAllocateFloat32Table, AllocateFn, LV_SAME_IN_ALL_CLASSES(&AllocateFloat32));
LV_DISPATCH_TABLE(kVectorAllocateFloat64Table, AllocateFn, LV_SAME_IN_ALL_CLASSES(&AllocateComplexFloat32));
LV_DISPATCH_TABLE(kVectorAllocateComplexFloat32Table, AllocateFn, LV_SAME_IN_ALL_CLASSES(&AllocateComplexFloat32));
LV_DISPATCH_TABLE(kVectorFreeTable, FreeFn, LV_SAME_IN_ALL_CLASSES(&Free));

}  // namespace

void* AlignedAllocate(int32_t bytes) {
  if (bytes <= 0) {
    return nullptr;
  }
  int32_t total = 0;
  if (__builtin_add_overflow(bytes, kOverhead, &total)) {
    return nullptr;
  }
  void* heap = g_heapAllocate.load(std::memory_order_relaxed)(static_cast<size_t>(total));
  if (heap == nullptr) {
    return nullptr;
  }
  const uintptr_t payload = (reinterpret_cast<uintptr_t>(heap) + 71) & ~uintptr_t{63};
  reinterpret_cast<void**>(payload)[-1] = heap;
  return reinterpret_cast<void*>(payload);
}

void SetHeapForTest(HeapAllocateFn allocate, HeapReleaseFn release) {
  g_heapAllocate.store(allocate != nullptr ? allocate : &std::malloc, std::memory_order_relaxed);
  g_heapRelease.store(release != nullptr ? release : &std::free, std::memory_order_relaxed);
}

void* VectorAllocateUint8(int32_t n) { return kVectorAllocateUint8Table(n); }
void* VectorAllocateInt16(int32_t n) { return kVectorAllocateInt16Table(n); }
void* VectorAllocateFloat32(int32_t n) { return kVectorAllocateFloat32Table(n); }
void* VectorAllocateFloat64(int32_t n) { return kVectorAllocateFloat64Table(n); }
void* VectorAllocateComplexFloat32(int32_t n) { return kVectorAllocateComplexFloat32Table(n); }
void VectorFree(void* pointer) { kVectorFreeTable(pointer); }
