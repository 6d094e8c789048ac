// Scalar and element-wise arithmetic of processor class 7 (Avx512).
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/arith/arith_kernels.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
LV_ARITH_CLASS_KERNELS(7, Avx512)
}  // namespace
}  // namespace lv_avx512

LV_ARITH_DEFINE_CLASS(Avx512, lv_avx512)
