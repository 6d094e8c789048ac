// The byte-copy kernels of the 128-bit classes (0-3), one per class, and the
// class's CopyBytes, which runs the kernel its row of kCopyClasses
// (copy_body.inl) names. Each kernel is a template constrained to its
// ByteCopy value, so a class instantiates only its own: the others may use
// instructions above the class.
#include <immintrin.h>

#include <cstdint>

#include "cpu/cache_size.h"
#include "cpu/per_class.h"
#include "primitives/kernel_moves.inl"
#include "primitives/roads.h"

namespace LV_NS {
namespace {

// ---- class 1: 64-byte rounds (LDDQU for an unaligned source), streaming
// above half the per-core share of the largest cache.

// Fewer than 64 bytes. Below 8: bytes from the last to the first. From 8: the
// last 8 bytes, 8-byte units downward from the destination's last 8-byte
// boundary, then the first 8 bytes if a part unit is left (overlapping).
void CopyShort(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 8) {
    for (int64_t i = n - 1; i >= 0; --i) {
      Move1(d + i, s + i);
    }
    return;
  }
  Move8(d + n - 8, s + n - 8);
  int64_t e = static_cast<int64_t>(((Addr(d) + static_cast<uint64_t>(n)) & ~uint64_t{7}) - Addr(d));
  while (e >= 8) {
    e -= 8;
    Move8(d + e, s + e);
  }
  if (e > 0) {
    Move8(d, s);
  }
}

template <ByteCopy K>
  requires(K == ByteCopy::kLddqu64)
void CopyBytesKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 64) {
    CopyShort(s, d, n);
    return;
  }
  const uint64_t misalign = Addr(d) & 15;
  if (misalign != 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_lddqu_si128(reinterpret_cast<const __m128i*>(s)));
    const int64_t adv = static_cast<int64_t>(16 - misalign);
    s += adv;
    d += adv;
    n -= adv;
    if (n < 64) {
      CopyShort(s, d, n);
      return;
    }
  }
  if (n >= 0x80000) {
    const int64_t share = LargeCacheSizeLookup(true);
    if (share != -1 && n >= share / 2) {
      LV_COUNT_ROAD(kRoadCopyStream);
      // Touch the next 256 KiB of the source (every 128th byte), then stream it out.
      while (n >= 0x40000) {
        for (int64_t i = 0; i < 0x40000; i += 128) {
          Touch(s + i);
        }
        for (int64_t i = 0; i < 0x40000; i += 16) {
          _mm_stream_si128(reinterpret_cast<__m128i*>(d + i), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
        }
        s += 0x40000;
        d += 0x40000;
        n -= 0x40000;
      }
      for (int64_t i = n - 1; i >= 0; i -= 128) {
        Touch(s + i);
      }
      while (n >= 16) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(d), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s)));
        s += 16;
        d += 16;
        n -= 16;
      }
      _mm_sfence();
      CopyShort(s, d, n);
      return;
    }
    LV_COUNT_ROAD(kRoadCopyCachedLarge);
  }
  if ((Addr(s) & 15) == 0) {
    while (n >= 64) {
      const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(s));
      const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(s + 16));
      const __m128i c = _mm_load_si128(reinterpret_cast<const __m128i*>(s + 32));
      const __m128i e = _mm_load_si128(reinterpret_cast<const __m128i*>(s + 48));
      _mm_store_si128(reinterpret_cast<__m128i*>(d), a);
      _mm_store_si128(reinterpret_cast<__m128i*>(d + 16), b);
      _mm_store_si128(reinterpret_cast<__m128i*>(d + 32), c);
      _mm_store_si128(reinterpret_cast<__m128i*>(d + 48), e);
      s += 64;
      d += 64;
      n -= 64;
    }
    while (n >= 16) {
      _mm_store_si128(reinterpret_cast<__m128i*>(d), _mm_load_si128(reinterpret_cast<const __m128i*>(s)));
      s += 16;
      d += 16;
      n -= 16;
    }
  } else {
    while (n >= 64) {
      const __m128i a = _mm_lddqu_si128(reinterpret_cast<const __m128i*>(s));
      const __m128i b = _mm_lddqu_si128(reinterpret_cast<const __m128i*>(s + 16));
      const __m128i c = _mm_lddqu_si128(reinterpret_cast<const __m128i*>(s + 32));
      const __m128i e = _mm_lddqu_si128(reinterpret_cast<const __m128i*>(s + 48));
      _mm_store_si128(reinterpret_cast<__m128i*>(d), a);
      _mm_store_si128(reinterpret_cast<__m128i*>(d + 16), b);
      _mm_store_si128(reinterpret_cast<__m128i*>(d + 32), c);
      _mm_store_si128(reinterpret_cast<__m128i*>(d + 48), e);
      s += 64;
      d += 64;
      n -= 64;
    }
  }
  CopyShort(s, d, n);
}

