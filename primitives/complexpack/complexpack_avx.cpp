// Complex packing, processor class 4 (Avx).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/complexpack/complexpack.h"
#include "cpu/dispatch.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
constexpr int kClass = 4;
#include "primitives/complexpack/complexpack_body.inl"
}  // namespace
}  // namespace lv_avx

int32_t VectorSplitComplexFloat32Avx(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return lv_avx::Split(src, dstRe, dstIm, n);
}

int32_t VectorRealPartComplexFloat32Avx(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return lv_avx::RealPart(src, dstRe, n);
}

int32_t VectorJoinComplexFloat32Avx(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return lv_avx::Join(srcRe, srcIm, dst, n);
}
