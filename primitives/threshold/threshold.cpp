// Entry points and dispatch tables of the thresholds.
#include "primitives/threshold/threshold.h"

#include "cpu/dispatch.h"

namespace {

using Int32Fn = int32_t (*)(const int32_t*, int32_t*, int32_t, int32_t);
using Float32Fn = int32_t (*)(const float*, float*, int32_t, float);
using Float64Fn = int32_t (*)(const double*, double*, int32_t, double);

#define LV_THRESHOLD_TABLE(table, FnType, Name)                                                             \
  LV_DISPATCH_TABLE(table, FnType, &Name##Sse2, &Name##Sse3, &Name##Ssse3, &Name##Sse42, &Name##Avx, &Name##Avx2, \
                    &Name##Avx512ManyCore, &Name##Avx512)

LV_THRESHOLD_TABLE(kLessInt32Table, Int32Fn, VectorThresholdLessInt32);
LV_THRESHOLD_TABLE(kGreaterInt32Table, Int32Fn, VectorThresholdGreaterInt32);
LV_THRESHOLD_TABLE(kLessFloat32Table, Float32Fn, VectorThresholdLessFloat32);
LV_THRESHOLD_TABLE(kGreaterFloat32Table, Float32Fn, VectorThresholdGreaterFloat32);
LV_THRESHOLD_TABLE(kLessFloat64Table, Float64Fn, VectorThresholdLessFloat64);
LV_THRESHOLD_TABLE(kGreaterFloat64Table, Float64Fn, VectorThresholdGreaterFloat64);

}  // namespace

int32_t VectorThresholdLessInt32(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return kLessInt32Table(src, dst, n, level);
}
int32_t VectorThresholdGreaterInt32(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return kGreaterInt32Table(src, dst, n, level);
}
int32_t VectorThresholdLessFloat32(const float* src, float* dst, int32_t n, float level) {
  return kLessFloat32Table(src, dst, n, level);
}
int32_t VectorThresholdGreaterFloat32(const float* src, float* dst, int32_t n, float level) {
  return kGreaterFloat32Table(src, dst, n, level);
}
int32_t VectorThresholdLessFloat64(const double* src, double* dst, int32_t n, double level) {
  return kLessFloat64Table(src, dst, n, level);
}
int32_t VectorThresholdGreaterFloat64(const double* src, double* dst, int32_t n, double level) {
  return kGreaterFloat64Table(src, dst, n, level);
}
