// Scaled conversions (float -> int16, float -> int32, double -> int32) in
// every processor class: the rounding-mode, saturation, scale-factor and NaN
// tables, every class against its scalar model, offsets and counts, and the
// caller's SSE control and status register.
#include <xmmintrin.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "primitives/convert/convert.h"
#include "primitives/convert/convert_classes.h"
#include "primitives/convert/convert_model.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

namespace cm = lv_test::convert_model;
using cm::Member;

using F32I16Fn = int32_t (*)(const float*, int16_t*, int32_t, int32_t, int32_t);
using F32I32Fn = int32_t (*)(const float*, int32_t*, int32_t, int32_t, int32_t);
using F64I32Fn = int32_t (*)(const double*, int32_t*, int32_t, int32_t, int32_t);

#define LV_CLASS_TABLE(Fn)                                                                              \
  {                                                                                                     \
    &Fn##Sse2, &Fn##Sse3, &Fn##Ssse3, &Fn##Sse42, &Fn##Avx, &Fn##Avx2, &Fn##Avx512ManyCore, &Fn##Avx512 \
  }
const F32I16Fn kF32I16[kProcessorClassCount] = LV_CLASS_TABLE(VectorConvertScaledFloat32ToInt16);
const F32I32Fn kF32I32[kProcessorClassCount] = LV_CLASS_TABLE(VectorConvertScaledFloat32ToInt32);
const F64I32Fn kF64I32[kProcessorClassCount] = LV_CLASS_TABLE(VectorConvertScaledFloat64ToInt32);
#undef LV_CLASS_TABLE

constexpr uint32_t kDefaultMxcsr = 0x1F80;

// The three members behind one interface: source type, result type, class
// implementation and model.
struct F32ToI16 {
  using Src = float;
  using Dst = int16_t;
  static constexpr Member kMember = Member::kF32ToI16;
  static int32_t Run(int cls, const Src* s, Dst* d, int32_t n, int32_t mode, int32_t sf) {
    return kF32I16[cls](s, d, n, mode, sf);
  }
  static Dst Model(const cm::Road& r, Src x) { return cm::ModelF32ToI16(r, x); }
};
struct F32ToI32 {
  using Src = float;
  using Dst = int32_t;
  static constexpr Member kMember = Member::kF32ToI32;
  static int32_t Run(int cls, const Src* s, Dst* d, int32_t n, int32_t mode, int32_t sf) {
    return kF32I32[cls](s, d, n, mode, sf);
  }
  static Dst Model(const cm::Road& r, Src x) { return cm::ModelF32ToI32(r, x); }
};
struct F64ToI32 {
  using Src = double;
  using Dst = int32_t;
  static constexpr Member kMember = Member::kF64ToI32;
  static int32_t Run(int cls, const Src* s, Dst* d, int32_t n, int32_t mode, int32_t sf) {
    return kF64I32[cls](s, d, n, mode, sf);
  }
  static Dst Model(const cm::Road& r, Src x) { return cm::ModelF64ToI32(r, x); }
};

// Runs one call under the given caller register and reports the register after it.
template <class M>
uint32_t RunUnder(uint32_t callerMxcsr, int cls, const typename M::Src* s, typename M::Dst* d, int32_t n,
                  int32_t mode, int32_t sf, int32_t* status) {
  const uint32_t before = _mm_getcsr();
  _mm_setcsr(callerMxcsr);
  *status = M::Run(cls, s, d, n, mode, sf);
  const uint32_t after = _mm_getcsr();
  _mm_setcsr(before);
  return after;
}

// Converts `values` (each repeated so that it lands in vector blocks, block
// tails and single elements) and returns the result of each value, failing
// when the copies of a value disagree.
template <class M>
std::vector<int64_t> ConvertEach(int cls, const std::vector<typename M::Src>& values, int32_t mode, int32_t sf) {
  const int reps = 41;
  std::vector<typename M::Src> src;
  for (int r = 0; r < reps; ++r) {
    for (size_t k = 0; k < values.size(); ++k) src.push_back(values[(k + r) % values.size()]);
  }
  std::vector<typename M::Dst> dst(src.size(), typename M::Dst{0x5A5A});
  int32_t status = -1;
  RunUnder<M>(kDefaultMxcsr, cls, src.data(), dst.data(), int32_t(src.size()), mode, sf, &status);
  EXPECT_EQ(status, StatusOk);
  std::vector<int64_t> out(values.size());
  for (int r = 0; r < reps; ++r) {
    for (size_t k = 0; k < values.size(); ++k) {
      const size_t v = (k + r) % values.size();
      const int64_t got = dst[r * values.size() + k];
      if (r == 0) {
        out[v] = got;
      } else {
        EXPECT_EQ(got, out[v]) << "value index " << v << " differs between positions";
      }
    }
  }
  return out;
}

