// Element types shared by every family of vector primitives.
#pragma once

#include <cstdint>

// A complex sample of two 32-bit floats, real part first (8 bytes). Passed by
// value it travels as one 64-bit register image, the real part in the low half.
struct ComplexFloat32 {
  float re;
  float im;
};
static_assert(sizeof(ComplexFloat32) == 8, "a complex sample is two packed floats");

// Accuracy hints of the sums: 1 accumulates in single precision within blocks,
// every other value in double.
enum : int32_t { HintNone = 0, HintFast = 1, HintAccurate = 2 };

// The rounding modes of the scaled conversions are declared with them (primitives/convert/convert.h).
