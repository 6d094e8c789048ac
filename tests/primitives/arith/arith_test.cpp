// Scalar and element-wise arithmetic in every processor class: real results
// equal one IEEE operation per element, complex results equal the class's
// scalar model bit for bit, every road touches exactly its n elements, and
// the special scalars take their roads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "primitives/arith/arith.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/arith/arith_model.h"
#include "primitives/arith/data_util.h"
#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using lv_test::Bits;
using lv_test::CanaryBuffer;
using lv_test::CF;
using lv_test::FloatFromBits;
using lv_test::GuardedBuffer;
using lv_test::SameValue;

// Counts on both sides of every road bound of every class, and a few longer ones.
std::vector<int> RoadCounts() {
  std::vector<int> c;
  for (int n = 1; n <= 40; ++n) c.push_back(n);
  for (int n : {63, 64, 65, 95, 96, 97, 98, 127, 128, 129, 215, 216, 217, 218, 375, 376, 377, 378, 431, 432, 433,
                434, 1000, 1031}) {
    c.push_back(n);
  }
  return c;
}

template <class T>
T Load(const uint8_t* p, size_t i) {
  T x;
  std::memcpy(&x, p + i * sizeof(T), sizeof(T));
  return x;
}
template <class T>
void Store(uint8_t* p, size_t i, T x) {
  std::memcpy(p + i * sizeof(T), &x, sizeof(T));
}

class ArithTest : public lv_test::PerClassTest {};

// ---- real forms --------------------------------------------------------------

enum class RealForm { kMulInPlace32, kAddInPlace32, kMulInPlace64, kAddInPlace64, kMul32, kAdd32, kAddVec, kMulVec };

struct RealCase {
  const char* name;
  RealForm form;
};

const RealCase kRealCases[] = {
    {"VectorMultiplyScalarInPlaceFloat32", RealForm::kMulInPlace32},
    {"VectorAddScalarInPlaceFloat32", RealForm::kAddInPlace32},
    {"VectorMultiplyScalarInPlaceFloat64", RealForm::kMulInPlace64},
    {"VectorAddScalarInPlaceFloat64", RealForm::kAddInPlace64},
    {"VectorMultiplyScalarFloat32", RealForm::kMul32},
    {"VectorAddScalarFloat32", RealForm::kAdd32},
    {"VectorAddFloat32", RealForm::kAddVec},
    {"VectorMultiplyFloat32", RealForm::kMulVec},
};

bool IsDouble(RealForm f) { return f == RealForm::kMulInPlace64 || f == RealForm::kAddInPlace64; }
bool InPlace(RealForm f) {
  return f == RealForm::kMulInPlace32 || f == RealForm::kAddInPlace32 || f == RealForm::kMulInPlace64 ||
         f == RealForm::kAddInPlace64;
}

