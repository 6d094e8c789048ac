// Independent model of the FFT set-up of processor classes 1 to 7, for the
// set-up and permutation tests: the per-class order limits, the size
// formulas, the quarter-wave look-up and the table layouts written from their
// definitions. The order split and column block of a large order are read
// from the class's own tables, which the split-table test checks against the
// design's figures and invariants.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "fft/setup/permute.h"
#include "fft/setup/many_core_plan.h"
#include "fft/setup/setup.h"
#include "fft/setup/fft_spec.h"
#include "support/bits.h"
#include "tests/fft/stage_rule.h"
#include "vmath/sincos/sincos.h"

namespace fftv_model {

using GetSizeFn = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*);
using InitFn = int32_t (*)(FftSpecComplexFloat32**, int32_t, int32_t, int32_t, uint8_t*, uint8_t*);
using SineFn = void* (*)(int32_t, float*);
using ExpandFn = void* (*)(int32_t, const float*, int32_t, float*);
using ListFn = void* (*)(int32_t, int32_t*);
using BlockedFn = void* (*)(int32_t, int32_t, int32_t*);
using TileFn = void (*)(ComplexFloat32*, int32_t, const int32_t*);
using SinStubFn = int32_t (*)(const float*, float*, int32_t);

struct VectorClass {
  int cls;
  GetSizeFn getSize;
  InitFn init;
  SineFn sine;
  ExpandFn expand;
  ListFn list;
  ListFn tileList;
  BlockedFn blocked;
  TileFn tile;
  SinStubFn sin;
  SinStubFn cos;
  const int32_t* split;        // outer order n by order (the class's table)
  const int32_t* columnBlock;  // column block T by order (the class's table)
  int small;      // small-order limit (class 6: 16, the many-core orders)
  int leaf;       // leaf limit
  int threshold;  // blocked swap-list threshold
  int v;          // lane width
};

#define FFTV_CLASS(c, Sfx, small, leaf, thr, v)                                                                   \
  VectorClass {                                                                                                   \
    c, FftGetSizeComplexFloat32##Sfx, FftInitComplexFloat32##Sfx, MakeSineTable##Sfx, ExpandRadix4Twiddles##Sfx, \
        MakeBitReverseList##Sfx, MakeTileBitReverseList##Sfx, MakeBlockedBitReverseList##Sfx, BitReverseTile##Sfx, \
        SinFloat32Stub##Sfx, CosFloat32Stub##Sfx, kFftOrderSplit##Sfx, kFftColumnBlock##Sfx, small, leaf, thr, v \
  }

// Indexed by class 1 to 7 (entry 0 unused).
inline const VectorClass& Class(int cls) {
  static const VectorClass kClasses[8] = {
      FFTV_CLASS(1, Sse3, 5, 16, 20, 4),  // entry 0 is never used
      FFTV_CLASS(1, Sse3, 5, 16, 20, 4),
      FFTV_CLASS(2, Ssse3, 5, 17, 19, 4),
      FFTV_CLASS(3, Sse42, 5, 17, 19, 4),
      FFTV_CLASS(4, Avx, 6, 18, 19, 8),
      FFTV_CLASS(5, Avx2, 6, 18, 19, 8),
      FFTV_CLASS(6, Avx512ManyCore, 16, 18, 19, 8),
      FFTV_CLASS(7, Avx512, 6, 18, 19, 8),
  };
  return kClasses[cls];
}

// Outer order n and column block T of a large order, from the class's tables.
inline int Split(int cls, int order) { return Class(cls).split[order]; }
inline int ColumnBlock(int cls, int order) { return Class(cls).columnBlock[order]; }

inline int64_t A64(int64_t x) { return (x + 63) / 64 * 64; }

// (spec, init, work) raw counts of a plan level.
inline void LevelCounts(int cls, int order, int64_t c[3]) {
  const int n = Split(cls, order);
  const int m = order - n;
  if (m <= Class(cls).leaf) {
    c[0] = A64(8 * (int64_t{1} << m) + 8);
    c[1] = 0;
    c[2] = A64(8 * (int64_t{1} << m));
  } else {
    LevelCounts(cls, m, c);
  }
  c[0] += 4 * (int64_t{1} << order);
  c[2] = std::max<int64_t>(c[2], 8 * (int64_t{1} << ColumnBlock(cls, order)));
}

