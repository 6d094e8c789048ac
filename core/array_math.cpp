#include "core/array_math.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "core/call_stack.h"
#include "core/error.h"
#include "core/primitive_entry_points.h"
#include "cpu/dispatch.h"

namespace {

[[noreturn]] void Fail(const char* message) { throw new CQError(message); }

void NeedInput(const void* p) {
  if (p == nullptr) {
    Fail("Null pointer to input data.");
  }
}
void NeedOutput(const void* p) {
  if (p == nullptr) {
    Fail("Null pointer to output data.");
  }
}
void NeedWork(const void* p) {
  if (p == nullptr) {
    Fail("Null pointer to working data.");
  }
}
void NeedCount(int n) {
  if (n <= 0) {
    Fail("Invalid number of input points.");
  }
}
// A primitive's non-zero status (warnings included) is a math-library error.
void Check(int32_t status) {
  if (status != 0) {
    throw new CQError(2);
  }
}

using lv::Named;

// A temporary buffer released on every path.
template <typename T>
class Temp {
 public:
  explicit Temp(T* p) : p_(p) {}
  ~Temp() { CQArrayMath::Free(p_); }
  Temp(const Temp&) = delete;
  Temp& operator=(const Temp&) = delete;
  T* get() const { return p_; }

 private:
  T* p_;
};

// A complex scalar as the primitives take it: one 64-bit word, real part in the low half.
uint64_t ToPrimitive(const CQComplex& c) {
  uint64_t word;
  static_assert(sizeof word == sizeof c);
  std::memcpy(&word, &c, sizeof word);
  return word;
}

// Complex 16-bit buffers go to the primitives as 2n 16-bit values; a count
// whose double leaves the int32 range is refused like a bad count.
int32_t StatusBadCountForPairs() { return -6; }

}  // namespace

// ---- allocation -------------------------------------------------------------

float* CQArrayMath::AllocFloat(int n) {
  auto* p = static_cast<float*>(VectorAllocateFloat32(n));
  if (p == nullptr) {
    throw new CQError(1, "CQArrayMath::AllocFloat");
  }
  return p;
}

CQComplex* CQArrayMath::AllocComplex(int n) {
  auto* p = static_cast<ComplexFloat32*>(VectorAllocateComplexFloat32(n));
  if (p == nullptr) {
    throw new CQError(1, "CQArrayMath::AllocComplex");
  }
  return reinterpret_cast<CQComplex*>(p);
}

double* CQArrayMath::AllocDouble(int n) {
  auto* p = static_cast<double*>(VectorAllocateFloat64(n));
  if (p == nullptr) {
    throw new CQError(1, "CQArrayMath::AllocDouble");
  }
  return p;
}

int16_t* CQArrayMath::AllocShortInt(int n) {
  auto* p = static_cast<int16_t*>(VectorAllocateInt16(n));
  if (p == nullptr) {
    throw new CQError(1, "CQArrayMath::AllocShortInt");
  }
  return p;
}

CQIComplex* CQArrayMath::AllocIComplex(int n) {
  // 2n 16-bit values; a count whose double overflows is refused like any oversize request.
  auto* p = (n > 0 && n <= 0x3FFFFFFF) ? static_cast<int16_t*>(VectorAllocateInt16(2 * n)) : nullptr;
  if (p == nullptr) {
    throw new CQError(1, "CQArrayMath::AllocIComplex");
  }
  return reinterpret_cast<CQIComplex*>(p);
}

void CQArrayMath::Free(void* p) { VectorFree(p); }

// ---- element-wise arithmetic ------------------------------------------------

void CQArrayMath::ArrayAdd(float* a, const float* b, int n) {
  Named("CQArrayMath::ArrayAdd", [&] {
    NeedInput(a);
    NeedInput(b);
    NeedCount(n);
    Temp<float> t(AllocFloat(n));
    Check(VectorAddFloat32(a, b, t.get(), n));
    Check(VectorCopyFloat32(t.get(), a, n));
  });
}

void CQArrayMath::ArrayAdd(const float* a, const float* b, float* dst, int n) {
  Named("CQArrayMath::ArrayAdd", [&] {
    NeedInput(a);
    NeedInput(b);
    NeedInput(dst);
    NeedCount(n);
    Check(VectorAddFloat32(a, b, dst, n));
  });
}

