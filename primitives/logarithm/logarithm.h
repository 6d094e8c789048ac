// Natural logarithm of floats: dst[i] = ln(src[i]), all n results written.
//
// Checks before anything is read or written: src null -8, dst null -8, n <= 0
// -6. Zero and negative arguments are warnings, not errors: the status is
// StatusLnOfZero (7) or StatusLnOfNegative (8) after the special element that
// comes last in index order (-infinity for +-0, a NaN for negative arguments),
// otherwise StatusOk.
#pragma once

#include <cstdint>

int32_t VectorLnFloat32(const float* src, float* dst, int32_t n);
