// Scalar models of the extremes, one road per processor class, written lane
// by lane with plain float and double comparisons. They are the oracle the
// class implementations are compared with bit for bit, NaN elements and
// signed zeros included.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace extremes_model {

template <typename T>
bool More(bool isMax, T a, T b) {
  return isMax ? a > b : a < b;
}
// The MAXPS/MINPS rule: a stays only when it is more extreme than b.
template <typename T>
T Ext(bool isMax, T a, T b) {
  return More(isMax, a, b) ? a : b;
}
inline uintptr_t Addr(const void* p) { return reinterpret_cast<uintptr_t>(p); }
// Elements are read by their bytes: the sources may be misaligned.
template <typename T>
T At(const T* s, int64_t i) {
  T v;
  std::memcpy(&v, s + i, sizeof(T));
  return v;
}

// Halving reduction of L lanes: upper half into lower half, the lower lane
// staying only when more extreme.
template <typename T, size_t L>
T ReduceHalving(bool isMax, std::array<T, L> v) {
  for (size_t half = L / 2; half >= 1; half /= 2) {
    for (size_t k = 0; k < half; ++k) v[k] = Ext(isMax, v[k], v[k + half]);
  }
  return v[0];
}

// Class 0: an element replaces the running value only when more extreme.
template <typename T, size_t L>
T ValueClass0(bool isMax, const T* s, int64_t n) {
  T r = At(s, 0);
  const uintptr_t a = Addr(s);
  int64_t h = 0;
  if (L == 4) {
    h = a % 16 ? int64_t(16 - a % 16) / 4 : 0;
  } else {
    h = a % 16 == 8 ? 1 : 0;
  }
  auto scalar = [&](int64_t from, int64_t to) {
    for (int64_t j = from; j < to; ++j) {
      if (More(isMax, At(s, j), r)) r = At(s, j);
    }
  };
  if (n < 8 || a % sizeof(T) != 0 || n < h + 8) {
    scalar(0, n);
    return r;
  }
  scalar(0, h);
  std::array<T, L> acc;
  acc.fill(r);
  const int64_t end = h + 8 * ((n - h) / 8);
  for (int64_t j = h; j < end; j += L) {
    for (size_t k = 0; k < L; ++k) acc[k] = Ext(isMax, At(s, j + k), acc[k]);
  }
  r = ReduceHalving(isMax, acc);
  scalar(end, n);
  return r;
}

inline float FloatKernel(bool isMax, const float* s, int64_t n) {
  std::array<float, 4> A;
  A.fill(At(s, 0));
  int64_t i = 0;
  auto step = [&](std::array<float, 4>& acc, int64_t j) {
    for (int k = 0; k < 4; ++k) acc[k] = Ext(isMax, acc[k], At(s, j + k));
  };
  auto tail = [&](float lane0) {
    for (; i < n; ++i) lane0 = Ext(isMax, lane0, At(s, i));
    return lane0;
  };
  if (Addr(s) % 4 != 0) {
    for (; n - i >= 4; i += 4) step(A, i);
    return tail(ReduceHalving(isMax, A));
  }
  while (i < n && Addr(s + i) % 16 != 0) {
    A[0] = Ext(isMax, A[0], At(s, i));
    ++i;
  }
  if (i == n) return A[0];
  if (Addr(s + i) % 32 == 16) {
    if (n - i < 4) return tail(A[0]);
    step(A, i);
    i += 4;
  }
  if (n - i >= 16) {
    std::array<float, 4> acc[4] = {A, A, A, A};
    for (; n - i >= 16; i += 16) {
      for (int q = 0; q < 4; ++q) step(acc[q], i + 4 * q);
    }
    for (int k = 0; k < 4; ++k) {
      A[k] = Ext(isMax, Ext(isMax, acc[0][k], acc[2][k]), Ext(isMax, acc[1][k], acc[3][k]));
    }
  }
  for (; n - i >= 4; i += 4) step(A, i);
  return tail(ReduceHalving(isMax, A));
}