class ScaledConvertTest : public lv_test::PerClassTest {};

// ----- Tables of results ------------------------------------------------------

// Expected results for RoundNearestEven / RoundTowardZero / RoundHalfAwayFromZero.
template <typename Src>
struct ModeRow {
  Src in;
  int64_t nearest, towardZero, halfAway;
};

template <class M>
void CheckModeRows(int cls, const std::vector<ModeRow<typename M::Src>>& rows, int32_t sf) {
  std::vector<typename M::Src> values;
  for (const auto& r : rows) values.push_back(r.in);
  const auto nearest = ConvertEach<M>(cls, values, RoundNearestEven, sf);
  const auto towardZero = ConvertEach<M>(cls, values, RoundTowardZero, sf);
  for (size_t k = 0; k < rows.size(); ++k) {
    EXPECT_EQ(nearest[k], rows[k].nearest) << "nearest, input " << rows[k].in << ", scale " << sf;
    EXPECT_EQ(towardZero[k], rows[k].towardZero) << "toward zero, input " << rows[k].in << ", scale " << sf;
  }
  // Every mode outside 0 and 1 rounds half away from zero (also in the double member, classes 5-7).
  for (int32_t mode : {2, 3, 7, -1, INT32_MIN}) {
    const auto halfAway = ConvertEach<M>(cls, values, mode, sf);
    for (size_t k = 0; k < rows.size(); ++k) {
      EXPECT_EQ(halfAway[k], rows[k].halfAway) << "mode " << mode << ", input " << rows[k].in << ", scale " << sf;
    }
  }
}

TEST_P(ScaledConvertTest, RoundingModeTables) {
  CheckModeRows<F32ToI16>(Cls(),
                          {{2.5f, 2, 2, 3},
                           {-2.5f, -2, -2, -3},
                           {3.5f, 4, 3, 4},
                           {0.5f, 0, 0, 1},
                           {0.49999997f, 0, 0, 0},
                           {-0.49999997f, 0, 0, 0},
                           {-0.0f, 0, 0, 0},
                           {1.5f, 2, 1, 2},
                           {-3.5f, -4, -3, -4},
                           {2.7f, 3, 2, 3},
                           {-2.7f, -3, -2, -3}},
                          0);
  CheckModeRows<F32ToI32>(Cls(),
                          {{0.5f, 0, 0, 1},
                           {1.5f, 2, 1, 2},
                           {2.5f, 2, 2, 3},
                           {-0.5f, 0, 0, -1},
                           {-1.5f, -2, -1, -2},
                           {1.9f, 2, 1, 2},
                           {-1.9f, -2, -1, -2},
                           {-0.0f, 0, 0, 0},
                           {0.49999997f, 0, 0, 0},
                           {8388609.0f, 8388609, 8388609, 8388609},
                           {8388607.5f, 8388608, 8388607, 8388608}},
                          0);
  // Half away from zero never rounds the largest double below one half up to 1.
  CheckModeRows<F64ToI32>(Cls(),
                          {{0.5, 0, 0, 1},
                           {1.5, 2, 1, 2},
                           {2.5, 2, 2, 3},
                           {-2.5, -2, -2, -3},
                           {3.5, 4, 3, 4},
                           {-0.0, 0, 0, 0},
                           {0.49999999999999994, 0, 0, 0},
                           {-0.49999999999999994, 0, 0, 0},
                           {1.4999999999999998, 1, 1, 1},
                           {4503599627370495.5, 2147483647, 2147483647, 2147483647},
                           {-1000000.5, -1000000, -1000000, -1000001}},
                          0);
}

