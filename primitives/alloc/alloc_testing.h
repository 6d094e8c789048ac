// Test-only access to the aligned allocation; product code calls the entry
// points of alloc.h (only alloc.cpp, which implements it, includes this).
#pragma once

#include <cstddef>
#include <cstdint>

// Replaces the C heap's malloc and free (null restores them), so that the size
// limits can be checked without real 2 GiB requests.
using HeapAllocateFn = void* (*)(size_t);
using HeapReleaseFn = void (*)(void*);
void SetHeapForTest(HeapAllocateFn allocate, HeapReleaseFn release);

// The common worker of the entry points: a new aligned block with `bytes`
// payload bytes, or null.
void* AlignedAllocate(int32_t bytes);