// Runs one real form on buffers at the given byte offsets and checks every
// result against one IEEE operation, the canaries around every vector and the
// sources' bytes.
void CheckReal(RealForm form, int n, size_t dstOff, size_t srcOff, size_t src2Off, lv_test::WideRandom& rnd) {
  const size_t es = IsDouble(form) ? 8 : 4;
  CanaryBuffer dst(n * es, dstOff), src(n * es, srcOff), src2(n * es, src2Off);
  for (int i = 0; i < n; ++i) {
    if (es == 8) {
      Store<double>(src.region(), i, rnd.Double());
    } else {
      Store<float>(src.region(), i, rnd.Float());
      Store<float>(src2.region(), i, rnd.Float());
    }
  }
  if (InPlace(form)) std::memcpy(dst.region(), src.region(), n * es);
  const float c = rnd.Float();
  const double cd = rnd.Double();
  int32_t st = -1;
  auto* d32 = reinterpret_cast<float*>(dst.region());
  auto* d64 = reinterpret_cast<double*>(dst.region());
  const auto* s32 = reinterpret_cast<const float*>(src.region());
  const auto* t32 = reinterpret_cast<const float*>(src2.region());
  switch (form) {
    case RealForm::kMulInPlace32: st = VectorMultiplyScalarInPlaceFloat32(c, d32, n); break;
    case RealForm::kAddInPlace32: st = VectorAddScalarInPlaceFloat32(c, d32, n); break;
    case RealForm::kMulInPlace64: st = VectorMultiplyScalarInPlaceFloat64(cd, d64, n); break;
    case RealForm::kAddInPlace64: st = VectorAddScalarInPlaceFloat64(cd, d64, n); break;
    case RealForm::kMul32: st = VectorMultiplyScalarFloat32(s32, c, d32, n); break;
    case RealForm::kAdd32: st = VectorAddScalarFloat32(s32, c, d32, n); break;
    case RealForm::kAddVec: st = VectorAddFloat32(s32, t32, d32, n); break;
    case RealForm::kMulVec: st = VectorMultiplyFloat32(s32, t32, d32, n); break;
  }
  ASSERT_EQ(st, StatusOk);
  for (int i = 0; i < n; ++i) {
    if (es == 8) {
      const double x = Load<double>(src.region(), i);
      const double want = form == RealForm::kMulInPlace64 ? x * cd : x + cd;
      ASSERT_EQ(Bits(Load<double>(dst.region(), i)), Bits(want)) << "n=" << n << " i=" << i << " dstOff=" << dstOff;
    } else {
      const float x = Load<float>(src.region(), i);
      const float y = Load<float>(src2.region(), i);
      float want = 0;
      switch (form) {
        case RealForm::kMulInPlace32:
        case RealForm::kMul32: want = x * c; break;
        case RealForm::kAddInPlace32:
        case RealForm::kAdd32: want = x + c; break;
        case RealForm::kAddVec: want = x + y; break;
        case RealForm::kMulVec: want = x * y; break;
        default: break;
      }
      ASSERT_EQ(Bits(Load<float>(dst.region(), i)), Bits(want))
          << "n=" << n << " i=" << i << " dstOff=" << dstOff << " srcOff=" << srcOff;
    }
  }
  ASSERT_TRUE(dst.CanariesIntact()) << "write outside the vector, n=" << n << " dstOff=" << dstOff;
  ASSERT_TRUE(src.CanariesIntact());
  ASSERT_TRUE(src2.CanariesIntact());
}

TEST_P(ArithTest, RealFormsAreOneIeeeOperationAtEveryOffsetAndCount) {
  lv_test::WideRandom rnd(1234 + Cls());
  const auto counts = RoadCounts();
  for (const auto& rc : kRealCases) {
    SCOPED_TRACE(rc.name);
    int visited = 0;
    for (size_t off = 0; off < 64; ++off) {
      for (int n : counts) {
        CheckReal(rc.form, n, off, (off * 5 + 4) % 64, (off * 3 + 8) % 64, rnd);
        if (HasFatalFailure()) return;
        ++visited;
      }
    }
    ASSERT_GT(visited, 0);
  }
}

// Long vectors cross the large-vector roads of classes 1-3 (prefetch above
// 262144 floats or 131072 doubles, streaming stores above 16384 or 10922 groups).
TEST_P(ArithTest, RealFormsOnLargeVectors) {
  lv_test::WideRandom rnd(99 + Cls());
  for (const auto& rc : kRealCases) {
    SCOPED_TRACE(rc.name);
    for (size_t off : {0, 2}) {
      CheckReal(rc.form, 300001, off, off, off, rnd);
      if (HasFatalFailure()) return;
    }
  }
}

// ---- special scalars -----------------------------------------------------------

TEST_P(ArithTest, MultiplyByOneInPlaceKeepsEveryByte) {
  // Signalling NaNs would be quietened by an IEEE multiplication.
  const uint32_t snan = 0x7F800001u, snanNeg = 0xFFA00005u;
  std::vector<uint32_t> v(37);
  for (size_t i = 0; i < v.size(); ++i) v[i] = (i % 3 == 0) ? snan : (i % 3 == 1) ? snanNeg : 0x3F800000u + i;
  auto w = v;
  ASSERT_EQ(VectorMultiplyScalarInPlaceFloat32(1.0f, reinterpret_cast<float*>(w.data()), 37), StatusOk);
  EXPECT_EQ(w, v);

  std::vector<uint64_t> d(21, 0x7FF0000000000001ull);
  auto e = d;
  ASSERT_EQ(VectorMultiplyScalarInPlaceFloat64(1.0, reinterpret_cast<double*>(e.data()), 21), StatusOk);
  EXPECT_EQ(e, d);

  std::vector<uint32_t> dst(37, 0);
  ASSERT_EQ(VectorMultiplyScalarFloat32(reinterpret_cast<const float*>(v.data()), 1.0f,
                                        reinterpret_cast<float*>(dst.data()), 37),
            StatusOk);
  EXPECT_EQ(dst, v) << "times 1 to a destination is a bit-exact copy";
}

