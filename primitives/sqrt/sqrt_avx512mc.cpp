// Scalar square roots of processor class 6 (Avx512ManyCore).
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/sqrt/sqrt_kernels.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
struct SqrtClass {
  static constexpr int kClass = 6;
  static constexpr bool kVex = true;
};
using S = ::lv_sqrt::Sqrt<SqrtClass>;
}  // namespace
}  // namespace lv_avx512mc

double ScalarSqrtFloat64Avx512ManyCore(double x) { return lv_avx512mc::S::F64(x); }
float ScalarSqrtFloat32Avx512ManyCore(float x) { return lv_avx512mc::S::F32(x); }
