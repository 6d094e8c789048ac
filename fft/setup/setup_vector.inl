// FFT set-up of classes 1 to 7 (included by setup_body.inl): size query, FFT
// plan initialisation, the stage-block twiddle table, the swap lists and the
// large-order plan, with the class's limits, group width and stage plan from
// the class table. Sizes and offsets are 64-bit inside; only the reported
// counts are int32. The sine table, the quarter-wave look-up and the swap
// lists come from table_builders.inl.

namespace LV_NS {
namespace {

#include "fft/setup/table_builders.inl"

constexpr FftClassRow kRow = kFftClasses[kClass];

#if LV_CLASS == 6
// Class 6 forms its scale factors without a divide, through the 28-bit
// reciprocal (vmath/rcp28.h).

// 2^e as a double (e within the normal range).
double Pow2(int32_t e) {
  const uint64_t bits = static_cast<uint64_t>(1023 + e) << 52;
  double d = 0;
  __builtin_memcpy(&d, &bits, 8);
  return d;
}

// The 28-bit reciprocal approximation of one float.
float Reciprocal28(float m) { return _mm512_cvtss_f32(lv_vmath_rcp28::Rcp28(_mm512_set1_ps(m))); }

// 1/N for N = 2^order without a divide: the mantissa's 28-bit reciprocal, one
// fused correction in float32, then the exponent applied.
float InverseN(int32_t order) {
  const float x = static_cast<float>(int64_t{1} << order);
  uint32_t bits = 0;
  __builtin_memcpy(&bits, &x, 4);
  const int32_t exponent = static_cast<int32_t>((bits >> 23) & 0xFF) - 127;
  const uint32_t mantissaBits = (bits & 0x7FFFFFu) | 0x3F800000u;
  float mantissa = 0;
  __builtin_memcpy(&mantissa, &mantissaBits, 4);
  const float r = Reciprocal28(mantissa);
  const float q = r * 1.0f;
  const float d = __builtin_fmaf(-q, mantissa, 1.0f);
  const float refined = __builtin_fmaf(r, d, q);
  return refined * static_cast<float>(Pow2(-exponent));
}

// 1/y for a positive normal double y without a divide: the mantissa's 28-bit
// reciprocal, two fused corrections in float64, the exponent applied, then
// rounded to float32.
float ReciprocalSqrt(double y) {
  uint64_t bits = 0;
  __builtin_memcpy(&bits, &y, 8);
  const int32_t exponent = static_cast<int32_t>((bits >> 52) & 0x7FF) - 1023;
  const uint64_t mantissaBits = (bits & 0xFFFFFFFFFFFFFull) | 0x3FF0000000000000ull;
  double mantissa = 0;
  __builtin_memcpy(&mantissa, &mantissaBits, 8);
  const double r = Reciprocal28(static_cast<float>(mantissa));
  const double q = r * 1.0;
  const double e = __builtin_fma(-r, mantissa, 1.0);
  const double d = __builtin_fma(-q, mantissa, 1.0);
  const double r2 = __builtin_fma(e, r, r);
  const double q2 = __builtin_fma(d, r2, q);
  return static_cast<float>(q2 * Pow2(-exponent));
}

float InverseSqrtN(int32_t order) {
  return ReciprocalSqrt(LV_NAME(ScalarSqrtFloat64)(static_cast<double>(int64_t{1} << order)));
}
#else
// 1/N as a float quotient and 1/sqrt(N) as a double quotient of the class's
// square root, rounded to float.
float InverseN(int32_t order) { return 1.0f / static_cast<float>(int64_t{1} << order); }
float InverseSqrtN(int32_t order) {
  return static_cast<float>(1.0 / LV_NAME(ScalarSqrtFloat64)(static_cast<double>(int64_t{1} << order)));
}
#endif

struct Setup {
  // x rounded up to the next multiple of 64.
  static int64_t A64(int64_t x) { return (x + 63) & ~int64_t{63}; }

  template <class T>
  static T* AlignUp64(T* p) {
    return reinterpret_cast<T*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
  }

  static bool ValidFlag(int32_t flag) {
    return flag == kFftScaleForward || flag == kFftScaleInverse || flag == kFftScaleBoth || flag == kFftNoScale;
  }

  // 2 pi / 2^order in float64: the nearest double to 2 pi with its exponent
  // lowered by order (exact, no division).
  static double AngleStep(int32_t order) {
    uint64_t bits = 0;
    const double twoPi = 6.283185307179586;
    __builtin_memcpy(&bits, &twoPi, 8);
    bits -= static_cast<uint64_t>(order) << 52;
    double step = 0;
    __builtin_memcpy(&step, &bits, 8);
    return step;
  }

