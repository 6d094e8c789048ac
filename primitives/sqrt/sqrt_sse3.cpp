// Scalar square roots of processor class 1 (Sse3).
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/sqrt/sqrt_kernels.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
namespace {
struct SqrtClass {
  static constexpr int kClass = 1;
  static constexpr bool kVex = false;
};
using S = ::lv_sqrt::Sqrt<SqrtClass>;
}  // namespace
}  // namespace lv_sse3

double ScalarSqrtFloat64Sse3(double x) { return lv_sse3::S::F64(x); }
