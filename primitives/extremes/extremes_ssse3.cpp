// Extremes, processor class 2 (Ssse3).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/extremes/extremes.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
constexpr int kClass = 2;
#include "primitives/extremes/extremes_kernels.inl"
}  // namespace
}  // namespace lv_ssse3

int32_t VectorMaxFloat32Ssse3(const float* src, int32_t n, float* result) {
  return lv_ssse3::ValueFloat32<true>(src, n, result);
}
int32_t VectorMinFloat32Ssse3(const float* src, int32_t n, float* result) {
  return lv_ssse3::ValueFloat32<false>(src, n, result);
}
int32_t VectorMaxFloat64Ssse3(const double* src, int32_t n, double* result) {
  return lv_ssse3::ValueFloat64<true>(src, n, result);
}
int32_t VectorMinFloat64Ssse3(const double* src, int32_t n, double* result) {
  return lv_ssse3::ValueFloat64<false>(src, n, result);
}
int32_t VectorMaxIndexFloat32Ssse3(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_ssse3::IndexFloat32<true>(src, n, value, index);
}
int32_t VectorMinIndexFloat32Ssse3(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_ssse3::IndexFloat32<false>(src, n, value, index);
}
