// The vector arctangent Atan2Float32: dst[i] = atan2(y[i], x[i]) in radians.
//
// One kernel per processor class, reached only through the record stub of
// that class. Every kernel: n <= 0 gives -6 (tested first), then a null y, x
// or dst gives -8 and nothing is written; otherwise all n results are written
// and the status is 0 whatever the data. dst may be y or x.
#pragma once

#include <cstdint>

#include "vmath/vmath_record.h"

// Kernels (accuracy variant 0 of each class; class 0 has one kernel only).
int32_t Atan2Float32KernelSse2(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelSse3V0(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelSsse3V0(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelAvxV0(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelAvx2V0(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelAvx512ManyCoreV0(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32KernelAvx512V0(const float* y, const float* x, float* dst, int32_t n);

// The scalar special-value routines, one per kernel: atan2 of one pair of
// operands, correctly rounded but for rare one-ulp cases; always return 0.
int32_t Atan2Float32SpecialValuesSse2(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesSse3(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesSsse3(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesAvx(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesAvx2(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesAvx512ManyCore(const float* y, const float* x, float* result);
int32_t Atan2Float32SpecialValuesAvx512(const float* y, const float* x, float* result);

// Records, one per class (static data, never written).
extern const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordSse2;
extern const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordSse3;
extern const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordSsse3;
extern const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordSse42;
extern const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordAvx;
extern const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordAvx2;
extern const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordAvx512ManyCore;
extern const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordAvx512;

// Stubs: one load of cell 0 of the class's record and one jump.
int32_t Atan2Float32StubSse2(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32StubSse3(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32StubSsse3(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32StubSse42(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32StubAvx(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32StubAvx2(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32StubAvx512ManyCore(const float* y, const float* x, float* dst, int32_t n);
int32_t Atan2Float32StubAvx512(const float* y, const float* x, float* dst, int32_t n);
