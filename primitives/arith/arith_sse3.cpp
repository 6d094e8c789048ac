// Scalar and element-wise arithmetic of processor class 1 (Sse3).
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/arith/arith_kernels.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
namespace {
LV_ARITH_CLASS_KERNELS(1, Sse3)
}  // namespace
}  // namespace lv_sse3

LV_ARITH_DEFINE_CLASS(Sse3, lv_sse3)
