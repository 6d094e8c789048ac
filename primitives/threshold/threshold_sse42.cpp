// Thresholds, processor class 3 (Sse42).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/threshold/threshold.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
constexpr int kClass = 3;
#include "primitives/threshold/threshold_body.inl"
}  // namespace
}  // namespace lv_sse42

int32_t VectorThresholdLessInt32Sse42(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_sse42::Int32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterInt32Sse42(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_sse42::Int32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat32Sse42(const float* src, float* dst, int32_t n, float level) {
  return lv_sse42::Float32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterFloat32Sse42(const float* src, float* dst, int32_t n, float level) {
  return lv_sse42::Float32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat64Sse42(const double* src, double* dst, int32_t n, double level) {
  return lv_sse42::ByCodeFloat64(src, dst, n, level, CompareLess);
}
int32_t VectorThresholdGreaterFloat64Sse42(const double* src, double* dst, int32_t n, double level) {
  return lv_sse42::ByCodeFloat64(src, dst, n, level, CompareGreater);
}
int32_t ThresholdByCodeFloat64Sse42(const double* src, double* dst, int32_t n, double level, int32_t code) {
  return lv_sse42::ByCodeFloat64(src, dst, n, level, code);
}
int32_t ThresholdByCodeFloat32Sse42(const float* src, float* dst, int32_t n, float level, int32_t code) {
  return lv_sse42::ByCodeFloat32(src, dst, n, level, code);
}
