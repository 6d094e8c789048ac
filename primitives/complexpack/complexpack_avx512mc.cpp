// Complex packing, processor class 6 (Avx512ManyCore).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/complexpack/complexpack.h"
#include "cpu/dispatch.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
constexpr int kClass = 6;
#include "primitives/complexpack/complexpack_body.inl"
}  // namespace
}  // namespace lv_avx512mc

int32_t VectorSplitComplexFloat32Avx512ManyCore(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return lv_avx512mc::Split(src, dstRe, dstIm, n);
}

int32_t VectorRealPartComplexFloat32Avx512ManyCore(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return lv_avx512mc::RealPart(src, dstRe, n);
}

int32_t VectorJoinComplexFloat32Avx512ManyCore(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return lv_avx512mc::Join(srcRe, srcIm, dst, n);
}
