// The transform roads of the 256-bit classes with fused products (5 and 7),
// included inside each class's anonymous namespace. kSign: -1 forward, +1
// inverse; Medium: the class's medium kernel of the direction; Scale: the
// class's in-place scalar multiply; Large: the class's large-order driver of
// the direction (it scales each row itself).
using MediumKernelFn = void (*)(const ComplexFloat32*, ComplexFloat32*, uint64_t, const float*, const int32_t*,
                                uint8_t*);
using ScaleFn = int32_t (*)(float, float*, int32_t);
using LargeFn = void (*)(const FftSpecComplexFloat32*, const ComplexFloat32*, ComplexFloat32*, int32_t, uint8_t*);

// Orders up to this one take the small-order kernels, up to kLeafOrder the
// medium kernel, above it the large-order driver.
constexpr int32_t kSmallOrderLimit = 6;
constexpr int32_t kLeafOrder = 18;

template <int kSign, MediumKernelFn kMedium, ScaleFn kScale, LargeFn kLarge>
int32_t Transform(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                  uint8_t* workBuffer, const FftSmallKernelSet& small) {
  if (spec == nullptr) return StatusNullPointer;
  if (spec->identifier != kFftSpecIdentifier) return StatusFftBadSpec;
  if (src == nullptr || dst == nullptr) return StatusNullPointer;
  if (workBuffer == nullptr && spec->workBytes > 0) return StatusNullPointer;
  const int32_t order = spec->order;
  const bool scaled = (kSign < 0 ? spec->forwardScale : spec->inverseScale) != 0;
  if (order <= kSmallOrderLimit) {
    if (scaled) {
      small.normalised[order](src, dst, spec->scale);
    } else {
      small.plain[order](src, dst, spec);
    }
    return StatusOk;
  }
  uint8_t* work = nullptr;
  if (spec->workBytes > 0) {
    work = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(workBuffer) + 63) & ~uintptr_t{63});
  }
  if (order > kLeafOrder) {
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
