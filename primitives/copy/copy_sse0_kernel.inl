// CopyBytesKernelSse2 of class 0: a plain forward copy, 16-byte units to an
// aligned destination in the middle. Included inside the class's anonymous namespace.

void CopyBytesKernelSse2(const uint8_t* s, uint8_t* d, int64_t n) {
  const int64_t p = static_cast<int64_t>((16 - (Addr(d) & 15)) & 15);
  if (n < 16 || n < p + 16) {
    for (int64_t i = 0; i < n; ++i) {
      Move1(d + i, s + i);
    }
    return;
  }
  for (int64_t i = 0; i < p; ++i) {
    Move1(d + i, s + i);
  }
  s += p;
  d += p;
  n -= p;
  const int64_t body = n & ~int64_t{15};
  for (int64_t i = 0; i < body; i += 16) {
    _mm_store_si128(reinterpret_cast<__m128i*>(d + i), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
  }
  for (int64_t i = body; i < n; ++i) {
    Move1(d + i, s + i);
  }
}

void CopyBytes(const uint8_t* s, uint8_t* d, int64_t n) { CopyBytesKernelSse2(s, d, n); }
