// The small-order kernels of class 0 (included by small_kernels_body.inl):
// orders 0 to 5, one straight-line kernel per order and direction, plain or
// normalising, in scalar single precision with every product rounded before it
// is added.

namespace LV_NS {
namespace {

#include "fft/kernels/complex_scalar.inl"

// Small-order kernels. Stage 1 is a 4-point butterfly over the residues
// (x[r], x[r+M], x[r+2M], x[r+3M]); its first additions are x[n] +- x[n+N/2],
// which the normalising kernels multiply by the scale before anything else.

// Forward twiddle W_N^e of the small kernels as (cos, -sin), from the nearest
// floats of cos(k pi/16), k = 0..8.
constexpr float kCosPi16[9] = {1.0f,        0.98078525f, 0.9238795f,  0.8314696f, 0.70710677f,
                               0.55557024f, 0.38268343f, 0.19509032f, 0.0f};

constexpr float CosOfSixteenths(int k) {  // cos(k pi / 16), 0 <= k < 32
  return k <= 8 ? kCosPi16[k] : k <= 16 ? -kCosPi16[16 - k] : k <= 24 ? -kCosPi16[k - 16] : kCosPi16[32 - k];
}
constexpr Cx SmallTwiddle(int e, int n) {  // W_n^e, n = 8, 16 or 32
  const int k = (e * 32 / n) % 32;          // the angle in sixteenths of pi
  return {CosOfSixteenths(k), -CosOfSixteenths((k + 24) % 32)};
}

// T = W_n^e z for the twiddle step of orders 3 to 5. Multiples of a quarter
// turn are exact; eighth turns are sum first (orders 4 and 5) or general
// products (order 3); everything else is a general product.
template <bool Inv, int N>
Cx SmallRotate(Cx z, int e) {
  constexpr float h = 0.70710677f;
  if (e == 0) return z;
  if (4 * e == N) return Turn<Inv>(z);
  if (2 * e == N) return {-z.re, -z.im};
  if (4 * e == 3 * N) return Turn<!Inv>(z);
  if (N > 8 && 8 * e == N) return EighthTurn<Inv>(z, h);
  if (N > 8 && 8 * e == 3 * N) return ThreeEighthsTurn<Inv>(z, -h);
  return Mul<Inv>(z, SmallTwiddle(e, N));
}

template <bool Norm>
void FirstLevel(Cx u0, Cx u1, Cx u2, Cx u3, float s, Cx* a, Cx* b, Cx* c, Cx* d) {
  *a = Add(u0, u2);
  *b = Sub(u0, u2);
  *c = Add(u1, u3);
  *d = Sub(u1, u3);
  if constexpr (Norm) {
    *a = Scale(*a, s);
    *b = Scale(*b, s);
    *c = Scale(*c, s);
    *d = Scale(*d, s);
  }
}

// D[k] = sum_m u_m Turn^(mk) for the residue (u0..u3).
template <bool Inv, bool Norm>
void Stage1(Cx u0, Cx u1, Cx u2, Cx u3, float s, Cx* out) {
  Cx a, b, c, d;
  FirstLevel<Norm>(u0, u1, u2, u3, s, &a, &b, &c, &d);
  out[0] = Add(a, c);
  out[1] = AddTurned<Inv>(b, d);
  out[2] = Sub(a, c);
  out[3] = SubTurned<Inv>(b, d);
}

template <bool Inv, bool Norm>
void Order2(const Cx* src, Cx* dst, float s) {
  Cx d[4];
  Stage1<Inv, Norm>(src[0], src[1], src[2], src[3], s, d);
  dst[0] = d[0];
  dst[1] = d[1];
  dst[2] = d[2];
  dst[3] = d[3];
}

template <bool Inv, bool Norm>
void Order3(const Cx* src, Cx* dst, float s) {
  Cx d0[4], d1[4];
  Stage1<Inv, Norm>(src[0], src[2], src[4], src[6], s, d0);
  Stage1<Inv, Norm>(src[1], src[3], src[5], src[7], s, d1);
  for (int k = 0; k < 4; ++k) {
    const Cx t1 = SmallRotate<Inv, 8>(d1[k], k);
    dst[k] = Add(d0[k], t1);
    dst[k + 4] = Sub(d0[k], t1);
  }
}

template <bool Inv, bool Norm>
void Order4(const Cx* src, Cx* dst, float s) {
  Cx t[4][4];
  for (int r = 0; r < 4; ++r) {
    Stage1<Inv, Norm>(src[r], src[r + 4], src[r + 8], src[r + 12], s, t[r]);
    for (int k = 1; k < 4; ++k) t[r][k] = SmallRotate<Inv, 16>(t[r][k], r * k);
  }
  for (int k = 0; k < 4; ++k) {
    Cx y[4];
    Stage1<Inv, false>(t[0][k], t[1][k], t[2][k], t[3][k], 1.0f, y);
    for (int q = 0; q < 4; ++q) dst[k + 4 * q] = y[q];
  }
}

template <bool Inv, bool Norm>
void Order5(const Cx* src, Cx* dst, float s) {
  constexpr Cx w8 = SmallTwiddle(1, 8);
  constexpr Cx w83 = SmallTwiddle(3, 8);
  Cx t[8][4];
  for (int r = 0; r < 8; ++r) {
    Stage1<Inv, Norm>(src[r], src[r + 8], src[r + 16], src[r + 24], s, t[r]);
    for (int k = 1; k < 4; ++k) t[r][k] = SmallRotate<Inv, 32>(t[r][k], r * k);
  }
  for (int k = 0; k < 4; ++k) {
    Cx a[4], b[4];
    for (int r = 0; r < 4; ++r) {
      a[r] = Add(t[r][k], t[r + 4][k]);
      b[r] = Sub(t[r][k], t[r + 4][k]);
    }
    Cx y[4];
    Stage1<Inv, false>(a[0], a[1], a[2], a[3], 1.0f, y);
    dst[k] = y[0];
    dst[k + 8] = y[1];
    dst[k + 16] = y[2];
    dst[k + 24] = y[3];
    const Cx aPlus = AddTurned<Inv>(b[0], b[2]);
    const Cx aMinus = SubTurned<Inv>(b[0], b[2]);
    const Cx bPlus = Mul<Inv>(AddTurned<Inv>(b[1], b[3]), w8);
    const Cx bMinus = Mul<Inv>(SubTurned<Inv>(b[1], b[3]), w83);
    dst[k + 4] = Add(aPlus, bPlus);
    dst[k + 20] = Sub(aPlus, bPlus);
    dst[k + 12] = Add(aMinus, bMinus);
    dst[k + 28] = Sub(aMinus, bMinus);
  }
}

// Every kernel reads its whole source before writing: in place is allowed.
template <bool Inv, bool Norm, int Order>
void SmallKernel(const Cx* src, Cx* dst, float s) {
  Cx in[1 << Order];
  for (int i = 0; i < (1 << Order); ++i) in[i] = src[i];
  if constexpr (Order == 2) Order2<Inv, Norm>(in, dst, s);
  if constexpr (Order == 3) Order3<Inv, Norm>(in, dst, s);
  if constexpr (Order == 4) Order4<Inv, Norm>(in, dst, s);
  if constexpr (Order == 5) Order5<Inv, Norm>(in, dst, s);
}

}  // namespace
}  // namespace LV_NS

