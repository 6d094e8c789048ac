// Scalar square roots of processor class 7 (Avx512).
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/sqrt/sqrt_kernels.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
struct SqrtClass {
  static constexpr int kClass = 7;
  static constexpr bool kVex = true;
};
using S = ::lv_sqrt::Sqrt<SqrtClass>;
}  // namespace
}  // namespace lv_avx512

double ScalarSqrtFloat64Avx512(double x) { return lv_avx512::S::F64(x); }
float ScalarSqrtFloat32Avx512(float x) { return lv_avx512::S::F32(x); }
