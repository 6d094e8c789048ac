// Scalar square roots of processor class 5 (Avx2).
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/sqrt/sqrt_kernels.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
struct SqrtClass {
  static constexpr int kClass = 5;
  static constexpr bool kVex = true;
};
using S = ::lv_sqrt::Sqrt<SqrtClass>;
}  // namespace
}  // namespace lv_avx2

double ScalarSqrtFloat64Avx2(double x) { return lv_avx2::S::F64(x); }
float ScalarSqrtFloat32Avx2(float x) { return lv_avx2::S::F32(x); }
