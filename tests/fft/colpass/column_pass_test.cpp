// The radix-8 and radix-4 column passes of classes 1 to 7, forward and
// inverse: each output against the butterfly formula in double precision, for
// random blocks with unit-magnitude and with arbitrary records; the
// single-group radix-4 pass against the same formula with its derived factors;
// exactly the records each pass form reads; no-op group counts; the unused
// pointer; the forward/inverse mirror and the bit-identity within the unfused
// (1-4) and fused (5-7) classes.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "cpu/dispatch_testing.h"
#include "fft/kernels/column_pass.h"
#include "support/bits.h"
#include "support/class_fixture.h"

namespace {

using PassFn = void (*)(float*, float*, int32_t, int32_t, const float*);
using Cd = std::complex<double>;

struct ClassPasses {
  int cls;
  int width;  // points per group of the grouped layout
  PassFn fwd8, fwd4, inv8, inv4;
  int forwardsTo;  // the class whose code the passes are; -1: their own
};

#define LV_CLASS_PASSES(cls, Sfx, w, to)                                                                          \
  ClassPasses {                                                                                                    \
    cls, w, FftForwardRadix8Pass##Sfx, FftForwardRadix4Pass##Sfx, FftInverseRadix8Pass##Sfx,                     \
        FftInverseRadix4Pass##Sfx, to                                                                              \
  }

// Indexed by class - 1. The class-6 passes are the class-5 code under the
// class-6 names.
const ClassPasses kClasses[] = {
    LV_CLASS_PASSES(1, Sse3, 4, -1), LV_CLASS_PASSES(2, Ssse3, 4, -1),         LV_CLASS_PASSES(3, Sse42, 4, -1),
    LV_CLASS_PASSES(4, Avx, 8, -1),  LV_CLASS_PASSES(5, Avx2, 8, -1),          LV_CLASS_PASSES(6, Avx512ManyCore, 8, 5),
    LV_CLASS_PASSES(7, Avx512, 8, -1),
};

const ClassPasses& Passes(int cls) { return kClasses[cls - 1]; }

// Case names: the class suffix, or for a forwarder "Avx512ManyCoreForwardsToAvx2".
std::string PassCaseName(const ::testing::TestParamInfo<int>& info) {
  const int to = Passes(info.param).forwardsTo;
  return std::string(ProcessorClassSuffix(info.param)) +
         (to >= 0 ? std::string("ForwardsTo") + ProcessorClassSuffix(to) : "");
}

struct Rng {
  uint64_t s;
  explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 7) {}
  double Next() {  // uniform in [-1, 1)
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(static_cast<int32_t>(s >> 32)) / 2147483648.0;
  }
};

int Rev(int q, int bits) {
  int r = 0;
  for (int b = 0; b < bits; ++b) r |= ((q >> b) & 1) << (bits - 1 - b);
  return r;
}

// Point e of a grouped block of group width v.
Cd At(const std::vector<float>& b, int v, int64_t e) {
  const int64_t base = 2 * v * (e / v) + e % v;
  return {b[base], b[base + v]};
}

// Record k (1-based) of position p of a table with K records per unit.
Cd Record(const std::vector<float>& t, int v, int K, int64_t p, int k) {
  const int64_t base = (p / v) * K * 2 * v + (k - 1) * 2 * v + p % v;
  return {t[base], t[base + v]};
}

std::vector<float> RandomBlock(int64_t floats, uint64_t seed) {
  Rng r(seed);
  std::vector<float> b(floats);
  for (auto& x : b) x = static_cast<float>(r.Next());
  return b;
}

// Records of `units` units of K records; unit magnitude or arbitrary.
std::vector<float> RandomTable(int64_t units, int K, int v, bool unit, uint64_t seed) {
  Rng r(seed);
  std::vector<float> t(units * K * 2 * v);
  for (int64_t u = 0; u < units; ++u) {
    for (int k = 0; k < K; ++k) {
      for (int i = 0; i < v; ++i) {
        const double a = r.Next() * M_PI;
        const double m = unit ? 1.0 : 1.5 * r.Next();
        t[((u * K + k) * 2) * v + i] = static_cast<float>(m * std::cos(a));
        t[((u * K + k) * 2 + 1) * v + i] = static_cast<float>(-m * std::sin(a));
      }
    }
  }
  return t;
}

