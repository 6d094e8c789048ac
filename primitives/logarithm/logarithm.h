// Natural logarithm of floats: dst[i] = ln(src[i]), all n results written.
//
// Checks before anything is read or written: src null -8, dst null -8, n <= 0
// -6. Zero and negative arguments are warnings, not errors: the status is
// StatusLnOfZero (7) or StatusLnOfNegative (8) after the special element that
// comes last in index order (-infinity for +-0, a NaN for negative arguments),
// otherwise StatusOk.
#pragma once

#include <cstdint>

int32_t VectorLnFloat32(const float* src, float* dst, int32_t n);

// The class implementations: each calls its own class's logarithm stub.
int32_t VectorLnFloat32Sse2(const float* src, float* dst, int32_t n);
int32_t VectorLnFloat32Sse3(const float* src, float* dst, int32_t n);
int32_t VectorLnFloat32Ssse3(const float* src, float* dst, int32_t n);
int32_t VectorLnFloat32Sse42(const float* src, float* dst, int32_t n);
int32_t VectorLnFloat32Avx(const float* src, float* dst, int32_t n);
int32_t VectorLnFloat32Avx2(const float* src, float* dst, int32_t n);
int32_t VectorLnFloat32Avx512ManyCore(const float* src, float* dst, int32_t n);
int32_t VectorLnFloat32Avx512(const float* src, float* dst, int32_t n);
