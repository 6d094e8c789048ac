// Vector sine and cosine of 32-bit floats (radians), one implementation per
// processor class.
//
// Callers use the stub of their own class: SinFloat32StubAvx2(src, dst, n).
// A stub jumps through cell 1 of its record. Every kernel keeps the vector-math
// kernel contract (vmath/vmath_record.h): n <= 0 gives -6, a null pointer -8,
// otherwise 0, or 19 when some element was +-infinity (that element becomes the
// default NaN and MathErrorCallback hears of it); NaNs come back quiet. src and
// dst may be the same array.
//
// Classes 1 to 4 give exactly the results of class 0; classes 5 to 7 fuse
// multiply-adds and may differ from it in the last bit. Every finite input is
// within one unit in the last place of the exact value.
#pragma once

#include <cstdint>

#include "vmath/vmath_record.h"

// Record stubs: the only way into the sine and cosine kernels.
int32_t SinFloat32StubSse2(const float* src, float* dst, int32_t n);
int32_t SinFloat32StubSse3(const float* src, float* dst, int32_t n);
int32_t SinFloat32StubSsse3(const float* src, float* dst, int32_t n);
int32_t SinFloat32StubSse42(const float* src, float* dst, int32_t n);
int32_t SinFloat32StubAvx(const float* src, float* dst, int32_t n);
int32_t SinFloat32StubAvx2(const float* src, float* dst, int32_t n);
int32_t SinFloat32StubAvx512ManyCore(const float* src, float* dst, int32_t n);
int32_t SinFloat32StubAvx512(const float* src, float* dst, int32_t n);

int32_t CosFloat32StubSse2(const float* src, float* dst, int32_t n);
int32_t CosFloat32StubSse3(const float* src, float* dst, int32_t n);
int32_t CosFloat32StubSsse3(const float* src, float* dst, int32_t n);
int32_t CosFloat32StubSse42(const float* src, float* dst, int32_t n);
int32_t CosFloat32StubAvx(const float* src, float* dst, int32_t n);
int32_t CosFloat32StubAvx2(const float* src, float* dst, int32_t n);
int32_t CosFloat32StubAvx512ManyCore(const float* src, float* dst, int32_t n);
int32_t CosFloat32StubAvx512(const float* src, float* dst, int32_t n);

// Records: variants 0, 1, 2 with their cost figures; the stubs read cell 1.
extern const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordSse2;
extern const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordSse3;
extern const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordSsse3;
extern const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordSse42;
extern const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordAvx;
extern const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordAvx2;
extern const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordAvx512ManyCore;
extern const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordAvx512;

extern const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordSse2;
extern const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordSse3;
extern const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordSsse3;
extern const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordSse42;
extern const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordAvx;
extern const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordAvx2;
extern const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordAvx512ManyCore;
extern const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordAvx512;

// The kernels (reached through the records).
int32_t SinFloat32KernelSse2(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelSse2(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelSse3V1(const float* src, float* dst, int32_t n);  // classes 1, 2 and 3
int32_t CosFloat32KernelSse3V1(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelAvxV1(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelAvxV1(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelAvx2V1(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelAvx2V1(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelAvx512ManyCoreV1(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelAvx512ManyCoreV1(const float* src, float* dst, int32_t n);
int32_t SinFloat32KernelAvx512V1(const float* src, float* dst, int32_t n);
int32_t CosFloat32KernelAvx512V1(const float* src, float* dst, int32_t n);

// Special-value routines of an element whose exponent field is all ones:
// +-infinity gives the default NaN and code 19, a NaN its quiet form and 0;
// any other input is left alone (nothing written, 0). The class-4 routine also
// serves class 5.
int32_t SinFloat32SpecialValuesSse2(const float* x, float* result);
int32_t SinFloat32SpecialValuesSse3(const float* x, float* result);
int32_t SinFloat32SpecialValuesAvx(const float* x, float* result);

// Every finite input's result in every class is within this many units in the
// last place of the exact sine or cosine (the tests' tolerance).
inline constexpr double kSinCosUlpBound = 1.0;
