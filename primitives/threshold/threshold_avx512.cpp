// Thresholds, processor class 7 (Avx512).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/threshold/threshold.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
constexpr int kClass = 7;
#include "primitives/threshold/threshold_body.inl"
}  // namespace
}  // namespace lv_avx512

int32_t VectorThresholdLessInt32Avx512(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_avx512::Int32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterInt32Avx512(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_avx512::Int32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat32Avx512(const float* src, float* dst, int32_t n, float level) {
  return lv_avx512::Float32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterFloat32Avx512(const float* src, float* dst, int32_t n, float level) {
  return lv_avx512::Float32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat64Avx512(const double* src, double* dst, int32_t n, double level) {
  return lv_avx512::ByCodeFloat64(src, dst, n, level, CompareLess);
}
int32_t VectorThresholdGreaterFloat64Avx512(const double* src, double* dst, int32_t n, double level) {
  return lv_avx512::ByCodeFloat64(src, dst, n, level, CompareGreater);
}
int32_t ThresholdByCodeFloat64Avx512(const double* src, double* dst, int32_t n, double level, int32_t code) {
  return lv_avx512::ByCodeFloat64(src, dst, n, level, code);
}
