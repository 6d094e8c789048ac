// The 256-bit tile moves in groups of 8 points of classes 4 and 6 (classes 5
// and 7 use class 4's), included by permute_body.inl inside the class
// namespace.

struct Tile256 {
  static void Gather(const ComplexFloat32* src, ComplexFloat32* dst, int32_t rowStride, int32_t rowCount,
                     int32_t rowLength) {
    for (int64_t r = 0; r < rowCount; ++r) {
      const float* s = reinterpret_cast<const float*>(src + r * rowStride);
      float* d = reinterpret_cast<float*>(dst + r * rowLength);
      for (int64_t i = 0; i < 2 * int64_t{rowLength}; i += 32) {
        const __m256 a = _mm256_loadu_ps(s + i);
        const __m256 b = _mm256_loadu_ps(s + i + 8);
        const __m256 c = _mm256_loadu_ps(s + i + 16);
        const __m256 e = _mm256_loadu_ps(s + i + 24);
        _mm256_storeu_ps(d + i, a);
        _mm256_storeu_ps(d + i + 8, b);
        _mm256_storeu_ps(d + i + 16, c);
        _mm256_storeu_ps(d + i + 24, e);
      }
    }
  }

  static void Scatter(ComplexFloat32* dst, const ComplexFloat32* src, int32_t rowStride, int32_t rowCount,
                      int32_t rowLength, int32_t last) {
    for (int64_t r = 0; r < rowCount; ++r) {
      const float* s = reinterpret_cast<const float*>(src + r * rowLength);
      float* d = reinterpret_cast<float*>(dst + r * rowStride);
      for (int64_t i = 0; i < 2 * int64_t{rowLength}; i += 16) {
        const __m256 re = _mm256_loadu_ps(s + i);
        const __m256 im = _mm256_loadu_ps(s + i + 8);
        if (last != 0) {
          const __m256 lo = _mm256_unpacklo_ps(re, im);  // points 0, 1 | 4, 5
          const __m256 hi = _mm256_unpackhi_ps(re, im);  // points 2, 3 | 6, 7
          _mm256_storeu_ps(d + i, _mm256_permute2f128_ps(lo, hi, 0x20));
          _mm256_storeu_ps(d + i + 8, _mm256_permute2f128_ps(lo, hi, 0x31));
        } else {
          _mm256_storeu_ps(d + i, re);
          _mm256_storeu_ps(d + i + 8, im);
        }
      }
    }
  }
};
