// Scalar square roots with the IEEE special cases, one member per processor
// class: ScalarSqrtFloat64 in all eight classes, ScalarSqrtFloat32 in classes
// 0, 5, 6 and 7. There is no dispatcher: a caller running in one class's code
// (FFT setup, the magnitude kernels) calls the member of that class.
//
// Every member gives the same result: the correctly rounded root of +0, a
// positive value or +infinity; -0 for -0; the quiet form of a NaN (payload
// kept); the processor's default NaN for any other negative argument.
#pragma once

#define LV_SQRT64_DECLARE(Sfx) double ScalarSqrtFloat64##Sfx(double x);
#define LV_SQRT32_DECLARE(Sfx) float ScalarSqrtFloat32##Sfx(float x);

LV_SQRT64_DECLARE(Sse2)
LV_SQRT64_DECLARE(Sse3)
LV_SQRT64_DECLARE(Ssse3)
LV_SQRT64_DECLARE(Sse42)
LV_SQRT64_DECLARE(Avx)
LV_SQRT64_DECLARE(Avx2)
LV_SQRT64_DECLARE(Avx512ManyCore)
LV_SQRT64_DECLARE(Avx512)
LV_SQRT32_DECLARE(Sse2)
LV_SQRT32_DECLARE(Avx2)
LV_SQRT32_DECLARE(Avx512ManyCore)
LV_SQRT32_DECLARE(Avx512)

#undef LV_SQRT64_DECLARE
#undef LV_SQRT32_DECLARE
