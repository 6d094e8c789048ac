// Scalar and element-wise arithmetic of processor class 3 (Sse42).
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/arith/arith_kernels.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
LV_ARITH_CLASS_KERNELS(3, Sse42)
}  // namespace
}  // namespace lv_sse42

LV_ARITH_DEFINE_CLASS(Sse42, lv_sse42)
