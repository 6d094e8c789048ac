// Extremes with and without index in every processor class: each class against
// its scalar model bit for bit (NaN elements and signed zeros included), and
// on NaN-free data against a plain loop.
#include "primitives/extremes/extremes.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "extremes_model.h"
#include "extremes_test_support.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using namespace extremes_test;

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

enum class Data { Plain, Duplicates, NaNsAndZeros };

// Random data: plain distinct-ish values; few values with many duplicates and
// zeros of both signs; or values with NaNs (of both signs) and zeros mixed in.
template <typename T>
std::vector<T> MakeData(Data kind, size_t n, std::mt19937& rng) {
  std::vector<T> v(n);
  std::uniform_real_distribution<double> u(-1000.0, 1000.0);
  for (size_t i = 0; i < n; ++i) {
    switch (kind) {
      case Data::Plain:
        v[i] = T(u(rng));
        break;
      case Data::Duplicates: {
        const int k = int(rng() % 7) - 3;
        v[i] = k == 0 ? (rng() % 2 ? T(0.0) : T(-0.0)) : T(k);
        break;
      }
      case Data::NaNsAndZeros: {
        const unsigned r = rng() % 8;
        v[i] = r == 0 ? T(kNaN) : r == 1 ? -T(kNaN) : r == 2 ? T(0.0) : r == 3 ? T(-0.0) : T(int(rng() % 9) - 4);
        break;
      }
    }
  }
  return v;
}

std::vector<int> SweepCounts() {
  std::vector<int> c;
  for (int n = 1; n <= 80; ++n) c.push_back(n);
  for (int n : {127, 128, 129, 2047, 2048 + 34, 2048 + 35, 4096 + 40, 5000}) c.push_back(n);
  return c;
}

// Byte offsets from a 64-byte boundary: every element position modulo 32
// bytes, plus addresses that are not a multiple of the element size.
template <typename T>
std::vector<size_t> SweepOffsets(int n) {
  std::vector<size_t> o;
  for (size_t b = 0; b < 32; b += sizeof(T)) o.push_back(b);
  if (n % 5 == 0 || n > 80) {
    o.push_back(1);
    o.push_back(6);
  }
  return o;
}

class ExtremesTest : public lv_test::PerClassTest {};

TEST_P(ExtremesTest, EachClassFollowsItsOwnRoadBitForBit) {
  std::mt19937 rng(20261210 + Cls());
  long checked = 0;
  for (Data kind : {Data::Plain, Data::Duplicates, Data::NaNsAndZeros}) {
    for (int n : SweepCounts()) {
      const auto f = MakeData<float>(kind, size_t(n), rng);
      const auto d = MakeData<double>(kind, size_t(n), rng);
      for (size_t off : SweepOffsets<float>(n)) {
        PlacedVector<float> pv(f, off);
        for (int mx = 0; mx < 2; ++mx) {
          float value = 0;
          ASSERT_EQ(kValueF32[mx][Cls()](pv.data(), n, &value), StatusOk);
          const float want = extremes_model::ValueFloat32(Cls(), mx == 1, pv.data(), n);
          ASSERT_EQ(Bits(value), Bits(want)) << (mx ? "max" : "min") << " float n=" << n << " off=" << off
                                             << " got " << value << " want " << want;
          int32_t index = -1;
          ASSERT_EQ(kIndexF32[mx][Cls()](pv.data(), n, &value, &index), StatusOk);
          const auto wantIdx = extremes_model::IndexFloat32(Cls(), mx == 1, pv.data(), n);
          ASSERT_EQ(Bits(value), Bits(wantIdx.value))
              << (mx ? "max" : "min") << " index search n=" << n << " off=" << off << " got " << value << " want "
              << wantIdx.value;
          ASSERT_EQ(index, wantIdx.index) << (mx ? "max" : "min") << " index search n=" << n << " off=" << off;
          ASSERT_TRUE(index >= 0 && index < n);
          ++checked;
        }
      }
      for (size_t off : SweepOffsets<double>(n)) {
        PlacedVector<double> pv(d, off);
        for (int mx = 0; mx < 2; ++mx) {
          double value = 0;
          ASSERT_EQ(kValueF64[mx][Cls()](pv.data(), n, &value), StatusOk);
          const double want = extremes_model::ValueFloat64(Cls(), mx == 1, pv.data(), n);
          ASSERT_EQ(Bits(value), Bits(want)) << (mx ? "max" : "min") << " double n=" << n << " off=" << off
                                             << " got " << value << " want " << want;
        }
      }
    }
  }
  EXPECT_GT(checked, 0);
}

