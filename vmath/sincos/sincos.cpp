// The sine and cosine record stubs: one load of cell 1 of the record and one
// jump to the kernel there; the caller's arguments and the kernel's status pass
// through untouched. The records live in another file, so the load is not
// folded away.
#include "vmath/sincos/sincos.h"

int32_t SinFloat32StubSse2(const float* src, float* dst, int32_t n) { return SinFloat32RecordSse2.variant[1](src, dst, n); }
int32_t SinFloat32StubSse3(const float* src, float* dst, int32_t n) { return SinFloat32RecordSse3.variant[1](src, dst, n); }
int32_t SinFloat32StubSsse3(const float* src, float* dst, int32_t n) { return SinFloat32RecordSsse3.variant[1](src, dst, n); }
int32_t SinFloat32StubSse42(const float* src, float* dst, int32_t n) { return SinFloat32RecordSse42.variant[1](src, dst, n); }
int32_t SinFloat32StubAvx(const float* src, float* dst, int32_t n) { return SinFloat32RecordAvx.variant[1](src, dst, n); }
int32_t SinFloat32StubAvx2(const float* src, float* dst, int32_t n) { return SinFloat32RecordAvx2.variant[1](src, dst, n); }
int32_t SinFloat32StubAvx512ManyCore(const float* src, float* dst, int32_t n) { return SinFloat32RecordAvx512ManyCore.variant[1](src, dst, n); }
int32_t SinFloat32StubAvx512(const float* src, float* dst, int32_t n) { return SinFloat32RecordAvx512.variant[1](src, dst, n); }

int32_t CosFloat32StubSse2(const float* src, float* dst, int32_t n) { return CosFloat32RecordSse2.variant[1](src, dst, n); }
int32_t CosFloat32StubSse3(const float* src, float* dst, int32_t n) { return CosFloat32RecordSse3.variant[1](src, dst, n); }
int32_t CosFloat32StubSsse3(const float* src, float* dst, int32_t n) { return CosFloat32RecordSsse3.variant[1](src, dst, n); }
int32_t CosFloat32StubSse42(const float* src, float* dst, int32_t n) { return CosFloat32RecordSse42.variant[1](src, dst, n); }
int32_t CosFloat32StubAvx(const float* src, float* dst, int32_t n) { return CosFloat32RecordAvx.variant[1](src, dst, n); }
int32_t CosFloat32StubAvx2(const float* src, float* dst, int32_t n) { return CosFloat32RecordAvx2.variant[1](src, dst, n); }
int32_t CosFloat32StubAvx512ManyCore(const float* src, float* dst, int32_t n) { return CosFloat32RecordAvx512ManyCore.variant[1](src, dst, n); }
int32_t CosFloat32StubAvx512(const float* src, float* dst, int32_t n) { return CosFloat32RecordAvx512.variant[1](src, dst, n); }
