// ZeroFillKernelSse2 of class 0: byte stores up to a 4-byte boundary, then
// 16-byte stores over whole 32-byte groups, then the tail. Included inside
// the class's anonymous namespace.

void ZeroFillKernelSse2(uint8_t* p, int64_t n) {
  while (n > 0 && (Addr(p) & 3) != 0) {
    Zero1(p++);
    --n;
  }
  const int64_t body = n & ~int64_t{31};
  int64_t tail = n & 31;
  uint8_t* const bodyEnd = p + body;
  const __m128i z = _mm_setzero_si128();
  // 4-byte stores up to a 16-byte boundary (at most three; a body is at least 32 bytes).
  while (p < bodyEnd && (Addr(p) & 15) != 0) {
    Zero4(p);
    p += 4;
  }
  while (bodyEnd - p >= 16) {
    _mm_store_si128(reinterpret_cast<__m128i*>(p), z);
    p += 16;
  }
  while (p < bodyEnd) {
    Zero4(p);
    p += 4;
  }
  if (tail >= 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), z);
    p += 16;
    tail -= 16;
  }
  while (tail > 0) {
    Zero1(p++);
    --tail;
  }
}

void ZeroFillBytes(uint8_t* p, int64_t bytes, int64_t /*threshold*/) { ZeroFillKernelSse2(p, bytes); }
