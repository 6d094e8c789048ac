// The portable complex FFT (processor class 0): size query, initialisation and
// the forward and inverse transforms of orders 0 to 27, in scalar
// single-precision arithmetic, each product rounded before it is added.
//
// Specification layout behind the 144-byte header:
// - orders 0-5: nothing; the twiddles come straight from the fixed sine table;
// - orders 6-10: at base + 144 the swap list (int32 pair count, then that many
//   int32 pairs i < j of bit-reversed positions), then at the next 64-byte
//   boundary the twiddles W_N^k = (cos, -sin)(2 pi k/N), k < N/2;
// - orders 11-27: the twiddles of the order at the first 64-byte boundary
//   behind the header; the bit reversal is computed on the fly.
// Every twiddle is a copy of a quarter-wave sine table entry (the fixed order-10
// table up to order 10, above it one generated in the init buffer), negated by
// flipping its sign.
#include <cstddef>
#include <cstdint>

#include "fft/fft.h"
#include "fft/fft_spec.h"
#include "platform/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/dispatch.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/zerofill/zerofill.h"
#include "vmath/sincos/sincos.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {

// x rounded up to the next multiple of 64.
int64_t Align64(int64_t x) { return (x + 63) & ~int64_t{63}; }

uint8_t* AlignPointer64(uint8_t* p) {
  return reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
}

// Raw counts of one large-order level of order L (no sine-table term).
void LargeOrderLevelSizes(int32_t order, int64_t* spec, int64_t* init, int64_t* work) {
  const int64_t n = int64_t{1} << order;
  const int32_t outer = kFftOrderSplitSse2[order];
  if (outer == 0) {
    *spec = Align64(2 * n) + 8256;
    *init = 0;
    *work = 0;
    return;
  }
  const int32_t inner = order - outer;
  const int64_t k = int64_t{1} << outer;
  int64_t s = 0;
  int64_t i = 0;
  int64_t w = 0;
  if (inner <= kFftLeafLimitSse2) {
    s = Align64(8 * (int64_t{1} << inner) + 8);
  } else {
    LargeOrderLevelSizes(inner, &s, &i, &w);
  }
  *spec = s + Align64(8 * k + 8) + 8 * n;
  *init = i + Align64(k + 4) + 32 * k;
  *work = w > 32 * k ? w : 32 * k;
}

bool ValidFlag(int32_t flag) {
  return flag == kFftScaleForward || flag == kFftScaleInverse || flag == kFftScaleBoth || flag == kFftNoScale;
}

// The quarter-wave sine table of an order above 10: angles in float64 rounded
// to float32, sines over the first octant, cosines of the complementary angles
// over the second. Returns the first 64-byte boundary behind the table.
uint8_t* MakeSineTable(int32_t order, float* table) {
  const int64_t n = int64_t{1} << order;
  const int64_t q = n / 4;
  const int64_t h = n / 8;
  const double step = 6.283185307179586 / static_cast<double>(n);
  for (int64_t k = 0; k <= h; ++k) {
    table[k] = static_cast<float>(static_cast<double>(k) * step);
  }
  for (int64_t k = h + 1; k <= q; ++k) {
    table[k] = static_cast<float>(static_cast<double>(q - k) * step);
  }
  SinFloat32StubSse2(table, table, static_cast<int32_t>(h + 1));
  CosFloat32StubSse2(table + h + 1, table + h + 1, static_cast<int32_t>(h));
  return reinterpret_cast<uint8_t*>(table) + Align64(n + 4);
}

float Negated(float v) {
  uint32_t bits = 0;
  __builtin_memcpy(&bits, &v, 4);
  bits ^= 0x80000000u;
  __builtin_memcpy(&v, &bits, 4);
  return v;
}

// W_N^k = (cos, -sin)(2 pi k/N) for k < N/2 from a quarter-wave table of order
// order + log2(stride), read at that stride.
void ExpandTwiddles(int32_t order, const float* sine, int64_t stride, ComplexFloat32* tw) {
  const int64_t n = int64_t{1} << order;
  const int64_t q = n / 4;
  if (order == 0) {
    tw[0] = {1.0f, -0.0f};
    return;
  }
  if (order == 1) {
    tw[0] = {1.0f, -0.0f};
    return;
  }
  for (int64_t k = 0; k < n / 2; ++k) {
    if (k <= q) {
      tw[k] = {sine[(q - k) * stride], Negated(sine[k * stride])};
    } else {
      tw[k] = {Negated(sine[(k - q) * stride]), Negated(sine[(2 * q - k) * stride])};
    }
  }
}

// Next bit-reversed index of r for a transform of 2^order points.
uint64_t NextReversed(uint64_t r, int32_t order) {
  uint64_t bit = (uint64_t{1} << order) >> 1;
  while (bit != 0 && (r & bit) != 0) {
    r ^= bit;
    bit >>= 1;
  }
  return r | bit;
}

