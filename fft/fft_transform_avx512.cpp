// Forward and inverse transforms of class 7 (Avx512), orders 0 to 28.
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

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
#include "fft/fft_roads_avx.inl"
}  // namespace
}  // namespace lv_avx512

int32_t FftForwardComplexFloat32Avx512(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                    uint8_t* workBuffer) {
  return lv_avx512::Transform<-1, FftForwardMediumKernelAvx512, VectorMultiplyScalarInPlaceFloat32Avx512,
                               FftForwardLargeOrderAvx512>(
      src, dst, spec, workBuffer, kFftForwardSmallKernelsAvx512);
}

int32_t FftInverseComplexFloat32Avx512(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                    uint8_t* workBuffer) {
  return lv_avx512::Transform<1, FftInverseMediumKernelAvx512, VectorMultiplyScalarInPlaceFloat32Avx512,
                               FftInverseLargeOrderAvx512>(
      src, dst, spec, workBuffer, kFftInverseSmallKernelsAvx512);
}