void CQArrayMath::ArrayMult(float* a, const float* b, int n) {
  Named("CQArrayMath::ArrayMult", [&] {
    NeedInput(a);
    NeedInput(b);
    NeedCount(n);
    Temp<float> t(AllocFloat(n));
    Check(VectorMultiplyFloat32(a, b, t.get(), n));
    Check(VectorCopyFloat32(t.get(), a, n));
  });
}

void CQArrayMath::ArrayMult(const float* a, const float* b, float* dst, int n) {
  Named("CQArrayMath::ArrayMult", [&] {
    NeedInput(a);
    NeedInput(b);
    NeedInput(dst);
    NeedCount(n);
    Check(VectorMultiplyFloat32(a, b, dst, n));
  });
}

void CQArrayMath::ArrayMult(CQComplex* a, const CQComplex* b, int n) {
  Named("CQArrayMath::ArrayMult", [&] {
    NeedInput(a);
    NeedInput(b);
    NeedCount(n);
    Temp<CQComplex> t(AllocComplex(n));
    Check(VectorMultiplyComplexFloat32(AsPrimitive(a), AsPrimitive(b), AsPrimitive(t.get()), n));
    Check(VectorCopyComplexFloat32(AsPrimitive(t.get()), AsPrimitive(a), n));
  });
}

void CQArrayMath::ArrayMult(const CQComplex* a, const CQComplex* b, CQComplex* dst, int n) {
  Named("CQArrayMath::ArrayMult", [&] {
    NeedInput(a);
    NeedInput(b);
    NeedInput(dst);
    NeedCount(n);
    Check(VectorMultiplyComplexFloat32(AsPrimitive(a), AsPrimitive(b), AsPrimitive(dst), n));
  });
}

// ---- scalar arithmetic ------------------------------------------------------

void CQArrayMath::ArrayScalarAdd(float* data, float c, int n) {
  Named("CQArrayMath::ArrayScalarAdd", [&] {
    NeedInput(data);
    NeedCount(n);
    Check(VectorAddScalarInPlaceFloat32(c, data, n));
  });
}

void CQArrayMath::ArrayScalarAdd(const float* src, float c, float* dst, int n) {
  Named("CQArrayMath::ArrayScalarAdd", [&] {
    NeedInput(src);
    NeedInput(dst);
    NeedCount(n);
    Check(VectorAddScalarFloat32(src, c, dst, n));
  });
}

void CQArrayMath::ArrayScalarAdd(double* data, double c, int n) {
  Named("CQArrayMath::ArrayScalarAdd", [&] {
    NeedInput(data);
    NeedCount(n);
    Check(VectorAddScalarInPlaceFloat64(c, data, n));
  });
}

void CQArrayMath::ArrayScalarMult(float* data, float c, int n) {
  Named("CQArrayMath::ArrayScalarMult", [&] {
    NeedInput(data);
    NeedCount(n);
    Check(VectorMultiplyScalarInPlaceFloat32(c, data, n));
  });
}

void CQArrayMath::ArrayScalarMult(const float* src, float c, float* dst, int n) {
  Named("CQArrayMath::ArrayScalarMult", [&] {
    NeedInput(src);
    NeedInput(dst);
    NeedCount(n);
    Check(VectorMultiplyScalarFloat32(src, c, dst, n));
  });
}

void CQArrayMath::ArrayScalarMult(double* data, double c, int n) {
  Named("CQArrayMath::ArrayScalarMult", [&] {
    NeedInput(data);
    NeedCount(n);
    Check(VectorMultiplyScalarInPlaceFloat64(c, data, n));
  });
}

void CQArrayMath::ArrayScalarMult(CQComplex* data, float c, int n) {
  ArrayScalarMult(data, CQComplex(c, 0.0f), n);
}

void CQArrayMath::ArrayScalarMult(CQComplex* data, const CQComplex& c, int n) {
  Named("CQArrayMath::ArrayScalarMult", [&] {
    NeedInput(data);
    NeedCount(n);
    Check(VectorMultiplyScalarInPlaceComplexFloat32(ToPrimitive(c), AsPrimitive(data), n));
  });
}

void CQArrayMath::ArrayScalarMult(const CQComplex* src, float c, CQComplex* dst, int n) {
  Named("CQArrayMath::ArrayScalarMult", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedCount(n);
    Check(VectorMultiplyScalarComplexFloat32(AsPrimitive(src), ToPrimitive(CQComplex(c, 0.0f)), AsPrimitive(dst), n));
  });
}