TEST_P(ScaledConvertTest, SaturationInEveryMode) {
  const int64_t kMax16 = 32767, kMin16 = -32768, kMax32 = INT32_MAX, kMin32 = INT32_MIN;
  CheckModeRows<F32ToI16>(Cls(),
                          {{32767.4f, kMax16, kMax16, kMax16},
                           {32767.5f, kMax16, kMax16, kMax16},
                           {40000.0f, kMax16, kMax16, kMax16},
                           {INFINITY, kMax16, kMax16, kMax16},
                           {FLT_MAX, kMax16, kMax16, kMax16},
                           {3.0e9f, kMax16, kMax16, kMax16},
                           {-32768.5f, kMin16, kMin16, kMin16},
                           {-40000.0f, kMin16, kMin16, kMin16},
                           {-1.0e10f, kMin16, kMin16, kMin16},
                           {-INFINITY, kMin16, kMin16, kMin16},
                           {-32767.5f, -32768, -32767, -32768},
                           {32766.5f, 32766, 32766, 32767}},
                          0);
  CheckModeRows<F32ToI32>(Cls(),
                          {{2147483520.0f, 2147483520, 2147483520, 2147483520},
                           {2147483648.0f, kMax32, kMax32, kMax32},
                           {3.0e9f, kMax32, kMax32, kMax32},
                           {INFINITY, kMax32, kMax32, kMax32},
                           {FLT_MAX, kMax32, kMax32, kMax32},
                           {-2147483648.0f, kMin32, kMin32, kMin32},
                           {-3.0e9f, kMin32, kMin32, kMin32},
                           {-INFINITY, kMin32, kMin32, kMin32},
                           {-2147483520.0f, -2147483520, -2147483520, -2147483520}},
                          0);
  CheckModeRows<F64ToI32>(Cls(),
                          {{2147483647.4, kMax32, kMax32, kMax32},
                           {2147483647.5, kMax32, kMax32, kMax32},
                           {3.0e9, kMax32, kMax32, kMax32},
                           {1.0e300, kMax32, kMax32, kMax32},
                           {INFINITY, kMax32, kMax32, kMax32},
                           {-2147483648.0, kMin32, kMin32, kMin32},
                           {-2147483648.5, kMin32, kMin32, kMin32},
                           {-3.0e9, kMin32, kMin32, kMin32},
                           {-INFINITY, kMin32, kMin32, kMin32},
                           {2147483646.5, 2147483646, 2147483646, 2147483647},
                           {-2147483647.5, kMin32, -2147483647, kMin32}},
                          0);
}

TEST_P(ScaledConvertTest, ScaleFactorTables) {
  const int64_t kMax16 = 32767, kMin16 = -32768, kMax32 = INT32_MAX, kMin32 = INT32_MIN;
  // 2^-1 halves: 3.0 -> 1.5, 5.0 -> 2.5.
  CheckModeRows<F32ToI16>(Cls(), {{3.0f, 2, 1, 2}, {5.0f, 2, 2, 3}, {-3.0f, -2, -1, -2}}, 1);
  CheckModeRows<F32ToI16>(Cls(), {{3.0f, 6, 6, 6}, {-16384.0f, kMin16, kMin16, kMin16}}, -1);
  CheckModeRows<F32ToI16>(Cls(), {{1.0f, kMax16, kMax16, kMax16}, {-1.0f, kMin16, kMin16, kMin16}}, -15);
  CheckModeRows<F32ToI32>(Cls(), {{3.0f, 2, 1, 2}, {5.0f, 2, 2, 3}}, 1);
  CheckModeRows<F32ToI32>(Cls(), {{1610612736.0f, kMax32, kMax32, kMax32}, {-1610612736.0f, kMin32, kMin32, kMin32}},
                          -1);
  CheckModeRows<F32ToI32>(Cls(), {{2147483648.0f, 1, 1, 1}, {3221225472.0f, 2, 1, 2}}, 31);
  CheckModeRows<F64ToI32>(Cls(), {{3.0, 2, 1, 2}, {5.0, 2, 2, 3}}, 1);
  CheckModeRows<F64ToI32>(Cls(), {{3.0, 6, 6, 6}}, -1);
  CheckModeRows<F64ToI32>(Cls(), {{2147483648.0, 1, 1, 1}}, 31);
  CheckModeRows<F64ToI32>(Cls(), {{1.0, kMax32, kMax32, kMax32}, {-1.0, kMin32, kMin32, kMin32}}, -31);

  // Factors too small for single precision: every finite element gives 0.
  for (int32_t sf : {150, 151, 200, 1000, INT32_MAX}) {
    CheckModeRows<F32ToI16>(Cls(), {{FLT_MAX, 0, 0, 0}, {-FLT_MAX, 0, 0, 0}, {12345.0f, 0, 0, 0}, {1.0f, 0, 0, 0}},
                            sf);
    CheckModeRows<F32ToI32>(Cls(), {{FLT_MAX, 0, 0, 0}, {-FLT_MAX, 0, 0, 0}, {-1.0e30f, 0, 0, 0}}, sf);
  }
  // Factors too large: every finite element of magnitude 1 or more saturates by its sign.
  for (int32_t sf : {-128, -129, -200, -1000, INT32_MIN}) {
    CheckModeRows<F32ToI16>(Cls(), {{1.0f, kMax16, kMax16, kMax16}, {-1.0f, kMin16, kMin16, kMin16},
                                    {FLT_MAX, kMax16, kMax16, kMax16}, {-3.5f, kMin16, kMin16, kMin16}},
                            sf);
    CheckModeRows<F32ToI32>(Cls(), {{1.0f, kMax32, kMax32, kMax32}, {-1.0f, kMin32, kMin32, kMin32},
                                    {1.0e-30f, kMax32, kMax32, kMax32}, {-1.0e-30f, kMin32, kMin32, kMin32}},
                            sf);
  }
  // s = 200 for doubles: the single-precision factor is 0, the double-precision one is exact.
  const bool doubleFactor = Cls() == 2 || Cls() >= 5;
  CheckModeRows<F64ToI32>(Cls(), {{1.0e300, doubleFactor ? kMax32 : 0, doubleFactor ? kMax32 : 0, 0},
                                  {-1.0e300, doubleFactor ? kMin32 : 0, doubleFactor ? kMin32 : 0, 0}},
                          200);
}