TEST_P(ArithTest, MultiplyByZeroWritesPositiveZeroWithoutReadingTheSource) {
  for (float zero : {0.0f, -0.0f}) {
    const int n = 300;
    std::vector<float> v(n);
    for (int i = 0; i < n; ++i) {
      v[i] = i % 4 == 0 ? std::numeric_limits<float>::quiet_NaN()
             : i % 4 == 1 ? -std::numeric_limits<float>::infinity()
             : i % 4 == 2 ? -3.5f
                          : std::numeric_limits<float>::infinity();
    }
    ASSERT_EQ(VectorMultiplyScalarInPlaceFloat32(zero, v.data(), n), StatusOk);
    for (float x : v) ASSERT_EQ(Bits(x), 0u);

    std::vector<double> d(n, -std::numeric_limits<double>::infinity());
    ASSERT_EQ(VectorMultiplyScalarInPlaceFloat64(zero, d.data(), n), StatusOk);
    for (double x : d) ASSERT_EQ(Bits(x), 0u);

    // The source lies entirely in a PROT_NONE page: reading it would fault.
    GuardedBuffer guard(4096);
    const auto* unreadable = reinterpret_cast<const float*>(guard.data() + guard.size());
    std::vector<float> dst(n, -1.0f);
    ASSERT_EQ(VectorMultiplyScalarFloat32(unreadable, zero, dst.data(), n), StatusOk);
    for (float x : dst) ASSERT_EQ(Bits(x), 0u);
  }
}

TEST_P(ArithTest, AddingZeroKeepsNegativeZero) {
  for (float zero : {0.0f, -0.0f}) {
    std::vector<float> v(50, -0.0f);
    v[7] = FloatFromBits(0x7F800001u);
    const auto before = v;
    ASSERT_EQ(VectorAddScalarInPlaceFloat32(zero, v.data(), 50), StatusOk);
    EXPECT_TRUE(lv_test::SameBits(v.data(), before.data(), 50));

    std::vector<double> d(50, -0.0);
    ASSERT_EQ(VectorAddScalarInPlaceFloat64(zero, d.data(), 50), StatusOk);
    for (double x : d) ASSERT_EQ(Bits(x), Bits(-0.0));

    std::vector<float> dst(50, 1.0f);
    ASSERT_EQ(VectorAddScalarFloat32(before.data(), zero, dst.data(), 50), StatusOk);
    EXPECT_TRUE(lv_test::SameBits(dst.data(), before.data(), 50));
  }
  // Without the special road, -0 + +0 is +0: the element-wise addition has none.
  std::vector<float> a(20, -0.0f), b(20, 0.0f), d(20, 1.0f);
  ASSERT_EQ(VectorAddFloat32(a.data(), b.data(), d.data(), 20), StatusOk);
  for (float x : d) ASSERT_EQ(Bits(x), 0u);
}

TEST_P(ArithTest, NaNScalarTakesTheArithmeticRoad) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<float> v(40, 2.0f);
  ASSERT_EQ(VectorMultiplyScalarInPlaceFloat32(nan, v.data(), 40), StatusOk);
  for (float x : v) ASSERT_TRUE(std::isnan(x));
  std::vector<double> d(40, 2.0);
  ASSERT_EQ(VectorAddScalarInPlaceFloat64(std::numeric_limits<double>::quiet_NaN(), d.data(), 40), StatusOk);
  for (double x : d) ASSERT_TRUE(std::isnan(x));
}

TEST_P(ArithTest, ZeroTimesInfinityIsNaNElementwise) {
  std::vector<float> a(33, 0.0f), b(33, std::numeric_limits<float>::infinity()), d(33);
  ASSERT_EQ(VectorMultiplyFloat32(a.data(), b.data(), d.data(), 33), StatusOk);
  for (float x : d) ASSERT_TRUE(std::isnan(x));
}

