// The radix-8 and radix-4 column passes of the large-order drivers (included
// by column_pass_body.inl inside the class namespace), instantiated with a K
// that the body derives from the class table:
//   K::kWidth  4 (128-bit vectors, classes 1-3) or 8 (256-bit, classes 4-7);
//   K::kFused  false: every product and sum rounded on its own (classes 1-4,
//              bit-identical among themselves); true: each twiddle product is
//              one rounded product plus one fused multiply-add, and the sqrt(1/2)
//              rotations of the radix-8 pass are fused into the sum that
//              follows (classes 5 and 7, bit-identical; class 6 runs the
//              class-5 passes).
//
// Data: a column block in the grouped layout (V = kWidth points per group, the
// group's V real parts then its V imaginary parts). A pass of radix R with
// width h and group count l sees l groups of R*h points; butterfly p of group
// g has its legs at g*R*h + p + m*h, m = 0 .. R-1. Leg m is multiplied by the
// twiddle record number rev(m) (rev reverses 3 bits for radix 8, 2 for radix
// 4); leg s receives output s.
//
// Twiddles: for each unit of V positions, the records k = 1 .. K one after
// another, each V cosines then V negated sines (K = 7 radix 8, K = 3 radix 4).
// All l groups read the same table from its start. With l == 1 the radix-4
// pass reads records 1 and 2 (B and A) for the first h/2 positions only, and
// derives those of the second half as -i*A and e^(-i pi/4)*B.
//
// The forward passes multiply by the stored records, the inverse passes by
// their conjugates and rotate the other way round; each inverse pass equals,
// bit for bit, the conjugate of its forward twin on the conjugated block.

// Vector operations of one width.
template <int kWidth, class K>
struct VecOps;

template <class K>
struct VecOps<4, K> {
  using T = __m128;
  static T Load(const float* p) { return _mm_loadu_ps(p); }
  static void Store(float* p, T v) { _mm_storeu_ps(p, v); }
  static T Add(T a, T b) { return _mm_add_ps(a, b); }
  static T Sub(T a, T b) { return _mm_sub_ps(a, b); }
  static T Mul(T a, T b) { return _mm_mul_ps(a, b); }
  static T Set1(float x) { return _mm_set1_ps(x); }
};

template <class K>
struct VecOps<8, K> {
  using T = __m256;
  static T Load(const float* p) { return _mm256_loadu_ps(p); }
  static void Store(float* p, T v) { _mm256_storeu_ps(p, v); }
  static T Add(T a, T b) { return _mm256_add_ps(a, b); }
  static T Sub(T a, T b) { return _mm256_sub_ps(a, b); }
  static T Mul(T a, T b) { return _mm256_mul_ps(a, b); }
  static T Set1(float x) { return _mm256_set1_ps(x); }
};

template <class K>
struct ColumnPasses {
  static constexpr int V = K::kWidth;
  using Ops = VecOps<V, K>;
  using T = typename Ops::T;

  struct Cx {
    T re, im;
  };

  // a*b + c and c - a*b, fused when the class fuses.
  static T MulAdd(T a, T b, T c) {
    if constexpr (K::kFused) {
      return _mm256_fmadd_ps(a, b, c);
    } else {
      return Ops::Add(c, Ops::Mul(a, b));
    }
  }
  static T NegMulAdd(T a, T b, T c) {
    if constexpr (K::kFused) {
      return _mm256_fnmadd_ps(a, b, c);
    } else {
      return Ops::Sub(c, Ops::Mul(a, b));
    }
  }
  // a*b - c.
  static T MulSub(T a, T b, T c) {
    if constexpr (K::kFused) {
      return _mm256_fmsub_ps(a, b, c);
    } else {
      return Ops::Sub(Ops::Mul(a, b), c);
    }
  }

  static Cx Load(const float* p) { return {Ops::Load(p), Ops::Load(p + V)}; }
  static void Store(float* p, const Cx& v) {
    Ops::Store(p, v.re);
    Ops::Store(p + V, v.im);
  }

  // w*x (forward) or conj(w)*x (inverse); w = (cos, -sin) as stored.
  template <bool kInv>
  static Cx Twiddle(const Cx& w, const Cx& x) {
    if constexpr (kInv) {
      return {MulAdd(w.re, x.re, Ops::Mul(w.im, x.im)), MulSub(w.re, x.im, Ops::Mul(w.im, x.re))};
    } else {
      return {MulSub(w.re, x.re, Ops::Mul(w.im, x.im)), MulAdd(w.re, x.im, Ops::Mul(w.im, x.re))};
    }
  }

