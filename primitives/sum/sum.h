// Sums of float and complex vectors. The sum is formed in double and rounded
// once to float (complex parts separately). HintFast (1) adds in single
// precision inside blocks whose sums are gathered in double; every other hint
// widens each element to double before adding it. Each processor class adds
// in its own fixed order (partial sums, heads, blocks), so the classes may
// differ in the last bits; every class reproduces its own order exactly.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

int32_t VectorSumFloat32(const float* src, int32_t n, float* sum, int32_t hint);
int32_t VectorSumComplexFloat32(const ComplexFloat32* src, int32_t n, ComplexFloat32* sum, int32_t hint);
