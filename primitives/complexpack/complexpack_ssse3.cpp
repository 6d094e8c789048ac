// Complex packing, processor class 2 (Ssse3).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/complexpack/complexpack.h"
#include "cpu/dispatch.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
constexpr int kClass = 2;
#include "primitives/complexpack/complexpack_body.inl"
}  // namespace
}  // namespace lv_ssse3

int32_t VectorSplitComplexFloat32Ssse3(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return lv_ssse3::Split(src, dstRe, dstIm, n);
}

int32_t VectorRealPartComplexFloat32Ssse3(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return lv_ssse3::RealPart(src, dstRe, n);
}

int32_t VectorJoinComplexFloat32Ssse3(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return lv_ssse3::Join(srcRe, srcIm, dst, n);
}
