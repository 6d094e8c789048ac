// The table-free logarithm on eight lanes, classes 4 (AVX) and 5 (AVX2 with
// FMA): the ops layer of the polynomial kernel (ln_body.inl). Part of the
// logarithm body, inside the class namespace. Class 4 has no 256-bit integer
// operations: the pattern work runs on 128-bit halves; class 5 fuses the
// polynomial.

namespace LV_NS {
namespace {

// Eight lanes, AVX; class 5 (AVX2 and FMA) fuses, class 4 does not.
struct Ln8 {
  static constexpr bool kFused = kClass == 5;
  using V = __m256;
  static constexpr int kLanes = 8;
  [[gnu::always_inline]] static inline __m256i Combine(__m128i lo, __m128i hi) {
    return _mm256_insertf128_si256(_mm256_castsi128_si256(lo), hi, 1);
  }
  [[gnu::always_inline]] static inline int SpecialBits(V x) {
    if constexpr (kFused) {
      const __m256i t = _mm256_add_epi32(_mm256_castps_si256(x), _mm256_set1_epi32(0x00800000));
      return _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(_mm256_set1_epi32(0x01000000), t)));
    } else {
      const __m256i u = _mm256_castps_si256(x);
      const __m128i lim = _mm_set1_epi32(0x01000000);
      const __m128i add = _mm_set1_epi32(0x00800000);
      const __m128i lo = _mm_cmplt_epi32(_mm_add_epi32(_mm256_castsi256_si128(u), add), lim);
      const __m128i hi = _mm_cmplt_epi32(_mm_add_epi32(_mm256_extractf128_si256(u, 1), add), lim);
      return _mm256_movemask_ps(_mm256_castsi256_ps(Combine(lo, hi)));
    }
  }
  [[gnu::always_inline]] static inline V Ln(V x) {
    __m256i k;
    __m256i mBits;
    if constexpr (kFused) {
      const __m256i v = _mm256_sub_epi32(_mm256_castps_si256(x), _mm256_set1_epi32(static_cast<int>(kTwoThirdsBits)));
      k = _mm256_srai_epi32(v, 23);
      mBits = _mm256_add_epi32(_mm256_and_si256(v, _mm256_set1_epi32(0x007FFFFF)),
                               _mm256_set1_epi32(static_cast<int>(kTwoThirdsBits)));
    } else {
      const __m256i u = _mm256_castps_si256(x);
      const __m128i c = _mm_set1_epi32(static_cast<int>(kTwoThirdsBits));
      const __m128i mask = _mm_set1_epi32(0x007FFFFF);
      const __m128i vLo = _mm_sub_epi32(_mm256_castsi256_si128(u), c);
      const __m128i vHi = _mm_sub_epi32(_mm256_extractf128_si256(u, 1), c);
      k = Combine(_mm_srai_epi32(vLo, 23), _mm_srai_epi32(vHi, 23));
      mBits = Combine(_mm_add_epi32(_mm_and_si128(vLo, mask), c), _mm_add_epi32(_mm_and_si128(vHi, mask), c));
    }
    const V kf = _mm256_cvtepi32_ps(k);
    const V f = _mm256_sub_ps(_mm256_castsi256_ps(mBits), _mm256_set1_ps(1.0f));
    if constexpr (kFused) {
      V q = _mm256_fmadd_ps(_mm256_set1_ps(kC9), f, _mm256_set1_ps(kC8));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC7));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC6));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC5));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC4));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC3));
      q = _mm256_mul_ps(q, f);
      q = _mm256_fmadd_ps(q, f, f);
      return _mm256_fmadd_ps(kf, _mm256_set1_ps(kLn2), q);
    } else {
      V q = _mm256_set1_ps(kC9);
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC8));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC7));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC6));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC5));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC4));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC3));
      q = _mm256_mul_ps(_mm256_mul_ps(q, f), f);
      return _mm256_add_ps(_mm256_add_ps(f, q), _mm256_mul_ps(kf, _mm256_set1_ps(kLn2)));
    }
  }
  [[gnu::always_inline]] static inline __m256i Mask(int m) {
    alignas(32) static constexpr int32_t kRows[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0};
    return _mm256_castps_si256(_mm256_loadu_ps(reinterpret_cast<const float*>(kRows + 8 - m)));
  }
  [[gnu::always_inline]] static inline V LoadPartial(const float* p, int m) {
    const __m256i mask = Mask(m);
    return _mm256_blendv_ps(_mm256_set1_ps(kFill), _mm256_maskload_ps(p, mask), _mm256_castsi256_ps(mask));
  }
  [[gnu::always_inline]] static inline void StorePartial(float* p, V v, int m) { _mm256_maskstore_ps(p, Mask(m), v); }
  [[gnu::always_inline]] static inline V LoadU(const float* p) { return _mm256_loadu_ps(p); }
  [[gnu::always_inline]] static inline void StoreU(float* p, V v) { _mm256_storeu_ps(p, v); }
  [[gnu::always_inline]] static inline void Store(float* p, V v) { _mm256_store_ps(p, v); }
  [[gnu::always_inline]] static inline V Load(const float* p) { return _mm256_load_ps(p); }
};

// The class's kernel.
[[gnu::always_inline]] inline int32_t Kernel(const float* src, float* dst, int32_t n) {
  return PolyKernel<Ln8, &LV_NAME(LnFloat32SpecialValues)>(src, dst, n, &g_statusCell);
}

}  // namespace
}  // namespace LV_NS