// ---- copies and conversions -------------------------------------------------

namespace {
// A copy member: any null pointer is "input" data; a count of 0 or less does nothing.
template <typename F>
void CopyMember(std::initializer_list<const void*> pointers, int n, F&& call) {
  Named("CQArrayMath::CopyArray", [&] {
    for (const void* p : pointers) {
      NeedInput(p);
    }
    if (n <= 0) {
      return;
    }
    Check(call());
  });
}
}  // namespace

void CQArrayMath::CopyArray(const float* src, float* dst, int n) {
  CopyMember({src, dst}, n, [&] { return VectorCopyFloat32(src, dst, n); });
}
void CQArrayMath::CopyArray(const double* src, double* dst, int n) {
  CopyMember({src, dst}, n, [&] { return VectorCopyFloat64(src, dst, n); });
}
void CQArrayMath::CopyArray(const CQComplex* src, CQComplex* dst, int n) {
  CopyMember({src, dst}, n, [&] { return VectorCopyComplexFloat32(AsPrimitive(src), AsPrimitive(dst), n); });
}
void CQArrayMath::CopyArray(const CQIComplex* src, CQIComplex* dst, int n) {
  CopyMember({src, dst}, n, [&] {
    return n > 0x3FFFFFFF ? StatusBadCountForPairs()
                          : VectorCopyInt16(reinterpret_cast<const int16_t*>(src), reinterpret_cast<int16_t*>(dst),
                                            2 * n);
  });
}
void CQArrayMath::CopyArray(const float* src, double* dst, int n) {
  CopyMember({src, dst}, n, [&] { return VectorConvertFloat32ToFloat64(src, dst, n); });
}
void CQArrayMath::CopyArray(const float* src, CQComplex* dst, int n) {
  CopyMember({src, dst}, n, [&] { return VectorJoinComplexFloat32(src, nullptr, AsPrimitive(dst), n); });
}
void CQArrayMath::CopyArray(const int16_t* src, float* dst, int n) {
  CopyMember({src, dst}, n, [&] { return VectorConvertInt16ToFloat32(src, dst, n); });
}
void CQArrayMath::CopyArray(const CQComplex* src, float* dst, int n) {
  CopyMember({src, dst}, n, [&] { return VectorRealPartComplexFloat32(AsPrimitive(src), dst, n); });
}
void CQArrayMath::CopyArray(const float* re, const float* im, CQComplex* dst, int n) {
  CopyMember({re, im, dst}, n, [&] { return VectorJoinComplexFloat32(re, im, AsPrimitive(dst), n); });
}
void CQArrayMath::CopyArray(const CQComplex* src, float* re, float* im, int n) {
  CopyMember({src, re, im}, n, [&] { return VectorSplitComplexFloat32(AsPrimitive(src), re, im, n); });
}
void CQArrayMath::CopyArray(const float* src, int16_t* dst, int n) {
  CopyMember({src, dst}, n, [&] { return VectorConvertScaledFloat32ToInt16(src, dst, n, RoundNearestEven, 0); });
}
void CQArrayMath::CopyArray(const double* src, int32_t* dst, int n) {
  CopyMember({src, dst}, n, [&] { return VectorConvertScaledFloat64ToInt32(src, dst, n, RoundNearestEven, 0); });
}

// ---- zero fills -------------------------------------------------------------

namespace {
template <typename F>
void ZeroMember(const void* p, int n, F&& call) {
  Named("CQArrayMath::ZeroFill", [&] {
    NeedInput(p);
    if (n <= 0) {
      return;
    }
    Check(call());
  });
}
}  // namespace

void CQArrayMath::ZeroFill(int32_t* data, int n) {
  ZeroMember(data, n, [&] { return VectorZeroFillInt32(data, n); });
}
void CQArrayMath::ZeroFill(float* data, int n) {
  ZeroMember(data, n, [&] { return VectorZeroFillFloat32(data, n); });
}
void CQArrayMath::ZeroFill(double* data, int n) {
  ZeroMember(data, n, [&] { return VectorZeroFillFloat64(data, n); });
}
void CQArrayMath::ZeroFill(CQComplex* data, int n) {
  ZeroMember(data, n, [&] { return VectorZeroFillComplexFloat32(AsPrimitive(data), n); });
}
void CQArrayMath::ZeroFill(CQIComplex* data, int n) {
  ZeroMember(data, n, [&] {
    return n > 0x3FFFFFFF ? StatusBadCountForPairs() : VectorZeroFillInt16(reinterpret_cast<int16_t*>(data), 2 * n);
  });
}
void CQArrayMath::ZeroFill(CQComplex* data, int first, int last) {
  if (last < first) {
    Named("CQArrayMath::ZeroFill", [&] { NeedInput(data); });
    return;
  }
  ZeroFill(data + first, last - first + 1);
}

