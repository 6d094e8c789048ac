// Scalar and element-wise arithmetic of processor class 0 (Sse2).
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/arith/arith_kernels.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {
LV_ARITH_CLASS_KERNELS(0, Sse2)
}  // namespace
}  // namespace lv_sse2

LV_ARITH_DEFINE_CLASS(Sse2, lv_sse2)