void FftOrder0NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const ComplexFloat32 x = src[0];
  dst[0] = {x.re * scale, x.im * scale};
}
void FftOrder0KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* /*spec*/) {
  dst[0] = src[0];
}
void FftOrder1NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const ComplexFloat32 x0 = src[0];
  const ComplexFloat32 x1 = src[1];
  dst[0] = {(x0.re + x1.re) * scale, (x0.im + x1.im) * scale};
  dst[1] = {(x0.re - x1.re) * scale, (x0.im - x1.im) * scale};
}
void FftOrder1KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* /*spec*/) {
  const ComplexFloat32 x0 = src[0];
  const ComplexFloat32 x1 = src[1];
  dst[0] = {x0.re + x1.re, x0.im + x1.im};
  dst[1] = {x0.re - x1.re, x0.im - x1.im};
}

#define LV_FFT_SMALL_KERNEL_SSE2(Dir, Inv, k)                                                                   \
  void Fft##Dir##Order##k##NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale) { \
    LV_NS::SmallKernel<Inv, true, k>(src, dst, scale);                                                        \
  }                                                                                                             \
  void Fft##Dir##Order##k##KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst,                         \
                                      const FftSpecComplexFloat32* /*spec*/) {                                  \
    LV_NS::SmallKernel<Inv, false, k>(src, dst, 1.0f);                                                        \
  }
LV_FFT_SMALL_KERNEL_SSE2(Forward, false, 2)
LV_FFT_SMALL_KERNEL_SSE2(Forward, false, 3)
LV_FFT_SMALL_KERNEL_SSE2(Forward, false, 4)
LV_FFT_SMALL_KERNEL_SSE2(Forward, false, 5)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, true, 2)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, true, 3)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, true, 4)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, true, 5)
#undef LV_FFT_SMALL_KERNEL_SSE2

const FftNormalisedKernel kFftForwardNormalisedKernelsSse2[6] = {
    FftOrder0NormalisedKernelSse2,        FftOrder1NormalisedKernelSse2,        FftForwardOrder2NormalisedKernelSse2,
    FftForwardOrder3NormalisedKernelSse2, FftForwardOrder4NormalisedKernelSse2, FftForwardOrder5NormalisedKernelSse2};
const FftPlainKernel kFftForwardPlainKernelsSse2[6] = {FftOrder0KernelSse2,        FftOrder1KernelSse2,
                                                       FftForwardOrder2KernelSse2, FftForwardOrder3KernelSse2,
                                                       FftForwardOrder4KernelSse2, FftForwardOrder5KernelSse2};
const FftNormalisedKernel kFftInverseNormalisedKernelsSse2[6] = {
    FftOrder0NormalisedKernelSse2,        FftOrder1NormalisedKernelSse2,        FftInverseOrder2NormalisedKernelSse2,
    FftInverseOrder3NormalisedKernelSse2, FftInverseOrder4NormalisedKernelSse2, FftInverseOrder5NormalisedKernelSse2};
const FftPlainKernel kFftInversePlainKernelsSse2[6] = {FftOrder0KernelSse2,        FftOrder1KernelSse2,
                                                       FftInverseOrder2KernelSse2, FftInverseOrder3KernelSse2,
                                                       FftInverseOrder4KernelSse2, FftInverseOrder5KernelSse2};
