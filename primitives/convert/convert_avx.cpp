// Plain and scaled conversions of processor class 4 (AVX).
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/convert/convert.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
constexpr int kClass = 4;
#include "primitives/convert/convert_body.inl"
}  // namespace
}  // namespace lv_avx

LV_CONVERT_EXPORT(Avx, lv_avx)
