// Small-order FFT kernels of class 7 (Avx512): the class-5 operations in AVX-512 encodings, still at most 256 bits wide; bit-identical to class 5.
#include <immintrin.h>

#include <cstdint>

#include "fft/kernels/small_kernels.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(7);

// Class 7 runs these kernels at 256 bits at most: keep the compiler from
// merging stores or copies into 512-bit ones.
#pragma GCC target("prefer-vector-width=256")

namespace lv_avx512 {
namespace {
#include "fft/kernels/small_kernels_256.inl"
}  // namespace
}  // namespace lv_avx512

void FftOrder1NormalisedKernelAvx512(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  lv_avx512::Order1<true>(src, dst, scale);
}
void FftOrder1KernelAvx512(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*) {
  lv_avx512::Order1<false>(src, dst, 1.0f);
}

#define LV_SK_SUFFIX Avx512
#define LV_SK_NS lv_avx512
#define LV_SK_ORDER0N FftOrder0NormalisedKernelAvx
#define LV_SK_ORDER1N FftOrder1NormalisedKernelAvx512
#define LV_SK_ORDER1P FftOrder1KernelAvx512
#include "fft/kernels/small_kernels_body.inl"
