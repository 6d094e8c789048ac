// Scalar and element-wise arithmetic of processor class 5 (Avx2).
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/arith/arith_kernels.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
LV_ARITH_CLASS_KERNELS(5, Avx2)
}  // namespace
}  // namespace lv_avx2

LV_ARITH_DEFINE_CLASS(Avx2, lv_avx2)
