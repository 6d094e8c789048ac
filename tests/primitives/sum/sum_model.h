// Scalar models of each processor class's sums: plain double and float
// additions in exactly the class's order (partial sums, heads, blocks, folds).
// They are the oracle the vector kernels are compared with, bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lv_test {

struct SumModel {
  const float* p;  // the elements (floats, or the 2n floats of a complex vector)
  uintptr_t a;     // the address the kernel sees (chooses heads and roads)

  double W(size_t i) const { return static_cast<double>(p[i]); }

  // ---- float, double accumulation ----
  double FloatDouble(int cls, size_t n) const {
    if (cls == 0) {
      double s = 0.0;
      if (n < 8) {
        for (size_t i = 0; i < n; ++i) s += W(i);
        return s;
      }
      const size_t m = n / 8 * 8;
      double P[8] = {};
      for (size_t i = 0; i < m; ++i) P[i % 8] += W(i);
      s = ((P[0] + P[2]) + (P[4] + P[6])) + ((P[1] + P[3]) + (P[5] + P[7]));
      for (size_t i = m; i < n; ++i) s += W(i);
      return s;
    }
    if (cls <= 3) {
      double P[8] = {};
      size_t i = 0;
      if (a & 4) {
        P[0] += W(0);
        i = 1;
      }
      const size_t rest = n - i, g = rest / 8 * 8;
      for (size_t k = 0; k < g; ++k) P[k % 8] += W(i + k);
      double A = P[0] + P[4], B = P[1] + P[5], Cc = P[2] + P[6], D = P[3] + P[7];
      size_t j = i + g, r = n - j;
      if (r >= 4) {
        A += W(j);
        B += W(j + 1);
        Cc += W(j + 2);
        D += W(j + 3);
        j += 4;
        r -= 4;
      }
      if (r >= 2) {
        A += W(j);
        B += W(j + 1);
        j += 2;
        r -= 2;
      }
      if (r == 1) A += W(j);
      return (A + Cc) + (B + D);
    }
    if (cls <= 5) {
      const size_t h = (a % 4 == 0 && a % 32 != 0) ? (32 - a % 32) / 4 : 0;
      if (n < 16 || a % 4 != 0 || n < h + 16) {
        if (cls == 4) {
          double s = 0.0;
          for (size_t i = 0; i < n; ++i) s += W(i);
          return s;
        }
        return Tail45(0, n, 0.0);
      }
      double H = 0.0;
      for (size_t i = 0; i < h; ++i) H += W(i);
      double V[4][4] = {};
      V[0][0] = H;
      const size_t g = (n - h) / 16 * 16;
      for (size_t k = 0; k < g; ++k) V[(k % 16) / 4][k % 4] += W(h + k);
      double Wl[4];
      for (int l = 0; l < 4; ++l) Wl[l] = (V[0][l] + V[1][l]) + (V[2][l] + V[3][l]);
      const double s = (Wl[0] + Wl[2]) + (Wl[1] + Wl[3]);
      return Tail45(h + g, n, s);
    }
    if (cls == 6) {
      double L[8] = {};
      if (a % 4 != 0) {
        for (size_t i = 0; i < n; ++i) L[i % 8] += W(i);
      } else {
        size_t h = a % 64 ? (64 - a % 64) / 4 : 0;
        h = h < n ? h : n;
        for (size_t i = 0; i < h; ++i) L[i % 8] += W(i);
        size_t j = h;
        if (n - h >= 64) {
          double A[8][8] = {};
          for (int l = 0; l < 8; ++l) A[0][l] = L[l];
          const size_t g = (n - h) / 64 * 64;
          for (size_t k = 0; k < g; ++k) A[(k % 64) / 8][k % 8] += W(h + k);
          for (int l = 0; l < 8; ++l) {
            L[l] = ((A[0][l] + A[1][l]) + (A[2][l] + A[3][l])) + ((A[4][l] + A[5][l]) + (A[6][l] + A[7][l]));
          }
          j = h + g;
        }
        for (size_t k = 0; j + k < n; ++k) L[k % 8] += W(j + k);
      }
      double M[4];
      for (int l = 0; l < 4; ++l) M[l] = L[l] + L[l + 4];
      return (M[1] + M[2]) + (M[0] + M[3]);
    }
    // class 7
    double A[8] = {}, B[8] = {};
    size_t h = 0, j = 0;
    bool mainStretch = true;
    if (n >= 849) {
      if (a % 4 != 0) {
        mainStretch = false;
      } else {
        h = a % 64 ? (64 - a % 64) / 4 : 0;
        h = h < n ? h : n;
        for (size_t i = 0; i < h; ++i) A[i % 8] += W(i);
      }
    }
    j = h;
    if (mainStretch) {
      const size_t g = (n - h) / 32 * 32;
      for (size_t q = 0; q < g; q += 32) {
        for (int l = 0; l < 8; ++l) A[l] += W(h + q + l);
        for (int l = 0; l < 8; ++l) B[l] += W(h + q + 8 + l);
        for (int l = 0; l < 8; ++l) A[l] += W(h + q + 16 + l);
        for (int l = 0; l < 8; ++l) B[l] += W(h + q + 24 + l);
      }
      j = h + g;
    }
    for (size_t k = 0; j + k < n; ++k) A[k % 8] += W(j + k);
    double Cc[8], M[4];
    for (int l = 0; l < 8; ++l) Cc[l] = A[l] + B[l];
    for (int l = 0; l < 4; ++l) M[l] = Cc[l] + Cc[l + 4];
    return (M[0] + M[2]) + (M[1] + M[3]);
  }

