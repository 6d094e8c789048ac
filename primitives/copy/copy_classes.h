// The per-class members of the copy (VectorCopyFloat32Sse2 ... Avx512), each
// built from copy_body.inl by its class's file. For the dispatch tables in
// copy.cpp, for per-class code that calls its own class's copy (the
// arithmetic, the FFT) and for tests; everyone else calls the entry points of
// copy.h.
//
// The byte copies (n bytes) have no entry point: the FFT of each class and
// the typed copies of classes 4-7 call them directly. The complex member
// serves Float64 as well (same element size). Classes 0-5 each have their own
// byte-copy kernel; classes 6 and 7 run class 5's (32-byte units).
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

LV_DECLARE_CLASSES(int32_t, VectorCopyUint8, (const void* src, void* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorCopyInt16, (const void* src, void* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorCopyFloat32, (const void* src, void* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorCopyComplexFloat32, (const void* src, void* dst, int32_t n));
