// Thresholds in every processor class against the element rule, bit for bit:
// every count across the roads' bounds, every destination offset, NaN and
// signed-zero elements and levels, in place and out of place.
#include "primitives/threshold/threshold.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "primitives/threshold/threshold_classes.h"
#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

template <typename T>
using Fn = int32_t (*)(const T*, T*, int32_t, T);

#define LV_CLASS_ROW(Name)                                                                                   \
  {                                                                                                          \
    Name##Sse2, Name##Sse3, Name##Ssse3, Name##Sse42, Name##Avx, Name##Avx2, Name##Avx512ManyCore, Name##Avx512 \
  }
// [0] Greater, [1] Less.
const Fn<int32_t> kInt32[2][kProcessorClassCount] = {LV_CLASS_ROW(VectorThresholdGreaterInt32),
                                                     LV_CLASS_ROW(VectorThresholdLessInt32)};
const Fn<float> kFloat32[2][kProcessorClassCount] = {LV_CLASS_ROW(VectorThresholdGreaterFloat32),
                                                     LV_CLASS_ROW(VectorThresholdLessFloat32)};
const Fn<double> kFloat64[2][kProcessorClassCount] = {LV_CLASS_ROW(VectorThresholdGreaterFloat64),
                                                      LV_CLASS_ROW(VectorThresholdLessFloat64)};
using ByCodeF64 = int32_t (*)(const double*, double*, int32_t, double, int32_t);
const ByCodeF64 kByCodeFloat64[kProcessorClassCount] = LV_CLASS_ROW(ThresholdByCodeFloat64);
#undef LV_CLASS_ROW
using ByCodeF32 = int32_t (*)(const float*, float*, int32_t, float, int32_t);
const ByCodeF32 kByCodeFloat32[4] = {ThresholdByCodeFloat32Sse2, ThresholdByCodeFloat32Sse3,
                                     ThresholdByCodeFloat32Ssse3, ThresholdByCodeFloat32Sse42};

template <typename T>
const Fn<T> (&Table())[2][kProcessorClassCount] {
  if constexpr (std::is_same_v<T, int32_t>) {
    return kInt32;
  } else if constexpr (std::is_same_v<T, float>) {
    return kFloat32;
  } else {
    return kFloat64;
  }
}

// The element rule, written out plainly.
template <typename T>
T Rule(bool less, T x, T level) {
  if constexpr (std::is_integral_v<T>) {
    return less ? (x < level ? level : x) : (x > level ? level : x);
  } else {
    return less ? (x > level ? x : level) : (x < level ? x : level);
  }
}

template <typename T>
uint64_t Bits(T v) {
  uint64_t u = 0;
  std::memcpy(&u, &v, sizeof(T));
  return u;
}

// Elements read by their bytes (destinations at offsets that are not a
// multiple of the element size are tested too).
template <typename T>
T Get(const T* p, int i) {
  T v;
  std::memcpy(&v, p + i, sizeof(T));
  return v;
}

