// Column passes of class 6 (Avx512ManyCore): the class-5 passes under the
// class-6 names, so the two are the same code and agree bit for bit. (Built
// with the class-6 flags the radix-8 body moves general registers through
// xmm16-31, which class 6 keeps out of.)
#include <cstdint>

#include "fft/kernels/column_pass.h"
#include "cpu/isa_class.h"

LV_ASSERT_CLASS(6);

void FftForwardRadix8PassAvx512ManyCore(float* data, float* unused, int32_t h, int32_t l, const float* twiddles) {
  FftForwardRadix8PassAvx2(data, unused, h, l, twiddles);
}

void FftForwardRadix4PassAvx512ManyCore(float* data, float* unused, int32_t h, int32_t l, const float* twiddles) {
  FftForwardRadix4PassAvx2(data, unused, h, l, twiddles);
}

void FftInverseRadix8PassAvx512ManyCore(float* data, float* unused, int32_t h, int32_t l, const float* twiddles) {
  FftInverseRadix8PassAvx2(data, unused, h, l, twiddles);
}

void FftInverseRadix4PassAvx512ManyCore(float* data, float* unused, int32_t h, int32_t l, const float* twiddles) {
  FftInverseRadix4PassAvx2(data, unused, h, l, twiddles);
}