// What a NaN element gives, per class, mode and sign of the NaN.
TEST_P(ScaledConvertTest, NaNTablesPerClass) {
  struct Expect {
    int64_t nearestPositive, nearestNegative, halfAwayPositive, halfAwayNegative;
  };
  const int c = Cls();
  const bool c134 = c == 1 || c == 3 || c == 4;
  const Expect i16 = c == 0   ? Expect{0, 0, 0, 0}
                     : c134   ? Expect{0, 0, 32767, 32767}
                     : c == 2 ? Expect{0, -32768, 32767, 32767}
                              : Expect{-32768, -32768, -32768, -32768};
  const Expect i32 = c == 0   ? Expect{INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN}
                     : c134   ? Expect{0, 0, INT32_MAX, INT32_MIN}
                     : c == 2 ? Expect{0, INT32_MIN, INT32_MAX, INT32_MIN}
                              : Expect{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN};
  const Expect f64 = c == 0                   ? Expect{INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN}
                     : (c == 1 || c == 3)     ? Expect{0, 0, INT32_MAX, INT32_MAX}
                     : c == 2                 ? Expect{0, INT32_MIN, INT32_MAX, INT32_MAX}
                                              : Expect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  const float qnan = std::bit_cast<float>(0x7FC00000u), nqnan = std::bit_cast<float>(0xFFC00000u);
  const float snan = std::bit_cast<float>(0x7F800001u), nsnan = std::bit_cast<float>(0xFFA00001u);
  const double dq = std::bit_cast<double>(0x7FF8000000000000ull), ndq = std::bit_cast<double>(0xFFF8000000000000ull);
  // A NaN whose payload lies only in the low 32 bits.
  const double dlow = std::bit_cast<double>(0x7FF0000000000001ull), ndlow = std::bit_cast<double>(0xFFF0000000000001ull);
  for (int32_t sf : {0, 3, -5}) {
    for (int32_t mode : {RoundNearestEven, RoundTowardZero}) {
      const auto r16 = ConvertEach<F32ToI16>(c, {qnan, 1.0f, nqnan, -2.0f, snan, nsnan}, mode, sf);
      EXPECT_EQ(r16[0], i16.nearestPositive) << "mode " << mode << " scale " << sf;
      EXPECT_EQ(r16[2], i16.nearestNegative) << "mode " << mode << " scale " << sf;
      EXPECT_EQ(r16[4], i16.nearestPositive) << "mode " << mode << " scale " << sf;
      EXPECT_EQ(r16[5], i16.nearestNegative) << "mode " << mode << " scale " << sf;
      const auto r32 = ConvertEach<F32ToI32>(c, {qnan, 1.0f, nqnan, -2.0f, snan, nsnan}, mode, sf);
      EXPECT_EQ(r32[0], i32.nearestPositive) << "mode " << mode << " scale " << sf;
      EXPECT_EQ(r32[2], i32.nearestNegative) << "mode " << mode << " scale " << sf;
      EXPECT_EQ(r32[4], i32.nearestPositive) << "mode " << mode << " scale " << sf;
      EXPECT_EQ(r32[5], i32.nearestNegative) << "mode " << mode << " scale " << sf;
      const auto r64 = ConvertEach<F64ToI32>(c, {dq, 1.0, ndq, -2.0, dlow, ndlow}, mode, sf);
      EXPECT_EQ(r64[0], f64.nearestPositive) << "mode " << mode << " scale " << sf;
      EXPECT_EQ(r64[2], f64.nearestNegative) << "mode " << mode << " scale " << sf;
      EXPECT_EQ(r64[4], f64.nearestPositive) << "mode " << mode << " scale " << sf;
      EXPECT_EQ(r64[5], f64.nearestNegative) << "mode " << mode << " scale " << sf;
      // Neighbours of NaNs are converted as usual.
      const double two = sf == 0 ? 1 : std::ldexp(1.0, -sf);
      EXPECT_EQ(r16[1], int64_t(std::nearbyint(1.0 * two)));
      EXPECT_EQ(r32[3], mode == RoundNearestEven ? int64_t(std::nearbyint(-2.0 * two)) : int64_t(std::trunc(-2.0 * two)));
    }
    const auto h16 = ConvertEach<F32ToI16>(c, {qnan, 7.5f, nqnan}, RoundHalfAwayFromZero, sf);
    EXPECT_EQ(h16[0], i16.halfAwayPositive) << "scale " << sf;
    EXPECT_EQ(h16[2], i16.halfAwayNegative) << "scale " << sf;
    const auto h32 = ConvertEach<F32ToI32>(c, {qnan, 7.5f, nqnan}, RoundHalfAwayFromZero, sf);
    EXPECT_EQ(h32[0], i32.halfAwayPositive) << "scale " << sf;
    EXPECT_EQ(h32[2], i32.halfAwayNegative) << "scale " << sf;
    const auto h64 = ConvertEach<F64ToI32>(c, {dq, 7.5, ndq}, RoundHalfAwayFromZero, sf);
    EXPECT_EQ(h64[0], f64.halfAwayPositive) << "scale " << sf;
    EXPECT_EQ(h64[2], f64.halfAwayNegative) << "scale " << sf;
    if (sf == 0) {
      EXPECT_EQ(h16[1], 8);
      EXPECT_EQ(h32[1], 8);
      EXPECT_EQ(h64[1], 8);
    }
  }
}

