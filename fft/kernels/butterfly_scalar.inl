// The butterflies of class 0 (included by butterfly_body.inl): the radix-4
// stages of 4 .. 1024 points on twiddle triples, and the radix-2 combine
// passes that join 1024-point blocks into transforms of 2048 or 4096 points.
// Scalar single precision, every product rounded before it is added. The
// inverse multiplies by the conjugate of each stored twiddle and turns by +j
// where the forward turns by -j.

namespace LV_NS {
namespace {

#include "fft/kernels/complex_scalar.inl"

// Radix-4 butterfly of the rotated legs a, b, c, d (b carries the squared
// twiddle, c the plain one): out0 = (a+b)+(c+d), out2 = (a+b)-(c+d),
// out1 = (a-b) + Turn(c-d), out3 = (a-b) - Turn(c-d).
template <bool Inv>
void Butterfly4(Cx a, Cx b, Cx c, Cx d, Cx* o0, Cx* o1, Cx* o2, Cx* o3) {
  const Cx s0 = Add(a, b);
  const Cx s1 = Add(c, d);
  const Cx d0 = Sub(a, b);
  const Cx d1 = Sub(c, d);
  *o0 = Add(s0, s1);
  *o2 = Sub(s0, s1);
  *o1 = AddTurned<Inv>(d0, d1);
  *o3 = SubTurned<Inv>(d0, d1);
}

// Radix-4 stages of n = 4 .. 1024 points, bit-reversed in, natural order out.
// Stages: radix 4 of span 1; for odd orders radix 2 of span 4; for even
// orders radix 4 of span 4 with its twiddles from one triple; then radix 4
// of growing span with the triples read at stride n / (4 span).

template <bool Inv>
void Radix4Stages(Cx* x, int64_t n, const float* twiddles) {
  const Cx* tw = reinterpret_cast<const Cx*>(twiddles);  // triple t at tw[3t]
  int64_t span = 0;
  if ((n & 0xAAAAAAAA) != 0) {
    // Odd order: radix 4 of span 1, then radix 2 of span 4, both done on one
    // group of 8 points in registers before the next group.
    if (n >= 8) {
      const Cx w = tw[3 * (n / 8)];  // (cos pi/4, -sin pi/4)
      for (int64_t g = 0; g < n; g += 8) {
        Cx* p = x + g;
        Cx a[8];
        Butterfly4<Inv>(p[0], p[1], p[2], p[3], a + 0, a + 1, a + 2, a + 3);
        Butterfly4<Inv>(p[4], p[5], p[6], p[7], a + 4, a + 5, a + 6, a + 7);
        const Cx u0 = a[4];
        const Cx u1 = EighthTurn<Inv>(a[5], w.re);
        const Cx u2 = Turn<Inv>(a[6]);
        const Cx u3 = ThreeEighthsTurn<Inv>(a[7], w.im);
        p[0] = Add(a[0], u0);
        p[4] = Sub(a[0], u0);
        p[1] = Add(a[1], u1);
        p[5] = Sub(a[1], u1);
        p[2] = Add(a[2], u2);
        p[6] = Sub(a[2], u2);
        p[3] = Add(a[3], u3);
        p[7] = Sub(a[3], u3);
      }
    }
    span = 8;
  } else {
    if (n >= 16) {
      // Even order: radix 4 of span 1, then radix 4 of span 4 with every
      // twiddle from the triple of W16, both on one group of 16 points.
      const int64_t t = n / 16;
      const Cx w1 = tw[3 * t];
      const Cx w3 = tw[3 * t + 2];
      const float c = tw[3 * t + 1].re;
      const float s = tw[3 * t + 1].im;
      for (int64_t g = 0; g < n; g += 16) {
        Cx* p = x + g;
        Cx a[16];
        for (int m = 0; m < 16; m += 4) {
          Butterfly4<Inv>(p[m], p[m + 1], p[m + 2], p[m + 3], a + m, a + m + 1, a + m + 2, a + m + 3);
        }
        Butterfly4<Inv>(a[0], a[4], a[8], a[12], p + 0, p + 4, p + 8, p + 12);
        Butterfly4<Inv>(a[1], EighthTurn<Inv>(a[5], c), Mul<Inv>(a[9], w1), Mul<Inv>(a[13], w3), p + 1, p + 5, p + 9,
                        p + 13);
        Butterfly4<Inv>(a[2], Turn<Inv>(a[6]), EighthTurn<Inv>(a[10], c), ThreeEighthsTurn<Inv>(a[14], s), p + 2,
                        p + 6, p + 10, p + 14);
        Butterfly4<Inv>(a[3], ThreeEighthsTurn<Inv>(a[7], s), Mul<Inv>(a[11], w3), NineSixteenths<Inv>(a[15], w3),
                        p + 3, p + 7, p + 11, p + 15);
      }
    } else if (n == 4) {
      Butterfly4<Inv>(x[0], x[1], x[2], x[3], x + 0, x + 1, x + 2, x + 3);
    }
    span = 16;
  }
  for (; 4 * span <= n; span *= 4) {
    const int64_t stride = n / (4 * span);
    for (int64_t g = 0; g < n; g += 4 * span) {
      Cx* p0 = x + g;
      Cx* p1 = p0 + span;
      Cx* p2 = p1 + span;
      Cx* p3 = p2 + span;
      Butterfly4<Inv>(p0[0], p1[0], p2[0], p3[0], p0, p1, p2, p3);
      const Cx* w = tw + 3 * stride;
      for (int64_t k = 1; k < span; ++k, w += 3 * stride) {
        Butterfly4<Inv>(p0[k], Mul<Inv>(p1[k], w[1]), Mul<Inv>(p2[k], w[0]), Mul<Inv>(p3[k], w[2]), p0 + k, p1 + k,
                        p2 + k, p3 + k);
      }
    }
  }
}

// Joins the m / b0 transforms of b0 points into one of m points by radix-2
// stages of span b = b0, 2 b0, ..; table holds W_m^k, k < m/4. Butterflies are
// taken in runs of 128 indices over every block pair; the second half-span
// uses the same entries turned by a quarter.
template <bool Inv>
void CombinePass(Cx* data, int64_t m, int64_t b0, const Cx* table) {
  for (int64_t b = b0; b < m; b *= 2) {
    const int64_t step = m / (2 * b);
    for (int64_t k0 = 0; k0 < b / 2; k0 += 128) {
      for (int64_t pair = 0; pair < m; pair += 2 * b) {
        Cx* top = data + pair;
        Cx* bottom = top + b;
        for (int64_t k = k0; k < k0 + 128; ++k) {
          const Cx u = Mul<Inv>(bottom[k], table[k * step]);
          const Cx a = top[k];
          top[k] = Add(a, u);
          bottom[k] = Sub(a, u);
        }
        for (int64_t k = k0; k < k0 + 128; ++k) {
          const Cx w = table[k * step];
          const Cx x = bottom[k + b / 2];
          Cx u;
          if constexpr (Inv) {
            u = {x.re * w.im - x.im * w.re, x.im * w.im + x.re * w.re};
          } else {
            u = {x.re * w.im + x.im * w.re, x.im * w.im - x.re * w.re};
          }
          const Cx a = top[k + b / 2];
          top[k + b / 2] = Add(a, u);
          bottom[k + b / 2] = Sub(a, u);
        }
      }
    }
  }
}

}  // namespace
}  // namespace LV_NS

void FftForwardRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles) {
  LV_NS::Radix4Stages<false>(data, n, twiddles);
}
void FftInverseRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles) {
  LV_NS::Radix4Stages<true>(data, n, twiddles);
}

void FftForwardCombinePassSse2(ComplexFloat32* data, int32_t m, int32_t b0, const float* table) {
  LV_NS::CombinePass<false>(data, m, b0, reinterpret_cast<const ComplexFloat32*>(table));
}
void FftInverseCombinePassSse2(ComplexFloat32* data, int32_t m, int32_t b0, const float* table) {
  LV_NS::CombinePass<true>(data, m, b0, reinterpret_cast<const ComplexFloat32*>(table));
}