// ---- argument checks ---------------------------------------------------------

TEST_P(ArithTest, NullPointersComeBeforeTheCountAndNothingIsWritten) {
  float f[4] = {1, 2, 3, 4};
  double g[4] = {1, 2, 3, 4};
  ComplexFloat32 c[4] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  const uint64_t w = ComplexScalarWord(2, 3);
  EXPECT_EQ(VectorMultiplyScalarInPlaceFloat32(2, nullptr, 0), StatusNullPointer);
  EXPECT_EQ(VectorAddScalarInPlaceFloat32(2, nullptr, 0), StatusNullPointer);
  EXPECT_EQ(VectorMultiplyScalarInPlaceFloat64(2, nullptr, 0), StatusNullPointer);
  EXPECT_EQ(VectorAddScalarInPlaceFloat64(2, nullptr, -1), StatusNullPointer);
  EXPECT_EQ(VectorMultiplyScalarFloat32(nullptr, 2, f, 0), StatusNullPointer);
  EXPECT_EQ(VectorMultiplyScalarFloat32(f, 2, nullptr, 4), StatusNullPointer);
  EXPECT_EQ(VectorAddScalarFloat32(nullptr, 2, f, 4), StatusNullPointer);
  EXPECT_EQ(VectorMultiplyScalarInPlaceComplexFloat32(w, nullptr, 0), StatusNullPointer);
  EXPECT_EQ(VectorMultiplyScalarComplexFloat32(c, w, nullptr, 0), StatusNullPointer);
  EXPECT_EQ(VectorAddFloat32(f, nullptr, f, 0), StatusNullPointer);
  EXPECT_EQ(VectorMultiplyFloat32(nullptr, f, f, 4), StatusNullPointer);
  EXPECT_EQ(VectorMultiplyComplexFloat32(c, c, nullptr, 4), StatusNullPointer);
  for (int32_t n : {0, -1, std::numeric_limits<int32_t>::min()}) {
    EXPECT_EQ(VectorMultiplyScalarInPlaceFloat32(0, f, n), StatusBadCount);
    EXPECT_EQ(VectorAddScalarInPlaceFloat32(2, f, n), StatusBadCount);
    EXPECT_EQ(VectorMultiplyScalarInPlaceFloat64(0, g, n), StatusBadCount);
    EXPECT_EQ(VectorAddScalarInPlaceFloat64(2, g, n), StatusBadCount);
    EXPECT_EQ(VectorMultiplyScalarFloat32(f, 0, f, n), StatusBadCount);
    EXPECT_EQ(VectorAddScalarFloat32(f, 2, f, n), StatusBadCount);
    EXPECT_EQ(VectorMultiplyScalarInPlaceComplexFloat32(w, c, n), StatusBadCount);
    EXPECT_EQ(VectorMultiplyScalarComplexFloat32(c, w, c, n), StatusBadCount);
    EXPECT_EQ(VectorAddFloat32(f, f, f, n), StatusBadCount);
    EXPECT_EQ(VectorMultiplyFloat32(f, f, f, n), StatusBadCount);
    EXPECT_EQ(VectorMultiplyComplexFloat32(c, c, c, n), StatusBadCount);
  }
  EXPECT_EQ(f[0], 1.0f);
  EXPECT_EQ(f[3], 4.0f);
  EXPECT_EQ(g[3], 4.0);
  EXPECT_EQ(c[3].im, 8.0f);
}

// ---- complex products -------------------------------------------------------

enum class CplxForm { kScalarInPlace, kScalarToDst, kElementwise };