// Writes the swap list of a medium order at list; returns the first 64-byte
// boundary behind it.
uint8_t* MakeSwapList(int32_t order, uint8_t* list) {
  int32_t* cells = reinterpret_cast<int32_t*>(list);
  const uint64_t n = uint64_t{1} << order;
  int32_t pairs = 0;
  uint64_t r = 0;
  for (uint64_t i = 0; i < n; ++i) {
    if (i < r) {
      cells[1 + 2 * pairs] = static_cast<int32_t>(i);
      cells[2 + 2 * pairs] = static_cast<int32_t>(r);
      ++pairs;
    }
    r = NextReversed(r, order);
  }
  cells[0] = pairs;
  return AlignPointer64(list + 4 + 8 * int64_t{pairs});
}

// Puts src in bit-reversed order into dst (src == dst: in place).
void BitReverse(const ComplexFloat32* src, ComplexFloat32* dst, int32_t order, const int32_t* swapList) {
  const uint64_t n = uint64_t{1} << order;
  if (src == dst) {
    if (swapList != nullptr) {
      // A fixed number of steps: the list holds its pair count.
      const int32_t pairs = swapList[0];
      for (int32_t p = 0; p < pairs; ++p) {
        const int32_t i = swapList[1 + 2 * p];
        const int32_t j = swapList[2 + 2 * p];
        const ComplexFloat32 t = dst[i];
        dst[i] = dst[j];
        dst[j] = t;
      }
      return;
    }
    uint64_t r = 0;
    for (uint64_t i = 0; i < n; ++i) {
      if (i < r) {
        const ComplexFloat32 t = dst[i];
        dst[i] = dst[r];
        dst[r] = t;
      }
      r = NextReversed(r, order);
    }
    return;
  }
  uint64_t r = 0;
  for (uint64_t i = 0; i < n; ++i) {
    dst[r] = src[i];
    r = NextReversed(r, order);
  }
}

// Radix-2 decimation-in-time stages over data in bit-reversed order.
void Butterflies(ComplexFloat32* x, int32_t order, const ComplexFloat32* tw) {
  const int64_t n = int64_t{1} << order;
  for (int32_t s = 1; s <= order; ++s) {
    const int64_t half = int64_t{1} << (s - 1);
    const int64_t step = n >> s;
    for (int64_t start = 0; start < n; start += 2 * half) {
      ComplexFloat32* a = x + start;
      ComplexFloat32* b = a + half;
      for (int64_t j = 0; j < half; ++j) {
        const ComplexFloat32 w = tw[j * step];
        const ComplexFloat32 u = a[j];
        const ComplexFloat32 v = b[j];
        const float tr = w.re * v.re - w.im * v.im;
        const float ti = w.re * v.im + w.im * v.re;
        a[j] = {u.re + tr, u.im + ti};
        b[j] = {u.re - tr, u.im - ti};
      }
    }
  }
}

void Conjugate(ComplexFloat32* x, int64_t n) {
  for (int64_t i = 0; i < n; ++i) {
    x[i].im = Negated(x[i].im);
  }
}

int32_t Transform(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                  const uint8_t* workBuffer, bool inverse) {
  if (spec == nullptr) {
    return StatusNullPointer;
  }
  if (spec->identifier != kFftSpecIdentifier) {
    return StatusFftBadSpec;
  }
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (workBuffer == nullptr && spec->workBytes > 0) {
    return StatusNullPointer;
  }
  const int32_t order = spec->order;
  const int64_t n = int64_t{1} << order;
  ComplexFloat32 smallTwiddles[16];
  const ComplexFloat32* tw = static_cast<const ComplexFloat32*>(spec->twiddles);
  if (order <= kFftSmallOrderLimitSse2) {
    ExpandTwiddles(order, kFftQuarterSineOrder10, int64_t{1} << (10 - order), smallTwiddles);
    tw = smallTwiddles;
  }
  const int32_t* swapList = order <= kFftLeafLimitSse2 ? static_cast<const int32_t*>(spec->swapList) : nullptr;
  BitReverse(src, dst, order, swapList);
  if (inverse) {
    Conjugate(dst, n);
  }
  Butterflies(dst, order, tw);
  if (inverse) {
    Conjugate(dst, n);
  }
  if (inverse ? spec->inverseScale != 0 : spec->forwardScale != 0) {
    VectorMultiplyScalarInPlaceFloat32Sse2(spec->scale, reinterpret_cast<float*>(dst), static_cast<int32_t>(2 * n));
  }
  return StatusOk;
}

}  // namespace
}  // namespace lv_sse2

