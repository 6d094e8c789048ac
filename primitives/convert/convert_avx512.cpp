// Plain and scaled conversions of processor class 7 (AVX-512).
// GCC 12 reports its own AVX-512 intrinsics (their undefined start values) as
// maybe-uninitialized when they are inlined here.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/convert/convert.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
constexpr int kClass = 7;
#include "primitives/convert/convert_body.inl"
}  // namespace
}  // namespace lv_avx512

LV_CONVERT_EXPORT(Avx512, lv_avx512)