// ----- Every class against its model -------------------------------------------

template <typename Src>
Src InterestingValue(std::mt19937& rng, int32_t sf) {
  const uint32_t kind = rng() % 16;
  double v;
  switch (kind) {
    case 0: {  // any bit pattern: NaNs of both signs, infinities, subnormals
      uint64_t bits = (uint64_t{rng()} << 32) | rng();
      Src x;
      std::memcpy(&x, &bits, sizeof(x));
      return x;
    }
    case 1:
      return std::copysign(std::numeric_limits<Src>::quiet_NaN(), Src((rng() & 1) ? -1 : 1));
    case 2:
      v = (rng() & 1 ? 1.0 : -1.0) * INFINITY;
      break;
    case 3:  // halves and quarters near zero
      v = (int32_t(rng() % 4001) - 2000) / 4.0;
      break;
    case 4:  // around the 16-bit bounds
      v = 32767.0 + (int32_t(rng() % 9) - 4) * 0.5;
      v = (rng() & 1) ? v : -v - 1.0;
      break;
    case 5:  // around the 32-bit bounds
      v = 2147483648.0 + (int32_t(rng() % 2049) - 1024) * 0.5;
      v = (rng() & 1) ? v : -v;
      break;
    case 6:  // just below one half
      v = std::nextafter(Src(0.5), Src(0)) * ((rng() & 1) ? 1 : -1);
      break;
    default:  // a wide range of magnitudes
      v = std::ldexp(double(rng()) / 4294967296.0, int(rng() % 70) - 20) * ((rng() & 1) ? 1 : -1);
      break;
  }
  // Move the value so that the scale factor brings it back into the interesting range.
  if (sf != 0 && sf > -120 && sf < 120) v = std::ldexp(v, sf);
  return Src(v);
}

template <class M>
void CompareWithModel(int cls, uint32_t seed, const std::vector<int32_t>& scales) {
  std::mt19937 rng(seed);
  const int32_t n = 333;
  std::vector<typename M::Src> src(n);
  std::vector<typename M::Dst> dst(n);
  long compared = 0;
  for (int32_t sf : scales) {
    for (int32_t mode : {int32_t{RoundNearestEven}, int32_t{RoundTowardZero}, int32_t{RoundHalfAwayFromZero}, 5}) {
      for (auto& x : src) x = InterestingValue<typename M::Src>(rng, sf);
      int32_t status = -1;
      RunUnder<M>(kDefaultMxcsr, cls, src.data(), dst.data(), n, mode, sf, &status);
      ASSERT_EQ(status, StatusOk);
      const cm::Road road{cls, mode, sf, cm::kRcNearest};
      for (int32_t i = 0; i < n; ++i) {
        ASSERT_EQ(int64_t(dst[i]), int64_t(M::Model(road, src[i])))
            << "element " << i << " = " << src[i] << " (bits " << std::hex
            << (sizeof(src[i]) == 4 ? uint64_t(std::bit_cast<uint32_t>(float(src[i])))
                                    : std::bit_cast<uint64_t>(double(src[i])))
            << std::dec << "), mode " << mode << ", scale " << sf;
        ++compared;
      }
    }
  }
  ASSERT_GT(compared, 0);
}

