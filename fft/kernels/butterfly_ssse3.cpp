// In-place FFT butterfly kernels of class 2 (Ssse3): the 128-bit body shared by
// classes 2 and 3, built with this class's instructions.
#include <immintrin.h>

#include <cstdint>

#include "fft/kernels/butterfly.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
#include "fft/kernels/butterfly_128_fours_first.inl"
}  // namespace
}  // namespace lv_ssse3

void FftForwardInPlaceKernelSsse3(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                               int32_t lastFlag) {
  lv_ssse3::InPlaceKernel<-1>(data, n, twiddles, work, lastFlag);
}

void FftInverseInPlaceKernelSsse3(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                               int32_t lastFlag) {
  lv_ssse3::InPlaceKernel<1>(data, n, twiddles, work, lastFlag);
}
