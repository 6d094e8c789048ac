// The copy kernels of classes 4 to 7: CopyBytesKernelAvx (32-byte units, below
// 32 KiB) and CopyStringKernel (the repeated string move). Classes 5-7 add
// copy_large_kernel.inl. Included inside each class's anonymous namespace.

[[gnu::always_inline]] inline __m256i LoadU32(const uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
[[gnu::always_inline]] inline __m256i LoadA32(const uint8_t* p) {
  return _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
}
[[gnu::always_inline]] inline void StoreU32(uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
[[gnu::always_inline]] inline void StoreA32(uint8_t* p, __m256i v) { _mm256_store_si256(reinterpret_cast<__m256i*>(p), v); }
[[gnu::always_inline]] inline __m128i LoadU16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
[[gnu::always_inline]] inline __m128i LoadA16(const uint8_t* p) { return _mm_load_si128(reinterpret_cast<const __m128i*>(p)); }
[[gnu::always_inline]] inline void StoreA16(uint8_t* p, __m128i v) { _mm_store_si128(reinterpret_cast<__m128i*>(p), v); }

// Fewer than 256 bytes: one unit per bit of the count, from the top, forward.
[[gnu::always_inline]] inline void CopyBelow256(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n & 128) {
    const __m256i a = LoadU32(s), b = LoadU32(s + 32), c = LoadU32(s + 64), e = LoadU32(s + 96);
    StoreU32(d, a);
    StoreU32(d + 32, b);
    StoreU32(d + 64, c);
    StoreU32(d + 96, e);
    s += 128;
    d += 128;
  }
  if (n & 64) {
    const __m256i a = LoadU32(s), b = LoadU32(s + 32);
    StoreU32(d, a);
    StoreU32(d + 32, b);
    s += 64;
    d += 64;
  }
  if (n & 32) { StoreU32(d, LoadU32(s)); s += 32; d += 32; }
  if (n & 16) { _mm_storeu_si128(reinterpret_cast<__m128i*>(d), LoadU16(s)); s += 16; d += 16; }
  if (n & 8) { Move8(d, s); s += 8; d += 8; }
  if (n & 4) { Move4(d, s); s += 4; d += 4; }
  if (n & 2) { Move2(d, s); s += 2; d += 2; }
  if (n & 1) { Move1(d, s); }
}

void CopyBytesKernelAvx(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n >= 256) {
    const uint64_t misalign = Addr(d) & 31;
    if (misalign != 0) {
      StoreU32(d, LoadU32(s));
      const int64_t adv = static_cast<int64_t>(32 - misalign);
      s += adv;
      d += adv;
      n -= adv;
    }
    if (n < 0x4000) {
      if ((Addr(s) & 31) == 0) {
        while (n >= 256) {
          #pragma GCC unroll 8
          for (int k = 0; k < 256; k += 32) {
            StoreA32(d + k, LoadA32(s + k));
          }
          s += 256;
          d += 256;
          n -= 256;
        }
      } else if ((Addr(s) & 15) == 0) {
        while (n >= 256) {
          #pragma GCC unroll 8
          for (int k = 0; k < 256; k += 32) {
            StoreA32(d + k, LoadU32(s + k));
          }
          s += 256;
          d += 256;
          n -= 256;
        }
      } else {
        while (n >= 64) {
          const __m128i a = LoadU16(s), b = LoadU16(s + 16), c = LoadU16(s + 32), e = LoadU16(s + 48);
          StoreA16(d, a);
          StoreA16(d + 16, b);
          StoreA16(d + 32, c);
          StoreA16(d + 48, e);
          s += 64;
          d += 64;
          n -= 64;
        }
      }
    } else {
      // 16 KiB and more: from the end down, in 64-byte rounds of 16-byte units.
      LV_COUNT_ROAD(kRoadCopyAvxBackward);
      if ((n & 63) != 0) {
        const __m256i a = LoadU32(s + n - 64), b = LoadU32(s + n - 32);
        StoreU32(d + n - 64, a);
        StoreU32(d + n - 32, b);
        n &= ~int64_t{63};
      }
      const bool srcAligned = (Addr(s) & 31) == 0;
      for (int64_t off = n - 64; off >= 0; off -= 64) {
        __m128i a, b, c, e;
        if (srcAligned) {
          a = LoadA16(s + off), b = LoadA16(s + off + 16), c = LoadA16(s + off + 32), e = LoadA16(s + off + 48);
        } else {
          a = LoadU16(s + off), b = LoadU16(s + off + 16), c = LoadU16(s + off + 32), e = LoadU16(s + off + 48);
        }
        StoreA16(d + off, a);
        StoreA16(d + off + 16, b);
        StoreA16(d + off + 32, c);
        StoreA16(d + off + 48, e);
      }
      _mm256_zeroupper();
      return;
    }
  }
  CopyBelow256(s, d, n);
  _mm256_zeroupper();
}

// The processor's string move, in the widest unit that source and destination
// share the alignment of (8, 4, 2 or 1 bytes).
void CopyStringKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  const bool directionWasSet = DirectionFlagWasSet();
  const uint64_t common = (Addr(s) ^ Addr(d));
  uint64_t count = 0;
  if ((common & 7) == 0) {
    if ((Addr(d) & 1) && n >= 1) { Move1(d, s); s += 1; d += 1; n -= 1; }
    if ((Addr(d) & 2) && n >= 2) { Move2(d, s); s += 2; d += 2; n -= 2; }
    if ((Addr(d) & 4) && n >= 4) { Move4(d, s); s += 4; d += 4; n -= 4; }
    count = static_cast<uint64_t>(n) >> 3;
    __asm__ volatile("rep movsq" : "+D"(d), "+S"(s), "+c"(count) : : "memory");
    if (n & 4) { Move4(d, s); s += 4; d += 4; }
    if (n & 2) { Move2(d, s); s += 2; d += 2; }
    if (n & 1) { Move1(d, s); }
  } else if ((common & 3) == 0) {
    if ((Addr(d) & 1) && n >= 1) { Move1(d, s); s += 1; d += 1; n -= 1; }
    if ((Addr(d) & 2) && n >= 2) { Move2(d, s); s += 2; d += 2; n -= 2; }
    count = static_cast<uint64_t>(n) >> 2;
    __asm__ volatile("rep movsl" : "+D"(d), "+S"(s), "+c"(count) : : "memory");
    if (n & 2) { Move2(d, s); s += 2; d += 2; }
    if (n & 1) { Move1(d, s); }
  } else if ((common & 1) == 0) {
    if ((Addr(d) & 1) && n >= 1) { Move1(d, s); s += 1; d += 1; n -= 1; }
    count = static_cast<uint64_t>(n) >> 1;
    __asm__ volatile("rep movsw" : "+D"(d), "+S"(s), "+c"(count) : : "memory");
    if (n & 1) { Move1(d, s); }
  } else {
    count = static_cast<uint64_t>(n);
    __asm__ volatile("rep movsb" : "+D"(d), "+S"(s), "+c"(count) : : "memory");
  }
  RestoreDirectionFlag(directionWasSet);
  _mm256_zeroupper();
}