int32_t FftGetSizeComplexFloat32Sse2(int32_t order, int32_t flag, int32_t /*hint*/, int32_t* specBytes,
                                     int32_t* initBytes, int32_t* workBytes) {
  using namespace lv_sse2;
  if (static_cast<uint32_t>(order) > 30) {
    return StatusFftBadOrder;
  }
  if (specBytes == nullptr || initBytes == nullptr || workBytes == nullptr) {
    return StatusNullPointer;
  }
  if (!ValidFlag(flag)) {
    return StatusFftBadFlag;
  }
  if (order > kFftLargestOrderSse2) {
    return StatusFftBadOrder;
  }
  const int64_t n = int64_t{1} << order;
  const int64_t sine = Align64(n + 4);
  int64_t spec = 208;
  int64_t init = 0;
  int64_t work = 0;
  if (order > kFftLeafLimitSse2) {
    int64_t s = 0;
    int64_t i = 0;
    int64_t w = 0;
    LargeOrderLevelSizes(order, &s, &i, &w);
    spec = s + sine + 256;
    init = sine + i + 64;
    work = w > 0 ? w + 64 : 0;
  } else if (order > kFftSmallOrderLimitSse2) {
    spec = Align64(8 * n + 8) + sine + 256;
  }
  *specBytes = static_cast<int32_t>(spec);
  *initBytes = static_cast<int32_t>(init);
  *workBytes = static_cast<int32_t>(work);
  return StatusOk;
}

int32_t FftInitComplexFloat32Sse2(FftSpecComplexFloat32** specOut, int32_t order, int32_t flag, int32_t hint,
                                  uint8_t* specMemory, uint8_t* initBuffer) {
  using namespace lv_sse2;
  if (specOut == nullptr) {
    return StatusNullPointer;
  }
  if (static_cast<uint32_t>(order) > 30 || order > kFftLargestOrderSse2) {
    return StatusFftBadOrder;
  }
  if (specMemory == nullptr) {
    return StatusNullPointer;
  }
  uint8_t* base = AlignPointer64(specMemory);
  VectorZeroFillUint8Sse2(base, kFftSpecHeaderBytes);
  auto* spec = reinterpret_cast<FftSpecComplexFloat32*>(base);
  spec->hint = hint;
  spec->order = order;
  spec->reserved = 0;
  const int64_t n = int64_t{1} << order;
  const float inverseN = 1.0f / static_cast<float>(n);
  switch (flag) {
    case kFftNoScale:
      break;
    case kFftScaleBoth:
      spec->forwardScale = 1;
      spec->inverseScale = 1;
      spec->scale = static_cast<float>(1.0 / ScalarSqrtFloat64Sse2(static_cast<double>(n)));
      break;
    case kFftScaleForward:
      spec->forwardScale = 1;
      spec->scale = inverseN;
      break;
    case kFftScaleInverse:
      spec->inverseScale = 1;
      spec->scale = inverseN;
      break;
    default:
      return StatusFftBadFlag;
  }
  // The identifier is set last: a specification whose initialisation failed
  // keeps identifier 0 and is refused by every transform.
  if (order <= kFftSmallOrderLimitSse2) {
    spec->workBytes = 0;
    spec->identifier = kFftSpecIdentifier;
    *specOut = spec;
    return StatusOk;
  }
  const float* sine = kFftQuarterSineOrder10;
  int64_t stride = int64_t{1} << (order <= 10 ? 10 - order : 0);
  if (order > 10) {
    if (initBuffer == nullptr) {
      return StatusNullPointer;
    }
    float* table = reinterpret_cast<float*>(AlignPointer64(initBuffer));
    MakeSineTable(order, table);
    sine = table;
    stride = 1;
  }
  uint8_t* tables = base + kFftSpecHeaderBytes;
  if (order <= kFftLeafLimitSse2) {
    spec->swapList = tables;
    tables = MakeSwapList(order, tables);
    spec->workBytes = 0;
  } else {
    int64_t s = 0;
    int64_t i = 0;
    int64_t w = 0;
    LargeOrderLevelSizes(order, &s, &i, &w);
    spec->workBytes = static_cast<int32_t>(w);
    tables = AlignPointer64(tables);
  }
  ExpandTwiddles(order, sine, stride, reinterpret_cast<ComplexFloat32*>(tables));
  spec->twiddles = tables;
  spec->identifier = kFftSpecIdentifier;
  *specOut = spec;
  return StatusOk;
}

int32_t FftForwardComplexFloat32Sse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                     uint8_t* workBuffer) {
  return lv_sse2::Transform(src, dst, spec, workBuffer, false);
}

int32_t FftInverseComplexFloat32Sse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                     uint8_t* workBuffer) {
  return lv_sse2::Transform(src, dst, spec, workBuffer, true);
}