// On data without NaN and without zeros of both signs every class gives the
// plain loop's extreme and the first position holding it.
TEST_P(ExtremesTest, NaNFreeDataMatchesAPlainLoop) {
  std::mt19937 rng(77 + Cls());
  long checked = 0;
  std::vector<int> counts;
  for (int n = 1; n <= 41; ++n) counts.push_back(n);
  for (int n : {2048 + 34, 4096 + 40}) counts.push_back(n);
  for (int n : counts) {
    std::vector<float> f(n);
    std::vector<double> d(n);
    for (int i = 0; i < n; ++i) {
      f[i] = float(int(rng() % 200) - 100) + 0.5f;  // duplicates, no zeros
      d[i] = double(int(rng() % 2000) - 1000) + 0.25;
    }
    for (size_t off = 0; off < 32; off += 4) {
      PlacedVector<float> pf(f, off);
      PlacedVector<double> pd(d, off & ~size_t{7});
      for (int mx = 0; mx < 2; ++mx) {
        float best = f[0];
        int32_t at = 0;
        double bestD = d[0];
        for (int i = 1; i < n; ++i) {
          if (mx ? f[i] > best : f[i] < best) {
            best = f[i];
            at = i;
          }
          if (mx ? d[i] > bestD : d[i] < bestD) bestD = d[i];
        }
        float value = 0;
        int32_t index = -1;
        double dv = 0;
        ASSERT_EQ(kValueF32[mx][Cls()](pf.data(), n, &value), StatusOk);
        ASSERT_EQ(value, best) << "n=" << n << " off=" << off;
        ASSERT_EQ(kIndexF32[mx][Cls()](pf.data(), n, &value, &index), StatusOk);
        ASSERT_EQ(value, best) << "n=" << n << " off=" << off;
        ASSERT_EQ(index, at) << "n=" << n << " off=" << off << (mx ? " max" : " min");
        ASSERT_EQ(kValueF64[mx][Cls()](pd.data(), n, &dv), StatusOk);
        ASSERT_EQ(dv, bestD) << "n=" << n << " off=" << (off & ~size_t{7});
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 0);
}

// A repeated extreme reports its first position, in every class and at every
// alignment modulo 32 bytes; the second occurrence lies in another block of the
// block method in the 5000-element case.
TEST_P(ExtremesTest, RepeatedExtremeReportsTheFirstPosition) {
  struct Case {
    int n, first, second;
  };
  const Case cases[] = {{50, 5, 40}, {5000, 100, 3000}, {30, 0, 20}, {60, 0, 20}, {34, 33, 12}, {34, 12, 33}};
  for (const Case& c : cases) {
    for (int mx = 0; mx < 2; ++mx) {
      std::vector<float> v(c.n);
      for (int i = 0; i < c.n; ++i) v[i] = float((i * 37) % 101) - 50.0f;
      const float peak = mx ? 1000.0f : -1000.0f;
      const int lo = std::min(c.first, c.second), hi = std::max(c.first, c.second);
      v[lo] = peak;
      v[hi] = peak;
      for (size_t off = 0; off < 32; off += 4) {
        PlacedVector<float> pv(v, off);
        float value = 0;
        int32_t index = -1;
        ASSERT_EQ(kIndexF32[mx][Cls()](pv.data(), c.n, &value, &index), StatusOk);
        EXPECT_EQ(value, peak);
        EXPECT_EQ(index, lo) << "n=" << c.n << " off=" << off << (mx ? " max" : " min");
      }
    }
  }
}

TEST_P(ExtremesTest, InfinitiesAndConstantVectors) {
  for (int n : {1, 7, 33, 34, 100, 2100}) {
    for (size_t off = 0; off < 32; off += 4) {
      for (int mx = 0; mx < 2; ++mx) {
        const float fill = mx ? -kInf : kInf;
        PlacedVector<float> pv(std::vector<float>(n, fill), off);
        float value = 0;
        int32_t index = -1;
        ASSERT_EQ(kIndexF32[mx][Cls()](pv.data(), n, &value, &index), StatusOk);
        EXPECT_EQ(value, fill);
        EXPECT_EQ(index, 0);
        ASSERT_EQ(kValueF32[mx][Cls()](pv.data(), n, &value), StatusOk);
        EXPECT_EQ(value, fill);
        PlacedVector<double> pd(std::vector<double>(n, double(fill)), off & ~size_t{7});
        double dv = 0;
        ASSERT_EQ(kValueF64[mx][Cls()](pd.data(), n, &dv), StatusOk);
        EXPECT_EQ(dv, double(fill));
        // A single +infinity (-infinity for the minimum) is found wherever it stands.
        std::vector<float> v(n, 3.0f);
        const int at = (n * 5) / 7;
        v[at] = -fill;
        PlacedVector<float> pw(v, off);
        ASSERT_EQ(kIndexF32[mx][Cls()](pw.data(), n, &value, &index), StatusOk);
        EXPECT_EQ(value, -fill);
        EXPECT_EQ(index, at);
      }
    }
  }
}

// Crafted NaN and zero vectors, 32-byte aligned, whose results differ by class.
TEST_P(ExtremesTest, CraftedNaNAndSignedZeroResults) {
  const int c = Cls();
  {
    // A NaN as the last of three elements: class 0 passes over it, the
    // 4-lane kernels take it into lane 0 in the tail, the masked kernel drops
    // it in the first halving of the reduction.
    PlacedVector<float> pv({1.0f, 2.0f, kNaN}, 0);
    float value = 0;
    ASSERT_EQ(kValueF32[1][c](pv.data(), 3, &value), StatusOk);
    if (c >= 1 && c <= 4) {
      EXPECT_TRUE(std::isnan(value));
    } else {
      EXPECT_EQ(value, 2.0f);
    }
    // The searches with index pass over it in every class.
    int32_t index = -1;
    ASSERT_EQ(kIndexF32[1][c](pv.data(), 3, &value, &index), StatusOk);
    EXPECT_EQ(value, 2.0f);
    EXPECT_EQ(index, 1);
  }
  {
    // A NaN in element 0 stays the result of class 0 and of the short searches.
    PlacedVector<float> pv({kNaN, 5.0f, 1.0f, 9.0f}, 0);
    float value = 0;
    int32_t index = -1;
    ASSERT_EQ(kIndexF32[1][c](pv.data(), 4, &value, &index), StatusOk);
    EXPECT_TRUE(std::isnan(value));
    EXPECT_EQ(index, 0);
    ASSERT_EQ(kValueF32[1][c](pv.data(), 4, &value), StatusOk);
    if (c == 0) {
      EXPECT_TRUE(std::isnan(value));
    }
  }
  {
    // -0 then +0: class 0 keeps the running -0; the 4-lane kernels take the
    // incoming +0.
    PlacedVector<float> pv({-0.0f, 0.0f}, 0);
    float value = 1;
    ASSERT_EQ(kValueF32[1][c](pv.data(), 2, &value), StatusOk);
    if (c == 0) {
      EXPECT_EQ(Bits(value), Bits(-0.0f));
    }
    if (c >= 1 && c <= 4) {
      EXPECT_EQ(Bits(value), Bits(0.0f));
    }
    EXPECT_EQ(Bits(value), Bits(extremes_model::ValueFloat32(c, true, pv.data(), 2)));
  }
  {
    // Long vectors: the block method reports the first element with the
    // returned zero's exact pattern.
    std::vector<float> v(100, -1.0f);
    v[10] = -0.0f;
    v[50] = 0.0f;
    PlacedVector<float> pv(v, 0);
    float value = 1;
    int32_t index = -1;
    ASSERT_EQ(kIndexF32[1][c](pv.data(), 100, &value, &index), StatusOk);
    EXPECT_EQ(value, 0.0f);
    EXPECT_TRUE(index == 10 || index == 50) << "index " << index;
    if (c >= 1 && c <= 3) {
      EXPECT_EQ(Bits(v[index]), Bits(value)) << "index " << index;
    }
    const auto want = extremes_model::IndexFloat32(c, true, pv.data(), 100);
    EXPECT_EQ(Bits(value), Bits(want.value));
    EXPECT_EQ(index, want.index);
  }
}

// A null index gives the value search's status and value and leaves the index
// untouched.
TEST_P(ExtremesTest, NullIndexGivesTheValueSearch) {
  std::mt19937 rng(5);
  for (int n : {1, 9, 33, 34, 200, 3000}) {
    const auto v = MakeData<float>(Data::NaNsAndZeros, size_t(n), rng);
    for (size_t off : {size_t{0}, size_t{4}, size_t{12}, size_t{2}}) {
      PlacedVector<float> pv(v, off);
      for (int mx = 0; mx < 2; ++mx) {
        float a = 0, b = 0;
        ASSERT_EQ(kIndexF32[mx][Cls()](pv.data(), n, &a, nullptr), StatusOk);
        ASSERT_EQ(kValueF32[mx][Cls()](pv.data(), n, &b), StatusOk);
        EXPECT_EQ(Bits(a), Bits(b)) << "n=" << n;
      }
    }
  }
  float value = 0;
  EXPECT_EQ(kIndexF32[1][Cls()](nullptr, 5, &value, nullptr), StatusNullPointer);
  EXPECT_EQ(kIndexF32[1][Cls()](&value, 0, &value, nullptr), StatusBadCount);
}

TEST_P(ExtremesTest, BadArgumentsWriteNothing) {
  const float f[4] = {1, 2, 3, 4};
  const double d[4] = {1, 2, 3, 4};
  for (int mx = 0; mx < 2; ++mx) {
    float value = -7.0f;
    int32_t index = -7;
    double dv = -7.0;
    EXPECT_EQ(kValueF32[mx][Cls()](nullptr, 4, &value), StatusNullPointer);
    EXPECT_EQ(kValueF32[mx][Cls()](f, 4, nullptr), StatusNullPointer);
    EXPECT_EQ(kValueF32[mx][Cls()](nullptr, 0, &value), StatusNullPointer);
    EXPECT_EQ(kValueF32[mx][Cls()](f, 0, &value), StatusBadCount);
    EXPECT_EQ(kValueF32[mx][Cls()](f, -3, &value), StatusBadCount);
    EXPECT_EQ(kValueF64[mx][Cls()](nullptr, 4, &dv), StatusNullPointer);
    EXPECT_EQ(kValueF64[mx][Cls()](d, 4, nullptr), StatusNullPointer);
    EXPECT_EQ(kValueF64[mx][Cls()](d, 0, &dv), StatusBadCount);
    EXPECT_EQ(kIndexF32[mx][Cls()](nullptr, 4, &value, &index), StatusNullPointer);
    EXPECT_EQ(kIndexF32[mx][Cls()](f, 4, nullptr, &index), StatusNullPointer);
    EXPECT_EQ(kIndexF32[mx][Cls()](f, -1, nullptr, &index), StatusNullPointer);
    EXPECT_EQ(kIndexF32[mx][Cls()](f, 0, &value, &index), StatusBadCount);
    EXPECT_EQ(kIndexF32[mx][Cls()](f, int32_t(0x80000000), &value, &index), StatusBadCount);
    EXPECT_EQ(value, -7.0f);
    EXPECT_EQ(index, -7);
    EXPECT_EQ(dv, -7.0);
  }
}

// Sources that end right before an inaccessible page: nothing past the n
// elements is read, whatever the count and road.
TEST_P(ExtremesTest, NoReadBeyondTheSource) {
  for (int n = 1; n <= 100; ++n) {
    lv_test::GuardedBuffer fb(4 * size_t(n), 4), db(8 * size_t(n), 8);
    for (int i = 0; i < n; ++i) {
      fb.as<float>()[i] = float(i % 13);
      db.as<double>()[i] = double(i % 11);
    }
    for (int mx = 0; mx < 2; ++mx) {
      float value;
      int32_t index;
      double dv;
      ASSERT_EQ(kValueF32[mx][Cls()](fb.as<float>(), n, &value), StatusOk);
      ASSERT_EQ(kIndexF32[mx][Cls()](fb.as<float>(), n, &value, &index), StatusOk);
      ASSERT_EQ(kValueF64[mx][Cls()](db.as<double>(), n, &dv), StatusOk);
    }
  }
}

// Positions past one stretch of the long-vector kernels (2^22 elements) and
// past 2^23 stay exact.
TEST_P(ExtremesTest, PositionsStayExactAcrossLongStretches) {
  const int n = (1 << 23) + 1000;
  std::vector<float> v(n);
  for (int i = 0; i < n; ++i) v[i] = float(i % 1000) * 0.001f;
  v[(1 << 22) + 5] = 7.0f;
  v[(1 << 23) + 3] = 7.0f;
  v[(1 << 22) + 9] = -7.0f;
  v[(1 << 23) + 501] = -7.0f;
  for (size_t off : {size_t{0}, size_t{12}}) {
    PlacedVector<float> pv(v, off);
    float value = 0;
    int32_t index = -1;
    ASSERT_EQ(kIndexF32[1][Cls()](pv.data(), n, &value, &index), StatusOk);
    EXPECT_EQ(value, 7.0f);
    EXPECT_EQ(index, (1 << 22) + 5);
    ASSERT_EQ(kIndexF32[0][Cls()](pv.data(), n, &value, &index), StatusOk);
    EXPECT_EQ(value, -7.0f);
    EXPECT_EQ(index, (1 << 22) + 9);
  }
  // A single extreme in the last, partial stretch.
  v[(1 << 22) + 5] = v[(1 << 23) + 3] = 0.5f;
  v[n - 3] = 8.0f;
  PlacedVector<float> pv(v, 4);
  float value = 0;
  int32_t index = -1;
  ASSERT_EQ(kIndexF32[1][Cls()](pv.data(), n, &value, &index), StatusOk);
  EXPECT_EQ(index, n - 3);
}

TEST_P(ExtremesTest, EntryPointsDispatch) {
  std::mt19937 rng(3);
  const auto v = MakeData<float>(Data::NaNsAndZeros, 77, rng);
  const auto d = MakeData<double>(Data::NaNsAndZeros, 77, rng);
  PlacedVector<float> pv(v, 4);
  PlacedVector<double> pd(d, 8);
  float a = 0, b = 0;
  int32_t ia = -1, ib = -1;
  double da = 0, db = 0;
  ASSERT_EQ(VectorMaxFloat32(pv.data(), 77, &a), StatusOk);
  ASSERT_EQ(kValueF32[1][Cls()](pv.data(), 77, &b), StatusOk);
  EXPECT_EQ(Bits(a), Bits(b));
  ASSERT_EQ(VectorMinFloat32(pv.data(), 77, &a), StatusOk);
  ASSERT_EQ(kValueF32[0][Cls()](pv.data(), 77, &b), StatusOk);
  EXPECT_EQ(Bits(a), Bits(b));
  ASSERT_EQ(VectorMaxFloat64(pd.data(), 77, &da), StatusOk);
  ASSERT_EQ(kValueF64[1][Cls()](pd.data(), 77, &db), StatusOk);
  EXPECT_EQ(Bits(da), Bits(db));
  ASSERT_EQ(VectorMinFloat64(pd.data(), 77, &da), StatusOk);
  ASSERT_EQ(kValueF64[0][Cls()](pd.data(), 77, &db), StatusOk);
  EXPECT_EQ(Bits(da), Bits(db));
  ASSERT_EQ(VectorMaxIndexFloat32(pv.data(), 77, &a, &ia), StatusOk);
  ASSERT_EQ(kIndexF32[1][Cls()](pv.data(), 77, &b, &ib), StatusOk);
  EXPECT_EQ(Bits(a), Bits(b));
  EXPECT_EQ(ia, ib);
  ASSERT_EQ(VectorMinIndexFloat32(pv.data(), 77, &a, &ia), StatusOk);
  ASSERT_EQ(kIndexF32[0][Cls()](pv.data(), 77, &b, &ib), StatusOk);
  EXPECT_EQ(Bits(a), Bits(b));
  EXPECT_EQ(ia, ib);
  EXPECT_EQ(CurrentProcessorClass(), Cls());
}

LV_INSTANTIATE_PER_CLASS(ExtremesTest);

}  // namespace
