// The forward and inverse transforms of the vector classes whose transforms
// are wired (included by transform_body.inl), for an FFT plan built by the
// same class. Roads by order (limits from the class table): on class 6 orders
// up to manyCoreLimit by the many-core road on its own plan
// (fft/manycore/many_core.h); small orders by the class's small-order kernels
// (normalising when the direction is scaled), medium orders by the medium
// butterfly kernel (classes 1 and 2 at their inPlaceOrder: bit reversal, then
// the in-place kernel leaving pairs) followed by the scaling, large orders by
// the large-order driver (which scales each row itself).

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
using InPlaceKernelFn = void (*)(ComplexFloat32*, uint64_t, const float*, uint8_t*, int32_t);
using ReverseInPlaceFn = void (*)(ComplexFloat32*, int32_t, const int32_t*);
using ReverseCopyFn = void (*)(const ComplexFloat32*, ComplexFloat32*, int32_t, const int32_t*);
using ManyCoreFn = int32_t (*)(const ComplexFloat32*, ComplexFloat32*, const FftSpecComplexFloat32*, uint8_t*);

// The in-place road of a class whose row names one (null elsewhere).
struct InPlaceRoad {
  InPlaceKernelFn kernel;
  ReverseInPlaceFn reverseInPlace;
  ReverseCopyFn reverseCopy;
};

// kManyCore: the class's many-core road of the direction, given exactly when the
// class table gives the class a many-core limit (the small-order kernels are
// then not used and small may be null).
template <int kSign, MediumKernelFn kMedium, ScaleFn kScale, LargeFn kLarge, ManyCoreFn kManyCore = nullptr>
int32_t Transform(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                  uint8_t* workBuffer, const FftSmallKernelSet* small, const InPlaceRoad& inPlace) {
  if (spec == nullptr) return StatusNullPointer;
  if (spec->identifier != kFftSpecIdentifier) return StatusFftBadSpec;
  if (src == nullptr || dst == nullptr) return StatusNullPointer;
  if (workBuffer == nullptr && spec->workBytes > 0) return StatusNullPointer;
  const int32_t order = spec->order;
  if constexpr (kRow.manyCoreLimit >= 0) {
    static_assert(kRow.manyCoreLimit < 0 || kRow.manyCoreLimit >= kRow.smallOrderLimit,
                  "the many-core road covers the small orders");
    if (order <= kRow.manyCoreLimit) return kManyCore(src, dst, spec, workBuffer);
  }
  const bool scaled = (kSign < 0 ? spec->forwardScale : spec->inverseScale) != 0;
  if constexpr (kRow.manyCoreLimit < 0) {
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
  const auto* twiddles = static_cast<const float*>(spec->twiddles);
  const auto* list = static_cast<const int32_t*>(spec->swapList);
  if (kRow.inPlaceOrder >= 0 && order == kRow.inPlaceOrder) {
    if (src == dst) {
      inPlace.reverseInPlace(dst, static_cast<int32_t>(n), list);
    } else {
      inPlace.reverseCopy(src, dst, static_cast<int32_t>(n), list);
    }
    inPlace.kernel(dst, n, twiddles, work, 1);
  } else {
    kMedium(src, dst, n, twiddles, list, work);
  }
  if (scaled) {
    kScale(spec->scale, &dst->re, static_cast<int32_t>(2 * n));
  }
  return StatusOk;
}

}  // namespace
}  // namespace LV_NS

#if LV_CLASS <= 2
static_assert(LV_NS::kRow.inPlaceOrder > LV_NS::kRow.smallOrderLimit &&
              LV_NS::kRow.inPlaceOrder <= LV_NS::kRow.leafLimit);
#define LV_FFT_IN_PLACE_ROAD(Dir) \
  LV_NS::InPlaceRoad { LV_NAME(Fft##Dir##InPlaceKernel), LV_NAME(BitReverseInPlace), LV_NAME(BitReverseCopy) }
#else
static_assert(LV_NS::kRow.inPlaceOrder < 0);
#define LV_FFT_IN_PLACE_ROAD(Dir) \
  LV_NS::InPlaceRoad { nullptr, nullptr, nullptr }
#endif

#if LV_CLASS == 6
int32_t LV_NAME(FftForwardComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<-1, LV_NAME(FftForwardMediumKernel), LV_NAME(VectorMultiplyScalarInPlaceFloat32),
                          LV_NAME(FftForwardLargeOrder), FftForwardManyCoreSpec>(src, dst, spec, workBuffer, nullptr,
                                                                                 LV_FFT_IN_PLACE_ROAD(Forward));
}

int32_t LV_NAME(FftInverseComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<1, LV_NAME(FftInverseMediumKernel), LV_NAME(VectorMultiplyScalarInPlaceFloat32),
                          LV_NAME(FftInverseLargeOrder), FftInverseManyCoreSpec>(src, dst, spec, workBuffer, nullptr,
                                                                                 LV_FFT_IN_PLACE_ROAD(Inverse));
}
#else
int32_t LV_NAME(FftForwardComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<-1, LV_NAME(FftForwardMediumKernel), LV_NAME(VectorMultiplyScalarInPlaceFloat32),
                          LV_NAME(FftForwardLargeOrder)>(src, dst, spec, workBuffer, &LV_NAME(kFftForwardSmallKernels),
                                                         LV_FFT_IN_PLACE_ROAD(Forward));
}

int32_t LV_NAME(FftInverseComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<1, LV_NAME(FftInverseMediumKernel), LV_NAME(VectorMultiplyScalarInPlaceFloat32),
                          LV_NAME(FftInverseLargeOrder)>(src, dst, spec, workBuffer, &LV_NAME(kFftInverseSmallKernels),
                                                         LV_FFT_IN_PLACE_ROAD(Inverse));
}
#endif

#undef LV_FFT_IN_PLACE_ROAD
