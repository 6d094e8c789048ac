// Extremes, processor class 4 (Avx).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/extremes/extremes.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
constexpr int kClass = 4;
#include "primitives/extremes/extremes_kernels.inl"
}  // namespace
}  // namespace lv_avx

int32_t VectorMaxFloat32Avx(const float* src, int32_t n, float* result) {
  return lv_avx::ValueFloat32<true>(src, n, result);
}
int32_t VectorMinFloat32Avx(const float* src, int32_t n, float* result) {
  return lv_avx::ValueFloat32<false>(src, n, result);
}
int32_t VectorMaxFloat64Avx(const double* src, int32_t n, double* result) {
  return lv_avx::ValueFloat64<true>(src, n, result);
}
int32_t VectorMinFloat64Avx(const double* src, int32_t n, double* result) {
  return lv_avx::ValueFloat64<false>(src, n, result);
}
int32_t VectorMaxIndexFloat32Avx(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_avx::IndexFloat32<true>(src, n, value, index);
}
int32_t VectorMinIndexFloat32Avx(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_avx::IndexFloat32<false>(src, n, value, index);
}
