// The four FFT entry points: each reads the dispatch index and jumps to the
// implementation that the class table (fft/fft_class_table.h) wires for the
// process's processor class.
#include "fft/fft.h"

#include "cpu/dispatch.h"
#include "fft/fft_class_table.h"
#include "fft/fft_classes.h"

namespace {

using GetSizeFn = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*);
using InitFn = int32_t (*)(FftSpecComplexFloat32**, int32_t, int32_t, int32_t, uint8_t*, uint8_t*);
using TransformFn = int32_t (*)(const ComplexFloat32*, ComplexFloat32*, const FftSpecComplexFloat32*, uint8_t*);

// Every class's size query and plan initialisation, and the transforms of the
// classes that have them (null elsewhere).
constexpr GetSizeFn kGetSizeOf[] = {LV_CLASS_NAMES(FftGetSizeComplexFloat32)};
constexpr InitFn kInitOf[] = {LV_CLASS_NAMES(FftInitComplexFloat32)};
constexpr TransformFn kForwardOf[] = {&FftForwardComplexFloat32Sse2, &FftForwardComplexFloat32Sse3, &FftForwardComplexFloat32Ssse3,
                                      &FftForwardComplexFloat32Sse42, &FftForwardComplexFloat32Avx,
                                      &FftForwardComplexFloat32Avx2, &FftForwardComplexFloat32Avx512ManyCore,
                                      &FftForwardComplexFloat32Avx512};
constexpr TransformFn kInverseOf[] = {&FftInverseComplexFloat32Sse2, &FftInverseComplexFloat32Sse3, &FftInverseComplexFloat32Ssse3,
                                      &FftInverseComplexFloat32Sse42, &FftInverseComplexFloat32Avx,
                                      &FftInverseComplexFloat32Avx2, &FftInverseComplexFloat32Avx512ManyCore,
                                      &FftInverseComplexFloat32Avx512};

// A class runs the size query, initialisation and transforms of one class, so
// that a plan always matches the transform that reads it.
consteval bool EveryClassHasItsTransforms() {
  for (int c = 0; c < kProcessorClassCount; ++c) {
    const int t = kFftClasses[c].transformClass;
    if (!kFftHasTransforms[t]) return false;
    if (FftTransformsWired(c) != kFftHasTransforms[c]) return false;
  }
  return true;
}
static_assert(EveryClassHasItsTransforms(), "the class table wires a class to transforms that do not exist");

// Slot c of a dispatch table: the implementation of the class whose transforms class c runs.
#define LV_FFT_SLOT(impl, c) impl[kFftClasses[c].transformClass]
#define LV_FFT_SLOTS(impl)                                                                                 \
  LV_FFT_SLOT(impl, 0), LV_FFT_SLOT(impl, 1), LV_FFT_SLOT(impl, 2), LV_FFT_SLOT(impl, 3), LV_FFT_SLOT(impl, 4), \
      LV_FFT_SLOT(impl, 5), LV_FFT_SLOT(impl, 6), LV_FFT_SLOT(impl, 7)

LV_DISPATCH_TABLE(kFftGetSizeComplexFloat32Table, GetSizeFn, LV_FFT_SLOTS(kGetSizeOf));
LV_DISPATCH_TABLE(kFftInitComplexFloat32Table, InitFn, LV_FFT_SLOTS(kInitOf));
LV_DISPATCH_TABLE(kFftForwardComplexFloat32Table, TransformFn, LV_FFT_SLOTS(kForwardOf));
LV_DISPATCH_TABLE(kFftInverseComplexFloat32Table, TransformFn, LV_FFT_SLOTS(kInverseOf));

#undef LV_FFT_SLOTS
#undef LV_FFT_SLOT

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
