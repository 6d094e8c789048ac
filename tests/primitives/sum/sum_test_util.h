// Order-sensitive data and the model comparison shared by the sum tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "primitives/arith/data_util.h"
#include "cpu/dispatch.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_model.h"
#include "support/guarded_buffer.h"

namespace lv_test {

// Wide-exponent values, half of them cancelled by their negations elsewhere in
// the vector: the exact total is small, so the rounding errors of the double
// (or single-precision block) accumulation show in the float result, and any
// change of the addition order changes the bits.
inline std::vector<float> OrderSensitive(uint32_t seed, size_t n) {
  lv_test::WideRandom rnd(seed);
  std::vector<float> v(n);
  for (auto& x : v) x = rnd.Float(60);
  std::mt19937 rng(seed);
  std::vector<size_t> idx(n);
  for (size_t i = 0; i < n; ++i) idx[i] = i;
  std::shuffle(idx.begin(), idx.end(), rng);
  for (size_t k = 0; k + 1 < n / 2; k += 2) v[idx[k + 1]] = -v[idx[k]];
  for (size_t k = n / 2; k < n; ++k) v[idx[k]] = rnd.Float(10);
  return v;
}

inline float ModelFloat(int cls, const float* p, uintptr_t addr, size_t n, int32_t hint) {
  const lv_test::SumModel m{p, addr};
  return static_cast<float>(hint == HintFast ? m.FloatFast(cls, n) : m.FloatDouble(cls, n));
}
inline ComplexFloat32 ModelComplex(int cls, const float* p, uintptr_t addr, size_t n, int32_t hint) {
  const lv_test::SumModel m{p, addr};
  double re, im;
  if (hint == HintFast) {
    m.ComplexFast(cls, n, re, im);
  } else {
    m.ComplexDouble(cls, n, re, im);
  }
  return {static_cast<float>(re), static_cast<float>(im)};
}

// One float and one complex sum at a byte offset, against the model.
inline void CheckAt(int cls, const std::vector<float>& data, size_t n, size_t off, int32_t hint) {
  CanaryBuffer buf(n * 4, off);
  std::memcpy(buf.region(), data.data(), n * 4);
  const auto* src = reinterpret_cast<const float*>(buf.region());
  float sum = -1.0f;
  ASSERT_EQ(VectorSumFloat32(src, static_cast<int32_t>(n), &sum, hint), StatusOk);
  const float want = ModelFloat(cls, data.data(), reinterpret_cast<uintptr_t>(src), n, hint);
  ASSERT_TRUE(SameValue(sum, want)) << "float sum n=" << n << " off=" << off << " hint=" << hint << " got " << sum
                                    << " want " << want;
  if (n % 2 == 0) {
    ComplexFloat32 cs{-1.0f, -1.0f};
    const auto* csrc = reinterpret_cast<const ComplexFloat32*>(src);
    ASSERT_EQ(VectorSumComplexFloat32(csrc, static_cast<int32_t>(n / 2), &cs, hint), StatusOk);
    const ComplexFloat32 cw = ModelComplex(cls, data.data(), reinterpret_cast<uintptr_t>(src), n / 2, hint);
    ASSERT_TRUE(SameValue(cs.re, cw.re) && SameValue(cs.im, cw.im))
        << "complex sum n=" << n / 2 << " off=" << off << " hint=" << hint << " got (" << cs.re << "," << cs.im
        << ") want (" << cw.re << "," << cw.im << ")";
  }
  ASSERT_TRUE(buf.CanariesIntact());
}


}  // namespace lv_test