const std::vector<int32_t> kScales = {0,   1,   -1,  2,    5,    -7,    -15,  -31,  31,   60,   100,   126,  127,
                                      128, 140, 149, 150,  151,  200,   -126, -127, -128, -129, -157,  -158, -200,
                                      -1022, -1023, -1024, 1022, 1023, 1024, 2000, INT32_MAX, INT32_MIN, -60};

TEST_P(ScaledConvertTest, Float32ToInt16MatchesItsModel) { CompareWithModel<F32ToI16>(Cls(), 11u, kScales); }
TEST_P(ScaledConvertTest, Float32ToInt32MatchesItsModel) { CompareWithModel<F32ToI32>(Cls(), 22u, kScales); }
TEST_P(ScaledConvertTest, Float64ToInt32MatchesItsModel) { CompareWithModel<F64ToI32>(Cls(), 33u, kScales); }

// For scale factors that every class builds exactly, non-NaN elements agree in every class.
TEST_P(ScaledConvertTest, NonNaNResultsAgreeWithClassZeroForCommonScaleFactors) {
  std::mt19937 rng(44u);
  for (int32_t sf : {0, 1, -3, 17, -100, 126, -127}) {
    for (int32_t mode : {RoundNearestEven, RoundTowardZero, RoundHalfAwayFromZero}) {
      std::vector<float> src(200);
      for (auto& x : src) {
        do x = InterestingValue<float>(rng, sf);
        while (std::isnan(x));
      }
      std::vector<int16_t> a(src.size()), b(src.size());
      std::vector<int32_t> c(src.size()), d(src.size());
      ASSERT_EQ(kF32I16[Cls()](src.data(), a.data(), int32_t(src.size()), mode, sf), StatusOk);
      ASSERT_EQ(kF32I16[0](src.data(), b.data(), int32_t(src.size()), mode, sf), StatusOk);
      ASSERT_EQ(kF32I32[Cls()](src.data(), c.data(), int32_t(src.size()), mode, sf), StatusOk);
      ASSERT_EQ(kF32I32[0](src.data(), d.data(), int32_t(src.size()), mode, sf), StatusOk);
      EXPECT_EQ(a, b) << "float -> int16, mode " << mode << ", scale " << sf;
      EXPECT_EQ(c, d) << "float -> int32, mode " << mode << ", scale " << sf;
    }
  }
  _mm_setcsr(kDefaultMxcsr);
}

// Offsets of source and destination from a 16-byte boundary and every count up
// to 70 (plus long arrays that reach the prefetching and block loops).
template <class M>
void SweepOffsets(int cls, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<int32_t> counts;
  for (int32_t n = 1; n <= 70; ++n) counts.push_back(n);
  for (int32_t n : {2049, 2050, 2051, 4100}) counts.push_back(n);
  const size_t se = sizeof(typename M::Src), de = sizeof(typename M::Dst);
  long visited = 0;
  for (int32_t n : counts) {
    lv_test::GuardedBuffer srcBuf((size_t(n) + 16) * se, se);
    for (size_t so = 0; so < 16; so += (se == 8 ? 8 : 4)) {
      // The array sits near the guard page, `so` bytes past a 16-byte boundary.
      typename M::Src* s = nullptr;
      for (size_t k = srcBuf.size() - size_t(n) * se + se; k-- > 0;) {
        if (k % se == 0 && reinterpret_cast<uintptr_t>(srcBuf.data() + k) % 16 == so) {
          s = reinterpret_cast<typename M::Src*>(srcBuf.data() + k);
          break;
        }
      }
      ASSERT_NE(s, nullptr);
      for (int32_t i = 0; i < n; ++i) s[i] = InterestingValue<typename M::Src>(rng, 0);
      for (size_t dof = 0; dof < 16; dof += de) {
        for (int32_t mode : {RoundNearestEven, RoundTowardZero, RoundHalfAwayFromZero}) {
          for (int32_t sf : {0, 2}) {
            lv_test::CanaryBuffer dst(size_t(n) * de, dof);
            auto* d = reinterpret_cast<typename M::Dst*>(dst.region());
            int32_t status = -1;
            RunUnder<M>(kDefaultMxcsr, cls, s, d, n, mode, sf, &status);
            ASSERT_EQ(status, StatusOk);
            const cm::Road road{cls, mode, sf, cm::kRcNearest};
            for (int32_t i = 0; i < n; ++i) {
              ASSERT_EQ(int64_t(d[i]), int64_t(M::Model(road, s[i])))
                  << "count " << n << " element " << i << " source offset " << so << " destination offset " << dof
                  << " mode " << mode << " scale " << sf;
            }
            ASSERT_TRUE(dst.CanariesIntact()) << "count " << n;
            ++visited;
          }
        }
      }
    }
  }
  ASSERT_GT(visited, 1000);
}

