// Magnitude, power and absolute value of processor class 7 (Avx512).
#include "cpu/isa_class.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/magnitude/magnitude_kernels.h"
#include "primitives/sqrt/sqrt_classes.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
LV_MAG_CLASS_KERNELS(7, ScalarSqrtFloat32Avx512)
}  // namespace
}  // namespace lv_avx512

LV_MAG_DEFINE_CLASS(Avx512, lv_avx512)
