// Kernel bodies of the scalar and element-wise arithmetic, written once and
// instantiated inside each processor class's namespace (Arith<K> with a K
// local to the class file). Each class takes its own roads: heads to its
// boundary, its group sizes, its masked chunks and its large-vector handling;
// the complex products use the class's own formula.
//
// Real results are one IEEE operation per element, so the roads change speed
// only. Complex results depend on the class's formula, never on the road.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "primitives/arith/simd_ops.h"
#include "primitives/copy/copy_classes.h"
#include "cpu/dispatch.h"
#include "primitives/vector_types.h"
#include "primitives/zerofill/zerofill_classes.h"

namespace lv_arith {

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

template <class K>
struct Arith {
  static constexpr int C = K::kClass;
  using X4f = lv_simd::X4f<K>;
  using X2d = lv_simd::X2d<K>;
  using Y8f = lv_simd::Y8f<K>;
  using Y4d = lv_simd::Y4d<K>;
  using Z16f = lv_simd::Z16f<K>;
  using Z8d = lv_simd::Z8d<K>;

  // Elements to the next multiple of `bytes` (0 on a boundary); the address
  // must be a multiple of the element size.
  static ptrdiff_t HeadOf(const void* p, uintptr_t bytes, uintptr_t elem) {
    const uintptr_t r = reinterpret_cast<uintptr_t>(p) % bytes;
    return r ? static_cast<ptrdiff_t>((bytes - r) / elem) : 0;
  }
  static bool Multiple(const void* p, uintptr_t bytes) { return reinterpret_cast<uintptr_t>(p) % bytes == 0; }

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
  static void Singles(typename E::S* d, const typename E::S* a, const B& b, ptrdiff_t i, ptrdiff_t end) {
    for (; i < end; ++i) {
      E::Single(d + i * E::kF, a + i * E::kF, b.At(i * E::kF));
    }
  }

