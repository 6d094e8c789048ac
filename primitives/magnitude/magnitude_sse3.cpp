// Magnitude, power and absolute value of processor class 1 (Sse3).
#include "cpu/isa_class.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/magnitude/magnitude_kernels.h"
#include "primitives/sqrt/sqrt_classes.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
namespace {
LV_MAG_CLASS_KERNELS(1, __builtin_sqrtf)
}  // namespace
}  // namespace lv_sse3

LV_MAG_DEFINE_CLASS(Sse3, lv_sse3)
