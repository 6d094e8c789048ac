// Entry points and dispatch tables of the thresholds.
#include "primitives/threshold/threshold.h"

#include "cpu/dispatch.h"
#include "primitives/threshold/threshold_classes.h"

namespace {

using Int32Fn = int32_t (*)(const int32_t*, int32_t*, int32_t, int32_t);
using Float32Fn = int32_t (*)(const float*, float*, int32_t, float);
using Float64Fn = int32_t (*)(const double*, double*, int32_t, double);

LV_DISPATCH_TABLE_OF(kLessInt32Table, Int32Fn, VectorThresholdLessInt32);
LV_DISPATCH_TABLE_OF(kGreaterInt32Table, Int32Fn, VectorThresholdGreaterInt32);
LV_DISPATCH_TABLE_OF(kLessFloat32Table, Float32Fn, VectorThresholdLessFloat32);
LV_DISPATCH_TABLE_OF(kGreaterFloat32Table, Float32Fn, VectorThresholdGreaterFloat32);
LV_DISPATCH_TABLE_OF(kLessFloat64Table, Float64Fn, VectorThresholdLessFloat64);
LV_DISPATCH_TABLE_OF(kGreaterFloat64Table, Float64Fn, VectorThresholdGreaterFloat64);

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
