// Scalar models of each processor class's magnitude and power: the roots,
// sums and group decisions in the order of the class's rule. The reciprocal-
// square-root estimate comes from the same instruction the kernels use, so the
// models reproduce the kernels bit for bit on this processor.
#pragma once

#include <immintrin.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "primitives/arith/arith_model.h"

namespace lv_test {

inline float PlainSumModel(CF e) {
  const float a = e.re * e.re, b = e.im * e.im;
  return a + b;
}
inline float FusedSumModel(CF e) { return std::fma(e.re, e.re, e.im * e.im); }
inline float EstimateModel(float s) { return _mm_cvtss_f32(_mm_rsqrt_ss(_mm_set_ss(s))); }
inline float ExactRootModel(float s) { return std::sqrt(s); }
inline float FastRootModel(float s) {
  const float a = EstimateModel(s);
  const float t = s * a, u = a * t, v = t * -0.5f, w = u - 3.0f;
  return w * v;
}
inline float RefinedRootModel(float s, float& t) {
  const float y = EstimateModel(s);
  const float e = s * y;
  const float r = std::fma(-e, y, 1.0f);
  const float c = std::fma(0.375f, r, 0.5f);
  t = y * r;
  const float y2 = std::fma(t, c, y);
  return s * y2;
}
inline bool ExponentFieldZero(float s) {
  uint32_t b;
  std::memcpy(&b, &s, 4);
  return (b & 0x7F800000u) == 0;
}

// Classes 5-7: roots of up to 15 values with 1.0 in the unused lanes of 16.
inline void SqrtTailModel(float* v, size_t m) {
  float lanes[16], roots[16];
  bool anyNaN = false;
  for (size_t k = 0; k < 16; ++k) {
    lanes[k] = k < m ? v[k] : 1.0f;
    float t;
    roots[k] = RefinedRootModel(lanes[k], t);
    anyNaN = anyNaN || std::isnan(t);
  }
  for (size_t k = 0; k < m; ++k) v[k] = anyNaN ? ExactRootModel(lanes[k]) : roots[k];
}

// The magnitude of class cls for a destination at address dstAddr.
inline std::vector<float> MagnitudeModel(int cls, uintptr_t dstAddr, const std::vector<CF>& x) {
  const size_t n = x.size();
  std::vector<float> out(n);
  const float inf = INFINITY;
  if (cls == 0) {
    for (size_t i = 0; i < n; ++i) out[i] = ExactRootModel(PlainSumModel(x[i]));
    return out;
  }
  if (cls <= 4) {
    const float tiny = 0x1p-126f;
    size_t i = 0;
    for (; i < n && ((dstAddr + 4 * i) & 12) != 0; ++i) {
      const float s = PlainSumModel(x[i]);
      out[i] = (s >= tiny && s < inf) ? FastRootModel(s) : ExactRootModel(s);
    }
    while (i < n) {
      const size_t g = n - i >= 8 ? 8 : n - i;  // a tail decides over its own elements
      bool fast = true;
      for (size_t k = 0; k < g; ++k) {
        const float s = PlainSumModel(x[i + k]);
        fast = fast && s > tiny && s < inf;
      }
      for (size_t k = 0; k < g; ++k) {
        const float s = PlainSumModel(x[i + k]);
        out[i + k] = fast ? FastRootModel(s) : ExactRootModel(s);
      }
      i += g;
    }
    return out;
  }
  const float lowest = [] {
    const uint32_t b = 0x00D9C7DDu;
    float f;
    std::memcpy(&f, &b, 4);
    return f;
  }();
  auto flushedF = [&](size_t i) {
    const float s = FusedSumModel(x[i]);
    return ExponentFieldZero(s) ? 0.0f : s;
  };
  size_t i = 0;
  const size_t q = (dstAddr % 32) / 4;
  if (q != 0) {
    const size_t h = n < 8 - q ? n : 8 - q;
    for (size_t k = 0; k < h; ++k) out[k] = flushedF(k);
    SqrtTailModel(out.data(), h);
    i = h;
  }
  if (i < n && (dstAddr + 4 * i) % 32 != 0) {
    for (; i < n; ++i) out[i] = ExactRootModel(FusedSumModel(x[i]));
    return out;
  }
  for (; n - i >= 16; i += 16) {
    bool refined = true;
    for (size_t k = 0; k < 16; ++k) {
      const float s = PlainSumModel(x[i + k]);
      refined = refined && s >= lowest && s < inf;
    }
    for (size_t k = 0; k < 16; ++k) {
      const float s = PlainSumModel(x[i + k]);
      float t;
      out[i + k] = refined ? RefinedRootModel(s, t) : ExactRootModel(s);
    }
  }
  const size_t m = n - i;
  for (size_t k = 0; k < m; ++k) out[i + k] = flushedF(i + k);
  SqrtTailModel(out.data() + i, m);
  return out;
}

// The power of class cls: P everywhere in classes 0-4; in classes 5-7 F for
// the head to a 32-byte boundary and for a destination that is not a multiple of 4.
inline std::vector<float> PowerModel(int cls, uintptr_t dstAddr, const std::vector<CF>& x) {
  const size_t n = x.size();
  std::vector<float> out(n);
  size_t fusedUntil = 0;
  if (cls >= 5) {
    const size_t q = (dstAddr % 32) / 4;
    const size_t h = q == 0 ? 0 : (n < 8 - q ? n : 8 - q);
    fusedUntil = (dstAddr + 4 * h) % 32 != 0 ? n : h;
  }
  for (size_t i = 0; i < n; ++i) out[i] = i < fusedUntil ? FusedSumModel(x[i]) : PlainSumModel(x[i]);
  return out;
}

}  // namespace lv_test
