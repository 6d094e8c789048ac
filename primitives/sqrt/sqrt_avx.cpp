// Scalar square roots of processor class 4 (Avx).
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/sqrt/sqrt_kernels.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
struct SqrtClass {
  static constexpr int kClass = 4;
  static constexpr bool kVex = true;
};
using S = ::lv_sqrt::Sqrt<SqrtClass>;
}  // namespace
}  // namespace lv_avx

double ScalarSqrtFloat64Avx(double x) { return lv_avx::S::F64(x); }
