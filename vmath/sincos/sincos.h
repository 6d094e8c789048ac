// Vector sine and cosine of 32-bit floats (radians), one implementation per
// processor class.
//
// Callers use the stub of their own class: SinFloat32StubAvx2(src, dst, n).
// A stub jumps through cell 1 of its record. Every kernel keeps the vector-math
// kernel contract (vmath/vmath_record.h): n <= 0 gives -6, a null pointer -8,
// otherwise 0, or kVmathCodeDomain (19) when some element was +-infinity (that
// element becomes the default NaN and MathErrorCallback hears of it); NaNs
// come back quiet. src and dst may be the same array.
//
// Classes 1 to 4 give exactly the results of class 0; classes 5 to 7 fuse
// multiply-adds and may differ from it in the last bit. Every finite input is
// within one unit in the last place of the exact value.
//
// The kernels, special-value routines and records of the classes are declared
// in sincos_classes.h (for the class table, the stubs and the tests).
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/vmath_record.h"

// The stubs, one per class and function: the only way into the kernels.
LV_DECLARE_CLASSES(int32_t, SinFloat32Stub, (const float* src, float* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, CosFloat32Stub, (const float* src, float* dst, int32_t n));

// Every finite input's result in every class is within this many units in the
// last place of the exact sine or cosine (the tests' tolerance).
inline constexpr double kSinCosUlpBound = 1.0;