TEST_P(ScaledConvertTest, Float32ToInt16AtEveryOffsetAndCount) { SweepOffsets<F32ToI16>(Cls(), 55u); }
TEST_P(ScaledConvertTest, Float32ToInt32AtEveryOffsetAndCount) { SweepOffsets<F32ToI32>(Cls(), 66u); }
TEST_P(ScaledConvertTest, Float64ToInt32AtEveryOffsetAndCount) { SweepOffsets<F64ToI32>(Cls(), 77u); }

// ----- The caller's control and status register ---------------------------------

// The caller's registers: default, each rounding control, denormals-are-zero,
// flush-to-zero, all three together, and flags already raised.
const uint32_t kCallerRegisters[] = {0x1F80, 0x3F80, 0x5F80, 0x7F80, 0x1FC0, 0x9F80,
                                     0xDFC0, 0xFFC0, 0x1F81, 0x1FA0, 0x7FA1};

template <class M>
void CheckRegisterAndResults(int cls, uint32_t seed) {
  std::mt19937 rng(seed);
  const int32_t n = 75;
  for (bool withNaN : {false, true}) {
    std::vector<typename M::Src> src(n);
    for (auto& x : src) {
      // Values well away from the subnormal range, so that denormals-are-zero
      // and flush-to-zero cannot change a product.
      const double v = (int32_t(rng() % 200001) - 100000) / 8.0;
      x = typename M::Src(v);
    }
    src[7] = typename M::Src(3.0e9);
    src[8] = typename M::Src(-3.0e9);
    if (withNaN) {
      src[3] = std::numeric_limits<typename M::Src>::quiet_NaN();
      src[60] = -std::numeric_limits<typename M::Src>::quiet_NaN();
    }
    for (uint32_t caller : kCallerRegisters) {
      for (int32_t mode : {int32_t{RoundNearestEven}, int32_t{RoundTowardZero}, int32_t{RoundHalfAwayFromZero}, 9}) {
        for (int32_t sf : {0, 3, -2}) {
          std::vector<typename M::Dst> dst(n);
          int32_t status = -1;
          const uint32_t after = RunUnder<M>(caller, cls, src.data(), dst.data(), n, mode, sf, &status);
          ASSERT_EQ(status, StatusOk);
          EXPECT_EQ(after & 0xFFC0u, caller & 0xFFC0u)
              << std::hex << "caller register " << caller << " became " << after << std::dec << ", mode " << mode;
          const bool raised = (caller & 1u) || (withNaN && cm::LeavesInvalidRaised(M::kMember, cls, mode));
          EXPECT_EQ((after & 1u) != 0, raised) << std::hex << "invalid flag, caller register " << caller << std::dec
                                               << ", mode " << mode << (withNaN ? ", with NaNs" : "");
          const cm::Road road{cls, mode, sf, cm::Rc((caller >> 13) & 3u)};
          for (int32_t i = 0; i < n; ++i) {
            ASSERT_EQ(int64_t(dst[i]), int64_t(M::Model(road, src[i])))
                << std::hex << "caller register " << caller << std::dec << ", element " << i << " = " << src[i]
                << ", mode " << mode << ", scale " << sf;
          }
        }
      }
    }
  }
}

TEST_P(ScaledConvertTest, Float32ToInt16RestoresCallersRegister) { CheckRegisterAndResults<F32ToI16>(Cls(), 1u); }
TEST_P(ScaledConvertTest, Float32ToInt32RestoresCallersRegister) { CheckRegisterAndResults<F32ToI32>(Cls(), 2u); }
TEST_P(ScaledConvertTest, Float64ToInt32RestoresCallersRegister) { CheckRegisterAndResults<F64ToI32>(Cls(), 3u); }

// Classes 5-7 mask the invalid-operation exception for their work: a caller
// that unmasked it meets no trap on NaNs and gets its mask back. (Only those
// classes mask it themselves.)
class ScaledConvertMaskingTest : public ScaledConvertTest {};

