// The scalar and element-wise arithmetic, written once and built once per
// processor class (arith_sse2.cpp ... arith_avx512.cpp). Each class takes its
// own roads, chosen with `if constexpr (kClass ...)`: heads to its boundary,
// its group sizes, its masked chunks and its large-vector handling; the
// complex products use the class's own formula.
//
// Real results are one IEEE operation per element, so the roads change speed
// only. Complex results depend on the class's formula, never on the road.
// The roads are templates over the element operation, so the branches of
// wider classes (their vector types exist only there) are never instantiated
// in narrower ones.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "cpu/dispatch.h"
#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/arith/arith_classes.h"
#include "primitives/arith/arith_loops.inl"
#include "primitives/copy/copy_classes.h"
#include "primitives/simd_ops.inl"
#include "primitives/vector_types.h"
#include "primitives/zerofill/zerofill_classes.h"

namespace LV_NS {
namespace {

// The class's own zero fill and copy, which the special scalars' roads use.
inline int32_t ZeroFill4(void* p, int32_t n) { return LV_NAME(VectorZeroFillInt32)(p, n); }
inline int32_t ZeroFill8(void* p, int32_t n) { return LV_NAME(VectorZeroFillComplexFloat32)(p, n); }
// A copy onto itself changes nothing: src equal to dst skips it.
inline int32_t Copy4(const void* s, void* d, int32_t n) {
  return s == d ? StatusOk : LV_NAME(VectorCopyFloat32)(s, d, n);
}

// ---- roads ---------------------------------------------------------------

// Classes 6 and 7, 32-bit floats: no head up to `bound` elements; above it a
// masked head to 64 bytes, groups of 32, masked tail; misaligned: all masked.
template <class E, int bound, int LoadFl, class B>
inline void RoadFloatWide(float* d, const float* a, const B& b, ptrdiff_t n) {
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

// 32-bit floats, in place (d == a). PF: prefetch distance of classes 1-3.
template <class E, int PF, class B>
inline void RoadFloatInPlace(float* d, const B& b, ptrdiff_t n) {
  const float* a = d;
  const bool ea = Multiple(d, 4);
  if constexpr (kClass == 0) {
    const ptrdiff_t h = ea ? HeadOf(d, 16, 4) : 0;
    if (n >= 8 && ea && n >= h + 8) {
      const ptrdiff_t g = (n - h) / 8 * 8;
      Singles<E>(d, a, b, 0, h);
      Groups<E, X4f, 2, kStoreAligned | kLoadAligned>(d, a, b, h, g);
      Singles<E>(d, a, b, h + g, n);
    } else {
      Singles<E>(d, a, b, 0, n);
    }
  } else if constexpr (kClass <= 3) {
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
  } else if constexpr (kClass <= 5) {
    const ptrdiff_t h = ea ? HeadOf(d, 32, 4) : 0;
    if (n >= 16 && ea && n >= h + 16) {
      const ptrdiff_t g = (n - h) / 16 * 16;
      const ptrdiff_t g4 = (n - h - g) / 4 * 4;
      Singles<E>(d, a, b, 0, h);
      Groups<E, Y8f, 2, kStoreAligned | kLoadAligned>(d, a, b, h, g);
      Groups<E, X4f, 1, kStoreAligned | kLoadAligned>(d, a, b, h + g, g4);
      Singles<E>(d, a, b, h + g + g4, n);
    } else if constexpr (kClass == 4) {
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

// Classes 0, 4 and 5 (float to destination): head singles to `boundary`
// bytes, groups of 8 (class 0) or 16 (classes 4, 5), then groups of 4 and
// singles (classes 4, 5) or singles (class 0).
template <class E, class B>
inline void RoadFloatToDstCommon(float* d, const float* a, const B& b, ptrdiff_t n, uintptr_t boundary) {
  const bool ea = Multiple(d, 4);
  const ptrdiff_t h = ea ? HeadOf(d, boundary, 4) : 0;
  if constexpr (kClass == 0) {
    if (n >= 8 && ea && n >= h + 8) {
      const ptrdiff_t g = (n - h) / 8 * 8;
      Singles<E>(d, a, b, 0, h);
      Groups<E, X4f, 2, kStoreAligned>(d, a, b, h, g);
      Singles<E>(d, a, b, h + g, n);
    } else {
      Singles<E>(d, a, b, 0, n);
    }
  } else if constexpr (kClass == 4 || kClass == 5) {
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

// 32-bit floats, source to destination. Stream: the multiply's streaming
// stores of classes 1-3.
template <class E, bool Stream, class B>
inline void RoadFloatToDst(float* d, const float* a, const B& b, ptrdiff_t n) {
  const bool ea = Multiple(d, 4);
  if constexpr (kClass == 0 || kClass == 4) {
    RoadFloatToDstCommon<E>(d, a, b, n, kClass == 0 ? 16 : 32);
  } else if constexpr (kClass <= 3) {
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
  } else if constexpr (kClass == 5) {
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

// 64-bit floats in place.
template <class E, class B>
inline void RoadDoubleInPlace(double* d, const B& b, ptrdiff_t n) {
  const double* a = d;
  const bool ea = Multiple(d, 8);
  if constexpr (kClass == 0) {
    const ptrdiff_t h = ea ? HeadOf(d, 16, 8) : 0;
    if (n >= 8 && ea && n >= h + 8) {
      const ptrdiff_t g = (n - h) / 8 * 8;
      Singles<E>(d, a, b, 0, h);
      Groups<E, X2d, 4, kStoreAligned | kLoadAligned>(d, a, b, h, g);
      Singles<E>(d, a, b, h + g, n);
    } else {
      Singles<E>(d, a, b, 0, n);
    }
  } else if constexpr (kClass <= 3) {
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
  } else if constexpr (kClass <= 5) {
    const ptrdiff_t h = ea ? HeadOf(d, 32, 8) : 0;
    if (n >= 16 && ea && n >= h + 16) {
      const ptrdiff_t g = (n - h) / 16 * 16;
      const ptrdiff_t g4 = (n - h - g) / 4 * 4;
      Singles<E>(d, a, b, 0, h);
      Groups<E, Y4d, 4, kStoreAligned | kLoadAligned>(d, a, b, h, g);
      Groups<E, Y4d, 1, kStoreAligned | kLoadAligned>(d, a, b, h + g, g4);
      Singles<E>(d, a, b, h + g + g4, n);
    } else if constexpr (kClass == 4) {
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
    constexpr int U = kClass == 6 ? 2 : 4;
    const ptrdiff_t g = (n - h) / (8 * U) * (8 * U);
    Groups<E, Z8d, U, kStoreAligned | kLoadAligned>(d, a, b, h, g);
    Masked<E, Z8d>(d, a, b, h + g, n - h - g);
  }
}

// Classes 0, 4, 5: when n >= 8, d element-aligned and n >= head + 8: head
// singles to `boundary`, groups of 8 (four pairs, or two 4-element
// operations), then (Pairs) pairs and a last single, or singles.
template <class E, int LA, class B>
inline void RoadComplexHeadGroups(float* d, const float* a, const B& b, ptrdiff_t n, uintptr_t boundary,
                                  bool pairs) {
  const bool ea = Multiple(d, 8);
  const ptrdiff_t h = ea ? HeadOf(d, boundary, 8) : 0;
  if (!(n >= 8 && ea && n >= h + 8)) {
    Singles<E>(d, a, b, 0, n);
    return;
  }
  const ptrdiff_t g = (n - h) / 8 * 8;
  Singles<E>(d, a, b, 0, h);
  if constexpr (kClass == 0) {
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
inline void RoadComplexWide(float* d, const float* a, const B& b, ptrdiff_t n) {
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

// Complex scalar product, in place (InPlace) or to a destination.
template <class E, bool InPlace, class B>
inline void RoadComplexScalar(float* d, const float* a, const B& b, ptrdiff_t n) {
  const bool ea = Multiple(d, 8);
  constexpr int LA = InPlace ? kLoadAligned : 0;
  if constexpr (kClass == 0) {
    RoadComplexHeadGroups<E, LA>(d, a, b, n, 16, true);
  } else if constexpr (kClass <= 3 && InPlace) {
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
  } else if constexpr (kClass <= 3) {
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
  } else if constexpr (kClass == 4) {
    RoadComplexHeadGroups<E, LA>(d, a, b, n, 32, true);
  } else if constexpr (kClass == 5 && InPlace) {
    RoadComplexHeadGroups<E, LA>(d, a, b, n, 32, false);
  } else if constexpr (kClass == 5) {
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

// Element-wise float addition (Stream: the addition's streaming stores of
// classes 1-3) and multiplication.
template <class E, bool Stream>
inline void RoadFloatElementwise(float* d, const float* a, const float* b2, ptrdiff_t n) {
  const BPtr<float> b{b2};
  const bool ea = Multiple(d, 4);
  if constexpr (kClass == 0 || kClass == 4) {
    const ptrdiff_t h = ea ? HeadOf(d, 16, 4) : 0;
    if (n >= 8 && ea && n >= h + 8) {
      const ptrdiff_t g = (n - h) / 8 * 8;
      Singles<E>(d, a, b, 0, h);
      Groups<E, X4f, 2, kStoreAligned>(d, a, b, h, g);
      Singles<E>(d, a, b, h + g, n);
    } else {
      Singles<E>(d, a, b, 0, n);
    }
  } else if constexpr (kClass <= 3) {
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
  } else if constexpr (kClass == 5) {
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
inline void RoadComplexElementwise(float* d, const float* a, const float* b2, ptrdiff_t n) {
  const BPtr<float> b{b2};
  const bool ea = Multiple(d, 8);
  if constexpr (kClass == 0) {
    RoadComplexHeadGroups<E, 0>(d, a, b, n, 16, true);
  } else if constexpr (kClass <= 3) {
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
      if (kClass == 1 && srcAligned && g / 4 > 10922) {
        Groups<E, X4f, 2, kStream | kLoadAligned | kLoad2Aligned>(d, a, b, h, g);
      } else if (srcAligned) {
        Groups<E, X4f, 2, kStoreAligned | kLoadAligned | kLoad2Aligned>(d, a, b, h, g);
      } else {
        Groups<E, X4f, 2, kStoreAligned>(d, a, b, h, g);
      }
      Singles<E>(d, a, b, h + g, n);
    }
  } else if constexpr (kClass == 4) {
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
  } else if constexpr (kClass == 5) {
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

inline int32_t MultiplyScalarInPlaceFloat32(float c, float* p, int32_t n) {
  if (p == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (c == 1.0f) return StatusOk;
  if (c == 0.0f) return ZeroFill4(p, n);
  RoadFloatInPlace<RealE<float, Op::kMul>, 64>(p, BConst<float, 1>{{c, 0.0f}}, n);
  return StatusOk;
}
inline int32_t AddScalarInPlaceFloat32(float c, float* p, int32_t n) {
  if (p == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (c == 0.0f) return StatusOk;
  RoadFloatInPlace<RealE<float, Op::kAdd>, 32>(p, BConst<float, 1>{{c, 0.0f}}, n);
  return StatusOk;
}
inline int32_t MultiplyScalarInPlaceFloat64(double c, double* p, int32_t n) {
  if (p == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (c == 1.0) return StatusOk;
  if (c == 0.0) return ZeroFill8(p, n);
  RoadDoubleInPlace<RealE<double, Op::kMul>>(p, BConst<double, 1>{{c, 0.0}}, n);
  return StatusOk;
}
inline int32_t AddScalarInPlaceFloat64(double c, double* p, int32_t n) {
  if (p == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (c == 0.0) return StatusOk;
  RoadDoubleInPlace<RealE<double, Op::kAdd>>(p, BConst<double, 1>{{c, 0.0}}, n);
  return StatusOk;
}
inline int32_t MultiplyScalarFloat32(const float* s, float c, float* d, int32_t n) {
  if (s == nullptr || d == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (c == 1.0f) return Copy4(s, d, n);
  if (c == 0.0f) return ZeroFill4(d, n);
  RoadFloatToDst<RealE<float, Op::kMul>, true>(d, s, BConst<float, 1>{{c, 0.0f}}, n);
  return StatusOk;
}
inline int32_t AddScalarFloat32(const float* s, float c, float* d, int32_t n) {
  if (s == nullptr || d == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (c == 0.0f) return Copy4(s, d, n);
  RoadFloatToDst<RealE<float, Op::kAdd>, false>(d, s, BConst<float, 1>{{c, 0.0f}}, n);
  return StatusOk;
}

// The class table: each class's complex product formula, with a complex
// scalar and element by element.
struct ArithClass {
  CForm scalar;
  CForm elementwise;
};
constexpr ArithClass kArithClasses[kProcessorClassCount] = {
    {CForm::kRounded, CForm::kRounded},      // 0 Sse2
    {CForm::kRounded, CForm::kRounded},      // 1 Sse3
    {CForm::kRounded, CForm::kRounded},      // 2 Ssse3
    {CForm::kRounded, CForm::kRounded},      // 3 Sse42
    {CForm::kRounded, CForm::kRounded},      // 4 Avx
    {CForm::kFusedXiCr, CForm::kFusedXiCr},  // 5 Avx2
    {CForm::kFusedXrCi, CForm::kFusedXiCr},  // 6 Avx512ManyCore
    {CForm::kFusedXrCi, CForm::kFusedXiCr},  // 7 Avx512
};
constexpr CForm kScalarForm = kArithClasses[kClass].scalar;
constexpr CForm kElementwiseForm = kArithClasses[kClass].elementwise;

inline BConst<float, 2> ComplexScalar(uint64_t c) {
  BConst<float, 2> b;
  const uint32_t lo = static_cast<uint32_t>(c), hi = static_cast<uint32_t>(c >> 32);
  std::memcpy(&b.v[0], &lo, 4);
  std::memcpy(&b.v[1], &hi, 4);
  return b;
}
inline int32_t MultiplyScalarInPlaceComplexFloat32(uint64_t c, float* p, int32_t n) {
  if (p == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  RoadComplexScalar<CplxE<kScalarForm>, true>(p, p, ComplexScalar(c), n);
  return StatusOk;
}
inline int32_t MultiplyScalarComplexFloat32(const float* s, uint64_t c, float* d, int32_t n) {
  if (s == nullptr || d == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  RoadComplexScalar<CplxE<kScalarForm>, false>(d, s, ComplexScalar(c), n);
  return StatusOk;
}

inline int32_t AddFloat32(const float* s1, const float* s2, float* d, int32_t n) {
  if (s1 == nullptr || s2 == nullptr || d == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  RoadFloatElementwise<RealE<float, Op::kAdd>, true>(d, s1, s2, n);
  return StatusOk;
}
inline int32_t MultiplyFloat32(const float* s1, const float* s2, float* d, int32_t n) {
  if (s1 == nullptr || s2 == nullptr || d == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  RoadFloatElementwise<RealE<float, Op::kMul>, false>(d, s1, s2, n);
  return StatusOk;
}
inline int32_t MultiplyComplexFloat32(const float* s1, const float* s2, float* d, int32_t n) {
  if (s1 == nullptr || s2 == nullptr || d == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  RoadComplexElementwise<CplxE<kElementwiseForm>>(d, s1, s2, n);
  return StatusOk;
}

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(VectorMultiplyScalarInPlaceFloat32)(float value, float* srcDst, int32_t n) {
  return LV_NS::MultiplyScalarInPlaceFloat32(value, srcDst, n);
}
int32_t LV_NAME(VectorAddScalarInPlaceFloat32)(float value, float* srcDst, int32_t n) {
  return LV_NS::AddScalarInPlaceFloat32(value, srcDst, n);
}
int32_t LV_NAME(VectorMultiplyScalarInPlaceFloat64)(double value, double* srcDst, int32_t n) {
  return LV_NS::MultiplyScalarInPlaceFloat64(value, srcDst, n);
}
int32_t LV_NAME(VectorAddScalarInPlaceFloat64)(double value, double* srcDst, int32_t n) {
  return LV_NS::AddScalarInPlaceFloat64(value, srcDst, n);
}
int32_t LV_NAME(VectorMultiplyScalarFloat32)(const float* src, float value, float* dst, int32_t n) {
  return LV_NS::MultiplyScalarFloat32(src, value, dst, n);
}
int32_t LV_NAME(VectorAddScalarFloat32)(const float* src, float value, float* dst, int32_t n) {
  return LV_NS::AddScalarFloat32(src, value, dst, n);
}
int32_t LV_NAME(VectorMultiplyScalarInPlaceComplexFloat32)(uint64_t value, ComplexFloat32* srcDst, int32_t n) {
  return LV_NS::MultiplyScalarInPlaceComplexFloat32(value, reinterpret_cast<float*>(srcDst), n);
}
int32_t LV_NAME(VectorMultiplyScalarComplexFloat32)(const ComplexFloat32* src, uint64_t value, ComplexFloat32* dst,
                                                    int32_t n) {
  return LV_NS::MultiplyScalarComplexFloat32(reinterpret_cast<const float*>(src), value,
                                             reinterpret_cast<float*>(dst), n);
}
int32_t LV_NAME(VectorAddFloat32)(const float* src1, const float* src2, float* dst, int32_t n) {
  return LV_NS::AddFloat32(src1, src2, dst, n);
}
int32_t LV_NAME(VectorMultiplyFloat32)(const float* src1, const float* src2, float* dst, int32_t n) {
  return LV_NS::MultiplyFloat32(src1, src2, dst, n);
}
int32_t LV_NAME(VectorMultiplyComplexFloat32)(const ComplexFloat32* src1, const ComplexFloat32* src2,
                                              ComplexFloat32* dst, int32_t n) {
  return LV_NS::MultiplyComplexFloat32(reinterpret_cast<const float*>(src1),
                                       reinterpret_cast<const float*>(src2), reinterpret_cast<float*>(dst), n);
}
