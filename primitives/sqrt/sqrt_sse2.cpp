// Scalar square roots of processor class 0 (Sse2).
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/sqrt/sqrt_kernels.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {
struct SqrtClass {
  static constexpr int kClass = 0;
  static constexpr bool kVex = false;
};
using S = ::lv_sqrt::Sqrt<SqrtClass>;
}  // namespace
}  // namespace lv_sse2

double ScalarSqrtFloat64Sse2(double x) { return lv_sse2::S::F64Halves(x); }
float ScalarSqrtFloat32Sse2(float x) { return lv_sse2::S::F32(x); }