  // Radix of the next stage after o index bits of an order-n table.
  static int StageRadix(int32_t n, int32_t o) {
    const int32_t left = n - o;
    if constexpr (kRow.stagePlan == FftStagePlan::kMixed128) {
      if (left == 3 || (left > 4 && o > 2)) return 8;
      if (o == 2 && (n == 7 || n == 10 || n == 11 || n == 13 || n == 14)) return 8;
      return 4;
    } else if constexpr (kRow.stagePlan == FftStagePlan::kFoursFirst128) {
      return left % 3 == 0 ? 8 : 4;
    } else {
      if (left == 3 || (left > 4 && o > 2 && n <= 11)) return 8;
      if (o == 4 && (n & 1) != 0) return 8;
      return 4;
    }
  }

  // ---- quarter-wave sine table -------------------------------------------

  static void* MakeSineTable(int32_t order, float* table) {
    MakeQuarterSineTable(order, table);
    return reinterpret_cast<uint8_t*>(table) + A64((int64_t{1} << order) + 4);
  }

  // ---- radix-4 twiddle table (stage blocks) ------------------------------

  static void* ExpandRadix4Twiddles(int32_t n, const float* sine, int32_t b, float* out) {
    const int64_t q = (int64_t{1} << b) / 4;
    float* p = out;
    int32_t o = 2;
    while (o < n) {
      const int r = StageRadix(n, o);
      const int32_t bits = r == 8 ? 3 : 2;
      const int32_t od = o + bits;
      const int64_t d = int64_t{1} << od;
      const int64_t stride = int64_t{1} << (b - od);
      const int64_t width = (kRow.groupWidth == 8 && od == 4) ? 4 : kRow.groupWidth;
      for (int64_t j0 = 0; j0 < d / r; j0 += width) {
        for (int64_t k = 1; k < r; ++k) {
          for (int64_t i = 0; i < width; ++i) {
            QuarterWave(sine, q, k * (j0 + i) * stride, p + i, p + width + i);
          }
          p += 2 * width;
        }
      }
      o = od;
    }
    return reinterpret_cast<uint8_t*>(out) + A64(8 * (int64_t{1} << n));
  }

  // ---- swap lists ---------------------------------------------------------

  static void* MakeBitReverseList(int32_t n, int32_t* out) { return MakeCompleteList(n, out); }

  static void* MakeTileBitReverseList(int32_t n, int32_t* out) { return MakePairsList(n, out); }

  static void* MakeBlockedBitReverseList(int32_t n, int32_t t, int32_t* out) {
    return MakePairsList(2 * t, MakeBlockOffsets(n, t, out));
  }

  // ---- size query -----------------------------------------------------------

  // Raw counts of one plan level of order L: (spec, init, work); depth plays no
  // part in them.
  static void FftGetSizeLargeOrderLevel(int32_t order, int32_t depth, int64_t* s, int64_t* i, int64_t* w) {
    const int32_t outer = LV_NAME(kFftOrderSplit)[order];
    const int32_t inner = order - outer;
    if (inner <= kRow.leafLimit) {
      *s = A64(8 * (int64_t{1} << inner) + 8);
      *i = 0;
      *w = A64(8 * (int64_t{1} << inner));
    } else {
      FftGetSizeLargeOrderLevel(inner, depth + 1, s, i, w);
    }
    *s += 4 * (int64_t{1} << order);
    const int64_t columns = 8 * (int64_t{1} << LV_NAME(kFftColumnBlock)[order]);
    if (*w < columns) *w = columns;
  }

  static void FftGetSizeLargeOrder(int32_t order, int64_t* s, int64_t* i, int64_t* w) {
    FftGetSizeLargeOrderLevel(order, 1, s, i, w);
    const int64_t n = int64_t{1} << order;
    if (order >= kRow.blockedThreshold) {
      *s += 4 * (n / 4096) + 4160;
      if (*w < 65536) *w = 65536;
    } else {
      *s += A64(n + 4);
    }
  }

  static int32_t GetSize(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes, int32_t* initBytes,
                         int32_t* workBytes) {
    if (static_cast<uint32_t>(order) > 30) return StatusFftBadOrder;
    if (specBytes == nullptr || initBytes == nullptr || workBytes == nullptr) return StatusNullPointer;
    if (!ValidFlag(flag)) return StatusFftBadFlag;
    if (order > kRow.largestOrder) return StatusFftBadOrder;
    if constexpr (kRow.manyCoreLimit >= 0) {
      if (order <= kRow.manyCoreLimit) return FftGetSizeManyCoreSpec(order, flag, hint, specBytes, initBytes, workBytes);
    }
    const int64_t n = int64_t{1} << order;
    const int64_t sine = A64(n + 4);
    int64_t spec = 208;
    int64_t init = 0;
    int64_t work = 0;
    if (order <= kRow.smallOrderLimit) {
      // the header alone
    } else if (order <= kRow.leafLimit) {
      spec = A64(8 * n + 8) + sine + 256;
      init = order > 10 ? sine + 64 : 0;
      work = A64(8 * n) + 64;
    } else {
      int64_t s = 0, i = 0, w = 0;
      FftGetSizeLargeOrder(order, &s, &i, &w);
      spec = s + 256;
      init = sine + i + 64;
      work = w > 0 ? w + 64 : 0;
    }
    *specBytes = static_cast<int32_t>(spec);
    *initBytes = static_cast<int32_t>(init);
    *workBytes = static_cast<int32_t>(work);
    return StatusOk;
  }