TEST_P(ScaledConvertMaskingTest, AvxClassesMaskInvalidForTheWorkAndRestoreTheMask) {
  const uint32_t unmasked = kDefaultMxcsr & ~0x80u;
  const float fs[5] = {1.5f, NAN, -NAN, 3.0e10f, -2.5f};
  const double ds[5] = {1.5, NAN, -NAN, 3.0e10, -2.5};
  int16_t d16[5];
  int32_t d32[5];
  int32_t status = -1;
  // Flags other than invalid-operation (precision here) may stay raised by the work.
  const uint32_t kIgnore = ~0x3Eu;
  for (int32_t mode : {RoundNearestEven, RoundTowardZero, RoundHalfAwayFromZero}) {
    EXPECT_EQ(RunUnder<F32ToI16>(unmasked, Cls(), fs, d16, 5, mode, 0, &status) & kIgnore, unmasked);
    EXPECT_EQ(d16[4], mode == RoundHalfAwayFromZero ? -3 : -2);
    EXPECT_EQ(RunUnder<F32ToI32>(unmasked, Cls(), fs, d32, 5, mode, 0, &status) & kIgnore, unmasked);
    EXPECT_EQ(d32[3], INT32_MAX);
  }
  for (int32_t mode : {RoundNearestEven, RoundTowardZero}) {
    EXPECT_EQ(RunUnder<F64ToI32>(unmasked, Cls(), ds, d32, 5, mode, 0, &status) & kIgnore, unmasked);
    EXPECT_EQ(d32[3], INT32_MAX);
  }
}

// ----- Checks and dispatch -------------------------------------------------------

TEST_P(ScaledConvertTest, ChecksComeFirstAndWriteNothing) {
  const float fs[4] = {1, 2, 3, 4};
  const double ds[4] = {1, 2, 3, 4};
  int16_t d16[4] = {7, 7, 7, 7};
  int32_t d32[4] = {7, 7, 7, 7};
  struct Case {
    bool nullSrc, nullDst;
    int32_t n;
    int32_t status;
  };
  const Case cases[] = {{true, false, 4, StatusNullPointer}, {false, true, 4, StatusNullPointer},
                        {false, true, 0, StatusNullPointer}, {true, true, -5, StatusNullPointer},
                        {false, false, 0, StatusBadCount},   {false, false, -5, StatusBadCount}};
  for (const Case& c : cases) {
    for (int32_t mode : {0, 1, 2, 77}) {
      EXPECT_EQ(kF32I16[Cls()](c.nullSrc ? nullptr : fs, c.nullDst ? nullptr : d16, c.n, mode, 0), c.status);
      EXPECT_EQ(kF32I32[Cls()](c.nullSrc ? nullptr : fs, c.nullDst ? nullptr : d32, c.n, mode, 0), c.status);
      EXPECT_EQ(kF64I32[Cls()](c.nullSrc ? nullptr : ds, c.nullDst ? nullptr : d32, c.n, mode, 0), c.status);
    }
  }
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(d16[i], 7);
    EXPECT_EQ(d32[i], 7);
  }
  // Any rounding mode and scale factor is accepted.
  EXPECT_EQ(kF32I16[Cls()](fs, d16, 4, INT32_MIN, INT32_MIN), StatusOk);
  EXPECT_EQ(kF64I32[Cls()](ds, d32, 4, INT32_MAX, INT32_MAX), StatusOk);
}

// The entry points reach the forced class: its own NaN result comes back.
TEST_P(ScaledConvertTest, EntryPointsDispatchToTheForcedClass) {
  ASSERT_EQ(CurrentProcessorClass(), Cls());
  const float fs[2] = {std::bit_cast<float>(0xFFC00000u), 2.5f};
  const double ds[2] = {std::bit_cast<double>(0xFFF8000000000000ull), 2.5};
  int16_t d16[2];
  int32_t d32[2];
  const cm::Road nearest{Cls(), RoundNearestEven, 0, cm::kRcNearest};
  const cm::Road halfAway{Cls(), RoundHalfAwayFromZero, 0, cm::kRcNearest};
  ASSERT_EQ(VectorConvertScaledFloat32ToInt16(fs, d16, 2, RoundNearestEven, 0), StatusOk);
  EXPECT_EQ(d16[0], cm::ModelF32ToI16(nearest, fs[0]));
  EXPECT_EQ(d16[1], 2);
  ASSERT_EQ(VectorConvertScaledFloat32ToInt32(fs, d32, 2, RoundNearestEven, 0), StatusOk);
  EXPECT_EQ(d32[0], cm::ModelF32ToI32(nearest, fs[0]));
  ASSERT_EQ(VectorConvertScaledFloat64ToInt32(ds, d32, 2, RoundHalfAwayFromZero, 0), StatusOk);
  EXPECT_EQ(d32[0], cm::ModelF64ToI32(halfAway, ds[0]));
  EXPECT_EQ(d32[1], 3);
}

LV_INSTANTIATE_PER_CLASS(ScaledConvertTest);
LV_INSTANTIATE_PER_CLASS_OF(ScaledConvertMaskingTest, kClassAvx2, kClassAvx512ManyCore, kClassAvx512);

}  // namespace