// ---- class 2: 128-byte rounds of 16-byte units (an unaligned source is read
// as two 8-byte halves), streaming above half the largest cache.

// Fewer than 16 bytes: 8 and 4 bytes by the bits of the count, then the last
// 1 to 3 bytes singly from the end backward.
void CopyTail(const uint8_t* s, uint8_t* d, int64_t n) {
  int64_t i = 0;
  if (n & 8) { Move8(d, s); i = 8; }
  if (n & 4) { Move4(d + i, s + i); }
  for (int64_t k = n - 1; k >= (n & ~int64_t{3}); --k) {
    Move1(d + k, s + k);
  }
}

[[gnu::always_inline]] inline __m128i LoadHalves(const uint8_t* s) {
  const __m128i lo = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s));
  const __m128i hi = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + 8));
  return _mm_unpacklo_epi64(lo, hi);
}

// Fewer than 128 bytes from an aligned destination: 64, 32 and 16 bytes by the
// bits of the count (halves loads, aligned stores), then the tail.
void CopyBelow128(const uint8_t* s, uint8_t* d, int64_t n) {
  for (int64_t unit = 64; unit >= 16; unit >>= 1) {
    if (n & unit) {
      #pragma GCC unroll 8
      for (int64_t i = 0; i < unit; i += 16) {
        _mm_store_si128(reinterpret_cast<__m128i*>(d + i), LoadHalves(s + i));
      }
      s += unit;
      d += unit;
    }
  }
  CopyTail(s, d, n & 15);
}

template <ByteCopy K>
  requires(K == ByteCopy::kHalves128)
void CopyBytesKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 16) {
    CopyTail(s, d, n);
    return;
  }
  if (Addr(d) & 1) { Move1(d, s); s += 1; d += 1; n -= 1; }
  if (Addr(d) & 2) { Move2(d, s); s += 2; d += 2; n -= 2; }
  if (Addr(d) & 4) { Move4(d, s); s += 4; d += 4; n -= 4; }
  if (Addr(d) & 8) { Move8(d, s); s += 8; d += 8; n -= 8; }
  if (n < 128) {
    CopyBelow128(s, d, n);
    return;
  }
  if (n > 0x20000) {
    const int64_t cache = LargeCacheSizeLookup(false);
    if (cache != -1 && n > cache / 2) {
      LV_COUNT_ROAD(kRoadCopyStream);
      while (n >= 16) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(d), LoadHalves(s));
        s += 16;
        d += 16;
        n -= 16;
      }
      _mm_sfence();
      CopyTail(s, d, n);
      return;
    }
    LV_COUNT_ROAD(kRoadCopyCachedLarge);
  }
  if ((Addr(s) & 15) == 0) {
    while (n >= 128) {
      #pragma GCC unroll 8
      for (int i = 0; i < 128; i += 16) {
        _mm_store_si128(reinterpret_cast<__m128i*>(d + i), _mm_load_si128(reinterpret_cast<const __m128i*>(s + i)));
      }
      s += 128;
      d += 128;
      n -= 128;
    }
  } else {
    while (n >= 128) {
      #pragma GCC unroll 8
      for (int i = 0; i < 128; i += 16) {
        _mm_store_si128(reinterpret_cast<__m128i*>(d + i), LoadHalves(s + i));
      }
      s += 128;
      d += 128;
      n -= 128;
    }
  }
  CopyBelow128(s, d, n);
}

// ---- class 3: aligned rounds forward or backward by the page offsets of
// source and destination, byte-align shifts (PALIGNR) for a source 4, 8 or 12
// bytes off a boundary, streaming above half the largest cache.

