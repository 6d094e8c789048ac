// Scalar and element-wise arithmetic of processor class 2 (Ssse3).
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/arith/arith_kernels.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
LV_ARITH_CLASS_KERNELS(2, Ssse3)
}  // namespace
}  // namespace lv_ssse3

LV_ARITH_DEFINE_CLASS(Ssse3, lv_ssse3)