void CheckComplex(int cls, CplxForm form, int n, size_t dstOff, size_t srcOff, size_t src2Off,
                  lv_test::WideRandom& rnd, bool aliasSecond = false) {
  CanaryBuffer dst(n * 8, dstOff), src(n * 8, srcOff), src2(n * 8, src2Off);
  for (int i = 0; i < n; ++i) {
    Store<CF>(src.region(), i, CF{rnd.Float(20), rnd.Float(20)});
    Store<CF>(src2.region(), i, CF{rnd.Float(20), rnd.Float(20)});
  }
  const CF c{rnd.Float(20), rnd.Float(20)};
  std::vector<CF> s1(n), s2(n);
  std::memcpy(s1.data(), src.region(), n * 8);
  std::memcpy(s2.data(), src2.region(), n * 8);
  auto* d = reinterpret_cast<ComplexFloat32*>(dst.region());
  auto* a = reinterpret_cast<ComplexFloat32*>(src.region());
  auto* b = reinterpret_cast<ComplexFloat32*>(src2.region());
  int32_t st = -1;
  switch (form) {
    case CplxForm::kScalarInPlace:
      std::memcpy(dst.region(), src.region(), n * 8);
      st = VectorMultiplyScalarInPlaceComplexFloat32(ComplexScalarWord(c.re, c.im), d, n);
      break;
    case CplxForm::kScalarToDst:
      st = VectorMultiplyScalarComplexFloat32(a, ComplexScalarWord(c.re, c.im), d, n);
      break;
    case CplxForm::kElementwise:
      if (aliasSecond) {
        std::memcpy(dst.region(), src2.region(), n * 8);
        st = VectorMultiplyComplexFloat32(a, d, d, n);
      } else {
        st = VectorMultiplyComplexFloat32(a, b, d, n);
      }
      break;
  }
  ASSERT_EQ(st, StatusOk);
  for (int i = 0; i < n; ++i) {
    const CF want = form == CplxForm::kElementwise
                        ? lv_test::ComplexProductModel(lv_test::ElementwiseProductRule(cls), s1[i], s2[i])
                        : lv_test::ComplexProductModel(lv_test::ScalarProductRule(cls), s1[i], c);
    const CF got = Load<CF>(dst.region(), i);
    ASSERT_TRUE(SameValue(got.re, want.re) && SameValue(got.im, want.im))
        << "n=" << n << " i=" << i << " dstOff=" << dstOff << " got (" << got.re << "," << got.im << ") want ("
        << want.re << "," << want.im << ")";
  }
  ASSERT_TRUE(dst.CanariesIntact()) << "n=" << n << " dstOff=" << dstOff;
  ASSERT_TRUE(src.CanariesIntact());
  ASSERT_TRUE(src2.CanariesIntact());
}

TEST_P(ArithTest, ComplexProductsEqualTheClassModelAtEveryOffsetAndCount) {
  lv_test::WideRandom rnd(777 + Cls());
  const auto counts = RoadCounts();
  for (CplxForm form : {CplxForm::kScalarInPlace, CplxForm::kScalarToDst, CplxForm::kElementwise}) {
    SCOPED_TRACE(static_cast<int>(form));
    for (size_t off = 0; off < 64; off += (off < 16 ? 1 : 4)) {
      for (int n : counts) {
        CheckComplex(Cls(), form, n, off, (off * 5 + 8) % 64, (off * 3 + 4) % 64, rnd);
        if (HasFatalFailure()) return;
      }
    }
  }
}

TEST_P(ArithTest, ComplexProductsOnLargeVectorsAndInPlace) {
  lv_test::WideRandom rnd(4242 + Cls());
  for (CplxForm form : {CplxForm::kScalarInPlace, CplxForm::kScalarToDst, CplxForm::kElementwise}) {
    CheckComplex(Cls(), form, 140001, 0, 0, 0, rnd);
    if (HasFatalFailure()) return;
  }
  for (int n : {3, 16, 377, 1000}) {
    CheckComplex(Cls(), CplxForm::kElementwise, n, 0, 0, 0, rnd, /*aliasSecond=*/true);
    if (HasFatalFailure()) return;
  }
}