  // ---- large-order plan ---------------------------------------------------

  // Column-pass twiddles of one level of order L (storage order: column
  // blocks, their passes, rows k, units of V positions, multipliers).
  static void FillColumnTable(int32_t order, const float* sine, int32_t a, float* out) {
    const int32_t outer = LV_NAME(kFftOrderSplit)[order];
    const int32_t c = order - outer;
    const int64_t columns = int64_t{1} << c;
    const int64_t e = int64_t{1} << (LV_NAME(kFftColumnBlock)[order] - outer);
    const int64_t q = (int64_t{1} << a) / 4;
    constexpr int64_t V = kRow.groupWidth;
    float* p = out;
    for (int64_t f = 0; f < columns; f += e) {
      int32_t j = c;
      while (j < order) {
        const int32_t left = order - j;
        int32_t bits = 3;
        int multipliers = 7;
        int64_t rows = int64_t{1} << (j - c);
        if (left == 2) {
          bits = 2;
          multipliers = 2;
          rows /= 2;
        } else if (left == 4 || left == 6) {
          bits = 2;
          multipliers = 3;
        }
        const int32_t pBits = j + bits;  // group length P = 2^pBits
        const int64_t stride = int64_t{1} << (a - pBits);
        for (int64_t k = 0; k < rows; ++k) {
          for (int64_t l = 0; l < e / V; ++l) {
            const int64_t q0 = f + V * l + columns * k;
            for (int m = 1; m <= multipliers; ++m) {
              for (int64_t i = 0; i < V; ++i) {
                QuarterWave(sine, q, m * (q0 + i) * stride, p + i, p + V + i);
              }
              p += 2 * V;
            }
          }
        }
        j += bits;
      }
    }
  }

  static uint8_t* BuildLargeOrderPlanLevel(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t a,
                                           int32_t depth, uint8_t* memory) {
    const int32_t outer = LV_NAME(kFftOrderSplit)[order];
    const int32_t inner = order - outer;
    uint8_t* next = nullptr;
    // The header has column-table pointers for depths 0 to 2; the split tables
    // never recurse past depth 1.
    if (inner <= kRow.leafLimit || depth >= 2) {
      spec->twiddles = memory;
      next = static_cast<uint8_t*>(ExpandRadix4Twiddles(inner, sine, a, reinterpret_cast<float*>(memory)));
      spec->workBytes = static_cast<int32_t>(A64(8 * (int64_t{1} << inner)));
    } else {
      next = BuildLargeOrderPlanLevel(spec, inner, sine, a, depth + 1, memory);
    }
    spec->columnTables[depth] = next;
    FillColumnTable(order, sine, a, reinterpret_cast<float*>(next));
    const int64_t columns = 8 * (int64_t{1} << LV_NAME(kFftColumnBlock)[order]);
    if (spec->workBytes < columns) spec->workBytes = static_cast<int32_t>(columns);
    return next + 4 * (int64_t{1} << order);
  }

  static void* BuildLargeOrderPlan(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t a,
                                   int32_t* list, uint8_t* /*scratch: class 0 only*/) {
    void* end = order < kRow.blockedThreshold ? MakeBitReverseList(order, list)
                                             : MakeBlockedBitReverseList(order, 6, list);
    uint8_t* last = BuildLargeOrderPlanLevel(spec, order, sine, a, 0, static_cast<uint8_t*>(end));
    if (order >= kRow.blockedThreshold && spec->workBytes < 65536) spec->workBytes = 65536;
    return last;
  }

  // ---- initialisation -------------------------------------------------------

  // Zeroes the header of `bytes` at base, writes hint and order, then the
  // scale fields of flag. Returns null for an unknown flag. The identifier
  // stays 0 until every table is complete, so a failed initialisation never
  // leaves an FFT plan that looks usable.
  template <class H>
  static H* StartHeader(uint8_t* base, int32_t bytes, int32_t order, int32_t flag, int32_t hint) {
    LV_NAME(VectorZeroFillUint8)(base, bytes);
    auto* spec = reinterpret_cast<H*>(base);
    spec->hint = hint;
    spec->order = order;
    spec->reserved = 0;
    switch (flag) {
      case kFftNoScale:
        break;
      case kFftScaleBoth:
        spec->forwardScale = 1;
        spec->inverseScale = 1;
        spec->scale = InverseSqrtN(order);
        break;
      case kFftScaleForward:
        spec->forwardScale = 1;
        spec->scale = InverseN(order);
        break;
      case kFftScaleInverse:
        spec->inverseScale = 1;
        spec->scale = InverseN(order);
        break;
      default:
        return nullptr;
    }
    return spec;
  }

