// In-place FFT butterfly kernels of class 3 (Sse42): the 128-bit body shared by
// classes 2 and 3, built with this class's instructions.
#include <immintrin.h>

#include <cstdint>

#include "fft/kernels/butterfly.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
#include "fft/kernels/butterfly_128_fours_first.inl"
}  // namespace
}  // namespace lv_sse42

void FftForwardInPlaceKernelSse42(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                               int32_t lastFlag) {
  lv_sse42::InPlaceKernel<-1>(data, n, twiddles, work, lastFlag);
}

void FftInverseInPlaceKernelSse42(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                               int32_t lastFlag) {
  lv_sse42::InPlaceKernel<1>(data, n, twiddles, work, lastFlag);
}
