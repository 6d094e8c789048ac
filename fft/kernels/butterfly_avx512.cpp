// Medium and in-place FFT butterfly kernels of class 7 (Avx512), the class-5 body in AVX-512 encodings, 256 bits wide.
#include <immintrin.h>

#include <cstdint>

#include "fft/kernels/butterfly.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(7);

// Class 7 runs these kernels at 256 bits at most: keep the compiler from
// merging stores or copies into 512-bit ones.
#pragma GCC target("prefer-vector-width=256")

namespace lv_avx512 {
namespace {
#include "fft/kernels/butterfly_256.inl"
}  // namespace
}  // namespace lv_avx512

#define LV_BF_SUFFIX Avx512
#define LV_BF_NS lv_avx512
#include "fft/kernels/butterfly_body.inl"
