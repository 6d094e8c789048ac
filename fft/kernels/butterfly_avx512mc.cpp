// Medium and in-place FFT butterfly kernels of class 6 (Avx512ManyCore): the
// class-5 code under the class-6 names. (Built with the class-6 flags the body
// would move general registers through xmm16-31, which class 6 keeps out of.)
#include <cstdint>

#include "fft/kernels/butterfly.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(6);

void FftForwardMediumKernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,
                                          const float* twiddles, const int32_t* swapList, uint8_t* work) {
  FftForwardMediumKernelAvx2(src, dst, n, twiddles, swapList, work);
}
void FftInverseMediumKernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,
                                          const float* twiddles, const int32_t* swapList, uint8_t* work) {
  FftInverseMediumKernelAvx2(src, dst, n, twiddles, swapList, work);
}
void FftForwardInPlaceKernelAvx512ManyCore(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                           int32_t lastFlag) {
  FftForwardInPlaceKernelAvx2(data, n, twiddles, work, lastFlag);
}
void FftInverseInPlaceKernelAvx512ManyCore(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                           int32_t lastFlag) {
  FftInverseInPlaceKernelAvx2(data, n, twiddles, work, lastFlag);
}
