// Helpers of the FFT table tests: expected values derived from the
// definitions (direct bit reversal, the quarter-wave look-up written out) and
// the check of a whole large-order plan of the portable class.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "fft/setup/fft_spec.h"
#include "fft/kernels/butterfly.h"
#include "fft/kernels/small_kernels.h"
#include "fft/setup/permute.h"
#include "fft/setup/many_core_plan.h"
#include "fft/setup/setup.h"
#include "support/bits.h"

namespace fft_table_check {

inline uint32_t Bits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, 4);
  return b;
}

inline int64_t Reverse(int64_t i, int bits) {
  int64_t r = 0;
  for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
  return r;
}

template <typename T>
T* Align64(T* p) {
  return reinterpret_cast<T*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
}

// (cos, -sin)(2 pi u / 4q) from a quarter-wave table of q + 1 entries.
inline ComplexFloat32 Lookup(const float* s, int64_t q, int64_t u) {
  if (u <= q) return {s[q - u], -s[u]};
  if (u <= 2 * q) return {-s[u - q], -s[2 * q - u]};
  if (u <= 3 * q) return {-s[3 * q - u], s[u - 2 * q]};
  return {s[u - 3 * q], s[4 * q - u]};
}

// a and b hold the same bits (so -0.0 differs from +0.0).
inline ::testing::AssertionResult Same(ComplexFloat32 a, ComplexFloat32 b) { return lv_test::SameBits(&a, &b, 1); }

// The pairs-format list of an order from its definition.
inline std::vector<int32_t> ReferencePairsList(int order) {
  const int64_t b = (int64_t{1} << order) / 4;
  std::vector<int32_t> pairs, self;
  for (int64_t i = 1; i < b; ++i) {
    const int64_t r = Reverse(i, order - 2);
    if (i < r) {
      pairs.push_back(static_cast<int32_t>(4 * i));
      pairs.push_back(static_cast<int32_t>(4 * r));
    } else if (i == r) {
      self.insert(self.begin(), static_cast<int32_t>(4 * i));
    }
  }
  std::vector<int32_t> list(pairs);
  list.push_back(0);
  list.insert(list.end(), self.begin(), self.end());
  list.push_back(0);
  return list;
}

struct Spec {
  std::vector<uint8_t> memory, init;
  FftSpecComplexFloat32* header = nullptr;
  const float* sine = nullptr;
  uint8_t* base() { return reinterpret_cast<uint8_t*>(header); }
};

inline void BuildSpec(int order, Spec* s) {
  int32_t specBytes, initBytes, workBytes;
  ASSERT_EQ(FftGetSizeComplexFloat32Sse2(order, 2, 2, &specBytes, &initBytes, &workBytes), 0);
  s->memory.assign(specBytes, 0xEE);
  s->init.assign(initBytes, 0xEE);
  ASSERT_EQ(FftInitComplexFloat32Sse2(&s->header, order, 2, 2, s->memory.data(), initBytes ? s->init.data() : nullptr),
            0);
  s->sine = order > 10 ? reinterpret_cast<const float*>(Align64(s->init.data())) : kFftQuarterSineOrder10;
}

// Checks triples of order n at p against the sine table of order a.
inline void CheckTriples(const uint8_t* p, int n, const float* sine, int a) {
  const float* t = reinterpret_cast<const float*>(p);
  const int64_t q = (int64_t{1} << a) / 4;
  for (int64_t j = 0; j <= (int64_t{1} << n) / 4; ++j) {
    for (int k = 1; k <= 3; ++k) {
      const ComplexFloat32 want = Lookup(sine, q, (k * j) << (a - n));
      ASSERT_TRUE(Same({t[6 * j + 2 * (k - 1)], t[6 * j + 2 * k - 1]}, want))
          << "triples of order " << n << " group " << j << " power " << k;
    }
  }
}

inline int64_t TripleBytes(int n) { return ((24 * ((int64_t{1} << n) / 4 + 1)) + 63) / 64 * 64; }

