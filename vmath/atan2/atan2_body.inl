// The arctangent of one processor class: its kernel and special-value
// routine, compiled once in each per-class file (atan2_sse2.cpp ...). Class 3
// has no file: it runs the class-2 kernel (see the class table in
// atan2_records.cpp).
//
// Fast lanes go through the body of the class's vector width (atan2_128.inl:
// classes 0 to 2; atan2_256.inl: classes 4 and 5; atan2_512.inl: classes 6
// and 7), special lanes through the scalar routine of atan2_special.inl.
// Everything but the exported functions lives in the class namespace.
#include <immintrin.h>

#include <bit>
#include <cstdint>

#include "cpu/status.h"
#include "vmath/atan2/atan2_classes.h"
#include "vmath/atan2/atan2_constants.h"
#include "vmath/vmath_record.h"
#if LV_CLASS == 6
#include "vmath/rcp28.h"
#endif

namespace LV_NS {
namespace {
using namespace lv_vmath_atan2;
using SpecialValueFn = int32_t (*)(const float* y, const float* x, float* result);
}  // namespace
}  // namespace LV_NS

#if LV_CLASS == 6
// Class 6 keeps the scalar routine to VEX encodings (no xmm16-31).
#pragma GCC push_options
#pragma GCC target("no-avx512f")
#endif
#include "vmath/atan2/atan2_special.inl"
#if LV_CLASS == 6
#pragma GCC pop_options
#endif

#if LV_CLASS <= 3
#include "vmath/atan2/atan2_128.inl"
#elif LV_CLASS <= 5
#include "vmath/atan2/atan2_256.inl"
#else
#include "vmath/atan2/atan2_512.inl"
#endif

namespace LV_NS {
namespace {
// The order of the special routine's last sum: classes 1 to 4 add Bl first.
constexpr LastSum kLastSum = (kClass >= 1 && kClass <= 4) ? LastSum::kBlE3Al : LastSum::kE3AlBl;
// Class 5 fuses the special routine's multiply-adds.
constexpr bool kSpecialFused = kClass == 5;
}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(Atan2Float32SpecialValues)(const float* y, const float* x, float* result) {
  return LV_NS::SpecialValue<LV_NS::kLastSum, LV_NS::kSpecialFused>(y, x, result);
}

int32_t LV_NAME(Atan2Float32Kernel)(const float* y, const float* x, float* dst, int32_t n) {
  return LV_NS::Kernel<&LV_NAME(Atan2Float32SpecialValues)>(y, x, dst, n);
}
