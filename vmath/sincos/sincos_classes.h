// The per-class sine and cosine functions and records, for the class table
// (sincos_records.cpp), the stubs (sincos.cpp) and the tests and benchmarks.
// Callers use the stubs of sincos.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/sincos/sincos.h"
#include "vmath/vmath_record.h"

// The kernels, one pair per class with a per-class file (sincos_sse2.cpp ...).
// Classes 2 and 3 have none: they run the class-1 kernels (see the class
// table).
int32_t SinFloat32KernelSse2(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelSse2(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelSse3(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelSse3(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelAvx(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelAvx(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelAvx2(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelAvx2(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelAvx512ManyCore(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelAvx512ManyCore(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelAvx512(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelAvx512(const float* src, float* dst, int32_t n);

// Special-value routines of an element whose exponent field is all ones:
// +-infinity gives the default NaN and kVmathCodeDomain, a NaN its quiet form
// and 0; any other input is left alone (nothing written, 0). Classes 0, 1 and
// 4 export theirs; the class-5 kernels call the class-4 routine, classes 6
// and 7 keep theirs inside their kernels.
int32_t SinFloat32SpecialValuesSse2(const float* x, float* result);
int32_t SinFloat32SpecialValuesSse3(const float* x, float* result);
int32_t SinFloat32SpecialValuesAvx(const float* x, float* result);

// The records, one per class and function (static data, never written): each
// cell holds the class's kernel; the stubs call cell 1.
LV_DECLARE_CLASSES(extern const VmathRecord<UnaryFloat32Kernel>, SinFloat32Record, );
LV_DECLARE_CLASSES(extern const VmathRecord<UnaryFloat32Kernel>, CosFloat32Record, );
