// Scalar square roots with the IEEE special cases, one member per processor
// class, each built from sqrt_body.inl by its class's file:
// ScalarSqrtFloat64 in all eight classes, ScalarSqrtFloat32 in classes 0, 5, 6
// and 7. There is no dispatched entry point (and so no public header): a
// caller running in one class's code (FFT setup, the magnitude kernels) calls
// the member of that class.
//
// Every member gives the same result: the correctly rounded root of +0, a
// positive value or +infinity; -0 for -0; the quiet form of a NaN (payload
// kept); the processor's default NaN for any other negative argument.
#pragma once

#include "cpu/dispatch.h"

LV_DECLARE_CLASSES(double, ScalarSqrtFloat64, (double x));

// Whether class cls has a float member: classes 0 and 5-7 (their magnitude
// kernels use it); classes 1-4 have none.
#define LV_SQRT_HAS_FLOAT32(cls) ((cls) == 0 || (cls) >= 5)
float ScalarSqrtFloat32Sse2(float x);
float ScalarSqrtFloat32Avx2(float x);
float ScalarSqrtFloat32Avx512ManyCore(float x);
float ScalarSqrtFloat32Avx512(float x);