// ---- reductions ---------------------------------------------------------------

float CQArrayMath::Sum(const float* p, int n) {
  return Named("CQArrayMath::Sum", [&] {
    NeedInput(p);
    NeedCount(n);
    float sum = 0.0f;
    Check(VectorSumFloat32(p, n, &sum, HintAccurate));
    return sum;
  });
}

CQComplex CQArrayMath::Sum(const CQComplex* p, int n) {
  return Named("CQArrayMath::Sum", [&] {
    NeedInput(p);
    NeedCount(n);
    ComplexFloat32 sum{0.0f, 0.0f};
    Check(VectorSumComplexFloat32(AsPrimitive(p), n, &sum, HintAccurate));
    return CQComplex(sum.re, sum.im);
  });
}

float CQArrayMath::FindMax(const float* p, int n, int* index) {
  return Named("CQArrayMath::FindMax", [&] {
    NeedInput(p);
    NeedCount(n);
    float v = 0.0f;
    if (index != nullptr) {
      int32_t i = 0;
      Check(VectorMaxIndexFloat32(p, n, &v, &i));
      *index = i;
    } else {
      Check(VectorMaxFloat32(p, n, &v));
    }
    return v;
  });
}

double CQArrayMath::FindMax(const double* p, int n) {
  return Named("CQArrayMath::FindMax", [&] {
    NeedInput(p);
    NeedCount(n);
    double v = 0.0;
    Check(VectorMaxFloat64(p, n, &v));
    return v;
  });
}

float CQArrayMath::FindMin(const float* p, int n, int* index) {
  return Named("CQArrayMath::FindMin", [&] {
    NeedInput(p);
    NeedCount(n);
    float v = 0.0f;
    if (index != nullptr) {
      int32_t i = 0;
      Check(VectorMinIndexFloat32(p, n, &v, &i));
      *index = i;
    } else {
      Check(VectorMinFloat32(p, n, &v));
    }
    return v;
  });
}

double CQArrayMath::FindMin(const double* p, int n) {
  return Named("CQArrayMath::FindMin", [&] {
    NeedInput(p);
    NeedCount(n);
    double v = 0.0;
    Check(VectorMinFloat64(p, n, &v));
    return v;
  });
}

float CQArrayMath::FindMaxMag(const CQComplex* p, int n) {
  return Named("CQArrayMath::FindMaxMag", [&] {
    NeedInput(p);
    NeedCount(n);
    Temp<float> t(AllocFloat(n));
    Check(VectorMagnitudeComplexFloat32(AsPrimitive(p), t.get(), n));
    float v = 0.0f;
    Check(VectorMaxFloat32(t.get(), n, &v));
    return v;
  });
}

float CQArrayMath::FindMaxAbs(const float* p, int n) {
  return Named("CQArrayMath::FindMaxAbs", [&] {
    NeedInput(p);
    NeedCount(n);
    Temp<float> t(AllocFloat(n));
    Check(VectorAbsFloat32(p, t.get(), n));
    float v = 0.0f;
    Check(VectorMaxFloat32(t.get(), n, &v));
    return v;
  });
}

// ---- magnitudes, levels and phases -----------------------------------------

void CQArrayMath::Magnitude(const CQComplex* src, float* dst, int n) {
  Named("CQArrayMath::Magnitude", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedCount(n);
    Check(VectorMagnitudeComplexFloat32(AsPrimitive(src), dst, n));
  });
}

void CQArrayMath::MagSqr(const CQComplex* src, float* dst, int n) {
  Named("CQArrayMath::MagSqr", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedCount(n);
    Check(VectorMagnitudeSquaredComplexFloat32(AsPrimitive(src), dst, n));
  });
}

