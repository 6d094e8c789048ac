// The per-class arctangent functions and records, for the class table
// (atan2_records.cpp), the stubs (atan2.cpp) and the tests and benchmarks.
// Callers use the stubs of atan2.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/atan2/atan2.h"
#include "vmath/vmath_record.h"

// The kernels, one per class with a per-class file (atan2_sse2.cpp ...).
// Class 3 has none: it runs the class-2 kernel (see the class table).
int32_t Atan2Float32KernelSse2(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelSse3(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelSsse3(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelAvx(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelAvx2(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelAvx512ManyCore(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelAvx512(const float* y, const float* x, float* dst, int32_t n);

// The scalar special-value routines, one per kernel: atan2 of one pair of
// operands, correctly rounded but for rare one-ulp cases; always return 0.
int32_t Atan2Float32SpecialValuesSse2(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesSse3(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesSsse3(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesAvx(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesAvx2(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesAvx512ManyCore(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesAvx512(const float* y, const float* x, float* result);

// The records, one per class (static data, never written): each cell holds
// the class's kernel; the stubs call cell 0.
LV_DECLARE_CLASSES(extern const VmathRecord<Atan2Float32Kernel>, Atan2Float32Record, );
