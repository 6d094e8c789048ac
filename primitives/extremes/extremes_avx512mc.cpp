// Extremes, processor class 6 (Avx512ManyCore).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/extremes/extremes.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
constexpr int kClass = 6;
#include "primitives/extremes/extremes_kernels.inl"
}  // namespace
}  // namespace lv_avx512mc

int32_t VectorMaxFloat32Avx512ManyCore(const float* src, int32_t n, float* result) {
  return lv_avx512mc::ValueFloat32<true>(src, n, result);
}
int32_t VectorMinFloat32Avx512ManyCore(const float* src, int32_t n, float* result) {
  return lv_avx512mc::ValueFloat32<false>(src, n, result);
}
int32_t VectorMaxFloat64Avx512ManyCore(const double* src, int32_t n, double* result) {
  return lv_avx512mc::ValueFloat64<true>(src, n, result);
}
int32_t VectorMinFloat64Avx512ManyCore(const double* src, int32_t n, double* result) {
  return lv_avx512mc::ValueFloat64<false>(src, n, result);
}
int32_t VectorMaxIndexFloat32Avx512ManyCore(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_avx512mc::IndexFloat32<true>(src, n, value, index);
}
int32_t VectorMinIndexFloat32Avx512ManyCore(const float* src, int32_t n, float* value, int32_t* index) {
  return lv_avx512mc::IndexFloat32<false>(src, n, value, index);
}
