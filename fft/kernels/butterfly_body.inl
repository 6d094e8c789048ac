// The FFT butterfly kernels of one processor class (fft/kernels/butterfly.h),
// chosen by the class table: class 0 the scalar radix-4 stages and combine
// passes; classes 1 to 3 128-bit medium and in-place kernels on their stage
// plan;
// classes 4, 5 and 7 the 256-bit body (medium and in-place kernels); class 6 forwards its names to the class-5 kernels.
#include <immintrin.h>

#include <cstdint>

#include "fft/fft_class_table.h"
#include "fft/kernels/butterfly.h"
#include "primitives/vector_types.h"

#if LV_CLASS == 0
#include "fft/kernels/butterfly_scalar.inl"

#elif LV_CLASS == 6
// Class 6 runs the class-5 kernels under its own names; built with the class-6
// flags, the 256-bit body would move general registers through xmm16-31.
static_assert(kFftClasses[6].butterflyClass == kClassAvx2);

void LV_NAME(FftForwardMediumKernel)(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,
                                     const float* twiddles, const int32_t* swapList, uint8_t* work) {
  FftForwardMediumKernelAvx2(src, dst, n, twiddles, swapList, work);
}
void LV_NAME(FftInverseMediumKernel)(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,
                                     const float* twiddles, const int32_t* swapList, uint8_t* work) {
  FftInverseMediumKernelAvx2(src, dst, n, twiddles, swapList, work);
}
void LV_NAME(FftForwardInPlaceKernel)(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                      int32_t lastFlag) {
  FftForwardInPlaceKernelAvx2(data, n, twiddles, work, lastFlag);
}
void LV_NAME(FftInverseInPlaceKernel)(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                      int32_t lastFlag) {
  FftInverseInPlaceKernelAvx2(data, n, twiddles, work, lastFlag);
}

#else
static_assert(kFftClasses[LV_CLASS].butterflyClass == LV_CLASS);

// Class 7 runs these kernels at 256 bits at most: keep the compiler from
// merging stores or copies into 512-bit ones.
#if LV_CLASS == 7
#pragma GCC target("prefer-vector-width=256")
#endif

namespace LV_NS {
namespace {

constexpr FftClassRow kRow = kFftClasses[kClass];

#if LV_CLASS == 1
static_assert(kRow.stagePlan == FftStagePlan::kMixed128);
#include "fft/kernels/butterfly_128_mixed.inl"
#elif LV_CLASS <= 3
static_assert(kRow.stagePlan == FftStagePlan::kFoursFirst128);
#include "fft/kernels/butterfly_128_fours_first.inl"
#else
static_assert(kRow.stagePlan == FftStagePlan::kWide256);
#include "fft/kernels/butterfly_256.inl"
#endif

}  // namespace
}  // namespace LV_NS

void LV_NAME(FftForwardInPlaceKernel)(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                      int32_t lastFlag) {
  LV_NS::InPlaceKernel<-1>(data, n, twiddles, work, lastFlag);
}
void LV_NAME(FftInverseInPlaceKernel)(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work,
                                      int32_t lastFlag) {
  LV_NS::InPlaceKernel<1>(data, n, twiddles, work, lastFlag);
}

// The medium kernel: classes 1 to 5 and 7.
void LV_NAME(FftForwardMediumKernel)(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,
                                     const float* twiddles, const int32_t* swapList, uint8_t* work) {
  LV_NS::MediumKernel<-1>(src, dst, n, twiddles, swapList, work);
}
void LV_NAME(FftInverseMediumKernel)(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,
                                     const float* twiddles, const int32_t* swapList, uint8_t* work) {
  LV_NS::MediumKernel<1>(src, dst, n, twiddles, swapList, work);
}
#endif
