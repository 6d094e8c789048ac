// Scalar and element-wise arithmetic of processor class 4 (Avx).
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/arith/arith_kernels.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
LV_ARITH_CLASS_KERNELS(4, Avx)
}  // namespace
}  // namespace lv_avx

LV_ARITH_DEFINE_CLASS(Avx, lv_avx)
