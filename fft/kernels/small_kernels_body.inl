// The small-order FFT kernels of one processor class (class table:
// smallKernelClass): class 0 the scalar kernels of orders 0 to 5 and their
// tables (small_kernels_scalar.inl); classes 1 to 3 the 128-bit build of
// orders 2 to 5 (small_kernels_128.inl); classes 4, 5 and 7 the 256-bit
// kernels of orders 2 to 6 (small_kernels_256.inl); the kernel sets of classes
// 1 to 7, whose orders 0
// and 1 come from the classes named by order0Class and order1Class (the plain
// order-0 kernel is class 0's bit copy everywhere).
#include <immintrin.h>

#include <cstdint>

#include "fft/fft_class_table.h"
#include "fft/kernels/small_kernels.h"

static_assert(kFftClasses[LV_CLASS].smallKernelClass == LV_CLASS, "the class has no small-order kernels of its own");

#if LV_CLASS == 0
#include "fft/kernels/small_kernels_scalar.inl"
#else

// Class 7 runs these kernels at 256 bits at most: keep the compiler from
// merging stores or copies into 512-bit ones.
#if LV_CLASS == 7
#pragma GCC target("prefer-vector-width=256")
#endif

namespace LV_NS {
namespace {

constexpr FftClassRow kRow = kFftClasses[kClass];

#if LV_CLASS <= 3
#include "fft/kernels/small_kernels_128.inl"
#else
#include "fft/kernels/small_kernels_256.inl"
#endif

}  // namespace
}  // namespace LV_NS

#define LV_SK_DEFINE(Dir, kSign, k)                                                                    \
  void LV_NAME(Fft##Dir##Order##k##NormalisedKernel)(const ComplexFloat32* src, ComplexFloat32* dst,    \
                                                     float scale) {                                     \
    LV_NS::Order##k<kSign, true>(src, dst, scale);                                                      \
  }                                                                                                     \
  void LV_NAME(Fft##Dir##Order##k##Kernel)(const ComplexFloat32* src, ComplexFloat32* dst,              \
                                           const FftSpecComplexFloat32*) {                              \
    LV_NS::Order##k<kSign, false>(src, dst, 1.0f);                                                      \
  }

LV_SK_DEFINE(Forward, -1, 2)
LV_SK_DEFINE(Forward, -1, 3)
LV_SK_DEFINE(Forward, -1, 4)
LV_SK_DEFINE(Forward, -1, 5)
LV_SK_DEFINE(Inverse, 1, 2)
LV_SK_DEFINE(Inverse, 1, 3)
LV_SK_DEFINE(Inverse, 1, 4)
LV_SK_DEFINE(Inverse, 1, 5)
#if LV_CLASS >= 4
LV_SK_DEFINE(Forward, -1, 6)
LV_SK_DEFINE(Inverse, 1, 6)
#define LV_SK_ORDER6(Dir, Kind) LV_NAME(Fft##Dir##Order6##Kind)
#else
#define LV_SK_ORDER6(Dir, Kind) nullptr
#endif

#undef LV_SK_DEFINE

// Order 0 of class 4 and order 1 of classes 4 and 7 are their own.
#if LV_CLASS == 4
static_assert(LV_NS::kRow.order0Class == LV_NS::kClass);
void LV_NAME(FftOrder0NormalisedKernel)(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  LV_NS::Order0Scaled(src, dst, scale);
}
#endif
#if LV_CLASS == 4 || LV_CLASS == 7
static_assert(LV_NS::kRow.order1Class == LV_NS::kClass);
void LV_NAME(FftOrder1NormalisedKernel)(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  LV_NS::Order1<true>(src, dst, scale);
}
void LV_NAME(FftOrder1Kernel)(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*) {
  LV_NS::Order1<false>(src, dst, 1.0f);
}
#endif

namespace LV_NS {
namespace {
constexpr FftNormalisedKernel kOrder0Normalised = kFftOrder0NormalisedKernelOf[kRow.order0Class];
constexpr FftNormalisedKernel kOrder1Normalised = kFftOrder1NormalisedKernelOf[kRow.order1Class];
constexpr FftPlainKernel kOrder1Plain = kFftOrder1KernelOf[kRow.order1Class];
static_assert(kFftHasOrder0Kernel[kRow.order0Class] && kFftHasOrder1Kernel[kRow.order1Class],
              "the class table names no order-0 or order-1 kernels");
}  // namespace
}  // namespace LV_NS

#define LV_SK_SET(Dir)                                                                                            \
  const FftSmallKernelSet LV_NAME(kFft##Dir##SmallKernels) = {                                                   \
      {LV_NS::kOrder0Normalised, LV_NS::kOrder1Normalised, LV_NAME(Fft##Dir##Order2NormalisedKernel),           \
       LV_NAME(Fft##Dir##Order3NormalisedKernel), LV_NAME(Fft##Dir##Order4NormalisedKernel),                    \
       LV_NAME(Fft##Dir##Order5NormalisedKernel), LV_SK_ORDER6(Dir, NormalisedKernel)},                          \
      {FftOrder0KernelSse2, LV_NS::kOrder1Plain, LV_NAME(Fft##Dir##Order2Kernel), LV_NAME(Fft##Dir##Order3Kernel), \
       LV_NAME(Fft##Dir##Order4Kernel), LV_NAME(Fft##Dir##Order5Kernel), LV_SK_ORDER6(Dir, Kernel)}};

LV_SK_SET(Forward)
LV_SK_SET(Inverse)

#undef LV_SK_SET
#undef LV_SK_ORDER6
#endif
