// Plain and scaled conversions of processor class 6 (AVX-512 many-core).
// GCC 12 reports its own AVX-512 intrinsics (their undefined start values) as
// maybe-uninitialized when they are inlined here.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <cstdint>

#include "cpu/isa_class.h"
#include "primitives/convert/convert.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
constexpr int kClass = 6;
#include "primitives/convert/convert_body.inl"
}  // namespace
}  // namespace lv_avx512mc

LV_CONVERT_EXPORT(Avx512ManyCore, lv_avx512mc)