inline double DoubleKernel(bool isMax, const double* s, int64_t n) {
  std::array<double, 2> A = {At(s, 0), At(s, 0)};
  int64_t i = (Addr(s) & 8) ? 1 : 0;
  auto step = [&](std::array<double, 2>& acc, int64_t j) {
    for (int k = 0; k < 2; ++k) acc[k] = Ext(isMax, acc[k], At(s, j + k));
  };
  if (i < n) {
    if (n - i >= 8) {
      std::array<double, 2> acc[4] = {A, A, A, A};
      for (; n - i >= 8; i += 8) {
        for (int q = 0; q < 4; ++q) step(acc[q], i + 2 * q);
      }
      for (int k = 0; k < 2; ++k) {
        A[k] = Ext(isMax, Ext(isMax, acc[0][k], acc[1][k]), Ext(isMax, acc[2][k], acc[3][k]));
      }
    }
    if (n - i >= 4) {
      step(A, i);
      step(A, i + 2);
      i += 4;
    }
    if (n - i >= 2) {
      step(A, i);
      i += 2;
    }
    if (n - i == 1) A[0] = Ext(isMax, A[0], At(s, i));
  }
  return Ext(isMax, A[0], A[1]);
}

inline float MaskedFloatKernel(bool isMax, const float* s, int64_t n) {
  std::array<float, 8> A0, A1;
  A0.fill(At(s, 0));
  A1 = A0;
  int64_t i = 0;
  const uintptr_t a = Addr(s);
  if (a % 4 == 0 && a % 32 != 0) {
    const int64_t h = 8 - int64_t(a % 32) / 4;
    if (h <= n) {
      for (int64_t k = 0; k < h; ++k) A0[k] = Ext(isMax, A0[k], At(s, k));
      i = h;
    }
  }
  for (; n - i >= 16; i += 16) {
    for (int k = 0; k < 8; ++k) {
      A0[k] = Ext(isMax, A0[k], At(s, i + k));
      A1[k] = Ext(isMax, A1[k], At(s, i + 8 + k));
    }
  }
  std::array<float, 8> A;
  for (int k = 0; k < 8; ++k) A[k] = Ext(isMax, A0[k], A1[k]);
  if (n - i >= 8) {
    for (int k = 0; k < 8; ++k) A[k] = Ext(isMax, A[k], At(s, i + k));
    i += 8;
  }
  for (int64_t k = 0; i + k < n; ++k) A[k] = Ext(isMax, A[k], At(s, i + k));
  return ReduceHalving(isMax, A);
}

inline float ValueFloat32(int cls, bool isMax, const float* s, int64_t n) {
  if (cls == 0) return ValueClass0<float, 4>(isMax, s, n);
  if (cls <= 4) return FloatKernel(isMax, s, n);
  return MaskedFloatKernel(isMax, s, n);
}

inline double ValueFloat64(int cls, bool isMax, const double* s, int64_t n) {
  if (cls == 0) return ValueClass0<double, 2>(isMax, s, n);
  return DoubleKernel(isMax, s, n);
}

struct Found {
  float value;
  int64_t index;
};

constexpr int64_t kMark = 0x7FFFFFFF;

inline void Scalar(bool isMax, const float* s, int64_t from, int64_t to, Found& f) {
  for (int64_t j = from; j < to; ++j) {
    if (More(isMax, At(s, j), f.value)) f = {At(s, j), j};
  }
}

// Lane search with integer positions over [start, start + count) in K lanes;
// the last step may be partial (its missing lanes inactive).
template <size_t K>
void LaneSearch(bool isMax, const float* s, int64_t start, int64_t count, Found& f) {
  std::array<float, K> v;
  v.fill(f.value);
  std::array<int64_t, K> pos;
  pos.fill(kMark);
  for (int64_t j = start; j < start + count; ++j) {
    const size_t k = size_t(j - start) % K;
    if (More(isMax, At(s, j), v[k])) {
      v[k] = At(s, j);
      pos[k] = j;
    }
  }
  const float m = ReduceHalving(isMax, v);
  bool moved = false;
  for (size_t k = 0; k < K; ++k) moved = moved || pos[k] != kMark;
  if (moved) {
    int64_t best = kMark;
    for (size_t k = 0; k < K; ++k) {
      if (v[k] == m && pos[k] < best) best = pos[k];
    }
    f.index = best;
  }
  f.value = m;
}

