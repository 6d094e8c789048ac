// The 128-bit permutations of classes 1 to 7 (included by permute_body.inl
// inside the class namespace): whole-array bit reversal through the complete
// swap list (classes 1 to 3), the tile bit reversal through a pairs-format list
// (every vector class), and the 128-bit tile moves in groups of 4 points
// (classes 1 to 3).

struct Permute128 {
  // One 4 x 4 block of points: row q holds points 4g .. 4g+3 of quarter q, as
  // two 128-bit halves (points 0-1 and 2-3).
  struct Block {
    __m128 lo[4];
    __m128 hi[4];
  };

  static Block Load(const ComplexFloat32* p, int64_t quarter) {
    Block b;
    for (int q = 0; q < 4; ++q) {
      const float* row = reinterpret_cast<const float*>(p + q * quarter);
      b.lo[q] = _mm_loadu_ps(row);
      b.hi[q] = _mm_loadu_ps(row + 4);
    }
    return b;
  }

  static void Store(ComplexFloat32* p, int64_t quarter, const Block& b) {
    for (int q = 0; q < 4; ++q) {
      float* row = reinterpret_cast<float*>(p + q * quarter);
      _mm_storeu_ps(row, b.lo[q]);
      _mm_storeu_ps(row + 4, b.hi[q]);
    }
  }

  // new[a][b] = old[rev2(b)][rev2(a)], rev2 exchanging 1 and 2: row a is the
  // column rev2(a) of the old block read in the row order 0, 2, 1, 3.
  static Block Transpose(const Block& x) {
    Block y;
    y.lo[0] = _mm_movelh_ps(x.lo[0], x.lo[2]);
    y.hi[0] = _mm_movelh_ps(x.lo[1], x.lo[3]);
    y.lo[1] = _mm_movelh_ps(x.hi[0], x.hi[2]);
    y.hi[1] = _mm_movelh_ps(x.hi[1], x.hi[3]);
    y.lo[2] = _mm_movehl_ps(x.lo[2], x.lo[0]);
    y.hi[2] = _mm_movehl_ps(x.lo[3], x.lo[1]);
    y.lo[3] = _mm_movehl_ps(x.hi[2], x.hi[0]);
    y.hi[3] = _mm_movehl_ps(x.hi[3], x.hi[1]);
    return y;
  }

  // Entry g of a complete-format list (g < n/16) is 8 rev'(g): the partner
  // block's float offset inside a quarter.
  static void InPlace(ComplexFloat32* data, int32_t n, const int32_t* list) {
    const int64_t quarter = n / 4;
    for (int64_t g = n / 16 - 1; g >= 0; --g) {
      const int64_t r = list[g] / 8;
      if (r < g) continue;
      ComplexFloat32* pg = data + 4 * g;
      if (r == g) {
        Store(pg, quarter, Transpose(Load(pg, quarter)));
      } else {
        ComplexFloat32* pr = data + 4 * r;
        const Block bg = Load(pg, quarter);
        const Block br = Load(pr, quarter);
        Store(pg, quarter, Transpose(br));
        Store(pr, quarter, Transpose(bg));
      }
    }
  }

  // Up to 65536 points the source is read in sequence and the destination
  // scattered; above, the destination is written in sequence.
  static void Copy(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const int32_t* list) {
    const int64_t quarter = n / 4;
    if (n <= 65536) {
      for (int64_t g = n / 16 - 1; g >= 0; --g) {
        const int64_t r = list[g] / 8;
        Store(dst + 4 * r, quarter, Transpose(Load(src + 4 * g, quarter)));
      }
    } else {
      for (int64_t g = 0; g < n / 16; ++g) {
        const int64_t r = list[g] / 8;
        Store(dst + 4 * g, quarter, Transpose(Load(src + 4 * r, quarter)));
      }
    }
  }

  static void Swap(ComplexFloat32* data, int64_t i, int64_t j) {
    uint64_t a = 0, b = 0;
    __builtin_memcpy(&a, data + i, 8);
    __builtin_memcpy(&b, data + j, 8);
    __builtin_memcpy(data + i, &b, 8);
    __builtin_memcpy(data + j, &a, 8);
  }

  // Bit reversal of n points through a pairs-format list: the pairs phase, then
  // the self-reversed groups from the list's separating 0 on. Both phases are
  // bounded by the list's n/4 entries, whatever the list holds.
  static void Tile(ComplexFloat32* data, int32_t n, const int32_t* list) {
    if (n < 4) return;
    const int64_t h = n / 2;
    const int64_t entries = n / 4;
    int64_t idx = 0;
    while (idx + 1 < entries && list[idx] >= 2) {
      const int64_t a = list[idx] >> 1;
      const int64_t b = list[idx + 1] >> 1;
      Swap(data, a, b);
      Swap(data, a + 1, h + b);
      Swap(data, h + a, b + 1);
      Swap(data, h + a + 1, h + b + 1);
      idx += 2;
    }
    for (bool first = true; idx < entries; ++idx, first = false) {
      const int32_t e = list[idx];
      if (!first && e < 2) break;
      const int64_t c = e >> 1;
      Swap(data, c + 1, h + c);
    }
  }

  static void Gather(const ComplexFloat32* src, ComplexFloat32* dst, int32_t rowStride, int32_t rowCount,
                     int32_t rowLength) {
    for (int64_t r = 0; r < rowCount; ++r) {
      const float* s = reinterpret_cast<const float*>(src + r * rowStride);
      float* d = reinterpret_cast<float*>(dst + r * rowLength);
      for (int64_t i = 0; i < 2 * int64_t{rowLength}; i += 16) {
        const __m128 a = _mm_loadu_ps(s + i);
        const __m128 b = _mm_loadu_ps(s + i + 4);
        const __m128 c = _mm_loadu_ps(s + i + 8);
        const __m128 e = _mm_loadu_ps(s + i + 12);
        _mm_storeu_ps(d + i, a);
        _mm_storeu_ps(d + i + 4, b);
        _mm_storeu_ps(d + i + 8, c);
        _mm_storeu_ps(d + i + 12, e);
      }
    }
  }

  static void Scatter(ComplexFloat32* dst, const ComplexFloat32* src, int32_t rowStride, int32_t rowCount,
                      int32_t rowLength, int32_t last) {
    for (int64_t r = 0; r < rowCount; ++r) {
      const float* s = reinterpret_cast<const float*>(src + r * rowLength);
      float* d = reinterpret_cast<float*>(dst + r * rowStride);
      for (int64_t i = 0; i < 2 * int64_t{rowLength}; i += 8) {
        const __m128 a = _mm_loadu_ps(s + i);
        const __m128 b = _mm_loadu_ps(s + i + 4);
        if (last != 0) {
          _mm_storeu_ps(d + i, _mm_unpacklo_ps(a, b));
          _mm_storeu_ps(d + i + 4, _mm_unpackhi_ps(a, b));
        } else {
          _mm_storeu_ps(d + i, a);
          _mm_storeu_ps(d + i + 4, b);
        }
      }
    }
  }
};
