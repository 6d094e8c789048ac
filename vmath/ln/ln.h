// The vector natural logarithm LnFloat32: dst[i] = ln(src[i]).
//
// One kernel per processor class, reached only through the stub of that
// class. Special inputs (every class): +-0 gives -infinity with code
// kVmathCodeSingularity (18); a negative number, negative subnormal or
// -infinity gives a NaN with code kVmathCodeDomain (19) (0x7FFC0000 in class
// 0, the default NaN 0xFFC00000 in classes 1 to 7); +infinity gives +infinity
// and a NaN comes back (class 0: unchanged; classes 1 to 7: made quiet), both
// without a code. The status is the code of the last element that had one, or
// 0. Classes 2 to 7 report every element with a code to MathErrorCallback;
// classes 0 and 1 report through the status only. Checks: classes 0 and 1
// test dst, src, then n; classes 2 to 7 test n, then src, then dst (-8 for a
// null pointer, -6 for n <= 0; nothing written).
//
// The kernels, special-value routines and records of the classes are declared
// in ln_classes.h (for the class table, the stubs and the tests).
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/vmath_record.h"

// The stubs, one per class: one load of cell 0 of the class's record and one
// jump to the kernel there.
LV_DECLARE_CLASSES(int32_t, LnFloat32Stub, (const float* src, float* dst, int32_t n));
