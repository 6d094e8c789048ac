// Forward and inverse transforms of class 5 (Avx2), orders 0 to 28.
#include <cstdint>

#include "fft/butterfly.h"
#include "fft/fft.h"
#include "fft/fft_spec.h"
#include "fft/fft_transforms.h"
#include "fft/large_order.h"
#include "fft/small_kernels.h"
#include "cpu/isa_class.h"
#include "primitives/arith/arith_classes.h"
#include "cpu/dispatch.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
#include "fft/fft_roads_avx.inl"
}  // namespace
}  // namespace lv_avx2

int32_t FftForwardComplexFloat32Avx2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                    uint8_t* workBuffer) {
  return lv_avx2::Transform<-1, FftForwardMediumKernelAvx2, VectorMultiplyScalarInPlaceFloat32Avx2,
                               FftForwardLargeOrderAvx2>(
      src, dst, spec, workBuffer, kFftForwardSmallKernelsAvx2);
}

int32_t FftInverseComplexFloat32Avx2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                    uint8_t* workBuffer) {
  return lv_avx2::Transform<1, FftInverseMediumKernelAvx2, VectorMultiplyScalarInPlaceFloat32Avx2,
                               FftInverseLargeOrderAvx2>(
      src, dst, spec, workBuffer, kFftInverseSmallKernelsAvx2);
}
