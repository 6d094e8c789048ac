// CopyBytesKernelSsse3 of class 2: 128-byte rounds of 16-byte units (an
// unaligned source is read as two 8-byte halves), streaming above half the
// largest cache. Included inside the class's anonymous namespace.

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

void CopyBytesKernelSsse3(const uint8_t* s, uint8_t* d, int64_t n) {
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

void CopyBytes(const uint8_t* s, uint8_t* d, int64_t n) { CopyBytesKernelSsse3(s, d, n); }
