// Complex packing, processor class 7 (Avx512).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/complexpack/complexpack.h"
#include "cpu/dispatch.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
constexpr int kClass = 7;
#include "primitives/complexpack/complexpack_body.inl"
}  // namespace
}  // namespace lv_avx512

int32_t VectorSplitComplexFloat32Avx512(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return lv_avx512::Split(src, dstRe, dstIm, n);
}

int32_t VectorRealPartComplexFloat32Avx512(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return lv_avx512::RealPart(src, dstRe, n);
}

int32_t VectorJoinComplexFloat32Avx512(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return lv_avx512::Join(srcRe, srcIm, dst, n);
}
