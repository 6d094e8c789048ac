// Aligned allocation of sample buffers: every payload starts on a 64-byte
// boundary. Counts are elements; a count of 0 or less, a size beyond the
// limits (payload + 72 bytes must fit a signed 32-bit size) or a heap failure
// gives null. Release every block with VectorFree.
#pragma once

#include <cstdint>

void* VectorAllocateUint8(int32_t n);
void* VectorAllocateInt16(int32_t n);
void* VectorAllocateFloat32(int32_t n);
void* VectorAllocateFloat64(int32_t n);
void* VectorAllocateComplexFloat32(int32_t n);
// Null is accepted and ignored.
void VectorFree(void* pointer);