// Fewer than 64 bytes: 32 (four 8-byte moves), 16 (two), 8 and 4 bytes by the
// bits of the count, then the last 1 to 3 bytes singly from the end backward.
void CopyBelow64(const uint8_t* s, uint8_t* d, int64_t n) {
  int64_t i = 0;
  if (n & 32) {
    Move8(d, s);
    Move8(d + 8, s + 8);
    Move8(d + 16, s + 16);
    Move8(d + 24, s + 24);
    i = 32;
  }
  if (n & 16) {
    Move8(d + i, s + i);
    Move8(d + i + 8, s + i + 8);
    i += 16;
  }
  if (n & 8) { Move8(d + i, s + i); i += 8; }
  if (n & 4) { Move4(d + i, s + i); i += 4; }
  for (int64_t k = n - 1; k >= i; --k) {
    Move1(d + k, s + k);
  }
}

[[gnu::always_inline]] inline __m128i LoadA(const uint8_t* p) { return _mm_load_si128(reinterpret_cast<const __m128i*>(p)); }
[[gnu::always_inline]] inline __m128i LoadU(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
[[gnu::always_inline]] inline void StoreA(uint8_t* p, __m128i v) { _mm_store_si128(reinterpret_cast<__m128i*>(p), v); }

// 64-byte rounds of unaligned loads and aligned stores, then the rest below 64.
void CopyUnalignedRounds(const uint8_t* s, uint8_t* d, int64_t n) {
  while (n >= 64) {
    const __m128i a = LoadU(s), b = LoadU(s + 16), c = LoadU(s + 32), e = LoadU(s + 48);
    StoreA(d, a);
    StoreA(d + 16, b);
    StoreA(d + 32, c);
    StoreA(d + 48, e);
    s += 64;
    d += 64;
    n -= 64;
  }
  CopyBelow64(s, d, n);
}

// Source and destination both 16-byte aligned: from the end down.
void CopyAlignedBackward(const uint8_t* s, uint8_t* d, int64_t n) {
  const uint8_t* se = s + n;
  uint8_t* de = d + n;
  if (n & 1) { se -= 1; de -= 1; Move1(de, se); }
  if (n & 2) { se -= 2; de -= 2; Move2(de, se); }
  if (n & 4) { se -= 4; de -= 4; Move4(de, se); }
  if (n & 8) { se -= 8; de -= 8; Move8(de, se); }
  if (n & 16) { se -= 16; de -= 16; StoreA(de, LoadA(se)); }
  if (n & 32) {
    se -= 32;
    de -= 32;
    const __m128i a = LoadA(se), b = LoadA(se + 16);
    StoreA(de, a);
    StoreA(de + 16, b);
  }
  while (de > d) {
    se -= 64;
    de -= 64;
    const __m128i a = LoadA(se), b = LoadA(se + 16), c = LoadA(se + 32), e = LoadA(se + 48);
    StoreA(de, a);
    StoreA(de + 16, b);
    StoreA(de + 32, c);
    StoreA(de + 48, e);
  }
}

// Source and destination both 16-byte aligned: forward.
void CopyAlignedForward(const uint8_t* s, uint8_t* d, int64_t n) {
  while (n >= 64) {
    const __m128i a = LoadA(s), b = LoadA(s + 16), c = LoadA(s + 32), e = LoadA(s + 48);
    StoreA(d, a);
    StoreA(d + 16, b);
    StoreA(d + 32, c);
    StoreA(d + 48, e);
    s += 64;
    d += 64;
    n -= 64;
  }
  if (n & 32) {
    const __m128i a = LoadA(s), b = LoadA(s + 16);
    StoreA(d, a);
    StoreA(d + 16, b);
    s += 32;
    d += 32;
  }
  if (n & 16) { StoreA(d, LoadA(s)); s += 16; d += 16; }
  if (n & 8) { Move8(d, s); s += 8; d += 8; }
  if (n & 4) { Move4(d, s); s += 4; d += 4; }
  if (n & 2) { Move2(d, s); s += 2; d += 2; }
  if (n & 1) { Move1(d, s); }
}

// The source sits Shift bytes past a 16-byte boundary (4, 8 or 12), the
// destination on one: load aligned source blocks and join neighbours with a
// byte-align shift. 16 bytes stay in reserve, so no load passes the source's end.
template <int Shift>
void CopyAlignShift(const uint8_t* s, uint8_t* d, int64_t n) {
  // One unaligned unit first: from here on every aligned block lies inside the source.
  StoreA(d, LoadU(s));
  s += 16;
  d += 16;
  n -= 16;
  const uint8_t* block = s - Shift;
  __m128i cur = LoadA(block);
  while (n >= 64 + 16) {
    const __m128i b1 = LoadA(block + 16), b2 = LoadA(block + 32), b3 = LoadA(block + 48), b4 = LoadA(block + 64);
    StoreA(d, _mm_alignr_epi8(b1, cur, Shift));
    StoreA(d + 16, _mm_alignr_epi8(b2, b1, Shift));
    StoreA(d + 32, _mm_alignr_epi8(b3, b2, Shift));
    StoreA(d + 48, _mm_alignr_epi8(b4, b3, Shift));
    cur = b4;
    block += 64;
    s += 64;
    d += 64;
    n -= 64;
  }
  if (n >= 64) {
    CopyUnalignedRounds(s, d, n);
  } else {
    CopyBelow64(s, d, n);
  }
}

template <ByteCopy K>
  requires(K == ByteCopy::kPageOrder)
void CopyBytesKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 64) {
    CopyBelow64(s, d, n);
    return;
  }
  const uint64_t misalign = Addr(d) & 15;
  if (misalign != 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), LoadU(s));
    const int64_t adv = static_cast<int64_t>(16 - misalign);
    s += adv;
    d += adv;
    n -= adv;
    if (n < 64) {
      CopyBelow64(s, d, n);
      return;
    }
  }
  if (n >= 0x100000) {
    const int64_t cache = LargeCacheSizeLookup(false);
    if (cache != -1 && n >= cache / 2) {
      LV_COUNT_ROAD(kRoadCopyStream);
      // Touch the next 256 KiB of the source (every 64th byte), then stream it out.
      while (n >= 0x40000) {
        for (int64_t i = 0; i < 0x40000; i += 64) {
          Touch(s + i);
        }
        for (int64_t i = 0; i < 0x40000; i += 16) {
          _mm_stream_si128(reinterpret_cast<__m128i*>(d + i), LoadU(s + i));
        }
        s += 0x40000;
        d += 0x40000;
        n -= 0x40000;
      }
      for (int64_t i = n - 1; i >= 0; i -= 64) {
        Touch(s + i);
      }
      while (n >= 16) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(d), LoadU(s));
        s += 16;
        d += 16;
        n -= 16;
      }
      _mm_sfence();
      CopyBelow64(s, d, n);
      return;
    }
    LV_COUNT_ROAD(kRoadCopyCachedLarge);
  }
  const uint64_t srcOff = Addr(s) & 15;
  if (srcOff == 0) {
    // Page offsets: a destination a little above the source (within 160 bytes)
    // copies forward, one below it backward, so stores do not alias the loads
    // that follow them.
    const int64_t dist = static_cast<int64_t>(Addr(s) & 4095) - static_cast<int64_t>(Addr(d) & 4095);
    if (dist == 0 || dist > 160 || (dist >= -3936 && dist < 0)) {
      LV_COUNT_ROAD(kRoadCopyBackward);
      CopyAlignedBackward(s, d, n);
    } else {
      LV_COUNT_ROAD(kRoadCopyForward);
      CopyAlignedForward(s, d, n);
    }
    return;
  }
  if ((srcOff & 3) != 0) {
    CopyUnalignedRounds(s, d, n);
    return;
  }
  LV_COUNT_ROAD(kRoadCopyAlignShift);
  switch (srcOff) {
    case 4:
      CopyAlignShift<4>(s, d, n);
      break;
    case 8:
      CopyAlignShift<8>(s, d, n);
      break;
    default:
      CopyAlignShift<12>(s, d, n);
      break;
  }
}

// ---- class 0: a plain forward copy through the cache: below 64 bytes the
// short moves, otherwise one unaligned 16-byte unit up to the destination's
// boundary and then 64-byte rounds of unaligned loads and aligned stores.

template <ByteCopy K>
  requires(K == ByteCopy::kPlain16)
void CopyBytesKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 64) {
    CopyBelow64(s, d, n);
    return;
  }
  const uint64_t misalign = Addr(d) & 15;
  if (misalign != 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), LoadU(s));
    const int64_t adv = static_cast<int64_t>(16 - misalign);
    s += adv;
    d += adv;
    n -= adv;
  }
  CopyUnalignedRounds(s, d, n);
}

// The class's byte copy: the kernel its row of the class table names.
void CopyBytes(const uint8_t* s, uint8_t* d, int64_t n) { CopyBytesKernel<kCopyClasses[kClass].kernel>(s, d, n); }

}  // namespace
}  // namespace LV_NS
