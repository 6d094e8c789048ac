// Small-order FFT kernels of class 4 (Avx): 128-bit operations up to order 3, 256-bit from order 4, every product rounded on its own.
#include <immintrin.h>

#include <cstdint>

#include "fft/kernels/small_kernels.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
#include "fft/kernels/small_kernels_256.inl"
}  // namespace
}  // namespace lv_avx

void FftOrder0NormalisedKernelAvx(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  lv_avx::Order0Scaled(src, dst, scale);
}
void FftOrder1NormalisedKernelAvx(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  lv_avx::Order1<true>(src, dst, scale);
}
void FftOrder1KernelAvx(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*) {
  lv_avx::Order1<false>(src, dst, 1.0f);
}

#define LV_SK_SUFFIX Avx
#define LV_SK_NS lv_avx
#define LV_SK_ORDER0N FftOrder0NormalisedKernelAvx
#define LV_SK_ORDER1N FftOrder1NormalisedKernelAvx
#define LV_SK_ORDER1P FftOrder1KernelAvx
#include "fft/kernels/small_kernels_body.inl"