namespace {
// The logarithm's "some element was zero" warning is accepted (its result is -inf).
void CheckLn(int32_t status) {
  if (status != 0 && status != StatusLnOfZero) {
    throw new CQError(2);
  }
}
}  // namespace

void CQArrayMath::Log10(const float* src, float* dst, int n, float* work, float floor) {
  Named("CQArrayMath::Log10", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedWork(work);
    NeedCount(n);
    const float c = static_cast<float>(std::pow(10.0, static_cast<double>(floor)) * 2.30258509299404);
    Check(VectorAddScalarFloat32(src, c, dst, n));
    CheckLn(VectorLnFloat32(dst, work, n));
    Check(VectorMultiplyScalarFloat32(work, 0.4342945f, dst, n));
  });
}

void CQArrayMath::LogMagdB20(const CQComplex* src, float* dst, int n, float floor) {
  Named("CQArrayMath::LogMagdB20", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedCount(n);
    Temp<float> t1(AllocFloat(n));
    Temp<float> t2(AllocFloat(n));
    Magnitude(src, t1.get(), n);
    Log10(t1.get(), t2.get(), n, dst, floor / 20.0f);
    ArrayScalarMult(t2.get(), 20.0f, dst, n);
  });
}

void CQArrayMath::LogMagdBm(const CQComplex* src, float* dst, int n, float floor) {
  Named("CQArrayMath::LogMagdBm", [&] {
    LogMagdB20(src, dst, n, floor - 10.0f);
    ArrayScalarAdd(dst, 10.0f, n);
  });
}

void CQArrayMath::WattsTodBm(const float* src, float* dst, int n) {
  Named("CQArrayMath::WattsTodBm", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedCount(n);
    Temp<float> w1(AllocFloat(n));
    Temp<float> w2(AllocFloat(n));
    WattsTodBm(src, dst, w1.get(), w2.get(), n);
  });
}

void CQArrayMath::WattsTodBm(const float* src, float* dst, float* work1, float* work2, int n) {
  Named("CQArrayMath::WattsTodBm", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedWork(work1);
    NeedWork(work2);
    NeedCount(n);
    CheckLn(VectorLnFloat32(src, work1, n));
    Check(VectorMultiplyScalarFloat32(work1, 4.3429446f, work2, n));
    Check(VectorAddScalarFloat32(work2, 30.0f, dst, n));
  });
}

void CQArrayMath::PhaseDeg(const CQComplex* src, float* dst, int n) {
  Named("CQArrayMath::PhaseDeg", [&] {
    NeedInput(src);
    NeedInput(dst);
    NeedCount(n);
    Check(VectorPhaseComplexFloat32(AsPrimitive(src), dst, n));
    Check(VectorMultiplyScalarInPlaceFloat32(57.29578f, dst, n));
  });
}

void CQArrayMath::UnwrapPhaseDeg(const CQComplex* src, float* dst, int n) {
  Named("CQArrayMath::UnwrapPhaseDeg", [&] {
    NeedInput(src);
    NeedInput(dst);
    NeedCount(n);
    PhaseDeg(src, dst, n);
    double offset = 0.0;
    float prev = dst[0];
    for (int i = 0; i < n; ++i) {
      const float cur = dst[i];
      const float d = cur - prev;  // neighbouring wrapped phases
      if (d > 180.0f) {
        offset -= 360.0;
      } else if (d < -180.0f) {
        offset += 360.0;
      }
      dst[i] = static_cast<float>(static_cast<double>(cur) + offset);
      prev = cur;
    }
  });
}

void CQArrayMath::DerivUnwrapPhaseDeg(const CQComplex* src, float* dst, int n, double sampleRate) {
  Named("CQArrayMath::DerivUnwrapPhaseDeg", [&] {
    NeedInput(src);
    NeedInput(dst);
    NeedCount(n);
    UnwrapPhaseDeg(src, dst, n);
    if (n == 1) {
      dst[0] = 0.0f;  // one sample has no phase step: no frequency to report
      return;
    }
    for (int i = 0; i < n - 1; ++i) {
      dst[i] = dst[i + 1] - dst[i];
    }
    dst[n - 1] = dst[n - 2];
    const float toHz = static_cast<float>(sampleRate * 0.0174532925199 / 6.28318530718);
    Check(VectorMultiplyScalarInPlaceFloat32(toHz, dst, n));
  });
}

// ---- normalisation and limits -----------------------------------------------

