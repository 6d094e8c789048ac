// The four FFT entry points: each reads the dispatch index and jumps to the
// implementation of the process's processor class.
#include "fft/fft.h"

#include "fft/setup/setup.h"
#include "fft/fft_classes.h"
#include "cpu/dispatch.h"

namespace {

using GetSizeFn = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*);
using InitFn = int32_t (*)(FftSpecComplexFloat32**, int32_t, int32_t, int32_t, uint8_t*, uint8_t*);
using TransformFn = int32_t (*)(const ComplexFloat32*, ComplexFloat32*, const FftSpecComplexFloat32*, uint8_t*);

// Classes 5 (Avx2) and 7 (Avx512) run their own size query, initialisation and
// transforms at every order 0 to 28. Classes 1 to 4 and 6 run the portable
// code until all their roads exist: their size query, initialisation and
// transforms are those of class 0, so a specification always matches the
// transform that reads it.
#define LV_FFT_SLOTS(base) base##Sse2, base##Sse2, base##Sse2, base##Sse2, base##Sse2, base##Avx2, base##Sse2, base##Avx512

LV_DISPATCH_TABLE(kFftGetSizeComplexFloat32Table, GetSizeFn, LV_FFT_SLOTS(FftGetSizeComplexFloat32));
LV_DISPATCH_TABLE(kFftInitComplexFloat32Table, InitFn, LV_FFT_SLOTS(FftInitComplexFloat32));
LV_DISPATCH_TABLE(kFftForwardComplexFloat32Table, TransformFn, LV_FFT_SLOTS(FftForwardComplexFloat32));
LV_DISPATCH_TABLE(kFftInverseComplexFloat32Table, TransformFn, LV_FFT_SLOTS(FftInverseComplexFloat32));

#undef LV_FFT_SLOTS

}  // namespace

int32_t FftGetSizeComplexFloat32(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes, int32_t* initBytes,
                                 int32_t* workBytes) {
  return kFftGetSizeComplexFloat32Table(order, flag, hint, specBytes, initBytes, workBytes);
}

int32_t FftInitComplexFloat32(FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint,
                              uint8_t* specMemory, uint8_t* initBuffer) {
  return kFftInitComplexFloat32Table(spec, order, flag, hint, specMemory, initBuffer);
}

int32_t FftForwardComplexFloat32(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                 uint8_t* workBuffer) {
  return kFftForwardComplexFloat32Table(src, dst, spec, workBuffer);
}

int32_t FftInverseComplexFloat32(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                 uint8_t* workBuffer) {
  return kFftInverseComplexFloat32Table(src, dst, spec, workBuffer);
}