// Checks one level of order L at p; returns the address behind it.
inline const uint8_t* CheckLevel(Spec& s, int order, int a, int depth, const uint8_t* p) {
  const int n = kFftOrderSplitSse2[order];
  const int c = order - n;
  const int64_t rows = int64_t{1} << n;
  const int64_t cols = int64_t{1} << c;
  const int64_t q4 = (int64_t{1} << a) / 4;
  const uint8_t* q;
  if (c <= 10) {
    EXPECT_EQ(s.header->twiddles, p) << "leaf triples of order " << c;
    CheckTriples(p, c, s.sine, a);
    q = p + TripleBytes(c);
  } else if (kFftOrderSplitSse2[c] != 0) {
    q = CheckLevel(s, c, a, depth + 1, p);
  } else {
    EXPECT_EQ(s.header->twiddles, p);
    CheckTriples(p, 10, s.sine, a);
    const uint8_t* comb = p + TripleBytes(10);
    EXPECT_EQ(s.header->combineTable, comb);
    const ComplexFloat32* w = reinterpret_cast<const ComplexFloat32*>(comb);
    for (int64_t k = 0; k < cols / 4; ++k) EXPECT_TRUE(Same(w[k], Lookup(s.sine, q4, k << (a - c)))) << k;
    q = comb + 2 * cols;
  }
  EXPECT_EQ(s.header->outerTables[depth], q) << "outer table of depth " << depth;
  CheckTriples(q, n, s.sine, a);
  const uint8_t* col = q + TripleBytes(n);
  EXPECT_EQ(s.header->columnTables[depth], col) << "column table of depth " << depth;
  const ComplexFloat32* w = reinterpret_cast<const ComplexFloat32*>(col);
  for (int64_t g = 0; g < cols / 4; ++g) {
    for (int64_t r = 0; r < rows; ++r) {
      for (int64_t j = 0; j < 4; ++j) {
        const int64_t m = (4 * g + j) * Reverse(r, n);
        if (auto same = Same(*w, Lookup(s.sine, q4, m << (a - order))); !same) {
          ADD_FAILURE() << "column table of order " << order << " group " << g << " row " << r << " column " << j
                        << ": " << same.message();
          return col;
        }
        ++w;
      }
    }
  }
  return col + 8 * (int64_t{1} << order);
}

// Every table of the plan at its place in the chain, every value a look-up.
inline void CheckPlan(int order) {
  Spec s;
  BuildSpec(order, &s);
  ASSERT_NE(s.header, nullptr);
  uint8_t* base = s.base();
  EXPECT_EQ(s.header->swapList, base + 144);
  const std::vector<int32_t> list = ReferencePairsList(order);
  ASSERT_TRUE(lv_test::SameBits(static_cast<const int32_t*>(s.header->swapList), list.data(), list.size())) << order;
  const uint8_t* p = Align64(base + 144 + 4 * list.size());
  EXPECT_EQ(s.header->reserved72, nullptr);
  if (kFftOrderSplitSse2[order] == 0) {
    EXPECT_EQ(s.header->twiddles, p);
    CheckTriples(p, 10, s.sine, order);
    const uint8_t* comb = p + TripleBytes(10);
    EXPECT_EQ(s.header->combineTable, comb);
    const ComplexFloat32* w = reinterpret_cast<const ComplexFloat32*>(comb);
    const int64_t m = int64_t{1} << order;
    for (int64_t k = 0; k < m / 4; ++k) EXPECT_TRUE(Same(w[k], Lookup(s.sine, m / 4, k))) << k;
    for (int d = 0; d < 3; ++d) {
      EXPECT_EQ(s.header->outerTables[d], nullptr);
      EXPECT_EQ(s.header->columnTables[d], nullptr);
    }
    EXPECT_EQ(s.header->workBytes, 0);
    return;
  }
  const bool deep = order >= 23;
  // Only the rows of orders 21 and 22 are combine-pass leaves.
  if (order != 21 && order != 22) {
    EXPECT_EQ(s.header->combineTable, nullptr);
  }
  CheckLevel(s, order, order, 0, p);
  EXPECT_EQ(s.header->outerTables[2], nullptr);
  EXPECT_EQ(s.header->columnTables[2], nullptr);
  if (!deep) {
    EXPECT_EQ(s.header->outerTables[1], nullptr);
    EXPECT_EQ(s.header->columnTables[1], nullptr);
  }
}

}  // namespace fft_table_check
