// The forward and inverse transforms of the vector classes whose transforms
// are wired (classes 5, 6 and 7; included by transform_body.inl), for an FFT
// plan built by the same class. Roads by order (limits from the class table):
// on class 6 orders up to manyCoreLimit by the many-core road on its own plan
// (fft/manycore/many_core.h); small orders by the class's small-order kernels
// (normalising when the direction is scaled), medium orders by the medium
// butterfly kernel followed by the scaling, large orders by the large-order
// driver (which scales each row itself).

namespace LV_NS {
namespace {

constexpr FftClassRow kRow = kFftClasses[kClass];
static_assert(FftTransformsWired(kClass), "the class table does not wire this class's transforms");

// kSign: -1 forward, +1 inverse; Medium: the class's medium kernel of the
// direction; Scale: the class's in-place scalar multiply; Large: the class's
// large-order driver of the direction.
using MediumKernelFn = void (*)(const ComplexFloat32*, ComplexFloat32*, uint64_t, const float*, const int32_t*,
                                uint8_t*);
using ScaleFn = int32_t (*)(float, float*, int32_t);
using LargeFn = void (*)(const FftSpecComplexFloat32*, const ComplexFloat32*, ComplexFloat32*, int32_t, uint8_t*);
using ManyCoreFn = int32_t (*)(const ComplexFloat32*, ComplexFloat32*, const FftSpecComplexFloat32*, uint8_t*);

// kManyCore: the class's many-core road of the direction (null: none).
template <int kSign, MediumKernelFn kMedium, ScaleFn kScale, LargeFn kLarge, ManyCoreFn kManyCore = nullptr>
int32_t Transform(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                  uint8_t* workBuffer, const FftSmallKernelSet* small) {
  if (spec == nullptr) return StatusNullPointer;
  if (spec->identifier != kFftSpecIdentifier) return StatusFftBadSpec;
  if (src == nullptr || dst == nullptr) return StatusNullPointer;
  if (workBuffer == nullptr && spec->workBytes > 0) return StatusNullPointer;
  const int32_t order = spec->order;
  if constexpr (kManyCore != nullptr) {
    static_assert(kRow.manyCoreLimit >= kRow.smallOrderLimit, "the many-core road covers the small orders");
    if (order <= kRow.manyCoreLimit) return kManyCore(src, dst, spec, workBuffer);
  }
  const bool scaled = (kSign < 0 ? spec->forwardScale : spec->inverseScale) != 0;
  if constexpr (kManyCore == nullptr) {
    if (order <= kRow.smallOrderLimit) {
      if (scaled) {
        small->normalised[order](src, dst, spec->scale);
      } else {
        small->plain[order](src, dst, spec);
      }
      return StatusOk;
    }
  }
  uint8_t* work = nullptr;
  if (spec->workBytes > 0) {
    work = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(workBuffer) + 63) & ~uintptr_t{63});
  }
  if (order > kRow.leafLimit) {
    kLarge(spec, src, dst, order, work);
    return StatusOk;
  }
  const uint64_t n = uint64_t{1} << order;
  kMedium(src, dst, n, static_cast<const float*>(spec->twiddles), static_cast<const int32_t*>(spec->swapList), work);
  if (scaled) {
    kScale(spec->scale, &dst->re, static_cast<int32_t>(2 * n));
  }
  return StatusOk;
}

}  // namespace
}  // namespace LV_NS

#if LV_CLASS == 6
int32_t LV_NAME(FftForwardComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<-1, LV_NAME(FftForwardMediumKernel), LV_NAME(VectorMultiplyScalarInPlaceFloat32),
                          LV_NAME(FftForwardLargeOrder), FftForwardManyCoreSpec>(src, dst, spec, workBuffer, nullptr);
}

int32_t LV_NAME(FftInverseComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<1, LV_NAME(FftInverseMediumKernel), LV_NAME(VectorMultiplyScalarInPlaceFloat32),
                          LV_NAME(FftInverseLargeOrder), FftInverseManyCoreSpec>(src, dst, spec, workBuffer, nullptr);
}
#else
int32_t LV_NAME(FftForwardComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<-1, LV_NAME(FftForwardMediumKernel), LV_NAME(VectorMultiplyScalarInPlaceFloat32),
                          LV_NAME(FftForwardLargeOrder)>(src, dst, spec, workBuffer, &LV_NAME(kFftForwardSmallKernels));
}

int32_t LV_NAME(FftInverseComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<1, LV_NAME(FftInverseMediumKernel), LV_NAME(VectorMultiplyScalarInPlaceFloat32),
                          LV_NAME(FftInverseLargeOrder)>(src, dst, spec, workBuffer, &LV_NAME(kFftInverseSmallKernels));
}
#endif