// The class probes: with a = 1 + 2^-12, (a + ai)(a + ai) has real part 0 when
// both products are rounded (classes 0-4) and 2^-24 when the first stays exact
// in a fused multiply-add (classes 5-7).
TEST_P(ArithTest, ComplexProductProbesTellTheClassRules) {
  const float a = 1.0f + 0x1p-12f, b = 1.0f + 0x1p-11f;
  const float wantRe = Cls() <= 4 ? 0.0f : 0x1p-24f;
  for (int n : {1, 9, 40, 400}) {
    std::vector<ComplexFloat32> x(n, {a, a}), y(n, {a, a}), d(n);
    ASSERT_EQ(VectorMultiplyComplexFloat32(x.data(), y.data(), d.data(), n), StatusOk);
    for (auto v : d) ASSERT_EQ(v.re, wantRe);
    ASSERT_EQ(VectorMultiplyScalarComplexFloat32(x.data(), ComplexScalarWord(a, a), d.data(), n), StatusOk);
    for (auto v : d) ASSERT_EQ(v.re, wantRe);

    // Imaginary part of (a + ai)(a + bi): 2 + 5*2^-12, one ulp (2^-22) more where
    // the exact product is a*b.
    const float plain = 2.0f + 5 * 0x1p-12f, more = plain + 0x1p-22f;
    std::vector<ComplexFloat32> z(n, {a, b});
    ASSERT_EQ(VectorMultiplyScalarComplexFloat32(x.data(), ComplexScalarWord(a, b), d.data(), n), StatusOk);
    for (auto v : d) ASSERT_EQ(v.im, Cls() == 5 ? more : plain) << "scalar product, n=" << n;
    ASSERT_EQ(VectorMultiplyComplexFloat32(x.data(), z.data(), d.data(), n), StatusOk);
    for (auto v : d) ASSERT_EQ(v.im, Cls() >= 5 ? more : plain) << "src1 = a+ai, src2 = a+bi, n=" << n;
    ASSERT_EQ(VectorMultiplyComplexFloat32(z.data(), x.data(), d.data(), n), StatusOk);
    for (auto v : d) ASSERT_EQ(v.im, plain) << "sources swapped, n=" << n;
  }
}

TEST_P(ArithTest, ComplexFormsHaveNoSpecialScalars) {
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<ComplexFloat32> v(12, {inf, 0.0f});
  v[1] = {3.0f, -0.0f};
  ASSERT_EQ(VectorMultiplyScalarInPlaceComplexFloat32(ComplexScalarWord(1.0f, 0.0f), v.data(), 12), StatusOk);
  EXPECT_EQ(v[0].re, inf);
  EXPECT_TRUE(std::isnan(v[0].im)) << "inf * 0 inside the product";
  EXPECT_EQ(Bits(v[1].im), 0u) << "-0 imaginary part becomes +0";
  std::vector<ComplexFloat32> w(12, {inf, 1.0f});
  ASSERT_EQ(VectorMultiplyScalarInPlaceComplexFloat32(ComplexScalarWord(0.0f, 0.0f), w.data(), 12), StatusOk);
  EXPECT_TRUE(std::isnan(w[0].re));
}

// ---- the FFT's direct calls -----------------------------------------------------

using ScaleFn = int32_t (*)(float, float*, int32_t);
const ScaleFn kScaleByClass[kProcessorClassCount] = {
    &VectorMultiplyScalarInPlaceFloat32Sse2, &VectorMultiplyScalarInPlaceFloat32Sse3,
    &VectorMultiplyScalarInPlaceFloat32Ssse3, &VectorMultiplyScalarInPlaceFloat32Sse42,
    &VectorMultiplyScalarInPlaceFloat32Avx, &VectorMultiplyScalarInPlaceFloat32Avx2,
    &VectorMultiplyScalarInPlaceFloat32Avx512ManyCore, &VectorMultiplyScalarInPlaceFloat32Avx512};

TEST_P(ArithTest, DirectClassCallsScaleAnFftBlock) {
  const ScaleFn scale = kScaleByClass[Cls()];
  lv_test::WideRandom rnd(5);
  auto block = rnd.Floats(2048);
  block[3] = FloatFromBits(0x7F800001u);  // a factor of 1 must leave even this untouched
  auto copy = block;
  ASSERT_EQ(scale(1.0f, block.data(), 2048), StatusOk);
  EXPECT_TRUE(lv_test::SameBits(block.data(), copy.data(), 2048));
  block[3] = 1.0f;
  copy = block;
  ASSERT_EQ(scale(1.0f / 1024, block.data(), 2048), StatusOk);
  for (int i = 0; i < 2048; ++i) ASSERT_EQ(Bits(block[i]), Bits(copy[i] * (1.0f / 1024)));
  ASSERT_EQ(scale(0.0f, block.data(), 2048), StatusOk);
  for (float x : block) ASSERT_EQ(Bits(x), 0u);
}

