// The forward and inverse transforms of class 0 (included by
// transform_body.inl), orders 0 to 27, in scalar single-precision arithmetic,
// each product rounded before it is added. Roads by order (limits from the
// class table):
// - 0 to 5: one straight-line kernel per order and direction (plain or
//   normalising), no tables;
// - 6 to 10: scalar bit reversal through the pairs-format swap list, then the
//   radix-4 stages with the twiddle triples of the order, then the scaling;
// - 11 to 27: the large-order driver (fft/drivers/large_order.h).
// The forward and inverse twins share one body: the inverse multiplies by the
// conjugate of each stored twiddle and turns by +j where the forward turns by
// -j, so inverse(x) is, float for float, conj(forward(conj(x))).
// Every output value is scaled exactly once: inside the small kernels, after
// the medium road, or on each leaf (row or 1024-point block) of the driver.

namespace LV_NS {
namespace {

constexpr FftClassRow kRow = kFftClasses[kClass];
using Cx = ComplexFloat32;

template <typename T>
T* AlignUp(T* p) {
  return reinterpret_cast<T*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
}

template <bool Inv>
int32_t Transform(const Cx* src, Cx* dst, const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  if (spec == nullptr) {
    return StatusNullPointer;
  }
  if (spec->identifier != kFftSpecIdentifier) {
    return StatusFftBadSpec;
  }
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (workBuffer == nullptr && spec->workBytes > 0) {
    return StatusNullPointer;
  }
  const int32_t order = spec->order;
  const bool scaled = (Inv ? spec->inverseScale : spec->forwardScale) != 0;
  if (order <= kRow.smallOrderLimit) {
    if (scaled) {
      (Inv ? kFftInverseNormalisedKernelsSse2 : kFftForwardNormalisedKernelsSse2)[order](src, dst, spec->scale);
    } else {
      (Inv ? kFftInversePlainKernelsSse2 : kFftForwardPlainKernelsSse2)[order](src, dst, spec);
    }
    return StatusOk;
  }
  Cx* work = (workBuffer != nullptr && spec->workBytes > 0) ? reinterpret_cast<Cx*>(AlignUp(workBuffer)) : nullptr;
  const int32_t points = int32_t{1} << order;
  if (order <= kRow.leafLimit) {
    const int32_t* list = static_cast<const int32_t*>(spec->swapList);
    if (src == dst) {
      BitReverseInPlaceScalarSse2(dst, points, list);
    } else {
      BitReverseCopyScalarSse2(src, dst, points, list);
    }
    (Inv ? FftInverseRadix4StagesSse2 : FftForwardRadix4StagesSse2)(dst, points,
                                                                  static_cast<const float*>(spec->twiddles));
    if (scaled) {
      LV_NAME(VectorMultiplyScalarInPlaceFloat32)(spec->scale, reinterpret_cast<float*>(dst), 2 * points);
    }
    return StatusOk;
  }
  (Inv ? FftInverseLargeOrderSse2 : FftForwardLargeOrderSse2)(spec, src, dst, order, work);
  return StatusOk;
}

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(FftForwardComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<false>(src, dst, spec, workBuffer);
}

int32_t LV_NAME(FftInverseComplexFloat32)(const ComplexFloat32* src, ComplexFloat32* dst,
                                          const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  return LV_NS::Transform<true>(src, dst, spec, workBuffer);
}
