// Table builders of the FFT plan that every processor class shares: the
// quarter-wave sine table, the quarter-wave twiddle look-up and the
// bit-reversal swap lists (pairs and complete formats, block offsets).
//
// Included by the set-up bodies inside the class namespace (LV_NS), so every
// builder is that class's own code, compiled with its flags only. The
// builders check nothing: callers pass the orders and room that the size
// query provides for.

// Pointer rounded up to the next multiple of 64 bytes (unchanged when aligned).
template <typename T>
T* AlignUp64(T* p) {
  return reinterpret_cast<T*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
}

// -v by flipping the sign bit (so -(+0.0) is -0.0 and no arithmetic is done).
inline float FlipSign(float v) {
  uint32_t bits = 0;
  __builtin_memcpy(&bits, &v, 4);
  bits ^= 0x80000000u;
  __builtin_memcpy(&v, &bits, 4);
  return v;
}

// The twiddle W^m of a circle of 4q points, u = m (0 <= u < 4q), copied from
// a quarter-wave sine table S of q + 1 entries: (cos, -sin)(2 pi u / 4q). An
// angle on a quadrant boundary takes the row of the lower quadrant, so W^0 is
// (1.0, -0.0) and W^q is (+0.0, -1.0).
inline void QuarterWave(const float* sine, int64_t q, int64_t u, float* re, float* im) {
  if (u <= q) {
    *re = sine[q - u];
    *im = FlipSign(sine[u]);
  } else if (u <= 2 * q) {
    *re = FlipSign(sine[u - q]);
    *im = FlipSign(sine[2 * q - u]);
  } else if (u <= 3 * q) {
    *re = FlipSign(sine[3 * q - u]);
    *im = sine[u - 2 * q];
  } else {
    *re = sine[u - 3 * q];
    *im = sine[4 * q - u];
  }
}

// The quarter-wave sine table of an order above 10 (N = 2^order, Q = N/4 + 1
// entries, H = N/8): float32 angles k*x (x = 2 pi / N in double) over the first
// octant, then the complementary angles (Q - k)*x, then the class's sine in
// place over entries 0..H and its cosine over H+1..Q. Returns the first 64-byte
// boundary at or after the table's end.
inline float* MakeQuarterSineTable(int32_t order, float* table) {
  const int64_t n = int64_t{1} << order;
  const int64_t q = n / 4;
  const int64_t h = n / 8;
  const double step = 6.283185307179586 / static_cast<double>(n);
  for (int64_t k = 0; k <= h; ++k) {
    table[k] = static_cast<float>(static_cast<double>(k) * step);
  }
  for (int64_t k = h + 1; k <= q; ++k) {
    table[k] = static_cast<float>(static_cast<double>(q - k) * step);
  }
  LV_NAME(SinFloat32Stub)(table, table, static_cast<int32_t>(h + 1));
  LV_NAME(CosFloat32Stub)(table + h + 1, table + h + 1, static_cast<int32_t>(h));
  return AlignUp64(table + q + 1);
}

// Steps the reversed counter c (bit reversal of i over log2(count) bits) from
// i - 1 to i without reversing bits per entry.
inline int64_t NextReversed(int64_t c, int64_t count) {
  int64_t h = count / 2;
  while (h != 0 && h <= c) {
    c -= h;
    h /= 2;
  }
  return c + h;
}

// Pairs format of order n >= 2 (b = 2^n / 4 entries + 1): the pairs 4i, 4rev(i)
// for i < rev(i) in ascending i, one 0, the entries 4i of the self-reversed
// i >= 1 in descending i, and a closing 0 at entry b. rev reverses n - 2 bits.
inline int32_t* MakePairsList(int32_t order, int32_t* out) {
  const int64_t b = (int64_t{1} << order) / 4;
  int64_t front = 0;
  int64_t back = b - 1;
  int64_t c = 0;
  for (int64_t i = 1; i < b; ++i) {
    c = NextReversed(c, b);
    if (i < c) {
      out[front] = static_cast<int32_t>(4 * i);
      out[front + 1] = static_cast<int32_t>(4 * c);
      front += 2;
    } else if (i == c) {
      out[back] = static_cast<int32_t>(4 * i);
      --back;
    }
  }
  out[front] = 0;
  out[b] = 0;
  return AlignUp64(out + b + 1);
}

// Complete format of order n >= 2: entry i = 2 rev(i) for i < b, entry b = 0.
inline int32_t* MakeCompleteList(int32_t order, int32_t* out) {
  const int64_t b = (int64_t{1} << order) / 4;
  out[0] = 0;
  int64_t c = 0;
  for (int64_t i = 1; i < b; ++i) {
    c = NextReversed(c, b);
    out[i] = static_cast<int32_t>(2 * c);
  }
  out[b] = 0;
  return AlignUp64(out + b + 1);
}

// The 2^(order - 2t) block offsets of a blocked list: entry i = rev'(i) << t,
// rev' reversing order - 2t bits. Returns the entry behind the last one, where
// the tile list follows without a gap.
inline int32_t* MakeBlockOffsets(int32_t order, int32_t t, int32_t* out) {
  const int64_t m = int64_t{1} << (order - 2 * t);
  out[0] = 0;
  int64_t c = 0;
  for (int64_t i = 1; i < m; ++i) {
    c = NextReversed(c, m);
    out[i] = static_cast<int32_t>(c << t);
  }
  return out + m;
}

