// Shared helpers of the sine and cosine tests: the stubs, kernels and records
// of every class, input mixes, the long-double error measure, and a recorder of
// MathErrorCallback calls (the test programs link with
// --wrap=<MathErrorCallback>, so the kernels' calls reach the recorder).
#pragma once

#include <cstdint>
#include <vector>

#include "vmath/sincos/sincos_classes.h"

namespace sincos_test {

using KernelFn = int32_t (*)(const float*, float*, int32_t);
using SpecialFn = int32_t (*)(const float*, float*);

KernelFn Stub(int cls, bool cosine);
KernelFn SinKernel(int cls);
KernelFn CosKernel(int cls);
const VmathRecord<UnaryFloat32Kernel>& SinRecord(int cls);
const VmathRecord<UnaryFloat32Kernel>& CosRecord(int cls);
SpecialFn SpecialRoutine(int cls);  // null for classes 6 and 7

extern const float kSinCost[8][3];
extern const float kCosCost[8][3];

// n inputs drawn from several groups: random bit patterns (every kind of
// float), the fast-path range, the first octant, neighbours of multiples of
// pi/2 and of the 10000 threshold, large magnitudes, subnormals.
std::vector<float> MixedInputs(size_t n, unsigned seed);

// |result - exact| in units in the last place of the exact float value.
double UlpError(float result, float x, bool cosine);

// Sine and cosine of the class over `in` equal the model of the class's rule
// (and class 0 for classes 1 to 4), bit for bit.
void ExpectMatchesModel(int cls, const std::vector<float>& in);

struct CallbackCall {
  int32_t code;
  int32_t index;
  const void* argument1;
  const void* argument2;
  void* result1;
  void* result2;
  int32_t* statusCell;
  uint32_t storedResult;  // dst[index] as the kernel stored it before the call
};

// Records the calls made while it lives (one at a time, on the test thread).
struct CallbackLog {
  CallbackLog();
  ~CallbackLog();
  CallbackLog(const CallbackLog&) = delete;
  CallbackLog& operator=(const CallbackLog&) = delete;
  std::vector<CallbackCall> calls;
  float replacement = 0.0f;  // written to dst[index] when set (nonzero)
};

}  // namespace sincos_test