namespace {

// Brings values whose largest magnitude is peak (> 0) to a peak of one. The
// reciprocal of a peak below about 3e-39 (a denormal) is infinite as a float,
// which would turn every value into an infinity or NaN: such arrays are
// divided value by value instead.
void ScaleToPeak(float* data, int n, float peak) {
  const float factor = 1.0f / peak;
  if (std::isfinite(factor)) {
    CQArrayMath::ArrayScalarMult(data, factor, n);
    return;
  }
  for (int i = 0; i < n; ++i) data[i] /= peak;
}

}  // namespace

void CQArrayMath::NormalizeToOne(float* data, int n) {
  Named("CQArrayMath::NormalizeToOne", [&] {
    NeedInput(data);
    NeedCount(n);
    const float mx = FindMax(data, n, nullptr);
    const float mn = FindMin(data, n, nullptr);
    const float m = std::max(std::fabs(mn), std::fabs(mx));
    if (m > 0.0f) {  // an all-zero array stays zero
      ScaleToPeak(data, n, m);
    }
  });
}

void CQArrayMath::NormalizeToOne(CQComplex* data, int n) {
  Named("CQArrayMath::NormalizeToOne", [&] {
    NeedInput(data);
    NeedCount(n);
    // The largest |I| or |Q|: the extremes over all 2n interleaved parts.
    const float* parts = reinterpret_cast<const float*>(data);
    const float mx = FindMax(parts, 2 * n, nullptr);
    const float mn = FindMin(parts, 2 * n, nullptr);
    const float m = std::max(std::fabs(mn), std::fabs(mx));
    if (m > 0.0f) {
      ScaleToPeak(reinterpret_cast<float*>(data), 2 * n, m);
    }
  });
}

void CQArrayMath::LimitMaxValue(const int32_t* src, int level, int32_t* dst, int n) {
  Named("CQArrayMath::LimitMaxValue", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedCount(n);
    Check(VectorThresholdGreaterInt32(src, dst, n, level));
  });
}

void CQArrayMath::LimitMaxValue(float* data, float level, int n) {
  Named("CQArrayMath::LimitMaxValue", [&] {
    NeedInput(data);
    NeedCount(n);
    Temp<float> t(AllocFloat(n));
    Check(VectorThresholdGreaterFloat32(data, t.get(), n, level));
    Check(VectorCopyFloat32(t.get(), data, n));
  });
}

void CQArrayMath::LimitMaxValue(const float* src, float level, float* dst, int n) {
  Named("CQArrayMath::LimitMaxValue", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedCount(n);
    Check(VectorThresholdGreaterFloat32(src, dst, n, level));
  });
}

void CQArrayMath::LimitMaxValue(double* data, double level, int n) {
  Named("CQArrayMath::LimitMaxValue", [&] {
    NeedInput(data);
    NeedCount(n);
    Temp<double> t(AllocDouble(n));
    Check(VectorThresholdGreaterFloat64(data, t.get(), n, level));
    Check(VectorCopyFloat64(t.get(), data, n));
  });
}

void CQArrayMath::LimitMinValue(const int32_t* src, int /*level*/, int32_t* dst, int n) {
  Named("CQArrayMath::LimitMinValue", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedCount(n);
    Check(VectorThresholdLessInt32(src, dst, n, 0));
  });
}

void CQArrayMath::LimitMinValue(float* data, float level, int n) {
  Named("CQArrayMath::LimitMinValue", [&] {
    NeedInput(data);
    NeedCount(n);
    Temp<float> t(AllocFloat(n));
    Check(VectorThresholdLessFloat32(data, t.get(), n, level));
    Check(VectorCopyFloat32(t.get(), data, n));
  });
}

void CQArrayMath::LimitMinValue(const float* src, float level, float* dst, int n) {
  Named("CQArrayMath::LimitMinValue", [&] {
    NeedInput(src);
    NeedOutput(dst);
    NeedCount(n);
    Check(VectorThresholdLessFloat32(src, dst, n, level));
  });
}

void CQArrayMath::LimitMinValue(double* data, double level, int n) {
  Named("CQArrayMath::LimitMinValue", [&] {
    NeedInput(data);
    NeedCount(n);
    Temp<double> t(AllocDouble(n));
    Check(VectorThresholdLessFloat64(data, t.get(), n, level));
    Check(VectorCopyFloat64(t.get(), data, n));
  });
}