// Every road reads and writes exactly its n elements: vectors that end right
// before a PROT_NONE page, at every 4-byte alignment and one odd one.
TEST_P(ArithTest, NoRoadTouchesMemoryPastTheLastElement) {
  lv_test::WideRandom rnd(31);
  for (int n = 1; n <= 80; ++n) {
    for (size_t shift : {0, 4, 8, 12, 16, 20, 28, 36, 44, 60, 2}) {
      // shift moves the start; the end stays at the guard page.
      GuardedBuffer gs(n * 8 + shift), gs2(n * 8 + shift), gd(n * 8 + shift);
      auto* s = reinterpret_cast<float*>(gs.data() + gs.size() - n * 4);
      auto* s2 = reinterpret_cast<float*>(gs2.data() + gs2.size() - n * 4);
      auto* d = reinterpret_cast<float*>(gd.data() + gd.size() - n * 4 - shift % 8);
      std::memset(gs.data(), 0x3F, gs.size());
      std::memset(gs2.data(), 0x3F, gs2.size());
      ASSERT_EQ(VectorMultiplyScalarFloat32(s, 3.0f, d, n), StatusOk);
      ASSERT_EQ(VectorAddScalarFloat32(s, 3.0f, d, n), StatusOk);
      ASSERT_EQ(VectorAddFloat32(s, s2, d, n), StatusOk);
      ASSERT_EQ(VectorMultiplyFloat32(s, s2, d, n), StatusOk);
      ASSERT_EQ(VectorMultiplyScalarInPlaceFloat32(3.0f, d, n), StatusOk);
      ASSERT_EQ(VectorAddScalarInPlaceFloat32(3.0f, d, n), StatusOk);
      auto* dd = reinterpret_cast<double*>(gd.data() + gd.size() - n * 8);
      ASSERT_EQ(VectorMultiplyScalarInPlaceFloat64(3.0, dd, n), StatusOk);
      ASSERT_EQ(VectorAddScalarInPlaceFloat64(3.0, dd, n), StatusOk);
      auto* cs = reinterpret_cast<ComplexFloat32*>(gs.data() + gs.size() - n * 8);
      auto* cs2 = reinterpret_cast<ComplexFloat32*>(gs2.data() + gs2.size() - n * 8);
      auto* cd = reinterpret_cast<ComplexFloat32*>(gd.data() + gd.size() - n * 8);
      ASSERT_EQ(VectorMultiplyScalarComplexFloat32(cs, ComplexScalarWord(1, 2), cd, n), StatusOk);
      ASSERT_EQ(VectorMultiplyScalarInPlaceComplexFloat32(ComplexScalarWord(1, 2), cd, n), StatusOk);
      ASSERT_EQ(VectorMultiplyComplexFloat32(cs, cs2, cd, n), StatusOk);
    }
  }
}

LV_INSTANTIATE_PER_CLASS(ArithTest);

// The real forms give the same bits in every class: one run per class on the
// same data, compared with class 0.
TEST(ArithAcrossClasses, RealFormsAgreeBetweenClasses) {
  lv_test::WideRandom rnd(2024);
  const int n = 5000;
  auto src = rnd.Floats(n), src2 = rnd.Floats(n);
  std::vector<std::vector<float>> out;
  for (int cls = 0; cls < kProcessorClassCount; ++cls) {
    if (!IsProcessorClassRunnable(cls)) continue;
    ScopedProcessorClass force(cls);
    std::vector<float> d(n * 3);
    VectorMultiplyScalarFloat32(src.data() + 1, 1.7f, d.data() + 3, n - 1);
    VectorAddFloat32(src.data(), src2.data() + 2, d.data() + n, n - 2);
    VectorMultiplyFloat32(src.data() + 3, src2.data(), d.data() + 2 * n + 1, n - 3);
    out.push_back(d);
  }
  ASSERT_GE(out.size(), 1u);
  for (size_t k = 1; k < out.size(); ++k) {
    EXPECT_TRUE(lv_test::SameBits(out[k], out[0])) << "class index " << k;
  }
}

}  // namespace