  static int32_t Init(FftSpecComplexFloat32** specOut, int32_t order, int32_t flag, int32_t hint,
                      uint8_t* specMemory, uint8_t* initBuffer) {
    if (specOut == nullptr) return StatusNullPointer;
    if (static_cast<uint32_t>(order) > 30 || order > kRow.largestOrder) return StatusFftBadOrder;
    if (specMemory == nullptr) return StatusNullPointer;
    if constexpr (kRow.manyCoreLimit >= 0) {
      if (order <= kRow.manyCoreLimit) return FftInitManyCoreSpec(specOut, order, flag, hint, specMemory, initBuffer);
    }
    uint8_t* base = AlignUp64(specMemory);
    auto* spec = StartHeader<FftSpecComplexFloat32>(base, kFftSpecHeaderBytes, order, flag, hint);
    if (spec == nullptr) return StatusFftBadFlag;
    if (order <= kRow.smallOrderLimit) {
      spec->workBytes = 0;
      spec->identifier = kFftSpecIdentifier;
      *specOut = spec;
      return StatusOk;
    }
    const float* sine = kFftQuarterSineOrder10;
    int32_t sineOrder = 10;
    uint8_t* scratch = nullptr;
    if (order > 10) {
      if (initBuffer == nullptr) return StatusNullPointer;
      float* table = reinterpret_cast<float*>(AlignUp64(initBuffer));
      scratch = static_cast<uint8_t*>(MakeSineTable(order, table));
      sine = table;
      sineOrder = order;
    }
    int32_t* list = reinterpret_cast<int32_t*>(base + kFftSpecHeaderBytes);
    spec->swapList = list;
    if (order <= kRow.leafLimit) {
      float* twiddles = static_cast<float*>(MakeBitReverseList(order, list));
      spec->twiddles = twiddles;
      ExpandRadix4Twiddles(order, sine, sineOrder, twiddles);
      spec->workBytes = static_cast<int32_t>(A64(8 * (int64_t{1} << order)));
    } else {
      BuildLargeOrderPlan(spec, order, sine, order, list, scratch);
    }
    spec->identifier = kFftSpecIdentifier;
    *specOut = spec;
    return StatusOk;
  }
};

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(FftGetSizeComplexFloat32)(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes,
                                          int32_t* initBytes, int32_t* workBytes) {
  return LV_NS::Setup::GetSize(order, flag, hint, specBytes, initBytes, workBytes);
}

int32_t LV_NAME(FftInitComplexFloat32)(FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint,
                                       uint8_t* specMemory, uint8_t* initBuffer) {
  return LV_NS::Setup::Init(spec, order, flag, hint, specMemory, initBuffer);
}

void LV_NAME(FftGetSizeLargeOrder)(int32_t order, int64_t* specBytes, int64_t* initBytes, int64_t* workBytes) {
  LV_NS::Setup::FftGetSizeLargeOrder(order, specBytes, initBytes, workBytes);
}

void LV_NAME(FftGetSizeLargeOrderLevel)(int32_t order, int32_t depth, int64_t* specBytes, int64_t* initBytes,
                                        int64_t* workBytes) {
  LV_NS::Setup::FftGetSizeLargeOrderLevel(order, depth, specBytes, initBytes, workBytes);
}

void* LV_NAME(MakeSineTable)(int32_t order, float* table) { return LV_NS::Setup::MakeSineTable(order, table); }

void* LV_NAME(ExpandRadix4Twiddles)(int32_t n, const float* sine, int32_t b, float* out) {
  return LV_NS::Setup::ExpandRadix4Twiddles(n, sine, b, out);
}

void* LV_NAME(MakeBitReverseList)(int32_t n, int32_t* out) { return LV_NS::Setup::MakeBitReverseList(n, out); }

void* LV_NAME(MakeTileBitReverseList)(int32_t n, int32_t* out) {
  return LV_NS::Setup::MakeTileBitReverseList(n, out);
}

void* LV_NAME(MakeBlockedBitReverseList)(int32_t n, int32_t t, int32_t* out) {
  return LV_NS::Setup::MakeBlockedBitReverseList(n, t, out);
}

void* LV_NAME(BuildLargeOrderPlan)(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t a,
                                   int32_t* list, uint8_t* scratch) {
  return LV_NS::Setup::BuildLargeOrderPlan(spec, order, sine, a, list, scratch);
}
