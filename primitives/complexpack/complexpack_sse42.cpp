// Complex packing, processor class 3 (Sse42).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/complexpack/complexpack.h"
#include "cpu/dispatch.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
constexpr int kClass = 3;
#include "primitives/complexpack/complexpack_body.inl"
}  // namespace
}  // namespace lv_sse42

int32_t VectorSplitComplexFloat32Sse42(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return lv_sse42::Split(src, dstRe, dstIm, n);
}

int32_t VectorRealPartComplexFloat32Sse42(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return lv_sse42::RealPart(src, dstRe, n);
}

int32_t VectorJoinComplexFloat32Sse42(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return lv_sse42::Join(srcRe, srcIm, dst, n);
}
