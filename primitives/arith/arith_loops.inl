// The element loops of the scalar and element-wise arithmetic, defined in the
// class namespace of the per-class file that includes them: element
// operations, second operands, and the three pieces every road is made of
// (singles, groups of vector operations, masked chunks). They do not depend on
// the class; the roads that combine them do (arith_body.inl), and the
// magnitude's absolute value uses them too.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "cpu/per_class.h"
#include "primitives/simd_ops.inl"

namespace LV_NS {
namespace {

enum class Op { kAdd, kMul };

// The complex product x * c (or src1 * src2) of a class:
//   kRounded:     re = fl(xr*cr) - fl(xi*ci),     im = fl(xi*cr) + fl(xr*ci)
//   kFusedXiCr:   re = fma(xr, cr, -fl(xi*ci)),   im = fma(xi, cr, fl(xr*ci))
//   kFusedXrCi:   re = fma(xr, cr, -fl(xi*ci)),   im = fma(xr, ci, fl(xi*cr))
enum class CForm { kRounded, kFusedXiCr, kFusedXrCi };

// Flags of a vector stretch.
enum : int {
  kStoreAligned = 1,
  kLoadAligned = 2,   // the first source
  kLoad2Aligned = 4,  // the second source (when it is a vector)
  kStream = 8,        // non-temporal stores, a store fence after the stretch
  kHalves = 16,       // sources loaded in halves
};

// Elements to the next multiple of `bytes` (0 on a boundary); the address
// must be a multiple of the element size.
inline ptrdiff_t HeadOf(const void* p, uintptr_t bytes, uintptr_t elem) {
  const uintptr_t r = reinterpret_cast<uintptr_t>(p) % bytes;
  return r ? static_cast<ptrdiff_t>((bytes - r) / elem) : 0;
}
inline bool Multiple(const void* p, uintptr_t bytes) { return reinterpret_cast<uintptr_t>(p) % bytes == 0; }

// ---- element operations -------------------------------------------------

template <class T, Op O>
struct RealE {
  using S = T;
  static constexpr int kF = 1;  // scalars per element
  template <class V>
  static typename V::V Vec(typename V::V a, typename V::V b) {
    if constexpr (O == Op::kAdd) {
      return V::Add(a, b);
    } else {
      return V::Mul(a, b);
    }
  }
  // Singles go through byte copies: the address need not be a multiple of
  // the element size.
  static void Single(T* d, const T* a, const T* b) {
    T x, y, r;
    __builtin_memcpy(&x, a, sizeof(T));
    __builtin_memcpy(&y, b, sizeof(T));
    if constexpr (O == Op::kAdd) {
      r = x + y;
    } else {
      r = x * y;
    }
    __builtin_memcpy(d, &r, sizeof(T));
  }
};

template <CForm F>
struct CplxE {
  using S = float;
  static constexpr int kF = 2;
  template <class V>
  static typename V::V Vec(typename V::V a, typename V::V b) {
    if constexpr (F == CForm::kRounded) {
      const auto t1 = V::Mul(a, V::DupRe(b));
      const auto t2 = V::Mul(V::Swap(a), V::DupIm(b));
      return V::AddSub(t1, t2);
    } else if constexpr (F == CForm::kFusedXiCr) {
      const auto t2 = V::Mul(V::Swap(a), V::DupIm(b));  // (xi*ci, xr*ci)
      return V::FmaddSub(a, V::DupRe(b), t2);
    } else {
      const auto t = V::Mul(V::DupIm(a), V::Swap(b));  // (xi*ci, xi*cr)
      return V::FmaddSub(V::DupRe(a), b, t);
    }
  }
  static void Single(float* d, const float* a, const float* b) {
    float x[2], c[2];
    __builtin_memcpy(x, a, 8);
    __builtin_memcpy(c, b, 8);
    const float xr = x[0], xi = x[1], cr = c[0], ci = c[1];
    float re, im;
    if constexpr (F == CForm::kRounded) {
      re = xr * cr - xi * ci;
      im = xi * cr + xr * ci;
    } else if constexpr (F == CForm::kFusedXiCr) {
      re = __builtin_fmaf(xr, cr, -(xi * ci));
      im = __builtin_fmaf(xi, cr, xr * ci);
    } else {
      re = __builtin_fmaf(xr, cr, -(xi * ci));
      im = __builtin_fmaf(xr, ci, xi * cr);
    }
    const float r[2] = {re, im};
    __builtin_memcpy(d, r, 8);
  }
};

// ---- second operands ----------------------------------------------------

// A scalar (kF = 1) or complex scalar (kF = 2) broadcast to every element.
template <class T, int kF>
struct BConst {
  T v[2];
  const T* At(ptrdiff_t) const { return v; }
  template <class V, int Fl>
  typename V::V Get(ptrdiff_t) const {
    if constexpr (kF == 1) {
      return V::B(v[0]);
    } else {
      return V::Pair(v[0], v[1]);
    }
  }
  template <class V>
  typename V::V GetMasked(ptrdiff_t, int) const {
    return Get<V, 0>(0);
  }
};

// A second source vector.
template <class T>
struct BPtr {
  const T* p;
  const T* At(ptrdiff_t o) const { return p + o; }
  template <class V, int Fl>
  typename V::V Get(ptrdiff_t o) const {
    if constexpr ((Fl & kHalves) != 0) {
      return V::LH(p + o);
    } else if constexpr ((Fl & kLoad2Aligned) != 0) {
      return V::LA(p + o);
    } else {
      return V::L(p + o);
    }
  }
  template <class V>
  typename V::V GetMasked(ptrdiff_t o, int m) const {
    return V::ML(p + o, m);
  }
};

// ---- road pieces (positions and counts in elements) ----------------------

template <class E, class B>
inline void Singles(typename E::S* d, const typename E::S* a, const B& b, ptrdiff_t i, ptrdiff_t end) {
  for (; i < end; ++i) {
    E::Single(d + i * E::kF, a + i * E::kF, b.At(i * E::kF));
  }
}

// `count` elements (a multiple of the group) in groups of U vector operations;
// PF > 0: a non-temporal prefetch PF bytes ahead of the first source per group.
template <class E, class V, int U, int Fl, int PF = 0, class B>
inline void Groups(typename E::S* d, const typename E::S* a, const B& b, ptrdiff_t i, ptrdiff_t count) {
  using S = typename E::S;
  constexpr ptrdiff_t kStep = V::W * U;
  S* dp = d + i * E::kF;
  const S* ap = a + i * E::kF;
  const ptrdiff_t bo = i * E::kF;
  const ptrdiff_t end = count * E::kF;
  for (ptrdiff_t k = 0; k < end; k += kStep) {
    if constexpr (PF > 0) {
      _mm_prefetch(reinterpret_cast<const char*>(ap + k) + PF, _MM_HINT_NTA);
    }
    typename V::V r[U];
#pragma GCC unroll 4
    for (int u = 0; u < U; ++u) {
      typename V::V x;
      if constexpr ((Fl & kHalves) != 0) {
        x = V::LH(ap + k + u * V::W);
      } else if constexpr ((Fl & kLoadAligned) != 0) {
        x = V::LA(ap + k + u * V::W);
      } else {
        x = V::L(ap + k + u * V::W);
      }
      r[u] = E::template Vec<V>(x, b.template Get<V, Fl>(bo + k + u * V::W));
    }
#pragma GCC unroll 4
    for (int u = 0; u < U; ++u) {
      if constexpr ((Fl & kStream) != 0) {
        V::SN(dp + k + u * V::W, r[u]);
      } else if constexpr ((Fl & kHalves) != 0 && V::W == 2) {
        V::SH(dp + k + u * V::W, r[u]);
      } else if constexpr ((Fl & kStoreAligned) != 0) {
        V::SA(dp + k + u * V::W, r[u]);
      } else {
        V::S(dp + k + u * V::W, r[u]);
      }
    }
  }
  if constexpr ((Fl & kStream) != 0) {
    _mm_sfence();
  }
}

// `count` elements in masked chunks of up to V::W scalars.
template <class E, class V, class B>
inline void Masked(typename E::S* d, const typename E::S* a, const B& b, ptrdiff_t i, ptrdiff_t count) {
  ptrdiff_t o = i * E::kF;
  const ptrdiff_t end = (i + count) * E::kF;
  while (o < end) {
    const int m = static_cast<int>(end - o < V::W ? end - o : V::W);
    const auto x = V::ML(a + o, m);
    V::MS(d + o, m, E::template Vec<V>(x, b.template GetMasked<V>(o, m)));
    o += m;
  }
}

}  // namespace
}  // namespace LV_NS