template <typename T>
std::vector<T> Specials() {
  if constexpr (std::is_integral_v<T>) {
    return {0, 1, -1, 255, -32767, 32767, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
  } else {
    const T nan = std::numeric_limits<T>::quiet_NaN(), inf = std::numeric_limits<T>::infinity();
    return {T(0.0), T(-0.0), nan, -nan, inf, -inf, T(1.5), T(-1.5), T(255), std::numeric_limits<T>::denorm_min()};
  }
}

template <typename T>
std::vector<T> RandomData(size_t n, const std::vector<T>& specials, T level, std::mt19937& rng) {
  std::vector<T> v(n);
  for (auto& x : v) {
    const unsigned r = rng() % 8;
    if (r == 0) {
      x = specials[rng() % specials.size()];
    } else if (r == 1) {
      x = level;
    } else if constexpr (std::is_integral_v<T>) {
      x = int32_t(rng() % 1001) - 500;
    } else {
      x = T(std::uniform_real_distribution<double>(-600.0, 600.0)(rng));
    }
  }
  return v;
}

// Storage with canaries: a region `offset` bytes past a 64-byte boundary.
template <typename T>
class Placed {
 public:
  Placed(size_t n, size_t offset) : bytes_(n * sizeof(T)), storage_(bytes_ + offset + 256, 0xA5) {
    auto base = (reinterpret_cast<uintptr_t>(storage_.data()) + 64 + 63) & ~uintptr_t{63};
    p_ = reinterpret_cast<uint8_t*>(base) + offset;
  }
  T* data() { return reinterpret_cast<T*>(p_); }
  bool CanariesIntact() const {
    for (size_t i = 0; i < storage_.size(); ++i) {
      const uint8_t* q = storage_.data() + i;
      if ((q < p_ || q >= p_ + bytes_) && *q != 0xA5) return false;
    }
    return true;
  }

 private:
  size_t bytes_;
  std::vector<uint8_t> storage_;
  uint8_t* p_;
};

std::vector<int> Counts() {
  std::vector<int> c;
  for (int n = 1; n <= 72; ++n) c.push_back(n);
  for (int n : {127, 128, 129, 215, 216, 217, 218, 230, 233, 250, 300, 1001}) c.push_back(n);
  return c;
}

class ThresholdTest : public lv_test::PerClassTest {
 protected:
  template <typename T>
  void SweepAgainstTheRule() {
    std::mt19937 rng(4242 + Cls() + sizeof(T));
    const auto specials = Specials<T>();
    long checked = 0;
    for (int n : Counts()) {
      for (size_t dstOff = 0; dstOff < 64; dstOff += 4) {
        const size_t srcOff = (dstOff * 3 + 8 * size_t(n)) % 64 & ~(sizeof(T) - 1);
        const T level = (n + dstOff / 4) % 3 == 0 ? specials[(n + dstOff) % specials.size()]
                                                : T(int32_t(rng() % 201) - 100);
        const auto data = RandomData<T>(size_t(n), specials, level, rng);
        for (int less = 0; less < 2; ++less) {
          Placed<T> src(n, srcOff), dst(n, dstOff);
          std::memcpy(src.data(), data.data(), n * sizeof(T));
          ASSERT_EQ(Table<T>()[less][Cls()](src.data(), dst.data(), n, level), StatusOk);
          for (int i = 0; i < n; ++i) {
            ASSERT_EQ(Bits(Get(dst.data(), i)), Bits(Rule<T>(less, data[i], level)))
                << (less ? "Less" : "Greater") << " n=" << n << " dstOff=" << dstOff << " i=" << i
                << " x=" << data[i] << " level=" << level;
          }
          ASSERT_TRUE(dst.CanariesIntact()) << "n=" << n << " dstOff=" << dstOff;
          ASSERT_TRUE(lv_test::SameBits(src.data(), data.data(), n)) << "source changed";
          // In place: the destination is the source.
          ASSERT_EQ(Table<T>()[less][Cls()](src.data(), src.data(), n, level), StatusOk);
          ASSERT_TRUE(lv_test::SameBits(src.data(), dst.data(), n)) << "in place, n=" << n;
          ASSERT_TRUE(src.CanariesIntact());
          ++checked;
        }
      }
    }
    EXPECT_GT(checked, 0);
  }
};

TEST_P(ThresholdTest, Int32FollowsTheRuleAtEveryCountAndOffset) { SweepAgainstTheRule<int32_t>(); }
TEST_P(ThresholdTest, Float32FollowsTheRuleAtEveryCountAndOffset) { SweepAgainstTheRule<float>(); }
TEST_P(ThresholdTest, Float64FollowsTheRuleAtEveryCountAndOffset) { SweepAgainstTheRule<double>(); }

// A NaN element gives the level and a NaN level gives NaN (the level's bits),
// in every position of vectors that reach every road of the class.
template <typename T>
void NaNInEveryPosition(int cls) {
  const T nan = std::numeric_limits<T>::quiet_NaN();
  T level;
  const uint64_t payload = sizeof(T) == 4 ? 0x7fc01234u : 0x7ff8000000001234ull;
  std::memcpy(&level, &payload, sizeof(T));  // a NaN level with a payload
  for (int n : {1, 5, 9, 17, 28, 40, 250}) {
    for (size_t off : {size_t{0}, size_t{4}, size_t{8}, size_t{12}, size_t{36}}) {
      for (int less = 0; less < 2; ++less) {
        for (int at = 0; at < n; ++at) {
          std::vector<T> v(n, T(3));
          v[at] = -nan;
          Placed<T> dst(n, off);
          ASSERT_EQ(Table<T>()[less][cls](v.data(), dst.data(), n, T(2)), StatusOk);
          for (int i = 0; i < n; ++i) {
            ASSERT_EQ(Bits(Get(dst.data(), i)), Bits(i == at ? T(2) : Rule<T>(less, T(3), T(2))))
                << "n=" << n << " off=" << off << " NaN at " << at << " i=" << i;
          }
        }
        std::vector<T> v(n);
        for (int i = 0; i < n; ++i) v[i] = T(i % 3 - 1) * T(1e30);
        v[0] = nan;
        Placed<T> dst(n, off);
        ASSERT_EQ(Table<T>()[less][cls](v.data(), dst.data(), n, level), StatusOk);
        for (int i = 0; i < n; ++i) ASSERT_EQ(Bits(Get(dst.data(), i)), Bits(level)) << "n=" << n << " i=" << i;
      }
    }
  }
}

TEST_P(ThresholdTest, NaNElementsGiveTheLevelAndANaNLevelGivesNaN) {
  NaNInEveryPosition<float>(Cls());
  NaNInEveryPosition<double>(Cls());
}

// Elements equal to the level, zeros of either sign against a zero level:
// the level's bits are written.
TEST_P(ThresholdTest, EqualElementsAndSignedZerosGiveTheLevel) {
  for (int n : {1, 3, 16, 29, 40, 217, 300}) {
    for (int less = 0; less < 2; ++less) {
      for (float level : {0.0f, -0.0f, 7.25f}) {
        std::vector<float> v(n);
        for (int i = 0; i < n; ++i) v[i] = level == 7.25f ? 7.25f : (i % 2 ? 0.0f : -0.0f);
        std::vector<float> d(n, 99.0f);
        ASSERT_EQ(kFloat32[less][Cls()](v.data(), d.data() , n, level), StatusOk);
        for (int i = 0; i < n; ++i) ASSERT_EQ(Bits(d[i]), Bits(level)) << "n=" << n << " i=" << i;
        std::vector<double> vd(v.begin(), v.end()), dd(n, 99.0);
        ASSERT_EQ(kFloat64[less][Cls()](vd.data(), dd.data(), n, double(level)), StatusOk);
        for (int i = 0; i < n; ++i) ASSERT_EQ(Bits(dd[i]), Bits(double(level))) << "n=" << n << " i=" << i;
      }
    }
  }
}

TEST_P(ThresholdTest, IntegerExtremeLevelsCopyTheVector) {
  std::mt19937 rng(8);
  for (int n : {1, 4, 13, 100}) {
    std::vector<int32_t> v(n), d(n);
    for (auto& x : v) x = int32_t(rng());
    v[0] = std::numeric_limits<int32_t>::min();
    v[n - 1] = std::numeric_limits<int32_t>::max();
    ASSERT_EQ(kInt32[1][Cls()](v.data(), d.data(), n, std::numeric_limits<int32_t>::min()), StatusOk);
    EXPECT_EQ(d, v);
    ASSERT_EQ(kInt32[0][Cls()](v.data(), d.data(), n, std::numeric_limits<int32_t>::max()), StatusOk);
    EXPECT_EQ(d, v);
  }
}

TEST_P(ThresholdTest, ChecksComeFirstAndWriteNothing) {
  const float f[4] = {1, 2, 3, 4};
  const double g[4] = {1, 2, 3, 4};
  const int32_t k[4] = {1, 2, 3, 4};
  for (int less = 0; less < 2; ++less) {
    float fd[4] = {-9, -9, -9, -9};
    double gd[4] = {-9, -9, -9, -9};
    int32_t kd[4] = {-9, -9, -9, -9};
    EXPECT_EQ(kFloat32[less][Cls()](nullptr, fd, 0, 1.0f), StatusNullPointer);
    EXPECT_EQ(kFloat32[less][Cls()](f, nullptr, 4, 1.0f), StatusNullPointer);
    EXPECT_EQ(kFloat32[less][Cls()](f, fd, 0, 1.0f), StatusBadCount);
    EXPECT_EQ(kFloat32[less][Cls()](f, fd, -4, 1.0f), StatusBadCount);
    EXPECT_EQ(kFloat64[less][Cls()](nullptr, gd, 0, 1.0), StatusNullPointer);
    EXPECT_EQ(kFloat64[less][Cls()](g, nullptr, 4, 1.0), StatusNullPointer);
    EXPECT_EQ(kFloat64[less][Cls()](g, gd, 0, 1.0), StatusBadCount);
    EXPECT_EQ(kInt32[less][Cls()](nullptr, kd, -1, 1), StatusNullPointer);
    EXPECT_EQ(kInt32[less][Cls()](k, nullptr, 4, 1), StatusNullPointer);
    EXPECT_EQ(kInt32[less][Cls()](k, kd, 0, 1), StatusBadCount);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(fd[i], -9.0f);
      EXPECT_EQ(gd[i], -9.0);
      EXPECT_EQ(kd[i], -9);
    }
  }
}

