// The x87 status word around a vector-math call: kernels clear the x87
// exception flags on exit, also when they were set before the call.
#pragma once

namespace lv_vmath_test {

// Divides by zero and takes the square root of -1 on the x87 stack (all x87
// exceptions masked, as by default), raising its divide-by-zero and invalid
// flags (status bits 2 and 0).
inline void RaiseX87Flags() {
  __asm__ __volatile__(
      "fld1\n\t"
      "fldz\n\t"
      "fdivrp\n\t"   // a division by zero: divide-by-zero
      "fstp %%st(0)\n\t"
      "fld1\n\t"
      "fchs\n\t"
      "fsqrt\n\t"    // sqrt(-1): invalid
      "fstp %%st(0)" ::: "st", "st(1)", "memory");
}

inline unsigned X87Status() {
  unsigned short sw = 0;
  __asm__ __volatile__("fnstsw %0" : "=m"(sw));
  return sw;
}

}  // namespace lv_vmath_test
