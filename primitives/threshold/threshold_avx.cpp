// Thresholds, processor class 4 (Avx).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/threshold/threshold.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
constexpr int kClass = 4;
#include "primitives/threshold/threshold_body.inl"
}  // namespace
}  // namespace lv_avx

int32_t VectorThresholdLessInt32Avx(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_avx::Int32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterInt32Avx(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_avx::Int32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat32Avx(const float* src, float* dst, int32_t n, float level) {
  return lv_avx::Float32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterFloat32Avx(const float* src, float* dst, int32_t n, float level) {
  return lv_avx::Float32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat64Avx(const double* src, double* dst, int32_t n, double level) {
  return lv_avx::ByCodeFloat64(src, dst, n, level, CompareLess);
}
int32_t VectorThresholdGreaterFloat64Avx(const double* src, double* dst, int32_t n, double level) {
  return lv_avx::ByCodeFloat64(src, dst, n, level, CompareGreater);
}
int32_t ThresholdByCodeFloat64Avx(const double* src, double* dst, int32_t n, double level, int32_t code) {
  return lv_avx::ByCodeFloat64(src, dst, n, level, code);
}