// The shared by-code routines: CompareLess (0) and CompareGreater (4) are the
// Less and Greater forms; any other code answers StatusBadArgument, after the
// pointer and count checks, and writes nothing.
TEST_P(ThresholdTest, ByCodeRoutinesAnswerBadArgumentForUnknownCodes) {
  const float f[9] = {1, -2, 3, -4, 5, -6, 7, -8, 9};
  const double g[9] = {1, -2, 3, -4, 5, -6, 7, -8, 9};
  for (int32_t code : {1, 2, 3, 5, -1, 8, 0x7fffffff}) {
    float fd[9];
    double gd[9];
    std::fill(fd, fd + 9, -9.0f);
    std::fill(gd, gd + 9, -9.0);
    EXPECT_EQ(kByCodeFloat64[Cls()](g, gd, 9, 0.0, code), StatusBadArgument) << code;
    EXPECT_EQ(kByCodeFloat64[Cls()](nullptr, gd, 9, 0.0, code), StatusNullPointer);
    EXPECT_EQ(kByCodeFloat64[Cls()](g, gd, 0, 0.0, code), StatusBadCount);
    if (Cls() < 4) {
      EXPECT_EQ(kByCodeFloat32[Cls()](f, fd, 9, 0.0f, code), StatusBadArgument) << code;
      EXPECT_EQ(kByCodeFloat32[Cls()](f, nullptr, 9, 0.0f, code), StatusNullPointer);
      EXPECT_EQ(kByCodeFloat32[Cls()](f, fd, -1, 0.0f, code), StatusBadCount);
    }
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(fd[i], -9.0f);
      EXPECT_EQ(gd[i], -9.0);
    }
  }
  for (int32_t code : {int32_t(CompareLess), int32_t(CompareGreater)}) {
    float fd[9], fe[9];
    double gd[9], ge[9];
    const int less = code == CompareLess;
    ASSERT_EQ(kByCodeFloat64[Cls()](g, gd, 9, 0.5, code), StatusOk);
    ASSERT_EQ(kFloat64[less][Cls()](g, ge, 9, 0.5), StatusOk);
    EXPECT_TRUE(lv_test::SameBits(gd, ge, 9));
    if (Cls() < 4) {
      ASSERT_EQ(kByCodeFloat32[Cls()](f, fd, 9, 0.5f, code), StatusOk);
      ASSERT_EQ(kFloat32[less][Cls()](f, fe, 9, 0.5f), StatusOk);
      EXPECT_TRUE(lv_test::SameBits(fd, fe, 9));
    }
  }
}

