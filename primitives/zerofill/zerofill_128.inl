// The zero-fill kernels of the 128-bit classes (0-3) and the class's
// ZeroFillBytes, which runs the kernel its entry in kZeroFillClasses
// (zerofill_body.inl) names. Each kernel is a template constrained to its
// ZeroFill value, so a class instantiates only its own.
#include <immintrin.h>

#include <cstdint>

#include "cpu/cache_size.h"
#include "cpu/per_class.h"
#include "primitives/kernel_moves.inl"
#include "primitives/roads.h"

namespace LV_NS {
namespace {

// ---- 16-byte stores around a short head and tail; classes 1-3 store
// non-temporally above the size of the largest cache, class 0 always through
// the cache.

// 1 to 15 bytes: two overlapping stores of the largest fitting size.
[[gnu::always_inline]] inline void ZeroShort(uint8_t* p, int64_t r) {
  if (r >= 8) {
    Zero8(p);
    Zero8(p + r - 8);
  } else if (r >= 4) {
    Zero4(p);
    Zero4(p + r - 4);
  } else {
    for (int64_t i = 0; i < r; ++i) {
      Zero1(p + i);
    }
  }
}

// Fewer than 64 bytes from an aligned pointer: up to three aligned 16-byte stores, then the short path.
[[gnu::always_inline]] inline void ZeroBelow64(uint8_t* p, int64_t n, __m128i z) {
  while (n >= 16) {
    _mm_store_si128(reinterpret_cast<__m128i*>(p), z);
    p += 16;
    n -= 16;
  }
  ZeroShort(p, n);
}

template <ZeroFill K>
  requires(K == ZeroFill::kPlain16 || K == ZeroFill::kStream16)
void ZeroFillKernel(uint8_t* p, int64_t n) {
  if (n < 16) {
    ZeroShort(p, n);
    return;
  }
  const uint64_t misalign = Addr(p) & 15;
  if (misalign != 0) {
    const uint64_t k = 16 - misalign;
    if (k & 1) { Zero1(p); p += 1; }
    if (k & 2) { Zero2(p); p += 2; }
    if (k & 4) { Zero4(p); p += 4; }
    if (k & 8) { Zero8(p); p += 8; }
    n -= static_cast<int64_t>(k);
  }
  const __m128i z = _mm_setzero_si128();
  if (n < 64) {
    ZeroBelow64(p, n, z);
    return;
  }
  if (K == ZeroFill::kStream16 && n > 0x80000) {
    const int64_t cache = LargeCacheSizeLookup(false);
    if (cache != -1 && n >= cache) {
      // Larger than the cache: bypass it, so the fill does not evict what the caller works on.
      LV_COUNT_ROAD(kRoadZeroFillStream);
      while (n >= 16) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(p), z);
        p += 16;
        n -= 16;
      }
      _mm_sfence();
      ZeroShort(p, n);
      return;
    }
    LV_COUNT_ROAD(kRoadZeroFillCachedLarge);
  }
  while (n >= 64) {
    _mm_store_si128(reinterpret_cast<__m128i*>(p), z);
    _mm_store_si128(reinterpret_cast<__m128i*>(p + 16), z);
    _mm_store_si128(reinterpret_cast<__m128i*>(p + 32), z);
    _mm_store_si128(reinterpret_cast<__m128i*>(p + 48), z);
    p += 64;
    n -= 64;
  }
  ZeroBelow64(p, n, z);
}

// The class's fill of `bytes` bytes, by the kernel its row of the class
// table names; the 128-bit classes have no large road and ignore the threshold.
void ZeroFillBytes(uint8_t* p, int64_t bytes, int64_t /*threshold*/) {
  ZeroFillKernel<kZeroFillClasses[kClass]>(p, bytes);
}

}  // namespace
}  // namespace LV_NS
