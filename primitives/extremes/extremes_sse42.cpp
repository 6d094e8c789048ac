// Extremes, processor class 3 (Sse42).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/extremes/extremes.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
constexpr int kClass = 3;
#include "primitives/extremes/extremes_kernels.inl"
}  // namespace
}  // namespace lv_sse42

int32_t VectorMaxFloat32Sse42(const float* src, int32_t n, float* result) {
  return lv_sse42::ValueFloat32<true>(src, n, result);
}
int32_t VectorMinFloat32Sse42(const float* src, int32_t n, float* result) {
  return lv_sse42::ValueFloat32<false>(src, n, result);
}
int32_t VectorMaxFloat64Sse42(const double* src, int32_t n, double* result) {
  return lv_sse42::ValueFloat64<true>(src, n, result);
}
int32_t VectorMinFloat64Sse42(const double* src, int32_t n, double* result) {
  return lv_sse42::ValueFloat64<false>(src, n, result);
}
int32_t VectorMaxIndexFloat32Sse42(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_sse42::IndexFloat32<true>(src, n, value, index);
}
int32_t VectorMinIndexFloat32Sse42(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_sse42::IndexFloat32<false>(src, n, value, index);
}