// Sources that end right before an inaccessible page.
TEST_P(ThresholdTest, NoReadBeyondTheSource) {
  for (int n = 1; n <= 260; n += (n < 40 ? 1 : 7)) {
    lv_test::GuardedBuffer fb(4 * size_t(n), 4), db(8 * size_t(n), 8), ib(4 * size_t(n), 4);
    std::memset(fb.data(), 0, fb.size());
    std::memset(db.data(), 0, db.size());
    std::memset(ib.data(), 0, ib.size());
    std::vector<float> fd(n);
    std::vector<double> dd(n);
    std::vector<int32_t> id(n);
    for (int less = 0; less < 2; ++less) {
      ASSERT_EQ(kFloat32[less][Cls()](fb.as<float>(), fd.data(), n, 1.0f), StatusOk);
      ASSERT_EQ(kFloat64[less][Cls()](db.as<double>(), dd.data(), n, 1.0), StatusOk);
      ASSERT_EQ(kInt32[less][Cls()](ib.as<int32_t>(), id.data(), n, 1), StatusOk);
    }
  }
}

TEST_P(ThresholdTest, EntryPointsDispatch) {
  std::vector<float> f = {1, -2, std::numeric_limits<float>::quiet_NaN(), 4};
  std::vector<float> a(4);
  ASSERT_EQ(VectorThresholdLessFloat32(f.data(), a.data(), 4, 0.0f), StatusOk);
  EXPECT_EQ(a, (std::vector<float>{1, 0, 0, 4}));
  ASSERT_EQ(VectorThresholdGreaterFloat32(f.data(), a.data(), 4, 0.0f), StatusOk);
  EXPECT_EQ(a, (std::vector<float>{0, -2, 0, 0}));
  std::vector<double> g = {1, -2, 3, 4}, b(4);
  ASSERT_EQ(VectorThresholdLessFloat64(g.data(), b.data(), 4, 2.0), StatusOk);
  EXPECT_EQ(b, (std::vector<double>{2, 2, 3, 4}));
  ASSERT_EQ(VectorThresholdGreaterFloat64(g.data(), b.data(), 4, 2.0), StatusOk);
  EXPECT_EQ(b, (std::vector<double>{1, -2, 2, 2}));
  std::vector<int32_t> k = {0, 100, 255, 300}, c(4);
  ASSERT_EQ(VectorThresholdLessInt32(k.data(), c.data(), 4, 100), StatusOk);
  EXPECT_EQ(c, (std::vector<int32_t>{100, 100, 255, 300}));
  ASSERT_EQ(VectorThresholdGreaterInt32(k.data(), c.data(), 4, 255), StatusOk);
  EXPECT_EQ(c, (std::vector<int32_t>{0, 100, 255, 255}));
  EXPECT_EQ(CurrentProcessorClass(), Cls());
}

LV_INSTANTIATE_PER_CLASS(ThresholdTest);

}  // namespace