// The reported counts of a valid order and flag.
inline void ExpectedCounts(int cls, int order, int64_t out[3]) {
  const int64_t n = int64_t{1} << order;
  const int64_t s = A64(n + 4);
  const VectorClass& k = Class(cls);
  if (cls == 6 && order <= 16) {
    if (order <= 7) {
      out[0] = 200, out[1] = 0, out[2] = 0;
    } else {
      out[0] = A64(8 * n + 8) + s + 256, out[1] = order > 10 ? s + 64 : 0, out[2] = A64(8 * n) + 64;
    }
  } else if (order <= k.small) {
    out[0] = 208, out[1] = 0, out[2] = 0;
  } else if (order <= k.leaf) {
    out[0] = A64(8 * n + 8) + s + 256, out[1] = order > 10 ? s + 64 : 0, out[2] = A64(8 * n) + 64;
  } else {
    int64_t c[3];
    LevelCounts(cls, order, c);
    if (order >= k.threshold) {
      c[0] += 4 * (n / 4096) + 4160;
      c[2] = std::max<int64_t>(c[2], 65536);
    } else {
      c[0] += s;
    }
    out[0] = c[0] + 256, out[1] = s + c[1] + 64, out[2] = c[2] + 64;
  }
}

inline float Neg(float x) {
  uint32_t b;
  std::memcpy(&b, &x, 4);
  b ^= 0x80000000u;
  std::memcpy(&x, &b, 4);
  return x;
}

// W_d^m = (cos, -sin)(2 pi m / d) from a quarter-wave table of order b.
inline void Twiddle(const float* sine, int b, int64_t m, int64_t d, float* re, float* im) {
  const int64_t q = (int64_t{1} << b) / 4;
  const int64_t u = m * ((int64_t{1} << b) / d);
  const int quadrant = u <= q ? 0 : u <= 2 * q ? 1 : u <= 3 * q ? 2 : 3;
  const int64_t r = u - quadrant * q;  // 0 < r <= q except u = 0
  switch (quadrant) {
    case 0: *re = sine[q - r], *im = Neg(sine[r]); break;
    case 1: *re = Neg(sine[r]), *im = Neg(sine[q - r]); break;
    case 2: *re = Neg(sine[q - r]), *im = sine[r]; break;
    default: *re = sine[r], *im = sine[q - r]; break;
  }
}

// Memory aligned to 64 bytes plus an offset, owned by a vector.
struct Aligned {
  explicit Aligned(size_t bytes, size_t offset = 0, uint8_t fill = 0xCD) : storage(bytes + offset + 64, fill) {
    data = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(storage.data()) + 63) & ~uintptr_t{63}) + offset;
  }
  std::vector<uint8_t> storage;
  uint8_t* data;
  template <class T>
  T* as() {
    return reinterpret_cast<T*>(data);
  }
};

// A specification built with the reported sizes.
struct Built {
  std::unique_ptr<Aligned> spec;
  std::unique_ptr<Aligned> init;
  FftSpecComplexFloat32* header = nullptr;
  int32_t sizes[3] = {0, 0, 0};
  int32_t status = -1;
};

inline Built Build(const VectorClass& k, int order, int flag = 2, size_t offset = 0) {
  Built b;
  EXPECT_EQ(k.getSize(order, flag, 2, &b.sizes[0], &b.sizes[1], &b.sizes[2]), 0);
  b.spec = std::make_unique<Aligned>(b.sizes[0] - 64 + 64, offset);
  b.init = std::make_unique<Aligned>(b.sizes[1] + 1);
  b.status = k.init(&b.header, order, flag, 2, b.spec->data, b.sizes[1] ? b.init->data : nullptr);
  return b;
}

// The generated sine table of an order above 10 (or the fixed one).
inline std::vector<float> SineTable(const VectorClass& k, int order) {
  if (order <= 10) return std::vector<float>(kFftQuarterSineOrder10, kFftQuarterSineOrder10 + 257);
  Aligned t((size_t{1} << order) + 128);
  k.sine(order, t.as<float>());
  return std::vector<float>(t.as<float>(), t.as<float>() + (size_t{1} << order) / 4 + 1);
}

// Radices after the first 4-point stage, by the class rule.
inline std::vector<int> Stages(int cls, int order) { return fft_stage_rule::StageRadices(cls, order); }

// The stage-block table of an order laid out from its stage list.
inline std::vector<float> ModelStageTable(int order, const std::vector<int>& stages, int v, const float* sine, int b) {
  const int64_t n = int64_t{1} << order;
  std::vector<float> t;
  int o = 2;
  for (int r : stages) {
    const int od = o + (r == 8 ? 3 : 2);
    const int64_t d = int64_t{1} << od;
    EXPECT_EQ(static_cast<int64_t>(4 * t.size()), 8 * (d / r) - 32) << "block start, order " << order;
    const int64_t width = std::min<int64_t>(v, d / r);
    for (int64_t g = 0; g < d / r / width; ++g) {
      for (int k = 1; k < r; ++k) {
        std::vector<float> re(width), im(width);
        for (int64_t i = 0; i < width; ++i) Twiddle(sine, b, k * (g * width + i), d, &re[i], &im[i]);
        t.insert(t.end(), re.begin(), re.end());
        t.insert(t.end(), im.begin(), im.end());
      }
    }
    o = od;
  }
  EXPECT_EQ(o, order);
  EXPECT_EQ(static_cast<int64_t>(4 * t.size()), 8 * n - 32);
  return t;
}

