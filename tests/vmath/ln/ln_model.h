// Scalar models of the logarithm kernels: each class's rule with plain float
// operations and std::fma in the order the rule gives; the oracle the vector
// kernels must match bit for bit.
#pragma once

#include <cstdint>

namespace lv_test_ln {

// The kernel of a class for one element (the class's special-value routine
// for the elements its fast path does not take); *code gets 0,
// kVmathCodeSingularity or kVmathCodeDomain.
float ModelLn(int cls, float x, int32_t* code);

using LnSpecialFn = int32_t (*)(const float*, float*);
// The double routine of classes 2 to 7.
LnSpecialFn LnSpecialOfClass(int cls);

}  // namespace lv_test_ln
