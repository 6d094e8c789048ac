// Magnitude, power and absolute value of processor class 4 (Avx).
#include "cpu/isa_class.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/magnitude/magnitude_kernels.h"
#include "primitives/sqrt/sqrt_classes.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
LV_MAG_CLASS_KERNELS(4, __builtin_sqrtf)
}  // namespace
}  // namespace lv_avx

LV_MAG_DEFINE_CLASS(Avx, lv_avx)