  double Tail45(size_t i, size_t n, double s) const {
    const size_t t = n - i;
    if (t >= 4) {
      double U[4] = {s, 0.0, 0.0, 0.0};
      const size_t g = t / 4 * 4;
      for (size_t k = 0; k < g; ++k) U[k % 4] += W(i + k);
      s = (U[0] + U[2]) + (U[1] + U[3]);
      i += g;
    }
    for (; i < n; ++i) s += W(i);
    return s;
  }

  // ---- float, single-precision blocks ----
  float Block0(size_t start, size_t len, bool last) const {
    const uintptr_t ba = a + 4 * start;
    float s = 0.0f;
    const size_t h = (ba % 4 == 0 && ba % 16 != 0) ? (16 - ba % 16) / 4 : 0;
    if (ba % 4 != 0 || (last && len < h + 32)) {
      for (size_t i = 0; i < len; ++i) s += p[start + i];
      return s;
    }
    for (size_t i = 0; i < h; ++i) s += p[start + i];
    float A[8][4] = {};
    const size_t g = (len - h) / 32 * 32;
    for (size_t k = 0; k < g; ++k) A[(k % 32) / 4][k % 4] += p[start + h + k];
    float V[4];
    for (int l = 0; l < 4; ++l) V[l] = ((A[0][l] + A[1][l]) + (A[2][l] + A[3][l])) + ((A[4][l] + A[5][l]) + (A[6][l] + A[7][l]));
    size_t i = h + g;
    for (; len - i >= 4; i += 4) {
      for (int l = 0; l < 4; ++l) V[l] += p[start + i + l];
    }
    for (; i < len; ++i) s += p[start + i];
    return ((V[0] + V[2]) + (V[1] + V[3])) + s;
  }

  // Classes 1-3 block routine over len floats from start: (F0, F1).
  void Block13(size_t start, size_t len, float& f0, float& f1) const {
    float A[4][4] = {};
    const size_t g = len / 16 * 16;
    for (size_t k = 0; k < g; ++k) A[(k % 16) / 4][k % 4] += p[start + k];
    float V[4];
    for (int l = 0; l < 4; ++l) V[l] = (A[0][l] + A[2][l]) + (A[1][l] + A[3][l]);
    size_t i = g;
    for (; len - i >= 4; i += 4) {
      for (int l = 0; l < 4; ++l) V[l] += p[start + i + l];
    }
    if (len - i >= 2) {
      V[0] += p[start + i];
      V[1] += p[start + i + 1];
      i += 2;
    }
    if (len - i == 1) V[0] += p[start + i];
    f0 = V[0] + V[2];
    f1 = V[1] + V[3];
  }

