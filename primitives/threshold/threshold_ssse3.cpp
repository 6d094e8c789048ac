// Thresholds, processor class 2 (Ssse3).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/threshold/threshold.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
constexpr int kClass = 2;
#include "primitives/threshold/threshold_body.inl"
}  // namespace
}  // namespace lv_ssse3

int32_t VectorThresholdLessInt32Ssse3(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_ssse3::Int32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterInt32Ssse3(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_ssse3::Int32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat32Ssse3(const float* src, float* dst, int32_t n, float level) {
  return lv_ssse3::Float32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterFloat32Ssse3(const float* src, float* dst, int32_t n, float level) {
  return lv_ssse3::Float32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat64Ssse3(const double* src, double* dst, int32_t n, double level) {
  return lv_ssse3::ByCodeFloat64(src, dst, n, level, CompareLess);
}
int32_t VectorThresholdGreaterFloat64Ssse3(const double* src, double* dst, int32_t n, double level) {
  return lv_ssse3::ByCodeFloat64(src, dst, n, level, CompareGreater);
}
int32_t ThresholdByCodeFloat64Ssse3(const double* src, double* dst, int32_t n, double level, int32_t code) {
  return lv_ssse3::ByCodeFloat64(src, dst, n, level, code);
}
int32_t ThresholdByCodeFloat32Ssse3(const float* src, float* dst, int32_t n, float level, int32_t code) {
  return lv_ssse3::ByCodeFloat32(src, dst, n, level, code);
}
