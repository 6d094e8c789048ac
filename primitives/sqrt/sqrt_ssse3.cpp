// Scalar square roots of processor class 2 (Ssse3).
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/sqrt/sqrt_kernels.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
struct SqrtClass {
  static constexpr int kClass = 2;
  static constexpr bool kVex = false;
};
using S = ::lv_sqrt::Sqrt<SqrtClass>;
}  // namespace
}  // namespace lv_ssse3

double ScalarSqrtFloat64Ssse3(double x) { return lv_ssse3::S::F64(x); }
