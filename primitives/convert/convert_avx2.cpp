// Plain and scaled conversions of processor class 5 (AVX2).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/convert/convert.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
constexpr int kClass = 5;
#include "primitives/convert/convert_body.inl"
}  // namespace
}  // namespace lv_avx2

LV_CONVERT_EXPORT(Avx2, lv_avx2)
