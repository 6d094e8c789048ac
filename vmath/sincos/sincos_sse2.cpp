// Sine and cosine of class 0 (SSE2), the reference of the family: blocks of four
// lanes, no fused multiply-add.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(0);

#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/sincos/sincos_classes.h"
#include "vmath/sincos/sincos_tables.h"
#include "vmath/vmath_record.h"

namespace lv_sse2 {
namespace {

#include "vmath/sincos/sincos_ops_sse.inc"
#include "vmath/sincos/sincos_body.inc"

// Status cells handed to MathErrorCallback; the kernels never touch them.
int32_t g_sinStatusCell = 0;
int32_t g_cosStatusCell = 0;

}  // namespace
}  // namespace lv_sse2

int32_t SinFloat32SpecialValuesSse2(const float* x, float* result) { return lv_sse2::sc::SpecialValues(x, result); }

int32_t SinFloat32KernelSse2(const float* src, float* dst, int32_t n) {
  return lv_sse2::sc::Kernel<lv_sse2::Ops, false, 1>(src, dst, n, &lv_sse2::g_sinStatusCell, SinFloat32SpecialValuesSse2);
}

int32_t CosFloat32KernelSse2(const float* src, float* dst, int32_t n) {
  return lv_sse2::sc::Kernel<lv_sse2::Ops, true, 1>(src, dst, n, &lv_sse2::g_cosStatusCell, SinFloat32SpecialValuesSse2);
}
