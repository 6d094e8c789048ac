// Scalar and element-wise arithmetic of processor class 6 (Avx512ManyCore).
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/arith/arith_kernels.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
LV_ARITH_CLASS_KERNELS(6, Avx512ManyCore)
}  // namespace
}  // namespace lv_avx512mc

LV_ARITH_DEFINE_CLASS(Avx512ManyCore, lv_avx512mc)