  // Classes 4-7: one block added to the double lanes T.
  void BlockWide(size_t start, size_t len, double* T) const {
    float A[4][8] = {};
    const size_t g = len / 32 * 32;
    for (size_t k = 0; k < g; ++k) A[(k % 32) / 8][k % 8] += p[start + k];
    float V[8];
    if (len == 8192) {
      for (int l = 0; l < 8; ++l) V[l] = (A[0][l] + A[2][l]) + (A[1][l] + A[3][l]);
    } else {
      float P[8], Q[8];
      for (int l = 0; l < 8; ++l) {
        P[l] = A[0][l] + A[2][l];
        Q[l] = A[1][l] + A[3][l];
      }
      size_t i = start + g;
      if (len & 16) {
        for (int l = 0; l < 8; ++l) P[l] += p[i + l];
        for (int l = 0; l < 8; ++l) Q[l] += p[i + 8 + l];
        i += 16;
      }
      for (int l = 0; l < 8; ++l) V[l] = P[l] + Q[l];
      if (len & 8) {
        for (int l = 0; l < 8; ++l) V[l] += p[i + l];
        i += 8;
      }
      if (len & 4) {
        for (int l = 0; l < 4; ++l) V[l] += p[i + l];
        i += 4;
      }
      if (len & 2) {
        V[0] += p[i];
        V[1] += p[i + 1];
        i += 2;
      }
      if (len & 1) V[0] += p[i];
    }
    for (int l = 0; l < 4; ++l) T[l] += static_cast<double>(V[l]) + static_cast<double>(V[l + 4]);
  }
  void BlocksWide(size_t start, size_t count, double* T) const {
    size_t i = 0;
    for (; count - i >= 8192; i += 8192) BlockWide(start + i, 8192, T);
    BlockWide(start + i, count - i, T);
  }

  double FloatFast(int cls, size_t n) const {
    if (cls == 0) {
      double t = 0.0;
      size_t i = 0;
      for (; n - i >= 1024; i += 1024) t += Block0(i, 1024, false);
      t += Block0(i, n - i, true);
      return t;
    }
    if (cls <= 3) {
      double T0 = 0.0, T1 = 0.0;
      size_t i = 0;
      for (; i < n && ((a + 4 * i) & 12) != 0; ++i) T0 += W(i);
      if (i == n) return T0 + T1;
      for (; n - i >= 32768; i += 32768) {
        float f0, f1;
        Block13(i, 32768, f0, f1);
        T0 += f0;
        T1 += f1;
      }
      float f0, f1;
      Block13(i, n - i, f0, f1);
      T0 += f0;
      T1 += f1;
      return T0 + T1;
    }
    if (a % 4 != 0) return FloatDouble(cls, n);
    size_t h = a % 32 ? 8 - (a % 32) / 4 : 0;
    h = h < n ? h : n;
    float hs = 0.0f;
    for (size_t i = 0; i < h; ++i) hs += p[i];
    double T[4] = {hs, 0.0, 0.0, 0.0};
    BlocksWide(h, n - h, T);
    return (T[0] + T[1]) + (T[2] + T[3]);
  }

  // ---- complex (p holds 2n floats) ----
  void ComplexDouble(int cls, size_t n, double& re, double& im) const {
    if (cls == 0) {
      re = 0.0;
      im = 0.0;
      size_t m = 0;
      if (n >= 8) {
        m = n / 8 * 8;
        double R[8] = {}, I[2] = {};
        for (size_t i = 0; i < m; ++i) {
          R[i % 8] += W(2 * i);
          I[i % 2] += W(2 * i + 1);
        }
        re = ((R[0] + R[2]) + (R[4] + R[6])) + ((R[1] + R[3]) + (R[5] + R[7]));
        im = I[0] + I[1];
      }
      for (size_t i = m; i < n; ++i) {
        re += W(2 * i);
        im += W(2 * i + 1);
      }
      return;
    }
    if (cls <= 3) {
      double Cr[4] = {}, Ci[4] = {};
      const size_t g = n / 4 * 4;
      for (size_t i = 0; i < g; ++i) {
        Cr[i % 4] += W(2 * i);
        Ci[i % 4] += W(2 * i + 1);
      }
      Cr[0] += Cr[2];
      Ci[0] += Ci[2];
      Cr[1] += Cr[3];
      Ci[1] += Ci[3];
      size_t i = g;
      if (n - i >= 2) {
        Cr[0] += W(2 * i);
        Ci[0] += W(2 * i + 1);
        Cr[1] += W(2 * i + 2);
        Ci[1] += W(2 * i + 3);
        i += 2;
      }
      if (n - i == 1) {
        Cr[0] += W(2 * i);
        Ci[0] += W(2 * i + 1);
      }
      re = Cr[0] + Cr[1];
      im = Ci[0] + Ci[1];
      return;
    }
    if (a % 4 != 0) return ComplexUnaligned(cls, n, re, im);
    const size_t nf = 2 * n;
    size_t h = a % 32 ? 8 - (a % 32) / 4 : 0;
    h = h < nf ? h : nf;
    double head[2] = {};
    for (size_t i = 0; i < h; ++i) head[i % 2] += W(i);
    const size_t first = h % 2;
    double V[4][4] = {};
    V[0][0] = head[first];
    V[0][1] = head[first ^ 1];
    const size_t len = nf - h, g = len / 16 * 16;
    for (size_t k = 0; k < g; ++k) V[(k % 16) / 4][k % 4] += W(h + k);
    double P[4], Q[4], R[4];
    for (int l = 0; l < 4; ++l) {
      P[l] = V[0][l] + V[2][l];
      Q[l] = V[1][l] + V[3][l];
    }
    size_t i = h + g;
    const size_t left = len - g;
    if (left & 8) {
      for (int l = 0; l < 4; ++l) P[l] += W(i + l);
      for (int l = 0; l < 4; ++l) Q[l] += W(i + 4 + l);
      i += 8;
    }
    for (int l = 0; l < 4; ++l) R[l] = P[l] + Q[l];
    if (left & 4) {
      for (int l = 0; l < 4; ++l) R[l] += W(i + l);
      i += 4;
    }
    if (left & 2) {
      R[0] += W(i);
      R[1] += W(i + 1);
      i += 2;
    }
    if (left & 1) R[0] += W(i);
    const double x = R[0] + R[2], y = R[1] + R[3];
    re = first == 0 ? x : y;
    im = first == 0 ? y : x;
  }

