// The sine and cosine of one processor class: its two kernels (and, in
// classes 0, 1 and 4, its special-value routine), compiled once in each
// per-class file (sincos_sse2.cpp ...). Classes 2 and 3 have no file: they
// run the class-1 kernels (see the class table in sincos_records.cpp).
//
// The body is written once over a small ops layer, the struct Ops of the
// class's vector width (sincos_128.inl: classes 0 and 1; sincos_256.inl:
// classes 4 and 5; sincos_512.inl: classes 6 and 7). Everything but the
// exported functions lives in the class namespace.
//
// An Ops struct describes the class:
//   kW            floats per vector
//   kFused        multiply-adds marked "fused" below are single-rounding FMAs
//   VF, VI, VU    float / int32 / uint32 vectors of kW lanes (GCC vector types)
//   VD            double vector of kW/2 lanes
//   WidenLo/Hi    the low / high half of a VF widened to VD
//   Narrow        two VD rounded to float and joined (low half first)
//   LaneBits      bit l set when lane l of a mask is set
//   NotLessEqualBits  bit l set when a[l] <= b[l] does not hold (NaNs too)
//   FmaF, FmaD    a*b + c rounded once (fused classes only)
//   FnmaD         c - a*b rounded once (fused classes only)
//   kGather       Gather(base, idx) loads base[idx[l]] per lane (else lane by lane)
//
// Each element takes the fast path when |x| <= 10000 and the large path
// otherwise (also for infinities and NaNs). Fast path: x reduced by the
// nearest multiple of pi in double and one odd polynomial of degree 9, rounded
// once. Large path: the fraction of |x|/(2*pi) from the 96-bit table of 1/(2*pi)
// (integer product from 16-bit pieces), the nearest 256th of a turn, and the
// sum formula with a 256-entry table in float with compensated sums.
// Unfused classes round every operation by itself; fused classes fuse the
// pairs named in the code and convert the turn remainder to radians with an
// exact fused product instead of a 12-bit split of 2*pi.
#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "cpu/status.h"
#include "vmath/sincos/sincos_classes.h"
#include "vmath/sincos/sincos_tables.h"
#include "vmath/vmath_record.h"

#if LV_CLASS <= 3
#include "vmath/sincos/sincos_128.inl"
#elif LV_CLASS <= 5
#include "vmath/sincos/sincos_256.inl"
#else
#include "vmath/sincos/sincos_512.inl"
#endif

