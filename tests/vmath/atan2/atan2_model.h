// Scalar models of the arctangent kernels: the per-lane rule of each class
// written with plain float/double operations and std::fma in the order the
// class's rule gives. They are the oracle the vector kernels must match bit
// for bit.
#pragma once

#include <cstdint>

namespace lv_test_atan2 {

// The rule a class computes on fast-range lanes.
enum class FastRule {
  kBaseline,       // class 0
  kQuotient,       // classes 1 to 4: division, every operation rounded
  kQuotientFused,  // class 5: division, fused polynomial
  kRecip28,        // class 6: significand reciprocal (28-bit helper), fused
  kRecip14,        // class 7: significand reciprocal (14-bit), fused
};

FastRule RuleOfClass(int cls);

bool IsSpecialLane(float y, float x);
bool IsZeroLane(float y, float x);

// The fast path of the rule (meaningful on fast-range lanes).
float ModelFast(FastRule rule, float y, float x);
// The zero-lane treatment.
float ModelZeroLane(float y, float x);
// The whole kernel of a class for one element: fast path, zero-lane
// treatment, or the class's special-value routine.
float ModelAtan2(int cls, float y, float x);

// The class's special-value routine (the exported one).
using SpecialFn = int32_t (*)(const float*, const float*, float*);
SpecialFn SpecialOfClass(int cls);

// The 14-bit reciprocal estimate of class 7 (the processor's).
float Rcp14(float v);
// The class-6 reciprocal helper.
float Rcp28(float v);

}  // namespace lv_test_atan2
