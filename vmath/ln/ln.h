// The vector natural logarithm LnFloat32: dst[i] = ln(src[i]).
//
// One kernel per processor class, reached only through the record stub of
// that class. Special inputs (every class): +-0 gives -infinity with code 18;
// a negative number, negative subnormal or -infinity gives a NaN with code 19
// (0x7FFC0000 in class 0, the default NaN 0xFFC00000 in classes 1 to 7);
// +infinity gives +infinity and a NaN comes back (class 0: unchanged; classes
// 1 to 7: made quiet), both without a code. The status is the code of the
// last element that had one, or 0. Classes 2 to 7 report every element with a
// code to MathErrorCallback; classes 0 and 1 report through the status only.
// Checks: classes 0 and 1 test dst, src, then n; classes 2 to 7 test n, then
// src, then dst (-8 for a null pointer, -6 for n <= 0; nothing written).
#pragma once

#include <cstdint>

#include "vmath/vmath_record.h"

int32_t LnFloat32KernelSse2(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelSse3V0(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelSsse3V0(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelAvxV0(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelAvx2V0(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelAvx512ManyCoreV0(const float* src, float* dst, int32_t n);
int32_t LnFloat32KernelAvx512V0(const float* src, float* dst, int32_t n);

// Class 1's single-element path: the logarithm of src[i], special or not. For
// a zero or negative input it also stores the result in dst[i] and sets
// *status to 18 or 19.
float LnFloat32SpecialValuesSse3(const float* src, float* dst, int32_t i, int32_t* status);

// The double-precision special-value routine of classes 2 to 7 (one copy per
// kernel): writes the logarithm of *x to *result and returns its code (18 for
// +-0, 19 for negative inputs and -infinity, 0 otherwise).
int32_t LnFloat32SpecialValuesSsse3(const float* x, float* result);
int32_t LnFloat32SpecialValuesAvx(const float* x, float* result);
int32_t LnFloat32SpecialValuesAvx2(const float* x, float* result);
int32_t LnFloat32SpecialValuesAvx512ManyCore(const float* x, float* result);
int32_t LnFloat32SpecialValuesAvx512(const float* x, float* result);

extern const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordSse2;
extern const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordSse3;
extern const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordSsse3;
extern const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordSse42;
extern const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordAvx;
extern const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordAvx2;
extern const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordAvx512ManyCore;
extern const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordAvx512;

int32_t LnFloat32StubSse2(const float* src, float* dst, int32_t n);
int32_t LnFloat32StubSse3(const float* src, float* dst, int32_t n);
int32_t LnFloat32StubSsse3(const float* src, float* dst, int32_t n);
int32_t LnFloat32StubSse42(const float* src, float* dst, int32_t n);
int32_t LnFloat32StubAvx(const float* src, float* dst, int32_t n);
int32_t LnFloat32StubAvx2(const float* src, float* dst, int32_t n);
int32_t LnFloat32StubAvx512ManyCore(const float* src, float* dst, int32_t n);
int32_t LnFloat32StubAvx512(const float* src, float* dst, int32_t n);
