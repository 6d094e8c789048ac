// Sine and cosine of class 6 (AVX-512 Foundation with fused multiply-add):
// sine in blocks of 32, cosine in blocks of 16.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(6);

#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/sincos/sincos_classes.h"
#include "vmath/sincos/sincos_tables.h"
#include "vmath/vmath_record.h"

// Rolled block loop: unrolled, the compiler runs out of registers and moves
// values through xmm16-31, which class 6 keeps out of (most of their forms
// need AVX-512 VL).
#define LV_SINCOS_BLOCK_UNROLL 1

namespace lv_avx512mc {
namespace {

#include "vmath/sincos/sincos_ops_avx512.inc"
#include "vmath/sincos/sincos_body.inc"

// Status cells handed to MathErrorCallback; the kernels never touch them.
int32_t g_sinStatusCell = 0;
int32_t g_cosStatusCell = 0;

}  // namespace
}  // namespace lv_avx512mc


int32_t SinFloat32KernelAvx512ManyCore(const float* src, float* dst, int32_t n) {
  return lv_avx512mc::sc::Kernel<lv_avx512mc::Ops, false, 2>(src, dst, n, &lv_avx512mc::g_sinStatusCell, lv_avx512mc::sc::SpecialValues);
}

int32_t CosFloat32KernelAvx512ManyCore(const float* src, float* dst, int32_t n) {
  return lv_avx512mc::sc::Kernel<lv_avx512mc::Ops, true, 1>(src, dst, n, &lv_avx512mc::g_cosStatusCell, lv_avx512mc::sc::SpecialValues);
}
