// Magnitude, power and absolute value of processor class 6 (Avx512ManyCore).
#include "cpu/isa_class.h"
#include "primitives/magnitude/magnitude.h"
#include "primitives/magnitude/magnitude_kernels.h"
#include "primitives/sqrt/sqrt_classes.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
LV_MAG_CLASS_KERNELS(6, ScalarSqrtFloat32Avx512ManyCore)
}  // namespace
}  // namespace lv_avx512mc

LV_MAG_DEFINE_CLASS(Avx512ManyCore, lv_avx512mc)
