// The per-class logarithm functions and records, for the class table
// (ln_records.cpp), the stubs (ln.cpp) and the tests and benchmarks. Callers
// use the stubs of ln.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/ln/ln.h"
#include "vmath/vmath_record.h"

// The kernels, one per class with a per-class file (ln_sse2.cpp ...). Class 3
// has none: it runs the class-2 kernel (see the class table).
int32_t LnFloat32KernelSse2(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelSse3(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelSsse3(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelAvx(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelAvx2(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelAvx512ManyCore(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelAvx512(const float* src, float* dst, int32_t n);

// Class 1's single-element path: the logarithm of src[i], special or not. For
// a zero or negative input it also stores the result in dst[i] and sets
// *status to the element's code.
float LnFloat32SpecialValuesSse3(const float* src, float* dst, int32_t i, int32_t* status);

// The double-precision special-value routine of classes 2 to 7 (one copy per
// kernel): writes the logarithm of *x to *result and returns its code
// (kVmathCodeSingularity for +-0, kVmathCodeDomain for negative inputs and
// -infinity, 0 otherwise).
int32_t LnFloat32SpecialValuesSsse3(const float* x, float* result);
int32_t LnFloat32SpecialValuesAvx(const float* x, float* result);
int32_t LnFloat32SpecialValuesAvx2(const float* x, float* result);
int32_t LnFloat32SpecialValuesAvx512ManyCore(const float* x, float* result);
int32_t LnFloat32SpecialValuesAvx512(const float* x, float* result);

// The records, one per class (static data, never written): each cell holds
// the class's kernel; the stubs call cell 0.
LV_DECLARE_CLASSES(extern const VmathRecord<UnaryFloat32Kernel>, LnFloat32Record, );