  // `count` elements (a multiple of the group) in groups of U vector operations;
  // PF > 0: a non-temporal prefetch PF bytes ahead of the first source per group.
  template <class E, class V, int U, int Fl, int PF = 0, class B>
  static void Groups(typename E::S* d, const typename E::S* a, const B& b, ptrdiff_t i, ptrdiff_t count) {
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
  static void Masked(typename E::S* d, const typename E::S* a, const B& b, ptrdiff_t i, ptrdiff_t count) {
    ptrdiff_t o = i * E::kF;
    const ptrdiff_t end = (i + count) * E::kF;
    while (o < end) {
      const int m = static_cast<int>(end - o < V::W ? end - o : V::W);
      const auto x = V::ML(a + o, m);
      V::MS(d + o, m, E::template Vec<V>(x, b.template GetMasked<V>(o, m)));
      o += m;
    }
  }

  // ---- roads ---------------------------------------------------------------

  // 32-bit floats, in place (d == a). PF: prefetch distance of classes 1-3.
  template <class E, int PF, class B>
  static void RoadFloatInPlace(float* d, const B& b, ptrdiff_t n) {
    const float* a = d;
    const bool ea = Multiple(d, 4);
    if constexpr (C == 0) {
      const ptrdiff_t h = ea ? HeadOf(d, 16, 4) : 0;
      if (n >= 8 && ea && n >= h + 8) {
        const ptrdiff_t g = (n - h) / 8 * 8;
        Singles<E>(d, a, b, 0, h);
        Groups<E, X4f, 2, kStoreAligned | kLoadAligned>(d, a, b, h, g);
        Singles<E>(d, a, b, h + g, n);
      } else {
        Singles<E>(d, a, b, 0, n);
      }
    } else if constexpr (C <= 3) {
      if (n <= 10) {
        Singles<E>(d, a, b, 0, n);
      } else if (!ea) {
        const ptrdiff_t g = n / 8 * 8;
        if (g > 262144) {
          Groups<E, X4f, 2, 0, PF>(d, a, b, 0, g);
        } else {
          Groups<E, X4f, 2, 0>(d, a, b, 0, g);
        }
        Singles<E>(d, a, b, g, n);
      } else {
        const ptrdiff_t h = HeadOf(d, 16, 4);
        const ptrdiff_t g = (n - h) / 8 * 8;
        Singles<E>(d, a, b, 0, h);
        if (g > 262144) {
          Groups<E, X4f, 2, kStoreAligned | kLoadAligned, PF>(d, a, b, h, g);
        } else {
          Groups<E, X4f, 2, kStoreAligned | kLoadAligned>(d, a, b, h, g);
        }
        Singles<E>(d, a, b, h + g, n);
      }
    } else if constexpr (C <= 5) {
      const ptrdiff_t h = ea ? HeadOf(d, 32, 4) : 0;
      if (n >= 16 && ea && n >= h + 16) {
        const ptrdiff_t g = (n - h) / 16 * 16;
        const ptrdiff_t g4 = (n - h - g) / 4 * 4;
        Singles<E>(d, a, b, 0, h);
        Groups<E, Y8f, 2, kStoreAligned | kLoadAligned>(d, a, b, h, g);
        Groups<E, X4f, 1, kStoreAligned | kLoadAligned>(d, a, b, h + g, g4);
        Singles<E>(d, a, b, h + g + g4, n);
      } else if constexpr (C == 4) {
        Singles<E>(d, a, b, 0, n);
      } else {
        const ptrdiff_t g4 = n / 4 * 4;
        Groups<E, X4f, 1, 0>(d, a, b, 0, g4);
        Singles<E>(d, a, b, g4, n);
      }
    } else {
      RoadFloatWide<E, 96, kLoadAligned>(d, a, b, n);
    }
  }

  // Classes 6 and 7, 32-bit floats: no head up to `bound` elements; above it a
  // masked head to 64 bytes, groups of 32, masked tail; misaligned: all masked.
  template <class E, int bound, int LoadFl, class B>
  static void RoadFloatWide(float* d, const float* a, const B& b, ptrdiff_t n) {
    if (n <= bound) {
      const ptrdiff_t g = n / 32 * 32;
      Groups<E, Z16f, 2, 0>(d, a, b, 0, g);
      Masked<E, Z16f>(d, a, b, g, n - g);
    } else if (!Multiple(d, 4)) {
      Masked<E, Z16f>(d, a, b, 0, n);
    } else {
      const ptrdiff_t h = HeadOf(d, 64, 4);
      const ptrdiff_t g = (n - h) / 32 * 32;
      Masked<E, Z16f>(d, a, b, 0, h);
      Groups<E, Z16f, 2, kStoreAligned | LoadFl>(d, a, b, h, g);
      Masked<E, Z16f>(d, a, b, h + g, n - h - g);
    }
  }

  // 32-bit floats, source to destination. Stream: the multiply's streaming
  // stores of classes 1-3.
  template <class E, bool Stream, class B>
  static void RoadFloatToDst(float* d, const float* a, const B& b, ptrdiff_t n) {
    const bool ea = Multiple(d, 4);
    if constexpr (C == 0 || C == 4) {
      RoadFloatToDstCommon<E>(d, a, b, n, C == 0 ? 16 : 32);
    } else if constexpr (C <= 3) {
      if (n <= 10) {
        Singles<E>(d, a, b, 0, n);
      } else if (!ea) {
        const ptrdiff_t g = n / 8 * 8;
        Groups<E, X4f, 2, 0>(d, a, b, 0, g);
        Singles<E>(d, a, b, g, n);
      } else {
        const ptrdiff_t h = HeadOf(d, 16, 4);
        const ptrdiff_t g = (n - h) / 8 * 8;
        Singles<E>(d, a, b, 0, h);
        if (Multiple(a + h, 16)) {
          if (Stream && g / 8 > 16384) {
            Groups<E, X4f, 2, kStream | kLoadAligned>(d, a, b, h, g);
          } else {
            Groups<E, X4f, 2, kStoreAligned | kLoadAligned>(d, a, b, h, g);
          }
        } else {
          Groups<E, X4f, 2, kStoreAligned>(d, a, b, h, g);
        }
        Singles<E>(d, a, b, h + g, n);
      }
    } else if constexpr (C == 5) {
      if (n <= 15) {
        const ptrdiff_t g4 = n / 4 * 4;
        Groups<E, X4f, 1, 0>(d, a, b, 0, g4);
        Singles<E>(d, a, b, g4, n);
      } else if (n <= 28) {
        const ptrdiff_t g = n / 16 * 16;
        const ptrdiff_t g4 = (n - g) / 4 * 4;
        Groups<E, Y8f, 2, 0>(d, a, b, 0, g);
        Groups<E, X4f, 1, 0>(d, a, b, g, g4);
        Singles<E>(d, a, b, g + g4, n);
      } else {
        const ptrdiff_t h = ea ? HeadOf(d, 32, 4) : 0;
        if (ea && n >= h + 16) {
          RoadFloatToDstCommon<E>(d, a, b, n, 32);
        } else {
          const ptrdiff_t g4 = n / 4 * 4;
          Groups<E, X4f, 1, 0>(d, a, b, 0, g4);
          Singles<E>(d, a, b, g4, n);
        }
      }
    } else {
      RoadFloatWide<E, 216, 0>(d, a, b, n);
    }
  }

  // Classes 0, 4 and 5 (float to destination): head singles to `boundary`
  // bytes, groups of 8 (class 0) or 16 (classes 4, 5), then groups of 4 and
  // singles (classes 4, 5) or singles (class 0).
  template <class E, class B>
  static void RoadFloatToDstCommon(float* d, const float* a, const B& b, ptrdiff_t n, uintptr_t boundary) {
    const bool ea = Multiple(d, 4);
    const ptrdiff_t h = ea ? HeadOf(d, boundary, 4) : 0;
    if constexpr (C == 0) {
      if (n >= 8 && ea && n >= h + 8) {
        const ptrdiff_t g = (n - h) / 8 * 8;
        Singles<E>(d, a, b, 0, h);
        Groups<E, X4f, 2, kStoreAligned>(d, a, b, h, g);
        Singles<E>(d, a, b, h + g, n);
      } else {
        Singles<E>(d, a, b, 0, n);
      }
    } else if constexpr (C == 4 || C == 5) {
      if (n >= 16 && ea && n >= h + 16) {
        const ptrdiff_t g = (n - h) / 16 * 16;
        const ptrdiff_t g4 = (n - h - g) / 4 * 4;
        Singles<E>(d, a, b, 0, h);
        Groups<E, Y8f, 2, kStoreAligned>(d, a, b, h, g);
        Groups<E, X4f, 1, kStoreAligned>(d, a, b, h + g, g4);
        Singles<E>(d, a, b, h + g + g4, n);
      } else {
        Singles<E>(d, a, b, 0, n);
      }
    }
  }

  // 64-bit floats in place.
  template <class E, class B>
  static void RoadDoubleInPlace(double* d, const B& b, ptrdiff_t n) {
    const double* a = d;
    const bool ea = Multiple(d, 8);
    if constexpr (C == 0) {
      const ptrdiff_t h = ea ? HeadOf(d, 16, 8) : 0;
      if (n >= 8 && ea && n >= h + 8) {
        const ptrdiff_t g = (n - h) / 8 * 8;
        Singles<E>(d, a, b, 0, h);
        Groups<E, X2d, 4, kStoreAligned | kLoadAligned>(d, a, b, h, g);
        Singles<E>(d, a, b, h + g, n);
      } else {
        Singles<E>(d, a, b, 0, n);
      }
    } else if constexpr (C <= 3) {
      if (n <= 4) {
        Singles<E>(d, a, b, 0, n);
      } else if (!ea) {
        const ptrdiff_t g = n / 4 * 4;
        if (g > 131072) {
          Groups<E, X2d, 2, kHalves, 32>(d, a, b, 0, g);
        } else {
          Groups<E, X2d, 2, kHalves>(d, a, b, 0, g);
        }
        Singles<E>(d, a, b, g, n);
      } else {
        const ptrdiff_t h = HeadOf(d, 16, 8);
        const ptrdiff_t g = (n - h) / 4 * 4;
        Singles<E>(d, a, b, 0, h);
        if (g > 131072) {
          Groups<E, X2d, 2, kStoreAligned | kLoadAligned, 32>(d, a, b, h, g);
        } else {
          Groups<E, X2d, 2, kStoreAligned | kLoadAligned>(d, a, b, h, g);
        }
        Singles<E>(d, a, b, h + g, n);
      }
    } else if constexpr (C <= 5) {
      const ptrdiff_t h = ea ? HeadOf(d, 32, 8) : 0;
      if (n >= 16 && ea && n >= h + 16) {
        const ptrdiff_t g = (n - h) / 16 * 16;
        const ptrdiff_t g4 = (n - h - g) / 4 * 4;
        Singles<E>(d, a, b, 0, h);
        Groups<E, Y4d, 4, kStoreAligned | kLoadAligned>(d, a, b, h, g);
        Groups<E, Y4d, 1, kStoreAligned | kLoadAligned>(d, a, b, h + g, g4);
        Singles<E>(d, a, b, h + g + g4, n);
      } else if constexpr (C == 4) {
        Singles<E>(d, a, b, 0, n);
      } else {
        const ptrdiff_t g4 = n / 4 * 4;
        Groups<E, Y4d, 1, 0>(d, a, b, 0, g4);
        Singles<E>(d, a, b, g4, n);
      }
    } else {
      if (!ea) {
        Masked<E, Z8d>(d, a, b, 0, n);
        return;
      }
      ptrdiff_t h = HeadOf(d, 64, 8);
      h = h < n ? h : n;
      Masked<E, Z8d>(d, a, b, 0, h);
      if (h == n) {
        return;
      }
      constexpr int U = C == 6 ? 2 : 4;
      const ptrdiff_t g = (n - h) / (8 * U) * (8 * U);
      Groups<E, Z8d, U, kStoreAligned | kLoadAligned>(d, a, b, h, g);
      Masked<E, Z8d>(d, a, b, h + g, n - h - g);
    }
  }

  // Complex scalar product, in place (InPlace) or to a destination.
  template <class E, bool InPlace, class B>
  static void RoadComplexScalar(float* d, const float* a, const B& b, ptrdiff_t n) {
    const bool ea = Multiple(d, 8);
    constexpr int LA = InPlace ? kLoadAligned : 0;
    if constexpr (C == 0) {
      RoadComplexHeadGroups<E, LA>(d, a, b, n, 16, true);
    } else if constexpr (C <= 3 && InPlace) {
      if (n <= 2) {
        Singles<E>(d, a, b, 0, n);
      } else if (!ea) {
        const ptrdiff_t g = n / 2 * 2;
        Groups<E, X4f, 1, 0>(d, a, b, 0, g);
        Singles<E>(d, a, b, g, n);
      } else {
        const ptrdiff_t h = HeadOf(d, 16, 8);
        const ptrdiff_t g = (n - h) / 2 * 2;
        Singles<E>(d, a, b, 0, h);
        if (g / 2 > 65536) {
          Groups<E, X4f, 1, kStream | kLoadAligned>(d, a, b, h, g);
        } else {
          Groups<E, X4f, 1, kStoreAligned | kLoadAligned>(d, a, b, h, g);
        }
        Singles<E>(d, a, b, h + g, n);
      }
    } else if constexpr (C <= 3) {
      if (n <= 4) {
        Singles<E>(d, a, b, 0, n);
      } else if (!ea) {
        const ptrdiff_t g = n / 4 * 4;
        Groups<E, X4f, 2, 0>(d, a, b, 0, g);
        Singles<E>(d, a, b, g, n);
      } else {
        const ptrdiff_t h = HeadOf(d, 16, 8);
        const ptrdiff_t g = (n - h) / 4 * 4;
        Singles<E>(d, a, b, 0, h);
        if (Multiple(a + 2 * h, 16) && g / 4 > 16384) {
          Groups<E, X4f, 2, kStream | kLoadAligned>(d, a, b, h, g);
        } else {
          Groups<E, X4f, 2, kStoreAligned>(d, a, b, h, g);
        }
        Singles<E>(d, a, b, h + g, n);
      }
    } else if constexpr (C == 4) {
      RoadComplexHeadGroups<E, LA>(d, a, b, n, 32, true);
    } else if constexpr (C == 5 && InPlace) {
      RoadComplexHeadGroups<E, LA>(d, a, b, n, 32, false);
    } else if constexpr (C == 5) {
      if (n <= 7) {
        Singles<E>(d, a, b, 0, n);
      } else if (n <= 14) {
        const ptrdiff_t g = n / 8 * 8;
        Groups<E, Y8f, 2, 0>(d, a, b, 0, g);
        Singles<E>(d, a, b, g, n);
      } else {
        RoadComplexHeadGroups<E, 0>(d, a, b, n, 32, false);
      }
    } else {
      RoadComplexWide<E, -1, LA>(d, a, b, n);
    }
  }

  // Classes 0, 4, 5: when n >= 8, d element-aligned and n >= head + 8: head
  // singles to `boundary`, groups of 8 (four pairs, or two 4-element
  // operations), then (Pairs) pairs and a last single, or singles.
  template <class E, int LA, class B>
  static void RoadComplexHeadGroups(float* d, const float* a, const B& b, ptrdiff_t n, uintptr_t boundary,
                                    bool pairs) {
    const bool ea = Multiple(d, 8);
    const ptrdiff_t h = ea ? HeadOf(d, boundary, 8) : 0;
    if (!(n >= 8 && ea && n >= h + 8)) {
      Singles<E>(d, a, b, 0, n);
      return;
    }
    const ptrdiff_t g = (n - h) / 8 * 8;
    Singles<E>(d, a, b, 0, h);
    if constexpr (C == 0) {
      Groups<E, X4f, 4, kStoreAligned | LA>(d, a, b, h, g);
    } else {
      Groups<E, Y8f, 2, kStoreAligned | LA>(d, a, b, h, g);
    }
    ptrdiff_t i = h + g;
    if (pairs) {
      const ptrdiff_t p = (n - i) / 2 * 2;
      Groups<E, X4f, 1, kStoreAligned | LA>(d, a, b, i, p);
      i += p;
    }
    Singles<E>(d, a, b, i, n);
  }

  // Classes 6 and 7, complex: without a head up to `bound` elements (bound < 0:
  // never), masked chunks of 8 elements when misaligned, otherwise a masked
  // head to 64 bytes, groups of 16 and a masked tail.
  template <class E, int bound, int LA, class B>
  static void RoadComplexWide(float* d, const float* a, const B& b, ptrdiff_t n) {
    if (bound >= 0 && n <= bound) {
      const ptrdiff_t g = n / 16 * 16;
      Groups<E, Z16f, 2, 0>(d, a, b, 0, g);
      Masked<E, Z16f>(d, a, b, g, n - g);
      return;
    }
    if (!Multiple(d, 8)) {
      Masked<E, Z16f>(d, a, b, 0, n);
      return;
    }
    ptrdiff_t h = HeadOf(d, 64, 8);
    h = h < n ? h : n;
    Masked<E, Z16f>(d, a, b, 0, h);
    if (h == n) {
      return;
    }
    const ptrdiff_t g = (n - h) / 16 * 16;
    Groups<E, Z16f, 2, kStoreAligned | LA>(d, a, b, h, g);
    Masked<E, Z16f>(d, a, b, h + g, n - h - g);
  }

  // Element-wise float addition (Stream: the addition's streaming stores of
  // classes 1-3) and multiplication.
  template <class E, bool Stream>
  static void RoadFloatElementwise(float* d, const float* a, const float* b2, ptrdiff_t n) {
    const BPtr<float> b{b2};
    const bool ea = Multiple(d, 4);
    if constexpr (C == 0 || C == 4) {
      const ptrdiff_t h = ea ? HeadOf(d, 16, 4) : 0;
      if (n >= 8 && ea && n >= h + 8) {
        const ptrdiff_t g = (n - h) / 8 * 8;
        Singles<E>(d, a, b, 0, h);
        Groups<E, X4f, 2, kStoreAligned>(d, a, b, h, g);
        Singles<E>(d, a, b, h + g, n);
      } else {
        Singles<E>(d, a, b, 0, n);
      }
    } else if constexpr (C <= 3) {
      if (n <= 10) {
        Singles<E>(d, a, b, 0, n);
      } else if (!ea) {
        const ptrdiff_t g = n / 8 * 8;
        Groups<E, X4f, 2, 0>(d, a, b, 0, g);
        Singles<E>(d, a, b, g, n);
      } else {
        const ptrdiff_t h = HeadOf(d, 16, 4);
        const ptrdiff_t g = (n - h) / 8 * 8;
        Singles<E>(d, a, b, 0, h);
        const bool a16 = Multiple(a + h, 16), b16 = Multiple(b2 + h, 16);
        if (Stream && g / 8 > 10922) {
          Groups<E, X4f, 2, kStream>(d, a, b, h, g);
        } else if (a16 && b16) {
          Groups<E, X4f, 2, kStoreAligned | kLoadAligned | kLoad2Aligned>(d, a, b, h, g);
        } else {
          Groups<E, X4f, 2, kStoreAligned>(d, a, b, h, g);
        }
        Singles<E>(d, a, b, h + g, n);
      }
    } else if constexpr (C == 5) {
      const ptrdiff_t h = ea ? HeadOf(d, 32, 4) : 0;
      if (n >= 16 && n <= 28) {
        const ptrdiff_t g = n / 16 * 16;
        const ptrdiff_t g4 = (n - g) / 4 * 4;
        Groups<E, Y8f, 2, 0>(d, a, b, 0, g);
        Groups<E, X4f, 1, 0>(d, a, b, g, g4);
        Singles<E>(d, a, b, g + g4, n);
      } else if (n >= 29 && ea && n >= h + 16) {
        const ptrdiff_t g = (n - h) / 16 * 16;
        const ptrdiff_t g4 = (n - h - g) / 4 * 4;
        Singles<E>(d, a, b, 0, h);
        Groups<E, Y8f, 2, kStoreAligned>(d, a, b, h, g);
        Groups<E, X4f, 1, kStoreAligned>(d, a, b, h + g, g4);
        Singles<E>(d, a, b, h + g + g4, n);
      } else {
        const ptrdiff_t g4 = n / 4 * 4;
        Groups<E, X4f, 1, 0>(d, a, b, 0, g4);
        Singles<E>(d, a, b, g4, n);
      }
    } else {
      RoadFloatWide<E, 432, 0>(d, a, b, n);
    }
  }

  // Element-wise complex product.
  template <class E>
  static void RoadComplexElementwise(float* d, const float* a, const float* b2, ptrdiff_t n) {
    const BPtr<float> b{b2};
    const bool ea = Multiple(d, 8);
    if constexpr (C == 0) {
      RoadComplexHeadGroups<E, 0>(d, a, b, n, 16, true);
    } else if constexpr (C <= 3) {
      if (n <= 4) {
        Singles<E>(d, a, b, 0, n);
      } else if (!ea) {
        const ptrdiff_t g = n / 4 * 4;
        Groups<E, X4f, 2, 0>(d, a, b, 0, g);
        Singles<E>(d, a, b, g, n);
      } else {
        const ptrdiff_t h = HeadOf(d, 16, 8);
        const ptrdiff_t g = (n - h) / 4 * 4;
        Singles<E>(d, a, b, 0, h);
        const bool srcAligned = Multiple(a + 2 * h, 16) && Multiple(b2 + 2 * h, 16);
        if (C == 1 && srcAligned && g / 4 > 10922) {
          Groups<E, X4f, 2, kStream | kLoadAligned | kLoad2Aligned>(d, a, b, h, g);
        } else if (srcAligned) {
          Groups<E, X4f, 2, kStoreAligned | kLoadAligned | kLoad2Aligned>(d, a, b, h, g);
        } else {
          Groups<E, X4f, 2, kStoreAligned>(d, a, b, h, g);
        }
        Singles<E>(d, a, b, h + g, n);
      }
    } else if constexpr (C == 4) {
      const ptrdiff_t h = ea ? HeadOf(d, 32, 8) : 0;
      if (!(n >= 8 && ea && n >= h + 8)) {
        Singles<E>(d, a, b, 0, n);
        return;
      }
      const ptrdiff_t g = (n - h) / 8 * 8;
      Singles<E>(d, a, b, 0, h);
      Groups<E, Y8f, 2, kStoreAligned | kHalves>(d, a, b, h, g);
      const ptrdiff_t p = (n - h - g) / 2 * 2;
      Groups<E, X4f, 1, kStoreAligned>(d, a, b, h + g, p);
      Singles<E>(d, a, b, h + g + p, n);
    } else if constexpr (C == 5) {
      if (n <= 7) {
        Singles<E>(d, a, b, 0, n);
      } else if (n <= 14) {
        const ptrdiff_t g = n / 8 * 8;
        Groups<E, Y8f, 2, 0>(d, a, b, 0, g);
        Singles<E>(d, a, b, g, n);
      } else {
        RoadComplexHeadGroups<E, 0>(d, a, b, n, 32, false);
      }
    } else {
      RoadComplexWide<E, 376, 0>(d, a, b, n);
    }
  }

  // ---- the class implementations --------------------------------------------

  static int32_t MultiplyScalarInPlaceFloat32(float c, float* p, int32_t n) {
    if (p == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    if (c == 1.0f) return StatusOk;
    if (c == 0.0f) return K::ZeroFill4(p, n);
    RoadFloatInPlace<RealE<float, Op::kMul>, 64>(p, BConst<float, 1>{{c, 0.0f}}, n);
    return StatusOk;
  }
  static int32_t AddScalarInPlaceFloat32(float c, float* p, int32_t n) {
    if (p == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    if (c == 0.0f) return StatusOk;
    RoadFloatInPlace<RealE<float, Op::kAdd>, 32>(p, BConst<float, 1>{{c, 0.0f}}, n);
    return StatusOk;
  }
  static int32_t MultiplyScalarInPlaceFloat64(double c, double* p, int32_t n) {
    if (p == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    if (c == 1.0) return StatusOk;
    if (c == 0.0) return K::ZeroFill8(p, n);
    RoadDoubleInPlace<RealE<double, Op::kMul>>(p, BConst<double, 1>{{c, 0.0}}, n);
    return StatusOk;
  }
  static int32_t AddScalarInPlaceFloat64(double c, double* p, int32_t n) {
    if (p == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    if (c == 0.0) return StatusOk;
    RoadDoubleInPlace<RealE<double, Op::kAdd>>(p, BConst<double, 1>{{c, 0.0}}, n);
    return StatusOk;
  }
  static int32_t MultiplyScalarFloat32(const float* s, float c, float* d, int32_t n) {
    if (s == nullptr || d == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    if (c == 1.0f) return K::Copy4(s, d, n);
    if (c == 0.0f) return K::ZeroFill4(d, n);
    RoadFloatToDst<RealE<float, Op::kMul>, true>(d, s, BConst<float, 1>{{c, 0.0f}}, n);
    return StatusOk;
  }
  static int32_t AddScalarFloat32(const float* s, float c, float* d, int32_t n) {
    if (s == nullptr || d == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    if (c == 0.0f) return K::Copy4(s, d, n);
    RoadFloatToDst<RealE<float, Op::kAdd>, false>(d, s, BConst<float, 1>{{c, 0.0f}}, n);
    return StatusOk;
  }

  static constexpr CForm kScalarForm = C <= 4 ? CForm::kRounded : C == 5 ? CForm::kFusedXiCr : CForm::kFusedXrCi;
  static constexpr CForm kElementwiseForm = C <= 4 ? CForm::kRounded : CForm::kFusedXiCr;

  static BConst<float, 2> ComplexScalar(uint64_t c) {
    BConst<float, 2> b;
    const uint32_t lo = static_cast<uint32_t>(c), hi = static_cast<uint32_t>(c >> 32);
    std::memcpy(&b.v[0], &lo, 4);
    std::memcpy(&b.v[1], &hi, 4);
    return b;
  }
  static int32_t MultiplyScalarInPlaceComplexFloat32(uint64_t c, float* p, int32_t n) {
    if (p == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    RoadComplexScalar<CplxE<kScalarForm>, true>(p, p, ComplexScalar(c), n);
    return StatusOk;
  }
  static int32_t MultiplyScalarComplexFloat32(const float* s, uint64_t c, float* d, int32_t n) {
    if (s == nullptr || d == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    RoadComplexScalar<CplxE<kScalarForm>, false>(d, s, ComplexScalar(c), n);
    return StatusOk;
  }

  static int32_t AddFloat32(const float* s1, const float* s2, float* d, int32_t n) {
    if (s1 == nullptr || s2 == nullptr || d == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    RoadFloatElementwise<RealE<float, Op::kAdd>, true>(d, s1, s2, n);
    return StatusOk;
  }
  static int32_t MultiplyFloat32(const float* s1, const float* s2, float* d, int32_t n) {
    if (s1 == nullptr || s2 == nullptr || d == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    RoadFloatElementwise<RealE<float, Op::kMul>, false>(d, s1, s2, n);
    return StatusOk;
  }
  static int32_t MultiplyComplexFloat32(const float* s1, const float* s2, float* d, int32_t n) {
    if (s1 == nullptr || s2 == nullptr || d == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    RoadComplexElementwise<CplxE<kElementwiseForm>>(d, s1, s2, n);
    return StatusOk;
  }
};

}  // namespace lv_arith

// Defines the eleven class implementations of suffix Sfx in a per-class file,
// as plain functions calling the kernels instantiated in namespace Ns.
#define LV_ARITH_DEFINE_CLASS(Sfx, Ns)                                                                      \
  int32_t VectorMultiplyScalarInPlaceFloat32##Sfx(float value, float* srcDst, int32_t n) {                  \
    return Ns::A::MultiplyScalarInPlaceFloat32(value, srcDst, n);                                           \
  }                                                                                                         \
  int32_t VectorAddScalarInPlaceFloat32##Sfx(float value, float* srcDst, int32_t n) {                       \
    return Ns::A::AddScalarInPlaceFloat32(value, srcDst, n);                                                \
  }                                                                                                         \
  int32_t VectorMultiplyScalarInPlaceFloat64##Sfx(double value, double* srcDst, int32_t n) {                \
    return Ns::A::MultiplyScalarInPlaceFloat64(value, srcDst, n);                                           \
  }                                                                                                         \
  int32_t VectorAddScalarInPlaceFloat64##Sfx(double value, double* srcDst, int32_t n) {                     \
    return Ns::A::AddScalarInPlaceFloat64(value, srcDst, n);                                                \
  }                                                                                                         \
  int32_t VectorMultiplyScalarFloat32##Sfx(const float* src, float value, float* dst, int32_t n) {          \
    return Ns::A::MultiplyScalarFloat32(src, value, dst, n);                                                \
  }                                                                                                         \
  int32_t VectorAddScalarFloat32##Sfx(const float* src, float value, float* dst, int32_t n) {               \
    return Ns::A::AddScalarFloat32(src, value, dst, n);                                                     \
  }                                                                                                         \
  int32_t VectorMultiplyScalarInPlaceComplexFloat32##Sfx(uint64_t value, ComplexFloat32* srcDst, int32_t n) { \
    return Ns::A::MultiplyScalarInPlaceComplexFloat32(value, reinterpret_cast<float*>(srcDst), n);         \
  }                                                                                                         \
  int32_t VectorMultiplyScalarComplexFloat32##Sfx(const ComplexFloat32* src, uint64_t value, ComplexFloat32* dst, \
                                                  int32_t n) {                                              \
    return Ns::A::MultiplyScalarComplexFloat32(reinterpret_cast<const float*>(src), value,                \
                                               reinterpret_cast<float*>(dst), n);                           \
  }                                                                                                         \
  int32_t VectorAddFloat32##Sfx(const float* src1, const float* src2, float* dst, int32_t n) {              \
    return Ns::A::AddFloat32(src1, src2, dst, n);                                                           \
  }                                                                                                         \
  int32_t VectorMultiplyFloat32##Sfx(const float* src1, const float* src2, float* dst, int32_t n) {         \
    return Ns::A::MultiplyFloat32(src1, src2, dst, n);                                                      \
  }                                                                                                         \
  int32_t VectorMultiplyComplexFloat32##Sfx(const ComplexFloat32* src1, const ComplexFloat32* src2,         \
                                             ComplexFloat32* dst, int32_t n) {                              \
    return Ns::A::MultiplyComplexFloat32(reinterpret_cast<const float*>(src1),                             \
                                         reinterpret_cast<const float*>(src2), reinterpret_cast<float*>(dst), n); \
  }

// The class's kernel set, inside the class's anonymous namespace: K names the
// class and its own zero fill and copy, which the special scalars' roads use.
#define LV_ARITH_CLASS_KERNELS(k, Sfx)                                                      \
  struct K {                                                                                \
    static constexpr int kClass = k;                                                        \
    static int32_t ZeroFill4(void* p, int32_t n) { return VectorZeroFillInt32##Sfx(p, n); } \
    static int32_t ZeroFill8(void* p, int32_t n) {                                          \
      return VectorZeroFillComplexFloat32##Sfx(p, n);                                       \
    }                                                                                       \
    /* A copy onto itself changes nothing: src equal to dst skips it. */                    \
    static int32_t Copy4(const void* s, void* d, int32_t n) {                               \
      return s == d ? StatusOk : VectorCopyFloat32##Sfx(s, d, n);                           \
    }                                                                                       \
  };                                                                                        \
  using A = ::lv_arith::Arith<K>;
