// Extremes, processor class 5 (Avx2).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/extremes/extremes.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
constexpr int kClass = 5;
#include "primitives/extremes/extremes_kernels.inl"
}  // namespace
}  // namespace lv_avx2

int32_t VectorMaxFloat32Avx2(const float* src, int32_t n, float* result) {
  return lv_avx2::ValueFloat32<true>(src, n, result);
}
int32_t VectorMinFloat32Avx2(const float* src, int32_t n, float* result) {
  return lv_avx2::ValueFloat32<false>(src, n, result);
}
int32_t VectorMaxFloat64Avx2(const double* src, int32_t n, double* result) {
  return lv_avx2::ValueFloat64<true>(src, n, result);
}
int32_t VectorMinFloat64Avx2(const double* src, int32_t n, double* result) {
  return lv_avx2::ValueFloat64<false>(src, n, result);
}
int32_t VectorMaxIndexFloat32Avx2(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_avx2::IndexFloat32<true>(src, n, value, index);
}
int32_t VectorMinIndexFloat32Avx2(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_avx2::IndexFloat32<false>(src, n, value, index);
}