inline uint32_t Reverse(uint32_t x, int bits) {
  uint32_t r = 0;
  for (int i = 0; i < bits; ++i) r |= ((x >> i) & 1u) << (bits - 1 - i);
  return r;
}

// Column-pass table of one level, written from the segment definition: per
// column block e, per pass (s levels done, radix R), per group of V positions
// k, per power p, V cosines then V minus sines of 2 pi p m(k) / P with
// m(k) = floor(k / W) L + e + k mod W.
inline std::vector<float> ModelColumnTable(int cls, int order, int v, const float* sine, int a) {
  const int n = Split(cls, order);
  const int64_t cols = int64_t{1} << (order - n);  // L
  const int64_t w = int64_t{1} << (ColumnBlock(cls, order) - n);
  std::vector<float> t;
  for (int64_t e = 0; e < cols; e += w) {
    int s = 0;
    while (s < n) {
      const int left = n - s;
      const int r = (left == 2 || left == 4 || left == 6) ? 4 : 8;
      const int64_t g = (int64_t{1} << s) * w;
      const int64_t p = r * (int64_t{1} << s) * cols;
      const bool last = left == 2;
      const int powers = last ? 2 : r - 1;
      const int64_t count = last ? g / 2 : g;
      for (int64_t k0 = 0; k0 < count; k0 += v) {
        for (int pw = 1; pw <= powers; ++pw) {
          std::vector<float> re(v), im(v);
          for (int i = 0; i < v; ++i) {
            const int64_t k = k0 + i;
            const int64_t mk = (k / w) * cols + e + (k % w);
            Twiddle(sine, a, pw * mk, p, &re[i], &im[i]);
          }
          t.insert(t.end(), re.begin(), re.end());
          t.insert(t.end(), im.begin(), im.end());
        }
      }
      s += r == 8 ? 3 : 2;
    }
  }
  return t;
}

inline void CheckPlan(const VectorClass& k, int order) {
  Built b = Build(k, order, 2);
  ASSERT_EQ(b.status, 0) << order;
  FftSpecComplexFloat32* h = b.header;
  uint8_t* base = reinterpret_cast<uint8_t*>(h);
  EXPECT_EQ(h->swapList, base + 144);
  const int64_t n = int64_t{1} << order;
  const int64_t listEntries = order >= k.threshold ? n / 4096 + 1025 : n / 4 + 1;
  uint8_t* p = reinterpret_cast<uint8_t*>(A64(reinterpret_cast<intptr_t>(base + 144 + 4 * listEntries)));
  EXPECT_EQ(h->twiddles, p) << order;
  EXPECT_EQ(h->workBytes + 64, b.sizes[2]) << order;
  EXPECT_EQ(h->combineTable, nullptr);
  for (int d = 0; d < 3; ++d) EXPECT_EQ(h->outerTables[d], nullptr);
  EXPECT_EQ(h->columnTables[2], nullptr);
  // Levels from the top down to the leaf.
  std::vector<int> levels = {order};
  while (levels.back() - Split(k.cls, levels.back()) > k.leaf) levels.push_back(levels.back() - Split(k.cls, levels.back()));
  const int leaf = levels.back() - Split(k.cls, levels.back());
  const std::vector<float> sine = SineTable(k, order);
  const std::vector<float> leafTable = ModelStageTable(leaf, Stages(k.cls, leaf), k.v, sine.data(), order);
  EXPECT_TRUE(lv_test::SameBits(static_cast<const float*>(h->twiddles), leafTable.data(), leafTable.size())) << order;
  p += A64(8 * (int64_t{1} << leaf));
  for (int d = static_cast<int>(levels.size()) - 1; d >= 0; --d) {
    EXPECT_EQ(h->columnTables[d], p) << order << " depth " << d;
    const std::vector<float> want = ModelColumnTable(k.cls, levels[d], k.v, sine.data(), order);
    const double fill = 4.0 * want.size() / static_cast<double>(int64_t{1} << levels[d]);
    const int outer = Split(k.cls, levels[d]);
    EXPECT_DOUBLE_EQ(fill, outer == 4 ? 3.5 : outer == 6 ? 3.875 : 3.96875);
    EXPECT_TRUE(lv_test::SameBits(static_cast<const float*>(h->columnTables[d]), want.data(), want.size()))
        << order << " depth " << d;
    p += 4 * (int64_t{1} << levels[d]);
  }
  if (levels.size() == 1) {
    EXPECT_EQ(h->columnTables[1], nullptr);
  }
  // The swap list: complete below the threshold, blocked from it on.
  Aligned list(4 * listEntries + 192, 16);
  if (order >= k.threshold) {
    k.blocked(order, 6, list.as<int32_t>());
  } else {
    k.list(order, list.as<int32_t>());
  }
  EXPECT_TRUE(
      lv_test::SameBits(static_cast<const int32_t*>(h->swapList), list.as<int32_t>(), static_cast<size_t>(listEntries)))
      << order;
}


}  // namespace fftv_model
