// The byte-copy kernels of the 256-bit classes (4-7) and the class's
// CopyBytes, which runs the kernel its entry in kCopyClasses (copy_body.inl)
// names: class 4 the 32-byte units below 32 KiB and the string move above,
// classes 5-7 the 32-byte units below 32 KiB and the large-block road above.
// The AVX-512 classes use 32-byte units too.
#include <immintrin.h>

#include <cstdint>

#include "cpu/cache_size.h"
#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/kernel_moves.inl"
#include "primitives/roads.h"

namespace LV_NS {
namespace {

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

// 32-byte units to a 32-byte aligned destination below 16 KiB, from 16 KiB
// 64-byte rounds of 16-byte units from the end down (every class below 32 KiB).
void CopyUnits32(const uint8_t* s, uint8_t* d, int64_t n) {
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

// ---- the large-block road (32 KiB and more) of classes 5-7: streaming
// stores for blocks above 4 MiB and at least half the cache, backward 64-byte
// units when the destination's page offset lies just above the source's, the
// string move otherwise.

// Whole 64-byte units to a 64-byte aligned destination, bypassing the cache.
void StreamCopyKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  for (int64_t off = 0; off < n; off += 64) {
    const __m256i a = LoadU32(s + off), b = LoadU32(s + off + 32);
    _mm256_stream_si256(reinterpret_cast<__m256i*>(d + off), a);
    _mm256_stream_si256(reinterpret_cast<__m256i*>(d + off + 32), b);
  }
  _mm256_zeroupper();
}

// Whole 64-byte units from the end down, to a 32-byte aligned destination.
void BackwardCopyKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  for (int64_t off = n - 64; off >= 0; off -= 64) {
    const __m256i a = LoadU32(s + off), b = LoadU32(s + off + 32);
    StoreA32(d + off, a);
    StoreA32(d + off + 32, b);
  }
  _mm256_zeroupper();
}

void CopyLargeKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 0x8000) {
    CopyUnits32(s, d, n);
    return;
  }
  if (n > 0x400000) {
    int32_t cache = 0;
    if (QueryCacheSize(&cache) == StatusOk && n >= (cache >> 1)) {
      LV_COUNT_ROAD(kRoadCopyLargeStream);
      const uint64_t misalign = Addr(d) & 63;
      if (misalign != 0) {
        const int64_t head = static_cast<int64_t>(64 - misalign);
        CopyUnits32(s, d, head);
        s += head;
        d += head;
        n -= head;
      }
      const int64_t whole = n & ~int64_t{63};
      StreamCopyKernel(s, d, whole);
      if ((n & 63) != 0) {
        CopyUnits32(s + whole, d + whole, n & 63);
      }
      _mm_sfence();
      return;
    }
  }
  const uint32_t dist = static_cast<uint32_t>((Addr(d) & 4095) - (Addr(s) & 4095));
  if (dist >= 160) {
    LV_COUNT_ROAD(kRoadCopyString);
    CopyStringKernel(s, d, n);
    return;
  }
  // The destination's page offset lies 0-159 bytes above the source's: copy
  // from the end, so stores do not alias the loads that follow them.
  LV_COUNT_ROAD(kRoadCopyLargeBackward);
  const int64_t endPart = static_cast<int64_t>((Addr(d) + static_cast<uint64_t>(n)) & 63);
  if (endPart != 0) {
    CopyUnits32(s + n - endPart, d + n - endPart, endPart);
    n -= endPart;
  }
  // n now ends on a 64-byte boundary of the destination; its first h bytes
  // precede the first whole unit.
  const int64_t head = n & 63;
  BackwardCopyKernel(s + head, d + head, n - head);
  if (head != 0) {
    CopyUnits32(s, d, head);
  }
}

// Class 4's kernel: 32-byte units below 32 KiB, the string move above.
template <ByteCopy K>
  requires(K == ByteCopy::kUnits32)
void CopyBytesKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 0x8000) {
    CopyUnits32(s, d, n);
  } else {
    LV_COUNT_ROAD(kRoadCopyString);
    CopyStringKernel(s, d, n);
  }
}

// The kernel of classes 5-7: 32-byte units below 32 KiB, the large-block road above.
template <ByteCopy K>
  requires(K == ByteCopy::kUnits32Large)
void CopyBytesKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 0x8000) {
    CopyUnits32(s, d, n);
  } else {
    CopyLargeKernel(s, d, n);
  }
}

// The class's byte copy: the kernel its row of the class table names.
void CopyBytes(const uint8_t* s, uint8_t* d, int64_t n) { CopyBytesKernel<kCopyClasses[kClass].kernel>(s, d, n); }

}  // namespace
}  // namespace LV_NS
