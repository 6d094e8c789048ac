// Magnitude, power and absolute value of processor class 3 (Sse42).
#include "cpu/isa_class.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/magnitude/magnitude_kernels.h"
#include "primitives/sqrt/sqrt_classes.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
LV_MAG_CLASS_KERNELS(3, __builtin_sqrtf)
}  // namespace
}  // namespace lv_sse42

LV_MAG_DEFINE_CLASS(Sse42, lv_sse42)