  void ComplexUnaligned(int cls, size_t n, double& re, double& im) const {
    double out[2];
    for (int part = 0; part < 2; ++part) {
      auto E = [&](size_t i) { return W(2 * i + part); };
      if (cls <= 5) {
        const size_t g = n / 16 * 16;
        double RA[4] = {}, RB[4] = {};
        for (size_t i = 0; i < g; ++i) ((i % 8) < 4 ? RA : RB)[i % 4] += E(i);
        double Wl[4];
        for (int l = 0; l < 4; ++l) Wl[l] = RA[l] + RB[l];
        double s = (Wl[0] + Wl[2]) + (Wl[1] + Wl[3]);
        size_t i = g;
        const size_t t = n - g;
        if (t >= 4) {
          double U[4] = {s, 0.0, 0.0, 0.0};
          const size_t g4 = t / 4 * 4;
          for (size_t k = 0; k < g4; ++k) U[k % 4] += E(i + k);
          s = (U[0] + U[2]) + (U[1] + U[3]);
          i += g4;
        }
        for (; i < n; ++i) s += E(i);
        out[part] = s;
      } else {
        const size_t block = cls == 6 ? 64 : 32;
        const size_t g = n / block * block;
        double RA[8] = {}, RB[8] = {};
        for (size_t i = 0; i < g; ++i) ((i % 16) < 8 ? RA : RB)[i % 8] += E(i);
        for (size_t k = 0; g + k < n; ++k) RA[k % 8] += E(g + k);
        double Cc[8], M[4];
        for (int l = 0; l < 8; ++l) Cc[l] = RA[l] + RB[l];
        for (int l = 0; l < 4; ++l) M[l] = Cc[l] + Cc[l + 4];
        out[part] = cls == 6 ? (M[1] + M[2]) + (M[0] + M[3]) : (M[0] + M[2]) + (M[1] + M[3]);
      }
    }
    re = out[0];
    im = out[1];
  }

  void ComplexFast(int cls, size_t n, double& re, double& im) const {
    if (cls == 0) return ComplexDouble(0, n, re, im);
    const size_t nf = 2 * n;
    if (cls <= 3) {
      double tot[2] = {};
      size_t i = 0;
      for (; i < nf && ((a + 4 * i) & 12) != 0; ++i) tot[i % 2] += W(i);
      const size_t first = i % 2;
      if (i < nf) {
        for (; nf - i >= 32768; i += 32768) {
          float f0, f1;
          Block13(i, 32768, f0, f1);
          tot[first] += f0;
          tot[first ^ 1] += f1;
        }
        float f0, f1;
        Block13(i, nf - i, f0, f1);
        tot[first] += f0;
        tot[first ^ 1] += f1;
      }
      re = tot[0];
      im = tot[1];
      return;
    }
    if (a % 4 != 0) return ComplexUnaligned(cls, n, re, im);
    size_t h = a % 32 ? 8 - (a % 32) / 4 : 0;
    h = h < nf ? h : nf;
    float head[2] = {};
    for (size_t i = 0; i < h; ++i) head[i % 2] += p[i];
    const size_t first = h % 2;
    double T[4] = {head[first], head[first ^ 1], 0.0, 0.0};
    BlocksWide(h, nf - h, T);
    const double x = T[0] + T[2], y = T[1] + T[3];
    re = first == 0 ? x : y;
    im = first == 0 ? y : x;
  }
};

}  // namespace lv_test
