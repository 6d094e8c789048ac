// Medium and in-place FFT butterfly kernels of class 5 (Avx2).
#include <immintrin.h>

#include <cstdint>

#include "fft/kernels/butterfly.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
#include "fft/kernels/butterfly_256.inl"
}  // namespace
}  // namespace lv_avx2

#define LV_BF_SUFFIX Avx2
#define LV_BF_NS lv_avx2
#include "fft/kernels/butterfly_body.inl"
