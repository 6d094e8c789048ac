// In-place FFT butterfly kernels of class 4 (Avx): the 256-bit passes of the
// class-5 kernels with separately rounded twiddle products.
#include <immintrin.h>

#include <cstdint>

#include "fft/kernels/butterfly.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
#define LV_BF_SEPARATE_PRODUCTS
#include "fft/kernels/butterfly_256.inl"
#undef LV_BF_SEPARATE_PRODUCTS
}  // namespace
}  // namespace lv_avx

void FftForwardInPlaceKernelAvx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                int32_t lastFlag) {
  lv_avx::InPlaceKernel<-1>(data, n, twiddles, work, lastFlag);
}

void FftInverseInPlaceKernelAvx(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                int32_t lastFlag) {
  lv_avx::InPlaceKernel<1>(data, n, twiddles, work, lastFlag);
}
