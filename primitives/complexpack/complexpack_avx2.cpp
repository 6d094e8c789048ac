// Complex packing, processor class 5 (Avx2).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/complexpack/complexpack.h"
#include "cpu/dispatch.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
constexpr int kClass = 5;
#include "primitives/complexpack/complexpack_body.inl"
}  // namespace
}  // namespace lv_avx2

int32_t VectorSplitComplexFloat32Avx2(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return lv_avx2::Split(src, dstRe, dstIm, n);
}

int32_t VectorRealPartComplexFloat32Avx2(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return lv_avx2::RealPart(src, dstRe, n);
}

int32_t VectorJoinComplexFloat32Avx2(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return lv_avx2::Join(srcRe, srcIm, dst, n);
}
