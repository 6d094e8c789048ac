// Extremes, processor class 7 (Avx512).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/extremes/extremes.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
constexpr int kClass = 7;
#include "primitives/extremes/extremes_kernels.inl"
}  // namespace
}  // namespace lv_avx512

int32_t VectorMaxFloat32Avx512(const float* src, int32_t n, float* result) {
  return lv_avx512::ValueFloat32<true>(src, n, result);
}
int32_t VectorMinFloat32Avx512(const float* src, int32_t n, float* result) {
  return lv_avx512::ValueFloat32<false>(src, n, result);
}
int32_t VectorMaxFloat64Avx512(const double* src, int32_t n, double* result) {
  return lv_avx512::ValueFloat64<true>(src, n, result);
}
int32_t VectorMinFloat64Avx512(const double* src, int32_t n, double* result) {
  return lv_avx512::ValueFloat64<false>(src, n, result);
}
int32_t VectorMaxIndexFloat32Avx512(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_avx512::IndexFloat32<true>(src, n, value, index);
}
int32_t VectorMinIndexFloat32Avx512(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_avx512::IndexFloat32<false>(src, n, value, index);
}
