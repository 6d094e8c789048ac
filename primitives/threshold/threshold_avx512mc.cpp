// Thresholds, processor class 6 (Avx512ManyCore).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "cpu/dispatch.h"
#include "primitives/threshold/threshold.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
constexpr int kClass = 6;
#include "primitives/threshold/threshold_body.inl"
}  // namespace
}  // namespace lv_avx512mc

int32_t VectorThresholdLessInt32Avx512ManyCore(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_avx512mc::Int32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterInt32Avx512ManyCore(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return lv_avx512mc::Int32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat32Avx512ManyCore(const float* src, float* dst, int32_t n, float level) {
  return lv_avx512mc::Float32<true>(src, dst, n, level);
}
int32_t VectorThresholdGreaterFloat32Avx512ManyCore(const float* src, float* dst, int32_t n, float level) {
  return lv_avx512mc::Float32<false>(src, dst, n, level);
}
int32_t VectorThresholdLessFloat64Avx512ManyCore(const double* src, double* dst, int32_t n, double level) {
  return lv_avx512mc::ByCodeFloat64(src, dst, n, level, CompareLess);
}
int32_t VectorThresholdGreaterFloat64Avx512ManyCore(const double* src, double* dst, int32_t n, double level) {
  return lv_avx512mc::ByCodeFloat64(src, dst, n, level, CompareGreater);
}
int32_t ThresholdByCodeFloat64Avx512ManyCore(const double* src, double* dst, int32_t n, double level, int32_t code) {
  return lv_avx512mc::ByCodeFloat64(src, dst, n, level, code);
}
