// Complex arithmetic of both directions for the scalar code of class 0
// (included inside its class namespace by the class-0 kernels and drivers).
// A stored twiddle w is the forward factor (cos, -sin); the inverse multiplies
// by its conjugate. Every product is rounded before it is added.

using Cx = ComplexFloat32;

inline Cx Add(Cx a, Cx b) { return {a.re + b.re, a.im + b.im}; }
inline Cx Sub(Cx a, Cx b) { return {a.re - b.re, a.im - b.im}; }
inline Cx Scale(Cx a, float s) { return {a.re * s, a.im * s}; }

template <bool Inv>
Cx Mul(Cx z, Cx w) {
  if constexpr (Inv) {
    return {z.re * w.re + z.im * w.im, z.im * w.re - z.re * w.im};
  } else {
    return {z.re * w.re - z.im * w.im, z.re * w.im + z.im * w.re};
  }
}

// The quarter turn of the direction: -j z forward, +j z inverse (exact).
template <bool Inv>
Cx Turn(Cx z) {
  if constexpr (Inv) {
    return {-z.im, z.re};
  } else {
    return {z.im, -z.re};
  }
}

// t + Turn(u) and t - Turn(u), formed part by part.
template <bool Inv>
Cx AddTurned(Cx t, Cx u) {
  if constexpr (Inv) {
    return {t.re - u.im, t.im + u.re};
  } else {
    return {t.re + u.im, t.im - u.re};
  }
}
template <bool Inv>
Cx SubTurned(Cx t, Cx u) {
  if constexpr (Inv) {
    return {t.re + u.im, t.im - u.re};
  } else {
    return {t.re - u.im, t.im + u.re};
  }
}

// Eighth turn (angle pi/4 of the direction) with c = cos(pi/4), sum first.
template <bool Inv>
Cx EighthTurn(Cx z, float c) {
  if constexpr (Inv) {
    return {(z.re - z.im) * c, (z.im + z.re) * c};
  } else {
    return {c * (z.re + z.im), c * (z.im - z.re)};
  }
}

// Three eighths of a turn with s = -cos(pi/4) (= -sin(pi/4)), sum first.
template <bool Inv>
Cx ThreeEighthsTurn(Cx z, float s) {
  if constexpr (Inv) {
    return {(z.re + z.im) * s, (z.im - z.re) * s};
  } else {
    return {s * (z.re - z.im), s * (z.re + z.im)};
  }
}

// z times W16^9 formed from w3 = W16^3 = (c3, s3) with its parts exchanged.
template <bool Inv>
Cx NineSixteenths(Cx z, Cx w3) {
  if constexpr (Inv) {
    return {w3.im * z.re + w3.re * z.im, w3.im * z.im - w3.re * z.re};
  } else {
    return {w3.im * z.re - w3.re * z.im, w3.im * z.im + w3.re * z.re};
  }
}
