// Complex sample values: CQComplex (two floats) and CQIComplex (two 16-bit integers).
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

class CQComplex {
 public:
  float re = 0.0f;
  float im = 0.0f;

  CQComplex() = default;
  CQComplex(float r, float i) : re(r), im(i) {}

  void Set(float r, float i) {
    re = r;
    im = i;
  }
  void Set(double r, double i) {
    re = static_cast<float>(r);
    im = static_cast<float>(i);
  }

  CQComplex operator+(const CQComplex& b) const { return CQComplex(re + b.re, im + b.im); }
  CQComplex& operator+=(const CQComplex& b) {
    re += b.re;
    im += b.im;
    return *this;
  }
  CQComplex operator*(const CQComplex& b) const { return CQComplex(re * b.re - im * b.im, im * b.re + re * b.im); }
  // Division by 0 + 0j gives 0 + 0j.
  CQComplex operator/(const CQComplex& b) const {
    const float d = b.re * b.re + b.im * b.im;
    if (!(d > 0.0f)) {
      return CQComplex();
    }
    return CQComplex((re * b.re + im * b.im) / d, (im * b.re - re * b.im) / d);
  }
  bool operator==(const CQComplex&) const = default;
};
static_assert(sizeof(CQComplex) == sizeof(ComplexFloat32), "CQComplex is a packed pair of floats");

struct CQIComplex {
  int16_t re = 0;
  int16_t im = 0;
  bool operator==(const CQIComplex&) const = default;
};
static_assert(sizeof(CQIComplex) == 4, "CQIComplex is a packed pair of 16-bit integers");

// Views of core buffers as the primitives' element type (same layout).
inline ComplexFloat32* AsPrimitive(CQComplex* p) { return reinterpret_cast<ComplexFloat32*>(p); }
inline const ComplexFloat32* AsPrimitive(const CQComplex* p) { return reinterpret_cast<const ComplexFloat32*>(p); }