// y_s = x_0 + sum_q f_q * x_q * e^(sign 2 pi i rev(q) s / R), with f_q the
// effective factor of leg q (conjugated on the inverse).
void ModelButterfly(const Cd* x, const Cd* f, int R, bool inv, Cd* y) {
  const int bits = R == 8 ? 3 : 2;
  const double sign = inv ? 1.0 : -1.0;
  for (int s = 0; s < R; ++s) {
    Cd acc = x[0];
    for (int q = 1; q < R; ++q) {
      const Cd w = inv ? std::conj(f[q]) : f[q];
      acc += w * x[q] * std::polar(1.0, sign * 2.0 * M_PI * Rev(q, bits) * s / R);
    }
    y[s] = acc;
  }
}

// The whole pass in double: effective factors per leg from the table.
std::vector<Cd> ModelPass(const std::vector<float>& in, const std::vector<float>& tw, int v, int R, int h, int l,
                          bool inv) {
  const int bits = R == 8 ? 3 : 2;
  std::vector<Cd> out(static_cast<size_t>(R) * h * l);
  const Cd turn = std::polar(1.0, -M_PI / 4);
  for (int g = 0; g < l; ++g) {
    for (int p = 0; p < h; ++p) {
      Cd x[8], f[8], y[8];
      for (int q = 0; q < R; ++q) x[q] = At(in, v, int64_t{g} * R * h + p + int64_t{q} * h);
      if (R == 4 && l == 1) {
        const int pp = p < h / 2 ? p : p - h / 2;
        Cd b = Record(tw, v, 2, pp, 1), a = Record(tw, v, 2, pp, 2);
        if (p >= h / 2) {
          a *= Cd(0, -1);
          b *= turn;
        }
        f[1] = a;
        f[2] = b;
        f[3] = a * b;
      } else {
        const int K = R - 1;
        for (int q = 1; q < R; ++q) f[q] = Record(tw, v, K, p, Rev(q, bits));
      }
      ModelButterfly(x, f, R, inv, y);
      for (int s = 0; s < R; ++s) out[int64_t{g} * R * h + p + int64_t{s} * h] = y[s];
    }
  }
  return out;
}

struct PassCase {
  int radix, h, l;
};

const PassCase kCases[] = {
    {8, 16, 1}, {8, 64, 4}, {8, 32, 3}, {4, 16, 2}, {4, 64, 4}, {4, 32, 5},
    {4, 16, 1}, {4, 64, 1}, {4, 256, 1},
};

int64_t TableFloats(const PassCase& c) {
  if (c.radix == 8) return 14 * int64_t{c.h};
  if (c.l == 1) return 2 * int64_t{c.h};
  return 6 * int64_t{c.h};
}

class ColumnPassTest : public lv_test::PerClassTest {
 protected:
  const ClassPasses& P() const { return Passes(Cls()); }
  PassFn Pass(int radix, bool inv) const {
    const ClassPasses& c = P();
    return radix == 8 ? (inv ? c.inv8 : c.fwd8) : (inv ? c.inv4 : c.fwd4);
  }
};

