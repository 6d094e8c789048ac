// Aligned allocation of sample buffers: every payload starts on a 64-byte
// boundary. Counts are elements; a count of 0 or less, a size beyond the
// limits (payload + 72 bytes must fit a signed 32-bit size) or a heap failure
// gives null. Release every block with VectorFree.
#pragma once

#include <cstddef>
#include <cstdint>

void* VectorAllocateUint8(int32_t n);
void* VectorAllocateInt16(int32_t n);
void* VectorAllocateFloat32(int32_t n);
void* VectorAllocateFloat64(int32_t n);
void* VectorAllocateComplexFloat32(int32_t n);
// Null is accepted and ignored.
void VectorFree(void* pointer);

// The implementations behind the entry points (the same in every class slot).
void* VectorAllocateUint8Generic(int32_t n);
void* VectorAllocateInt16Generic(int32_t n);
void* VectorAllocateFloat32Generic(int32_t n);
void* VectorAllocateComplexFloat32Generic(int32_t n);  // also VectorAllocateFloat64
void VectorFreeGeneric(void* pointer);

// The common worker: a new aligned block with `bytes` payload bytes, or null.
void* AlignedAllocate(int32_t bytes);

// Test-only: replaces the C heap's malloc and free (null restores them), so
// that the size limits can be checked without real 2 GiB requests.
using HeapAllocateFn = void* (*)(size_t);
using HeapReleaseFn = void (*)(void*);
void SetHeapForTest(HeapAllocateFn allocate, HeapReleaseFn release);
