// Complex packing, processor class 0 (Sse2).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/complexpack/complexpack.h"
#include "cpu/dispatch.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {
constexpr int kClass = 0;
#include "primitives/complexpack/complexpack_body.inl"
}  // namespace
}  // namespace lv_sse2

int32_t VectorSplitComplexFloat32Sse2(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return lv_sse2::Split(src, dstRe, dstIm, n);
}

int32_t VectorRealPartComplexFloat32Sse2(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return lv_sse2::RealPart(src, dstRe, n);
}

int32_t VectorJoinComplexFloat32Sse2(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return lv_sse2::Join(srcRe, srcIm, dst, n);
}
