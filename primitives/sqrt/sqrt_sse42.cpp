// Scalar square roots of processor class 3 (Sse42).
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/sqrt/sqrt_kernels.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
struct SqrtClass {
  static constexpr int kClass = 3;
  static constexpr bool kVex = false;
};
using S = ::lv_sqrt::Sqrt<SqrtClass>;
}  // namespace
}  // namespace lv_sse42

double ScalarSqrtFloat64Sse42(double x) { return lv_sse42::S::F64(x); }