namespace LV_NS {
namespace {

using SpecialValuesFn = int32_t (*)(const float* x, float* result);

// The vectors of a block are unrolled (kept in registers), but in class 6:
// unrolled, the compiler runs out of registers and moves values through
// xmm16-31, which class 6 keeps out of (most of their forms need AVX-512 VL).
#if LV_CLASS == 6
#define LV_SINCOS_BLOCK_UNROLL 1
#else
#define LV_SINCOS_BLOCK_UNROLL 4
#endif
#define LV_SINCOS_PRAGMA(x) _Pragma(#x)
#define LV_SINCOS_UNROLL(n) LV_SINCOS_PRAGMA(GCC unroll n)

constexpr float F(uint32_t bits) { return __builtin_bit_cast(float, bits); }
constexpr double D(uint64_t bits) { return __builtin_bit_cast(double, bits); }

constexpr float kInvPi = F(0x3EA2F983u);
constexpr float kShifter = F(0x4B400000u);
constexpr float kHalfPi = F(0x3FC90FDBu);
constexpr float kHalf = F(0x3F000000u);
constexpr float kLimit = F(0x461C4000u);
constexpr double kPiHi = D(0x400921FB54440000ull);
constexpr double kPiLo = D(0x3D968C234C4C6629ull);
constexpr double kC1 = D(0xBFC55554BC836587ull);
constexpr double kC2 = D(0x3F8110ED3804CA96ull);
constexpr double kC3 = D(0xBF29F6FFEEA73463ull);
constexpr double kC4 = D(0x3EC5DBDF0E4C7DEEull);
constexpr float kGrid = F(0x47400000u);
constexpr float kTwoPi = F(0x40C90FDBu);
constexpr float kTwoPiHi = F(0x40C91000u);
constexpr float kTwoPiLo = F(0xB795777Au);
constexpr float kTwoPiTail = F(0xB43BBD2Eu);
constexpr float kS1 = F(0xBE2AAAABu);
constexpr float kS2 = F(0x3C08885Cu);
constexpr float kK1 = F(0xBF000000u);
constexpr float kK2 = F(0x3D2AAA7Cu);

constexpr uint32_t kSignBit = 0x80000000u;
constexpr uint32_t kExpMask = 0x7F800000u;

// The double-precision part of the fast path on half a vector: r = a - k*pi
// (pi in two parts), then r + r^3 * p(r^2), unrounded to float.
template <class Ops>
[[gnu::always_inline]] inline typename Ops::VD FastHalf(typename Ops::VD kd, typename Ops::VD ad) {
  using VD = typename Ops::VD;
  if constexpr (Ops::kFused) {
    VD r = Ops::FnmaD(kd, VD{} + kPiHi, ad);
    r = Ops::FnmaD(kd, VD{} + kPiLo, r);
    const VD z = r * r;
    VD p = Ops::FmaD(VD{} + kC4, z, VD{} + kC3);
    p = Ops::FmaD(p, z, VD{} + kC2);
    p = Ops::FmaD(p, z, VD{} + kC1);
    const VD q = p * z;
    return Ops::FmaD(q, r, r);
  } else {
    const VD r = (ad - kd * kPiHi) - kd * kPiLo;
    const VD z = r * r;
    const VD p = ((kC4 * z + kC3) * z + kC2) * z + kC1;
    return r + (z * p) * r;
  }
}

// The fast path (|x| <= 10000): the result of every lane as if it were small.
template <class Ops, bool kCos>
[[gnu::always_inline]] inline typename Ops::VF FastPath(typename Ops::VF x) {
  using VF = typename Ops::VF;
  using VU = typename Ops::VU;
  VF a;
  VF k;
  VU sign;
  if constexpr (kCos) {
    // k = m - 1/2 with m the integer nearest to (x + pi/2)/pi; the sign is the parity of m.
    const VF s = x + kHalfPi;
    VF t;
    if constexpr (Ops::kFused) {
      t = Ops::FmaF(s, VF{} + kInvPi, VF{} + kShifter);
    } else {
      t = s * kInvPi + kShifter;
    }
    k = (t - kShifter) - kHalf;
    sign = (VU)t << 31;
    a = x;
  } else {
    // k = the integer nearest to |x|/pi; the sign is the parity of k and the sign of x.
    a = (VF)((VU)x & ~kSignBit);
    VF t;
    if constexpr (Ops::kFused) {
      t = Ops::FmaF(a, VF{} + kInvPi, VF{} + kShifter);
    } else {
      t = a * kInvPi + kShifter;
    }
    k = t - kShifter;
    sign = ((VU)t << 31) ^ ((VU)x & kSignBit);
  }
  const VF y = Ops::Narrow(FastHalf<Ops>(Ops::WidenLo(k), Ops::WidenLo(a)),
                           FastHalf<Ops>(Ops::WidenHi(k), Ops::WidenHi(a)));
  return (VF)((VU)y ^ sign);
}

// The large path: the result of every lane as if it were large.
template <class Ops, bool kCos>
[[gnu::always_inline]] inline typename Ops::VF LargePath(typename Ops::VF x) {
  using VF = typename Ops::VF;
  using VU = typename Ops::VU;
  constexpr int kW = Ops::kW;
  const VU u = (VU)x;
  const VU sigma = u & kSignBit;
  const VU e = (u >> 23) & 0xFFu;
  const VU m = (u & 0x007FFFFFu) | 0x00800000u;

  VU w0;
  VU w1;
  VU w2;
  if constexpr (Ops::kGather) {
    const VU at = e * 3u;
    w0 = Ops::Gather(&lv_sincos_tables::kInvTwoPiTable[0][0], at);
    w1 = Ops::Gather(&lv_sincos_tables::kInvTwoPiTable[0][1], at);
    w2 = Ops::Gather(&lv_sincos_tables::kInvTwoPiTable[0][2], at);
  } else {
    for (int l = 0; l < kW; ++l) {
      const uint32_t* row = lv_sincos_tables::kInvTwoPiTable[e[l]];
      w0[l] = row[0];
      w1[l] = row[1];
      w2[l] = row[2];
    }
  }

  // Bits 95..32 of m * row, from ten 16-bit partial products in 32-bit lanes.
  const VU mh = m >> 16;
  const VU ml = m & 0xFFFFu;
  const VU w0h = w0 >> 16;
  const VU w0l = w0 & 0xFFFFu;
  const VU w1h = w1 >> 16;
  const VU w1l = w1 & 0xFFFFu;
  const VU w2h = w2 >> 16;
  const VU w2l = w2 & 0xFFFFu;
  const VU ml_w1l = ml * w1l;
  const VU ml_w1h = ml * w1h;
  const VU ml_w0l = ml * w0l;
  const VU pa = (ml_w1l & 0xFFFFu) + mh * w2h + ((ml * w2h) >> 16) + ((mh * w2l) >> 16);
  const VU pb = (ml_w1h & 0xFFFFu) + mh * w1l + (ml_w1l >> 16) + (pa >> 16);
  const VU pc = (ml_w0l & 0xFFFFu) + mh * w1h + (ml_w1h >> 16) + (pb >> 16);
  const VU pd = ((ml * w0h) & 0xFFFFu) + mh * w0l + (ml_w0l >> 16) + (pc >> 16);
  const VU hi = (pd << 16) + (pc & 0xFFFFu);  // bits 95..64
  const VU lo = (pb << 16) + (pa & 0xFFFFu);  // bits 63..32

  // The turn fraction as q - sigma + f2 + f3, each part exact in float.
  const VU b1 = hi >> 9;
  const VU b2 = ((hi & 0x1FFu) << 14) | (lo >> 18);
  const VU b3 = lo & 0x3FFFFu;
  const VF q = (VF)(sigma | 0x3F800000u | b1);
  const VF f2 = (VF)(sigma | 0x34000000u | b2) - (VF)(sigma | 0x34000000u);
  const VF f3 = (VF)(sigma | 0x28800000u | (b3 << 5)) - (VF)(sigma | 0x28800000u);

  // The nearest 256th of a turn and the remainder d (|d| <= 2^-9 turn).
  const VF g = q + kGrid;
  const VU j = (VU)g & 0xFFu;
  const VF d = q - (g - kGrid);

  // The remainder in radians as y + yl.
  VF y;
  VF yl;
  const VF t = d + f2;
  const VF te = f2 + (d - t);
  const VF uu = te + f3;
  if constexpr (Ops::kFused) {
    const VF twoPi = VF{} + kTwoPi;
    y = t * kTwoPi;
    const VF err = Ops::FmaF(t, twoPi, -y);
    const VF w = Ops::FmaF(t, VF{} + kTwoPiTail, err);
    yl = Ops::FmaF(uu, twoPi, w);
  } else {
    const VF th = (VF)((VU)t & 0xFFFFF000u);
    const VF tl = t - th;
    const VF mid = (kTwoPiHi * tl + th * kTwoPiLo) + (uu * kTwoPi + tl * kTwoPiLo);
    const VF a0 = kTwoPiHi * th;
    y = mid + a0;
    yl = mid + (a0 - y);
  }

  // sin or cos of (2*pi*j/256 + y + yl) by the sum formula.
  const uint32_t(*turn)[4] = kCos ? lv_sincos_tables::kCosTurnTableBits : lv_sincos_tables::kSinTurnTableBits;
  VU t0b;
  VU t1b;
  VU t2b;
  VU t3b;
  if constexpr (Ops::kGather) {
    const VU at = j * 4u;
    t0b = Ops::Gather(&turn[0][0], at);
    t1b = Ops::Gather(&turn[0][1], at);
    t2b = Ops::Gather(&turn[0][2], at);
    t3b = Ops::Gather(&turn[0][3], at);
  } else {
    for (int l = 0; l < kW; ++l) {
      const uint32_t* entry = turn[j[l]];
      t0b[l] = entry[0];
      t1b[l] = entry[1];
      t2b[l] = entry[2];
      t3b[l] = entry[3];
    }
  }
  const VF T0 = (VF)t0b;
  const VF T1 = (VF)t1b;
  const VF T2 = (VF)t2b;
  const VF T3 = (VF)t3b;
  const VF y2 = y * y;
  if constexpr (Ops::kFused) {
    const VF A = Ops::FmaF(y, T3, T1);
    const VF B = Ops::FmaF(T0, y, A);
    const VF e1 = Ops::FmaF(y, T3, T1 - A);
    const VF e2 = Ops::FmaF(T0, y, A - B);
    const VF ee = e2 + e1;
    const VF S = (Ops::FmaF(VF{} + kS2, y2, VF{} + kS1) * y2) * y;
    const VF cs = Ops::FmaF(-y, T1, T0 + T3);
    const VF C = Ops::FmaF(VF{} + kK2, y2, VF{} + kK1) * y2;
    return B + (Ops::FmaF(C, T1, Ops::FmaF(yl, cs, T2)) + Ops::FmaF(S, cs, ee));
  } else {
    const VF p3 = y * T3;
    const VF A = T1 + p3;
    const VF e1 = p3 + (T1 - A);
    const VF p0 = y * T0;
    const VF B = A + p0;
    const VF e2 = p0 + (A - B);
    const VF ee = e2 + e1;
    const VF S = ((kS2 * y2 + kS1) * y2) * y;
    const VF C = y2 * (kK2 * y2 + kK1);
    const VF cs = (T0 + T3) - y * T1;
    return B + ((T1 * C + (yl * cs + T2)) + (cs * S + ee));
  }
}

// One block of kV vectors: reads in[0, kW*kV) before writing out[0, kW*kV).
// base is the block's first index in the caller's arrays (for the callback).
template <class Ops, bool kCos, int kV>
[[gnu::always_inline]] inline int32_t Block(const float* in, float* out, int32_t base, const float* src, float* dst,
                                            int32_t* cell, SpecialValuesFn special, int32_t status) {
  using VF = typename Ops::VF;
  using VI = typename Ops::VI;
  using VU = typename Ops::VU;
  constexpr int kW = Ops::kW;
  VF x[kV];
  VF r[kV];
  uint64_t largeBits = 0;  // one bit per lane of the block (up to 64)
  LV_SINCOS_UNROLL(LV_SINCOS_BLOCK_UNROLL) for (int v = 0; v < kV; ++v) {
    __builtin_memcpy(&x[v], in + v * kW, sizeof(VF));
    r[v] = FastPath<Ops, kCos>(x[v]);
    const VF ax = (VF)((VU)x[v] & ~kSignBit);
    largeBits |= uint64_t{Ops::NotLessEqualBits(ax, VF{} + kLimit)} << (v * kW);
  }
  if (__builtin_expect(largeBits != 0, 0)) {
    uint64_t specialBits = 0;
    LV_SINCOS_UNROLL(LV_SINCOS_BLOCK_UNROLL) for (int v = 0; v < kV; ++v) {
      const VI large = ~(VI)(((VF)((VU)x[v] & ~kSignBit)) <= kLimit);
      r[v] = large ? LargePath<Ops, kCos>(x[v]) : r[v];
      specialBits |= uint64_t{Ops::LaneBits((VI)(((VU)x[v] & kExpMask) == kExpMask))} << (v * kW);
    }
    if (specialBits != 0) {
      alignas(64) float xs[kV * kW];
      alignas(64) float rs[kV * kW];
      LV_SINCOS_UNROLL(LV_SINCOS_BLOCK_UNROLL) for (int v = 0; v < kV; ++v) {
        __builtin_memcpy(xs + v * kW, &x[v], sizeof(VF));
        __builtin_memcpy(rs + v * kW, &r[v], sizeof(VF));
      }
      for (int l = 0; l < kV * kW; ++l) {
        if (((specialBits >> l) & 1u) == 0) {
          continue;
        }
        const int32_t code = special(&xs[l], &rs[l]);
        if (code != 0) {
          const int32_t i = base + l;
          dst[i] = rs[l];
          MathErrorCallback(code, i, src, src, dst, dst, cell);
          rs[l] = dst[i];
          status = code;
        }
      }
      LV_SINCOS_UNROLL(LV_SINCOS_BLOCK_UNROLL) for (int v = 0; v < kV; ++v) {
        __builtin_memcpy(&r[v], rs + v * kW, sizeof(VF));
      }
    }
  }
  LV_SINCOS_UNROLL(LV_SINCOS_BLOCK_UNROLL) for (int v = 0; v < kV; ++v) {
    __builtin_memcpy(out + v * kW, &r[v], sizeof(VF));
  }
  return status;
}

// A whole kernel run: checks, floating-point environment, whole blocks, then
// the remaining elements as one zero-padded block on the stack (each lane gets
// exactly the result it gets in a block; nothing beyond n is read or written).
template <class Ops, bool kCos, int kV>
int32_t Kernel(const float* src, float* dst, int32_t n, int32_t* cell, SpecialValuesFn special) {
  if (n <= 0) {
    return StatusBadCount;
  }
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  constexpr int kBlock = Ops::kW * kV;
  int32_t status = 0;
  int32_t i = 0;
  for (; n - i >= kBlock; i += kBlock) {
    status = Block<Ops, kCos, kV>(src + i, dst + i, i, src, dst, cell, special, status);
  }
  if (i < n) {
    const int rest = n - i;
    alignas(64) float in[kBlock];
    alignas(64) float out[kBlock];
    for (int l = 0; l < kBlock; ++l) {
      in[l] = l < rest ? src[i + l] : 0.0f;
    }
    status = Block<Ops, kCos, kV>(in, out, i, src, dst, cell, special, status);
    for (int l = 0; l < rest; ++l) {
      dst[i + l] = out[l];
    }
  }
  lv_vmath_env::LeaveKernel(env);
  return status;
}

// The special values of one element (the routine of every class).
inline int32_t SpecialValues(const float* xp, float* result) {
  uint32_t u;
  __builtin_memcpy(&u, xp, sizeof u);
  if ((u & kExpMask) != kExpMask) {
    return 0;
  }
  float x = *xp;
  __asm__("" : "+x"(x));  // keep the compiler from folding the products below
  if ((u & 0x7FFFFFFFu) == kExpMask) {
    *result = x * 0.0f;  // the processor's default NaN
    return kVmathCodeDomain;
  }
  *result = x * x;  // the NaN made quiet, sign and payload kept
  return 0;
}

// The class's choices. Vectors per block: class 0 one; class 1 two; class 4
// four; class 5 two for the sine, four for the cosine; class 6 two and one;
// class 7 four for the sine (its double-precision halves then overlap enough
// to keep both FMA pipes busy) and two for the cosine.
constexpr int kSinVectors = kClass == 0 ? 1 : (kClass == 4 || kClass == 7) ? 4 : 2;
constexpr int kCosVectors = (kClass == 0 || kClass == 6) ? 1 : (kClass == 4 || kClass == 5) ? 4 : 2;

// The special-value routine of the kernels: classes 0, 1 and 4 export their
// own (below); the class-5 kernels call the class-4 routine (the same scalar
// code, compiled without AVX2 and FMA); classes 6 and 7 keep theirs inside.
#if LV_CLASS == 5
constexpr SpecialValuesFn kSpecial = &SinFloat32SpecialValuesAvx;
#elif LV_CLASS >= 6
constexpr SpecialValuesFn kSpecial = &SpecialValues;
#else
constexpr SpecialValuesFn kSpecial = &LV_NAME(SinFloat32SpecialValues);
#endif

// Status cells handed to MathErrorCallback; the kernels never touch them.
int32_t g_sinStatusCell = 0;
int32_t g_cosStatusCell = 0;

}  // namespace
}  // namespace LV_NS

#if LV_CLASS == 0 || LV_CLASS == 1 || LV_CLASS == 4
int32_t LV_NAME(SinFloat32SpecialValues)(const float* x, float* result) { return LV_NS::SpecialValues(x, result); }
#endif

int32_t LV_NAME(SinFloat32Kernel)(const float* src, float* dst, int32_t n) {
  return LV_NS::Kernel<LV_NS::Ops, false, LV_NS::kSinVectors>(src, dst, n, &LV_NS::g_sinStatusCell, LV_NS::kSpecial);
}

int32_t LV_NAME(CosFloat32Kernel)(const float* src, float* dst, int32_t n) {
  return LV_NS::Kernel<LV_NS::Ops, true, LV_NS::kCosVectors>(src, dst, n, &LV_NS::g_cosStatusCell, LV_NS::kSpecial);
}
