// Small-order FFT kernels of class 5 (Avx2): the class-4 operations with the products of its rules fused (FMA); orders 0 and 1 are the class-4 kernels.
#include <immintrin.h>

#include <cstdint>

#include "fft/kernels/small_kernels.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
#include "fft/kernels/small_kernels_256.inl"
}  // namespace
}  // namespace lv_avx2

#define LV_SK_SUFFIX Avx2
#define LV_SK_NS lv_avx2
#define LV_SK_ORDER0N FftOrder0NormalisedKernelAvx
#define LV_SK_ORDER1N FftOrder1NormalisedKernelAvx
#define LV_SK_ORDER1P FftOrder1KernelAvx
#include "fft/kernels/small_kernels_body.inl"
