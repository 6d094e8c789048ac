// CopyBytesKernel of class 1: 64-byte rounds (LDDQU for an unaligned source),
// streaming above half the per-core share of the largest cache. Included
// inside the class's anonymous namespace.

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

void CopyBytes(const uint8_t* s, uint8_t* d, int64_t n) { CopyBytesKernel(s, d, n); }
