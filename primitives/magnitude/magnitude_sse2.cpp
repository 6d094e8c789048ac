// Magnitude, power and absolute value of processor class 0 (Sse2).
#include "cpu/isa_class.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/magnitude/magnitude_kernels.h"
#include "primitives/sqrt/sqrt_classes.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {
LV_MAG_CLASS_KERNELS(0, ScalarSqrtFloat32Sse2)
}  // namespace
}  // namespace lv_sse2

LV_MAG_DEFINE_CLASS(Sse2, lv_sse2)
