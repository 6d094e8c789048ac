// Sine and cosine of class 7 (AVX-512 with fused multiply-add): blocks of 32.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(7);

#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/sincos/sincos_classes.h"
#include "vmath/sincos/sincos_tables.h"
#include "vmath/vmath_record.h"

namespace lv_avx512 {
namespace {

#include "vmath/sincos/sincos_ops_avx512.inc"
#include "vmath/sincos/sincos_body.inc"

// Status cells handed to MathErrorCallback; the kernels never touch them.
int32_t g_sinStatusCell = 0;
int32_t g_cosStatusCell = 0;

}  // namespace
}  // namespace lv_avx512


int32_t SinFloat32KernelAvx512(const float* src, float* dst, int32_t n) {
  return lv_avx512::sc::Kernel<lv_avx512::Ops, false, 2>(src, dst, n, &lv_avx512::g_sinStatusCell, lv_avx512::sc::SpecialValues);
}

int32_t CosFloat32KernelAvx512(const float* src, float* dst, int32_t n) {
  return lv_avx512::sc::Kernel<lv_avx512::Ops, true, 2>(src, dst, n, &lv_avx512::g_cosStatusCell, lv_avx512::sc::SpecialValues);
}