inline void FourLane(bool isMax, const float* s, int64_t first, int64_t n, Found& f) {
  const int64_t m = n - first;
  const uintptr_t a = Addr(s + first);
  const int64_t h = a % 16 ? int64_t(16 - a % 16) / 4 : 0;
  if (m < 8 || a % 4 != 0 || m < h + 8) {
    Scalar(isMax, s, first, n, f);
    return;
  }
  Scalar(isMax, s, first, first + h, f);
  const int64_t count = 8 * ((m - h) / 8);
  LaneSearch<4>(isMax, s, first + h, count, f);
  Scalar(isMax, s, first + h + count, n, f);
}

inline void BlockMethod(bool isMax, const float* s, int64_t n, Found& f) {
  int64_t i = 0;
  while (Addr(s + i) % 16 != 0) ++i;
  Scalar(isMax, s, 0, i, f);
  const int64_t r = n - i;
  int64_t b = r - r % 8;
  auto block = [&](int64_t count) {
    std::array<float, 4> x, y;
    for (int k = 0; k < 4; ++k) {
      x[k] = At(s, i + k);
      y[k] = At(s, i + 4 + k);
    }
    for (int64_t j = 8; j < count; j += 8) {
      for (int k = 0; k < 4; ++k) {
        x[k] = Ext(isMax, x[k], At(s, i + j + k));
        y[k] = Ext(isMax, y[k], At(s, i + j + 4 + k));
      }
    }
    for (int k = 0; k < 4; ++k) x[k] = Ext(isMax, x[k], y[k]);
    const float m = ReduceHalving(isMax, x);
    if (More(isMax, m, f.value)) {
      uint32_t mb;
      std::memcpy(&mb, &m, 4);
      int64_t j = 0;
      for (;; ++j) {
        uint32_t eb;
        std::memcpy(&eb, s + i + j, 4);
        if (eb == mb) break;
      }
      f = {m, i + j};
    }
    i += count;
  };
  while (b > 2048) {
    block(2048);
    b -= 2048;
  }
  block(b);
  Scalar(isMax, s, i, n, f);
}

inline void MaskedIndexKernel(bool isMax, const float* s, int64_t n, Found& f) {
  std::array<float, 8> v;
  v.fill(At(s, 0));
  std::array<int64_t, 8> pos;
  pos.fill(0);
  const uintptr_t a = Addr(s);
  const int64_t h = a % 32 ? 8 - int64_t(a % 32) / 4 : 0;
  // Lane of element j: j for the head, then (j - h) mod 8.
  for (int64_t j = 0; j < n; ++j) {
    const int64_t k = j < h ? j : (j - h) % 8;
    const bool more = More(isMax, At(s, j), v[k]);
    v[k] = Ext(isMax, v[k], At(s, j));
    if (more) pos[k] = j;
  }
  for (int half = 4; half >= 1; half /= 2) {
    for (int k = 0; k < half; ++k) {
      const int o = k + half;
      if (More(isMax, v[o], v[k]) || (v[o] == v[k] && pos[o] < pos[k])) {
        v[k] = v[o];
        pos[k] = pos[o];
      }
    }
  }
  f = {v[0], pos[0]};
}

inline Found IndexFloat32(int cls, bool isMax, const float* s, int64_t n) {
  Found f{At(s, 0), 0};
  if (cls == 0) {
    FourLane(isMax, s, 0, n, f);
  } else if (n < 34) {
    if (cls <= 4) {
      FourLane(isMax, s, 1, n, f);
    } else if (cls == 5) {
      int64_t i = 1;
      const int64_t m = n - 1;
      if (m >= 16) {
        LaneSearch<8>(isMax, s, 1, 16 * (m / 16), f);
        i += 16 * (m / 16);
      }
      if (n - i >= 8) {
        LaneSearch<8>(isMax, s, i, 8, f);
        i += 8;
      }
      Scalar(isMax, s, i, n, f);
    } else {
      LaneSearch<16>(isMax, s, 1, n - 1, f);
    }
  } else if (Addr(s) % 4 != 0) {
    Scalar(isMax, s, 1, n, f);
  } else if (cls <= 3) {
    BlockMethod(isMax, s, n, f);
  } else {
    MaskedIndexKernel(isMax, s, n, f);
  }
  return f;
}

}  // namespace extremes_model
