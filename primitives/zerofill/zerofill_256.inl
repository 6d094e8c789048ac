// The zero-fill kernel of the 256-bit classes (4-7): 32-byte stores up to a
// size threshold, the processor's repeated byte store above it. The AVX-512
// classes use 32-byte stores too.
#include <immintrin.h>

#include <cstdint>

#include "cpu/per_class.h"
#include "primitives/kernel_moves.inl"
#include "primitives/roads.h"

namespace LV_NS {
namespace {

void ZeroFillUnits32(uint8_t* p, int64_t n) {
  const __m256i z = _mm256_setzero_si256();
  if (n >= 256) {
    const uint64_t misalign = Addr(p) & 31;
    if (misalign != 0) {
      // One unaligned store, then continue from the next boundary (the overlap is written twice).
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), z);
      p += 32 - misalign;
      n -= static_cast<int64_t>(32 - misalign);
    }
    while (n >= 256) {
      #pragma GCC unroll 8
      for (int k = 0; k < 8; ++k) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(p + 32 * k), z);
      }
      p += 256;
      n -= 256;
    }
  }
  // Below 256 bytes: one store per bit of the count, from the top.
  if (n & 128) {
    #pragma GCC unroll 8
    for (int k = 0; k < 4; ++k) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 32 * k), z);
    }
    p += 128;
  }
  if (n & 64) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), z);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 32), z);
    p += 64;
  }
  if (n & 32) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), z);
    p += 32;
  }
  if (n & 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(z));
    p += 16;
  }
  if (n & 8) { Zero8(p); p += 8; }
  if (n & 4) { Zero4(p); p += 4; }
  if (n & 2) { Zero2(p); p += 2; }
  if (n & 1) { Zero1(p); }
  _mm256_zeroupper();
}

void ZeroFillStringKernel(uint8_t* p, int64_t n) {
  const bool directionWasSet = DirectionFlagWasSet();
  uint64_t count = static_cast<uint64_t>(n);
  __asm__ volatile("rep stosb" : "+D"(p), "+c"(count) : "a"(0) : "memory");
  RestoreDirectionFlag(directionWasSet);
  _mm256_zeroupper();
}

void ZeroFillLargeKernel(uint8_t* p, int64_t n) {
  if (n <= 0x8000) {
    ZeroFillUnits32(p, n);
    return;
  }
  LV_COUNT_ROAD(kRoadZeroFillString);
  ZeroFillStringKernel(p, n);
}

// The class's fill of `bytes` bytes: 32-byte stores up to the threshold,
// the large road above it.
void ZeroFillBytes(uint8_t* p, int64_t bytes, int64_t threshold) {
  static_assert(kZeroFillClasses[kClass] == ZeroFill::kUnits32, "a 256-bit class runs the 256-bit kernel");
  if (bytes <= threshold) {
    if (bytes > 0x8000) {
      LV_COUNT_ROAD(kRoadZeroFillVectorLarge);
    }
    ZeroFillUnits32(p, bytes);
  } else {
    ZeroFillLargeKernel(p, bytes);
  }
}

}  // namespace
}  // namespace LV_NS