  static Cx Add(const Cx& a, const Cx& b) { return {Ops::Add(a.re, b.re), Ops::Add(a.im, b.im)}; }
  static Cx Sub(const Cx& a, const Cx& b) { return {Ops::Sub(a.re, b.re), Ops::Sub(a.im, b.im)}; }
  // a + r*b and a - r*b with r = -i (forward) or +i (inverse).
  template <bool kInv>
  static Cx AddRot(const Cx& a, const Cx& b) {
    if constexpr (kInv) {
      return {Ops::Sub(a.re, b.im), Ops::Add(a.im, b.re)};
    } else {
      return {Ops::Add(a.re, b.im), Ops::Sub(a.im, b.re)};
    }
  }
  template <bool kInv>
  static Cx SubRot(const Cx& a, const Cx& b) {
    if constexpr (kInv) {
      return {Ops::Add(a.re, b.im), Ops::Sub(a.im, b.re)};
    } else {
      return {Ops::Sub(a.re, b.im), Ops::Add(a.im, b.re)};
    }
  }
  static float Bits(uint32_t u) {
    float f;
    __builtin_memcpy(&f, &u, 4);
    return f;
  }

  template <bool kInv>
  static void Radix8(float* data, int32_t h, int32_t l, const float* twiddles) {
    if (h <= 0 || l <= 0) return;
    const T half = Ops::Set1(Bits(0x3F3504F3u));
    const T negHalf = Ops::Set1(Bits(0xBF3504F3u));
    const int64_t leg = 2 * int64_t{h};  // floats between legs
    const int64_t units = h / V;
    for (int64_t g = 0; g < l; ++g) {
      float* base = data + g * 8 * leg;
      const float* tw = twiddles;
      for (int64_t u = 0; u < units; ++u, tw += 14 * V) {
        float* p = base + u * 2 * V;
        const Cx t0 = Load(p);
        // legs 1..7 take records 4, 2, 6, 1, 5, 3, 7
        const Cx t1 = Twiddle<kInv>(Load(tw + 3 * 2 * V), Load(p + leg));
        const Cx t2 = Twiddle<kInv>(Load(tw + 1 * 2 * V), Load(p + 2 * leg));
        const Cx t3 = Twiddle<kInv>(Load(tw + 5 * 2 * V), Load(p + 3 * leg));
        const Cx t4 = Twiddle<kInv>(Load(tw + 0 * 2 * V), Load(p + 4 * leg));
        const Cx t5 = Twiddle<kInv>(Load(tw + 4 * 2 * V), Load(p + 5 * leg));
        const Cx t6 = Twiddle<kInv>(Load(tw + 2 * 2 * V), Load(p + 6 * leg));
        const Cx t7 = Twiddle<kInv>(Load(tw + 6 * 2 * V), Load(p + 7 * leg));
        const Cx a0 = Add(t0, t1), b0 = Sub(t0, t1);
        const Cx a1 = Add(t2, t3), b1 = Sub(t2, t3);
        const Cx a2 = Add(t4, t5), b2 = Sub(t4, t5);
        const Cx a3 = Add(t6, t7), b3 = Sub(t6, t7);
        const Cx c0 = Add(a0, a1), c2 = Sub(a0, a1);
        const Cx c1 = AddRot<kInv>(b0, b1), c3 = SubRot<kInv>(b0, b1);
        const Cx z0 = Add(a2, a3), z2 = Sub(a2, a3);
        const Cx z1 = AddRot<kInv>(b2, b3), z3 = SubRot<kInv>(b2, b3);
        Store(p, Add(c0, z0));
        Store(p + 4 * leg, Sub(c0, z0));
        Store(p + 2 * leg, AddRot<kInv>(c2, z2));
        Store(p + 6 * leg, SubRot<kInv>(c2, z2));
        // e^(-i pi/4) z1 (forward) or e^(+i pi/4) z1 (inverse), as
        // sqrt(1/2) times a sum; then e^(-+3i pi/4) z3 with -sqrt(1/2).
        T s1re, s1im, s3re, s3im;
        if constexpr (kInv) {
          s1re = Ops::Sub(z1.re, z1.im);
          s1im = Ops::Add(z1.re, z1.im);
          s3re = Ops::Add(z3.re, z3.im);
          s3im = Ops::Sub(z3.im, z3.re);
        } else {
          s1re = Ops::Add(z1.re, z1.im);
          s1im = Ops::Sub(z1.im, z1.re);
          s3re = Ops::Sub(z3.re, z3.im);
          s3im = Ops::Add(z3.re, z3.im);
        }
        if constexpr (K::kFused) {
          Store(p + leg, Cx{MulAdd(s1re, half, c1.re), MulAdd(s1im, half, c1.im)});
          Store(p + 5 * leg, Cx{NegMulAdd(s1re, half, c1.re), NegMulAdd(s1im, half, c1.im)});
          Store(p + 3 * leg, Cx{MulAdd(s3re, negHalf, c3.re), MulAdd(s3im, negHalf, c3.im)});
          Store(p + 7 * leg, Cx{NegMulAdd(s3re, negHalf, c3.re), NegMulAdd(s3im, negHalf, c3.im)});
        } else {
          const Cx r1{Ops::Mul(half, s1re), Ops::Mul(half, s1im)};
          const Cx r3{Ops::Mul(negHalf, s3re), Ops::Mul(negHalf, s3im)};
          Store(p + leg, Add(c1, r1));
          Store(p + 5 * leg, Sub(c1, r1));
          Store(p + 3 * leg, Add(c3, r3));
          Store(p + 7 * leg, Sub(c3, r3));
        }
      }
    }
  }