TEST_P(ColumnPassTest, EveryOutputEqualsTheButterflyFormula) {
  const int v = P().width;
  for (const PassCase& c : kCases) {
    for (bool unit : {true, false}) {
      for (bool inv : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "radix " << c.radix << " h " << c.h << " l " << c.l
                                          << (unit ? " unit" : " arbitrary") << (inv ? " inverse" : " forward"));
        const int64_t points = int64_t{c.radix} * c.h * c.l;
        std::vector<float> block = RandomBlock(2 * points, c.h * 31 + c.l + c.radix);
        const std::vector<float> tw =
            RandomTable(TableFloats(c) / (2 * v), 1, v, unit, c.h + 3 * c.l + (unit ? 100 : 200));
        const std::vector<Cd> want = ModelPass(block, tw, v, c.radix, c.h, c.l, inv);
        Pass(c.radix, inv)(block.data(), block.data(), c.h, c.l, tw.data());
        double worst = 0;
        for (int64_t e = 0; e < points; ++e) {
          worst = std::max(worst, std::abs(At(block, v, e) - want[e]));
        }
        // inputs below 1, factors below 1.5 and three levels: a few float ulps
        EXPECT_LT(worst, (unit ? 8.0 : 24.0) * std::numeric_limits<float>::epsilon());
      }
    }
  }
}

// The table of each pass form is read to its last record and not one float
// further: a table followed by NaNs gives the same bits as one followed by
// zeros, and changing its last float changes the result.
TEST_P(ColumnPassTest, ReadsExactlyItsRecords) {
  const int v = P().width;
  for (const PassCase& c : kCases) {
    for (bool inv : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "radix " << c.radix << " h " << c.h << " l " << c.l);
      const int64_t n = TableFloats(c);
      const std::vector<float> in = RandomBlock(2 * int64_t{c.radix} * c.h * c.l, 5 + c.h);
      std::vector<float> tw = RandomTable(n / (2 * v), 1, v, true, 9 + c.l);
      std::vector<float> poisoned(tw), zeroed(tw);
      poisoned.resize(n + 64, std::numeric_limits<float>::quiet_NaN());
      zeroed.resize(n + 64, 0.0f);
      std::vector<float> a(in), b(in), d(in);
      Pass(c.radix, inv)(a.data(), a.data(), c.h, c.l, poisoned.data());
      Pass(c.radix, inv)(b.data(), b.data(), c.h, c.l, zeroed.data());
      EXPECT_TRUE(lv_test::SameBits(a, b));
      zeroed[n - 1] += 0.25f;
      Pass(c.radix, inv)(d.data(), d.data(), c.h, c.l, zeroed.data());
      EXPECT_FALSE(lv_test::SameBits(b, d));
    }
  }
}

TEST_P(ColumnPassTest, NoGroupsOrNoWidthChangeNothing) {
  for (int radix : {8, 4}) {
    for (bool inv : {false, true}) {
      for (auto [h, l] : {std::pair{64, 0}, std::pair{64, -3}, std::pair{0, 4}, std::pair{-16, 1}}) {
        std::vector<float> block = RandomBlock(2 * 8 * 64 * 4, 77);
        const std::vector<float> before(block);
        Pass(radix, inv)(block.data(), block.data(), h, l, nullptr);
        EXPECT_TRUE(lv_test::SameBits(block, before)) << radix << " " << h << " " << l;
      }
    }
  }
}

// The second pointer is never used: an unrelated array passed there stays as
// it was and the block is transformed exactly as with the block itself.
TEST_P(ColumnPassTest, SecondPointerIsNotUsed) {
  const int v = P().width;
  for (const PassCase& c : {PassCase{8, 64, 4}, PassCase{4, 32, 2}, PassCase{4, 64, 1}}) {
    const std::vector<float> in = RandomBlock(2 * int64_t{c.radix} * c.h * c.l, 3);
    const std::vector<float> tw = RandomTable(TableFloats(c) / (2 * v), 1, v, true, 4);
    std::vector<float> a(in), b(in), other = RandomBlock(in.size(), 99);
    const std::vector<float> otherBefore(other);
    Pass(c.radix, false)(a.data(), a.data(), c.h, c.l, tw.data());
    Pass(c.radix, false)(b.data(), other.data(), c.h, c.l, tw.data());
    EXPECT_TRUE(lv_test::SameBits(a, b));
    EXPECT_TRUE(lv_test::SameBits(other, otherBefore));
  }
}

