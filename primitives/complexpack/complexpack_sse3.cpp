// Complex packing, processor class 1 (Sse3).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/complexpack/complexpack.h"
#include "cpu/dispatch.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
namespace {
constexpr int kClass = 1;
#include "primitives/complexpack/complexpack_body.inl"
}  // namespace
}  // namespace lv_sse3

int32_t VectorSplitComplexFloat32Sse3(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return lv_sse3::Split(src, dstRe, dstIm, n);
}

int32_t VectorRealPartComplexFloat32Sse3(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return lv_sse3::RealPart(src, dstRe, n);
}

int32_t VectorJoinComplexFloat32Sse3(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return lv_sse3::Join(srcRe, srcIm, dst, n);
}
