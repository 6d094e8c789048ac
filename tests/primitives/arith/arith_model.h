// The scalar model of each processor class's complex product: plain float
// operations and std::fma in the order of the class's rule. It is the oracle
// the vector kernels are compared with, bit for bit.
#pragma once

#include <cmath>

namespace lv_test {

struct CF {
  float re, im;
};

enum class ProductRule { kRounded, kFusedXiCr, kFusedXrCi };

inline CF ComplexProductModel(ProductRule rule, CF x, CF c) {
  switch (rule) {
    case ProductRule::kRounded: {
      const float a = x.re * c.re, b = x.im * c.im, p = x.im * c.re, q = x.re * c.im;
      return {a - b, p + q};
    }
    case ProductRule::kFusedXiCr: {
      const float b = x.im * c.im, q = x.re * c.im;
      return {std::fma(x.re, c.re, -b), std::fma(x.im, c.re, q)};
    }
    case ProductRule::kFusedXrCi:
    default: {
      const float b = x.im * c.im, p = x.im * c.re;
      return {std::fma(x.re, c.re, -b), std::fma(x.re, c.im, p)};
    }
  }
}

// Scalar complex products: classes 0-4 round both products, class 5 keeps
// xi*cr exact in the imaginary part, classes 6-7 keep xr*ci exact.
inline ProductRule ScalarProductRule(int cls) {
  return cls <= 4 ? ProductRule::kRounded : cls == 5 ? ProductRule::kFusedXiCr : ProductRule::kFusedXrCi;
}
// Element-wise complex products: classes 5-7 keep src1.im * src2.re exact.
inline ProductRule ElementwiseProductRule(int cls) {
  return cls <= 4 ? ProductRule::kRounded : ProductRule::kFusedXiCr;
}

}  // namespace lv_test
