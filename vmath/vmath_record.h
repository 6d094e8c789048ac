// Vector-math records and the kernel contract shared by every kernel.
//
// For each function (Atan2Float32, LnFloat32, SinFloat32, CosFloat32) and
// processor class there is one record naming three accuracy variants with a
// cost figure each, and one stub that jumps to the kernel in a fixed cell.
#pragma once

#include <immintrin.h>

#include <cstdint>

using Atan2Float32Kernel = int32_t (*)(const float* y, const float* x, float* dst, int32_t n);
using UnaryFloat32Kernel = int32_t (*)(const float* src, float* dst, int32_t n);

template <typename Kernel>
struct VmathRecord {
  Kernel variant[3];
  float cost[3];
};

// The codes of special-value elements: a kernel returns the code of the last
// element that had one (or 0) and reports every such element to
// MathErrorCallback (classes and functions that do so are named in their
// family headers).
//   kVmathCodeSingularity  the argument is a singularity of the function:
//                          ln of +-0 (the result is -infinity);
//   kVmathCodeDomain       the argument is outside the function's domain: ln
//                          of a negative number or -infinity, sine or cosine
//                          of +-infinity (the result is a NaN).
inline constexpr int32_t kVmathCodeSingularity = 18;
inline constexpr int32_t kVmathCodeDomain = 19;

// The floating-point environment of one kernel run. On entry: when any of the
// six exception masks is clear, all six are set for the run and the register
// is written back exactly on exit (flags raised by the run are dropped); when
// all were set, the register is left alone and on exit the invalid, denormal,
// divide-by-zero, overflow and underflow flags are cleared (the precision flag
// keeps its value). Rounding, FZ and DAZ are never touched. The x87 exception
// flags are cleared on exit. Always inlined, so per-class files emit no shared
// copy.
namespace lv_vmath_env {

inline constexpr unsigned kMaskBits = 0x1F80u;
inline constexpr unsigned kFlagsButPrecision = 0x1Fu;

struct FpEnv {
  unsigned entry;
  bool wasMasked;
};

[[gnu::always_inline]] inline FpEnv EnterKernel() {
  const unsigned csr = _mm_getcsr();
  if ((csr & kMaskBits) != kMaskBits) {
    _mm_setcsr(csr | kMaskBits);
    return FpEnv{csr, false};
  }
  return FpEnv{csr, true};
}

[[gnu::always_inline]] inline void LeaveKernel(FpEnv env) {
  if (!env.wasMasked) {
    _mm_setcsr(env.entry);
  } else {
    const unsigned csr = _mm_getcsr();
    if ((csr & kFlagsButPrecision) != 0) {
      _mm_setcsr(csr & ~kFlagsButPrecision);
    }
  }
  __asm__ __volatile__("fnclex");
}

}  // namespace lv_vmath_env