  template <bool kInv>
  static void Radix4(float* data, int32_t h, int32_t l, const float* twiddles) {
    if (h <= 0 || l <= 0) return;
    const int64_t leg = 2 * int64_t{h};
    if (l == 1) {
      Radix4Single<kInv>(data, h, twiddles);
      return;
    }
    const int64_t units = h / V;
    for (int64_t g = 0; g < l; ++g) {
      float* base = data + g * 4 * leg;
      const float* tw = twiddles;
      for (int64_t u = 0; u < units; ++u, tw += 6 * V) {
        float* p = base + u * 2 * V;
        const Cx t0 = Load(p);
        const Cx t1 = Twiddle<kInv>(Load(tw + 2 * V), Load(p + leg));
        const Cx t2 = Twiddle<kInv>(Load(tw), Load(p + 2 * leg));
        const Cx t3 = Twiddle<kInv>(Load(tw + 4 * V), Load(p + 3 * leg));
        const Cx u0 = Add(t0, t1), v0 = Sub(t0, t1);
        const Cx s = Add(t2, t3), d = Sub(t2, t3);
        Store(p, Add(u0, s));
        Store(p + 2 * leg, Sub(u0, s));
        Store(p + leg, AddRot<kInv>(v0, d));
        Store(p + 3 * leg, SubRot<kInv>(v0, d));
      }
    }
  }

  // One radix-4 butterfly as two radix-2 levels: A multiplies legs 1 and 3,
  // then B the sums and differences of leg 2 with leg 3. kTurn: the second
  // half of the positions, where A becomes -i*A (+i on the inverse, applied
  // to the conjugate product) and B becomes e^(-i pi/4)*B.
  template <bool kInv, bool kTurn>
  static void SingleButterfly(float* p, int64_t leg, const Cx& a, const Cx& b) {
    const Cx x0 = Load(p);
    const Cx x2 = Load(p + 2 * leg);
    const Cx u1 = Twiddle<kInv>(a, Load(p + leg));
    const Cx u3 = Twiddle<kInv>(a, Load(p + 3 * leg));
    Cx a0, a1, b0, b1;
    if constexpr (kTurn) {
      a0 = AddRot<kInv>(x0, u1);
      a1 = SubRot<kInv>(x0, u1);
      b0 = AddRot<kInv>(x2, u3);
      b1 = SubRot<kInv>(x2, u3);
    } else {
      a0 = Add(x0, u1);
      a1 = Sub(x0, u1);
      b0 = Add(x2, u3);
      b1 = Sub(x2, u3);
    }
    const Cx v0 = Twiddle<kInv>(b, b0);
    const Cx v1 = Twiddle<kInv>(b, b1);
    Store(p, Add(a0, v0));
    Store(p + 2 * leg, Sub(a0, v0));
    Store(p + leg, AddRot<kInv>(a1, v1));
    Store(p + 3 * leg, SubRot<kInv>(a1, v1));
  }

  template <bool kInv>
  static void Radix4Single(float* data, int32_t h, const float* twiddles) {
    const int64_t leg = 2 * int64_t{h};
    const int64_t units = h / (2 * V);
    const T half = Ops::Set1(Bits(0x3F3504F3u));
    const float* tw = twiddles;
    for (int64_t u = 0; u < units; ++u, tw += 4 * V) {
      SingleButterfly<kInv, false>(data + u * 2 * V, leg, Load(tw + 2 * V), Load(tw));
    }
    float* second = data + h;  // position h/2, in floats
    tw = twiddles;
    for (int64_t u = 0; u < units; ++u, tw += 4 * V) {
      const Cx b = Load(tw);
      const Cx turned{Ops::Mul(Ops::Add(b.re, b.im), half), Ops::Mul(Ops::Sub(b.im, b.re), half)};
      SingleButterfly<kInv, true>(second + u * 2 * V, leg, Load(tw + 2 * V), turned);
    }
  }
};

