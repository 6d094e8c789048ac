// Magnitude, power and absolute value of processor class 5 (Avx2).
#include "cpu/isa_class.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/magnitude/magnitude_kernels.h"
#include "primitives/sqrt/sqrt_classes.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
LV_MAG_CLASS_KERNELS(5, ScalarSqrtFloat32Avx2)
}  // namespace
}  // namespace lv_avx2

LV_MAG_DEFINE_CLASS(Avx2, lv_avx2)
