// Vector-math records and the kernel contract shared by every kernel.
//
// For each function (Atan2Float32, LnFloat32, SinFloat32, CosFloat32) and
// processor class there is one record naming three accuracy variants with a
// cost figure each, and one stub that jumps to the kernel in a fixed cell.
// A family builds its eight records from one class table (the kernel each
// class runs, the cost figures) and its eight stubs from the record names,
// with the two macros below.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"

using Atan2Float32Kernel = int32_t (*)(const float* y, const float* x, float* dst, int32_t n);
using UnaryFloat32Kernel = int32_t (*)(const float* src, float* dst, int32_t n);

template <typename Kernel>
struct VmathRecord {
  Kernel variant[3];
  float cost[3];
};

// One row of a family's class table: the kernel the class runs and the cost
// figures of its record's three cells. The three variants of every class are
// one kernel, so each cell of the record holds it.
template <typename Kernel>
struct VmathClassRow {
  Kernel kernel;
  float cost[3];
};

template <typename Kernel>
constexpr VmathRecord<Kernel> VmathRecordOf(const VmathClassRow<Kernel>& row) {
  return {{row.kernel, row.kernel, row.kernel}, {row.cost[0], row.cost[1], row.cost[2]}};
}

// Defines the eight records Base##Sse2 ... Base##Avx512 (static data, never
// written) from a class table of eight rows in class order. In the table of a
// family of several functions, where a row holds one VmathClassRow per
// function, the optional last argument names the function's member (.sin).
#define LV_VMATH_RECORDS(Kernel, Base, table, ...)                                                   \
  constinit const VmathRecord<Kernel> Base##Sse2 = VmathRecordOf(table[kClassSse2] __VA_ARGS__);     \
  constinit const VmathRecord<Kernel> Base##Sse3 = VmathRecordOf(table[kClassSse3] __VA_ARGS__);     \
  constinit const VmathRecord<Kernel> Base##Ssse3 = VmathRecordOf(table[kClassSsse3] __VA_ARGS__);   \
  constinit const VmathRecord<Kernel> Base##Sse42 = VmathRecordOf(table[kClassSse42] __VA_ARGS__);   \
  constinit const VmathRecord<Kernel> Base##Avx = VmathRecordOf(table[kClassAvx] __VA_ARGS__);       \
  constinit const VmathRecord<Kernel> Base##Avx2 = VmathRecordOf(table[kClassAvx2] __VA_ARGS__);     \
  constinit const VmathRecord<Kernel> Base##Avx512ManyCore =                                         \
      VmathRecordOf(table[kClassAvx512ManyCore] __VA_ARGS__);                                        \
  constinit const VmathRecord<Kernel> Base##Avx512 = VmathRecordOf(table[kClassAvx512] __VA_ARGS__)

// Defines the eight stubs Base##Sse2 ... Base##Avx512 of a function: each
// loads cell `cell` of its class's record RecordBase##<suffix> and jumps to
// the kernel there, the caller's arguments (Params, passed on as Args) and the
// kernel's status passing through untouched. Define them in another
// translation unit than the records: then the compiler keeps the load and
// turns the call into a tail jump (no frame of its own).
#define LV_VMATH_STUB(Name, Record, cell, Params, Args) \
  int32_t Name Params { return Record.variant[cell] Args; }
#define LV_VMATH_STUBS(Base, RecordBase, cell, Params, Args)                          \
  LV_VMATH_STUB(Base##Sse2, RecordBase##Sse2, cell, Params, Args)                     \
  LV_VMATH_STUB(Base##Sse3, RecordBase##Sse3, cell, Params, Args)                     \
  LV_VMATH_STUB(Base##Ssse3, RecordBase##Ssse3, cell, Params, Args)                   \
  LV_VMATH_STUB(Base##Sse42, RecordBase##Sse42, cell, Params, Args)                   \
  LV_VMATH_STUB(Base##Avx, RecordBase##Avx, cell, Params, Args)                       \
  LV_VMATH_STUB(Base##Avx2, RecordBase##Avx2, cell, Params, Args)                     \
  LV_VMATH_STUB(Base##Avx512ManyCore, RecordBase##Avx512ManyCore, cell, Params, Args) \
  LV_VMATH_STUB(Base##Avx512, RecordBase##Avx512, cell, Params, Args)

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
  // Clearing the x87 flags costs far more than reading them (fnclex is
  // microcoded), and they are almost never set: read first, clear when set
  // (exception flags, stack fault or the error summary).
  unsigned short x87Status;
  __asm__ __volatile__("fnstsw %0" : "=a"(x87Status));
  if ((x87Status & 0xFFu) != 0) {
    __asm__ __volatile__("fnclex");
  }
}

}  // namespace lv_vmath_env
