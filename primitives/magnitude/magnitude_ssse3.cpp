// Magnitude, power and absolute value of processor class 2 (Ssse3).
#include "cpu/isa_class.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/magnitude/magnitude_kernels.h"
#include "primitives/sqrt/sqrt_classes.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
LV_MAG_CLASS_KERNELS(2, __builtin_sqrtf)
}  // namespace
}  // namespace lv_ssse3

LV_MAG_DEFINE_CLASS(Ssse3, lv_ssse3)