// inverse(x) == conj(forward(conj(x))), float for float, with the same table.
TEST_P(ColumnPassTest, InverseIsTheMirrorOfForward) {
  const int v = P().width;
  for (const PassCase& c : kCases) {
    const std::vector<float> in = RandomBlock(2 * int64_t{c.radix} * c.h * c.l, 41 + c.h);
    const std::vector<float> tw = RandomTable(TableFloats(c) / (2 * v), 1, v, false, 43);
    std::vector<float> inv(in), fwd(in);
    auto conjugate = [v](std::vector<float>& b) {
      for (size_t i = 0; i < b.size(); ++i) {
        if ((i / v) % 2 == 1) b[i] = -b[i];
      }
    };
    Pass(c.radix, true)(inv.data(), inv.data(), c.h, c.l, tw.data());
    conjugate(fwd);
    Pass(c.radix, false)(fwd.data(), fwd.data(), c.h, c.l, tw.data());
    conjugate(fwd);
    EXPECT_TRUE(lv_test::SameBits(inv, fwd)) << "radix " << c.radix << " h " << c.h << " l " << c.l;
  }
}

INSTANTIATE_TEST_SUITE_P(Classes, ColumnPassTest, ::testing::Range(1, kProcessorClassCount), PassCaseName);

// Classes 1-4 (separate products) agree bit for bit, as do classes 5-7 (fused
// products). The two sets see different data layouts only when the group width
// differs, so the block is given in the layout of each class.
TEST(ColumnPassGroups, BitIdenticalWithinEachArithmetic) {
  // Convert a width-8 grouped block to width 4 (and back) by moving floats.
  auto regroup = [](const std::vector<float>& b, int from, int to) {
    std::vector<float> out(b.size());
    for (size_t e = 0; e < b.size() / 2; ++e) {
      out[2 * to * (e / to) + e % to] = b[2 * from * (e / from) + e % from];
      out[2 * to * (e / to) + to + e % to] = b[2 * from * (e / from) + from + e % from];
    }
    return out;
  };
  for (const PassCase& c : kCases) {
    for (bool inv : {false, true}) {
      const std::vector<float> in8 = RandomBlock(2 * int64_t{c.radix} * c.h * c.l, 17 + c.l);
      const std::vector<float> tw8 = RandomTable(TableFloats(c) / 16, 1, 8, false, 19);
      std::vector<float> ref[2];
      bool have[2] = {false, false};
      for (const ClassPasses& k : kClasses) {
        if (!IsProcessorClassRunnable(k.cls)) continue;
        const int v = k.width;
        std::vector<float> block = v == 8 ? in8 : regroup(in8, 8, 4);
        // table units of 4 positions: regroup the records of each unit
        std::vector<float> tw(tw8.size());
        const int K = static_cast<int>(TableFloats(c) / (2 * c.h / (c.radix == 4 && c.l == 1 ? 2 : 1)));
        for (size_t u8 = 0; u8 < tw8.size() / (16 * K); ++u8) {
          for (int half = 0; half < 2; ++half) {
            for (int k = 0; k < K; ++k) {
              for (int i = 0; i < 4; ++i) {
                const size_t src = u8 * 16 * K + k * 16 + half * 4 + i;
                const size_t dst = (2 * u8 + half) * 8 * K + k * 8 + i;
                tw[v == 8 ? src : dst] = tw8[src];
                tw[v == 8 ? src + 8 : dst + 4] = tw8[src + 8];
              }
            }
          }
        }
        PassFn f = c.radix == 8 ? (inv ? k.inv8 : k.fwd8) : (inv ? k.inv4 : k.fwd4);
        f(block.data(), block.data(), c.h, c.l, tw.data());
        if (v == 4) block = regroup(block, 4, 8);
        const int set = k.cls <= 4 ? 0 : 1;
        if (!have[set]) {
          ref[set] = block;
          have[set] = true;
        } else {
          EXPECT_TRUE(lv_test::SameBits(ref[set], block))
              << ProcessorClassSuffix(k.cls) << " radix " << c.radix << " h " << c.h << " l " << c.l;
        }
      }
    }
  }
}

}  // namespace
